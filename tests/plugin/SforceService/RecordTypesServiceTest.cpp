// The record types against the fake service: what the upload side creates is stored, read back
// through paged queries field for field, and deleted again; refused and odd records end in results,
// never in exceptions.
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapBinding.h"
#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Campaign.h"
#include "plugin/SforceService/ens_CampaignMember.h"
#include "plugin/SforceService/ens_Contact.h"
#include "plugin/SforceService/ens_Lead.h"
#include "tests/plugin/SforceService/RecordTypesSupport.h"
#include "tests/plugin/SforceService/TestRecords.h"
#include "tests/support/crm/FakeCrmService.h"

#include <gtest/gtest.h>

namespace {

class RecordTypesService : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestRecordTypes();
        SforceServiceSvc::setLoginBaseUrl(fake.baseUrl());
        auto login = std::make_shared<SforceServiceSvc_login>();
        login->setusername("user@example.com");
        login->setpassword("secret");
        const auto response = SforceServiceSvc::SoapBinding()->loginUsingParameters(login);
        ASSERT_TRUE(response->getbodyParts());
        const auto result = std::dynamic_pointer_cast<SforceServiceSvc_loginResponse>(response->getbodyParts()->at(0))->result();
        ASSERT_TRUE(result);
        serverUrl = result->valueForKey("serverUrl").text();
        session = std::make_shared<SforceServiceSvc_SessionHeader>();
        session->setsessionId(result->valueForKey("sessionId").text());
    }
    void TearDown() override { SforceServiceSvc::setLoginBaseUrl(QString()); }

    std::shared_ptr<SoapBinding> binding() const
    {
        auto b = SforceServiceSvc::SoapBinding();
        b->setAddress(serverUrl);
        b->setdefaultTimeout(5.0);
        return b;
    }

    template <typename T>
    static std::shared_ptr<T> onlyPart(const SoapBindingResponsePtr& response)
    {
        EXPECT_FALSE(response->geterror());
        if (!response->getbodyParts() || response->getbodyParts()->size() != 1)
            return nullptr;
        return std::dynamic_pointer_cast<T>(response->getbodyParts()->front());
    }

    // Creates the records and stores each new id in its record.
    std::vector<std::shared_ptr<SforceServiceSvc_SaveResult>> create(const std::vector<std::shared_ptr<ens_sObject>>& records)
    {
        auto request = std::make_shared<SforceServiceSvc_create>();
        for (const auto& r : records)
            request->addSObjects(r);
        const auto response = onlyPart<SforceServiceSvc_createResponse>(binding()->createUsingParameters(request, session));
        if (!response)
            return {};
        const auto results = response->getresult();
        for (size_t i = 0; i < results.size() && i < records.size(); ++i) {
            if (results[i]->getsuccess() && results[i]->getsuccess()->boolValue())
                records[i]->setId(results[i]->getid());
        }
        return results;
    }

    // Every record the query selects, page after page.
    std::vector<std::shared_ptr<ens_sObject>> queryAll(const QString& soql, int* pages)
    {
        auto request = std::make_shared<SforceServiceSvc_query>();
        request->setqueryString(soql);
        auto response = onlyPart<SforceServiceSvc_queryResponse>(binding()->queryUsingParameters(request, session));
        auto page = response ? response->result() : nullptr;
        std::vector<std::shared_ptr<ens_sObject>> records;
        *pages = 0;
        while (page && *pages < 20) {
            ++*pages;
            for (const auto& r : page->records())
                records.push_back(r);
            if (page->isDone())
                break;
            auto more = std::make_shared<SforceServiceSvc_queryMore>();
            more->setqueryLocator(page->queryLocator());
            const auto next = onlyPart<SforceServiceSvc_queryMoreResponse>(binding()->queryMoreUsingParameters(more, session));
            page = next ? next->result() : nullptr;
        }
        return records;
    }

    FakeCrmService fake;
    QString serverUrl;
    std::shared_ptr<SforceServiceSvc_SessionHeader> session;
};

QByteArray pdfLikeBody()
{
    QByteArray body("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
    for (int i = 0; i < 3000; ++i)
        body.append(char(i * 7 % 256));
    return body + "\n%%EOF\n";
}

}

TEST_F(RecordTypesService, CreatedRecordsReadBackThroughPagingAndDeletingEmptiesTheStore)
{
    fake.setPageSize(1);
    fake.addRecord("Campaign", {FakeCrmService::field("Name", "Spring Fair & Expo"), FakeCrmService::field("StartDate", "2010-05-12"),
                                   FakeCrmService::field("Status", "Planned"), FakeCrmService::field("Type", "Conference")});
    int pages = 0;
    const auto campaigns = queryAll("SELECT Id, Name, StartDate, EndDate, Type, Status FROM Campaign", &pages);
    ASSERT_EQ(campaigns.size(), 1u);
    const auto campaign = std::dynamic_pointer_cast<ens_Campaign>(campaigns[0]);
    ASSERT_TRUE(campaign);
    EXPECT_EQ(campaign->Name(), "Spring Fair & Expo");
    EXPECT_EQ(campaign->Status(), "Planned");
    EXPECT_TRUE(campaign->StartDate().isValid());
    EXPECT_FALSE(campaign->EndDate().isValid());

    auto lead = std::make_shared<ens_Lead>();
    lead->setLastName("Yamada");
    lead->setFirstName("\u592a\u90ce");
    lead->setCompany("R&D <Sales> \"Ltd\"");
    lead->setEmail("taro@example.com");
    lead->setStreet("1-2-3 Chiyoda\nBuilding 4");
    lead->setLeadSource("Web");
    lead->setStatus("Open - Not Contacted");
    lead->setDescription("");
    auto account = std::make_shared<ens_Account>();
    account->setName("Acme & Co");
    account->setBillingCity("Tokyo");
    account->setWebsite("https://example.com/?a=1&b=2");
    ASSERT_EQ(create({lead, account}).size(), 2u);
    ASSERT_FALSE(lead->getId().isEmpty());
    ASSERT_FALSE(account->getId().isEmpty());

    auto contact = std::make_shared<ens_Contact>();
    contact->setLastName("Suzuki");
    contact->setEmail("hanako@example.com");
    contact->setMailingPostalCode("100-0001");
    contact->setAccountId(account->getId());
    auto member = std::make_shared<ens_CampaignMember>();
    member->setLeadId(lead->getId());
    member->setCampaignId(campaign->getId());
    ASSERT_EQ(create({contact, member}).size(), 2u);

    auto leadPage = std::make_shared<ens_Attachment>();
    leadPage->setName("Yamada_1.pdf");
    leadPage->setBody(pdfLikeBody());
    leadPage->setParentId(lead->getId());
    auto contactPage = std::make_shared<ens_Attachment>();
    contactPage->setName("Suzuki_1.pdf");
    contactPage->setBody(pdfLikeBody().right(100));
    contactPage->setParentId(contact->getId());
    ASSERT_EQ(create({leadPage, contactPage}).size(), 2u);

    const std::vector<std::shared_ptr<ens_sObject>> sent {lead, account, contact, member, leadPage, contactPage};
    for (const auto& record : sent)
        ASSERT_FALSE(record->getId().isEmpty()) << record->className().toStdString();
    EXPECT_EQ(contact->AccountId(), account->getId());

    struct Expected {
        const char* type;
        int records;
    };
    for (const Expected& e : {Expected {"Lead", 1}, Expected {"Account", 1}, Expected {"Contact", 1},
             Expected {"CampaignMember", 1}, Expected {"Attachment", 2}}) {
        // The service answers the fields a query names: every field that was sent.
        QStringList fields{"Id"};
        for (const auto& record : sent) {
            if (record->className() != QLatin1String("ens_") + e.type)
                continue;
            for (const SoapFieldInfo& f : record->typeInfo().fields()) {
                if (f.wireName != QLatin1String("fieldsToNull") && !record->valueForKey(f.wireName).isNone())
                    fields.append(f.wireName);
            }
        }
        fields.removeDuplicates();
        const auto read = queryAll(QStringLiteral("SELECT %1 FROM %2").arg(fields.join(','), e.type), &pages);
        ASSERT_EQ(int(read.size()), e.records) << e.type;
        EXPECT_EQ(pages, e.records) << e.type;
        for (const auto& back : read) {
            const auto original = std::find_if(sent.begin(), sent.end(), [&](const auto& r) { return r->getId() == back->getId(); });
            ASSERT_NE(original, sent.end()) << e.type;
            ASSERT_EQ(back->className(), (*original)->className());
            for (const SoapFieldInfo& f : back->typeInfo().fields()) {
                const SoapValue value = (*original)->valueForKey(f.wireName);
                if (f.wireName == QLatin1String("fieldsToNull"))
                    continue;
                if (value.isText() && value.text().isEmpty())  // sent as an empty element, which reads as no text
                    EXPECT_TRUE(back->valueForKey(f.wireName).isNone()) << f.wireName.toStdString();
                else
                    expectSameValue(value, back->valueForKey(f.wireName), back->getId() + '.' + f.wireName);
            }
        }
    }

    auto remove = std::make_shared<SforceServiceSvc_delete>();
    // Children first: deleting a parent takes its children with it.
    for (auto record = sent.rbegin(); record != sent.rend(); ++record)
        remove->addIds((*record)->getId());
    remove->addIds(campaign->getId());
    const auto deleted = onlyPart<SforceServiceSvc_deleteResponse>(binding()->deleteUsingParameters(remove, session));
    ASSERT_TRUE(deleted);
    ASSERT_EQ(deleted->result().size(), 7u);
    for (const auto& result : deleted->result())
        EXPECT_TRUE(result->valueForKey("success").boolean()->boolValue());
    EXPECT_TRUE(fake.records().empty());
}

TEST_F(RecordTypesService, RefusedRecordsAndUnreadableRecordsEndInResults)
{
    auto nameless = std::make_shared<ens_Lead>();  // the service requires a last name
    nameless->setCompany("Acme");
    auto untyped = std::make_shared<ens_sObject>();  // no type attribute: the service cannot tell its type
    untyped->setId("001000000000000AAA");
    auto good = std::make_shared<ens_Account>();
    good->setName("Kept");
    std::vector<std::shared_ptr<SforceServiceSvc_SaveResult>> results;
    ASSERT_NO_THROW(results = create({nameless, untyped, good}));
    ASSERT_EQ(results.size(), 3u);
    const qint32 expectedCodes[] = {SforceServiceSvc_StatusCode_enumFromString("REQUIRED_FIELD_MISSING"),
        SforceServiceSvc_StatusCode_enumFromString("INVALID_TYPE")};
    for (int i = 0; i < 2; ++i) {
        EXPECT_FALSE(results[size_t(i)]->getsuccess()->boolValue());
        ASSERT_EQ(results[size_t(i)]->geterrors().size(), 1u);
        EXPECT_EQ(results[size_t(i)]->geterrors()[0]->getstatusCode(), expectedCodes[i]);
        EXPECT_NE(expectedCodes[i], 0);
    }
    EXPECT_TRUE(nameless->getId().isNull());
    EXPECT_TRUE(results[2]->getsuccess()->boolValue());
    ASSERT_EQ(fake.records().size(), 1u);

    // A page whose records carry unknown types and values of the wrong kind.
    FakeCrmReply odd;
    odd.body = FakeCrmService::envelope(
        "<queryResponse><result><done>maybe</done>"
        "<records xsi:type=\"sf:Opportunity\"><sf:Id>006A</sf:Id></records>"
        "<records xsi:type=\"sf:Lead\"><sf:Id>00QA</sf:Id><sf:AnnualRevenue>lots</sf:AnnualRevenue>"
        "<sf:IsConverted>yes</sf:IsConverted><sf:ConvertedDate>someday</sf:ConvertedDate>"
        "<sf:ConvertedAccount xsi:type=\"xsi:string\">001A</sf:ConvertedAccount><sf:LastName><b>bold</b></sf:LastName></records>"
        "<records xsi:type=\"sf:Attachment\"><sf:Id>00PA</sf:Id><sf:Body>%%%</sf:Body></records>"
        "</result></queryResponse>");
    fake.queueReply(odd);
    int pages = 0;
    std::vector<std::shared_ptr<ens_sObject>> read;
    ASSERT_NO_THROW(read = queryAll("SELECT Id FROM Lead", &pages));
    EXPECT_EQ(pages, 1);
    ASSERT_EQ(read.size(), 2u);
    const auto lead = std::dynamic_pointer_cast<ens_Lead>(read[0]);
    ASSERT_TRUE(lead);
    EXPECT_EQ(lead->valueForKey("AnnualRevenue").number(), 0.0);
    EXPECT_TRUE(lead->valueForKey("IsConverted").isNone());
    EXPECT_TRUE(lead->valueForKey("ConvertedDate").isNone());
    EXPECT_TRUE(lead->valueForKey("ConvertedAccount").isNone());
    EXPECT_TRUE(lead->valueForKey("LastName").isNone());  // markup instead of text
    EXPECT_TRUE(read[1]->valueForKey("Body").isNone());
}
