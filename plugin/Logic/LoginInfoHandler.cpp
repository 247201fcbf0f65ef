#include "plugin/Logic/LoginInfoHandler.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/QDLKeyChain.h"
#include "plugin/DataAccess/LogOutProvider.h"
#include "plugin/DataAccess/LoginProvider.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "platform/foundation/NotificationCenter.h"

LoginInfoHandler::LoginInfoHandler(GlobalData& global) : m_global(global) {}

LoginInfoHandler::~LoginInfoHandler()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

void LoginInfoHandler::stopClock()
{
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - m_requestStartTime;
    m_global.setloginCostTime(elapsed.count());
}

void LoginInfoHandler::storeSession(const SoapBindingResponsePtr& response)
{
    if (!response || !response->getbodyParts())
        return;
    for (const SoapObjectPtr& part : *response->getbodyParts()) {
        const auto login = std::dynamic_pointer_cast<SforceServiceSvc_loginResponse>(part);
        const auto result = login ? login->result() : nullptr;
        if (!result)
            continue;
        m_global.setSessionId(result->valueForKey(QStringLiteral("sessionId")).text());
        m_global.setServerUrl(result->valueForKey(QStringLiteral("serverUrl")).text());
        const auto userInfo = result->valueForKey(QStringLiteral("userInfo")).object();
        m_global.setUserFullName(userInfo ? userInfo->valueForKey(QStringLiteral("userFullName")).text() : QString());
    }
}

int LoginInfoHandler::Login(const LoginInfo& info)
{
    m_loginProvider = std::make_unique<LoginProvider>(m_global);
    m_requestStartTime = std::chrono::steady_clock::now();
    const SoapBindingResponsePtr response = m_loginProvider->Execute(info);
    stopClock();
    const int code = ErrorManager::GetResponseCode(response, m_global);
    storeSession(response);
    if (response && response->getbodyParts()) {
        for (const SoapObjectPtr& part : *response->getbodyParts()) {
            if (std::dynamic_pointer_cast<SforceServiceSvc_loginResponse>(part))
                m_global.setUserLoginInfo(info);
        }
    }
    return code;
}

void LoginInfoHandler::LoginAsync(const LoginInfo& info)
{
    m_loginProvider = std::make_unique<LoginProvider>(m_global);
    NotificationCenter::defaultCenter().addObserver(this, QString::fromLatin1(kQDLEVENTDALOGINCOMPLETED),
        [this](const Notification& notification) { OnLoginCompleted(notification); }, m_loginProvider.get());
    m_requestStartTime = std::chrono::steady_clock::now();
    m_global.setUserLoginInfo(info);
    m_loginProvider->ExecuteAsync(info);
}

void LoginInfoHandler::OnLoginCompleted(const Notification& notification)
{
    stopClock();
    NotificationCenter::defaultCenter().removeObserver(this, QString::fromLatin1(kQDLEVENTDALOGINCOMPLETED));
    const auto response = notification.userInfo.value(QString::fromLatin1(kSFORCERESPONSEKey)).value<SoapBindingResponsePtr>();
    const int code = ErrorManager::GetResponseCode(response, m_global);
    storeSession(response);
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTLOLOGINCOMPLETED), this,
        {{QString::fromLatin1(kKEY_CODE), QString::number(code)}});
}

int LoginInfoHandler::LogOut()
{
    m_logOutProvider = std::make_unique<LogOutProvider>(m_global);
    return ErrorManager::GetResponseCode(m_logOutProvider->Execute(), m_global);
}

int LoginInfoHandler::SaveToKeychain(const LoginInfo& info)
{
    return QDLKeyChain::SaveToKeychain(info);
}

GetLoginInfoResult LoginInfoHandler::GetFromKeychain()
{
    return QDLKeyChain::GetFromKeychain();
}
