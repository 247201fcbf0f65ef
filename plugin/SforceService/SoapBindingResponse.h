// The result of one call: the response header objects, the body parts (the operation's response
// object and/or a SOAPFault, in document order) and the error of a failed exchange.
#pragma once

#include "plugin/SforceService/SoapError.h"
#include "plugin/SforceService/SoapValue.h"

#include <QMetaType>

#include <optional>
#include <vector>

class SoapBindingResponse {
public:
    using Parts = std::vector<SoapObjectPtr>;

    const Parts& headers() const { return m_headers; }
    // nullopt when the response had no Body.
    const std::optional<Parts>& getbodyParts() const { return m_bodyParts; }
    const std::optional<SoapError>& geterror() const { return m_error; }

    void setHeaders(Parts headers) { m_headers = std::move(headers); }
    void setBodyParts(Parts parts) { m_bodyParts = std::move(parts); }
    void seterror(const SoapError& error) { m_error = error; }

private:
    Parts m_headers;
    std::optional<Parts> m_bodyParts;
    std::optional<SoapError> m_error;
};

using SoapBindingResponsePtr = std::shared_ptr<SoapBindingResponse>;
Q_DECLARE_METATYPE(SoapBindingResponsePtr)
