#include "plugin/DataAccess/LogOutProvider.h"

#include "plugin/Common/GlobalData.h"

SoapBindingResponsePtr LogOutProvider::Execute()
{
    return sessionBinding(m_global.SFTimeOut())->logoutUsingParameters(std::make_shared<SforceServiceSvc_logout>(), sessionHeader());
}
