#include "app/images/CardDictionary.h"

#include <QDateTime>

namespace {

const QString kAcceptDate = QStringLiteral("accept_Date");
const QString kFacePage = QStringLiteral("face_Image_Page");
const QString kBackPage = QStringLiteral("back_Image_page");

} // namespace

const QStringList& cardDictionaryKeys()
{
    static const QStringList keys = {
        "cardID", "scanNow", "status", "deletedFlag", "connected",
        "prefix_Name", "prefix_Name_Kana", "first_Name", "first_Name_Kana", "middle_Name", "middle_Name_Kana",
        "family_Name", "family_Name_Kana", "suffix_Name", "suffix_Name_Kana",
        "full_Name", "full_Name_XY", "full_Name_Kana", "company", "company_XY", "company_Kana",
        "job_Title", "job_Title_XY", "department", "department_XY",
        "zip_PostalCode", "zip_PostalCode_XY", "country", "address", "city", "state", "street", "address_XY",
        "telephone_Number", "telephone_Number_XY", "fax_Number", "fax_Number_XY", "mobile_Number",
        "mobile_Number_XY", "e_Mail", "e_Mail_XY", "web_Page_Address", "web_Page_Address_XY", "memo", "memo_XY",
        "update_Date", "accept_Date", "register_Date",
        "face_Image_File", "face_Image_Page", "back_Image_File", "back_Image_page", "other_Image_File",
        "other_Image_Page",
        "select", "check",
        "syncID", "sync_Email", "sync_Phone_Mobile", "sync_Phone_work", "sync_Phone_Fax", "sync_Street", "sync_URL",
        "groupID", "countryID", "short_Cut", "flag1", "flag2",
    };
    return keys;
}

CardDict setDataDictToDict(const CardRecord& card)
{
    CardDict dict;
    for (const QString& key : cardDictionaryKeys()) {
        QVariant value = card.valueForKey(key);
        if (value.isValid() && !value.isNull())
            dict.insert(key, value);
        else if (key == kAcceptDate)
            dict.insert(key, QDateTime::currentDateTime());
        else if (key == kFacePage || key == kBackPage)
            dict.insert(key, QVariant::fromValue<qint16>(0));
        else
            dict.insert(key, QString(QLatin1String("")));
    }
    return dict;
}
