// Localised texts of the main bundle's "Localizable" table.
#pragma once

#include <QString>

// Whether the main bundle's resource folder exists.
bool hasMainBundle();
// The text of `key`; the key itself when the table has no entry; a null string for a null key
// or when there is no main bundle.
QString getLocalString(const QString& key);
// The key under which a text with a second wording from system version 0x1080 on is found:
// `key` + "_OS108" from that version on, else `key`; null for null, empty for empty.
QString getProperKey(const QString& key);
