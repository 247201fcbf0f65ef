// What the desktop opens a file type with, by the freedesktop rules for MIME associations: the
// "Default Applications" of the mimeapps.list files, else the first application associated with
// the type ("Added Associations", then each data folder's mimeinfo.cache or its entries'
// MimeType), the user's folders before the system's. Read from the environment at each call.
#pragma once

#include <QString>
#include <QStringList>

// The installed application the user or the system chose for `mimeType` ("evince.desktop");
// empty when none is chosen.
QString chosenDefaultApplication(const QString& mimeType);
// The first installed application associated with `mimeType` other than `excludedId`; empty
// when there is none.
QString associatedApplication(const QString& mimeType, const QString& excludedId);

// For each type with no chosen default, records the application the desktop opens it with now
// (other than `ownId`) as the user's default in "$XDG_CONFIG_HOME/mimeapps.list", so that an
// application offering itself for the type does not take it over. False when the file could not
// be written.
bool keepDefaultApplications(const QStringList& mimeTypes, const QString& ownId);
