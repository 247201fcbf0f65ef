#include "app/core/PLDatabasePanels.h"

#include "platform/appkit/PanelService.h"

namespace {

PLDatabasePanels* g_panels = nullptr;

PanelRequest panelRequest(const PLDatabasePanels::Request& request)
{
    PanelRequest panel;
    panel.window = request.window;
    panel.title = request.title;
    panel.prompt = request.prompt;
    panel.directory = request.directory;
    panel.name = request.name;
    panel.allowedTypes = request.allowedTypes;
    return panel;
}

} // namespace

PLDatabasePanels& PLDatabasePanels::current()
{
    static DialogDatabasePanels dialogs;
    return g_panels ? *g_panels : dialogs;
}

void PLDatabasePanels::setCurrent(PLDatabasePanels* panels)
{
    g_panels = panels;
}

QString DialogDatabasePanels::runSavePanel(const Request& request)
{
    return PanelService::current().runSavePanel(panelRequest(request));
}

QString DialogDatabasePanels::runOpenPanel(const Request& request)
{
    // A database is a folder with one of the allowed extensions, chosen as one item.
    PanelRequest panel = panelRequest(request);
    panel.chooseDirectories = true;
    const QStringList types = request.allowedTypes;
    panel.isValidFilename = [types](const QString& path) { return types.isEmpty() || hasAllowedType(path, types); };
    const QStringList paths = PanelService::current().runOpenPanel(panel);
    return paths.isEmpty() ? QString() : paths.first();
}
