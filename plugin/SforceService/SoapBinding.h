// One call of the service: the envelope is written, posted with libcurl and the answer read into a
// SoapBindingResponse. A synchronous call returns the response (the main thread keeps serving its
// events in a nested loop meanwhile); an asynchronous call runs on a worker of its own and posts
// "SFoceCompleted" once on the main thread, waiting until the observers have returned. A binding
// carries exactly one call; the caller may drop it right after an asynchronous call.
#pragma once

#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SforceServiceSvcHeaders.h"
#include "plugin/SforceService/SoapBindingResponse.h"
#include "plugin/SforceService/SoapBinding_envelope.h"

#include <QStringList>

#include <atomic>
#include <mutex>

inline constexpr const char* kSFoceCompletedNotification = "SFoceCompleted";
inline constexpr const char* kSFORCERESPONSEKey = "SFORCERESPONSE";
inline constexpr double kDefaultTimeoutSeconds = 60.0;

// One request in flight: the operation name (also the SOAP action), its header blocks by name, the
// request body and the type that reads the response element.
struct SoapBindingOperation {
    QString name;
    SoapElements headers;
    SoapObjectPtr parameters;
    const SoapTypeInfo* responseType = nullptr;
    bool readsDebuggingInfo = false;
};

class SoapBinding : public std::enable_shared_from_this<SoapBinding> {
public:
    using SessionHeaderPtr = std::shared_ptr<SforceServiceSvc_SessionHeader>;
    using PackageVersionHeaderPtr = std::shared_ptr<SforceServiceSvc_PackageVersionHeader>;
    using AssignmentRuleHeaderPtr = std::shared_ptr<SforceServiceSvc_AssignmentRuleHeader>;
    using MruHeaderPtr = std::shared_ptr<SforceServiceSvc_MruHeader>;
    using AllowFieldTruncationHeaderPtr = std::shared_ptr<SforceServiceSvc_AllowFieldTruncationHeader>;
    using DisableFeedTrackingHeaderPtr = std::shared_ptr<SforceServiceSvc_DisableFeedTrackingHeader>;
    using DebuggingHeaderPtr = std::shared_ptr<SforceServiceSvc_DebuggingHeader>;
    using EmailHeaderPtr = std::shared_ptr<SforceServiceSvc_EmailHeader>;
    using UserTerritoryDeleteHeaderPtr = std::shared_ptr<SforceServiceSvc_UserTerritoryDeleteHeader>;

    static std::shared_ptr<SoapBinding> initWithAddress(const QString& address);

    QString address() const;
    void setAddress(const QString& address);
    double defaultTimeout() const { return m_defaultTimeout; }
    // A time-out of 0 or less (or not a number) would end the call before it is sent: it takes the default.
    void setdefaultTimeout(double seconds) { m_defaultTimeout = seconds > 0 ? seconds : kDefaultTimeoutSeconds; }
    QStringList cookies() const;
    void setCookies(const QStringList& cookies);
    void addCookie(const QString& cookie);
    // Requests and responses go to the diagnostic log, with passwords and session ids masked.
    void setlogXMLInOut(bool on) { m_logXMLInOut = on; }
    bool getlogXMLInOut() const { return m_logXMLInOut; }
    bool synchronousOperationComplete() const { return m_synchronousOperationComplete; }
    bool synchronousOperation() const { return m_synchronousOperation; }
    // Ends the call in flight with the URL-loading "cancelled" error.
    void cancel() { m_cancelled = true; }

    SoapBindingResponsePtr loginUsingParameters(const std::shared_ptr<SforceServiceSvc_login>& parameters,
        const std::shared_ptr<SforceServiceSvc_LoginScopeHeader>& loginScopeHeader = nullptr);
    void loginAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_login>& parameters,
        const std::shared_ptr<SforceServiceSvc_LoginScopeHeader>& loginScopeHeader = nullptr);

    SoapBindingResponsePtr describeSObjectUsingParameters(const std::shared_ptr<SforceServiceSvc_describeSObject>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr,
        const SoapObjectPtr& localeOptions = nullptr);
    SoapBindingResponsePtr describeSObjectsUsingParameters(const std::shared_ptr<SforceServiceSvc_describeSObjects>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr,
        const SoapObjectPtr& localeOptions = nullptr);

    SoapBindingResponsePtr describeTabsUsingParameters(const std::shared_ptr<SforceServiceSvc_describeTabs>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr);
    void describeTabsAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_describeTabs>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr);

    SoapBindingResponsePtr createUsingParameters(const std::shared_ptr<SforceServiceSvc_create>& parameters,
        const SessionHeaderPtr& sessionHeader, const AssignmentRuleHeaderPtr& assignmentRuleHeader = nullptr,
        const MruHeaderPtr& mruHeader = nullptr, const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader = nullptr,
        const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader = nullptr, const DebuggingHeaderPtr& debuggingHeader = nullptr,
        const PackageVersionHeaderPtr& packageVersionHeader = nullptr, const EmailHeaderPtr& emailHeader = nullptr);
    void createAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_create>& parameters,
        const SessionHeaderPtr& sessionHeader, const AssignmentRuleHeaderPtr& assignmentRuleHeader = nullptr,
        const MruHeaderPtr& mruHeader = nullptr, const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader = nullptr,
        const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader = nullptr, const DebuggingHeaderPtr& debuggingHeader = nullptr,
        const PackageVersionHeaderPtr& packageVersionHeader = nullptr, const EmailHeaderPtr& emailHeader = nullptr);

    SoapBindingResponsePtr deleteUsingParameters(const std::shared_ptr<SforceServiceSvc_delete>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr,
        const UserTerritoryDeleteHeaderPtr& userTerritoryDeleteHeader = nullptr, const EmailHeaderPtr& emailHeader = nullptr,
        const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader = nullptr,
        const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader = nullptr, const DebuggingHeaderPtr& debuggingHeader = nullptr);
    void deleteAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_delete>& parameters,
        const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader = nullptr,
        const UserTerritoryDeleteHeaderPtr& userTerritoryDeleteHeader = nullptr, const EmailHeaderPtr& emailHeader = nullptr,
        const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader = nullptr,
        const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader = nullptr, const DebuggingHeaderPtr& debuggingHeader = nullptr);

    SoapBindingResponsePtr logoutUsingParameters(const std::shared_ptr<SforceServiceSvc_logout>& parameters,
        const SessionHeaderPtr& sessionHeader);

    SoapBindingResponsePtr queryUsingParameters(const std::shared_ptr<SforceServiceSvc_query>& parameters,
        const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions = nullptr,
        const MruHeaderPtr& mruHeader = nullptr, const PackageVersionHeaderPtr& packageVersionHeader = nullptr);
    void queryAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_query>& parameters,
        const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions = nullptr,
        const MruHeaderPtr& mruHeader = nullptr, const PackageVersionHeaderPtr& packageVersionHeader = nullptr);

    SoapBindingResponsePtr queryMoreUsingParameters(const std::shared_ptr<SforceServiceSvc_queryMore>& parameters,
        const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions = nullptr);
    void queryMoreAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_queryMore>& parameters,
        const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions = nullptr);

    SoapBindingResponsePtr performSynchronousOperation(const SoapBindingOperation& operation);
    void performAsynchronousOperation(const SoapBindingOperation& operation);

    // Cancels every asynchronous call still running and waits until each has posted its completion
    // and its worker has ended (the main thread keeps serving events meanwhile). For the plug-in's
    // shutdown, before its code is unloaded.
    static void cancelAsynchronousCallsAndWait();

private:
    SoapBinding() = default;
    // A call started inside a SoapCallGroup's scope can be ended with its group.
    void joinCurrentGroup();
    // The whole exchange on the current thread.
    SoapBindingResponsePtr sendHTTPCallUsingBody(const SoapBindingOperation& operation);
    void log(const QString& format, const QString& text) const;

    mutable std::mutex m_mutex;
    QString m_address;
    QStringList m_cookies;
    double m_defaultTimeout = kDefaultTimeoutSeconds;
    bool m_logXMLInOut = false;
    std::atomic_bool m_synchronousOperationComplete = false;
    std::atomic_bool m_synchronousOperation = true;
    std::atomic_bool m_cancelled = false;
};
