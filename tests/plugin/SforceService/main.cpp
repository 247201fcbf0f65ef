// The binding posts completions to the main thread's event loop: one QCoreApplication for all tests.
// Dates without a zone are read in the system zone, fixed here to nine hours east of UTC.
#include "tests/support/environment/TestEnvironment.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

int main(int argc, char** argv)
{
    testenvironment::enter();
    setenv("TZ", "JST-9", 1);
    tzset();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
