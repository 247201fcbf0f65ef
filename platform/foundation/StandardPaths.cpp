#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString envPath(const char* name)
{
    const QByteArray value = qgetenv(name);
    if (value.isEmpty() || !value.startsWith('/'))
        return {};
    return QFile::decodeName(value);
}

// Creates `path` with mode 0700 when missing; refuses a folder someone else owns or others may enter.
bool ensurePrivateDir(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    if (mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    if (lstat(native.constData(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return false;
    if ((st.st_mode & 077) != 0 && chmod(native.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

QString userHomeDir()
{
    const QString home = envPath("HOME");
    return home.isEmpty() ? QDir::homePath() : home;
}

QString userConfigDir()
{
    const QString dir = envPath("XDG_CONFIG_HOME");
    return dir.isEmpty() ? userHomeDir() + QStringLiteral("/.config") : dir;
}

QString userDataDir()
{
    const QString dir = envPath("XDG_DATA_HOME");
    return dir.isEmpty() ? userHomeDir() + QStringLiteral("/.local/share") : dir;
}

QString userDocumentsDir()
{
    const QString dir = envPath("XDG_DOCUMENTS_DIR");
    return dir.isEmpty() ? userHomeDir() + QStringLiteral("/Documents") : dir;
}

QString userRuntimeDir()
{
    // The folder holds sockets other programs trust: only a folder of this user that nobody else
    // may enter is used; any other means none.
    const QString dir = envPath("XDG_RUNTIME_DIR");
    if (!dir.isEmpty()) {
        struct stat st {};
        const bool own = lstat(QFile::encodeName(dir).constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == getuid()
            && (st.st_mode & 077) == 0;
        return own ? dir : QString();
    }
    const QString fallback = QDir::tempPath() + QStringLiteral("/pelmora-runtime-%1").arg(getuid());
    return ensurePrivateDir(fallback) ? fallback : QString();
}

QString privateTempDir()
{
    const QString path = QDir::tempPath() + QStringLiteral("/pelmora-%1").arg(getuid());
    return ensurePrivateDir(path) ? path : QString();
}
