#include "platform/events/SingleInstance.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMainWindow>

namespace {

// The launch's own arguments as an open-files request: absolute paths, bytes kept.
InstanceRequest requestFromArguments(int argc, char* argv[])
{
    InstanceRequest request;
    const QByteArray cwd = QFile::encodeName(QDir::currentPath());
    for (int i = 1; i < argc; ++i) {
        QByteArray path(argv[i]);
        if (path.isEmpty() || path.startsWith("-"))
            continue;
        if (!path.startsWith('/'))
            path = cwd + '/' + path;
        request.paths.append(path);
    }
    if (!request.paths.isEmpty())
        request.kind = InstanceRequest::Kind::OpenFiles;
    return request;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pelmora"));
    QApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));
    setLogOn(Bundle::main().objectForInfoDictionaryKey(QStringLiteral("PLLogOn")).toBool());

    SingleInstance instance(SingleInstance::defaultSocketPath());
    switch (instance.start(requestFromArguments(argc, argv))) {
    case SingleInstance::Role::Forwarded:
        return 0;
    case SingleInstance::Role::Failed:
        logLine(QStringLiteral("Single instance: neither a running instance nor the channel could be reached"));
        break;
    case SingleInstance::Role::Primary:
        break;
    }

    QMainWindow window;
    window.setObjectName(QStringLiteral("mainWindow"));
    window.setWindowTitle(QStringLiteral("Pelmora"));
    window.resize(900, 600);
    QObject::connect(&instance, &SingleInstance::requestReceived, &window, [&window] {
        window.show();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return QApplication::exec();
}
