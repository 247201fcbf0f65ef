#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    testenvironment::enter();
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
