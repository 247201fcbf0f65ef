#include "outside/ocr/AddressLines.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

// The last Japanese postal code in a text, blanks dropped ("〒389-01 02", "81 2-001 1"), its
// separator read as a dot or a mark, its 〒 as a 7 or a 1; `start` receives where it begins.
QString lastPostalCode(const QString& text, qsizetype* start)
{
    static const QRegularExpression code(
        QStringLiteral(R"((?:^|[^0-9０-９])([71]?)([0-9０-９]{3})\s*[-－ー一‐−.・',]\s*([0-9０-９]{4})(?![0-9０-９]))"));
    static const QRegularExpression blankInDigits(QStringLiteral(R"((?<=[0-9０-９\-－])\s+(?=[0-9０-９\-－]))"));
    const QString compact = QString(text).replace(blankInDigits, QString());
    QRegularExpressionMatch m;
    for (auto it = code.globalMatch(compact); it.hasNext();)
        m = it.next();
    if (!m.hasMatch())
        return {};
    // Where the code starts in the text as given: the same count of non-blank characters in.
    qsizetype nonBlank = 0;
    for (qsizetype i = 0; i < m.capturedStart(1); ++i)
        nonBlank += compact.at(i).isSpace() ? 0 : 1;
    qsizetype at = 0;
    for (; at < text.size() && nonBlank > 0; ++at)
        nonBlank -= text.at(at).isSpace() ? 0 : 1;
    *start = at;
    return m.captured(2) + u'-' + m.captured(3);
}

} // namespace

JapaneseAddressStart findJapaneseAddress(const QString& line)
{
    // A prefecture and the municipality after it ("さいたま市" in kana), or a city, ward or county
    // and its district up to the block numbers; each begins a run of kanji or kana.
    static const QRegularExpression start(QStringLiteral(
        R"((?<![\p{Han}\p{Hiragana}\p{Katakana}])(?:(?:北海道|\p{Han}(?:\s?\p{Han}){1,2}\s?[都府県])[\p{Han}\p{Hiragana}\p{Katakana}]{1,6}[市区町村郡]|[\p{Han}\p{Hiragana}\p{Katakana}]{1,5}[市区郡][\p{Han}\p{Katakana}\p{Hiragana}ー]*\s?[0-9０-９]))"));
    JapaneseAddressStart found;
    const auto m = start.match(line);
    if (!m.hasMatch())
        return found;
    found.at = m.capturedStart();
    const QString before = line.left(found.at).trimmed();
    qsizetype codeAt = before.size();
    found.postalCode = lastPostalCode(before, &codeAt);
    // The postal mark and what the engine made of it ("〒", "T", "+") go with the code.
    static const QRegularExpression mark(QStringLiteral(R"(\s*(?:(?:^|(?<=\s))T|[^\p{L}\p{N}\s])?\s*$)"));
    found.before = found.postalCode.isEmpty() ? before : before.left(codeAt).remove(mark).trimmed();
    // The blanks the engine puts between kanji ("福岡 県") go; a postal code read after the address
    // from its own line ("駅前2-1-1 + 812-0011") and a Latin scrap ending the line ("721-1 BH") are
    // no part of it.
    static const QRegularExpression blankInKanji(
        QStringLiteral(R"((?<=[\p{Han}\p{Hiragana}\p{Katakana}])\s+(?=[\p{Han}\p{Hiragana}\p{Katakana}]))"));
    static const QRegularExpression codeAfter(QStringLiteral(R"(\s+(?:[〒T+]\s*)?[71]?([0-9０-９]{3})[-－]([0-9０-９]{4})\s*$)"));
    static const QRegularExpression scrapAfter(QStringLiteral(R"((?<=[0-9０-９\p{Han}])\s+[A-Za-z]{1,3}$)"));
    found.address = line.mid(found.at).trimmed().remove(blankInKanji).remove(scrapAfter);
    if (const auto after = codeAfter.match(found.address); after.hasMatch()) {
        if (found.postalCode.isEmpty())
            found.postalCode = after.captured(1) + u'-' + after.captured(2);
        found.address.truncate(after.capturedStart());
    }
    return found;
}

QString postalCodeWithMarkMisread(const QString& number)
{
    static const QRegularExpression shape(QStringLiteral(R"(^[71]([0-9]{3})[-－]([0-9]{4})$)"));
    const auto m = shape.match(number.trimmed());
    return m.hasMatch() ? m.captured(1) + u'-' + m.captured(2) : QString();
}

QString withTownLinePostcode(const QString& line)
{
    // A UK postcode: its digits read as I, O or S where the shape wants a digit, a J as "]" or "}",
    // its second letter in lower case; at least one digit read as one.
    static const QRegularExpression uk(
        QStringLiteral(R"((?<![\p{L}\p{N}])([A-Z][A-Za-z]?)([0-9IO])([A-Z0-9]?)\s([0-9IOS])([A-Z\]}][A-Z\]}])(?![\p{L}\p{N}]))"));
    // A US state after its town's comma, the ZIP code run into it or the state in small letters.
    static const QRegularExpression us(QStringLiteral(R"(,\s*([A-Z][A-Za-z])\s*([0-9]{5}(?:-[0-9]{4})?)\b)"));
    const auto digit = [](const QString& c) { return c == u"I"_s ? u"1"_s : c == u"O"_s ? u"0"_s : c == u"S"_s ? u"5"_s : c; };
    QString out = line;
    if (const auto m = uk.match(out);
        m.hasMatch() && (m.captured(2).front().isDigit() || m.captured(3).front().isDigit() || m.captured(4).front().isDigit()))
        out.replace(m.capturedStart(), m.capturedLength(),
                    m.captured(1).toUpper() + digit(m.captured(2)) + m.captured(3) + u' ' + digit(m.captured(4))
                        + QString(m.captured(5)).replace(u']', u'J').replace(u'}', u'J'));
    if (const auto m = us.match(out); m.hasMatch())
        out.replace(m.capturedStart(), m.capturedLength(), u", "_s + m.captured(1).toUpper() + u' ' + m.captured(2));
    return out;
}
