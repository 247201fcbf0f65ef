#include "app/images/merge/PLMergeCardUndoManager.h"

#include "app/images/merge/PLCardMergerWindowController.h"

void PLMergeCardUndoManager::registerUndo(const QString& actionName, Action action)
{
    m_actions.push_back(Entry{actionName, std::move(action)});
}

bool PLMergeCardUndoManager::undo()
{
    if (m_actions.empty() || (_controller && !_controller->doCheckBeforeCancel()))
        return false;
    if (!m_actions.back().action())
        return false;
    m_actions.pop_back();
    return true;
}
