#include "plugin/SforceService/SoapHttpExchange.h"

#include "plugin/SforceService/SforceServiceSvc.h"

#include <QFile>
#include <QUrl>

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <curl/curl.h>
#include <optional>

namespace {

using Clock = std::chrono::steady_clock;

struct TransferState {
    const SoapHttpRequest* request = nullptr;
    QByteArray body;
    bool tooLarge = false;
    bool timedOut = false;
    bool cancelled = false;
    curl_off_t lastProgress = -1;
    Clock::time_point lastActivity = Clock::now();
    std::optional<Clock::time_point> requestSent;
    bool wwwAuthenticate = false;
    bool proxyAuthenticate = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* userData)
{
    auto* state = static_cast<TransferState*>(userData);
    const size_t bytes = size * count;
    if (state->body.size() + qsizetype(bytes) > kSoapMaximumResponseBytes) {
        state->tooLarge = true;
        return 0;
    }
    state->body.append(data, qsizetype(bytes));
    state->lastActivity = Clock::now();
    return bytes;
}

size_t readHeader(char* data, size_t size, size_t count, void* userData)
{
    auto* state = static_cast<TransferState*>(userData);
    const size_t bytes = size * count;
    state->lastActivity = Clock::now();
    const QByteArray line = QByteArray(data, qsizetype(bytes)).trimmed().toLower();
    if (line.startsWith("http/")) {
        // A new response (after an interim one) starts with its status line.
        state->wwwAuthenticate = false;
        state->proxyAuthenticate = false;
    } else if (line.startsWith("www-authenticate:")) {
        state->wwwAuthenticate = true;
    } else if (line.startsWith("proxy-authenticate:")) {
        state->proxyAuthenticate = true;
    }
    return bytes;
}

// Any movement in either direction restarts the idle clock.
int watchProgress(void* userData, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded)
{
    auto* state = static_cast<TransferState*>(userData);
    const curl_off_t progress = downloaded + uploaded;
    if (progress != state->lastProgress) {
        state->lastProgress = progress;
        state->lastActivity = Clock::now();
    }
    if (!state->requestSent && uploaded >= curl_off_t(state->request->body.size()))
        state->requestSent = Clock::now();
    return 0;
}

// A server that sends a byte now and then is never idle: once the request is out, the whole
// answer has this many time-outs to arrive.
constexpr double kAnswerDeadlineTimeOuts = 2.0;

bool pastDeadline(const TransferState& state)
{
    const double timeout = state.request->timeoutSeconds;
    const auto now = Clock::now();
    if (std::chrono::duration<double>(now - state.lastActivity).count() >= timeout)
        return true;
    return state.requestSent && std::chrono::duration<double>(now - *state.requestSent).count() >= kAnswerDeadlineTimeOuts * timeout;
}

// Runs the transfer, waking at least every 100 ms to end it when it was idle for the time-out, its
// answer is past its deadline, or the call was cancelled.
CURLcode performWatched(CURL* curl, TransferState& state)
{
    CURLM* multi = curl_multi_init();
    if (!multi)
        return CURLE_OUT_OF_MEMORY;
    curl_multi_add_handle(multi, curl);
    CURLcode result = CURLE_OK;
    int running = 1;
    while (running) {
        if (curl_multi_perform(multi, &running) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        if (!running)
            break;
        if (state.request->cancelled && state.request->cancelled->load()) {
            state.cancelled = true;
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        if (pastDeadline(state)) {
            state.timedOut = true;
            result = CURLE_OPERATION_TIMEDOUT;
            break;
        }
        curl_multi_poll(multi, nullptr, 0, 100, nullptr);
    }
    if (!state.cancelled && !state.timedOut) {
        int pending = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &pending)) {
            if (message->msg == CURLMSG_DONE)
                result = message->data.result;
        }
    }
    curl_multi_remove_handle(multi, curl);
    curl_multi_cleanup(multi);
    return result;
}

SoapError urlError(int code, const char* description)
{
    return SoapError{QString::fromLatin1(kErrorDomainURLLoading), code, QString::fromLatin1(description)};
}

SoapError mapTransportFailure(CURLcode result, const TransferState& state, long osErrno)
{
    if (state.cancelled)
        return urlError(kURLErrorCancelled, "cancelled");
    if (state.timedOut || result == CURLE_OPERATION_TIMEDOUT)
        return urlError(kURLErrorTimedOut, "The request timed out.");
    if (state.tooLarge)
        return urlError(kURLErrorDataLengthExceedsMaximum, "The resource exceeds the maximum size.");
    switch (result) {
    case CURLE_UNSUPPORTED_PROTOCOL:
    case CURLE_URL_MALFORMAT:
        return urlError(kURLErrorUnsupportedURL, "unsupported URL");
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return urlError(kURLErrorCannotFindHost, "A server with the specified hostname could not be found.");
    case CURLE_COULDNT_CONNECT:
        if (osErrno == ENETUNREACH)
            return urlError(kURLErrorNotConnectedToInternet, "The Internet connection appears to be offline.");
        return urlError(kURLErrorCannotConnectToHost, "Could not connect to the server.");
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
    case CURLE_PARTIAL_FILE:
        return urlError(kURLErrorNetworkConnectionLost, "The network connection was lost.");
    case CURLE_TOO_MANY_REDIRECTS:
        return urlError(kURLErrorTooManyRedirects, "too many HTTP redirects");
    case CURLE_WEIRD_SERVER_REPLY:
        return urlError(kURLErrorBadServerResponse, "bad server response");
    case CURLE_SSL_CONNECT_ERROR:
        return urlError(kURLErrorSecureConnectionFailed, "An SSL error has occurred and a secure connection to the server cannot be made.");
    case CURLE_PEER_FAILED_VERIFICATION:
        return urlError(kURLErrorServerCertificateUntrusted, "The certificate for this server is invalid.");
    default:
        return urlError(kURLErrorBadServerResponse, curl_easy_strerror(result));
    }
}

}

bool isLoopbackHost(const QString& host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    const QByteArray address = host.toLatin1();
    in_addr v4 {};
    if (inet_pton(AF_INET, address.constData(), &v4) == 1)
        return (ntohl(v4.s_addr) >> 24) == 127;
    in6_addr v6 {};
    return inet_pton(AF_INET6, address.constData(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

QString localizedStringForStatusCode(long status)
{
    switch (status) {
    case 400: return QStringLiteral("bad request");
    case 401: return QStringLiteral("unauthorized");
    case 402: return QStringLiteral("payment required");
    case 403: return QStringLiteral("forbidden");
    case 404: return QStringLiteral("not found");
    case 405: return QStringLiteral("method not allowed");
    case 406: return QStringLiteral("unacceptable");
    case 407: return QStringLiteral("proxy authentication required");
    case 408: return QStringLiteral("request timed out");
    case 409: return QStringLiteral("conflict");
    case 410: return QStringLiteral("no longer exists");
    case 411: return QStringLiteral("length required");
    case 412: return QStringLiteral("precondition failed");
    case 413: return QStringLiteral("request too large");
    case 414: return QStringLiteral("requested URL too long");
    case 415: return QStringLiteral("unsupported media type");
    case 500: return QStringLiteral("internal server error");
    case 501: return QStringLiteral("unimplemented");
    case 502: return QStringLiteral("bad gateway");
    case 503: return QStringLiteral("service unavailable");
    case 504: return QStringLiteral("gateway timed out");
    case 505: return QStringLiteral("HTTP version not supported");
    default: return status >= 500 ? QStringLiteral("server error") : QStringLiteral("client error");
    }
}

SoapHttpReply performSoapHttpExchange(const SoapHttpRequest& request)
{
    SforceServiceSvc::initialize();
    SoapHttpReply reply;
    const QUrl url(request.url);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || !(scheme == QLatin1String("https") || (scheme == QLatin1String("http") && isLoopbackHost(url.host())))) {
        reply.transportError = urlError(kURLErrorUnsupportedURL, "unsupported URL");
        return reply;
    }
    // A call cancelled before it started is not sent at all.
    if (request.cancelled && request.cancelled->load()) {
        reply.transportError = urlError(kURLErrorCancelled, "cancelled");
        return reply;
    }
    CURL* curl = curl_easy_init();
    if (!curl) {
        reply.transportError = urlError(kURLErrorCannotConnectToHost, "Could not connect to the server.");
        return reply;
    }
    TransferState state;
    state.request = &request;
    const QByteArray address = request.url.toUtf8();
    const QByteArray action = "SOAPAction: " + request.soapAction.toUtf8();
    curl_slist* headers = nullptr;
    headers = curl_slist_append(headers, "User-Agent: wsdl2objc");
    headers = curl_slist_append(headers, action.constData());
    headers = curl_slist_append(headers, "Content-Type: text/xml; charset=utf-8");
    headers = curl_slist_append(headers, "Expect:");
    const long timeoutMs = long(request.timeoutSeconds * 1000.0);

    curl_easy_setopt(curl, CURLOPT_URL, address.constData());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_HTTP_VERSION, long(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    const QByteArray authorities = QFile::encodeName(SforceServiceSvc::certificateAuthorityFile());
    if (!authorities.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, authorities.constData());
    curl_easy_setopt(curl, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
    curl_easy_setopt(curl, CURLOPT_POST, 1L);
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, request.body.constData());
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, curl_off_t(request.body.size()));
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, timeoutMs > 0 ? timeoutMs : 1L);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, watchProgress);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &state);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &state);
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, readHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &state);
    curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    for (const QString& cookie : request.cookies) {
        const QByteArray line = cookie.toUtf8();
        curl_easy_setopt(curl, CURLOPT_COOKIELIST, line.constData());
    }

    const CURLcode result = performWatched(curl, state);
    if (result != CURLE_OK) {
        long osErrno = 0;
        curl_easy_getinfo(curl, CURLINFO_OS_ERRNO, &osErrno);
        reply.transportError = mapTransportFailure(result, state, osErrno);
    } else {
        curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &reply.status);
        char* contentType = nullptr;
        curl_easy_getinfo(curl, CURLINFO_CONTENT_TYPE, &contentType);
        reply.mimeType = QString::fromLatin1(contentType ? contentType : "").section(QLatin1Char(';'), 0, 0).trimmed().toLower();
        reply.authenticationChallenge = (reply.status == 401 && state.wwwAuthenticate) || (reply.status == 407 && state.proxyAuthenticate);
        reply.body = std::move(state.body);
    }
    curl_slist* cookies = nullptr;
    if (curl_easy_getinfo(curl, CURLINFO_COOKIELIST, &cookies) == CURLE_OK) {
        for (curl_slist* c = cookies; c; c = c->next)
            reply.cookies.append(QString::fromUtf8(c->data));
        curl_slist_free_all(cookies);
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    return reply;
}
