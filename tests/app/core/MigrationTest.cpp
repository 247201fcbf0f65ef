#include "app/core/PLDatabaseController.h"
#include "app/core/PLDatabaseMigration.h"
#include "app/core/PLNetDBLockController.h"
#include "app/core/windows/PLProgressWindowController.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/store/RawSqlite.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"
#include "tests/support/cardstores/CardStoreFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

namespace F = CardStoreFixtures;

// Card image files of the test: a file's text says what kind of PDF it stands for.
class FakeImages : public PLCardImageAccess {
public:
    int failImportAt = -1; // the import of the n-th split (from 0) fails
    int imports = 0;

    int CheckPDF(const QString& path, int* pageCount) override
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return kPdfMissing;
        const QByteArray text = file.readAll();
        if (text == "own")
            return kPdfOwnOrImageless;
        if (text.startsWith("card")) {
            if (pageCount)
                *pageCount = text == "card2" ? 2 : 1;
            return kPdfScannedCard;
        }
        return kPdfUnusable;
    }
    int importCardImageFile(const ManagedObjectPtr& card, const QString& cardId, const QString&, const QString& folder, int) override
    {
        const QString images = folder + QStringLiteral("/Images/");
        for (const char* side : {"_N1.pdf", "_N2.pdf"}) {
            QFile file(images + cardId + QLatin1String(side));
            if (!file.open(QIODevice::WriteOnly))
                return -4006;
            file.write("card");
        }
        if (imports++ == failImportAt)
            return -4006;
        card->setValue(QStringLiteral("face_Image_File"), cardId + QStringLiteral("_N1.pdf"));
        card->setValue(QStringLiteral("back_Image_File"), cardId + QStringLiteral("_N2.pdf"));
        card->setValue(QStringLiteral("face_Image_Page"), qlonglong(1));
        card->setValue(QStringLiteral("back_Image_page"), qlonglong(1));
        card->setValue(QStringLiteral("other_Image_Page"), qlonglong(1));
        return 0;
    }
};

PlistValue::Dictionary messageTexts()
{
    PlistValue::Dictionary texts;
    for (int number : {11, 12, 17, 135, 136, 216, 222})
        texts.insert(QStringLiteral("IDS_MSG_ERR_%1").arg(number, 4, 10, QLatin1Char('0')), PlistValue(QStringLiteral("E%1").arg(number)));
    texts.insert(QStringLiteral("PL_MSG_ConfirmMigrateDatabase"), PlistValue(QStringLiteral("Migrate?")));
    texts.insert(QStringLiteral("IDS_MSG_ConfirmCancelOperation"), PlistValue(QStringLiteral("Stop?")));
    return texts;
}

class Migration : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle{{}, messageTexts()};
    ScriptedMessagePresenter presenter;
    FakeImages images;
    int separated = 0;
    std::function<void()> duringCard; // runs on the migration's thread for each re-separated card

    void SetUp() override
    {
        PreferenceDomain::setStandardDomain(QStringLiteral("test.migration"), temp.filePath(QStringLiteral("prefs")));
        PLNetDBLockController::setDbOpenMode(0);
        setLogOn(qEnvironmentVariableIsSet("MIGRATION_LOG"));
        // The application's progress sheet, installed as at start-up.
        PLProgressWindowController::sharedController();
    }

    QString makeFolder(const QString& name)
    {
        const QString folder = temp.filePath(name);
        QDir().mkpath(folder + QStringLiteral("/Images"));
        QDir().mkpath(folder + QStringLiteral("/Files"));
        return folder;
    }
    // Cards with front files: every fourth a two-page front, the others a one-page one.
    QString makeOldDatabase(const QString& name, const QString& flag1, int cards = 6)
    {
        const QString folder = makeFolder(name);
        QList<F::Card> list = F::numberedCards(cards, flag1);
        for (int i = 0; i < list.size(); ++i) {
            QFile file(folder + QStringLiteral("/Images/") + list[i].faceImageFile);
            file.open(QIODevice::WriteOnly);
            file.write(i % 4 == 0 ? "card2" : "card");
        }
        EXPECT_TRUE(F::writeOldStore(folder + QStringLiteral("/Pelmora.sqldb"), list));
        return folder;
    }
    QString makeDatabase(const QString& name, bool current, int databaseVersion, int cards = 6)
    {
        const QString folder = makeFolder(name);
        QList<F::Card> list = F::numberedCards(cards, QStringLiteral("1"));
        if (list.size() > 1)
            list[1].folderId = QStringLiteral("CLIENTS-FOLDER");
        EXPECT_TRUE(F::writeStore(folder + QStringLiteral("/Pelmora1.sqldb"), current, databaseVersion, list));
        return folder;
    }

    bool check(const QString& folder, QString* work, bool progress = false)
    {
        PLDatabaseMigration::CheckContext context;
        context.imageAccess = &images;
        context.fieldSeparator = [this](const QVariantMap& fields, const ManagedObjectPtr&) {
            EXPECT_TRUE(fields.contains(QStringLiteral("full_Name")));
            ++separated;
            if (duringCard)
                duringCard();
        };
        return PLDatabaseMigration::migrateDatabaseIfNeeded(progress, folder, work, context);
    }
    static QMap<QString, QString> snapshot(const QString& folder)
    {
        QMap<QString, QString> entries = F::snapshotFolder(folder);
        entries.remove(QLatin1String(DatabaseLock::kFileName));
        return entries;
    }
    QString dbPathPreference()
    {
        return PreferenceDomain::standard().value(QStringLiteral("DB path")).toString();
    }
};

// Every card, its folder link and its trash path survive; the Version row says 53.
void expectMigrated(const QString& store, int cards, bool userFolderKept, const QString& inputType = QStringLiteral("0"))
{
    const F::StoreContents contents = F::readStore(store);
    ASSERT_EQ(contents.cards.size(), cards);
    ASSERT_EQ(contents.belongs.size(), cards);
    EXPECT_EQ(contents.versionValues, QStringList{QStringLiteral("2")});
    EXPECT_GE(contents.folderCount, 2);
    for (int i = 0; i < cards; ++i) {
        const QVariantMap& card = contents.cards[i];
        const QVariantMap& belong = contents.belongs[i];
        EXPECT_EQ(card.value(QStringLiteral("full_Name")).toString(), QStringLiteral("Card %1").arg(i + 1));
        EXPECT_EQ(card.value(QStringLiteral("flag1")).toString(), QStringLiteral("1"));
        EXPECT_EQ(belong.value(QStringLiteral("card")), card.value(QStringLiteral("cardID")));
        const bool trash = (i + 1) % 3 == 0;
        EXPECT_EQ(card.value(QStringLiteral("deletedFlag")).toString(), trash ? QStringLiteral("1") : QStringLiteral("0"));
        if (trash) {
            EXPECT_EQ(belong.value(QStringLiteral("folder1_Name")).toString(), QStringLiteral("All data"));
            EXPECT_FALSE(belong.value(QStringLiteral("folder2_Name")).toString().isEmpty());
        }
        if (userFolderKept && i == 1) {
            EXPECT_EQ(belong.value(QStringLiteral("folder_ID")).toString(), QStringLiteral("CLIENTS-FOLDER"));
        }
    }
    SqliteConnection connection;
    ASSERT_EQ(connection.open(store, false), 0);
    int code = 0;
    const auto rows = rawQuery(connection, QStringLiteral("select ZINPUT_TYPE, ZFIXED_FLAG from ZCARD"), &code);
    ASSERT_TRUE(rows.has_value()) << code;
    for (const RawRow& row : *rows)
        EXPECT_EQ(row.value(QStringLiteral("ZINPUT_TYPE")), inputType);
}

TEST_F(Migration, VersionProbe)
{
    struct Case {
        QString folder;
        int version;
        int err;
    };
    QFile::copy(makeDatabase(QStringLiteral("a.cxdb"), false, 1, 0) + QStringLiteral("/Pelmora1.sqldb"),
                makeFolder(QStringLiteral("b.pldb")) + QStringLiteral("/Pelmora1.sqldb"));
    F::writeOldStore(temp.filePath(QStringLiteral("b.pldb/Pelmora.sqldb")), F::numberedCards(2, QStringLiteral("1")));
    makeFolder(QStringLiteral("garbage.cxdb"));
    QFile garbage(temp.filePath(QStringLiteral("garbage.cxdb/Pelmora1.sqldb")));
    garbage.open(QIODevice::WriteOnly);
    garbage.write(QByteArray(4096, 'x'));
    garbage.close();
    const Case cases[] = {
        {makeDatabase(QStringLiteral("v53.cxdb"), true, 2), 53, 0},
        {makeDatabase(QStringLiteral("v51.cxdb"), false, 1), 51, 0},
        {makeDatabase(QStringLiteral("v3.cxdb"), true, 3), 1, -1015},
        {makeOldDatabase(QStringLiteral("v5.cxdb"), QStringLiteral("1")), 5, 0},
        {makeOldDatabase(QStringLiteral("v1.cxdb"), QString()), 1, 0},
        {makeOldDatabase(QStringLiteral("empty5.cxdb"), QString(), 0), 5, 0},
        {temp.filePath(QStringLiteral("b.pldb")), 1, 0}, // a pldb folder uses Pelmora.sqldb and is never 5
        {temp.filePath(QStringLiteral("garbage.cxdb")), 1, -1009}, // not a database: the connection is refused
    };
    for (const Case& c : cases) {
        auto controller = PLDatabaseController::initDBwithPath(c.folder);
        PLDatabaseMigration migration(*controller);
        int err = 0;
        EXPECT_EQ(migration.databaseVersion(&err), c.version) << c.folder.toStdString();
        EXPECT_EQ(err, c.err) << c.folder.toStdString();
    }
}

TEST_F(Migration, EmptyFolderAndCurrentStoreOpenAsTheyAre)
{
    const QString empty = temp.filePath(QStringLiteral("Empty.cxdb"));
    QDir().mkpath(empty);
    QString work;
    EXPECT_TRUE(check(empty, &work));
    EXPECT_EQ(work, empty);
    EXPECT_TRUE(QDir(empty).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    EXPECT_EQ(PLNetDBLockController::dbOpenMode(), 2);

    const QString current = makeDatabase(QStringLiteral("Current.cxdb"), true, 2);
    const auto before = snapshot(current);
    EXPECT_TRUE(check(current, &work));
    EXPECT_EQ(work, current);
    EXPECT_EQ(snapshot(current), before);
    EXPECT_TRUE(presenter.shown().isEmpty());
}

TEST_F(Migration, RefusedStoresAreLeftUntouched)
{
    const QString newer = makeDatabase(QStringLiteral("Newer.cxdb"), true, 3);
    const QString notSqlite = makeFolder(QStringLiteral("NotSqlite.cxdb"));
    QFile file(notSqlite + QStringLiteral("/Pelmora1.sqldb"));
    file.open(QIODevice::WriteOnly);
    file.write("this is no database, only text that goes on and on and on");
    file.close();
    const QString held = makeDatabase(QStringLiteral("Held.cxdb"), false, 1);
    int holder = -1;
    ASSERT_EQ(DatabaseLock::acquire(held, &holder), DatabaseLock::Result::Locked);

    const std::pair<QString, QString> cases[] = {
        {newer, QStringLiteral("E216")},
        {notSqlite, QStringLiteral("E12")},
        {held, QStringLiteral("E17")},
    };
    for (const auto& [folder, message] : cases) {
        presenter.clear();
        const auto before = snapshot(folder);
        QString work;
        EXPECT_FALSE(check(folder, &work)) << folder.toStdString();
        EXPECT_EQ(presenter.texts(), QStringList{message}) << folder.toStdString();
        EXPECT_EQ(snapshot(folder), before) << folder.toStdString();
    }
    DatabaseLock::release(holder);
    EXPECT_TRUE(dbPathPreference().isEmpty());
}

TEST_F(Migration, Version51IsAlteredInACopyAndKeptAsBackup)
{
    const QString folder = makeDatabase(QStringLiteral("Cards.cxdb"), false, 1);
    const QString store = folder + QStringLiteral("/Pelmora1.sqldb");
    // A name of the backup series is taken: the next one is used.
    QFile::copy(store, store + QStringLiteral("_bak"));
    const QString original = snapshot(folder).value(QStringLiteral("Pelmora1.sqldb"));
    QString work;
    ASSERT_TRUE(check(folder, &work));
    EXPECT_EQ(work, folder);
    expectMigrated(store, 6, true);
    const auto after = snapshot(folder);
    EXPECT_EQ(after.value(QStringLiteral("Pelmora1.sqldb_bak2")), original);
    EXPECT_FALSE(after.contains(QStringLiteral("Pelmora1.sqldb_work")));
    EXPECT_EQ(dbPathPreference(), folder);
}

// The version-53 columns may already be there (a store made by a program that labelled it 51):
// they are not added again and keep their values.
TEST_F(Migration, Version53ColumnsAreAddedOnlyWhereMissing)
{
    const QString folder = makeDatabase(QStringLiteral("Labelled51.cxdb"), true, 1);
    {
        SqliteConnection connection;
        ASSERT_EQ(connection.open(folder + QStringLiteral("/Pelmora1.sqldb"), false), 0);
        ASSERT_EQ(connection.exec("update ZCARD set ZINPUT_TYPE = 3"), 0);
    }
    QString work;
    ASSERT_TRUE(check(folder, &work));
    expectMigrated(folder + QStringLiteral("/Pelmora1.sqldb"), 6, true, QStringLiteral("3"));
}

TEST_F(Migration, Version5IsConvertedAndItsStoreKept)
{
    const QString folder = makeOldDatabase(QStringLiteral("Five.cxdb"), QStringLiteral("1"));
    // What a migration stopped half-way left behind is cleared.
    QDir().mkpath(folder + QStringLiteral("/.PLMigration-abc123"));
    QFile::copy(folder + QStringLiteral("/Pelmora.sqldb"), folder + QStringLiteral("/.PLMigration-abc123/Pelmora1.sqldb"));
    const auto before = snapshot(folder);
    QString work;
    ASSERT_TRUE(check(folder, &work));
    EXPECT_EQ(work, folder);
    expectMigrated(folder + QStringLiteral("/Pelmora1.sqldb"), 6, false);
    const auto after = snapshot(folder);
    EXPECT_EQ(after.value(QStringLiteral("Pelmora.sqldb_bak")), before.value(QStringLiteral("Pelmora.sqldb")));
    for (const char* gone : {"Pelmora.sqldb", "Pelmora_bk.sqldb"})
        EXPECT_FALSE(after.contains(QLatin1String(gone))) << gone;
    for (auto it = after.begin(); it != after.end(); ++it)
        EXPECT_FALSE(it.key().startsWith(QLatin1Char('.'))) << it.key().toStdString();
    EXPECT_EQ(separated, 0); // version 5 cards are not re-separated
}

// A received folder may hold a link with the name of a leftover build folder: only the link goes.
TEST_F(Migration, LeftoverBuildFolderThatIsALinkIsRemovedAsALink)
{
    const QString outside = temp.filePath(QStringLiteral("outside"));
    QDir().mkpath(outside);
    QFile keep(outside + QStringLiteral("/keep.txt"));
    ASSERT_TRUE(keep.open(QIODevice::WriteOnly));
    keep.write("mine");
    keep.close();
    const QString folder = makeOldDatabase(QStringLiteral("Received.cxdb"), QStringLiteral("1"));
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/.PLMigration-x1y2z3")));
    QString work;
    ASSERT_TRUE(check(folder, &work));
    EXPECT_TRUE(QFileInfo::exists(outside + QStringLiteral("/keep.txt")));
    EXPECT_FALSE(QFileInfo(folder + QStringLiteral("/.PLMigration-x1y2z3")).isSymLink());
    expectMigrated(folder + QStringLiteral("/Pelmora1.sqldb"), 6, false);
}

// The clean-up of images no card names never follows an "Images" that is a link out of the folder.
TEST_F(Migration, ImagesThatIsALinkIsNotSweptAtOpen)
{
    const QString outside = temp.filePath(QStringLiteral("outside images"));
    QDir().mkpath(outside);
    const QString orphan = QStringLiteral("11111111-2222-4333-8444-555555555555_N2.pdf");
    QFile someoneElses(outside + QLatin1Char('/') + orphan);
    ASSERT_TRUE(someoneElses.open(QIODevice::WriteOnly));
    someoneElses.close();
    const QString folder = makeFolder(QStringLiteral("Linked.cxdb"));
    ASSERT_TRUE(F::writeStore(folder + QStringLiteral("/Pelmora1.sqldb"), true, 2, F::numberedCards(1, QStringLiteral("1"))));
    QDir(folder + QStringLiteral("/Images")).removeRecursively();
    ASSERT_TRUE(QFile::link(outside, folder + QStringLiteral("/Images")));
    QString work;
    check(folder, &work);
    EXPECT_TRUE(QFileInfo::exists(outside + QLatin1Char('/') + orphan));
}

// A program stopped between moving the store aside and moving the new one in left a folder with
// backups but no store: the next opening puts the store back and the migration runs again.
TEST_F(Migration, StoreSwitchStoppedHalfWayIsRepairedAtOpen)
{
    struct Case {
        const char* name;
        std::function<QString()> make;
        const char* store;
        QStringList aside; // names the store had when the program stopped
    };
    const Case cases[] = {
        {"version 51", [&] { return makeDatabase(QStringLiteral("Half51.cxdb"), false, 1); }, "Pelmora1.sqldb",
         {QStringLiteral("Pelmora1.sqldb_bak"), QStringLiteral("Pelmora1.sqldb_work")}},
        {"version 5", [&] { return makeOldDatabase(QStringLiteral("Half5.cxdb"), QStringLiteral("1")); }, "Pelmora.sqldb",
         {QStringLiteral("Pelmora.sqldb_bak")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString folder = c.make();
        const QString store = folder + QLatin1Char('/') + QLatin1String(c.store);
        for (const QString& name : c.aside)
            ASSERT_TRUE(QFile::copy(store, folder + QLatin1Char('/') + name));
        ASSERT_TRUE(QFile::remove(store));
        QString work;
        ASSERT_TRUE(check(folder, &work));
        EXPECT_EQ(work, folder);
        expectMigrated(folder + QStringLiteral("/Pelmora1.sqldb"), 6, QLatin1String(c.store) == QLatin1String("Pelmora1.sqldb"));
        EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + c.aside.first())) << "the backup keeps its name";
    }
}

// What stopped runs left goes at open, and only that: work files of the suite's naming, card
// images of the card naming that no card names, half-written image copies, and staging folders of
// processes that are gone.
TEST_F(Migration, LeftoversOfStoppedRunsAreSweptAtOpen)
{
    const QString named = QStringLiteral("0A1B2C3D-4E5F-4A6B-8C7D-9E0F1A2B3C4D_N1.pdf");
    const QString orphan = QStringLiteral("11111111-2222-4333-8444-555555555555_N2.pdf");
    const QString folder = makeFolder(QStringLiteral("Swept.cxdb"));
    QList<F::Card> cards = F::numberedCards(2, QStringLiteral("1"));
    cards[0].faceImageFile = named;
    ASSERT_TRUE(F::writeStore(folder + QStringLiteral("/Pelmora1.sqldb"), true, 2, cards));
    const QStringList gone{QStringLiteral("Pelmora1.sqldb_work"), QStringLiteral("Pelmora1.sqldb_work-journal"),
                           QStringLiteral("Pelmora1.sqldb_work3"), QStringLiteral("Pelmora_bk.sqldb"),
                           QStringLiteral("Pelmora.CFG.a1B2c3"), QStringLiteral("Images/") + orphan,
                           QStringLiteral("Images/") + named + QStringLiteral(".Xy12Ab")};
    const QStringList kept{QStringLiteral("Pelmora1.sqldb_bak"), QStringLiteral("notes.txt"), QStringLiteral("Pelmora.CFG"),
                           QStringLiteral("Images/") + named, QStringLiteral("Images/ID2_N1.pdf"),
                           QStringLiteral("Images/") + orphan.toLower(), QStringLiteral("Files/") + orphan};
    for (const QString& name : gone + kept) {
        QFile file(folder + QLatin1Char('/') + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    }
    QDir().mkpath(folder + QStringLiteral("/.PLMigration-q1w2e3/inner"));
    const QString staging = privateTempDir();
    const QString deadStaging = staging + QStringLiteral("/~plfile2147483646-a1b2c3");
    const QString liveStaging = staging + QStringLiteral("/~plfile%1-a1b2c3").arg(::getpid());
    QDir().mkpath(deadStaging + QStringLiteral("/PLTempFile1.pdf"));
    QDir().mkpath(liveStaging);

    QString work;
    ASSERT_TRUE(check(folder, &work));
    for (const QString& name : gone)
        EXPECT_FALSE(QFileInfo::exists(folder + QLatin1Char('/') + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(folder + QStringLiteral("/.PLMigration-q1w2e3")));
    for (const QString& name : kept)
        EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + name)) << name.toStdString();
    EXPECT_FALSE(QFileInfo::exists(deadStaging));
    EXPECT_TRUE(QFileInfo::exists(liveStaging));
    QDir(liveStaging).removeRecursively();
}

TEST_F(Migration, Version1IsMigratedOnlyWhenAccepted)
{
    const QString folder = makeOldDatabase(QStringLiteral("One.cxdb"), QString());
    const auto before = snapshot(folder);
    QString work;
    presenter.queueAnswer(kAlertSecondButtonReturn);
    EXPECT_FALSE(check(folder, &work));
    EXPECT_EQ(presenter.texts(), QStringList{QStringLiteral("Migrate?")});
    EXPECT_EQ(snapshot(folder), before);

    presenter.queueAnswer(kAlertFirstButtonReturn);
    duringCard = [&] { EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::InUse); };
    ASSERT_TRUE(check(folder, &work));
    EXPECT_EQ(separated, 6);
    expectMigrated(folder + QStringLiteral("/Pelmora1.sqldb"), 6, false);
    const F::StoreContents contents = F::readStore(folder + QStringLiteral("/Pelmora1.sqldb"));
    const auto after = snapshot(folder);
    // Two-page fronts (cards 1 and 5) were split into new files; the old fronts are gone.
    for (int i : {0, 4}) {
        const QString face = contents.cards[i].value(QStringLiteral("face")).toString();
        EXPECT_TRUE(face.endsWith(QStringLiteral("_N1.pdf")));
        EXPECT_NE(face, QStringLiteral("ID%1_N1.pdf").arg(i + 1));
        EXPECT_TRUE(after.contains(QStringLiteral("Images/") + face));
        EXPECT_TRUE(after.contains(QStringLiteral("Images/") + contents.cards[i].value(QStringLiteral("back")).toString()));
        EXPECT_FALSE(after.contains(QStringLiteral("Images/ID%1_N1.pdf").arg(i + 1)));
    }
    EXPECT_EQ(contents.cards[1].value(QStringLiteral("face")).toString(), QStringLiteral("ID2_N1.pdf"));
    EXPECT_EQ(contents.cards[1].value(QStringLiteral("flag2")).toString(), QStringLiteral("0"));
    EXPECT_EQ(contents.cards[0].value(QStringLiteral("flag2")).toString(), QStringLiteral("1"));
    for (const char* gone : {"Pelmora.sqldb", "Pelmora_bk.sqldb"})
        EXPECT_FALSE(after.contains(QLatin1String(gone))) << gone;
}

TEST_F(Migration, PldbIsConvertedIntoANewFolderBesideIt)
{
    const QString folder = makeOldDatabase(QStringLiteral("Cards.pldb"), QString());
    QDir().mkpath(temp.filePath(QStringLiteral("Cards.cxdb"))); // taken: the next name is used
    const auto before = snapshot(folder);
    presenter.queueAnswer(kAlertFirstButtonReturn);
    QString work;
    ASSERT_TRUE(check(folder, &work));
    EXPECT_EQ(work, temp.filePath(QStringLiteral("Cards_1.cxdb")));
    EXPECT_EQ(snapshot(folder), before);
    expectMigrated(work + QStringLiteral("/Pelmora1.sqldb"), 6, false);
    EXPECT_EQ(dbPathPreference(), work);
}

// Cancels and failures leave the folder as it was, whatever step they stop.
TEST_F(Migration, CancelAndFailuresLeaveTheFolderAsBefore)
{
    struct Case {
        const char* name;
        std::function<QString()> make;
        std::function<void(const QString& folder)> arrange;
        bool progress;
        QStringList texts;
    };
    const Case cases[] = {
        {"cancel confirmed during the card loop",
         [&] { return makeOldDatabase(QStringLiteral("Cancel.cxdb"), QString()); },
         [&](const QString&) {
             presenter.queueAnswer(kAlertFirstButtonReturn); // migrate
             presenter.queueAnswer(kAlertFirstButtonReturn); // yes, stop
             duringCard = [&] {
                 if (separated == 2)
                     Scheduler::performOnMainThreadAndWait([] { PLProgressWindowController::sharedController()->cancelButton()->click(); });
             };
         },
         true,
         {QStringLiteral("Migrate?"), QStringLiteral("Stop?"), QStringLiteral("E135")}},
        {"image split fails",
         [&] { return makeOldDatabase(QStringLiteral("Split.cxdb"), QString()); },
         [&](const QString&) {
             presenter.queueAnswer(kAlertFirstButtonReturn);
             images.failImportAt = 1;
         },
         false,
         {QStringLiteral("Migrate?"), QStringLiteral("E135")}},
        {"version-53 step fails on two Version rows",
         [&] { return makeDatabase(QStringLiteral("TwoRows.cxdb"), false, 1); },
         [&](const QString& folder) {
             SqliteConnection connection;
             connection.open(folder + QStringLiteral("/Pelmora1.sqldb"), false);
             connection.exec("insert into ZVERSION (Z_PK, Z_ENT, Z_OPT, ZDATABASE_VERSION) values (99, 4, 1, 1)");
         },
         false,
         {QStringLiteral("E135")}},
        {"the work folder vanishes",
         [&] { return makeOldDatabase(QStringLiteral("Vanish.pldb"), QString()); },
         [&](const QString&) {
             presenter.queueAnswer(kAlertFirstButtonReturn);
             duringCard = [&] {
                 if (separated == 3)
                     QDir(temp.filePath(QStringLiteral("Vanish.cxdb"))).removeRecursively();
             };
         },
         false,
         {QStringLiteral("Migrate?"), QStringLiteral("E135")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        presenter.clear();
        separated = 0;
        duringCard = nullptr;
        images.failImportAt = -1;
        images.imports = 0;
        const QString folder = c.make();
        c.arrange(folder);
        const auto before = snapshot(folder);
        QString work;
        EXPECT_FALSE(check(folder, &work, c.progress));
        EXPECT_EQ(presenter.texts(), c.texts);
        EXPECT_EQ(snapshot(folder), before);
        EXPECT_EQ(DatabaseLock::probe(folder), DatabaseLock::Result::Locked); // released again
    }
    EXPECT_FALSE(QFileInfo::exists(temp.filePath(QStringLiteral("Vanish.cxdb"))));
    EXPECT_TRUE(dbPathPreference().isEmpty());
}

} // namespace
