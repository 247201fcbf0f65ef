// The ten record types: their field tables, the order they write in, a full write-and-read round
// trip, the setters and getters the upload side uses, and reading of odd or wrong input.
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapTypeRegistry.h"
#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Campaign.h"
#include "plugin/SforceService/ens_CampaignMember.h"
#include "plugin/SforceService/ens_Contact.h"
#include "plugin/SforceService/ens_Lead.h"
#include "plugin/SforceService/ens_User.h"
#include "tests/plugin/SforceService/RecordTypesSupport.h"
#include "tests/plugin/SforceService/TestRecords.h"

#include <gtest/gtest.h>

#include <map>

namespace {

struct RecordTable {
    const char* className;
    const char* xsiType;
    int fields;
    int texts, numbers, dates, booleans, bytes, queryResults;
    std::map<QString, int> nested;  // declared record class → fields of that class
};

void PrintTo(const RecordTable& table, std::ostream* os)
{
    *os << table.className;
}

const RecordTable kTables[] = {
    {"ens_Contact", "ens:Contact", 75, 35, 0, 8, 1, 0, 25, {{"ens_Account", 1}, {"ens_User", 3}, {"ens_Contact", 2}}},
    {"ens_Account", "ens:Account", 72, 33, 3, 5, 1, 0, 25, {{"ens_Account", 2}, {"ens_User", 3}}},
    {"ens_Lead", "ens:Lead", 65, 33, 3, 6, 3, 0, 15, {{"ens_Account", 1}, {"ens_Contact", 1}, {"ens_User", 2}, {"ens_Lead", 1}}},
    {"ens_Campaign", "ens:Campaign", 48, 9, 13, 6, 2, 0, 14, {{"ens_User", 3}, {"ens_Campaign", 1}}},
    {"ens_CampaignMember", "ens:CampaignMember", 17, 6, 0, 4, 2, 0, 0,
        {{"ens_Campaign", 1}, {"ens_Contact", 1}, {"ens_Lead", 1}, {"ens_User", 2}}},
    {"ens_Attachment", "ens:Attachment", 14, 7, 1, 3, 2, 1, 0, {}},
    {"ens_User", "ens:User", 70, 37, 0, 7, 16, 0, 6, {{"ens_User", 3}, {"ens_Contact", 1}}},
    {"ens_Contract", "ens:Contract", 52, 19, 1, 10, 1, 0, 14, {{"ens_Account", 1}, {"ens_Contact", 1}, {"ens_User", 5}}},
    {"ens_Event", "ens:Event", 44, 16, 4, 10, 8, 0, 3, {{"ens_Account", 1}, {"ens_User", 2}}},
    {"ens_AccountContactRole", "ens:AccountContactRole", 14, 5, 0, 3, 2, 0, 0,
        {{"ens_Account", 1}, {"ens_Contact", 1}, {"ens_User", 2}}},
};

class RecordTypes : public ::testing::TestWithParam<RecordTable> {
protected:
    void SetUp() override
    {
        registerTestRecordTypes();
        info = SoapTypeRegistry::instance().find(QString::fromLatin1(GetParam().className));
        ASSERT_TRUE(info);
    }
    const SoapTypeInfo* info = nullptr;
};

// Serializes a document holding `node` under an envelope-like root and parses it again.
struct Reparsed {
    explicit Reparsed(const WriteFixture& written, xmlNodePtr node) : text(written.dump(node).toUtf8())
    {
        // The dump has no namespace declarations of its own: wrap it in the writer's root.
        const QByteArray root = "<root xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                "xmlns:SforceServiceSvc=\"urn:enterprise.soap.sforce.com\" "
                                "xmlns:ens=\"urn:sobject.enterprise.soap.sforce.com\">"
            + text + "</root>";
        fixture = std::make_unique<XmlFixture>(root.constData());
    }
    xmlNodePtr element() const { return xmlFirstElementChild(fixture->root()); }
    QByteArray text;
    std::unique_ptr<XmlFixture> fixture;
};

}

TEST_P(RecordTypes, FieldTableHasTheCountsKindsAndByteOrder)
{
    const RecordTable& t = GetParam();
    EXPECT_EQ(info->className(), t.className);
    EXPECT_EQ(info->xsiType(), t.xsiType);
    EXPECT_EQ(info->nsPrefix(), "ens");
    EXPECT_TRUE(info->inherits(ens_sObject::staticTypeInfo()));
    ASSERT_EQ(info->ownFieldCount(), t.fields);
    const auto& fields = info->fields();
    ASSERT_EQ(fields.size(), size_t(t.fields) + 2);
    EXPECT_EQ(fields[0].wireName, "fieldsToNull");
    EXPECT_EQ(fields[1].wireName, "Id");

    int texts = 0, numbers = 0, dates = 0, booleans = 0, bytes = 0, queryResults = 0;
    std::map<QString, int> nested;
    for (size_t i = 2; i < fields.size(); ++i) {
        const SoapFieldInfo& f = fields[i];
        EXPECT_FALSE(f.list) << f.wireName.toStdString();
        if (i > 2) {
            EXPECT_LT(fields[i - 1].wireName.toUtf8(), f.wireName.toUtf8()) << "byte order at " << f.wireName.toStdString();
        }
        switch (f.kind) {
        case SoapKind::Text: ++texts; break;
        case SoapKind::Number: ++numbers; break;
        case SoapKind::Date: ++dates; break;
        case SoapKind::Boolean: ++booleans; break;
        case SoapKind::Bytes: ++bytes; break;
        case SoapKind::Object:
            if (f.declaredClass == QLatin1String("SforceServiceSvc_QueryResult"))
                ++queryResults;
            else
                ++nested[f.declaredClass];
            break;
        case SoapKind::Enumeration: ADD_FAILURE() << "enumeration field " << f.wireName.toStdString(); break;
        }
    }
    EXPECT_EQ(texts, t.texts);
    EXPECT_EQ(numbers, t.numbers);
    EXPECT_EQ(dates, t.dates);
    EXPECT_EQ(booleans, t.booleans);
    EXPECT_EQ(bytes, t.bytes);
    EXPECT_EQ(queryResults, t.queryResults);
    EXPECT_EQ(nested, t.nested);
}

TEST_P(RecordTypes, NewRecordWritesOnlyItsTypeAndReadsEmptyElementAsAllNone)
{
    WriteFixture out;
    const SoapObjectPtr record = info->create();
    xmlNodePtr node = record->xmlNodeForDoc(out.doc, "Record");
    EXPECT_EQ(out.dump(node), QStringLiteral("<ens:Record xsi:type=\"%1\"/>").arg(GetParam().xsiType));

    XmlFixture empty("<r><!-- nothing --> text </r>");
    const SoapObjectPtr read = SoapObject::deserializeWithType(*info, empty.root());
    ASSERT_EQ(read->className(), GetParam().className);
    for (const SoapFieldInfo& f : info->fields()) {
        if (f.list)
            EXPECT_TRUE(read->valueForKey(f.wireName).list().empty());
        else
            EXPECT_TRUE(read->valueForKey(f.wireName).isNone()) << f.wireName.toStdString();
    }
}

TEST_P(RecordTypes, FullRecordWritesEveryFieldInOrderAndReadsBackTheSame)
{
    const SoapObjectPtr record = filledRecord(GetParam().className);
    ASSERT_TRUE(record);
    WriteFixture out;
    xmlNodePtr node = record->xmlNodeForDoc(out.doc, "sObjects", "SforceServiceSvc");
    EXPECT_STREQ(reinterpret_cast<const char*>(node->name), "SforceServiceSvc:sObjects");

    QStringList expected {"ens:fieldsToNull", "ens:fieldsToNull", "ens:Id"};
    for (int i = 2; i < int(info->fields().size()); ++i)
        expected.append("ens:" + info->fields()[size_t(i)].wireName);
    EXPECT_EQ(childNames(node).join(' ').toStdString(), expected.join(' ').toStdString());

    const Reparsed parsed(out, node);
    ASSERT_TRUE(parsed.element()) << parsed.text.constData();
    // Read as the query page reads a record: by its type attribute, the base class declared.
    const SoapValue read = SoapObject::decodeElement(parsed.element(), "ens_sObject");
    ASSERT_TRUE(read.isObject());
    expectSameValue(SoapValue(record), read, GetParam().className);
}

INSTANTIATE_TEST_SUITE_P(AllTen, RecordTypes, ::testing::ValuesIn(kTables),
    [](const auto& param) { return std::string(param.param.className); });

TEST(RecordSetters, WriteTheUploadFieldsInWireOrderWhateverTheOrderTheyWereSet)
{
    struct Case {
        const char* name;
        std::function<SoapObjectPtr()> make;
        QStringList children;
    };
    const Case cases[] = {
        {"contact",
            [] {
                auto c = std::make_shared<ens_Contact>();
                c->setLastName("Yamada");
                c->setFirstName("Taro");
                c->setAccountId("001A");
                return c;
            },
            {"AccountId", "FirstName", "LastName"}},
        {"lead",
            [] {
                auto l = std::make_shared<ens_Lead>();
                for (auto setter : {&ens_Lead::setWebsite, &ens_Lead::setTitle, &ens_Lead::setStreet, &ens_Lead::setStatus,
                         &ens_Lead::setState, &ens_Lead::setPostalCode, &ens_Lead::setPhone, &ens_Lead::setMobilePhone,
                         &ens_Lead::setLeadSource, &ens_Lead::setLastName, &ens_Lead::setFirstName, &ens_Lead::setFax,
                         &ens_Lead::setEmail, &ens_Lead::setDescription, &ens_Lead::setCountry, &ens_Lead::setCompany,
                         &ens_Lead::setCity})
                    (l.get()->*setter)("x");
                l->setId("00QA");
                return l;
            },
            {"Id", "City", "Company", "Country", "Description", "Email", "Fax", "FirstName", "LastName", "LeadSource",
                "MobilePhone", "Phone", "PostalCode", "State", "Status", "Street", "Title", "Website"}},
        {"account",
            [] {
                auto a = std::make_shared<ens_Account>();
                for (auto setter : {&ens_Account::setWebsite, &ens_Account::setSite, &ens_Account::setPhone, &ens_Account::setName,
                         &ens_Account::setFax, &ens_Account::setBillingStreet, &ens_Account::setBillingState,
                         &ens_Account::setBillingPostalCode, &ens_Account::setBillingCountry, &ens_Account::setBillingCity})
                    (a.get()->*setter)("x");
                return a;
            },
            {"BillingCity", "BillingCountry", "BillingPostalCode", "BillingState", "BillingStreet", "Fax", "Name", "Phone",
                "Site", "Website"}},
        {"attachment",
            [] {
                auto a = std::make_shared<ens_Attachment>();
                a->setParentId("003A");
                a->setName("card_1.pdf");
                a->setBody(QByteArray());  // zero bytes are still sent
                return a;
            },
            {"Body", "Name", "ParentId"}},
        {"campaign member",
            [] {
                auto m = std::make_shared<ens_CampaignMember>();
                m->setLeadId("00QA");
                m->setCampaignId("701A");
                return m;
            },
            {"CampaignId", "LeadId"}},
        {"null clears, empty is sent",
            [] {
                auto c = std::make_shared<ens_Contact>();
                c->setEmail("a@example.com");
                c->setEmail(QString());
                c->setPhone("");
                return c;
            },
            {"Phone"}},
    };
    for (const Case& c : cases) {
        WriteFixture out;
        xmlNodePtr node = c.make()->xmlNodeForDoc(out.doc, "sObjects", "SforceServiceSvc");
        QStringList expected;
        for (const QString& name : c.children)
            expected.append("ens:" + name);
        EXPECT_EQ(childNames(node).join(' ').toStdString(), expected.join(' ').toStdString()) << c.name;
    }
}

TEST(RecordSetters, GettersAnswerWhatWasSetAndSettingTheHeldValueKeepsIt)
{
    auto account = std::make_shared<ens_Account>();
    account->setName("Acme");
    account->setName(account->getName());
    EXPECT_EQ(account->getName(), "Acme");
    account->setName(QString());
    EXPECT_TRUE(account->getName().isNull());

    auto contact = std::make_shared<ens_Contact>();
    contact->setAccountId("001A");
    EXPECT_EQ(contact->AccountId(), "001A");

    auto member = std::make_shared<ens_CampaignMember>();
    member->setLeadId("00QA");
    member->setCampaignId("701A");
    EXPECT_EQ(member->LeadId(), "00QA");
    EXPECT_EQ(member->CampaignId(), "701A");
    member->setLeadId(QString());
    EXPECT_TRUE(member->LeadId().isNull());
}

namespace {

// A response as the service sends it: the enterprise namespace as default, records under "sf".
QByteArray response(const char* body)
{
    return QByteArray("<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\" "
                      "xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                      "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:sf=\"urn:sobject.enterprise.soap.sforce.com\" "
                      "xmlns:other=\"urn:example:other\"><soapenv:Body>")
        + body + "</soapenv:Body></soapenv:Envelope>";
}

xmlNodePtr firstElement(xmlNodePtr node, const char* name)
{
    for (xmlNodePtr c = node ? node->children : nullptr; c; c = c->next) {
        if (c->type == XML_ELEMENT_NODE && xmlStrEqual(c->name, reinterpret_cast<const xmlChar*>(name)))
            return c;
        if (xmlNodePtr inner = firstElement(c, name))
            return inner;
    }
    return nullptr;
}

}

TEST(RecordReading, QueryPageKeepsEveryRecordItCanTypeAndDropsTheRest)
{
    registerTestRecordTypes();
    const QByteArray xml = response(
        "<queryResponse><result xsi:type=\"QueryResult\"><done>true</done><queryLocator xsi:nil=\"true\"/>"
        "<records xsi:type=\"sf:Contact\"><sf:Id>003A</sf:Id><sf:Email>a@example.com</sf:Email></records>"
        "<records xsi:type=\"sf:Opportunity\"><sf:Id>006A</sf:Id></records>"
        "<records xsi:type=\"sf:Account\"><sf:Id>001A</sf:Id><sf:Name>Acme</sf:Name></records>"
        "<records><sf:Id>00XA</sf:Id><sf:Name>untyped</sf:Name></records>"
        "<records xsi:type=\"Contact\"><sf:Id>003B</sf:Id></records>"
        "<records xmlns=\"urn:sobject.enterprise.soap.sforce.com\" xsi:type=\"Lead\"><Id>00QA</Id><LastName>Sato</LastName></records>"
        "<records xsi:type=\"ens_Campaign\"><sf:Id>701A</sf:Id></records>"
        "<records xsi:type=\"other:Contact\"><sf:Id>003C</sf:Id></records>"
        "<records xsi:type=\"nowhere:Contact\"><sf:Id>003D</sf:Id></records>"
        "<size>9</size></result></queryResponse>");
    XmlFixture doc(xml.constData());
    std::shared_ptr<SforceServiceSvc_queryResponse> read;
    ASSERT_NO_THROW(read = SforceServiceSvc_queryResponse::deserializeNode(firstElement(doc.root(), "queryResponse")));
    // Typed "QueryResult" without a prefix: found through the default namespace, not dropped.
    const auto page = read->result();
    ASSERT_TRUE(page);
    EXPECT_TRUE(page->isDone());
    EXPECT_EQ(page->valueForKey("size_").number(), 9.0);
    const auto records = page->records();
    QStringList classes, ids;
    for (const auto& r : records) {
        classes.append(r->className());
        ids.append(r->getId());
    }
    // A bare "Contact" here lies in the enterprise namespace, which has no such type.
    EXPECT_EQ(classes.join(' ').toStdString(), "ens_Contact ens_Account ens_sObject ens_Lead ens_Campaign");
    EXPECT_EQ(ids.join(' ').toStdString(), "003A 001A 00XA 00QA 701A");
    EXPECT_EQ(records[0]->valueForKey("Email").text(), "a@example.com");
    EXPECT_TRUE(records[2]->valueForKey("Name").isNone());
    EXPECT_EQ(records[3]->valueForKey("LastName").text(), "Sato");
}

TEST(RecordReading, WrongTypesAndUnreadableValuesLeaveTheFieldEmpty)
{
    registerTestRecordTypes();
    XmlFixture doc(response(
        "<sf:Contact>"
        "<sf:Id>003A</sf:Id><Id>003B</Id>"
        "<sf:fieldsToNull>Email</sf:fieldsToNull><sf:fieldsToNull/><sf:fieldsToNull>Fax</sf:fieldsToNull>"
        "<sf:Birthdate>1970-01-02</sf:Birthdate><sf:Birthdate xsi:type=\"sf:NoSuchType\">1970-01-03</sf:Birthdate>"
        "<sf:LastCURequestDate>not a date</sf:LastCURequestDate>"
        "<sf:Email xsi:type=\"xsd:string\">typed@example.com</sf:Email>"
        "<sf:email>lower@example.com</sf:email>"
        "<other:FirstName>Hanako</other:FirstName>"
        "<sf:IsDeleted>1</sf:IsDeleted>"
        "<sf:LastName>First</sf:LastName><sf:LastName>R&amp;amp;D</sf:LastName>"
        "<sf:Account><sf:Name>Untyped account</sf:Name></sf:Account>"
        "<sf:ReportsTo xsi:type=\"sf:Account\"><sf:Name>Typed otherwise</sf:Name></sf:ReportsTo>"
        "<sf:Owner xsi:type=\"undeclared:User\"><sf:Name>lost</sf:Name></sf:Owner>"
        "<sf:CreatedBy xsi:nil=\"true\"/>"
        "<sf:MasterRecord xsi:type=\"sf:Nothing\"/>"
        "<sf:Cases><records xsi:type=\"sf:Contact\"><sf:Id>003Z</sf:Id></records></sf:Cases>"
        "<sf:Cases><done>true</done></sf:Cases>"
        "<sf:Unknown>skipped</sf:Unknown>"
        "</sf:Contact>").constData());
    std::shared_ptr<ens_Contact> contact;
    ASSERT_NO_THROW(contact = ens_Contact::deserializeNode(firstElement(doc.root(), "Contact")));
    EXPECT_EQ(contact->getId(), "003B");
    EXPECT_EQ(contact->valueForKey("fieldsToNull").list().size(), 2u);
    EXPECT_TRUE(contact->valueForKey("Birthdate").isNone());
    EXPECT_TRUE(contact->valueForKey("LastCURequestDate").isNone());
    EXPECT_TRUE(contact->valueForKey("Email").isNone());
    EXPECT_EQ(contact->valueForKey("FirstName").text(), "Hanako");
    EXPECT_TRUE(contact->valueForKey("IsDeleted").isNone());
    EXPECT_EQ(contact->valueForKey("LastName").text(), "R&amp;D");  // unescaped once
    const auto account = contact->valueForKey("Account").objectAs<ens_Account>();
    ASSERT_TRUE(account);
    EXPECT_EQ(account->getName(), "Untyped account");
    const auto reportsTo = contact->valueForKey("ReportsTo").objectAs<ens_Account>();
    ASSERT_TRUE(reportsTo);
    EXPECT_EQ(reportsTo->getName(), "Typed otherwise");
    EXPECT_TRUE(contact->valueForKey("Owner").isNone());
    const auto createdBy = contact->valueForKey("CreatedBy").objectAs<ens_User>();
    ASSERT_TRUE(createdBy);
    EXPECT_TRUE(createdBy->valueForKey("Name").isNone());
    EXPECT_TRUE(contact->valueForKey("MasterRecord").isNone());
    const auto cases = contact->valueForKey("Cases").objectAs<SforceServiceSvc_QueryResult>();
    ASSERT_TRUE(cases);
    EXPECT_TRUE(cases->records().empty());  // the second page replaced the first
    EXPECT_TRUE(cases->isDone());
}

TEST(RecordReading, CampaignGettersNumbersBooleansAndAttachmentBodies)
{
    registerTestRecordTypes();
    XmlFixture doc(response(
        "<queryResponse><result><done>true</done>"
        "<records xsi:type=\"sf:Campaign\"><sf:Id>701A</sf:Id><sf:EndDate>2010-06-30</sf:EndDate><sf:IsActive>1</sf:IsActive>"
        "<sf:Name>Spring &amp; Summer</sf:Name><sf:NumberSent/><sf:StartDate>2010-05-12</sf:StartDate>"
        "<sf:Status>Planned</sf:Status><sf:Type>Conference</sf:Type></records>"
        "<records xsi:type=\"sf:Campaign\"><sf:Id>701B</sf:Id><sf:Name/></records>"
        "<records xsi:type=\"sf:Attachment\"><sf:Body></sf:Body><sf:BodyLength>12.5kB</sf:BodyLength>"
        "<sf:IsPrivate>false</sf:IsPrivate></records>"
        "<records xsi:type=\"sf:Attachment\"><sf:Body>JVBE\nRi0x</sf:Body></records>"
        "<records xsi:type=\"sf:Attachment\"><sf:Body>*bad*</sf:Body></records>"
        "</result></queryResponse>").constData());
    const auto page = SforceServiceSvc_queryResponse::deserializeNode(firstElement(doc.root(), "queryResponse"))->result();
    ASSERT_TRUE(page);
    const auto records = page->records();
    ASSERT_EQ(records.size(), 5u);

    const auto spring = std::dynamic_pointer_cast<ens_Campaign>(records[0]);
    ASSERT_TRUE(spring);
    EXPECT_EQ(spring->Name(), "Spring & Summer");
    EXPECT_EQ(spring->Type(), "Conference");
    EXPECT_EQ(spring->Status(), "Planned");
    // Dates without a zone are local (the tests run nine hours east of UTC).
    EXPECT_EQ(spring->StartDate(), QDateTime(QDate(2010, 5, 11), QTime(15, 0), Qt::UTC));
    EXPECT_EQ(spring->EndDate(), QDateTime(QDate(2010, 6, 29), QTime(15, 0), Qt::UTC));
    EXPECT_TRUE(spring->valueForKey("IsActive").isNone());
    EXPECT_TRUE(spring->valueForKey("NumberSent").isNumber());
    EXPECT_EQ(spring->valueForKey("NumberSent").number(), 0.0);

    const auto bare = std::dynamic_pointer_cast<ens_Campaign>(records[1]);
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->Name().isNull());
    EXPECT_FALSE(bare->StartDate().isValid());
    EXPECT_TRUE(bare->Type().isNull());

    EXPECT_TRUE(records[2]->valueForKey("Body").isNone());
    EXPECT_EQ(records[2]->valueForKey("BodyLength").number(), 12.5);
    ASSERT_TRUE(records[2]->valueForKey("IsPrivate").boolean());
    EXPECT_FALSE(records[2]->valueForKey("IsPrivate").boolean()->boolValue());
    EXPECT_EQ(records[3]->valueForKey("Body").bytes(), QByteArray("%PDF-1"));
    EXPECT_TRUE(records[4]->valueForKey("Body").isNone());
}
