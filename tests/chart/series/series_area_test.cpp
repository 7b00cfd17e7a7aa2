// Area series: the fill down to the origin, the fixed origin widening the
// value range, stacking within stack groups only, drawing order, Assign.
#include "chart/canvas/zuzshadow.h"
#include "chart/series/series_area.h"
#include "seriesfixture.h"

namespace {

class AreaTest : public SeriesTest {
protected:
    int X(double V) { return Bottom()->CalcXPosValue(V); }
    int Y(double V) { return Left()->CalcYPosValue(V); }
    TAreaSeries* AddArea(std::initializer_list<double> Values, TColor Color) {
        auto* s = AddSeries<TAreaSeries>(Values, Color);
        s->GetAreaLinesPen()->SetVisible(false);
        return s;
    }
};

} // namespace

// Probes stand between grid lines and away from the category lines.
TEST_F(AreaTest, TheAreaFillsFromTheLineDownToTheAxis) {
    auto* s = AddArea({50, 50, 50}, clBlue);
    Bottom()->SetMinMax(0, 2);
    Left()->SetMinMax(0, 100);
    Draw();
    SavePicture("area.png");
    EXPECT_EQ(Pixel(X(0.5), Y(27)), Rgb(clBlue));
    EXPECT_EQ(Pixel(X(0.5), Y(73)), Rgb(clWhite));
    EXPECT_EQ(s->GetMultiArea(), maNone);
}

TEST_F(AreaTest, AFixedOriginWidensTheRangeAndTheAreaStopsThere) {
    auto* s = AddArea({20, 30, 25}, clBlue);
    s->SetUseYOrigin(true);
    s->SetYOrigin(10);
    EXPECT_DOUBLE_EQ(s->MinYValue(), 10);
    EXPECT_DOUBLE_EQ(s->MaxYValue(), 30);
    Bottom()->SetMinMax(0, 2);
    Left()->SetMinMax(0, 40);
    Draw();
    EXPECT_EQ(s->GetOriginPos(1), Y(10));
    EXPECT_EQ(Pixel(X(0.5), Y(17)), Rgb(clBlue));
    EXPECT_EQ(Pixel(X(0.5), Y(3)), Rgb(clWhite));
}

TEST_F(AreaTest, DrawingA3DGradientAreaKeepsItsStoredGradient) {
    auto* s = AddArea({20, 30, 25}, clBlue);
    s->GetGradient()->SetVisible(true);
    s->GetGradient()->SetStartColor(clGreen);
    chart->SetView3D(true);
    Draw();
    EXPECT_EQ(s->GetGradient()->GetStartColor(), clGreen);
}

// A transparent 3D area is blended once, as a whole: its pointers keep their own transparency (an
// opaque one shows the series' colour unblended) and leave the area's as it is.
TEST_F(AreaTest, ATransparent3DAreaAndItsPointersKeepEachTheirOwnTransparency) {
    auto* s = AddArea({50, 50, 50}, clRed);
    Bottom()->SetMinMax(0, 2);
    Left()->SetMinMax(0, 100);
    s->SetTransparency(50);
    s->GetPointer()->SetSize(6);
    chart->SetView3D(true);
    Draw();
    const probe::Rgb area = Pixel(X(0.5), Y(20));
    s->GetPointer()->SetVisible(true);
    for (const int pointer : {0, 30}) {
        s->GetPointer()->SetTransparency(pointer);
        Draw();
        EXPECT_EQ(Pixel(X(0.5), Y(20)), area) << "pointers " << pointer;
        const TRect r = chart->GetChartRect();
        int red = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) red += Pixel(x, y) == Rgb(clRed);
        EXPECT_EQ(red > 0, pointer == 0) << "pointers " << pointer;
    }
}

// Its shadow and its outline are drawn as the area is, blended once: where their faces overlap on
// screen no colour builds up past two layers of half red (the pass's and the area's own).
TEST_F(AreaTest, ATransparent3DAreasShadowAndOutlineAreBlendedOnceToo) {
    auto* s = AddArea({20, 90, 30, 80}, clRed);
    s->GetLinePen()->SetVisible(false);
    s->SetTransparency(50);
    chart->SetView3D(true);
    chart->Set3DPercent(40);
    chart->GetView3DOptions()->SetOrthogonal(false);
    chart->GetView3DOptions()->SetRotation(300);
    chart->GetView3DOptions()->SetElevation(340);
    for (const bool shadow : {true, false}) {
        s->GetShadow()->SetVisible(shadow);
        s->GetShadow()->SetColor(clRed);
        s->GetShadow()->SetSize(8);
        s->GetOutLine()->SetVisible(!shadow);
        s->GetOutLine()->SetColor(clRed);
        Draw();
        const TRect r = chart->GetChartRect();
        int deep = 0;
        for (int y = r.Top; y < r.Bottom; ++y)
            for (int x = r.Left; x < r.Right; ++x) {
                const probe::Rgb p = Pixel(x, y);
                deep += p.r > 240 && p.g < 50 && p.b < 50;
            }
        EXPECT_EQ(deep, 0) << (shadow ? "shadow" : "outline");
    }
}

TEST_F(AreaTest, StackedAreasStackOnlyWithinTheirGroup) {
    auto* a = AddArea({10, 10, 10}, clRed);
    auto* b = AddArea({20, 20, 20}, clBlue);
    a->SetMultiArea(maStacked);
    EXPECT_EQ(b->GetMultiArea(), maStacked);
    Bottom()->SetMinMax(0, 2);
    Left()->SetMinMax(0, 40);
    Draw();
    SavePicture("area-stacked.png");
    EXPECT_EQ(b->CalcYPos(1), Y(30));
    EXPECT_EQ(Pixel(X(0.5), Y(21)), Rgb(clBlue));
    EXPECT_EQ(Pixel(X(0.5), Y(3)), Rgb(clRed));
    b->SetStackGroup(1);
    Draw();
    EXPECT_EQ(b->CalcYPos(1), Y(20));
}

TEST_F(AreaTest, AssigningALineSeriesHidesThePointerAndKeepsTheOrigin) {
    auto* area = AddArea({1, 2}, clRed);
    area->GetPointer()->SetVisible(true);
    area->SetUseYOrigin(true);
    area->SetYOrigin(5);
    auto* line = AddSeries<TLineSeries>({3, 4});
    area->Assign(line);
    EXPECT_FALSE(area->GetPointer()->GetVisible());
    EXPECT_TRUE(area->GetUseYOrigin());
    EXPECT_DOUBLE_EQ(area->GetYOrigin(), 5);
    EXPECT_TRUE(area->GetDrawArea());
}

TEST_F(AreaTest, AStackedHorizontalAreaOnAnInvertedAxisDrawsInReverse) {
    auto* s = AddSeries<THorizAreaSeries>({1, 2});
    EXPECT_TRUE(s->DrawSeriesForward(0));
    s->SetMultiArea(maStacked);
    EXPECT_TRUE(s->DrawSeriesForward(0));
    Bottom()->SetInverted(true);
    EXPECT_FALSE(s->DrawSeriesForward(0));
}
