// The chart's mouse, driven by mouse events sent to its window: zoom drags in
// each direction, undoing a zoom, panning and its limits, the wheel, clicks.
#include "chart/engine/chart.h"

#include "chart/engine/chartaxis.h"
#include "chart/engine/zuzfunction.h"
#include "charttestseries.h"
#include "fakechart.h"
#include "platform/gui/forms.h"
#include "tests/support/guiprobe.h"
#include "tests/support/testclass.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A tool that counts the wheel events it hears.
class TWheelTool : public testsupport::TTestClass<TWheelTool, TZuzCustomTool, "TWheelTool"> {
public:
    using TTestClass::TTestClass;
    void WheelMouseEvent(TWheelMouseEvent Kind, int Delta, int X, int Y) override {
        const char* names[] = {"down", "move", "up"};
        Heard.push_back(std::string(names[Kind]) + " " + std::to_string(Delta) + " at " + std::to_string(X) +
                        "," + std::to_string(Y));
    }
    std::vector<std::string> Heard;
};

class ChartMouse : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        form.reset(Create<TForm>(nullptr));
        form->SetBounds(0, 0, 420, 320);
        chart = NewChart();
        for (int i = 0; i <= 100; ++i) chart->GetSeries(0)->AddXY(i, i % 50);
        Layout();
    }
    TChart* NewChart() {
        TChart* c = Create<TChart>(form.get());
        c->SetParent(form.get());
        c->SetBounds(0, 0, 400, 300);
        c->SetBevelOuter(bvNone);
        c->SetView3D(false);
        c->AddSeries(Create<TPolySeries>(form.get()));
        return c;
    }
    // A drawing lays out the axes the mouse works on.
    void Layout(TChart* C = nullptr) {
        TBitmap out;
        out.SetSize(400, 300);
        (C ? C : chart)->Draw(out.GetCanvas(), TRect(0, 0, 400, 300));
    }
    TPoint Centre() const {
        const TRect r = chart->GetChartRect();
        return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
    }
    void Drag(TMouseButton Button, TPoint From, TPoint To) {
        probe::MousePress(*chart, Button, From);
        probe::MouseMoveTo(*chart, Button, {(From.X + To.X) / 2, (From.Y + To.Y) / 2});
        probe::MouseMoveTo(*chart, Button, To);
        probe::MouseRelease(*chart, Button, To);
    }
    TChartAxis* Bottom() const { return chart->GetBottomAxis(); }
    TChartAxis* Left() const { return chart->GetLeftAxis(); }

    Owned<TForm> form;
    TChart* chart = nullptr;
};

} // namespace

TEST_F(ChartMouse, ADragOfSixteenPixelsIsTooShortAndSeventeenZoomsToTheRectangle) {
    const TPoint c = Centre();
    Drag(mbLeft, c, {c.X + 16, c.Y + 16});
    EXPECT_TRUE(Bottom()->GetAutomatic());
    EXPECT_FALSE(chart->Zoomed);
    const double x0 = Bottom()->CalcPosPoint(c.X), x1 = Bottom()->CalcPosPoint(c.X + 17);
    const double y0 = Left()->CalcPosPoint(c.Y + 17), y1 = Left()->CalcPosPoint(c.Y);
    int zooms = 0;
    chart->OnZoom.Bind([&](TObject*) { ++zooms; });
    Drag(mbLeft, c, {c.X + 17, c.Y + 17});
    EXPECT_TRUE(chart->Zoomed);
    EXPECT_EQ(zooms, 1);
    EXPECT_FALSE(Bottom()->GetAutomatic());
    EXPECT_DOUBLE_EQ(Bottom()->GetMinimum(), x0);
    EXPECT_DOUBLE_EQ(Bottom()->GetMaximum(), x1);
    EXPECT_DOUBLE_EQ(Left()->GetMinimum(), y0);
    EXPECT_DOUBLE_EQ(Left()->GetMaximum(), y1);
    EXPECT_FALSE(chart->GetZoom()->Active);
}

TEST_F(ChartMouse, ADragUpAndLeftUndoesTheZoomUnlessUpLeftZooms) {
    const TPoint c = Centre();
    Drag(mbLeft, c, {c.X + 40, c.Y + 40});
    ASSERT_TRUE(chart->Zoomed);
    Layout();
    Drag(mbLeft, c, {c.X - 40, c.Y + 40});
    EXPECT_FALSE(chart->Zoomed);
    EXPECT_TRUE(Bottom()->GetAutomatic());
    EXPECT_TRUE(Left()->GetAutomatic());
    EXPECT_TRUE(chart->SavedScalesPending());

    chart->GetZoom()->SetUpLeftZooms(true);
    Layout();
    const double x0 = Bottom()->CalcPosPoint(c.X - 40), x1 = Bottom()->CalcPosPoint(c.X);
    Drag(mbLeft, c, {c.X - 40, c.Y - 40});
    EXPECT_TRUE(chart->Zoomed);
    EXPECT_DOUBLE_EQ(Bottom()->GetMinimum(), x0);
    EXPECT_DOUBLE_EQ(Bottom()->GetMaximum(), x1);
}

TEST_F(ChartMouse, AVerticalZoomSpansTheFullWidthAndChangesOnlyTheVerticalAxes) {
    chart->GetZoom()->SetDirection(tzdVertical);
    const TPoint c = Centre();
    probe::MousePress(*chart, mbLeft, c);
    EXPECT_EQ(chart->GetZoom()->X0, chart->GetChartRect().Left);
    EXPECT_EQ(chart->GetZoom()->X1, chart->GetChartRect().Right);
    probe::MouseMoveTo(*chart, mbLeft, {c.X + 3, c.Y + 30});
    probe::MouseRelease(*chart, mbLeft, {c.X + 3, c.Y + 30});
    EXPECT_TRUE(chart->Zoomed);
    EXPECT_TRUE(Bottom()->GetAutomatic());
    EXPECT_TRUE(chart->GetTopAxis()->GetAutomatic());
    EXPECT_FALSE(Left()->GetAutomatic());
    EXPECT_FALSE(chart->GetRightAxis()->GetAutomatic());
}

TEST_F(ChartMouse, ZoomingTwiceAndUndoingOnceGoesBackToTheFirstScales) {
    Left()->SetMinMax(-10, 60);
    Layout();
    const TPoint c = Centre();
    Drag(mbLeft, c, {c.X + 50, c.Y + 50});
    Layout();
    Drag(mbLeft, c, {c.X + 30, c.Y + 30});
    chart->UndoZoom();
    EXPECT_TRUE(Bottom()->GetAutomatic());
    EXPECT_FALSE(Left()->GetAutomatic());
    EXPECT_EQ(Left()->GetMinimum(), -10);
    EXPECT_EQ(Left()->GetMaximum(), 60);
}

TEST_F(ChartMouse, ZoomPercentOfAHundredKeepsTheRangesButSavesAndTells) {
    const double lo = Bottom()->CalcPosPoint(Bottom()->IStartPos),
                 hi = Bottom()->CalcPosPoint(Bottom()->IEndPos);
    int zooms = 0;
    chart->OnZoom.Bind([&](TObject*) { ++zooms; });
    chart->ZoomPercent(100);
    EXPECT_EQ(zooms, 1);
    EXPECT_FALSE(chart->SavedScalesPending());
    EXPECT_DOUBLE_EQ(Bottom()->GetMinimum(), lo);
    EXPECT_DOUBLE_EQ(Bottom()->GetMaximum(), hi);
    Layout();
    chart->ZoomPercent(110);
    const double d = (hi - lo) * 0.1;
    EXPECT_NEAR(Bottom()->GetMinimum(), lo + d, 1e-9 * (hi - lo) + 0.02 * (hi - lo));
    EXPECT_LT(Bottom()->GetMaximum() - Bottom()->GetMinimum(), hi - lo);
}

TEST_F(ChartMouse, PanningFollowsTheMouseInTheAllowedDirectionAndEndsOutsideTheChart) {
    chart->SetAllowPanning(pmHorizontal);
    // Rounded automatic ends: the axis is shown wider than its series' values.
    chart->GetSeries(0)->AddXY(-0.7, 0);
    // Rounding set on a chart drawn already lays it out as on a chart drawn with it from the first.
    chart->GetSeries(0)->AddXY(50, -7.3);
    Left()->SetMinimumRound(true);
    Layout();
    TChart* fresh = NewChart();
    fresh->GetSeries(0)->AssignValues(chart->GetSeries(0));
    fresh->GetLeftAxis()->SetMinimumRound(true);
    Layout(fresh);
    EXPECT_EQ(fresh->GetChartRect(), chart->GetChartRect());
    Bottom()->SetMinimumRound(true);
    Bottom()->SetMaximumRound(true);
    Layout();
    const TPoint c = Centre();
    const double delta = Bottom()->CalcPosPoint(c.X) - Bottom()->CalcPosPoint(c.X + 20);
    const double before = Bottom()->CalcPosPoint(Bottom()->IStartPos);
    const double beforeEnd = Bottom()->CalcPosPoint(Bottom()->IEndPos);
    ASSERT_NE(before, Bottom()->GetMinimum());
    int scrolls = 0;
    chart->OnScroll.Bind([&](TObject*) { ++scrolls; });
    probe::MousePress(*chart, mbRight, c);
    probe::MouseMoveTo(*chart, mbRight, {c.X + 20, c.Y + 20});
    EXPECT_EQ(scrolls, 1);
    EXPECT_FALSE(Bottom()->GetAutomatic());
    EXPECT_TRUE(Left()->GetAutomatic());
    EXPECT_NEAR(Bottom()->GetMinimum() - before, delta, 1e-9);
    EXPECT_NEAR(Bottom()->GetMaximum() - beforeEnd, delta, 1e-9);
    EXPECT_LT(delta, 0); // the content follows the mouse to the right
    // Out of the chart rectangle: panning stops, and coming back moves nothing.
    probe::MouseMoveTo(*chart, mbRight, {chart->GetChartRect().Right + 5, c.Y});
    EXPECT_FALSE(chart->GetPanning()->Active);
    const double now = Bottom()->GetMinimum();
    probe::MouseMoveTo(*chart, mbRight, {c.X - 30, c.Y});
    EXPECT_EQ(Bottom()->GetMinimum(), now);
    probe::MouseRelease(*chart, mbRight, {c.X - 30, c.Y});
    chart->UndoZoom();
    EXPECT_TRUE(Bottom()->GetAutomatic());
    // An axis that follows the bottom one is carried along by it, once, not moved twice as far.
    auto* follower = static_cast<TChartAxis*>(chart->GetCustomAxes()->Add());
    follower->SetHorizontal(true);
    follower->MasterAxis = Bottom();
    Bottom()->SetMinMax(0, 100);
    Layout();
    Drag(mbRight, c, {c.X + 20, c.Y});
    EXPECT_LT(Bottom()->GetMinimum(), 0);
    EXPECT_EQ(follower->GetMinimum(), Bottom()->GetMinimum());
    EXPECT_EQ(follower->GetMaximum(), Bottom()->GetMaximum());
    // On a logarithmic axis too what lay under the mouse stays under it, above nought.
    chart->SetAllowPanning(pmVertical);
    Left()->SetMinMax(1, 10000);
    Left()->SetLogarithmic(true);
    Layout();
    const double under = Left()->CalcPosPoint(c.Y - 60);
    Drag(mbRight, {c.X, c.Y - 60}, {c.X, c.Y + 60});
    Layout();
    EXPECT_NEAR(Left()->CalcYPosValue(under), c.Y + 60, 1);
    EXPECT_GT(Left()->GetMinimum(), 0);
}

TEST_F(ChartMouse, AnAxisRefusedByOnAllowScrollStaysWhereItIsForPanningAndWheel) {
    chart->OnAllowScroll.Bind(
        [](TObject*, TChartAxis* Axis, double&, double&, bool& Allow) { Allow = Axis->GetHorizontal(); });
    Left()->SetMinMax(0, 100);
    Layout();
    const TPoint c = Centre();
    Drag(mbRight, c, {c.X + 10, c.Y + 10});
    EXPECT_EQ(Left()->GetMinimum(), 0);
    EXPECT_EQ(Left()->GetMaximum(), 100);
    EXPECT_FALSE(Bottom()->GetAutomatic());
    probe::Wheel(*chart, c, -WHEEL_DELTA);
    EXPECT_EQ(Left()->GetMinimum(), 0);
}

TEST_F(ChartMouse, TheWheelScrollsOnlyWhenVerticalPanningIsAllowedButToolsAlwaysHearIt) {
    auto* tool = Create<TWheelTool>(form.get());
    chart->GetToolsList()->Add(tool);
    Left()->SetMinMax(0, 100);
    const TPoint at{120, 90};
    const std::string where = " at 120,90";
    chart->SetAllowPanning(pmNone);
    probe::Wheel(*chart, at, -WHEEL_DELTA);
    chart->SetAllowPanning(pmHorizontal);
    probe::Wheel(*chart, at, WHEEL_DELTA);
    EXPECT_EQ(Left()->GetMinimum(), 0);
    EXPECT_EQ(Left()->GetMaximum(), 100);
    EXPECT_EQ(tool->Heard, (std::vector<std::string>{"move -120" + where, "down 0" + where,
                                                     "move 120" + where, "up 0" + where}))
        << "tools hear every turn, in client coordinates";

    chart->SetAllowPanning(pmBoth);
    probe::Wheel(*chart, at, -WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(Left()->GetMinimum(), 3) << "a notch towards the user moves by 3 % of the range";
    EXPECT_DOUBLE_EQ(Left()->GetMaximum(), 103);
    probe::Wheel(*chart, at, 2 * WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(Left()->GetMinimum(), -3) << "two notches away scroll back twice";
    EXPECT_TRUE(Bottom()->GetAutomatic()) << "horizontal axes never scroll by the wheel";
    EXPECT_TRUE(chart->GetDepthAxis()->GetAutomatic()) << "nor do the depth axes";
    EXPECT_TRUE(chart->GetDepthTopAxis()->GetAutomatic());

    // An automatic axis shown rounded past its values moves from where it is shown.
    Left()->SetAutomatic(true);
    Left()->SetMaximumRound(true);
    Layout();
    const double lo = Left()->IMinimum, hi = Left()->IMaximum;
    ASSERT_NE(hi, Left()->GetMaximum());
    probe::Wheel(*chart, at, -WHEEL_DELTA);
    EXPECT_DOUBLE_EQ(Left()->GetMinimum(), lo + (hi - lo) * 0.03);
    EXPECT_DOUBLE_EQ(Left()->GetMaximum(), hi + (hi - lo) * 0.03);

    // On a logarithmic axis a notch moves by 3 % of the decades shown.
    Left()->SetMinMax(1, 10000);
    Left()->SetLogarithmic(true);
    Layout();
    probe::Wheel(*chart, at, -WHEEL_DELTA);
    EXPECT_NEAR(std::log10(Left()->GetMinimum()), 0.12, 1e-9);
    EXPECT_NEAR(std::log10(Left()->GetMaximum()), 4.12, 1e-9);
    probe::Wheel(*chart, at, 2 * WHEEL_DELTA);
    EXPECT_NEAR(std::log10(Left()->GetMinimum()), -0.12, 1e-9) << "two notches away scroll back twice";
    EXPECT_NEAR(std::log10(Left()->GetMaximum()), 3.88, 1e-9);
}

TEST_F(ChartMouse, WithoutZoomNoRectangleIsDrawnAndClicksStillRaiseTheirEvents) {
    chart->GetZoom()->SetAllow(false);
    int clicks = 0;
    chart->OnClickBackground.Bind([&](TCustomChart*, TMouseButton, TShiftState, int, int) { ++clicks; });
    const TPoint c = Centre();
    probe::MousePress(*chart, mbLeft, c);
    EXPECT_FALSE(chart->GetZoom()->Active);
    probe::MouseMoveTo(*chart, mbLeft, {c.X + 40, c.Y + 40});
    probe::MouseRelease(*chart, mbLeft, {c.X + 40, c.Y + 40});
    EXPECT_FALSE(chart->Zoomed);
    EXPECT_GE(clicks, 1);
}
