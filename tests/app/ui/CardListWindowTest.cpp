// The card list as the user meets it in the main window: the folder tree's folder, the search
// field narrowing as the user types, the trash, the header's sort cycle, the column menu kept
// to the next start, and new cards bold until looked at for a second.
#include "app/core/CardEntities.h"
#include "app/core/CardFolder.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/core/PLAppController.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLCardListController.h"
#include "app/ui/PLEditMenu.h"
#include "app/ui/PLOutlineViewController.h"
#include "app/ui/PLMainWindowController.h"
#include "app/ui/logic/PLArrayController.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"
#include "tests/app/core/TestBundle.h"
#include "tests/app/ui/MainWindowStart.h"
#include "tests/support/appkit/ManualClock.h"
#include "tests/support/appkit/ScriptedMessagePresenter.h"

#include <QContextMenuEvent>
#include <QDialog>
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
        return startMainWindow(openDatabase, database);
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
    // Replaces the field's text in one key event, as a paste or an input method hands text over.
    static void pasteOver(QLineEdit* field, const QString& text)
    {
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QCoreApplication::sendEvent(field, &press);
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
    pasteOver(ui._searchFiled, QString(10000, QLatin1Char('u')));
    EXPECT_EQ(ui._searchFiled->text().size(), 10000);
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

TEST_F(CardList, StoredWidthsOutOfRangeOpenWithinTheColumnLimits)
{
    auto entry = [](const char* identify, const PlistValue& size) {
        PlistValue::Dictionary d;
        d.insert(QStringLiteral("identify"), QString::fromLatin1(identify));
        d.insert(QStringLiteral("size"), size);
        return PlistValue(d);
    };
    PreferenceDomain::standard().setValue(QString::fromLatin1(PLCardListController::kColumnInfoKey),
                                          PlistValue::Array{entry("full_Name", 5000.0), entry("company", -3.0), entry("e_Mail", QStringLiteral("wide"))});
    auto window = startWithCards();
    const QTableView* table = window->ui()._tvList;
    ASSERT_EQ(table->model()->columnCount(), 3);
    EXPECT_EQ(table->columnWidth(0), 1000);
    EXPECT_EQ(table->columnWidth(1), 80);
    EXPECT_EQ(table->columnWidth(2), 100);
    // The mask joins the trash's default columns (its preference is missing).
    EXPECT_EQ(window->cardListController()->returnDisMenu(), 0x1205);
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

namespace {

using Item = PLEditMenu::Item;

// What the card list asked of the trash, one word per command.
struct TrashCalls {
    QStringList calls;
    PLCardListController::TrashCommands commands()
    {
        return {[this] { calls.append(QStringLiteral("removeRecord")); },
                [this] { calls.append(QStringLiteral("removeRecordInTrash")); },
                [this] { calls.append(QStringLiteral("returnRecord")); },
                [this](const TreeNode& folder) { calls.append(QStringLiteral("returnRecordToFolder ") + folder.folderName); },
                [this](const TreeNode& folder) { calls.append(QStringLiteral("moveRecordToFolder ") + folder.folderName); },
                [this] { calls.append(QStringLiteral("showTrashTable")); },
                {},
                {}};
    }
    QStringList take() { return std::exchange(calls, {}); }
};

// Opens the table's contextual menu as a right click does; answers the items' states as
// "title:enabled/checked" flags ("+" on, "-" off), then closes it.
QStringList openContextualMenu(QTableView* table)
{
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(5, 5), table->viewport()->mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(table->viewport(), &click);
    QStringList states;
    auto* view = qobject_cast<PLCardListTableView*>(table);
    QMenu* menu = view ? view->menu() : nullptr;
    if (!menu)
        return states;
    EXPECT_TRUE(menu->isVisible());
    for (const QAction* item : menu->actions()) {
        if (!item->isSeparator())
            states.append(item->text() + QLatin1Char(':') + (item->isEnabled() ? QLatin1Char('+') : QLatin1Char('-')) +
                          (item->isChecked() ? QLatin1Char('+') : QLatin1Char('-')));
    }
    menu->close();
    return states;
}

void trigger(QTableView* table, const QString& title)
{
    for (QAction* item : qobject_cast<PLCardListTableView*>(table)->menu()->actions()) {
        if (item->text() == title) {
            item->trigger();
            return;
        }
    }
    ADD_FAILURE() << "no item " << title.toStdString();
}

} // namespace

TEST_F(CardList, TheEditMenuUndoesInTheCardTableAndDeleteIsTitledByItsFocus)
{
    auto window = startWithCards();
    window->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window->window(), 60000)); // the minute only guards against a hang
    const MainWindowUi& ui = window->ui();
    PLEditMenu* edit = window->editMenu();
    QTableView* table = ui._tvList;
    clickTreeRow(ui._outlineView, ui._outlineView->model()->index(0, 0));
    auto offered = [edit](Item item) {
        edit->validate();
        return edit->action(item)->isEnabled();
    };
    const QString moveTitle = QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE");
    const QString deleteTitle = QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_DEACTIVE");
    EXPECT_EQ(edit->deleteMenuItem()->text(), deleteTitle);

    clickRow(table, 0);
    table->setFocus(Qt::MouseFocusReason);
    ASSERT_EQ(window->window()->focusWidget(), table);
    EXPECT_EQ(edit->deleteMenuItem()->text(), moveTitle);
    int undone = 0;
    PLCardListUndoManager* undo = window->cardListController()->undoManagerForTableView(table);
    undo->registerUndo(QStringLiteral("Move"), [&] { ++undone; });

    // The menu opened over the table offers Undo under the record's name, and no clipboard.
    edit->menu()->popup(QPoint(10, 10));
    EXPECT_TRUE(edit->action(Item::Undo)->isEnabled());
    EXPECT_EQ(edit->action(Item::Undo)->text(), QStringLiteral("IDS_MENU_UNDO Move"));
    for (Item item : {Item::Redo, Item::Cut, Item::Copy, Item::Paste})
        EXPECT_FALSE(edit->action(item)->isEnabled()) << int(item);
    EXPECT_TRUE(edit->action(Item::Delete)->isEnabled());
    edit->menu()->close();
    EXPECT_EQ(edit->deleteMenuItem()->text(), moveTitle) << "a menu taking the focus is not a lost focus";
    edit->action(Item::Undo)->trigger();
    edit->action(Item::Undo)->trigger();
    EXPECT_EQ(undone, 1);
    EXPECT_FALSE(offered(Item::Undo));

    edit->action(Item::SelectAll)->trigger();
    EXPECT_EQ(table->selectionModel()->selectedRows().size(), 3);

    // Read-only: Delete is off. The trash taking the focus drops the record and retitles Delete.
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    EXPECT_FALSE(offered(Item::Delete));
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
    undo->registerUndo(QStringLiteral("Move"), [&] { ++undone; });
    ui._trashTableView->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(edit->deleteMenuItem()->text(), deleteTitle);
    EXPECT_FALSE(undo->hasUndoRecords());
    EXPECT_FALSE(offered(Item::Undo));

    // The search field keeps its own undo, reached through the same menu.
    ui._searchFiled->setFocus(Qt::MouseFocusReason);
    type(ui._searchFiled, QStringLiteral("bo"));
    ASSERT_TRUE(offered(Item::Undo));
    EXPECT_EQ(edit->action(Item::Undo)->text(), QStringLiteral("IDS_MENU_UNDO"));
    edit->action(Item::SelectAll)->trigger();
    EXPECT_TRUE(offered(Item::Copy));
    edit->action(Item::Undo)->trigger();
    EXPECT_TRUE(ui._searchFiled->text().isEmpty());

    // A sheet on the window turns every item off.
    type(ui._searchFiled, QStringLiteral("x"));
    QDialog sheet(window->window());
    sheet.setWindowModality(Qt::WindowModal);
    sheet.show();
    for (Item item : {Item::Undo, Item::SelectAll})
        EXPECT_FALSE(edit->validateItem(item)) << int(item);
    sheet.close();
    EXPECT_TRUE(edit->validateItem(Item::SelectAll));
}

TEST_F(CardList, ContextualMenusKeysAndDropsReachTheTrashByTheirRules)
{
    auto window = startWithCards();
    const MainWindowUi& ui = window->ui();
    PLCardListController* list = window->cardListController();
    QTreeView* tree = ui._outlineView;
    const QModelIndex root = tree->model()->index(0, 0);
    clickTreeRow(tree, root);
    ui._tvList->selectionModel()->clearSelection();
    ui._trashTableView->selectionModel()->clearSelection();

    // Without the trash's commands nothing of it is offered.
    list->setTrashCommands({});
    EXPECT_EQ(openContextualMenu(ui._tvList).mid(0, 2), QStringList({QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE:--"),
                                                                   QStringLiteral("IDS_MENU_SHOW_TRASH:-+")}));
    TrashCalls trash;
    list->setTrashCommands(trash.commands());
    EXPECT_EQ(openContextualMenu(ui._tvList).mid(0, 2), QStringList({QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE:--"),
                                                                   QStringLiteral("IDS_MENU_SHOW_TRASH:++")}));
    EXPECT_EQ(openContextualMenu(ui._trashTableView),
              QStringList({QStringLiteral("IDS_MENU_RETURN_RECORD:--"), QStringLiteral("IDS_MENU_DELETE_RECORD_IN_TRASH:--"),
                           QStringLiteral("IDS_MENU_SHOW_TRASH:++")}));

    // A selected row offers its table's commands, wherever the right click falls.
    clickRow(ui._tvList, 1);
    clickRow(ui._trashTableView, 0);
    EXPECT_EQ(openContextualMenu(ui._tvList).value(0), QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE:+-"));
    EXPECT_EQ(openContextualMenu(ui._trashTableView).mid(0, 2),
              QStringList({QStringLiteral("IDS_MENU_RETURN_RECORD:+-"), QStringLiteral("IDS_MENU_DELETE_RECORD_IN_TRASH:+-")}));
    trigger(ui._tvList, QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE"));
    trigger(ui._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    trigger(ui._trashTableView, QStringLiteral("IDS_MENU_DELETE_RECORD_IN_TRASH"));
    trigger(ui._trashTableView, QStringLiteral("IDS_MENU_SHOW_TRASH"));
    EXPECT_EQ(trash.take(), QStringList({QStringLiteral("removeRecord"), QStringLiteral("returnRecord"),
                                         QStringLiteral("removeRecordInTrash"), QStringLiteral("showTrashTable")}));

    // The Delete keys and the Edit menu's Delete, each table its own command.
    QTest::keyClick(ui._tvList, Qt::Key_Backspace);
    QTest::keyClick(ui._trashTableView, Qt::Key_Delete);
    ui._tvList->setFocus(Qt::MouseFocusReason);
    window->editMenu()->perform(Item::Delete);
    EXPECT_EQ(trash.take(), QStringList({QStringLiteral("removeRecord"), QStringLiteral("removeRecordInTrash"),
                                         QStringLiteral("removeRecord")}));

    // Read-only or under a sheet: no trash command runs, by key or by a stale menu item.
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeReadOnly);
    EXPECT_EQ(openContextualMenu(ui._tvList).value(0), QStringLiteral("IDS_DELETE_MENU_ITEM_WHEN_CARD_TABLEVIEW_ACTIVE:--"));
    QTest::keyClick(ui._tvList, Qt::Key_Delete);
    trigger(ui._trashTableView, QStringLiteral("IDS_MENU_RETURN_RECORD"));
    PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
    {
        QDialog sheet(window->window());
        sheet.setWindowModality(Qt::WindowModal);
        sheet.show();
        EXPECT_EQ(list->validateMenuItem(CardListMenus::Command::ShowTrashTable, 1).enabled, false);
        trigger(ui._tvList, QStringLiteral("IDS_MENU_SHOW_TRASH"));
    }
    EXPECT_TRUE(trash.take().isEmpty());

    // Card rows dropped on the trash go there; on the list they come back: each to its own
    // folder from the root, into the folder shown elsewhere.
    NotificationCenter& center = NotificationCenter::defaultCenter();
    const QString dragDrop = QString::fromLatin1(PLCardListController::kDragDropNotification);
    const QString key = QString::fromLatin1(PLCardListController::kDragDropKey);
    center.post(dragDrop, nullptr, {{key, true}});
    center.post(dragDrop, nullptr, {{key, false}});
    clickTreeRow(tree, tree->model()->index(0, 0, root));
    const QString inbox = window->outlineViewController()->getSelectedItem()->folderName;
    center.post(dragDrop, nullptr, {{key, false}});
    // Cards dropped on a folder: moved from the list, restored from the trash, else refused.
    const QString toFolder = QString::fromLatin1(PLCardListController::kCardToFolderNotification);
    auto dropOnFolder = [&](QObject* source, const QString& folderID) {
        center.post(toFolder, nullptr,
                    {{QString::fromLatin1(PLCardListController::kDraggingSourceKey), QVariant::fromValue(source)},
                     {QString::fromLatin1(PLCardListController::kDraggingDestinationKey), folderID}});
    };
    dropOnFolder(ui._tvList, inboxID(*window));
    dropOnFolder(ui._trashTableView, inboxID(*window));
    dropOnFolder(ui._outlineView, inboxID(*window));
    dropOnFolder(ui._tvList, QStringLiteral("NO-SUCH-FOLDER"));
    EXPECT_EQ(trash.take(), QStringList({QStringLiteral("removeRecord"), QStringLiteral("returnRecord"),
                                         QStringLiteral("returnRecordToFolder ") + inbox, QStringLiteral("moveRecordToFolder ") + inbox,
                                         QStringLiteral("returnRecordToFolder ") + inbox}));
}

TEST_F(CardList, FilesDroppedOnTheListGoToTheIntakeForTheShownFolderHalfASecondLater)
{
    auto window = startWithCards();
    PLAppController app(window.get(), window->database(), makeApplicationServices(), Bundle::main());
    window->setAppController(&app);
    QTreeView* tree = window->ui()._outlineView;
    clickTreeRow(tree, tree->model()->index(0, 0, tree->model()->index(0, 0)));

    // A file that is no card: the intake reads it and says so, half a second after the drop.
    const QString path = temp.filePath(QStringLiteral("note.txt"));
    QFile note(path);
    ASSERT_TRUE(note.open(QIODevice::WriteOnly));
    note.write("not a card");
    note.close();
    presenter.clear();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(PLCardListController::kFileNamesDragDropNotification), nullptr,
                                             {{QString::fromLatin1(PLCardListController::kFileNamesKey), QStringList{path}}});
    ASSERT_TRUE(app.belongFolder().has_value());
    EXPECT_EQ(app.belongFolder()->folderID, inboxID(*window));
    EXPECT_EQ(app.belongFolder()->folderType, kFolderTypeInbox);
    clock.advance(PLCardListController::kFileDropDelayMs - 1);
    EXPECT_TRUE(presenter.texts().isEmpty());
    clock.advance(1);
    EXPECT_FALSE(presenter.texts().isEmpty());
}

TEST_F(CardList, InTheRootTheFolderStatusNamesTheSelectedCardsFolder)
{
    auto window = startWithCards();
    const MainWindowUi& ui = window->ui();
    QTreeView* tree = ui._outlineView;
    clickTreeRow(tree, tree->model()->index(0, 0));
    const TreeNode* root = window->outlineViewController()->getSelectedItem();
    ASSERT_NE(root, nullptr);
    ui._tvList->selectionModel()->clearSelection();
    EXPECT_EQ(ui._bottomFolderStatusLabel->text(), QStringLiteral("IDS_FOLDER_STATUS_NORMAL :"));
    EXPECT_EQ(ui._bottomFolderStatusPath->text(), root->folderName);

    clickRow(ui._tvList, 0);
    EXPECT_EQ(ui._bottomFolderStatusLabel->text(), QStringLiteral("IDS_FOLDER_STATUS_ROOT :"));
    const TreeNode* inbox = window->outlineViewController()->getTreeNodeByFolderID(inboxID(*window));
    ASSERT_NE(inbox, nullptr);
    EXPECT_EQ(ui._bottomFolderStatusPath->text(), inbox->folderName);

    // A folder other than the root shows its own path, whatever card is selected.
    clickTreeRow(tree, tree->model()->index(0, 0, tree->model()->index(0, 0)));
    clickRow(ui._tvList, 0);
    EXPECT_EQ(ui._bottomFolderStatusLabel->text(), QStringLiteral("IDS_FOLDER_STATUS_NORMAL :"));
    EXPECT_EQ(ui._bottomFolderStatusPath->text(), inbox->folderName);
}

TEST_F(CardList, ScrollingThroughALongListKeepsOnlyAFewCardsAsObjects)
{
    constexpr int kCards = 800;
    {
        auto window = start();
        ManagedObjectContext* context = window->managedObjectContext();
        const QString inbox = inboxID(*window);
        for (int i = 0; i < kCards; ++i) {
            const ManagedObjectPtr card = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCard));
            card->setValue(QStringLiteral("cardID"), QStringLiteral("card-%1").arg(i));
            card->setValue(QStringLiteral("full_Name"), QStringLiteral("Name %1").arg(i));
            card->setValue(QStringLiteral("deletedFlag"), 0);
            const ManagedObjectPtr belong = context->insertNewObject(QString::fromLatin1(CardStore::kEntityCardBelong));
            belong->setValue(QStringLiteral("cardID"), card->stringValue(QStringLiteral("cardID")));
            assignCardFolder(*card, *belong, inbox);
            belong->setRelatedObject(QStringLiteral("ToCardRelation"), card);
        }
        window->saveAction();
        window->window()->close();
    }
    auto window = start();
    QTableView* table = window->ui()._tvList;
    ASSERT_TRUE(window->outlineViewController()->openFolderWithFolderID(inboxID(*window)));
    QCoreApplication::processEvents();
    ASSERT_EQ(table->model()->rowCount(), kCards);
    const ManagedObjectPtr held = window->arrayController()->arrangedObject(kCards - 1);

    // Every row is drawn on the way down; the objects of those scrolled past are let go.
    for (int row = 0; row < kCards; row += 4) {
        table->scrollTo(table->model()->index(row, 0));
        QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const ManagedObjectContext* context = window->managedObjectContext();
    EXPECT_LE(context->liveObjectCount(QString::fromLatin1(CardStore::kEntityCard)), qsizetype(ArrayController::kHeldMadeObjects) + 2);
    // A row made again while someone holds its object gives that same object.
    table->scrollToTop();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->arrayController()->arrangedObject(kCards - 1), held);
}
