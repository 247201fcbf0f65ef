#include "plugin/SforceService/ens_AccountContactRole.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

// Own fields in wire order (the byte order of the names).
SOAP_TYPE_INFO(ens_AccountContactRole, kPrefixRecord, "ens:AccountContactRole", &ens_sObject::staticTypeInfo(),
    object("Account", "ens_Account"),
    text("AccountId"),
    object("Contact", "ens_Contact"),
    text("ContactId"),
    object("CreatedBy", "ens_User"),
    text("CreatedById"),
    date("CreatedDate"),
    boolean("IsDeleted"),
    boolean("IsPrimary"),
    object("LastModifiedBy", "ens_User"),
    text("LastModifiedById"),
    date("LastModifiedDate"),
    text("Role"),
    date("SystemModstamp"))
