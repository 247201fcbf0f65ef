// Applications found by name or identifier, their icons, and the help pages.
#pragma once

#include <QPixmap>
#include <QSize>
#include <QString>

// True when the workspace finds an application by that name, or failing that by that identifier,
// and its path is an executable file.
bool IsApplicationExist(const QString& nameOrIdentifier);

// The application's icon at `size`; the icon of its file type when it has none; the resource
// "DefaultIconImage.tiff" at its own size when no application is found. Null for an empty name.
// Main thread only (pixmaps).
QPixmap getAppIconFrombundleID(const QString& nameOrIdentifier, const QSize& size);

// Opens the help page of `anchor` in the user's browser (the start page for an empty anchor):
// 0, or -43 when Info.plist names no help book ("CFBundleHelpBookName") or the book has no such
// page, so that the caller reports it.
int LocateHelpPageByAnchor(const QString& anchor);
