#include "app/export/ExportTable.h"

#include "app/core/LocalString.h"
#include "app/export/ExportCell.h"
#include "app/export/ExportItemMask.h"
#include "app/export/ExportText.h"

#include <QSysInfo>
#include <QtEndian>

#include <algorithm>

namespace {

struct Column {
    uint32_t bit;
    const char* title;
    const char* key;
};

const Column kColumns[] = {
    {exportitem::kFullName, "IDS_FULL_NAME", "full_Name"},
    {exportitem::kNameReading, "IDS_FULL_NAME_KANA", "full_Name_Kana"},
    {exportitem::kCompany, "IDS_COMPANY", "company"},
    {exportitem::kCompanyReading, "IDS_COMPANY_KANA", "company_Kana"},
    {exportitem::kDepartment, "IDS_DEPARTMENT", "department"},
    {exportitem::kJobTitle, "IDS_JOB_TITLE", "job_Title"},
    {exportitem::kPostalCode, "IDS_ZIP_POSTALCODE", "zip_PostalCode"},
    {exportitem::kAddress, "IDS_ADDRESS", "address"},
    {exportitem::kCountry, "IDS_COUNTRY", "country"},
    {exportitem::kTelephone, "IDS_TELEPHONE_NUMBER", "telephone_Number"},
    {exportitem::kFax, "IDS_FAX_NUMBER", "fax_Number"},
    {exportitem::kMobile, "IDS_MOBILE_NUMBER", "mobile_Number"},
    {exportitem::kEmail, "IDS_E_MAIL", "e_Mail"},
    {exportitem::kWebPage, "IDS_WEB_PAGE_ADDRESS", "web_Page_Address"},
    {exportitem::kMemo, "IDS_MEMO", "memo"},
    {exportitem::kRegisterDate, "IDS_REGISTER_DATE", "register_Date"},
};

} // namespace

ExportTable::ExportTable(uint32_t mask, QChar separator) : m_separator(separator)
{
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        if (!(mask & kColumns[i].bit))
            continue;
        m_columns.push_back(i);
        m_keys.push_back(QString::fromLatin1(kColumns[i].key));
    }
    m_values.resize((kAhead + 1) * m_columns.size());
    m_cells.resize(m_columns.size());
    m_texts.resize(m_columns.size());
}

void ExportTable::appendTitle(QString* text) const
{
    for (size_t c = 0; c < m_columns.size(); ++c) {
        if (c > 0)
            text->append(m_separator);
        appendExportCell(text, getLocalString(QString::fromLatin1(kColumns[m_columns[c]].title)), m_separator);
    }
    text->append(QLatin1Char('\n'));
}

void ExportTable::findValues(const ManagedObjectPtr& card, const QVariant** values)
{
    if (&card->entity() != m_entity) {
        m_entity = &card->entity();
        m_attributes.clear();
        for (const QString& key : m_keys)
            m_attributes.push_back(m_entity->indexOf(key));
    }
    // Reading a value the list's lighter fetch left unread may move the card's other values, so
    // every value is read before any is held on to.
    for (const int attribute : m_attributes) {
        if (attribute >= 0)
            card->value(attribute);
    }
    for (size_t c = 0; c < m_keys.size(); ++c)
        values[c] = m_attributes[c] < 0 ? nullptr : &card->value(m_attributes[c]);
}

void ExportTable::findValues(const CardDict& card, const QVariant** values)
{
    for (size_t c = 0; c < m_keys.size(); ++c) {
        const auto found = card.constFind(m_keys[c]);
        values[c] = found == card.cend() ? nullptr : &found.value();
    }
}

void ExportTable::prefetchTexts(const QVariant* const* values) const
{
    for (size_t c = 0; c < m_keys.size(); ++c) {
        if (values[c] && values[c]->typeId() == QMetaType::QString)
            __builtin_prefetch(static_cast<const QString*>(values[c]->constData())->constData());
    }
}

QStringView ExportTable::cellText(const QVariant* value, size_t column)
{
    if (!value)
        return {};
    const int type = value->typeId();
    if (type == QMetaType::QString)
        return *static_cast<const QString*>(value->constData());
    QString& text = m_texts[column];
    if (type == QMetaType::QDateTime || type == QMetaType::QDate) {
        text.resize(0);
        text.append(m_dates.text(*value));
    } else {
        text = exportValueText(*value);
    }
    return text;
}

void ExportTable::appendRow(QString* text, const QVariant* const* values)
{
    // Room for the row at its longest is made once; the cells are then written straight into it.
    qsizetype room = 0;
    for (size_t c = 0; c < m_keys.size(); ++c) {
        m_cells[c] = cellText(values[c], c);
        room += exportCellRoom(m_cells[c].size()) + 1; // and its separator or the line feed
    }
    const qsizetype start = text->size();
    if (text->capacity() < start + room)
        text->reserve(std::max(2 * text->capacity(), start + room));
    text->resize(start + room);
    char16_t* const first = reinterpret_cast<char16_t*>(text->data());
    char16_t* out = first + start;
    const char16_t separator = m_separator.unicode();
    for (size_t c = 0; c < m_keys.size(); ++c) {
        if (c > 0)
            *out++ = separator;
        out = writeExportCell(out, m_cells[c], separator);
    }
    *out++ = u'\n';
    text->resize(out - first);
}

template <typename Cards> bool ExportTable::writeFileOf(const Cards& cards, const ExportPieceWriter& write)
{
    QString text;
    text.reserve(kPieceBytes / 2 + kPieceBytes / 8);
    text.append(QChar(QChar::ByteOrderMark));
    appendTitle(&text);
    // The values of the cards kAhead after the one written are found, and their texts asked for,
    // so that reading them from memory overlaps the writing of the rows before.
    const size_t columns = m_keys.size();
    const auto row = [&](qsizetype i) { return m_values.data() + size_t(i % (kAhead + 1)) * columns; };
    for (qsizetype i = 0; i < std::min<qsizetype>(kAhead, cards.size()); ++i) {
        findValues(cards.at(i), row(i));
        prefetchTexts(row(i));
    }
    for (qsizetype i = 0; i < cards.size(); ++i) {
        if (i + kAhead < cards.size()) {
            findValues(cards.at(i + kAhead), row(i + kAhead));
            prefetchTexts(row(i + kAhead));
        }
        appendRow(&text, row(i));
        if (text.size() * 2 >= kPieceBytes && !handOn(&text, write))
            return false;
    }
    return handOn(&text, write);
}

bool ExportTable::writeFile(const ManagedObjectList& cards, const ExportPieceWriter& write)
{
    return writeFileOf(cards, write);
}

bool ExportTable::writeFile(const QList<CardDict>& cards, const ExportPieceWriter& write)
{
    return writeFileOf(cards, write);
}

bool ExportTable::handOn(QString* text, const ExportPieceWriter& write)
{
    QByteArrayView bytes;
    if constexpr (QSysInfo::ByteOrder == QSysInfo::LittleEndian) {
        bytes = QByteArrayView(reinterpret_cast<const char*>(text->utf16()), text->size() * 2);
    } else {
        m_bytes.resize(text->size() * 2);
        qToLittleEndian<char16_t>(text->utf16(), text->size(), m_bytes.data());
        bytes = m_bytes;
    }
    const bool taken = write(bytes);
    text->resize(0);
    return taken;
}
