// Turns a card into the records the upload creates: Account, Contact, Lead and the card PDF's
// pages as Attachments. Every text is cut to what the service accepts; each cut field's warning
// label key is added once to the card's over-length list.
#pragma once

#include "plugin/Common/CardInfo.h"
#include "plugin/SforceService/ens_Account.h"
#include "plugin/SforceService/ens_Attachment.h"
#include "plugin/SforceService/ens_Contact.h"
#include "plugin/SforceService/ens_Lead.h"

#include <QStringList>

#include <memory>
#include <vector>

class SObjectConverter {
public:
    // The text, or its first `length` characters; a cut never splits a surrogate pair.
    static QString GetCuttedString(const QString& text, int length, const char* name, QStringList* overLength);
    static std::shared_ptr<ens_Account> CardToAccount(const CardInfo& card, QStringList* overLength);
    static std::shared_ptr<ens_Contact> CardToContact(const CardInfo& card, QStringList* overLength);
    static std::shared_ptr<ens_Lead> CardToLead(const CardInfo& card, QStringList* overLength);
    // Nothing, the one-page PDF, or each page of a two-page PDF, named "card_<full name>_<n>.pdf".
    static std::vector<std::shared_ptr<ens_Attachment>> CardToAttachment(const CardInfo& card);
};
