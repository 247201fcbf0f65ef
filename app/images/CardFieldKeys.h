// Card attribute names that recognition and the edit split write.
#pragma once

#include <QString>

namespace cardkey {
inline const QString kFullName = QStringLiteral("full_Name");
inline const QString kFullNameKana = QStringLiteral("full_Name_Kana");
inline const QString kFirstName = QStringLiteral("first_Name");
inline const QString kMiddleName = QStringLiteral("middle_Name");
inline const QString kFamilyName = QStringLiteral("family_Name");
inline const QString kSuffixName = QStringLiteral("suffix_Name");
inline const QString kPrefixName = QStringLiteral("prefix_Name");
inline const QString kFirstNameKana = QStringLiteral("first_Name_Kana");
inline const QString kMiddleNameKana = QStringLiteral("middle_Name_Kana");
inline const QString kFamilyNameKana = QStringLiteral("family_Name_Kana");
inline const QString kSuffixNameKana = QStringLiteral("suffix_Name_Kana");
inline const QString kPrefixNameKana = QStringLiteral("prefix_Name_Kana");
inline const QString kJobTitle = QStringLiteral("job_Title");
inline const QString kTelephone = QStringLiteral("telephone_Number");
inline const QString kFax = QStringLiteral("fax_Number");
inline const QString kPostalCode = QStringLiteral("zip_PostalCode");
inline const QString kAddress = QStringLiteral("address");
inline const QString kState = QStringLiteral("state");
inline const QString kCity = QStringLiteral("city");
inline const QString kStreet = QStringLiteral("street");
inline const QString kCountry = QStringLiteral("country");
inline const QString kEmail = QStringLiteral("e_Mail");
inline const QString kWebPage = QStringLiteral("web_Page_Address");
inline const QString kCompany = QStringLiteral("company");
inline const QString kCompanyKana = QStringLiteral("company_Kana");
inline const QString kDepartment = QStringLiteral("department");
inline const QString kMemo = QStringLiteral("memo");
inline const QString kMobile = QStringLiteral("mobile_Number");
inline const QString kFaceImageFile = QStringLiteral("face_Image_File");
inline const QString kBackImageFile = QStringLiteral("back_Image_File");
inline const QString kSyncEmail = QStringLiteral("sync_Email");
inline const QString kSyncUrl = QStringLiteral("sync_URL");
inline const QString kSyncPhoneWork = QStringLiteral("sync_Phone_work");
inline const QString kSyncPhoneMobile = QStringLiteral("sync_Phone_Mobile");
inline const QString kSyncPhoneFax = QStringLiteral("sync_Phone_Fax");
inline const QString kSyncStreet = QStringLiteral("sync_Street");
// The rectangle of a field on the card image: the field's name followed by this.
inline const QString kRectSuffix = QStringLiteral("_XY");
inline const QString kReadingSuffix = QStringLiteral("_Kana");
} // namespace cardkey
