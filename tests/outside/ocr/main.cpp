#include "platform/appkit/dialogs/DialogServices.h"
#include "tests/support/environment/TestEnvironment.h"

#include <QApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <unistd.h>

int main(int argc, char** argv)
{
    // The engine's OpenMP threads spin while they wait, and on a busy machine make a card read in
    // this process take minutes: one thread, as Quillant takes, settled before the runtime starts.
    if (!std::getenv("OMP_THREAD_LIMIT")) {
        ::setenv("OMP_THREAD_LIMIT", "1", 1);
        ::setenv("OMP_WAIT_POLICY", "PASSIVE", 0);
        ::execv("/proc/self/exe", argv);
    }
    testenvironment::enter();
    QApplication app(argc, argv);
    installDialogServices();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
