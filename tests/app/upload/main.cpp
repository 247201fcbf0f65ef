// The upload tests' host: one QApplication, offscreen, inside a private session bus with its own
// unlocked keyring and a private home, so that the login the plug-in stores is the test's own.
// With --no-service it runs the WithoutKeyring tests as it is, its session bus pointing at nothing.
#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"
#include "tests/support/keyring/PrivateKeyring.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    testenvironment::enter();
    QTemporaryDir home;
    const privatekeyring::Session session = privatekeyring::enterSession(argc, argv, home.path());
    if (session.exitStatus)
        return *session.exitStatus;
    const bool noService = session.noService;
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(filter, noService ? "WithoutKeyring.*" : "-WithoutKeyring.*");
    if (!noService && !privatekeyring::startUnlockedKeyring()) {
        std::fprintf(stderr, "gnome-keyring-daemon could not be started\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
