#include "plugin/Controller/LoginViewController.h"

#include "platform/foundation/NotificationCenter.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/CredentialField.h"
#include "plugin/Controller/MainViewController.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/QuitWatcher.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "plugin/SforceService/SoapCallGroup.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

using ViewTexts::text;

namespace {

constexpr int kLastRetriableCode = 20000;

void log(int level, const char* line)
{
    LogManager::LogOutput(level, QString::fromLatin1(line));
}

// The user name without blanks around it; a password or token is used exactly as typed, since
// blanks may belong to it.
QString userNameOf(const QLineEdit* field)
{
    return field->text().trimmed();
}

}

LoginViewController::LoginViewController(GlobalData& global) : m_global(global)
{
    m_loginView = new PluginDialog(global.Windows(), "_loginView");
    m_loginView->setWindowTitle(text("LTL01010"));
    _msgField = new QLabel(m_loginView);
    _msgField->setObjectName(QStringLiteral("_msgField"));
    _msgField->setWordWrap(true);
    _userNameField = credentialField(m_loginView, "_userNameField", "LTL01016", false);
    _passwordField = credentialField(m_loginView, "_passwordField", "LTL01017", true);
    _securityTokenField = credentialField(m_loginView, "_securityTokenField", "LTL01018", true);
    _saveKeychain = new QCheckBox(text("LTL01019"), m_loginView);
    _saveKeychain->setObjectName(QStringLiteral("_saveKeychain"));
    _OKButton = new QPushButton(text("LTL01020"), m_loginView);
    _OKButton->setObjectName(QStringLiteral("_OKButton"));
    _OKButton->setDefault(true);
    _cancelButton = new QPushButton(text("LTL01021"), m_loginView);
    _cancelButton->setObjectName(QStringLiteral("_cancelButton"));
    auto* form = new QFormLayout;
    form->addRow(text("LTL01016"), _userNameField);
    form->addRow(text("LTL01017"), _passwordField);
    form->addRow(text("LTL01018"), _securityTokenField);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PluginHelp::helpButton(m_loginView, "db_cloud_login.html", "LoginView:Help button click!",
        "LoginViewController:Error occurred when show help Info"));
    buttons->addWidget(_saveKeychain);
    buttons->addStretch();
    buttons->addWidget(_cancelButton);
    buttons->addWidget(_OKButton);
    auto* layout = new QVBoxLayout(m_loginView);
    layout->addWidget(_msgField);
    layout->addLayout(form);
    layout->addLayout(buttons);
    QObject::connect(_OKButton, &QPushButton::clicked, m_loginView, [this] { DoLogin(); });
    QObject::connect(_cancelButton, &QPushButton::clicked, m_loginView, [this] { DoCancel(); });
    m_loginView->setCloseHandler([this] { DoCancel(); });

    // The waiting window goes when the login ends; the user may end the wait (Cancel, the close
    // box, Escape, the Quit key), which ends the run.
    m_waitingView = new PluginDialog(global.Windows(), "_waitingView");
    m_waitingView->setWindowTitle(text("LTL01010"));
    auto* waitingLayout = new QVBoxLayout(m_waitingView);
    waitingLayout->addWidget(new QLabel(text("LTL01022"), m_waitingView));
    auto* busy = new QProgressBar(m_waitingView);
    busy->setObjectName(QStringLiteral("_progressIndicator"));
    busy->setRange(0, 0);
    busy->setAccessibleName(text("LTL01022"));
    waitingLayout->addWidget(busy);
    _waitingCancelButton = new QPushButton(text("LTL01021"), m_waitingView);
    _waitingCancelButton->setObjectName(QStringLiteral("_cancelButton"));
    waitingLayout->addWidget(_waitingCancelButton, 0, Qt::AlignRight);
    QObject::connect(_waitingCancelButton, &QPushButton::clicked, m_waitingView, [this] { CancelWaiting(); });
    m_waitingView->setCloseHandler([this] { CancelWaiting(); });
    auto* quit = new QShortcut(QKeySequence::Quit, m_waitingView);
    QObject::connect(quit, &QShortcut::activated, m_waitingView, [this] {
        CancelWaiting();
        QCoreApplication::quit();
    });
}

LoginViewController::~LoginViewController()
{
    NotificationCenter::defaultCenter().removeObserver(this);
    delete m_loginView;
    delete m_waitingView;
}

void LoginViewController::ImmediateLogin()
{
    _saveKeychain->setChecked(false);
    log(kLogInformation, "Show login windows");
    const GetLoginInfoResult stored = LoginInfoHandler::GetFromKeychain();
    if (stored.code() != 0) {
        log(kLogError, "LoginView:Error occurred when get account info from password keychain");
        ViewTexts::alert(text("MSG01002"), nullptr);
        m_global.setViewCode(kViewLogin);
        _msgField->setText(text("LTL01001"));
        _userNameField->setFocus();
        return;
    }
    log(kLogInformation, "LoginView:get account info from password keychain succeed");
    if (!stored.loginInfo()) {
        _msgField->setText(text("LTL01001"));
        m_global.setViewCode(kViewLogin);
        _userNameField->setFocus();
        return;
    }
    m_loginInfo = *stored.loginInfo();
    if (!m_loginInfo.userName().isEmpty() && !m_loginInfo.password().isEmpty()) {
        startLogin(true);
        return;
    }
    _userNameField->setText(m_loginInfo.userName());
    _passwordField->setText(m_loginInfo.password());
    _securityTokenField->setText(m_loginInfo.securityToken());
    _msgField->setText(text("LTL01001"));
    m_global.setViewCode(kViewLogin);
    setFocus();
}

void LoginViewController::ShowLoginView()
{
    CommonFuc::ShowWindowCenter(m_loginView, m_global.Windows());
    m_loginView->exec();
}

void LoginViewController::ShowWaitingView()
{
    // The login may have ended while the login window was closing.
    if (m_global.ViewCode() != kViewWaiting || !m_loginRunning)
        return;
    _waitingCancelButton->setEnabled(true);
    // A quit asked for while the login runs ends the wait: no modal run starts after it.
    const QuitWatcher quit([this] {
        CancelWaiting();
        endRunCancelled();
    });
    CommonFuc::ShowWindowCenter(m_waitingView, m_global.Windows());
    m_waitingView->exec();
}

void LoginViewController::CancelWaiting()
{
    if (!m_loginRunning || m_loginCancelled)
        return;
    log(kLogInformation, "LoginViewController:waiting Cancel click");
    m_loginCancelled = true;
    _waitingCancelButton->setEnabled(false);
    // What runs inside the wait sees that the flow goes no further.
    m_global.setViewCode(kViewNone);
    m_waitCalls->cancel();
}

void LoginViewController::DoLogin()
{
    log(kLogInformation, "LoginViewController:OK button click");
    if (userNameOf(_userNameField).isEmpty()) {
        _msgField->setText(text("LTL01002"));
        _userNameField->setFocus();
        setTextStyle(true);
        return;
    }
    if (_passwordField->text().isEmpty()) {
        _msgField->setText(text("LTL01003"));
        _passwordField->setFocus();
        setTextStyle(true);
        return;
    }
    m_loginInfo = LoginInfo();
    m_loginInfo.setUserName(userNameOf(_userNameField));
    m_loginInfo.setPassword(_passwordField->text());
    m_loginInfo.setSecurityToken(_securityTokenField->text());
    startLogin(false);
    m_loginView->finish();
}

void LoginViewController::startLogin(bool immediate)
{
    m_bImmediateLogin = immediate;
    m_loginCancelled = false;
    m_loginInfoHandler = std::make_unique<LoginInfoHandler>(m_global);
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kQDLEVENTLOLOGINCOMPLETED),
        [this](const Notification& notification) { OnLoginCompleted(notification); });
    m_global.setViewCode(kViewWaiting);
    m_loginRunning = true;
    m_waitCalls = std::make_shared<SoapCallGroup>();
    const SoapCallGroup::Scope calls(m_waitCalls);
    m_loginInfoHandler->LoginAsync(m_loginInfo);
}

void LoginViewController::OnLoginCompleted(const Notification& notification)
{
    log(kLogInformation, "LoginViewController:OnLoginCompleted start");
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTLOLOGINCOMPLETED));
    const int code = notification.userInfo.value(QString::fromLatin1(kKEY_CODE)).toString().toInt();
    if (m_loginCancelled) {
        // The user ended the wait: the run ends as from the login window's Cancel, even when the
        // answer came first (the entry logs out again).
        endRunCancelled();
        return;
    }
    if (code == 0) {
        if (_saveKeychain->isChecked() && LoginInfoHandler::SaveToKeychain(m_loginInfo) != 0) {
            log(kLogError, "LoginView:Error occurred when saving account info to password keychain");
            ViewTexts::alert(text("MSG01001"), m_waitingView);
        }
        m_global.setReturnCode(0);
        {
            // The labels and the check of the cards run behind this wait too.
            const SoapCallGroup::Scope calls(m_waitCalls);
            NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTCOSHOWCARDSVIEW), this);
        }
        if (m_loginCancelled)
            endRunCancelled();
        else
            endWaiting();
        return;
    }
    const QString key = ErrorManager::GetErrorMessage(code, 1, m_bImmediateLogin ? QString() : QStringLiteral("login"), m_global);
    if (code <= kLastRetriableCode && key != QLatin1String("MSG99001")) {
        _msgField->setText(ViewTexts::textOrSelf(key));
        _userNameField->setText(m_loginInfo.userName());
        _passwordField->setText(m_loginInfo.password());
        _securityTokenField->setText(m_loginInfo.securityToken());
        m_global.setViewCode(kViewLogin);
        _userNameField->setFocus();
        setTextStyle(true);
        endWaiting();
        return;
    }
    log(kLogError, "LoginView:Error occurred when login");
    const QString message = key == QLatin1String("MSG99001") ? ViewTexts::format("MSG99001", m_global.ExceptionMsg()) : ViewTexts::textOrSelf(key);
    ViewTexts::alert(message, m_waitingView);
    m_global.setViewCode(kViewNone);
    endWaiting();
}

void LoginViewController::endRunCancelled()
{
    if (!CommonFuc::DeleteFileAtPath(m_global.XMLPath()))
        log(kLogError, "LoginView:Error occurred when deleting OCR XML file");
    m_global.setReturnCode(kReturnCancelled);
    m_global.setViewCode(kViewNone);
    endWaiting();
}

void LoginViewController::endWaiting()
{
    m_loginRunning = false;
    if (m_waitingView->isVisible())
        m_waitingView->finish();
}

void LoginViewController::DoCancel()
{
    log(kLogInformation, "Close login windows");
    if (!CommonFuc::DeleteFileAtPath(m_global.XMLPath()))
        log(kLogError, "LoginView:Error occurred when deleting OCR XML file");
    m_global.setReturnCode(kReturnCancelled);
    m_global.setViewCode(kViewNone);
    m_loginView->finish();
}

void LoginViewController::setFocus()
{
    if (!_userNameField->text().isEmpty() && _passwordField->text().isEmpty())
        _passwordField->setFocus();
    else
        _userNameField->setFocus();
}

void LoginViewController::setTextStyle(bool error)
{
    QFont font = _msgField->font();
    font.setBold(error);
    _msgField->setFont(font);
    _msgField->setStyleSheet(error ? QStringLiteral("color: red") : QString());
}
