#include "tools/password/HWDatabaseController.h"

#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/PlainFile.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/password/HWCommonFunction.h"

#include <QFile>

namespace {

enum Message {
    kMsgOther = 1,
    kMsgLockFailed = 101,
    kMsgUnlockFailed = 101,
    kMsgCloseFailed = 102,
    kMsgCannotWritePassword = 103,
    kMsgCannotRemovePassword = 104,
    kMsgNoDatabase = 201,
    kMsgNotLocal = 202,
    kMsgInUse = 203,
    kMsgNotUsable = 204,
    kMsgNoSpace = 205,
    kMsgPathTooLong = 206,
    kMsgWrongPassword = 305,
};
constexpr quint64 kRequiredFreeBytes = 4096;
constexpr qint64 kPasswordFileMaxBytes = 4096; // a digest is 32 bytes

} // namespace

HWDatabaseController::HWDatabaseController() = default;

HWDatabaseController::~HWDatabaseController()
{
    _unlock();
}

void HWDatabaseController::setDBPath(const QString& folder)
{
    _dbFilePath = folder;
    _strSqliteDBName = DatabaseLayout::storeFileName(folder);
    m_sqlite.setStoreName(_strSqliteDBName);
}

bool HWDatabaseController::isHasPassword() const
{
    return !HWCommonFunction::isBlank(_dbFilePath)
        && HWCommonFunction::isPathExists(DatabaseLayout::passwordFilePath(_dbFilePath), HWCommonFunction::kFileKind);
}

int HWDatabaseController::_CheckBeforeOperation()
{
    if (HWCommonFunction::isBlank(_dbFilePath))
        return kMsgNoDatabase;
    const QString storePath = DatabaseLayout::expandTilde(_dbFilePath + QLatin1Char('/') + _strSqliteDBName);
    if (!HWCommonFunction::isValidPathLength(storePath, HWCommonFunction::kPathLengthLimit))
        return kMsgPathTooLong;
    const int attributes = HWCommonFunction::CheckDBAttributes(_dbFilePath);
    if (attributes == 1)
        return kMsgNoDatabase;
    if (attributes >= 2 && attributes <= 6)
        return kMsgNotUsable;
    if (attributes != 7)
        return kMsgOther;
    if (!HWCommonFunction::CheckDBpathLocation(_dbFilePath))
        return kMsgNotLocal;
    // Something else in the lock file's place (a link) makes the folder unusable, not in use.
    if (!DatabaseLock::isLockFileUsable(DatabaseLock::lockFilePath(_dbFilePath)))
        return kMsgNotUsable;
    if (HWCommonFunction::CheckDBFileIsLocked(DatabaseLock::lockFilePath(_dbFilePath)))
        return kMsgInUse;
    if (!HWCommonFunction::CheckDiskSizeIsEnough(_dbFilePath, kRequiredFreeBytes))
        return kMsgNoSpace;
    return 0;
}

int HWDatabaseController::_lock()
{
    if (HWCommonFunction::isBlank(_dbFilePath))
        return kMsgLockFailed;
    switch (DatabaseLock::acquire(_dbFilePath, &_ilockFile)) {
    case DatabaseLock::Result::Locked:
        return 0;
    case DatabaseLock::Result::InUse:
        return kMsgInUse;
    case DatabaseLock::Result::OpenFailed:
        break;
    }
    return kMsgLockFailed;
}

int HWDatabaseController::_unlock()
{
    if (_ilockFile < 0)
        return 0;
    const DatabaseLock::Release released = DatabaseLock::releaseReporting(_ilockFile);
    _ilockFile = -1;
    switch (released) {
    case DatabaseLock::Release::Released:
        return 0;
    case DatabaseLock::Release::UnlockFailed:
        return kMsgUnlockFailed;
    case DatabaseLock::Release::CloseFailed:
        return kMsgCloseFailed;
    }
    return kMsgUnlockFailed;
}

template <typename Operation>
int HWDatabaseController::runOperation(Operation operation)
{
    m_passwordFileChanged = false;
    int result = _CheckBeforeOperation();
    if (result == 0)
        result = operation();
    const int unlocked = _unlock();
    return result != 0 ? result : unlocked;
}

int HWDatabaseController::checkCurrentPassword(const QString& password) const
{
    QByteArray digest;
    if (!readPlainFile(DatabaseLayout::passwordFilePath(_dbFilePath), &digest, kPasswordFileMaxBytes))
        return kMsgWrongPassword;
    return QString::fromUtf8(digest) == HWCommonFunction::getMD5String(password) ? 0 : kMsgWrongPassword;
}

int HWDatabaseController::writePasswordFile(const QString& password)
{
    if (!replacePlainFile(DatabaseLayout::passwordFilePath(_dbFilePath), HWCommonFunction::getMD5String(password).toUtf8()))
        return kMsgCannotWritePassword;
    m_passwordFileChanged = true;
    return 0;
}

int HWDatabaseController::addPassword(const QString& newPassword)
{
    return runOperation([&] {
        if (isHasPassword())
            return int(kMsgCannotWritePassword);
        const int locked = _lock();
        return locked != 0 ? locked : writePasswordFile(newPassword);
    });
}

int HWDatabaseController::changePassword(const QString& currentPassword, const QString& newPassword)
{
    return runOperation([&] {
        if (!isHasPassword())
            return int(kMsgCannotWritePassword);
        int result = _lock();
        if (result == 0)
            result = checkCurrentPassword(currentPassword);
        return result != 0 ? result : writePasswordFile(newPassword);
    });
}

int HWDatabaseController::deletePassword(const QString& currentPassword)
{
    return runOperation([&] {
        if (!isHasPassword())
            return int(kMsgCannotRemovePassword);
        int result = _lock();
        if (result == 0)
            result = checkCurrentPassword(currentPassword);
        if (result != 0)
            return result;
        const QString path = DatabaseLayout::passwordFilePath(_dbFilePath);
        FileAttributes attributes;
        if (!readFileAttributes(path, &attributes))
            return int(kMsgOther);
        if (attributes.immutable)
            clearImmutableFlag(path);
        if (!QFile::remove(path))
            return int(kMsgCannotRemovePassword);
        m_passwordFileChanged = true;
        return 0;
    });
}
