#include "app/ui/logic/PLCardListUndoManager.h"

#include "app/core/LocalString.h"

void PLCardListUndoManager::setLevelsOfUndo(int levels)
{
    m_levels = std::max(0, levels);
    while (m_levels > 0 && int(m_steps.size()) > m_levels)
        m_steps.pop_front();
}

void PLCardListUndoManager::registerUndo(const QString& actionName, std::function<void()> undo)
{
    m_steps.push_back({actionName, std::move(undo)});
    setLevelsOfUndo(m_levels);
}

bool PLCardListUndoManager::canUndo() const
{
    return _controller.validateUndoInTrashTable && _controller.validateUndoInTrashTable();
}

bool PLCardListUndoManager::undo()
{
    if (m_steps.empty())
        return false;
    if (_controller.doCheckBeforeUndo && !_controller.doCheckBeforeUndo())
        return false;
    Step step = std::move(m_steps.back());
    m_steps.pop_back();
    step.undo();
    return true;
}

QString PLCardListUndoManager::undoMenuItemTitle() const
{
    const QString undo = getLocalString(QStringLiteral("IDS_MENU_UNDO"));
    const QString name = undoActionName();
    return name.isEmpty() ? undo : undo + QLatin1Char(' ') + name;
}
