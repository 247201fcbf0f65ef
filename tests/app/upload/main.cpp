// The upload tests' host: one QApplication, offscreen, inside a private session bus with its own
// unlocked keyring and a private home, so that the login the plug-in stores is the test's own.
// With --no-service it runs the WithoutKeyring tests as it is, its session bus pointing at nothing.
// Its temporary folder is its own too: both programs upload at once under CTest.
#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/keyring/PrivateKeyring.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    const privatekeyring::Session session = privatekeyring::enterSession(argc, argv, home.path());
    if (session.exitStatus)
        return *session.exitStatus;
    const bool noService = session.noService;
    // The hand-off (card file, images) goes to a folder of this process, apart from other test
    // programs running at the same time.
    QTemporaryDir temporary;
    qputenv("TMPDIR", QFile::encodeName(temporary.path()));
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
