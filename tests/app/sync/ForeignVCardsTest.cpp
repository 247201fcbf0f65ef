// vCards as other programs write them (vCard 2.1 phones, mail programs, 4.0 tools, whole-book
// exports) reach the cards, are written back without harm, and what cannot be read is reported.
#include "SyncFixture.h"
#include "tests/app/core/TestBundle.h"

namespace {

using ForeignVCards = SyncFixture;

QStringList fullNames(const ManagedObjectList& cards)
{
    QStringList names;
    for (const ManagedObjectPtr& card : cards)
        names.append(card->stringValue("full_Name"));
    names.sort();
    return names;
}

TEST_F(ForeignVCards, EachKindIsReadIntoCardsAndWrittenBackWithoutTouchingTheRest)
{
    TestBundle bundle({}, {{"IDS_MSG_ADDRESSBOOK_FILES_NOT_READ", "%d files not read:"}});
    const struct {
        const char* file;
        QByteArray data;
    } files[] = {
        {"fn-only.vcf", "BEGIN:VCARD\nVERSION:4.0\nUID:urn:uuid:1\nFN:Jane Q. Public\nEMAIL;TYPE=work:jane@q.example\nEND:VCARD\n"},
        {"fn-japanese.vcf", "BEGIN:VCARD\nVERSION:4.0\nFN:\xe5\xb1\xb1\xe5\x8f\xa3 \xe7\xbf\x94\xe5\xa4\xaa\nEND:VCARD\n"},
        {"fn-company.vcf", "BEGIN:VCARD\nVERSION:4.0\nKIND:org\nFN:Nordlicht AG\nORG:Nordlicht AG\nEND:VCARD\n"},
        {"phone.vcf",
         "BEGIN:VCARD\r\nVERSION:2.1\r\n"
         "N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=E4=BD=90=E8=97=A4;=E8=8A=B1=\r\n=E5=AD=90;;;\r\n"
         "TEL;CELL:090-1111\r\nEND:VCARD\r\n"},
        {"export.vcf",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Anna;;;\r\nX-KEEP:anna\r\nEND:VCARD\r\n"
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Dahl;Carl;;;\r\nTITLE:Pilot\r\nEND:VCARD\r\n"},
        {"outlook.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xfcller;J\xfcrgen;;;\r\nORG:Caf\xe9 \x80\r\nEND:VCARD\r\n"},
        {"truncated.vcf", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Cut;Off;;;\r\nTEL:12"},
    };
    for (const auto& f : files) {
        QFile out(bookFile(f.file));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(f.data);
    }
    // Cards that meet two of the persons, each with a value the person lacks: the card wins.
    addCard({{"first_Name", "Carl"}, {"family_Name", "Dahl"}, {"full_Name", "Carl Dahl"}, {"memo", "met in Oslo"}});
    addCard({{"first_Name", QString::fromUtf8("Jürgen")},
             {"family_Name", QString::fromUtf8("Müller")},
             {"company", QString::fromUtf8("Café €")},
             {"full_Name", QString::fromUtf8("Jürgen Müller")},
             {"job_Title", QString::fromUtf8("Bäcker")}});

    PLSyncConnectController controller;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &controller), 0);
    EXPECT_EQ(fullNames(controller.addedData()),
              QStringList({"", "Anna Berg", "Jane Q. Public", QString::fromUtf8("佐藤 花子"), QString::fromUtf8("山口 翔太")}));
    EXPECT_EQ(controller.unreadFiles().size(), 1);
    EXPECT_TRUE(controller.runReport().startsWith("1 files not read:\ntruncated.vcf: ")) << controller.runReport().toStdString();
    const ManagedObjectPtr jane = cardNamed("Public");
    ASSERT_TRUE(jane);
    EXPECT_EQ(jane->stringValue("first_Name"), "Jane");
    EXPECT_EQ(jane->stringValue("middle_Name"), "Q.");
    const ManagedObjectPtr yamaguchi = cardNamed(QString::fromUtf8("山口"));
    ASSERT_TRUE(yamaguchi);
    EXPECT_EQ(yamaguchi->stringValue("first_Name"), QString::fromUtf8("翔太"));
    ASSERT_TRUE(cardNamed(QString::fromUtf8("佐藤")));
    EXPECT_EQ(cardNamed(QString::fromUtf8("佐藤"))->stringValue("mobile_Number"), "090-1111");

    EXPECT_EQ(readBookFile("export.vcf"),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Berg;Anna;;;\r\nX-KEEP:anna\r\nEND:VCARD\r\n"
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Dahl;Carl;;;\r\nTITLE:Pilot\r\nNOTE:met in Oslo\r\nEND:VCARD\r\n");
    EXPECT_EQ(readBookFile("outlook.vcf"),
              "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xfcller;J\xfcrgen;;;\r\nORG:Caf\xe9 \x80\r\n"
              "TITLE:B\xe4"
              "cker\r\nEND:VCARD\r\n");
    for (const auto& f : files) {
        const QByteArray name(f.file);
        if (name != "export.vcf" && name != "outlook.vcf") {
            EXPECT_EQ(readBookFile(f.file), f.data) << f.file;
        }
    }

    // Read again, every person meets its card: nothing is added on either side.
    const int cardsBefore = int(cards().size());
    const int peopleBefore = int(book()->people().size());
    PLSyncConnectController again;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &again), 0);
    EXPECT_TRUE(again.addedData().isEmpty()) << fullNames(again.addedData()).join(u'|').toStdString();
    EXPECT_EQ(int(cards().size()), cardsBefore);
    EXPECT_EQ(int(book()->people().size()), peopleBefore);
}

// CardDAV servers and many programs write a person's one number, e-mail and web page without a
// TYPE: each is the card's when the person has no work one, and meets the card again at the next
// run. A needless escape ("http\://") is read as the character.
TEST_F(ForeignVCards, ValuesOfNoTypeAreTheCardsWhenThereIsNoWorkOne)
{
    addPerson("server.vcf",
              "UID:srv-1\r\nN:Roe;Jane;;;\r\nTEL;TYPE=CELL:+1 555 0199\r\nTEL:+1 555 0100\r\n"
              "EMAIL;TYPE=INTERNET:jane@roe.example\r\nURL:http\\://roe.example/\r\n");
    addPerson("typed.vcf",
              "N:Poe;Ed;;;\r\nTEL;TYPE=HOME:1\r\nTEL:2\r\nTEL;TYPE=WORK:3\r\nEMAIL;TYPE=HOME:ed@home.example\r\n"
              "URL;TYPE=OTHER:http://other.example/\r\n");
    PLSyncConnectController controller;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &controller), 0);
    ASSERT_EQ(controller.addedData().size(), 2);
    const ManagedObjectPtr jane = cardNamed("Roe");
    ASSERT_TRUE(jane);
    EXPECT_EQ(jane->stringValue("telephone_Number"), "+1 555 0100");
    EXPECT_EQ(jane->stringValue("mobile_Number"), "+1 555 0199");
    EXPECT_EQ(jane->stringValue("e_Mail"), "jane@roe.example");
    EXPECT_EQ(jane->stringValue("web_Page_Address"), "http://roe.example/");
    // A work one is the card's before one of no type; a home or other one never is.
    const ManagedObjectPtr ed = cardNamed("Poe");
    ASSERT_TRUE(ed);
    EXPECT_EQ(ed->stringValue("telephone_Number"), "3");
    EXPECT_EQ(ed->stringValue("e_Mail"), "");
    EXPECT_EQ(ed->stringValue("web_Page_Address"), "");

    const auto stamps = bookStamps();
    PLSyncConnectController again;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &again), 0);
    EXPECT_TRUE(again.addedData().isEmpty());
    EXPECT_EQ(cards().size(), 2);
    EXPECT_EQ(bookStamps(), stamps);
}

// A new person's FN is written as the name is said: family name first in Japanese script.
TEST_F(ForeignVCards, NewPersonsNameJapaneseFamilyFirstAndLatinGivenFirst)
{
    addCard({{"first_Name", QString::fromUtf8("翔太")}, {"family_Name", QString::fromUtf8("山口")}});
    addCard({{"first_Name", "Ann"}, {"family_Name", "Lee"}, {"prefix_Name", "Dr."}});
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);
    const auto b = book();
    ASSERT_EQ(b->people().size(), 2u);
    QStringList formatted;
    for (const auto& p : b->people())
        formatted.append(QString::fromUtf8(p->vcardData()).section(QStringLiteral("\r\nFN:"), 1).section(QStringLiteral("\r\n"), 0, 0));
    formatted.sort();
    EXPECT_EQ(formatted, QStringList({"Dr. Ann Lee", QString::fromUtf8("山口 翔太")}));
}

} // namespace
