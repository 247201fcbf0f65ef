#include "app/images/LatinAddressShape.h"

#include <QRegularExpression>

#include <array>

namespace {

// What the engine reads for a letter where a digit belongs, and the other way round.
QChar asDigit(QChar c)
{
    switch (c.unicode()) {
    case u'O':
    case u'o':
    case u'D': return u'0';
    case u'I':
    case u'l':
    case u'i':
    case u'|': return u'1';
    case u'Z': return u'2';
    case u'S':
    case u'$': return u'5';
    case u'B': return u'8';
    default: return c.isDigit() ? c : QChar();
    }
}

QChar asLetter(QChar c)
{
    switch (c.unicode()) {
    case u'0': return u'O';
    case u'1': return u'I';
    case u'5':
    case u'$': return u'S';
    case u'8': return u'B';
    default: return c.isUpper() && c.unicode() < 0x80 ? c : QChar();
    }
}

// The outward code in the one of its six forms (A9, A99, A9A, AA9, AA99, AA9A) that asks for the
// fewest characters read otherwise, or empty: "LS1" stays, "L51" is not made of it.
QString outwardCode(const QString& read)
{
    static const std::array<const char*, 6> kForms = {"A9", "A99", "A9A", "AA9", "AA99", "AA9A"};
    QString best;
    qsizetype fewest = read.size() + 1;
    for (const char* form : kForms) {
        if (qsizetype(qstrlen(form)) != read.size())
            continue;
        QString code;
        qsizetype changed = 0;
        for (qsizetype i = 0; i < read.size(); ++i) {
            const QChar c = form[i] == 'A' ? asLetter(read[i]) : asDigit(read[i]);
            if (c.isNull())
                break;
            changed += c != read[i];
            code += c;
        }
        if (code.size() == read.size() && changed < fewest) {
            best = code;
            fewest = changed;
        }
    }
    return best;
}

// "CF10 IBY" → "CF10 1BY": a UK postcode read with a misread character or without its blank.
QString ukPostcode(const QString& read)
{
    const QString compact = QString(read).remove(u' ');
    if (compact.size() < 5 || compact.size() > 7)
        return {};
    const QString inward = compact.right(3);
    const QChar digit = asDigit(inward[0]);
    const QChar first = asLetter(inward[1]);
    const QChar second = asLetter(inward[2]);
    const QString outward = outwardCode(compact.left(compact.size() - 3));
    if (digit.isNull() || first.isNull() || second.isNull() || outward.isEmpty())
        return {};
    return outward + u' ' + digit + first + second;
}

const QRegularExpression& ukCandidate()
{
    // A token of capitals and digits, with the blank before the inward code or without it, that
    // holds a digit: "LONDON" or "SUITE" never is one.
    static const QRegularExpression re(
        QStringLiteral(R"((?<![\p{L}\p{N}$])(?=[A-Z0-9$ ]*[0-9])([A-Z$][A-Z0-9$]{1,3} ?[0-9OIlSZB][A-Z0-9$]{2})(?![\p{L}\p{N}]))"));
    return re;
}

const QRegularExpression& usZip()
{
    static const QRegularExpression re(QStringLiteral(R"(\b[A-Z]{2}\s+([0-9]{5}(?:-[0-9]{4})?)\b)"));
    return re;
}

const QRegularExpression& germanPostcode()
{
    static const QRegularExpression re(QStringLiteral(R"((?:^|[\s,])(?:D-)?([0-9]{5})\s+\p{Lu}\p{Ll})"));
    return re;
}

} // namespace

QString latinAddressInPrintedShape(const QString& address)
{
    QString shaped = address;
    if (!usZip().match(shaped).hasMatch() && !germanPostcode().match(shaped).hasMatch()) {
        // The last UK postcode of the address: a street number never has the shape.
        QRegularExpressionMatch last;
        for (auto it = ukCandidate().globalMatch(shaped); it.hasNext();)
            last = it.next();
        if (last.hasMatch()) {
            if (const QString code = ukPostcode(last.captured(1)); !code.isEmpty())
                shaped.replace(last.capturedStart(1), last.capturedLength(1), code);
        }
    }
    // A small letter alone before a line's number is a speck read as one: "i 28195 Bremen".
    static const QRegularExpression speck(QStringLiteral(R"((^|\n)\p{Ll} (?=[0-9]))"));
    shaped.replace(speck, QStringLiteral("\\1"));
    if (germanPostcode().match(shaped).hasMatch()) {
        static const QRegularExpression sharpS(QStringLiteral(R"((?<=\p{Ll})[B$](?=\p{Ll}))"));
        static const QRegularExpression umlautU(QStringLiteral(R"((?<=\p{L})ii(?=\p{Ll}))"));
        shaped.replace(sharpS, QStringLiteral("ß")).replace(umlautU, QStringLiteral("ü"));
    }
    return shaped;
}

QString postcodeInAddress(const QString& address)
{
    if (const auto m = usZip().match(address); m.hasMatch())
        return m.captured(1);
    if (const auto m = germanPostcode().match(address); m.hasMatch())
        return m.captured(1);
    QString found;
    for (auto it = ukCandidate().globalMatch(address); it.hasNext();) {
        const QString read = it.next().captured(1);
        if (ukPostcode(read) == read)
            found = read;
    }
    return found;
}
