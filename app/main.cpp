// Pelmora: one instance per user; a second launch hands its files or its search to the first.
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/windows/PLProgressWindowController.h"
#include "app/images/SeparationLibrary.h"
#include "app/ui/LaunchArguments.h"
#include "app/ui/PLApplicationServices.h"
#include "app/ui/PLMainMenu.h"
#include "app/ui/PLMainWindowController.h"
#include "platform/appkit/ApplicationWindow.h"
#include "platform/appkit/dialogs/DialogServices.h"
#include "platform/events/SingleInstance.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/ProcessAllocator.h"
#include "platform/foundation/ServicesStatus.h"
#include "platform/foundation/StandardPaths.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QIcon>
#include <QTemporaryDir>
#include <QTimer>

#include <unistd.h>

namespace {

// The launch's own request: its files, or the Services search of the selected text. What it
// cannot take is said on standard error and in the log.
InstanceRequest requestFromArguments(int argc, char* argv[])
{
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    const LaunchArguments parsed = parseLaunchArguments(arguments, QFile::encodeName(QDir::currentPath()));
    for (const QString& refusal : parsed.refused)
        logLine(QStringLiteral("Pelmora: %1").arg(refusal));
    if (parsed.searchSelection) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        QString text = clipboard->supportsSelection() ? clipboard->text(QClipboard::Selection) : QString();
        if (text.isEmpty())
            text = clipboard->text();
        return InstanceRequest{InstanceRequest::Kind::SearchText, {}, text};
    }
    return parsed.request;
}

// Where files whose names are not text are reached from, for this run.
QString nameAliasFolder()
{
    static QTemporaryDir folder(privateTempDir() + QStringLiteral("/names-XXXXXX"));
    return folder.isValid() ? folder.path() : QString();
}

QStringList decodedPaths(const QList<QByteArray>& paths)
{
    QStringList refused;
    const QStringList decoded = pathsForImport(paths, nameAliasFolder(), &refused);
    for (const QString& refusal : refused)
        logLine(QStringLiteral("Pelmora: %1").arg(refusal));
    return decoded;
}

void deliver(PLAppController& delegate, PLMainWindowController& mainWindow, const InstanceRequest& request, const QString& sender)
{
    switch (request.kind) {
    case InstanceRequest::Kind::OpenFiles:
        delegate.applicationOpenFiles(decodedPaths(request.paths), sender);
        break;
    case InstanceRequest::Kind::SearchText:
        if (isServiceEnabled(QString::fromLatin1(kPelmoraSearchServiceKey))) {
            QString error;
            delegate.searchFromTextService(request.text, &error);
        }
        break;
    case InstanceRequest::Kind::Activate:
        // A plain second launch shows the window that has no other way back on this desktop.
        if (delegate.isFinishLaunch() && !delegate.isHideAppLoading() && !mainWindow.isWindowVisible())
            mainWindow.showActiveWindow();
        break;
    }
}

} // namespace

int main(int argc, char* argv[])
{
    configureProcessAllocator();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));
    QApplication::setWindowIcon(QIcon(QCoreApplication::applicationDirPath() + QLatin1String(kApplicationIconPath)));
    QApplication::setQuitOnLastWindowClosed(false);
    // The alerts, panels and progress sheet that the logic layers show through their interfaces.
    installDialogServices();
    PLProgressWindowController::sharedController();

    const InstanceRequest launchRequest = requestFromArguments(argc, argv);
    SingleInstance instance(SingleInstance::defaultSocketPath());
    switch (instance.start(launchRequest)) {
    case SingleInstance::Role::Forwarded:
        return 0;
    case SingleInstance::Role::Busy:
        logLine(QStringLiteral("Single instance: the running instance did not take the request"));
        return 1;
    case SingleInstance::Role::Failed:
        logLine(QStringLiteral("Single instance: neither a running instance nor the channel could be reached"));
        break;
    case SingleInstance::Role::Primary:
        break;
    }

    SeparationLibrary::setApplicationFolder(QCoreApplication::applicationDirPath());
    OpenDatabase database;
    PLMainWindowController mainWindow(database);
    setApplicationMainWindow(mainWindow.window());
    PLAppController delegate(&mainWindow, database, makeApplicationServices(), Bundle::main());
    mainWindow.setAppController(&delegate);
    // The window's quits go through the delegate, which stops the launch sequence at once.
    mainWindow.setTerminate([&delegate] { delegate.terminate(); });
    PLMainMenu menu(mainWindow, delegate);

    QObject::connect(&instance, &SingleInstance::requestReceived, &delegate, [&](const InstanceRequest& request, const QString& sender) {
        // A second launch brings the running instance to the front, as long as it shows a window.
        if (mainWindow.isWindowVisible() || mainWindow.isWindowMiniaturized()) {
            mainWindow.window()->showNormal();
            mainWindow.activateWindow();
        }
        deliver(delegate, mainWindow, request, sender);
    });
    QObject::connect(&app, &QApplication::aboutToQuit, &delegate, [&delegate] {
        delegate.applicationShouldTerminate();
        delegate.applicationWillTerminate();
    });

    // The launch's own files come from the program that started this one.
    if (launchRequest.kind != InstanceRequest::Kind::Activate)
        deliver(delegate, mainWindow, launchRequest, ProcSenderResolver::processName(getppid()));
    QTimer::singleShot(0, &delegate, [&delegate] { delegate.applicationDidFinishLaunching(); });
    return QApplication::exec();
}
