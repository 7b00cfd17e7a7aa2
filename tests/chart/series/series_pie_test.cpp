// Circled and pie series: the circle's layout and conversions, slice angles
// for known values, the Other slice with its own legend and totals, exploded
// slices, several pies, 2D and 3D slices by pixel probes, the circle's back
// colour, and which slice a click on a slice or a mark hits.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "platform/gui/printers.h"
#include "seriesfixture.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/support/tempdir.h"

#include <cmath>
#include <numbers>
#include <string>

namespace {

constexpr double Pi = std::numbers::pi;
constexpr double Deg = Pi / 180;

class PieTest : public SeriesTest {
protected:
    TPieSeries* AddPie(std::initializer_list<double> Values) {
        auto* s = AddSeries<TPieSeries>(Values);
        s->GetGradient()->SetVisible(false);
        const TColor colors[] = {clRed, clBlue, clLime, clYellow, clFuchsia, clAqua};
        for (int i = 0; i < s->Count(); ++i) s->SetValueColor(i, colors[i % 6]);
        return s;
    }
    // Names the points, as the operator's pies are.
    static void Label(TPieSeries* S) {
        static const char16_t* const names[] = {u"Освещение", u"Вентиляция", u"Отопление", u"Прочие нужды"};
        for (int i = 0; i < S->Count(); ++i) S->SetXLabel(i, names[i % 4]);
    }
    // 5, 10 and 85, named, the first two grouped into Other.
    TPieSeries* GroupedPie() {
        auto* s = AddPie({5, 10, 85});
        Label(s);
        s->GetOtherSlice()->SetStyle(poBelowPercent);
        s->GetOtherSlice()->SetValue(15);
        return s;
    }
    // How many pixels of a rectangle have the colour.
    int Count(const TRect& R, TColor C) {
        int n = 0;
        for (int y = R.Top; y < R.Bottom; ++y)
            for (int x = R.Left; x < R.Right; ++x) n += Pixel(x, y) == Rgb(C) ? 1 : 0;
        return n;
    }
    static TPoint Centre(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }
    // The pixel halfway out from the centre along an angle.
    probe::Rgb At(TPieSeries* S, double Angle, double Fraction = 0.5) {
        int x, y;
        S->AngleToPos(Angle, S->XRadius * Fraction, S->YRadius * Fraction, x, y);
        return Pixel(x, y);
    }
};

} // namespace

// ---------------------------------------------------------------------------
// The circle

TEST_F(PieTest, AnOddChartRectangleLosesAPixelAndTinyOnesGrowToFour) {
    auto* s = AddPie({1});
    s->CircleRect = TRect(0, 0, 101, 51);
    s->AdjustCircleRect();
    EXPECT_EQ(s->CircleWidth, 100);
    EXPECT_EQ(s->CircleHeight, 50);
    EXPECT_EQ(s->CircleXCenter, 50);
    EXPECT_EQ(s->CircleYCenter, 25);
    s->CircleRect = TRect(10, 10, 11, 12);
    s->AdjustCircleRect();
    EXPECT_EQ(s->CircleRect, TRect(10, 10, 14, 14));
}

TEST_F(PieTest, RotationIsKeptWithinAFullTurn) {
    auto* s = AddPie({1});
    s->SetRotationAngle(400);
    EXPECT_EQ(s->GetRotationAngle(), 40);
    s->SetRotationAngle(10);
    s->Rotate(-50);
    EXPECT_EQ(s->GetRotationAngle(), -40);
    EXPECT_DOUBLE_EQ(s->RotationRadians(), -40 * Deg);
}

TEST_F(PieTest, AnglesAndPointsConvertBothWays) {
    auto* s = AddPie({1});
    s->CircleXCenter = 100;
    s->CircleYCenter = 100;
    s->XRadius = 50;
    s->YRadius = 50;
    int x, y;
    s->AngleToPos(Pi / 2, 50, 50, x, y);
    EXPECT_EQ(TPoint(x, y), TPoint(100, 50)); // counter-clockwise, 0 at the right
    EXPECT_DOUBLE_EQ(s->PointToAngle(100, 150), 3 * Pi / 2);
    EXPECT_DOUBLE_EQ(s->PointToAngle(100, 40), Pi / 2);
    EXPECT_NEAR(s->PointToAngle(150, 100), 0, 1e-12);
    EXPECT_NEAR(s->PointToAngle(50, 100), Pi, 1e-12);
    s->SetRotationAngle(90);
    EXPECT_NEAR(s->PointToAngle(100, 50), 0, 1e-12);
}

TEST_F(PieTest, ACircleOfNoRadiusMapsEveryPointToTheMinimum) {
    auto* s = AddPie({1});
    Left()->SetMinMax(5, 25);
    s->CircleXCenter = s->CircleYCenter = 100;
    s->XRadius = 0;
    s->YRadius = 50;
    EXPECT_DOUBLE_EQ(s->PointToRadius(130, 140), 5);
    EXPECT_DOUBLE_EQ(s->PointToAngle(130, 140), 0);
    s->XRadius = 50;
    EXPECT_DOUBLE_EQ(s->PointToRadius(150, 100), 25);
}

TEST_F(PieTest, KeepingTheCircleRoundTrimsTheLongerRadiusWhateverThePicturesShape) {
    TRect r(0, 0, 200, 100);
    TCircledSeries::AdjustScreenRatio(1.0, 100, 50, r);
    EXPECT_EQ(r, TRect(50, 0, 150, 100));
    r = TRect(0, 0, 100, 200);
    TCircledSeries::AdjustScreenRatio(1.0, 50, 100, r);
    EXPECT_EQ(r, TRect(0, 50, 100, 150));
    r = TRect(0, 0, 100, 100);
    TCircledSeries::AdjustScreenRatio(0.0, 50, 50, r); // no device size: unchanged
    EXPECT_EQ(r, TRect(0, 0, 100, 100));
    // Drawn into a picture of another shape than the display's, a circled pie is still round.
    auto* s = AddPie({1, 2, 3});
    s->SetCircled(true);
    Draw();
    EXPECT_EQ(s->XRadius, s->YRadius);
    // Shrunk to make room for an exploded slice, it stays round.
    s->SetExplodeBiggest(30);
    Draw();
    EXPECT_EQ(s->XRadius, s->YRadius);
}

// In 3D, and printed on a page whose shape is neither the screen's nor the chart's, a circled
// pie in a wide chart is still round: only the pixels are square.
TEST_F(PieTest, ACircledPieIsRoundIn3DAndOnPaper) {
    auto* s = AddPie({1, 2, 3});
    s->SetCircled(true);
    chart->SetView3D(true);
    Draw();
    EXPECT_NEAR(s->XRadius, s->YRadius, 1);
    TempDir dir;
    TPrinter printer(false, true);
    printer.SetPrinterIndex(printer.GetPrinters()->IndexOf(PdfPrinterName));
    printer.SetFileName(String((dir.path / "pie.pdf").u16string()));
    printer.BeginDoc();
    chart->PrintPartialCanvas(printer.GetCanvas(), TRect(0, 0, 4 * W, 4 * H));
    printer.EndDoc();
    EXPECT_NEAR(s->XRadius, s->YRadius, 1);
}

TEST_F(PieTest, TwoCircledSeriesWhereOnlyTheFirstHasMarksShareItsCircle) {
    auto* a = AddSeries<TCircledSeries>({1, 2});
    auto* b = AddSeries<TCircledSeries>({3, 4});
    a->GetMarks()->SetVisible(true);
    a->SetXLabel(0, u"A long mark");
    Draw();
    EXPECT_LT(a->CircleWidth, chart->GetChartRect().Right - chart->GetChartRect().Left - 20);
    EXPECT_EQ(b->CircleRect, a->CircleRect);
    // With marks on both, each makes room for the widest mark of the chart.
    b->GetMarks()->SetVisible(true);
    b->SetXLabel(0, u"A much, much longer mark than the other");
    Draw();
    EXPECT_EQ(a->CircleRect, b->CircleRect);
}

TEST_F(PieTest, DeactivatingThePieGivesTheChartItsOwn3DOptionsBack) {
    chart->GetView3DOptions()->SetRotation(345);
    chart->GetView3DOptions()->SetOrthogonal(true);
    auto* s = AddPie({1, 2});
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 360);
    EXPECT_FALSE(chart->GetView3DOptions()->GetOrthogonal());
    s->SetActive(false);
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 345);
    EXPECT_TRUE(chart->GetView3DOptions()->GetOrthogonal());
    s->SetActive(true);
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 360);
    s->Free();
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 345);
}

TEST_F(PieTest, TheChartGetsItsOwnViewBackOnlyWhenItsLastPieLeaves) {
    chart->GetView3DOptions()->SetRotation(345);
    chart->GetView3DOptions()->SetOrthogonal(true);
    auto* a = AddPie({1, 2});
    auto* b = AddPie({3, 4});
    a->Free();
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 360) << "the pie left keeps its view";
    b->Free();
    EXPECT_DOUBLE_EQ(chart->GetView3DOptions()->GetRotation(), 345);
    EXPECT_TRUE(chart->GetView3DOptions()->GetOrthogonal());
}

TEST_F(PieTest, AHoleSetPastTheRimFromCodeDrawsNothingBeyondThePie) {
    auto* s = AddPie({10, 20, 30});
    s->SetDonutPercent(150);
    for (const bool threeD : {false, true}) {
        chart->SetView3D(threeD);
        Draw();
        for (const int angle : {0, 45, 135, 225, 315})
            EXPECT_EQ(At(s, angle * Deg, 1.3), Rgb(clWhite)) << (threeD ? "3D " : "2D ") << angle;
    }
}

// ---------------------------------------------------------------------------
// Angles and the Other slice

TEST_F(PieTest, SliceEndsFollowTheRunningTotal) {
    auto* s = AddPie({10, 20, 30, 40});
    Draw();
    const auto& a = s->Angles();
    ASSERT_EQ(a.size(), 4u);
    EXPECT_NEAR(a[0].EndAngle / Deg, 36, 1e-9);
    EXPECT_NEAR(a[1].EndAngle / Deg, 108, 1e-9);
    EXPECT_NEAR(a[2].EndAngle / Deg, 216, 1e-9);
    EXPECT_EQ(a[3].EndAngle, 2 * Pi); // exactly the span
    EXPECT_NEAR(a[1].StartAngle / Deg, 36, 1e-9);
    EXPECT_NEAR(a[1].MidAngle / Deg, 72, 1e-9);
}

TEST_F(PieTest, NegativeValuesCountByTheirMagnitudeAndHalfPiesSpanHalf) {
    auto* s = AddPie({-10, 30});
    s->SetAngleSize(180);
    Draw();
    EXPECT_NEAR(s->Angles()[0].EndAngle / Deg, 45, 1e-9);
    EXPECT_EQ(s->Angles()[1].EndAngle, Pi);
}

TEST_F(PieTest, AllZeroValuesGiveEverySliceTheWholeSpanWithoutDividingByZero) {
    auto* s = AddPie({0, 0});
    Draw();
    EXPECT_EQ(s->Angles()[0].EndAngle, 2 * Pi);
    EXPECT_TRUE(std::isfinite(s->Angles()[1].MidAngle));
}

TEST_F(PieTest, SmallValuesAreGroupedIntoOneOtherSliceThatIsNeverStored) {
    auto* s = AddPie({5, 10, 85});
    s->GetOtherSlice()->SetStyle(poBelowPercent);
    s->GetOtherSlice()->SetValue(15);
    Draw();
    ASSERT_EQ(s->Count(), 4);
    EXPECT_EQ(s->XValue(3), TPieSeries::OtherX);
    EXPECT_DOUBLE_EQ(s->YValue(3), 15);
    EXPECT_EQ(s->GetXLabel(3), u"Other");
    EXPECT_TRUE(s->BelongsToOtherSlice(0));
    EXPECT_TRUE(s->BelongsToOtherSlice(1));
    const auto& a = s->Angles();
    EXPECT_EQ(a[0].StartAngle, a[0].EndAngle); // grouped points get empty slices
    EXPECT_EQ(a[1].StartAngle, a[1].EndAngle);
    EXPECT_NEAR(a[2].EndAngle / Deg, 306, 1e-9);
    EXPECT_EQ(a[3].EndAngle, 2 * Pi);
    EXPECT_EQ(s->CountLegendItems(), 2);
    EXPECT_EQ(s->LegendToValueIndex(0), 2);
    EXPECT_EQ(s->LegendToValueIndex(1), 3);
    // Drawing again does not add a second Other point.
    Draw();
    EXPECT_EQ(s->Count(), 4);
    SavePicture("pie-other.png");
    TMemoryStream stream;
    s->WriteData(&stream);
    EXPECT_EQ(s->Count(), 3);
}

// The marks of points grouped or made null after the pie was drawn leave no trace: the marks
// drawn stand where a pie drawn so from the start puts them.
TEST_F(PieTest, MarksOfPointsGroupedOrMadeNullLaterPushNoOtherMarkAside) {
    for (const bool grouped : {true, false}) {
        chart->FreeAllSeries();
        auto* s = AddSeries<TPieSeries>({60, 1, 1, 1, 1, 1, 1, 30});
        if (grouped) s->FillSampleValues(7);
        s->GetMarks()->SetVisible(true);
        Draw();
        if (grouped) {
            s->GetOtherSlice()->SetStyle(poBelowPercent);
            s->GetOtherSlice()->SetValue(15);
        } else {
            s->SetNull(2);
        }
        const auto tops = [&] {
            Draw();
            std::vector<int> y;
            for (int i = 0; i < s->Count(); ++i) {
                const TSeriesMarkPosition* p = s->GetMarks()->Positions().Get(i);
                y.push_back(p && !s->BelongsToOtherSlice(i) && !s->IsNull(i) ? p->TopLeft.Y : -1);
            }
            return y;
        };
        const std::vector<int> later = tops();
        s->GetMarks()->Positions().Clear();
        EXPECT_EQ(tops(), later) << grouped;
    }
}

// A dragged mark keeps its place, the Other slice's too; the marks drawn after it stay automatic.
TEST_F(PieTest, OnlyTheDraggedMarksAreCustom) {
    auto* s = AddPie({30, 2, 25, 1, 20, 15, 3});
    s->GetMarks()->SetVisible(true);
    s->GetOtherSlice()->SetStyle(poBelowPercent);
    s->GetOtherSlice()->SetValue(5);
    Draw();
    TSeriesMarksPositions& positions = s->GetMarks()->Positions();
    const int other = s->Count() - 1;
    for (const int dragged : {0, other}) positions.Put(dragged, *positions.Get(dragged));
    const TPoint otherPlace = positions.Get(other)->TopLeft;
    for (int pass = 0; pass < 2; ++pass) {
        Draw();
        std::string custom;
        for (int i = 0; i < s->Count(); ++i)
            custom += positions.Get(i) && positions.Get(i)->Custom ? '1' : '0';
        EXPECT_EQ(custom, "10000001");
        EXPECT_EQ(positions.Get(other)->TopLeft, otherPlace);
    }
}

TEST_F(PieTest, OtherSliceByValueUsesItsOwnTextAndColour) {
    auto* s = AddPie({1, 2, 3, 50});
    s->GetOtherSlice()->SetStyle(poBelowValue);
    s->GetOtherSlice()->SetValue(3);
    s->GetOtherSlice()->SetText(u"Прочее");
    s->GetOtherSlice()->SetColor(clGray);
    Draw();
    ASSERT_EQ(s->Count(), 5);
    EXPECT_FALSE(s->BelongsToOtherSlice(2)); // a value at the threshold keeps its own slice
    EXPECT_DOUBLE_EQ(s->YValue(4), 3);
    EXPECT_EQ(s->GetXLabel(4), u"Прочее");
    EXPECT_EQ(s->ValueColor(4), clGray);
    EXPECT_EQ(At(s, s->Angles()[4].MidAngle), Rgb(clGray));
}

// ---------------------------------------------------------------------------
// The Other slice's own legend and the shared total

TEST_F(PieTest, TheOtherLegendIsMadeOnFirstReadHiddenOnThePiesChartAndFreedByNil) {
    auto* s = GroupedPie();
    TPieOtherSlice* other = s->GetOtherSlice();
    EXPECT_EQ(other->ExistingLegend(), nullptr);
    TChartLegend* legend = other->GetLegend();
    ASSERT_NE(legend, nullptr);
    EXPECT_EQ(other->GetLegend(), legend);
    EXPECT_FALSE(legend->GetVisible());
    EXPECT_EQ(legend->Series, s);
    EXPECT_EQ(legend->GetParentChart(), chart.get());
    // Hidden, it draws nothing: the chart's legend alone lists the slices.
    Draw();
    EXPECT_EQ(chart->GetLegend()->TotalItems, 2);
    EXPECT_EQ(legend->TotalItems, 0);
    // Bound to the pie, it lists values even beside other series.
    AddSeries<TBarSeries>({1});
    legend->CalcLegendStyle();
    EXPECT_EQ(legend->InternalStyle(), lsValues);
    chart->GetLegend()->CalcLegendStyle();
    EXPECT_EQ(chart->GetLegend()->InternalStyle(), lsSeries);
    // The legend and its title follow the pie to another chart.
    Owned<TChart> second(Create<TChart>(nullptr));
    s->SetParentChart(second.get());
    EXPECT_EQ(legend->GetParentChart(), second.get());
    EXPECT_EQ(legend->GetTitle()->GetParentChart(), second.get());
    s->SetParentChart(chart.get());
    EXPECT_EQ(legend->GetTitle()->GetParentChart(), chart.get());
    other->SetLegend(nullptr);
    EXPECT_EQ(other->ExistingLegend(), nullptr);
}

TEST_F(PieTest, TheOtherLegendListsTheGroupedPointsInItsOwnStyleAndTheChartsTheSlices) {
    auto* s = GroupedPie();
    TChartLegend* legend = s->GetOtherSlice()->GetLegend();
    legend->SetVisible(true);
    legend->SetAlignment(laLeft);
    legend->SetTextStyle(ltsPlain);
    Draw();
    SavePicture("pie-other-legend.png");
    ASSERT_EQ(legend->TotalItems, 2);
    EXPECT_EQ(legend->GetItems()->Get(0)->GetText(), u"Освещение");
    EXPECT_EQ(legend->GetItems()->Get(1)->GetText(), u"Вентиляция");
    // The chart's legend keeps its own text style: value, then label.
    TChartLegend* main = chart->GetLegend();
    ASSERT_EQ(main->TotalItems, 2);
    EXPECT_EQ(main->GetItems()->Get(0)->GetText(), u"85");
    EXPECT_EQ(main->GetItems()->Get(0)->GetText2(), u"Отопление");
    EXPECT_EQ(main->GetItems()->Get(1)->GetText2(), u"Other");
    // Each grouped point's symbol in its own colour.
    const TPoint a = Centre(legend->GetItems()->Get(0)->SymbolRect);
    const TPoint b = Centre(legend->GetItems()->Get(1)->SymbolRect);
    EXPECT_EQ(Pixel(a.X, a.Y), Rgb(clRed));
    EXPECT_EQ(Pixel(b.X, b.Y), Rgb(clBlue));
    EXPECT_LT(legend->RectLegend.Right, main->RectLegend.Left);
    // Once drawn, the series counts its slices again.
    EXPECT_EQ(s->CountLegendItems(), 2);
    EXPECT_EQ(s->LegendToValueIndex(1), 3);
}

TEST_F(PieTest, LegendTextsInTheSeriesColourTakeTheColourOfThePointTheyName) {
    auto* s = GroupedPie();
    s->GetOtherSlice()->SetColor(clFuchsia);
    TChartLegend* legend = chart->GetLegend();
    legend->SetFontSeriesColor(true);
    Draw();
    // The second row names the Other point, not the second (grouped) point.
    const TLegendItem* other = legend->GetItems()->Get(1);
    const TRect text(other->Left, other->Top, legend->RectLegend.Right - 2, other->Top + legend->ItemHeight);
    EXPECT_GT(Count(text, clFuchsia), 0);
    EXPECT_EQ(Count(text, clBlue), 0);
    const TLegendItem* first = legend->GetItems()->Get(0);
    EXPECT_GT(
        Count(TRect(first->Left, first->Top, legend->RectLegend.Right - 2, first->Top + legend->ItemHeight),
              clLime),
        0);
}

TEST_F(PieTest, PercentMarksAndAnglesShareATotalThatLeavesOutTheOtherPoint) {
    auto* s = GroupedPie();
    s->SetPercentFormat(u"0");
    s->GetMarks()->SetStyle(smsPercent);
    Draw();
    ASSERT_EQ(s->Count(), 4);
    EXPECT_DOUBLE_EQ(s->GetYValues()->GetTotalABS(), 100);
    EXPECT_EQ(s->GetMarkText(2), u"85");
    EXPECT_EQ(s->GetMarkText(3), u"15");
    const auto& a = s->Angles();
    EXPECT_NEAR((a[2].EndAngle - a[2].StartAngle) / Deg, 0.85 * 360, 1e-9);
    EXPECT_NEAR((a[3].EndAngle - a[3].StartAngle) / Deg, 0.15 * 360, 1e-9);
}

// ---------------------------------------------------------------------------
// Drawing

TEST_F(PieTest, SlicesAreDrawnCounterClockwiseFromTheRight) {
    auto* s = AddPie({25, 25, 50});
    Draw();
    SavePicture("pie.png");
    EXPECT_EQ(At(s, 45 * Deg), Rgb(clRed));
    EXPECT_EQ(At(s, 135 * Deg), Rgb(clBlue));
    EXPECT_EQ(At(s, 270 * Deg), Rgb(clLime));
    s->SetRotationAngle(90);
    Draw();
    // Rotated by a quarter turn: the first slice now spans 90..180 degrees.
    int x, y;
    s->AngleToPos(45 * Deg, s->XRadius / 2.0, s->YRadius / 2.0, x, y);
    EXPECT_EQ(Pixel(x, y), Rgb(clRed));
    EXPECT_EQ(Pixel(x, y), At(s, 45 * Deg));
    EXPECT_EQ(Pixel(s->CircleXCenter + s->XRadius / 2, s->CircleYCenter - s->YRadius / 4), Rgb(clLime));
}

TEST_F(PieTest, ASinglePointIsAFullCircle) {
    auto* s = AddPie({7});
    Draw();
    for (double a : {0.3, 1.5, 3.0, 4.5, 6.0}) EXPECT_EQ(At(s, a, 0.8), Rgb(clRed)) << a;
    // Its rim answers a click all round, between the points its outline is tried at as well.
    int missed = 0;
    for (int k = 0; k < 120; ++k) {
        int x, y;
        s->AngleToPos(k * 3 * Deg, s->XRadius - 1, s->YRadius - 1, x, y);
        missed += s->Clicked(x, y) != 0;
    }
    EXPECT_EQ(missed, 0);
}

TEST_F(PieTest, TheShadowFallsOnlyWhereSlicesLie) {
    auto* s = AddPie({10, 20, 30});
    s->SetAngleSize(180);
    Draw();
    EXPECT_EQ(At(s, 270 * Deg), Rgb(clWhite)) << "beside a half pie";
    s->SetAngleSize(360);
    s->SetDonutPercent(50);
    Draw();
    EXPECT_EQ(At(s, 90 * Deg, 0.25), Rgb(clWhite)) << "in a donut's hole";
    s->SetDonutPercent(0);
    s->SetExplodeBiggest(30);
    Draw();
    EXPECT_EQ(At(s, 270 * Deg, 0.1), Rgb(clWhite)) << "in the gap of a slice moved out";
    EXPECT_NE(At(s, 270 * Deg, 1.1), Rgb(clWhite)) << "the moved-out slice";
}

TEST_F(PieTest, ACircleBelowFivePixelsDrawsNoSlicesAndAnswersNoClick) {
    auto* s = AddPie({1, 1});
    s->SetCustomXRadius(2);
    s->SetCustomYRadius(2);
    Draw();
    EXPECT_EQ(s->CircleWidth, 4);
    // At most the soft edge of the pie's shadow shows there, never a slice.
    EXPECT_GT(Pixel(s->CircleXCenter + 1, s->CircleYCenter - 1).Lightness(), 240);
    EXPECT_EQ(s->Clicked(s->CircleXCenter + 1, s->CircleYCenter - 1), -1);
}

TEST_F(PieTest, AFilesNumbersAreHeldToTheEditorsRangesOrToWhatDrawingTakes) {
    auto* s = AddPie({40, 20, 40});
    s->SetCustomXRadius(2147483647);
    s->SetCustomYRadius(-2147483647 - 1);
    s->SetExplodeBiggest(1000000000);
    s->SetGradientBright(-2147483647 - 1);
    s->GetPieMarks()->SetLegSize(2147483647);
    EXPECT_EQ(s->GetCustomXRadius(), 2000);
    EXPECT_EQ(s->GetCustomYRadius(), 0);
    EXPECT_EQ(s->GetExplodeBiggest(), kLargestPictureSide) << "a percent of the radius, as a place";
    EXPECT_EQ(s->GetGradientBright(), -255);
    EXPECT_EQ(s->GetPieMarks()->GetLegSize(), kLargestPictureSide) << "pixels, as a place";
    s->GetGradient()->SetVisible(true);
    Draw();
}

TEST_F(PieTest, DrawingA3DGradientPieAndItsLegendKeepsItsStoredGradient) {
    chart->SetView3D(true);
    auto* s = AddPie({1, 2});
    s->GetGradient()->SetVisible(true);
    s->SetGradientBright(40);
    const TColor start = s->GetGradient()->GetStartColor(), end = s->GetGradient()->GetEndColor();
    Draw();
    EXPECT_EQ(s->GetGradient()->GetStartColor(), start);
    EXPECT_EQ(s->GetGradient()->GetEndColor(), end);
}

TEST_F(PieTest, TheBiggestSliceIsExplodedOutwardsFromTheFirstOfEqualOnes) {
    auto* s = AddPie({40, 20, 40});
    s->SetExplodeBiggest(30);
    EXPECT_EQ(s->SliceExplodePercents()[0], 30);
    EXPECT_EQ(s->SliceExplodePercents()[2], 0);
    Draw();
    SavePicture("pie-exploded.png");
    ASSERT_TRUE(s->SliceSides);
    int dx, dy;
    s->CalcExplodedOffset(0, dx, dy);
    const double mid = s->Angles()[0].MidAngle;
    EXPECT_EQ(dx, static_cast<int>(Round(s->XRadius * 0.3 * std::cos(mid))));
    EXPECT_EQ(dy, static_cast<int>(Round(s->YRadius * 0.3 * std::sin(mid))));
    // The exploded slice's tip stands off the centre; the gap it left is not red.
    EXPECT_NE(Pixel(s->CircleXCenter + dx / 3, s->CircleYCenter - dy / 3), Rgb(clRed));
    int x, y;
    s->AngleToPos(mid, s->XRadius * 0.5, s->YRadius * 0.5, x, y);
    EXPECT_EQ(Pixel(x + dx, y - dy), Rgb(clRed));
    // A click on the moved slice finds it; on the gap it left nothing.
    EXPECT_EQ(s->Clicked(x + dx, y - dy), 0);
    // Another slice grown the biggest is exploded instead of it, not as well.
    s->GetYValues()->SetValue(1, 90);
    Draw();
    EXPECT_EQ(s->SliceExplodePercents()[0], 0);
    EXPECT_EQ(s->SliceExplodePercents()[1], 30);
}

TEST_F(PieTest, SwappingPointsMovesTheirExplodePercent) {
    auto* s = AddPie({1, 2, 3});
    s->SliceExplodePercents().Put(0, 25);
    s->SwapValueIndex(0, 2);
    EXPECT_EQ(s->SliceExplodePercents()[0], 0);
    EXPECT_EQ(s->SliceExplodePercents()[2], 25);
    s->Delete(1);
    EXPECT_EQ(s->SliceExplodePercents()[1], 25);
}

TEST_F(PieTest, AClickFindsTheSliceUnderIt) {
    auto* s = AddPie({25, 25, 50});
    Draw();
    int x, y;
    s->AngleToPos(45 * Deg, s->XRadius / 2.0, s->YRadius / 2.0, x, y);
    EXPECT_EQ(s->Clicked(x, y), 0);
    s->AngleToPos(135 * Deg, s->XRadius / 2.0, s->YRadius / 2.0, x, y);
    EXPECT_EQ(s->Clicked(x, y), 1);
    s->AngleToPos(200 * Deg, s->XRadius * 0.9, s->YRadius * 0.9, x, y);
    EXPECT_EQ(s->Clicked(x, y), 2);
    EXPECT_EQ(s->Clicked(s->CircleRect.Left - 3, s->CircleRect.Top - 3), -1);
    // In 3D the face is seen from above and the slice hangs below it: the face by its front rim,
    // the walls and the cut faces answer; the paper where the far ring of the pie would stand
    // does not. The points are read from the drawn pictures.
    const auto shown = [&](int X, int Y) {
        const probe::Rgb p = Pixel(X, Y);
        if (p == Rgb(clWhite)) return -1;
        if (p.g == 0 && p.b == 0) return 0;
        if (p.r == 0 && p.g == 0) return 1;
        return p.r == 0 && p.b == 0 ? 2 : -2;
    };
    struct View {
        int Percent, Rotation, Elevation;
    };
    // The pie's own view, the gallery's and a turned one; the last two with the first slice out.
    const View views[] = {{15, 360, 315}, {75, 0, 305}, {75, 335, 340}};
    // A view (-1 for 2D) drawn, and the rows for it clicked where the picture shows their slice.
    struct Row {
        int View, X, Y, Slice;
    };
    const auto clickIn = [&](int v, std::initializer_list<Row> Rows, const char* Picture = nullptr) {
        chart->SetView3D(v >= 0);
        if (v >= 0) {
            chart->Set3DPercent(views[v].Percent);
            chart->View3DOptionsProp()->SetRotation(views[v].Rotation);
            chart->View3DOptionsProp()->SetElevation(views[v].Elevation);
        }
        s->SliceExplodePercents().Put(0, v > 0 ? 30 : 0);
        Draw();
        if (Picture) SavePicture(Picture);
        for (const Row& r : Rows) {
            if (r.View != v) continue;
            SCOPED_TRACE(testing::Message() << "view " << v << " at " << r.X << ", " << r.Y);
            ASSERT_EQ(shown(r.X, r.Y), r.Slice) << "the picture has moved";
            EXPECT_EQ(s->Clicked(r.X, r.Y), r.Slice);
        }
    };
    const std::initializer_list<Row> rows = {
        {0, 173, 240, 2}, {0, 173, 247, 2}, {0, 173, 30, -1}, // face by the front rim, wall, above
        {1, 213, 123, 0}, {1, 173, 225, 2}, {1, 213, 30, -1}, // cut face, wall, above
        {1, 113, 145, 2}, // the face in front of the cut face hanging from the slice behind
        {2, 213, 136, 0}, {2, 53, 200, 2},  {2, 173, 10, -1}, // cut face, wall, above
    };
    for (int v = 0; v < 3; ++v) clickIn(v, rows);
    // A donut's hole is paper, in 2D and 3D, with its first slice out or not; in 3D the wall
    // round the hole, seen through it, is its slice's.
    s->SetDonutPercent(50);
    const std::initializer_list<Row> donut = {
        {-1, 170, 102, -1},                                     // 2D: the hole
        {0, 150, 126, -1},  {0, 180, 100, 0}, {0, 160, 101, 1}, // the hole, the wall round it
        {0, 220, 156, -1},                                      // the hole beside a cut face
        {2, 150, 120, -1},  {2, 210, 88, 0},  {2, 140, 95, 1},  // the hole, the wall round it
        {2, 180, 102, -1},                                      // the hole beside a cut face
    };
    for (const int v : {-1, 0, 2}) clickIn(v, donut, ("pie-donut-" + std::to_string(v + 1) + ".png").c_str());
    s->SetDonutPercent(0);
    // A mark's arrow starts on the rim of its slice's face, not on the paper above it.
    s->GetMarks()->SetVisible(true);
    Draw();
    const TSeriesMarkPosition* m = s->GetMarks()->Positions().Get(1);
    ASSERT_NE(m, nullptr);
    const TPoint a = chart->GetCanvas()->Calculate3DPosition(m->ArrowStart, s->GetMarks()->ZPosition);
    EXPECT_EQ(shown(a.X + 3, a.Y + 3), 1);
}

TEST_F(PieTest, FourPiesFormATwoByTwoGridAndNineThreeColumnsOfFourRows) {
    std::vector<TPieSeries*> pies;
    for (int i = 0; i < 4; ++i) pies.push_back(AddPie({1, 2}));
    Draw();
    EXPECT_EQ(pies[0]->CircleYCenter, pies[1]->CircleYCenter);
    EXPECT_LT(pies[0]->CircleXCenter, pies[1]->CircleXCenter);
    EXPECT_EQ(pies[0]->CircleXCenter, pies[2]->CircleXCenter);
    EXPECT_LT(pies[0]->CircleYCenter, pies[2]->CircleYCenter);
    // The chart rectangle is the chart's again after each pie.
    const TRect r = chart->GetChartRect();
    EXPECT_GT(r.Right - r.Left, pies[0]->CircleWidth * 2 - 2);
    for (int i = 0; i < 5; ++i) pies.push_back(AddPie({1}));
    Draw();
    EXPECT_EQ(pies[0]->CircleYCenter, pies[2]->CircleYCenter); // 3 columns
    EXPECT_LT(pies[0]->CircleYCenter, pies[3]->CircleYCenter); // 4th starts row 2
    // Four rows: each circle is at most a quarter of the chart's height.
    EXPECT_LE(pies[8]->CircleHeight, (r.Bottom - r.Top) / 4);
}

TEST_F(PieTest, A3DPieShowsItsTopAndADarkerSideWall) {
    chart->SetView3D(true);
    auto* s = AddPie({50, 50});
    Draw();
    SavePicture("pie-3d.png");
    // The projected centre of the top face is a slice colour.
    TCanvas3D* c = chart->GetCanvas();
    const TPoint top = c->Calculate3DPosition(s->CircleXCenter, s->CircleYCenter - s->YRadius / 2, s->StartZ);
    const probe::Rgb p = Pixel(top.X, top.Y);
    EXPECT_TRUE(p == Rgb(clRed) || p == Rgb(clBlue)) << p;
    // Somewhere below the front of the pie a darker shade of a slice colour shows.
    const TPoint front = c->Calculate3DPosition(s->CircleXCenter, s->CircleYCenter + s->YRadius, s->EndZ);
    bool darker = false;
    for (int y = front.Y - 30; y <= front.Y + 30 && !darker; ++y) {
        const probe::Rgb q = Pixel(front.X, y);
        darker =
            (q.r > 0 && q.r < 255 && q.g == 0 && q.b == 0) || (q.b > 0 && q.b < 255 && q.r == 0 && q.g == 0);
    }
    EXPECT_TRUE(darker);
}

TEST_F(PieTest, TheCircleTakesAPaintedBackWallsColourElseTheCharts) {
    auto* s = AddPie({1, 1});
    Label(s);
    chart->SetColor(clAqua);
    EXPECT_EQ(s->CalcCircleBackColor(), clAqua); // the wall is transparent at first
    chart->GetBackWall()->SetTransparent(false);
    chart->GetBackWall()->SetColor(clYellow);
    EXPECT_EQ(s->CalcCircleBackColor(), clYellow);
    s->SetCircleBackColor(clGreen);
    EXPECT_EQ(s->CalcCircleBackColor(), clGreen);
    s->SetCircleBackColor(clZuzColor);
    // A hatched slice's legend symbol shows that colour between its lines.
    s->SetUsePatterns(true);
    Draw();
    const TRect symbol = chart->GetLegend()->GetItems()->Get(0)->SymbolRect;
    EXPECT_GT(Count(symbol, clYellow), 0);
    EXPECT_GT(Count(symbol, clRed), 0);
}

TEST_F(PieTest, AClickOnAMarkFindsItsSliceAndAHiddenMarkNothing) {
    auto* s = AddPie({25, 25, 50});
    s->GetMarks()->SetVisible(true);
    Draw();
    const TSeriesMarkPosition* p = s->GetMarks()->Positions().Get(1);
    ASSERT_NE(p, nullptr);
    const TPoint m = Centre(p->Bounds());
    ASSERT_GT(std::hypot(m.X - s->CircleXCenter, m.Y - s->CircleYCenter), s->XRadius);
    EXPECT_EQ(s->Clicked(m.X, m.Y), 1);
    s->GetMarks()->SetVisible(false);
    EXPECT_EQ(s->Clicked(m.X, m.Y), -1);
    // A slice made null draws no mark, and none answers where it stood.
    s->GetMarks()->SetVisible(true);
    s->SetNull(1);
    Draw();
    ASSERT_GT(std::hypot(m.X - s->CircleXCenter, m.Y - s->CircleYCenter), s->XRadius);
    EXPECT_EQ(s->Clicked(m.X, m.Y), -1);
}

TEST_F(PieTest, A3DPieAloneStandsAtTheFrontOfTheChartsDepth) {
    chart->SetView3D(true);
    auto* s = AddPie({50, 50});
    Draw();
    EXPECT_EQ(s->StartZ, 0);
    EXPECT_GT(s->EndZ, 0);
}

TEST_F(PieTest, ADeepPieHangsInsideTheChartWithItsShadowUnderItNotOnADiscBehind) {
    chart->SetView3D(true);
    chart->Set3DPercent(75);
    auto* s = AddPie({30, 20, 25, 15, 10});
    ASSERT_TRUE(s->GetShadow()->GetVisible());
    Draw();
    // Above the back of the face, where the far side of the pie would stand if it rose.
    int x, y;
    s->AngleToPos(90 * Deg, s->XRadius, s->YRadius, x, y);
    const TPoint back = chart->GetCanvas()->Calculate3DPosition(x, y, s->StartZ);
    for (const int above : {4, 8, 16}) EXPECT_EQ(Pixel(back.X, back.Y - above), Rgb(clWhite)) << above;
    // Its walls hang into the chart, not below it: the pie goes up into the room kept for its
    // depth.
    for (const int percent : {75, 100}) {
        chart->Set3DPercent(percent);
        Draw();
        int lowest = H - 1;
        while (lowest > 0 && Pixel(back.X, lowest) == Rgb(clWhite)) --lowest;
        EXPECT_LE(lowest, chart->GetChartRect().Bottom) << percent;
    }
}

TEST_F(PieTest, In3DSlicesAreDrawnFromTheBackOfThePieToItsFront) {
    chart->SetView3D(true);
    auto* s = AddPie({1, 1, 1, 1, 2, 2});
    Label(s);
    s->GetMarks()->SetVisible(true);
    s->SliceExplodePercents().Put(4, 25);
    s->GetOtherSlice()->SetStyle(poBelowValue);
    s->GetOtherSlice()->SetValue(1.5);
    s->GetOtherSlice()->SetColor(clSilver);
    chart->GetLegend()->SetAlignment(laBottom);
    chart->Set3DPercent(40);
    Draw();
    SavePicture("pie-3d-exploded.png");
    // Middles: the Other slice (the four ones grouped) spans 180..360 degrees,
    // the twos 0..90 and 90..180. The key is the distance from the back (90).
    ASSERT_EQ(s->Count(), 7);
    EXPECT_NEAR(s->SliceOrderKey(4), 45 * Deg, 1e-9);
    EXPECT_NEAR(s->SliceOrderKey(5), 45 * Deg, 1e-9);
    EXPECT_NEAR(s->SliceOrderKey(6), 180 * Deg, 1e-9);
    s->SetRotationAngle(90); // the Other slice's middle turns to 0: half way round
    Draw();
    EXPECT_NEAR(s->SliceOrderKey(6), 90 * Deg, 1e-9);
    EXPECT_NEAR(s->SliceOrderKey(4), 45 * Deg, 1e-9);
    // The exploded slice stands off the centre along its middle.
    s->SetRotationAngle(0);
    Draw();
    int dx, dy;
    s->CalcExplodedOffset(4, dx, dy);
    EXPECT_GT(dx, 0);
    EXPECT_GT(dy, 0);
    // Moved out, it stays in the chart: the circle shrank by the whole offset.
    s->GetMarks()->SetVisible(false);
    Draw();
    s->CalcExplodedOffset(4, dx, dy);
    EXPECT_LE(s->CircleXCenter + dx + s->XRadius, chart->GetChartRect().Right);
    // Moved out by more than its radius, it reaches where the whole pie did: the rest of the pie
    // shrinks with it but stays a pie.
    s->SliceExplodePercents().Put(4, 0);
    Draw();
    const int rim = s->CircleXCenter + s->XRadius;
    s->SliceExplodePercents().Put(4, 150);
    Draw();
    s->CalcExplodedOffset(4, dx, dy);
    EXPECT_LE(s->CircleXCenter + dx + s->XRadius, rim);
    EXPECT_GE(s->CircleXCenter + dx + s->XRadius, rim - 3);
}

// A slice's cut face turned to the viewer falls on the slice in front of it, which is drawn
// after it: in a half pie as in a whole one, the slices nearest the top of the circle go first.
TEST_F(PieTest, AHalfPiesSlicesAreDrawnFromTheTopOfItsCircle) {
    chart->SetView3D(true);
    auto* s = AddPie({45, 15, 15, 105});
    s->SetAngleSize(180);
    s->SliceExplodePercents().Put(3, 20);
    chart->Set3DPercent(60);
    Draw();
    int x, y;
    s->AngleToPos(57 * Deg, s->XRadius * 0.5, s->YRadius * 0.5, x, y);
    const TPoint p = chart->GetCanvas()->Calculate3DPosition(x, y, s->StartZ);
    EXPECT_EQ(Pixel(p.X, p.Y), Rgb(clBlue));
}

TEST_F(PieTest, PatternsCycleThroughSixHatches) {
    auto* s = AddPie({1});
    EXPECT_EQ(s->SliceBrushStyle(3), bsSolid);
    s->SetUsePatterns(true);
    EXPECT_EQ(s->SliceBrushStyle(0), bsHorizontal);
    EXPECT_EQ(s->SliceBrushStyle(5), bsDiagCross);
    EXPECT_EQ(s->SliceBrushStyle(6), bsHorizontal);
    EXPECT_EQ(s->SliceBrushStyle(-1), bsSolid);
}

// ---------------------------------------------------------------------------
// Registration

TEST_F(PieTest, BarAreaAndPieTypesRegisterWithTheirDescriptionsAndSampleCounts) {
    const KeepTypes keep;
    ZuzSeriesTypes().Clear();
    RegisterZuzStandardSeries();
    struct Row {
        const ClassInfo* cls;
        const String& description;
        int samples;
    };
    const Row rows[] = {{&TBarSeries::StaticClass(), VavIve_GalleryBar, 2},
                        {&THorizBarSeries::StaticClass(), VavIve_GalleryHorizBar, 2},
                        {&TAreaSeries::StaticClass(), VavIve_GalleryArea, 2},
                        {&TPieSeries::StaticClass(), VavIve_GalleryPie, 1},
                        {&THorizAreaSeries::StaticClass(), VavIve_GalleryHorizArea, 1}};
    int last = -1;
    for (const Row& r : rows) {
        const TZuzSeriesType* t = ZuzSeriesTypes().Find(r.cls);
        ASSERT_NE(t, nullptr) << r.cls->name;
        EXPECT_EQ(t->GetDescription(), r.description);
        EXPECT_EQ(t->NumGallerySeries, r.samples);
        EXPECT_EQ(t->GetGalleryPage(), VavIve_GalleryStandard);
        // In the gallery's order.
        int at = -1;
        for (int i = 0; i < ZuzSeriesTypes().Count(); ++i)
            if (ZuzSeriesTypes().Get(i) == t) at = i;
        EXPECT_GT(at, last);
        last = at;
    }
    EXPECT_EQ(ZuzSeriesTypes().Find(&THorizBarSeries::StaticClass())->GetDescription(), u"Horizontal\rBar");
    EXPECT_NE(GetClass("TPieSeries"), nullptr) << "a stream can create it by name";
    EXPECT_NE(GetClass("TBarSeries"), nullptr);
}
