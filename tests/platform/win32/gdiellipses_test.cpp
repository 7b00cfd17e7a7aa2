// Ellipses in the colour-settable brush handed over together: the pixels and the state after
// equal those of one SetDCBrushColor and Ellipse per box, on every surface and in every state.
#include "platform/win32/gdiqt.h"

#include "tests/platform/win32/gdisurface.h"
#include "tests/platform/win32/qtapp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

using namespace gditest;

namespace {

// A background every shape changes somewhere.
void Pattern(Surface& s) {
    QImage& img = BitmapImage(s.bitmap);
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x * 7, y * 5, (x ^ y) & 0xFF));
}

// Boxes shrinking around one centre as a radial gradient draws them, with its rounding.
std::vector<RECT> Nested(double cx, double cy, int w, int h, int n) {
    std::vector<RECT> boxes;
    for (int i = n; i >= 0; --i) {
        const double ex = i * (w * 0.5 / n), ey = i * (h * 0.5 / n);
        boxes.push_back(RECT{static_cast<int>(std::lround(cx - ex)), static_cast<int>(std::lround(cy - ey)),
                             static_cast<int>(std::lround(cx + ex)), static_cast<int>(std::lround(cy + ey))});
    }
    return boxes;
}

struct State {
    int pen = 0;   // 0 none, 1 solid, 2 wide
    int brush = 0; // 0 the colour-settable one, 1 solid, 2 hatched
    int rop2 = R2_COPYPEN;
    int clip = 0; // 0 none, 1 a rectangle, 2 two rectangles apart
    POINT origin{0, 0};
    bool path = false;
};

// Puts the state on the context; the objects it made are handed back by the caller's scope.
void Apply(HDC dc, const State& st, std::vector<HGDIOBJ>& made) {
    if (st.pen == 0) {
        SelectObject(dc, GetStockObject(NULL_PEN));
    } else {
        HPEN pen = CreatePen(PS_SOLID, st.pen == 1 ? 1 : 5, RGB(10, 200, 30));
        made.push_back(pen);
        SelectObject(dc, pen);
    }
    if (st.brush == 0) {
        SelectObject(dc, GetStockObject(DC_BRUSH));
    } else {
        HBRUSH brush =
            st.brush == 1 ? CreateSolidBrush(RGB(200, 40, 90)) : CreateHatchBrush(HS_CROSS, RGB(0, 0, 99));
        made.push_back(brush);
        SelectObject(dc, brush);
    }
    SetROP2(dc, st.rop2);
    SetWindowOrgEx(dc, st.origin.X, st.origin.Y, nullptr);
    if (st.clip == 1) IntersectClipRect(dc, 30, 20, 250, 170);
    if (st.clip == 2) {
        HRGN a = CreateRectRgn(10, 15, 120, 160), other = CreateRectRgn(150, 40, 290, 190);
        CombineRgn(a, a, other, RGN_OR);
        SelectClipRgn(dc, a);
        DeleteObject(a);
        DeleteObject(other);
    }
    if (st.path) BeginPath(dc);
}

// Draws the boxes both ways on patterned surfaces and compares every pixel and the brush colour left.
void ExpectSameAsOneCallPerBox(const std::vector<RECT>& boxes, const std::vector<COLORREF>& colors,
                               const State& st, GdiPixelFormat format, const std::string& what,
                               int width = 300, int height = 200) {
    Surface together(width, height, format), oneByOne(width, height, format);
    Pattern(together);
    Pattern(oneByOne);
    std::vector<HGDIOBJ> made;
    Apply(together.dc, st, made);
    Apply(oneByOne.dc, st, made);
    EXPECT_TRUE(
        EllipsesWithDCBrush(together.dc, boxes.data(), colors.data(), static_cast<int>(boxes.size())));
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        SetDCBrushColor(oneByOne.dc, colors[i]);
        Ellipse(oneByOne.dc, boxes[i].Left, boxes[i].Top, boxes[i].Right, boxes[i].Bottom);
    }
    if (st.path)
        for (HDC dc : {together.dc, oneByOne.dc}) {
            EndPath(dc);
            FillPath(dc);
        }
    EXPECT_EQ(SetDCBrushColor(together.dc, 0), SetDCBrushColor(oneByOne.dc, 0)) << what;
    for (HDC dc : {together.dc, oneByOne.dc}) {
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SelectObject(dc, GetStockObject(WHITE_BRUSH));
    }
    for (HGDIOBJ o : made) DeleteObject(o);
    const QImage got = together.Image(), want = oneByOne.Image();
    int differ = 0;
    for (int y = 0; y < got.height(); ++y)
        for (int x = 0; x < got.width(); ++x)
            if (got.pixel(x, y) != want.pixel(x, y) && differ++ < 3)
                ADD_FAILURE() << what << ": pixel " << x << "," << y << " is " << std::hex << got.pixel(x, y)
                              << " instead of " << want.pixel(x, y);
    EXPECT_EQ(differ, 0) << what;
}

} // namespace

TEST(EllipsesWithDCBrush, NestedBandsPaintWhatOneEllipseCallPerBandPaints) {
    std::mt19937 rng(29);
    std::uniform_int_distribution<int> size(1, 420), centre(-60, 360), bands(1, 255);
    for (const GdiPixelFormat format : {GdiPixelFormat::Rgb32, GdiPixelFormat::Bgr24})
        for (int trial = 0; trial < 60; ++trial) {
            const int w = size(rng), h = size(rng), n = bands(rng);
            const double cx = centre(rng) + (trial % 2) * 0.5, cy = centre(rng) / 2 + (trial % 3) * 0.5;
            const std::vector<RECT> boxes = Nested(cx, cy, w, h, n);
            std::vector<COLORREF> colors;
            for (std::size_t i = 0; i < boxes.size(); ++i) colors.push_back(rng() & 0xFFFFFF);
            State st;
            st.clip = trial % 3;
            st.origin = trial % 4 == 3 ? POINT{-17, 9} : POINT{0, 0};
            ExpectSameAsOneCallPerBox(boxes, colors, st, format,
                                      "nested " + std::to_string(w) + "x" + std::to_string(h) + " in " +
                                          std::to_string(n) + " bands, trial " + std::to_string(trial));
        }
}

TEST(EllipsesWithDCBrush, OverlappingAndDegenerateBoxesPaintWhatOneCallPerBoxPaints) {
    // Boxes in any order, apart, crossing, turned inside out, empty or outside the surface: a later
    // ellipse still lies over every earlier one.
    std::mt19937 rng(31);
    std::uniform_int_distribution<int> at(-80, 340), extent(-120, 260), count(1, 40);
    for (const GdiPixelFormat format : {GdiPixelFormat::Rgb32, GdiPixelFormat::Bgr24})
        for (int trial = 0; trial < 150; ++trial) {
            std::vector<RECT> boxes;
            std::vector<COLORREF> colors;
            for (int i = count(rng); i > 0; --i) {
                const int l = at(rng), t = at(rng) / 2;
                const int r = rng() % 6 == 0 ? l : l + extent(rng), b = rng() % 6 == 0 ? t : t + extent(rng);
                boxes.push_back(RECT{l, t, r, b});
                colors.push_back(rng() & 0xFFFFFF);
            }
            State st;
            st.clip = trial % 3;
            ExpectSameAsOneCallPerBox(boxes, colors, st, format, "scattered, trial " + std::to_string(trial));
        }
}

TEST(EllipsesWithDCBrush, LargeSetsSharedOutOverThreadsPaintWhatOneCallPerBoxPaints) {
    // Sets this large are painted by several threads taking rows in turn where the machine has
    // the cores: every row, the shares' edges and the rows no ellipse reaches must come out the
    // same as one call per box.
    std::mt19937 rng(37);
    std::uniform_int_distribution<int> at(-100, 1000), extent(-200, 900);
    for (int trial = 0; trial < 6; ++trial) {
        std::vector<RECT> boxes =
            Nested(450 + trial * 37.5, 350 - trial * 21, 700 + trial * 90, 600 - trial * 70, 255 - trial * 7);
        if (trial % 2 == 1)
            for (int i = 0; i < 60; ++i) {
                const int l = at(rng), t = at(rng) * 2 / 3;
                boxes.push_back(RECT{l, t, l + extent(rng), t + extent(rng)});
            }
        std::vector<COLORREF> colors;
        for (std::size_t i = 0; i < boxes.size(); ++i) colors.push_back(rng() & 0xFFFFFF);
        State st;
        st.clip = trial == 4 ? 1 : 0;
        st.origin = trial == 5 ? POINT{-31, 12} : POINT{0, 0};
        ExpectSameAsOneCallPerBox(boxes, colors, st, GdiPixelFormat::Rgb32,
                                  "large, trial " + std::to_string(trial), 900, 700);
    }
}

TEST(EllipsesWithDCBrush, PensMixModesOtherBrushesAndPathsKeepTheirOwnPixels) {
    const std::vector<RECT> boxes = Nested(150.5, 100, 260, 170, 40);
    std::vector<COLORREF> colors;
    for (std::size_t i = 0; i < boxes.size(); ++i)
        colors.push_back(
            RGB(static_cast<BYTE>(i * 6), static_cast<BYTE>(255 - i * 5), static_cast<BYTE>(i * 3)));
    const std::vector<std::pair<const char*, State>> states = {
        {"thin pen", State{1, 0, R2_COPYPEN, 0, {0, 0}, false}},
        {"wide pen", State{2, 0, R2_COPYPEN, 1, {0, 0}, false}},
        {"exclusive or", State{0, 0, R2_XORPEN, 0, {0, 0}, false}},
        {"not copy", State{0, 0, R2_NOTCOPYPEN, 2, {0, 0}, false}},
        {"solid brush of its own", State{0, 1, R2_COPYPEN, 0, {0, 0}, false}},
        {"hatched brush", State{0, 2, R2_COPYPEN, 0, {0, 0}, false}},
        {"inside a path", State{0, 0, R2_COPYPEN, 0, {0, 0}, true}},
    };
    for (const GdiPixelFormat format : {GdiPixelFormat::Rgb32, GdiPixelFormat::Bgr24})
        for (const auto& [what, st] : states) ExpectSameAsOneCallPerBox(boxes, colors, st, format, what);
}

TEST(EllipsesWithDCBrush, AContextWithItsOwnEllipseIsCalledOncePerBox) {
    // A recording context (a picture's) sees each ellipse with its colour, as it would see
    // them one by one.
    struct Recording : DeviceContext {
        using DeviceContext::DeviceContext;
        bool Ellipse(int l, int t, int r, int b) override {
            seen.emplace_back(RECT{l, t, r, b}, St().dcBrushColor);
            return DeviceContext::Ellipse(l, t, r, b);
        }
        std::vector<std::pair<RECT, COLORREF>> seen;
    };
    QImage image(60, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        Recording dc(&image, nullptr, nullptr, 96);
        SelectObject(&dc, GetStockObject(NULL_PEN));
        SelectObject(&dc, GetStockObject(DC_BRUSH));
        const std::vector<RECT> boxes = Nested(30, 20, 50, 30, 3);
        const std::vector<COLORREF> colors = {kRed, kBlack, RGB(0, 0, 255), RGB(0, 200, 0)};
        EXPECT_TRUE(EllipsesWithDCBrush(&dc, boxes.data(), colors.data(), 4));
        ASSERT_EQ(dc.seen.size(), 4u);
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(dc.seen[i].first, boxes[i]);
            EXPECT_EQ(dc.seen[i].second, colors[i]);
        }
        SelectObject(&dc, GetStockObject(BLACK_PEN));
        SelectObject(&dc, GetStockObject(WHITE_BRUSH));
    }
}

TEST(EllipsesWithDCBrush, NoBoxesDrawNothingAndBadArgumentsFail) {
    Surface s;
    SelectObject(s.dc, GetStockObject(DC_BRUSH));
    SetDCBrushColor(s.dc, kRed);
    EXPECT_TRUE(EllipsesWithDCBrush(s.dc, nullptr, nullptr, 0));
    EXPECT_TRUE(s.Inked().empty());
    EXPECT_EQ(SetDCBrushColor(s.dc, kRed), kRed);
    const RECT box{1, 1, 9, 9};
    const COLORREF colour = kBlack;
    EXPECT_FALSE(EllipsesWithDCBrush(nullptr, &box, &colour, 1));
    EXPECT_FALSE(EllipsesWithDCBrush(s.dc, &box, &colour, -1));
    EXPECT_FALSE(EllipsesWithDCBrush(s.dc, nullptr, &colour, 1));
    EXPECT_TRUE(s.Inked().empty());
    SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
}
