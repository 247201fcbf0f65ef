#include "app/ui/logic/SearchMenuItems.h"

namespace SearchMenuItems {

QList<Entry> creatSearchMenu(int displayMask)
{
    struct Column {
        int bit;
        const char* titleKey;
        int tag;
    };
    static const Column kColumns[] = {
        {0x1, "IDS_FULL_NAME", 17},       {0x2, "IDS_FULL_NAME_KANA", 19},      {0x4, "IDS_COMPANY", 18},
        {0x8, "IDS_COMPANY_KANA", 20},    {0x10, "IDS_DEPARTMENT", 21},         {0x20, "IDS_JOB_TITLE", 22},
        {0x40, "IDS_ZIP_POSTALCODE", 23}, {0x80, "IDS_ADDRESS", 24},            {0x100, "IDS_COUNTRY", 25},
        {0x200, "IDS_TELEPHONE_NUMBER", 26}, {0x400, "IDS_FAX_NUMBER", 27},     {0x800, "IDS_MOBILE_NUMBER", 28},
        {0x1000, "IDS_E_MAIL", 29},       {0x2000, "IDS_WEB_PAGE_ADDRESS", 30}, {0x4000, "IDS_MEMO", 15},
    };
    QList<Entry> entries{{"IDS_ALL", kAllTag, true}};
    for (const Column& column : kColumns) {
        if (displayMask & column.bit)
            entries.append({column.titleKey, column.tag, false});
    }
    return entries;
}

} // namespace SearchMenuItems
