#include "plugin/DataAccess/QueryProvider.h"

#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "platform/foundation/NotificationCenter.h"

namespace {

// Codes above this mean the service itself is unavailable: no further page is asked for.
constexpr int kLastPagedCode = 19999;

template <typename Response>
std::vector<std::shared_ptr<Response>> partsOf(const SoapBindingResponsePtr& response)
{
    std::vector<std::shared_ptr<Response>> parts;
    if (response && response->getbodyParts()) {
        for (const SoapObjectPtr& part : *response->getbodyParts()) {
            if (auto typed = std::dynamic_pointer_cast<Response>(part))
                parts.push_back(typed);
        }
    }
    return parts;
}

}

SoapBindingResponsePtr QueryProvider::query()
{
    auto request = std::make_shared<SforceServiceSvc_query>();
    request->setqueryString(_queryString);
    return sessionBinding(m_global.SFTimeOut())->queryUsingParameters(request, sessionHeader());
}

SoapBindingResponsePtr QueryProvider::queryMore(const QString& locator)
{
    auto request = std::make_shared<SforceServiceSvc_queryMore>();
    request->setqueryLocator(locator);
    return sessionBinding(m_global.SFTimeOut())->queryMoreUsingParameters(request, sessionHeader());
}

QString QueryProvider::takePage(const std::shared_ptr<SforceServiceSvc_QueryResult>& page)
{
    if (!page)
        return QString();
    if (!m_queryRecordList)
        m_queryRecordList = QueryResult::Records();
    for (const auto& record : page->records())
        m_queryRecordList->push_back(record);
    return page->isDone() ? QString() : page->queryLocator();
}

QueryResultPtr QueryProvider::Execute(const QString& soql)
{
    _queryString = soql;
    _isLogined = false;
    m_queryResult = std::make_shared<QueryResult>();
    runSynchronously();
    _isLogined = false;
    return m_queryResult;
}

void QueryProvider::runSynchronously()
{
    m_queryRecordList.reset();
    SoapBindingResponsePtr response = query();
    if (!_isLogined && CheckSessionInvalid(response) == kSessionReloggedIn) {
        _isLogined = true;
        response = query();
    }
    int code = ErrorManager::GetResponseCode(response, m_global);
    m_queryResult->setCode(code);
    if (code > kLastPagedCode)
        return;
    QString locator;
    for (const auto& part : partsOf<SforceServiceSvc_queryResponse>(response))
        locator = takePage(part->result());
    while (!locator.isEmpty()) {
        const SoapBindingResponsePtr page = queryMore(locator);
        if (!_isLogined && CheckSessionInvalid(page) == kSessionReloggedIn) {
            // The locator belonged to the expired session: the query starts again from its first page.
            _isLogined = true;
            runSynchronously();
            return;
        }
        code = ErrorManager::GetResponseCode(page, m_global);
        m_queryResult->setCode(code);
        if (code > kLastPagedCode)
            break;
        locator.clear();
        for (const auto& part : partsOf<SforceServiceSvc_queryMoreResponse>(page))
            locator = takePage(part->result());
    }
    m_queryResult->setQueryResultList(m_queryRecordList);
}

void QueryProvider::ExecuteAsync(const QString& soql)
{
    _queryString = soql;
    _isLogined = false;
    startAsync();
}

void QueryProvider::startAsync()
{
    m_queryRecordList.reset();
    auto request = std::make_shared<SforceServiceSvc_query>();
    request->setqueryString(_queryString);
    auto binding = sessionBinding(m_global.SFTimeOut());
    onCompletion(binding, [this](const SoapBindingResponsePtr& response) { OnQueryCompleted(response); });
    binding->queryAsyncUsingParameters(request, sessionHeader());
}

void QueryProvider::OnQueryCompleted(const SoapBindingResponsePtr& response)
{
    m_queryResult = std::make_shared<QueryResult>();
    if (!_isLogined && CheckSessionInvalid(response) == kSessionReloggedIn) {
        _isLogined = true;
        startAsync();
        return;
    }
    const int code = ErrorManager::GetResponseCode(response, m_global);
    m_queryResult->setCode(code);
    if (code != kQDLSuccess) {
        finishAsync();
        return;
    }
    for (const auto& part : partsOf<SforceServiceSvc_queryResponse>(response)) {
        const QString locator = takePage(part->result());
        if (locator.isEmpty())
            continue;
        switch (OnQueryMoreCompleted(locator)) {
        case Paging::Restarted: return;
        case Paging::Failed: finishAsync(); return;
        case Paging::Done: break;
        }
    }
    m_queryResult->setQueryResultList(m_queryRecordList);
    finishAsync();
}

QueryProvider::Paging QueryProvider::OnQueryMoreCompleted(QString locator)
{
    while (!locator.isEmpty()) {
        const SoapBindingResponsePtr page = queryMore(locator);
        if (!_isLogined && CheckSessionInvalid(page) == kSessionReloggedIn) {
            // The restarted run posts the one completion of this call.
            _isLogined = true;
            startAsync();
            return Paging::Restarted;
        }
        const int code = ErrorManager::GetResponseCode(page, m_global);
        if (code != kQDLSuccess) {
            m_queryResult->setCode(code);
            return Paging::Failed;
        }
        locator.clear();
        for (const auto& part : partsOf<SforceServiceSvc_queryMoreResponse>(page))
            locator = takePage(part->result());
    }
    return Paging::Done;
}

void QueryProvider::finishAsync()
{
    _queryString.clear();
    _isLogined = false;
    NotificationCenter::defaultCenter().post(QString::fromLatin1(kQDLEVENTDAQUERYACCOMPLETED), this,
        {{QString::fromLatin1(kQueryResultKey), QVariant::fromValue(m_queryResult)}});
}
