// The merge window's undo manager: one explicit group per merge, undone newest first once the
// window controller's checks pass. There is no redo. An undo action that fails stays on the stack,
// so it can be tried again.
#pragma once

#include <QString>

#include <functional>
#include <vector>

class PLCardMergerWindowController;

class PLMergeCardUndoManager {
public:
    // Answers whether the action was done; a failed one stays on the stack.
    using Action = std::function<bool()>;

    void setCardMergerWindowController(PLCardMergerWindowController* controller) { _controller = controller; }
    void registerUndo(const QString& actionName, Action action);
    bool canUndo() const { return !m_actions.empty(); }
    bool canRedo() const { return false; }
    QString undoActionName() const { return m_actions.empty() ? QString() : m_actions.back().name; }
    // Runs the newest action when the controller's checks pass; true when it was done.
    bool undo();
    void removeAllActions() { m_actions.clear(); }

private:
    struct Entry {
        QString name;
        Action action;
    };
    PLCardMergerWindowController* _controller = nullptr;
    std::vector<Entry> m_actions;
};
