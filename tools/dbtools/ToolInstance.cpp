#include "tools/dbtools/ToolInstance.h"

#include "platform/events/SingleInstance.h"
#include "platform/foundation/StandardPaths.h"

#include <QWidget>

namespace ToolInstance {

QString socketPath(const QString& signature)
{
    return userRuntimeDir() + QLatin1Char('/') + signature + QStringLiteral(".sock");
}

std::unique_ptr<SingleInstance> claim(const QString& signature)
{
    auto instance = std::make_unique<SingleInstance>(socketPath(signature));
    if (instance->start(InstanceRequest{}) == SingleInstance::Role::Forwarded)
        return nullptr;
    return instance;
}

void raiseOnRequest(SingleInstance& instance, QWidget* window)
{
    QObject::connect(&instance, &SingleInstance::requestReceived, window, [window] {
        window->showNormal();
        window->raise();
        window->activateWindow();
    });
}

} // namespace ToolInstance
