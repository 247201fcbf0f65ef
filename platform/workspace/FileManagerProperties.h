// The desktop file manager's properties window of a file, asked for over D-Bus with
// org.freedesktop.FileManager1.ShowItemProperties. The path travels as an encoded file URI in the
// call's arguments, never inside a script or a command line.
#pragma once

#include <QString>

#include <functional>

namespace FileManagerProperties {

inline constexpr const char* kService = "org.freedesktop.FileManager1";
inline constexpr const char* kObjectPath = "/org/freedesktop/FileManager1";
inline constexpr const char* kInterface = "org.freedesktop.FileManager1";
inline constexpr const char* kMethod = "ShowItemProperties";

// Asks the file manager to show the properties of `path`. `done` runs later on this thread, once,
// with true when a file manager took the request and false when none answered (no session bus,
// no such service, an error or no reply within a few seconds).
void showItemProperties(const QString& path, std::function<void(bool shown)> done);

// The bus the call goes to: the session bus when empty (the default), else the bus at this
// address (tests start a private one).
void setBusAddress(const QString& address);

} // namespace FileManagerProperties
