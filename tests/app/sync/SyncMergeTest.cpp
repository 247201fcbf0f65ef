// The merge of a person into its card by conflict mode: single values, phones, address, web page
// and the composed name, each seen in the card and in the person's file.
#include "SyncFixture.h"

#include <QRegularExpression>

namespace {

constexpr int kCardWins = PLSyncConnectController::kSelectCardWins;
constexpr int kBookWins = PLSyncConnectController::kSelectAddressBookWins;

struct MergeCase {
    const char* name;
    int mode;
    QVariantMap card;          // besides first "Ann", family "Lee", and "OLD" in every sync identifier
    QByteArray person;         // besides "N:Lee;Ann;;;"
    QVariantMap cardAfter;     // values the card must have afterwards ("NEW" : a fresh identifier)
    QList<QByteArray> lines;   // lines the person's file must hold, in this order; empty: file unchanged
    QList<QByteArray> gone = {}; // lines it must no longer hold
};

const MergeCase kCases[] = {
    {"job title, book wins", kBookWins, {{"job_Title", "Engineer"}}, "TITLE:Manager\r\n", {{"job_Title", "Manager"}}, {}},
    {"job title, card wins", kCardWins, {{"job_Title", "Engineer"}}, "TITLE:Manager\r\n", {{"job_Title", "Engineer"}},
     {"TITLE:Engineer"}},
    {"card without title takes the person's", kCardWins, {}, "TITLE:Manager\r\n", {{"job_Title", "Manager"}}, {}},
    {"person without title takes the card's", kBookWins, {{"job_Title", "Engineer"}}, "NOTE:x\r\n",
     {{"job_Title", "Engineer"}}, {"NOTE:x", "TITLE:Engineer"}},
    // A number follows the winner: the card's replaces the one it was read from (other numbers
    // stay byte for byte), or the card takes the person's with a new identifier.
    {"telephone, card wins: replaces the person's work number, others kept", kCardWins, {{"telephone_Number", "111"}},
     "TEL;type=HOME;PREF=1:045\r\nTEL;TYPE=WORK:222\r\nTEL;TYPE=CELL:090\r\n",
     {{"telephone_Number", "111"}, {"sync_Phone_work", "OLD"}},
     {"TEL;type=HOME;PREF=1:045", "TEL;TYPE=WORK:111", "TEL;TYPE=CELL:090"}, {"TEL;TYPE=WORK:222"}},
    {"telephone, book wins: the card takes the person's", kBookWins, {{"telephone_Number", "111"}},
     "TEL;TYPE=WORK:222\r\n", {{"telephone_Number", "222"}, {"sync_Phone_work", "NEW"}}, {}},
    {"telephone the person has in a later entry", kCardWins, {{"telephone_Number", "111"}},
     "TEL;TYPE=WORK:222\r\nTEL;TYPE=WORK:111\r\n", {{"telephone_Number", "111"}}, {}},
    {"telephone, card wins: the second work number stays", kCardWins, {{"telephone_Number", "333"}},
     "TEL;TYPE=WORK:222\r\nTEL;TYPE=WORK:444\r\n", {}, {"TEL;TYPE=WORK:333", "TEL;TYPE=WORK:444"}, {"TEL;TYPE=WORK:222"}},
    {"fax, card wins: only the fax", kCardWins, {{"fax_Number", "555"}, {"telephone_Number", "222"}},
     "TEL;TYPE=WORK:222\r\nTEL;TYPE=WORK,FAX:666\r\n", {}, {"TEL;TYPE=WORK:222", "TEL;TYPE=WORK,FAX:555"},
     {"TEL;TYPE=WORK,FAX:666"}},
    {"mobile, book wins", kBookWins, {{"mobile_Number", "090"}}, "TEL;TYPE=CELL:080\r\n",
     {{"mobile_Number", "080"}, {"sync_Phone_Mobile", "NEW"}}, {}},
    {"number of no type, card wins: keeps its form", kCardWins, {{"telephone_Number", "111"}}, "TEL:222\r\n", {},
     {"TEL:111"}, {"TEL:222"}},
    {"number as a vCard 4.0 URI, card wins: keeps its parameters", kCardWins, {{"telephone_Number", "111"}},
     "TEL;VALUE=uri;TYPE=\"work,voice\":tel:222\r\n", {}, {"TEL;VALUE=uri;TYPE=\"work,voice\":tel:111"}},
    {"empty fax takes the person's with a new identifier", kBookWins, {}, "TEL;TYPE=WORK,FAX:333\r\n",
     {{"fax_Number", "333"}, {"sync_Phone_Fax", "NEW"}, {"sync_Phone_work", "OLD"}}, {}},
    {"mobile, card wins, other labels kept", kCardWins, {{"mobile_Number", "090"}}, "TEL;TYPE=HOME:045\r\n",
     {}, {"TEL;TYPE=CELL:090", "TEL;TYPE=HOME:045"}},
    {"equal work address leaves the person as it is", kCardWins,
     {{"street", "1 Main"}, {"city", "Springfield"}, {"state", "IL"}, {"zip_PostalCode", "62701"}, {"country", "USA"}},
     "ADR;TYPE=HOME:;;9 Elm;Shelbyville;;;\r\nADR;TYPE=WORK:;;1 Main;Springfield;IL;62701;USA\r\n", {}, {}},
    {"other work address, card wins: replaces it, with country code", kCardWins, {{"city", "Oslo"}},
     "ADR;TYPE=HOME:;;9 Elm;Shelbyville;;;\r\nADR;TYPE=WORK:;;1 Main;Springfield;IL;;\r\n",
     {{"city", "Oslo"}, {"street", ""}},
     {"ADR;TYPE=HOME:;;9 Elm;Shelbyville;;;", "item1.ADR;TYPE=WORK:;;;Oslo;;;", "item1.X-ABADR:us"},
     {"ADR;TYPE=WORK:;;1 Main;Springfield;IL;;"}},
    {"other work address, book wins: the card takes it whole", kBookWins, {{"city", "Oslo"}, {"country", "Norway"}},
     "ADR;TYPE=WORK:;;1 Main;Springfield;IL;;\r\n",
     {{"street", "1 Main"}, {"city", "Springfield"}, {"state", "IL"}, {"country", ""}, {"address", "IL\nSpringfield\n1 Main"},
      {"sync_Street", "NEW"}},
     {}},
    {"card without address takes the first work address that has parts", kBookWins, {},
     "ADR;TYPE=WORK:;;;;;;\r\nADR;TYPE=WORK:;;2 Side;Chiyoda;Tokyo;100;\r\n",
     {{"street", "2 Side"}, {"city", "Chiyoda"}, {"state", "Tokyo"}, {"zip_PostalCode", "100"},
      {"address", "Tokyo\nChiyoda\n2 Side"}, {"sync_Street", "NEW"}},
     {}},
    {"escaped work URL equal to the card's", kCardWins, {{"web_Page_Address", "http://a.example/x y"}},
     "URL;TYPE=WORK:http://a.example/x%20y\r\n", {{"sync_URL", "OLD"}}, {}},
    {"card without URL takes the person's unescaped", kBookWins, {}, "URL;TYPE=WORK:http://a.example/x%20y\r\n",
     {{"web_Page_Address", "http://a.example/x y"}, {"sync_URL", "NEW"}}, {}},
    {"URL, card wins: escaped, in place of the person's", kCardWins, {{"web_Page_Address", "http://b.example/ü"}},
     "URL;TYPE=WORK:http://a.example/\r\n", {}, {"URL;TYPE=WORK:http://b.example/%C3%BC"}, {"URL;TYPE=WORK:http://a.example/"}},
    {"URL, book wins: the card takes it", kBookWins, {{"web_Page_Address", "http://b.example/"}},
     "URL;TYPE=WORK:http://a.example/a%20b\r\n", {{"web_Page_Address", "http://a.example/a b"}, {"sync_URL", "NEW"}}, {}},
    {"readings from the person", kBookWins, {}, "X-PHONETIC-FIRST-NAME:an\r\nX-PHONETIC-LAST-NAME:rii\r\n",
     {{"first_Name_Kana", "an"}, {"family_Name_Kana", "rii"}, {"full_Name_Kana", "an rii"}}, {}},
    {"a home e-mail is not the card's", kCardWins, {{"e_Mail", ""}}, "EMAIL;TYPE=HOME:a@b.example\r\n",
     {{"e_Mail", ""}}, {}},
};

void PrintTo(const MergeCase& c, std::ostream* os)
{
    *os << c.name;
}

class Merge : public SyncFixture, public ::testing::WithParamInterface<MergeCase> {};

TEST_P(Merge, Case)
{
    const MergeCase& c = GetParam();
    QVariantMap values = c.card;
    values.insert("first_Name", "Ann");
    values.insert("family_Name", "Lee");
    for (const char* key : {"sync_Phone_work", "sync_Phone_Mobile", "sync_Phone_Fax", "sync_Street", "sync_Email", "sync_URL"})
        values.insert(key, "OLD");
    const ManagedObjectPtr card = addCard(values);
    addPerson("lee.vcf", "N:Lee;Ann;;;\r\n" + c.person);
    const QByteArray before = readBookFile("lee.vcf");

    ASSERT_EQ(synchronise(c.mode), 0);
    for (auto it = c.cardAfter.begin(); it != c.cardAfter.end(); ++it) {
        const QString actual = card->stringValue(it.key());
        if (it.value() == "NEW")
            EXPECT_TRUE(actual != "OLD" && actual.size() == 36) << it.key().toStdString() << " " << actual.toStdString();
        else
            EXPECT_EQ(actual, it.value().toString()) << it.key().toStdString();
    }
    const QByteArray after = readBookFile("lee.vcf");
    if (c.lines.isEmpty()) {
        EXPECT_EQ(after, before);
        return;
    }
    qsizetype from = 0;
    for (const QByteArray& line : c.lines) {
        const qsizetype at = after.indexOf("\r\n" + line + "\r\n", from);
        EXPECT_GE(at, 0) << line.toStdString() << " in\n" << after.toStdString();
        from = at < 0 ? from : at + 1;
    }
    for (const QByteArray& line : c.gone)
        EXPECT_FALSE(after.contains("\r\n" + line + "\r\n")) << line.toStdString() << " in\n" << after.toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rules, Merge, ::testing::ValuesIn(kCases), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.name);
    name.replace(QRegularExpression("[^A-Za-z0-9]+"), "_");
    return name.toStdString();
});

TEST_F(SyncFixture, PrefixChangedOnOneSideComposesTheFullNameFromTheMergedParts)
{
    const ManagedObjectPtr card = addCard({{"first_Name", "Ann"}, {"family_Name", "Lee"}, {"full_Name", "Ann Lee"}});
    const ManagedObjectPtr kanji = addCard({{"first_Name", QString::fromUtf8("花子")}, {"family_Name", QString::fromUtf8("山田")},
                                            {"prefix_Name", "Ms."}, {"full_Name", "x"}});
    addPerson("lee.vcf", "N:Lee;Ann;;Dr.;\r\n");
    addPerson("yamada.vcf", QString::fromUtf8("N:山田;花子;;;\r\n").toUtf8());
    ASSERT_EQ(synchronise(kBookWins), 0);
    EXPECT_EQ(card->stringValue("prefix_Name"), "Dr.");
    EXPECT_EQ(card->stringValue("full_Name"), "Dr. Ann Lee");
    EXPECT_EQ(kanji->stringValue("full_Name"), QString::fromUtf8("Ms. 山田 花子"));
    EXPECT_TRUE(readBookFile("yamada.vcf").contains(QString::fromUtf8("N:山田;花子;;Ms.;").toUtf8()));
}

} // namespace
