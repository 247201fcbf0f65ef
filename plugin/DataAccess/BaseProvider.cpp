#include "plugin/DataAccess/BaseProvider.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Logic/LoginInfoHandler.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "platform/foundation/NotificationCenter.h"

BaseProvider::BaseProvider(GlobalData& global) : m_global(global) {}

BaseProvider::~BaseProvider()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

std::shared_ptr<SoapBinding> BaseProvider::sessionBinding(double timeout) const
{
    auto binding = SforceServiceSvc::SoapBinding();
    binding->setdefaultTimeout(timeout);
    binding->setAddress(m_global.serverUrl());
    return binding;
}

std::shared_ptr<SforceServiceSvc_SessionHeader> BaseProvider::sessionHeader() const
{
    auto header = std::make_shared<SforceServiceSvc_SessionHeader>();
    header->setsessionId(m_global.sessionId());
    return header;
}

void BaseProvider::onCompletion(const std::shared_ptr<SoapBinding>& binding, Completion done)
{
    auto& center = NotificationCenter::defaultCenter();
    auto id = std::make_shared<NotificationCenter::ObserverId>(0);
    *id = center.addObserver(this, QString::fromLatin1(kSFoceCompletedNotification),
        [id, done = std::move(done)](const Notification& notification) {
            NotificationCenter::defaultCenter().removeObserver(*id);
            done(notification.userInfo.value(QString::fromLatin1(kSFORCERESPONSEKey)).value<SoapBindingResponsePtr>());
        },
        binding.get());
}

int BaseProvider::CheckSessionInvalid(const SoapBindingResponsePtr& response)
{
    if (ErrorManager::GetResponseCode(response, m_global) != kQDLInvalidSession)
        return kSessionValid;
    _loginInfoHandler = std::make_unique<LoginInfoHandler>(m_global);
    const std::optional<LoginInfo> login = m_global.UserLoginInfo();
    if (!login)
        return kSessionReloginFailed;
    return _loginInfoHandler->Login(*login) == kQDLSuccess ? kSessionReloggedIn : kSessionReloginFailed;
}
