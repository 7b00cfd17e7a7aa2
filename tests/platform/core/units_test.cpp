#include "platform/core/threads.h"
#include "platform/core/units.h"

#include <gtest/gtest.h>

TEST(Units, StartedOnceInTableOrder) {
    const auto names = StartedUnits();
    ASSERT_FALSE(names.empty());
    EXPECT_EQ(names.front(), "SysUtils");
    InitUnits(); // already started: nothing changes
    EXPECT_EQ(StartedUnits(), names);
    // The test entry started the units on this thread, so it is the main thread.
    EXPECT_TRUE(IsMainThread());
}

namespace {
int gProgramInits = 0;
int gProgramDones = 0;
} // namespace

TEST(Units, ProgramUnitsFollowTheCoreAndStopInReverse) {
    static const TUnitEntry program[] = {
        {"First", [] { gProgramInits = gProgramInits * 10 + 1; },
         [] { gProgramDones = gProgramDones * 10 + 1; }},
        {"Second", [] { gProgramInits = gProgramInits * 10 + 2; },
         [] { gProgramDones = gProgramDones * 10 + 2; }},
    };
    DoneUnits();
    InitUnits(program);
    InitUnits(program);
    EXPECT_EQ(gProgramInits, 12);
    const auto names = StartedUnits();
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[1], "Classes");
    EXPECT_EQ(names[3], "Second");
    DoneUnits();
    EXPECT_EQ(gProgramDones, 21);
    InitUnits(); // the test entry's core units again, for the tests after this one
}
