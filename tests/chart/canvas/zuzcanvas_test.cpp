// The canvas unit: geometry, projection, pens and brushes on the device,
// clipping and the off-screen buffer.
#include "chart/canvas/zuzcanvas.h"

#include "chart/canvas/gdiselection.h"
#include "chart/canvas/zuzconst.h"
#include "tests/chart/canvas/canvasfixture.h"
#include "tests/support/guiprobe.h"
#include "tests/support/streamtext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// A canvas drawing straight onto a bitmap (no buffer), as pictures are drawn.
struct Fixture : canvastest::CanvasOn {
    explicit Fixture(int w = 40, int h = 30) : CanvasOn(w, h) {}
};

// A white pen published by a component, as marks publish their arrow.
class TWhitePenHolder : public TComponent {
public:
    static const ClassInfo& StaticClass() {
        static const PropInfo props[] = {MakeProp<&TWhitePenHolder::GetArrow>("Arrow")};
        static const ClassInfo ci =
            MakeClassInfo<TWhitePenHolder>("TWhitePenHolder", &TComponent::StaticClass(), props);
        return ci;
    }
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TComponent::TComponent;
    TWhitePen* GetArrow() { return &arrow; }
    TWhitePen arrow;
};

} // namespace

TEST(CanvasGeometry, PointsRectanglesAndPolygons) {
    EXPECT_TRUE(PointInRect(TRect(0, 0, 10, 10), 10, 10));
    EXPECT_FALSE(PointInRect(TRect(0, 0, 10, 10), 11, 10));
    EXPECT_EQ(OrientRectangle(TRect(10, 20, 0, 5)), TRect(0, 5, 10, 20));
    int x = 0, y = 0;
    RectCenter(TRect(-3, -3, 0, 0), x, y);
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
    const TPoint one[] = {{4, 7}};
    EXPECT_EQ(PolygonBounds(one, 0), TRect(4, 7, 4, 7));
    EXPECT_EQ(RectFromPolygon(one, 1), TRect(4, 7, 5, 8));
    EXPECT_EQ(PolygonBounds(one, -1), ZuzZeroRect);
    EXPECT_TRUE(ZuzCull({0, 0}, {10, 0}, {10, 10}));
    EXPECT_FALSE(ZuzCull({10, 10}, {10, 0}, {0, 0}));
    const TPoint square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    const TPoint inside[] = {{1, 1}, {5, 5}, {9, 9}};
    const TPoint across[] = {{1, 1}, {15, 5}};
    EXPECT_TRUE(PolygonInPolygon(inside, 2, square, 3));
    EXPECT_FALSE(PolygonInPolygon(across, 1, square, 3));
    EXPECT_TRUE(PolygonInPolygon(inside, -1, square, 3)); // an empty polygon
    EXPECT_TRUE(RectangleInRectangle(TRect(0, 0, 10, 10), TRect(0, 0, 10, 10)));
    EXPECT_FALSE(RectangleInRectangle(TRect(0, 0, 11, 10), TRect(0, 0, 10, 10)));
    Byte r, g, b;
    RGBValue(clBtnFace, r, g, b); // as stored, not resolved
    EXPECT_EQ(r, 15);
    EXPECT_EQ(g, 0);
    EXPECT_EQ(b, 0);
}

TEST(CanvasGeometry, FarPointsCullWithoutOverflow) {
    // Differences of these points overflow 32 bits and their products 64.
    constexpr int big = 2'000'000'000;
    EXPECT_TRUE(ZuzCull({-big, -big}, {big, -big}, {big, big}));
    EXPECT_FALSE(ZuzCull({big, big}, {big, -big}, {-big, -big}));
}

TEST(CanvasGeometry, RoundingIsHalfToEvenAndSaturates) {
    EXPECT_EQ(ZuzRound(2.5), 2);
    EXPECT_EQ(ZuzRound(3.5), 4);
    EXPECT_EQ(ZuzRound(-2.5), -2);
    EXPECT_EQ(ZuzRound(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(ZuzRound(-1e300), std::numeric_limits<int>::min());
    EXPECT_EQ(ZuzRound(std::numeric_limits<double>::quiet_NaN()), 0);
}

// Where points land is the projection's own test; the canvas adds the depth
// centre, the inverse, the ratios it reads and the front plane.
TEST(Projection, TheCanvasInvertsItsViewAndSwitchesRotationOffForFrontPlanes) {
    Fixture f;
    TView3DOptions options;
    f.canvas.InitWindow(f.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 40, 30));
    f.canvas.Projection(5, TRect(), TRect(0, 0, 100, 100));
    EXPECT_EQ(f.canvas.ZCenter(), 2);
    EXPECT_DOUBLE_EQ(f.canvas.OrthoX(), 1);
    EXPECT_DOUBLE_EQ(f.canvas.OrthoY(), 1);
    EXPECT_EQ(f.canvas.Calculate3DPosition(10, 20, 7), (TPoint{17, 13}));
    int x = 17, y = 13;
    f.canvas.Calculate2DPosition(x, y, 7);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);

    options.SetOrthoAngle(135);
    f.canvas.InitWindow(f.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 40, 30));
    EXPECT_DOUBLE_EQ(f.canvas.OrthoX(), -1);
    options.SetOrthoAngle(90);
    f.canvas.InitWindow(f.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 40, 30));
    EXPECT_DOUBLE_EQ(f.canvas.OrthoY(), 1); // the cosine is below 0.01
    EXPECT_GT(options.CalcOrthoRatio(), 1e10);

    // Rotated without tilt or perspective, zoomed: a front plane switches rotation off once,
    // back on at the outermost end.
    options.SetOrthogonal(false);
    options.SetPerspective(0);
    options.SetRotation(0);
    options.SetElevation(0);
    options.SetZoom(200);
    f.canvas.InitWindow(f.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 40, 30));
    f.canvas.Projection(0, TRect(), TRect(0, 0, 100, 100));
    f.canvas.FrontPlaneBegin();
    f.canvas.FrontPlaneBegin();
    EXPECT_EQ(f.canvas.Calculate3DPosition(60, 50, 9), (TPoint{60, 50}));
    f.canvas.FrontPlaneEnd();
    EXPECT_EQ(f.canvas.Calculate3DPosition(60, 50, 9), (TPoint{60, 50}));
    f.canvas.FrontPlaneEnd();
    EXPECT_EQ(f.canvas.Calculate3DPosition(60, 50, 0), (TPoint{70, 50}));
    // A rotation beyond 90 degrees makes the inverse divide by the floor: it saturates instead of
    // overflowing.
    options.SetRotation(180);
    f.canvas.InitWindow(f.target.GetCanvas(), &options, clWhite, true, TRect(0, 0, 40, 30));
    f.canvas.Projection(0, TRect(), TRect(0, 0, 100, 100));
    x = 10'000'000;
    y = 5;
    f.canvas.Calculate2DPosition(x, y, 0);
}

TEST(ViewOptions, SettersRepaintOnlyOnChangeAndEventsSeeTheOldValue) {
    int repaints = 0;
    TView3DOptions options(nullptr, TNotifyEvent([&](TObject*) { ++repaints; }));
    options.SetZoom(100);
    options.SetRotation(345);
    EXPECT_EQ(repaints, 0);
    double seen = 0;
    int announced = 0;
    options.OnChangedZoom = TZuzView3DChangedZoom([&](int z) {
        announced = z;
        seen = options.GetZoom();
    });
    options.SetZoom(150.5);
    EXPECT_EQ(announced, 150);
    EXPECT_EQ(seen, 100);
    EXPECT_EQ(repaints, 1);
    options.SetPerspective(150);
    EXPECT_EQ(options.GetPerspective(), 100);
    options.SetPerspective(-5); // kept as it is, and no perspective
    EXPECT_EQ(options.GetPerspective(), -5);
    // A file's zoom is held to the editor's range.
    options.SetZoom(1e300);
    EXPECT_EQ(options.GetZoom(), 500);
    options.SetZoom(-1e300);
    EXPECT_EQ(options.GetZoom(), 0);
    options.SetZoom(std::nan(""));
    EXPECT_EQ(options.GetZoom(), 0);
    options.SetZoom(150.5);
    bool horiz = false;
    options.OnScrolled = TZuzView3DScrolled([&](bool h) { horiz = h; });
    options.SetHorizOffset(4);
    EXPECT_TRUE(horiz);
    TView3DOptions copy;
    copy.Assign(&options);
    EXPECT_EQ(copy.GetZoomInteger(), 150);
    EXPECT_EQ(copy.GetHorizOffset(), 4);
}

TEST(ChartPens, VisibilitySmallDotsAndEndStylesReachTheDevice) {
    Fixture f(40, 30);
    TChartPen pen;
    pen.SetVisible(false);
    f.canvas.AssignVisiblePen(&pen);
    EXPECT_EQ(f.canvas.Pen->GetStyle(), psClear);

    pen.SetVisible(true);
    pen.SetSmallDots(true);
    f.canvas.AssignVisiblePenColor(&pen, clRed);
    f.canvas.Line(0, 1, 12, 1);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(f.At(x, 1), x % 2 == 0 ? clRed : clWhite) << x;
    pen.SetSmallSpace(2);
    f.canvas.AssignVisiblePenColor(&pen, clRed);
    f.canvas.Line(0, 3, 12, 3);
    for (int x = 0; x < 12; ++x) EXPECT_EQ(f.At(x, 3), x % 3 == 0 ? clRed : clWhite) << x;

    pen.SetSmallDots(false);
    pen.SetWidth(3);
    pen.SetEndStyle(esFlat);
    f.canvas.AssignVisiblePenColor(&pen, clBlue);
    f.canvas.Line(5, 10, 15, 10);
    EXPECT_EQ(f.At(14, 10), clBlue);
    EXPECT_EQ(f.At(15, 10), clWhite);
    pen.SetEndStyle(esSquare);
    f.canvas.AssignVisiblePenColor(&pen, clBlue);
    f.canvas.Line(5, 20, 15, 20);
    EXPECT_EQ(f.At(16, 20), clBlue);

    // Monochrome: black pens and white solid brushes.
    f.canvas.SetMonochrome(true);
    pen.SetWidth(1);
    f.canvas.AssignVisiblePenColor(&pen, clRed);
    EXPECT_EQ(f.canvas.Pen->GetColor(), clBlack);
    TChartBrush brush;
    brush.SetColor(clRed);
    f.canvas.AssignBrush(&brush);
    EXPECT_EQ(f.canvas.Brush->GetColor(), clWhite);
}

TEST(ChartPens, StreamedWhenTheyDifferFromTheirDefaults) {
    TChartHiddenPen hidden;
    TChartPen shown;
    const PropInfo* visible = PropOf(shown, "Visible").stored ? &PropOf(shown, "Visible") : nullptr;
    ASSERT_NE(visible, nullptr);
    EXPECT_FALSE(visible->stored(hidden));
    EXPECT_FALSE(visible->stored(shown));
    hidden.Show();
    shown.Hide();
    EXPECT_TRUE(visible->stored(hidden));
    EXPECT_TRUE(visible->stored(shown));
    // The white pen writes its visibility whatever it is; its white is not written.
    Owned<TWhitePenHolder> holder{Create<TWhitePenHolder>(nullptr)};
    holder->SetName(u"H");
    const std::string text = streamtext::ObjectText(holder.get());
    EXPECT_NE(text.find("Arrow.Visible = True"), std::string::npos) << text;
    EXPECT_EQ(text.find("Arrow.Color"), std::string::npos) << text;
    TDottedGrayPen dotted;
    EXPECT_EQ(dotted.GetColor(), clGray);
    EXPECT_EQ(dotted.GetStyle(), psDot);
    TChartPen copy;
    dotted.SetSmallSpace(3);
    copy.Assign(&dotted);
    EXPECT_EQ(copy.GetSmallSpace(), 3);
    EXPECT_EQ(copy.GetStyle(), psDot);
}

TEST(ChartBrushes, BackColourDecidesTheBackgroundOfHatches) {
    Fixture f(16, 16);
    TChartBrush brush;
    brush.SetStyle(bsCross);
    brush.SetColor(clBlack);
    f.canvas.AssignBrush(&brush);
    EXPECT_EQ(f.canvas.GetBackMode(), cbmTransparent);
    f.canvas.Pen->SetStyle(psClear);
    f.canvas.Rectangle(0, 0, 17, 17);
    EXPECT_EQ(f.At(1, 1), clWhite); // gaps show what was there
    brush.SetBackColor(clYellow);
    f.canvas.AssignBrush(&brush);
    f.canvas.Rectangle(0, 0, 17, 17);
    EXPECT_EQ(f.canvas.GetBackMode(), cbmOpaque);
    EXPECT_EQ(f.At(1, 1), clYellow);
    // With a colour of its own, the brush's colour fills the gaps.
    brush.SetColor(clRed);
    f.canvas.AssignBrush(&brush, clBlue);
    EXPECT_EQ(f.canvas.Brush->GetColor(), clBlue);
    EXPECT_EQ(f.canvas.GetBackMode(), cbmOpaque);
    EXPECT_EQ(f.canvas.GetBackColor(), clRed);
    f.canvas.AssignBrush(&brush, clBlue, clNone);
    EXPECT_EQ(f.canvas.GetBackMode(), cbmTransparent);
    int changes = 0;
    TChartBrush owned(TNotifyEvent([&](TObject*) { ++changes; }));
    EXPECT_EQ(owned.GetColor(), clDefault);
    EXPECT_FALSE(owned.HasImage());
    owned.GetImage();
    EXPECT_FALSE(owned.HasImage()) << "a read of the image is no picture to draw";
    TBitmap tile;
    tile.SetSize(2, 2);
    owned.GetImage()->SetGraphic(&tile);
    EXPECT_TRUE(owned.HasImage());
    owned.SetImage(nullptr);
    EXPECT_FALSE(owned.HasImage());
    EXPECT_EQ(changes, 2);
}

TEST(ChartBrushes, AnImageTilesTheFillAndOutlivesTheBrushThatGaveIt) {
    Fixture f(8, 8);
    TBitmap tile;
    tile.SetSize(2, 2);
    tile.GetCanvas()->SetPixel(0, 0, clRed);
    tile.GetCanvas()->SetPixel(1, 1, clRed);
    {
        TChartBrush brush;
        brush.GetImage()->SetGraphic(&tile);
        f.canvas.AssignBrushColor(&brush, clBlack, clYellow);
        EXPECT_EQ(f.canvas.Brush->GetStyle(), bsClear);
        EXPECT_NE(f.canvas.Brush->GetBitmap(), nullptr);
        EXPECT_EQ(f.canvas.GetBackMode(), cbmOpaque);
        EXPECT_EQ(f.canvas.GetBackColor(), clYellow);
        f.canvas.FillRect(TRect(0, 0, 8, 8));
    } // the brush and its picture go; the canvas brush keeps the pixels it took
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(f.At(x, y), (x + y) % 2 == 0 ? clRed : clWhite) << x << "," << y;
    f.canvas.Brush->SetColor(clGreen);
    f.canvas.FillRect(TRect(0, 0, 8, 8));
    EXPECT_EQ(f.At(0, 0), clRed);
    // A plain brush after it takes the pattern away.
    TChartBrush plain;
    plain.SetColor(clGreen);
    f.canvas.AssignBrush(&plain);
    EXPECT_EQ(f.canvas.Brush->GetBitmap(), nullptr);
    f.canvas.FillRect(TRect(0, 0, 8, 8));
    EXPECT_EQ(f.At(1, 0), clGreen);
}

TEST(Clipping, ClipsDoNotNestAndTheCubeClipsItsFrontFace) {
    Fixture f(60, 60);
    HDC dc = f.canvas.GetHandle();
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    f.canvas.ClipRectangle(TRect(0, 0, 100, 100));
    f.canvas.UnClipRectangle();
    EXPECT_EQ(GetClipRgn(dc, probe), 0); // nothing was set before

    f.canvas.ClipRectangle(TRect(0, 0, 30, 30));   // A
    f.canvas.ClipRectangle(TRect(10, 10, 50, 50)); // B within A
    f.canvas.UnClipRectangle();
    ASSERT_EQ(GetClipRgn(dc, probe), 1);
    RECT box;
    GetRgnBox(probe, &box);
    EXPECT_EQ(box, (RECT{0, 0, 30, 30})); // A again, not "none"
    f.canvas.UnClipRectangle();
    EXPECT_EQ(GetClipRgn(dc, probe), 0);

    f.canvas.ClipCube(TRect(10, 10, 50, 50), 0, 10); // in 2D
    ASSERT_EQ(GetClipRgn(dc, probe), 1);
    GetRgnBox(probe, &box);
    EXPECT_EQ(box, (RECT{11, 11, 50, 49}));
    f.canvas.UnClipRectangle();

    // An inverted ellipse clips to the outside.
    f.canvas.ClipEllipse(TRect(10, 10, 50, 50), true);
    f.canvas.Brush->SetColor(clBlack);
    f.canvas.FillRect(TRect(0, 0, 60, 60));
    SelectClipRgn(dc, nullptr);
    EXPECT_EQ(f.At(30, 30), clWhite);
    EXPECT_EQ(f.At(1, 1), clBlack);
    DeleteObject(probe);
}

TEST(Clipping, PrintingMappingClipsTheSameAreaAsDrawing) {
    Fixture f(100, 100);
    HDC dc = f.canvas.GetHandle();
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1000, 1000, nullptr);
    SetViewportExtEx(dc, 100, 100, nullptr);
    f.canvas.ClipRectangle(TRect(200, 200, 500, 500));
    f.canvas.Brush->SetColor(clBlack);
    f.canvas.FillRect(TRect(0, 0, 1000, 1000));
    SetMapMode(dc, MM_TEXT);
    f.canvas.UnClipRectangle();
    EXPECT_EQ(f.At(20, 20), clBlack);
    EXPECT_EQ(f.At(49, 49), clBlack);
    EXPECT_EQ(f.At(50, 49), clWhite);
    EXPECT_EQ(f.At(19, 20), clWhite);
}

TEST(Buffer, ACleanBufferIsCopiedADirtyOneRedrawnAndResizesKeepTheBitmap) {
    probe::EnsureApplication();
    TBitmap target;
    target.SetSize(30, 20);
    TZuzCanvas3D canvas;
    canvas.SetCanvas(target.GetCanvas());
    EXPECT_FALSE(canvas.ReDrawBitmap()); // new: dirty
    const TRect r = canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(5, 5, 25, 15));
    EXPECT_EQ(r, TRect(0, 0, 20, 10));
    TBitmap* buffer = canvas.GetBitmap();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(canvas.ReferenceCanvas, buffer->GetCanvas());
    canvas.Brush->SetColor(clRed);
    canvas.FillRect(r);
    canvas.ShowImage(target.GetCanvas(), target.GetCanvas(), TRect(5, 5, 25, 15));
    EXPECT_EQ(target.GetCanvas()->GetPixel(5, 5), clRed);
    EXPECT_EQ(target.GetCanvas()->GetPixel(24, 14), clRed);
    EXPECT_EQ(target.GetCanvas()->GetPixel(25, 15), clWhite);
    EXPECT_EQ(canvas.ReferenceCanvas, target.GetCanvas());
    EXPECT_FALSE(canvas.Dirty);
    EXPECT_TRUE(canvas.ReDrawBitmap()); // clean: copied, nothing drawn
    canvas.Invalidate();
    EXPECT_FALSE(canvas.ReDrawBitmap());
    canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 8, 4));
    EXPECT_EQ(canvas.GetBitmap(), buffer); // the same bitmap, resized
    EXPECT_EQ(buffer->GetWidth(), 8);
    canvas.SetUseBuffer(false);
    EXPECT_EQ(canvas.GetBitmap(), nullptr);
    EXPECT_TRUE(canvas.Dirty);
    // A one-off unbuffered draw keeps the bitmap.
    canvas.SetUseBuffer(true);
    canvas.InitWindow(target.GetCanvas(), nullptr, clWhite, false, TRect(0, 0, 8, 4));
    buffer = canvas.GetBitmap();
    canvas.KeepBitmap = true;
    canvas.SetUseBuffer(false);
    canvas.SetUseBuffer(true);
    canvas.KeepBitmap = false;
    EXPECT_EQ(canvas.GetBitmap(), buffer);
    EXPECT_EQ(canvas.ReferenceCanvas, buffer->GetCanvas());
    Owned<TBitmap> old = canvas.SetBitmap(nullptr);
    EXPECT_EQ(old.get(), buffer);
}

TEST(Frame3D, AFrameOfWidthTwoShrinksTheRectangleAndColoursItsEdges) {
    Fixture f(12, 12);
    TRect r(0, 0, 10, 10);
    f.canvas.Frame3D(r, clWhite, clBlack, 2);
    EXPECT_EQ(r, TRect(2, 2, 8, 8));
    f.target.GetCanvas()->GetBrush()->SetColor(clGray);
    TRect g(0, 0, 10, 10);
    f.canvas.Brush->SetColor(clGray);
    f.canvas.FillRect(TRect(0, 0, 12, 12));
    f.canvas.Frame3D(g, clRed, clBlue, 1);
    EXPECT_EQ(f.At(0, 0), clRed);
    EXPECT_EQ(f.At(0, 8), clRed);
    EXPECT_EQ(f.At(8, 0), clRed);
    EXPECT_EQ(f.At(0, 9), clBlue); // the bottom edge runs on to the left one past the corner
    EXPECT_EQ(f.At(9, 0), clBlue);
    EXPECT_EQ(f.At(9, 9), clBlue);
    EXPECT_EQ(f.At(1, 9), clBlue);
    EXPECT_EQ(f.At(10, 10), clGray);
    // A frame wider than half the box fills it and goes no further.
    TRect wide(0, 0, 10, 6);
    f.canvas.Frame3D(wide, clRed, clBlue, 1000);
    EXPECT_EQ(wide, TRect(3, 3, 7, 3));
    // A box of an odd height is filled to its middle line too.
    TRect odd(0, 5, 10, 12);
    f.canvas.Frame3D(odd, clRed, clBlue, 1000);
    EXPECT_EQ(f.At(5, 8), clBlue);
}

TEST(Clipping, EachCanvasPutsBackItsOwnSavedClip) {
    // Two charts drawing at once: their clips interleave.
    Fixture a(60, 60), b(60, 60);
    HDC da = a.canvas.GetHandle(), db = b.canvas.GetHandle();
    a.canvas.ClipRectangle(TRect(0, 0, 30, 30));   // A on the first
    b.canvas.ClipRectangle(TRect(0, 0, 20, 20));   // the second had none
    a.canvas.ClipRectangle(TRect(10, 10, 50, 50)); // the first saves A
    b.canvas.UnClipRectangle();
    a.canvas.UnClipRectangle();
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(db, probe), 0); // none again, not the other chart's A
    ASSERT_EQ(GetClipRgn(da, probe), 1);
    RECT box;
    GetRgnBox(probe, &box);
    EXPECT_EQ(box, (RECT{0, 0, 30, 30}));
    a.canvas.UnClipRectangle();
    EXPECT_EQ(GetClipRgn(da, probe), 0);
    DeleteObject(probe);
}

TEST(Selections, AScopeSelectsForItsLifeEvenWhenTheDrawingThrows) {
    Fixture f;
    HDC dc = f.canvas.GetHandle();
    const HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
    const HGDIOBJ penBefore = GetCurrentObject(dc, OBJ_PEN);
    LOGFONTW lf{};
    lf.lfHeight = -20;
    HPEN borrowed = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
    try {
        const TSelectedObject<HFONT> font(dc, CreateFontIndirectW(lf));
        const TSelectedObject<HPEN> pen(dc, borrowed, TSelection::Borrowed);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.Get());
        EXPECT_EQ(font.Get()->selections, 1);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), borrowed);
        throw Exception(u"Missing > at 3");
    } catch (const Exception&) {
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), penBefore);
    EXPECT_EQ(borrowed->selections, 0);
    EXPECT_FALSE(borrowed->deleted); // still its owner's
    DeleteObject(borrowed);
    // A null object selects nothing.
    {
        const TSelectedObject<HFONT> none(dc, nullptr);
        EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
    }
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
}

TEST(Spans, SpanFormsDrawAndMeasureWhatTheLastIndexFormsDo) {
    const TPoint tri[] = {{2, 2}, {12, 2}, {7, 9}};
    EXPECT_EQ(PolygonBounds(std::span(tri)), PolygonBounds(tri, 2));
    EXPECT_EQ(RectFromPolygon(std::span(tri)), RectFromPolygon(tri, 3));
    EXPECT_EQ(RectFromPolygon(std::span<const TPoint>()), ZuzZeroRect); // nothing to read
    EXPECT_EQ(PolygonBounds(PointsUpTo(tri, -1)), ZuzZeroRect);
    EXPECT_TRUE(PolygonInPolygon(std::span(tri, 1), std::span(tri)) == PolygonInPolygon(tri, 0, tri, 2));

    Fixture byIndex(16, 12), bySpan(16, 12);
    byIndex.canvas.Polyline(tri, 2);
    bySpan.canvas.Polyline(std::span(tri));
    byIndex.canvas.Brush->SetColor(clRed);
    bySpan.canvas.Brush->SetColor(clRed);
    byIndex.canvas.PolygonWithZ(tri, 2, 5); // flat: depth is ignored
    bySpan.canvas.PolygonWithZ(std::span(tri), 5);
    bySpan.canvas.Polyline(std::span<const TPoint>()); // nothing
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) EXPECT_EQ(bySpan.At(x, y), byIndex.At(x, y)) << x << "," << y;
    EXPECT_EQ(bySpan.At(7, 5), clRed);
}

TEST(ChartPens, CheckingPenWidthsIsEachCanvassOwnSetting) {
    Fixture checked, plain;
    checked.canvas.ZuzCheckPenWidth = true;
    TChartPen pen;
    pen.SetStyle(psDot);
    checked.canvas.AssignVisiblePen(&pen);
    plain.canvas.AssignVisiblePen(&pen);
    EXPECT_EQ(checked.canvas.Pen->GetWidth(), 0);
    EXPECT_EQ(plain.canvas.Pen->GetWidth(), 1);
}
