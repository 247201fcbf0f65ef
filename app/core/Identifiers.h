// Unique identifiers: the canonical 36-character upper-case UUID text (8-4-4-4-12 groups).
#pragma once

#include <QString>

// For synchronisation identifiers and new folder records. The prefix the platform added before
// system version 0x1050 never applies: this port's version is always newer.
QString getUUID();
// Never prefixed; null when no UUID can be made.
QString generateUID();
