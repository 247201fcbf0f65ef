#include "app/core/PLDatabaseCommands.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLAppController.h"
#include "app/core/PLDatabasePanels.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/FileAttributes.h"
#include "platform/foundation/FolderCopy.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"
#include "platform/foundation/TreeRemoval.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr int kMsgCannotUse = 12;
constexpr int kMsgSameDatabase = 13;
constexpr int kMsgCannotCreate = 20;
constexpr int kMsgBackupFailed = 34;
constexpr int kMsgCannotBackUp = 48;
constexpr int kMsgUnsupportedVolume = 56;
constexpr int kMsgMissingFolder = 220;
constexpr int kMsgPathTooLong = 222;

constexpr const char* kSavePromptKey = "IDS_SAVE_PROMPT";
constexpr const char* kCreateTitleKey = "IDS_CREATE_NEW_DB";
constexpr const char* kOpenTitleKey = "IDS_OPEN_DB";
constexpr const char* kBackupTitleKey = "IDS_BUCKUP_DB";

// The new folder's store path must fit the file system's limit as the store layer counts it.
bool storePathTooLong(const QString& folder)
{
    const QString store = DatabaseLayout::currentStoreFilePath(DatabaseLayout::expandTilde(folder));
    return QFile::encodeName(store).size() > PLDatabaseCommands::kMaxStorePathBytes;
}

bool samePath(const QString& a, const QString& b)
{
    return isSamePath(DatabaseLayout::expandTilde(a), DatabaseLayout::expandTilde(b));
}

bool isInside(const QString& path, const QString& folder)
{
    return isPathInside(DatabaseLayout::expandTilde(path), DatabaseLayout::expandTilde(folder));
}

bool isDatabaseFolderName(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.compare(QLatin1String(DatabaseLayout::kDatabaseExtension), Qt::CaseInsensitive) == 0
           || suffix.compare(QLatin1String(DatabaseLayout::kOldDatabaseExtension), Qt::CaseInsensitive) == 0;
}

// A database folder is used as a whole: nothing new is made inside the open one or inside any
// other database folder.
bool liesInsideADatabase(const QString& path, const QString& open)
{
    if (!open.isEmpty() && isInside(path, open))
        return true;
    QString folder = QFileInfo(resolvedPath(DatabaseLayout::expandTilde(path))).path();
    for (QString up = QFileInfo(folder).path(); up != folder; folder = up, up = QFileInfo(folder).path()) {
        if (isDatabaseFolderName(folder) && QFileInfo(folder).isDir())
            return true;
    }
    return false;
}

bool writable(const QString& path, bool mustExist)
{
    FileAttributes attributes;
    if (!readFileAttributes(path, &attributes))
        return false;
    if (!attributes.exists)
        return !mustExist;
    return attributes.writable;
}

// The folder, its current store and its images must be writable for the database to be used.
bool databaseIsWritable(const QString& folder)
{
    return writable(folder, true) && writable(DatabaseLayout::currentStoreFilePath(folder), false)
           && writable(DatabaseLayout::imagesFolderPath(folder), false);
}

bool storeDBPath(const QString& path)
{
    PreferenceDomain& preferences = PreferenceDomain::standard();
    preferences.setValue(QLatin1String(PLAppController::kPrefDBPath), PlistValue(path));
    return preferences.synchronize();
}

} // namespace

QString PLDatabaseCommands::initDB()
{
    const PlistValue stored = PreferenceDomain::standard().value(QLatin1String(PLAppController::kPrefDBPath));
    if (stored.isString() && !stored.toString().isEmpty()) {
        const QString path = stored.toString();
        if (!QFileInfo(path).isDir()) {
            PLMessage::ShowPLErrorMessage(kMsgMissingFolder, path);
            return QString();
        }
        if (!databaseIsWritable(path)) {
            PLMessage::ShowPLErrorMessage(kMsgCannotUse);
            return QString();
        }
        g_DBPathTypeBeforeOpen = PLNetDBLockController::GetDBPathType(path);
        if (const int refused = lockFileRefusal(path)) {
            PLMessage::ShowPLErrorMessage(refused);
            return QString();
        }
        return path;
    }

    const QString path = PLAppController::defaultDBPath();
    if (!QFileInfo(path).isDir()) {
        // The parents are made too: on a first start the documents folder may hold no "Pelmora".
        if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !QDir().mkdir(path)) {
            PLMessage::ShowPLErrorMessage(kMsgCannotCreate);
            return QString();
        }
    }
    return storeDBPath(path) ? path : QString();
}

void PLDatabaseCommands::showError(int number)
{
    PLMessage::ShowPLErrorMessageBySheet(m_mainWindow.databaseWindow(), number);
}

QString PLDatabaseCommands::panelDirectory() const
{
    if (m_database.folder().isEmpty())
        return userHomeDir();
    return QFileInfo(m_database.folder()).absolutePath();
}

QString PLDatabaseCommands::panelName() const
{
    if (m_database.folder().isEmpty())
        return QLatin1String(kDefaultDatabaseName);
    return QFileInfo(m_database.folder()).fileName();
}

QString PLDatabaseCommands::runDatabaseSavePanel(const QString& titleKey) const
{
    PLDatabasePanels::Request request;
    request.window = m_mainWindow.databaseWindow();
    request.title = getLocalString(titleKey);
    request.prompt = getLocalString(QLatin1String(kSavePromptKey));
    request.directory = panelDirectory();
    request.name = panelName();
    request.allowedTypes = {QLatin1String(DatabaseLayout::kDatabaseExtension)};
    return PLDatabasePanels::current().runSavePanel(request);
}

void PLDatabaseCommands::newDatabase()
{
    const QString path = runDatabaseSavePanel(QLatin1String(kCreateTitleKey));
    if (!path.isEmpty())
        Scheduler::performOnMainThread([this, path] { doNewDB(path); });
}

void PLDatabaseCommands::openDatabase()
{
    PLDatabasePanels::Request request;
    request.window = m_mainWindow.databaseWindow();
    request.title = getLocalString(QLatin1String(kOpenTitleKey));
    request.directory = panelDirectory();
    request.allowedTypes = {QLatin1String(DatabaseLayout::kOldDatabaseExtension), QLatin1String(DatabaseLayout::kDatabaseExtension)};
    const QString path = PLDatabasePanels::current().runOpenPanel(request);
    if (!path.isEmpty())
        Scheduler::performOnMainThread([this, path] { doOpenDB(path); });
}

void PLDatabaseCommands::backupDatabase()
{
    const int attributes = checkDBAttributes(m_database.folder());
    if (attributes == kDBAttributesMissing || attributes == kDBAttributesUnreadable) {
        showError(kMsgCannotBackUp);
        return;
    }
    const QString path = runDatabaseSavePanel(QLatin1String(kBackupTitleKey));
    if (!path.isEmpty())
        Scheduler::performOnMainThread([this, path] { doBackupDB(path); });
}

void PLDatabaseCommands::switchSucceeded(const QString& path)
{
    g_DBPathType = PLNetDBLockController::GetDBPathType(path);
    g_DBPathTypeBeforeOpen = -1;
    m_mainWindow.setCurrentOpenedDBPath();
    if (!storeDBPath(path))
        PLNSLog(QStringLiteral("Failure to save the current DB Path into preference file. DB Path:[%@]"), path);
}

void PLDatabaseCommands::restore()
{
    if (!m_database.folder().isEmpty())
        m_mainWindow.managedObjectContext();
    m_mainWindow.setCurrentOpenedDBPath();
}

bool PLDatabaseCommands::refusedDestination(const QString& path)
{
    if (storePathTooLong(path)) {
        showError(kMsgPathTooLong);
        return true;
    }
    if (pathCheck(path) == -1) {
        showError(kMsgUnsupportedVolume);
        return true;
    }
    return false;
}

void PLDatabaseCommands::doNewDB(const QString& path)
{
    const QString remembered = m_database.folder();
    g_DBPathTypeBeforeOpen = PLNetDBLockController::GetDBPathType(path);
    if (refusedDestination(path))
        return;
    if (samePath(path, remembered)) {
        showError(kMsgSameDatabase);
        return;
    }
    if (liesInsideADatabase(path, remembered)) {
        showError(kMsgBackupFailed);
        return;
    }
    if (const int refused = lockFileRefusal(path)) {
        showError(refused);
        return;
    }
    // mkdir makes the folder only when nothing is there yet.
    if (!QDir().mkdir(path)) {
        showError(kMsgCannotCreate);
        return;
    }
    if (m_mainWindow.newDB(path)) {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
        m_mainWindow.setClearBtnStatus();
        switchSucceeded(path);
        return;
    }
    restore();
    cleanFolder(path);
    showError(kMsgCannotCreate);
}

void PLDatabaseCommands::doOpenDB(const QString& path)
{
    const QString remembered = m_database.folder();
    g_DBPathTypeBeforeOpen = PLNetDBLockController::GetDBPathType(path);
    if (pathCheck(path) == -1) {
        showError(kMsgUnsupportedVolume);
        return;
    }
    if (samePath(path, remembered))
        return;
    if (!databaseIsWritable(path)) {
        showError(kMsgCannotUse);
        return;
    }
    if (const int refused = lockFileRefusal(path)) {
        showError(refused);
        return;
    }
    if (CheckDBIsNeedPassword(path) && !m_mainWindow.showPwdWndAccordingToSelectedDB(path))
        return;

    const int openMode = PLNetDBLockController::dbOpenMode();
    QString work;
    if (!m_mainWindow.migrateDatabaseIfNeeded(true, path, &work))
        return;
    const QString folder = work.isEmpty() ? path : work;
    if (m_mainWindow.newDB(folder)) {
        switchSucceeded(folder);
        return;
    }
    restore();
    PLNetDBLockController::setDbOpenMode(openMode);
    m_mainWindow.setCurrentOpenedDBPath();
    showError(kMsgCannotUse);
}

void PLDatabaseCommands::doBackupDB(const QString& path)
{
    const QString remembered = m_database.folder();
    g_DBPathTypeBeforeOpen = PLNetDBLockController::GetDBPathType(path);
    if (refusedDestination(path))
        return;
    // The destination is removed below: never when that would remove the open database, and a
    // copy is never made into a database folder.
    if (samePath(path, remembered) || liesInsideADatabase(path, remembered)
        || (!remembered.isEmpty() && isInside(remembered, path))) {
        showError(kMsgBackupFailed);
        return;
    }
    if (const int refused = lockFileRefusal(path)) {
        showError(refused);
        return;
    }

    removeTree(path);
    m_mainWindow.saveSelectedFolderAndSelectedCard();
    m_mainWindow.saveAction();
    if (copyFolderTree(remembered, path, FolderCopyOption::RemovePartial) != FolderCopyResult::Copied) {
        showError(kMsgBackupFailed);
        return;
    }
    if (m_mainWindow.newDB(path)) {
        PLNetDBLockController::setDbOpenMode(PLNetDBLockController::kOpenModeOpened);
        switchSucceeded(path);
        return;
    }
    restore();
    removeTree(path);
    showError(kMsgBackupFailed);
}
