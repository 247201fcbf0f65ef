// What the service may send that it should not, and cards far larger than any real one: the
// plug-in's codes, no crash.
#include "plugin/Logic/CardHandler.h"
#include "plugin/Logic/DisplayHandler.h"
#include "tests/support/service/ServiceFixture.h"

namespace {

class BadAnswersTest : public ServiceFixture {
protected:
    void SetUp() override
    {
        ServiceFixture::SetUp();
        logIn();
    }

    static FakeCrmReply reply(int status, const QByteArray& contentType, const QByteArray& body)
    {
        FakeCrmReply r;
        r.status = status;
        r.contentType = contentType;
        r.body = body;
        return r;
    }
};

TEST_F(BadAnswersTest, UnknownFieldsWrongTypesAndHtmlGiveCodesNotCrashes)
{
    fake.queueReply(reply(200, "text/xml", FakeCrmService::envelope(
        "<queryResponse><result><done>perhaps</done><queryLocator xsi:nil=\"true\"/>"
        "<records xsi:type=\"sf:Account\"><sf:Id>001A</sf:Id><sf:Name>Kept</sf:Name><sf:Unknown__c>x</sf:Unknown__c>"
        "<sf:IsDeleted>maybe</sf:IsDeleted><sf:CreatedDate>not a date</sf:CreatedDate></records>"
        "<records xsi:type=\"sf:NoSuchType\"><sf:Id>001B</sf:Id></records>"
        "<size>many</size></result></queryResponse>")));
    QueryProvider provider(global);
    QueryResultPtr result = provider.Execute("SELECT Id,Name FROM Account");
    EXPECT_EQ(result->Code(), 0);
    ASSERT_TRUE(result->QueryResultList());
    ASSERT_EQ(result->QueryResultList()->size(), 1u);
    EXPECT_EQ(result->QueryResultList()->front()->valueForKey("Name").text(), QString("Kept"));

    const struct {
        FakeCrmReply answer;
        int code;
    } cases[] = {
        {reply(200, "text/html", "<html><body>Maintenance</body></html>"), 9901},
        {reply(503, "text/html", "<html><body>Service Unavailable</body></html>"), 1006},
        {reply(200, "text/xml", "<soapenv:Envelope><unclosed"), 9901},
        {reply(200, "text/xml", FakeCrmService::envelope("<createResponse><result><success>true</success></result></createResponse>")), 0},
    };
    for (const auto& c : cases) {
        fake.queueReply(c.answer);
        result = provider.Execute("SELECT Id FROM Account");
        EXPECT_EQ(result->Code(), c.code) << c.answer.body.toStdString();
        EXPECT_FALSE(result->QueryResultList() && !result->QueryResultList()->empty());
    }
}

TEST_F(BadAnswersTest, CardsWithTwoMegabyteFieldsAreCutToWhatTheServiceTakes)
{
    auto card = std::make_shared<CardInfo>();
    card->FullName = QString(2'000'000, 'n');
    card->LastName = QString(2'000'000, 'l');
    card->OrganizationName = QString(2'000'000, 'o');
    card->Extension = QString(2'000'000, 'm');
    CardHandler handler(global);
    NotificationWaiter done(kQDLEVENTLOUPLOADCOMPLETED, &handler);
    ASSERT_TRUE(handler.UploadAsLeadAsync({card}, QString(), QString(), nullptr));
    const auto notification = done.wait();
    ASSERT_TRUE(notification);
    const auto rows = notification->userInfo.value("KEY_CODE").value<UploadResults>();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->Status, 4);
    EXPECT_EQ(rows[0]->Code, 10207);
    EXPECT_EQ(rows[0]->OverLengthTextList, (QStringList{"LTL99017", "LTL99019", "LTL99030"}));
    const auto records = fake.records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].value("Company").size(), 255);
    EXPECT_EQ(records[0].value("Description").size(), 32000);
}

}
