#include "app/linkage/ExtAppLauncher.h"

#include "platform/workspace/DesktopEntry.h"
#include "platform/workspace/DesktopExec.h"
#include "platform/workspace/Workspace.h"

#include <QFileInfo>

namespace {

constexpr int kStatusMissing = -50;
constexpr int kStatusBadDocument = -4960;
constexpr int kStatusNotStarted = -1;

} // namespace

int LauchApplication(const QString& application, const QStringList& documents, [[maybe_unused]] bool passMainBundle)
{
    if (application.isEmpty() || !QFileInfo::exists(application))
        return kStatusMissing;
    QStringList existing;
    for (const QString& document : documents) {
        if (document.isEmpty())
            return kStatusBadDocument;
        if (QFileInfo::exists(document))
            existing.append(document);
    }
    Workspace& workspace = Workspace::shared();
    DesktopEntry entry;
    if (QFileInfo(application).suffix() == QLatin1String("desktop")) {
        if (!readDesktopEntry(application, QFileInfo(application).completeBaseName(), entry))
            return kStatusNotStarted;
        const QList<QStringList> commands = desktopExecCommands(entry, existing);
        if (commands.isEmpty())
            return kStatusNotStarted;
        for (const QStringList& command : commands) {
            if (!workspace.launchApplication(command.first(), command.mid(1)))
                return kStatusNotStarted;
        }
        return 0;
    }
    return workspace.launchApplication(application, existing) ? 0 : kStatusNotStarted;
}

int LauchAppSetting(const QString& application, bool passMainBundle)
{
    return LauchApplication(application, {}, passMainBundle);
}
