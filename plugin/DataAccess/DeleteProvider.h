// Deletes records by id in one asynchronous call; after an expired session it logs in again once
// and repeats the call. Posts "QDLEVENTDADELETEACCOMPLETED" once per call, with the binding's response.
#pragma once

#include "plugin/DataAccess/BaseProvider.h"

#include <QStringList>

class DeleteProvider : public BaseProvider {
public:
    using BaseProvider::BaseProvider;

    void ExecuteAsync(const QStringList& ids);

private:
    void start();
    void OnDeleteCompleted(const SoapBindingResponsePtr& response);

    QStringList _delIDS;
    bool _isLogined = false;
};
