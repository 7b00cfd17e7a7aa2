// Titles and walls: the room titles take above and below the chart, their alignment and
// frame, clicks on them, text kept inside the panel, and the walls found by pixel probes in
// 2D and 3D. Also renders a whole chart with legend, titles and walls to a picture.
#include "chart/engine/charttitle.h"

#include "chart/canvas/zuzfilters.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartwalls.h"
#include "framefixture.h"
#include "platform/core/lists.h"
#include "tests/support/picturefile.h"
#include "tests/support/streamtext.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

namespace {

class TitleTest : public FrameTest {
protected:
    // A chart with one series and no legend, so that only the titles move its rectangle.
    static Owned<TRectChart> TitledChart(int W = 400, int H = 300) {
        Owned<TRectChart> c = NewChart(W, H);
        AddSeries(c.get(), u"A");
        c->GetLegend()->SetVisible(false);
        return c;
    }
    static int LineHeight(TCustomChart* Chart, TChartTitle* Title) {
        Chart->GetCanvas()->AssignFont(Title->GetFont());
        return Chart->GetCanvas()->TextHeight(u"W");
    }
};

} // namespace

TEST_F(TitleTest, ATitleWithoutLinesDrawsNothingAndLeavesTheChartRectangle) {
    auto chart = TitledChart();
    EXPECT_TRUE(chart->GetTitle()->GetVisible());
    Draw(chart.get());
    EXPECT_EQ(chart->AfterLegend, TRect(0, 0, 400, 300));
}

TEST_F(TitleTest, ATopTitleMovesTheChartTopByALineThreeBordersAndItsMargin) {
    auto chart = TitledChart();
    TChartTitle* t = chart->GetTitle();
    t->SetCaption(u"Архив");
    t->GetPen()->SetWidth(2);
    Draw(chart.get());
    const int h = LineHeight(chart.get(), t);
    EXPECT_EQ(chart->AfterLegend.Top, h + 3 * 2 + 5);
    // A bevel's width is the border instead of the frame's.
    t->SetBevel(bvRaised);
    t->SetBevelWidth(4);
    Draw(chart.get());
    EXPECT_EQ(chart->AfterLegend.Top, h + 3 * 4 + 5);
    // A sub-title goes below the title.
    t->SetBevel(bvNone);
    chart->GetSubTitle()->SetCaption(u"второй");
    Draw(chart.get());
    EXPECT_EQ(chart->GetSubTitle()->ShapeBounds.Top, t->ShapeBounds.Bottom + 5 + 2);
}

TEST_F(TitleTest, AThreeLineFootMovesTheBottomUpByThreeLinesAndItsMarginWhateverItsBorder) {
    auto chart = TitledChart();
    TChartFootTitle* f = chart->GetFoot();
    for (const char16_t* line : {u"один", u"два", u"три"}) f->GetText()->Add(line);
    for (const int width : {1, 3}) {
        f->GetPen()->SetWidth(width);
        Draw(chart.get());
        EXPECT_EQ(chart->AfterLegend.Bottom, 300 - 3 * LineHeight(chart.get(), f) - 5) << width;
    }
    EXPECT_EQ(f->GetFont()->GetColor(), clRed);
    EXPECT_TRUE(f->GetFont()->GetStyle().Contains(fsItalic));
}

TEST_F(TitleTest, AlignmentAndAdjustFramePlaceTheTitleBox) {
    auto chart = TitledChart();
    TChartTitle* t = chart->GetTitle();
    t->SetCaption(u"Заголовок");
    t->GetPen()->SetVisible(false);
    TCanvas3D* c = chart->GetCanvas();
    struct Row {
        TAlignment Align;
        bool Adjust;
    } rows[] = {{taLeftJustify, true}, {taRightJustify, true}, {taCenter, true}, {taCenter, false}};
    for (const Row& r : rows) {
        t->SetAlignment(r.Align);
        t->SetAdjustFrame(r.Adjust);
        TBitmap out;
        Draw(chart.get(), out);
        c->AssignFont(t->GetFont());
        const int total = c->TextWidth(u"Заголовок") + c->TextWidth(u"W");
        const TRect b = t->GetShapeBounds();
        SCOPED_TRACE(static_cast<int>(r.Align) * 2 + r.Adjust);
        if (!r.Adjust) {
            EXPECT_EQ(b.Left, 0);
            EXPECT_EQ(b.Right, 400);
        } else {
            EXPECT_EQ(b.Right - b.Left, total);
            if (r.Align == taLeftJustify) {
                EXPECT_EQ(b.Left, 0);
            }
            if (r.Align == taRightJustify) {
                EXPECT_EQ(b.Right, 400);
            }
            if (r.Align == taCenter) {
                EXPECT_LE(std::abs((b.Left + b.Right) / 2 - 200), 1);
            }
        }
        // The text lies where the alignment puts it.
        const int blueLeft = CountColour(out, Rgb(clBlue), 0, 150);
        const int blueRight = CountColour(out, Rgb(clBlue), 250, 400);
        if (r.Align == taLeftJustify) {
            EXPECT_TRUE(blueLeft > 0 && blueRight == 0);
        }
        if (r.Align == taRightJustify) {
            EXPECT_TRUE(blueRight > 0 && blueLeft == 0);
        }
        if (r.Align == taCenter) {
            EXPECT_TRUE(blueLeft == 0 && blueRight == 0);
        }
    }
}

TEST_F(TitleTest, ACustomPositionedTitleNeitherMovesNorShrinksTheChart) {
    auto chart = TitledChart();
    TChartTitle* t = chart->GetTitle();
    t->SetCaption(u"Сбоку");
    t->SetLeft(50);
    t->SetTop(100);
    EXPECT_TRUE(t->GetCustomPosition());
    TBitmap out;
    Draw(chart.get(), out);
    EXPECT_EQ(chart->AfterLegend, TRect(0, 0, 400, 300));
    EXPECT_EQ(t->GetShapeBounds().Left, 50);
    EXPECT_EQ(t->GetShapeBounds().Top, 100);
    // Drawn after the axes, whose labels leave the canvas aligned to the right, the placed
    // title still writes its text from its left, inside its box.
    const TRect box = t->GetShapeBounds();
    int ink = 0;
    for (int y = box.Top; y < box.Bottom; ++y)
        for (int x = box.Left; x < box.Right; ++x)
            ink += probe::Pixel(out, x, y) == Rgb(t->GetFont()->GetColor());
    EXPECT_GT(ink, 30);
    // A file's place and margin are held to the largest picture and to the editor's range.
    t->SetLeft(2147483647);
    t->SetTop(-2147483647 - 1);
    t->SetVertMargin(2147483647);
    EXPECT_EQ(t->GetLeft(), kLargestPictureSide);
    EXPECT_EQ(t->GetTop(), -kLargestPictureSide);
    EXPECT_EQ(t->GetVertMargin(), 500);
    t->SetBevelWidth(-2147483647 - 1);
    EXPECT_EQ(t->GetBevelWidth(), 0) << "a file's 0 draws no bevel and stays";
    // A centred title placed left of the panel keeps its place through drawings, also with a
    // frame of an odd width, whose half does not divide evenly.
    bool odd = false;
    for (const char16_t* caption : {u"i", u"ii", u"Сбоку", u"Сбоку!"})
        for (const int left : {-kLargestPictureSide, -1000}) {
            t->SetCaption(caption);
            t->SetLeft(left);
            Draw(chart.get());
            Draw(chart.get());
            EXPECT_EQ(t->GetLeft(), left) << UTF8Encode(caption) << " at " << left;
            odd = odd || (t->GetShapeBounds().Right - t->GetShapeBounds().Left) % 2 != 0;
        }
    EXPECT_TRUE(odd) << "some frame's width is odd";
    // Placed as a reader places it, before any drawing measured its frame, a right-aligned
    // title stands where its place says.
    auto loaded = TitledChart();
    loaded->GetTitle()->SetCaption(u"Сбоку");
    loaded->GetTitle()->SetAlignment(taRightJustify);
    loaded->GetTitle()->SetLeft(50);
    Draw(loaded.get());
    EXPECT_EQ(loaded->GetTitle()->GetShapeBounds().Left, 50);
    // So placed with its frame not fitted to its text, it still writes its text.
    auto unfitted = TitledChart();
    unfitted->GetTitle()->SetCaption(u"Сбоку");
    unfitted->GetTitle()->SetAdjustFrame(false);
    unfitted->GetTitle()->SetLeft(50);
    unfitted->GetTitle()->SetTop(100);
    TBitmap again;
    Draw(unfitted.get(), again);
    ink = 0;
    for (int y = 0; y < 300; ++y)
        for (int x = 50; x < 400; ++x) ink += probe::Pixel(again, x, y) == Rgb(t->GetFont()->GetColor());
    EXPECT_GT(ink, 30);
    // A framed title, top or foot, placed or not, holds its letters, descenders too, inside
    // its frame, whose height is the same either way.
    for (const bool foot : {false, true}) {
        auto framed = TitledChart();
        TChartTitle* title = foot ? static_cast<TChartTitle*>(framed->GetFoot()) : framed->GetTitle();
        title->SetCaption(u"Уруgjpq");
        title->GetFont()->SetColor(clPurple); // the series' red is not the foot's
        title->SetTransparent(false);
        title->GetPen()->SetWidth(2);
        int height = 0;
        for (const bool placed : {false, true}) {
            if (placed) {
                title->SetLeft(60);
                title->SetTop(120);
            }
            Draw(framed.get(), again);
            const TRect box = title->GetShapeBounds();
            if (!placed) height = box.Bottom - box.Top;
            EXPECT_EQ(box.Bottom - box.Top, height) << foot << placed;
            int outside = 0, inside = 0;
            for (int y = 0; y < 300; ++y)
                for (int x = 0; x < 400; ++x)
                    if (probe::Pixel(again, x, y) == Rgb(title->GetFont()->GetColor()))
                        ++(x > box.Left + 1 && x < box.Right - 2 && y > box.Top + 1 && y < box.Bottom - 2
                               ? inside
                               : outside);
            EXPECT_GT(inside, 30) << foot << placed;
            EXPECT_EQ(outside, 0) << foot << placed;
        }
    }
}

TEST_F(TitleTest, ClicksOnTitlesAndFeetNameThem) {
    auto chart = TitledChart();
    chart->GetTitle()->SetCaption(u"Верх");
    chart->GetFoot()->SetCaption(u"Низ");
    Draw(chart.get());
    TChartClickedPart part;
    const TRect t = chart->GetTitle()->GetShapeBounds();
    chart->CalcClickedPart(TPoint(t.Right, t.Bottom), part);
    EXPECT_EQ(part.Style, cpTitle);
    const TRect f = chart->GetFoot()->GetShapeBounds();
    chart->CalcClickedPart(TPoint(f.Left, f.Top), part);
    EXPECT_EQ(part.Style, cpFoot);
    chart->GetFoot()->SetVisible(false);
    chart->CalcClickedPart(TPoint(f.Left, f.Top), part);
    EXPECT_NE(part.Style, cpFoot);
}

TEST_F(TitleTest, CaptionIsTheFirstLineAndWritingItReplacesEveryLine) {
    auto chart = TitledChart();
    TChartTitle* t = chart->GetTitle();
    EXPECT_EQ(t->GetCaption(), u"");
    t->GetText()->Add(u"a");
    t->GetText()->Add(u"b");
    EXPECT_EQ(t->GetCaption(), u"a");
    t->SetCaption(u"c");
    EXPECT_EQ(t->GetText()->GetCount(), 1);
    t->Clear();
    EXPECT_EQ(t->GetText()->GetCount(), 0);
}

TEST_F(TitleTest, AnAxisTitleThatIsNotTransparentDrawsItsBoxUnderItsText) {
    auto chart = TitledChart();
    for (int i = 0; i < 4; ++i) chart->SetMargin(i, 20);
    TChartAxisTitle* title = chart->GetBottomAxis()->GetTitle();
    title->SetCaption(u"Дата");
    TBitmap out;
    Draw(chart.get(), out);
    EXPECT_EQ(CountColour(out, Rgb(clYellow), 0, 400), 0);
    title->SetTransparent(false);
    title->SetColor(clYellow);
    Draw(chart.get(), out);
    const TRect b = title->ShapeBounds;
    EXPECT_GT(CountColour(out, Rgb(clYellow), 0, 400), (b.Right - b.Left - 2) * (b.Bottom - b.Top - 2) / 2);
    EXPECT_EQ(probe::Pixel(out, (b.Left + b.Right) / 2, b.Top + 1), Rgb(clYellow));
    // The text stays on top of the box.
    int ink = 0;
    for (int y = b.Top + 1; y < b.Bottom - 1; ++y)
        for (int x = b.Left + 1; x < b.Right - 1; ++x)
            if (probe::Pixel(out, x, y) == Rgb(clBlack)) ++ink;
    EXPECT_GT(ink, 10);
    // Turned either way on the left axis, the box still lies around its text.
    title = chart->GetLeftAxis()->GetTitle();
    title->SetCaption(u"Значение");
    title->GetFont()->SetColor(clBlue);
    title->SetTransparent(false);
    title->SetColor(clYellow);
    // Pixels left of the chart, as drawn, that pass Test, as a rectangle.
    const auto extent = [&](auto Test) {
        const TRect r = chart->GetChartRect();
        const TPoint top = chart->GetCanvas()->Calculate3DPosition(r.Left, r.Top, 0);
        const TPoint bottom = chart->GetCanvas()->Calculate3DPosition(r.Left, r.Bottom, 0);
        TRect e(400, 300, -1, -1);
        for (int y = 0; y < bottom.Y; ++y)
            for (int x = 0; x < std::min(top.X, bottom.X); ++x)
                if (Test(probe::Pixel(out, x, y)))
                    e = TRect(std::min(e.Left, x), std::min(e.Top, y), std::max(e.Right, x),
                              std::max(e.Bottom, y));
        return e;
    };
    // And so it does in a view turned in perspective, where even depth 0 moves on screen; there,
    // however deep the view, the titles stand clear of their labels and all stays on the panel.
    struct View {
        int Angle, Rotation, Elevation, Perspective; // rotation 0: not turned
    };
    for (const View v : {View{90, 0, 0, 0}, {270, 0, 0, 0}, {90, 335, 340, 15}, {90, 315, 350, 50}}) {
        if (v.Rotation != 0) {
            chart->SetView3D(true);
            chart->GetView3DOptions()->SetOrthogonal(false);
            chart->GetView3DOptions()->SetRotation(v.Rotation);
            chart->GetView3DOptions()->SetElevation(v.Elevation);
            chart->GetView3DOptions()->SetPerspective(v.Perspective);
        }
        const std::string row = std::to_string(v.Angle) + " " + std::to_string(v.Rotation);
        title->SetAngle(v.Angle);
        Draw(chart.get(), out);
        // Turned text is smoothed: its ink is any blue tint over the yellow.
        const TRect box = extent([](probe::Rgb P) { return P == Rgb(clYellow); });
        const TRect text = extent([](probe::Rgb P) { return P.b > P.r + 60; });
        EXPECT_LT(box.Left, text.Left) << row;
        EXPECT_GT(box.Right, text.Right) << row;
        EXPECT_LT(box.Top, text.Top) << row;
        EXPECT_GT(box.Bottom, text.Bottom) << row;
        EXPECT_LE(std::abs(box.Left + box.Right - text.Left - text.Right), 3) << row;
        EXPECT_LE(std::abs(box.Top + box.Bottom - text.Top - text.Bottom), 3) << row;
        // The labels' texts, each its box less the half letter on either side.
        TCanvas3D* c = chart->GetCanvas();
        c->AssignFont(chart->GetLeftAxis()->GetLabelsFont());
        const int half = c->TextWidth(u"W") / 2;
        const auto textOf = [half](const TRect& B) {
            return TRect(B.Left + half, B.Top, B.Right - half, B.Bottom);
        };
        const TRect bottomTitle = textOf(chart->GetBottomAxis()->GetTitle()->ShapeBounds);
        for (const auto& [axis, titleText] :
             {std::pair{chart->GetLeftAxis(), box}, std::pair{chart->GetBottomAxis(), bottomTitle}})
            for (int i = 0; i < axis->GetItems()->Count(); ++i) {
                const TRect label = textOf(axis->GetItems()->Get(i)->ShapeBounds);
                TRect both;
                EXPECT_FALSE(IntersectRect(both, label, titleText))
                    << row << " " << UTF8Encode(axis->GetItems()->Get(i)->GetText());
                EXPECT_TRUE(RectangleInRectangle(label, TRect(0, 0, 400, 300))) << row;
            }
        EXPECT_TRUE(probe::Grab(out).SavePng(testsupport::PictureFile(
            v.Rotation != 0 ? "axis-title-turned-" + std::to_string(v.Rotation) + ".png"
                            : "axis-title-" + std::to_string(v.Angle) + ".png")));
    }
}

TEST_F(TitleTest, ATitleWiderThanThePanelIsClippedToIt) {
    auto chart = TitledChart(200, 120);
    chart->GetTitle()->SetCaption(String(60, u'W'));
    chart->GetTitle()->SetAdjustFrame(false);
    TBitmap out;
    out.SetSize(600, 120);
    out.GetCanvas()->GetBrush()->SetColor(clWhite);
    out.GetCanvas()->FillRect(TRect(0, 0, 600, 120));
    chart->Draw(out.GetCanvas(), TRect(200, 0, 400, 120));
    EXPECT_EQ(CountColour(out, Rgb(clBlue), 0, 200), 0);
    EXPECT_EQ(CountColour(out, Rgb(clBlue), 400, 600), 0);
    EXPECT_GT(CountColour(out, Rgb(clBlue), 200, 400), 50);
}

// ---------------------------------------------------------------------------
// Walls

namespace {

class WallTest : public FrameTest {
protected:
    static Owned<TRectChart> WalledChart(bool In3D) {
        Owned<TRectChart> c = NewChart(400, 300);
        AddSeries(c.get(), u"A")->DrawLines = false;
        c->GetLegend()->SetVisible(false);
        c->SetAxisVisible(false);
        for (int i = 0; i < 4; ++i) c->SetMargin(i, 40);
        c->SetView3D(In3D);
        c->Set3DPercent(100);
        return c;
    }
    // The pixel of the chart's 3D point (X, Y, Z) in the last draw.
    static probe::Rgb At(TCustomChart* Chart, TBitmap& Out, int X, int Y, int Z) {
        const TPoint p = Chart->GetCanvas()->Calculate3DPosition(X, Y, Z);
        return probe::Pixel(Out, p.X, p.Y);
    }
};

} // namespace

TEST_F(WallTest, InTwoDimensionsTheBackWallFillsAndFramesTheChartRectangle) {
    auto chart = WalledChart(false);
    TChartBackWall* back = chart->GetBackWall();
    EXPECT_TRUE(back->GetTransparent());
    back->SetTransparent(false);
    back->SetColor(clYellow);
    TBitmap out;
    Draw(chart.get(), out);
    const TRect r = chart->GetChartRect();
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(probe::Pixel(out, (r.Left + r.Right) / 2, midY), Rgb(clYellow));
    EXPECT_EQ(probe::Pixel(out, r.Left, midY), Rgb(clBlack));
    EXPECT_EQ(probe::Pixel(out, r.Right, midY), Rgb(clBlack));
    EXPECT_EQ(chart->GetBackColor(), clYellow);
    EXPECT_FALSE(chart->IsFreeSeriesColor(clYellow, true, nullptr));
    EXPECT_TRUE(chart->IsFreeSeriesColor(clYellow, false, nullptr));
    // A gradient replaces the colour.
    back->GetGradient()->SetVisible(true);
    back->GetGradient()->SetStartColor(clRed);
    back->GetGradient()->SetEndColor(clRed);
    Draw(chart.get(), out);
    EXPECT_EQ(probe::Pixel(out, (r.Left + r.Right) / 2, midY), Rgb(clRed));
    // Walls switched off leave the back as the control's colour.
    chart->GetWalls()->SetVisible(false);
    EXPECT_FALSE(chart->GetView3DWalls());
    Draw(chart.get(), out);
    EXPECT_EQ(probe::Pixel(out, (r.Left + r.Right) / 2, midY), Rgb(clWhite));
    EXPECT_EQ(probe::Pixel(out, r.Left, midY), Rgb(clWhite));
}

TEST_F(WallTest, InThreeDimensionsTheSideAndBottomWallsStandAtTheChartEdgesAndTheBackWallBehind) {
    auto chart = WalledChart(true);
    chart->GetBottomWall()->SetColor(clLime);
    TBitmap out;
    Draw(chart.get(), out);
    const TRect r = chart->GetChartRect();
    const int d = chart->Width3D, midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
    ASSERT_GT(d, 10);
    EXPECT_EQ(At(chart.get(), out, r.Left, midY, d / 2), Rgb(static_cast<TColor>(0x80FFFF)));
    EXPECT_EQ(At(chart.get(), out, midX, r.Bottom, d / 2), Rgb(clLime));
    // The right wall is hidden until asked for.
    EXPECT_EQ(At(chart.get(), out, r.Right, midY, d / 2), Rgb(clWhite));
    chart->GetRightWall()->SetVisible(true);
    Draw(chart.get(), out);
    EXPECT_EQ(At(chart.get(), out, r.Right, midY, d / 2), Rgb(clSilver));
    // The back wall's gradient covers that wall, top to bottom, and nothing above it.
    TChartBackWall* back = chart->GetBackWall();
    back->SetTransparent(false);
    back->GetGradient()->SetVisible(true);
    back->GetGradient()->SetStartColor(clRed);
    back->GetGradient()->SetEndColor(clRed);
    Draw(chart.get(), out);
    EXPECT_EQ(At(chart.get(), out, midX, r.Top + 3, d), Rgb(clRed));
    EXPECT_EQ(At(chart.get(), out, midX, r.Bottom - 3, d), Rgb(clRed));
    EXPECT_EQ(At(chart.get(), out, midX, r.Top - 3, d), Rgb(clWhite));
    back->SetTransparent(true);
    // Every wall goes with the walls switched off.
    chart->GetWalls()->SetVisible(false);
    Draw(chart.get(), out);
    EXPECT_EQ(At(chart.get(), out, r.Left, midY, d / 2), Rgb(clWhite));
    EXPECT_EQ(At(chart.get(), out, midX, r.Bottom, d / 2), Rgb(clWhite));
    EXPECT_EQ(At(chart.get(), out, r.Right, midY, d / 2), Rgb(clWhite));
}

TEST_F(WallTest, AWallSizeOfZeroIsFlatFiveIsASlabAndTheLabelsBesideItStayClear) {
    auto chart = WalledChart(true);
    TBitmap out;
    Draw(chart.get(), out);
    TRect r = chart->GetChartRect();
    const int midY = (r.Top + r.Bottom) / 2;
    EXPECT_EQ(probe::Pixel(out, r.Left - 3, midY), Rgb(clWhite));
    EXPECT_EQ(chart->CalcWallSize(chart->GetLeftAxis()), 0);
    chart->GetLeftWall()->SetSize(5);
    Draw(chart.get(), out);
    r = chart->GetChartRect();
    EXPECT_EQ(chart->CalcWallSize(chart->GetLeftAxis()), 5);
    EXPECT_NE(probe::Pixel(out, r.Left - 3, (r.Top + r.Bottom) / 2), Rgb(clWhite));
    // Beside a thick wall, the left labels show the panel behind their letters, in the
    // default view and in a turned one.
    chart->SetAxisVisible(true);
    chart->GetBottomWall()->SetSize(4);
    TChartAxis* left = chart->GetLeftAxis();
    for (const int rotation : {345, 300}) {
        chart->GetView3DOptions()->SetOrthogonal(rotation == 345);
        chart->GetView3DOptions()->SetRotation(rotation);
        Draw(chart.get(), out);
        ASSERT_GT(left->GetItems()->Count(), 2);
        TCanvas3D* c = chart->GetCanvas();
        c->AssignFont(left->GetLabelsFont());
        const int hh = c->TextHeight(u"W") / 2;
        for (int i = 0; i < left->GetItems()->Count(); ++i) {
            const TAxisItem* item = left->GetItems()->Get(i);
            const TPoint p =
                c->Calculate3DPosition(left->PosLabels, left->CalcPosValue(item->GetValue()), left->IZPos);
            int background = 0, other = 0;
            for (int y = p.Y - hh + 1; y < p.Y + hh - 1; ++y)
                for (int x = p.X - c->TextWidth(item->GetText()) + 1; x < p.X - 1; ++x) {
                    const probe::Rgb px = probe::Pixel(out, x, y);
                    if (px == Rgb(clWhite))
                        ++background;
                    else if (px != Rgb(clBlack))
                        ++other;
                }
            EXPECT_GT(background, 0) << rotation << " " << UTF8Encode(item->GetText());
            EXPECT_EQ(other, 0) << rotation << " " << UTF8Encode(item->GetText());
        }
    }
    // In 2D no wall has a size.
    chart->SetView3D(false);
    EXPECT_EQ(chart->CalcWallSize(chart->GetLeftAxis()), 0);
}

TEST_F(WallTest, EveryWallsPictureIsDrawnThroughItsFilters) {
    TBitmap red;
    red.SetPixelFormat(pf24bit);
    red.SetSize(8, 8);
    red.GetCanvas()->GetBrush()->SetColor(clRed);
    red.GetCanvas()->FillRect(TRect(0, 0, 8, 8));
    for (const bool in3D : {false, true}) {
        auto chart = WalledChart(in3D);
        for (TCustomChartWall* wall : std::initializer_list<TCustomChartWall*>{
                 chart->GetBackWall(), chart->GetLeftWall(), chart->GetBottomWall()}) {
            wall->GetPicture()->SetGraphic(&red);
            wall->GetPicture()->GetFilters()->Add(TInvertFilter::StaticClass());
        }
        TBitmap out;
        Draw(chart.get(), out);
        const TRect r = chart->GetChartRect();
        const int d = in3D ? chart->Width3D : 0, midX = (r.Left + r.Right) / 2, midY = (r.Top + r.Bottom) / 2;
        const probe::Rgb inverted{0, 255, 255};
        EXPECT_EQ(At(chart.get(), out, midX, midY, d), inverted) << "back " << in3D;
        if (!in3D) continue;
        EXPECT_EQ(At(chart.get(), out, r.Left, midY, d / 2), inverted) << "left";
        EXPECT_EQ(At(chart.get(), out, midX, r.Bottom, d / 2), inverted) << "bottom";
    }
}

TEST_F(WallTest, AnEndPositionOfFiftyDrawsTheLeftWallOverTheUpperHalf) {
    auto chart = WalledChart(true);
    chart->GetLeftWall()->SetEndPosition(50);
    TBitmap out;
    Draw(chart.get(), out);
    const TRect r = chart->GetChartRect();
    const int d = chart->Width3D, h = r.Bottom - r.Top;
    const probe::Rgb yellow = Rgb(static_cast<TColor>(0x80FFFF));
    EXPECT_EQ(At(chart.get(), out, r.Left, r.Top + h / 4, d / 2), yellow);
    EXPECT_NE(At(chart.get(), out, r.Left, r.Top + 3 * h / 4, d / 2), yellow);
    // A file's number is a percentage of the wall: beyond the end is the end.
    chart->GetLeftWall()->SetEndPosition(2147483647);
    Draw(chart.get(), out);
    EXPECT_EQ(At(chart.get(), out, r.Left, r.Top + 3 * h / 4, d / 2), yellow);
}

TEST_F(WallTest, WallsAndTitlesTravelThroughAssign) {
    auto a = WalledChart(true), b = WalledChart(true);
    a->GetLeftWall()->SetSize(7);
    a->GetBackWall()->SetColor(clNavy);
    a->GetTitle()->SetCaption(u"Копия");
    a->GetLegend()->SetAlignment(laBottom);
    b->Assign(a.get());
    EXPECT_EQ(b->GetLeftWall()->GetSize(), 7);
    EXPECT_EQ(b->GetBackWall()->GetColor(), clNavy);
    EXPECT_EQ(b->GetTitle()->GetCaption(), u"Копия");
    EXPECT_EQ(b->GetLegend()->GetAlignment(), laBottom);
    b->ClearChart();
    EXPECT_EQ(b->GetLeftWall()->GetSize(), 0);
    EXPECT_EQ(b->GetTitle()->GetCaption(), u"");
    EXPECT_EQ(b->GetLegend()->GetAlignment(), laRight);
}

TEST_F(WallTest, LegendTitlesAndWallsAreWrittenAndReadBack) {
    RegisterClass(TChart::StaticClass());
    RegisterClass(TPolySeries::StaticClass());
    auto a = WalledChart(true);
    a->SetName(u"Saved");
    const std::string fresh = streamtext::ObjectText(a.get());
    EXPECT_EQ(fresh.find("Legend.Alignment"), std::string::npos) << fresh;
    EXPECT_EQ(fresh.find("LeftWall.Size"), std::string::npos) << fresh;
    EXPECT_EQ(fresh.find("BackWall.Color"), std::string::npos) << fresh;
    EXPECT_EQ(fresh.find("Font."), std::string::npos) << fresh;
    a->GetTitle()->GetText()->Add(u"Первая строка");
    a->GetTitle()->GetText()->Add(u"Вторая строка");
    a->GetTitle()->SetAlignment(taLeftJustify);
    a->GetFoot()->SetCaption(u"Низ");
    // Fonts put back to the plain defaults their titles do not start with.
    a->GetTitle()->GetFont()->SetColor(clBlack);
    a->GetFoot()->GetFont()->SetColor(clBlack);
    a->GetFoot()->GetFont()->SetStyle({});
    a->GetLegend()->SetAlignment(laTop);
    a->GetLegend()->SetCheckBoxes(true);
    a->GetLegend()->GetSymbol()->SetWidth(33);
    a->GetLeftWall()->SetSize(4);
    a->GetBackWall()->SetColor(clNavy);
    a->GetRightWall()->SetVisible(true);
    const std::string text = streamtext::ObjectText(a.get());
    auto b = WalledChart(true);
    b->SetName(u"Saved");
    streamtext::ReadText(text, b.get());
    EXPECT_EQ(b->GetTitle()->GetText()->GetCount(), 2);
    EXPECT_EQ(b->GetTitle()->GetText()->GetStrings(1), u"Вторая строка");
    EXPECT_EQ(b->GetTitle()->GetAlignment(), taLeftJustify);
    EXPECT_EQ(b->GetFoot()->GetCaption(), u"Низ");
    EXPECT_EQ(b->GetTitle()->GetFont()->GetColor(), clBlack);
    EXPECT_EQ(b->GetFoot()->GetFont()->GetColor(), clBlack);
    EXPECT_TRUE(b->GetFoot()->GetFont()->GetStyle().Empty());
    EXPECT_EQ(b->GetLegend()->GetAlignment(), laTop);
    EXPECT_TRUE(b->GetLegend()->GetCheckBoxes());
    EXPECT_EQ(b->GetLegend()->GetColorWidth(), 33);
    EXPECT_EQ(b->GetLeftWall()->GetSize(), 4);
    EXPECT_EQ(b->GetBackWall()->GetColor(), clNavy);
    EXPECT_TRUE(b->GetRightWall()->GetVisible());
    // An old chart's back colour becomes the back wall's.
    streamtext::ReadText("object Saved: TChart\n  BackColor = clTeal\nend\n", b.get());
    EXPECT_EQ(b->GetBackWall()->GetColor(), clTeal);
}

TEST_F(WallTest, AxesAndGridsDrawnAgainOverTheWallsLeaveThePartBehindTheSeries) {
    auto chart = WalledChart(true);
    chart->SetAxisVisible(true);
    chart->GetRightWall()->SetVisible(true);
    chart->GetView3DOptions()->SetOrthogonal(false);
    std::vector<std::string> log;
    Log = &log;
    const std::pair<TChartAxis*, const char*> axes[] = {{chart->GetLeftAxis(), "left"},
                                                        {chart->GetRightAxis(), "right"},
                                                        {chart->GetTopAxis(), "top"},
                                                        {chart->GetBottomAxis(), "bottom"}};
    for (const auto& [axis, name] : axes)
        axis->OnDrawGrids.Bind([a = axis, n = std::string(name)](TObject*) {
            Note(n + (a->IHideBackGrid ? " on its wall" : a->IHideSideGrid ? " on the back" : ""));
        });
    // What is drawn after the last point of the series.
    const auto afterSeries = [&] {
        log.clear();
        Draw(chart.get());
        std::vector<std::string> after;
        for (const std::string& step : log) {
            if (step.starts_with("value"))
                after.clear();
            else
                after.push_back(step);
        }
        return after;
    };
    // Seen from the front and the right the left wall stands behind the series.
    EXPECT_EQ(afterSeries(), (std::vector<std::string>{}));
    // Seen from the left it comes over them, and its axis with it.
    chart->GetView3DOptions()->SetRotation(20);
    EXPECT_EQ(afterSeries(), (std::vector<std::string>{"left on its wall"}));
    // Seen from behind, the back wall comes over them, and the grid lines on it.
    chart->GetView3DOptions()->SetRotation(210);
    // (The top axis has no series, so it shows no grid.)
    EXPECT_EQ(afterSeries(), (std::vector<std::string>{"bottom on the back"}));
    Log = nullptr;
    for (const auto& [axis, name] : axes) {
        EXPECT_FALSE(axis->IHideBackGrid) << name;
        EXPECT_FALSE(axis->IHideSideGrid) << name;
    }
}

// ---------------------------------------------------------------------------
// A picture to look at

TEST_F(WallTest, AChartWithLegendTitlesAndWallsRendersToAPicture) {
    Owned<TRectChart> chart = NewChart(720, 440);
    chart->SetMarginUnits(muPercent);
    for (int i = 0; i < 4; ++i) chart->SetMargin(i, 3);
    chart->SetColor(static_cast<TColor>(0xF4F4F4));
    chart->SetView3D(true);
    chart->Set3DPercent(20);
    const char16_t* names[] = {u"Температура, °C", u"Давление, кПа", u"Расход, м³/ч"};
    for (int k = 0; k < 3; ++k) {
        TPolySeries* s = AddSeries(chart.get(), names[k], 0);
        for (int h = 0; h < 48; ++h) s->AddXY(h, 40 + 20 * k + 12 * std::sin(h / (3.0 + k)));
    }
    TChartTitle* title = chart->GetTitle();
    title->GetText()->Add(u"Архив прибора «КРОНТ»");
    title->GetText()->Add(u"Часовые значения за двое суток");
    title->GetFont()->SetSize(12);
    chart->GetFoot()->SetCaption(u"Сформировано программой Moltren");
    TChartBackWall* back = chart->GetBackWall();
    back->SetTransparent(false);
    back->SetColor(static_cast<TColor>(0xFFF8F0));
    chart->GetLegend()->SetCheckBoxes(true);
    chart->GetLeftAxis()->GetTitle()->SetCaption(u"Значение");
    TBitmap out;
    Draw(chart.get(), out);

    // Title, legend and walls all show.
    EXPECT_GT(CountColour(out, Rgb(clBlue), 0, 720), 200);
    EXPECT_GT(CountColour(out, Rgb(clRed), 0, 720), 100);
    TChartLegend* l = chart->GetLegend();
    EXPECT_EQ(l->NumRows, 3);
    for (int k = 0; k < 3; ++k) {
        const TRect s = l->GetItems()->Get(k)->SymbolRect;
        EXPECT_EQ(probe::Pixel(out, (s.Left + s.Right) / 2, (s.Top + s.Bottom) / 2),
                  Rgb(chart->GetSeries(k)->GetSeriesColor()));
    }
    const TRect r = chart->GetChartRect();
    const TPoint wall = chart->GetCanvas()->Calculate3DPosition(r.Left, r.Top + 10, chart->Width3D / 2);
    EXPECT_EQ(probe::Pixel(out, wall.X, wall.Y), Rgb(static_cast<TColor>(0x80FFFF)));
    EXPECT_TRUE(probe::Grab(out).SavePng(testsupport::PictureFile("chart-legend-titles-walls.png")));
}
