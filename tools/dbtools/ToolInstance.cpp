#include "tools/dbtools/ToolInstance.h"

#include "platform/events/SingleInstance.h"

#include <QWidget>

namespace ToolInstance {

QString socketPath(const QString& signature)
{
    return SingleInstance::socketPathFor(signature + QStringLiteral(".sock"));
}

std::unique_ptr<SingleInstance> claim(const QString& signature)
{
    auto instance = std::make_unique<SingleInstance>(socketPath(signature));
    const SingleInstance::Role role = instance->start(InstanceRequest{});
    if (role == SingleInstance::Role::Forwarded || role == SingleInstance::Role::Busy)
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
