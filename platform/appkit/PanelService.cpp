#include "platform/appkit/PanelService.h"

#include <QFileInfo>

#include <algorithm>

namespace {

PanelService* g_current = nullptr;
PanelService* g_application = nullptr;

// For a program without windows: every panel is cancelled.
class NoPanels : public PanelService {
public:
    QStringList runOpenPanel(const PanelRequest&) override { return {}; }
    QString runSavePanel(const PanelRequest&) override { return {}; }
    int runChoicePanel(const ChoicePanelRequest&) override { return -1; }
};

} // namespace

bool hasAllowedType(const QString& path, const QStringList& types)
{
    const QString suffix = QFileInfo(path).suffix();
    return std::any_of(types.begin(), types.end(), [&suffix](const QString& type) { return suffix.compare(type, Qt::CaseInsensitive) == 0; });
}

PanelService& PanelService::current()
{
    static NoPanels none;
    return g_current ? *g_current : g_application ? *g_application : none;
}

void PanelService::setCurrent(PanelService* service)
{
    g_current = service;
}

void PanelService::setApplicationService(PanelService* service)
{
    g_application = service;
}
