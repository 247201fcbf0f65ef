// Which photo applications the main window offers, from what is installed and what the user
// chose before: the installed value (2 for Photos plus 1 for iPhoto), the chosen state
// (0 none, 1 Photos, 2 iPhoto) and the automatic hand-over flag.
#pragma once

namespace PhotoApplications {

inline constexpr const char* kAutoRegisterKey = "Auto iphone register items";
inline constexpr const char* kStateKey = "conncet to Photos state";
inline constexpr const char* kInstallInfoKey = "check Photos install info";

struct Choice {
    int installed = 0;
    int state = 0;
    bool autoRegister = false;
};

Choice detect(bool autoRegister, int state, bool photosInstalled, bool iphotoInstalled);

} // namespace PhotoApplications
