#include "plugin/DataAccess/CreateProvider.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "platform/foundation/NotificationCenter.h"

void CreateProvider::ExecuteAsync(const Records& records)
{
    _objects = records;
    _isLogined = false;
    start();
}

void CreateProvider::start()
{
    auto request = std::make_shared<SforceServiceSvc_create>();
    for (const auto& record : _objects)
        request->addSObjects(record);
    auto binding = sessionBinding(m_global.SFADDTimeOut());
    onCompletion(binding, [this](const SoapBindingResponsePtr& response) { OnCreateCompleted(response); });
    binding->createAsyncUsingParameters(request, sessionHeader());
}

void CreateProvider::OnCreateCompleted(const SoapBindingResponsePtr& response)
{
    if (!_isLogined && CheckSessionInvalid(response) == kSessionReloggedIn) {
        _isLogined = true;
        start();
        return;
    }
    _isLogined = false;
    _objects.clear();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTDACREATECOMPLETED), this,
        {{QString::fromLatin1(kSFORCERESPONSEKey), QVariant::fromValue(response)}});
}
