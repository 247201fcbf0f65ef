#include "plugin/DataAccess/DescribeSObjectProvider.h"

#include "plugin/Common/GlobalData.h"

SoapBindingResponsePtr DescribeSObjectProvider::call(const QStringList& types)
{
    auto request = std::make_shared<SforceServiceSvc_describeSObjects>();
    request->setsObjectType(types);
    return sessionBinding(m_global.SFTimeOut())->describeSObjectsUsingParameters(request, sessionHeader());
}

SoapBindingResponsePtr DescribeSObjectProvider::Execute(const QStringList& types)
{
    const SoapBindingResponsePtr response = call(types);
    return CheckSessionInvalid(response) == kSessionReloggedIn ? call(types) : response;
}
