// The envelope writer: a SOAP 1.1 document with the service's namespace declarations on the root,
// a Header only when header elements are given, a Body only when body elements are given.
#pragma once

#include "plugin/SforceService/SoapValue.h"

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

// Element name and value object; entries without an object are not written.
using SoapElements = std::vector<std::pair<QString, SoapObjectPtr>>;

class SoapBinding_envelope {
public:
    // The request document as UTF-8 text, formatted one element per line.
    static QByteArray serializedFormUsingHeaderElements(const SoapElements& headerElements, const SoapElements& bodyElements);
};
