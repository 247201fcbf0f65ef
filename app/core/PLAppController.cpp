#include "app/core/PLAppController.h"

#include "app/core/DiskUtilities.h"
#include "app/core/Globals.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLChecker.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/core/DatabaseFolder.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/Bundle.h"
#include "platform/foundation/FlagGuard.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/PathCompare.h"
#include "platform/foundation/PreferenceDomain.h"
#include "platform/foundation/StandardPaths.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <libxml/parser.h>

namespace {

const char* const kUpdateFolderName = "Brevix Online Update.localized";
const char* const kUpdateProgramName = "Wexmoor";
// Where programs of the whole machine live on this system.
const char* const kLocalApplicationsFolder = "/opt";

bool generalDisplayItems()
{
    const PlistValue value = PreferenceDomain::standard().value(QString::fromLatin1(PLAppController::kPrefGeneralDisplayItems));
    return value.isNumber() ? value.toBool() : true;
}


} // namespace

PLAppController::PLAppController(PLMainWindowHost* mainWindow, OpenDatabase& database, PLAppServices services, const Bundle& bundle,
                                 QObject* parent)
    : QObject(parent), _mainWndController(mainWindow), _database(database), _services(std::move(services))
{
    const PlistValue logOn = bundle.objectForInfoDictionaryKey(QStringLiteral("PLLogOn"));
    if (!logOn.isNull())
        setLogOn(logOn.toBool());
    const PlistValue deleteImages = bundle.objectForInfoDictionaryKey(QStringLiteral("Delete Import Images"));
    if (!deleteImages.isNull())
        _bDeleteImportFiles = deleteImages.toBool();
    const PlistValue diskSize = bundle.objectForInfoDictionaryKey(QStringLiteral("PLDiskSize"));
    g_lDiskSize = (diskSize.isNumber() && !diskSize.isBool() && diskSize.toReal() >= 0)
        ? static_cast<uint64_t>(diskSize.toInteger()) * 1024u
        : kDefaultDiskSize;
    const PlistValue syncJudge = bundle.objectForInfoDictionaryKey(QStringLiteral("PLSyncOSJudge"));
    g_bSyncOSJudge = syncJudge.isNumber() ? syncJudge.toBool() : true;
    g_strCurReadOnlyDBPath.clear();
    // Another application took the focus: an edit in progress ends, as it does on a menu command.
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
            const bool wasActive = _bApplicationActive;
            _bApplicationActive = state == Qt::ApplicationActive;
            if (wasActive && !_bApplicationActive)
                applicationDidResignActive();
        });
    }
}

PLAppController::~PLAppController()
{
    Scheduler::shared().cancelPreviousPerformRequests(this);
}

WindowHandle PLAppController::mainWindow() const
{
    return _mainWndController->windowHandle();
}

QString PLAppController::defaultDBPath()
{
    const QString documents = userDocumentsDir();
    if (!documents.isEmpty())
        return documents + QStringLiteral("/Pelmora/Pelmora DB.cxdb");
    return userHomeDir() + QStringLiteral("/Pelmora DB.cxdb");
}

void PLAppController::showMainWindowAndActivate()
{
    if (!_mainWndController->isWindowVisible()) {
        _mainWndController->SetWindowsize();
        _mainWndController->showWindow();
    }
    _mainWndController->activateWindow();
}

void PLAppController::applicationDidFinishLaunching()
{
    PLNSLog(QStringLiteral("applicationDidFinishLaunching start"));
    _bFinishLaunch = true;
    if (_bTerminating)
        return;
    if (_services.LaunchOCRApplication)
        _services.LaunchOCRApplication();

    if (_bOperationRunning) {
        showMainWindowAndActivate();
        return;
    }

    const QString previousPath = _database.folder();
    if (_database.folder().isEmpty() && _services.initDB)
        _database.choose(_services.initDB());

    const bool hasPending = _bHasCallOpenFilesBeforeFinishLaunch && !_arrOpenFilesBeforeFinishLaunch.isEmpty();
    int migrated = 0;
    QString replacementPath;
    {
        FlagGuard running(_bOperationRunning);

        // Only the folder whose password was given before launch ended goes without the prompt.
        const QString chosenPath = _database.folder();
        const bool checked = _bPwdChecked && !_tmpDBPath.isEmpty() && isSamePath(_tmpDBPath, chosenPath);
        if (CheckDBIsNeedPassword(chosenPath) && !checked) {
            const std::optional<QString> chosen = _mainWndController->showPwdWndAccordingToSelectedDB(chosenPath);
            if (!chosen || _bTerminating) {
                _database.choose(previousPath);
                return;
            }
            _database.choose(*chosen);
        }
        _bPwdChecked = false;

        const bool display = generalDisplayItems();
        const QString path = _database.folder();
        const bool freshChoice = !PLChecker::isBlank(path) && !_tmpDBPath.isEmpty() && !isSamePath(_tmpDBPath, path);
        if (freshChoice || _confirmMigrateStatus == 0)
            migrated = _mainWndController->migrateDatabaseIfNeeded(true, path, &replacementPath) ? 1 : 2;
        else
            migrated = _confirmMigrateStatus;
        _confirmMigrateStatus = 0;
        _tmpDBPath.clear();

        if (migrated != 1) {
            _database.choose(previousPath);
            if (hasPending) {
                // The pending files were not imported: scanner files stay where they are.
                PLMessage::ShowPLErrorMessage(_iInputTypeBeforeFinishLaunch == kInputTypeScanner ? 101 : 241);
                _arrOpenFilesBeforeFinishLaunch.clear();
                _bHasCallOpenFilesBeforeFinishLaunch = false;
                if (!display) {
                    terminate();
                    return;
                }
            }
            showMainWindowAndActivate();
            return;
        }
        if (!replacementPath.isEmpty())
            _database.choose(replacementPath);
    }

    if (!hasPending) {
        Scheduler::shared().performAfterDelay(this, QStringLiteral("showActiveWindow:"), 300,
                                              [this] { _mainWndController->showActiveWindow(); });
        return;
    }

    const PLOpenFilesPair pair{_arrOpenFilesBeforeFinishLaunch, _iInputTypeBeforeFinishLaunch};
    _arrOpenFilesBeforeFinishLaunch.clear();
    _bHasCallOpenFilesBeforeFinishLaunch = false;
    if (generalDisplayItems()) {
        _mainWndController->showActiveWindow();
        ++_iLoadCount;
        scheduleLoadOpenFilesData(pair, 0);
    } else {
        _mainWndController->initDB();
        _bHideAppLoading = true;
        ++_iLoadCount;
        loadOpenFilesData(pair);
    }
}

bool PLAppController::applicationShouldTerminate()
{
    xmlCleanupParser();
    return true;
}

void PLAppController::applicationWillTerminate()
{
    if (_mainWndController->isWindowVisible() || _mainWndController->isWindowMiniaturized())
        _mainWndController->closeWindow();
    if (g_DBPathType != -1) {
        PreferenceDomain& prefs = PreferenceDomain::standard();
        prefs.setValue(QString::fromLatin1(kPrefDBType), g_DBPathType);
        prefs.synchronize();
    }
    if (_services.QuitOCRApplication)
        _services.QuitOCRApplication();
}

void PLAppController::applicationDidResignActive()
{
    _mainWndController->endFolderNameEditing();
}

bool PLAppController::validateMenuItem(PLAppCommand command)
{
    _mainWndController->endFolderNameEditing();
    bool enabled = false;
    switch (command) {
    case PLAppCommand::NewDatabase:
    case PLAppCommand::OpenDatabase:
        enabled = !_mainWndController->managedObjectContext() || !_mainWndController->isSyncing();
        break;
    case PLAppCommand::BackupDatabase:
        enabled = PLNetDBLockController::dbOpenMode() != PLNetDBLockController::kOpenModeReadOnly
            && _mainWndController->managedObjectContext() && !_mainWndController->isSyncing();
        break;
    case PLAppCommand::OnlineUpdate:
        enabled = true;
        break;
    case PLAppCommand::Other:
        enabled = false;
        break;
    }
    return enabled && !_mainWndController->hasAttachedSheet();
}

void PLAppController::onlineUpdate()
{
    const QString program = QString::fromLatin1(kLocalApplicationsFolder) + QLatin1Char('/') + QLatin1String(kUpdateFolderName)
        + QLatin1Char('/') + QLatin1String(kUpdateProgramName);
    if (!QFileInfo::exists(program)) {
        PLMessage::ShowPLErrorMessageBySheet(nullptr, 125);
        return;
    }
    if (!_services.openApplication || !_services.openApplication(program))
        PLMessage::ShowPLErrorMessageBySheet(nullptr, 5);
}

void PLAppController::searchFromTextService(const std::optional<QString>& text, QString* error)
{
    PLNSLog(QStringLiteral("%@"), text ? QStringLiteral("(text/plain)") : QStringLiteral("()"));
    if (text) {
        _mainWndController->searchText(*text);
        return;
    }
    if (error)
        *error = QStringLiteral("pboard couldn't give string.");
}

void PLAppController::TerminateSelfWhileNoOpenFiles()
{
    if (_iLoadCount < 1)
        terminate();
}

void PLAppController::terminate()
{
    _bTerminating = true;
    if (_services.terminate)
        _services.terminate();
}
