#include "plugin/SforceService/ens_Attachment.h"

#include "plugin/SforceService/SoapNamespaces.h"

using namespace SoapField;

// Own fields in wire order (the byte order of the names).
SOAP_TYPE_INFO(ens_Attachment, kPrefixRecord, "ens:Attachment", &ens_sObject::staticTypeInfo(),
    bytes("Body"),
    number("BodyLength"),
    text("ContentType"),
    text("CreatedById"),
    date("CreatedDate"),
    text("Description"),
    boolean("IsDeleted"),
    boolean("IsPrivate"),
    text("LastModifiedById"),
    date("LastModifiedDate"),
    text("Name"),
    text("OwnerId"),
    text("ParentId"),
    date("SystemModstamp"))
