// Marks and callouts: margins, the size and place of a mark, the arrow length,
// custom positions, the hit test (rotated too), overlap avoidance, and how a
// drawn mark looks.
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartseries.h"
#include "fakechart.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/picturefile.h"

#include <gtest/gtest.h>

namespace {

using canvastest::CanvasOn;

struct MarginRow {
    const char* rule;
    TMarginUnits units;
    int left, top;
    int width, height, fontHeight;
    int pixelLeft, pixelTop;
};

class Margins : public ::testing::TestWithParam<MarginRow> {};

TEST_P(Margins, TurnIntoPixels) {
    const MarginRow& r = GetParam();
    TMargins m({}, 20);
    m.SetUnits(r.units);
    m.SetLeft(r.left);
    m.SetRight(r.left);
    m.SetTop(r.top);
    m.SetBottom(r.top);
    m.Calculate(r.width, r.height, r.fontHeight);
    EXPECT_EQ(m.PixelLeft, r.pixelLeft);
    EXPECT_EQ(m.PixelTop, r.pixelTop);
    EXPECT_EQ(m.HorizSize(), 2 * r.pixelLeft);
    EXPECT_EQ(m.VertSize(), 2 * r.pixelTop);
}

INSTANTIATE_TEST_SUITE_P(
    Units, Margins,
    ::testing::Values(MarginRow{"PercentOfTheFontFortyAndTen", maPercentFont, 20, 5, 0, 0, 15, 6, 2},
                      MarginRow{"PercentOfTheFontRoundsHalvesToEven", maPercentFont, 25, 5, 0, 0, 10, 5, 1},
                      MarginRow{"PercentOfTheSize", maPercentSize, 10, 50, 200, 30, 0, 20, 15},
                      MarginRow{"PixelsAsTheyAre", maPixels, 2, 2, 999, 999, 999, 2, 2}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(MarginsDefaults, MarksStoreOnlyHorizontalMarginsOtherThanTwenty) {
    TMargins m({}, 20);
    EXPECT_EQ(m.GetLeft(), 20);
    EXPECT_EQ(m.GetTop(), 5);
    EXPECT_EQ(m.GetUnits(), maPercentFont);
    EXPECT_FALSE(m.IsLeftStored());
    m.SetLeft(10);
    EXPECT_TRUE(m.IsLeftStored());
}

class Marks : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        on = std::make_unique<CanvasOn>(200, 120);
        chart = MakeOwned<TFakeChart>(nullptr);
        chart->Canvas = &on->canvas;
        s = Create<TChartSeries>(chart.get());
        s->SetParentChart(chart.get());
        marks = s->GetMarks();
        marks->GetFont()->SetName(u"DejaVu Sans");
        marks->GetFont()->SetSize(10);
        on->canvas.AssignFont(marks->GetFont());
        h = on->canvas.TextHeight(u"W");
    }
    TSeriesMarkPosition Place(const String& Text, int X, int Y) {
        TSeriesMarkPosition p;
        s->CalculateMarkPosition(marks, Text, X, Y, p);
        return p;
    }
    std::unique_ptr<CanvasOn> on;
    Owned<TFakeChart> chart;
    TChartSeries* s = nullptr;
    TSeriesMarks* marks = nullptr;
    int h = 0;
};

TEST_F(Marks, AMarkIsItsTextPlusMarginsCentredAboveThePoint) {
    marks->GetMargins()->SetUnits(maPixels);
    marks->GetMargins()->SetLeft(2);
    marks->GetMargins()->SetRight(2);
    marks->GetMargins()->SetTop(2);
    marks->GetMargins()->SetBottom(2);
    const int w = on->canvas.TextWidth(u"Value");
    const TSeriesMarkPosition p = Place(u"Value", 100, 80);
    EXPECT_EQ(p.Width, w + 4); // a frame one pixel wide adds nothing
    EXPECT_EQ(p.Height, h + 4);
    EXPECT_EQ(p.TopLeft, TPoint(100 - p.Width / 2, 80 - p.Height + 1));
    EXPECT_EQ(p.ArrowStart, TPoint(100, 80));
    EXPECT_EQ(p.ArrowEnd, TPoint(100, 80));

    marks->GetFrame()->SetVisible(false);
    EXPECT_EQ(Place(u"Value", 100, 80).Width, w + 5);
    marks->GetFrame()->SetVisible(true);
    marks->GetFrame()->SetWidth(3);
    EXPECT_EQ(Place(u"Value", 100, 80).Height, h + 6);
    marks->GetFrame()->SetWidth(1);

    const String two = String(u"Value") + ZuzLineSeparator + u"V";
    EXPECT_EQ(Place(two, 100, 80).Height, 2 * h + 4);
    EXPECT_EQ(Place(two, 100, 80).Width, w + 4);

    marks->GetSymbol()->SetVisible(true);
    EXPECT_EQ(Place(u"Value", 100, 80).Width, w + 4 + h - 4);
}

TEST_F(Marks, TheArrowLengthLiftsTheMarkAndTheDistanceTheArrowStart) {
    TSeriesMarkPosition p = Place(u"x", 50, 60);
    const TSeriesMarkPosition before = p;
    marks->ApplyArrowLength(p);
    EXPECT_EQ(p, before) << "without a callout nothing moves";
    marks->GetCallout();
    marks->ApplyArrowLength(p);
    EXPECT_EQ(p.TopLeft.Y, before.TopLeft.Y - 8);
    EXPECT_EQ(p.ArrowEnd, TPoint(50, 52));
    EXPECT_EQ(p.ArrowStart, TPoint(50, 60));
    p = before;
    marks->GetCallout()->SetDistance(3);
    marks->ApplyArrowLength(p);
    EXPECT_EQ(p.TopLeft.Y, before.TopLeft.Y - 11);
    EXPECT_EQ(p.ArrowEnd, TPoint(50, 49));
    EXPECT_EQ(p.ArrowStart, TPoint(50, 57));
    // A file's length and distance are held to what the editor offers: their sum stays a pixel.
    p = before;
    marks->GetCallout()->SetLength(2147483647);
    marks->GetCallout()->SetDistance(2147483647);
    marks->ApplyArrowLength(p);
    EXPECT_EQ(p.ArrowEnd, TPoint(50, 60 - 2000));
    marks->GetCallout()->SetLength(-2147483647 - 1);
    EXPECT_EQ(marks->GetCallout()->GetLength(), -1000);
    marks->SetBevelWidth(2147483647);
    EXPECT_EQ(marks->GetBevelWidth(), 100) << "a bevel, to the editor's widest";
}

TEST_F(Marks, ACustomPositionWinsUntilPositionsAreReset) {
    TSeriesMarkPosition dragged;
    dragged.TopLeft = {10, 10};
    dragged.Width = 30;
    dragged.Height = 12;
    dragged.ArrowStart = {99, 99};
    marks->Positions().Put(2, dragged);
    EXPECT_TRUE(marks->Positions().ExistCustom());

    TSeriesMarkPosition automatic = Place(u"x", 50, 60);
    automatic.ArrowStartFixed = true;
    marks->UsePosition(2, automatic);
    EXPECT_EQ(automatic.TopLeft, TPoint(10, 10));
    EXPECT_EQ(automatic.ArrowStart, TPoint(50, 60)) << "a fixed arrow start stays";
    // The marks loop places the next point in the same record: that one stays automatic.
    s->CalculateMarkPosition(marks, u"x", 80, 60, automatic);
    marks->UsePosition(3, automatic);
    EXPECT_FALSE(automatic.Custom);
    EXPECT_FALSE(marks->Positions()[3]->Custom);

    marks->ResetPositions();
    EXPECT_FALSE(marks->Positions().ExistCustom());
    TSeriesMarkPosition again = Place(u"x", 50, 60);
    marks->UsePosition(2, again);
    EXPECT_EQ(again.TopLeft, Place(u"x", 50, 60).TopLeft);
    EXPECT_EQ(marks->Positions()[2]->TopLeft, again.TopLeft) << "the automatic place is stored";
}

TEST_F(Marks, TheHitTestFindsTheLastDrawnMarkOnEveryNthIndex) {
    for (int i = 0; i < 4; ++i) {
        TSeriesMarkPosition p;
        p.TopLeft = {10 + 5 * i, 10};
        p.Width = 20;
        p.Height = 10;
        marks->InternalDraw(i, clRed, u"x", p);
    }
    EXPECT_EQ(marks->Clicked(12, 12), 0);
    EXPECT_EQ(marks->Clicked(26, 15), 3);
    EXPECT_EQ(marks->Clicked(30, 20), 3) << "edges count";
    EXPECT_EQ(marks->Clicked(10, 10), 0) << "edges count";
    EXPECT_EQ(marks->Clicked(9, 10), -1);
    EXPECT_EQ(marks->Clicked(40, 12), 3);
    EXPECT_EQ(marks->Clicked(100, 100), -1);
    marks->SetDrawEvery(3);
    EXPECT_EQ(marks->Clicked(26, 15), 3);
    EXPECT_EQ(marks->Clicked(31, 15), 3);
    EXPECT_EQ(marks->Clicked(22, 15), 0);
    marks->SetDrawEvery(2);
    EXPECT_EQ(marks->Clicked(26, 15), 2);
}

TEST_F(Marks, ATurnedMarkIsHitInsideItsTurnedBox) {
    TSeriesMarkPosition p;
    p.TopLeft = {40, 50};
    p.Width = 40; // 40..80 x 50..60, centre (60, 55)
    p.Height = 10;
    marks->InternalDraw(0, clRed, u"x", p);
    EXPECT_EQ(marks->Clicked(78, 55), 0);
    EXPECT_EQ(marks->Clicked(60, 72), -1);
    for (const int angle : {90, -90}) {
        marks->SetAngle(angle);
        EXPECT_EQ(marks->Clicked(78, 55), -1) << "the long side stands upright now, " << angle;
        EXPECT_EQ(marks->Clicked(60, 72), 0) << angle;
    }
}

TEST_F(Marks, ATurnedTextStaysInItsBoxWhateverItsAlignment) {
    marks->SetAngle(45);
    marks->GetShadow()->SetVisible(false);
    const TSeriesMarkPosition p = Place(u"Mark", 100, 80);
    std::vector<probe::Picture> shots;
    for (const TAlignment align : {taCenter, taLeftJustify, taRightJustify}) {
        SetUp();
        marks->SetAngle(45);
        marks->GetShadow()->SetVisible(false);
        marks->SetTextAlign(align);
        TSeriesMarkPosition q = p;
        marks->InternalDraw(0, clRed, u"Mark", q);
        shots.push_back(probe::Grab(on->target));
    }
    EXPECT_EQ(shots[1], shots[0]);
    EXPECT_EQ(shots[2], shots[0]);
    // Its symbol goes round with it, and stays inside the turned box.
    SetUp();
    marks->SetAngle(90);
    marks->GetShadow()->SetVisible(false);
    marks->GetSymbol()->SetVisible(true);
    auto turned = [](const TSeriesMarkPosition& q) {
        const TPoint c((q.TopLeft.X * 2 + q.Width) / 2, (q.TopLeft.Y * 2 + q.Height) / 2);
        return TRect(c.X - q.Height / 2 - 1, c.Y - q.Width / 2 - 1, c.X + q.Height / 2 + 2,
                     c.Y + q.Width / 2 + 2);
    };
    TSeriesMarkPosition q = Place(u"Long mark", 100, 80);
    marks->InternalDraw(0, clRed, u"Long mark", q);
    const TRect symbol = on->InkBox(clRed);
    EXPECT_NE(symbol, TRect());
    EXPECT_TRUE(RectangleInRectangle(symbol, turned(q)));
    // Its text makes room for the symbol along the turned line, inside the frame.
    for (const int angle : {90, -90}) {
        SetUp();
        marks->SetAngle(angle);
        marks->GetShadow()->SetVisible(false);
        marks->GetSymbol()->SetVisible(true);
        marks->GetFont()->SetColor(clRed);
        TSeriesMarkPosition t = Place(u"B3", 100, 80);
        marks->InternalDraw(0, clBlue, u"B3", t);
        TRect inside = turned(t), common;
        InflateRect(inside, -2, -2);
        const TRect letters = on->InkBox(clRed);
        EXPECT_TRUE(RectangleInRectangle(letters, inside)) << angle;
        EXPECT_FALSE(IntersectRect(common, letters, on->InkBox(clBlue))) << angle;
    }
    // Wide margins round lines of text leave them in the middle of the turned box, not lifted
    // by the bottom margin out of it (where clipping would leave the box empty).
    SetUp();
    marks->SetAngle(90);
    marks->GetShadow()->SetVisible(false);
    marks->GetFont()->SetColor(clRed);
    marks->SetTextAlign(taRightJustify);
    marks->GetMargins()->SetUnits(maPercentSize);
    marks->GetMargins()->SetTop(40);
    marks->GetMargins()->SetBottom(40);
    const String lines = String(u"Mark") + ZuzLineSeparator + u"Two";
    TSeriesMarkPosition wide = Place(lines, 100, 100);
    marks->InternalDraw(0, clBlue, lines, wide);
    const TRect text = on->InkBox(clRed);
    EXPECT_NE(text, TRect());
    EXPECT_TRUE(RectangleInRectangle(text, turned(wide)));
}

TEST_F(Marks, AClippedMarkCastsItsSmoothShadowOnlyWhereTheMarkShows) {
    ZuzFiltersInitialization(); // the blur of a text's shadow comes with the filters
    // Turned, and with a text shadow blurred in the picture after the device cut its letters.
    for (const auto& [angle, textBlur] :
         {std::pair{0, 0}, std::pair{30, 0}, std::pair{90, 0}, std::pair{0, 3}}) {
        on = std::make_unique<CanvasOn>(200, 120, true); // a smooth shadow blurs the panel's bitmap
        chart->Canvas = &on->canvas;
        marks->SetAngle(angle);
        marks->GetFont()->GetShadow()->SetSize(textBlur ? 2 : 0);
        marks->GetFont()->GetShadow()->SetSmoothBlur(textBlur);
        marks->SetClip(true);
        marks->GetShadow()->SetColor(clBlack);
        marks->GetShadow()->SetSize(8);
        TSeriesMarkPosition p = Place(u"Mark", 100, 80);
        // The plot ends at the mark's middle: the mark and its shadow are cut there alike.
        const int edge = p.TopLeft.Y + p.Height / 2;
        on->canvas.ClipRectangle(TRect(0, edge, 200, 120));
        marks->InternalDraw(0, clRed, u"Mark", p);
        on->canvas.UnClipRectangle();
        EXPECT_GE(on->InkBox().Top, edge) << angle;
        EXPECT_FALSE(marks->GetShadow()->GetClip()) << "the setting is the user's";
    }
}

TEST_F(Marks, OverlappingMarksAreMovedOffTheEarlierOnes) {
    marks->GetShadow()->SetSize(0);
    TSeriesMarkPosition first;
    first.TopLeft = {10, 50};
    first.Width = 40;
    first.Height = 10;
    marks->InternalDraw(0, clRed, u"x", first);

    TSeriesMarkPosition below = first; // lower down, overlapping by 4 rows
    below.TopLeft = {20, 55};
    below.ArrowEnd = {40, 70};
    below.HasMidPoint = true;
    below.MidPoint = {40, 65};
    marks->AntiOverlap(0, 1, below);
    // R = 20..60 x 55..65 (+1 for the frame); the earlier box's bottom is 61.
    EXPECT_EQ(below.TopLeft.Y, 55 - (55 - 61));
    EXPECT_EQ(below.ArrowEnd.Y, 76);
    EXPECT_EQ(below.MidPoint.Y, 71);

    TSeriesMarkPosition apart = first;
    apart.TopLeft = {100, 50};
    marks->AntiOverlap(0, 1, apart);
    EXPECT_EQ(apart.TopLeft, TPoint(100, 50));
}

TEST_F(Marks, ADrawnMarkIsAFramedBoxWithItsTextInside) {
    marks->SetVisible(true);
    marks->GetShadow()->SetVisible(false);
    marks->SetColor(clYellow);
    marks->GetFont()->SetColor(clBlack);
    marks->GetCallout()->GetArrow()->SetColor(clBlue);
    marks->GetCallout()->GetArrow()->SetVisible(true);
    TSeriesMarkPosition p = Place(u"Mark", 100, 90);
    marks->ApplyArrowLength(p);
    marks->InternalDraw(0, clRed, u"Mark", p);
    EXPECT_TRUE(probe::Grab(on->target).SavePng(testsupport::PictureFile("mark.png")));
    const TRect r = p.Bounds();
    EXPECT_EQ(on->At(r.Left, r.Top), clBlack) << "frame";
    EXPECT_EQ(on->At(r.Right - 1, r.Bottom - 1), clBlack) << "frame";
    EXPECT_EQ(on->At(r.Left + 1, r.Top + 1), clYellow) << "fill";
    EXPECT_EQ(on->At(100, 89), clBlue) << "the arrow from the point";
    EXPECT_EQ(on->InkBox(clBlack).Left, r.Left);
    bool text = false;
    for (int x = r.Left + 2; x < r.Right - 2; ++x)
        for (int y = r.Top + 2; y < r.Bottom - 2; ++y) text |= on->At(x, y) == clBlack;
    EXPECT_TRUE(text) << "no text inside the box";
    EXPECT_EQ(marks->Clicked(100, r.Top + 2), 0);
    // A solid head is filled in the arrow's colour, also when the brush the mark drawn before
    // left cleared has that colour already.
    marks->GetCallout()->SetArrowHead(ahSolid);
    marks->GetCallout()->GetArrow()->SetColor(clYellow);
    marks->GetCallout()->SetLength(20);
    TSeriesMarkPosition q = Place(u"Mark", 40, 110);
    marks->ApplyArrowLength(q);
    marks->InternalDraw(1, clRed, u"Mark", q);
    EXPECT_EQ(on->At(40, 103), clYellow) << "inside the head";

    // A zoomed 3D view shrinks the box and the text drawn in it alike.
    TView3DOptions view;
    view.SetZoom(50);
    on->canvas.View3DOptions = &view;
    chart->View3D = true;
    marks->GetCallout()->GetArrow()->SetVisible(false);
    marks->GetFont()->SetSize(20);
    on->canvas.Brush->SetColor(clWhite);
    on->canvas.FillRect(TRect(0, 0, 200, 120));
    TSeriesMarkPosition z = Place(u"Mark", 100, 90);
    marks->InternalDraw(0, clRed, u"Mark", z);
    on->canvas.View3DOptions = nullptr;
    EXPECT_EQ(on->InkBox(clBlack), z.Bounds());
}

// Centred HTML pieces follow one another inside the box instead of each centring on its own.
TEST_F(Marks, ACentredHtmlMarkKeepsItsPiecesInARowInsideItsBox) {
    marks->SetVisible(true);
    marks->GetShadow()->SetVisible(false);
    marks->GetFrame()->SetVisible(false);
    marks->SetColor(clYellow);
    marks->GetFont()->SetColor(clBlack);
    marks->SetTextFormat(ttfHtml);
    const String text = u"<b>Жирный</b> <i>курсив</i>";
    TSeriesMarkPosition p = Place(text, 100, 90);
    marks->InternalDraw(0, clRed, text, p);
    const TRect ink = on->InkBox(clBlack), r = p.Bounds();
    EXPECT_GT(ink.Left, r.Left);
    EXPECT_LT(ink.Right, r.Right);
    // A point's own item is measured as the marks draw it: as HTML, its lines one below another.
    const String lines = u"<b>OWN</b><br>P3";
    for (const int i : {0, 1}) {
        marks->Item(i)->GetFont()->Assign(marks->GetFont());
        TSeriesMarkPosition own;
        s->CalculateMarkPosition(marks->MarkItem(i), lines, 100, 90, own);
        EXPECT_GE(own.Height, 2 * h) << i;
        EXPECT_LT(own.Width, on->canvas.TextWidth(lines)) << i;
    }
}

TEST_F(Marks, AssignCopiesTheSettingsAndTheItems) {
    auto* other = Create<TChartSeries>(chart.get());
    marks->SetAngle(45);
    marks->SetDrawEvery(3);
    marks->SetStyle(smsValue);
    marks->SetMultiLine(true);
    marks->SetFontSeriesColor(true);
    marks->GetMargins()->SetLeft(7);
    marks->Item(2)->GetText()->Add(u"own");
    other->GetMarks()->Assign(marks);
    TSeriesMarks* m = other->GetMarks();
    EXPECT_EQ(m->GetAngle(), 45);
    EXPECT_EQ(m->GetDrawEvery(), 3);
    EXPECT_EQ(m->GetStyle(), smsValue);
    EXPECT_TRUE(m->GetMultiLine());
    EXPECT_TRUE(m->GetFontSeriesColor());
    EXPECT_EQ(m->GetMargins()->GetLeft(), 7);
    ASSERT_EQ(m->Items().Count(), 3);
    EXPECT_EQ(m->Items().Peek(0), nullptr);
    EXPECT_EQ(m->Item(2)->GetText()->GetStrings(0), u"own");
    EXPECT_EQ(m->MarkItem(5), m) << "beyond the items the marks themselves";
}

} // namespace
