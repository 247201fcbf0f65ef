// The card list and the trash below it: two tables over the main window's two array controllers.
// Their columns come from the column preferences and the header's column menu; a header click
// sorts; the folder tree's folder and the search field filter them; a card that arrived in the
// last scan is bold in the card list until it has been the selected card for one second.
//
// Moves to the trash and their undo, and drag and drop, are the commands' part.
#pragma once

#include "app/ui/logic/PLCardListUndoManager.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/PlistValue.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class CardTableModel;
class ManagedObjectContext;
class OpenDatabase;
class PLArrayController;
class PLOutlineViewController;
class QMenu;
class QTableView;
class SelectionBridge;

class PLCardListController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kColumnInfoKey = "tableView Column info";
    static constexpr const char* kTrashColumnInfoKey = "tarsh tableView Column info";
    // Posted when the shown columns change; the main window rebuilds the search menu.
    static constexpr const char* kMenuDisplayChangeNotification = "Pelmora Menu display change";
    static constexpr int kNewCardDelayMs = 1000;

    // `database` is the open database whose folder the card list works in.
    explicit PLCardListController(const OpenDatabase& database, QObject* parent = nullptr);
    ~PLCardListController() override;

    // Outlets.
    void setTables(QTableView* cards, QTableView* trash) { m_tableViewCard = cards; _trashTableView = trash; }
    void setArrayControllers(PLArrayController* cards, PLArrayController* trash) { _acWndCard = cards; _acWndCardInTrash = trash; }
    void setOutlineViewController(PLOutlineViewController* controller) { _outlineViewController = controller; }
    // Saves the store (the main window's saveAction) once a new card has been looked at.
    void setSaveAction(std::function<void()> save) { m_saveAction = std::move(save); }
    // Builds both tables' columns from the preferences and the display mode, and the column menu.
    void awakeFromNib();

    // Fetches every card of `context` (null: none) into the list and the trash.
    void reloadCards(ManagedObjectContext* context);
    // The trash shows the deleted cards; unless `keepCardListFilter`, the card list shows the
    // cards of the folder tree's folder (the root: the cards that have a folder).
    void setPredicate(bool keepCardListFilter = false);
    // Narrows both tables to the cards whose attributes of the search scope `scopeTag` (the tag
    // of the search menu's checked item) contain `text`, ignoring case; the root's search takes
    // the cards of every folder. An empty text returns to the folder filter.
    void setSearchPredicate(const QString& text, int scopeTag);

    QTableView* returnTV() const { return m_tableViewCard; }
    QTableView* returnTrashTV() const { return _trashTableView; }
    QMenu* columnMenu() const { return m_cardTvMenu; }
    // The card table's selected row (the one selected last); -1 for none.
    int currentSelected() const;
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

    void showTrash() {}
    void changeSplitMaxHeight() {}

    // Undo of the card table: offered while the table has the focus and holds a record.
    bool validateUndoInTrashTable() const;
    bool doCheckBeforeUndo() const { return true; }
    // The card table's undo manager (one level), made on first request; null for other tables.
    PLCardListUndoManager* undoManagerForTableView(const QTableView* table);

signals:
    // The card table's selection changed (by the user or by code), or the rows it is counted in.
    void selectionDidChange();

private:
    void setupTable(QTableView* table, CardTableModel* model, const PlistValue& preference);
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
};
