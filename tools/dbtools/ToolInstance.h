// One instance per tool and user: a second start asks the running one to come to the front and ends.
#pragma once

#include <QString>

#include <memory>

class QWidget;
class SingleInstance;

namespace ToolInstance {

// "<runtime folder>/<signature>.sock": the tool's own channel; other tools and Pelmora do not count.
QString socketPath(const QString& signature);
// The instance of this process, or null when a running instance was asked to come forward
// (the caller then ends with status 0). When neither works the tool runs anyway.
std::unique_ptr<SingleInstance> claim(const QString& signature);
// Brings `window` to the front whenever another start asks for it.
void raiseOnRequest(SingleInstance& instance, QWidget* window);

} // namespace ToolInstance
