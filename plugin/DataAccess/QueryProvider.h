// A SOQL query over all its pages. The synchronous run returns the records of every page with the
// code of its last request; the asynchronous run asks for the first page asynchronously and the
// further pages synchronously, and posts "QDLEVENTDAQUERYACCOMPLETED" exactly once per run. An
// expired session is answered by one re-login per run, after which the query starts again.
#pragma once

#include "plugin/DataAccess/BaseProvider.h"
#include "plugin/DataAccess/ProviderNotifications.h"

#include <QString>

class QueryProvider : public BaseProvider {
public:
    using BaseProvider::BaseProvider;

    QueryResultPtr Execute(const QString& soql);
    void ExecuteAsync(const QString& soql);

private:
    enum class Paging { Done, Failed, Restarted };

    SoapBindingResponsePtr query();
    SoapBindingResponsePtr queryMore(const QString& locator);
    // Appends a page's records; the locator of the next page, empty after the last one.
    QString takePage(const std::shared_ptr<SforceServiceSvc_QueryResult>& page);
    void runSynchronously();
    void startAsync();
    void OnQueryCompleted(const SoapBindingResponsePtr& response);
    // The further pages of the asynchronous run, fetched synchronously.
    Paging OnQueryMoreCompleted(QString locator);
    void finishAsync();

    std::optional<QueryResult::Records> m_queryRecordList;
    QueryResultPtr m_queryResult;
    QString _queryString;
    bool _isLogined = false;
};
