// The two photo applications cards can be handed to. Each is the desktop entry whose id a
// preference holds; it is installed when that entry is found in the XDG data folders.
#pragma once

#include <QString>

// "Photo application 1 desktop entry" (default "org.gnome.Shotwell") for type 1,
// "Photo application 2 desktop entry" (default "org.kde.digikam") for type 2; empty otherwise.
QString photoApplicationIdentifier(int appType);
bool isPhotoApplicationInstalled(int appType);
