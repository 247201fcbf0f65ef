// The main window's Edit menu: Undo, Redo, Cut, Copy, Paste, Delete and Select All act on the
// window's focused widget. A card table's Undo and Delete go to the card list (its undo manager
// and its trash commands); text fields keep their own undo and clipboard. Every item is off
// while a sheet is up on the window.
//
// Items are validated when the menu opens and again when they run, so a shortcut never runs a
// command its rule refuses.
#pragma once

#include <QObject>

#include <functional>

class QAction;
class QMenu;
class QWidget;

class PLEditMenu : public QObject {
    Q_OBJECT
public:
    enum class Item { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };

    // `window` gets the items' shortcuts; `hasAttachedSheet` tells whether a sheet is up on it.
    PLEditMenu(QWidget& window, std::function<bool()> hasAttachedSheet);

    QMenu* menu() const { return m_menu; }
    QAction* action(Item item) const;
    // The Delete item: the card list titles it by the card table's focus.
    QAction* deleteMenuItem() const { return action(Item::Delete); }

    // Enables each item (and titles Undo) for the focused widget.
    void validate();
    // Whether the item may run now on the focused widget; `undoTitle` receives Undo's title.
    bool validateItem(Item item, QString* undoTitle = nullptr) const;
    // Runs the item on the focused widget when its rule allows it.
    void perform(Item item);

private:
    QWidget& m_window;
    std::function<bool()> m_hasAttachedSheet;
    QMenu* m_menu = nullptr;
    QList<QAction*> m_actions;
};
