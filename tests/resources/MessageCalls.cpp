#include "tests/resources/MessageCalls.h"

#include <QRegularExpression>

namespace {

// Where `expression` splits at `mark` outside brackets, or -1; a ':' of "::" is no mark.
qsizetype topLevel(const QString& expression, QChar mark, qsizetype from = 0)
{
    int depth = 0;
    for (qsizetype i = from; i < expression.size(); ++i) {
        const QChar c = expression[i];
        if (c == u'(' || c == u'[' || c == u'{')
            ++depth;
        else if (c == u')' || c == u']' || c == u'}')
            --depth;
        else if (c == mark && depth == 0 && !(mark == u':' && (expression.mid(i, 2) == QLatin1String("::") || (i > 0 && expression[i - 1] == u':'))))
            return i;
    }
    return -1;
}

bool enclosedWhole(const QString& expression)
{
    return expression.startsWith(u'(') && topLevel(expression.mid(1), u')') == expression.size() - 2;
}

} // namespace

Constants integerConstants(const QList<SourceFile>& files)
{
    static const QRegularExpression definition(QStringLiteral(R"re(\b(k\w+)\s*=\s*(\d+)\b)re"));
    Constants constants;
    for (const SourceFile& file : files) {
        for (auto it = definition.globalMatch(file.text()); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            constants[match.captured(1)].insert(match.captured(2).toInt());
        }
    }
    return constants;
}

std::optional<QSet<int>> numbersOf(QString expression, const Constants& constants)
{
    expression = expression.trimmed();
    while (enclosedWhole(expression))
        expression = expression.mid(1, expression.size() - 2).trimmed();
    static const QRegularExpression number(QRegularExpression::anchoredPattern(QStringLiteral(R"re(\d+)re")));
    static const QRegularExpression constant(QRegularExpression::anchoredPattern(QStringLiteral(R"re((?:\w+::)*(k\w+))re")));
    if (number.match(expression).hasMatch())
        return QSet<int>{expression.toInt()};
    if (const QRegularExpressionMatch match = constant.match(expression); match.hasMatch()) {
        if (constants.contains(match.captured(1)))
            return constants.value(match.captured(1));
        return std::nullopt;
    }
    const qsizetype question = topLevel(expression, u'?');
    const qsizetype colon = question < 0 ? -1 : topLevel(expression, u':', question + 1);
    if (colon < 0)
        return std::nullopt;
    const auto first = numbersOf(expression.mid(question + 1, colon - question - 1), constants);
    const auto second = numbersOf(expression.mid(colon + 1), constants);
    if (!first || !second)
        return std::nullopt;
    return *first + *second;
}

QList<MessageCall> messageCalls(const QList<SourceFile>& files, const QString& function, const Constants& constants)
{
    const QRegularExpression call(QStringLiteral(R"re(\b%1(\w*)\s*\()re").arg(function));
    static const QRegularExpression identifier(QRegularExpression::anchoredPattern(QStringLiteral(R"re([A-Za-z_]\w*)re")));
    QList<MessageCall> calls;
    for (const SourceFile& file : files) {
        for (auto it = call.globalMatch(file.text()); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            const qsizetype open = match.capturedEnd() - 1;
            if (file.inLiteral(match.capturedStart()))
                continue;
            const QString form = match.captured(1);
            const int index = form == QLatin1String("BySheet") ? 1 : form == QLatin1String("AlertSheet") ? 2 : 0;
            const QList<Span> arguments = file.arguments(open);
            if (arguments.size() <= index)
                continue;
            const QString expression = file.textOf(arguments[index]);
            MessageCall found{{}, -1, file.where(open)};
            if (const auto named = numbersOf(expression, constants)) {
                found.numbers = *named;
                found.arguments = argumentsAfter(file, arguments, index);
            } else if (identifier.match(expression).hasMatch()) {
                const QRegularExpression assigned(QStringLiteral(R"re(\b%1\s*=(?!=)\s*([^;{}]+);)re").arg(expression));
                for (auto value = assigned.globalMatch(file.text()); value.hasNext();) {
                    if (const auto given = numbersOf(value.next().captured(1), constants))
                        found.numbers += *given;
                }
            }
            if (!found.numbers.isEmpty())
                calls.append(found);
        }
    }
    return calls;
}
