// Helpers of the record-type tests: a record with every field filled, and a deep comparison of
// values read back with the values written.
#pragma once

#include "plugin/SforceService/SoapObject.h"

#include <QStringList>

// A new record of `className` with the id, two fields-to-null and every own field set: texts with
// markup characters, numbers, UTC date-times, booleans, all 256 byte values, nested records of the
// declared class, and one-page query results holding a typed and an untyped record.
SoapObjectPtr filledRecord(const QString& className);

// Adds a failure for every field of `actual` that differs from `expected`, recursively; `path`
// names the value in the messages.
void expectSameValue(const SoapValue& expected, const SoapValue& actual, const QString& path);

// The qualified names of the element children of `node`, in document order.
QStringList childNames(xmlNodePtr node);
