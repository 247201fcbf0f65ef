// The card list as the user meets it in the main window: the folder tree's folder, the search
// field narrowing as the user types, the trash, the header's sort cycle, the column menu kept
// to the next start, and new cards bold until looked at for a second.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeView>

#include <sqlite3.h>

#include <gtest/gtest.h>

namespace {

struct CardRow {
    const char* cardID;
    const char* name;
    const char* company;
    bool inInbox;       // else filed in no folder at all
    QVariant deleted;   // null: an import that wrote no flag
    int scanNow;
};

class CardList : public ::testing::Test {
protected:
    QTemporaryDir temp;
    TestBundle bundle;
    ScriptedMessagePresenter presenter;
    ManualClock clock;
    QString database;
    OpenDatabase openDatabase;

    void SetUp() override
    {
        Scheduler::shared().setClock(&clock);
        PreferenceDomain::setStandardDomain(QStringLiteral("test.cardlist"), temp.filePath(QStringLiteral("prefs")));
        database = temp.filePath(QStringLiteral("Cards.cxdb"));
        QDir().mkpath(database + QStringLiteral("/Images"));
        openDatabase.choose(database);
    }
    void TearDown() override
    {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeNone);
        Scheduler::shared().setClock(nullptr);
    }

    std::unique_ptr<PLMainWindowController> start()
    {
        openDatabase.choose(database);
        auto window = std::make_unique<PLMainWindowController>(openDatabase);
        window->setTerminate([] {});
        window->showActiveWindow();
        EXPECT_NE(window->managedObjectContext(), nullptr);
        return window;
    }
    // A window over the fixture's cards, newest first: Ünal Demir, 山田 太郎, Ünal Zed, Trashed Ünal, Bob.
    std::unique_ptr<PLMainWindowController> startWithCards()
    {
        const CardRow rows[] = {
            {"A", "Ünal Demir", "", true, 0, 1},
            {"B", "山田 太郎", "", true, QVariant(), 0},
            {"C", "Ünal Zed", "", false, 0, 0},
            {"D", "Trashed Ünal", "", true, 1, 0},
            {"E", "Bob", "ünal GmbH", true, 0, 1},
        };
        {
            auto window = start();
            ManagedObjectContext* context = window->managedObjectContext();
            int minutes = 0;
            for (const CardRow& row : rows) {
                const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
                card->setValue(QStringLiteral("cardID"), QString::fromLatin1(row.cardID));
                card->setValue(QStringLiteral("full_Name"), QString::fromUtf8(row.name));
                card->setValue(QStringLiteral("company"), QString::fromUtf8(row.company));
                card->setValue(QStringLiteral("deletedFlag"), row.deleted);
                card->setValue(QStringLiteral("scanNow"), row.scanNow);
                card->setValue(QStringLiteral("accept_Date"), QDateTime::currentDateTimeUtc().addSecs(-60 * ++minutes));
                if (row.inInbox) {
                    const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
                    belong->setValue(QStringLiteral("cardID"), QString::fromLatin1(row.cardID));
                    assignCardFolder(*card, *belong, inboxID(*window));
                    belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
                }
            }
            window->saveAction();
            window->window()->close();
        }
        return start();
    }
    static QString inboxID(PLMainWindowController& window)
    {
        const ManagedObjectList folders = window.managedObjectContext()->executeFetchRequest(
            {QString::fromLatin1(CardStore::kEntityFolder), keyEquals(QStringLiteral("folder_Type"), kFolderTypeInbox), {}});
        return folders.isEmpty() ? QString() : folders.first()->stringValue(QStringLiteral("folder_ID"));
    }
    // The names a table shows, top to bottom (the full name is the first column).
    static QStringList shown(QTableView* table)
    {
        QStringList names;
        for (int row = 0; row < table->model()->rowCount(); ++row)
            names.append(table->model()->index(row, 0).data().toString());
        return names;
    }
    static QStringList names(const char* list) { return QString::fromUtf8(list).split(QLatin1Char('|'), Qt::SkipEmptyParts); }
    static void clickTreeRow(QTreeView* tree, const QModelIndex& index)
    {
        tree->expandAll();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualRect(index).center());
    }
    static void clickHeader(QTableView* table, const QString& title)
    {
        QHeaderView* header = table->horizontalHeader();
        for (int logical = 0; logical < header->count(); ++logical) {
            if (table->model()->headerData(logical, Qt::Horizontal).toString() == title) {
                QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(header->sectionViewportPosition(logical) + 20, header->height() / 2));
                return;
            }
        }
        ADD_FAILURE() << "no column " << title.toStdString();
    }
    static void clickRow(QTableView* table, int row)
    {
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(table->model()->index(row, 0)).center());
    }
    // Types each character as a key press carrying its text, any script.
    static void type(QLineEdit* field, const QString& text)
    {
        for (const QChar c : text) {
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
            QCoreApplication::sendEvent(field, &press);
        }
    }
    static void retype(QLineEdit* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(field, Qt::Key_Backspace);
        type(field, text);
    }
    int storedScanNow(const char* cardID)
    {
        sqlite3* db = nullptr;
        int value = -1;
        if (sqlite3_open(QFile::encodeName(database + QStringLiteral("/Pelmora1.sqldb")).constData(), &db) == SQLITE_OK) {
            sqlite3_stmt* statement = nullptr;
            if (sqlite3_prepare_v2(db, "SELECT ZSCANNOW FROM ZCARD WHERE ZCARDID = ?", -1, &statement, nullptr) == SQLITE_OK) {
                sqlite3_bind_text(statement, 1, cardID, -1, SQLITE_STATIC);
                if (sqlite3_step(statement) == SQLITE_ROW)
                    value = sqlite3_column_int(statement, 0);
            }
            sqlite3_finalize(statement);
        }
        sqlite3_close(db);
        return value;
    }
};

} // namespace

TEST_F(CardList, FolderSearchAsTheUserTypesAndTheTrash)
{
    auto window = startWithCards();
    const MainWindowUi& ui = window->ui();
    QTreeView* tree = ui._outlineView;
    const QModelIndex root = tree->model()->index(0, 0);

    clickTreeRow(tree, root);
    // The root's list leaves out the card filed in no folder; the card without a deleted flag shows.
    EXPECT_EQ(shown(ui._tvList), names("Ünal Demir|山田 太郎|Bob"));
    EXPECT_EQ(shown(ui._trashTableView), names("Trashed Ünal"));

    // The root's search takes every card, whatever its folder; case and accents of "ü" alike.
    type(ui._searchFiled, QStringLiteral("ÜNAL"));
    EXPECT_EQ(shown(ui._tvList), names("Ünal Demir|Ünal Zed|Bob"));
    EXPECT_EQ(shown(ui._trashTableView), names("Trashed Ünal"));
    retype(ui._searchFiled, QStringLiteral("山"));
    EXPECT_EQ(shown(ui._tvList), names("山田 太郎"));
    EXPECT_TRUE(shown(ui._trashTableView).isEmpty());
    EXPECT_EQ(ui._currentSelectText->text(), QStringLiteral("1 / 1 IDS_PAGE_UNIT_TEXT_IN_STATUS"));
    retype(ui._searchFiled, QStringLiteral("%_.*\\"));
    EXPECT_TRUE(shown(ui._tvList).isEmpty());
    retype(ui._searchFiled, QString(10000, QLatin1Char('u')));
    EXPECT_TRUE(shown(ui._tvList).isEmpty());

    // In the Inbox, the search narrows to the folder; the trash is never narrowed by folder.
    clickTreeRow(tree, tree->model()->index(0, 0, root));
    EXPECT_EQ(window->selectedFolderID(), inboxID(*window));
    retype(ui._searchFiled, QStringLiteral("ünal"));
    EXPECT_EQ(shown(ui._tvList), names("Ünal Demir|Bob"));
    EXPECT_EQ(shown(ui._trashTableView), names("Trashed Ünal"));

    // The company scope of the search menu.
    QMenu* searchMenu = nullptr;
    for (QMenu* menu : window->window()->findChildren<QMenu*>()) {
        for (QAction* item : menu->actions()) {
            if (item->data() == 18 && item->isCheckable())
                searchMenu = menu;
        }
    }
    ASSERT_NE(searchMenu, nullptr);
    for (QAction* item : searchMenu->actions()) {
        if (item->data() == 18)
            item->trigger();
    }
    EXPECT_EQ(shown(ui._tvList), names("Bob"));

    // An empty search returns to the folder's cards.
    retype(ui._searchFiled, QString());
    EXPECT_EQ(shown(ui._tvList), names("Ünal Demir|山田 太郎|Bob"));

    // The desktop's search service hands the window its text.
    window->searchText(QStringLiteral("gmbh"));
    EXPECT_EQ(ui._searchFiled->text(), QStringLiteral("gmbh"));
    EXPECT_EQ(shown(ui._tvList), names("Bob"));
}

TEST_F(CardList, HeaderClicksCycleAndTheColumnMenuIsKeptToTheNextStart)
{
    // Widths out of range and unknown names in the stored columns give a usable table.
    PlistValue::Dictionary odd;
    odd.insert(QStringLiteral("identify"), QStringLiteral("ZFULLNAME"));
    odd.insert(QStringLiteral("size"), 5000.0);
    PreferenceDomain::standard().setValue(QString::fromLatin1(PLCardListController::kColumnInfoKey), PlistValue::Array{odd});
    auto window = startWithCards();
    const MainWindowUi& ui = window->ui();
    PLCardListController* list = window->cardListController();
    clickTreeRow(ui._outlineView, ui._outlineView->model()->index(0, 0));
    ASSERT_EQ(list->returnDisMenu(), 0x1205);
    const QStringList byDate = names("Ünal Demir|山田 太郎|Bob");
    EXPECT_EQ(shown(ui._tvList), byDate);

    clickHeader(ui._tvList, QStringLiteral("IDS_FULL_NAME"));
    EXPECT_EQ(shown(ui._tvList), names("Bob|Ünal Demir|山田 太郎"));
    EXPECT_EQ(ui._tvList->horizontalHeader()->sortIndicatorOrder(), Qt::AscendingOrder);
    clickHeader(ui._tvList, QStringLiteral("IDS_FULL_NAME"));
    EXPECT_EQ(shown(ui._tvList), names("山田 太郎|Ünal Demir|Bob"));
    EXPECT_EQ(ui._tvList->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    clickHeader(ui._tvList, QStringLiteral("IDS_FULL_NAME"));
    EXPECT_EQ(shown(ui._tvList), byDate);

    // The column menu: the full name stays; removing the column sorted by resets the order.
    QMenu* columns = list->columnMenu();
    auto item = [columns](int tag) {
        for (QAction* action : columns->actions()) {
            if (action->data() == tag)
                return action;
        }
        return static_cast<QAction*>(nullptr);
    };
    item(0)->trigger();
    EXPECT_EQ(ui._tvList->model()->columnCount(), 4);
    clickHeader(ui._tvList, QStringLiteral("IDS_COMPANY"));
    clickHeader(ui._tvList, QStringLiteral("IDS_COMPANY"));
    EXPECT_EQ(shown(ui._tvList).value(0), QStringLiteral("Bob"));
    int menuChanges = 0;
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(PLCardListController::kMenuDisplayChangeNotification),
                                                    [&](const Notification&) { ++menuChanges; });
    item(2)->trigger();
    EXPECT_EQ(shown(ui._tvList), byDate);
    item(14)->trigger();
    NotificationCenter::defaultCenter().removeObserver(this);
    EXPECT_EQ(menuChanges, 2);
    EXPECT_EQ(list->returnDisMenu(), 0x1205 - 0x4 + 0x4000);
    EXPECT_EQ(ui._trashTableView->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("IDS_MEMO"));
    ui._tvList->setColumnWidth(0, 250);
    window->window()->close();
    window.reset();

    auto again = start();
    const QTableView* table = again->ui()._tvList;
    EXPECT_EQ(again->cardListController()->returnDisMenu(), 0x1201 + 0x4000);
    EXPECT_EQ(table->model()->headerData(3, Qt::Horizontal).toString(), QStringLiteral("IDS_MEMO"));
    EXPECT_EQ(table->columnWidth(0), 250);
}

TEST_F(CardList, ANewCardStaysBoldUntilSelectedForOneSecond)
{
    auto window = startWithCards();
    const MainWindowUi& ui = window->ui();
    clickTreeRow(ui._outlineView, ui._outlineView->model()->index(0, 0));
    ASSERT_EQ(shown(ui._tvList), names("Ünal Demir|山田 太郎|Bob"));
    auto bold = [&](int row) { return ui._tvList->model()->index(row, 0).data(Qt::FontRole).value<QFont>().bold(); };
    EXPECT_TRUE(bold(0));
    EXPECT_FALSE(bold(1));
    EXPECT_TRUE(bold(2));

    // Another card chosen within the second keeps the first one bold.
    clickRow(ui._tvList, 1);
    clickRow(ui._tvList, 2);
    clock.advance(900);
    clickRow(ui._tvList, 0);
    clock.advance(900);
    EXPECT_EQ(storedScanNow("E"), 1);
    EXPECT_TRUE(bold(2));
    clock.advance(100);
    EXPECT_EQ(storedScanNow("A"), 0);
    EXPECT_FALSE(bold(0));

    // Read-only: the mark stays. An unusable database folder: message 48, the mark stays.
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    clickRow(ui._tvList, 2);
    clock.advance(2000);
    EXPECT_EQ(storedScanNow("E"), 1);
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
    clickRow(ui._tvList, 1);
    clickRow(ui._tvList, 2);
    presenter.clear();
    const QString moved = database + QStringLiteral(".away");
    ASSERT_TRUE(QDir().rename(database, moved));
    clock.advance(1000);
    QDir().rename(moved, database);
    EXPECT_EQ(presenter.texts(), QStringList{PLMessage::errorText(48)});
    EXPECT_EQ(storedScanNow("E"), 1);
    EXPECT_TRUE(bold(2));
}

TEST_F(CardList, DeleteKeysAnnounceThemselvesAndAMenuDoesNotDropTheUndoRecord)
{
    auto window = startWithCards();
    QTableView* table = window->ui()._tvList;
    QList<const void*> keyDowns;
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(PLCardListTableView::kKeyDownNotification),
                                                    [&](const Notification& n) { keyDowns.append(n.object); });
    table->setFocus();
    QTest::keyClick(table, Qt::Key_Backspace);
    QTest::keyClick(table, Qt::Key_Delete);
    QTest::keyClick(table, Qt::Key_Down);
    NotificationCenter::defaultCenter().removeObserver(this);
    EXPECT_EQ(keyDowns, (QList<const void*>{table, table}));

    PLCardListUndoManager* undo = window->cardListController()->undoManagerForTableView(table);
    undo->registerUndo(QStringLiteral("Move"), [] {});
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(table, &popup);
    EXPECT_TRUE(undo->hasUndoRecords());
    QFocusEvent tab(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(table, &tab);
    EXPECT_FALSE(undo->hasUndoRecords());
}
