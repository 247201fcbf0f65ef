// The keychain tests run against a real Secret Service: the program starts itself again inside a
// private session bus (dbus-run-session) with a private home folder, and starts an unlocked
// gnome-keyring there. With --no-service it runs as it is, its session bus pointing at nothing.
#include "tests/support/keyring/PrivateKeyring.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    bool noService = false;
    for (int i = 1; i < argc; ++i)
        noService = noService || std::strcmp(argv[i], "--no-service") == 0;
    if (!noService && !privatekeyring::insidePrivateSession())
        return privatekeyring::runAgainInPrivateSession(argc, argv);

    QTemporaryDir home;
    if (noService) {
        privatekeyring::usePrivateHome(home.path());
        setenv("DBUS_SESSION_BUS_ADDRESS", ("unix:path=" + home.path() + "/no-bus").toLocal8Bit().constData(), 1);
    }
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    GTEST_FLAG_SET(filter, noService ? "NoSecretService.*" : "-NoSecretService.*");
    if (!noService && !privatekeyring::startUnlockedKeyring()) {
        fprintf(stderr, "gnome-keyring-daemon could not be started\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
