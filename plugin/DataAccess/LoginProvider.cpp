#include "plugin/DataAccess/LoginProvider.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapBinding.h"
#include "platform/foundation/NotificationCenter.h"

namespace {

std::shared_ptr<SforceServiceSvc_login> loginRequest(const LoginInfo& info)
{
    auto request = std::make_shared<SforceServiceSvc_login>();
    request->setusername(info.userName());
    request->setpassword(LoginProvider::passwordWithToken(info));
    return request;
}

}

LoginProvider::~LoginProvider()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

QString LoginProvider::passwordWithToken(const LoginInfo& info)
{
    return info.securityToken().isEmpty() ? info.password() : info.password() + info.securityToken();
}

SoapBindingResponsePtr LoginProvider::Execute(const LoginInfo& info)
{
    auto binding = SforceServiceSvc::SoapBinding();
    binding->setdefaultTimeout(m_global.SFTimeOut());
    return binding->loginUsingParameters(loginRequest(info));
}

void LoginProvider::ExecuteAsync(const LoginInfo& info)
{
    auto binding = SforceServiceSvc::SoapBinding();
    binding->setdefaultTimeout(m_global.SFTimeOut());
    auto& center = NotificationCenter::defaultCenter();
    auto id = std::make_shared<NotificationCenter::ObserverId>(0);
    *id = center.addObserver(this, QString::fromLatin1(kSFoceCompletedNotification),
        [this, id](const Notification& notification) {
            NotificationCenter::defaultCenter().removeObserver(*id);
            NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTDALOGINCOMPLETED), this, notification.userInfo);
        },
        binding.get());
    binding->loginAsyncUsingParameters(loginRequest(info));
}
