#include "plugin/SforceService/USAdditions.h"

#include "plugin/SforceService/ISO8601.h"

#include <array>
#include <charconv>
#include <mutex>

namespace USAdditions {

QString qualifiedName(const QString& elementName, const QString& prefix)
{
    return prefix.isEmpty() ? elementName : prefix + QLatin1Char(':') + elementName;
}

static bool isXmlChar(char32_t c)
{
    return c == 0x9 || c == 0xA || c == 0xD || (c >= 0x20 && c <= 0xD7FF) || (c >= 0xE000 && c <= 0xFFFD)
        || (c >= 0x10000 && c <= 0x10FFFF);
}

QString sanitizedXmlText(const QString& text)
{
    bool clean = true;
    for (qsizetype i = 0; i < text.size() && clean; ++i) {
        const char16_t c = text[i].unicode();
        if (QChar::isSurrogate(c) || !isXmlChar(c))
            clean = false;
    }
    if (clean)
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            out.append(c);
            out.append(text[++i]);
        } else if (!c.isSurrogate() && isXmlChar(c.unicode())) {
            out.append(c);
        }
    }
    return out;
}

xmlNodePtr newTextElement(xmlDocPtr doc, const QString& elementName, const QString& prefix, const QString& content)
{
    const QByteArray name = qualifiedName(elementName, prefix).toUtf8();
    xmlNodePtr node = xmlNewDocNode(doc, nullptr, reinterpret_cast<const xmlChar*>(name.constData()), nullptr);
    const QByteArray text = sanitizedXmlText(content).toUtf8();
    if (!text.isEmpty())
        xmlNodeAddContentLen(node, reinterpret_cast<const xmlChar*>(text.constData()), int(text.size()));
    return node;
}

QString numberText(double number)
{
    return QString::number(number, 'g', 16);
}

xmlNodePtr writeValue(xmlDocPtr doc, const QString& elementName, const QString& prefix, const SoapValue& value)
{
    QString content;
    if (value.isText())
        content = value.text();
    else if (value.isNumber())
        content = numberText(value.number());
    else if (value.isDate())
        content = ISO8601DateString(value.date());
    else if (value.isBytes())
        content = base64Encoding(value.bytes());
    else if (value.isBoolean())
        content = value.boolean()->stringValue();
    else if (value.isEnumeration())
        content = QString::number(value.enumeration());
    return newTextElement(doc, elementName, prefix, content);
}

NodeText::NodeText(xmlNodePtr node)
{
    if (node)
        read(node->doc, node->children);
}

NodeText::NodeText(xmlAttrPtr attribute)
{
    if (attribute)
        read(attribute->doc, attribute->children);
}

NodeText::~NodeText()
{
    xmlFree(m_joined);
}

void NodeText::read(xmlDocPtr doc, xmlNodePtr children)
{
    if (!children)
        return;
    if (!children->next && (children->type == XML_TEXT_NODE || children->type == XML_CDATA_SECTION_NODE)) {
        m_text = children->content;
        return;
    }
    m_joined = xmlNodeListGetString(doc, children, 1);
    m_text = m_joined;
}

std::optional<QString> readText(xmlNodePtr node)
{
    const NodeText text(node);
    if (!text.hasText())
        return std::nullopt;
    return QString::fromUtf8(text.bytes());
}

double leadingNumber(QByteArrayView text)
{
    const char* p = text.data();
    const char* end = p + text.size();
    while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r')))
        ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    const char* digits = p;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    while (p < end && isDigit(*p))
        ++p;
    bool any = p > digits;
    if (p < end && *p == '.') {
        const char* frac = ++p;
        while (p < end && isDigit(*p))
            ++p;
        any = any || p > frac;
    }
    if (!any)
        return 0.0;
    if (p < end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        if (q < end && (*q == '+' || *q == '-'))
            ++q;
        if (q < end && isDigit(*q)) {
            while (q < end && isDigit(*q))
                ++q;
            p = q;
        }
    }
    double value = 0.0;
    std::from_chars(digits, p, value, std::chars_format::general);
    return negative ? -value : value;
}

QString base64Encoding(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toBase64());
}

static const std::array<unsigned char, 256>& base64DecodeTable()
{
    static std::array<unsigned char, 256> table;
    static std::once_flag once;
    std::call_once(once, [] {
        table.fill(127);
        const char* alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            table[static_cast<unsigned char>(alphabet[i])] = static_cast<unsigned char>(i);
    });
    return table;
}

std::optional<QByteArray> dataWithBase64EncodedString(const QString& text)
{
    return dataWithBase64EncodedUtf8(text.toUtf8());
}

std::optional<QByteArray> dataWithBase64EncodedUtf8(QByteArrayView text)
{
    const auto& table = base64DecodeTable();
    QByteArray out;
    out.reserve(text.size() / 4 * 3 + 3);
    unsigned char group[4];
    int count = 0;
    for (const char byte : text) {
        const unsigned char c = static_cast<unsigned char>(byte);
        if (c > 0x7F)
            return std::nullopt;
        if (c == '=' || c == ' ' || (c >= '\t' && c <= '\r'))
            continue;
        const unsigned char v = table[c];
        if (v == 127)
            return std::nullopt;
        group[count++] = v;
        if (count == 4) {
            out.append(char(group[0] << 2 | group[1] >> 4));
            out.append(char(group[1] << 4 | group[2] >> 2));
            out.append(char(group[2] << 6 | group[3]));
            count = 0;
        }
    }
    if (count == 1)
        return std::nullopt;
    if (count >= 2)
        out.append(char(group[0] << 2 | group[1] >> 4));
    if (count == 3)
        out.append(char(group[1] << 4 | group[2] >> 2));
    return out;
}

std::optional<Codec> codecNamed(const QString& className)
{
    if (className == QLatin1String("NSString"))
        return Codec::String;
    if (className == QLatin1String("NSNumber"))
        return Codec::Number;
    if (className == QLatin1String("NSDate"))
        return Codec::Date;
    if (className == QLatin1String("NSData"))
        return Codec::Data;
    if (className == QLatin1String("USBoolean"))
        return Codec::Boolean;
    return std::nullopt;
}

SoapValue decodeCodec(Codec codec, xmlNodePtr node)
{
    // Only a text value becomes a string: the other kinds are read from the document's bytes.
    const NodeText text(node);
    if (!text.hasText())
        return codec == Codec::Number ? SoapValue(0.0) : SoapValue();
    switch (codec) {
    case Codec::String: return SoapValue(QString::fromUtf8(text.bytes()));
    case Codec::Number: return SoapValue(leadingNumber(text.bytes()));
    case Codec::Date: {
        const auto date = dateWithUtf8String(text.bytes());
        return date ? SoapValue(*date) : SoapValue();
    }
    case Codec::Data: {
        const auto bytes = dataWithBase64EncodedUtf8(text.bytes());
        return bytes ? SoapValue(*bytes) : SoapValue();
    }
    case Codec::Boolean:
        if (text.bytes() == "true")
            return SoapValue(USBoolean(true));
        if (text.bytes() == "false")
            return SoapValue(USBoolean(false));
        return SoapValue();
    }
    return SoapValue();
}

std::optional<SoapValue> decodeCodecClass(const QString& className, xmlNodePtr node)
{
    const std::optional<Codec> codec = codecNamed(className);
    if (!codec)
        return std::nullopt;
    return decodeCodec(*codec, node);
}
}
