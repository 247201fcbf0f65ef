// Versions of the system, the application and the database, and the display defaults derived from them.
#pragma once

#include <QString>

#include <cstdint>

// (major div 10) * 0x1000 + (major mod 10) * 0x100 + minor * 0x10 + patch: always kSystemVersionNumber.
int getSystemVersion();
// For export headers: Info.plist "CFBundleShortVersionString" as "major.minor" ("3" gives "3.0",
// "3.2.1" gives "3.2"); empty when the key is missing or not a string.
QString getCurrentPLVersion();
// For the Version row: "V<major>", "V<major><minor>" or "V<major><minor>L<third>" ("3.2.1" gives
// "V32L1"); empty for an empty value; null when the key is missing or not a string.
QString getProductVersion();
// Info.plist "Database Version" when it is a number, else 1.
int64_t getDatabaseVersion();

constexpr int kDisplayModeAllColumns = 0xFFFF;
constexpr int kDisplayModeWithoutReadings = 0xFFF5;
constexpr int kDisplayModeFullNameKanaBit = 2;
constexpr int kDisplayModeCompanyKanaBit = 8;
// All columns when the localised "IDS_RESOURCE_LANG_ID" reads 11, 19 or 33 (or there is no main
// bundle); otherwise the reading columns are hidden.
int getDefaultDisplayMode();
// False for an empty sort key, and for a sort on a reading column that `displayMask` hides.
bool checkSortDescriptors(const QString& sortKey, int displayMask);
