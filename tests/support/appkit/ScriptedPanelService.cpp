#include "tests/support/appkit/ScriptedPanelService.h"

#include "platform/appkit/ModalScope.h"

ScriptedPanelService::ScriptedPanelService()
{
    PanelService::setCurrent(this);
}

ScriptedPanelService::~ScriptedPanelService()
{
    PanelService::setCurrent(nullptr);
}

QStringList ScriptedPanelService::runOpenPanel(const PanelRequest& request)
{
    ModalScope scope;
    m_requests.append(request);
    if (m_openAnswers.empty())
        return {};
    QStringList paths;
    for (const QString& path : m_openAnswers.front()) {
        if (!request.isValidFilename || request.isValidFilename(path))
            paths.append(path);
    }
    m_openAnswers.pop_front();
    return paths;
}

QString ScriptedPanelService::runSavePanel(const PanelRequest& request)
{
    ModalScope scope;
    m_requests.append(request);
    if (m_saveAnswers.empty())
        return QString();
    const QString path = m_saveAnswers.front();
    m_saveAnswers.pop_front();
    return path;
}

int ScriptedPanelService::runChoicePanel(const ChoicePanelRequest& request)
{
    ModalScope scope;
    m_choiceRequests.append(request);
    if (m_choiceAnswers.empty())
        return -1;
    const int row = m_choiceAnswers.front();
    m_choiceAnswers.pop_front();
    return row;
}
