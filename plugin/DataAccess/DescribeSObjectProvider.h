// describeSObjects for a list of object types, synchronous, repeated once after a re-login.
#pragma once

#include "plugin/DataAccess/BaseProvider.h"

#include <QStringList>

class DescribeSObjectProvider : public BaseProvider {
public:
    using BaseProvider::BaseProvider;
    SoapBindingResponsePtr Execute(const QStringList& types);

private:
    SoapBindingResponsePtr call(const QStringList& types);
};
