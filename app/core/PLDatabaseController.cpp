#include "app/core/PLDatabaseController.h"

#include "app/core/CardEntities.h"
#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/Identifiers.h"
#include "app/core/PLChecker.h"
#include "app/core/PLProgressSheet.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/DatabaseLock.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/FolderCopy.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/TreeRemoval.h"
#include "platform/store/CardStoreModel.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kLogLockStart = QStringLiteral("_lock start. Path:[%@]");
const QString kLogLockEnd = QStringLiteral("_lock end. ErrCode:[%d]");
const QString kLogInitContext = QStringLiteral("Init ManagedObjectContext. ErrCode:[%d]");
const QString kLogSaveException = QStringLiteral("Exception happended.[%@]");
const QString kLogFetchFailure = QStringLiteral("fetchRequest failure!");
const QString kLogNoDatabaseFile = QStringLiteral("Database file does not exist.[%@]");
const QString kLogOpenFailed = QStringLiteral("Open Database failed.[%@]");
const QString kLogGetTableError = QStringLiteral("sqlite3_get_table error! SQL:[%@] error code:[%d]");
const QString kLogRemoveFailure = QStringLiteral("Remove the filePath failure! Path:[%@]");

constexpr int kMaxStorePathBytes = 504;
constexpr uint64_t kBackupMargin = 0x80000;
constexpr int kMaxWorkFolderNumber = 9999;

bool isBlank(const QString& text)
{
    return PLChecker::isBlank(text);
}

} // namespace

std::unique_ptr<PLDatabaseController> PLDatabaseController::initDBwithPath(const QString& folder)
{
    if (isBlank(folder))
        return nullptr;
    return std::unique_ptr<PLDatabaseController>(new PLDatabaseController(folder));
}

PLDatabaseController::PLDatabaseController(const QString& folder)
    : _strDBFullPath(folder), _strSqliteDBName(DatabaseLayout::storeFileName(folder))
{
    _services.checkDiskSize = [](const QString& path, uint64_t needed) { return checkDiskSize(path, needed); };
    _services.sizeOfPath = [](const QString& path, int32_t* status) { return getSizeWithPath(path, status); };
    _services.now = [] { return QDateTime::currentDateTimeUtc(); };
}

PLDatabaseController::~PLDatabaseController()
{
    closeDatabase();
    _unlock();
}

void PLDatabaseController::setServices(Services services)
{
    if (services.checkDiskSize)
        _services.checkDiskSize = std::move(services.checkDiskSize);
    if (services.sizeOfPath)
        _services.sizeOfPath = std::move(services.sizeOfPath);
    if (services.now)
        _services.now = std::move(services.now);
}

QDateTime PLDatabaseController::now() const
{
    return _services.now();
}

int PLDatabaseController::_lock()
{
    PLNSLog(kLogLockStart, _strDBFullPath);
    int status = PLDBStatus::kSuccess;
    if (!QFileInfo(_strDBFullPath).isDir()) {
        status = PLDBStatus::kNotExist;
    } else if (_ilockFile < 0) {
        int fd = -1;
        if (DatabaseLock::acquire(_strDBFullPath, &fd) == DatabaseLock::Result::Locked)
            _ilockFile = fd;
        else
            status = PLDBStatus::kLockFailed;
    }
    PLNSLog(kLogLockEnd, status);
    return status;
}

int PLDatabaseController::_unlock()
{
    if (_ilockFile < 0)
        return PLDBStatus::kSuccess;
    // The descriptor is gone either way; the lock file itself is never removed.
    const bool released = DatabaseLock::release(_ilockFile);
    _ilockFile = -1;
    return released ? PLDBStatus::kSuccess : PLDBStatus::kUnlockFailed;
}

int PLDatabaseController::checkBeforeMigrateOperation()
{
    if (isBlank(_strDBFullPath))
        return PLDBStatus::kMissingArgument;
    QString storePath = _strDBFullPath + QLatin1Char('/') + _strSqliteDBName;
    if (storePath.startsWith(QLatin1Char('~')))
        storePath.replace(0, 1, QDir::homePath());
    if (QFile::encodeName(storePath).size() > kMaxStorePathBytes)
        return PLDBStatus::kPathTooLong;
    const int attributes = checkDBAttributes(_strDBFullPath);
    if (!QFileInfo(_strDBFullPath).isDir() || attributes == kDBAttributesMissing)
        return PLDBStatus::kNotExist;
    if (attributes != kDBAttributesOK)
        return PLDBStatus::kBadAttributes;
    if (_ilockFile < 0) {
        // Something else in the lock file's place makes the folder unusable, not in use.
        if (!DatabaseLock::isLockFileUsable(DatabaseLock::lockFilePath(_strDBFullPath)))
            return PLDBStatus::kBadAttributes;
        if (CheckDBFileLocked(DatabaseLock::lockFilePath(_strDBFullPath)) == 1)
            return PLDBStatus::kInUse;
        // Another program may have taken the lock since the probe: still in use.
        if (_lock() != PLDBStatus::kSuccess)
            return PLDBStatus::kInUse;
    }
    return PLDBStatus::kSuccess;
}

const ManagedObjectModel& PLDatabaseController::managedObjectModel() const
{
    return CardStore::currentModel();
}

const ManagedObjectModel& PLDatabaseController::managedObjectModelForOldModel() const
{
    return CardStore::olderModel();
}

namespace {

ManagedObjectContext* buildContext(std::unique_ptr<ManagedObjectContext>& slot, const ManagedObjectModel& model,
                                   const QString& folder, int* err)
{
    if (err)
        *err = PLDBStatus::kSuccess;
    if (isBlank(folder))
        return nullptr;
    if (!slot) {
        QString error;
        slot = ManagedObjectContext::open(model, DatabaseLayout::currentStoreFilePath(folder), &error);
        if (!slot) {
            PLNSLog(kLogInitContext, PLDBStatus::kNoContext);
            if (err)
                *err = PLDBStatus::kNoContext;
        }
    }
    return slot.get();
}

} // namespace

ManagedObjectContext* PLDatabaseController::managedObjectContext(int* err)
{
    return buildContext(_managedObjectContext, managedObjectModel(), _strDBFullPath, err);
}

ManagedObjectContext* PLDatabaseController::managedObjectContextForOldModel(int* err)
{
    return buildContext(_managedObjectOldContext, managedObjectModelForOldModel(), _strDBFullPath, err);
}

ManagedObjectContext* PLDatabaseController::managedObjectContextForV5Store(const QString& storeFile, int* err)
{
    if (err)
        *err = PLDBStatus::kSuccess;
    if (!_managedObjectV5Context) {
        _managedObjectV5Context = ManagedObjectContext::open(CardStore::cardOnlyModel(), storeFile, nullptr, false);
        if (!_managedObjectV5Context) {
            PLNSLog(kLogInitContext, PLDBStatus::kNoContext);
            if (err)
                *err = PLDBStatus::kNoContext;
        }
    }
    return _managedObjectV5Context.get();
}

int PLDatabaseController::save()
{
    ManagedObjectContext* context = _managedObjectContext.get();
    if (!context)
        return PLDBStatus::kMissingArgument;
    QString error;
    if (context->save(&error) != 0) {
        PLNSLog(kLogSaveException, error);
        return PLDBStatus::kSaveFailed;
    }
    return PLDBStatus::kSuccess;
}

std::optional<ManagedObjectList> PLDatabaseController::fetchAllCardDatas(ManagedObjectContext* context)
{
    if (!context)
        return std::nullopt;
    FetchRequest request;
    request.entityName = QLatin1String(CardStore::kEntityCard);
    int rc = 0;
    ManagedObjectList cards = context->executeFetchRequest(request, &rc);
    if (rc != 0) {
        PLNSLog(kLogFetchFailure);
        return std::nullopt;
    }
    return cards;
}

int PLDatabaseController::closeDatabase()
{
    closeSqlite3DB();
    _managedObjectContext.reset();
    _managedObjectV5Context.reset();
    _managedObjectOldContext.reset();
    return PLDBStatus::kSuccess;
}

int PLDatabaseController::backupTo(const QString& destination)
{
    if (destination.isEmpty())
        return PLDBStatus::kMissingArgument;
    const QString source = _strDBFullPath;
    if (checkDBAttributes(source) != kDBAttributesOK)
        return PLDBStatus::kBackupSourceBad;
    const QString parent = QFileInfo(destination).absolutePath();
    FileAttributes parentAttributes;
    if (!readFileAttributes(parent, &parentAttributes) || !parentAttributes.isDirectory || !parentAttributes.writable)
        return PLDBStatus::kBackupDestinationBad;

    // Paths are compared as the file system resolves them, so that a link or ".." to the source
    // is recognised; a destination inside the source would copy the source into itself.
    const bool same = isSamePath(destination, source);
    if (!same && isPathInside(destination, source))
        return PLDBStatus::kBackupDestinationBad;
    if (!same && QFileInfo(destination).exists())
        return PLDBStatus::kBackupCopyFailed;

    const uint64_t storeSize = uint64_t(QFileInfo(source + QLatin1Char('/') + _strSqliteDBName).size());
    uint64_t needed = storeSize;
    if (!same) {
        int32_t status = -1;
        const uint64_t folderSize = _services.sizeOfPath(source, &status);
        if (status != 0)
            return PLDBStatus::kBackupSizeUnknown;
        needed = folderSize + kBackupMargin + storeSize;
    }
    if (_services.checkDiskSize(parent, needed) != 0)
        return PLDBStatus::kBackupNoSpace;
    if (same) {
        setBackupDBPath(destination);
        return PLDBStatus::kSuccess;
    }

    const FolderCopyResult copied =
        copyFolderTree(source, destination, {}, [this] { return !confirmCancelOperation(); });
    int status = PLDBStatus::kSuccess;
    if (_isStopRunning)
        status = PLDBStatus::kBackupCancelled;
    else if (copied != FolderCopyResult::Copied)
        status = PLDBStatus::kBackupCopyFailed;
    if (status != PLDBStatus::kSuccess) {
        cleanFolder(destination);
        return status;
    }
    setBackupDBPath(destination);
    return PLDBStatus::kSuccess;
}

QString PLDatabaseController::_generateWorkDBPath() const
{
    if (isBlank(_strDBFullPath))
        return QString();
    if (DatabaseLayout::hasDatabaseExtension(_strDBFullPath))
        return _strDBFullPath;
    const QString folder = DatabaseLayout::withoutTrailingSlash(_strDBFullPath);
    const QString extension = QFileInfo(folder).suffix();
    const QString base = extension.isEmpty() ? folder : folder.left(folder.size() - extension.size() - 1);
    const QString ext = QLatin1String(DatabaseLayout::kDatabaseExtension);
    QString candidate = QStringLiteral("%1.%2").arg(base, ext);
    for (int n = 1; QFileInfo::exists(candidate) || QFileInfo(candidate).isSymLink(); ++n) {
        if (n > kMaxWorkFolderNumber)
            return QString();
        candidate = QStringLiteral("%1_%2.%3").arg(base).arg(n).arg(ext);
    }
    return candidate;
}

int PLDatabaseController::openSqlite3DB()
{
    return openSqlite3DBWithDBPath(_strDBFullPath + QLatin1Char('/') + _strSqliteDBName);
}

int PLDatabaseController::openSqlite3DBWithDBPath(const QString& storeFile)
{
    if (_sqlite3DB.isOpen()) {
        if (_sqlite3DB.path() == storeFile)
            return PLDBStatus::kSuccess;
        // A statement meant for one store file must never run on another.
        _sqlite3DB.close();
    }
    if (!QFileInfo(storeFile).isFile()) {
        PLNSLog(kLogNoDatabaseFile, storeFile);
        return PLDBStatus::kNotExist;
    }
    if (_sqlite3DB.open(storeFile, false) != 0) {
        PLNSLog(kLogOpenFailed, storeFile);
        return PLDBStatus::kOpenFailed;
    }
    return PLDBStatus::kSuccess;
}

void PLDatabaseController::closeSqlite3DB()
{
    _sqlite3DB.close();
}

std::optional<RawRows> PLDatabaseController::executeQuery(const QString& sql, int* errorCode)
{
    if (isBlank(sql))
        return std::nullopt;
    const int opened = openSqlite3DB();
    if (opened != PLDBStatus::kSuccess) {
        if (errorCode)
            *errorCode = opened;
        return std::nullopt;
    }
    int rc = 0;
    std::optional<RawRows> rows = rawQuery(_sqlite3DB, sql, &rc);
    if (!rows)
        PLNSLog(kLogGetTableError, sql, rc);
    closeSqlite3DB();
    if (errorCode)
        *errorCode = rc;
    return rows;
}

bool PLDatabaseController::executeUpdateWithDBPath(const QString& storeFile, const QString& sql, int* errorCode)
{
    auto answer = [errorCode](int code) {
        if (errorCode)
            *errorCode = code;
        return code == PLDBStatus::kSuccess;
    };
    if (isBlank(storeFile) || isBlank(sql))
        return answer(PLDBStatus::kMissingArgument);
    const int opened = openSqlite3DBWithDBPath(storeFile);
    if (opened != PLDBStatus::kSuccess)
        return answer(opened);
    return answer(rawExec(_sqlite3DB, sql) == 0 ? PLDBStatus::kSuccess : PLDBStatus::kInUse);
}

bool PLDatabaseController::confirmCancelOperation()
{
    // Under the progress sheet a pending cancel is confirmed now; the answer reaches the sheet's
    // modal delegate on the main thread before this thread goes on.
    if (_isShowProgress) {
        Scheduler::performOnMainThreadAndWait([] {
            if (PLProgressSheet* sheet = PLProgressSheet::shared())
                sheet->checkIsNeedToConfirmCancelOperation();
        });
    }
    return _isStopRunning;
}

void PLDatabaseController::setStopRunning(const QVariant& stop)
{
    if (stop.isValid())
        _isStopRunning = stop.toBool();
}

int PLDatabaseController::latestDBVersion()
{
    return kLatestStoreVersion;
}

QString PLDatabaseController::generateCardId(const ManagedObject*)
{
    // Object identifiers of saved objects hold "/" and cannot name files: always a new UUID.
    return getUUID();
}

int PLDatabaseController::removeItemAtFilePath(const QString& path, bool isDir)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir() != isDir)
        return PLDBStatus::kSuccess;
    if (!removeTree(path)) {
        PLNSLog(kLogRemoveFailure, path);
        return PLDBStatus::kRemoveFailed;
    }
    return PLDBStatus::kSuccess;
}
