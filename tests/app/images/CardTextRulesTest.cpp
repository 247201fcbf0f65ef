#include "app/images/CardTextRules.h"

#include "app/images/LatinAddressShape.h"

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

TEST(CardTextRules, LatinAddressShape)
{
    const struct {
        QString read, shaped, postcode;
    } cases[] = {
        // UK postcodes: a misread character in its place, the blank before the inward code.
        {u"Unit 3B, Castle Court\nCardiff CF10 IBY"_qs, u"Unit 3B, Castle Court\nCardiff CF10 1BY"_qs, u"CF10 1BY"_qs},
        {u"Suite 210, Imperial Court\nSouthampton $O15 2AQ"_qs, u"Suite 210, Imperial Court\nSouthampton SO15 2AQ"_qs, u"SO15 2AQ"_qs},
        {u"17 Park Row\nLeeds LS1 5JL"_qs, u"17 Park Row\nLeeds LS1 5JL"_qs, u"LS1 5JL"_qs},
        {u"Unit 7, Brunel Business Park, Bristol BS3 4HU"_qs, u"Unit 7, Brunel Business Park, Bristol BS3 4HU"_qs, u"BS3 4HU"_qs},
        {u"88 Broad Street, Nottingham NG13AL"_qs, u"88 Broad Street, Nottingham NG1 3AL"_qs, u"NG1 3AL"_qs},
        {u"22 Castle Street, Liverpool L2 9SH, United Kingdom"_qs, u"22 Castle Street, Liverpool L2 9SH, United Kingdom"_qs, u"L2 9SH"_qs},
        {u"2nd Floor, 9 Market Square\nOXFORD OX1 3EQ"_qs, u"2nd Floor, 9 Market Square\nOXFORD OX1 3EQ"_qs, u"OX1 3EQ"_qs},
        // No postcode, or one of another country: nothing to put right.
        {u"The Old Mill, Mill Lane\nSHEFFIELD"_qs, u"The Old Mill, Mill Lane\nSHEFFIELD"_qs, u""_qs},
        {u"2800 Post Oak Blvd, Ste 4100\nHouston, TX 77056"_qs, u"2800 Post Oak Blvd, Ste 4100\nHouston, TX 77056"_qs, u"77056"_qs},
        {u"12 E 49th Street, #1100\nNew York, NY 10017 USA"_qs, u"12 E 49th Street, #1100\nNew York, NY 10017 USA"_qs, u"10017"_qs},
        // German: ß read as B or $ between small letters, in an address with a postcode before its town.
        {u"Hohe StraBe 52\n50667 Köln"_qs, u"Hohe Straße 52\n50667 Köln"_qs, u"50667"_qs},
        {u"Kaiserstra$e 29, 60311 Frankfurt am Main"_qs, u"Kaiserstraße 29, 60311 Frankfurt am Main"_qs, u"60311"_qs},
        {u"SchloBplatz 4\n76131 Karlsruhe Germany"_qs, u"Schloßplatz 4\n76131 Karlsruhe Germany"_qs, u"76131"_qs},
        {u"Leopoldstraße 144\n80804 Miinchen"_qs, u"Leopoldstraße 144\n80804 München"_qs, u"80804"_qs},
        {u"Bahnhofplatz 1\ni 28195 Bremen"_qs, u"Bahnhofplatz 1\n28195 Bremen"_qs, u"28195"_qs},
        {u"4 McBride Road\nLondon SW1A 1AA"_qs, u"4 McBride Road\nLondon SW1A 1AA"_qs, u"SW1A 1AA"_qs},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(latinAddressInPrintedShape(c.read), c.shaped) << c.read.toStdString();
        EXPECT_EQ(postcodeInAddress(c.shaped), c.postcode) << c.read.toStdString();
    }
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
