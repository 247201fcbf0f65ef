// Login and logout for the windows, the entry and the providers' re-login: runs the providers,
// keeps the session the login returns, measures how long the login took, and reaches the stored
// login in the keychain.
#pragma once

#include "plugin/Common/GetLoginInfoResult.h"
#include "plugin/SforceService/SoapBindingResponse.h"

#include <chrono>
#include <memory>

class GlobalData;
class LoginProvider;
class LogOutProvider;
struct Notification;

inline constexpr const char* kQDLEVENTLOLOGINCOMPLETED = "QDLEVENTLOLOGINCOMPLETED";
// userInfo key of the login's code, as decimal text.
inline constexpr const char* kKEY_CODE = "KEY_CODE";

class LoginInfoHandler {
public:
    explicit LoginInfoHandler(GlobalData& global);
    ~LoginInfoHandler();
    LoginInfoHandler(const LoginInfoHandler&) = delete;
    LoginInfoHandler& operator=(const LoginInfoHandler&) = delete;

    // 0 when logged in, otherwise the mapped error code.
    int Login(const LoginInfo& info);
    // Posts "QDLEVENTLOLOGINCOMPLETED" (object: this handler) when the login has completed.
    void LoginAsync(const LoginInfo& info);
    int LogOut();

    static int SaveToKeychain(const LoginInfo& info);
    static GetLoginInfoResult GetFromKeychain();

private:
    void OnLoginCompleted(const Notification& notification);
    void storeSession(const SoapBindingResponsePtr& response);
    void stopClock();

    GlobalData& m_global;
    std::unique_ptr<LoginProvider> m_loginProvider;
    std::unique_ptr<LogOutProvider> m_logOutProvider;
    std::chrono::steady_clock::time_point m_requestStartTime;
};
