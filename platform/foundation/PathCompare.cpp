#include "platform/foundation/PathCompare.h"

#include <QDir>
#include <QFileInfo>

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
