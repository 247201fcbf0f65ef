// Creates records in one asynchronous call with the record-creation time-out; after an expired
// session it logs in again once and repeats the call. Posts "QDLEVENTDACREATECOMPLETED" once per
// call, with the binding's response.
#pragma once

#include "plugin/DataAccess/BaseProvider.h"
#include "plugin/SforceService/ens_sObject.h"

#include <vector>

class CreateProvider : public BaseProvider {
public:
    using Records = std::vector<std::shared_ptr<ens_sObject>>;
    using BaseProvider::BaseProvider;

    void ExecuteAsync(const Records& records);

private:
    void start();
    void OnCreateCompleted(const SoapBindingResponsePtr& response);

    Records _objects;
    bool _isLogined = false;
};
