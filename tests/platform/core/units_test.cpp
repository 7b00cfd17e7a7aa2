#include "platform/core/threads.h"
#include "platform/core/units.h"

#include <gtest/gtest.h>

TEST(Units, StartedOnceInTableOrder) {
    const auto names = StartedUnits();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "Classes");
    InitUnits(); // already started: nothing changes
    EXPECT_EQ(StartedUnits(), names);
    // The test entry started the units on this thread, so it is the main thread.
    EXPECT_TRUE(IsMainThread());
}
