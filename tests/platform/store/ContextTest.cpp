#include "StoreTestSupport.h"

#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PlistFile.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QFile>
#include <QFileInfo>
#include <sqlite3.h>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

class StoreTest : public ::testing::Test {
protected:
    QString path() const { return dir.filePath("store.sqldb"); }
    std::unique_ptr<ManagedObjectContext> openCurrent()
    {
        QString error;
        auto context = ManagedObjectContext::open(CardStore::currentModel(), path(), &error);
        EXPECT_TRUE(context) << error.toStdString();
        return context;
    }
    void exec(const QString& sql)
    {
        SqliteConnection connection;
        ASSERT_EQ(connection.open(path(), true), 0);
        QString error;
        ASSERT_EQ(rawExec(connection, sql, &error), 0) << error.toStdString();
    }
    QStringList columns(const QString& table)
    {
        SqliteConnection connection;
        connection.open(path(), false);
        int rc = 0;
        QStringList names;
        const auto rows = rawQuery(connection, "PRAGMA table_info(" + table + ")", &rc);
        for (const RawRow& row : *rows)
            names.append(row.value("name") + ' ' + row.value("type"));
        return names;
    }
    QTemporaryDir dir;
};

ManagedObjectList fetch(ManagedObjectContext& context, const QString& entity, Predicate predicate = {},
                        QList<SortDescriptor> sort = {})
{
    FetchRequest request;
    request.entityName = entity;
    request.predicate = std::move(predicate);
    request.sortDescriptors = std::move(sort);
    int rc = -1;
    ManagedObjectList list = context.executeFetchRequest(request, &rc);
    EXPECT_EQ(rc, 0);
    return list;
}

} // namespace

TEST_F(StoreTest, NewStoreHasTheLayoutAndBookkeeping)
{
    openCurrent();
    EXPECT_EQ(scalar(path(), "select group_concat(name, ',') from (select name from sqlite_master where type='table' "
                             "order by name)"),
              "ZCARD,ZCARDBELONG,ZFOLDER,ZVERSION,Z_METADATA,Z_PRIMARYKEY");
    EXPECT_EQ(columns("ZVERSION"),
              QStringList({"Z_PK INTEGER", "Z_ENT INTEGER", "Z_OPT INTEGER", "ZDATABASE_NAME VARCHAR",
                           "ZDATABASE_VERSION INTEGER", "ZPRODUCT_VL VARCHAR", "ZPRODUCT_OS VARCHAR",
                           "ZCREATE_DATE TIMESTAMP", "ZUPDATE_DATE TIMESTAMP", "ZSEL_FOLDER_ID VARCHAR",
                           "ZSEL_CARD_ID VARCHAR"}));
    EXPECT_EQ(columns("ZCARDBELONG"),
              QStringList({"Z_PK INTEGER", "Z_ENT INTEGER", "Z_OPT INTEGER", "ZFOLDER_ID VARCHAR", "ZCARDID VARCHAR",
                           "ZTOCARDRELATION INTEGER", "ZFOLDER1_NAME VARCHAR", "ZFOLDER2_NAME VARCHAR",
                           "ZFOLDER3_NAME VARCHAR", "ZFOLDER4_NAME VARCHAR"}));
    EXPECT_EQ(columns("ZFOLDER"),
              QStringList({"Z_PK INTEGER", "Z_ENT INTEGER", "Z_OPT INTEGER", "ZFOLDER_ID VARCHAR",
                           "ZFOLDER_TYPE INTEGER", "ZFOLDER_LEVEL INTEGER", "ZFOLDER_NAME VARCHAR",
                           "ZFOLDER_PARENT VARCHAR"}));
    const QStringList card = columns("ZCARD");
    EXPECT_EQ(card.size(), 3 + 72);
    for (const char* c : {"ZBACK_IMAGE_PAGE INTEGER", "ZFLAG1 VARCHAR", "ZINPUT_TYPE INTEGER", "ZFOLDER_ID VARCHAR",
                          "ZPREVIOUS_CREATOR VARCHAR", "ZFIXED_FLAG INTEGER", "ZACCEPT_DATE TIMESTAMP"})
        EXPECT_TRUE(card.contains(c)) << c;
    EXPECT_EQ(scalar(path(), "select group_concat(Z_ENT || Z_NAME || Z_MAX, ',') from Z_PRIMARYKEY"),
              "1Card0,2CardBelong0,3Folder0,4Version0");
    EXPECT_EQ(scalar(path(), "pragma journal_mode"), "delete");

    SqliteConnection connection;
    connection.open(path(), false);
    SqliteStatement meta(connection.handle(), "select Z_UUID, Z_PLIST from Z_METADATA");
    ASSERT_EQ(sqlite3_step(meta.get()), SQLITE_ROW);
    const QString uuid = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(meta.get(), 0)));
    PlistValue plist;
    PlistFormat format;
    ASSERT_TRUE(parsePlist(QByteArray(static_cast<const char*>(sqlite3_column_blob(meta.get(), 1)),
                                      sqlite3_column_bytes(meta.get(), 1)),
                           plist, &format));
    EXPECT_EQ(format, PlistFormat::Binary);
    EXPECT_EQ(plist.value("NSStoreType").toString(), "SQLite");
    EXPECT_EQ(plist.value("NSStoreUUID").toString(), uuid);
    EXPECT_EQ(plist.value("NSStoreModelVersionHashes").toDictionary().size(), 4);
}

TEST_F(StoreTest, KeysAndVersionCountersFollowInsertsAndUpdates)
{
    auto context = openCurrent();
    auto a = context->insertNewObject("Card");
    auto b = context->insertNewObject("Card");
    a->setValue("full_Name", QStringLiteral("Ann"));
    const QDateTime when(QDate(2001, 1, 2), QTime(0, 0), QTimeZone::utc());
    a->setValue("accept_Date", when);
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(a->primaryKey(), 1);
    EXPECT_EQ(b->primaryKey(), 2);
    EXPECT_EQ(scalar(path(), "select Z_MAX from Z_PRIMARYKEY where Z_NAME='Card'"), "2");
    EXPECT_EQ(scalar(path(), "select Z_ENT || '/' || Z_OPT || '/' || ZACCEPT_DATE from ZCARD where Z_PK=1"),
              "1/1/86400");

    a->setValue("full_Name", QStringLiteral("Anna"));
    EXPECT_EQ(a->changedValues(), QVariantMap({{"full_Name", "Anna"}}));
    ASSERT_EQ(context->save(), 0);
    EXPECT_TRUE(a->changedValues().isEmpty());
    EXPECT_EQ(scalar(path(), "select Z_OPT || ZFULL_NAME from ZCARD where Z_PK=1"), "2Anna");
    EXPECT_EQ(scalar(path(), "select Z_OPT from ZCARD where Z_PK=2"), "1");

    // A deleted row's key is never handed out again.
    context->deleteObject(b);
    ASSERT_EQ(context->save(), 0);
    auto c = context->insertNewObject("Card");
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(c->primaryKey(), 3);
    EXPECT_EQ(scalar(path(), "select count(*) || '/' || max(Z_PK) from ZCARD"), "2/3");
}

TEST_F(StoreTest, RowsOfAnotherConnectionAreSeenByTheNextFetch)
{
    auto context = openCurrent();
    auto mine = context->insertNewObject("Folder");
    mine->setValue("folder_Name", QStringLiteral("Mine"));
    ASSERT_EQ(context->save(), 0);
    ASSERT_EQ(fetch(*context, "Folder").size(), 1);

    auto other = openCurrent();
    auto theirs = other->insertNewObject("Folder");
    theirs->setValue("folder_Name", QStringLiteral("Theirs"));
    ASSERT_EQ(other->save(), 0);
    EXPECT_EQ(theirs->primaryKey(), 2);
    exec("update ZFOLDER set ZFOLDER_NAME = 'Renamed' where Z_PK = 1");

    const auto folders = fetch(*context, "Folder", {}, {{"folder_Name", true}});
    ASSERT_EQ(folders.size(), 2);
    EXPECT_EQ(folders[0], mine); // one object per row
    EXPECT_EQ(mine->stringValue("folder_Name"), "Renamed");
    EXPECT_EQ(folders[1]->stringValue("folder_Name"), "Theirs");

    // A row removed elsewhere is gone from the next fetch and from key look-ups.
    exec("delete from ZFOLDER where Z_PK = 2");
    EXPECT_EQ(fetch(*context, "Folder"), ManagedObjectList{mine});
    EXPECT_FALSE(context->objectWithPrimaryKey("Folder", 2));
}

// A store from elsewhere whose keys are used up (Z_MAX, or a row's key, at the largest 64-bit
// integer): the save is refused as a whole, never given a key that wraps round to a negative one.
TEST_F(StoreTest, ASaveWithoutKeysLeftIsRefusedNotWrapped)
{
    struct Case {
        const char* name;
        const char* setUp;
        int inserts;
    } const cases[] = {
        {"Z_MAX at the limit", "update Z_PRIMARYKEY set Z_MAX = 9223372036854775807 where Z_NAME = 'Card'", 1},
        {"one key left for two cards", "update Z_PRIMARYKEY set Z_MAX = 9223372036854775806 where Z_NAME = 'Card'", 2},
        {"a row's key at the limit", "insert into ZCARD (Z_PK, Z_ENT, Z_OPT, ZCARDID) values (9223372036854775807, 1, 1, 'LAST')", 1},
    };
    const QString keysAndMax = QStringLiteral("select ifnull(group_concat(Z_PK), '') || '/' || "
                                              "(select Z_MAX from Z_PRIMARYKEY where Z_NAME = 'Card') from ZCARD");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(path());
        openCurrent();
        exec(QString::fromLatin1(c.setUp));
        const QString before = scalar(path(), keysAndMax);
        auto context = openCurrent();
        ManagedObjectList added;
        for (int i = 0; i < c.inserts; ++i)
            added.append(context->insertNewObject("Card"));
        QString error;
        EXPECT_EQ(context->save(&error), ManagedObjectContext::kSaveFailed);
        EXPECT_TRUE(error.contains(QLatin1String("ZCARD"))) << error.toStdString();
        for (const ManagedObjectPtr& card : added)
            EXPECT_EQ(card->primaryKey(), 0);
        EXPECT_EQ(scalar(path(), keysAndMax), before);
        EXPECT_EQ(scalar(path(), "select count(*) from ZCARD where Z_PK < 0"), "0");

        // Other entities still have keys: a folder is saved once the cards are dropped.
        for (const ManagedObjectPtr& card : added)
            context->deleteObject(card);
        context->insertNewObject("Folder")->setValue("folder_Name", QStringLiteral("Kept"));
        EXPECT_EQ(context->save(), 0);
        EXPECT_EQ(scalar(path(), "select ZFOLDER_NAME from ZFOLDER"), "Kept");
    }
}

TEST_F(StoreTest, UnknownColumnsKeepTheirValuesAndMissingColumnsReadEmpty)
{
    // A store laid out by another program: no ZMEMO column, an extra ZLEGACY column.
    exec("create table ZCARD (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCARDID VARCHAR, "
         "ZLEGACY VARCHAR, ZFULL_NAME VARCHAR);"
         "create table Z_PRIMARYKEY (Z_ENT INTEGER PRIMARY KEY, Z_NAME VARCHAR, Z_SUPER INTEGER, Z_MAX INTEGER);"
         "insert into Z_PRIMARYKEY values (7, 'Card', 0, 40);"
         "insert into ZCARD values (40, 7, 3, 'ID40', 'keep me', 'Old');");
    QString error;
    auto context = ManagedObjectContext::open(CardStore::cardOnlyModel(), path(), &error);
    ASSERT_TRUE(context) << error.toStdString();
    EXPECT_FALSE(context->hasColumn("Card", "memo"));
    auto cards = fetch(*context, "Card");
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[0]->stringValue("memo"), "");
    cards[0]->setValue("full_Name", QStringLiteral("New"));
    cards[0]->setValue("memo", QStringLiteral("nowhere to go"));
    auto added = context->insertNewObject("Card");
    added->setValue("cardID", QStringLiteral("ID41"));
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select group_concat(Z_PK || Z_ENT || Z_OPT || ifnull(ZLEGACY, '-') || ifnull(ZFULL_NAME, '-'), ',') from ZCARD"),
              "4074keep meNew,4171--");
    EXPECT_EQ(scalar(path(), "select Z_MAX from Z_PRIMARYKEY"), "41");
}

TEST_F(StoreTest, CardFolderColumnIsAddedAndFilledFromTheCardBelong)
{
    // A store written before cards carried their folder: the folder is on the CardBelong only, found
    // by the relation or, where that is empty, by the card identifier.
    exec("create table ZCARD (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCARDID VARCHAR);"
         "create table ZCARDBELONG (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZFOLDER_ID VARCHAR, "
         "ZCARDID VARCHAR, ZTOCARDRELATION INTEGER);"
         "insert into ZCARD values (1, 1, 1, 'A'), (2, 1, 1, 'B'), (3, 1, 1, 'C');"
         "insert into ZCARDBELONG values (10, 2, 1, 'USER', 'A', 1), (11, 2, 1, 'INBOX', 'B', NULL);");
    auto context = openCurrent();
    ASSERT_TRUE(context);
    EXPECT_TRUE(context->hasColumn("Card", "folder_ID"));
    EXPECT_EQ(scalar(path(), "select group_concat(f, ',') from (select ZCARDID || '=' || ifnull(ZFOLDER_ID, '-') as f from ZCARD order by Z_PK)"),
              "A=USER,B=INBOX,C=-");
    // Opened again, the column is there and nothing is added twice.
    context.reset();
    EXPECT_TRUE(openCurrent());
    EXPECT_EQ(scalar(path(), "select count(*) from pragma_table_info('ZCARD') where name = 'ZFOLDER_ID'"), "1");
}

TEST_F(StoreTest, PredicatesSortsAndPendingChanges)
{
    auto context = openCurrent();
    for (const auto& [name, type] : {std::pair{"b", 3}, {"a", 3}, {"c", 1}}) {
        auto f = context->insertNewObject("Folder");
        f->setValue("folder_Name", QString::fromUtf8(name));
        f->setValue("folder_Type", type);
    }
    auto pendingUserFolders = fetch(*context, "Folder", keyEquals("folder_Type", 3), {{"folder_Name", false}});
    ASSERT_EQ(pendingUserFolders.size(), 2);
    EXPECT_EQ(pendingUserFolders[0]->stringValue("folder_Name"), "b");
    ASSERT_EQ(context->save(), 0);

    auto all = fetch(*context, "Folder", {}, {{"folder_Type", true}, {"folder_Name", true}});
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[0]->stringValue("folder_Name") + all[1]->stringValue("folder_Name") +
                  all[2]->stringValue("folder_Name"),
              "cab");
    EXPECT_EQ(fetch(*context, "Folder", keyEquals("folder_Type", QStringLiteral("3"))).size(), 0);
    context->deleteObject(all[1]);
    EXPECT_EQ(fetch(*context, "Folder").size(), 2);
    auto unsaved = context->insertNewObject("Folder");
    context->deleteObject(unsaved);
    EXPECT_EQ(fetch(*context, "Folder").size(), 2);
}

TEST_F(StoreTest, RelationshipsAndRefresh)
{
    auto context = openCurrent();
    auto card = context->insertNewObject("Card");
    auto belong = context->insertNewObject("CardBelong");
    ASSERT_TRUE(belong->setRelatedObject("ToCardRelation", card));
    EXPECT_FALSE(belong->setRelatedObject("ToCardRelation", belong));
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select ZTOCARDRELATION from ZCARDBELONG"), QString::number(card->primaryKey()));

    auto reader = openCurrent();
    auto belongs = fetch(*reader, "CardBelong");
    ASSERT_EQ(belongs.size(), 1);
    auto target = belongs[0]->relatedObject("ToCardRelation");
    ASSERT_TRUE(target);
    EXPECT_EQ(target->primaryKey(), card->primaryKey());

    target->setValue("memo", QStringLiteral("unsaved"));
    exec("update ZCARD set ZFULL_NAME = 'outside'");
    reader->refreshObject(target, true);
    EXPECT_EQ(target->stringValue("memo"), "unsaved");
    EXPECT_EQ(target->stringValue("full_Name"), "outside");
    reader->refreshObject(target, false);
    EXPECT_EQ(target->stringValue("memo"), "");
    EXPECT_FALSE(reader->hasChanges());
}

TEST_F(StoreTest, TheContextLetsGoOfSavedUnchangedObjects)
{
    auto context = openCurrent();
    std::weak_ptr<ManagedObject> saved;
    {
        auto card = context->insertNewObject("Card");
        card->setValue("company", QStringLiteral("Acme"));
        saved = card;
        ASSERT_EQ(context->save(), 0);
    }
    EXPECT_TRUE(saved.expired()) << "a saved object nobody holds is let go";

    // While held, a row stays one object; a changed object is kept until it is saved.
    auto first = fetch(*context, "Card");
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(fetch(*context, "Card").first(), first.first());
    first.first()->setValue("company", QStringLiteral("Changed"));
    std::weak_ptr<ManagedObject> changed = first.first();
    first.clear();
    ASSERT_FALSE(changed.expired());
    EXPECT_EQ(fetch(*context, "Card").first()->stringValue("company"), "Changed");
    ASSERT_EQ(context->save(), 0);
    EXPECT_TRUE(changed.expired());
    EXPECT_EQ(scalar(path(), "select ZCOMPANY from ZCARD"), "Changed");

    // A deleted object nobody holds still leaves the store at the save.
    context->deleteObject(fetch(*context, "Card").first());
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select count(*) from ZCARD"), "0");
}

TEST_F(StoreTest, ObjectsDidChangeCarriesInsertedUpdatedAndDeleted)
{
    auto context = openCurrent();
    auto keep = context->insertNewObject("Folder");
    auto drop = context->insertNewObject("Folder");
    ASSERT_EQ(context->save(), 0);

    QList<QVariantMap> seen;
    const int owner = 0;
    NotificationCenter::defaultCenter().addObserver(
        &owner, ManagedObjectContext::kObjectsDidChangeNotification,
        [&](const Notification& n) { seen.append(n.userInfo); }, context.get());
    keep->setValue("folder_Name", QStringLiteral("x"));
    keep->setValue("folder_Level", 2);
    context->deleteObject(drop);
    auto added = context->insertNewObject("Folder");
    ASSERT_EQ(context->save(), 0);
    NotificationCenter::defaultCenter().removeObserver(&owner);

    ASSERT_EQ(seen.size(), 1);
    auto list = [&](const char* key) { return seen[0].value(key).value<ManagedObjectList>(); };
    EXPECT_EQ(list("inserted"), ManagedObjectList{added});
    EXPECT_EQ(list("updated"), ManagedObjectList{keep});
    EXPECT_EQ(list("deleted"), ManagedObjectList{drop});
}

TEST_F(StoreTest, FailedSaveWritesNothingAndKeepsChanges)
{
    auto context = openCurrent();
    auto folder = context->insertNewObject("Folder");
    ASSERT_EQ(context->save(), 0);
    folder->setValue("folder_Name", QStringLiteral("changed"));
    auto card = context->insertNewObject("Card");
    exec("drop table ZFOLDER");
    QString error;
    EXPECT_EQ(context->save(&error), ManagedObjectContext::kSaveFailed);
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(card->primaryKey(), 0);
    EXPECT_TRUE(context->hasChanges());
    EXPECT_EQ(scalar(path(), "select count(*) || '/' || (select Z_MAX from Z_PRIMARYKEY where Z_NAME='Card') from ZCARD"),
              "0/0");
}

// A save refused by the store: each change taken back leaves the context as the store holds it.
TEST_F(StoreTest, DiscardedChangesLeaveWhatTheStoreHolds)
{
    auto context = openCurrent();
    auto kept = context->insertNewObject("Folder");
    kept->setValue("folder_Name", QStringLiteral("kept"));
    auto removed = context->insertNewObject("Folder");
    removed->setValue("folder_Name", QStringLiteral("removed"));
    ASSERT_EQ(context->save(), 0);
    kept->setValue("folder_Name", QStringLiteral("renamed"));
    context->deleteObject(removed);
    auto added = context->insertNewObject("Folder");
    exec("create trigger refuse before update on ZFOLDER begin select raise(fail, 'refused'); end");
    ASSERT_EQ(context->save(), ManagedObjectContext::kSaveFailed);
    for (const ManagedObjectPtr& object : {kept, removed, added})
        context->discardChanges(object);
    EXPECT_FALSE(context->hasChanges());
    EXPECT_FALSE(removed->isDeleted());
    QStringList names;
    for (const ManagedObjectPtr& folder : fetch(*context, "Folder", {}, {{"folder_Name", true}}))
        names.append(folder->stringValue("folder_Name"));
    EXPECT_EQ(names, (QStringList{"kept", "removed"}));
    exec("drop trigger refuse");
    EXPECT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select group_concat(ZFOLDER_NAME, ',') from (select ZFOLDER_NAME from ZFOLDER order by 1)"), "kept,removed");
}

TEST_F(StoreTest, BadFilesAreRefusedAndLeftAsTheyAre)
{
    QFile notSqlite(path());
    ASSERT_TRUE(notSqlite.open(QIODevice::WriteOnly));
    const QByteArray junk(4096, 'x');
    notSqlite.write(junk);
    notSqlite.close();
    QString error;
    EXPECT_FALSE(ManagedObjectContext::open(CardStore::currentModel(), path(), &error));
    EXPECT_FALSE(error.isEmpty());
    ASSERT_TRUE(notSqlite.open(QIODevice::ReadOnly));
    EXPECT_EQ(notSqlite.readAll(), junk);
    notSqlite.close();

    // A store cut short after its first page.
    QFile::remove(path());
    {
        auto context = openCurrent();
        for (int i = 0; i < 200; ++i)
            context->insertNewObject("Card")->setValue("memo", QString(200, 'm'));
        ASSERT_EQ(context->save(), 0);
    }
    QFile truncated(path());
    ASSERT_TRUE(truncated.resize(4096 * 3));
    auto context = ManagedObjectContext::open(CardStore::currentModel(), path(), &error);
    if (context) {
        int rc = 0;
        FetchRequest all{"Card", {}, {}, true};
        EXPECT_TRUE(context->executeFetchRequest(all, &rc).isEmpty());
        EXPECT_NE(rc, 0);
    }
    EXPECT_EQ(QFileInfo(path()).size(), 4096 * 3);
}

TEST_F(StoreTest, OneEntityStoreOfTheOldestVersions)
{
    // A store with only a card table and no key bookkeeping.
    exec("create table ZCARD (Z_PK INTEGER PRIMARY KEY, Z_ENT INTEGER, Z_OPT INTEGER, ZCARDID VARCHAR, "
         "ZFLAG1 VARCHAR, ZCONNECTED INTEGER, ZFACE_IMAGE_FILE VARCHAR);"
         "insert into ZCARD values (5, 1, 1, 'A', NULL, 3, 'A_N1.pdf');");
    QString error;
    auto context = ManagedObjectContext::open(CardStore::cardOnlyModel(), path(), &error, false);
    ASSERT_TRUE(context) << error.toStdString();
    auto cards = fetch(*context, "Card");
    ASSERT_EQ(cards.size(), 1);
    EXPECT_EQ(cards[0]->value("connected").toInt(), 3);
    cards[0]->setValue("flag2", cards[0]->stringValue("connected"));
    cards[0]->setValue("connected", 0);
    cards[0]->setValue("flag1", QStringLiteral("1"));
    context->insertNewObject("Card")->setValue("cardID", QStringLiteral("B"));
    ASSERT_EQ(context->save(), 0);
    EXPECT_EQ(scalar(path(), "select group_concat(Z_PK || ZCARDID || ifnull(ZFLAG1, '-') || ZCONNECTED, ',') from ZCARD"),
              "5A10");
    EXPECT_EQ(scalar(path(), "select count(*) || '/' || max(Z_PK) from ZCARD"), "2/6");
    EXPECT_EQ(scalar(path(), "select Z_NAME || Z_MAX from Z_PRIMARYKEY"), "Card6");
    EXPECT_FALSE(ManagedObjectContext::open(CardStore::cardOnlyModel(), dir.filePath("none.sqldb"), &error, false));
    EXPECT_FALSE(QFile::exists(dir.filePath("none.sqldb")));
}

TEST(RawQuery, ResultsAsText)
{
    QTemporaryDir dir;
    SqliteConnection connection;
    ASSERT_EQ(connection.open(dir.filePath("raw.sqldb"), true), 0);
    ASSERT_EQ(rawExec(connection, "create table T (A INTEGER, B VARCHAR); insert into T values (2, NULL);"), 0);
    int rc = -1;
    auto rows = rawQuery(connection, "select A, B from T where A > 5", &rc);
    ASSERT_TRUE(rows);
    EXPECT_TRUE(rows->isEmpty());
    EXPECT_EQ(rc, 0);
    rows = rawQuery(connection, "select A as FLAG, B from T", &rc);
    ASSERT_TRUE(rows);
    EXPECT_EQ(*rows, RawRows({RawRow({{"FLAG", "2"}, {"B", ""}})}));
    EXPECT_FALSE(rawQuery(connection, "select nothing from nowhere", &rc));
    EXPECT_EQ(rc, SQLITE_ERROR);
}

TEST_F(StoreTest, ALighterFetchReadsTheRestOnFirstUse)
{
    {
        auto writer = openCurrent();
        for (const char* name : {"Ann", "Bea"}) {
            auto card = writer->insertNewObject("Card");
            card->setValue("full_Name", QString::fromLatin1(name));
            card->setValue("company", QStringLiteral("Co ") + QString::fromLatin1(name));
            card->setValue("memo", QStringLiteral("memo of ") + QString::fromLatin1(name));
        }
        ASSERT_EQ(writer->save(), 0);
    }
    auto context = openCurrent();
    FetchRequest request{"Card", {}, {{"full_Name", true}}};
    request.propertiesToFetch = {"full_Name", "no_such_attribute"};
    int rc = -1;
    const ManagedObjectList cards = context->executeFetchRequest(request, &rc);
    ASSERT_EQ(rc, 0);
    ASSERT_EQ(cards.size(), 2);
    EXPECT_EQ(cards[0]->stringValue("full_Name"), "Ann");

    // The column changes in the store before the first use: the first use reads it as it is now.
    exec("update ZCARD set ZCOMPANY = 'New Co' where ZFULL_NAME = 'Bea'");
    EXPECT_EQ(cards[0]->stringValue("company"), "Co Ann");
    EXPECT_EQ(cards[1]->stringValue("company"), "New Co");

    // Setting an unread attribute to its stored value is no change; another value is saved alone.
    cards[0]->setValue("memo", QStringLiteral("memo of Ann"));
    EXPECT_FALSE(cards[0]->hasChanges());
    cards[1]->setValue("memo", QStringLiteral("changed"));
    EXPECT_EQ(cards[1]->changedValues().keys(), QStringList{"memo"});
    ASSERT_EQ(context->save(), 0);

    // A full fetch of an object read lightly keeps its unsaved changes and reads the rest.
    cards[0]->setValue("full_Name", QStringLiteral("Anne"));
    exec("update ZCARD set ZJOB_TITLE = 'Chief' where ZFULL_NAME = 'Ann'");
    fetch(*context, "Card");
    EXPECT_EQ(cards[0]->stringValue("full_Name"), "Anne");
    EXPECT_EQ(cards[0]->stringValue("job_Title"), "Chief");

    // Every attribute is there for a dictionary, and the rows kept their other columns.
    auto reader = openCurrent();
    const ManagedObjectList stored = fetch(*reader, "Card", {}, {{"company", true}});
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[1]->dictionary().value("memo").toString(), "changed");
    EXPECT_EQ(stored[0]->stringValue("memo"), "memo of Ann");
    // A row removed elsewhere before its first use reads as empty.
    request.propertiesToFetch = {"full_Name"};
    const ManagedObjectList again = reader->executeFetchRequest(request);
    ASSERT_EQ(again.size(), 2);
    // An object read as a whole (a second unread attribute, or its dictionary) reads its row.
    EXPECT_EQ(again[1]->stringValue("memo"), "changed");
    EXPECT_EQ(again[1]->stringValue("company"), "New Co");
    EXPECT_EQ(again[1]->dictionary().value("full_Name").toString(), "Bea");
    exec("delete from ZCARD");
    EXPECT_EQ(again[0]->stringValue("web_Page_Address"), "");
}
