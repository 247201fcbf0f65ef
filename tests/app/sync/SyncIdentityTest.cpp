// A card and the contact written from it stay one pair whatever is edited on either side: the
// next synchronisation leaves one card and one file, holding the winner's value.
#include "SyncFixture.h"

#include <QRegularExpression>

namespace {

constexpr int kCardWins = PLSyncConnectController::kSelectCardWins;
constexpr int kBookWins = PLSyncConnectController::kSelectAddressBookWins;

struct IdentityCase {
    const char* name;
    bool inContact; // edited in the contact's file (as another program does), else on the card
    int mode;
    const char* key; // the card's attribute
    QByteArray line; // the contact's line as Pelmora wrote it
    QByteArray editedLine; // ... and as edited (in the contact, or by the next write of the card's edit)
    QString edited; // the edited value
    QString winner; // the value both sides hold afterwards
};

const IdentityCase kCases[] = {
    {"e-mail on the card, card wins", false, kCardWins, "e_Mail", "EMAIL;TYPE=INTERNET,WORK:ann@acme.example",
     "EMAIL;TYPE=INTERNET,WORK:ann@west.example", "ann@west.example", "ann@west.example"},
    {"e-mail in the contact, book wins", true, kBookWins, "e_Mail", "EMAIL;TYPE=INTERNET,WORK:ann@acme.example",
     "EMAIL;TYPE=INTERNET,WORK:ann@west.example", "ann@west.example", "ann@west.example"},
    {"e-mail in the contact, card wins", true, kCardWins, "e_Mail", "EMAIL;TYPE=INTERNET,WORK:ann@acme.example",
     "EMAIL;TYPE=INTERNET,WORK:ann@west.example", "ann@west.example", "ann@acme.example"},
    {"company on the card, card wins", false, kCardWins, "company", "ORG:Acme;Sales", "ORG:Acme West;Sales", "Acme West", "Acme West"},
    {"company in the contact, book wins", true, kBookWins, "company", "ORG:Acme;Sales", "ORG:Acme West;Sales", "Acme West", "Acme West"},
    {"given name on the card, card wins", false, kCardWins, "first_Name", "N:Lee;Ann;;;", "N:Lee;Anna;;;", "Anna", "Anna"},
    {"given name in the contact, book wins", true, kBookWins, "first_Name", "N:Lee;Ann;;;", "N:Lee;Anna;;;", "Anna", "Anna"},
    {"family name in the contact, card wins", true, kCardWins, "family_Name", "N:Lee;Ann;;;", "N:Li;Ann;;;", "Li", "Lee"},
    {"work number on the card, card wins", false, kCardWins, "telephone_Number", "TEL;TYPE=WORK,VOICE:03-1111",
     "TEL;TYPE=WORK,VOICE:03-2222", "03-2222", "03-2222"},
    {"work number in the contact, book wins", true, kBookWins, "telephone_Number", "TEL;TYPE=WORK,VOICE:03-1111",
     "TEL;TYPE=WORK,VOICE:03-2222", "03-2222", "03-2222"},
};

void PrintTo(const IdentityCase& c, std::ostream* os)
{
    *os << c.name;
}

class Identity : public SyncFixture, public ::testing::WithParamInterface<IdentityCase> {
protected:
    ManagedObjectPtr card;

    // One card, synchronised once: its contact is "C1.vcf", whose UID is the card's ID.
    void SetUp() override
    {
        SyncFixture::SetUp();
        card = addCard({{"first_Name", "Ann"},
                        {"family_Name", "Lee"},
                        {"full_Name", "Ann Lee"},
                        {"company", "Acme"},
                        {"department", "Sales"},
                        {"e_Mail", "ann@acme.example"},
                        {"telephone_Number", "03-1111"}});
        ASSERT_EQ(synchronise(kCardWins), 0);
        ASSERT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
        ASSERT_TRUE(readBookFile("C1.vcf").contains("\r\nUID:C1\r\n"));
    }
};

TEST_P(Identity, OneCardAndOneFileHoldingTheWinnersValue)
{
    const IdentityCase& c = GetParam();
    const QByteArray before = readBookFile("C1.vcf");
    ASSERT_TRUE(before.contains("\r\n" + c.line + "\r\n")) << before.toStdString();
    if (c.inContact) {
        QFile f(bookFile("C1.vcf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(before).replace("\r\n" + c.line + "\r\n", "\r\n" + c.editedLine + "\r\n"));
    } else {
        card->setValue(c.key, c.edited);
        if (QByteArray(c.key) == "first_Name")
            card->setValue("full_Name", c.edited + " Lee");
        ASSERT_EQ(context->save(), 0);
    }

    ASSERT_EQ(synchronise(c.mode), 0);
    ASSERT_EQ(cards().size(), 1);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
    EXPECT_EQ(cards().first()->stringValue(c.key), c.winner);
    const QByteArray after = readBookFile("C1.vcf");
    EXPECT_TRUE(after.contains("\r\n" + (c.winner == c.edited ? c.editedLine : c.line) + "\r\n")) << after.toStdString();
    if (QByteArray(c.key) == "first_Name") {
        EXPECT_EQ(cards().first()->stringValue("full_Name"), "Anna Lee") << "the whole name follows its parts";
    }
    if (QByteArray(c.key) == "first_Name" && !c.inContact) {
        EXPECT_TRUE(after.contains("\r\nFN:Anna Lee\r\n")) << "the contact's whole name follows its parts";
    }

    // And the pair stays as it is.
    const auto stamps = bookStamps();
    const QVariantMap values = cards().first()->dictionary();
    ASSERT_EQ(synchronise(c.mode), 0);
    EXPECT_EQ(bookStamps(), stamps);
    EXPECT_EQ(cards().first()->dictionary(), values);
}

INSTANTIATE_TEST_SUITE_P(Edits, Identity, ::testing::ValuesIn(kCases), [](const auto& info) {
    QString name = QString::fromLatin1(info.param.name);
    name.replace(QRegularExpression("[^A-Za-z0-9]+"), "_");
    return name.toStdString();
});

// "Add to Address Book" for a card that has its contact updates that contact, however often, and
// leaves the card as it is; a contact of no card of this database is still made anew.
TEST_F(SyncFixture, AddingACardAgainUpdatesItsContact)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}, {"e_Mail", "lee@acme.example"}});
    ASSERT_EQ(addOnly({card}), 0);
    ASSERT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
    {
        // The contact gains a fax elsewhere; the card changes its e-mail.
        QFile f(bookFile("C1.vcf"));
        const QByteArray data = readBookFile("C1.vcf");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(data).replace("END:VCARD", "TEL;TYPE=WORK,FAX:03-9999\r\nEND:VCARD"));
    }
    card->setValue("e_Mail", "lee@west.example");
    ASSERT_EQ(context->save(), 0);

    ASSERT_EQ(addOnly({card}), 0);
    ASSERT_EQ(addOnly({card}), 0);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
    const QByteArray data = readBookFile("C1.vcf");
    EXPECT_TRUE(data.contains("\r\nEMAIL;TYPE=INTERNET,WORK:lee@west.example\r\n")) << data.toStdString();
    EXPECT_FALSE(data.contains("lee@acme.example")) << data.toStdString();
    EXPECT_TRUE(data.contains("\r\nTEL;TYPE=WORK,FAX:03-9999\r\n"));
    EXPECT_EQ(card->stringValue("fax_Number"), "") << "adding changes contacts, not cards";

    ASSERT_EQ(synchronise(kCardWins), 0);
    EXPECT_EQ(cards().size(), 1);
    EXPECT_EQ(book()->people().size(), 1u);
}

// A card made from another program's contact takes the contact's UID as its ID when that can
// name its files and no other card has it, so edits on either side keep them one pair; other
// UIDs leave the card an ID of its own.
TEST_F(SyncFixture, ACardMadeFromAContactIsItsPairByTheContactsUid)
{
    const ManagedObjectPtr trashed = addCard({{"family_Name", "Old"}, {"deletedFlag", 1}});
    const struct {
        const char* uid;
        bool paired;
    } kUids[] = {
        {"nnx8ictsmfc5219ug3vbdzh0sr7s8q9472i4", true},
        {"../x", false},
        {"urn:uuid:4fbe8971-0bc3-424c-9c26-36c3e1eff6b1", false},
        {"C1", false}, // the card in the trash has it
    };
    for (const auto& u : kUids) {
        addPerson(QString::number(qHash(QByteArray(u.uid))) + ".vcf",
                  QByteArray("UID:") + u.uid + "\r\nN:Lee;Ann;;;\r\nORG:Acme\r\nEMAIL;TYPE=WORK:" + QByteArray::number(qHash(u.uid))
                      + "@acme.example\r\n");
    }
    ASSERT_EQ(synchronise(kBookWins), 0);
    const ManagedObjectList all = cards();
    ASSERT_EQ(all.size(), 5);
    for (const auto& u : kUids) {
        const auto holders =
            std::count_if(all.begin(), all.end(), [&](const ManagedObjectPtr& c) { return c->stringValue("cardID") == u.uid; });
        EXPECT_EQ(holders, u.paired || u.uid == QByteArray("C1") ? 1 : 0) << u.uid;
    }
    EXPECT_EQ(trashed->stringValue("cardID"), "C1");

    // The paired one: its e-mail edited in the contact, then its company on the card.
    const QString file = QString::number(qHash(QByteArray(kUids[0].uid))) + ".vcf";
    QByteArray data = readBookFile(file);
    {
        QFile f(bookFile(file));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(data).replace(QByteArray::number(qHash(kUids[0].uid)) + "@acme.example", "ann@west.example"));
    }
    ASSERT_EQ(synchronise(kBookWins), 0);
    ManagedObjectPtr card;
    for (const ManagedObjectPtr& c : cards()) {
        if (c->stringValue("cardID") == kUids[0].uid)
            card = c;
    }
    ASSERT_TRUE(card);
    EXPECT_EQ(card->stringValue("e_Mail"), "ann@west.example");
    card->setValue("company", "Acme West");
    ASSERT_EQ(context->save(), 0);
    ASSERT_EQ(synchronise(kCardWins), 0);
    EXPECT_EQ(cards().size(), 5);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files).size(), 4);
    data = readBookFile(file);
    EXPECT_TRUE(data.contains("\r\nORG:Acme West\r\n")) << data.toStdString();
}

// A card whose contact file cannot be read keeps that file and gets no second one.
TEST_F(SyncFixture, ACardWhoseContactCannotBeReadGetsNoSecondOne)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}});
    ASSERT_EQ(synchronise(kCardWins), 0);
    QFile f(bookFile("C1.vcf"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("BEGIN:VCARD\r\nVERSION:3.0\r\nUID:C1\r\nN:Lee;;;;\r\n"); // cut short by another program
    f.close();
    PLSyncConnectController sync;
    ASSERT_EQ(synchronise(kCardWins, &sync), 0);
    EXPECT_EQ(sync.unreadFiles().size(), 1);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
    ASSERT_EQ(addOnly({card}), 0);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList{"C1.vcf"});
}

} // namespace
