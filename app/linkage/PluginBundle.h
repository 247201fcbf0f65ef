// A loadable bundle: a folder whose "Contents/Info.plist" names its module (CFBundleExecutable, a
// file in "Contents/Linux") and its principal class (NSPrincipalClass). The module is opened with
// dlopen(RTLD_NOW | RTLD_LOCAL) when the principal class is first asked for, and stays loaded for
// the rest of the process: threads and statics of the module may outlive a call.
#pragma once

#include <QString>

#include <optional>

class PluginBundle {
public:
    // A bundle for a path that exists and is a folder; nothing is read or loaded yet.
    static std::optional<PluginBundle> bundleWithPath(const QString& path);

    QString bundlePath() const { return m_path; }
    // The principal class's name, loading the module first. Empty (and logged) when Info.plist is
    // missing or malformed, names no class, names a module that is not one plain file inside
    // "Contents/Linux", or the module fails to load.
    QString principalClass();
    // A symbol of the loaded module; null before a successful load or when the module lacks it.
    void* symbol(const char* name) const;

private:
    explicit PluginBundle(const QString& path) : m_path(path) {}
    QString modulePath(const QString& executable) const;

    QString m_path;
    void* m_handle = nullptr;
};
