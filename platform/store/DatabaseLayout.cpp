#include "platform/store/DatabaseLayout.h"

#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/FileAttributes.h"

#include <QFileInfo>

namespace DatabaseFolder {

QString storeFileName(const QString& folder)
{
    FileAttributes attributes;
    return readFileAttributes(folder + QLatin1Char('/') + kStoreFileName, &attributes) && attributes.isRegularFile
        ? kStoreFileName
        : kOldStoreFileName;
}

QString storeFilePath(const QString& folder)
{
    return folder + QLatin1Char('/') + storeFileName(folder);
}

QString passwordFilePath(const QString& folder)
{
    return folder + QLatin1Char('/') + kPasswordFileName;
}

QString withoutTrailingSlash(const QString& path)
{
    QString result = path;
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

bool hasDatabaseExtension(const QString& path)
{
    return QFileInfo(withoutTrailingSlash(path)).suffix().compare(kExtension, Qt::CaseInsensitive) == 0;
}

QString expandTilde(const QString& path)
{
    if (path == QLatin1String("~"))
        return userHomeDir();
    if (path.startsWith(QLatin1String("~/")))
        return userHomeDir() + path.mid(1);
    return path;
}

} // namespace DatabaseFolder
