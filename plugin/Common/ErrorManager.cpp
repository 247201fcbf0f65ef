#include "plugin/Common/ErrorManager.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/GlobalData.h"
#include "plugin/Common/LogManager.h"
#include "plugin/SforceService/SOAPFault.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapEnumerations.h"
#include "platform/foundation/FormatString.h"

#include <QLocale>

#include <map>

namespace {

struct Mapping {
    int code;
    int returnCode;
};

Mapping mapTransportError(const SoapError& error)
{
    const int code = error.code;
    if (code >= 400 && code <= 499)
        return {kQDLTransportFailure, kReturnHTTPClientError + code};
    if (code >= 500 && code <= 599)
        return {kQDLTransportFailure, kReturnHTTPServerError + code};
    if (code == 301 || code == 310 || error.domain == QLatin1String(kErrorDomainAuthentication))
        return {kQDLTransportFailure, kReturnCannotConnect};
    if (code == -1013 || code == -1012 || code == -1004 || code == -1003)
        return {kQDLTransportFailure, kReturnCannotConnect};
    if (code >= -1010 && code <= -1005)
        return {kQDLTransportFailure, kReturnConnection};
    if (code == kURLErrorTimedOut)
        return {kQDLTimedOut, kReturnConnection};
    if (code == kURLErrorCancelled)
        return {kQDLUploadCancelled, kReturnCancelled};
    return {kQDLOtherFault, kReturnUnmapped};
}

Mapping mapFault(const QString& faultCode)
{
    static const std::map<QString, Mapping> table = {
        {"REQUEST_RUNNING_TOO_LONG", {kQDLRequestRunningTooLong, kReturnRequestRefused}},
        {"STORAGE_LIMIT_EXCEEDED", {kQDLStorageLimitExceeded, kReturnStorageLimit}},
        {"SERVER_UNAVAILABLE", {kQDLServerUnavailable, kReturnServiceUnavailable}},
        {"SSO_SERVICE_DOWN", {kQDLSsoServiceDown, kReturnServiceUnavailable}},
        {"QUERY_TIMEOUT", {kQDLQueryTimeout, kReturnServiceUnavailable}},
        {"INVALID_LOGIN", {kQDLInvalidLogin, kReturnLoginRefused}},
        {"LOGIN_MUST_USE_SECURITY_TOKEN", {kQDLMustUseSecurityToken, kReturnLoginRefused}},
        {"API_DISABLED_FOR_ORG", {kQDLApiDisabled, kReturnLoginRefused}},
        {"INVALID_OPERATION_WITH_EXPIRED_PASSWORD", {kQDLPasswordExpired, kReturnLoginRefused}},
        {"LOGIN_DURING_RESTRICTED_DOMAIN", {kQDLRestrictedDomain, kReturnLoginRefused}},
        {"LOGIN_DURING_RESTRICTED_TIME", {kQDLRestrictedTime, kReturnLoginRefused}},
        {"PASSWORD_LOCKOUT", {kQDLPasswordLockout, kReturnLoginRefused}},
        {"UNSUPPORTED_CLIENT", {kQDLUnsupportedClient, kReturnServiceUnavailable}},
        {"INVALID_SESSION_ID", {kQDLInvalidSession, kReturnRequestRefused}},
        {"REQUEST_LIMIT_EXCEEDED", {kQDLRequestLimitExceeded, kReturnServiceUnavailable}},
        {"INVALID_TYPE", {kQDLInvalidType, 0}},
        {"INVALID_FIELD", {kQDLInvalidField, kReturnUnmapped}},
        {"EXCEEDED_MAX_SIZE_REQUEST", {kQDLExceededMaxSizeRequest, kReturnUnmapped}},
    };
    // "sf:INVALID_LOGIN" and "INVALID_LOGIN" are the same fault; a code with more colons is taken whole.
    const QStringList pieces = faultCode.split(QLatin1Char(':'));
    const QString name = pieces.size() == 2 ? pieces[1] : faultCode;
    const auto it = table.find(name);
    return it == table.end() ? Mapping{kQDLOtherFault, kReturnUnmapped} : it->second;
}

QString text(const char* key)
{
    return CommonFuc::GetLocalStringWithKey(QString::fromLatin1(key));
}

QString label(const GlobalData& global, QString DisplayInfo::*field)
{
    const auto& info = global.UserDisplayInfo();
    return info ? (*info).*field : QString();
}

QString format(const char* key, const QVariantList& labels)
{
    return formatString(text(key), labels);
}

QString loginViewMessage(int code, const QString& option)
{
    switch (code) {
    case 10101: return QStringLiteral("LTL01002");
    case 10102: return QStringLiteral("LTL01003");
    case kQDLInvalidLogin:
    case kQDLMustUseSecurityToken:
    case kQDLExceededMaxSizeRequest:
        return option == QLatin1String("login") ? QStringLiteral("LTL01004") : QStringLiteral("LTL01005");
    case kQDLPasswordExpired: return QStringLiteral("LTL01006");
    case kQDLRestrictedDomain: return QStringLiteral("LTL01007");
    case kQDLRestrictedTime: return QStringLiteral("LTL01008");
    case kQDLPasswordLockout: return QStringLiteral("LTL01009");
    case kQDLUnsupportedClient: return QStringLiteral("LTL01012");
    case kQDLApiDisabled: return QStringLiteral("LTL01015");
    case kQDLInvalidSession: return QStringLiteral("MSG99005");
    case kQDLRequestLimitExceeded: return QStringLiteral("MSG99006");
    case kQDLTransportFailure: return QStringLiteral("MSG99002");
    case kQDLTimedOut: return QStringLiteral("MSG99008");
    case kQDLServerUnavailable: return QStringLiteral("MSG99003");
    case kQDLSsoServiceDown: return QStringLiteral("MSG99004");
    default: return QStringLiteral("MSG99001");
    }
}

// The connection messages that several windows share, as keys; empty for any other code.
QString connectionMessageKey(int code)
{
    switch (code) {
    case kQDLInvalidSession: return QStringLiteral("MSG99005");
    case kQDLRequestLimitExceeded: return QStringLiteral("MSG99006");
    case kQDLTransportFailure: return QStringLiteral("MSG99002");
    case kQDLTimedOut: return QStringLiteral("MSG99008");
    case kQDLServerUnavailable: return QStringLiteral("MSG99003");
    case kQDLSsoServiceDown: return QStringLiteral("MSG99004");
    default: return QString();
    }
}

QString resultViewMessage(int code)
{
    switch (code) {
    case kQDLStorageLimitExceeded: return QStringLiteral("MSG04010");
    case kQDLInvalidSession: return QStringLiteral("MSG04019");
    case kQDLRequestLimitExceeded: return QStringLiteral("MSG04020");
    case kQDLTransportFailure: return QStringLiteral("MSG99002");
    case kQDLMissingArgument:
    case kQDLRequiredFieldMissing: return QStringLiteral("MSG04008");
    case kQDLCannotInsertUpdate:
    case kQDLInvalidFieldForInsert: return QStringLiteral("MSG04013");
    case kQDLCustomValidation: return QStringLiteral("MSG04017");
    case kQDLTimedOut: return QStringLiteral("MSG99008");
    case 10201: return QStringLiteral("MSG04005");
    case 10202: return QStringLiteral("MSG04029");
    case kQDLInvalidEmail: return QStringLiteral("MSG04007");
    case kQDLImageTooLarge:
    case 10213: return QStringLiteral("MSG04009");
    case 10212: return QStringLiteral("MSG04025");
    case 10302: return QStringLiteral("MSG04024");
    case 10303: return QStringLiteral("MSG04006");
    case kQDLServerUnavailable:
    case kQDLSsoServiceDown: return QStringLiteral("MSG04011");
    case kQDLUploadCancelled: return QStringLiteral("MSG04032");
    default: return QStringLiteral("MSG04012");
    }
}

QString uploadViewMessage(int code, const QString& option, const GlobalData& global, const QString& language)
{
    const QString account = label(global, &DisplayInfo::AccountLabelName);
    const QString contact = label(global, &DisplayInfo::ContactLabelName);
    const QString lead = label(global, &DisplayInfo::LeadLabelName);
    const bool eastAsian = language == QLatin1String("ja") || language == QLatin1String("ko") || language == QLatin1String("zh-Hant");
    switch (code) {
    case 10201:
        return eastAsian ? format("MSG03006", {lead, account, contact}) : format("MSG03006", {lead, contact, account});
    case 10303:
        return eastAsian ? format("MSG03007", {account, contact, account, contact})
                         : format("MSG03007", {account, contact, contact, account});
    case 1010: return format("MSG03008", {account});
    case kQDLRequestRunningTooLong:
        return option.isNull() ? format("MSG03009", {account}) : QStringLiteral("MSG99001");
    case kQDLQueryTimeout: return format("MSG03009", {account});
    case kQDLInvalidEmail: return text("MSG03001");
    case kQDLStorageLimitExceeded: return text("MSG03004");
    case kQDLTransportFailure: return option == QLatin1String("upload") ? text("MSG03005") : text("MSG99002");
    case kQDLMissingArgument:
    case kQDLRequiredFieldMissing: return QStringLiteral("MSG03002");
    case kQDLCannotInsertUpdate:
    case kQDLInvalidFieldForInsert: return text("MSG03013");
    case kQDLCustomValidation: return QStringLiteral("MSG03014");
    default: {
        const QString key = connectionMessageKey(code);
        return key.isEmpty() ? QStringLiteral("MSG99001") : CommonFuc::GetLocalStringWithKey(key);
    }
    }
}

QString campaignViewMessage(int code, const GlobalData& global)
{
    if (code == kQDLRequestRunningTooLong || code == kQDLQueryTimeout)
        return format("MSG06001", {label(global, &DisplayInfo::CampaignLabelName)});
    const QString key = connectionMessageKey(code);
    return key.isEmpty() ? QStringLiteral("MSG99001") : CommonFuc::GetLocalStringWithKey(key);
}

}

int ErrorManager::GetResponseCode(const SoapBindingResponsePtr& response, GlobalData& global)
{
    Mapping result{kQDLSuccess, 0};
    if (response && response->geterror()) {
        const SoapError& error = *response->geterror();
        LogManager::LogOutput(kLogError, error.description);
        global.setExceptionMsg(error.description);
        result = mapTransportError(error);
    } else if (response && response->getbodyParts()) {
        for (const SoapObjectPtr& part : *response->getbodyParts()) {
            if (auto login = std::dynamic_pointer_cast<SforceServiceSvc_loginResponse>(part)) {
                const auto loginResult = login->result();
                const auto expired = loginResult ? loginResult->valueForKey(QStringLiteral("passwordExpired")).boolean() : std::nullopt;
                if (expired && expired->boolValue())
                    result = {kQDLPasswordExpired, kReturnLoginRefused};
            } else if (auto fault = std::dynamic_pointer_cast<SOAPFault>(part)) {
                const QString faultString = fault->valueForKey(QStringLiteral("faultstring")).text();
                global.setExceptionMsg(faultString);
                LogManager::LogOutput(kLogError, faultString);
                result = mapFault(fault->valueForKey(QStringLiteral("faultcode")).text());
            }
        }
    }
    global.setReturnCode(result.returnCode);
    return result.code;
}

int ErrorManager::HandleStatusErrorCode(qint32 statusCode, GlobalData& global)
{
    const QString status = SforceServiceSvc_StatusCode_stringFromEnum(statusCode);
    if (status == QLatin1String("ERROR_IN_MAILER") || status == QLatin1String("INVALID_EMAIL_ADDRESS"))
        return kQDLInvalidEmail;
    if (status == QLatin1String("CANNOT_INSERT_UPDATE_ACTIVATE_ENTITY"))
        return kQDLCannotInsertUpdate;
    if (status == QLatin1String("FIELD_CUSTOM_VALIDATION_EXCEPTION"))
        return kQDLCustomValidation;
    if (status == QLatin1String("IMAGE_TOO_LARGE"))
        return kQDLImageTooLarge;
    if (status == QLatin1String("INVALID_FIELD_FOR_INSERT_UPDATE"))
        return kQDLInvalidFieldForInsert;
    if (status == QLatin1String("MISSING_ARGUMENT"))
        return kQDLMissingArgument;
    if (status == QLatin1String("REQUIRED_FIELD_MISSING"))
        return kQDLRequiredFieldMissing;
    if (status == QLatin1String("STORAGE_LIMIT_EXCEEDED")) {
        global.setReturnCode(kReturnStorageLimit);
        return kQDLStorageLimitExceeded;
    }
    if (status == QLatin1String("STRING_TOO_LONG"))
        return kQDLStringTooLong;
    return kQDLOtherRecordStatus;
}

QString ErrorManager::GetErrorMessage(int code, int view, const QString& exOpt, const GlobalData& global, const QString& language)
{
    QString message;
    switch (view) {
    case kViewLogin: return loginViewMessage(code, exOpt);
    case kViewUploadedCards: {
        const QString key = connectionMessageKey(code);
        return key.isEmpty() ? QStringLiteral("MSG05004") : key;
    }
    case kViewUpload: message = uploadViewMessage(code, exOpt, global, language); break;
    case kViewResult: return resultViewMessage(code);
    case kViewCampaignSearch: message = campaignViewMessage(code, global); break;
    default: return QLatin1String("");
    }
    return message.isEmpty() ? QStringLiteral("MSG99001") : message;
}

bool ErrorManager::isAnswerLost(const SoapBindingResponsePtr& response)
{
    if (!response || !response->geterror())
        return false;
    const SoapError& error = *response->geterror();
    if (error.domain == QLatin1String(kErrorDomainAuthentication))
        return false;
    if (error.domain == QLatin1String(kErrorDomainHTTP))
        return error.code < 400 || error.code >= 500;
    if (error.domain == QLatin1String(kErrorDomainURLLoading)) {
        switch (error.code) {
        case kURLErrorUnsupportedURL:
        case kURLErrorCannotFindHost:
        case kURLErrorCannotConnectToHost:
        case kURLErrorNotConnectedToInternet:
        case kURLErrorSecureConnectionFailed:
        case kURLErrorServerCertificateUntrusted:
            return false;
        default:
            return true;
        }
    }
    return true;
}

QString ErrorManager::preferredLanguage()
{
    const QStringList languages = QLocale::system().uiLanguages();
    const QString first = languages.isEmpty() ? QString() : languages.first();
    if (first.startsWith(QLatin1String("ja")))
        return QStringLiteral("ja");
    if (first.startsWith(QLatin1String("ko")))
        return QStringLiteral("ko");
    if (first.startsWith(QLatin1String("zh-Hant")) || first == QLatin1String("zh-TW") || first == QLatin1String("zh-HK")
        || first == QLatin1String("zh-MO"))
        return QStringLiteral("zh-Hant");
    return first;
}
