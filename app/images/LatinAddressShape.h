// Western addresses as recognised, put back into the shape they are printed in where that shape
// alone tells what a misread character was: the UK postcode, and the ß of a German street.
#pragma once

#include <QString>

// The address with its UK postcode in the form letters, digit, blank, digit, two letters ("CF10
// IBY", "$O15 2AQ" and "NG13AL" give "CF10 1BY", "SO15 2AQ" and "NG1 3AL"), and, in an address
// with a German postcode before its town, ß for the "B" or "$" the engine reads between small
// letters ("StraBe", "Kaiserstra$e") and ü for its "ii" ("Miinchen"). A small letter alone before
// a line's number goes.
QString latinAddressInPrintedShape(const QString& address);

// The UK postcode, US ZIP code or German postcode that stands in an address, empty when none.
QString postcodeInAddress(const QString& address);
