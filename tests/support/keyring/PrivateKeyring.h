// A real Secret Service for tests: the test program starts itself again inside a private session
// bus (dbus-run-session) with a private home folder, and starts an unlocked gnome-keyring there.
#pragma once

#include <QString>

#include <optional>

namespace privatekeyring {

// True inside the private session that runAgainInPrivateSession started.
bool insidePrivateSession();
// Runs this program again inside a private session bus and answers its exit status.
int runAgainInPrivateSession(int argc, char** argv);
// Points HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR into `home`.
void usePrivateHome(const QString& home);
// The start of a test program with a keyring. Without "--no-service" it runs the program again
// inside a private session, unless it is that run; with it, the home is `noServiceHome` and the
// session bus address leads nowhere, as on a desktop without a Secret Service. `exitStatus` is
// set when the program was run again: the caller answers it and runs no test.
struct Session {
    bool noService = false;
    std::optional<int> exitStatus;
};
Session enterSession(int argc, char** argv, const QString& noServiceHome);
// Starts the keyring; it answers on the session bus when this returns true, and ends with the bus.
bool startUnlockedKeyring();

}
