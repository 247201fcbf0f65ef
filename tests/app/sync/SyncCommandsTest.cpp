// The add command, readings on and off, and the failures of both commands.
#include "SyncFixture.h"
#include "tests/app/core/TestBundle.h"

#include "app/sync/AddressBookFolder.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/PreferenceDomain.h"

namespace {

using Commands = SyncFixture;

TEST_F(Commands, AddOnlyAddsEverySelectedCardWithAFieldOnceWithoutMatchingAndFlagsEmptyOnes)
{
    const ManagedObjectPtr named = addCard({{"family_Name", "Lee"}, {"e_Mail", "lee@x.example"},
                                            {"web_Page_Address", "http://x.example/a b"}, {"memo", "m"}});
    const ManagedObjectPtr trashed = addCard({{"company", "Binned"}, {"deletedFlag", 1}});
    const ManagedObjectPtr empty = addCard({{"full_Name", "only the full name"}, {"address", "only the display address"}});
    addPerson("lee.vcf", "N:Lee;;;;\r\nEMAIL;TYPE=WORK:lee@x.example\r\n");

    PLSyncConnectController controller;
    ASSERT_EQ(addOnly({named, trashed, empty}, &controller), 0);
    EXPECT_TRUE(controller.getIsShowMsg());
    ASSERT_EQ(addOnly({named}, &controller), 0);
    EXPECT_FALSE(controller.getIsShowMsg());

    const auto b = book();
    int lees = 0;
    for (const auto& p : b->people()) {
        if (p->valueForProperty(kABLastNameProperty) != "Lee" || p->fileName() == "lee.vcf")
            continue;
        ++lees;
        EXPECT_EQ(p->multiValueForProperty(kABURLsProperty).valueAtIndex(0), "http://x.example/a%20b");
        EXPECT_EQ(p->valueForProperty(kABNoteProperty), "m");
    }
    EXPECT_EQ(lees, 1); // added once, then updated, beside the person of another program that was there
    EXPECT_TRUE(personNamed(*b, "Binned"));
    EXPECT_EQ(b->people().size(), 3u);
}

TEST_F(Commands, ReadingsTakePartOnlyWhenTheDisplayShowsThem)
{
    for (bool on : {true, false}) {
        SCOPED_TRACE(on);
        TestBundle bundle({}, {{"IDS_RESOURCE_LANG_ID", on ? "11" : "0"}});
        const QString family = on ? "On" : "Off";
        const ManagedObjectPtr card =
            addCard({{"family_Name", family + "Card"}, {"family_Name_Kana", "kana"}, {"street", "1 Main"}});
        addPerson(family + ".vcf", ("N:" + family + ";;;;\r\nX-PHONETIC-LAST-NAME:yomi\r\n").toUtf8());
        PLSyncConnectController controller;
        ASSERT_EQ(synchronise(PLSyncConnectController::kSelectAddressBookWins, &controller), 0);

        const ManagedObjectPtr added = controller.addedData().value(0);
        ASSERT_TRUE(added);
        EXPECT_EQ(added->stringValue("family_Name_Kana"), on ? "yomi" : "");
        EXPECT_EQ(added->stringValue("full_Name_Kana"), on ? "yomi" : "");
        EXPECT_FALSE(added->value("full_Name_Kana").isNull());
        const auto b = book();
        const ABPerson* pushed = personNamed(*b, family + "Card");
        ASSERT_TRUE(pushed);
        EXPECT_EQ(pushed->valueForProperty(kABLastNamePhoneticProperty), on ? "kana" : QString());
        EXPECT_EQ(pushed->multiValueForProperty(kABAddressProperty).addressAtIndex(0).value(kABAddressCountryCodeKey),
                  on ? "jp" : "us");
    }
}

TEST_F(Commands, DefaultBookFolderIsMadePrivateUnderTheUserDataFolder)
{
    const QString data = tmp.path() + "/data";
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    PreferenceDomain::setStandardDomain("com.orvane.zor.Pelmora", tmp.path() + "/prefs");
    const QString folder = data + "/pelmora/addressbook/default/";
    EXPECT_EQ(addressBookFolder(), folder);

    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}});
    PLSyncConnectController controller;
    controller.setMainController(&host);
    host.selection = {card};
    EXPECT_EQ(controller.connectAddOnly(), 0);
    EXPECT_EQ(QDir(folder).entryList({"*.vcf"}, QDir::Files).size(), 1);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    PreferenceDomain::standard().setValue(kPrefAddressBookFolder, bookFolder());
    EXPECT_EQ(addressBookFolder(), bookFolder());
    PreferenceDomain::setStandardDomain("com.orvane.zor.Pelmora");
    qunsetenv("XDG_DATA_HOME");
}

struct ReadOnly : FileAttributeReader {
    bool read(const QString& path, FileAttributes* out) const override
    {
        const bool ok = FileAttributeReader::read(path, out);
        out->writable = false;
        return ok;
    }
};

TEST_F(Commands, FailuresAnswerTheirCodesAndLoseNothing)
{
    const ManagedObjectPtr card = addCard({{"family_Name", "Lee"}, {"job_Title", "Engineer"}});
    addPerson("lee.vcf", "N:Lee;;;;\r\nTITLE:Manager\r\n");
    const QByteArray person = readBookFile("lee.vcf");

    // A read-only book: the save fails; the card side keeps what the merge gave it.
    ReadOnly readOnly;
    FileAttributeReader::setCurrent(&readOnly);
    const int readOnlyResult = synchronise(PLSyncConnectController::kSelectCardWins);
    const int addResult = addOnly({card});
    FileAttributeReader::setCurrent(nullptr);
    EXPECT_EQ(readOnlyResult, PLSyncConnectController::kSaveFailed);
    EXPECT_EQ(addResult, PLSyncConnectController::kSaveFailed);
    EXPECT_EQ(readBookFile("lee.vcf"), person);
    EXPECT_EQ(QDir(bookFolder()).entryList(QDir::Files), QStringList({"lee.vcf"}));

    // A book folder that cannot be made.
    PLSyncConnectController controller;
    controller.setMainController(&host);
    controller.setAddressBookFolder(bookFile("lee.vcf") + "/sub");
    EXPECT_EQ(controller.connectAddressBook(), PLSyncConnectController::kAddressBookError);
    EXPECT_EQ(controller.connectAddOnly(), PLSyncConnectController::kAddressBookError);

    // No Inbox: the pull stops before it makes a card that no folder holds.
    addPerson("new.vcf", "N:Newcomer;;;;\r\n");
    for (const ManagedObjectPtr& f : context->executeFetchRequest({QLatin1String(CardStore::kEntityFolder), {}, {}}))
        context->deleteObject(f);
    ASSERT_EQ(context->save(), 0);
    const int cardsBefore = cards().size();
    EXPECT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), PLSyncConnectController::kPullFailed);
    EXPECT_EQ(cards().size(), cardsBefore);
    EXPECT_EQ(readBookFile("lee.vcf"), person); // a stopped run saves no person
}

TEST_F(Commands, BadFilesInTheBookAreLeftAloneAndTheRestSynchronises)
{
    addPerson("ok.vcf", "N:Good;;;;\r\n");
    addPerson("nouid.vcf", "ORG:No Name Inc\r\n");
    addPerson("dup-a.vcf", "UID:same\r\nN:Dup;A;;;\r\n");
    addPerson("dup-b.vcf", "UID:same\r\nN:Dup;B;;;\r\n");
    const QByteArray binary = QByteArray("\x00\x01\x02garbage", 10);
    {
        QFile f(bookFile("binary.vcf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(binary);
    }
    ASSERT_TRUE(QFile(bookFile("empty.vcf")).open(QIODevice::WriteOnly));
    addCard({{"family_Name", "Pushed"}});

    PLSyncConnectController controller;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &controller), 0);
    QStringList added;
    for (const ManagedObjectPtr& c : controller.addedData())
        added.append(c->stringValue("full_Name") + "|" + c->stringValue("company"));
    EXPECT_EQ(added, QStringList({"A Dup|", "B Dup|", "|No Name Inc", "Good|"}));
    EXPECT_EQ(readBookFile("binary.vcf"), binary);
    EXPECT_EQ(readBookFile("empty.vcf"), QByteArray());
    EXPECT_TRUE(personNamed(*book(), "Pushed"));
}

} // namespace
