#include "app/export/ContactXmlFile.h"

#include "app/core/VersionUtilities.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"
#include "app/export/PLExporter.h"
#include "app/images/CardFieldKeys.h"

#include <QDate>
#include <QSysInfo>
#include <QtEndian>

using namespace exportitem;

namespace {

const char kContactXmlNamespace[] = "http://www.xmlns.org/2002/ContactXML";
const char kCreatorBase[] = "http://www.orvane.com/Pelmora/";

enum class Escape { Text, Attribute };

// Which characters below '?' a run of text or of an attribute value takes as they are: the rest
// are escaped as the XML library escapes them, or dropped as cleanExportText() drops them.
constexpr bool plainBelow(char16_t c, Escape escape)
{
    if (c == u'<' || c == u'>' || c == u'&')
        return false;
    if (escape == Escape::Attribute)
        return c >= 0x20 && c != u'"';
    return c >= 0x20 || c == u'\t' || c == u'\n';
}

struct PlainTable {
    bool text[0x40];
    bool attribute[0x40];
};

constexpr PlainTable makePlainTable()
{
    PlainTable table{};
    for (char16_t c = 0; c < 0x40; ++c) {
        table.text[c] = plainBelow(c, Escape::Text);
        table.attribute[c] = plainBelow(c, Escape::Attribute);
    }
    return table;
}

constexpr PlainTable kPlain = makePlainTable();

// Appends `value` escaped, without its control characters and with U+FFFD for each half of a
// broken surrogate pair: plain runs go over in one piece.
void appendEscaped(QString* out, QStringView value, Escape escape)
{
    const bool* plain = escape == Escape::Text ? kPlain.text : kPlain.attribute;
    const char16_t* p = value.utf16();
    const char16_t* const end = p + value.size();
    while (p < end) {
        const char16_t* run = p;
        while (p < end && (*p >= 0x40 ? (*p < 0xD800 || (*p >= 0xE000 && *p < 0xFFFE)) : plain[*p]))
            ++p;
        if (p > run)
            out->append(QStringView(run, p));
        if (p == end)
            break;
        const char16_t c = *p++;
        switch (c) {
        case u'<': out->append(u"&lt;"); break;
        case u'>': out->append(u"&gt;"); break;
        case u'&': out->append(u"&amp;"); break;
        case u'"': out->append(u"&quot;"); break;
        case u'\r': out->append(u"&#13;"); break;
        case u'\n': out->append(u"&#10;"); break;
        case u'\t': out->append(u"&#9;"); break;
        default:
            if (QChar::isHighSurrogate(c) && p < end && QChar::isLowSurrogate(*p)) {
                out->append(QChar(c));
                out->append(QChar(*p++));
            } else if (QChar::isSurrogate(c)) {
                out->append(QChar(QChar::ReplacementCharacter));
            }
            // Other control characters and U+FFFE/U+FFFF are dropped.
        }
    }
}

QString indent(int level)
{
    return QString(2 * level, QLatin1Char(' '));
}

QString langAttributes(const QString& lang, const char* more = "")
{
    return QStringLiteral(" xml:lang=\"%1\"").arg(lang) + QString::fromLatin1(more);
}

} // namespace

ContactXmlFile::ContactXmlFile(uint32_t mask) : m_mask(mask)
{
    const QString lang = PLExporter::langValueForXML();
    m_head = QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<ContactXML xmlns=\"%1\" version=\"1.1\" creator=\"")
                 .arg(QLatin1String(kContactXmlNamespace));
    appendEscaped(&m_head, QString(QLatin1String(kCreatorBase) + getCurrentPLVersion()), Escape::Attribute);
    m_head += QStringLiteral("\">\n");
    m_today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));

    const auto container = [](int level, const char* name, const QString& attributes) {
        return Container{indent(level) + QLatin1Char('<') + QLatin1String(name) + attributes,
                         indent(level) + QStringLiteral("</") + QLatin1String(name) + QStringLiteral(">\n"),
                         {}};
    };
    const auto leaf = [](int level, const char* name, uint32_t bit, const QString& key, const QString& attributes, uint32_t readingBit = 0,
                         const QString& readingKey = QString()) {
        return Leaf{bit,
                    key,
                    indent(level) + QLatin1Char('<') + QLatin1String(name) + attributes,
                    QStringLiteral("</") + QLatin1String(name) + QStringLiteral(">\n"),
                    readingBit,
                    readingKey};
    };
    const QString none;
    const QString langOnly = langAttributes(lang);
    const auto official = [](const char* more) { return QStringLiteral(" usage=\"Official\"") + QLatin1String(more); };

    m_containers = {container(2, "PersonName", none), container(2, "Address", none), container(2, "Occupation", none),
                    container(2, "Phone", none),      container(2, "Email", none),   container(2, "Web", none),
                    container(2, "Extension", none)};
    m_items = {container(3, "PersonNameItem", langOnly), container(3, "AddressItem", QStringLiteral(" locationType=\"Office\"")),
               container(3, "OccupationItem", langOnly)};
    m_items[0].leaves = {leaf(4, "FullName", kFullName, cardkey::kFullName, none, kNameReading, cardkey::kFullNameKana),
                         leaf(4, "FirstName", kFullName, cardkey::kFirstName, none, kNameReading, cardkey::kFirstNameKana),
                         leaf(4, "MiddleName", kFullName, cardkey::kMiddleName, none, kNameReading, cardkey::kMiddleNameKana),
                         leaf(4, "LastName", kFullName, cardkey::kFamilyName, none, kNameReading, cardkey::kFamilyNameKana)};
    m_items[1].leaves = {leaf(4, "AddressCode", kPostalCode, cardkey::kPostalCode, QStringLiteral(" codeDomain=\"ZIP7\"")),
                         leaf(4, "FullAddress", kAddress, cardkey::kAddress, langOnly),
                         leaf(4, "AddressLine", kCountry, cardkey::kCountry, langAttributes(lang, " addressLineType=\"Country\"")),
                         leaf(4, "AddressLine", kAddress, cardkey::kState, langAttributes(lang, " addressLineType=\"Prefecture\"")),
                         leaf(4, "AddressLine", kAddress, cardkey::kCity, langAttributes(lang, " addressLineType=\"City\"")),
                         leaf(4, "AddressLine", kAddress, cardkey::kStreet, langAttributes(lang, " addressLineType=\"Number\""))};
    m_items[2].leaves = {leaf(4, "OrganizationName", kCompany, cardkey::kCompany, none, kCompanyReading, cardkey::kCompanyKana),
                         leaf(4, "Department", kDepartment, cardkey::kDepartment, none),
                         leaf(4, "JobTitle", kJobTitle, cardkey::kJobTitle, none)};
    m_containers[3].leaves = {leaf(3, "PhoneItem", kTelephone, cardkey::kTelephone, official(" phoneDevice=\"Phone\"")),
                              leaf(3, "PhoneItem", kFax, cardkey::kFax, official(" phoneDevice=\"Fax\"")),
                              leaf(3, "PhoneItem", kMobile, cardkey::kMobile, official(" phoneDevice=\"Cellular\""))};
    m_containers[4].leaves = {leaf(3, "EmailItem", kEmail, cardkey::kEmail, official(" emailDevice=\"Unknown\""))};
    m_containers[5].leaves = {leaf(3, "WebItem", kWebPage, cardkey::kWebPage, official(""))};
    m_containers[6].leaves = {
        leaf(3, "ExtensionItem", kMemo, cardkey::kMemo, langAttributes(lang, " extensionType=\"Common\" name=\"Memo\""))};
}

QStringView ContactXmlFile::valueText(const CardDict& card, const QString& key)
{
    const auto found = card.constFind(key);
    if (found == card.cend())
        return {};
    const QVariant& value = found.value();
    const int type = value.typeId();
    if (type == QMetaType::QString)
        return *static_cast<const QString*>(value.constData());
    if (type == QMetaType::QDateTime || type == QMetaType::QDate)
        return m_dates.text(value);
    m_other = exportValueText(value);
    return m_other;
}

void ContactXmlFile::appendLeaf(const Leaf& leaf, const CardDict& card)
{
    m_text += leaf.start;
    if (m_mask & leaf.readingBit) {
        m_text += u" pronunciation=\"";
        appendEscaped(&m_text, valueText(card, leaf.readingKey), Escape::Attribute);
        m_text += u'"';
    }
    m_text += u'>';
    const qsizetype content = m_text.size();
    appendEscaped(&m_text, valueText(card, leaf.key), Escape::Text);
    if (m_text.size() == content) {
        m_text.chop(1);
        m_text += u"/>\n";
    } else {
        m_text += leaf.end;
    }
}

void ContactXmlFile::appendCard(const CardDict& card)
{
    m_text += u"  <ContactXMLItem lastModifiedDate=\"";
    const auto registered = card.constFind(QStringLiteral("register_Date"));
    const QStringView date = registered == card.cend() ? QStringView() : m_dates.text(registered.value());
    appendEscaped(&m_text, date.isEmpty() ? QStringView(m_today) : date, Escape::Attribute);
    m_text += u"\">\n";
    // An element with no children is written in its short form, as the XML library writes it.
    const auto appendLeaves = [&](const Container& element) {
        bool open = false;
        for (const Leaf& leaf : element.leaves) {
            if (!(m_mask & leaf.bit))
                continue;
            if (!open) {
                m_text += element.start;
                m_text += u">\n";
                open = true;
            }
            appendLeaf(leaf, card);
        }
        if (open) {
            m_text += element.end;
        } else {
            m_text += element.start;
            m_text += u"/>\n";
        }
    };
    for (size_t c = 0; c < m_containers.size(); ++c) {
        const Container& element = m_containers[c];
        if (c < m_items.size()) {
            m_text += element.start;
            m_text += u">\n";
            appendLeaves(m_items[c]);
            m_text += element.end;
        } else {
            appendLeaves(element);
        }
    }
    m_text += u"  </ContactXMLItem>\n";
}

bool ContactXmlFile::writeFile(const QList<CardDict>& cards, const ExportPieceWriter& write)
{
    m_text.reserve(kPieceBytes / 2 + kPieceBytes / 8);
    m_text.resize(0);
    m_text += QChar(QChar::ByteOrderMark);
    m_text += m_head;
    for (const CardDict& card : cards) {
        appendCard(card);
        if (m_text.size() * 2 >= kPieceBytes && !handOn(write))
            return false;
    }
    m_text += u"</ContactXML>\n";
    return handOn(write);
}

bool ContactXmlFile::handOn(const ExportPieceWriter& write)
{
    QByteArrayView bytes;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        bytes = QByteArrayView(reinterpret_cast<const char*>(m_text.utf16()), m_text.size() * 2);
    } else {
        m_bytes.resize(m_text.size() * 2);
        qToLittleEndian<char16_t>(m_text.utf16(), m_text.size(), m_bytes.data());
        bytes = m_bytes;
    }
    const bool taken = write(bytes);
    m_text.resize(0);
    return taken;
}
