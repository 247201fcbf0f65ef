// Namespace URIs, prefixes and endpoint constants of the service's enterprise interface.
#pragma once

inline constexpr const char* kNamespaceSoapEnvelope = "http://schemas.xmlsoap.org/soap/envelope/";
inline constexpr const char* kNamespaceSoap12Envelope = "http://www.w3.org/2003/05/soap-envelope";
inline constexpr const char* kNamespaceXslt = "http://www.w3.org/1999/XSL/Transform";
inline constexpr const char* kNamespaceSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";
inline constexpr const char* kNamespaceSchema = "http://www.w3.org/2001/XMLSchema";
inline constexpr const char* kNamespaceEnterprise = "urn:enterprise.soap.sforce.com";
inline constexpr const char* kNamespaceSObject = "urn:sobject.enterprise.soap.sforce.com";
inline constexpr const char* kNamespaceFault = "urn:fault.enterprise.soap.sforce.com";

inline constexpr const char* kPrefixSchema = "ns1";
inline constexpr const char* kPrefixService = "SforceServiceSvc";
inline constexpr const char* kPrefixRecord = "ens";
inline constexpr const char* kPrefixFault = "fns";

inline constexpr const char* kSforceLoginBaseUrl = "https://login.salesforce.com";
inline constexpr const char* kSforceApiVersion = "19.0";
inline constexpr const char* kSforceSoapPath = "/services/Soap/c/";
