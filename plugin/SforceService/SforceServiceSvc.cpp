#include "plugin/SforceService/SforceServiceSvc.h"

#include "plugin/SforceService/SoapBinding.h"
#include "plugin/SforceService/SoapNamespaces.h"
#include "plugin/SforceService/SoapTypeCatalog.h"
#include "plugin/SforceService/SoapTypeRegistry.h"
#include "plugin/SforceService/USGlobals.h"
#include "platform/foundation/PreferenceDomain.h"

#include <curl/curl.h>
#include <libxml/parser.h>

#include <mutex>

namespace {

std::mutex g_overrideMutex;
QString g_loginBaseUrl;
QString g_apiVersion;
QString g_certificateAuthorityFile;

}

void SforceServiceSvc::initialize()
{
    static std::once_flag once;
    std::call_once(once, [] {
        xmlInitParser();
        curl_global_init(CURL_GLOBAL_DEFAULT);
        auto& namespaces = USGlobals::sharedInstance().wsdlStandardNamespaces();
        namespaces.insert(QString::fromLatin1(kNamespaceSchema), QString::fromLatin1(kPrefixSchema));
        namespaces.insert(QString::fromLatin1(kNamespaceEnterprise), QString::fromLatin1(kPrefixService));
        namespaces.insert(QString::fromLatin1(kNamespaceSObject), QString::fromLatin1(kPrefixRecord));
        namespaces.insert(QString::fromLatin1(kNamespaceFault), QString::fromLatin1(kPrefixFault));
        registerServiceSoapTypes(SoapTypeRegistry::instance());
    });
}

std::shared_ptr<SoapBinding> SforceServiceSvc::SoapBinding()
{
    return ::SoapBinding::initWithAddress(loginEndpoint());
}

QString SforceServiceSvc::apiVersion()
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    return g_apiVersion.isEmpty() ? QString::fromLatin1(kSforceApiVersion) : g_apiVersion;
}

QString SforceServiceSvc::loginEndpoint()
{
    QString base;
    {
        std::lock_guard<std::mutex> lock(g_overrideMutex);
        base = g_loginBaseUrl.isEmpty() ? QString::fromLatin1(kSforceLoginBaseUrl) : g_loginBaseUrl;
    }
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base + QLatin1String(kSforceSoapPath) + apiVersion();
}

void SforceServiceSvc::setLoginBaseUrl(const QString& baseUrl)
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_loginBaseUrl = baseUrl;
}

void SforceServiceSvc::setApiVersion(const QString& version)
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_apiVersion = version;
}

QString SforceServiceSvc::certificateAuthorityFile()
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    return g_certificateAuthorityFile;
}

void SforceServiceSvc::setCertificateAuthorityFile(const QString& path)
{
    std::lock_guard<std::mutex> lock(g_overrideMutex);
    g_certificateAuthorityFile = path;
}

void SforceServiceSvc::applySettings(const PreferenceDomain& settings)
{
    const PlistValue baseUrl = settings.value(QString::fromLatin1(kSforceLoginBaseUrlKey));
    if (baseUrl.isString())
        setLoginBaseUrl(baseUrl.toString());
    const PlistValue version = settings.value(QString::fromLatin1(kSforceApiVersionKey));
    if (version.isString())
        setApiVersion(version.toString());
}
