// Another contact tool on the same folder: khard lists and shows the synchronised cards, and a
// contact it creates arrives in the Inbox at the next synchronisation.
#include "SyncFixture.h"

#include <QProcess>
#include <QStandardPaths>

namespace {

class Khard : public SyncFixture {
protected:
    QString config;

    void SetUp() override
    {
        SyncFixture::SetUp();
        ASSERT_FALSE(QStandardPaths::findExecutable("khard").isEmpty()) << "khard is missing: run scripts/install-deps";
        config = tmp.path() + "/khard.conf";
        QFile f(config);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[addressbooks]\n[[pelmora]]\npath = " + bookFolder().toUtf8()
                + "\n\n[general]\ndefault_action = list\neditor = /bin/false\nmerge_editor = /bin/false\n\n"
                  "[vcard]\npreferred_version = 3.0\n");
    }

    // khard's output; fails the test when it does not end with 0.
    QString khard(const QStringList& args, const QByteArray& input = QByteArray())
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("HOME", tmp.path());
        env.insert("XDG_CONFIG_HOME", tmp.path() + "/config");
        env.insert("XDG_CACHE_HOME", tmp.path() + "/cache");
        env.insert("LANG", "C.UTF-8");
        env.insert("LC_ALL", "C.UTF-8");
        p.setProcessEnvironment(env);
        p.start("khard", QStringList{"-c", config} + args);
        EXPECT_TRUE(p.waitForStarted(60000));
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(120000));
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString() << ": " << p.readAllStandardError().toStdString();
        return QString::fromUtf8(p.readAllStandardOutput());
    }
};

TEST_F(Khard, ListsAndShowsSynchronisedCardsAndItsNewContactReachesTheInbox)
{
    addCard({{"first_Name", "Ann"}, {"family_Name", "Lee"}, {"company", "Acme"}, {"department", "Sales"},
             {"telephone_Number", "03-1111"}, {"mobile_Number", "090-2222"}, {"e_Mail", "ann@acme.example"}});
    addCard({{"first_Name", QString::fromUtf8("太郎")}, {"family_Name", QString::fromUtf8("山田")},
             {"company", QString::fromUtf8("オルヴァン株式会社")}, {"fax_Number", "03-3333"}, {"e_Mail", "taro@orvane.example"}});
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins), 0);

    const QString list = khard({"list", "--parsable"});
    EXPECT_TRUE(list.contains("\tAnn Lee\tpelmora")) << list.toStdString();
    EXPECT_TRUE(list.contains(QString::fromUtf8("\t太郎 山田\tpelmora"))) << list.toStdString();
    const QString phones = khard({"phone", "--parsable"});
    EXPECT_TRUE(phones.contains("03-1111\tAnn Lee\tWORK, VOICE")) << phones.toStdString();
    EXPECT_TRUE(phones.contains("090-2222\tAnn Lee\tCELL")) << phones.toStdString();
    EXPECT_TRUE(phones.contains(QString::fromUtf8("03-3333\t太郎 山田\tWORK, FAX"))) << phones.toStdString();
    const QString emails = khard({"email", "--parsable"});
    EXPECT_TRUE(emails.contains("ann@acme.example\tAnn Lee\tINTERNET, WORK")) << emails.toStdString();
    EXPECT_TRUE(emails.contains(QString::fromUtf8("taro@orvane.example\t太郎 山田"))) << emails.toStdString();
    const QString shown = khard({"show", "Lee"});
    EXPECT_TRUE(shown.contains("- Acme") && shown.contains("- Sales")) << shown.toStdString();
    EXPECT_TRUE(khard({"show", "taro@orvane"}).contains(QString::fromUtf8("オルヴァン株式会社")));

    const QByteArray contact = "First name : Bea\nLast name : Novak\nOrganisation : Vandel GmbH\nTitle : Buyer\n"
                               "Phone :\n    work : +49 30 1234\n    cell : +49 170 5555\n"
                               "Email :\n    work : bea@vandel.example\n"
                               "Address :\n    work :\n        Street : Hauptstr. 5\n        Code : 10115\n"
                               "        City : Berlin\n        Country : Germany\n"
                               "Note : met at the fair\n";
    khard({"new", "-a", "pelmora"}, contact);
    const auto stamps = bookStamps();

    PLSyncConnectController controller;
    ASSERT_EQ(synchronise(PLSyncConnectController::kSelectCardWins, &controller), 0);
    ASSERT_EQ(controller.addedData().size(), 1);
    const ManagedObjectPtr card = controller.addedData().first();
    const QVariantMap expected = {
        {"full_Name", "Bea Novak"}, {"company", "Vandel GmbH"}, {"job_Title", "Buyer"},
        {"telephone_Number", "+49 30 1234"}, {"mobile_Number", "+49 170 5555"}, {"e_Mail", "bea@vandel.example"},
        {"street", "Hauptstr. 5"}, {"city", "Berlin"}, {"zip_PostalCode", "10115"}, {"country", "Germany"},
        {"address", "\nBerlin\nHauptstr. 5"}, {"memo", "met at the fair"}};
    for (auto it = expected.begin(); it != expected.end(); ++it)
        EXPECT_EQ(card->stringValue(it.key()), it.value().toString()) << it.key().toStdString();
    const ManagedObjectList belongs = context->executeFetchRequest(
        {QLatin1String(CardStore::kEntityCardBelong), keyEquals("cardID", card->value("cardID")), {}});
    ASSERT_EQ(belongs.size(), 1);
    EXPECT_EQ(belongs.first()->stringValue("folder_ID"), inboxID);
    EXPECT_EQ(bookStamps(), stamps); // khard's file and ours are left as they were
}

} // namespace
