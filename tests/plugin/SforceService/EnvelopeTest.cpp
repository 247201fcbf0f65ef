// The request documents the service receives, byte for byte.
#include "plugin/SforceService/SoapBinding_envelope.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SforceServiceSvcHeaders.h"
#include "tests/plugin/SforceService/TestRecords.h"

#include <gtest/gtest.h>

namespace {

const char* kRootStart =
    "<?xml version=\"1.0\"?>\n"
    "<soap:Envelope xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" "
    "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" xmlns:ns1=\"http://www.w3.org/2001/XMLSchema\" "
    "xmlns:SforceServiceSvc=\"urn:enterprise.soap.sforce.com\" xmlns:ens=\"urn:sobject.enterprise.soap.sforce.com\" "
    "xmlns:fns=\"urn:fault.enterprise.soap.sforce.com\" xsl:version=\"1.0\"";

std::shared_ptr<SforceServiceSvc_SessionHeader> sessionHeader(const char* id)
{
    auto header = std::make_shared<SforceServiceSvc_SessionHeader>();
    header->setsessionId(QString::fromLatin1(id));
    return header;
}

QByteArray sessionHeaderBlock(const char* id)
{
    return QByteArray("  <soap:Header>\n    <SforceServiceSvc:SessionHeader>\n      <SforceServiceSvc:sessionId>") + id
        + "</SforceServiceSvc:sessionId>\n    </SforceServiceSvc:SessionHeader>\n  </soap:Header>\n";
}

}

TEST(Envelope, LoginHasNoHeaderAndEscapesTextOnce)
{
    auto login = std::make_shared<SforceServiceSvc_login>();
    login->setusername("user@example.com");
    login->setpassword("p&ss<w>\"d'TOKEN");
    const QByteArray expected = QByteArray(kRootStart) + ">\n"
        "  <soap:Body>\n"
        "    <SforceServiceSvc:login>\n"
        "      <SforceServiceSvc:username>user@example.com</SforceServiceSvc:username>\n"
        "      <SforceServiceSvc:password>p&amp;ss&lt;w&gt;\"d'TOKEN</SforceServiceSvc:password>\n"
        "    </SforceServiceSvc:login>\n"
        "  </soap:Body>\n"
        "</soap:Envelope>\n";
    EXPECT_EQ(SoapBinding_envelope::serializedFormUsingHeaderElements({{"LoginScopeHeader", nullptr}}, {{"login", login}}), expected);
}

TEST(Envelope, QueryCarriesTheSessionHeader)
{
    auto query = std::make_shared<SforceServiceSvc_query>();
    query->setqueryString("SELECT Id, Name FROM Account WHERE Name = 'R&D'");
    const QByteArray expected = QByteArray(kRootStart) + ">\n" + sessionHeaderBlock("00D!SESSION") +
        "  <soap:Body>\n"
        "    <SforceServiceSvc:query>\n"
        "      <SforceServiceSvc:queryString>SELECT Id, Name FROM Account WHERE Name = 'R&amp;D'</SforceServiceSvc:queryString>\n"
        "    </SforceServiceSvc:query>\n"
        "  </soap:Body>\n"
        "</soap:Envelope>\n";
    EXPECT_EQ(SoapBinding_envelope::serializedFormUsingHeaderElements(
                  {{"SessionHeader", sessionHeader("00D!SESSION")}, {"QueryOptions", nullptr}, {"MruHeader", nullptr}},
                  {{"query", query}}),
        expected);
}

TEST(Envelope, CreateOfTwoRecordsWritesTypesAndFieldsInWireOrder)
{
    auto first = std::make_shared<ens_Widget__c>();
    first->setValueForKey("Name", "Ball\x01 & Chain");  // a control character from OCR text is dropped
    first->setValueForKey("Amount__c", 1.5);
    first->addFieldsToNull("Email");
    auto second = std::make_shared<ens_Widget__c>();
    second->setValueForKey("Name", "");
    second->setValueForKey("Started__c", QDateTime(QDate(2010, 3, 5), QTime(14, 7, 9), Qt::UTC));
    auto create = std::make_shared<SforceServiceSvc_create>();
    create->addSObjects(first);
    create->addSObjects(second);
    const QByteArray expected = QByteArray(kRootStart) + ">\n" + sessionHeaderBlock("S") +
        "  <soap:Body>\n"
        "    <SforceServiceSvc:create>\n"
        "      <SforceServiceSvc:sObjects xsi:type=\"ens:Widget__c\">\n"
        "        <ens:fieldsToNull>Email</ens:fieldsToNull>\n"
        "        <ens:Amount__c>1.5</ens:Amount__c>\n"
        "        <ens:Name>Ball &amp; Chain</ens:Name>\n"
        "      </SforceServiceSvc:sObjects>\n"
        "      <SforceServiceSvc:sObjects xsi:type=\"ens:Widget__c\">\n"
        "        <ens:Name/>\n"
        "        <ens:Started__c>2010-03-05T14:07:09Z</ens:Started__c>\n"
        "      </SforceServiceSvc:sObjects>\n"
        "    </SforceServiceSvc:create>\n"
        "  </soap:Body>\n"
        "</soap:Envelope>\n";
    EXPECT_EQ(SoapBinding_envelope::serializedFormUsingHeaderElements({{"SessionHeader", sessionHeader("S")}}, {{"create", create}}),
        expected);
}

TEST(Envelope, DeleteWritesOneIdsElementPerId)
{
    auto remove = std::make_shared<SforceServiceSvc_delete>();
    remove->addIds("dropped");
    remove->setids({"001000000000001", "003000000000002"});
    const QByteArray expected = QByteArray(kRootStart) + ">\n" + sessionHeaderBlock("S") +
        "  <soap:Body>\n"
        "    <SforceServiceSvc:delete>\n"
        "      <SforceServiceSvc:ids>001000000000001</SforceServiceSvc:ids>\n"
        "      <SforceServiceSvc:ids>003000000000002</SforceServiceSvc:ids>\n"
        "    </SforceServiceSvc:delete>\n"
        "  </soap:Body>\n"
        "</soap:Envelope>\n";
    EXPECT_EQ(SoapBinding_envelope::serializedFormUsingHeaderElements({{"SessionHeader", sessionHeader("S")}}, {{"delete", remove}}),
        expected);
}

TEST(Envelope, EmptyBodiesAndBareEnvelope)
{
    EXPECT_EQ(SoapBinding_envelope::serializedFormUsingHeaderElements({}, {}), QByteArray(kRootStart) + "/>\n");
    const QByteArray logout = SoapBinding_envelope::serializedFormUsingHeaderElements(
        {{"SessionHeader", std::make_shared<SforceServiceSvc_SessionHeader>()}}, {{"logout", std::make_shared<SforceServiceSvc_logout>()}});
    EXPECT_TRUE(logout.contains("<SforceServiceSvc:SessionHeader/>")) << logout.constData();
    EXPECT_TRUE(logout.contains("<SforceServiceSvc:logout/>")) << logout.constData();
}
