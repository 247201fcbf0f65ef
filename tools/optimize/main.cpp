// Vostrand: backs up a card database folder and compacts its store. One instance per user.
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "tools/dbtools/SingleInstance.h"
#include "tools/optimize/VSMainWindowController.h"

#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vostrand"));
    QApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));
    setLogOn(Bundle::main().objectForInfoDictionaryKey(QStringLiteral("PLLogOn")).toBool());

    SingleInstance instance(QStringLiteral("PLVS"));
    if (!instance.start())
        return 0;

    VSMainWindowController controller;
    QWidget* window = controller.window();
    QObject::connect(&instance, &SingleInstance::raiseRequested, window, [window] {
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
    window->show();
    QTimer::singleShot(0, &controller, &VSMainWindowController::applicationDidFinishLaunching);
    return QApplication::exec();
}
