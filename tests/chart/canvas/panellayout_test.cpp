// The panel's layout as a value: the chart rectangle from the settings and the rectangle drawn
// in, without a control or a device.
#include "chart/canvas/panellayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using S = TPanelLayoutSettings;

S Pixels(int left, int top, int right, int bottom) {
    S s;
    s.MarginUnits = muPixels;
    s.Margins = {left, top, right, bottom};
    return s;
}

S Framed(S s, int frame) {
    s.FrameWidth = frame;
    return s;
}

S Shadowed(S s, int horiz, int vert, bool visible = true) {
    s.ShadowVisible = visible;
    s.ShadowHorizSize = horiz;
    s.ShadowVertSize = vert;
    return s;
}

S Owners(TRect r, S s = {}) {
    s.CustomChartRect = true;
    s.CustomRect = r;
    return s;
}

S Control(S s, int width, int height) {
    s.ControlWidth = width;
    s.ControlHeight = height;
    return s;
}

struct Row {
    const char* rule; // becomes the test's name
    S settings;
    TRect bounds;
    TRect expected;
};

class PanelLayoutRule : public ::testing::TestWithParam<Row> {};

TEST_P(PanelLayoutRule, PutsTheChartWhereTheSettingsSay) {
    const Row& r = GetParam();
    const TPanelLayout l = PanelLayout(r.settings, r.bounds);
    EXPECT_EQ(l.ChartBounds, r.bounds);
    EXPECT_EQ(l.ChartRect, r.expected);
    EXPECT_EQ(l.ChartWidth, r.expected.Right - r.expected.Left);
    EXPECT_EQ(l.ChartHeight, r.expected.Bottom - r.expected.Top);
    EXPECT_FALSE(l.Printing);
}

const TRect kPanel(0, 0, 400, 250);

INSTANTIATE_TEST_SUITE_P(
    Settings, PanelLayoutRule,
    ::testing::Values(
        Row{"PercentMarginsAreShareOfTheBounds", S{}, kPanel, TRect(12, 10, 388, 240)},
        Row{"PercentMarginsTruncate", S{}, TRect(0, 0, 399, 249), TRect(11, 9, 388, 240)},
        Row{"PixelMarginsAsTheyStand", Pixels(3, 4, 3, 4), kPanel, TRect(3, 4, 397, 246)},
        Row{"FrameMovesEveryEdgeIn", Framed(S{}, 5), kPanel, TRect(17, 15, 383, 235)},
        Row{"PositiveShadowTakesTwiceItsSizeOffRightAndBottom", Shadowed(S{}, 3, 2), kPanel,
            TRect(12, 10, 382, 236)},
        Row{"NegativeShadowMovesLeftAndTopIn", Shadowed(S{}, -3, -2), kPanel, TRect(18, 14, 388, 240)},
        Row{"HiddenShadowTakesNothing", Shadowed(S{}, 3, 2, false), kPanel, TRect(12, 10, 388, 240)},
        Row{"BoundsElsewhereMoveTheRectangle", S{}, TRect(100, 50, 500, 300), TRect(112, 60, 488, 290)},
        Row{"LeftPastRightGivesWidthOne", Pixels(300, 4, 200, 4), kPanel, TRect(300, 4, 301, 246)},
        Row{"EqualEdgesTakeTheControlsSize", Control(Pixels(200, 125, 200, 125), 640, 480), kPanel,
            TRect(200, 125, 840, 605)},
        Row{"EdgesBeforeTheBoundsAreRaisedToThem", Pixels(-10, -10, -10, -10), kPanel, TRect(0, 0, 410, 260)},
        Row{"OwnersRectangleIsKeptAsItIs", Owners(TRect(300, 20, 20, 200)), kPanel, TRect(300, 20, 20, 200)},
        Row{"OwnersRectangleLosesTheShadowOnce", Owners(TRect(20, 20, 300, 200), Shadowed(S{}, 3, 0)), kPanel,
            TRect(20, 20, 294, 200)}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(PanelLayout, TheCentreTruncatesTowardZero) {
    TPanelLayout l;
    l.ChartRect = TRect(-3, -3, 0, 0);
    PanelChartSize(l, Owners(l.ChartRect));
    EXPECT_EQ(l.ChartXCenter, -1);
    EXPECT_EQ(l.ChartYCenter, -1);
    l = PanelLayout(S{}, kPanel);
    EXPECT_EQ(l.ChartXCenter, 200);
    EXPECT_EQ(l.ChartYCenter, 125);
}

} // namespace
