#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"
#include "tools/optimize/VSOptimizeDBController.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char* argv[])
{
    testenvironment::enter();
    // A run in a process of its own, for tests that kill it: --optimize-run STORE SHELL.
    if (argc == 4 && std::strcmp(argv[1], "--optimize-run") == 0) {
        QCoreApplication app(argc, argv);
        VSOptimizeDBController run(QString::fromLocal8Bit(argv[2]));
        run.setShellPath(QString::fromLocal8Bit(argv[3]));
        return -run.run();
    }
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
