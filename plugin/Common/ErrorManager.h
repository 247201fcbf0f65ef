// Turns what a service call gave back into the plug-in's error codes, and a code into the message
// a window shows. Mapping a response also sets the entry's return code and the last error text.
#pragma once

#include "plugin/SforceService/SoapBindingResponse.h"

#include <QString>

class GlobalData;

// The codes the mapping produces, and those the windows and the upload chain add.
enum QDLErrorCode : int {
    kQDLSuccess = 0,
    kQDLStorageLimitExceeded = 1001,
    kQDLInvalidSession = 1002,
    kQDLRequestLimitExceeded = 1003,
    kQDLApiDisabled = 1004,
    kQDLUnsupportedClient = 1005,
    kQDLTransportFailure = 1006,
    kQDLRequestRunningTooLong = 1007,
    kQDLMissingArgument = 1008,
    kQDLRequiredFieldMissing = 1009,
    kQDLQueryTimeout = 1011,
    kQDLCannotInsertUpdate = 1012,
    kQDLInvalidFieldForInsert = 1013,
    kQDLCustomValidation = 1014,
    kQDLExceededMaxSizeRequest = 1016,
    kQDLOtherRecordStatus = 9900,
    kQDLOtherFault = 9901,
    // The user cancelled the call in flight (a batch the service did not answer).
    kQDLUploadCancelled = 9902,
    kQDLTimedOut = 10002,
    kQDLInvalidLogin = 10103,
    kQDLPasswordExpired = 10104,
    kQDLRestrictedDomain = 10105,
    kQDLRestrictedTime = 10106,
    kQDLPasswordLockout = 10107,
    kQDLMustUseSecurityToken = 10108,
    kQDLInvalidEmail = 10204,
    kQDLImageTooLarge = 10206,
    kQDLStringTooLong = 10207,
    kQDLInvalidType = 10401,
    kQDLInvalidField = 10402,
    kQDLServerUnavailable = 20001,
    kQDLSsoServiceDown = 20002,
};

// Return codes of the entry.
enum QDLReturnCode : int {
    kReturnUnmapped = 1000255,
    kReturnNoCardFilePath = 1000001,
    kReturnCardFileNotFound = 1000002,
    kReturnNotAllUploaded = 10000,
    kReturnCancelled = 10001,
    kReturnLoginRefused = 20000,
    kReturnConnection = 30000,
    kReturnStorageLimit = 2020400,
    kReturnServiceUnavailable = 2030503,
    kReturnCannotConnect = 2100407,
    kReturnRequestRefused = 2100408,
    kReturnHTTPClientError = 2000000,
    kReturnHTTPServerError = 2100000,
};

class ErrorManager {
public:
    static int GetResponseCode(const SoapBindingResponsePtr& response, GlobalData& global);
    // `statusCode` is the service's StatusCode as the binding numbers it.
    static int HandleStatusErrorCode(qint32 statusCode, GlobalData& global);
    // A localisation key, or a finished text, for `code` in window `view`. `language` decides the
    // argument order of two formats; by default the user's first preferred language.
    static QString GetErrorMessage(int code, int view, const QString& exOpt, const GlobalData& global,
        const QString& language = preferredLanguage());
    static QString preferredLanguage();
    // Whether the call may have been carried out although its answer was lost: it timed out, broke
    // off or could not be read, rather than being refused or never reaching the service.
    static bool isAnswerLost(const SoapBindingResponsePtr& response);
};
