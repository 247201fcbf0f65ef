#include "plugin/SforceService/SoapBinding.h"

#include "plugin/SforceService/SoapCallGroup.h"
#include "plugin/SforceService/SoapHttpExchange.h"
#include "plugin/SforceService/SoapResponseReader.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QRegularExpression>
#include <QThread>

#include <list>
#include <thread>

namespace {

SoapBindingOperation makeOperation(const char* name, const SoapObjectPtr& parameters, const SoapTypeInfo& responseType,
    SoapElements headers, bool readsDebuggingInfo = false)
{
    return SoapBindingOperation{QString::fromLatin1(name), std::move(headers), parameters, &responseType, readsDebuggingInfo};
}

// Passwords and session ids never reach the log, whatever the element carries: attributes, CDATA
// or entities in its content; an element cut off by the end of the text is masked to the end.
QString masked(const QString& text)
{
    static const QRegularExpression secrets(
        QStringLiteral("<((?:[\\w.-]+:)?(?:password|sessionId))(\\s[^>]*)?>.*?(?:</\\1\\s*>|$)"),
        QRegularExpression::DotMatchesEverythingOption);
    QString out = text;
    out.replace(secrets, QStringLiteral("<\\1\\2>***</\\1>"));
    return out;
}

// An HTTP failure status whose body gave neither the operation's response nor a fault (an XML error
// page, a bare element) is the HTTP error, never an empty success.
bool lacksSoapBody(const SoapBindingResponse& response)
{
    return response.geterror() || !response.getbodyParts() || response.getbodyParts()->empty();
}

// "/xml" as the service sends it, and "+xml" as SOAP 1.2 faults come ("application/soap+xml").
bool isXmlMimeType(const QString& mimeType)
{
    return mimeType.contains(QLatin1String("/xml")) || mimeType.endsWith(QLatin1String("+xml"));
}

bool onMainThread()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

// The workers of asynchronous calls: one thread per call, joined once it has finished, so that no
// worker outlives the plug-in.
class AsynchronousCalls {
public:
    static AsynchronousCalls& instance()
    {
        static AsynchronousCalls calls;
        return calls;
    }

    void start(const std::shared_ptr<SoapBinding>& binding, std::function<void()> body)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        reapFinishedLocked();
        auto done = std::make_shared<std::atomic_bool>(false);
        std::thread worker([body = std::move(body), done]() mutable {
            body();
            body = nullptr;
            done->store(true);
        });
        m_calls.push_back(Call{std::move(worker), binding, done});
    }

    void cancelAllAndWait()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (Call& call : m_calls) {
                if (auto binding = call.binding.lock())
                    binding->cancel();
            }
        }
        while (true) {
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                reapFinishedLocked();
                if (m_calls.empty())
                    return;
            }
            // Workers post their completion to the main thread before they end.
            if (onMainThread())
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    // At exit a finished worker is joined and a running one left to the process's end.
    ~AsynchronousCalls()
    {
        for (Call& call : m_calls) {
            if (call.done->load())
                call.worker.join();
            else
                call.worker.detach();
        }
    }

private:
    struct Call {
        std::thread worker;
        std::weak_ptr<SoapBinding> binding;
        std::shared_ptr<std::atomic_bool> done;
    };

    void reapFinishedLocked()
    {
        for (auto it = m_calls.begin(); it != m_calls.end();) {
            if (it->done->load()) {
                it->worker.join();
                it = m_calls.erase(it);
            } else {
                ++it;
            }
        }
    }

    std::mutex m_mutex;
    std::list<Call> m_calls;
};

}

std::shared_ptr<SoapBinding> SoapBinding::initWithAddress(const QString& address)
{
    std::shared_ptr<SoapBinding> binding(new SoapBinding());
    binding->setAddress(address);
    return binding;
}

QString SoapBinding::address() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_address;
}

void SoapBinding::setAddress(const QString& address)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_address = address;
}

QStringList SoapBinding::cookies() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_cookies;
}

void SoapBinding::setCookies(const QStringList& cookies)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cookies = cookies;
}

void SoapBinding::addCookie(const QString& cookie)
{
    if (cookie.isEmpty())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_cookies.append(cookie);
}

void SoapBinding::log(const QString& format, const QString& text) const
{
    if (m_logXMLInOut)
        logLine(formatText(format, masked(text)));
}

SoapBindingResponsePtr SoapBinding::performSynchronousOperation(const SoapBindingOperation& operation)
{
    m_synchronousOperation = true;
    joinCurrentGroup();
    SoapBindingResponsePtr response;
    if (onMainThread()) {
        // The exchange runs on a worker while the main thread keeps serving its events.
        QEventLoop loop;
        std::thread worker([&] {
            response = sendHTTPCallUsingBody(operation);
            QMetaObject::invokeMethod(&loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
        loop.exec();
        worker.join();
    } else {
        response = sendHTTPCallUsingBody(operation);
    }
    m_synchronousOperationComplete = true;
    return response;
}

void SoapBinding::performAsynchronousOperation(const SoapBindingOperation& operation)
{
    m_synchronousOperation = false;
    joinCurrentGroup();
    std::shared_ptr<SoapBinding> self = shared_from_this();
    AsynchronousCalls::instance().start(self, [self, operation] {
        const SoapBindingResponsePtr response = self->sendHTTPCallUsingBody(operation);
        self->m_synchronousOperationComplete = true;
        auto post = [self, response] {
            NotificationCenter::defaultCenter().post(QString::fromLatin1(kSFoceCompletedNotification), self.get(),
                QVariantMap{{QString::fromLatin1(kSFORCERESPONSEKey), QVariant::fromValue(response)}});
        };
        QCoreApplication* app = QCoreApplication::instance();
        if (app)
            QMetaObject::invokeMethod(app, post, Qt::BlockingQueuedConnection);
        else
            post();
    });
}

void SoapBinding::joinCurrentGroup()
{
    if (const auto group = SoapCallGroup::current())
        group->join(shared_from_this());
}

void SoapBinding::cancelAsynchronousCallsAndWait()
{
    AsynchronousCalls::instance().cancelAllAndWait();
}

SoapBindingResponsePtr SoapBinding::sendHTTPCallUsingBody(const SoapBindingOperation& operation)
{
    auto response = std::make_shared<SoapBindingResponse>();
    SoapElements body;
    if (operation.parameters)
        body.emplace_back(operation.name, operation.parameters);
    SoapHttpRequest request;
    request.url = address();
    request.soapAction = operation.name;
    request.body = SoapBinding_envelope::serializedFormUsingHeaderElements(operation.headers, body);
    request.timeoutSeconds = m_defaultTimeout;
    request.cookies = cookies();
    request.cancelled = &m_cancelled;
    log(QStringLiteral("OutputHeaders:\n%@"), QStringLiteral("SOAPAction: %1\nContent-Type: text/xml; charset=utf-8").arg(operation.name));
    log(QStringLiteral("OutputBody:\n%@"), QString::fromUtf8(request.body));

    SoapHttpReply reply = performSoapHttpExchange(request);
    setCookies(reply.cookies);
    if (reply.transportError) {
        log(QStringLiteral("ResponseError:\n%@"), reply.transportError->description);
        response->seterror(*reply.transportError);
        return response;
    }
    if (m_logXMLInOut)
        logLine(formatText(QStringLiteral("ResponseStatus: %u\n"), qulonglong(reply.status)));
    log(QStringLiteral("ResponseHeaders:\n%@"), QStringLiteral("Content-Type: ") + reply.mimeType);
    if (reply.authenticationChallenge) {
        response->seterror(SoapError{QString::fromLatin1(kErrorDomainAuthentication), 0, QString::fromLatin1(kErrorTextAuthentication)});
    } else if (!isXmlMimeType(reply.mimeType)) {
        if (reply.status >= 400)
            response->seterror(SoapError{QString::fromLatin1(kErrorDomainHTTP), int(reply.status), localizedStringForStatusCode(reply.status)});
        else
            response->seterror(SoapError{QString::fromLatin1(kErrorDomainHTTP), 1, formatText(QString::fromLatin1(kErrorTextUnexpectedMime), reply.mimeType)});
    } else {
        log(QStringLiteral("ResponseBody:\n%@"), QString::fromUtf8(reply.body));
        readSoapResponse(reply.body, operation.name, *operation.responseType, operation.readsDebuggingInfo, *response);
        if (reply.status >= 400 && lacksSoapBody(*response)) {
            response = std::make_shared<SoapBindingResponse>();
            response->seterror(SoapError{QString::fromLatin1(kErrorDomainHTTP), int(reply.status), localizedStringForStatusCode(reply.status)});
        }
    }
    if (response->geterror())
        log(QStringLiteral("ResponseError:\n%@"), response->geterror()->description);
    return response;
}

SoapBindingResponsePtr SoapBinding::loginUsingParameters(const std::shared_ptr<SforceServiceSvc_login>& parameters,
    const std::shared_ptr<SforceServiceSvc_LoginScopeHeader>& loginScopeHeader)
{
    return performSynchronousOperation(makeOperation("login", parameters, SforceServiceSvc_loginResponse::staticTypeInfo(),
        {{"LoginScopeHeader", loginScopeHeader}}));
}

void SoapBinding::loginAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_login>& parameters,
    const std::shared_ptr<SforceServiceSvc_LoginScopeHeader>& loginScopeHeader)
{
    performAsynchronousOperation(makeOperation("login", parameters, SforceServiceSvc_loginResponse::staticTypeInfo(),
        {{"LoginScopeHeader", loginScopeHeader}}));
}

SoapBindingResponsePtr SoapBinding::describeSObjectUsingParameters(const std::shared_ptr<SforceServiceSvc_describeSObject>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader, const SoapObjectPtr& localeOptions)
{
    return performSynchronousOperation(makeOperation("describeSObject", parameters,
        SforceServiceSvc_describeSObjectResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"PackageVersionHeader", packageVersionHeader}, {"LocaleOptions", localeOptions}}));
}

SoapBindingResponsePtr SoapBinding::describeSObjectsUsingParameters(const std::shared_ptr<SforceServiceSvc_describeSObjects>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader, const SoapObjectPtr& localeOptions)
{
    return performSynchronousOperation(makeOperation("describeSObjects", parameters,
        SforceServiceSvc_describeSObjectsResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"PackageVersionHeader", packageVersionHeader}, {"LocaleOptions", localeOptions}}));
}

SoapBindingResponsePtr SoapBinding::describeTabsUsingParameters(const std::shared_ptr<SforceServiceSvc_describeTabs>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader)
{
    return performSynchronousOperation(makeOperation("describeTabs", parameters, SforceServiceSvc_describeTabsResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"PackageVersionHeader", packageVersionHeader}}));
}

void SoapBinding::describeTabsAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_describeTabs>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader)
{
    performAsynchronousOperation(makeOperation("describeTabs", parameters, SforceServiceSvc_describeTabsResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"PackageVersionHeader", packageVersionHeader}}));
}

static SoapElements createHeaders(const SoapBinding::SessionHeaderPtr& sessionHeader,
    const SoapBinding::AssignmentRuleHeaderPtr& assignmentRuleHeader, const SoapBinding::MruHeaderPtr& mruHeader,
    const SoapBinding::AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader,
    const SoapBinding::DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader, const SoapBinding::DebuggingHeaderPtr& debuggingHeader,
    const SoapBinding::PackageVersionHeaderPtr& packageVersionHeader, const SoapBinding::EmailHeaderPtr& emailHeader)
{
    return {{"SessionHeader", sessionHeader}, {"AssignmentRuleHeader", assignmentRuleHeader}, {"MruHeader", mruHeader},
        {"AllowFieldTruncationHeader", allowFieldTruncationHeader}, {"DisableFeedTrackingHeader", disableFeedTrackingHeader},
        {"DebuggingHeader", debuggingHeader}, {"PackageVersionHeader", packageVersionHeader}, {"EmailHeader", emailHeader}};
}

SoapBindingResponsePtr SoapBinding::createUsingParameters(const std::shared_ptr<SforceServiceSvc_create>& parameters,
    const SessionHeaderPtr& sessionHeader, const AssignmentRuleHeaderPtr& assignmentRuleHeader, const MruHeaderPtr& mruHeader,
    const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader, const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader,
    const DebuggingHeaderPtr& debuggingHeader, const PackageVersionHeaderPtr& packageVersionHeader, const EmailHeaderPtr& emailHeader)
{
    return performSynchronousOperation(makeOperation("create", parameters, SforceServiceSvc_createResponse::staticTypeInfo(),
        createHeaders(sessionHeader, assignmentRuleHeader, mruHeader, allowFieldTruncationHeader, disableFeedTrackingHeader,
            debuggingHeader, packageVersionHeader, emailHeader),
        true));
}

void SoapBinding::createAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_create>& parameters,
    const SessionHeaderPtr& sessionHeader, const AssignmentRuleHeaderPtr& assignmentRuleHeader, const MruHeaderPtr& mruHeader,
    const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader, const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader,
    const DebuggingHeaderPtr& debuggingHeader, const PackageVersionHeaderPtr& packageVersionHeader, const EmailHeaderPtr& emailHeader)
{
    performAsynchronousOperation(makeOperation("create", parameters, SforceServiceSvc_createResponse::staticTypeInfo(),
        createHeaders(sessionHeader, assignmentRuleHeader, mruHeader, allowFieldTruncationHeader, disableFeedTrackingHeader,
            debuggingHeader, packageVersionHeader, emailHeader),
        true));
}

static SoapElements deleteHeaders(const SoapBinding::SessionHeaderPtr& sessionHeader,
    const SoapBinding::PackageVersionHeaderPtr& packageVersionHeader,
    const SoapBinding::UserTerritoryDeleteHeaderPtr& userTerritoryDeleteHeader, const SoapBinding::EmailHeaderPtr& emailHeader,
    const SoapBinding::AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader,
    const SoapBinding::DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader, const SoapBinding::DebuggingHeaderPtr& debuggingHeader)
{
    return {{"SessionHeader", sessionHeader}, {"PackageVersionHeader", packageVersionHeader},
        {"UserTerritoryDeleteHeader", userTerritoryDeleteHeader}, {"EmailHeader", emailHeader},
        {"AllowFieldTruncationHeader", allowFieldTruncationHeader}, {"DisableFeedTrackingHeader", disableFeedTrackingHeader},
        {"DebuggingHeader", debuggingHeader}};
}

SoapBindingResponsePtr SoapBinding::deleteUsingParameters(const std::shared_ptr<SforceServiceSvc_delete>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader,
    const UserTerritoryDeleteHeaderPtr& userTerritoryDeleteHeader, const EmailHeaderPtr& emailHeader,
    const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader, const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader,
    const DebuggingHeaderPtr& debuggingHeader)
{
    return performSynchronousOperation(makeOperation("delete", parameters, SforceServiceSvc_deleteResponse::staticTypeInfo(),
        deleteHeaders(sessionHeader, packageVersionHeader, userTerritoryDeleteHeader, emailHeader, allowFieldTruncationHeader,
            disableFeedTrackingHeader, debuggingHeader),
        true));
}

void SoapBinding::deleteAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_delete>& parameters,
    const SessionHeaderPtr& sessionHeader, const PackageVersionHeaderPtr& packageVersionHeader,
    const UserTerritoryDeleteHeaderPtr& userTerritoryDeleteHeader, const EmailHeaderPtr& emailHeader,
    const AllowFieldTruncationHeaderPtr& allowFieldTruncationHeader, const DisableFeedTrackingHeaderPtr& disableFeedTrackingHeader,
    const DebuggingHeaderPtr& debuggingHeader)
{
    performAsynchronousOperation(makeOperation("delete", parameters, SforceServiceSvc_deleteResponse::staticTypeInfo(),
        deleteHeaders(sessionHeader, packageVersionHeader, userTerritoryDeleteHeader, emailHeader, allowFieldTruncationHeader,
            disableFeedTrackingHeader, debuggingHeader),
        true));
}

SoapBindingResponsePtr SoapBinding::logoutUsingParameters(const std::shared_ptr<SforceServiceSvc_logout>& parameters,
    const SessionHeaderPtr& sessionHeader)
{
    return performSynchronousOperation(makeOperation("logout", parameters, SforceServiceSvc_logoutResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}}));
}

SoapBindingResponsePtr SoapBinding::queryUsingParameters(const std::shared_ptr<SforceServiceSvc_query>& parameters,
    const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions, const MruHeaderPtr& mruHeader,
    const PackageVersionHeaderPtr& packageVersionHeader)
{
    return performSynchronousOperation(makeOperation("query", parameters, SforceServiceSvc_queryResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"QueryOptions", queryOptions}, {"MruHeader", mruHeader},
            {"PackageVersionHeader", packageVersionHeader}}));
}

void SoapBinding::queryAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_query>& parameters,
    const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions, const MruHeaderPtr& mruHeader,
    const PackageVersionHeaderPtr& packageVersionHeader)
{
    performAsynchronousOperation(makeOperation("query", parameters, SforceServiceSvc_queryResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"QueryOptions", queryOptions}, {"MruHeader", mruHeader},
            {"PackageVersionHeader", packageVersionHeader}}));
}

SoapBindingResponsePtr SoapBinding::queryMoreUsingParameters(const std::shared_ptr<SforceServiceSvc_queryMore>& parameters,
    const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions)
{
    return performSynchronousOperation(makeOperation("queryMore", parameters, SforceServiceSvc_queryMoreResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"QueryOptions", queryOptions}}));
}

void SoapBinding::queryMoreAsyncUsingParameters(const std::shared_ptr<SforceServiceSvc_queryMore>& parameters,
    const SessionHeaderPtr& sessionHeader, const SoapObjectPtr& queryOptions)
{
    performAsynchronousOperation(makeOperation("queryMore", parameters, SforceServiceSvc_queryMoreResponse::staticTypeInfo(),
        {{"SessionHeader", sessionHeader}, {"QueryOptions", queryOptions}}));
}
