// Hostile or broken responses are refused with an error, in bounded memory, and secrets stay out
// of the log.
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapBinding.h"
#include "plugin/SforceService/SoapHttpExchange.h"
#include "plugin/SforceService/SoapResponseReader.h"
#include "tests/plugin/SforceService/TestRecords.h"
#include "tests/support/crm/FakeCrmService.h"

#include <QTemporaryFile>

#include <gtest/gtest.h>

#include <functional>

#include <sys/resource.h>
#include <unistd.h>

namespace {

long peakResidentKiB()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

SoapBindingResponse readQueryResponse(const QByteArray& body)
{
    SoapBindingResponse response;
    readSoapResponse(body, "query", SforceServiceSvc_queryResponse::staticTypeInfo(), false, response);
    return response;
}

QByteArray validResponse()
{
    return FakeCrmService::envelope("<queryResponse><result><done>true</done><size>0</size></result></queryResponse>");
}

// What `body` writes to standard error (where the log goes).
QByteArray capturedLog(const std::function<void()>& body)
{
    QTemporaryFile capture;
    if (!capture.open())
        return QByteArray();
    fflush(stderr);
    const int saved = dup(STDERR_FILENO);
    dup2(capture.handle(), STDERR_FILENO);
    body();
    fflush(stderr);
    dup2(saved, STDERR_FILENO);
    close(saved);
    capture.seek(0);
    return capture.readAll();
}

}

TEST(BadInput, RefusedDocuments)
{
    const QByteArray laughs =
        "<?xml version=\"1.0\"?><!DOCTYPE lolz [<!ENTITY lol \"lol\">"
        "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
        "<!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">"
        "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">"
        "<!ENTITY lol4 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">"
        "<!ENTITY lol5 \"&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;\">"
        "<!ENTITY lol6 \"&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;\">"
        "<!ENTITY lol7 \"&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;\">"
        "<!ENTITY lol8 \"&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;\">"
        "<!ENTITY lol9 \"&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;\">]>"
        "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body>"
        "<queryResponse><result><queryLocator>&lol9;</queryLocator></result></queryResponse></soapenv:Body></soapenv:Envelope>";
    const QByteArray external =
        "<?xml version=\"1.0\"?><!DOCTYPE e [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
        "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body>"
        "<queryResponse><result><queryLocator>&x;</queryLocator></result></queryResponse></soapenv:Body></soapenv:Envelope>";
    QByteArray deep = "<soapenv:Envelope xmlns:soapenv=\"http://schemas.xmlsoap.org/soap/envelope/\"><soapenv:Body><queryResponse><result>";
    for (int i = 0; i < 100000; ++i)
        deep += "<records>";
    const QByteArray valid = validResponse();

    const long before = peakResidentKiB();
    struct Case {
        const char* name;
        QByteArray body;
    };
    const std::vector<Case> cases = {
        {"truncated", valid.left(valid.size() / 2)},
        {"empty", QByteArray()},
        {"not xml", "HTTP/1.1 200 OK"},
        {"entity expansion", laughs},
        {"external entity", external},
        {"deep nesting", deep},
        {"undefined entity", FakeCrmService::envelope("<queryResponse><result><queryLocator>&nope;</queryLocator></result></queryResponse>")},
        {"trailing garbage", valid + "<more/>"},
    };
    for (const Case& c : cases) {
        const SoapBindingResponse response = readQueryResponse(c.body);
        ASSERT_TRUE(response.geterror()) << c.name;
        EXPECT_EQ(response.geterror()->domain, kErrorDomainXML) << c.name;
        EXPECT_EQ(response.geterror()->code, 1) << c.name;
        EXPECT_FALSE(response.getbodyParts()) << c.name;
    }
    EXPECT_LT(peakResidentKiB() - before, 64 * 1024);

    const SoapBindingResponse good = readQueryResponse(valid);
    EXPECT_FALSE(good.geterror());
    ASSERT_TRUE(good.getbodyParts());
    EXPECT_EQ(good.getbodyParts()->size(), 1u);
    // A document without a Body leaves the body parts unset; one with an empty Body gives none.
    EXPECT_FALSE(readQueryResponse("<Envelope/>").getbodyParts());
    EXPECT_TRUE(readQueryResponse(FakeCrmService::envelope("<!-- nothing -->")).getbodyParts()->empty());
}

TEST(BadInput, HugeResponseIsCutAtTheCap)
{
    FakeCrmService fake;
    FakeCrmReply huge;
    huge.body = QByteArray(kSoapMaximumResponseBytes + 1024, ' ');
    fake.queueReply(huge);
    const long before = peakResidentKiB();
    auto binding = SoapBinding::initWithAddress(fake.loginUrl());
    const auto response = binding->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
    ASSERT_TRUE(response->geterror());
    EXPECT_EQ(response->geterror()->code, kURLErrorDataLengthExceedsMaximum);
    // The fake's own copy of the reply is counted too; the binding keeps at most the cap.
    EXPECT_LT(peakResidentKiB() - before, 3 * kSoapMaximumResponseBytes / 1024);
}

TEST(BadInput, PasswordsAndSessionsStayOutOfTheLog)
{
    FakeCrmService fake;
    SoapBindingResponsePtr response;
    const QByteArray log = capturedLog([&] {
        auto binding = SoapBinding::initWithAddress(fake.loginUrl());
        binding->setlogXMLInOut(true);
        auto login = std::make_shared<SforceServiceSvc_login>();
        login->setusername("user@example.com");
        login->setpassword("secret");
        response = binding->loginUsingParameters(login);
    });
    ASSERT_FALSE(response->geterror());
    EXPECT_TRUE(log.contains("OutputBody:")) << log.constData();
    EXPECT_TRUE(log.contains("ResponseBody:"));
    EXPECT_TRUE(log.contains("user@example.com"));
    EXPECT_FALSE(log.contains("secret"));
    EXPECT_FALSE(log.contains(fake.sessionId().toUtf8()));
    EXPECT_TRUE(log.contains("<SforceServiceSvc:password>***</"));
    EXPECT_TRUE(log.contains("<sessionId>***</"));
}

TEST(BadInput, SessionIdsInAnyFormStayOutOfTheLog)
{
    const char* forms[] = {
        "<sessionId xsi:type=\"xsd:string\">HIDDEN-1</sessionId>",
        "<sessionId><![CDATA[HIDDEN-2<&>]]></sessionId>",
        "<sf:sessionId\n  xsi:type=\"xsd:string\"><![CDATA[HIDDEN-3]]></sf:sessionId >",
        "<sessionId>HIDDEN&amp;4</sessionId>",
        "<sessionId>HIDDEN-5",  // cut off
    };
    for (const char* form : forms) {
        FakeCrmService fake;
        FakeCrmReply reply;
        reply.body = FakeCrmService::envelope(QStringLiteral("<loginResponse><result>%1</result></loginResponse>").arg(form));
        fake.queueReply(reply);
        const QByteArray log = capturedLog([&] {
            auto binding = SoapBinding::initWithAddress(fake.loginUrl());
            binding->setlogXMLInOut(true);
            binding->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
        });
        EXPECT_TRUE(log.contains("ResponseBody:")) << form;
        EXPECT_FALSE(log.contains("HIDDEN")) << form << "\n" << log.constData();
    }
}
