// Responses to codes and return codes, record statuses to codes, and codes to each window's message.
#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/ErrorManager.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapEnumerations.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

SoapBindingResponsePtr transportError(const char* domain, int code)
{
    auto response = std::make_shared<SoapBindingResponse>();
    response->seterror(SoapError{QString::fromLatin1(domain), code, QStringLiteral("failure %1").arg(code)});
    return response;
}

SoapObjectPtr fault(const char* code)
{
    auto part = std::make_shared<SOAPFault>();
    part->setfaultcode(QString::fromLatin1(code));
    part->setfaultstring(QStringLiteral("text of ") + QString::fromLatin1(code));
    return part;
}

SoapObjectPtr loginResponse(bool passwordExpired)
{
    auto result = std::make_shared<SforceServiceSvc_LoginResult>();
    result->setValueForKey("passwordExpired", SoapValue(USBoolean(passwordExpired)));
    auto login = std::make_shared<SforceServiceSvc_loginResponse>();
    login->setValueForKey("result", SoapValue(SoapObjectPtr(result)));
    return login;
}

SoapBindingResponsePtr parts(SoapBindingResponse::Parts body)
{
    auto response = std::make_shared<SoapBindingResponse>();
    response->setBodyParts(std::move(body));
    return response;
}

// A call whose answer was lost may have been carried out; one refused or never delivered was not.
TEST(ErrorManager, AnAnswerIsLostWhenTheCallMayHaveBeenCarriedOut)
{
    const struct {
        SoapBindingResponsePtr response;
        bool lost;
    } cases[] = {
        {transportError("NSURLErrorDomain", -1001), true}, // timed out
        {transportError("NSURLErrorDomain", -1005), true}, // connection lost
        {transportError("NSURLErrorDomain", -1011), true}, // bad server response
        {transportError("SoapBindingResponseXML", 1), true}, // an answer that could not be read
        {transportError("SoapBindingResponseHTTP", 1), true}, // an answer of another kind
        {transportError("SoapBindingResponseHTTP", 503), true}, // a gateway gave up on the service
        {transportError("SoapBindingResponseHTTP", 404), false},
        {transportError("NSURLErrorDomain", -1004), false}, // never connected
        {transportError("NSURLErrorDomain", -1003), false},
        {transportError("NSURLErrorDomain", -1202), false},
        {transportError("Connection Authentication", 0), false},
        {parts({fault("sf:SERVER_UNAVAILABLE")}), false}, // the service refused the call
        {parts({}), false},
    };
    for (const auto& c : cases) {
        const SoapError* error = c.response->geterror() ? &*c.response->geterror() : nullptr;
        EXPECT_EQ(ErrorManager::isAnswerLost(c.response), c.lost)
            << (error ? error->domain.toStdString() + " " + std::to_string(error->code) : std::string("no error"));
    }
}

TEST(ErrorManager, ResponsesMapToACodeAndTheEntrysReturnCode)
{
    struct Case {
        SoapBindingResponsePtr response;
        int code;
        int returnCode;
        bool setsText;
    } const cases[] = {
        {transportError("SoapBindingResponseHTTP", 503), 1006, 2100503, true},
        {transportError("SoapBindingResponseHTTP", 404), 1006, 2000404, true},
        {transportError("NSURLErrorDomain", 310), 1006, 2100407, true},
        {transportError("Connection Authentication", 0), 1006, 2100407, true},
        {transportError("NSURLErrorDomain", -1004), 1006, 2100407, true},
        {transportError("NSURLErrorDomain", -1005), 1006, 30000, true},
        {transportError("NSURLErrorDomain", -1001), 10002, 30000, true},
        {transportError("NSURLErrorDomain", -999), 9902, 10001, true},
        {transportError("NSURLErrorDomain", -1011), 9901, 1000255, true},
        {transportError("NSURLErrorDomain", -1200), 9901, 1000255, true},
        {parts({fault("sf:INVALID_LOGIN")}), 10103, 20000, true},
        {parts({fault("INVALID_LOGIN")}), 10103, 20000, true},
        {parts({fault("a:b:INVALID_LOGIN")}), 9901, 1000255, true},
        {parts({fault("sf:INVALID_SESSION_ID")}), 1002, 2100408, true},
        {parts({fault("sf:INVALID_TYPE")}), 10401, 0, true},
        {parts({fault("sf:SERVER_UNAVAILABLE")}), 20001, 2030503, true},
        {parts({fault("sf:SOMETHING_NEW")}), 9901, 1000255, true},
        {parts({loginResponse(true)}), 10104, 20000, false},
        {parts({loginResponse(false)}), 0, 0, false},
        {parts({fault("sf:INVALID_LOGIN"), fault("sf:QUERY_TIMEOUT")}), 1011, 2030503, true},
        {parts({}), 0, 0, false},
        {std::make_shared<SoapBindingResponse>(), 0, 0, false},
    };
    for (const auto& c : cases) {
        GlobalData global;
        global.setReturnCode(12345);
        EXPECT_EQ(ErrorManager::GetResponseCode(c.response, global), c.code);
        EXPECT_EQ(global.ReturnCode(), c.returnCode) << c.code;
        EXPECT_EQ(!global.ExceptionMsg().isEmpty(), c.setsText) << c.code;
    }
}

TEST(ErrorManager, RecordStatusesMapByName)
{
    struct Case {
        const char* status;
        int code;
    } const cases[] = {
        {"ERROR_IN_MAILER", 10204}, {"INVALID_EMAIL_ADDRESS", 10204}, {"CANNOT_INSERT_UPDATE_ACTIVATE_ENTITY", 1012},
        {"FIELD_CUSTOM_VALIDATION_EXCEPTION", 1014}, {"IMAGE_TOO_LARGE", 10206}, {"INVALID_FIELD_FOR_INSERT_UPDATE", 1013},
        {"MISSING_ARGUMENT", 1008}, {"REQUIRED_FIELD_MISSING", 1009}, {"STRING_TOO_LONG", 10207}, {"DUPLICATE_VALUE", 9900},
    };
    for (const auto& c : cases) {
        GlobalData global;
        EXPECT_EQ(ErrorManager::HandleStatusErrorCode(SforceServiceSvc_StatusCode_enumFromString(c.status), global), c.code) << c.status;
        EXPECT_EQ(global.ReturnCode(), 0);
    }
    GlobalData global;
    EXPECT_EQ(ErrorManager::HandleStatusErrorCode(SforceServiceSvc_StatusCode_enumFromString("STORAGE_LIMIT_EXCEEDED"), global), 1001);
    EXPECT_EQ(global.ReturnCode(), 2020400);
    EXPECT_EQ(ErrorManager::HandleStatusErrorCode(0, global), 9900);
}

class ErrorMessageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkpath("en");
        QFile table(dir.filePath("en/Localizable.plist"));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
        table.write("<?xml version=\"1.0\" encoding=\"UTF-8\"?><plist version=\"1.0\"><dict>"
                    "<key>MSG03006</key><string>%@/%@/%@</string><key>MSG03007</key><string>%@/%@/%@/%@</string>"
                    "<key>MSG03008</key><string>none %@</string><key>MSG03009</key><string>slow %@</string>"
                    "<key>MSG06001</key><string>slow %@</string><key>MSG03005</key><string>lost in upload</string>"
                    "<key>MSG99002</key><string>unreachable</string><key>MSG99005</key><string>expired</string>"
                    "<key>MSG03001</key><string>bad mail</string></dict></plist>");
        table.close();
        CommonFuc::setBundleResourcePath(dir.path());
        auto labels = std::make_shared<DisplayInfo>();
        labels->AccountLabelName = "Acct";
        labels->ContactLabelName = "Cont";
        labels->LeadLabelName = "Lead";
        labels->CampaignLabelName = "Camp";
        global.setUserDisplayInfo(labels);
    }
    void TearDown() override { CommonFuc::setBundleResourcePath(QString()); }

    QTemporaryDir dir;
    GlobalData global;
};

TEST_F(ErrorMessageTest, EachWindowHasItsOwnTable)
{
    struct Case {
        int code;
        int view;
        QString option;
        QString language;
        QString message;
    } const cases[] = {
        {10103, 1, "login", "en", "LTL01004"},
        {10103, 1, QString(), "en", "LTL01005"},
        {1016, 1, "other", "en", "LTL01005"},
        {1002, 1, QString(), "en", "MSG99005"},
        {9901, 1, QString(), "en", "MSG99001"},
        {1006, 2, QString(), "en", "MSG99002"},
        {4242, 2, QString(), "en", "MSG05004"},
        {10213, 4, QString(), "en", "MSG04009"},
        {20002, 4, QString(), "en", "MSG04011"},
        {9902, 4, QString(), "en", "MSG04032"},
        {4242, 4, QString(), "en", "MSG04012"},
        {10201, 3, QString(), "ja", "Lead/Acct/Cont"},
        {10201, 3, QString(), "en", "Lead/Cont/Acct"},
        {10303, 3, QString(), "zh-Hant", "Acct/Cont/Acct/Cont"},
        {10303, 3, QString(), "de", "Acct/Cont/Cont/Acct"},
        {1007, 3, QString(), "en", "slow Acct"},
        {1007, 3, "upload", "en", "MSG99001"},
        {1010, 3, QString(), "en", "none Acct"},
        {1006, 3, "upload", "en", "lost in upload"},
        {1006, 3, QString(), "en", "unreachable"},
        {1009, 3, QString(), "en", "MSG03002"},
        {10204, 3, QString(), "en", "bad mail"},
        {1002, 3, QString(), "en", "expired"},
        {4242, 3, QString(), "en", "MSG99001"},
        {1011, 7, QString(), "en", "slow Camp"},
        {1002, 7, QString(), "en", "expired"},
        {4242, 7, QString(), "en", "MSG99001"},
        {1002, 5, QString(), "en", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorManager::GetErrorMessage(c.code, c.view, c.option, global, c.language), c.message)
            << c.code << " in view " << c.view;
}

}
