// Math: rounding to integers and the small numeric helpers.

#include "platform/core/math.h"

#include "platform/core/sysutils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(Math, CeilAndFloorAreSixtyFourBit) {
    EXPECT_EQ(Ceil(-1.5), -1);
    EXPECT_EQ(Floor(-1.5), -2);
    EXPECT_EQ(Ceil(2.0), 2);
    EXPECT_EQ(Floor(2.0), 2);
    EXPECT_EQ(Ceil(3.9e9), 3900000000); // a one-second step over a date axis passes 2^31
    for (double bad : {std::nan(""), std::numeric_limits<double>::infinity(), 9.3e18, -9.3e18}) {
        EXPECT_THROW(Ceil(bad), EInvalidOp) << bad;
        EXPECT_THROW(Floor(bad), EInvalidOp) << bad;
    }
}

TEST(Math, Helpers) {
    EXPECT_EQ(IntPower(2, 10), 1024.0);
    EXPECT_EQ(IntPower(2, -2), 0.25);
    EXPECT_EQ(IntPower(10, 0), 1.0);
    EXPECT_DOUBLE_EQ(Power(100000, -0.5), 1 / std::sqrt(100000.0));
    EXPECT_DOUBLE_EQ(LogN(2, 1024), 10);
    EXPECT_DOUBLE_EQ(ArcTan2(1, -1), 3 * std::atan(1.0));
    EXPECT_TRUE(SameValue(0.1 + 0.2, 0.3));
    EXPECT_TRUE(SameValue(1e20, 1e20 * (1 + 1e-13)));
    EXPECT_FALSE(SameValue(1.0, 1.0001));
    EXPECT_TRUE(SameValue(1.0, 1.0001, 0.001));
    EXPECT_TRUE(IsZero(1e-13));
    EXPECT_FALSE(IsZero(1e-11));
    EXPECT_EQ(Min(3, 5), 3);
    EXPECT_EQ(Max(Int64{3}, Int64{5}), 5);
    EXPECT_EQ(Max(-0.5, -1.5), -0.5);
}

} // namespace
