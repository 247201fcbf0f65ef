// Codecs of the plain value kinds: how text, numbers, date-times, bytes and booleans are written
// as elements of an outgoing document and read back from response elements.
#pragma once

#include "plugin/SforceService/SoapValue.h"

#include <libxml/tree.h>

#include <optional>

namespace USAdditions {

// "prefix:name", or the name alone when the prefix is empty.
QString qualifiedName(const QString& elementName, const QString& prefix);

// The text with every character that XML 1.0 does not allow removed.
QString sanitizedXmlText(const QString& text);

// A new unattached element holding `content` as its text (escaped once by the serializer).
xmlNodePtr newTextElement(xmlDocPtr doc, const QString& elementName, const QString& prefix, const QString& content);

// Writes any value but a list or an object as an element (objects write themselves).
xmlNodePtr writeValue(xmlDocPtr doc, const QString& elementName, const QString& prefix, const SoapValue& value);

// The element's direct text and CDATA, entities resolved once; none when it has no text.
std::optional<QString> readText(xmlNodePtr node);

// The same text in UTF-8, read in place when it is the element's one text child (the usual case)
// and joined otherwise; an element or attribute node. Lives no longer than the node.
class NodeText {
public:
    explicit NodeText(xmlNodePtr node);
    explicit NodeText(xmlAttrPtr attribute);
    ~NodeText();
    NodeText(const NodeText&) = delete;
    NodeText& operator=(const NodeText&) = delete;

    bool hasText() const { return m_text != nullptr; }
    QByteArrayView bytes() const { return QByteArrayView(reinterpret_cast<const char*>(m_text)); }

private:
    void read(xmlDocPtr doc, xmlNodePtr children);

    const xmlChar* m_text = nullptr;
    xmlChar* m_joined = nullptr;
};

// Locale-free number text: integers as digits, other values with 16 significant digits.
QString numberText(double number);
// The leading number of a text (ASCII digits, any other byte ends it) as a double; 0 when there is none.
double leadingNumber(QByteArrayView text);

QString base64Encoding(const QByteArray& bytes);
// Lenient decoding: white space and "=" skipped anywhere; none for non-ASCII text, a character
// outside the alphabet or a last group of one character.
std::optional<QByteArray> dataWithBase64EncodedString(const QString& text);
// The same for UTF-8 text.
std::optional<QByteArray> dataWithBase64EncodedUtf8(QByteArrayView text);

// The codec classes that read the plain value kinds: "NSString", "NSNumber", "NSDate", "NSData"
// and "USBoolean".
enum class Codec { String, Number, Date, Data, Boolean };
std::optional<Codec> codecNamed(const QString& className);
// Reads an element with a codec: none (or 0 for a number) when it has no text the codec can read.
SoapValue decodeCodec(Codec codec, xmlNodePtr node);

// Reads an element with one of the codec classes "NSString", "NSNumber", "NSDate", "NSData",
// "USBoolean"; nullopt when `className` names none of them.
std::optional<SoapValue> decodeCodecClass(const QString& className, xmlNodePtr node);

}
