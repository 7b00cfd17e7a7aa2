// Paths with letters in them, widened and stroked paths, clips from paths, arcs in both
// directions, spaced and turned text, and the device's own colour-settable brush: probes of what
// chart text effects and gradients rely on.
#include "tests/platform/win32/gdisurface.h"
#include "tests/platform/win32/qtapp.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

namespace {

using namespace gditest;

constexpr COLORREF kBlue = RGB(0, 0, 255);

// A font of the given pixel height and escapement.
HFONT Font(int height, int escapement = 0) {
    LOGFONTW lf;
    lf.lfHeight = -height;
    lf.lfEscapement = escapement;
    lf.lfFaceName = u"Arial";
    lf.lfQuality = NONANTIALIASED_QUALITY;
    return CreateFontIndirectW(lf);
}

// A font of the given pixel height and escapement, selected for the scope.
struct FontScope : Selected {
    FontScope(HDC d, int height, int escapement = 0) : Selected(d, Font(height, escapement)) {}
};

struct Objects {
    Selected pen, brush;
    Objects(HDC d, HPEN p, HBRUSH b) : pen(d, p), brush(d, b) {}
};

void DrawText(HDC dc, int x, int y, const String& text) {
    TextOutW(dc, x, y, text.data(), static_cast<int>(text.size()));
}

class GdiPaths : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureQtApplication<QGuiApplication>();
        GdiSetTextAntialiasing(false);
    }
    void TearDown() override { GdiSetTextAntialiasing(true); }
};

} // namespace

TEST_F(GdiPaths, LettersInAPathFillWhereTheTextWouldInk) {
    Surface text(160, 60), path(160, 60);
    {
        const FontScope f(text.dc, 40);
        SetBkMode(text.dc, TRANSPARENT);
        DrawText(text.dc, 10, 5, u"HI");
    }
    const FontScope f(path.dc, 40);
    const Objects o(path.dc, CreatePen(PS_NULL, 0, 0), CreateSolidBrush(kRed));
    ASSERT_TRUE(BeginPath(path.dc));
    DrawText(path.dc, 10, 5, u"HI"); // inside the bracket nothing is drawn
    EXPECT_TRUE(path.Inked().empty());
    ASSERT_TRUE(EndPath(path.dc));
    ASSERT_TRUE(FillPath(path.dc));
    const RECT a = InkBox(text), b = InkBox(path);
    EXPECT_NEAR(a.Left, b.Left, 1);
    EXPECT_NEAR(a.Top, b.Top, 1);
    EXPECT_NEAR(a.Right, b.Right, 1);
    EXPECT_NEAR(a.Bottom, b.Bottom, 1);
    EXPECT_EQ(path.At((b.Left + 1), (a.Top + a.Bottom) / 2), kRed); // the stem of the H
    EXPECT_FALSE(FillPath(path.dc));                                // a path is used up by drawing it
}

TEST_F(GdiPaths, StrokingOutlinesFillingAlsoFillsAndWideningThickensByThePen) {
    {
        Surface s(60, 40);
        const Objects o(s.dc, CreatePen(PS_SOLID, 1, kBlue), CreateSolidBrush(kRed));
        BeginPath(s.dc);
        Rectangle(s.dc, 10, 10, 50, 30);
        EndPath(s.dc);
        ASSERT_TRUE(StrokePath(s.dc));
        EXPECT_EQ(s.At(10, 20), kBlue);
        EXPECT_EQ(s.At(30, 20), kWhite); // the inside stays as it was
    }
    {
        Surface s(60, 40);
        const Objects o(s.dc, CreatePen(PS_SOLID, 1, kBlue), CreateSolidBrush(kRed));
        BeginPath(s.dc);
        Rectangle(s.dc, 10, 10, 50, 30);
        EndPath(s.dc);
        ASSERT_TRUE(StrokeAndFillPath(s.dc));
        EXPECT_EQ(s.At(10, 20), kBlue);
        EXPECT_EQ(s.At(30, 20), kRed);
    }
    {
        Surface s(60, 40);
        const Objects o(s.dc, CreatePen(PS_SOLID, 6, kBlue), CreateSolidBrush(kRed));
        BeginPath(s.dc);
        MoveToEx(s.dc, 10, 20, nullptr);
        LineTo(s.dc, 50, 20);
        EndPath(s.dc);
        ASSERT_TRUE(WidenPath(s.dc));
        HGDIOBJ widePen = SelectObject(s.dc, GetStockObject(NULL_PEN));
        const bool filled = FillPath(s.dc); // the widened line is an area three pixels to each side
        SelectObject(s.dc, widePen);        // so that the scope frees the pen it made
        ASSERT_TRUE(filled);
        EXPECT_EQ(s.At(30, 18), kRed);
        EXPECT_EQ(s.At(30, 21), kRed);
        EXPECT_EQ(s.At(30, 14), kWhite);
        EXPECT_EQ(s.At(30, 26), kWhite);
    }
}

TEST_F(GdiPaths, AClipFromAPathMeetsTheClipInForce) {
    Surface s(60, 60);
    IntersectClipRect(s.dc, 0, 0, 30, 60);
    const Objects o(s.dc, CreatePen(PS_NULL, 0, 0), CreateSolidBrush(kRed));
    BeginPath(s.dc);
    Ellipse(s.dc, 10, 10, 50, 50);
    EndPath(s.dc);
    ASSERT_TRUE(SelectClipPath(s.dc, RGN_AND));
    PatBlt(s.dc, 0, 0, 60, 60, PATCOPY);
    EXPECT_EQ(s.At(20, 30), kRed);   // in the ellipse and the old clip
    EXPECT_EQ(s.At(40, 30), kWhite); // in the ellipse only
    EXPECT_EQ(s.At(12, 12), kWhite); // in the old clip only
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(s.dc, clip), 1);
    EXPECT_TRUE(PtInRegion(clip, 25, 30));
    EXPECT_FALSE(PtInRegion(clip, 35, 30));
    DeleteObject(clip);
}

TEST_F(GdiPaths, ArcsRunCounterClockwiseByDefaultAndTheOtherWayWhenAsked) {
    const auto quadrants = [](Surface& s) {
        int q[4] = {0, 0, 0, 0}; // upper right, upper left, lower left, lower right
        for (QPoint p : s.Inked()) {
            if (p.x() == 30 || p.y() == 30) continue;
            const bool right = p.x() > 30, upper = p.y() < 30;
            ++q[upper ? (right ? 0 : 1) : (right ? 3 : 2)];
        }
        return std::array<bool, 4>{q[0] > 0, q[1] > 0, q[2] > 0, q[3] > 0};
    };
    Surface ccw(60, 60), cw(60, 60);
    for (Surface* s : {&ccw, &cw}) {
        const Objects o(s->dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
        if (s == &cw) {
            EXPECT_EQ(SetArcDirection(s->dc, AD_CLOCKWISE), AD_COUNTERCLOCKWISE);
            EXPECT_EQ(GetArcDirection(s->dc), AD_CLOCKWISE);
        }
        MoveToEx(s->dc, 50, 30, nullptr);
        // From three o'clock to twelve o'clock.
        ASSERT_TRUE(ArcTo(s->dc, 10, 10, 51, 51, 60, 30, 30, 0));
        POINT at;
        GetCurrentPositionEx(s->dc, &at);
        EXPECT_NEAR(at.X, 30, 1);
        EXPECT_NEAR(at.Y, 10, 1);
    }
    EXPECT_EQ(quadrants(ccw), (std::array<bool, 4>{true, false, false, false}));
    EXPECT_EQ(quadrants(cw), (std::array<bool, 4>{false, true, true, true}));
}

TEST_F(GdiPaths, EscapementTurnsTextCounterClockwiseAboutItsReferencePoint) {
    struct Row {
        int tenths;
        int dx, dy; // the direction the text runs from (100, 100)
    };
    for (const Row r : {Row{0, 1, 0}, Row{900, 0, -1}, Row{1800, -1, 0}, Row{2700, 0, 1}}) {
        Surface s(200, 200);
        SetBkMode(s.dc, TRANSPARENT);
        SIZE ext;
        {
            const FontScope plain(s.dc, 16);
            GetTextExtentPoint32W(s.dc, u"WWWWWW", 6, &ext);
        }
        const FontScope f(s.dc, 16, r.tenths);
        DrawText(s.dc, 100, 100, u"WWWWWW");
        const RECT box = InkBox(s);
        SCOPED_TRACE(r.tenths);
        const int along = r.dx != 0 ? box.Right - box.Left : box.Bottom - box.Top;
        const int across = r.dx != 0 ? box.Bottom - box.Top : box.Right - box.Left;
        EXPECT_NEAR(along, ext.cx, 4);
        EXPECT_LT(across, ext.cy + 2);
        if (r.dx > 0) {
            EXPECT_GE(box.Left, 99);
        } else if (r.dx < 0) {
            EXPECT_LE(box.Right, 101);
        } else if (r.dy < 0) {
            EXPECT_LE(box.Bottom, 101);
        } else {
            EXPECT_GE(box.Top, 99);
        }
    }
    // Half way between: the text climbs to the upper right.
    Surface s(200, 200);
    SetBkMode(s.dc, TRANSPARENT);
    const FontScope f(s.dc, 16, 450);
    DrawText(s.dc, 60, 140, u"WWWWWW");
    const RECT box = InkBox(s);
    EXPECT_GT(box.Right - box.Left, 40);
    EXPECT_GT(box.Bottom - box.Top, 40);
    EXPECT_LT(box.Top, 100);         // it climbs from its point
    EXPECT_LE(box.Bottom, 140 + 20); // by no more than its turned cell below it
    EXPECT_GE(box.Left, 59);
}

TEST_F(GdiPaths, TheDeviceBrushTakesItsColourFromTheDeviceEachTime) {
    Surface s(40, 20);
    const HGDIOBJ old = SelectObject(s.dc, GetStockObject(DC_BRUSH));
    EXPECT_EQ(SetDCBrushColor(s.dc, kRed), kWhite); // white until set
    PatBlt(s.dc, 0, 0, 20, 20, PATCOPY);
    EXPECT_EQ(SetDCBrushColor(s.dc, kBlue), kRed);
    PatBlt(s.dc, 20, 0, 20, 20, PATCOPY); // no new selection needed
    EXPECT_EQ(s.At(5, 5), kRed);
    EXPECT_EQ(s.At(25, 5), kBlue);
    SelectObject(s.dc, old);
}

TEST_F(GdiPaths, AClipFromAPathHoldsAfterAnEarlierClipWasRemoved) {
    Surface s(80, 40);
    const Objects o(s.dc, CreatePen(PS_NULL, 0, 0), CreateSolidBrush(kBlue));
    HRGN round = CreateRoundRectRgn(0, 0, 80, 40, 16, 16);
    SelectClipRgn(s.dc, round);
    DeleteObject(round);
    PatBlt(s.dc, 0, 0, 80, 40, PATCOPY); // painted through the first clip
    SelectClipRgn(s.dc, nullptr);
    PatBlt(s.dc, 0, 0, 80, 40, WHITENESS);
    const FontScope f(s.dc, 30);
    BeginPath(s.dc);
    DrawText(s.dc, 5, 2, u"HI");
    EndPath(s.dc);
    SelectClipPath(s.dc, RGN_AND);
    PatBlt(s.dc, 0, 0, 80, 40, PATCOPY);
    SelectClipRgn(s.dc, nullptr);
    EXPECT_EQ(s.At(1, 1), kWhite); // outside the letters
    EXPECT_EQ(s.At(75, 35), kWhite);
    EXPECT_FALSE(s.Inked().empty());
}
