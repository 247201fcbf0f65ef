// The composed name, reading and display address, the country code, URL escapes and the reading
// of a person's first work entries.
#include "SyncFixture.h"
#include "tests/app/core/TestBundle.h"

namespace {

using C = PLSyncConnectController;

TEST(FieldMap, ComposedNameReadingAndAddress)
{
    const QString kanji = QString::fromUtf8("山");
    const struct {
        QString first, middle, family, prefix, suffix, expected;
    } names[] = {
        {"A", "", "B", "", "", "A B"},
        {" A\t", "M", "B", "Dr.", "Jr.", "Dr. A M B Jr."},
        {"A", "", kanji, "", "", kanji + " A"},
        {kanji, "", "B", "Mr.", "", "Mr. B " + kanji},
        {"", "", "", "", "", ""},
    };
    for (const auto& n : names)
        EXPECT_EQ(C::composePLName(n.first, n.middle, n.family, n.prefix, n.suffix), n.expected) << n.expected.toStdString();
    EXPECT_EQ(C::composePLName(QVariant(), QVariant(), "B", QVariant(), QVariant()), "B");

    EXPECT_EQ(C::composePLYomi("f", "m", "l", 1), "l m f");
    EXPECT_EQ(C::composePLYomi("f", "", " l ", 2), "f l");

    const struct {
        QVariant street, city, state;
        QString expected;
    } addresses[] = {
        {"S", "", "P", "P\n\nS"},
        {"", "C", "P", "P\nC"},
        {"S", QVariant(), QVariant(), "\n\nS"},
        {"S", "C", "P", "P\nC\nS"},
        {QVariant(), QVariant(), "P", "P"},
    };
    for (const auto& a : addresses)
        EXPECT_EQ(C::composePLAdress(a.street, a.city, a.state), a.expected);
}

TEST(FieldMap, CountryCodeOfTheInterfaceLanguage)
{
    const struct {
        const char* langId; // null: no entry
        const char* code;
    } cases[] = {{"11", "jp"}, {"19", "tw"}, {"23", "kr"}, {"33", "cn"}, {"0", "us"}, {"x", "us"}, {nullptr, "us"}};
    for (const auto& c : cases) {
        PlistValue::Dictionary strings;
        if (c.langId)
            strings.insert("IDS_RESOURCE_LANG_ID", c.langId);
        TestBundle bundle({}, strings);
        PLSyncConnectController controller;
        ABAddress address;
        controller.setAddressFormat(&address);
        EXPECT_EQ(address.value(kABAddressCountryCodeKey), c.code) << (c.langId ? c.langId : "none");
    }
}

TEST(FieldMap, PercentEscapes)
{
    const struct {
        QString plain, escaped;
    } cases[] = {
        {"http://a.example/x y?q=1&r=2#f", "http://a.example/x%20y?q=1&r=2#f"},
        {QString::fromUtf8("http://b.example/ü"), "http://b.example/%C3%BC"},
        {"100%", "100%25"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(C::getAddingPercentString(c.plain), c.escaped);
        EXPECT_EQ(C::getReplacingPercentString(c.escaped), c.plain);
    }
    // What does not decode is left as it is.
    EXPECT_EQ(C::getReplacingPercentString("50%zz"), "50%zz");
    EXPECT_EQ(C::getReplacingPercentString("%FF%FE"), "%FF%FE");
    EXPECT_EQ(C::getReplacingPercentString(QVariant()), "");
    EXPECT_EQ(C::getAddingPercentString(QVariant()), "");
}

TEST(FieldMap, PersonGivesItsFirstWorkEntries)
{
    auto person = ABPerson::fromData("p.vcf",
                                     "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Lee;Ann;;;\r\n"
                                     "TEL;TYPE=HOME:0\r\nTEL;TYPE=WORK:1\r\nTEL;TYPE=WORK:2\r\nTEL;TYPE=CELL:3\r\n"
                                     "EMAIL;TYPE=HOME:h@x\r\nEMAIL;TYPE=WORK:w1@x\r\nEMAIL;TYPE=WORK:w2@x\r\nEMAIL;TYPE=WORK:\r\n"
                                     "URL:http://other/\r\nURL;TYPE=WORK:http://a%20b/\r\n"
                                     "ADR;TYPE=WORK:;;;;;;\r\nADR;TYPE=WORK:;;;C2;;;\r\nADR;TYPE=WORK:;;S3;C3;;;\r\n"
                                     "END:VCARD\r\n",
                                     nullptr);
    ASSERT_TRUE(person);
    PLSyncConnectController controller;
    const CardDict d = controller.analysisABperson(person.get());
    EXPECT_EQ(d.value("telephone_Number"), "1");
    EXPECT_EQ(d.value("mobile_Number"), "3");
    EXPECT_FALSE(d.contains("fax_Number"));
    EXPECT_EQ(d.value("e_Mail"), "w1@x");
    EXPECT_EQ(d.value("web_Page_Address"), "http://a%20b/");
    EXPECT_EQ(d.value("city"), "C2");
    EXPECT_FALSE(d.contains("street"));
    EXPECT_EQ(d.value("first_Name"), "Ann");
    EXPECT_FALSE(d.contains("middle_Name"));
    EXPECT_EQ(controller.getEmailsOfAD(person.get()), QStringList({"w1@x", "w2@x"}));

    EXPECT_TRUE(C::checkSpecifyItemIsNull({{"a", ""}, {"b", QVariant()}}, {"a", "b", "missing"}));
    EXPECT_FALSE(C::checkSpecifyItemIsNull({{"a", " "}}, {"a"}));
    EXPECT_TRUE(C::checkSpecifyItemIsNull({{"a", "x"}}, {}));
}

} // namespace
