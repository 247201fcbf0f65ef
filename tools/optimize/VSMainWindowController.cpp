#include "tools/optimize/VSMainWindowController.h"

#include "platform/foundation/DatabaseLock.h"
#include "platform/store/DatabaseLayout.h"
#include "tools/dbtools/FolderChooser.h"
#include "tools/dbtools/HelpPage.h"
#include "tools/dbtools/ToolMessages.h"
#include "tools/dbtools/ToolSqlite.h"
#include "tools/optimize/VSCommonFuc.h"
#include "tools/optimize/VSMessage.h"
#include "tools/optimize/VSOptimizeDBController.h"
#include "tools/optimize/VSPasswordWndController.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

namespace {
const QString kProcessBeginKey = QStringLiteral("IDS_MSG_PROCESS_BEGIN");
const QString kProcessEndKey = QStringLiteral("IDS_MSG_PROCESS_END");
const QString kZeroPercent = QStringLiteral("0%");
const QString kFullPercent = QStringLiteral("100%");
constexpr quint64 kSpareBytes = 524288;

enum Message {
    kMsgOther = 1,
    kMsgNoDatabase = 101,
    kMsgNotLocal = 102,
    kMsgInUse = 103,
    kMsgNotUsable = 104,
    kMsgLockFailed = 105,
    kMsgUnlockFailed = 106,
    kMsgShellFailed = 107,
    kMsgPathTooLong = 108,
    kMsgNoSpace = 111,
    kMsgBackupFailed = 112,
    kMsgNewerDatabase = 114,
};
// Returned by the checks when the password sheet was left without a correct password.
constexpr int kCancelled = -1;
} // namespace

VSMainWindowController::VSMainWindowController() : m_shellPath(VSOptimizeDBController::kShellPath)
{
    m_window = new QWidget;
    m_window->setObjectName(QStringLiteral("mainWindow"));
    m_window->setAttribute(Qt::WA_DeleteOnClose, false);
    _dbFilePath = new QLineEdit(m_window);
    _dbFilePath->setObjectName(QStringLiteral("_dbFilePath"));
    _dbFilePath->setReadOnly(true);
    _dbFilePath->setMinimumWidth(360);
    _btnSelectPLDB = new QPushButton(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_SELECT")), m_window);
    _btnSelectPLDB->setObjectName(QStringLiteral("_btnSelectPLDB"));
    _optimizeStatusText = new QLabel(m_window);
    _optimizeStatusText->setObjectName(QStringLiteral("_optimizeStatusText"));
    _percentageText = new QLabel(m_window);
    _percentageText->setObjectName(QStringLiteral("_percentageText"));
    _progressBar = new QProgressBar(m_window);
    _progressBar->setObjectName(QStringLiteral("_progressBar"));
    _progressBar->setTextVisible(false);
    _btnHelp = new QPushButton(QStringLiteral("?"), m_window);
    _btnHelp->setObjectName(QStringLiteral("_btnHelp"));
    _btnHelp->setToolTip(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_HELP")));
    _btnHelp->setAccessibleName(_btnHelp->toolTip());
    _btnExecute = new QPushButton(DbToolCommon::getLocalString(QStringLiteral("IDS_BUTTON_EXECUTE")), m_window);
    _btnExecute->setObjectName(QStringLiteral("_btnExecute"));
    _btnExecute->setDefault(true);

    auto* pathRow = new QHBoxLayout;
    pathRow->addWidget(_dbFilePath, 1);
    pathRow->addWidget(_btnSelectPLDB);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(_progressBar, 1);
    progressRow->addWidget(_percentageText);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addWidget(_btnHelp);
    buttonRow->addStretch();
    buttonRow->addWidget(_btnExecute);
    auto* layout = new QVBoxLayout(m_window);
    auto* pathLabel = new QLabel(DbToolCommon::getLocalString(QStringLiteral("IDS_LABEL_DATABASE")), m_window);
    pathLabel->setBuddy(_dbFilePath);
    layout->addWidget(pathLabel);
    layout->addLayout(pathRow);
    layout->addWidget(_optimizeStatusText);
    layout->addLayout(progressRow);
    layout->addLayout(buttonRow);

    _pwdWndController = new VSPasswordWndController(m_window);

    connect(_btnSelectPLDB, &QPushButton::clicked, this, &VSMainWindowController::doSelectPath);
    connect(_btnHelp, &QPushButton::clicked, this, &VSMainWindowController::doHelp);
    connect(_btnExecute, &QPushButton::clicked, this, &VSMainWindowController::doExecute);
    awakeFromNib();
}

VSMainWindowController::~VSMainWindowController()
{
    _optimizeDBController.reset();
    delete m_window;
}

void VSMainWindowController::awakeFromNib()
{
    initView();
    m_window->setWindowTitle(DbToolCommon::getLocalString(ToolMessages::kWindowTitleKey));
}

void VSMainWindowController::applicationDidFinishLaunching()
{
    if (_btnExecute->isEnabled())
        _btnExecute->setFocus();
    else
        _btnSelectPLDB->setFocus();
}

void VSMainWindowController::initView()
{
    initDBFilePath();
    refreshByProcessStatus(kIdle);
}

void VSMainWindowController::initDBFilePath()
{
    _dbFilePath->setText(VSCommonFuc::initialDBPath());
}

void VSMainWindowController::doSelectPath()
{
    const QString chosen = FolderChooser::chooseDatabaseFolder(m_window, _dbFilePath->text());
    if (!chosen.isEmpty())
        onSelectPath({QUrl::fromLocalFile(chosen)});
}

void VSMainWindowController::onSelectPath(const QList<QUrl>& urls)
{
    if (!urls.isEmpty())
        _dbFilePath->setText(urls.first().toLocalFile());
    refreshByProcessStatus(kIdle);
}

void VSMainWindowController::doHelp()
{
    HelpPage::LocateHelpPageByAnchor(kHelpAnchor);
}

void VSMainWindowController::updateExecuteBtnStatus()
{
    _btnExecute->setEnabled(!_dbFilePath->text().isEmpty());
}

void VSMainWindowController::refreshByProcessStatus(int status)
{
    switch (status) {
    case kRunning:
        _progressBar->setRange(0, 0);
        _percentageText->setText(kZeroPercent);
        _optimizeStatusText->setText(DbToolCommon::getLocalString(kProcessBeginKey));
        _btnSelectPLDB->setEnabled(false);
        _btnHelp->setEnabled(false);
        _btnExecute->setEnabled(false);
        m_window->repaint();
        break;
    case kFinished:
        _progressBar->setRange(0, 100);
        _progressBar->setValue(100);
        _percentageText->setText(kFullPercent);
        _optimizeStatusText->setText(DbToolCommon::getLocalString(kProcessEndKey));
        _btnSelectPLDB->setEnabled(true);
        _btnHelp->setEnabled(true);
        _btnExecute->setEnabled(false);
        _btnSelectPLDB->setFocus();
        break;
    case kIdle:
        _progressBar->setRange(0, 100);
        _progressBar->setValue(0);
        _percentageText->setText(kZeroPercent);
        _optimizeStatusText->clear();
        _btnSelectPLDB->setEnabled(true);
        _btnHelp->setEnabled(true);
        updateExecuteBtnStatus();
        break;
    default:
        break;
    }
}

int VSMainWindowController::checkBeforeRun(const QString& folder, QString* storePath)
{
    int versionError = 0;
    ToolSqlite versionQuery;
    versionQuery.isDatabaseV53(&versionError, folder);
    if (versionError == ToolSqlite::kNewerDatabase)
        return kMsgNewerDatabase;
    if (VSCommonFuc::isBlank(folder))
        return kMsgNoDatabase;

    *storePath = DatabaseLayout::expandTilde(DatabaseLayout::storeFilePath(folder));
    if (!VSCommonFuc::isValidPathLength(*storePath, VSCommonFuc::kPathLengthLimit))
        return kMsgPathTooLong;

    const int attributes = VSCommonFuc::CheckDBAttributes(folder);
    if (attributes == 1)
        return kMsgNoDatabase;
    if (attributes >= 2 && attributes <= 8 && attributes != 7)
        return kMsgNotUsable;
    if (attributes != 7)
        return kMsgOther;
    if (!VSCommonFuc::CheckDBpathIsLocal(folder))
        return kMsgNotLocal;

    _pwdWndController->setDBFilePath(folder);
    if (_pwdWndController->isHasPassword()) {
        _pwdWndController->showSheetWindow();
        if (!_pwdWndController->getPwdCheckedResult())
            return kCancelled;
    }

    int sizeError = 0;
    const quint64 folderSize = VSCommonFuc::getSizeWithPath(folder, &sizeError);
    if (sizeError < 0)
        return kMsgOther;
    const quint64 required = folderSize + static_cast<quint64>(QFileInfo(*storePath).size()) + kSpareBytes;
    if (!VSCommonFuc::CheckDiskSizeIsEnough(*storePath, required))
        return kMsgNoSpace;

    // Something else in the lock file's place (a link) makes the folder unusable, not in use.
    if (!DatabaseLock::isLockFileUsable(DatabaseLock::lockFilePath(folder)))
        return kMsgNotUsable;
    if (VSCommonFuc::CheckDBFileIsLocked(DatabaseLock::lockFilePath(folder)))
        return kMsgInUse;
    return 0;
}

int VSMainWindowController::messageForRunResult(int result)
{
    switch (result) {
    case VSOptimizeDBController::kSuccess:
        return 0;
    case VSOptimizeDBController::kBackupFailed:
        return kMsgBackupFailed;
    case VSOptimizeDBController::kShellFailed:
        return kMsgShellFailed;
    case VSOptimizeDBController::kUnlockFailed:
        return kMsgUnlockFailed;
    case VSOptimizeDBController::kLockFailed:
        return kMsgLockFailed;
    case VSOptimizeDBController::kInUse:
        return kMsgInUse;
    default:
        return kMsgOther;
    }
}

void VSMainWindowController::doExecute()
{
    const QString folder = _dbFilePath->text();
    QString storePath;
    const int checked = checkBeforeRun(folder, &storePath);
    if (checked == kCancelled)
        return;
    if (checked != 0) {
        VSMessage::ShowErrorMessage(checked);
        refreshByProcessStatus(kIdle);
        return;
    }

    _optimizeDBController = std::make_unique<VSOptimizeDBController>(storePath);
    _optimizeDBController->setShellPath(m_shellPath);
    refreshByProcessStatus(kRunning);
    const int message = messageForRunResult(_optimizeDBController->run());
    m_lastBackupPath = _optimizeDBController->backupPath();
    _optimizeDBController.reset();
    if (message == 0) {
        refreshByProcessStatus(kFinished);
    } else {
        VSMessage::ShowErrorMessage(message);
        refreshByProcessStatus(kIdle);
    }
}
