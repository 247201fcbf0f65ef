#include "tests/support/crm/FakeSoql.h"

#include <QRegularExpression>

// Escaped wildcards of a LIKE pattern stand for themselves: they are kept apart from the others.
constexpr QChar kLiteralPercent(0xE000);
constexpr QChar kLiteralUnderscore(0xE001);

struct FakeSoqlCondition {
    enum class Kind { And, Or, Not, Equal, NotEqual, Like, In, NotIn };
    Kind kind = Kind::And;
    std::vector<std::shared_ptr<FakeSoqlCondition>> children;
    QString field;
    std::vector<std::optional<QString>> values;  // none: null
    std::shared_ptr<FakeSoqlQuery> subquery;
};

namespace {

struct Token {
    enum class Kind { Word, String, Symbol, End };
    Kind kind = Kind::End;
    QString text;
};

bool tokenize(const QString& soql, std::vector<Token>& tokens, QString* error)
{
    int i = 0;
    const int n = int(soql.size());
    while (i < n) {
        const QChar c = soql[i];
        if (c.isSpace()) {
            ++i;
        } else if (c == QLatin1Char('\'')) {
            QString value;
            ++i;
            bool closed = false;
            while (i < n) {
                const QChar d = soql[i++];
                if (d == QLatin1Char('\'')) {
                    closed = true;
                    break;
                }
                if (d != QLatin1Char('\\')) {
                    value += d;
                    continue;
                }
                if (i >= n)
                    break;
                const QChar e = soql[i++];
                switch (e.unicode()) {
                case 'n': value += QLatin1Char('\n'); break;
                case 'r': value += QLatin1Char('\r'); break;
                case 't': value += QLatin1Char('\t'); break;
                case 'b': value += QLatin1Char('\b'); break;
                case 'f': value += QLatin1Char('\f'); break;
                case '"': value += QLatin1Char('"'); break;
                case '\'': value += QLatin1Char('\''); break;
                case '\\': value += QLatin1Char('\\'); break;
                case '%': value += kLiteralPercent; break;
                case '_': value += kLiteralUnderscore; break;
                default:
                    *error = QStringLiteral("Invalid string literal: unknown escape \\") + e;
                    return false;
                }
            }
            if (!closed) {
                *error = QStringLiteral("unterminated string literal");
                return false;
            }
            tokens.push_back({Token::Kind::String, value});
        } else if (c == QLatin1Char('(') || c == QLatin1Char(')') || c == QLatin1Char(',') || c == QLatin1Char('=')) {
            tokens.push_back({Token::Kind::Symbol, QString(c)});
            ++i;
        } else if ((c == QLatin1Char('!') || c == QLatin1Char('<')) && i + 1 < n) {
            const QString two = soql.mid(i, 2);
            if (two != QLatin1String("!=") && two != QLatin1String("<>")) {
                *error = QStringLiteral("unexpected token: ") + two;
                return false;
            }
            tokens.push_back({Token::Kind::Symbol, QStringLiteral("!=")});
            i += 2;
        } else if (c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('.')) {
            int start = i;
            while (i < n && (soql[i].isLetterOrNumber() || soql[i] == QLatin1Char('_') || soql[i] == QLatin1Char('.')))
                ++i;
            tokens.push_back({Token::Kind::Word, soql.mid(start, i - start)});
        } else {
            *error = QStringLiteral("unexpected token: ") + c;
            return false;
        }
    }
    tokens.push_back({Token::Kind::End, QString()});
    return true;
}

class Parser {
public:
    Parser(std::vector<Token> tokens, QString* error) : m_tokens(std::move(tokens)), m_error(error) {}

    std::shared_ptr<FakeSoqlQuery> query()
    {
        auto q = std::make_shared<FakeSoqlQuery>();
        if (!keyword("SELECT"))
            return fail("expected SELECT");
        do {
            if (peek().kind != Token::Kind::Word)
                return fail("expected a field");
            q->fields.append(take().text);
        } while (symbol(","));
        if (!keyword("FROM") || peek().kind != Token::Kind::Word)
            return fail("expected FROM and an object");
        q->object = take().text;
        if (keyword("WHERE")) {
            q->where = disjunction();
            if (!q->where)
                return nullptr;
        }
        if (keyword("ORDER")) {
            if (!keyword("BY") || peek().kind != Token::Kind::Word)
                return fail("expected ORDER BY and a field");
            q->orderBy = take().text;
            if (keyword("DESC"))
                q->descending = true;
            else
                keyword("ASC");
        }
        if (keyword("LIMIT")) {
            bool ok = false;
            q->limit = take().text.toInt(&ok);
            if (!ok)
                return fail("expected a number after LIMIT");
        }
        return q;
    }

    bool atEnd() const { return peek().kind == Token::Kind::End; }
    bool closing() { return symbol(")"); }

private:
    using Condition = std::shared_ptr<FakeSoqlCondition>;

    Condition disjunction()
    {
        Condition left = conjunction();
        while (left && keyword("OR")) {
            Condition right = conjunction();
            if (!right)
                return nullptr;
            left = combine(FakeSoqlCondition::Kind::Or, left, right);
        }
        return left;
    }

    Condition conjunction()
    {
        Condition left = unary();
        while (left && keyword("AND")) {
            Condition right = unary();
            if (!right)
                return nullptr;
            left = combine(FakeSoqlCondition::Kind::And, left, right);
        }
        return left;
    }

    Condition unary()
    {
        if (keyword("NOT")) {
            Condition inner = unary();
            return inner ? combine(FakeSoqlCondition::Kind::Not, inner, nullptr) : nullptr;
        }
        if (symbol("(")) {
            Condition inner = disjunction();
            if (!inner || !symbol(")"))
                return failCondition("expected )");
            return inner;
        }
        return comparison();
    }

    Condition comparison()
    {
        if (peek().kind != Token::Kind::Word)
            return failCondition("expected a field");
        auto c = std::make_shared<FakeSoqlCondition>();
        c->field = take().text;
        if (symbol("=")) {
            c->kind = FakeSoqlCondition::Kind::Equal;
        } else if (symbol("!=")) {
            c->kind = FakeSoqlCondition::Kind::NotEqual;
        } else if (keyword("LIKE")) {
            c->kind = FakeSoqlCondition::Kind::Like;
            if (peek().kind != Token::Kind::String)
                return failCondition("LIKE needs a string");
        } else {
            const bool negated = keyword("NOT");
            if (!keyword("IN") || !symbol("("))
                return failCondition("expected an operator");
            c->kind = negated ? FakeSoqlCondition::Kind::NotIn : FakeSoqlCondition::Kind::In;
            if (peekKeyword("SELECT")) {
                c->subquery = query();
                if (!c->subquery)
                    return nullptr;
            } else {
                do {
                    auto v = value();
                    if (!v)
                        return nullptr;
                    c->values.push_back(*v);
                } while (symbol(","));
            }
            if (!symbol(")"))
                return failCondition("expected )");
            return c;
        }
        auto v = value();
        if (!v)
            return nullptr;
        c->values.push_back(*v);
        return c;
    }

    std::optional<std::optional<QString>> value()
    {
        const Token t = take();
        if (t.kind == Token::Kind::String)
            return std::optional<QString>(t.text);
        if (t.kind == Token::Kind::Word) {
            if (t.text.compare(QLatin1String("null"), Qt::CaseInsensitive) == 0)
                return std::optional<QString>();
            return std::optional<QString>(t.text);
        }
        *m_error = QStringLiteral("expected a value");
        return std::nullopt;
    }

    static Condition combine(FakeSoqlCondition::Kind kind, const Condition& a, const Condition& b)
    {
        auto c = std::make_shared<FakeSoqlCondition>();
        c->kind = kind;
        c->children.push_back(a);
        if (b)
            c->children.push_back(b);
        return c;
    }

    const Token& peek() const { return m_tokens[m_position]; }
    Token take() { return m_position + 1 < m_tokens.size() ? m_tokens[m_position++] : m_tokens.back(); }
    bool peekKeyword(const char* word) const
    {
        return peek().kind == Token::Kind::Word && peek().text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
    bool keyword(const char* word)
    {
        if (!peekKeyword(word))
            return false;
        ++m_position;
        return true;
    }
    bool symbol(const char* s)
    {
        if (peek().kind != Token::Kind::Symbol || peek().text != QLatin1String(s))
            return false;
        ++m_position;
        return true;
    }
    std::shared_ptr<FakeSoqlQuery> fail(const char* why)
    {
        *m_error = QString::fromLatin1(why);
        return nullptr;
    }
    Condition failCondition(const char* why)
    {
        *m_error = QString::fromLatin1(why);
        return nullptr;
    }

    std::vector<Token> m_tokens;
    size_t m_position = 0;
    QString* m_error;
};

QString plain(QString text)
{
    return text.replace(kLiteralPercent, QLatin1Char('%')).replace(kLiteralUnderscore, QLatin1Char('_'));
}

bool likeMatches(const QString& value, const QString& pattern)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('%'))
            expression += QLatin1String(".*");
        else if (c == QLatin1Char('_'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(plain(QString(c))));
    }
    const QRegularExpression re(QRegularExpression::anchoredPattern(expression),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    return re.match(value).hasMatch();
}

bool equalValues(const std::optional<QString>& recordValue, const std::optional<QString>& literal)
{
    if (!literal)
        return !recordValue || recordValue->isEmpty();
    return recordValue && recordValue->compare(plain(*literal), Qt::CaseInsensitive) == 0;
}

bool evaluate(const FakeSoqlCondition& c, const FakeSoqlQuery::Values& record, const FakeSoqlQuery::Subquery& subquery)
{
    using Kind = FakeSoqlCondition::Kind;
    const auto it = record.find(c.field);
    const std::optional<QString> value = it == record.end() ? std::nullopt : std::optional<QString>(it.value());
    switch (c.kind) {
    case Kind::And: return evaluate(*c.children[0], record, subquery) && evaluate(*c.children[1], record, subquery);
    case Kind::Or: return evaluate(*c.children[0], record, subquery) || evaluate(*c.children[1], record, subquery);
    case Kind::Not: return !evaluate(*c.children[0], record, subquery);
    case Kind::Equal: return equalValues(value, c.values[0]);
    case Kind::NotEqual: return !equalValues(value, c.values[0]);
    case Kind::Like: return value && likeMatches(*value, *c.values[0]);
    case Kind::In:
    case Kind::NotIn: {
        bool found = false;
        if (c.subquery) {
            for (const QString& v : subquery(*c.subquery))
                found = found || equalValues(value, v);
        } else {
            for (const auto& v : c.values)
                found = found || equalValues(value, v);
        }
        return c.kind == Kind::In ? found : !found;
    }
    }
    return false;
}

}

std::shared_ptr<FakeSoqlQuery> FakeSoqlQuery::parse(const QString& soql, QString* error)
{
    std::vector<Token> tokens;
    if (!tokenize(soql, tokens, error))
        return nullptr;
    Parser parser(std::move(tokens), error);
    auto query = parser.query();
    if (query && !parser.atEnd()) {
        *error = QStringLiteral("unexpected text after the query");
        return nullptr;
    }
    return query;
}

bool FakeSoqlQuery::matches(const Values& record, const Subquery& subquery) const
{
    return !where || evaluate(*where, record, subquery);
}

bool FakeSoqlQuery::selects(const QString& field) const
{
    for (const QString& selected : fields) {
        if (selected.section(QLatin1Char('.'), 0, 0).compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}
