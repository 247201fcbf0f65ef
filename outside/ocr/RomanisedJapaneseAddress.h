// A Japanese address printed in Latin letters, as the English side of a Japanese firm's card
// prints it: "1-6-35 Chuo, Aoba-ku," over "Sendai 980-0021" over "Japan".
#pragma once

#include <QString>

// The street line: block numbers before the district ("2-4-9 Umeda, Kita-ku,") or a district
// with its ward, city or town word ("22 Yamashita-cho, Naka-ku", "Shinjuku-ku, Tokyo").
bool isRomanisedJapaneseStreetLine(const QString& line);

// The postal code of a town line ("Sendai 980-0021", "Chiyoda-ku, Tokyo 100-0005, Japan",
// "Osaka-shi, Osaka 530-0001"), empty when the line is none.
QString romanisedJapanesePostcodeOf(const QString& line);

// A town line with the zeros of its code as printed where the engine read them as letters o
// ("Fukuoka 812-oo11"); another line as it is.
QString withRomanisedJapanesePostcode(const QString& line);
