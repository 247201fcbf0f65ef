// The card list and the trash below it: two tables over the main window's two array controllers.
// Their columns come from the column preferences and the header's column menu; a header click
// sorts; the folder tree's folder and the search field filter them; a card that arrived in the
// last scan is bold in the card list until it has been the selected card for one second.
//
// Moves to the trash and their undo, and drag and drop, are the commands' part.
#pragma once

#include "app/ui/logic/CardListMenus.h"
#include "app/ui/logic/PLCardListUndoManager.h"
#include "app/ui/logic/SearchMenuItems.h"
#include "app/ui/views/PLCardListTableView.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/PlistValue.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CardTableModel;
class ManagedObjectContext;
class OpenDatabase;
class PLAppController;
class QAction;
struct Notification;
struct TreeNode;
class PLArrayController;
class PLOutlineViewController;
class QMenu;
class QTableView;
class SelectionBridge;

class PLCardListController : public QObject, public PLCardListTableView::Delegate {
    Q_OBJECT
public:
    static constexpr const char* kColumnInfoKey = "tableView Column info";
    static constexpr const char* kTrashColumnInfoKey = "tarsh tableView Column info";
    // Posted when the shown columns change; the main window rebuilds the search menu.
    static constexpr const char* kMenuDisplayChangeNotification = "Pelmora Menu display change";
    static constexpr int kNewCardDelayMs = 1000;

    // Drops the card list handles (posted by the tables' data source and by the folder tree).
    // Card rows dropped on the card list or on the trash; the flag under kDragDropKey is true
    // for the trash.
    static constexpr const char* kDragDropNotification = "Pelmora tableview in cardlist drag drop notification";
    static constexpr const char* kDragDropKey = "Pelmora userinfo key of drag drop";
    // Files dropped on the card list: their paths (a QStringList) under kFileNamesKey.
    static constexpr const char* kFileNamesDragDropNotification = "files dragged to tableview notification";
    static constexpr const char* kFileNamesKey = "Pelmora userinfo key of filenames";
    // Cards dropped on a folder: the table they came from (a QObject*) under kDraggingSourceKey,
    // the folder's identifier under kDraggingDestinationKey.
    static constexpr const char* kCardToFolderNotification = "Pelmora card to folder drag drop notification";
    static constexpr const char* kDraggingSourceKey = "Pelmora userinfo key of dragging source";
    static constexpr const char* kDraggingDestinationKey = "Pelmora userinfo key of dragging destination";
    // Files dropped on the list are read this long after the drop.
    static constexpr int kFileDropDelayMs = 500;

    // The moves of cards into, out of and within the trash, and the trash pane's switch, are
    // the trash's: the card list routes its menus, keys and drops to them. A command not given
    // is not offered.
    struct TrashCommands {
        std::function<void()> removeRecord;
        std::function<void()> removeRecordInTrash;
        std::function<void()> returnRecord;
        std::function<void(const TreeNode& folder)> returnRecordToFolder;
        std::function<void(const TreeNode& folder)> moveRecordToFolder;
        std::function<void()> showTrashTable;
        std::function<void()> showTrash;
        std::function<bool()> doCheckBeforeUndo;
    };

    // `database` is the open database whose folder the card list works in.
    explicit PLCardListController(const OpenDatabase& database, QObject* parent = nullptr);
    ~PLCardListController() override;

    // Outlets.
    void setTables(QTableView* cards, QTableView* trash) { m_tableViewCard = cards; _trashTableView = trash; }
    void setArrayControllers(PLArrayController* cards, PLArrayController* trash) { _acWndCard = cards; _acWndCardInTrash = trash; }
    void setOutlineViewController(PLOutlineViewController* controller) { _outlineViewController = controller; }
    // Saves the store (the main window's saveAction) once a new card has been looked at.
    void setSaveAction(std::function<void()> save) { m_saveAction = std::move(save); }
    void setTrashCommands(TrashCommands commands) { m_trashCommands = std::move(commands); }
    // Whether a sheet is up on the main window: every menu item is off then.
    void setHasAttachedSheet(std::function<bool()> hasAttachedSheet) { m_hasAttachedSheet = std::move(hasAttachedSheet); }
    // The application's Delete menu item, titled by the card table's focus.
    void setDeleteMenuItem(QAction* item);
    // The application delegate, which reads the files dropped on the list.
    void setAppController(PLAppController* appController) { _appController = appController; }
    // Files dropped on the list or on a folder of the tree become cards of `folder` (null: none
    // chosen): the folder is set at once, the files are read kFileDropDelayMs later on the
    // scheduler's clock. False without an application delegate.
    bool importDroppedFiles(const QStringList& paths, const TreeNode* folder);
    // Builds both tables' columns from the preferences and the display mode, and the column menu.
    void awakeFromNib();

    // Fetches every card of `context` (null: none) into the list and the trash.
    void reloadCards(ManagedObjectContext* context);
    // What a reload reads of every card: what the tables filter and sort by. The cards the
    // tables show and select are read whole; a search reads its attributes of every card.
    QStringList listedAttributes() const;
    // The trash shows the deleted cards; unless `keepCardListFilter`, the card list shows the
    // cards of the folder tree's folder (the root: the cards that have a folder).
    void setPredicate(bool keepCardListFilter = false);
    // Narrows both tables to the cards whose attributes of the search scope `scopeTag` (the tag
    // of the search menu's checked item) contain `text`, ignoring case; the root's search takes
    // the cards of every folder. An empty text returns to the folder filter.
    void setSearchPredicate(const QString& text, int scopeTag);
    // The search scope of the last search (the search menu's tag).
    int searchScopeTag() const { return m_searchScopeTag; }

    QTableView* returnTV() const { return m_tableViewCard; }
    QTableView* returnTrashTV() const { return _trashTableView; }
    QMenu* columnMenu() const { return m_cardTvMenu; }
    // The card table's selected row (the one selected last); -1 for none.
    int currentSelected() const;
    // The folder of the card at the selected row; null when no card is selected.
    QString selectedCardFolderID() const;
    // Selects the card alone and scrolls to it; false when the list does not show it.
    bool selectCardWithID(const QString& cardID);
    // Selects the cards the list shows of these; answers how many.
    int selectCardsWithIDs(const QStringList& cardIDs);
    // The column mask: which of the sixteen columns are shown (the search menu offers them).
    int returnDisMenu() const { return int(_intMenuDisplay); }
    // The tables' columns in display order, each {"identify": key, "size": width}.
    PlistValue returnTVColumnInfo() const;
    PlistValue returnTrashTVColumnInfo() const;

    // The column menu's action for the column of `tag`: shows or hides it in both tables. The
    // full name column always stays.
    void switchAction(int tag);
    // Returns the table to its default order when it was sorted by `attribute` or not at all.
    void resetSort(QTableView* table, const QString& attribute);
    // A click on the header of the column at `logicalIndex`: ascending, descending, default order.
    void tableViewDidClickTableColumn(QTableView* table, int logicalIndex);
    // Ends the bold mark of the card: scanNow 0, saved. When the database folder is unusable,
    // message 48 is shown and the mark stays.
    void displayFont(const QString& cardID);

    // Once the panes are laid out: the trash shown or hidden as it was left.
    void showTrash()
    {
        if (m_trashCommands.showTrash)
            m_trashCommands.showTrash();
    }
    // The card list pane below the image pane: its height, and the main window's two settings of
    // the vertical split by the list pane's height (the image pane takes the rest).
    struct ListPaneCommands {
        std::function<int()> getCardListViewHeight;
        std::function<void(int listHeight)> SetImgViewHeight;
        std::function<void(int listHeight)> SetSplitMaxHeight;
    };
    void setListPaneCommands(ListPaneCommands commands) { m_listPane = std::move(commands); }
    // Keeps kCardListMinRows rows of the card table in the card list pane: a lower pane is raised
    // to them, and the image pane may not grow into them.
    void changeSplitMaxHeight();
    // The height of kCardListMinRows rows of the card table.
    int minimumListPaneHeight() const;

    // Undo of the card table: offered while the table has the focus and holds a record.
    bool validateUndoInTrashTable() const;
    // Whether an undo may run now (the trash checks the database folder and the disk).
    bool doCheckBeforeUndo() const { return !m_trashCommands.doCheckBeforeUndo || m_trashCommands.doCheckBeforeUndo(); }
    // The card table's undo manager (one level), made on first request; null for other tables.
    PLCardListUndoManager* undoManagerForTableView(const QTableView* table) override;
    // The card table lost the focus, or another database opened: its undo record is dropped.
    void lostUndo(const QTableView* table);
    // Titles the Delete menu item for the card table having the focus (true) or losing it.
    void changeDeleteMenuItemTitle(bool cardTableActive);
    // The Delete keys ("key down") and the Edit menu's Delete: the card table's selection goes
    // to the trash, the trash's is deleted for good; nothing in a read-only database.
    void keyDeleteRec(const Notification& notification);
    void deleteTableViewItem(QWidget* firstResponder) override;
    bool canDeleteRecords() const override;

    // The contextual menus of the card table and of the trash, and the rule of their items.
    QMenu* cardTableMenu() const { return m_cardTableMenu; }
    QMenu* trashTableMenu() const { return m_trashTableMenu; }
    CardListMenus::Validation validateMenuItem(CardListMenus::Command command, int tag = 0) const;

    // Drops: card rows onto a table, files onto the card list, cards onto a folder.
    void respondToDragDropNotification(const Notification& notification);
    void respondToFileNamesDragDropNotification(const Notification& notification);
    void respondToDragCardToAnotherFolderNotification(const Notification& notification);

signals:
    // The card table's selection changed (by the user or by code), or the rows it is counted in.
    void selectionDidChange();

private:
    void setupTable(QTableView* table, CardTableModel* model, const PlistValue& preference);
    void createContextualMenus();
    QMenu* contextualMenu(QTableView* table, const QList<std::pair<CardListMenus::Command, const char*>>& items);
    void registerDragDropObservers();
    void contextObjectsDidChange(const Notification& notification);
    void createTableViewMenu();
    void showSortIndicator(QTableView* table);
    void tableViewSelectionDidChange();
    PLArrayController* arrayControllerOf(const QTableView* table) const;
    CardTableModel* modelOf(const QTableView* table) const;

    QTableView* m_tableViewCard = nullptr;
    QTableView* _trashTableView = nullptr;
    QMenu* m_cardTvMenu = nullptr;
    PLArrayController* _acWndCard = nullptr;
    PLArrayController* _acWndCardInTrash = nullptr;
    PLOutlineViewController* _outlineViewController = nullptr;
    quint32 _intMenuDisplay = 0;
    int m_displayMode = 0;
    Scheduler::PerformId _timerDisplay = 0;
    ManagedObjectContext* m_context = nullptr;
    std::function<void()> m_saveAction;
    CardTableModel* m_cardModel = nullptr;
    CardTableModel* m_trashModel = nullptr;
    SelectionBridge* m_cardBridge = nullptr;
    SelectionBridge* m_trashBridge = nullptr;
    std::unique_ptr<PLCardListUndoManager> _undoManager;
    const OpenDatabase& m_database;
    QAction* _deleteMenuItem = nullptr;
    PLAppController* _appController = nullptr;
    QMenu* m_cardTableMenu = nullptr;
    QMenu* m_trashTableMenu = nullptr;
    TrashCommands m_trashCommands;
    ListPaneCommands m_listPane;
    int m_searchScopeTag = SearchMenuItems::kAllTag;
    std::function<bool()> m_hasAttachedSheet;
};
