// The card list and the trash below it: two tables over the main window's two array controllers,
// their columns from the preferences, the folder and search filters, the selection.
//
// This is the frame's card list: columns, filters and selection. Sorting by the header, the
// column menu, the bold new cards, moves to the trash and its undo, and drag and drop grow here.
#pragma once

#include "app/ui/logic/PLCardListUndoManager.h"
#include "platform/foundation/PlistValue.h"

#include <QObject>
#include <QString>

#include <memory>

class CardTableModel;
class ManagedObjectContext;
class PLArrayController;
class PLOutlineViewController;
class QTableView;
class SelectionBridge;

class PLCardListController : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kColumnInfoKey = "tableView Column info";
    static constexpr const char* kTrashColumnInfoKey = "tarsh tableView Column info";

    explicit PLCardListController(QObject* parent = nullptr);
    ~PLCardListController() override;

    // Outlets.
    void setTables(QTableView* cards, QTableView* trash) { m_tableViewCard = cards; _trashTableView = trash; }
    void setArrayControllers(PLArrayController* cards, PLArrayController* trash) { _acWndCard = cards; _acWndCardInTrash = trash; }
    void setOutlineViewController(PLOutlineViewController* controller) { _outlineViewController = controller; }
    void awakeFromNib();

    // Fetches every card of `context` (null: none) into the list and the trash.
    void reloadCards(ManagedObjectContext* context);
    // Filters the list by the selected folder: the root shows every card, a folder its own;
    // cards in the trash never show.
    void setPredicate();
    // The folder filter narrowed to cards whose name or company holds `text` (case-insensitive).
    void setSearchPredicate(const QString& text);

    QTableView* returnTV() const { return m_tableViewCard; }
    QTableView* returnTrashTV() const { return _trashTableView; }
    // The card table's selected row (the one selected last); -1 for none.
    int currentSelected() const;
    // Selects the card alone and scrolls to it; false when the list does not show it.
    bool selectCardWithID(const QString& cardID);
    // Selects the cards the list shows of these; answers how many.
    int selectCardsWithIDs(const QStringList& cardIDs);
    // The column mask of the card list (the columns the search menu offers).
    int returnDisMenu() const;
    // The tables' columns in display order, each {"identify": key, "size": width}.
    PlistValue returnTVColumnInfo() const;
    PlistValue returnTrashTVColumnInfo() const;

    void showTrash() {}
    void changeSplitMaxHeight() {}

    // Undo of the card table: offered while the table has the focus and holds a record.
    bool validateUndoInTrashTable() const;
    bool doCheckBeforeUndo() const { return true; }
    // The card table's undo manager (one level), made on first request; null for other tables.
    PLCardListUndoManager* undoManagerForTableView(const QTableView* table);

signals:
    // The card table's selection changed (by the user or by code).
    void selectionDidChange();

private:
    QString selectedFolderFilterID() const;

    QTableView* m_tableViewCard = nullptr;
    QTableView* _trashTableView = nullptr;
    PLArrayController* _acWndCard = nullptr;
    PLArrayController* _acWndCardInTrash = nullptr;
    PLOutlineViewController* _outlineViewController = nullptr;
    CardTableModel* m_cardModel = nullptr;
    CardTableModel* m_trashModel = nullptr;
    SelectionBridge* m_cardBridge = nullptr;
    SelectionBridge* m_trashBridge = nullptr;
    std::unique_ptr<PLCardListUndoManager> _undoManager;
};
