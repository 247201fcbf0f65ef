// The upload chain end to end: the real handler, providers and binding over HTTP on loopback
// against the fake service. Each row asserts the calls the service received, the records it holds
// afterwards and each card's outcome.
#include "plugin/Logic/CardHandler.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "tests/support/pdf/TestPdf.h"
#include "tests/support/service/ServiceFixture.h"

#include <QTemporaryDir>

#include <functional>
#include <map>

namespace {

enum class Mode { NewAccount, ExistingAccount, Lead, LeadWithCampaign };

struct Card {
    QString lastName;
    QString company = "Acme";
    int pdfPages = 0;  // 0: no image
    bool longCompany = false;
};

struct Outcome {
    int status;
    int code;
    const char* message = "";  // what the card's message holds
};

struct Row {
    const char* name;
    Mode mode;
    std::vector<Card> cards;
    std::function<void(FakeCrmService&)> script;
    QStringList journal;  // after the login
    std::vector<Outcome> outcomes;
    std::map<QString, int> records;  // what the service holds afterwards, by type
    bool orphanAccounts = false;     // an Account may stay without its Contact
};

FakeCrmReply fault(const char* code)
{
    return FakeCrmService::faultReply(QString::fromLatin1(code), "scripted");
}

FakeCrmReply dropped()
{
    FakeCrmReply reply;
    reply.dropConnection = true;
    return reply;
}

FakeCrmReply html503()
{
    FakeCrmReply reply;
    reply.status = 503;
    reply.contentType = "text/html";
    reply.body = "<html><body>Service Unavailable</body></html>";
    return reply;
}

class UploadChainFixture : public ServiceFixture {
protected:
    UploadResults run(const Row& row)
    {
        std::shared_ptr<ens_Account> existing;
        std::shared_ptr<ens_Campaign> campaign;
        if (row.mode == Mode::ExistingAccount) {
            existing = std::make_shared<ens_Account>();
            existing->setId(fake.addRecord("Account", {FakeCrmService::field("Name", "Existing Inc")}));
        }
        if (row.mode == Mode::LeadWithCampaign) {
            campaign = std::make_shared<ens_Campaign>();
            campaign->setId(fake.addRecord("Campaign", {FakeCrmService::field("Name", "Fair")}));
        }
        std::vector<std::shared_ptr<CardInfo>> cards;
        for (const Card& c : row.cards) {
            auto card = std::make_shared<CardInfo>();
            card->LastName = c.lastName;
            card->FirstName = "Ann";
            card->FullName = "Ann " + c.lastName;
            card->OrganizationName = c.longCompany ? QString(300, 'c') : c.company;
            card->Email = c.lastName.toLower() + "@example.com";
            if (c.pdfPages > 0) {
                card->ImageFilePathN1 = images.filePath(QStringLiteral("%1.pdf").arg(cards.size()));
                EXPECT_TRUE(testpdf::writePdf(card->ImageFilePathN1, testpdf::scannerDocument(c.pdfPages, "Brevix Pelmora")));
            }
            cards.push_back(card);
        }
        logIn();
        if (row.script)
            row.script(fake);
        CardHandler handler(global);
        NotificationWaiter done(kQDLEVENTLOUPLOADCOMPLETED, &handler);
        const bool started = row.mode == Mode::Lead || row.mode == Mode::LeadWithCampaign
            ? handler.UploadAsLeadAsync(cards, "Web", QString(), campaign)
            : handler.UploadAsACAsync(cards, existing);
        EXPECT_TRUE(started);
        EXPECT_FALSE(handler.UploadAsLeadAsync(cards, QString(), QString(), nullptr)) << "a second upload waits for the first";
        const auto notification = done.wait();
        SoapBinding::cancelAsynchronousCallsAndWait();
        EXPECT_EQ(done.count(), 1);
        return notification ? notification->userInfo.value("KEY_CODE").value<UploadResults>() : UploadResults();
    }

    std::map<QString, int> recordCounts() const
    {
        std::map<QString, int> counts;
        for (const FakeCrmRecord& record : fake.records())
            ++counts[record.type];
        return counts;
    }

    void expectRow(const Row& row)
    {
        const UploadResults results = run(row);
        EXPECT_EQ(fake.journal().mid(1), row.journal) << row.name;
        ASSERT_EQ(results.size(), row.outcomes.size()) << row.name;
        for (size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(results[i]->Status, row.outcomes[i].status) << row.name << " card " << i;
            EXPECT_EQ(results[i]->Code, row.outcomes[i].code) << row.name << " card " << i;
            EXPECT_TRUE(results[i]->ExceptionMessage.contains(QString::fromUtf8(row.outcomes[i].message)))
                << row.name << " card " << i << ": " << results[i]->ExceptionMessage.toStdString();
        }
        EXPECT_EQ(recordCounts(), row.records) << row.name;
        // Nothing the chain made is left without what it was made for.
        const std::vector<FakeCrmRecord> records = fake.records();
        for (const FakeCrmRecord& record : records) {
            if (record.type == QLatin1String("Account") && row.mode == Mode::NewAccount && !row.orphanAccounts) {
                const auto contacts = std::count_if(records.begin(), records.end(),
                    [&](const FakeCrmRecord& r) { return r.value("AccountId") == record.id; });
                EXPECT_GT(contacts, 0) << row.name << ": an Account without its Contact";
            }
        }
    }

    QTemporaryDir images;
};

const Row kRows[] = {
    {"a new account per card, with one- and two-page images", Mode::NewAccount, {{"One", "Acme", 1}, {"Two", "Beta", 2}}, nullptr,
        {"create Account x2", "create Contact x2", "create Attachment x3"}, {{1, 0}, {1, 0}},
        {{"Account", 2}, {"Contact", 2}, {"Attachment", 3}}},
    {"contacts under an existing account", Mode::ExistingAccount, {{"One", "", 1}}, nullptr,
        {"create Contact x1", "create Attachment x1"}, {{1, 0}}, {{"Account", 1}, {"Contact", 1}, {"Attachment", 1}}},
    {"a lead without campaign or image", Mode::Lead, {{"One"}}, nullptr, {"create Lead x1"}, {{1, 0}}, {{"Lead", 1}}},
    {"leads joined to a campaign", Mode::LeadWithCampaign, {{"One", "Acme", 1}, {"Two", "Beta", 1}}, nullptr,
        {"create Lead x2", "create CampaignMember x2", "create Attachment x2"}, {{1, 0}, {1, 0}},
        {{"Campaign", 1}, {"Lead", 2}, {"CampaignMember", 2}, {"Attachment", 2}}},
    {"a contact refused for one card", Mode::NewAccount, {{"Good"}, {"Bad"}, {"Fine"}},
        [](FakeCrmService& f) { f.addRecordRule({"Contact", "LastName", "Bad", -1, "FIELD_CUSTOM_VALIDATION_EXCEPTION", "refused"}); },
        {"create Account x3", "create Contact x3", "delete x1"}, {{1, 0}, {2, 1014, "refused"}, {1, 0}}, {{"Account", 2}, {"Contact", 2}}},
    {"the rollback delete fails", Mode::NewAccount, {{"Good"}, {"Bad"}},
        [](FakeCrmService& f) {
            f.addRecordRule({"Contact", "LastName", "Bad", -1, "FIELD_CUSTOM_VALIDATION_EXCEPTION", "refused"});
            f.scriptReply(4, fault("SERVER_UNAVAILABLE"));
        },
        {"create Account x2", "create Contact x2", "delete x1"},
        {{1, 0}, {2, 1014, "refused\nA record made for this card could not be removed from the service again."}},
        {{"Account", 2}, {"Contact", 1}}, true},
    {"a campaign membership refused", Mode::LeadWithCampaign, {{"One"}, {"Two"}},
        [](FakeCrmService& f) { f.addRecordRule({"CampaignMember", "", "", 1, "INVALID_FIELD_FOR_INSERT_UPDATE", "no"}); },
        {"create Lead x2", "create CampaignMember x2", "delete x1"}, {{1, 0}, {2, 1013}},
        {{"Campaign", 1}, {"Lead", 1}, {"CampaignMember", 1}}},
    {"an attachment refused", Mode::NewAccount, {{"One", "Acme", 1}},
        [](FakeCrmService& f) { f.addRecordRule({"Attachment", "", "", 0, "IMAGE_TOO_LARGE", "too large"}); },
        {"create Account x1", "create Contact x1", "create Attachment x1"}, {{4, 10206}}, {{"Account", 1}, {"Contact", 1}}},
    {"a three-page image gives no attachment", Mode::NewAccount, {{"One", "Acme", 3}}, nullptr,
        {"create Account x1", "create Contact x1"}, {{4, 10213}}, {{"Account", 1}, {"Contact", 1}}},
    {"a cut company name", Mode::Lead, {{"One", "Acme", 0, true}}, nullptr, {"create Lead x1"}, {{4, 10207}}, {{"Lead", 1}}},
    {"fewer answers than contacts", Mode::NewAccount, {{"One"}, {"Two"}},
        [](FakeCrmService& f) { f.dropLastResultOfRequest(3); },
        {"create Account x2", "create Contact x2", "delete x1"}, {{1, 0}, {2, 9900}}, {{"Account", 1}, {"Contact", 1}}},
    {"the account call fails", Mode::NewAccount, {{"One"}, {"Two"}}, [](FakeCrmService& f) { f.scriptReply(2, fault("SERVER_UNAVAILABLE")); },
        {"create Account x2"}, {{2, 20001, "scripted"}, {2, 20001, "scripted"}}, {}},
    {"the contact call fails", Mode::NewAccount, {{"One"}, {"Two"}}, [](FakeCrmService& f) { f.scriptReply(3, dropped()); },
        {"create Account x2", "create Contact x2", "delete x2"}, {{2, 1006}, {2, 1006}}, {}},
    {"the attachment call fails after a refused contact", Mode::NewAccount, {{"One", "Acme", 1}, {"Bad", "Beta", 1}},
        [](FakeCrmService& f) {
            f.addRecordRule({"Contact", "LastName", "Bad", -1, "REQUIRED_FIELD_MISSING", "no"});
            f.scriptReply(4, html503());
        },
        {"create Account x2", "create Contact x2", "create Attachment x1", "delete x1"}, {{4, 1006}, {2, 1009}},
        {{"Account", 1}, {"Contact", 1}}},
    {"the membership call fails", Mode::LeadWithCampaign, {{"One"}, {"Two"}}, [](FakeCrmService& f) { f.scriptReply(3, fault("SERVER_UNAVAILABLE")); },
        {"create Lead x2", "create CampaignMember x2", "delete x2"}, {{2, 20001}, {2, 20001}}, {{"Campaign", 1}}},
    {"the session expires at the first create", Mode::NewAccount, {{"One"}}, [](FakeCrmService& f) { f.invalidateSessionOnce(); },
        {"create Account x1", "login", "create Account x1", "create Contact x1"}, {{1, 0}}, {{"Account", 1}, {"Contact", 1}}},
    {"every card fails its pre-checks", Mode::NewAccount, {{""}, {"Two", ""}}, nullptr, {}, {{2, 10202}, {2, 10201}}, {}},
};

class UploadChainTest : public UploadChainFixture, public ::testing::WithParamInterface<Row> {};

TEST_P(UploadChainTest, CallsRecordsAndOutcomes)
{
    expectRow(GetParam());
}

INSTANTIATE_TEST_SUITE_P(EachOutcomeOfEachStep, UploadChainTest, ::testing::ValuesIn(kRows));

// The service no longer answers the API version of old; the chain runs the same at a current one.
TEST_F(UploadChainFixture, TheChainRunsAtACurrentApiVersion)
{
    SforceServiceSvc::setApiVersion("61.0");
    fake.setAcceptedApiVersion("61.0");
    expectRow(kRows[0]);
    EXPECT_TRUE(fake.requests().back().path.startsWith("/services/Soap/c/61.0/"));
    SforceServiceSvc::setApiVersion(QString());
}

}
