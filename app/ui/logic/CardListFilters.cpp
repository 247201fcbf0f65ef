#include "app/ui/logic/CardListFilters.h"

#include "app/core/CardTrashFlag.h"
#include "app/core/VersionUtilities.h"

namespace CardListFilters {

namespace {

const QString kFolderID = QStringLiteral("folder_ID");
const QString kDeletedFlag = QStringLiteral("deletedFlag");

QString folderOf(const ListRow& card)
{
    return card.stringValue(kFolderID);
}

bool isDeleted(const ListRow& card)
{
    return isDeletedFlag(card.value(kDeletedFlag));
}

} // namespace

RowPredicate trashFilter()
{
    return isDeleted;
}

RowPredicate cardListFilter(const Folder& folder)
{
    if (!folder.selected)
        return [](const ListRow& card) { return !isDeleted(card); };
    if (folder.folderType == 1)
        return [](const ListRow& card) { return !isDeleted(card) && !card.value(kFolderID).isNull(); };
    return [id = folder.folderID](const ListRow& card) { return !isDeleted(card) && folderOf(card) == id; };
}

QStringList searchAttributes(int scopeTag, int displayMode)
{
    static const char* const kScoped[] = {"full_Name", "company", "full_Name_Kana", "company_Kana", "department",
                                          "job_Title", "zip_PostalCode", "address", "country", "telephone_Number",
                                          "fax_Number", "mobile_Number", "e_Mail", "web_Page_Address"};
    if (scopeTag == 16) {
        QStringList all{QStringLiteral("full_Name")};
        if (displayMode & kDisplayModeFullNameKanaBit)
            all << QStringLiteral("full_Name_Kana");
        all << QStringLiteral("company");
        if (displayMode & kDisplayModeCompanyKanaBit)
            all << QStringLiteral("company_Kana");
        for (const char* key : {"job_Title", "telephone_Number", "fax_Number", "zip_PostalCode", "address", "e_Mail",
                                "web_Page_Address", "department", "memo", "mobile_Number", "country"})
            all << QString::fromLatin1(key);
        return all;
    }
    if (scopeTag >= 17 && scopeTag <= 30)
        return {QString::fromLatin1(kScoped[scopeTag - 17])};
    if (scopeTag == 15)
        return {QStringLiteral("memo")};
    return {};
}

bool containsText(const ListRow& card, const QStringList& attributes, const QString& text)
{
    for (const QString& attribute : attributes) {
        if (card.stringValue(attribute).contains(text, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

SearchFilters searchFilters(const Folder& folder, const QString& text, int scopeTag, int displayMode)
{
    const QStringList attributes = searchAttributes(scopeTag, displayMode);
    const QString folderID = folder.selected && folder.folderType != 1 ? folder.folderID : QString();
    const bool byFolder = folder.selected && folder.folderType != 1;
    return {[=](const ListRow& card) {
                return !isDeleted(card) && (!byFolder || folderOf(card) == folderID) && containsText(card, attributes, text);
            },
            [=](const ListRow& card) { return isDeleted(card) && containsText(card, attributes, text); }};
}

} // namespace CardListFilters
