#include "outside/ocr/NameReading.h"

#include <gtest/gtest.h>

namespace {

TEST(NameReading, JapaneseNamesReadFromTheDictionary)
{
    const struct {
        const char16_t* name;
        const char16_t* reading;
    } cases[] = {
        // Printed without a blank: the family name ends where the dictionary says.
        {u"山田太郎", u"ヤマダ タロウ"},
        {u"服部直樹", u"ハットリ ナオキ"},
        // Printed with a blank, also the ideographic one: each word read alone.
        {u"中村 健一", u"ナカムラ ケンイチ"},
        {u"阿部\u3000誠", u"アベ マコト"},
        {u"  伊藤  翔太 ", u"イトウ ショウタ"},
        // Not wholly Japanese, or a part the dictionary cannot read: no reading rather than a guess.
        {u"Anna Lopez", u""},
        {u"山田 Taro", u""},
        {u"髙橋一郎", u""},
        {u"", u""},
        {u"\u3000", u""},
    };
    NameReading readings;
    for (const auto& c : cases) {
        EXPECT_EQ(readings.reading(QString::fromUtf16(c.name)), QString::fromUtf16(c.reading))
            << QString::fromUtf16(c.name).toStdString();
    }
}

TEST(NameReading, WhereTheFamilyNameEnds)
{
    const struct {
        const char16_t* name;
        int family;
    } cases[] = {
        // Family names of one to four characters, given names of one to three, in kanji or kana.
        {u"日下部肇", 3},
        {u"林薫", 1},
        {u"佐久間カオリ", 3},
        {u"勅使河原千尋", 4},
        // A family name the dictionary files as a place, or reads as two words, before a given name it knows.
        {u"薬袋美月", 2},
        {u"王生さやか", 2},
        // Departments, titles and places are no names.
        {u"九州支社", 0},
        {u"監査役", 0},
        {u"物流センター", 0},
        {u"横浜営業所", 0},
        {u"東京都", 0},
    };
    NameReading readings;
    for (const auto& c : cases)
        EXPECT_EQ(readings.familyNameLength(QString::fromUtf16(c.name)), c.family) << QString::fromUtf16(c.name).toStdString();
}

} // namespace
