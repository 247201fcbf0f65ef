// The outcome of one query run: its code and the records gathered (none when the run ended before
// any page came back).
#pragma once

#include "plugin/SforceService/ens_sObject.h"

#include <memory>
#include <optional>
#include <vector>

class QueryResult {
public:
    using Records = std::vector<std::shared_ptr<ens_sObject>>;

    int Code() const { return m_code; }
    void setCode(int code) { m_code = code; }
    const std::optional<Records>& QueryResultList() const { return m_list; }
    void setQueryResultList(const std::optional<Records>& list) { m_list = list; }

private:
    int m_code = 0;
    std::optional<Records> m_list;
};
