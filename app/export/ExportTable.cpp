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
    m_values.resize(2 * m_columns.size());
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

void ExportTable::appendRow(QString* text, const QVariant* const* values)
{
    for (size_t c = 0; c < m_keys.size(); ++c) {
        if (c > 0)
            text->append(m_separator);
        const QVariant* value = values[c];
        if (!value)
            continue;
        const int type = value->typeId();
        if (type == QMetaType::QString)
            appendExportCell(text, *static_cast<const QString*>(value->constData()), m_separator);
        else if (type == QMetaType::QDateTime || type == QMetaType::QDate)
            appendExportCell(text, m_dates.text(*value), m_separator);
        else
            appendExportCell(text, exportValueText(*value), m_separator);
    }
    text->append(QLatin1Char('\n'));
}

template <typename Cards> bool ExportTable::writeFileOf(const Cards& cards, const ExportPieceWriter& write)
{
    QString text;
    text.reserve(kPieceBytes / 2 + kPieceBytes / 8);
    text.append(QChar(QChar::ByteOrderMark));
    appendTitle(&text);
    const size_t columns = m_keys.size();
    const QVariant** current = m_values.data();
    const QVariant** next = m_values.data() + columns;
    if (!cards.isEmpty())
        findValues(cards.at(0), current);
    for (qsizetype i = 0; i < cards.size(); ++i) {
        // The next card's texts are asked for before this card's row is written, so that reading
        // them from memory overlaps the writing.
        if (i + 1 < cards.size()) {
            findValues(cards.at(i + 1), next);
            prefetchTexts(next);
        }
        appendRow(&text, current);
        std::swap(current, next);
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
