// Conversions between attribute values and SQLite columns. Dates are stored as seconds since
// 2001-01-01 00:00:00 UTC; a value of another type than its attribute is kept as it is read.
#pragma once

#include "platform/store/StoreModel.h"

#include <QDateTime>
#include <QVariant>

class StoreStrings;
struct sqlite3_stmt;

inline constexpr qint64 kStoreEpochUnixSeconds = 978307200;

double storeTimeFromDate(const QDateTime& date);
QDateTime dateFromStoreTime(double seconds);

// The value of an attribute of `type` stored as SQLite's INTEGER `v` or REAL `v`.
QVariant valueOfStoreInteger(qint64 v, AttributeType type);
QVariant valueOfStoreReal(double v, AttributeType type);
// The value of result column `column`, of SQLite storage class `storage` (SQLITE_TEXT, …), for an
// attribute of `type`; texts are shared through `strings` when given.
QVariant readStoreColumn(sqlite3_stmt* statement, int column, int storage, AttributeType type, StoreStrings* strings);
// Binds `value` for an attribute of `type` to parameter `parameter` (1-based); answers SQLite's code.
int bindStoreValue(sqlite3_stmt* statement, int parameter, const QVariant& value, AttributeType type);
