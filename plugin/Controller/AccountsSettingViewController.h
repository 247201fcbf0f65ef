// The account settings window of the settings-only call: shows the stored login and saves the
// typed one in its place.
#pragma once

class GlobalData;
class PluginDialog;
class QLineEdit;

class AccountsSettingViewController {
public:
    explicit AccountsSettingViewController(GlobalData& global);
    ~AccountsSettingViewController();
    AccountsSettingViewController(const AccountsSettingViewController&) = delete;
    AccountsSettingViewController& operator=(const AccountsSettingViewController&) = delete;

    // Fills the fields from the stored login and shows the window modally.
    void ShowAccountSettingView();
    void DoSave();
    void DoCancel();

    PluginDialog* _accountSettingView() const { return m_window; }

private:
    GlobalData& m_global;
    PluginDialog* m_window = nullptr;
    QLineEdit* _userNameField = nullptr;
    QLineEdit* _passwordField = nullptr;
    QLineEdit* _securityTokenField = nullptr;
};
