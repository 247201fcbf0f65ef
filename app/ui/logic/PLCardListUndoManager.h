// The undo manager of the card table: the card list decides whether Undo is offered and may
// refuse an undo; Redo is never offered. It keeps at most `levelsOfUndo` steps (the card list
// sets 1), dropping the oldest. An undo that is refused keeps its record.
#pragma once

#include <QString>

#include <deque>
#include <functional>

class PLCardListUndoManager {
public:
    // What the manager asks the card list; an empty function counts as "not implemented".
    struct Controller {
        std::function<bool()> validateUndoInTrashTable;
        std::function<bool()> doCheckBeforeUndo;
    };

    void setController(Controller controller) { _controller = std::move(controller); }
    void setLevelsOfUndo(int levels);
    int levelsOfUndo() const { return m_levels; }

    // Records one step; `undo` puts the change back.
    void registerUndo(const QString& actionName, std::function<void()> undo);
    void removeAllActions() { m_steps.clear(); }
    bool hasUndoRecords() const { return !m_steps.empty(); }
    QString undoActionName() const { return m_steps.empty() ? QString() : m_steps.back().name; }
    // The Undo menu item's title: "Undo" followed by the action's name when it has one.
    QString undoMenuItemTitle() const;

    bool canUndo() const;
    bool canRedo() const { return false; }
    // Undoes the last step unless the card list refuses; answers whether it was undone.
    bool undo();

private:
    struct Step {
        QString name;
        std::function<void()> undo;
    };
    Controller _controller;
    std::deque<Step> m_steps;
    int m_levels = 0; // 0: no limit
};
