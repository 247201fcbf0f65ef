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

} // namespace
