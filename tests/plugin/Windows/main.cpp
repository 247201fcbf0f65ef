// A test host for the plug-in's windows: one QApplication, offscreen, inside a private session bus
// with its own unlocked keyring and a private home, so the stored login is the test's own.
#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"
#include "tests/support/keyring/PrivateKeyring.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    testenvironment::enter();
    if (!privatekeyring::insidePrivateSession())
        return privatekeyring::runAgainInPrivateSession(argc, argv);
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    if (!privatekeyring::startUnlockedKeyring()) {
        fprintf(stderr, "gnome-keyring-daemon could not be started\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
