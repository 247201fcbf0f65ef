// The binding's entry: one-time start-up (namespace table, type registry, libxml2, libcurl) and the
// factory of bindings at the login endpoint. The endpoint and API version are constants that the
// plug-in's settings may override.
#pragma once

#include <QString>

#include <memory>

class PreferenceDomain;
class SoapBinding;

inline constexpr const char* kSforceLoginBaseUrlKey = "LoginServerURL";
inline constexpr const char* kSforceApiVersionKey = "APIVersion";

class SforceServiceSvc {
public:
    // Runs once; every later call returns at once. Safe from any thread.
    static void initialize();

    // A new binding posting to the login endpoint.
    static std::shared_ptr<::SoapBinding> SoapBinding();

    // "<login base URL>/services/Soap/c/<API version>".
    static QString loginEndpoint();
    static QString apiVersion();
    // Empty restores the constant.
    static void setLoginBaseUrl(const QString& baseUrl);
    static void setApiVersion(const QString& version);
    // The PEM file of the authorities that HTTPS servers are verified against; empty (the default)
    // uses the system's store.
    static QString certificateAuthorityFile();
    static void setCertificateAuthorityFile(const QString& path);
    // Takes the overrides from the settings keys above, when present.
    static void applySettings(const PreferenceDomain& settings);
};
