#include "outside/ocr/RomanisedJapaneseAddress.h"

#include <QRegularExpression>

namespace {

// A place name with the word of its ward, city, town, village, district or prefecture joined by a
// hyphen: "Aoba-ku", "Yokohama-shi", "Yamashita-cho", "Kanagawa-ken", "Tokyo-to".
const QString kPlace = QStringLiteral(R"(\p{Lu}\p{Ll}+(?:-\p{Ll}+)*-(?:ku|Ku|KU|shi|Shi|SHI|cho|Cho|CHO|machi|Machi|gun|Gun|mura|ken|Ken|fu|Fu|to|To))");

}

bool isRomanisedJapaneseStreetLine(const QString& line)
{
    // Block numbers (chome, banchi, go) open with no trunk zero, unlike a telephone number; two
    // hyphens, or one with a ward or town word after the district, make the address.
    static const QRegularExpression blocks(QStringLiteral(R"((?:^|[\s,])[1-9][0-9]{0,2}-[0-9]{1,4}-[0-9]{1,4},?\s+\p{Lu}\p{Ll}{2,})"));
    static const QRegularExpression place(QStringLiteral(R"((?:^|[\s,]))") + kPlace + QStringLiteral(R"((?=[\s,.]|$))"));
    static const QRegularExpression number(QStringLiteral(R"((?:^|[\s,])[1-9][0-9]{0,3}(?:-[0-9]{1,4}){0,2}(?=[\s,]))"));
    if (line.contains(u'@'))
        return false;
    return blocks.match(line).hasMatch() || (place.match(line).hasMatch() && number.match(line).hasMatch());
}

namespace {

// The town and code of a town line, a zero of the code read as a letter o ("Fukuoka 812-oo11") and
// marks after it from the row beside it ("Sendai 980-0021 @") allowed; no match where the line is none.
QRegularExpressionMatch townAndCode(const QString& line)
{
    // The city, or its ward and city, before the code; on a line of its own, or at the end of the
    // street line where the address is printed on one line.
    static const QRegularExpression town(QStringLiteral(R"((?:^|,\s*)((?:%1,?\s+)?(?:%1|\p{Lu}\p{Ll}+)),?\s+([0-9][0-9oO]{2}-[0-9oO]{4}))"
                                                        R"((?:,?\s+(?:Japan|JAPAN))?\.?[^\p{L}\p{N}]*$)")
                                             .arg(kPlace));
    const auto m = town.match(line);
    return m.hasMatch() && (m.capturedStart() == 0 || isRomanisedJapaneseStreetLine(line.left(m.capturedStart()))) ? m
                                                                                                                  : QRegularExpressionMatch();
}

QString digitsOfCode(const QString& code)
{
    return QString(code).replace(u'o', u'0').replace(u'O', u'0');
}

}

QString romanisedJapanesePostcodeOf(const QString& line)
{
    const auto m = townAndCode(line.trimmed());
    return m.hasMatch() ? digitsOfCode(m.captured(2)) : QString();
}

QString withRomanisedJapanesePostcode(const QString& line)
{
    const QString trimmed = line.trimmed();
    const auto m = townAndCode(trimmed);
    return m.hasMatch() ? QString(trimmed).replace(m.capturedStart(2), m.capturedLength(2), digitsOfCode(m.captured(2))) : line;
}
