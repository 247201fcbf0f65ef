// One card as read from the card file handed over by the host.
#pragma once

#include <QString>

class CardInfo {
public:
    int SerialID = -1;  // position in the card file, from 0
    QString PersonID;   // the card's identifier in the host
    QString FullName;
    QString LastName;
    QString MiddleName;
    QString FirstName;
    QString OrganizationName;
    QString Department;
    QString ZipCode;
    QString Prefecture;
    QString Country;
    QString City;
    QString Number;
    QString Phone;
    QString Fax;
    QString WebSite;
    QString JobTitle;
    QString Mobile;
    QString Email;
    QString Extension;        // the common memo and the extended text joined
    QString ImageFilePathN1;  // the face image PDF
    QString ImageFilePathN2;  // the back image; the card file never names one
    bool NeedUpload = true;
    bool UploadedAsContact = false;
    bool UploadedAsLead = false;
};
