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

QString romanisedJapanesePostcodeOf(const QString& line)
{
    // The city, or its ward and city, before the code; on a line of its own, or at the end of the
    // street line where the address is printed on one line.
    static const QRegularExpression town(QStringLiteral(R"((?:^|,\s*)((?:%1,?\s+)?(?:%1|\p{Lu}\p{Ll}+)),?\s+([0-9]{3}-[0-9]{4}))"
                                                        R"((?:,?\s+(?:Japan|JAPAN))?\.?$)")
                                             .arg(kPlace));
    const QString trimmed = line.trimmed();
    const auto m = town.match(trimmed);
    return m.hasMatch() && (m.capturedStart() == 0 || isRomanisedJapaneseStreetLine(trimmed.left(m.capturedStart()))) ? m.captured(2) : QString();
}
