// The read-only requests after login: the account and campaign searches, the labels, picklists and
// object access from describe, and the check which cards the service already holds.
#pragma once

#include "plugin/Common/AccountInfo.h"
#include "plugin/Common/CardInfo.h"
#include "plugin/Common/DisplayInfo.h"
#include "plugin/DataAccess/QueryProvider.h"

#include <QStringList>

#include <memory>

class GlobalData;
class SforceServiceSvc_Field;
struct Notification;

inline constexpr const char* kQDLEVENTLOGETACCOMPLETED = "QDLEVENTLOGETACCOMPLETED";
inline constexpr const char* kQDLEVENTLOGETCPCOMPLETED = "QDLEVENTLOGETCPCOMPLETED";
// userInfo of both: "result" the QueryResult (its code), and the rows under these keys.
inline constexpr const char* kAccountRowsKey = "accounts";
inline constexpr const char* kCampaignRowsKey = "campaigns";

enum AccountSearchMode : int {
    kSearchByEmail = 1,
    kSearchByName = 2,
};

class DisplayHandler {
public:
    explicit DisplayHandler(GlobalData& global) : m_global(global) {}
    ~DisplayHandler();
    DisplayHandler(const DisplayHandler&) = delete;
    DisplayHandler& operator=(const DisplayHandler&) = delete;

    void GetExistAccountsAsync(const QString& text, int searchMode);
    void GetExistCampaignsAsync(const QString& keyword);
    std::shared_ptr<DisplayInfo> GetDisplayItems();
    // Condition chunks over every card, each short enough for one query.
    QStringList GetSeparatedQueryCondition() const;
    // 0, or the code of the first query that failed (no card is changed then).
    int UpdateCardListUploadStatus();

    // The SOQL texts, for the searches above.
    static QString accountQuery(const QString& text, int searchMode);
    static QString campaignQuery(const QString& keyword, const DisplayInfo& display);
    // A card's clause of the duplicate check.
    static QString cardCondition(const CardInfo& card);
    // Whether a record returned by the duplicate check is this card.
    static bool matches(const CardInfo& card, const ens_sObject& record);
    static void GetLeadInfo(const std::vector<std::shared_ptr<SforceServiceSvc_Field>>& fields, DisplayInfo& display);
    static void GetCampaignInfo(const std::vector<std::shared_ptr<SforceServiceSvc_Field>>& fields, DisplayInfo& display);

    const QString& queryString() const { return m_queryString; }

private:
    void startQuery(const char* completion, const char* rowsKey, std::function<QVariant(const QueryResult::Records&)> rows);

    GlobalData& m_global;
    std::unique_ptr<QueryProvider> m_queryProvider;
    QString m_searchCondition;
    QString m_queryString;
};
