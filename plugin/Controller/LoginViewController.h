// The login window of an upload run and the waiting window shown while a login runs: a silent
// login with the stored login first, otherwise the user types one; a login the service refuses
// can be retried, a fatal one ends the run.
#pragma once

#include "plugin/Common/LoginInfo.h"

#include <memory>

class GlobalData;
class LoginInfoHandler;
class QCheckBox;
class SoapCallGroup;
class PluginDialog;
class QLabel;
class QLineEdit;
class QPushButton;
struct Notification;

class LoginViewController {
public:
    explicit LoginViewController(GlobalData& global);
    ~LoginViewController();
    LoginViewController(const LoginViewController&) = delete;
    LoginViewController& operator=(const LoginViewController&) = delete;

    // Tries the stored login; leaves the view code at the login window or the waiting window.
    void ImmediateLogin();
    // The two windows' steps of the window flow.
    void ShowLoginView();
    void ShowWaitingView();
    void DoLogin();
    void DoCancel();
    // Ends the wait, and with it the run: the call in flight (the login or one of the calls after it
    // that the waiting window stands for) ends at once, and nothing further is asked.
    void CancelWaiting();

    PluginDialog* _loginView() const { return m_loginView; }
    PluginDialog* _waitingView() const { return m_waitingView; }

private:
    void startLogin(bool immediate);
    void OnLoginCompleted(const Notification& notification);
    void setFocus();
    void setTextStyle(bool error);
    void endWaiting();
    void endRunCancelled();

    GlobalData& m_global;
    PluginDialog* m_loginView = nullptr;
    PluginDialog* m_waitingView = nullptr;
    QLineEdit* _userNameField = nullptr;
    QLineEdit* _passwordField = nullptr;
    QLineEdit* _securityTokenField = nullptr;
    QLabel* _msgField = nullptr;
    QCheckBox* _saveKeychain = nullptr;
    QPushButton* _OKButton = nullptr;
    QPushButton* _cancelButton = nullptr;
    QPushButton* _waitingCancelButton = nullptr;
    LoginInfo m_loginInfo;
    std::unique_ptr<LoginInfoHandler> m_loginInfoHandler;
    // The calls the waiting window stands for.
    std::shared_ptr<SoapCallGroup> m_waitCalls;
    bool m_bImmediateLogin = true;
    bool m_loginRunning = false;
    bool m_loginCancelled = false;
};
