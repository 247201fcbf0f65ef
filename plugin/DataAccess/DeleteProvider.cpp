#include "plugin/DataAccess/DeleteProvider.h"

#include "plugin/Common/GlobalData.h"
#include "plugin/DataAccess/ProviderNotifications.h"
#include "platform/foundation/NotificationCenter.h"

void DeleteProvider::ExecuteAsync(const QStringList& ids)
{
    _delIDS = ids;
    _isLogined = false;
    start();
}

void DeleteProvider::start()
{
    auto request = std::make_shared<SforceServiceSvc_delete>();
    request->setids(_delIDS);
    auto binding = sessionBinding(m_global.SFTimeOut());
    onCompletion(binding, [this](const SoapBindingResponsePtr& response) { OnDeleteCompleted(response); });
    binding->deleteAsyncUsingParameters(request, sessionHeader());
}

void DeleteProvider::OnDeleteCompleted(const SoapBindingResponsePtr& response)
{
    if (!_isLogined && CheckSessionInvalid(response) == kSessionReloggedIn) {
        _isLogined = true;
        start();
        return;
    }
    _isLogined = false;
    _delIDS.clear();
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTDADELETEACCOMPLETED), this,
        {{QString::fromLatin1(kSFORCERESPONSEKey), QVariant::fromValue(response)}});
}
