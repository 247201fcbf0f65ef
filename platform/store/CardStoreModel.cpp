#include "platform/store/CardStoreModel.h"

namespace CardStore {
namespace {

using T = AttributeType;

AttributeDescription text(const char* name, int maxLength)
{
    AttributeDescription a = attr(QLatin1String(name));
    a.maxLength = maxLength;
    return a;
}

QList<AttributeDescription> cardAttributes(bool current)
{
    QList<AttributeDescription> list = {
        attr("cardID"), attr("scanNow", T::Integer16), attr("status", T::Integer16),
        attr("deletedFlag", T::Integer16), attr("connected", T::Integer16),
        text("prefix_Name", kCardNameLimit), text("first_Name", kCardNameLimit), text("middle_Name", kCardNameLimit),
        text("family_Name", kCardNameLimit), text("suffix_Name", kCardNameLimit), text("full_Name", kCardNameLimit),
        text("prefix_Name_Kana", kCardNameLimit), text("first_Name_Kana", kCardNameLimit),
        text("middle_Name_Kana", kCardNameLimit), text("family_Name_Kana", kCardNameLimit),
        text("suffix_Name_Kana", kCardNameLimit), text("full_Name_Kana", kCardNameLimit),
        text("company", kCardNameLimit), text("company_Kana", kCardNameLimit), text("job_Title", kCardNameLimit),
        text("department", kCardNameLimit),
        text("zip_PostalCode", kCardFieldLimit), text("country", kCardFieldLimit), text("address", kCardFieldLimit),
        text("city", kCardFieldLimit), text("state", kCardFieldLimit), text("street", kCardFieldLimit),
        text("telephone_Number", kCardFieldLimit), text("fax_Number", kCardFieldLimit),
        text("mobile_Number", kCardFieldLimit), text("e_Mail", kCardFieldLimit),
        text("web_Page_Address", kCardFieldLimit), text("memo", kCardMemoLimit),
        attr("full_Name_XY"), attr("company_XY"), attr("job_Title_XY"), attr("department_XY"),
        attr("zip_PostalCode_XY"), attr("address_XY"), attr("telephone_Number_XY"), attr("fax_Number_XY"),
        attr("mobile_Number_XY"), attr("e_Mail_XY"), attr("web_Page_Address_XY"), attr("memo_XY"),
        attr("update_Date", T::Date), attr("accept_Date", T::Date), attr("register_Date", T::Date),
        attr("face_Image_File"), attr("back_Image_File"), attr("other_Image_File"),
        attr("face_Image_Page", T::Integer16), attr("back_Image_page", T::Integer16),
        attr("other_Image_Page", T::Integer16),
        attr("select"), attr("check"),
        attr("syncID"), attr("sync_Phone_work"), attr("sync_Phone_Mobile"), attr("sync_Phone_Fax"),
        attr("sync_Street"), attr("sync_Email"), attr("sync_URL"),
        attr("groupID"), attr("countryID"), attr("short_Cut"),
        attr("flag1"), attr("flag2"),
    };
    if (current) {
        list.append(attr("input_Type", T::Integer16));
        list.append(attr("previous_Creator"));
        list.append(attr("fixed_Flag", T::Integer16));
        list.append(attr("folder_ID"));
    }
    return list;
}

QList<EntityDescription> fourEntities(bool current)
{
    return {
        EntityDescription(kEntityCard, cardAttributes(current)),
        EntityDescription(kEntityCardBelong,
                          {attr("folder_ID"), attr("cardID"), toOne("ToCardRelation", kEntityCard),
                           attr("folder1_Name"), attr("folder2_Name"), attr("folder3_Name"), attr("folder4_Name")}),
        EntityDescription(kEntityFolder,
                          {attr("folder_ID"), attr("folder_Type", T::Integer16), attr("folder_Level", T::Integer16),
                           attr("folder_Name"), attr("folder_Parent")}),
        EntityDescription(kEntityVersion,
                          {attr("database_name"), attr("database_version", T::Integer16), attr("product_VL"),
                           attr("product_OS"), attr("create_Date", T::Date), attr("update_Date", T::Date),
                           attr("Sel_Folder_ID"), attr("Sel_Card_ID")}),
    };
}

// The card's own copy of its folder came after the stores in use: it is taken from the CardBelong.
const ColumnAddition kCardFolderColumn{QString::fromLatin1(kEntityCard), QStringLiteral("folder_ID"),
    "UPDATE ZCARD SET ZFOLDER_ID = (SELECT ZFOLDER_ID FROM ZCARDBELONG WHERE ZCARDBELONG.ZTOCARDRELATION = ZCARD.Z_PK "
    "OR (ZCARDBELONG.ZTOCARDRELATION IS NULL AND ZCARDBELONG.ZCARDID = ZCARD.ZCARDID) ORDER BY ZCARDBELONG.Z_PK LIMIT 1)"};

} // namespace

const ManagedObjectModel& currentModel()
{
    static const ManagedObjectModel model(fourEntities(true), {kCardFolderColumn});
    return model;
}

const ManagedObjectModel& olderModel()
{
    static const ManagedObjectModel model(fourEntities(false));
    return model;
}

const ManagedObjectModel& cardOnlyModel()
{
    static const ManagedObjectModel model({EntityDescription(kEntityCard, cardAttributes(false))});
    return model;
}

int cardValueLimit(const QString& attribute)
{
    const EntityDescription* card = currentModel().entity(QLatin1String(kEntityCard));
    const int index = card->indexOf(attribute);
    return index < 0 ? 0 : card->attribute(index).maxLength;
}

QStringList cardAttributeNamesOfEveryVersion()
{
    return cardOnlyModel().entity(kEntityCard)->attributeNames();
}

} // namespace CardStore
