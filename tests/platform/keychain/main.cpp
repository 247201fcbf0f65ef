// The keychain tests run against a real Secret Service: the program starts itself again inside a
// private session bus (dbus-run-session) with a private home folder, and starts an unlocked
// gnome-keyring there. With --no-service it runs as it is, its session bus pointing at nothing.
#include "tests/support/environment/TestEnvironment.h"
#include "tests/support/keyring/PrivateKeyring.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>


int main(int argc, char** argv)
{
    testenvironment::enter();
    QTemporaryDir home;
    const privatekeyring::Session session = privatekeyring::enterSession(argc, argv, home.path());
    if (session.exitStatus)
        return *session.exitStatus;
    const bool noService = session.noService;
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(filter, noService ? "NoSecretService.*" : "-NoSecretService.*");
    if (!noService && !privatekeyring::startUnlockedKeyring()) {
        fprintf(stderr, "gnome-keyring-daemon could not be started\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
