// Drop shadows: flat strips, brightening line bands, the smooth shadow's blur, transparency, and
// the shadow's settings.
#include "chart/canvas/zuzshadow.h"

#include "tests/chart/canvas/canvasfixture.h"
#include "tests/chart/canvas/scene3dfixture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace canvastest;

namespace {

void SetShadow(TZuzShadow& s, int h, int v, bool smooth, TColor color = clBlack) {
    s.SetHorizSize(h);
    s.SetVertSize(v);
    s.SetSmooth(smooth);
    s.SetColor(color);
}

} // namespace

TEST(ShadowSettings, SizeAssignAndQuietDefaults) {
    int changes = 0;
    TZuzShadow s(TNotifyEvent([&](TObject*) { ++changes; }));
    s.SetHorizSize(-7);
    s.SetVertSize(3);
    EXPECT_EQ(s.GetSize(), 7); // the larger magnitude
    // A size from a file is held to what the editor offers.
    s.SetHorizSize(2147483647);
    s.SetVertSize(-2147483647 - 1);
    EXPECT_EQ(s.GetHorizSize(), 1000);
    EXPECT_EQ(s.GetVertSize(), -1000);
    s.SetSize(4);
    EXPECT_EQ(s.GetHorizSize(), 4);
    EXPECT_EQ(s.GetVertSize(), 4);
    EXPECT_EQ(changes, 6);
    s.InitValues(clRed, 2);
    EXPECT_EQ(changes, 6);
    EXPECT_FALSE(s.IsColorStored());
    EXPECT_FALSE(s.IsHorizStored());
    TZuzShadow target;
    target.SetClip(true);
    s.SetTransparency(30);
    target.Assign(&s);
    EXPECT_TRUE(target.GetClip()); // not copied
    EXPECT_EQ(target.GetTransparency(), 30);
    EXPECT_EQ(target.GetColor(), clRed);
    EXPECT_EQ(target.DefaultColor, clSilver); // the defaults stay the target's
}

TEST(FlatShadow, TwoStripsBelowAndRightOfTheElement) {
    CanvasOn c(50, 50);
    TZuzShadow s;
    SetShadow(s, 3, 3, false);
    s.Draw(&c.canvas, TRect(10, 10, 30, 30));
    // Rectangles without a pen leave out their last row and column.
    EXPECT_EQ(c.InkBox(), TRect(13, 13, 32, 32));
    EXPECT_EQ(c.At(20, 31), clBlack);
    EXPECT_EQ(c.At(31, 20), clBlack);
    EXPECT_EQ(c.At(20, 20), clWhite);             // the element's own place is left to it
    EXPECT_EQ(c.canvas.Pen->GetStyle(), psSolid); // the pen comes back
}

TEST(FlatShadow, AnEllipsesShadowIsTheEllipseAtItsDepth) {
    CanvasOn c(50, 50);
    TZuzShadow s;
    SetShadow(s, 3, 3, false);
    s.DrawEllipse(&c.canvas, TRect(10, 10, 30, 30));
    EXPECT_EQ(c.InkBox(), TRect(13, 13, 33, 33)); // one pixel more each way, to hold the corner
    // In a turned view the ring is projected: a fan of triangles round the moved centre.
    scene3d::Scene turned;
    turned.view.SetOrthogonal(false);
    turned.view.SetElevation(0);
    turned.view.SetRotation(0);
    turned.view.SetPerspective(0);
    turned.Reset();
    s.DrawEllipse(&turned.canvas, TRect(30, 30, 90, 90), 50);
    ASSERT_EQ(turned.canvas.shapes.size(), 63u);
    EXPECT_EQ(turned.canvas.shapes[0].points[0], (TPoint{63, 63}));
    EXPECT_EQ(turned.canvas.shapes[0].brush, clBlack);
}

TEST(FlatShadow, NothingForNoColourOrNoOffsetAndNoBlendingStarted) {
    for (const auto& [h, v, color] : {std::tuple{0, 0, clBlack}, std::tuple{3, 3, clNone}}) {
        CanvasOn c(50, 50, true);
        TZuzShadow s;
        SetShadow(s, h, v, false, color);
        s.SetTransparency(50);
        EXPECT_FALSE(s.PrepareCanvas(&c.canvas, TRect(10, 10, 30, 30), 0));
        s.Draw(&c.canvas, TRect(10, 10, 30, 30));
        s.DrawEllipse(&c.canvas, TRect(10, 10, 30, 30));
        EXPECT_EQ(c.InkBox(), TRect());
    }
}

TEST(FlatShadow, ATransparentShadowShowsTheBackgroundThrough) {
    CanvasOn c(50, 50, true);
    TZuzShadow s;
    SetShadow(s, 4, 4, false);
    s.SetTransparency(50);
    s.Draw(&c.canvas, TRect(10, 10, 30, 30));
    const auto p = c.RgbAt(20, 32);
    EXPECT_NEAR(p[0], 128, 2);
    EXPECT_EQ(p[0], p[2]);
}

TEST(FlatShadow, ATransparentShadowIsSeeThroughAllOverWhateverItsShape) {
    // Every pixel a half transparent shadow darkens is darkened half as much as by an opaque one.
    for (const int shape : {0, 1, 2}) { // a smooth rectangle, a flat triangle, a smooth triangle
        int opaque[80][80], seeThrough[80][80];
        for (const int transparency : {0, 50}) {
            CanvasOn c(80, 80, true);
            TZuzShadow s;
            SetShadow(s, 6, 6, shape != 1);
            s.SetTransparency(transparency);
            const TPoint triangle[] = {{10, 10}, {50, 10}, {10, 50}};
            if (shape == 0)
                s.Draw(&c.canvas, TRect(10, 10, 50, 50));
            else
                s.Draw(&c.canvas, triangle);
            for (int y = 0; y < 80; ++y)
                for (int x = 0; x < 80; ++x) (transparency ? seeThrough : opaque)[y][x] = c.RgbAt(x, y)[0];
        }
        int unblended = 0;
        for (int y = 0; y < 80; ++y)
            for (int x = 0; x < 80; ++x)
                unblended += std::abs(seeThrough[y][x] - (opaque[y][x] + 255) / 2) > 3;
        EXPECT_EQ(unblended, 0) << shape;
    }
}

TEST(LineBandShadow, LinesBrightenOutwardOnACanvasWithoutItsBuffer) {
    CanvasOn c(60, 60);
    TView3DOptions view;
    c.canvas.View3DOptions = &view;
    TZuzShadow s;
    SetShadow(s, 4, 4, true);
    s.Draw(&c.canvas, TRect(10, 10, 30, 30));
    EXPECT_EQ(c.At(20, 30), clBlack); // the first line in the shadow colour
    const int near = Brightness(c.RgbAt(20, 31)), far = Brightness(c.RgbAt(20, 33));
    EXPECT_GT(near, 0);
    EXPECT_GT(far, near);
    EXPECT_LT(far, 3 * 255);
    EXPECT_EQ(c.At(30, 20), clBlack);
    EXPECT_GT(Brightness(c.RgbAt(33, 20)), Brightness(c.RgbAt(31, 20)));
    // A band on one side only: no brightening share is computed for the other.
    CanvasOn d(60, 60);
    d.canvas.View3DOptions = &view;
    TZuzShadow side;
    SetShadow(side, 5, 0, true);
    side.Draw(&d.canvas, TRect(10, 10, 30, 30));
    EXPECT_EQ(d.At(30, 20), clBlack);
    EXPECT_EQ(d.At(20, 31), clWhite);
    // Up and left the lines cannot go: the shadow is drawn flat there, as on a turning canvas.
    CanvasOn e(60, 60);
    e.canvas.View3DOptions = &view;
    TZuzShadow back;
    SetShadow(back, -4, -3, true);
    back.Draw(&e.canvas, TRect(10, 10, 30, 30));
    EXPECT_EQ(e.At(20, 8), clBlack);
    EXPECT_EQ(e.At(8, 20), clBlack);
    // Nor either way when the other offset is down or right: left and down, right and up.
    for (const auto& [h, v, strip] : {std::tuple{-4, 3, TPoint(8, 20)}, std::tuple{4, -3, TPoint(20, 8)}}) {
        CanvasOn f(60, 60);
        f.canvas.View3DOptions = &view;
        TZuzShadow mixed;
        SetShadow(mixed, h, v, true);
        mixed.Draw(&f.canvas, TRect(10, 10, 30, 30));
        EXPECT_EQ(f.At(strip.X, strip.Y), clBlack) << h << "," << v;
    }
}

TEST(SmoothShadow, DarkerAtItsCoreThanAtItsRimAndOnlyAlongTheBands) {
    CanvasOn c(100, 100, true);
    TZuzShadow s;
    SetShadow(s, 6, 6, true);
    s.Draw(&c.canvas, TRect(20, 20, 60, 60));
    const int core = Brightness(c.RgbAt(62, 40)), rim = Brightness(c.RgbAt(66, 40));
    EXPECT_LT(core, rim);
    EXPECT_LT(rim, 3 * 255);
    EXPECT_EQ(c.At(75, 40), clWhite);
    EXPECT_EQ(c.At(10, 40), clWhite);
    EXPECT_LT(Brightness(c.RgbAt(40, 62)), Brightness(c.RgbAt(40, 66))); // the bottom band too
    EXPECT_EQ(c.At(40, 40), clWhite); // the middle is the element's, and white shadow pixels change nothing
}

TEST(SmoothShadow, NegativeOffsetsBlurTheWholeShapeUpAndLeft) {
    CanvasOn c(100, 100, true);
    TZuzShadow s;
    SetShadow(s, -5, -5, true);
    s.Draw(&c.canvas, TRect(40, 40, 70, 70));
    EXPECT_LT(Brightness(c.RgbAt(36, 50)), 3 * 255); // left of the element
    EXPECT_LT(Brightness(c.RgbAt(50, 36)), 3 * 255); // above it
    EXPECT_EQ(c.At(80, 50), clWhite);
}

TEST(SmoothShadow, EllipsesAndPolygonsAreBlurredWhole) {
    CanvasOn c(100, 100, true);
    TZuzShadow s;
    SetShadow(s, 4, 4, true);
    s.DrawEllipse(&c.canvas, TRect(20, 20, 60, 60));
    EXPECT_LT(Brightness(c.RgbAt(44, 44)), 100); // the middle of the moved ellipse is dark
    EXPECT_EQ(c.At(22, 22), clWhite);            // outside it
    // Centred on the ellipse moved once by the offset, as the flat and the rectangle's shadows are.
    double dark = 0, moment = 0;
    for (int x = 0; x < 70; ++x) {
        const int d = 3 * 255 - Brightness(c.RgbAt(x, 44));
        dark += d;
        moment += d * x;
    }
    EXPECT_NEAR(moment / dark, 44, 1);
    const TPoint tri[] = {{70, 10}, {95, 10}, {70, 35}};
    s.Draw(&c.canvas, tri);
    EXPECT_LT(Brightness(c.RgbAt(78, 18)), 200);
    // Cast up and left, a polygon's shadow lies as far from it as down and right.
    CanvasOn d(100, 100, true);
    SetShadow(s, -4, -4, true);
    const TPoint box[] = {{40, 40}, {80, 40}, {80, 80}, {40, 80}};
    s.Draw(&d.canvas, box);
    EXPECT_LT(Brightness(d.RgbAt(38, 38)), 200);
    EXPECT_EQ(d.At(30, 60), clWhite);
}

TEST(SmoothShadow, AnEllipseInATurnedViewCastsTheShadowOfItsSlantedRing) {
    CanvasOn c(160, 160, true);
    TView3DOptions view;
    view.SetOrthogonal(false);
    view.SetRotation(330);
    view.SetElevation(320);
    view.SetPerspective(30);
    c.canvas.InitWindow(c.target.GetCanvas(), &view, clWhite, true, TRect(0, 0, 160, 160));
    c.canvas.Projection(100, TRect(), TRect(0, 0, 160, 160));
    TZuzShadow s;
    SetShadow(s, 4, 4, true);
    s.DrawEllipse(&c.canvas, TRect(40, 40, 120, 120), 60);
    std::array<TPoint, 64> ring;
    c.canvas.GetCirclePoints(ring, 40, 40, 120, 120, 60);
    const TRect r = PolygonBounds(ring), bounds(r.Left + 4, r.Top + 4, r.Right + 4, r.Bottom + 4);
    const TRect ink = c.InkBox();
    EXPECT_GE(ink.Left, bounds.Left - 8);
    EXPECT_GE(ink.Top, bounds.Top - 8);
    EXPECT_LE(ink.Right, bounds.Right + 8);
    EXPECT_LE(ink.Bottom, bounds.Bottom + 8);
    const TPoint middle = c.canvas.Calculate3DPosition(80, 80, 60);
    EXPECT_LT(Brightness(c.RgbAt(middle.X + 4, middle.Y + 4)), 100);
}

TEST(SmoothShadow, ClipKeepsTheBlurInsideTheCanvasClip) {
    CanvasOn c(100, 100, true);
    TZuzShadow s;
    SetShadow(s, 6, 6, true);
    s.SetClip(true);
    c.canvas.ClipRectangle(TRect(0, 0, 64, 100));
    s.Draw(&c.canvas, TRect(20, 20, 60, 60));
    c.canvas.UnClipRectangle();
    EXPECT_LT(Brightness(c.RgbAt(62, 40)), 3 * 255);
    EXPECT_EQ(c.At(66, 40), clWhite);
}

TEST(SmoothShadow, TheKernelOfNoBlurAdjustmentAndTheRowsOfTinyBitmaps) {
    // Without a background the blur replaces the bitmap's own pixels: a black column on white
    // spreads by the kernel of smoothness 1.818 (radius 2: weights 1, e^(-ln 1.818 / 2), ...).
    TBitmap b;
    b.SetPixelFormat(pf24bit);
    b.SetSize(5, 1);
    Byte* row = b.ScanLine(0);
    for (int x = 0; x < 5; ++x) row[x * 3] = row[x * 3 + 1] = row[x * 3 + 2] = x == 2 ? 0 : 255;
    ZuzShadowSmooth(&b, nullptr, 0, 0, 5, 1, 2, 0, 0.0, true, nullptr, false);
    const double k = 1.818;
    const int w0 = 100000, w1 = ZuzRound(std::pow(k, -1.0 / 2) * 100000),
              w2 = ZuzRound(std::pow(k, -4.0 / 2) * 100000);
    // The middle pixel: all five taps, the black one weighted w0.
    const int mid = static_cast<int>(std::int64_t{255} * (2 * w1 + 2 * w2) / (w0 + 2 * w1 + 2 * w2));
    EXPECT_EQ(b.ScanLine(0)[6], mid);
    // Heights 0 and 1 give no rows beyond the bitmap.
    std::vector<Byte*> lines;
    TBitmap empty;
    ZuzCalcLines(lines, &empty);
    EXPECT_TRUE(lines.empty());
    ZuzCalcLines(lines, &b);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], b.ScanLine(0));
    // A zero-height box with only a horizontal offset makes a one-row bitmap.
    CanvasOn c(60, 60, true);
    TZuzShadow s;
    SetShadow(s, 5, 0, true);
    s.Draw(&c.canvas, TRect(10, 10, 30, 10));
}

TEST(SmoothShadow, PicturesAtTheLargestSizesKeepTheirPixels) {
    // Shapes placed so that shadows of up to the editor's largest size fall on a small picture:
    // the blur's whole kernel, its rounded weights and its edges are in every pixel's hash.
    enum Shape { Box, Round, Ellipse, Triangle };
    struct Case {
        const char* what;
        Shape shape;
        int h, v, blur;
        TRect r;
        bool full, clip;
        std::uint32_t hash;
    };
    const Case cases[] = {
        {"bands of a box", Box, 1000, 1000, 0, TRect(-985, -985, -945, -960), false, false, 424076892u},
        {"a whole box, unevenly", Box, 700, 400, 75, TRect(-680, -390, -600, -350), true, false, 1158737121u},
        {"up and left", Box, -1000, -1000, 0, TRect(1015, 1010, 1055, 1040), false, false, 2699213084u},
        {"round corners", Round, 1000, 1000, -75, TRect(-985, -985, -935, -950), false, false, 964176086u},
        {"an ellipse", Ellipse, 1000, 800, 0, TRect(-985, -785, -930, -740), false, false, 2167593389u},
        {"a triangle", Triangle, 1000, 1000, 0, TRect(), false, false, 502775606u},
        {"clipped", Box, 1000, 1000, 0, TRect(-985, -985, -945, -960), false, true, 1298014994u},
        {"bands inside the picture", Box, 30, 20, 0, TRect(20, 20, 60, 50), false, false, 2968364451u},
        {"a box wider than the blur, whole", Box, 10, 8, 0, TRect(5, 5, 105, 75), true, false, 980022265u},
        {"a box wider than the blur, bands", Box, 12, 12, 40, TRect(5, 5, 100, 70), false, false,
         3138449979u},
    };
    for (const Case& k : cases) {
        CanvasOn c(120, 90, true);
        TZuzShadow s;
        SetShadow(s, k.h, k.v, true, clNavy);
        s.SetSmoothBlur(k.blur);
        s.FullSmooth = k.full;
        s.SetClip(k.clip);
        if (k.clip) c.canvas.ClipRectangle(TRect(0, 0, 60, 70));
        const TPoint triangle[] = {{-990, -990}, {-930, -990}, {-990, -940}};
        switch (k.shape) {
        case Box:
            s.Draw(&c.canvas, k.r);
            break;
        case Round:
            s.Draw(&c.canvas, k.r, 0, 12);
            break;
        case Ellipse:
            s.DrawEllipse(&c.canvas, k.r);
            break;
        case Triangle:
            s.Draw(&c.canvas, triangle);
            break;
        }
        if (k.clip) c.canvas.UnClipRectangle();
        std::uint32_t hash = 2166136261u;
        for (int y = 0; y < 90; ++y)
            for (int x = 0; x < 120; ++x)
                for (int v : c.RgbAt(x, y)) hash = (hash ^ static_cast<std::uint32_t>(v)) * 16777619u;
        EXPECT_NE(c.InkBox(), TRect()) << k.what;
        EXPECT_EQ(hash, k.hash) << k.what;
    }
}
