#include "tests/support/environment/TestEnvironment.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace testenvironment {

namespace {

// Names the private folder; a program started by a test program finds it set.
constexpr const char* kRootVariable = "PELMORA_TEST_ENVIRONMENT";

QTemporaryDir* g_root = nullptr;
pid_t g_owner = 0;

// Variables of a desktop session that lead a program to the session's folders, display, bus or
// keyring, or change how it draws, speaks and writes dates and numbers.
bool fromTheSession(const QByteArray& name)
{
    static const char* const kPrefixes[] = {"XDG_", "QT_", "LC_"};
    static const char* const kNames[] = {"DISPLAY",      "WAYLAND_DISPLAY",          "DESKTOP_SESSION",       "SESSION_MANAGER",
                                         "LANGUAGE",     "DBUS_SESSION_BUS_ADDRESS", "GNOME_KEYRING_CONTROL", "GNOME_KEYRING_PID",
                                         "SSH_AUTH_SOCK"};
    for (const char* prefix : kPrefixes) {
        if (name.startsWith(prefix))
            return true;
    }
    for (const char* known : kNames) {
        if (name == known)
            return true;
    }
    return false;
}

QString made(const QString& path, QFile::Permissions permissions = {})
{
    QDir().mkpath(path);
    if (permissions)
        QFile::setPermissions(path, permissions);
    return path;
}

void set(const char* name, const QString& value)
{
    qputenv(name, QFile::encodeName(value));
}

// Only the process that made the folder removes it: a forked child that exits leaves it alone.
void removeRoot()
{
    if (g_root && ::getpid() == g_owner)
        g_root->remove();
}

}

void enter()
{
    if (!qgetenv(kRootVariable).isEmpty())
        return;
    ::umask(022);
    QList<QByteArray> names;
    for (char** entry = environ; *entry; ++entry) {
        const QByteArray variable(*entry);
        names.append(variable.left(variable.indexOf('=')));
    }
    for (const QByteArray& name : names) {
        if (fromTheSession(name))
            qunsetenv(name.constData());
    }

    g_root = new QTemporaryDir(QDir::tempPath() + QStringLiteral("/pelmora-test-XXXXXX"));
    g_root->setAutoRemove(false);
    g_owner = ::getpid();
    std::atexit(removeRoot);
    const QString root = g_root->path();
    const QString home = made(root + QStringLiteral("/home"));
    set(kRootVariable, root);
    set("HOME", home);
    set("XDG_CONFIG_HOME", made(home + QStringLiteral("/.config")));
    set("XDG_DATA_HOME", made(home + QStringLiteral("/.local/share")));
    set("XDG_CACHE_HOME", made(home + QStringLiteral("/.cache")));
    set("XDG_STATE_HOME", made(home + QStringLiteral("/.local/state")));
    set("XDG_RUNTIME_DIR", made(root + QStringLiteral("/runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    // Files the tests make and the programs they start are apart from other programs running at once.
    set("TMPDIR", made(root + QStringLiteral("/tmp")));
    set("DBUS_SESSION_BUS_ADDRESS", QStringLiteral("unix:path=") + root + QStringLiteral("/no-bus"));
    set("QT_QPA_PLATFORM", QStringLiteral("offscreen"));
    set("LANG", QStringLiteral("C.UTF-8"));
    // Nine hours east of UTC, without summer time: a date taken for its UTC day shows on any machine.
    set("TZ", QStringLiteral("JST-9"));
    ::tzset();
}

}
