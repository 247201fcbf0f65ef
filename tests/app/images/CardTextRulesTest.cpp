#include "app/images/CardTextRules.h"

#include <gtest/gtest.h>

namespace {

TEST(CardTextRules, LanguageType)
{
    const struct {
        QString text;
        int type;
    } cases[] = {
        {u""_qs, 2}, {u"Anna"_qs, 2}, {QString(QChar(0x3000)), 2}, {QString(QChar(0x3001)), 1},
        {u"Anna 山田"_qs, 1}, {u"Ünsal"_qs, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(languageTypeOfaString(c.text), c.type) << c.text.toStdString();
}

TEST(CardTextRules, TrimOnlyNewline)
{
    EXPECT_EQ(trimOnlyNewline(QString()), u""_qs);
    EXPECT_EQ(trimOnlyNewline(u"\n\r\u2028\n"_qs), u""_qs);
    EXPECT_EQ(trimOnlyNewline(u"\n a\n"_qs), u"\n a\n"_qs);
    EXPECT_FALSE(trimOnlyNewline(QString()).isNull());
}

class Card : public CardRecord {
public:
    QVariant valueForKey(const QString& key) const override { return values.value(key); }
    void setValueForKey(const QString& key, const QVariant& value) override { values.insert(key, value); }
    QVariantMap values;
};

TEST(CardTextRules, EditedNamesAndReadings)
{
    Card card;
    card.values.insert("suffix_Name", u"Jr."_qs);
    ASSERT_EQ(separateValue({{"full_Name", u"  Anna Maria  Lopez "_qs}}, &card), 0);
    EXPECT_EQ(card.values.value("first_Name").toString(), u"Anna"_qs);
    EXPECT_EQ(card.values.value("middle_Name").toString(), u"Maria"_qs);
    EXPECT_EQ(card.values.value("family_Name").toString(), u"Lopez"_qs);
    EXPECT_FALSE(card.values.value("suffix_Name").isValid());

    // An ideographic space separates a Japanese name; the rest of the name becomes the first name.
    Card jp;
    ASSERT_EQ(separateValue({{"full_Name", u"山田\u3000太郎 次郎"_qs}, {"full_Name_Kana", u"やまだ たろう"_qs}}, &jp), 0);
    EXPECT_EQ(jp.values.value("family_Name").toString(), u"山田"_qs);
    EXPECT_EQ(jp.values.value("first_Name").toString(), u"太郎 次郎"_qs);
    EXPECT_EQ(jp.values.value("full_Name_Kana").toString(), u"やまだ たろう"_qs);
    EXPECT_EQ(jp.values.value("family_Name_Kana").toString(), u"やまだ"_qs);
    EXPECT_EQ(jp.values.value("first_Name_Kana").toString(), u"たろう"_qs);

    // The null object clears the parts and sets nothing.
    ASSERT_EQ(separateValue({{"full_Name", QVariant()}}, &jp), 0);
    EXPECT_FALSE(jp.values.value("family_Name").isValid());
    EXPECT_EQ(separateValue({}, nullptr), 3);
}

TEST(CardTextRules, EditedAddress)
{
    Card card;
    ASSERT_EQ(separateValue({{"address", u"Tokyo\nChiyoda\n  1-1 Marunouchi\nBldg 3  "_qs}}, &card), 0);
    EXPECT_EQ(card.values.value("state").toString(), u"Tokyo"_qs);
    EXPECT_EQ(card.values.value("city").toString(), u"Chiyoda"_qs);
    EXPECT_EQ(card.values.value("street").toString(), u"1-1 Marunouchi\nBldg 3"_qs);
    ASSERT_EQ(separateValue({{"address", u"Osaka"_qs}}, &card), 0);
    EXPECT_EQ(card.values.value("state").toString(), u"Osaka"_qs);
    EXPECT_FALSE(card.values.value("city").isValid());
}

TEST(CardTextRules, SyncIdentifiersOnlyWhenBlank)
{
    Card card;
    card.values.insert("sync_Email", u"KEEP"_qs);
    card.values.insert("sync_URL", u""_qs);
    ASSERT_EQ(separateValue({{"e_Mail", u"a@b.example"_qs},
                             {"web_Page_Address", u"https://b.example"_qs},
                             {"telephone_Number", u""_qs},
                             {"fax_Number", QVariant()},
                             {"zip_PostalCode", u"100-0001"_qs}},
                            &card),
              0);
    EXPECT_EQ(card.values.value("sync_Email").toString(), u"KEEP"_qs);
    const QString url = card.values.value("sync_URL").toString();
    EXPECT_EQ(url.size(), 36);
    EXPECT_EQ(url, url.toUpper());
    EXPECT_FALSE(card.values.contains("sync_Phone_work"));
    EXPECT_FALSE(card.values.contains("sync_Phone_Fax"));
    EXPECT_EQ(card.values.value("sync_Street").toString().size(), 36);
}

} // namespace
