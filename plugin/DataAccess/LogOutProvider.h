// Logout of the current session.
#pragma once

#include "plugin/DataAccess/BaseProvider.h"

class LogOutProvider : public BaseProvider {
public:
    using BaseProvider::BaseProvider;
    SoapBindingResponsePtr Execute();
};
