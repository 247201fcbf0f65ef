// The open-files intake of the application delegate: the sender test, a single linkage property
// list, a single database folder, and the loads of card files.
#include "app/core/PLAppController.h"


#include "app/core/DatabaseFolder.h"
#include "app/core/DiskUtilities.h"
#include "app/core/OpenDatabase.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "platform/appkit/MessagePresenter.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/CrashPoint.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/FlagGuard.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PlistFile.h"
#include "platform/foundation/PreferenceDomain.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>

namespace {

constexpr int kCardPdf = 3;
// The application is waiting for its window: ask again a little later rather than spin.
constexpr int kWaitForWindowMs = 250;

struct SenderSuffix {
    const char* suffix;
    int inputType;
};

const SenderSuffix kSenderSuffixes[] = {
    {"Brevix Manager", kInputTypeScanner},
    {"Lanterly", kInputTypeScanner},
    {"Brevix Tessary", kInputTypeFilingApp},
    {"Finder", kInputTypeFileManager},
    {"Dock", kInputTypeFileManager},
    {"CoreServicesUIAgent", kInputTypeFileManager},
};

// The file managers and docks of this desktop, kept as a resource so that more can be named.
const QStringList& fileManagerNames()
{
    static const QStringList names = [] {
        QStringList list;
        PlistValue value;
        if (readPlistFile(Bundle::main().resourcePath() + QStringLiteral("/FileManagerNames.plist"), value)) {
            for (const PlistValue& item : value.toArray()) {
                if (item.isString() && !item.toString().isEmpty())
                    list.append(item.toString());
            }
        }
        return list;
    }();
    return names;
}


bool isJpegPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffix == QLatin1String("jpg") || suffix == QLatin1String("jpeg");
}

bool existingItemNotWritable(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isWritable();
}

} // namespace

int PLAppController::checkInputType(const QString& senderName)
{
    if (senderName.isEmpty()) {
        PLNSLog(QStringLiteral("Fail to get the ProcessInformation."));
        return kInputTypeOther;
    }
    PLNSLog(QStringLiteral("The Card is cooperated from %@"), senderName);
    for (const SenderSuffix& entry : kSenderSuffixes) {
        if (senderName.endsWith(QLatin1String(entry.suffix)))
            return entry.inputType;
    }
    for (const QString& name : fileManagerNames()) {
        if (senderName.endsWith(name))
            return kInputTypeFileManager;
    }
    return kInputTypeOther;
}

void PLAppController::applicationOpenFiles(const QStringList& files, const QString& senderName)
{
    try {
        const int inputType = checkInputType(senderName);
        if (files.size() == 1 && files.first().toLower().endsWith(QLatin1String(".plist"))) {
            installIfExtAppCfgFile(files.first());
            return;
        }
        if (_services.LaunchOCRApplication)
            _services.LaunchOCRApplication();
        if (files.size() == 1) {
            const QString suffix = QFileInfo(files.first()).suffix().toLower();
            if (suffix == QLatin1String(DatabaseLayout::kOldDatabaseExtension) || suffix == QLatin1String(DatabaseLayout::kDatabaseExtension)) {
                openDatabaseFolder(files.first());
                return;
            }
        }
        if (_bOperationRunning || files.isEmpty())
            return;
        if (_bFinishLaunch && !_mainWndController->managedObjectContext()) {
            // Nothing can be imported now; the scanner's files stay where they are.
            PLMessage::ShowPLErrorMessageBySheet(mainWindow(), inputType == kInputTypeScanner ? 101 : 241);
            return;
        }
        if (inputType == kInputTypeScanner) {
            for (const QString& file : files) {
                if (QFileInfo(file).suffix().toLower() != QLatin1String("pdf")) {
                    PLMessage::ShowPLErrorMessage(15, file);
                    return;
                }
                if (!_services.CheckPDF || _services.CheckPDF(file) != kCardPdf) {
                    PLMessage::ShowPLErrorMessageBySheet(mainWindow(), 16, file);
                    return;
                }
            }
        }
        const PLOpenFilesPair pair{files, inputType};
        if (!_bFinishLaunch) {
            if (_bHasCallOpenFilesBeforeFinishLaunch) {
                ++_iLoadCount;
                scheduleLoadOpenFilesData(pair, 1000);
            } else {
                _arrOpenFilesBeforeFinishLaunch = files;
                _iInputTypeBeforeFinishLaunch = inputType;
                _bHasCallOpenFilesBeforeFinishLaunch = true;
            }
        } else if (_bHideAppLoading) {
            ++_iLoadCount;
            scheduleLoadOpenFilesData(pair, 0);
        } else {
            scheduleLoadOpenFilesDataArray(pair, 0);
        }
    } catch (const std::exception& e) {
        PLNSLog(QStringLiteral("%@"), QString::fromLocal8Bit(e.what()));
    }
}

void PLAppController::openDatabaseFolder(const QString& folder)
{
    if (ModalScope::isOpen() || _mainWndController->isImageProcessing() || _bHideAppLoading || _bOperationRunning)
        return;
    g_DBPathTypeBeforeOpen = PLNetDBLockController::GetDBPathType(folder);
    const WindowHandle window = mainWindow();
    if (pathCheck(folder) != 0) {
        PLMessage::ShowPLErrorMessageBySheet(window, 56);
        return;
    }
    if (isSamePath(folder, _database.folder()))
        return;
    if (!QFileInfo(folder).isWritable() || existingItemNotWritable(DatabaseLayout::currentStoreFilePath(folder))
        || existingItemNotWritable(DatabaseLayout::imagesFolderPath(folder))) {
        PLMessage::ShowPLErrorMessageBySheet(window, 12);
        return;
    }
    if (const int refused = lockFileRefusal(folder)) {
        PLMessage::ShowPLErrorMessageBySheet(window, refused);
        return;
    }

    QString path = folder;
    const int openMode = PLNetDBLockController::dbOpenMode();
    {
        FlagGuard running(_bOperationRunning);
        if (CheckDBIsNeedPassword(path)) {
            const std::optional<QString> chosen = _mainWndController->showPwdWndAccordingToSelectedDB(path);
            if (!chosen || _bTerminating)
                return;
            path = *chosen;
            _bPwdChecked = true;
        }
        _tmpDBPath = path;
        QString replacement;
        const bool migrated = _mainWndController->migrateDatabaseIfNeeded(true, path, &replacement);
        _confirmMigrateStatus = migrated ? 1 : 2;
        if (!migrated)
            return;
        if (!replacement.isEmpty()) {
            path = replacement;
            _tmpDBPath = path;
        }
    }

    if (_mainWndController->newDB(path)) {
        _mainWndController->setCurrentOpenedDBPath();
        const QString typedPath = PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly ? g_strCurReadOnlyDBPath : _database.folder();
        g_DBPathType = PLNetDBLockController::GetDBPathType(typedPath);
        g_DBPathTypeBeforeOpen = -1;
        PreferenceDomain& prefs = PreferenceDomain::standard();
        prefs.setValue(QString::fromLatin1(kPrefDBPath), _database.folder());
        prefs.synchronize();
        return;
    }
    // The switch changed nothing: the database open before is still open.
    if (!_database.folder().isEmpty())
        _mainWndController->managedObjectContext();
    PLNetDBLockController::setDbOpenMode(openMode);
    _mainWndController->setCurrentOpenedDBPath();
    PLMessage::ShowPLErrorMessageBySheet(window, 12);
}

bool PLAppController::installIfExtAppCfgFile(const QString& path)
{
    if (path.isNull())
        return false;
    QString refusal;
    const std::optional<QString> installed =
        _services.installExtAppLnkConfigFile ? _services.installExtAppLnkConfigFile(path, &refusal) : std::nullopt;
    if (!installed) {
        PLNSLog(QStringLiteral("Failure to install the linkage config file of application.Config File Path:[%@]"), path);
        // The user opened the file: what became of it is said, also when it started the application.
        if (!refusal.isEmpty()) {
            const QString text =
                formatString(getLocalString(QStringLiteral("IDS_MSG_EXTAPP_PLIST_REFUSED")), {QFileInfo(path).fileName(), refusal});
            MessagePresenter::current().runModal(AlertRequest{mainWindow(), QStringLiteral("Pelmora"), text, {}, false});
        }
    }
    if (!_bFinishLaunch)
        terminate();
    return false;
}

quint64 PLAppController::spaceNeededForLoad(const QStringList& paths)
{
    quint64 needed = kLoadReserveBytes;
    for (const QString& path : paths) {
        const quint64 size = static_cast<quint64>(qMax<qint64>(0, QFileInfo(path).size()));
        needed += isJpegPath(path) ? 2 * size : size;
    }
    return needed;
}

int PLAppController::importPair(const PLOpenFilesPair& pair, QStringList* imported)
{
    return _mainWndController->scanData(pair.paths, pair.inputType, imported);
}

void PLAppController::deleteImportedScannerFiles(const QStringList& imported, int inputType)
{
    if (inputType != kInputTypeScanner || !_bDeleteImportFiles)
        return;
    crashPoint("import-saved");
    for (const QString& path : imported) {
        if (PLChecker::isPathExists(path, 1))
            QFile::remove(path);
        crashPoint("import-scanner-file-deleted");
    }
}

void PLAppController::loadOpenFilesDataArray(const PLOpenFilesPair& pair)
{
    PLNSLog(QStringLiteral("loadOpenFilesDataArray!"));
    if (pair.paths.isEmpty())
        return;
    if (ModalScope::isOpen()) {
        // Held by the scheduler until the modal run ends.
        scheduleLoadOpenFilesDataArray(pair, 0);
        return;
    }
    if (!_mainWndController->isWindowVisible() && !_mainWndController->isWindowMiniaturized()
        && !_mainWndController->managedObjectContext()) {
        scheduleLoadOpenFilesDataArray(pair, kWaitForWindowMs);
        return;
    }
    if (!_mainWndController->managedObjectContext())
        return;
    const WindowHandle window = mainWindow();
    if (PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly) {
        PLMessage::ShowPLErrorMessageBySheet(window, 219);
        return;
    }
    if (checkDBAttributes(_database.folder()) != 0) {
        PLMessage::ShowPLErrorMessageBySheet(window, 48);
        return;
    }
    if (checkDiskSize(_database.folder(), spaceNeededForLoad(pair.paths)) != 0) {
        PLMessage::ShowPLErrorMessageBySheet(window, 11);
        return;
    }
    QStringList imported;
    importPair(pair, &imported);
    deleteImportedScannerFiles(imported, pair.inputType);
}

void PLAppController::loadOpenFilesData(const PLOpenFilesPair& pair)
{
    --_iLoadCount;
    bool scheduledQuit = false;
    if (!pair.paths.isEmpty()) {
        PLNSLog(QStringLiteral("loadOpenFilesData start"));
        const WindowHandle window = mainWindow();
        if (_mainWndController->managedObjectContext()) {
            if (PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly) {
                PLMessage::ShowPLErrorMessageBySheet(window, 219);
                scheduledQuit = _bHideAppLoading;
            } else if (checkDiskSize(_database.folder(), spaceNeededForLoad(pair.paths)) != 0) {
                PLMessage::ShowPLErrorMessageBySheet(window, 11);
            } else {
                QStringList imported;
                importPair(pair, &imported);
                deleteImportedScannerFiles(imported, pair.inputType);
                scheduledQuit = _bHideAppLoading;
            }
            if (scheduledQuit)
                Scheduler::shared().performAfterDelay(this, QStringLiteral("TerminateSelfWhileNoOpenFiles:"), 1000,
                                                      [this] { TerminateSelfWhileNoOpenFiles(); });
        } else {
            PLMessage::ShowPLErrorMessageBySheet(window, pair.inputType == kInputTypeScanner ? 101 : 241);
        }
    }
    // A load that imported nothing still waits for the loads behind it before the hidden mode ends.
    if (!scheduledQuit && _bHideAppLoading)
        Scheduler::shared().performAfterDelay(this, QStringLiteral("TerminateSelfWhileNoOpenFiles:"), 0,
                                              [this] { TerminateSelfWhileNoOpenFiles(); });
    PLNSLog(QStringLiteral("loadOpenFilesData end"));
}

void PLAppController::scheduleLoadOpenFilesData(const PLOpenFilesPair& pair, int delayMs)
{
    Scheduler::shared().performAfterDelay(this, QStringLiteral("loadOpenFilesData:"), delayMs, [this, pair] { loadOpenFilesData(pair); });
}

void PLAppController::scheduleLoadOpenFilesDataArray(const PLOpenFilesPair& pair, int delayMs)
{
    Scheduler::shared().performAfterDelay(this, QStringLiteral("loadOpenFilesDataArray:"), delayMs,
                                          [this, pair] { loadOpenFilesDataArray(pair); });
}
