// The start of both database tools: one instance per user and tool, then the one window.
#pragma once

#include "platform/appkit/dialogs/DialogServices.h"
#include "platform/events/SingleInstance.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/Log.h"
#include "tools/dbtools/ToolInstance.h"

#include <QApplication>
#include <QIcon>
#include <QTimer>
#include <QWidget>

// `Controller` builds the window and has `window()` and `applicationDidFinishLaunching()`.
template <typename Controller>
int runToolApplication(int argc, char* argv[], const QString& name, const QString& signature)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(name);
    QApplication::setOrganizationDomain(QStringLiteral("com.orvane.zor"));
    QApplication::setWindowIcon(QIcon(QCoreApplication::applicationDirPath() + QLatin1String(kApplicationIconPath)));
    installDialogServices();
    setLogOn(Bundle::main().objectForInfoDictionaryKey(QStringLiteral("PLLogOn")).toBool());

    const std::unique_ptr<SingleInstance> instance = ToolInstance::claim(signature);
    if (!instance)
        return 0;

    Controller controller;
    ToolInstance::raiseOnRequest(*instance, controller.window());
    controller.window()->show();
    QTimer::singleShot(0, &controller, &Controller::applicationDidFinishLaunching);
    return QApplication::exec();
}
