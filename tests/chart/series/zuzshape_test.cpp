// The shape series on the 0..10 chart: every figure by pixel probes, the text
// inside and its colour against the fill, the ways of reading the points, the
// degenerate shapes, clicks on each figure, the gallery and registration.
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/zuzshape.h"
#include "chart/series/zuzstore.h"
#include "linefixture.h"
#include "platform/core/lists.h"
#include "platform/core/streams.h"
#include "tests/chart/series/keeptypes.h"
#include "tests/chart/series/picturefile.h"

#include <tuple>

namespace {

class Shapes : public LineTest {
protected:
    // A red shape from (2, 2) to (8, 8) with a black outline.
    TChartShape* AddShape(TChartShapeStyle Style) {
        auto* s = Create<TChartShape>(chart.get());
        chart->AddSeries(s);
        s->SetSeriesColor(clRed);
        s->GetPen()->SetColor(clBlack);
        s->SetStyle(Style);
        s->SetX0(2);
        s->SetY0(2);
        s->SetX1(8);
        s->SetY1(8);
        return s;
    }
    // The pixel a point of the figure's plane lands on at depth Z of the last drawing.
    TPoint At3D(double X, double Y, int Z) { return chart->GetCanvas()->Calculate3DPosition(At(X, Y), Z); }
    bool Reddish(TPoint P) {
        const probe::Rgb c = Pixel(P);
        return c.r > 60 && c.g < 40 && c.b < 40;
    }
    bool AnyPixel(TColor Color) {
        for (int y = 0; y < out.GetHeight(); ++y)
            for (int x = 0; x < out.GetWidth(); ++x)
                if (Is({x, y}, Color)) return true;
        return false;
    }
};

struct FigureRow {
    const char* rule;
    TChartShapeStyle style;
    double x, y; // a probe in axis units, off the grid lines where nothing should be
    TColor color;
    bool present; // whether the colour is within a pixel of the probe
};

class ShapeFigure : public Shapes, public ::testing::WithParamInterface<FigureRow> {};

TEST_P(ShapeFigure, DrawsWhereTheFigureIs) {
    const FigureRow& r = GetParam();
    AddShape(r.style);
    Draw();
    EXPECT_EQ(Near(At(r.x, r.y), r.color, 1), r.present) << r.rule;
}

INSTANTIATE_TEST_SUITE_P(
    Figures, ShapeFigure,
    ::testing::Values(FigureRow{"RectangleFilled", chasRectangle, 5, 5, clRed, true},
                      FigureRow{"RectangleFilledToItsCorner", chasRectangle, 2.3, 7.7, clRed, true},
                      FigureRow{"CircleFilled", chasCircle, 5, 5, clRed, true},
                      FigureRow{"CircleLeavesTheCorner", chasCircle, 2.3, 7.7, clRed, false},
                      FigureRow{"VertLineAtTheCentre", chasVertLine, 5, 3.5, clBlack, true},
                      FigureRow{"VertLineOnlyThere", chasVertLine, 4.5, 3.5, clBlack, false},
                      FigureRow{"HorizLineAtTheCentre", chasHorizLine, 3.5, 5, clBlack, true},
                      FigureRow{"HorizLineOnlyThere", chasHorizLine, 3.5, 5.5, clBlack, false},
                      FigureRow{"TriangleWideAtTheBottom", chasTriangle, 3, 2.5, clRed, true},
                      FigureRow{"TriangleNarrowAtTheTop", chasTriangle, 3, 7.5, clRed, false},
                      FigureRow{"InvertTriangleWideAtTheTop", chasInvertTriangle, 3, 7.5, clRed, true},
                      FigureRow{"InvertTriangleNarrowAtTheBottom", chasInvertTriangle, 3, 2.5, clRed, false},
                      FigureRow{"FlatPyramidIsATriangle", chasPyramid, 3, 7.5, clRed, false},
                      FigureRow{"FlatInvertPyramidIsAnInvertTriangle", chasInvertPyramid, 3, 2.5, clRed,
                                false},
                      FigureRow{"LineKeepsItsDirection", chasLine, 3.5, 3.5, clBlack, true},
                      FigureRow{"LineNotOnTheOtherDiagonal", chasLine, 3.5, 6.5, clBlack, false},
                      FigureRow{"DiamondFilled", chasDiamond, 5, 5, clRed, true},
                      FigureRow{"DiamondLeavesTheCorner", chasDiamond, 2.5, 2.5, clRed, false},
                      FigureRow{"FlatCubeIsARectangle", chasCube, 2.5, 2.5, clRed, true},
                      FigureRow{"CrossVertical", chasCross, 5, 3.5, clBlack, true},
                      FigureRow{"CrossHorizontal", chasCross, 3.5, 5, clBlack, true},
                      FigureRow{"CrossNotDiagonal", chasCross, 3.5, 3.5, clBlack, false},
                      FigureRow{"DiagCrossDown", chasDiagCross, 3.5, 3.5, clBlack, true},
                      FigureRow{"DiagCrossUp", chasDiagCross, 3.5, 6.5, clBlack, true},
                      FigureRow{"DiagCrossNotUpright", chasDiagCross, 5, 3.5, clBlack, false},
                      FigureRow{"StarUpright", chasStar, 5, 3.5, clBlack, true},
                      FigureRow{"StarDiagonal", chasStar, 3.5, 6.5, clBlack, true}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(Shapes, EveryFigureIsSavedAsAPicture) {
    chart->GetBottomAxis()->SetMinMax(0, 14);
    chart->GetLeftAxis()->SetMinMax(0, 14);
    const TChartShapeStyle styles[] = {chasRectangle, chasCircle,         chasVertLine,  chasHorizLine,
                                       chasTriangle,  chasInvertTriangle, chasLine,      chasDiamond,
                                       chasCube,      chasCross,          chasDiagCross, chasStar,
                                       chasPyramid,   chasInvertPyramid};
    for (int i = 0; i < 14; ++i) {
        auto* s = AddShape(styles[i]);
        const double x = 0.5 + (i % 4) * 3.4, y = 0.5 + (i / 4) * 3.4;
        s->SetX0(x);
        s->SetY0(y);
        s->SetX1(x + 2.6);
        s->SetY1(y + 2.6);
    }
    auto* t = AddShape(chasRectangle);
    t->SetX0(7.3);
    t->SetY0(10.7);
    t->SetX1(13.5);
    t->SetY1(13.5);
    t->GetText()->Add(u"Текст");
    t->GetText()->Add(u"Two");
    t->GetFont()->SetColor(clWhite);
    Draw();
    EXPECT_TRUE(KeepPicture(probe::Grab(out), "shape.png"));
    EXPECT_TRUE(AnyPixel(clWhite));
}

TEST_F(Shapes, TextIsWrittenInsideAndTakesTheOppositeOfAFillOfItsOwnColour) {
    struct Row {
        const char* rule;
        TColor fill, font, drawn;
    };
    for (const Row& r : {Row{"white on white is drawn black", clWhite, clWhite, clBlack},
                         Row{"black on black is drawn white", clBlack, clBlack, clWhite},
                         Row{"blue on red stays blue", clRed, clBlue, clBlue}}) {
        chart->FreeAllSeries();
        auto* s = AddShape(chasRectangle);
        s->SetSeriesColor(r.fill);
        s->GetPen()->SetColor(clGreen);
        s->GetFont()->SetColor(r.font);
        s->GetFont()->SetSize(14);
        s->GetText()->Add(u"WWW");
        Draw();
        // Only the text can have that colour inside the figure.
        bool found = false;
        const TPoint a = At(2.2, 7.8), b = At(7.8, 2.2);
        for (int y = a.Y; y <= b.Y && !found; ++y)
            for (int x = a.X; x <= b.X && !found; ++x) found = Is({x, y}, r.drawn);
        EXPECT_TRUE(found) << r.rule;
    }
}

TEST_F(Shapes, ThePointsAreReadAsAxisValuesPixelsOrAnAxisPointAndASize) {
    auto* s = AddShape(chasRectangle);
    Draw();
    EXPECT_EQ(s->GetShapeRectangle(), TRect(At(2, 2).X, At(2, 2).Y, At(8, 8).X, At(8, 8).Y));
    s->SetXYStyle(xysAxisOrigin);
    s->SetX1(30);
    s->SetY1(-20);
    EXPECT_EQ(s->GetShapeRectangle(), TRect(At(2, 2).X, At(2, 2).Y, At(2, 2).X + 30, At(2, 2).Y - 20));
    s->SetShapeRectangle(TRect(40, 50, 90.0, 70));
    EXPECT_EQ(s->GetXYStyle(), xysPixels);
    EXPECT_EQ(s->GetShapeRectangle(), TRect(40, 50, 90, 70));
    EXPECT_FALSE(s->UseAxis());
}

TEST_F(Shapes, APixelShapeStaysPutWhenTheAxesMoveAndIsFlatIn3D) {
    auto* s = AddShape(chasRectangle);
    s->SetShapeRectangle(TRect(60, 50, 100, 90));
    Draw();
    EXPECT_TRUE(Is({80, 70}, clRed));
    chart->GetBottomAxis()->SetMinMax(50, 60);
    chart->GetLeftAxis()->SetMinMax(-30, -20);
    Draw();
    EXPECT_TRUE(Is({80, 70}, clRed));
    EXPECT_TRUE(Is({61, 51}, clRed));
    EXPECT_FALSE(Is({58, 70}, clRed));
}

TEST_F(Shapes, AShapeWithOneOrThreePointsDrawsNothingAndZeroWidthStillDraws) {
    chart->GetLegend()->SetVisible(false);
    auto* s = AddShape(chasRectangle);
    s->Delete(1);
    Draw();
    EXPECT_FALSE(AnyPixel(clRed));
    EXPECT_EQ(GetFloatProp(*s, "X1"), 0);
    EXPECT_FALSE(IsStoredProp(*s, PropOf(*s, "Y1")));
    EXPECT_EQ(s->Count(), 1) << "a stream reading the point neither adds nor writes it";
    s->GetX1();
    EXPECT_EQ(s->Count(), 2) << "reading the second point adds it";
    s->AddXY(1, 1);
    Draw();
    EXPECT_FALSE(AnyPixel(clRed)) << "three points";

    chart->FreeAllSeries();
    auto* line = AddShape(chasRectangle);
    line->SetX1(2);
    Draw();
    EXPECT_TRUE(Near(At(2, 5), clBlack, 1)) << "a figure of no width is one pixel wide";
}

TEST_F(Shapes, CornersSetOnAnEmptyShapeKeepTheirPlaces) {
    auto* s = AddShape(chasRectangle);
    s->Clear();
    s->SetX0(5);
    s->SetY0(5);
    s->SetX1(9);
    s->SetY1(9);
    EXPECT_EQ(std::make_tuple(s->GetX0(), s->GetY0(), s->GetX1(), s->GetY1()),
              std::make_tuple(5.0, 5.0, 9.0, 9.0));
    s->Clear();
    s->SetShapeRectangle(TRect(60, 40, 120, 100));
    EXPECT_EQ(s->GetShapeRectangle(), TRect(60, 40, 120, 100));
}

TEST_F(Shapes, ClicksHitInsideEachFigureAndMissOutside) {
    struct Row {
        const char* rule;
        TChartShapeStyle style;
        double x, y;
        int expected;
    };
    for (const Row& r :
         {Row{"circle centre", chasCircle, 5, 5, 0}, Row{"circle corner", chasCircle, 2.3, 7.7, -1},
          Row{"rectangle border", chasRectangle, 2, 5, 0}, Row{"rectangle outside", chasRectangle, 9, 5, -1},
          Row{"vert line", chasVertLine, 5, 3, 0}, Row{"beside the vert line", chasVertLine, 4, 3, -1},
          Row{"horiz line", chasHorizLine, 3, 5, 0}, Row{"triangle base", chasTriangle, 2.5, 2.5, 0},
          Row{"beside the apex", chasTriangle, 2.5, 7.5, -1},
          Row{"inverted triangle top", chasInvertPyramid, 2.5, 7.5, 0},
          Row{"line from bottom left", chasLine, 3, 3, 0}, Row{"off the line", chasLine, 3, 7, -1},
          Row{"diamond", chasDiamond, 4, 5, 0}, Row{"diamond corner", chasDiamond, 2.5, 2.5, -1},
          Row{"cube", chasCube, 2.5, 2.5, 0}, Row{"cross box", chasCross, 3, 3, 0}}) {
        chart->FreeAllSeries();
        auto* s = AddShape(r.style);
        Draw();
        EXPECT_EQ(s->Clicked(At(r.x, r.y)), r.expected) << r.rule;
    }
}

TEST_F(Shapes, ClicksThroughTheChartFindEveryFigureOnlyInsideItsOwnOutline) {
    struct Row {
        TChartShapeStyle style;
        double hitX, hitY, missX, missY;
    };
    // The figure spans (2, 2) to (8, 8); each miss lies inside that box but outside
    // the figure where the figure leaves room, else just outside the box.
    for (const Row& r :
         {Row{chasRectangle, 2.5, 7.5, 8.5, 5}, Row{chasCircle, 5, 5, 2.3, 7.7},
          Row{chasVertLine, 5, 3, 4, 3}, Row{chasHorizLine, 3, 5, 3, 4},
          Row{chasTriangle, 2.5, 2.5, 2.5, 7.5}, Row{chasInvertTriangle, 2.5, 7.5, 2.5, 2.5},
          Row{chasLine, 3, 3, 3, 7}, Row{chasDiamond, 4, 5, 2.5, 2.5}, Row{chasCube, 2.5, 2.5, 8.5, 5},
          Row{chasCross, 3, 3, 1.5, 5}, Row{chasDiagCross, 7.5, 2.5, 5, 8.5}, Row{chasStar, 5, 5, 5, 1.5},
          Row{chasPyramid, 5, 3, 2.5, 7.5}, Row{chasInvertPyramid, 5, 7, 2.5, 2.5}}) {
        chart->FreeAllSeries();
        auto* s = AddShape(r.style);
        Draw();
        const std::string name(EnumInfoOf<TChartShapeStyle>().NameOf(r.style));
        TChartClickedPart part;
        chart->CalcClickedPart(At(r.hitX, r.hitY), part);
        EXPECT_EQ(part.Style, cpSeries) << name;
        EXPECT_EQ(part.ASeries, s) << name;
        EXPECT_EQ(part.ValueIndex, 0) << name;
        chart->CalcClickedPart(At(r.missX, r.missY), part);
        EXPECT_EQ(part.Style, cpChartRect) << name;
    }
}

TEST_F(Shapes, AClickIn3DIsTakenBackToTheShapesOwnDepth) {
    chart->SetView3D(true);
    // The first series stands behind the second.
    auto* s = AddShape(chasRectangle);
    AddShape(chasRectangle)->SetSeriesColor(clBlue);
    Draw();
    ASSERT_GT(s->StartZ, 0);
    const TPoint front = At3D(2.2, 5, s->StartZ);
    ASSERT_GT(front.X, At(2.2, 5).X + 1) << "the depth moves the figure";
    EXPECT_EQ(s->Clicked(front), 0) << "just inside the left edge as drawn";
    EXPECT_EQ(s->Clicked(At3D(1.8, 5, s->StartZ)), -1);
    EXPECT_EQ(s->Clicked(At(2.05, 5)), -1) << "where the figure would be without depth";
}

TEST_F(Shapes, In3DSolidsHaveDarkSidesAndFlatFiguresStandAtTheMiddleDepth) {
    chart->SetView3D(true);
    chart->GetLegend()->SetVisible(false);
    chart->GetBackWall()->SetVisible(false);
    auto* s = AddShape(chasCube);
    Draw();
    const int z0 = s->StartZ, zm = s->MiddleZ, z1 = s->EndZ;
    ASSERT_LT(z0, z1);
    EXPECT_TRUE(Is(At3D(5, 5, z0), clRed)) << "the front face";
    EXPECT_TRUE(Reddish(At3D(5, 8, zm)) && !Is(At3D(5, 8, zm), clRed)) << "the top face is darker";
    s->SetTransparent(true);
    Draw();
    EXPECT_FALSE(Reddish(At3D(5, 5, z0))) << "a hollow cube is only outlined";

    s->SetTransparent(false);
    s->SetStyle(chasPyramid);
    Draw();
    EXPECT_TRUE(Reddish(At3D(5, 2.5, z0))) << "the pyramid's front, near its base";
    EXPECT_FALSE(Reddish(At3D(2.5, 7.5, z0))) << "beside its apex";
    s->SetStyle(chasInvertPyramid);
    Draw();
    EXPECT_TRUE(Reddish(At3D(5, 7.5, z0)));
    EXPECT_FALSE(Reddish(At3D(2.5, 2.5, z0)));

    s->SetStyle(chasCircle);
    Draw();
    EXPECT_TRUE(Is(At3D(5, 5, zm), clRed)) << "a flat figure stands at the middle depth";
    EXPECT_FALSE(Reddish(At3D(2.3, 7.7, zm)));
    s->SetStyle(chasRectangle);
    s->GetGradient()->SetStartColor(clBlue);
    s->GetGradient()->SetEndColor(clBlue);
    s->GetGradient()->SetVisible(true);
    Draw();
    EXPECT_TRUE(Is(At3D(5, 5, zm), clBlue)) << "the gradient fills the figure at its depth";
    EXPECT_FALSE(AnyPixel(clRed)) << "and is only outlined over it";
}

TEST_F(Shapes, RoundCornersAreForTheFlatRectangleAloneAndTakeNoGradient) {
    chart->GetLegend()->SetVisible(false);
    auto* s = AddShape(chasRectangle);
    Draw();
    const TPoint corner{At(2, 8).X + 1, At(2, 8).Y + 1};
    EXPECT_TRUE(Is(corner, clRed));
    s->SetRoundRectangle(true);
    Draw();
    EXPECT_FALSE(Near(corner, clRed, 0)) << "the corner is cut off";
    EXPECT_TRUE(Is(At(5, 5), clRed));
    EXPECT_TRUE(Is({At(5, 8).X, At(5, 8).Y + 1}, clRed)) << "the straight edges stay";
    s->GetGradient()->SetStartColor(clBlue);
    s->GetGradient()->SetEndColor(clBlue);
    s->GetGradient()->SetVisible(true);
    Draw();
    EXPECT_TRUE(Is(At(5, 5), clRed)) << "a round rectangle is filled with the brush";
    s->SetStyle(chasCube);
    Draw();
    EXPECT_TRUE(Is(corner, clRed)) << "round corners belong to the rectangle alone";
}

TEST_F(Shapes, TransparencyBlendsTheWholeFigureWithWhatLiesBehindIt) {
    chart->GetLegend()->SetVisible(false);
    auto* s = AddShape(chasRectangle);
    s->GetText()->Add(u"WWW");
    s->GetFont()->SetColor(clBlack);
    s->GetFont()->SetSize(14);
    Draw();
    const TPoint inside = At(2.5, 2.5);
    EXPECT_TRUE(Is(inside, clRed));
    s->SetTransparency(50);
    Draw();
    const probe::Rgb half = Pixel(inside);
    EXPECT_NEAR(half.r, 255, 2);
    EXPECT_NEAR(half.g, 128, 3) << "half the white behind shows through";
    EXPECT_NEAR(half.b, 128, 3);
    bool black = false;
    const TPoint a = At(2, 8), b = At(8, 2);
    for (int y = a.Y - 1; y <= b.Y + 1; ++y)
        for (int x = a.X - 1; x <= b.X + 1; ++x) black |= Is({x, y}, clBlack);
    EXPECT_FALSE(black) << "the outline and the text are blended too";
    s->SetTransparency(100);
    Draw();
    EXPECT_TRUE(Is(inside, clWhite));
    s->SetTransparency(101); // a file's number past all of it, which the blend's alpha would wrap
    Draw();
    EXPECT_TRUE(Is(inside, clWhite));

    // In 3D too: a solid's depth and a turned view's slant are blended with the rest.
    chart->SetView3D(true);
    s->GetText()->Clear();
    s->SetTransparency(50);
    for (const bool turned : {false, true}) {
        chart->GetView3DOptions()->SetOrthogonal(!turned);
        chart->GetView3DOptions()->SetRotation(20);
        for (const TChartShapeStyle style : {chasCube, chasPyramid, chasRectangle}) {
            s->SetStyle(style);
            Draw();
            // Its outline and faces, pure or darkened, show nowhere unblended.
            int solid = 0;
            for (int y = 0; y < out.GetHeight(); ++y)
                for (int x = 0; x < out.GetWidth(); ++x) solid += Reddish({x, y});
            EXPECT_EQ(solid, 0) << static_cast<int>(style) << (turned ? " turned" : "");
        }
    }
}

TEST_F(Shapes, AShapeInAChartFileComesBackWithItsFigurePointsAndColours) {
    ZuzStoreInitialization();
    RegisterClasses({&TChart::StaticClass(), &TChartShape::StaticClass()});
    auto* s = AddShape(chasDiamond);
    s->SetName(u"Shape1");
    chart->SetName(u"Chart1");
    s->GetBrush()->SetColor(clYellow);
    s->GetPen()->SetColor(clBlue);
    s->GetPen()->SetWidth(3);
    s->GetText()->Add(u"Узел");
    s->SetAlignment(taLeftJustify);
    s->SetRoundRectangle(true);
    s->SetTransparency(30);
    TMemoryStream file;
    SaveChartToStream(chart.get(), &file, true, false);
    file.SetPosition(0);
    Owned<TChart> back(Create<TChart>(nullptr));
    TCustomChart* target = back.get();
    LoadChartFromStream(target, &file);
    ASSERT_EQ(back->SeriesCount(), 1);
    auto* b = dynamic_cast<TChartShape*>(back->GetSeries(0));
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(b->Count(), 2) << "the file's points replace the defaults, never add to them";
    EXPECT_EQ(b->GetX0(), 2);
    EXPECT_EQ(b->GetY1(), 8);
    EXPECT_EQ(b->GetStyle(), chasDiamond);
    EXPECT_EQ(b->GetBrush()->GetColor(), clYellow);
    EXPECT_EQ(b->GetPen()->GetColor(), clBlue);
    EXPECT_EQ(b->GetPen()->GetWidth(), 3);
    EXPECT_EQ(b->GetText()->GetStrings(0), u"Узел");
    EXPECT_EQ(b->GetAlignment(), taLeftJustify);
    EXPECT_TRUE(b->GetRoundRectangle());
    EXPECT_EQ(b->GetTransparency(), 30);
    ZuzStoreFinalization();
}

TEST_F(Shapes, DefaultsAssignGalleryAndRegistration) {
    const KeepTypes keep;
    Owned<TChartShape> s(Create<TChartShape>(nullptr));
    EXPECT_EQ(s->Count(), 2);
    EXPECT_EQ(s->GetX1(), 100);
    EXPECT_EQ(s->GetStyle(), chasCircle);
    EXPECT_EQ(s->GetXYStyle(), xysAxis);
    EXPECT_EQ(s->GetBrush()->GetColor(), clWhite);
    EXPECT_EQ(s->GetSeriesColor(), clWhite);
    EXPECT_FALSE(s->GetManualData());
    s->SetY0(3);
    EXPECT_TRUE(s->GetManualData()) << "points set by hand are stored";

    auto* a = AddShape(chasDiamond);
    a->SetTransparent(true);
    a->GetText()->Add(u"x");
    a->SetVertAlign(vaBottom);
    Owned<TChartShape> b(Create<TChartShape>(nullptr));
    b->Assign(a);
    EXPECT_EQ(b->GetStyle(), chasDiamond);
    EXPECT_TRUE(b->GetTransparent());
    EXPECT_EQ(b->GetText()->GetCount(), 1);
    EXPECT_EQ(b->GetVertAlign(), vaBottom);

    std::vector<String> items;
    a->CreateSubGallery([&](const String& Name) { items.push_back(Name); });
    ASSERT_EQ(items.size(), 15U);
    EXPECT_EQ(items[1], VavIve_Rectangle);
    EXPECT_EQ(items[14], VavIve_Hollow);
    for (const auto& [index, style] : {std::pair{1, chasRectangle}, std::pair{4, chasCircle},
                                       std::pair{5, chasInvertTriangle}, std::pair{13, chasInvertPyramid}}) {
        a->SetSubGallery(a, index);
        EXPECT_EQ(a->GetStyle(), style) << index;
    }
    a->SetSubGallery(a, 14);
    EXPECT_FALSE(a->GetTransparent()) << "Hollow toggles";
    a->SetSubGallery(a, 99);
    EXPECT_EQ(a->GetStyle(), chasInvertPyramid);

    ZuzSeriesTypes().Clear();
    ZuzShapeInitialization();
    const TZuzSeriesType* t = ZuzSeriesTypes().Find(&TChartShape::StaticClass());
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->GetDescription(), VavIve_GalleryShape);
    EXPECT_EQ(t->GetGalleryPage(), VavIve_GalleryStandard);
    EXPECT_EQ(t->NumGallerySeries, 2);
    EXPECT_NE(GetClass("TChartShape"), nullptr);
    ZuzShapeFinalization();
}

} // namespace
