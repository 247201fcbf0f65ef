// The table of the card list and of the trash: the Delete and Backspace keys post "key down"
// with the table as object, and focus changes are reported. A menu or a window switch taking
// the focus away is not a lost focus: the undo record must survive opening the Edit menu.
// The Edit menu's Undo and Delete reach the table's delegate (the card list); the contextual
// menu is the table's menu wherever the click falls. A drag of the selected rows carries what the
// drag source writes for them, and leaves the rows where they are whatever the drop did.
#pragma once

#include <QTableView>

#include <functional>

class PLCardListUndoManager;
class QMenu;
class QMimeData;

class PLCardListTableView : public QTableView {
    Q_OBJECT
public:
    static constexpr const char* kKeyDownNotification = "key down";

    // What the table asks of the card list.
    class Delegate {
    public:
        virtual ~Delegate() = default;
        // Null: the table has no undo of its own.
        virtual PLCardListUndoManager* undoManagerForTableView(const QTableView* table) = 0;
        // The Edit menu's Delete with `firstResponder` the window's focused widget.
        virtual void deleteTableViewItem(QWidget* firstResponder) = 0;
        // Whether Delete may run: not in a read-only database.
        virtual bool canDeleteRecords() const = 0;
    };

    using QTableView::QTableView;

    void setTableDelegate(Delegate* delegate) { m_delegate = delegate; }
    void setMenu(QMenu* menu) { m_menu = menu; }
    QMenu* menu() const { return m_menu; }
    // What a drag of the selected rows carries (null: no drag), and the operations it offers.
    using DragSource = std::function<QMimeData*(const QList<int>& rows)>;
    void setDragSource(DragSource source, Qt::DropActions actions)
    {
        m_dragSource = std::move(source);
        m_dragActions = actions;
    }

    // The Edit menu's items as this table decides them. `undoTitle` receives the undo
    // manager's menu title when Undo is offered.
    bool validateUndo(QString* undoTitle = nullptr);
    bool validateDelete() const;
    // Undoes the last step of the table's undo manager; false when there was none to undo.
    bool undo();
    void deleteItem();
    PLCardListUndoManager* undoManager();

signals:
    // becomeFirstResponder (true) and resignFirstResponder (false).
    void firstResponderChanged(bool isFirstResponder);
    // The focus went elsewhere in the window: the one-level undo record is dropped.
    void lostUndo();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    Delegate* m_delegate = nullptr;
    QMenu* m_menu = nullptr;
    DragSource m_dragSource;
    Qt::DropActions m_dragActions;
};
