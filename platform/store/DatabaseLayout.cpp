#include "platform/store/DatabaseLayout.h"

#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/StandardPaths.h"

#include <QFileInfo>

namespace DatabaseLayout {
namespace {

QString childPath(const QString& folder, const char* name)
{
    return folder + QLatin1Char('/') + QLatin1String(name);
}

} // namespace

QString storeFileName(const QString& folder)
{
    FileAttributes store;
    if (hasDatabaseExtension(folder) && readFileAttributes(childPath(folder, kStoreFileName), &store) && store.isRegularFile)
        return QLatin1String(kStoreFileName);
    return QLatin1String(kOldStoreFileName);
}

QString storeFilePath(const QString& folder)
{
    return folder + QLatin1Char('/') + storeFileName(folder);
}

QString currentStoreFilePath(const QString& folder)
{
    return childPath(folder, kStoreFileName);
}

QString imagesFolderPath(const QString& folder)
{
    return childPath(folder, kImagesFolderName);
}

QString filesFolderPath(const QString& folder)
{
    return childPath(folder, kFilesFolderName);
}

QString passwordFilePath(const QString& folder)
{
    return childPath(folder, kPasswordFileName);
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
    return QFileInfo(withoutTrailingSlash(path)).suffix().compare(QLatin1String(kDatabaseExtension), Qt::CaseInsensitive) == 0;
}

QString expandTilde(const QString& path)
{
    if (path == QLatin1String("~"))
        return userHomeDir();
    if (path.startsWith(QLatin1String("~/")))
        return userHomeDir() + path.mid(1);
    return path;
}

} // namespace DatabaseLayout
