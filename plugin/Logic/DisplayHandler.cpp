#include "plugin/Logic/DisplayHandler.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/DataAccess/DescribeSObjectProvider.h"
#include "plugin/SforceService/SoapEnumerations.h"
#include "platform/foundation/NotificationCenter.h"

namespace {

// A condition chunk and a query head stay within this many characters.
constexpr int kQueryLimit = 10000;
constexpr int kQueryHead = 50;
constexpr int kServiceDown = 20000;

QString text(const char* key)
{
    return CommonFuc::GetLocalStringWithKey(QString::fromLatin1(key));
}

QString fieldText(const SoapObject& object, const char* name)
{
    return object.valueForKey(QString::fromLatin1(name)).text();
}

// The entries of describe results of `response`.
std::vector<std::shared_ptr<SforceServiceSvc_DescribeSObjectResult>> describeResults(const SoapBindingResponsePtr& response)
{
    std::vector<std::shared_ptr<SforceServiceSvc_DescribeSObjectResult>> out;
    if (!response || !response->getbodyParts())
        return out;
    for (const SoapObjectPtr& part : *response->getbodyParts()) {
        if (auto describe = std::dynamic_pointer_cast<SforceServiceSvc_describeSObjectsResponse>(part)) {
            for (const auto& result : describe->result())
                out.push_back(result);
        }
    }
    return out;
}

std::vector<std::shared_ptr<SforceServiceSvc_Field>> fieldsOf(const SforceServiceSvc_DescribeSObjectResult& result)
{
    return soapObjectsOfList<SforceServiceSvc_Field>(result.valueForKey(QStringLiteral("fields")));
}

void readPicklist(const SforceServiceSvc_Field& field, QString& label, QStringList& values, int& defaultPosition)
{
    const QString fieldLabel = fieldText(field, "label");
    if (!fieldLabel.isNull())
        label = fieldLabel;
    values.clear();
    const auto entries = field.getpicklistValues();
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString value = fieldText(*entries[i], "value");
        if (!value.isNull())
            values.append(value);
        const auto isDefault = entries[i]->valueForKey(QStringLiteral("defaultValue")).boolean();
        if (isDefault && isDefault->boolValue())
            defaultPosition = int(i);
    }
}

}

DisplayHandler::~DisplayHandler()
{
    NotificationCenter::defaultCenter().removeObserver(this);
}

QString DisplayHandler::accountQuery(const QString& text, int searchMode)
{
    const QString pattern = CommonFuc::ConvertSpecialCharInSOQLLike(text);
    if (searchMode == kSearchByEmail)
        return QStringLiteral("SELECT Id,Name FROM Account WHERE Id in (SELECT AccountId FROM Contact WHERE Email LIKE '%%1%')").arg(pattern);
    return QStringLiteral("SELECT Id,Name FROM Account WHERE (Name LIKE '%%1%')").arg(pattern);
}

QString DisplayHandler::campaignQuery(const QString& keyword, const DisplayInfo& display)
{
    QString columns;
    const std::pair<bool, const char*> shown[] = {{display.isCampaignNameDisplay, "Name"},
        {display.isCampaignStartDateDisplay, "StartDate"}, {display.isCampaignEndDateDisplay, "EndDate"},
        {display.isCampaignTypeDisplay, "Type"}, {display.isCampaignStatusDisplay, "Status"}};
    for (const auto& [visible, name] : shown) {
        if (visible)
            columns += QLatin1Char(',') + QLatin1String(name);
    }
    if (keyword.isEmpty())
        return QStringLiteral("SELECT Id%1 FROM Campaign").arg(columns);
    return QStringLiteral("SELECT Id%1 FROM Campaign WHERE Name like '%%2%'").arg(columns, CommonFuc::ConvertSpecialCharInSOQLLike(keyword));
}

void DisplayHandler::startQuery(const char* completion, const char* rowsKey, std::function<QVariant(const QueryResult::Records&)> rows)
{
    m_queryProvider = std::make_unique<QueryProvider>(m_global);
    auto& center = NotificationCenter::defaultCenter();
    center.removeObserver(this);
    center.addObserver(this, QString::fromLatin1(kQDLEVENTDAQUERYACCOMPLETED),
        [this, completion, rowsKey, rows = std::move(rows)](const Notification& notification) {
            NotificationCenter::defaultCenter().removeObserver(this);
            const auto holder = notification.userInfo.value(QString::fromLatin1(kQueryResultKey)).value<QueryResultPtr>();
            QVariantMap info{{QString::fromLatin1(kQueryResultKey), QVariant::fromValue(holder)}};
            if (holder && holder->Code() == kQDLSuccess) {
                const QVariant list = rows(holder->QueryResultList().value_or(QueryResult::Records()));
                info.insert(QString::fromLatin1(rowsKey), list);
            }
            NotificationCenter::defaultCenter().post(QString::fromLatin1(completion), this, info);
        },
        m_queryProvider.get());
    m_queryProvider->ExecuteAsync(m_queryString);
}

void DisplayHandler::GetExistAccountsAsync(const QString& text, int searchMode)
{
    m_searchCondition = text;
    m_queryString = accountQuery(text, searchMode == kSearchByEmail ? kSearchByEmail : kSearchByName);
    startQuery(kQDLEVENTLOGETACCOMPLETED, kAccountRowsKey, [](const QueryResult::Records& records) {
        AccountRows rows;
        for (const auto& record : records) {
            const auto account = std::dynamic_pointer_cast<ens_Account>(record);
            if (account)
                rows.push_back({account->getName(), account});
        }
        return QVariant::fromValue(rows);
    });
}

void DisplayHandler::GetExistCampaignsAsync(const QString& keyword)
{
    m_searchCondition = keyword;
    const auto& display = m_global.UserDisplayInfo();
    m_queryString = campaignQuery(keyword, display ? *display : DisplayInfo());
    startQuery(kQDLEVENTLOGETCPCOMPLETED, kCampaignRowsKey, [](const QueryResult::Records& records) {
        CampaignRows rows;
        for (const auto& record : records) {
            const auto campaign = std::dynamic_pointer_cast<ens_Campaign>(record);
            if (!campaign)
                continue;
            rows.push_back({int(rows.size()), campaign->Name(), campaign->StartDate(), campaign->EndDate(), campaign->Type(),
                campaign->Status(), campaign});
        }
        return QVariant::fromValue(rows);
    });
}

void DisplayHandler::GetLeadInfo(const std::vector<std::shared_ptr<SforceServiceSvc_Field>>& fields, DisplayInfo& display)
{
    const qint32 picklist = SforceServiceSvc_fieldType_enumFromString(QStringLiteral("picklist"));
    for (const auto& field : fields) {
        if (field->gettype() != picklist || field->getpicklistValues().empty())
            continue;
        const QString name = fieldText(*field, "name");
        if (name == QLatin1String("LeadSource"))
            readPicklist(*field, display.LeadSourceLabelName, display.LeadSource, display.LeadSourceDefault);
        else if (name == QLatin1String("Status"))
            readPicklist(*field, display.LeadStatusLabelName, display.LeadStatus, display.LeadStatusDefault);
    }
}

void DisplayHandler::GetCampaignInfo(const std::vector<std::shared_ptr<SforceServiceSvc_Field>>& fields, DisplayInfo& display)
{
    const std::tuple<const char*, QString DisplayInfo::*, bool DisplayInfo::*> columns[] = {
        {"Name", &DisplayInfo::CampaignTitleName, &DisplayInfo::isCampaignNameDisplay},
        {"StartDate", &DisplayInfo::CampaignTitleStartDate, &DisplayInfo::isCampaignStartDateDisplay},
        {"EndDate", &DisplayInfo::CampaignTitleEndDate, &DisplayInfo::isCampaignEndDateDisplay},
        {"Type", &DisplayInfo::CampaignTitleType, &DisplayInfo::isCampaignTypeDisplay},
        {"Status", &DisplayInfo::CampaignTitleStatus, &DisplayInfo::isCampaignStatusDisplay},
    };
    for (const auto& field : fields) {
        const QString label = fieldText(*field, "label");
        if (label.isNull())
            continue;
        for (const auto& [name, title, flag] : columns) {
            if (fieldText(*field, "name") == QLatin1String(name)) {
                display.*title = label;
                display.*flag = true;
            }
        }
    }
}

std::shared_ptr<DisplayInfo> DisplayHandler::GetDisplayItems()
{
    auto display = std::make_shared<DisplayInfo>();
    display->AccountLabelName = text("LTL99005");
    display->ContactLabelName = text("LTL99006");
    display->LeadLabelName = text("LTL99007");
    display->CampaignLabelName = text("LTL99008");
    display->LeadSourceLabelName = text("LTL99009");
    display->LeadStatusLabelName = text("LTL99010");
    display->CampaignTitleName = text("LTL99011");
    display->CampaignTitleStartDate = text("LTL99012");
    display->CampaignTitleEndDate = text("LTL99013");
    display->CampaignTitleType = text("LTL99014");
    display->CampaignTitleStatus = text("LTL99015");

    // One describe: false when the service is down and the rest is not asked for.
    auto describe = [&](const QStringList& types, bool DisplayInfo::*enabled,
                        const std::function<void(const SforceServiceSvc_DescribeSObjectResult&)>& read) {
        DescribeSObjectProvider provider(m_global);
        const SoapBindingResponsePtr response = provider.Execute(types);
        const int code = ErrorManager::GetResponseCode(response, m_global);
        if (code == kQDLInvalidType && enabled) {
            display.get()->*enabled = false;
        } else if (code != kQDLSuccess && code != kQDLInvalidType) {
            display->Code = code;
            if (code > kServiceDown)
                return false;
        }
        for (const auto& result : describeResults(response))
            read(*result);
        return true;
    };
    const bool up = describe({QStringLiteral("Account"), QStringLiteral("Contact")}, &DisplayInfo::isAccountAndContactObjectEnabled,
        [&](const SforceServiceSvc_DescribeSObjectResult& result) {
            const QString label = fieldText(result, "label");
            if (label.isNull())
                return;
            if (fieldText(result, "name") == QLatin1String("Account"))
                display->AccountLabelName = label;
            else if (fieldText(result, "name") == QLatin1String("Contact"))
                display->ContactLabelName = label;
        })
        && describe({QStringLiteral("Lead")}, &DisplayInfo::isLeadObjectEnabled,
            [&](const SforceServiceSvc_DescribeSObjectResult& result) {
                if (fieldText(result, "name") != QLatin1String("Lead"))
                    return;
                if (!fieldText(result, "label").isNull())
                    display->LeadLabelName = fieldText(result, "label");
                GetLeadInfo(fieldsOf(result), *display);
            });
    if (up) {
        describe({QStringLiteral("Campaign")}, nullptr, [&](const SforceServiceSvc_DescribeSObjectResult& result) {
            if (fieldText(result, "name") != QLatin1String("Campaign"))
                return;
            if (!fieldText(result, "label").isNull())
                display->CampaignLabelName = fieldText(result, "label");
            GetCampaignInfo(fieldsOf(result), *display);
        });
    }
    return display;
}

QString DisplayHandler::cardCondition(const CardInfo& card)
{
    QString clause = QStringLiteral("((FirstName='%1' and LastName='%2')")
                         .arg(CommonFuc::ConvertSpecialCharInSOQL(CommonFuc::GetFirstName(card)),
                             CommonFuc::ConvertSpecialCharInSOQL(card.LastName));
    if (!card.Email.isEmpty())
        clause += QStringLiteral(" and Email='%1'").arg(CommonFuc::ConvertSpecialCharInSOQL(card.Email));
    return clause + QLatin1Char(')');
}

QStringList DisplayHandler::GetSeparatedQueryCondition() const
{
    QStringList chunks;
    QString chunk;
    const auto& cards = m_global.CardInfoListFromXML();
    for (const auto& card : cards.value_or(GlobalData::CardList())) {
        const QString clause = cardCondition(*card);
        if (chunk.size() + 4 + clause.size() + kQueryHead > kQueryLimit) {
            if (!chunk.isEmpty())
                chunks.append(chunk);
            chunk.clear();
        } else if (!chunk.isEmpty()) {
            chunk += QLatin1String(" or ");
        }
        chunk += clause;
    }
    if (!chunk.isEmpty())
        chunks.append(chunk);
    return chunks;
}

bool DisplayHandler::matches(const CardInfo& card, const ens_sObject& record)
{
    const QString email = record.valueForKey(QStringLiteral("Email")).text();
    const QString first = record.valueForKey(QStringLiteral("FirstName")).text();
    const QString last = record.valueForKey(QStringLiteral("LastName")).text();
    return (card.Email.isEmpty() || CommonFuc::StrCompare(email, card.Email, true))
        && CommonFuc::StrCompare(first, CommonFuc::GetFirstName(card), false) && CommonFuc::StrCompare(last, card.LastName, false);
}

int DisplayHandler::UpdateCardListUploadStatus()
{
    const auto& display = m_global.UserDisplayInfo();
    const bool contacts = !display || display->isAccountAndContactObjectEnabled;
    const bool leads = !display || display->isLeadObjectEnabled;
    QueryResult::Records contactRecords;
    QueryResult::Records leadRecords;
    for (const QString& chunk : GetSeparatedQueryCondition()) {
        for (const auto& [enabled, object, records] : {std::tuple{contacts, "Contact", &contactRecords}, std::tuple{leads, "Lead", &leadRecords}}) {
            if (!enabled)
                continue;
            QueryProvider provider(m_global);
            const QueryResultPtr result = provider.Execute(QStringLiteral("Select Email,FirstName,LastName from %1 where %2").arg(QLatin1String(object), chunk));
            if (result->Code() != kQDLSuccess)
                return result->Code();
            for (const auto& record : result->QueryResultList().value_or(QueryResult::Records()))
                records->push_back(record);
        }
    }
    GlobalData::CardList cards = m_global.CardInfoListFromXML().value_or(GlobalData::CardList());
    for (const auto& card : cards) {
        for (const auto& record : contactRecords) {
            if (matches(*card, *record))
                card->UploadedAsContact = true;
        }
        for (const auto& record : leadRecords) {
            if (matches(*card, *record))
                card->UploadedAsLead = true;
        }
    }
    m_global.setCardInfoListFromXML(cards);
    return kQDLSuccess;
}
