// Gradient fills: where each direction puts its colours, the balance curve, the middle colour's
// split, radial bands and their centre, rotation, sub-gradients and the gradient's settings.
#include "chart/canvas/zuzgradient.h"

#include "tests/chart/canvas/canvasfixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include <numbers>

using namespace canvastest;

namespace {

constexpr TColor kStart = static_cast<TColor>(0x0000FF); // red
constexpr TColor kEnd = static_cast<TColor>(0xFF0000);   // blue

// The linear colour of band i of N + 1 between the start and end colour.
TColor Linear(int i, int n, TColor start = kStart, TColor end = kEnd) {
    const auto s = CanvasOn::Rgb(start), e = CanvasOn::Rgb(end);
    std::array<int, 3> c;
    for (int k = 0; k < 3; ++k) c[k] = s[k] + (e[k] - s[k]) * i / n;
    return static_cast<TColor>(
        RGB(static_cast<BYTE>(c[0]), static_cast<BYTE>(c[1]), static_cast<BYTE>(c[2])));
}

struct Edge {
    const char* rule;
    TGradientDirection direction;
    TPoint startAt, endAt; // a pixel at each colour's end
    int within = 12;       // of the colour (the centres are bands away from it)
};

class GradientEdges : public ::testing::TestWithParam<Edge> {};

} // namespace

TEST_P(GradientEdges, EachDirectionPutsItsColoursOnItsOwnSides) {
    const Edge& e = GetParam();
    CanvasOn c(64, 48);
    c.canvas.GradientFill(TRect(0, 0, 64, 48), kStart, kEnd, e.direction, 50, 0, 0);
    const auto near = [&](TPoint p, TColor want) {
        const auto got = c.RgbAt(p.X, p.Y), w = CanvasOn::Rgb(want);
        for (int k = 0; k < 3; ++k)
            EXPECT_NEAR(got[k], w[k], e.within) << e.rule << " at " << p.X << "," << p.Y;
    };
    near(e.startAt, kStart);
    near(e.endAt, kEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Directions, GradientEdges,
    ::testing::Values(Edge{"TopBottomStartsAtTheBottom", gdTopBottom, {30, 47}, {30, 0}},
                      Edge{"BottomTopStartsAtTheTop", gdBottomTop, {30, 0}, {30, 47}},
                      Edge{"LeftRightStartsAtTheRight", gdLeftRight, {63, 20}, {0, 20}},
                      Edge{"RightLeftStartsAtTheLeft", gdRightLeft, {0, 20}, {63, 20}},
                      Edge{"FromCenterStartsInTheMiddle", gdFromCenter, {32, 24}, {0, 0}},
                      Edge{"FromTopLeftEndsInItsCorner", gdFromTopLeft, {63, 47}, {0, 0}},
                      Edge{"FromBottomLeftEndsInItsCorner", gdFromBottomLeft, {63, 0}, {0, 47}},
                      Edge{"DiagonalUpStartsBottomLeft", gdDiagonalUp, {0, 47}, {62, 1}},
                      Edge{"DiagonalDownStartsTopLeft", gdDiagonalDown, {0, 0}, {62, 46}},
                      Edge{"RadialStartsInTheCentre", gdRadial, {33, 25}, {0, 0}, 25}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(GradientFill, CornerSweepsRunOnToTheFarEdgesWithoutAStripe) {
    // A long box: one sweep's arm passes the far edge long before the other does.
    for (const TGradientDirection direction : {gdFromTopLeft, gdFromBottomLeft}) {
        CanvasOn c(100, 20);
        c.canvas.GradientFill(TRect(0, 0, 100, 20), kStart, kEnd, direction, 50, 0, 0);
        const int farRow = direction == gdFromTopLeft ? 19 : 0, nextRow = direction == gdFromTopLeft ? 18 : 1;
        const auto close = [&](TPoint edge, TPoint inside) {
            const auto a = c.RgbAt(edge.X, edge.Y), b = c.RgbAt(inside.X, inside.Y);
            for (int k = 0; k < 3; ++k) EXPECT_NEAR(a[k], b[k], 12) << edge.X << "," << edge.Y;
        };
        for (const int x : {10, 50, 90}) close({x, farRow}, {x, nextRow});
        for (const int y : {2, 10, 17}) close({99, y}, {98, y});
    }
}

TEST(GradientFill, AVerticalFillHasAtMost256BandsAtTheirBoundaries) {
    for (const bool dcBrush : {true, false}) {
        CanvasOn c(10, 300);
        if (!dcBrush) ZuzSetDCBrushColor = nullptr; // a brush made per colour instead
        c.canvas.GradientFill(TRect(0, 0, 10, 300), kStart, kEnd, gdTopBottom, 50, 0, 0);
        ZuzCanvasInitialization();
        for (const int i : {0, 1, 100, 200, 254, 255}) {
            // Band i covers rows 300 - (i + 1) * 300 div 256 up to 300 - i * 300 div 256.
            const int lowest = 300 - i * 300 / 256 - 1, highest = 300 - (i + 1) * 300 / 256;
            EXPECT_EQ(c.At(5, lowest), Linear(i, 255)) << i;
            EXPECT_EQ(c.At(5, highest), Linear(i, 255)) << i;
        }
    }
    // A box one pixel thick is painted whole, in the colour of its bottom (right) band.
    for (const TGradientDirection direction : {gdTopBottom, gdBottomTop, gdLeftRight, gdRightLeft}) {
        const bool vertical = direction == gdTopBottom || direction == gdBottomTop;
        const TRect box = vertical ? TRect(0, 5, 10, 6) : TRect(5, 0, 6, 10);
        CanvasOn flat(10, 10);
        flat.canvas.GradientFill(box, kStart, kEnd, direction, 50, 0, 0);
        EXPECT_EQ(flat.InkBox(), box) << direction;
        const bool kept = direction == gdTopBottom || direction == gdLeftRight;
        EXPECT_EQ(flat.At(box.Left, box.Top), kept ? kStart : kEnd) << direction;
    }
}

TEST(GradientFill, BalanceFiftyIsLinearAndEveryOtherBalanceBendsByAPower) {
    for (const int balance : {49, 50, 51}) {
        CanvasOn c(300, 4);
        c.canvas.GradientFill(TRect(0, 0, 256, 4), kStart, kEnd, gdLeftRight, balance, 0, 0);
        const int i = 100; // column 255 - i
        const auto got = c.RgbAt(255 - i, 1);
        if (balance == 50) {
            EXPECT_EQ(c.At(255 - i, 1), Linear(i, 255));
        } else {
            const double t = std::pow((1.0 + i) / 256.0, balance * 0.015 + 0.5);
            EXPECT_EQ(got[0], ZuzRound(-255 * t) + 255) << balance;
            EXPECT_EQ(got[2], ZuzRound(255 * t)) << balance;
        }
    }
}

TEST(GradientFill, FillsKeepToTheirRectangleAndTheBrushBefore) {
    CanvasOn c(40, 40);
    c.canvas.Brush->SetColor(clLime);
    c.canvas.GradientFill(TRect(30, 30, 10, 10), kStart, kEnd, gdFromTopLeft, 50, 0, 0); // turned round
    EXPECT_EQ(c.InkBox(), TRect(10, 10, 30, 30));
    c.canvas.FillRect(TRect(0, 0, 5, 5));
    EXPECT_EQ(c.At(2, 2), clLime);
}

TEST(GradientObject, TheMiddleColourSplitsLinearFillsAndLeavesTheOthersAlone) {
    CanvasOn c(20, 100);
    TZuzGradient g;
    g.SetStartColor(kStart);
    g.SetEndColor(kEnd);
    g.SetMidColor(clLime);
    g.Draw(&c.canvas, TRect(0, 0, 20, 100));
    EXPECT_EQ(c.At(5, 99), kStart); // lower half: start .. middle
    EXPECT_EQ(c.At(5, 49), clLime); // upper half begins at the bottom in the middle colour
    EXPECT_EQ(c.At(5, 50), Linear(49, 49, kStart, clLime));
    EXPECT_EQ(c.At(5, 0), kEnd);
    // From the centre the middle colour and the balance take no part.
    CanvasOn d(20, 20);
    g.SetDirection(gdFromCenter);
    g.SetBalance(80);
    g.Draw(&d.canvas, TRect(0, 0, 20, 20));
    const auto mid = d.RgbAt(10, 10);
    EXPECT_EQ(mid[1], 0); // no green anywhere
    EXPECT_EQ(d.At(0, 0), kEnd);
}

TEST(GradientObject, RadialBandsCentreOnTheOffsetAndKeepTheCornersInTheEndColour) {
    CanvasOn c(81, 61);
    TZuzGradient g;
    g.SetDirection(gdRadial);
    g.SetStartColor(kStart);
    g.SetEndColor(kEnd);
    g.SetRadialX(15);
    g.SetRadialY(-10);
    g.Draw(&c.canvas, TRect(0, 0, 81, 61));
    // The centre: one pixel right and down of the rectangle's middle, moved by the offset.
    const auto centre = c.RgbAt(40 + 1 + 15, 30 + 1 - 10);
    EXPECT_GT(centre[0], 240);
    EXPECT_EQ(c.At(0, 0), kEnd);
    EXPECT_EQ(c.At(80, 60), kEnd);
    // Farther from the centre is nearer the end colour.
    EXPECT_GT(c.RgbAt(56, 21)[0], c.RgbAt(36, 21)[0]);
    EXPECT_GT(c.RgbAt(36, 21)[0], c.RgbAt(16, 21)[0]);
}

namespace {

// A chart canvas of a class of its own: the gradient draws on it as on any canvas it does not
// know, with one Ellipse per band (counted here).
class OwnCanvas : public TZuzCanvas3D {
public:
    int ellipses = 0;
    void Ellipse(int X1, int Y1, int X2, int Y2) override {
        ++ellipses;
        TZuzCanvas3D::Ellipse(X1, Y1, X2, Y2);
    }
};

} // namespace

TEST(GradientObject, RadialBandsOnTheChartCanvasAreThePixelsOfOneEllipsePerBand) {
    struct Case {
        int w, h, balance, rx, ry;
    };
    for (const Case k : {Case{81, 61, 50, 15, -10}, Case{64, 48, 50, 0, 0}, Case{400, 260, 20, 0, 0},
                         Case{300, 7, 85, -40, 3}, Case{7, 300, 50, 2, 90}, Case{333, 201, 50, -500, 40},
                         Case{1, 1, 50, 0, 0}, Case{2, 90, 65, 0, 0}}) {
        const std::string what = std::to_string(k.w) + "x" + std::to_string(k.h) + " balance " +
                                 std::to_string(k.balance) + " at " + std::to_string(k.rx) + "," +
                                 std::to_string(k.ry);
        const TRect r(3, 4, 3 + k.w, 4 + k.h);
        TZuzGradient g;
        g.SetDirection(gdRadial);
        g.SetStartColor(static_cast<TColor>(0xF0E0C0));
        g.SetEndColor(static_cast<TColor>(0x603010));
        g.SetBalance(k.balance);
        g.SetRadialX(k.rx);
        g.SetRadialY(k.ry);
        int changes[2] = {0, 0};

        CanvasOn chart(k.w + 10, k.h + 10);
        chart.target.OnChange = TNotifyEvent([&](TObject*) { ++changes[0]; });
        g.Draw(&chart.canvas, r);

        CanvasOn reference(k.w + 10, k.h + 10); // for the application and the units
        OwnCanvas own;
        own.SetUseBuffer(false);
        own.InitWindow(reference.target.GetCanvas(), nullptr, clWhite, false,
                       TRect(0, 0, k.w + 10, k.h + 10));
        reference.target.OnChange = TNotifyEvent([&](TObject*) { ++changes[1]; });
        g.Draw(&own, r);

        int n = std::min(255, std::max(k.w, k.h));
        if (k.w % 2 != 0 || k.h % 2 != 0) --n;
        EXPECT_EQ(own.ellipses, n + 1) << what;
        EXPECT_EQ(changes[0], changes[1]) << what;
        int differ = 0;
        for (int y = 0; y < k.h + 10; ++y)
            for (int x = 0; x < k.w + 10; ++x)
                if (chart.At(x, y) != own.ReferenceCanvas->GetPixel(x, y) && differ++ < 3)
                    ADD_FAILURE() << what << ": pixel " << x << "," << y;
        EXPECT_EQ(differ, 0) << what;
    }
}

TEST(GradientObject, AMonochromeCanvasTurnsLinearFillsAndRadialSubGradientsGrey) {
    for (const bool radialSub : {false, true}) {
        CanvasOn c(20, 40, true);
        c.canvas.SetMonochrome(true);
        TZuzGradient g;
        g.SetStartColor(kStart);
        g.SetEndColor(clLime);
        if (radialSub) {
            TSubGradient* sub = g.GetSub();
            sub->SetDirection(gdRadial);
            sub->SetStartColor(clRed);
            sub->SetEndColor(clBlue);
            sub->SetTransparency(0);
            sub->SetVisible(true);
        }
        g.Draw(&c.canvas, TRect(0, 0, 20, 40));
        for (const int y : {0, 20, 39}) {
            const auto p = c.RgbAt(5, y);
            EXPECT_EQ(p[0], p[1]) << radialSub << " " << y;
            EXPECT_EQ(p[1], p[2]) << radialSub << " " << y;
        }
    }
}

TEST(GradientObject, ARotatedGradientIsDrawnUnturnedIntoABitmapTheHookTurns) {
    static TSize seen;
    static int angleSeen = -1;
    ZuzGradientRotate = [](TCustomZuzGradient* g, TBitmap* b) {
        seen = {b->GetWidth(), b->GetHeight()};
        angleSeen = g->GetAngle();
    };
    CanvasOn c(200, 200);
    TZuzGradient g;
    g.SetStartColor(kStart);
    g.SetEndColor(kEnd);
    g.SetAngle(90);
    g.Draw(&c.canvas, TRect(50, 50, 150, 100));
    EXPECT_EQ(seen, (TSize{52, 102}));
    EXPECT_EQ(angleSeen, 90); // the angle is back before the hook turns
    EXPECT_EQ(g.GetAngle(), 90);
    EXPECT_EQ(c.At(40, 75), clWhite); // clipped to the rectangle
    ZuzGradientRotate = nullptr;
    // A full turn covers the box: its round corners stay clear.
    g.SetAngle(360);
    CanvasOn r(200, 200);
    g.Draw(&r.canvas, TRect(50, 50, 150, 100), 16);
    EXPECT_EQ(r.At(51, 51), clWhite);
    EXPECT_NE(r.At(100, 75), clWhite);
    g.SetAngle(90);
    CanvasOn d(200, 200); // without a hook: drawn unturned, nothing more
    g.Draw(&d.canvas, TRect(50, 50, 150, 100));
    EXPECT_NE(d.At(100, 75), clWhite);
}

TEST(GradientObject, ASubGradientIsBlendedOverTheGradient) {
    CanvasOn c(40, 40, true);
    TZuzGradient g;
    g.SetStartColor(clRed);
    g.SetEndColor(clRed);
    TSubGradient* sub = g.GetSub();
    sub->SetStartColor(clBlue);
    sub->SetEndColor(clBlue);
    sub->SetVisible(true);
    EXPECT_EQ(sub->GetTransparency(), 50);
    for (const int angle : {0, 90}) { // a turned gradient too
        g.SetAngle(angle);
        g.Draw(&c.canvas, TRect(0, 0, 40, 40));
        const auto p = c.RgbAt(20, 20);
        EXPECT_NEAR(p[0], 128, 2) << angle;
        EXPECT_EQ(p[1], 0) << angle;
        EXPECT_NEAR(p[2], 128, 2) << angle;
    }
}

TEST(GradientSettings, MiddleColourSubGradientAndAssign) {
    int changes = 0;
    TZuzGradient g(TNotifyEvent([&](TObject*) { ++changes; }));
    g.SetMidColor(clRed);
    EXPECT_EQ(changes, 1);
    g.SetMidColor(clNone); // off, but the colour stays stored
    EXPECT_EQ(g.GetMidColor(), clNone);
    g.UseMiddleColor();
    EXPECT_EQ(g.GetMidColor(), clRed);
    EXPECT_EQ(changes, 3);
    g.SetBalance(50);
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(g.HasSub());
    g.GetSub()->SetTransparency(30); // made with the owner's event
    EXPECT_EQ(changes, 4);
    TZuzGradient copy;
    copy.GetSub();
    TZuzGradient plain;
    copy.Assign(&plain); // a source without a sub-gradient frees the target's
    EXPECT_FALSE(copy.HasSub());
    copy.Assign(&g);
    ASSERT_TRUE(copy.HasSub());
    EXPECT_EQ(copy.GetSub()->GetTransparency(), 30);
    EXPECT_EQ(copy.GetMidColor(), clRed);
    TZuzFontGradient fg;
    fg.SetOutline(true);
    TZuzFontGradient fg2;
    fg2.Assign(&fg);
    EXPECT_TRUE(fg2.GetOutline());
    // A file's numbers are held to a percentage and to reachable offsets.
    g.SetBalance(-2147483647 - 1);
    EXPECT_EQ(g.GetBalance(), 0);
    g.SetBalance(2147483647);
    EXPECT_EQ(g.GetBalance(), 100);
    g.SetRadialX(2147483647);
    g.SetRadialY(-2147483647 - 1);
    EXPECT_EQ(g.GetRadialX(), 1 << 28);
    EXPECT_EQ(g.GetRadialY(), -(1 << 28));
}

TEST(PolygonGradient, FillsInsideThePolygonAndOutlinesItWithThePen) {
    CanvasOn c(60, 60);
    TZuzGradient g;
    g.SetStartColor(kStart);
    g.SetEndColor(kStart);
    const TPoint tri[] = {{10, 10}, {50, 10}, {10, 50}};
    c.canvas.Pen->SetColor(clBlack);
    c.canvas.PolygonGradient(tri, 2, &g);
    EXPECT_EQ(c.At(15, 15), kStart);
    EXPECT_EQ(c.At(45, 45), clWhite); // inside the bounds, outside the polygon
    EXPECT_EQ(c.At(30, 10), clBlack);
    EXPECT_EQ(c.canvas.Brush->GetStyle(), bsSolid); // the brush style comes back
    c.canvas.Brush->SetColor(clLime);
    c.canvas.FillRect(TRect(0, 0, 60, 60)); // and the clip is gone
    EXPECT_EQ(c.At(45, 45), clLime);
}
