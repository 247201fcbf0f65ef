#include "app/ui/logic/CardListColumns.h"

#include "app/core/VersionUtilities.h"

namespace CardListColumns {

const QList<Column>& columns()
{
    static const QList<Column> table = {
        {0x0001, 0, "full_Name", "IDS_FULL_NAME", Cell::Matter, 64},
        {0x0002, 1, "full_Name_Kana", "IDS_FULL_NAME_KANA", Cell::Matter, 64},
        {0x0004, 2, "company", "IDS_COMPANY", Cell::Matter, 128},
        {0x0008, 3, "company_Kana", "IDS_COMPANY_KANA", Cell::Matter, 128},
        {0x0010, 4, "department", "IDS_DEPARTMENT", Cell::Matter, 128},
        {0x0020, 5, "job_Title", "IDS_JOB_TITLE", Cell::Matter, 128},
        {0x0040, 6, "zip_PostalCode", "IDS_ZIP_POSTALCODE", Cell::Matter, 40},
        {0x0080, 7, "address", "IDS_ADDRESS", Cell::CardMatter, 255},
        {0x0100, 8, "country", "IDS_COUNTRY", Cell::Matter, 64},
        {0x0200, 9, "telephone_Number", "IDS_TELEPHONE_NUMBER", Cell::Matter, 40},
        {0x0400, 10, "fax_Number", "IDS_FAX_NUMBER", Cell::Matter, 40},
        {0x0800, 11, "mobile_Number", "IDS_MOBILE_NUMBER", Cell::Matter, 40},
        {0x1000, 12, "e_Mail", "IDS_E_MAIL", Cell::Matter, 128},
        {0x2000, 13, "web_Page_Address", "IDS_WEB_PAGE_ADDRESS", Cell::Matter, 128},
        {0x4000, 14, "memo", "IDS_MEMO", Cell::CardMatter, 256},
        {0x8000, 15, "register_Date", "IDS_REGISTER_DATE", Cell::Date, 0},
    };
    return table;
}

const Column* columnWithAttribute(const QString& attribute)
{
    for (const Column& column : columns()) {
        if (attribute == QLatin1String(column.attribute))
            return &column;
    }
    return nullptr;
}

const Column* columnWithTag(int tag)
{
    return tag >= 0 && tag < columns().size() ? &columns()[tag] : nullptr;
}

bool isOffered(const Column& column, int displayMode)
{
    if (column.tag == 1)
        return displayMode & kDisplayModeFullNameKanaBit;
    if (column.tag == 3)
        return displayMode & kDisplayModeCompanyKanaBit;
    return true;
}

QList<Stored> storedColumns(const PlistValue& preference, int displayMode)
{
    QList<Stored> stored;
    quint32 mask = 0;
    for (const PlistValue& entry : preference.toArray()) {
        const Column* column = columnWithAttribute(entry.value(QStringLiteral("identify")).toString());
        if (!column || !isOffered(*column, displayMode) || (mask & column->bit))
            continue;
        mask |= column->bit;
        const PlistValue size = entry.value(QStringLiteral("size"));
        const double width = size.isNumber() ? size.toReal() : kNewColumnWidth;
        stored.append({QString::fromLatin1(column->attribute), width >= kMinWidth ? qMin(width, kMaxWidth) : kMinWidth});
    }
    if (stored.isEmpty()) {
        for (const char* attribute : {"full_Name", "company", "telephone_Number", "e_Mail"})
            stored.append({QString::fromLatin1(attribute), kNewColumnWidth});
    }
    return stored;
}

quint32 maskOf(const QList<Stored>& stored)
{
    quint32 mask = 0;
    for (const Stored& entry : stored) {
        if (const Column* column = columnWithAttribute(entry.attribute))
            mask |= column->bit;
    }
    return mask;
}

PlistValue columnInfo(const QList<Stored>& stored)
{
    PlistValue::Array info;
    for (const Stored& entry : stored) {
        PlistValue::Dictionary column;
        column.insert(QStringLiteral("identify"), entry.attribute);
        column.insert(QStringLiteral("size"), entry.size);
        info.append(column);
    }
    return info;
}

QList<SortDescriptor> defaultSort()
{
    return {{QString::fromLatin1(kAcceptDate), false}};
}

QList<SortDescriptor> afterHeaderClick(const QList<SortDescriptor>& current, const QString& attribute)
{
    // An unsorted table sorts by the first click, as every other first click does.
    if (current.isEmpty())
        return {{attribute, true}};
    QList<SortDescriptor> table = current;
    if (!table.isEmpty() && table.first().key == attribute) {
        table.first().ascending = !table.first().ascending;
    } else {
        table.removeIf([&](const SortDescriptor& d) { return d.key == attribute; });
        table.prepend({attribute, true});
    }
    if (table.size() == 1)
        return table.first().ascending ? defaultSort() : QList<SortDescriptor>{{attribute, false}};
    return {{attribute, true}};
}

QList<SortDescriptor> afterColumnRemoved(const QList<SortDescriptor>& current, const QString& attribute)
{
    return current.isEmpty() || current.first().key == attribute ? defaultSort() : current;
}

} // namespace CardListColumns
