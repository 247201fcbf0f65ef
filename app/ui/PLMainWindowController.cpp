#include "app/ui/PLMainWindowController.h"

#include "app/linkage/prefs/PLPreferences.h"

#include "app/core/DatabaseFolder.h"
#include "app/core/Globals.h"
#include "app/core/LocalString.h"
#include "app/core/OpenDatabase.h"
#include "app/core/PLDatabaseController.h"
#include "app/core/PLDatabasePanels.h"
#include "app/core/PLMessage.h"
#include "app/core/PLNetDBLockController.h"
#include "app/core/windows/PLPasswordController.h"
#include "app/images/CardDictionary.h"
#include "app/images/RecognitionWait.h"
#include "app/ui/CardMoves.h"
#include "app/ui/MainWindowBookkeepingHost.h"
#include "app/ui/MainWindowMergeHost.h"
#include "app/ui/MainWindowUploadHost.h"
#include "app/ui/TrashPane.h"
#include "platform/appkit/ModalScope.h"
#include "platform/appkit/Scheduler.h"
#include "platform/foundation/FormatString.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/store/CardStoreModel.h"
#include "platform/store/ManagedObjectContext.h"

#include <QCoreApplication>
#include <QEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QStatusBar>

namespace {

constexpr int kMsgCannotUse = 12;
constexpr int kMsgCannotSave = 48;
constexpr int kMsgInUse = 17;
constexpr int kMsgCannotCreate = 20;
constexpr int kMsgUnsupportedVolume = 56;
constexpr int kMsgFolderExists = 133;
constexpr const char* kCreateNewDBQuestion = "IDS_MSG_CREATE_NEW_DB";
constexpr int kButtonYes = 2;
constexpr int kButtonNo = 3;

} // namespace

PLMainWindowController::PLMainWindowController(OpenDatabase& database, QObject* parent)
    : QObject(parent), m_database(database), m_window(std::make_unique<QMainWindow>()),
      _pwdWndController(std::make_unique<PLPasswordController>()),
      // Queued: a quit asked before the event loop runs must not be lost.
      m_terminate([] { QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection); }),
      m_recognitionImages(database)
{
    m_mergeHost = std::make_unique<MainWindowMergeHost>(*this, m_database);
    m_uploadHost = std::make_unique<MainWindowUploadHost>(*this, m_database);
    m_window->setObjectName(QStringLiteral("PLMainWindow"));
    m_window->setWindowTitle(QStringLiteral("Pelmora"));
    _pwdWndController->setMainWindow(m_window.get());
    _regController.setImages(&m_recognitionImages);
    buildWindow();
    m_window->installEventFilter(this);
    setRecognitionQuitHandler(this, [this](QWindow* window) { return quitAfterRecognition(window); });
    connect(&m_database, &OpenDatabase::contextChanged, this, &PLMainWindowController::managedObjectContextChanged);
}

bool PLMainWindowController::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_window.get() && event->type() == QEvent::Close)
        windowWillClose();
    if (watched == m_window.get() && event->type() == QEvent::Resize)
        windowDidResize();
    if (watched == m_window.get() && event->type() == QEvent::WindowStateChange && m_fullScreenMenuItem)
        m_fullScreenMenuItem->setText(QString::fromLatin1(m_window->isFullScreen() ? kExitFullScreenTitle : kEnterFullScreenTitle));
    if (watched == m_ui._statusLineView && event->type() == QEvent::Resize)
        resetBottomFolderStatusLayout();
    return QObject::eventFilter(watched, event);
}

PLMainWindowController::~PLMainWindowController()
{
    setRecognitionQuitHandler(this, nullptr);
    Scheduler::shared().cancelPreviousPerformRequests(this);
    NotificationCenter::defaultCenter().removeObserver(this);
    closeDatabase();
}

PLMergeHost& PLMainWindowController::mergeHost() const
{
    return *m_mergeHost;
}

const ManagedObjectModel& PLMainWindowController::managedObjectModel() const
{
    return CardStore::currentModel();
}

ManagedObjectContext* PLMainWindowController::managedObjectContext()
{
    if (m_database.isOpen() || m_database.folder().isEmpty() || !_bInited)
        return m_database.context();
    const OpenDatabase::Result result = m_database.open();
    if (result != OpenDatabase::Result::Opened) {
        _bInited = false;
        PLNSLog(QStringLiteral("Init ManagedObjectContext. ErrCode:[%d]"), -1008);
        // A lock that cannot be taken means another program has the database open.
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), result == OpenDatabase::Result::InUse ? kMsgInUse : kMsgCannotUse);
        return nullptr;
    }
    return m_database.context();
}

void PLMainWindowController::initDB()
{
    if (m_database.isOpen() || _bInited)
        return;
    _bInited = true;
    if (!managedObjectContext())
        return;
    setCurrentOpenedDBPath();
    g_DBPathType = PLNetDBLockController::GetDBPathType(m_database.folder());
    g_DBPathTypeBeforeOpen = -1;
    m_database.seed();
}

ManagedObjectContext* PLMainWindowController::newDB(const QString& folder)
{
    saveSelectedFolderAndSelectedCard();
    saveAction();
    if (m_database.switchTo(folder) != OpenDatabase::Result::Opened)
        return nullptr;
    _bInited = true;
    return m_database.context();
}

void PLMainWindowController::closeDatabase()
{
    m_database.close();
}

void PLMainWindowController::setCurrentOpenedDBPath()
{
    const QString text = formatText(QStringLiteral("%@ : %@"), getLocalString(QLatin1String(kDatabasePathKey)), m_database.folder());
    m_ui._dbPathField->setText(text);
    m_ui._dbPathField->setToolTip(text);
}

void PLMainWindowController::saveSelectedFolderAndSelectedCard()
{
    const QString folderID = selectedFolderID();
    if (PLNetDBLockController::dbOpenMode() == PLNetDBLockController::kOpenModeReadOnly || folderID.isEmpty())
        return;
    const std::optional<CardDict> card = currentSelected();
    recordSelection(folderID, card ? card->value(QStringLiteral("cardID")).toString() : QString());
}

void PLMainWindowController::saveAction()
{
    // An import or an image operation saves once it has finished.
    if (_bProcessing || saveChanges())
        return;
    // Every failed save is reported: edits that did not reach the store must not go unnoticed.
    if (!PLNetDBLockController::ShowErrorMessageByPathType())
        PLMessage::ShowPLErrorMessageBySheet(m_window.get(), kMsgCannotSave);
}

bool PLMainWindowController::saveChanges()
{
    ManagedObjectContext* context = m_database.context();
    if (!context || !context->hasChanges())
        return true;
    QString error;
    try {
        if (context->save(&error) == 0)
            return true;
        PLNSLog(QStringLiteral("Exception happended.[%@]"), error);
    } catch (const std::exception& exception) {
        PLNSLog(QStringLiteral("Exception: %@"), QString::fromUtf8(exception.what()));
    }
    return false;
}

void PLMainWindowController::setClearBtnStatus()
{
    m_cardMoves->trashPane().setClearBtnStatus();
}

std::optional<QString> PLMainWindowController::showPwdWndAccordingToSelectedDB(const QString& path)
{
    if (path.isEmpty()) {
        m_terminate();
        return std::nullopt;
    }
    {
        std::unique_ptr<PLDatabaseController> controller = PLDatabaseController::initDBwithPath(path);
        if (controller)
            controller->_lock();
        _pwdWndController->setDBFilePath(path);
        if (m_window->isVisible())
            _pwdWndController->showSheetWindow();
        else
            _pwdWndController->showModalWindow();
    }
    if (_pwdWndController->getPwdCheckedResult())
        return path;
    if (m_window->isVisible() || m_window->isMinimized())
        return std::nullopt;

    // At start-up, with no window yet: offer a new database in place of the refused one.
    if (PLMessage::ShowPLInfoMessage(QLatin1String(kCreateNewDBQuestion), kButtonYes, kButtonNo, QString()) == 1) {
        PLDatabasePanels::Request request;
        request.title = getLocalString(QStringLiteral("IDS_CREATE_NEW_DB"));
        request.prompt = getLocalString(QStringLiteral("IDS_SAVE_PROMPT"));
        request.directory = QFileInfo(path).absolutePath();
        request.name = QFileInfo(path).fileName();
        request.allowedTypes = {QLatin1String(DatabaseLayout::kDatabaseExtension)};
        const QString created = PLDatabasePanels::current().runSavePanel(request);
        if (!created.isEmpty()) {
            if (pathCheck(created) == -1) {
                PLMessage::ShowPLErrorMessage(kMsgUnsupportedVolume);
            } else if (QFileInfo::exists(created)) {
                PLMessage::ShowPLErrorMessage(kMsgFolderExists);
            } else if (!QDir().mkdir(created)) {
                PLMessage::ShowPLErrorMessage(kMsgCannotCreate);
            } else {
                return created;
            }
        }
    }
    m_terminate();
    return std::nullopt;
}

bool PLMainWindowController::migrateDatabaseIfNeeded(bool showProgress, const QString& folder, QString* workDBFullPath)
{
    PLDatabaseMigration::CheckContext context;
    context.window = m_window.get();
    context.imageAccess = &m_cardImages;
    context.fieldSeparator = m_fieldSeparator;
    context.setClearBtnStatus = [this] { setClearBtnStatus(); };
    return PLDatabaseMigration::migrateDatabaseIfNeeded(showProgress, folder, workDBFullPath, context);
}
