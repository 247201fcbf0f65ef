// Conversions between attribute values and SQLite columns. Dates are stored as seconds since
// 2001-01-01 00:00:00 UTC; a value of another type than its attribute is kept as it is read.
#pragma once

#include "platform/store/StoreModel.h"

#include <QDateTime>
#include <QVariant>

struct sqlite3_stmt;

inline constexpr qint64 kStoreEpochUnixSeconds = 978307200;

double storeTimeFromDate(const QDateTime& date);
QDateTime dateFromStoreTime(double seconds);

// The value of result column `column` for an attribute of `type`.
QVariant readStoreColumn(sqlite3_stmt* statement, int column, AttributeType type);
// Binds `value` for an attribute of `type` to parameter `parameter` (1-based); answers SQLite's code.
int bindStoreValue(sqlite3_stmt* statement, int parameter, const QVariant& value, AttributeType type);
