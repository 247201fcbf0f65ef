// The user's Services status file: the pasteboard server's preferences, which record per Service
// whether the user has it enabled. `Tolbeck` merges the main application's entry into it; the
// main application and the desktop-entry registration read it to decide whether the search is offered.
#pragma once

#include <QString>

inline constexpr char kServicesStatusKey[] = "NSServicesStatus";
// Flag inside one Service's status entry; an entry without it counts as enabled.
inline constexpr char kServicesMenuEnabledKey[] = "enabled_services_menu";
// The main application's Services entry that searches the card database for selected text.
inline constexpr char kPelmoraSearchServiceKey[] = "com.orvane.zor.Pelmora - Search in Pelmora - searchFromTextService";

// The Service as the desktop offers it: an action of the main application's desktop entry runs
//     "<application folder>/Pelmora" --search-selection
// with no further argument. That process takes the text the user has selected (the primary
// selection where the desktop has one, else the clipboard) and hands it to the running instance
// as a search request, as the Services entry does with the pasteboard's string.
inline constexpr char kServicesSearchOption[] = "--search-selection";

// "$XDG_CONFIG_HOME/com.orvane.zor/pbs.plist", read from the environment at each call.
QString servicesStatusFilePath();

// False only when the user's status file holds an entry for `serviceKey` whose menu flag is off;
// a missing or unreadable file, a missing entry or a missing flag leave the Service enabled.
bool isServiceEnabled(const QString& serviceKey);
