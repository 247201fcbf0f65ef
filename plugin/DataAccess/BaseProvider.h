// What every provider of a call after login shares: a binding that posts to the server of the
// session with its session header, the wait for an asynchronous completion of that very binding,
// and the one re-login when the service answers that the session has expired.
#pragma once

#include "plugin/SforceService/SoapBinding.h"

#include <functional>
#include <memory>

class GlobalData;
class LoginInfoHandler;

// What the session check found.
enum SessionCheck : int {
    kSessionReloggedIn = -1,   // the session had expired and a new login succeeded
    kSessionReloginFailed = -2,
    kSessionValid = -3,        // no expired session in the response
};

class BaseProvider {
public:
    explicit BaseProvider(GlobalData& global);
    virtual ~BaseProvider();
    BaseProvider(const BaseProvider&) = delete;
    BaseProvider& operator=(const BaseProvider&) = delete;

    int CheckSessionInvalid(const SoapBindingResponsePtr& response);

protected:
    using Completion = std::function<void(const SoapBindingResponsePtr&)>;

    std::shared_ptr<SoapBinding> sessionBinding(double timeout) const;
    std::shared_ptr<SforceServiceSvc_SessionHeader> sessionHeader() const;
    // Runs `done` once, on the main thread, when `binding`'s asynchronous call has completed;
    // completions of other bindings are not this call's.
    void onCompletion(const std::shared_ptr<SoapBinding>& binding, Completion done);

    GlobalData& m_global;

private:
    std::unique_ptr<LoginInfoHandler> _loginInfoHandler;
};
