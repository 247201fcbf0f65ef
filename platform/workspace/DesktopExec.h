// The command lines of a desktop entry's "Exec" value, with its quoting and field codes, so that
// files are handed to an application as the desktop would hand them.
#pragma once

#include "platform/workspace/DesktopEntry.h"

#include <QList>
#include <QStringList>

#include <optional>

// The arguments of an Exec value after the string escapes and the quoting rules; nullopt when a
// quote is left open or a reserved character stands unquoted.
std::optional<QStringList> splitDesktopExec(const QString& exec);
// The command lines that open `paths` with the entry: one for "%F" or "%U", one per file for
// "%f" or "%u", and one with the files after the entry's own arguments when it has no file code.
// Empty when the Exec value is unusable.
QList<QStringList> desktopExecCommands(const DesktopEntry& entry, const QStringList& paths);
