// Clicks on line-type series: on a point, on a segment (its first point), one
// pixel off the line and farther off, on stairs legs, on a pointer (its event
// first), inside an area; and the point series's styles and settings.
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "linefixture.h"
#include "tests/chart/series/chartunits.h"
#include "tests/chart/series/keeptypes.h"

#include <cmath>
#include <numbers>
#include <vector>

namespace {

using Clicks = LineTest;

TEST_F(Clicks, APointReturnsItsIndexAndASegmentItsFirstPoint) {
    auto* s = Add({{1, 2}, {5, 8}, {9, 2}});
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 8)), 1);
    EXPECT_EQ(s->Clicked(At(1, 2)), 0);
    EXPECT_EQ(s->Clicked(Mid(At(1, 2), At(5, 8))), 0);
    EXPECT_EQ(s->Clicked(Mid(At(5, 8), At(9, 2))), 1);
    // The series asks the same of the pointer's place on the chart.
    chart->SetBounds(30, 20, 220, 170);
    Mouse->SetCursorPos(chart->ClientToScreen(At(5, 8)));
    EXPECT_EQ(s->GetCursorValueIndex(), 1);
    double x = 0, y = 0;
    s->GetCursorValues(x, y);
    EXPECT_NEAR(x, 5, 0.1);
    EXPECT_NEAR(y, 8, 0.1);
}

TEST_F(Clicks, InATurnedViewInPerspectiveAClickFindsWhatIsDrawnThere) {
    auto* s = Add({{1, 2}, {5, 8}, {9, 2}});
    s->SetClickableLine(false);
    chart->SetView3D(true);
    TView3DOptions* view = chart->GetView3DOptions();
    view->SetOrthogonal(false);
    view->SetRotation(335);
    view->SetElevation(340);
    view->SetPerspective(50);
    Draw();
    auto drawn = [&](double X, double Y) {
        const TPoint p = At(X, Y);
        return chart->GetCanvas()->Calculate3DPosition(p.X, p.Y, s->StartZ);
    };
    EXPECT_EQ(s->Clicked(drawn(5, 8)), 1);
    EXPECT_EQ(s->Clicked(drawn(9, 2)), 2);
    s->SetClickableLine(true);
    EXPECT_EQ(s->Clicked(Mid(drawn(5, 8), drawn(9, 2))), 1);
    // Across the ribbon to its back edge, and not beside it, turned the other way too.
    view->SetRotation(30);
    view->SetElevation(330);
    Draw();
    auto at = [&](double X, double Y, int Z) {
        const TPoint p = At(X, Y);
        return chart->GetCanvas()->Calculate3DPosition(p.X, p.Y, Z);
    };
    for (const int z : {(s->StartZ + s->EndZ) / 2, s->EndZ})
        EXPECT_EQ(s->Clicked(Mid(at(5, 8, z), at(9, 2, z))), 1) << z;
    EXPECT_EQ(s->Clicked(at(7, 8, s->StartZ)), -1);
}

TEST_F(Clicks, OnePixelOffTheLineStillHitsButThreePixelsOffMisses) {
    auto* s = Add({{1, 5}, {9, 5}});
    Draw();
    const TPoint m = At(5, 5);
    EXPECT_EQ(s->Clicked(m.X, m.Y + 1), 0);
    EXPECT_EQ(s->Clicked(m.X, m.Y - 1), 0);
    EXPECT_EQ(s->Clicked(m.X, m.Y + 3), -1);
    EXPECT_EQ(s->Clicked(m.X, m.Y - 3), -1);
    EXPECT_EQ(s->Clicked(At(9.8, 5).X + 5, m.Y), -1) << "past the last point";
}

TEST_F(Clicks, WithoutClickableLineOrWithTheLinePenHiddenOnlyPointsHit) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->SetClickableLine(false);
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 5)), -1);
    EXPECT_EQ(s->Clicked(At(9, 5)), 1);
    // Pointers alone leave blank paper between them; an outline draws the line again.
    s->SetClickableLine(true);
    s->GetLinePen()->SetVisible(false);
    s->GetPointer()->SetVisible(true);
    Draw();
    EXPECT_FALSE(Near(At(5, 5), clRed, 2));
    EXPECT_EQ(s->Clicked(At(5, 5)), -1);
    EXPECT_EQ(s->Clicked(At(9, 5)), 1);
    s->GetOutLine()->SetVisible(true);
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 5)), 0);
    // In 3D the ribbon's brush fills it all the same, unless that brush is clear too.
    s->GetOutLine()->SetVisible(false);
    chart->SetView3D(true);
    Draw();
    const TPoint m = At(5, 5);
    const TPoint back = chart->GetCanvas()->Calculate3DPosition(m.X, m.Y, (s->StartZ + s->EndZ) / 2);
    EXPECT_EQ(s->Clicked(back), 0);
    s->SetLineBrush(bsClear);
    Draw();
    EXPECT_EQ(s->Clicked(back), -1);
}

TEST_F(Clicks, StairsHitOnTheirTwoLegsNotOnTheDiagonal) {
    auto* s = Add({{2, 2}, {8, 8}});
    s->SetStairs(true);
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 2)), 0) << "the tread";
    EXPECT_EQ(s->Clicked(At(8, 5)), 0) << "the riser";
    EXPECT_EQ(s->Clicked(At(5, 5)), -1) << "the diagonal";
    s->SetInvertedStairs(true);
    EXPECT_EQ(s->Clicked(At(2, 5)), 0);
    EXPECT_EQ(s->Clicked(At(5, 8)), 0);
    EXPECT_EQ(s->Clicked(At(8, 5)), -1);
    // A horizontal line steps along Y first, drawn and clicked, as in 3D and as its area fills.
    auto* h = Add<THorizLineSeries>({{2, 2}, {8, 8}}, clBlue);
    h->SetStairs(true);
    s->SetActive(false);
    Draw();
    for (const TPoint leg : {At(2, 5), At(5, 8)}) {
        EXPECT_EQ(h->Clicked(leg), 0);
        EXPECT_TRUE(Is(leg, clBlue));
    }
    EXPECT_EQ(h->Clicked(At(5, 2)), -1);
    EXPECT_FALSE(Is(At(5, 2), clBlue));
    h->SetInvertedStairs(true);
    Draw();
    EXPECT_EQ(h->Clicked(At(5, 2)), 0);
    EXPECT_TRUE(Is(At(8, 5), clBlue));
    h->SetActive(false);
    s->SetActive(true);
    // In 3D the legs are a tread and a riser reaching back, halfway back as at the front.
    s->SetInvertedStairs(false);
    chart->SetView3D(true);
    Draw();
    const auto at = [&](double X, double Y) {
        const TPoint p = At(X, Y);
        return chart->GetCanvas()->Calculate3DPosition(p.X, p.Y, (s->StartZ + s->EndZ) / 2);
    };
    EXPECT_EQ(s->Clicked(at(5, 2)), 0) << "the tread";
    EXPECT_EQ(s->Clicked(at(8, 5)), 0) << "the riser";
    EXPECT_EQ(s->Clicked(at(5, 5)), -1) << "the diagonal";
}

TEST_F(Clicks, APointerIsHitWithinItsHalfSizeAndRaisesItsEventFirst) {
    auto* s = Add({{1, 5}, {9, 5}});
    s->GetPointer()->SetVisible(true);
    Draw();
    int raised = -1;
    s->OnClickPointer.Bind([&](TCustomSeries*, int ValueIndex, int, int) { raised = ValueIndex; });
    EXPECT_TRUE(s->RaiseClicked());
    const TPoint p = At(9, 5);
    EXPECT_EQ(s->Clicked(p.X - 3, p.Y - 3), 1);
    EXPECT_EQ(raised, 1);
    raised = -1;
    EXPECT_EQ(s->Clicked(p.X + 4, p.Y - 4), -1) << "the half size itself is outside";
    EXPECT_EQ(raised, -1);
    s->GetPointer()->SetStyle(psNothing);
    EXPECT_EQ(s->Clicked(p.X - 3, p.Y - 3), -1);
}

TEST_F(Clicks, InsideTheAreaHitsWhenTheAreaIsDrawn) {
    auto* s = Add({{1, 8}, {9, 8}});
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 4)), -1);
    s->SetDrawArea(true);
    s->GetLinePen()->SetVisible(false); // the area is filled all the same
    Draw();
    EXPECT_EQ(s->Clicked(At(5, 4)), 0);
    // In 3D the side face that closes the area at its last point is part of it, halfway back
    // and halfway down; just beyond it nothing is.
    chart->SetView3D(true);
    Draw();
    const TPoint end = At(9, 4);
    const TPoint face = chart->GetCanvas()->Calculate3DPosition(end.X, end.Y, (s->StartZ + s->EndZ) / 2);
    EXPECT_EQ(s->Clicked(face), 0);
    const TPoint beyond = chart->GetCanvas()->Calculate3DPosition(end.X + 3, end.Y, s->EndZ);
    EXPECT_EQ(s->Clicked(beyond.X + 3, beyond.Y), -1);
}

TEST_F(Clicks, ASeriesWithNothingVisibleIsNeverHit) {
    auto* s = Create<TLineSeries>(chart.get());
    EXPECT_EQ(s->Clicked(10, 10), -1);
}

// ---------------------------------------------------------------------------
// Point series

using PointSeries = LineTest;

TEST_F(PointSeries, ShowsPointersOnlyAndIsNotClickableAlongALine) {
    auto* s = Add<TPointSeries>({{2, 5}, {8, 5}});
    EXPECT_TRUE(s->GetPointer()->GetVisible());
    EXPECT_FALSE(s->GetDrawLine());
    EXPECT_FALSE(s->GetClickableLine());
    EXPECT_EQ(s->GetEditorClass(), u"TSeriesPointerEditor");
    Draw();
    EXPECT_TRUE(Is(At(2, 5), clRed));
    EXPECT_TRUE(Is(At(8, 5), clRed));
    EXPECT_FALSE(Near(At(5, 5), clRed, 2)) << "no line between the points";
    EXPECT_EQ(s->Clicked(At(5, 5)), -1);
}

struct StyleRow {
    const char* rule;
    TSeriesPointerStyle style;
    TPoint inked, blank; // offsets from the point, half sizes 4
};

class PointStyle : public LineTest, public ::testing::WithParamInterface<StyleRow> {};

TEST_P(PointStyle, DrawsItsShapeAtThePoint) {
    const StyleRow& r = GetParam();
    chart->GetBottomAxis()->GetGrid()->SetVisible(false);
    chart->GetLeftAxis()->GetGrid()->SetVisible(false);
    auto* s = Add<TPointSeries>({{5, 5}});
    s->GetPointer()->SetStyle(r.style);
    s->GetPointer()->SetDraw3D(false);
    Draw();
    const TPoint p = At(5, 5);
    EXPECT_FALSE(Is({p.X + r.inked.X, p.Y + r.inked.Y}, clWhite)) << "blank where the shape is";
    EXPECT_TRUE(Is({p.X + r.blank.X, p.Y + r.blank.Y}, clWhite)) << "inked outside the shape";
}

INSTANTIATE_TEST_SUITE_P(
    Styles, PointStyle,
    ::testing::Values(StyleRow{"RectangleFillsItsCorner", psRectangle, {-4, -4}, {-6, 0}},
                      StyleRow{"CircleLeavesItsCorner", psCircle, {0, -3}, {-4, -4}},
                      StyleRow{"TriangleHasItsTipUp", psTriangle, {0, -3}, {-4, -4}},
                      StyleRow{"DownTriangleHasItsTipDown", psDownTriangle, {0, 3}, {-4, 4}},
                      StyleRow{"DiamondLeavesItsCorners", psDiamond, {0, -3}, {-4, -4}},
                      StyleRow{"CrossHasNoCorners", psCross, {0, -4}, {-3, -3}},
                      StyleRow{"DiagCrossHasNoMiddleTop", psDiagCross, {-4, -4}, {0, -4}},
                      StyleRow{"SmallDotIsOnePixel", psSmallDot, {0, 0}, {1, 1}}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(PointSeries, NothingDrawsNothingAndCannotBeClicked) {
    auto* s = Add<TPointSeries>({{5, 5}});
    s->GetPointer()->SetStyle(psNothing);
    Draw();
    EXPECT_FALSE(Near(At(5, 5), clRed, 4));
    EXPECT_FALSE(Near(At(5, 5), clBlack, 4));
    const TPoint p = At(5, 5);
    EXPECT_EQ(s->Clicked(p.X + 1, p.Y), -1);
}

TEST_F(PointSeries, OneColourPerPointSetsThePointerToTakeEachPointsColour) {
    auto* s = Create<TPointSeries>(chart.get());
    s->GetPointer()->SetColor(clBlue);
    s->SetColorEachPoint(false);
    EXPECT_EQ(s->GetPointer()->GetColor(), clBlue);
    s->SetColorEachPoint(true);
    EXPECT_EQ(s->GetPointer()->GetColor(), clZuzColor);
    s->SetColorEachPoint(false);
    EXPECT_EQ(s->GetPointer()->GetColor(), clZuzColor);
}

TEST_F(PointSeries, TransparencyIsThePointers) {
    auto* s = Create<TPointSeries>(chart.get());
    s->SetTransparency(40);
    EXPECT_EQ(s->GetPointer()->GetTransparency(), 40);
    EXPECT_EQ(s->GetTransparency(), 40);
}

// A half see-through solid is so all over: no part of its far side or of its turned edges
// shows the point's colour, or a darker shade of it, unblended.
TEST_F(PointSeries, AHalfTransparentSolidIsBlendedAllOverInEveryView) {
    auto* s = Add<TPointSeries>({{3, 3}, {7, 6}});
    s->SetTransparency(50);
    s->GetPointer()->SetSize(8);
    chart->SetView3D(true);
    chart->Set3DPercent(60);
    for (const bool turned : {false, true})
        for (const TSeriesPointerStyle style : {psRectangle, psTriangle, psDownTriangle}) {
            chart->GetView3DOptions()->SetOrthogonal(!turned);
            chart->GetView3DOptions()->SetRotation(turned ? 330 : 345);
            chart->GetView3DOptions()->SetElevation(turned ? 340 : 345);
            s->GetPointer()->SetStyle(style);
            Draw();
            int opaque = 0;
            for (int y = 0; y < out.GetHeight(); ++y)
                for (int x = 0; x < out.GetWidth(); ++x) {
                    const probe::Rgb p = Pixel({x, y});
                    opaque += p.r > 0 && p.g == 0 && p.b == 0;
                }
            EXPECT_EQ(opaque, 0) << "style " << int(style) << (turned ? " turned" : "");
        }
}

// A pyramid's gradient covers its whole front face, up to the tip at the middle of its depth, and a
// circle's stays inside the circle as drawn.
TEST_F(PointSeries, AGradientFillsTheSymbolAsItIsDrawnIn3D) {
    auto* s = Add<TPointSeries>({{3, 3}, {7, 6}});
    TSeriesPointer* pointer = s->GetPointer();
    pointer->SetSize(8);
    pointer->SetStyle(psTriangle);
    pointer->GradientOwnColors = true;
    pointer->GetGradient()->SetStartColor(clWhite);
    pointer->GetGradient()->SetEndColor(clBlue);
    pointer->GetGradient()->SetVisible(true);
    chart->SetView3D(true);
    chart->Set3DPercent(60);
    Draw();
    // Near the face's right edge, between its base corner and its tip.
    const TPoint p = At(7, 6);
    TCanvas3D* c = chart->GetCanvas();
    const TPoint b = c->Calculate3DPosition(p.X + 8, p.Y + 8, s->StartZ);
    const TPoint t = c->Calculate3DPosition(p.X, p.Y - 8, (s->StartZ + s->EndZ) / 2);
    const TPoint a = c->Calculate3DPosition(p.X - 8, p.Y + 8, s->StartZ);
    EXPECT_FALSE(Is({(a.X + 4 * b.X + 5 * t.X) / 10, (a.Y + 4 * b.Y + 5 * t.Y) / 10}, clRed));

    // A flat circle in a turned view leans: the gradient stays inside it as drawn.
    pointer->SetStyle(psCircle);
    pointer->SetDraw3D(false);
    pointer->GetGradient()->SetStartColor(clLime);
    pointer->GetPen()->SetVisible(false);
    pointer->SetSize(30);
    chart->GetView3DOptions()->SetOrthogonal(false);
    chart->GetView3DOptions()->SetRotation(345);
    chart->GetView3DOptions()->SetElevation(345);
    chart->GetView3DOptions()->SetPerspective(15);
    chart->GetLegend()->SetVisible(false);
    Draw();
    std::vector<std::vector<TPoint>> rings;
    for (const TPoint centre : {At(3, 3), At(7, 6)}) {
        std::vector<TPoint>& ring = rings.emplace_back();
        for (int i = 0; i < 64; ++i) {
            const double angle = i * 2 * std::numbers::pi / 64;
            ring.push_back(c->Calculate3DPosition(
                centre.X + static_cast<int>(std::lround(30 * std::sin(angle))),
                centre.Y + static_cast<int>(std::lround(30 * std::cos(angle))), s->StartZ));
        }
    }
    const auto inside = [&](int X, int Y) {
        return PointInPolygon({X, Y}, rings[0].data(), 63) || PointInPolygon({X, Y}, rings[1].data(), 63);
    };
    int spilled = 0;
    for (int y = 1; y < out.GetHeight() - 1; ++y)
        for (int x = 1; x < out.GetWidth() - 1; ++x) {
            const probe::Rgb q = Pixel({x, y});
            const bool near =
                inside(x, y) || inside(x - 1, y) || inside(x + 1, y) || inside(x, y - 1) || inside(x, y + 1);
            spilled += !near && q.r == 0 && (q.g > 0 || q.b > 0);
        }
    EXPECT_EQ(spilled, 0) << "the gradient outside the circle";

    // A turned cube's front face takes the gradient up to its frame: no pixel keeps the plain
    // colour (its other faces are darker).
    pointer->SetStyle(psRectangle);
    pointer->SetDraw3D(true);
    pointer->GetPen()->SetVisible(true);
    pointer->SetSize(14);
    Draw();
    int plain = 0;
    for (int y = 0; y < out.GetHeight(); ++y)
        for (int x = 0; x < out.GetWidth(); ++x) plain += Is({x, y}, clRed);
    EXPECT_EQ(plain, 0) << "the cube's front face in its plain colour";
}

TEST_F(PointSeries, HorizontalLinesAndAreasSortByYAndDrawEveryPoint) {
    auto* s = Create<THorizLineSeries>(chart.get());
    EXPECT_FALSE(s->YMandatory());
    EXPECT_FALSE(s->CalcVisiblePoints);
    EXPECT_EQ(s->GetXValues()->GetOrder(), loNone);
    EXPECT_EQ(s->GetYValues()->GetOrder(), loAscending);
    chart->AddSeries(s);
    s->SetSeriesColor(clRed);
    s->AddXY(8, 8);
    s->AddXY(2, 2);
    EXPECT_DOUBLE_EQ(s->YValue(0), 2);
    Draw();
    EXPECT_TRUE(Near(At(5, 5), clRed));
    // The area along the vertical axis too, its labels with their points.
    auto* area = Create<THorizAreaSeries>(chart.get());
    chart->AddSeries(area);
    for (const double y : {3.0, 1.0, 2.0}) area->AddXY(y + 4, y, FloatToStr(y));
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(area->YValue(i), i + 1);
        EXPECT_DOUBLE_EQ(area->XValue(i), i + 5);
        EXPECT_EQ(area->GetXLabel(i), FloatToStr(i + 1));
    }
}

// ---------------------------------------------------------------------------
// Gallery and registration

TEST(LineGallery, VariantsFollowTheNormalOneInTheirOrder) {
    StartChartUnits();
    Owned<TLineSeries> line(Create<TLineSeries>(nullptr));
    std::vector<String> names;
    line->CreateSubGallery([&](const String& n) { names.push_back(n); });
    ASSERT_EQ(names.size(), 9u);
    EXPECT_EQ(names[0], VavIve_Normal);
    EXPECT_EQ(names[1], VavIve_Stairs);
    EXPECT_EQ(names[7], u"No Border");
    EXPECT_EQ(names[8], VavIve_Outline);
    line->SetSubGallery(line.get(), 1);
    EXPECT_TRUE(line->GetStairs());
    line->SetSubGallery(line.get(), 3);
    EXPECT_EQ(line->GetLineHeight(), 5);
    Owned<TPointSeries> point(Create<TPointSeries>(nullptr));
    names.clear();
    point->CreateSubGallery([&](const String& n) { names.push_back(n); });
    ASSERT_EQ(names.size(), 14u);
    EXPECT_EQ(names[13], VavIve_Hexagon);
    point->SetSubGallery(point.get(), 9);
    EXPECT_EQ(point->GetPointer()->GetStyle(), psCircle);
    EXPECT_EQ(point->GetPointer()->GetHorizSize(), 8);
}

TEST(StandardSeries, RegisterInGalleryOrderOnTheStandardPage) {
    StartChartUnits();
    const KeepTypes keep;
    ZuzSeriesTypes().Clear();
    RegisterZuzStandardSeries();
    std::vector<std::pair<const ClassInfo*, int>> seen;
    for (int i = 0; i < ZuzSeriesTypes().Count(); ++i) {
        const TZuzSeriesType* t = ZuzSeriesTypes().Get(i);
        EXPECT_EQ(t->GetGalleryPage(), VavIve_GalleryStandard);
        seen.emplace_back(t->SeriesClass, t->NumGallerySeries);
    }
    const std::vector<std::pair<const ClassInfo*, int>> expected = {
        {&TLineSeries::StaticClass(), 2},      {&TBarSeries::StaticClass(), 2},
        {&THorizBarSeries::StaticClass(), 2},  {&TAreaSeries::StaticClass(), 2},
        {&TPointSeries::StaticClass(), 2},     {&TPieSeries::StaticClass(), 1},
        {&TFastLineSeries::StaticClass(), 2},  {&THorizLineSeries::StaticClass(), 1},
        {&THorizAreaSeries::StaticClass(), 1},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(ZuzSeriesTypes().Find(&TLineSeries::StaticClass())->GetDescription(), VavIve_GalleryLine);
    EXPECT_EQ(ZuzSeriesTypes().Find(&THorizLineSeries::StaticClass())->GetDescription(), u"Horizontal\rLine");
    EXPECT_EQ(ZuzSeriesTypes().Find(&TFastLineSeries::StaticClass())->GetDescription(), u"Fast Line");
    EXPECT_NE(GetClass("TPieSeries"), nullptr) << "a stream can create it by name";
    RegisterZuzStandardSeries();
    EXPECT_EQ(ZuzSeriesTypes().Count(), static_cast<int>(seen.size())) << "registering twice adds nothing";
}

} // namespace
