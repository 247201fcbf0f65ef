#include "platform/foundation/PathCompare.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>

QString resolvedPath(const QString& path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (!canonical.isEmpty())
        return canonical;
    const QString parent = QFileInfo(info.absolutePath()).canonicalFilePath();
    return parent.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : parent + QLatin1Char('/') + info.fileName();
}

bool isSamePath(const QString& a, const QString& b)
{
    return !a.isEmpty() && !b.isEmpty() && resolvedPath(a) == resolvedPath(b);
}

bool isPathInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString resolvedFolder = resolvedPath(folder);
    return resolvedPath(path).startsWith(resolvedFolder.endsWith(QLatin1Char('/')) ? resolvedFolder : resolvedFolder + QLatin1Char('/'));
}

bool isPlainFileName(const QString& name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && name != QLatin1String(".") && name != QLatin1String("..");
}

bool isLinkFreeInside(const QString& path, const QString& folder)
{
    if (path.isEmpty() || folder.isEmpty())
        return false;
    const QString base = QDir::cleanPath(folder);
    const QString relative = QDir(base).relativeFilePath(QDir::cleanPath(path));
    if (relative.isEmpty() || relative == QLatin1String(".") || relative.startsWith(QLatin1String("../")) || relative == QLatin1String("..")
        || QDir::isAbsolutePath(relative))
        return false;
    QString walked = base;
    for (const QString& name : relative.split(QLatin1Char('/'))) {
        walked += QLatin1Char('/') + name;
        struct stat st {};
        if (::lstat(QFile::encodeName(walked).constData(), &st) != 0)
            return true;
        if (S_ISLNK(st.st_mode))
            return false;
    }
    return true;
}
