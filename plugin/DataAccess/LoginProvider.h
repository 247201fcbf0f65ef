// Login, synchronous or asynchronous, at the login endpoint.
#pragma once

#include "plugin/Common/LoginInfo.h"
#include "plugin/SforceService/SoapBindingResponse.h"

#include <memory>

class GlobalData;
class SoapBinding;

class LoginProvider {
public:
    explicit LoginProvider(GlobalData& global) : m_global(global) {}
    ~LoginProvider();
    LoginProvider(const LoginProvider&) = delete;
    LoginProvider& operator=(const LoginProvider&) = delete;

    SoapBindingResponsePtr Execute(const LoginInfo& info);
    // Posts "QDLEVENTDALOGINCOMPLETED" with the binding's response when the login has completed.
    void ExecuteAsync(const LoginInfo& info);
    // The password the service expects: the password, followed by the security token when there is one.
    static QString passwordWithToken(const LoginInfo& info);

private:
    GlobalData& m_global;
};
