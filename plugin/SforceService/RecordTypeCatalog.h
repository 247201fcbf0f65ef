// Registers the service's record types with the class lookup by name, so that a record element
// typed "ens:Contact" (whatever prefix binds the record namespace) is read as an ens_Contact.
#pragma once

class SoapTypeRegistry;

void registerRecordTypes(SoapTypeRegistry& registry);
