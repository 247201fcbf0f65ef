// Vostrand: backs up a card database folder and compacts its store. One instance per user.
#include "platform/events/SingleInstance.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "tools/dbtools/ToolInstance.h"
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

    const std::unique_ptr<SingleInstance> instance = ToolInstance::claim(QStringLiteral("PLVS"));
    if (!instance)
        return 0;

    VSMainWindowController controller;
    ToolInstance::raiseOnRequest(*instance, controller.window());
    controller.window()->show();
    QTimer::singleShot(0, &controller, &VSMainWindowController::applicationDidFinishLaunching);
    return QApplication::exec();
}
