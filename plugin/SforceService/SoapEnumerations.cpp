#include "plugin/SforceService/SoapEnumerations.h"

qint32 SoapEnumeration::fromString(const QString& text) const
{
    if (text.isNull())
        return 0;
    const QByteArray utf8 = text.toUtf8();
    for (size_t i = 0; i < m_names.size(); ++i) {
        if (utf8 == m_names[i])
            return qint32(i + 1);
    }
    return 0;
}

QString SoapEnumeration::toString(qint32 value) const
{
    if (value < 1 || size_t(value) > m_names.size())
        return QString("");
    return QString::fromLatin1(m_names[size_t(value) - 1]);
}

namespace {

// Fault exception codes and fault codes share one list.
static const char* const kExceptionCodes[] = {
    "API_CURRENTLY_DISABLED", "API_DISABLED_FOR_ORG", "CANT_ADD_STANDADRD_PORTAL_USER_TO_TERRITORY",
    "CANT_ADD_STANDARD_PORTAL_USER_TO_TERRITORY", "CIRCULAR_OBJECT_GRAPH", "CLIENT_NOT_ACCESSIBLE_FOR_USER",
    "CLIENT_REQUIRE_UPDATE_FOR_USER", "CUSTOM_METADATA_LIMIT_EXCEEDED", "DUPLICATE_VALUE",
    "EMAIL_BATCH_SIZE_LIMIT_EXCEEDED", "EMAIL_TO_CASE_INVALID_ROUTING", "EMAIL_TO_CASE_LIMIT_EXCEEDED",
    "EMAIL_TO_CASE_NOT_ENABLED", "EXCEEDED_ID_LIMIT", "EXCEEDED_LEAD_CONVERT_LIMIT",
    "EXCEEDED_MAX_SIZE_REQUEST", "EXCEEDED_MAX_TYPES_LIMIT", "EXCEEDED_QUOTA", "FUNCTIONALITY_NOT_ENABLED",
    "INACTIVE_OWNER_OR_USER", "INACTIVE_PORTAL", "INSUFFICIENT_ACCESS", "INVALID_ASSIGNMENT_RULE",
    "INVALID_BATCH_SIZE", "INVALID_CLIENT", "INVALID_CROSS_REFERENCE_KEY", "INVALID_FIELD",
    "INVALID_FILTER_LANGUAGE", "INVALID_FILTER_VALUE", "INVALID_ID_FIELD", "INVALID_LOCALE_LANGUAGE",
    "INVALID_LOCATOR", "INVALID_LOGIN", "INVALID_NEW_PASSWORD", "INVALID_OPERATION",
    "INVALID_OPERATION_WITH_EXPIRED_PASSWORD", "INVALID_QUERY_FILTER_OPERATOR", "INVALID_QUERY_LOCATOR",
    "INVALID_QUERY_SCOPE", "INVALID_REPLICATION_DATE", "INVALID_SEARCH", "INVALID_SEARCH_SCOPE",
    "INVALID_SESSION_ID", "INVALID_SOAP_HEADER", "INVALID_SSO_GATEWAY_URL", "INVALID_TYPE",
    "INVALID_TYPE_FOR_OPERATION", "LIMIT_EXCEEDED", "LOGIN_CHALLENGE_ISSUED", "LOGIN_CHALLENGE_PENDING",
    "LOGIN_DURING_RESTRICTED_DOMAIN", "LOGIN_DURING_RESTRICTED_TIME", "LOGIN_MUST_USE_SECURITY_TOKEN",
    "MALFORMED_ID", "MALFORMED_QUERY", "MALFORMED_SEARCH", "MISSING_ARGUMENT", "NOT_MODIFIED",
    "NO_SOFTPHONE_LAYOUT", "NUMBER_OUTSIDE_VALID_RANGE", "OPERATION_TOO_LARGE", "ORG_IN_MAINTENANCE",
    "ORG_IS_DOT_ORG", "ORG_LOCKED", "ORG_NOT_OWNED_BY_INSTANCE", "PASSWORD_LOCKOUT", "PORTAL_NO_ACCESS",
    "QUERY_TIMEOUT", "QUERY_TOO_COMPLICATED", "REQUEST_LIMIT_EXCEEDED", "REQUEST_RUNNING_TOO_LONG",
    "SERVER_UNAVAILABLE", "SSO_SERVICE_DOWN", "TOO_MANY_APEX_REQUESTS", "TRIAL_EXPIRED", "UNKNOWN_EXCEPTION",
    "UNSUPPORTED_API_VERSION", "UNSUPPORTED_CLIENT",
};

static const char* const kStatusCodes[] = {
    "ALREADY_IN_PROCESS", "ASSIGNEE_TYPE_REQUIRED", "BAD_CUSTOM_ENTITY_PARENT_DOMAIN",
    "BCC_NOT_ALLOWED_IF_BCC_COMPLIANCE_ENABLED", "CANNOT_CASCADE_PRODUCT_ACTIVE",
    "CANNOT_CHANGE_FIELD_TYPE_OF_APEX_REFERENCED_FIELD", "CANNOT_CREATE_ANOTHER_MANAGED_PACKAGE",
    "CANNOT_DEACTIVATE_DIVISION", "CANNOT_DELETE_LAST_DATED_CONVERSION_RATE", "CANNOT_DELETE_MANAGED_OBJECT",
    "CANNOT_DISABLE_LAST_ADMIN", "CANNOT_ENABLE_IP_RESTRICT_REQUESTS", "CANNOT_INSERT_UPDATE_ACTIVATE_ENTITY",
    "CANNOT_MODIFY_MANAGED_OBJECT", "CANNOT_RENAME_APEX_REFERENCED_FIELD",
    "CANNOT_RENAME_APEX_REFERENCED_OBJECT", "CANNOT_REPARENT_RECORD", "CANNOT_UPDATE_CONVERTED_LEAD",
    "CANT_DISABLE_CORP_CURRENCY", "CANT_UNSET_CORP_CURRENCY", "CHILD_SHARE_FAILS_PARENT",
    "CIRCULAR_DEPENDENCY", "COMMUNITY_NOT_ACCESSIBLE", "CUSTOM_CLOB_FIELD_LIMIT_EXCEEDED",
    "CUSTOM_ENTITY_OR_FIELD_LIMIT", "CUSTOM_FIELD_INDEX_LIMIT_EXCEEDED", "CUSTOM_INDEX_EXISTS",
    "CUSTOM_LINK_LIMIT_EXCEEDED", "CUSTOM_TAB_LIMIT_EXCEEDED", "DELETE_FAILED", "DELETE_REQUIRED_ON_CASCADE",
    "DEPENDENCY_EXISTS", "DUPLICATE_CASE_SOLUTION", "DUPLICATE_COMM_NICKNAME",
    "DUPLICATE_CUSTOM_ENTITY_DEFINITION", "DUPLICATE_CUSTOM_TAB_MOTIF", "DUPLICATE_DEVELOPER_NAME",
    "DUPLICATE_EXTERNAL_ID", "DUPLICATE_MASTER_LABEL", "DUPLICATE_SENDER_DISPLAY_NAME", "DUPLICATE_USERNAME",
    "DUPLICATE_VALUE", "EMAIL_NOT_PROCESSED_DUE_TO_PRIOR_ERROR", "EMPTY_SCONTROL_FILE_NAME",
    "ENTITY_FAILED_IFLASTMODIFIED_ON_UPDATE", "ENTITY_IS_ARCHIVED", "ENTITY_IS_DELETED", "ENTITY_IS_LOCKED",
    "ERROR_IN_MAILER", "FAILED_ACTIVATION", "FIELD_CUSTOM_VALIDATION_EXCEPTION",
    "FIELD_FILTER_VALIDATION_EXCEPTION", "FIELD_INTEGRITY_EXCEPTION", "FILTERED_LOOKUP_LIMIT_EXCEEDED",
    "HTML_FILE_UPLOAD_NOT_ALLOWED", "IMAGE_TOO_LARGE", "INACTIVE_OWNER_OR_USER",
    "INSUFFICIENT_ACCESS_ON_CROSS_REFERENCE_ENTITY", "INSUFFICIENT_ACCESS_OR_READONLY",
    "INVALID_ACCESS_LEVEL", "INVALID_ARGUMENT_TYPE", "INVALID_ASSIGNEE_TYPE", "INVALID_ASSIGNMENT_RULE",
    "INVALID_BATCH_OPERATION", "INVALID_CONTENT_TYPE", "INVALID_CREDIT_CARD_INFO",
    "INVALID_CROSS_REFERENCE_KEY", "INVALID_CROSS_REFERENCE_TYPE_FOR_FIELD", "INVALID_CURRENCY_CONV_RATE",
    "INVALID_CURRENCY_CORP_RATE", "INVALID_CURRENCY_ISO", "INVALID_EMAIL_ADDRESS", "INVALID_EMPTY_KEY_OWNER",
    "INVALID_FIELD", "INVALID_FIELD_FOR_INSERT_UPDATE", "INVALID_FIELD_WHEN_USING_TEMPLATE",
    "INVALID_FILTER_ACTION", "INVALID_GOOGLE_DOCS_URL", "INVALID_ID_FIELD", "INVALID_INET_ADDRESS",
    "INVALID_LINEITEM_CLONE_STATE", "INVALID_MASTER_OR_TRANSLATED_SOLUTION", "INVALID_MESSAGE_ID_REFERENCE",
    "INVALID_OPERATION", "INVALID_OPERATOR", "INVALID_OR_NULL_FOR_RESTRICTED_PICKLIST",
    "INVALID_PARTNER_NETWORK_STATUS", "INVALID_PERSON_ACCOUNT_OPERATION", "INVALID_READ_ONLY_USER_DML",
    "INVALID_SAVE_AS_ACTIVITY_FLAG", "INVALID_SESSION_ID", "INVALID_SETUP_OWNER", "INVALID_STATUS",
    "INVALID_TYPE", "INVALID_TYPE_FOR_OPERATION", "INVALID_TYPE_ON_FIELD_IN_RECORD",
    "IP_RANGE_LIMIT_EXCEEDED", "LICENSE_LIMIT_EXCEEDED", "LIGHT_PORTAL_USER_EXCEPTION", "LIMIT_EXCEEDED",
    "MALFORMED_ID", "MANAGER_NOT_DEFINED", "MASSMAIL_RETRY_LIMIT_EXCEEDED", "MASS_MAIL_LIMIT_EXCEEDED",
    "MAXIMUM_CCEMAILS_EXCEEDED", "MAXIMUM_DASHBOARD_COMPONENTS_EXCEEDED", "MAXIMUM_HIERARCHY_LEVELS_REACHED",
    "MAXIMUM_SIZE_OF_ATTACHMENT", "MAXIMUM_SIZE_OF_DOCUMENT", "MAX_ACTIONS_PER_RULE_EXCEEDED",
    "MAX_ACTIVE_RULES_EXCEEDED", "MAX_APPROVAL_STEPS_EXCEEDED", "MAX_FORMULAS_PER_RULE_EXCEEDED",
    "MAX_RULES_EXCEEDED", "MAX_RULE_ENTRIES_EXCEEDED", "MAX_TASK_DESCRIPTION_EXCEEEDED",
    "MAX_TM_RULES_EXCEEDED", "MAX_TM_RULE_ITEMS_EXCEEDED", "MERGE_FAILED", "MISSING_ARGUMENT",
    "MIXED_DML_OPERATION", "NONUNIQUE_SHIPPING_ADDRESS", "NO_APPLICABLE_PROCESS", "NO_ATTACHMENT_PERMISSION",
    "NO_INACTIVE_DIVISION_MEMBERS", "NO_MASS_MAIL_PERMISSION", "NUMBER_OUTSIDE_VALID_RANGE",
    "NUM_HISTORY_FIELDS_BY_SOBJECT_EXCEEDED", "OPTED_OUT_OF_MASS_MAIL", "OP_WITH_INVALID_USER_TYPE_EXCEPTION",
    "PACKAGE_LICENSE_REQUIRED", "PORTAL_USER_ALREADY_EXISTS_FOR_CONTACT", "PRIVATE_CONTACT_ON_ASSET",
    "RECORD_IN_USE_BY_WORKFLOW", "REQUEST_RUNNING_TOO_LONG", "REQUIRED_FIELD_MISSING",
    "SELF_REFERENCE_FROM_TRIGGER", "SHARE_NEEDED_FOR_CHILD_OWNER", "SINGLE_EMAIL_LIMIT_EXCEEDED",
    "STANDARD_PRICE_NOT_DEFINED", "STORAGE_LIMIT_EXCEEDED", "STRING_TOO_LONG", "TABSET_LIMIT_EXCEEDED",
    "TEMPLATE_NOT_ACTIVE", "TERRITORY_REALIGN_IN_PROGRESS", "TEXT_DATA_OUTSIDE_SUPPORTED_CHARSET",
    "TOO_MANY_APEX_REQUESTS", "TOO_MANY_ENUM_VALUE", "TRANSFER_REQUIRES_READ", "UNABLE_TO_LOCK_ROW",
    "UNAVAILABLE_RECORDTYPE_EXCEPTION", "UNDELETE_FAILED", "UNKNOWN_EXCEPTION", "UNSPECIFIED_EMAIL_ADDRESS",
    "UNSUPPORTED_APEX_TRIGGER_OPERATON", "UNVERIFIED_SENDER_ADDRESS", "WEBLINK_SIZE_LIMIT_EXCEEDED",
    "WRONG_CONTROLLER_TYPE",
};

static const char* const kFieldTypes[] = {
    "string", "picklist", "multipicklist", "combobox", "reference", "base64", "boolean", "currency",
    "textarea", "int", "double", "percent", "phone", "id", "date", "datetime", "time", "url", "email",
    "encryptedstring", "datacategorygroupreference", "anyType",
};

static const char* const kSoapTypes[] = {
    "ID", "xsd_base64Binary", "xsd_boolean", "xsd_double", "xsd_int", "xsd_string", "xsd_date",
    "xsd_dateTime", "xsd_time", "xsd_anyType",
};

static const char* const kDebugLevels[] = {
    "None", "DebugOnly", "Db",
};

}

const SoapEnumeration& fns_ExceptionCode()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kExceptionCodes)};
    return enumeration;
}

qint32 fns_ExceptionCode_enumFromString(const QString& text)
{
    return fns_ExceptionCode().fromString(text);
}

QString fns_ExceptionCode_stringFromEnum(qint32 value)
{
    return fns_ExceptionCode().toString(value);
}

const SoapEnumeration& fns_FaultCode()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kExceptionCodes)};
    return enumeration;
}

qint32 fns_FaultCode_enumFromString(const QString& text)
{
    return fns_FaultCode().fromString(text);
}

QString fns_FaultCode_stringFromEnum(qint32 value)
{
    return fns_FaultCode().toString(value);
}

const SoapEnumeration& SforceServiceSvc_StatusCode()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kStatusCodes)};
    return enumeration;
}

qint32 SforceServiceSvc_StatusCode_enumFromString(const QString& text)
{
    return SforceServiceSvc_StatusCode().fromString(text);
}

QString SforceServiceSvc_StatusCode_stringFromEnum(qint32 value)
{
    return SforceServiceSvc_StatusCode().toString(value);
}

const SoapEnumeration& SforceServiceSvc_fieldType()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kFieldTypes)};
    return enumeration;
}

qint32 SforceServiceSvc_fieldType_enumFromString(const QString& text)
{
    return SforceServiceSvc_fieldType().fromString(text);
}

QString SforceServiceSvc_fieldType_stringFromEnum(qint32 value)
{
    return SforceServiceSvc_fieldType().toString(value);
}

const SoapEnumeration& SforceServiceSvc_soapType()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kSoapTypes)};
    return enumeration;
}

qint32 SforceServiceSvc_soapType_enumFromString(const QString& text)
{
    return SforceServiceSvc_soapType().fromString(text);
}

QString SforceServiceSvc_soapType_stringFromEnum(qint32 value)
{
    return SforceServiceSvc_soapType().toString(value);
}

const SoapEnumeration& SforceServiceSvc_DebugLevel()
{
    static const SoapEnumeration enumeration{std::span<const char* const>(kDebugLevels)};
    return enumeration;
}

qint32 SforceServiceSvc_DebugLevel_enumFromString(const QString& text)
{
    return SforceServiceSvc_DebugLevel().fromString(text);
}

QString SforceServiceSvc_DebugLevel_stringFromEnum(qint32 value)
{
    return SforceServiceSvc_DebugLevel().toString(value);
}
