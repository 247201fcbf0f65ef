// The providers against the fake service: paging, one re-login after an expired session,
// failures on a later page, exactly one completion per asynchronous call, and time-outs.
#include "plugin/Common/PluginPreferences.h"
#include "plugin/DataAccess/CreateProvider.h"
#include "plugin/DataAccess/DeleteProvider.h"
#include "plugin/DataAccess/DescribeSObjectProvider.h"
#include "plugin/DataAccess/QueryProvider.h"
#include "plugin/SforceService/SoapBinding.h"
#include "plugin/SforceService/ens_Contact.h"
#include "tests/support/service/ServiceFixture.h"

namespace {

class ProviderTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        fake.setPageSize(2);
        for (const char* name : {"A", "B", "C", "D", "E"})
            ids.append(contact(name));
        logIn();
    }

    static QStringList idsOf(const QueryResult& result)
    {
        QStringList out;
        for (const auto& record : result.QueryResultList().value_or(QueryResult::Records()))
            out.append(record->getId());
        return out;
    }

    QueryResultPtr queryAsync(QueryProvider& provider)
    {
        NotificationWaiter done(kQDLEVENTDAQUERYACCOMPLETED, &provider);
        provider.ExecuteAsync("SELECT Id FROM Contact");
        const auto notification = done.wait();
        // Every call still running has posted its completion once this returns.
        SoapBinding::cancelAsynchronousCallsAndWait();
        EXPECT_EQ(done.count(), 1);
        return notification ? notification->userInfo.value(kQueryResultKey).value<QueryResultPtr>() : nullptr;
    }

    static FakeCrmReply dropped()
    {
        FakeCrmReply reply;
        reply.dropConnection = true;
        return reply;
    }

    QStringList ids;
};

TEST_F(ProviderTest, AQueryGathersEveryPageInOrder)
{
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 0);
    EXPECT_EQ(idsOf(*result), ids);
    EXPECT_EQ(journal(), (QStringList{"login", "query", "queryMore", "queryMore"}));

    const QueryResultPtr async = queryAsync(provider);
    ASSERT_TRUE(async);
    EXPECT_EQ(async->Code(), 0);
    EXPECT_EQ(idsOf(*async), ids);
}

TEST_F(ProviderTest, AnExpiredSessionIsAnsweredByOneLoginAndTheQueryAgain)
{
    fake.invalidateSessionOnce();
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 0);
    EXPECT_EQ(idsOf(*result), ids);
    EXPECT_EQ(journal(), (QStringList{"login", "query", "login", "query", "queryMore", "queryMore"}));
    EXPECT_EQ(fake.requests().back().sessionId, fake.sessionId());
}

TEST_F(ProviderTest, AnExpiredSessionOnALaterPageStartsTheQueryAgainOnce)
{
    // Requests: 1 login, 2 query, 3 queryMore expired.
    fake.scriptReply(3, FakeCrmService::faultReply("INVALID_SESSION_ID", "Session expired or invalid"));
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 0);
    EXPECT_EQ(idsOf(*result), ids) << "the first page is not counted twice";
    EXPECT_EQ(journal(), (QStringList{"login", "query", "queryMore", "login", "query", "queryMore", "queryMore"}));

    // The asynchronous run: requests 8 query, 9 queryMore expired.
    fake.scriptReply(9, FakeCrmService::faultReply("INVALID_SESSION_ID", "Session expired or invalid"));
    const QueryResultPtr async = queryAsync(provider);
    ASSERT_TRUE(async);
    EXPECT_EQ(async->Code(), 0);
    EXPECT_EQ(idsOf(*async), ids);
}

TEST_F(ProviderTest, AFailedReloginHandsBackTheExpiredSession)
{
    fake.invalidateSessionOnce();
    fake.setCredentials("user@example.com", "changed");
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 1002);
    EXPECT_FALSE(result->QueryResultList());
    EXPECT_EQ(journal(), (QStringList{"login", "query", "login"}));
}

TEST_F(ProviderTest, ALaterPageThatFailsKeepsTheEarlierRecordsOnlyWhenSynchronous)
{
    fake.scriptReply(3, dropped());
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 1006);
    EXPECT_EQ(idsOf(*result), ids.mid(0, 2));

    // Requests 4 query, 5 queryMore.
    fake.scriptReply(5, dropped());
    const QueryResultPtr async = queryAsync(provider);
    ASSERT_TRUE(async);
    EXPECT_EQ(async->Code(), 1006);
    EXPECT_FALSE(async->QueryResultList());
}

TEST_F(ProviderTest, AServiceThatNeverAnswersTimesOutAtTheConfiguredTime)
{
    PreferenceDomain preferences = PluginPreferences::domain();
    preferences.setValue(kPrefTimeOut, PlistValue(int64_t(1000)));
    ASSERT_TRUE(preferences.synchronize());
    PluginPreferences::loadTimeOuts(global);
    ASSERT_EQ(global.SFTimeOut(), 1.0);

    FakeCrmReply silent;
    silent.delayMs = 600000;
    fake.queueReply(silent);
    QueryProvider provider(global);
    const QueryResultPtr result = provider.Execute("SELECT Id FROM Contact");
    EXPECT_EQ(result->Code(), 10002);
    EXPECT_EQ(global.ReturnCode(), 30000);
}

TEST_F(ProviderTest, CreateAndDeleteCompleteOnceAfterARelogin)
{
    auto record = [](const QString& lastName) {
        auto c = std::make_shared<ens_Contact>();
        c->setLastName(lastName);
        return std::shared_ptr<ens_sObject>(c);
    };
    fake.invalidateSessionOnce();
    CreateProvider create(global);
    NotificationWaiter created(kQDLEVENTDACREATECOMPLETED, &create);
    create.ExecuteAsync({record("New"), record("")});
    const auto notification = created.wait();
    SoapBinding::cancelAsynchronousCallsAndWait();
    ASSERT_TRUE(notification);
    EXPECT_EQ(created.count(), 1);
    const auto response = notification->userInfo.value(kSFORCERESPONSEKey).value<SoapBindingResponsePtr>();
    const auto parts = response->getbodyParts().value_or(SoapBindingResponse::Parts());
    ASSERT_EQ(parts.size(), 1u);
    const auto results = std::dynamic_pointer_cast<SforceServiceSvc_createResponse>(parts[0])->getresult();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0]->getsuccess()->boolValue());
    EXPECT_FALSE(results[1]->getsuccess()->boolValue());
    EXPECT_EQ(journal().mid(1), (QStringList{"create", "login", "create"}));

    NotificationWaiter emptyCreate(kQDLEVENTDACREATECOMPLETED, &create);
    create.ExecuteAsync({});
    ASSERT_TRUE(emptyCreate.wait());
    EXPECT_EQ(journal().last(), QString("create"));

    DeleteProvider remove(global);
    NotificationWaiter deleted(kQDLEVENTDADELETEACCOMPLETED, &remove);
    remove.ExecuteAsync({results[0]->getid(), ids[0]});
    ASSERT_TRUE(deleted.wait());
    EXPECT_EQ(fake.records().size(), 4u);
}

TEST_F(ProviderTest, DescribeIsRepeatedAfterARelogin)
{
    fake.invalidateSessionOnce();
    DescribeSObjectProvider provider(global);
    const SoapBindingResponsePtr response = provider.Execute({"Lead", "Campaign"});
    ASSERT_FALSE(response->geterror());
    const auto parts = response->getbodyParts().value_or(SoapBindingResponse::Parts());
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_EQ(std::dynamic_pointer_cast<SforceServiceSvc_describeSObjectsResponse>(parts[0])->result().size(), 2u);
    EXPECT_EQ(journal().mid(1), (QStringList{"describeSObjects", "login", "describeSObjects"}));
}

}
