// The error of a failed exchange: a domain, a code and a description, as the plug-in reads them.
#pragma once

#include <QString>

inline constexpr const char* kErrorDomainHTTP = "SoapBindingResponseHTTP";
inline constexpr const char* kErrorDomainXML = "SoapBindingResponseXML";
inline constexpr const char* kErrorDomainAuthentication = "Connection Authentication";
inline constexpr const char* kErrorDomainURLLoading = "NSURLErrorDomain";

inline constexpr const char* kErrorTextAuthentication = "Authentication Error";
inline constexpr const char* kErrorTextUnexpectedMime = "Unexpected response MIME type to SOAP call:%@";
inline constexpr const char* kErrorTextParse = "Errors while parsing returned XML";

// URL-loading codes that the plug-in's error mapping tells apart.
enum URLLoadingError : int {
    kURLErrorCancelled = -999,
    kURLErrorTimedOut = -1001,
    kURLErrorUnsupportedURL = -1002,
    kURLErrorCannotFindHost = -1003,
    kURLErrorCannotConnectToHost = -1004,
    kURLErrorNetworkConnectionLost = -1005,
    kURLErrorTooManyRedirects = -1007,
    kURLErrorNotConnectedToInternet = -1009,
    kURLErrorBadServerResponse = -1011,
    kURLErrorDataLengthExceedsMaximum = -1103,
    kURLErrorSecureConnectionFailed = -1200,
    kURLErrorServerCertificateUntrusted = -1202,
};

struct SoapError {
    QString domain;
    int code = 0;
    QString description;
};
