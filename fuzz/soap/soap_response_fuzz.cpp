// The response reader of every operation on arbitrary bytes; whatever it reads is written back
// into a request envelope, so the writers see every value the readers can produce.
#include "plugin/SforceService/SforceServiceSvc.h"
#include "plugin/SforceService/SforceServiceSvcBodies.h"
#include "plugin/SforceService/SoapBinding_envelope.h"
#include "plugin/SforceService/SoapResponseReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    SforceServiceSvc::initialize();
    struct Operation {
        const char* name;
        const SoapTypeInfo& responseType;
        bool readsDebuggingInfo;
    };
    static const Operation operations[] = {
        {"login", SforceServiceSvc_loginResponse::staticTypeInfo(), false},
        {"describeSObject", SforceServiceSvc_describeSObjectResponse::staticTypeInfo(), false},
        {"describeSObjects", SforceServiceSvc_describeSObjectsResponse::staticTypeInfo(), false},
        {"describeTabs", SforceServiceSvc_describeTabsResponse::staticTypeInfo(), false},
        {"create", SforceServiceSvc_createResponse::staticTypeInfo(), true},
        {"delete", SforceServiceSvc_deleteResponse::staticTypeInfo(), true},
        {"logout", SforceServiceSvc_logoutResponse::staticTypeInfo(), false},
        {"query", SforceServiceSvc_queryResponse::staticTypeInfo(), false},
        {"queryMore", SforceServiceSvc_queryMoreResponse::staticTypeInfo(), false},
    };
    const Operation& operation = operations[data[0] % (sizeof operations / sizeof operations[0])];
    const QByteArray body(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    SoapBindingResponse response;
    readSoapResponse(body, QString::fromLatin1(operation.name), operation.responseType, operation.readsDebuggingInfo, response);
    SoapElements parts;
    if (response.getbodyParts()) {
        for (const SoapObjectPtr& part : *response.getbodyParts())
            parts.emplace_back(part->className(), part);
    }
    SoapElements headers;
    for (const SoapObjectPtr& header : response.headers())
        headers.emplace_back(QStringLiteral("DebuggingInfo"), header);
    SoapBinding_envelope::serializedFormUsingHeaderElements(headers, parts);
    return 0;
}
