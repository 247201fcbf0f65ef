// The two photo applications cards can be handed to. Each is named by a preference holding
// desktop-entry ids, ";"-separated and looked up in order; an application is installed when one
// of its entries is found in the XDG data folders.
#pragma once

#include <QString>

// The first installed entry of "Photo application 1 desktop entry" (default
// "shotwell;org.gnome.Shotwell": Debian's name, then the name of later releases) for type 1, of
// "Photo application 2 desktop entry" (default "org.kde.digikam") for type 2; the first listed when
// none is installed; empty for other types.
QString photoApplicationIdentifier(int appType);
bool isPhotoApplicationInstalled(int appType);
