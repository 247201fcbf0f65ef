// The folder tree on a database of 1,000 folders and 100,000 cards: building the tree (with the
// filing of every card by its folder record), then 10,000 cards moved to the trash and restored
// to their folders by the window's commands, each way saved and the lists rearranged. Against
// bare SQLite doing the same row updates on the same store by row key, in one transaction each
// way. Prints the times and the ratios; a ratio is information, not a verdict.
// Run offscreen: QT_QPA_PLATFORM=offscreen bench_foldertree [cards [moved]]
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/ui/CardMoves.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/logic/PLArrayController.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sqlite3.h>

namespace {

constexpr int kTopFolders = 10;    // level 2
constexpr int kMiddleFolders = 9;  // level 3, under each top folder
constexpr int kBottomFolders = 10; // level 4, under each middle folder: 10 + 90 + 900 = 1,000
int g_cards = 100000;
int g_moved = 10000;

ManagedObjectPtr folder(ManagedObjectContext& context, const QString& id, const QString& name, const QString& parent, int level)
{
    const ManagedObjectPtr record = context.insertNewObject(QString::fromLatin1(CardStore::kEntityFolder));
    record->setValue(QStringLiteral("folder_ID"), id);
    record->setValue(QStringLiteral("folder_Name"), name);
    record->setValue(QStringLiteral("folder_Parent"), parent);
    record->setValue(QStringLiteral("folder_Level"), level);
    record->setValue(QStringLiteral("folder_Type"), kFolderTypeUser);
    return record;
}

// The folders, and the cards spread over them: the folder identifiers, in order.
QStringList fill(ManagedObjectContext& context, const QString& rootID)
{
    QStringList folders;
    for (int top = 0; top < kTopFolders; ++top) {
        const QString topID = QStringLiteral("F%1").arg(top);
        folder(context, topID, QStringLiteral("Region %1").arg(top), rootID, 2);
        folders << topID;
        for (int middle = 0; middle < kMiddleFolders; ++middle) {
            const QString middleID = QStringLiteral("%1-%2").arg(topID).arg(middle);
            folder(context, middleID, QStringLiteral("Office %1").arg(middle), topID, 3);
            folders << middleID;
            for (int bottom = 0; bottom < kBottomFolders; ++bottom) {
                const QString bottomID = QStringLiteral("%1-%2").arg(middleID).arg(bottom);
                folder(context, bottomID, QStringLiteral("Team %1").arg(bottom), middleID, 4);
                folders << bottomID;
            }
        }
    }
    for (int i = 0; i < g_cards; ++i) {
        const QString cardID = QStringLiteral("CARD-%1").arg(i);
        const ManagedObjectPtr card = context.insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
        card->setValue(QStringLiteral("cardID"), cardID);
        card->setValue(QStringLiteral("family_Name"), QStringLiteral("Person %1").arg(i));
        card->setValue(QStringLiteral("deletedFlag"), 0);
        card->setValue(QStringLiteral("connected"), 0);
        const ManagedObjectPtr belong = context.insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
        belong->setValue(QStringLiteral("cardID"), cardID);
        belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        assignCardFolder(*card, *belong, folders[i % folders.size()]);
    }
    return folders;
}

// The row keys of a table by card identifier, read before the clock starts.
QHash<QByteArray, sqlite3_int64> rowKeys(sqlite3* db, const char* table)
{
    QHash<QByteArray, sqlite3_int64> keys;
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, QByteArray("SELECT Z_PK, ZCARDID FROM ").append(table).constData(), -1, &select, nullptr);
    while (sqlite3_step(select) == SQLITE_ROW)
        keys.insert(QByteArray(reinterpret_cast<const char*>(sqlite3_column_text(select, 1))), sqlite3_column_int64(select, 0));
    sqlite3_finalize(select);
    return keys;
}

double bareUpdatesMs(const QString& storeFile)
{
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(storeFile).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    // The store writes a changed object by its row key, as the updates here do.
    const QHash<QByteArray, sqlite3_int64> cardKeys = rowKeys(db, "ZCARD");
    const QHash<QByteArray, sqlite3_int64> belongKeys = rowKeys(db, "ZCARDBELONG");
    QElapsedTimer timer;
    timer.start();
    auto run = [db](const char* sql) { sqlite3_exec(db, sql, nullptr, nullptr, nullptr); };
    // The same rows as the window's moves: the card's flag and identifiers, its CardBelong's path names.
    for (int way = 1; way >= 0; --way) {
        run("BEGIN");
        sqlite3_stmt* card = nullptr;
        sqlite3_stmt* belong = nullptr;
        sqlite3_prepare_v2(db, "UPDATE ZCARD SET ZDELETEDFLAG = ?1, ZSYNCID = ?2, ZSYNC_EMAIL = ?2 WHERE Z_PK = ?3", -1, &card, nullptr);
        sqlite3_prepare_v2(db, "UPDATE ZCARDBELONG SET ZFOLDER1_NAME = ?1, ZFOLDER2_NAME = ?1 WHERE Z_PK = ?2", -1, &belong, nullptr);
        for (int i = 0; i < g_moved; ++i) {
            const QByteArray id = QStringLiteral("CARD-%1").arg(i).toUtf8();
            const QByteArray name = way ? QByteArray("Region") : QByteArray();
            sqlite3_bind_int(card, 1, way);
            sqlite3_bind_text(card, 2, "00000000-0000-0000-0000-000000000000", -1, SQLITE_STATIC);
            sqlite3_bind_int64(card, 3, cardKeys.value(id));
            sqlite3_step(card);
            sqlite3_reset(card);
            sqlite3_bind_text(belong, 1, name.constData(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int64(belong, 2, belongKeys.value(id));
            sqlite3_step(belong);
            sqlite3_reset(belong);
        }
        sqlite3_finalize(card);
        sqlite3_finalize(belong);
        run("COMMIT");
    }
    const double ms = timer.nsecsElapsed() / 1e6;
    sqlite3_close(db);
    return ms;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // Smaller sizes for a quick look: bench_foldertree [cards [moved]].
    if (argc > 1)
        g_cards = std::max(1, std::atoi(argv[1]));
    if (argc > 2)
        g_moved = std::clamp(std::atoi(argv[2]), 1, g_cards);
    QTemporaryDir dir;
    PreferenceDomain::setStandardDomain(QStringLiteral("bench.foldertree"), dir.filePath(QStringLiteral("prefs")));
    const QString databaseFolder = dir.filePath(QStringLiteral("Bench.cxdb"));
    QDir().mkpath(databaseFolder + QStringLiteral("/Images"));
    QDir().mkpath(databaseFolder + QStringLiteral("/Files"));
    OpenDatabase database;
    database.choose(databaseFolder);
    PLMainWindowController window(database);
    window.setTerminate([] {});
    window.showActiveWindow();
    ManagedObjectContext* context = window.managedObjectContext();
    PLOutlineViewController* tree = window.outlineViewController();
    if (!context || !tree->rootNode())
        return 1;
    fill(*context, tree->rootNode()->folderID);
    if (context->save() != 0)
        return 1;

    QElapsedTimer timer;
    timer.start();
    tree->InitTreeListView(context);
    const double build = timer.nsecsElapsed() / 1e6;

    // The moves as the window makes them: the cards selected in the card list (the root shows
    // them all) go to the trash, then the same cards selected in the trash come back.
    window.cardListController()->reloadCards(context);
    window.openFolderWithFolderID(tree->rootNode()->folderID);
    PLArrayController* list = window.arrayController();
    PLArrayController* trash = window.trashArrayController();
    QList<int> rows;
    for (int row = 0; row < g_moved && row < list->arrangedCount(); ++row)
        rows.append(row);
    list->setSelectionIndexes(rows);
    timer.restart();
    window.cardMoves()->removeRecord();
    const double toTrash = timer.nsecsElapsed() / 1e6;
    const qsizetype trashed = trash->arrangedCount();

    rows.clear();
    for (int row = 0; row < trashed; ++row)
        rows.append(row);
    trash->setSelectionIndexes(rows);
    timer.restart();
    window.cardMoves()->returnRecord();
    const double back = timer.nsecsElapsed() / 1e6;
    const qsizetype restored = trashed - trash->arrangedCount();
    window.window()->close();

    const double bare = bareUpdatesMs(databaseFolder + QStringLiteral("/Pelmora1.sqldb"));
    std::printf("folder tree: %d folders, %d cards\n", kTopFolders * (1 + kMiddleFolders * (1 + kBottomFolders)), g_cards);
    std::printf("  build the tree            %9.1f ms\n", build);
    std::printf("  %d cards to the trash (%d)  %9.1f ms, %.2f ms a card\n", g_moved, int(trashed), toTrash,
                toTrash / std::max<qsizetype>(1, trashed));
    std::printf("  %d cards back (%d)          %9.1f ms, %.2f ms a card\n", g_moved, int(restored), back,
                back / std::max<qsizetype>(1, restored));
    std::printf("  bare SQLite, both ways, by row key    %9.1f ms\n", bare);
    std::printf("  ratio (trash and back / bare) %.1f\n", bare > 0 ? (toTrash + back) / bare : 0.0);
    return 0;
}
