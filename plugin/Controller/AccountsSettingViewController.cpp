#include "plugin/Controller/AccountsSettingViewController.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/Controller/CredentialField.h"
#include "plugin/Controller/PluginDialog.h"
#include "plugin/Controller/PluginHelp.h"
#include "plugin/Controller/ViewTexts.h"
#include "plugin/Logic/LoginInfoHandler.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using ViewTexts::text;

namespace {

void log(int level, const char* line)
{
    LogManager::LogOutput(level, QString::fromLatin1(line));
}

}

AccountsSettingViewController::AccountsSettingViewController(GlobalData& global) : m_global(global)
{
    m_window = new PluginDialog(global.Windows(), "_accountSettingView");
    m_window->setWindowTitle(text("LTL02001"));
    m_window->setCloseHandler([this] { DoCancel(); });
    _userNameField = credentialField(m_window, "_userNameField", "LTL01016", false);
    _passwordField = credentialField(m_window, "_passwordField", "LTL01017", true);
    _securityTokenField = credentialField(m_window, "_securityTokenField", "LTL01018", true);
    auto* ok = new QPushButton(text("LTL01020"), m_window);
    ok->setObjectName(QStringLiteral("_OKButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(text("LTL01021"), m_window);
    cancel->setObjectName(QStringLiteral("_cancelButton"));
    auto* form = new QFormLayout;
    form->addRow(text("LTL01016"), _userNameField);
    form->addRow(text("LTL01017"), _passwordField);
    form->addRow(text("LTL01018"), _securityTokenField);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PluginHelp::helpButton(m_window, "db_cloud_account.html", "AccountSettingView:Help button click!",
        "AccountsSettingViewController:Error occurred when show help Info"));
    buttons->addStretch();
    buttons->addWidget(cancel);
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(m_window);
    layout->addLayout(form);
    layout->addLayout(buttons);
    QObject::connect(ok, &QPushButton::clicked, m_window, [this] { DoSave(); });
    QObject::connect(cancel, &QPushButton::clicked, m_window, [this] { DoCancel(); });
}

AccountsSettingViewController::~AccountsSettingViewController()
{
    delete m_window;
}

void AccountsSettingViewController::ShowAccountSettingView()
{
    log(kLogInformation, "Show account setting windows");
    _userNameField->setFocus();
    const GetLoginInfoResult stored = LoginInfoHandler::GetFromKeychain();
    CommonFuc::ShowWindowCenter(m_window, m_global.Windows());
    if (stored.code() != 0) {
        log(kLogError, "AccountSettingView:Error occurred when getting account info from password keychain");
        ViewTexts::alert(text("MSG02002"), m_window);
    } else {
        log(kLogInformation, "AccountSettingView:Get account info from password keychain succeed");
        if (const auto& info = stored.loginInfo()) {
            _userNameField->setText(info->userName());
            _passwordField->setText(info->password());
            _securityTokenField->setText(info->securityToken());
        }
    }
    m_window->exec();
}

void AccountsSettingViewController::DoSave()
{
    log(kLogInformation, "AccountSettingView:OK button click");
    LoginInfo info;
    // Blanks may belong to a password or token: those are kept exactly as typed.
    info.setUserName(_userNameField->text().trimmed());
    info.setPassword(_passwordField->text());
    info.setSecurityToken(_securityTokenField->text());
    if (LoginInfoHandler::SaveToKeychain(info) != 0) {
        log(kLogError, "AccountSettingView:Error occurred when saving account info to password keychain");
        ViewTexts::alert(text("MSG02001"), m_window);
        _userNameField->setFocus();
        return;
    }
    log(kLogInformation, "AccountSettingView:Save account info to password keychain success");
    m_global.setReturnCode(0);
    m_window->finish();
}

void AccountsSettingViewController::DoCancel()
{
    log(kLogInformation, "Close account setting windows");
    m_global.setReturnCode(0);
    m_window->finish();
}
