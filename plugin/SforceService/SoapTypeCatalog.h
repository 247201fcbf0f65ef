// Registers every type the readers can produce by name (called once by SforceServiceSvc::initialize).
#pragma once

class SoapTypeRegistry;

void registerServiceSoapTypes(SoapTypeRegistry& registry);
