// Reading and writing the result, header, body, fault and record types: the protocol's edge cases
// as XML snippets.
#include "plugin/SforceService/FaultTypes.h"
#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SforceServiceSvcHeaders.h"
#include "tests/plugin/SforceService/TestRecords.h"

#include <gtest/gtest.h>

namespace {

#define NS_DECLS                                                                                   \
    " xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"" \
    " xmlns:sf=\"urn:sobject.enterprise.soap.sforce.com\" xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"" \
    " xmlns:f=\"urn:fault.enterprise.soap.sforce.com\" xmlns:o=\"urn:other\""

template <typename T>
std::shared_ptr<T> read(const char* xml)
{
    registerTestRecordTypes();
    XmlFixture in(xml);
    return T::deserializeNode(in.root());
}

template <typename T>
QString write(const std::shared_ptr<T>& object, const char* name, const char* prefix = "")
{
    WriteFixture out;
    return out.dump(object->xmlNodeForDoc(out.doc, name, prefix));
}

}

TEST(Results, SaveResultAndErrors)
{
    auto ok = read<SforceServiceSvc_SaveResult>("<result" NS_DECLS "><id>00Q1</id><success>true</success></result>");
    EXPECT_EQ(ok->getid(), "00Q1");
    EXPECT_TRUE(ok->getsuccess()->boolValue());
    EXPECT_TRUE(ok->valueForKey("errors").isList());
    EXPECT_TRUE(ok->geterrors().empty());
    EXPECT_EQ(ok->valueForKey("id_").text(), "00Q1");

    auto failed = read<SforceServiceSvc_SaveResult>("<result" NS_DECLS ">"
        "<errors><fields>Email</fields><fields>Phone</fields><message>bad</message><statusCode>INVALID_EMAIL_ADDRESS</statusCode></errors>"
        "<errors xsi:type=\"Error\"><message>second</message><statusCode>NOT_A_CODE</statusCode></errors>"
        "<errors xsi:type=\"NoSuchType\"><message>dropped</message></errors>"
        "<errors><statusCode/></errors>"
        "<o:id xsi:type=\"xsd:string\">dropped as ns1_string</o:id><success>false</success></result>");
    const auto errors = failed->geterrors();
    ASSERT_EQ(errors.size(), 3u);
    EXPECT_EQ(errors[0]->getmessage(), "bad");
    EXPECT_EQ(errors[0]->getstatusCode(), 72);
    ASSERT_EQ(errors[0]->valueForKey("fields").list().size(), 2u);
    EXPECT_EQ(errors[0]->valueForKey("fields").list()[1].text(), "Phone");
    EXPECT_EQ(errors[1]->getmessage(), "second");  // "Error" resolves through the default namespace
    EXPECT_EQ(errors[1]->getstatusCode(), 0);
    EXPECT_EQ(errors[2]->getstatusCode(), 0);
    EXPECT_TRUE(failed->valueForKey("id").isNone());
    EXPECT_FALSE(failed->getsuccess()->boolValue());

    EXPECT_EQ(write(errors[1], "errors"), "<SforceServiceSvc:errors><SforceServiceSvc:message>second</SforceServiceSvc:message></SforceServiceSvc:errors>");
    auto error = std::make_shared<SforceServiceSvc_Error>();
    error->addFields("Email");
    error->setValueForKey("statusCode", qint32(200));
    EXPECT_EQ(write(error, "errors", "x"), "<x:errors><SforceServiceSvc:fields>Email</SforceServiceSvc:fields><SforceServiceSvc:statusCode/></x:errors>");
    error->setValueForKey("statusCode", qint32(72));
    EXPECT_TRUE(write(error, "errors").contains("<SforceServiceSvc:statusCode>INVALID_EMAIL_ADDRESS</SforceServiceSvc:statusCode>"));
    EXPECT_EQ(write(std::make_shared<SforceServiceSvc_SaveResult>(), "result"), "<SforceServiceSvc:result/>");
}

TEST(Results, LoginResult)
{
    auto result = read<SforceServiceSvc_LoginResult>("<result" NS_DECLS ">"
        "<passwordExpired>0</passwordExpired><sandbox>false</sandbox>"
        "<sessionId>first</sessionId><sessionId>second</sessionId>"
        "<serverUrl>full</serverUrl><serverUrl></serverUrl>"
        "<userInfo xsi:type=\"GetUserInfoResult\"><userFullName>A &amp; B</userFullName></userInfo>"
        "<Userid>wrong case</Userid></result>");
    EXPECT_TRUE(result->valueForKey("passwordExpired").isNone());
    EXPECT_FALSE(result->valueForKey("sandbox").boolean()->boolValue());
    EXPECT_EQ(result->valueForKey("sessionId").text(), "second");
    EXPECT_TRUE(result->valueForKey("serverUrl").isNone());
    EXPECT_TRUE(result->valueForKey("userId").isNone());
    const auto info = result->valueForKey("userInfo").objectAs<SforceServiceSvc_GetUserInfoResult>();
    ASSERT_TRUE(info);
    EXPECT_EQ(info->valueForKey("userFullName").text(), "A & B");

    auto typed = read<SforceServiceSvc_LoginResult>(
        "<result xmlns:e=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
        "<userInfo xsi:type=\"e:GetUserInfoResult\"><userId>u</userId></userInfo></result>");
    EXPECT_TRUE(typed->valueForKey("userInfo").objectAs<SforceServiceSvc_GetUserInfoResult>());
    EXPECT_FALSE(read<SforceServiceSvc_loginResponse>("<loginResponse/>")->result());
}

TEST(Results, DescribeFieldsAndTabs)
{
    auto description = read<SforceServiceSvc_DescribeSObjectResult>("<result" NS_DECLS "><name>Lead</name><Name>wrong case</Name>"
        "<fields><name>LeadSource</name><type>picklist</type><length>80</length>"
        "<picklistValues><defaultValue>true</defaultValue><value>Web</value><validFor>gAAA</validFor></picklistValues>"
        "<picklistValues><defaultValue>1</defaultValue><value>Phone</value></picklistValues>"
        "<referenceTo>Account</referenceTo><referenceTo/><referenceTo>User</referenceTo></fields>"
        "<fields xsi:type=\"NoSuchType\"/>"
        "<fields><type>string</type><type>email</type><length/><calculatedFormula xsi:nil=\"true\"/></fields>"
        "<fields><type>Picklist</type></fields></result>");
    EXPECT_EQ(description->valueForKey("name").text(), "Lead");
    const auto fields = soapObjectsOfList<SforceServiceSvc_Field>(description->valueForKey("fields"));
    ASSERT_EQ(fields.size(), 3u);
    EXPECT_EQ(fields[0]->gettype(), 2);
    const auto entries = fields[0]->getpicklistValues();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_TRUE(entries[0]->valueForKey("defaultValue").boolean()->boolValue());
    EXPECT_EQ(entries[0]->valueForKey("validFor").bytes(), QByteArray("\x80\0\0", 3));
    EXPECT_TRUE(entries[1]->valueForKey("defaultValue").isNone());
    const auto& references = fields[0]->valueForKey("referenceTo").list();
    ASSERT_EQ(references.size(), 2u);
    EXPECT_EQ(references[1].text(), "User");
    EXPECT_EQ(fields[1]->gettype(), 19);
    EXPECT_EQ(fields[1]->valueForKey("length").number(), 0.0);
    EXPECT_TRUE(fields[1]->valueForKey("length").isNumber());
    EXPECT_TRUE(fields[1]->valueForKey("calculatedFormula").isNone());
    EXPECT_EQ(fields[2]->gettype(), 0);

    auto field = std::make_shared<SforceServiceSvc_Field>();
    field->setValueForKey("sortable", USBoolean(true));
    field->setValueForKey("unique", USBoolean(false));
    field->setValueForKey("type", qint32(2));
    EXPECT_EQ(write(field, "fields"), "<SforceServiceSvc:fields><SforceServiceSvc:sortable>true</SforceServiceSvc:sortable>"
                                      "<SforceServiceSvc:type>picklist</SforceServiceSvc:type>"
                                      "<SforceServiceSvc:unique>false</SforceServiceSvc:unique></SforceServiceSvc:fields>");
    field->setValueForKey("type", qint32(23));
    EXPECT_TRUE(write(field, "fields").contains("<SforceServiceSvc:type/>"));

    auto tabs = read<SforceServiceSvc_DescribeTabSetResult>("<result" NS_DECLS "><label>L</label><selected>true</selected>"
        "<tabs><sobjectName>Account</sobjectName><custom>false</custom></tabs><tabs xsi:type=\"sf:Nope\"/>"
        "<tabs><custom>1</custom></tabs><namespace>ns</namespace></result>");
    const auto list = soapObjectsOfList<SforceServiceSvc_DescribeTab>(tabs->valueForKey("tabs"));
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->valueForKey("sobjectName").text(), "Account");
    EXPECT_FALSE(list[0]->valueForKey("custom").boolean()->boolValue());
    EXPECT_TRUE(list[1]->valueForKey("custom").isNone());
    EXPECT_EQ(tabs->valueForKey("namespace").text(), "ns");
}

TEST(Headers, WritersAndDebuggingLevel)
{
    auto debugging = std::make_shared<SforceServiceSvc_DebuggingHeader>();
    EXPECT_EQ(write(debugging, "DebuggingHeader"), "<SforceServiceSvc:DebuggingHeader/>");
    debugging->setValueForKey("debugLevel", qint32(2));
    EXPECT_EQ(write(debugging, "DebuggingHeader"),
        "<SforceServiceSvc:DebuggingHeader><SforceServiceSvc:debugLevel>DebugOnly</SforceServiceSvc:debugLevel></SforceServiceSvc:DebuggingHeader>");
    EXPECT_EQ(read<SforceServiceSvc_DebuggingHeader>("<h><debugLevel>Db</debugLevel></h>")->valueForKey("debugLevel").enumeration(), 3);
    EXPECT_EQ(read<SforceServiceSvc_DebuggingHeader>("<h><debugLevel>db</debugLevel></h>")->valueForKey("debugLevel").enumeration(), 0);

    auto packages = std::make_shared<SforceServiceSvc_PackageVersionHeader>();
    for (double major : {1.0, 2.0}) {
        auto version = std::make_shared<SforceServiceSvc_PackageVersion>();
        version->setValueForKey("majorNumber", major);
        version->setValueForKey("namespace", "pkg");
        packages->addPackageVersions(version);
    }
    EXPECT_EQ(write(packages, "PackageVersionHeader").count("<SforceServiceSvc:packageVersions>"), 2);
    EXPECT_TRUE(write(packages, "PackageVersionHeader").contains("<SforceServiceSvc:majorNumber>2</SforceServiceSvc:majorNumber><SforceServiceSvc:namespace>pkg"));
}

TEST(Bodies, ResponsesAndRequests)
{
    auto created = read<SforceServiceSvc_createResponse>("<createResponse" NS_DECLS "><result><id>a</id></result>"
        "<result><id>b</id></result></createResponse>");
    ASSERT_EQ(created->getresult().size(), 2u);
    EXPECT_EQ(created->getresult()[1]->getid(), "b");
    auto logout = read<SforceServiceSvc_logoutResponse>("<logoutResponse><result>x</result></logoutResponse>");
    EXPECT_TRUE(logout->typeInfo().fields().empty());

    auto create = std::make_shared<SforceServiceSvc_create>();
    for (const char* name : {"one", "two", "three"}) {
        auto w = std::make_shared<ens_Widget__c>();
        w->setValueForKey("Name", name);
        create->addSObjects(w);
    }
    create->addSObjects(nullptr);
    const QString xml = write(create, "create");
    EXPECT_EQ(xml.count("<SforceServiceSvc:sObjects xsi:type=\"ens:Widget__c\">"), 3);
    EXPECT_LT(xml.indexOf("one"), xml.indexOf("two"));
    EXPECT_LT(xml.indexOf("two"), xml.indexOf("three"));
}

TEST(Faults, ServiceFaultTypes)
{
    auto login = std::make_shared<fns_LoginFault>();
    login->setValueForKey("exceptionCode", qint32(33));
    login->setValueForKey("exceptionMessage", "m");
    EXPECT_EQ(write(login, "fault"), "<fns:fault xsi:type=\"fns:LoginFault\"><fns:exceptionCode>INVALID_LOGIN</fns:exceptionCode>"
                                     "<fns:exceptionMessage>m</fns:exceptionMessage></fns:fault>");
    EXPECT_EQ(write(std::make_shared<fns_ApiFault>(), "fault"), "<fns:fault/>");
    auto query = read<fns_MalformedQueryFault>("<f:fault" NS_DECLS "><f:exceptionCode>MALFORMED_QUERY</f:exceptionCode>"
        "<f:row>1</f:row><f:column>15</f:column></f:fault>");
    EXPECT_EQ(query->valueForKey("exceptionCode").enumeration(), 55);
    EXPECT_EQ(query->valueForKey("row").number(), 1.0);
    EXPECT_EQ(query->valueForKey("column").number(), 15.0);
    EXPECT_TRUE(query->typeInfo().inherits(fns_ApiFault::staticTypeInfo()));
}

TEST(Faults, SoapFaultReader)
{
    struct Case {
        const char* xml;
        std::vector<SoapValue> expected;  // faultcode, faultstring, faultactor, detail
    };
    const std::vector<Case> cases = {
        {"<s:Fault xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><faultcode>sf:INVALID_LOGIN</faultcode>"
         "<faultstring>R&amp;amp;D</faultstring></s:Fault>",
            {"sf:INVALID_LOGIN", "R&amp;D", {}, {}}},
        {"<s:Fault xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><faultstring>one</faultstring><faultstring/>"
         "<detail><sf:LoginFault xmlns:sf=\"urn:x\"/></detail><faultactor>a</faultactor></s:Fault>",
            {{}, {}, "a", {}}},
        {"<s:Fault xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><detail>plain</detail></s:Fault>", {{}, {}, {}, "plain"}},
        {"<e:Fault xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Code><e:Value>e:Sender</e:Value>"
         "<e:Subcode><e:Value>x</e:Value></e:Subcode></e:Code><e:Reason><e:Text>a</e:Text><e:Text>b</e:Text></e:Reason>"
         "<e:Node>n</e:Node><e:Role>r</e:Role><e:Detail>d</e:Detail></e:Fault>",
            {"e:Sender", "ab", "n", "d"}},
        {"<e:Fault xmlns:e=\"http://www.w3.org/2003/05/soap-envelope\"><e:Reason/></e:Fault>", {{}, "", {}, {}}},
        {"<o:Fault xmlns:o=\"urn:other\"><faultcode>x</faultcode></o:Fault>", {{}, {}, {}, {}}},
        {"<Fault><faultcode>x</faultcode></Fault>", {{}, {}, {}, {}}},
    };
    for (const Case& c : cases) {
        const auto fault = read<SOAPFault>(c.xml);
        ASSERT_TRUE(fault);
        int i = 0;
        for (const char* key : {"faultcode", "faultstring", "faultactor", "detail"})
            EXPECT_EQ(fault->valueForKey(key), c.expected[size_t(i++)]) << c.xml << " " << key;
    }
    auto fault = std::make_shared<SOAPFault>();
    fault->setfaultstring("System.Web.Services.Protocols.SoapException: short\n   at Some.Frame()");
    EXPECT_EQ(fault->simpleFaultString(), "short");
    fault->setfaultstring("plain");
    EXPECT_EQ(fault->simpleFaultString(), "plain");
}

TEST(Records, WritingTheRecordBase)
{
    auto record = std::make_shared<ens_Widget__c>();
    record->setId("a001");
    EXPECT_EQ(write(record, "Widget"), "<ens:Widget xsi:type=\"ens:Widget__c\"><ens:Id>a001</ens:Id></ens:Widget>");
    record->addFieldsToNull("Email");
    record->addFieldsToNull("Name");
    record->addFieldsToNull(QString());
    record->setValueForKey("Name", "");
    auto parent = std::make_shared<ens_Widget__c>();
    parent->setValueForKey("Name", "P");
    record->setValueForKey("Parent__r", SoapValue(SoapObjectPtr(parent)));
    EXPECT_EQ(write(record, "sObjects", "SforceServiceSvc"),
        "<SforceServiceSvc:sObjects xsi:type=\"ens:Widget__c\"><ens:fieldsToNull>Email</ens:fieldsToNull>"
        "<ens:fieldsToNull>Name</ens:fieldsToNull><ens:Id>a001</ens:Id><ens:Name/>"
        "<ens:Parent__r xsi:type=\"ens:Widget__c\"><ens:Name>P</ens:Name></ens:Parent__r></SforceServiceSvc:sObjects>");

    auto page = std::make_shared<SforceServiceSvc_QueryResult>();
    EXPECT_EQ(write(page, "result"), "<SforceServiceSvc:result/>");
    page->setValueForKey("done", USBoolean(true));
    page->addRecords(std::make_shared<ens_Widget__c>());
    page->setValueForKey("size_", 1.0);
    EXPECT_EQ(write(page, "Notes", "ens"), "<ens:Notes><SforceServiceSvc:done>true</SforceServiceSvc:done>"
                                           "<SforceServiceSvc:records xsi:type=\"ens:Widget__c\"/><SforceServiceSvc:size>1</SforceServiceSvc:size></ens:Notes>");

    // Without an "xsi" declaration on the root the type attribute has no namespace.
    xmlDocPtr doc = xmlNewDoc(reinterpret_cast<const xmlChar*>("1.0"));
    xmlNodePtr node = std::make_shared<ens_Widget__c>()->xmlNodeForDoc(doc, "w");
    xmlDocSetRootElement(doc, node);
    EXPECT_TRUE(xmlHasProp(node, reinterpret_cast<const xmlChar*>("type")));
    EXPECT_EQ(xmlHasProp(node, reinterpret_cast<const xmlChar*>("type"))->ns, nullptr);
    xmlFreeDoc(doc);
}

TEST(Records, ReadingTheRecordBase)
{
    auto record = read<ens_Widget__c>("<r" NS_DECLS "><sf:Id>first</sf:Id><Id>second</Id><fieldsToNull>A</fieldsToNull>"
        "<!-- comment --> text <fieldsToNull/><o:fieldsToNull>B</o:fieldsToNull><email>wrong case</email><Email>e</Email>"
        "<Unknown>x</Unknown><Amount__c>12</Amount__c></r>");
    EXPECT_EQ(record->getId(), "second");
    ASSERT_EQ(record->valueForKey("fieldsToNull").list().size(), 2u);
    EXPECT_EQ(record->valueForKey("fieldsToNull").list()[1].text(), "B");
    EXPECT_EQ(record->valueForKey("Email").text(), "e");
    EXPECT_EQ(record->valueForKey("Amount__c").number(), 12.0);
    EXPECT_EQ(record->valueForKey("Id_").text(), "second");

    auto cleared = read<ens_sObject>("<r><Id>x</Id><Id/></r>");
    EXPECT_TRUE(cleared->valueForKey("Id").isNone());
}

TEST(Records, TypeAttributeResolution)
{
    registerTestRecordTypes();
    struct Case {
        const char* xml;
        std::optional<QString> name;
    };
    const std::vector<Case> cases = {
        {"<r xmlns:sf=\"urn:sobject.enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"sf:Account\"/>", "ens_Account"},
        {"<r xmlns:q=\"urn:sobject.enterprise.soap.sforce.com\" xmlns:i=\"http://www.w3.org/2001/XMLSchema-instance\" i:type=\"q:Contact\"/>", "ens_Contact"},
        {"<r xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"ens_Contact\"/>", "ens_Contact"},
        {"<r xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"QueryResult\"/>", "SforceServiceSvc_QueryResult"},
        {"<r xmlns=\"urn:sobject.enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"Widget__c\"/>", "ens_Widget__c"},
        {"<r xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"Contact\"/>", "Contact"},
        {"<r xmlns:o=\"urn:other\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"o:Contact\"/>", ""},
        {"<r xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"undeclared:Contact\"/>", ""},
        {"<r xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xsi:type=\"xsd:string:extra\"/>", "ns1_string"},
        {"<r type=\"sf:Account\"/>", std::nullopt},
    };
    for (const Case& c : cases) {
        XmlFixture in(c.xml);
        EXPECT_EQ(SoapObject::resolvedTypeName(in.root()), c.name) << c.xml;
    }
}

TEST(Records, QueryResultPages)
{
    auto page = read<SforceServiceSvc_QueryResult>(
        "<result xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\""
        " xmlns:sf=\"urn:sobject.enterprise.soap.sforce.com\"><done>yes</done><queryLocator>L</queryLocator>"
        "<records xsi:type=\"sf:Widget__c\"><sf:Id>1</sf:Id></records>"
        "<records xsi:type=\"sf:Gizmo__c\"><sf:Id>dropped</sf:Id></records>"
        "<records><sf:Id>2</sf:Id><sf:Name>untyped</sf:Name></records>"
        "<records xsi:type=\"sf:Widget__c\"><sf:Id>3</sf:Id></records>"
        "<records xsi:type=\"sf:Account\"><sf:Id>001</sf:Id><sf:Name>Acme &amp; Co</sf:Name></records><size>4</size></result>");
    EXPECT_TRUE(page->valueForKey("done").isNone());
    EXPECT_FALSE(page->isDone());
    EXPECT_EQ(page->queryLocator(), "L");
    const auto records = page->records();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_TRUE(std::dynamic_pointer_cast<ens_Widget__c>(records[0]));
    EXPECT_EQ(records[3]->className(), "ens_Account");
    EXPECT_EQ(records[3]->valueForKey("Name").text(), "Acme & Co");
    EXPECT_EQ(records[1]->className(), "ens_sObject");
    EXPECT_EQ(records[1]->getId(), "2");
    EXPECT_TRUE(records[1]->valueForKey("Name").isNone());
    EXPECT_EQ(records[2]->getId(), "3");
    EXPECT_EQ(page->valueForKey("size").number(), 4.0);

    auto empty = read<SforceServiceSvc_QueryResult>("<result><done>true</done></result>");
    EXPECT_TRUE(empty->valueForKey("records").isList());
    EXPECT_TRUE(empty->records().empty());
    EXPECT_TRUE(empty->isDone());

    // A default-namespace page typed "QueryResult" inside a query response.
    auto response = read<SforceServiceSvc_queryResponse>(
        "<queryResponse xmlns=\"urn:enterprise.soap.sforce.com\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\">"
        "<result xsi:type=\"QueryResult\"><done>true</done><size>0</size></result></queryResponse>");
    ASSERT_TRUE(response->result());
    EXPECT_TRUE(response->result()->isDone());
}

// The page hands out its records where it holds them, as records: whatever is not a record never
// gets into the list, whether read, set or appended.
TEST(Records, QueryResultHoldsOnlyRecords)
{
    auto page = read<SforceServiceSvc_QueryResult>(
        "<result" NS_DECLS "><done>true</done>"
        "<records xsi:type=\"sf:Widget__c\"><sf:Id>1</sf:Id></records>"
        "<records xsi:type=\"QueryResult\"><done>true</done></records>"
        "<records xsi:type=\"sf:Account\"><sf:Id>2</sf:Id></records></result>");
    const auto notARecord = std::make_shared<SforceServiceSvc_QueryResult>();
    const auto widget = std::make_shared<ens_Widget__c>();
    widget->setId("3");
    page->appendValueForKey("records", SoapValue(SoapObjectPtr(notARecord)));
    page->appendValueForKey("records", SoapValue(SoapObjectPtr(widget)));

    const auto records = page->records();
    ASSERT_EQ(records.size(), 3u);
    QStringList ids;
    for (const auto& record : records) {
        ASSERT_TRUE(std::dynamic_pointer_cast<ens_sObject>(SoapObjectPtr(record))) << record->className().toStdString();
        ids << record->getId();
    }
    EXPECT_EQ(ids, QStringList({"1", "2", "3"}));
    EXPECT_EQ(&*records[2], widget.get()); // the page's own object, not a copy

    EXPECT_FALSE(page->setValueForKey("records", SoapValue::List{SoapValue(SoapObjectPtr(widget)), SoapValue(SoapObjectPtr(notARecord))}));
    EXPECT_EQ(page->records().size(), 3u);
    EXPECT_TRUE(page->setValueForKey("records", SoapValue::List{SoapValue(SoapObjectPtr(widget))}));
    EXPECT_EQ(page->records().size(), 1u);
}
