// Feeds arbitrary frame payloads to the single-instance request reader; a request that decodes
// must encode back to the same payload.
#include "platform/events/InstanceRequest.h"

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray payload(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    InstanceRequest request;
    if (decodeInstanceRequest(payload, request)) {
        const QByteArray again = encodeInstanceRequest(request).mid(4);
        if (request.kind != InstanceRequest::Kind::SearchText && again != payload)
            abort();
    }
    return 0;
}
