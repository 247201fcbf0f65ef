#include "tests/resources/KeyUses.h"

#include <QRegularExpression>
#include <QSet>

#include <functional>

namespace {

QString lastComponent(const QString& callee)
{
    return callee.mid(callee.lastIndexOf(u':') + 1);
}

// Calls that turn a key into its text.
bool isLookup(const QString& name)
{
    static const QSet<QString> names{QStringLiteral("text"), QStringLiteral("localized"), QStringLiteral("getLocalString"),
                                     QStringLiteral("GetLocalStringWithKey"), QStringLiteral("textOrSelf")};
    return names.contains(name);
}

// Calls that only make a string of a literal or a name.
bool isWrapper(const QString& name)
{
    static const QSet<QString> names{QStringLiteral("QStringLiteral"), QStringLiteral("QLatin1String"), QStringLiteral("fromLatin1"),
                                     QStringLiteral("fromUtf8")};
    return names.contains(name);
}

// Calls that fill a text with the arguments after it.
bool isTextFormat(const QString& name)
{
    return name == QLatin1String("formatText") || name == QLatin1String("formatString");
}

// Calls that take a key with fixed parameters between it and its arguments.
struct KeyTaker {
    const char* name;
    int keyIndex;
    int fixedAfter;
};
constexpr KeyTaker kKeyTakers[] = {
    {"ShowPLInfoMessage", 0, 3},        // default, alternate, other
    {"ShowPLInfoMessageBySheet", 1, 3}, // after the window
    {"ShowPLInfoMessageAlertSheet", 5, 3}, // after the window, delegate, selectors and context
};

enum class Use {
    Filled,
    Unfilled,
    Returned, // handed to the callers as a key
    Compared, // a caller checking which key it got
    Data,     // an item of a table of data
    Named,    // given a name, whose uses tell
};

struct Found {
    Use use;
    bool lookedUp = false;
    QString name; // Named: the name given
};

// Whether the statement around `pos` fills a text of `placeholders` arguments.
bool statementFills(const SourceFile& file, qsizetype pos, int placeholders)
{
    static const QRegularExpression formatCall(QStringLiteral(R"re(\b(?:formatText|formatString|format)\s*\()re"));
    const qsizetype start = file.statementStart(pos);
    const qsizetype end = file.statementEnd(pos);
    for (auto it = formatCall.globalMatch(file.text(), start); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedStart() >= end)
            break;
        const QList<Span> arguments = file.arguments(match.capturedEnd() - 1);
        if (!file.inLiteral(match.capturedStart()) && argumentsAfter(file, arguments, 0) >= placeholders)
            return true;
    }
    return false;
}

bool isCall(const QString& name)
{
    static const QSet<QString> keywords{QStringLiteral("if"), QStringLiteral("while"), QStringLiteral("for"), QStringLiteral("switch"),
                                        QStringLiteral("return"), QStringLiteral("sizeof")};
    return !name.isEmpty() && !keywords.contains(name);
}

Found classify(const SourceFile& file, Span expression, bool lookedUp, int placeholders)
{
    const QString& text = file.text();
    bool inCall = false; // an argument of a call that does not fill it
    for (;;) {
        const qsizetype open = file.enclosingOpen(expression.start);
        if (open < 0 || text[open] != u'(')
            break;
        const QString name = lastComponent(file.callee(open));
        const QList<Span> arguments = file.arguments(open);
        if (arguments.size() == 1 && (isWrapper(name) || (!lookedUp && isLookup(name)))) {
            lookedUp = lookedUp || isLookup(name);
            expression = {file.calleeSpan(open).start, file.closing(open) + 1};
            continue;
        }
        int keyIndex = 0;
        int fixedAfter = 0;
        for (const KeyTaker& taker : kKeyTakers) {
            if (name == QLatin1String(taker.name)) {
                keyIndex = taker.keyIndex;
                fixedAfter = taker.fixedAfter;
            }
        }
        const bool isKeyArgument = keyIndex < arguments.size() && arguments[keyIndex].start == expression.start;
        const bool fills = lookedUp ? isTextFormat(name) : isCall(name) && !isLookup(name);
        if (isKeyArgument && fills)
            return {argumentsAfter(file, arguments, keyIndex) - fixedAfter >= placeholders ? Use::Filled : Use::Unfilled, lookedUp, {}};
        inCall = isCall(name);
        break;
    }
    const qsizetype statement = file.statementStart(expression.start);
    const QString before = text.mid(statement, expression.start - statement).trimmed();
    const QString after = text.mid(expression.end, 16).trimmed();
    if (before.endsWith(QLatin1String("==")) || before.endsWith(QLatin1String("!=")) || after.startsWith(QLatin1String("=="))
        || after.startsWith(QLatin1String("!=")))
        return {Use::Compared, lookedUp, {}};
    if (inCall)
        return {Use::Unfilled, lookedUp, {}};
    if ((before.endsWith(u'{') || before.endsWith(u',')) && (after.startsWith(u'}') || after.startsWith(u',')))
        return {Use::Data, lookedUp, {}};
    static const QRegularExpression returned(QStringLiteral(R"re(\breturn\b)re"));
    if (returned.match(before).hasMatch())
        return {lookedUp ? Use::Unfilled : Use::Returned, lookedUp, {}};
    static const QRegularExpression assigned(QStringLiteral(R"re(\b([A-Za-z_]\w*)\s*=(?!=)[^=]*$)re"));
    if (const QRegularExpressionMatch match = assigned.match(before); match.hasMatch())
        return {Use::Named, lookedUp, match.captured(1)};
    return {Use::Unfilled, lookedUp, {}};
}

} // namespace

QList<UnfilledUse> unfilledKeyUses(const QList<SourceFile>& files, const QHash<QString, int>& keys)
{
    QList<UnfilledUse> unfilled;
    QList<UnfilledUse> returned;
    QSet<QString> filledByCallers;
    std::function<void(const SourceFile&, Span, const QString&, bool, int)> visit;
    visit = [&](const SourceFile& file, Span expression, const QString& key, bool lookedUp, int depth) {
        const int placeholders = keys.value(key);
        const Found found = classify(file, expression, lookedUp, placeholders);
        const QString where = file.where(expression.start);
        switch (found.use) {
        case Use::Filled:
        case Use::Data: break;
        case Use::Unfilled: unfilled.append({key, where, QStringLiteral("shown without its arguments")}); break;
        case Use::Returned: returned.append({key, where, QStringLiteral("returned as a key that no caller fills")}); break;
        case Use::Compared:
            if (statementFills(file, expression.start, placeholders))
                filledByCallers.insert(key);
            break;
        case Use::Named: {
            if (depth > 3)
                break;
            // A constant is used anywhere; a variable until the end of its block.
            const bool constant = QRegularExpression(QStringLiteral("^k[A-Z]")).match(found.name).hasMatch();
            const qsizetype definitionEnd = file.statementEnd(expression.start);
            const qsizetype block = file.enclosingOpen(file.statementStart(expression.start));
            const qsizetype scopeEnd = block < 0 ? file.text().size() : file.closing(block);
            const QRegularExpression name(QStringLiteral("\\b%1\\b").arg(found.name));
            for (const SourceFile& other : files) {
                if (!constant && &other != &file)
                    continue;
                const qsizetype from = &other == &file ? definitionEnd : 0;
                for (auto it = name.globalMatch(other.text(), from); it.hasNext();) {
                    const QRegularExpressionMatch use = it.next();
                    if (!constant && use.capturedStart() > scopeEnd)
                        break;
                    if (!other.inLiteral(use.capturedStart()))
                        visit(other, {use.capturedStart(), use.capturedEnd()}, key, found.lookedUp, depth + 1);
                }
            }
            break;
        }
        }
    };
    static const QRegularExpression literal(QStringLiteral(R"re("([A-Za-z0-9_]+)")re"));
    for (const SourceFile& file : files) {
        for (auto it = literal.globalMatch(file.text()); it.hasNext();) {
            const QRegularExpressionMatch match = it.next();
            if (keys.value(match.captured(1)) > 0 && file.inLiteral(match.capturedStart()))
                visit(file, {match.capturedStart(), match.capturedEnd()}, match.captured(1), false, 0);
        }
    }
    for (const UnfilledUse& use : returned) {
        if (!filledByCallers.contains(use.key))
            unfilled.append(use);
    }
    return unfilled;
}
