// The plug-in's common classes. Preferences live in a temporary configuration folder, so the log
// level the plug-in caches for the process is the default one.
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
