#include "app/core/DatabaseFolder.h"

#include "platform/foundation/Bundle.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/PlainFile.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/workspace/LocalVolume.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

int checkDBAttributes(const QString& path)
{
    if (path.isEmpty())
        return kDBAttributesUnreadable;
    FileAttributes folder, images, store;
    if (!readFileAttributes(path, &folder) || !readFileAttributes(DatabaseLayout::imagesFolderPath(path), &images))
        return kDBAttributesUnreadable;
    if (!folder.exists)
        return kDBAttributesMissing;
    const QString storePath = DatabaseLayout::storeFilePath(path);
    if (!readFileAttributes(storePath, &store) || !store.exists)
        return kDBAttributesMissing;
    if (folder.immutable || (images.exists && images.immutable))
        return kDBAttributesLocked;
    if (!folder.writable || !store.writable || (images.exists && !images.writable))
        return kDBAttributesNotWritable;
    return kDBAttributesOK;
}

int CheckDBFileLocked(const QString& lockFilePath)
{
    return DatabaseLock::isLockFileHeld(lockFilePath) ? 1 : 0;
}

int lockFileRefusal(const QString& folder)
{
    const QString lockFile = DatabaseLock::lockFilePath(folder);
    if (!DatabaseLock::isLockFileUsable(lockFile))
        return kMsgLockFileUnusable;
    return CheckDBFileLocked(lockFile) == 1 ? kMsgLockFileHeld : 0;
}

bool CheckDBIsNeedPassword(const QString& folder)
{
    // A link in the password file's place counts: such a database is never opened without a check.
    return !folder.isEmpty() && entryExists(DatabaseLayout::passwordFilePath(folder));
}

int pathCheck(const QString& path)
{
    if (path.isEmpty())
        return -1;
    return LocalVolume::isOnLocalFixedVolume(QFileInfo(path).absolutePath()) ? 0 : -1;
}

bool cleanFolder(const QString& path)
{
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || info.isSymLink())
        return false;
    return removeTree(path);
}

QString getDatabaseSuffix()
{
    const PlistValue name = Bundle::main().objectForInfoDictionaryKey(QLatin1String(kDatabaseNameInfoKey));
    return name.isString() ? name.toString() : QString(QLatin1String(DatabaseLayout::kDatabaseExtension));
}
