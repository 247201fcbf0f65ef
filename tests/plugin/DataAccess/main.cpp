// Providers and login handling against the fake service on loopback. Completions arrive on the
// main thread's event loop; preferences live in a temporary configuration folder.
#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"

#include <QApplication>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testenvironment::enter();
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
