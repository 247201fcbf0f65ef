// Every operation against the fake service on loopback, synchronous and asynchronous, and every
// transport misbehaviour with the error the plug-in expects.
#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SoapBinding.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/PreferenceDomain.h"
#include "tests/plugin/SforceService/TestRecords.h"
#include "tests/support/crm/FakeCrmService.h"
#include "tests/support/crm/TestCertificates.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <cmath>

namespace {

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        registerTestRecordTypes();
        SforceServiceSvc::setLoginBaseUrl(fake.baseUrl());
    }
    void TearDown() override
    {
        SforceServiceSvc::setLoginBaseUrl(QString());
        SforceServiceSvc::setApiVersion(QString());
    }

    std::shared_ptr<SoapBinding> binding(double timeout = 5.0)
    {
        auto b = SforceServiceSvc::SoapBinding();
        b->setdefaultTimeout(timeout);
        if (!m_serverUrl.isEmpty())
            b->setAddress(m_serverUrl);
        return b;
    }

    SoapBindingResponsePtr login(const QString& user = "user@example.com", const QString& password = "secret")
    {
        auto request = std::make_shared<SforceServiceSvc_login>();
        request->setusername(user);
        request->setpassword(password);
        return SforceServiceSvc::SoapBinding()->loginUsingParameters(request);
    }

    std::shared_ptr<SforceServiceSvc_LoginResult> loggedIn()
    {
        const auto response = login();
        auto result = std::dynamic_pointer_cast<SforceServiceSvc_loginResponse>(response->getbodyParts()->at(0))->result();
        m_serverUrl = result->valueForKey("serverUrl").text();
        m_session = std::make_shared<SforceServiceSvc_SessionHeader>();
        m_session->setsessionId(result->valueForKey("sessionId").text());
        return result;
    }

    SoapBindingResponsePtr query(const QString& text, double timeout = 5.0)
    {
        auto request = std::make_shared<SforceServiceSvc_query>();
        request->setqueryString(text);
        return binding(timeout)->queryUsingParameters(request, m_session);
    }

    // The single body part of a response, of type T.
    template <typename T>
    std::shared_ptr<T> part(const SoapBindingResponsePtr& response)
    {
        EXPECT_FALSE(response->geterror()) << response->geterror()->description.toStdString();
        if (!response->getbodyParts() || response->getbodyParts()->size() != 1)
            return nullptr;
        return std::dynamic_pointer_cast<T>(response->getbodyParts()->front());
    }

    FakeCrmService fake;
    QString m_serverUrl;
    std::shared_ptr<SforceServiceSvc_SessionHeader> m_session;
};

}

TEST_F(BindingTest, LoginThenCallsGoToTheServerUrlWithTheSession)
{
    const auto result = loggedIn();
    EXPECT_EQ(result->valueForKey("sessionId").text(), fake.sessionId());
    EXPECT_EQ(m_serverUrl, fake.baseUrl() + fake.serverPath());
    const auto expired = result->valueForKey("passwordExpired").boolean();
    ASSERT_TRUE(expired);
    EXPECT_FALSE(expired->boolValue());
    EXPECT_EQ(result->valueForKey("userInfo").object()->valueForKey("userFullName").text(), "Test User");
    EXPECT_EQ(result->valueForKey("userInfo").object()->valueForKey("organizationName").text(), "Example & Co");

    auto logout = binding()->logoutUsingParameters(std::make_shared<SforceServiceSvc_logout>(), m_session);
    EXPECT_TRUE(part<SforceServiceSvc_logoutResponse>(logout));

    const auto requests = fake.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].method, "POST");
    EXPECT_EQ(requests[0].path, "/services/Soap/c/19.0");
    EXPECT_EQ(requests[0].headers.value("soapaction"), "login");
    EXPECT_EQ(requests[0].headers.value("user-agent"), "wsdl2objc");
    EXPECT_EQ(requests[0].headers.value("content-type"), "text/xml; charset=utf-8");
    EXPECT_EQ(requests[0].headers.value("content-length").toLongLong(), requests[0].body.size());
    EXPECT_TRUE(requests[0].headerBlocks.isEmpty());
    EXPECT_EQ(requests[1].path, fake.serverPath().toUtf8());
    EXPECT_EQ(requests[1].headers.value("soapaction"), "logout");
    EXPECT_EQ(requests[1].headerBlocks, QStringList{"SessionHeader"});
    EXPECT_EQ(requests[1].sessionId, result->valueForKey("sessionId").text());
    for (const auto& r : requests)
        EXPECT_FALSE(r.expectContinue);
}

TEST_F(BindingTest, ExpiredPasswordAndInvalidLogin)
{
    fake.setPasswordExpired(true);
    const auto result = loggedIn();
    EXPECT_TRUE(result->valueForKey("passwordExpired").boolean()->boolValue());

    const auto refused = login("user@example.com", "wrong");
    EXPECT_FALSE(refused->geterror());
    const auto fault = part<SOAPFault>(refused);
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->valueForKey("faultcode").text(), "sf:INVALID_LOGIN");
    EXPECT_TRUE(fault->valueForKey("faultstring").text().startsWith("INVALID_LOGIN: "));
}

TEST_F(BindingTest, QueryPagesThroughQueryMoreWithNullAndNestedFields)
{
    fake.setPageSize(2);
    const QString parent = fake.addRecord("Widget__c", {FakeCrmService::field("Name", "Parent & Co")});
    for (int i = 0; i < 4; ++i) {
        fake.addRecord("Widget__c",
            {FakeCrmService::field("Amount__c", QString::number(i)), FakeCrmService::nilField("Email"),
                FakeCrmService::field("Name", QString("W%1 &lt;raw&gt;").arg(i)),
                QString("<sf:Parent__r xsi:type=\"sf:Widget__c\"><sf:Id>%1</sf:Id><sf:Name>Parent</sf:Name></sf:Parent__r>").arg(parent),
                FakeCrmService::field("Started__c", "2010-05-12")});
    }
    loggedIn();
    auto page = part<SforceServiceSvc_queryResponse>(query("SELECT Id, Name, Amount__c, Email, Parent__r.Id, Parent__r.Name, Started__c FROM Widget__c"))->result();
    std::vector<std::shared_ptr<ens_sObject>> records;
    int pages = 1;
    while (true) {
        ASSERT_TRUE(page);
        for (const auto& r : page->records())
            records.push_back(r);
        if (page->isDone())
            break;
        auto more = std::make_shared<SforceServiceSvc_queryMore>();
        more->setqueryLocator(page->queryLocator());
        page = part<SforceServiceSvc_queryMoreResponse>(binding()->queryMoreUsingParameters(more, m_session))->result();
        ++pages;
    }
    EXPECT_EQ(pages, 3);
    EXPECT_TRUE(page->valueForKey("queryLocator").isNone());
    EXPECT_EQ(page->valueForKey("size_").number(), 5.0);
    ASSERT_EQ(records.size(), 5u);
    EXPECT_EQ(records[0]->getId(), parent);
    EXPECT_EQ(records[0]->valueForKey("Name").text(), "Parent & Co");
    const auto& last = records[4];
    EXPECT_TRUE(std::dynamic_pointer_cast<ens_Widget__c>(last));
    EXPECT_EQ(last->valueForKey("Name").text(), "W3 &lt;raw&gt;");  // reads back as written: unescaped once
    EXPECT_TRUE(last->valueForKey("Email").isNone());
    EXPECT_EQ(last->valueForKey("Amount__c").number(), 3.0);
    EXPECT_EQ(last->valueForKey("Started__c").date(), QDateTime(QDate(2010, 5, 11), QTime(15, 0), Qt::UTC));
    const auto nested = last->valueForKey("Parent__r").objectAs<ens_Widget__c>();
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->getId(), parent);
}

TEST_F(BindingTest, CreateReportsPerRecordResultsAndDeleteRollsBack)
{
    fake.setDebugLog("debug & log");
    loggedIn();
    auto good = std::make_shared<ens_Widget__c>();
    good->setValueForKey("Name", "Kept");
    good->setValueForKey("Email", "kept@example.com");
    auto bad = std::make_shared<ens_Widget__c>();
    bad->setValueForKey("Name", "Refused");
    bad->setValueForKey("Email", "not-an-address");
    auto create = std::make_shared<SforceServiceSvc_create>();
    create->addSObjects(good);
    create->addSObjects(bad);
    const auto response = binding()->createUsingParameters(create, m_session);
    const auto results = part<SforceServiceSvc_createResponse>(response)->getresult();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_TRUE(results[0]->getsuccess()->boolValue());
    EXPECT_TRUE(results[0]->geterrors().empty());
    EXPECT_FALSE(results[1]->getsuccess()->boolValue());
    EXPECT_TRUE(results[1]->getid().isNull());
    ASSERT_EQ(results[1]->geterrors().size(), 1u);
    EXPECT_EQ(results[1]->geterrors()[0]->getstatusCode(), 72);  // INVALID_EMAIL_ADDRESS
    EXPECT_EQ(results[1]->geterrors()[0]->valueForKey("fields").list().size(), 1u);
    ASSERT_EQ(response->headers().size(), 1u);
    EXPECT_EQ(response->headers()[0]->valueForKey("debugLog").text(), "debug & log");

    ASSERT_EQ(fake.records().size(), 1u);
    EXPECT_EQ(fake.records()[0].id, results[0]->getid());

    auto remove = std::make_shared<SforceServiceSvc_delete>();
    remove->addIds(results[0]->getid());
    remove->addIds(results[0]->getid());
    const auto deleted = part<SforceServiceSvc_deleteResponse>(binding()->deleteUsingParameters(remove, m_session))->result();
    ASSERT_EQ(deleted.size(), 2u);
    EXPECT_TRUE(deleted[0]->valueForKey("success").boolean()->boolValue());
    EXPECT_FALSE(deleted[1]->valueForKey("success").boolean()->boolValue());
    EXPECT_TRUE(fake.records().empty());
}

TEST_F(BindingTest, DescribeSObjectsAndTabs)
{
    loggedIn();
    auto describe = std::make_shared<SforceServiceSvc_describeSObjects>();
    describe->setsObjectType({"Account", "Lead"});
    const auto results = part<SforceServiceSvc_describeSObjectsResponse>(binding()->describeSObjectsUsingParameters(describe, m_session))->result();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0]->valueForKey("name").text(), "Account");
    const auto leadFields = soapObjectsOfList<SforceServiceSvc_Field>(results[1]->valueForKey("fields"));
    ASSERT_EQ(leadFields.size(), 3u);
    EXPECT_EQ(leadFields[0]->valueForKey("name").text(), "LeadSource");
    EXPECT_EQ(leadFields[0]->gettype(), 2);
    ASSERT_EQ(leadFields[0]->getpicklistValues().size(), 2u);
    EXPECT_TRUE(leadFields[0]->getpicklistValues()[1]->valueForKey("defaultValue").boolean()->boolValue());
    EXPECT_EQ(leadFields[2]->gettype(), 1);
    EXPECT_EQ(leadFields[2]->valueForKey("length").number(), 80.0);

    describe->setsObjectType({"Nonsense"});
    const auto fault = part<SOAPFault>(binding()->describeSObjectsUsingParameters(describe, m_session));
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->valueForKey("faultcode").text(), "sf:INVALID_TYPE");

    const auto tabs = part<SforceServiceSvc_describeTabsResponse>(
        binding()->describeTabsUsingParameters(std::make_shared<SforceServiceSvc_describeTabs>(), m_session));
    ASSERT_TRUE(tabs);
    const auto sets = soapObjectsOfList<SforceServiceSvc_DescribeTabSetResult>(tabs->valueForKey("result"));
    ASSERT_EQ(sets.size(), 1u);
    EXPECT_EQ(sets[0]->valueForKey("tabs").list().size(), 2u);
    EXPECT_TRUE(sets[0]->valueForKey("namespace").isNone());
}

TEST_F(BindingTest, ServiceFaultsArriveAsBodyPartsWithoutError)
{
    loggedIn();
    fake.invalidateSessionOnce();
    struct Case {
        const char* name;
        std::function<void()> arrange;
        const char* expectedCode;
    };
    const std::vector<Case> cases = {
        {"invalid session once", [] {}, "sf:INVALID_SESSION_ID"},
        {"server unavailable", [&] { fake.queueReply(FakeCrmService::faultReply("SERVER_UNAVAILABLE", "down")); }, "sf:SERVER_UNAVAILABLE"},
        {"soap 1.2", [&] { fake.queueReply(FakeCrmService::soap12FaultReply("REQUEST_LIMIT_EXCEEDED", "a")); }, "env:Receiver"},
    };
    for (const Case& c : cases) {
        c.arrange();
        const auto response = query("SELECT Id FROM Widget__c");
        const auto fault = part<SOAPFault>(response);
        ASSERT_TRUE(fault) << c.name;
        EXPECT_EQ(fault->valueForKey("faultcode").text(), c.expectedCode) << c.name;
    }
    // After the refused session, a new login is accepted.
    loggedIn();
    EXPECT_TRUE(part<SforceServiceSvc_queryResponse>(query("SELECT Id FROM Widget__c")));
}

TEST_F(BindingTest, FaultIsFoundByNamespaceWhateverItsPrefix)
{
    FakeCrmReply reply;
    reply.status = 500;
    reply.body = "<?xml version=\"1.0\"?><a:Envelope xmlns:a=\"http://schemas.xmlsoap.org/soap/envelope/\">"
                 "<a:Body><b:Fault xmlns:b=\"http://schemas.xmlsoap.org/soap/envelope/\"><faultcode>b:Server</faultcode>"
                 "<faultstring>x</faultstring></b:Fault><c:Fault xmlns:c=\"urn:other\"/></a:Body></a:Envelope>";
    fake.queueReply(reply);
    const auto fault = part<SOAPFault>(login());
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->valueForKey("faultcode").text(), "b:Server");
}

TEST_F(BindingTest, UnsupportedApiVersionAndVersionOverride)
{
    SforceServiceSvc::setApiVersion("20.0");
    EXPECT_EQ(SforceServiceSvc::loginEndpoint(), fake.baseUrl() + "/services/Soap/c/20.0");
    const auto fault = part<SOAPFault>(login());
    ASSERT_TRUE(fault);
    EXPECT_EQ(fault->valueForKey("faultcode").text(), "sf:UNSUPPORTED_API_VERSION");
    EXPECT_EQ(fake.requests().back().path, "/services/Soap/c/20.0");
}

TEST_F(BindingTest, TransportMisbehaviourGivesItsError)
{
    struct Case {
        const char* name;
        FakeCrmReply reply;
        const char* domain;
        int code;
        const char* description;
    };
    auto reply = [](int status, const char* type, const char* body) {
        FakeCrmReply r;
        r.status = status;
        r.contentType = type;
        r.body = body;
        return r;
    };
    FakeCrmReply challenge = reply(401, "text/html", "<html>no</html>");
    challenge.headers.append(qMakePair(QByteArray("WWW-Authenticate"), QByteArray("Basic realm=\"x\"")));
    FakeCrmReply dropped;
    dropped.dropConnection = true;
    const std::vector<Case> cases = {
        {"503 html", reply(503, "text/html", "<html>busy</html>"), kErrorDomainHTTP, 503, "service unavailable"},
        {"200 text/plain", reply(200, "text/plain", "hello"), kErrorDomainHTTP, 1, "Unexpected response MIME type to SOAP call:text/plain"},
        {"malformed", reply(200, "text/xml", "<soapenv:Envelope><unclosed>"), kErrorDomainXML, 1, kErrorTextParse},
        {"empty body", reply(200, "text/xml; charset=utf-8", ""), kErrorDomainXML, 1, kErrorTextParse},
        {"401 challenge", challenge, kErrorDomainAuthentication, 0, kErrorTextAuthentication},
        // An XML body that is no SOAP answer does not hide the HTTP failure.
        {"500 bare element", reply(500, "text/xml", "<error/>"), kErrorDomainHTTP, 500, "internal server error"},
        {"503 xhtml page", reply(503, "application/xhtml+xml",
                               "<html xmlns=\"http://www.w3.org/1999/xhtml\"><body>maintenance</body></html>"),
            kErrorDomainHTTP, 503, "service unavailable"},
        {"500 empty soap body", reply(500, "text/xml", FakeCrmService::envelope(QString()).constData()), kErrorDomainHTTP, 500,
            "internal server error"},
        {"502 malformed xml", reply(502, "text/xml", "<unclosed>"), kErrorDomainHTTP, 502, "bad gateway"},
        {"dropped", dropped, kErrorDomainURLLoading, kURLErrorNetworkConnectionLost, nullptr},
    };
    for (const Case& c : cases) {
        fake.queueReply(c.reply);
        const auto response = login();
        ASSERT_TRUE(response->geterror()) << c.name;
        EXPECT_EQ(response->geterror()->domain, c.domain) << c.name;
        EXPECT_EQ(response->geterror()->code, c.code) << c.name;
        if (c.description) {
            EXPECT_EQ(response->geterror()->description, c.description) << c.name;
        }
        EXPECT_FALSE(response->getbodyParts()) << c.name;
    }
}

TEST_F(BindingTest, StallEndsWithinTheTimeOutWhileTheMainLoopRuns)
{
    FakeCrmReply stall = FakeCrmService::faultReply("SERVER_UNAVAILABLE", "late");
    stall.delayMs = 4000;
    fake.queueReply(stall);
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(50);
    QElapsedTimer elapsed;
    elapsed.start();
    auto b = SforceServiceSvc::SoapBinding();
    b->setdefaultTimeout(1.0);
    auto request = std::make_shared<SforceServiceSvc_login>();
    const auto response = b->loginUsingParameters(request);
    EXPECT_LT(elapsed.elapsed(), 2000);
    ASSERT_TRUE(response->geterror());
    EXPECT_EQ(response->geterror()->code, kURLErrorTimedOut);
    EXPECT_GT(ticks, 5);  // the nested loop kept serving timers
    EXPECT_TRUE(b->synchronousOperationComplete());
}

TEST_F(BindingTest, TimeOutOfZeroOrLessTakesTheDefault)
{
    for (const double timeout : {0.0, -1.0, std::nan("")}) {
        auto b = SforceServiceSvc::SoapBinding();
        b->setdefaultTimeout(timeout);
        EXPECT_EQ(b->defaultTimeout(), kDefaultTimeoutSeconds) << timeout;
        auto request = std::make_shared<SforceServiceSvc_login>();
        request->setusername("user@example.com");
        request->setpassword("secret");
        EXPECT_TRUE(part<SforceServiceSvc_loginResponse>(b->loginUsingParameters(request))) << timeout;
    }
}

TEST_F(BindingTest, PlainHttpOnlyToLoopback)
{
    auto b = SoapBinding::initWithAddress("http://example.invalid/services/Soap/c/19.0");
    const auto response = b->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
    ASSERT_TRUE(response->geterror());
    EXPECT_EQ(response->geterror()->code, kURLErrorUnsupportedURL);
    EXPECT_TRUE(fake.requests().empty());
}

TEST_F(BindingTest, CookiesSetByTheServiceAreKeptOnTheBinding)
{
    FakeCrmReply reply = FakeCrmService::faultReply("SERVER_UNAVAILABLE", "x");
    reply.headers.append(qMakePair(QByteArray("Set-Cookie"), QByteArray("BrowserId=abc; Path=/")));
    fake.queueReply(reply);
    auto b = SforceServiceSvc::SoapBinding();
    b->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
    ASSERT_EQ(b->cookies().size(), 1);
    EXPECT_TRUE(b->cookies()[0].contains("BrowserId\tabc"));
    b->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
    EXPECT_EQ(fake.requests().back().headers.value("cookie"), "BrowserId=abc");
}

TEST_F(BindingTest, AsynchronousCallPostsOnceOnTheMainThread)
{
    loggedIn();
    int posts = 0;
    bool onMain = false;
    SoapBindingResponsePtr received;
    QEventLoop loop;
    const void* sender = nullptr;
    auto observer = NotificationCenter::defaultCenter().addObserver(this, kSFoceCompletedNotification, [&](const Notification& n) {
        ++posts;
        onMain = QThread::currentThread() == QCoreApplication::instance()->thread();
        received = n.userInfo.value(kSFORCERESPONSEKey).value<SoapBindingResponsePtr>();
        sender = n.object;
        QTimer::singleShot(200, &loop, &QEventLoop::quit);  // room for a second, wrong post
    });
    const void* expectedSender = nullptr;
    {
        auto b = binding();
        expectedSender = b.get();
        auto request = std::make_shared<SforceServiceSvc_query>();
        request->setqueryString("SELECT Id FROM Widget__c");
        b->queryAsyncUsingParameters(request, m_session);
        EXPECT_FALSE(b->synchronousOperation());
    }  // the caller lets the binding go at once
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    NotificationCenter::defaultCenter().removeObserver(observer);
    EXPECT_EQ(posts, 1);
    EXPECT_TRUE(onMain);
    EXPECT_EQ(sender, expectedSender);
    ASSERT_TRUE(received);
    EXPECT_TRUE(part<SforceServiceSvc_queryResponse>(received));
}

TEST_F(BindingTest, CancelEndsTheCallInFlight)
{
    FakeCrmReply stall = FakeCrmService::faultReply("SERVER_UNAVAILABLE", "late");
    stall.delayMs = 4000;
    fake.queueReply(stall);
    auto b = SforceServiceSvc::SoapBinding();
    QTimer::singleShot(100, [b] { b->cancel(); });
    QElapsedTimer elapsed;
    elapsed.start();
    const auto response = b->loginUsingParameters(std::make_shared<SforceServiceSvc_login>());
    EXPECT_LT(elapsed.elapsed(), 2000);
    ASSERT_TRUE(response->geterror());
    EXPECT_EQ(response->geterror()->code, kURLErrorCancelled);
}

TEST_F(BindingTest, SettingsOverrideTheEndpointAndVersion)
{
    QTemporaryDir folder;
    PreferenceDomain settings("com.orvane.zor.Pelmora.Quendrel", folder.path());
    SforceServiceSvc::setLoginBaseUrl(QString());
    EXPECT_EQ(SforceServiceSvc::loginEndpoint(), "https://login.salesforce.com/services/Soap/c/19.0");
    SforceServiceSvc::applySettings(settings);
    EXPECT_EQ(SforceServiceSvc::loginEndpoint(), "https://login.salesforce.com/services/Soap/c/19.0");
    settings.setValue(kSforceLoginBaseUrlKey, PlistValue(fake.baseUrl() + "/"));
    settings.setValue(kSforceApiVersionKey, PlistValue(QString("19.0")));
    SforceServiceSvc::applySettings(settings);
    EXPECT_EQ(SforceServiceSvc::loginEndpoint(), fake.loginUrl());
    EXPECT_EQ(SforceServiceSvc::SoapBinding()->address(), fake.loginUrl());
}

TEST_F(BindingTest, ShutdownCancelsAndJoinsAsynchronousCalls)
{
    // The service would answer only after ten minutes (it stops at once when the test ends): the
    // shutdown that waited for the answer would take all of them, whatever the machine's load.
    FakeCrmReply stall = FakeCrmService::faultReply("SERVER_UNAVAILABLE", "late");
    stall.delayMs = 600000;
    fake.queueReply(stall);
    std::vector<SoapBindingResponsePtr> received;
    auto observer = NotificationCenter::defaultCenter().addObserver(this, kSFoceCompletedNotification, [&](const Notification& n) {
        received.push_back(n.userInfo.value(kSFORCERESPONSEKey).value<SoapBindingResponsePtr>());
    });
    SforceServiceSvc::SoapBinding()->loginAsyncUsingParameters(std::make_shared<SforceServiceSvc_login>());
    QElapsedTimer elapsed;
    elapsed.start();
    while (fake.requests().empty() && elapsed.elapsed() < 120000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_FALSE(fake.requests().empty());
    elapsed.restart();
    SoapBinding::cancelAsynchronousCallsAndWait();
    NotificationCenter::defaultCenter().removeObserver(observer);
    EXPECT_LT(elapsed.elapsed(), 120000);
    ASSERT_EQ(received.size(), 1u);
    ASSERT_TRUE(received[0]->geterror());
    EXPECT_EQ(received[0]->geterror()->code, kURLErrorCancelled);
}

TEST(BindingTls, ServerIsVerifiedAgainstTheGivenAuthorities)
{
    registerTestRecordTypes();
    QTemporaryDir folder;
    struct Case {
        const char* name;
        QStringList serverNames;
        bool trustTestAuthority;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {"system store only", {"IP:127.0.0.1", "DNS:localhost"}, false, false},
        {"test authority trusted", {"IP:127.0.0.1", "DNS:localhost"}, true, true},
        {"trusted, other host name", {"DNS:crm.example.invalid"}, true, false},
    };
    for (const Case& c : cases) {
        TestCertificates certificates(folder.path(), c.serverNames);
        ASSERT_TRUE(certificates.isValid()) << c.name;
        FakeCrmService fake(&certificates);
        SforceServiceSvc::setLoginBaseUrl(fake.baseUrl());
        SforceServiceSvc::setCertificateAuthorityFile(c.trustTestAuthority ? certificates.authorityFile() : QString());
        auto request = std::make_shared<SforceServiceSvc_login>();
        request->setusername("user@example.com");
        request->setpassword("secret");
        const auto response = SforceServiceSvc::SoapBinding()->loginUsingParameters(request);
        SforceServiceSvc::setCertificateAuthorityFile(QString());
        SforceServiceSvc::setLoginBaseUrl(QString());
        EXPECT_TRUE(fake.baseUrl().startsWith("https://")) << c.name;
        if (c.accepted) {
            EXPECT_FALSE(response->geterror()) << c.name << ": " << response->geterror()->description.toStdString();
            EXPECT_EQ(fake.requests().size(), 1u) << c.name;
        } else {
            ASSERT_TRUE(response->geterror()) << c.name;
            EXPECT_EQ(response->geterror()->code, kURLErrorServerCertificateUntrusted) << c.name;
            EXPECT_TRUE(fake.requests().empty()) << c.name;
        }
    }
}
