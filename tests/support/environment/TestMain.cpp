// The main of a test program that needs nothing else before its tests.
#include "tests/support/environment/TestEnvironment.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    testenvironment::enter();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
