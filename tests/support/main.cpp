// Test entry: starts the units as the program does, then runs the tests.
#include "platform/core/units.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    InitUnits();
    const int result = RUN_ALL_TESTS();
    DoneUnits();
    return result;
}
