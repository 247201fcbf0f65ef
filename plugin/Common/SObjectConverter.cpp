#include "plugin/Common/SObjectConverter.h"

#include "plugin/Common/CommonFuc.h"
#include "plugin/Common/PdfFunctions.h"

#include <QFile>

namespace {

struct Address {
    QString street;
    QString state;
    QString city;
};

// Street, state and city of a card. A long prefecture with neither city nor street goes into the
// street, cut to `foldedLimit`.
Address addressOf(const CardInfo& card, int foldedLimit, const char* streetKey, const char* stateKey, const char* cityKey,
    QStringList* overLength)
{
    Address address;
    if (card.City.isEmpty() && card.Number.isEmpty()) {
        if (card.Prefecture.size() > 20)
            address.street = SObjectConverter::GetCuttedString(card.Prefecture, foldedLimit, streetKey, overLength);
        else
            address.state = card.Prefecture;
        return address;
    }
    address.street = SObjectConverter::GetCuttedString(card.Number, 255, streetKey, overLength);
    address.state = SObjectConverter::GetCuttedString(card.Prefecture, 20, stateKey, overLength);
    address.city = SObjectConverter::GetCuttedString(card.City, 40, cityKey, overLength);
    return address;
}

std::shared_ptr<ens_Attachment> attachment(const QString& baseName, int page, const QByteArray& body)
{
    auto record = std::make_shared<ens_Attachment>();
    record->setName(QStringLiteral("card_%1_%2.pdf").arg(baseName).arg(page));
    record->setBody(body);
    return record;
}

}

QString SObjectConverter::GetCuttedString(const QString& text, int length, const char* name, QStringList* overLength)
{
    if (text.isNull() || text.size() <= length)
        return text;
    if (name && overLength && !overLength->contains(QLatin1String(name)))
        overLength->append(QString::fromLatin1(name));
    const int end = length > 0 && text.at(length - 1).isHighSurrogate() ? length - 1 : length;
    return text.left(end);
}

std::shared_ptr<ens_Account> SObjectConverter::CardToAccount(const CardInfo& card, QStringList* overLength)
{
    auto account = std::make_shared<ens_Account>();
    account->setName(GetCuttedString(card.OrganizationName, 255, "LTL99031", overLength));
    account->setSite(GetCuttedString(card.Department, 80, "LTL99032", overLength));
    account->setBillingPostalCode(GetCuttedString(card.ZipCode, 20, "LTL99033", overLength));
    account->setBillingCountry(GetCuttedString(card.Country, 40, "LTL99050", overLength));
    const Address address = addressOf(card, 80, "LTL99036", "LTL99034", "LTL99035", overLength);
    account->setBillingStreet(address.street);
    account->setBillingState(address.state);
    account->setBillingCity(address.city);
    account->setPhone(GetCuttedString(card.Phone, 40, "LTL99037", overLength));
    account->setFax(GetCuttedString(card.Fax, 40, "LTL99038", overLength));
    account->setWebsite(GetCuttedString(card.WebSite, 255, "LTL99039", overLength));
    return account;
}

std::shared_ptr<ens_Contact> SObjectConverter::CardToContact(const CardInfo& card, QStringList* overLength)
{
    auto contact = std::make_shared<ens_Contact>();
    contact->setLastName(GetCuttedString(card.LastName, 80, "LTL99040", overLength));
    contact->setFirstName(GetCuttedString(CommonFuc::GetFirstName(card), 40, "LTL99041", overLength));
    contact->setDepartment(GetCuttedString(card.Department, 80, "LTL99032", overLength));
    contact->setTitle(GetCuttedString(card.JobTitle, 80, "LTL99042", overLength));
    contact->setMailingPostalCode(GetCuttedString(card.ZipCode, 20, "LTL99033", overLength));
    contact->setMailingCountry(GetCuttedString(card.Country, 40, "LTL99050", overLength));
    const Address address = addressOf(card, 255, "LTL99036", "LTL99034", "LTL99035", overLength);
    contact->setMailingStreet(address.street);
    contact->setMailingState(address.state);
    contact->setMailingCity(address.city);
    contact->setPhone(GetCuttedString(card.Phone, 40, "LTL99037", overLength));
    contact->setFax(GetCuttedString(card.Fax, 40, "LTL99038", overLength));
    contact->setMobilePhone(GetCuttedString(card.Mobile, 40, "LTL99043", overLength));
    contact->setEmail(card.Email);
    contact->setDescription(GetCuttedString(card.Extension, 32000, "LTL99045", overLength));
    return contact;
}

std::shared_ptr<ens_Lead> SObjectConverter::CardToLead(const CardInfo& card, QStringList* overLength)
{
    auto lead = std::make_shared<ens_Lead>();
    lead->setLastName(GetCuttedString(card.LastName, 80, "LTL99017", overLength));
    lead->setFirstName(GetCuttedString(CommonFuc::GetFirstName(card), 40, "LTL99018", overLength));
    lead->setCompany(GetCuttedString(card.OrganizationName, 255, "LTL99019", overLength));
    lead->setTitle(GetCuttedString(card.JobTitle, 80, "LTL99020", overLength));
    lead->setPostalCode(GetCuttedString(card.ZipCode, 20, "LTL99021", overLength));
    lead->setCountry(GetCuttedString(card.Country, 40, "LTL99049", overLength));
    const Address address = addressOf(card, 255, "LTL99024", "LTL99022", "LTL99023", overLength);
    lead->setStreet(address.street);
    lead->setState(address.state);
    lead->setCity(address.city);
    lead->setPhone(GetCuttedString(card.Phone, 40, "LTL99025", overLength));
    lead->setFax(GetCuttedString(card.Fax, 40, "LTL99026", overLength));
    lead->setMobilePhone(GetCuttedString(card.Mobile, 40, "LTL99027", overLength));
    lead->setEmail(card.Email);
    lead->setWebsite(GetCuttedString(card.WebSite, 255, "LTL99029", overLength));
    lead->setDescription(GetCuttedString(card.Extension, 32000, "LTL99030", overLength));
    return lead;
}

std::vector<std::shared_ptr<ens_Attachment>> SObjectConverter::CardToAttachment(const CardInfo& card)
{
    std::vector<std::shared_ptr<ens_Attachment>> attachments;
    if (card.ImageFilePathN1.isEmpty())
        return attachments;
    // A card without a full name still gets a readable file name.
    const QString baseName = GetCuttedString(card.FullName.isNull() ? QString(QLatin1String("")) : card.FullName, 69, nullptr, nullptr);
    int pages = 0;
    if (CheckPdfFile(card.ImageFilePathN1, &pages) != kPdfOurs)
        return attachments;
    if (pages == 1) {
        QFile file(card.ImageFilePathN1);
        if (file.open(QIODevice::ReadOnly))
            attachments.push_back(attachment(baseName, 1, file.readAll()));
    } else if (pages == 2) {
        QByteArray front;
        if (RemovePDFPage(card.ImageFilePathN1, 1, front) == 0)
            attachments.push_back(attachment(baseName, 1, front));
        QByteArray back;
        if (RemovePDFPage(card.ImageFilePathN1, 0, back) == 0)
            attachments.push_back(attachment(baseName, 2, back));
    }
    return attachments;
}
