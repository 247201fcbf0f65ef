// Registering the main application's Services with the desktop: its desktop entry under
// "$XDG_DATA_HOME/applications", with the search action (see kServicesSearchOption in
// platform/foundation/ServicesStatus.h) while the user's Services status leaves it enabled,
// then a refresh of the desktop-entry database.
#pragma once

#include <QString>
#include <QStringList>

inline constexpr char kDesktopEntryFileName[] = "com.orvane.zor.Pelmora.desktop";
inline constexpr char kUpdateDesktopDatabaseProgram[] = "update-desktop-database";

// The entry's text for the main application at the absolute path `pelmoraPath`, offered by file
// managers for the card files the intake takes (PDF and JPEG), with `iconPath` when not empty;
// empty when a path cannot be written into a desktop entry (not absolute, or holding control
// characters).
QString desktopEntryText(const QString& pelmoraPath, bool searchEnabled, const QString& iconPath = QString());

// The types the entry offers the main application for: the card files the intake takes.
QStringList cardFileMimeTypes();

// "$XDG_DATA_HOME/applications", read from the environment at each call.
QString userApplicationsDir();

// Installs or refreshes the entry for the main application at `pelmoraPath` (with its icon when
// that is installed beside it) and refreshes the desktop-entry database. The applications that
// open the entry's types now are recorded as the user's defaults first (keepDefaultApplications),
// so registering never changes what the desktop opens a PDF or JPEG with. Failures are logged,
// never reported: registration is best effort.
void updateDynamicServices(const QString& pelmoraPath);
