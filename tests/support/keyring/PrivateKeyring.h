// A real Secret Service for tests: the test program starts itself again inside a private session
// bus (dbus-run-session) with a private home folder, and starts an unlocked gnome-keyring there.
#pragma once

#include <QString>

namespace privatekeyring {

// True inside the private session that runAgainInPrivateSession started.
bool insidePrivateSession();
// Runs this program again inside a private session bus and answers its exit status.
int runAgainInPrivateSession(int argc, char** argv);
// Points HOME, XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR into `home`.
void usePrivateHome(const QString& home);
// Starts the keyring; it answers on the session bus when this returns true, and ends with the bus.
bool startUnlockedKeyring();

}
