// One HTTP/1.1 POST of a SOAP request with libcurl: TLS verification on, plain http only to
// loopback hosts, an idle time-out that also serves cancellation, a deadline for the whole answer
// (twice the time-out from the moment the request is out), and a cap on the response size.
#pragma once

#include "plugin/SforceService/SoapError.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <atomic>
#include <optional>

struct SoapHttpRequest {
    QString url;
    QString soapAction;
    QByteArray body;
    double timeoutSeconds = 60.0;
    QStringList cookies;  // cookie lines (Netscape form) sent with the request
    const std::atomic_bool* cancelled = nullptr;
};

struct SoapHttpReply {
    std::optional<SoapError> transportError;  // no HTTP response arrived (URL-loading codes)
    long status = 0;
    QString mimeType;                         // lower case, without parameters
    bool authenticationChallenge = false;     // 401 with WWW-Authenticate or 407 with Proxy-Authenticate
    QByteArray body;
    QStringList cookies;                      // the cookies known after the exchange
};

inline constexpr qsizetype kSoapMaximumResponseBytes = 64 * 1024 * 1024;

SoapHttpReply performSoapHttpExchange(const SoapHttpRequest& request);

// True for "localhost" and the loopback addresses.
bool isLoopbackHost(const QString& host);

// The English reason phrase of an HTTP status, lower case, as the platform reports it.
QString localizedStringForStatusCode(long status);
