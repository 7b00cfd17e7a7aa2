// The device context against the system's pixel rules, by pixel probes.
#include "platform/win32/gdiqt.h"

#include "tests/platform/win32/gdisurface.h"
#include "tests/platform/win32/qtapp.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <random>

using namespace gditest;

TEST(GdiBoxes, RectanglesExcludeTheirRightAndBottomEdges) {
    Surface s;
    HBRUSH red = CreateSolidBrush(kRed);
    HGDIOBJ oldBrush = SelectObject(s.dc, red);
    Rectangle(s.dc, 2, 2, 10, 8);
    EXPECT_EQ(s.At(2, 2), kBlack);
    EXPECT_EQ(s.At(9, 7), kBlack);
    EXPECT_EQ(s.At(9, 2), kBlack);
    EXPECT_EQ(s.At(10, 7), kWhite);
    EXPECT_EQ(s.At(9, 8), kWhite);
    EXPECT_EQ(s.At(3, 3), kRed);
    EXPECT_EQ(s.At(8, 6), kRed);

    // Without a pen the fill shrinks by the right and bottom edges.
    SelectObject(s.dc, GetStockObject(NULL_PEN));
    Rectangle(s.dc, 20, 2, 28, 8);
    EXPECT_EQ(s.At(20, 2), kRed);
    EXPECT_EQ(s.At(26, 6), kRed);
    EXPECT_EQ(s.At(27, 6), kWhite);
    EXPECT_EQ(s.At(26, 7), kWhite);

    FillRect(s.dc, RECT{2, 12, 10, 18}, red);
    EXPECT_EQ(s.At(9, 17), kRed);
    EXPECT_EQ(s.At(10, 17), kWhite);
    EXPECT_EQ(s.At(9, 18), kWhite);
    SelectObject(s.dc, oldBrush);
    DeleteObject(red);
}

TEST(GdiBoxes, CurvedShapesAndRegionsStayInsideTheirBoxesWithoutTheRightAndBottomEdges) {
    // Whatever the curve, the ink of a shape on (l, t, r, b) spans l..r-1 and t..b-1.
    const auto span = InkBox;
    for (int w = 2; w <= 40; ++w)
        for (int h = 2; h <= 40; h += 3) {
            Surface s(50, 50);
            Ellipse(s.dc, 3, 4, 3 + w, 4 + h);
            EXPECT_EQ(span(s), (RECT{3, 4, 3 + w, 4 + h})) << "ellipse " << w << "x" << h;
            Surface t(50, 50);
            RoundRect(t.dc, 3, 4, 3 + w, 4 + h, 8, 6);
            EXPECT_EQ(span(t), (RECT{3, 4, 3 + w, 4 + h})) << "rounded " << w << "x" << h;
        }
    Surface pie;
    Pie(pie.dc, 3, 4, 23, 19, 23, 11, 3, 11); // the upper half
    EXPECT_EQ(span(pie), (RECT{3, 4, 23, 12}));
    HRGN ellipse = CreateEllipticRgn(5, 5, 35, 25);
    RECT box;
    GetRgnBox(ellipse, &box);
    EXPECT_EQ(box, (RECT{5, 5, 35, 25}));
    EXPECT_TRUE(PtInRegion(ellipse, 34, 15));
    EXPECT_FALSE(PtInRegion(ellipse, 35, 15));
    EXPECT_FALSE(PtInRegion(ellipse, 20, 25));
    EXPECT_TRUE(PtInRegion(ellipse, 20, 5));
    EXPECT_TRUE(PtInRegion(ellipse, 20, 24));
    EXPECT_TRUE(PtInRegion(ellipse, 5, 15));
    HRGN rounded = CreateRoundRectRgn(5, 5, 35, 25, 10, 8);
    GetRgnBox(rounded, &box);
    EXPECT_EQ(box, (RECT{5, 5, 35, 25}));
    EXPECT_FALSE(PtInRegion(rounded, 5, 5));
    EXPECT_TRUE(PtInRegion(rounded, 20, 5));
    DeleteObject(rounded);
    // Corners of any size are rounded: a negative size as its opposite, the lowest int too.
    rounded = CreateRoundRectRgn(5, 5, 35, 25, std::numeric_limits<int>::min(), -8);
    EXPECT_FALSE(PtInRegion(rounded, 5, 5));
    EXPECT_TRUE(PtInRegion(rounded, 20, 15));
    DeleteObject(rounded);
    const POINT square[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
    HRGN polygon = CreatePolygonRgn(square, 4, ALTERNATE);
    EXPECT_TRUE(PtInRegion(polygon, 9, 9));
    EXPECT_FALSE(PtInRegion(polygon, 10, 5));
    EXPECT_FALSE(PtInRegion(polygon, 5, 10));
    DeleteObject(ellipse);
    DeleteObject(polygon);
}

TEST(GdiBoxes, FlatAndTinyBoxesKeepTheirShapesInside) {
    // Very flat pies and chords end at the box's last column, not one past it.
    for (const auto& [l, r, h] : {std::array{255, 401, 8}, std::array{10, 300, 4}, std::array{3, 190, 6}}) {
        Surface pie(420, 30), chord(420, 30);
        Pie(pie.dc, l, 5, r, 5 + h, r, 5 + h / 2, l, 5 + h / 2);     // the upper half
        Chord(chord.dc, l, 5, r, 5 + h, l, 5 + h / 2, r, 5 + h / 2); // the lower half
        const RECT upper = InkBox(pie), lower = InkBox(chord);
        EXPECT_EQ(upper.Left, l) << "pie " << l << "-" << r << " x " << h;
        EXPECT_EQ(upper.Right, r) << "pie " << l << "-" << r << " x " << h;
        EXPECT_EQ(upper.Top, 5) << "pie " << l << "-" << r << " x " << h;
        EXPECT_LT(upper.Bottom, 5 + h) << "pie " << l << "-" << r << " x " << h;
        EXPECT_GE(lower.Left, l) << "chord " << l << "-" << r << " x " << h;
        EXPECT_EQ(lower.Right, r) << "chord " << l << "-" << r << " x " << h;
        EXPECT_GT(lower.Top, 5) << "chord " << l << "-" << r << " x " << h;
        EXPECT_EQ(lower.Bottom, 5 + h) << "chord " << l << "-" << r << " x " << h;
    }
    // A box of one pixel inks that pixel, whatever the shape.
    for (int shape = 0; shape < 5; ++shape) {
        Surface s(8, 8);
        switch (shape) {
        case 0:
            Ellipse(s.dc, 3, 4, 4, 5);
            break;
        case 1:
            RoundRect(s.dc, 3, 4, 4, 5, 4, 4);
            break;
        case 2:
            Pie(s.dc, 3, 4, 4, 5, 4, 4, 3, 4);
            break;
        case 3:
            Chord(s.dc, 3, 4, 4, 5, 4, 4, 3, 4);
            break;
        default:
            Rectangle(s.dc, 3, 4, 4, 5);
        }
        EXPECT_EQ(s.Inked(), (std::vector<QPoint>{QPoint(3, 4)})) << "shape " << shape;
    }
    // Elliptic regions span their whole box, however flat.
    for (int h : {1, 2, 3, 4}) {
        HRGN flat = CreateEllipticRgn(10, 10, 60, 10 + h);
        RECT box;
        GetRgnBox(flat, &box);
        EXPECT_EQ(box, (RECT{10, 10, 60, 10 + h})) << h;
        const int middle = 10 + (h - 1) / 2;
        EXPECT_TRUE(PtInRegion(flat, 10, middle)) << h;
        EXPECT_TRUE(PtInRegion(flat, 59, middle)) << h;
        EXPECT_FALSE(PtInRegion(flat, 60, middle)) << h;
        DeleteObject(flat);
    }
}

TEST(GdiBoxes, PenlessEllipsesWrittenByRowsMatchThePaintersFillOfTheSameCurve) {
    // The painter's fill: the same curve as a path, filled inside the shape's box. The painter
    // fills four cubic arcs that run outside the true ellipse by up to 0.03 % of the radius, so
    // the two may differ on pixels whose centres lie that close to the curve, and on no others.
    // The tolerance adds an eighth of a pixel for the painter's flattening and its fixed-point
    // rounding (a tenth of a pixel is the most seen).
    auto painted = [](HDC dc, int l, int t, int r, int b) {
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, std::min(l, r), std::min(t, b), std::max(l, r), std::max(t, b));
        BeginPath(dc);
        Ellipse(dc, l, t, r, b);
        EndPath(dc);
        FillPath(dc);
        RestoreDC(dc, saved);
    };
    std::mt19937 rng(13);
    std::uniform_int_distribution<int> at(-40, 200), small(1, 40), large(41, 700), coin(0, 3);
    for (const GdiPixelFormat format : {GdiPixelFormat::Rgb32, GdiPixelFormat::Bgr24}) {
        for (int i = 0; i < 300; ++i) {
            Surface rows(400, 300, format), reference(400, 300, format);
            for (Surface* s : {&rows, &reference}) {
                // A background every mix mode changes.
                QImage& img = BitmapImage(s->bitmap);
                for (int y = 0; y < img.height(); ++y)
                    for (int x = 0; x < img.width(); ++x)
                        img.setPixel(x, y, qRgb(x * 7, y * 5, (x ^ y) & 0xFF));
            }
            const int l = at(rng), t = at(rng);
            const int r = l + (coin(rng) ? small(rng) : large(rng)) * (coin(rng) ? 1 : -1);
            const int b = t + (coin(rng) ? small(rng) : large(rng)) * (coin(rng) ? 1 : -1);
            const auto colour = static_cast<COLORREF>(rng() & 0xFFFFFF);
            const int rop2 = static_cast<int>(rng() % 16) + 1, clip = coin(rng);
            const int cl = at(rng), ct = at(rng), cr = cl + large(rng) / 2, cb = ct + large(rng) / 2;
            for (Surface* s : {&rows, &reference}) {
                SelectObject(s->dc, GetStockObject(NULL_PEN));
                SelectObject(s->dc, GetStockObject(DC_BRUSH));
                SetDCBrushColor(s->dc, colour);
                SetROP2(s->dc, rop2);
                if (clip == 1) IntersectClipRect(s->dc, cl, ct, cr, cb);
                if (clip >= 2) { // two rectangles side by side and apart: a clip of several
                    HRGN a = CreateRectRgn(cl, ct, cr, cb),
                         other = CreateRectRgn(cr + 5, ct + 20, cr + 90, cb + 40);
                    CombineRgn(a, a, other, RGN_OR);
                    SelectClipRgn(s->dc, a);
                    DeleteObject(a);
                    DeleteObject(other);
                }
            }
            Ellipse(rows.dc, l, t, r, b);
            painted(reference.dc, l, t, r, b);
            const QImage got = rows.Image(), want = reference.Image();
            // The curve in pixel centres: u^2 + v^2 = 1 on the ellipse inscribed in l..r-1 by t..b-1.
            const double a = (std::abs(r - l) - 1) / 2.0, e = (std::abs(b - t) - 1) / 2.0;
            const double cx = std::min(l, r) + a, cy = std::min(t, b) + e;
            for (int y = 0; y < got.height(); ++y)
                for (int x = 0; x < got.width(); ++x) {
                    if (got.pixel(x, y) == want.pixel(x, y)) continue;
                    const double u = (x + 0.5 - cx) / a, v = (y + 0.5 - cy) / e;
                    // The centre's distance from the curve, to first order.
                    const double off = std::abs(u * u + v * v - 1) / std::hypot(2 * u / a, 2 * v / e);
                    EXPECT_LE(off, 0.125 + 0.0003 * std::max(a, e))
                        << x << "," << y << " of " << l << "," << t << "," << r << "," << b;
                }
        }
    }
}

TEST(GdiBoxes, InsideFramePensKeepEveryBoxShapeInsideItsBox) {
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    for (int width : {2, 5}) {
        for (int shape = 0; shape < 5; ++shape) {
            Surface inside(60, 50), centred(60, 50);
            for (Surface* s : {&inside, &centred}) {
                const DWORD style = s == &inside ? PS_INSIDEFRAME : PS_SOLID;
                Selected pen(s->dc,
                             ExtCreatePen(PS_GEOMETRIC | style, static_cast<DWORD>(width), lb, 0, nullptr));
                switch (shape) {
                case 0:
                    Ellipse(s->dc, 10, 10, 50, 40);
                    break;
                case 1:
                    RoundRect(s->dc, 10, 10, 50, 40, 12, 12);
                    break;
                case 2:
                    Pie(s->dc, 10, 10, 50, 40, 50, 39, 50, 41); // all but a sliver towards a corner
                    break;
                case 3:
                    Chord(s->dc, 10, 10, 50, 40, 50, 39, 50, 41);
                    break;
                default:
                    Rectangle(s->dc, 10, 10, 50, 40);
                }
            }
            EXPECT_EQ(InkBox(inside), (RECT{10, 10, 50, 40})) << "shape " << shape << ", width " << width;
            const RECT wide = InkBox(centred); // a centred pen overhangs
            EXPECT_LT(wide.Left, 10) << "shape " << shape << ", width " << width;
            EXPECT_LT(wide.Top, 10) << "shape " << shape << ", width " << width;
        }
    }
}

TEST(GdiLines, TheLastPixelInDrawingDirectionIsLeftOut) {
    Surface s;
    MoveToEx(s.dc, 2, 5, nullptr);
    LineTo(s.dc, 10, 5);
    EXPECT_EQ(s.At(2, 5), kBlack);
    EXPECT_EQ(s.At(9, 5), kBlack);
    EXPECT_EQ(s.At(10, 5), kWhite);

    MoveToEx(s.dc, 10, 10, nullptr); // right to left: 10..3
    LineTo(s.dc, 2, 10);
    EXPECT_EQ(s.At(10, 10), kBlack);
    EXPECT_EQ(s.At(3, 10), kBlack);
    EXPECT_EQ(s.At(2, 10), kWhite);

    MoveToEx(s.dc, 20, 20, nullptr); // bottom to top
    LineTo(s.dc, 20, 12);
    EXPECT_EQ(s.At(20, 20), kBlack);
    EXPECT_EQ(s.At(20, 13), kBlack);
    EXPECT_EQ(s.At(20, 12), kWhite);

    MoveToEx(s.dc, 30, 2, nullptr); // diagonal: one pixel per step
    LineTo(s.dc, 35, 7);
    EXPECT_EQ(s.At(34, 6), kBlack);
    EXPECT_EQ(s.At(35, 7), kWhite);

    POINT cp;
    GetCurrentPositionEx(s.dc, &cp);
    EXPECT_EQ(cp, (POINT{35, 7}));
}

TEST(GdiLines, AClosedOutlineHitsEveryCornerOnceSoXorTwiceRestores) {
    Surface s(60, 40);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 200));
    SelectObject(s.dc, blue);
    Ellipse(s.dc, 3, 3, 30, 25);
    MoveToEx(s.dc, 0, 30, nullptr);
    LineTo(s.dc, 59, 0);
    const QImage before = s.Image();

    SetROP2(s.dc, R2_NOTXORPEN);
    SelectObject(s.dc, GetStockObject(NULL_BRUSH));
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> X(-5, 64), Y(-5, 44);
    for (int pass = 0; pass < 2; ++pass) {
        std::mt19937 again = rng;
        for (int i = 0; i < 30; ++i) {
            const int x0 = X(again), y0 = Y(again), x1 = X(again), y1 = Y(again);
            Rectangle(s.dc, x0, y0, x1, y1);
            MoveToEx(s.dc, x0, y1, nullptr);
            LineTo(s.dc, x1, y0);
            POINT tri[] = {{x0, y0}, {x1, y0}, {x0, y1}};
            Polyline(s.dc, tri, 3);
        }
    }
    EXPECT_EQ(s.Image(), before);
    DeleteObject(blue);
}

TEST(GdiLines, WidePensAreCentredAndCappedAsAsked) {
    Surface s;
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    {
        Selected pen(
            s.dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 3, lb, 0, nullptr));
        MoveToEx(s.dc, 5, 10, nullptr);
        LineTo(s.dc, 15, 10);
    }
    EXPECT_EQ(s.At(10, 9), kBlack);
    EXPECT_EQ(s.At(10, 11), kBlack);
    EXPECT_EQ(s.At(10, 12), kWhite);
    EXPECT_EQ(s.At(10, 8), kWhite);
    EXPECT_EQ(s.At(5, 10), kBlack);
    EXPECT_EQ(s.At(15, 10), kWhite); // flat: ends at the end point
    {
        Selected pen(s.dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_SQUARE | PS_JOIN_BEVEL, 3, lb, 0,
                                        nullptr));
        MoveToEx(s.dc, 5, 20, nullptr);
        LineTo(s.dc, 15, 20);
    }
    EXPECT_EQ(s.At(16, 20), kBlack); // square: half the width further
    EXPECT_EQ(s.At(4, 20), kBlack);
    EXPECT_EQ(s.At(17, 20), kWhite);

    // A styled pen wider than one pixel is solid.
    HPEN dashed = CreatePen(PS_DASH, 2, kBlack);
    LOGPEN lp;
    ASSERT_GT(GetObjectW(dashed, &lp), 0);
    EXPECT_EQ(lp.lopnStyle & PS_STYLE_MASK, static_cast<UINT>(PS_SOLID));
    DeleteObject(dashed);
}

TEST(GdiLines, EvenWidePensPutTheirExtraPixelAboveAndPolygonsLeaveOutTheirRightAndBottom) {
    Surface s;
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    for (const auto& [width, y, top, bottom] : {std::array{2, 6, 5, 6}, std::array{4, 16, 14, 17}}) {
        {
            Selected pen(s.dc, ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT,
                                            static_cast<DWORD>(width), lb, 0, nullptr));
            MoveToEx(s.dc, 2, y, nullptr);
            LineTo(s.dc, 12, y);
        }
        EXPECT_EQ(s.At(6, top - 1), kWhite) << width;
        EXPECT_EQ(s.At(6, top), kBlack) << width;
        EXPECT_EQ(s.At(6, bottom), kBlack) << width;
        EXPECT_EQ(s.At(6, bottom + 1), kWhite) << width;
    }
    // Without a pen a polygon's fill stops short of its right and bottom edges.
    SelectObject(s.dc, GetStockObject(NULL_PEN));
    SelectObject(s.dc, GetStockObject(BLACK_BRUSH));
    const POINT square[] = {{20, 2}, {30, 2}, {30, 8}, {20, 8}};
    Polygon(s.dc, square, 4);
    EXPECT_EQ(s.At(20, 2), kBlack);
    EXPECT_EQ(s.At(29, 7), kBlack);
    EXPECT_EQ(s.At(30, 7), kWhite);
    EXPECT_EQ(s.At(29, 8), kWhite);
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
}

TEST(GdiBrushes, HatchesRunTheirWayAndOpaqueGapsTakeTheBackground) {
    // Forward diagonals fall to the right ("\"), backward ones rise ("/").
    for (const auto& [hatch, dx] : {std::pair{HS_FDIAGONAL, 1}, std::pair{HS_BDIAGONAL, -1}}) {
        Surface s(24, 24);
        HBRUSH brush = CreateHatchBrush(hatch, kBlack);
        SetBkMode(s.dc, TRANSPARENT);
        FillRect(s.dc, RECT{0, 0, 24, 24}, brush);
        DeleteObject(brush);
        int inked = 0;
        for (int y = 4; y < 20; ++y)
            for (int x = 4; x < 20; ++x)
                if (s.At(x, y) == kBlack) {
                    ++inked;
                    EXPECT_EQ(s.At(x + dx, y + 1), kBlack) << hatch << " at " << x << "," << y;
                    EXPECT_EQ(s.At(x, y + 1), kWhite) << hatch << " at " << x << "," << y;
                }
        EXPECT_EQ(inked, 16 * 16 / 8) << hatch; // one pixel in eight
    }
    Surface s(16, 16);
    HBRUSH rows = CreateHatchBrush(HS_HORIZONTAL, kBlack);
    SetBkMode(s.dc, OPAQUE);
    SetBkColor(s.dc, kRed);
    FillRect(s.dc, RECT{0, 0, 16, 16}, rows);
    DeleteObject(rows);
    int black = 0, red = 0;
    for (int y = 0; y < 16; ++y) {
        const COLORREF first = s.At(0, y);
        for (int x = 0; x < 16; ++x) EXPECT_EQ(s.At(x, y), first) << x << "," << y; // whole rows
        black += first == kBlack;
        red += first == kRed;
    }
    EXPECT_EQ(black, 2);
    EXPECT_EQ(red, 14);
}

TEST(GdiLines, SmallDotPensMarkEveryOtherOrEveryThirdPixel) {
    Surface s(40, 10);
    LOGBRUSH lb{BS_SOLID, kBlack, 0};
    {
        Selected pen(s.dc, ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr));
        MoveToEx(s.dc, 0, 2, nullptr);
        LineTo(s.dc, 12, 2);
    }
    for (int x = 0; x < 12; ++x) EXPECT_EQ(s.At(x, 2), x % 2 == 0 ? kBlack : kWhite) << x;
    {
        const DWORD style[] = {0, 3};
        Selected pen(s.dc, ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 1, lb, 2, style));
        MoveToEx(s.dc, 0, 5, nullptr);
        LineTo(s.dc, 12, 5);
    }
    for (int x = 0; x < 12; ++x) EXPECT_EQ(s.At(x, 5), x % 3 == 0 ? kBlack : kWhite) << x;
    // On a wide pen those dots are round ones of its width.
    {
        Surface w(40, 12);
        const DWORD style[] = {0, 8};
        Selected pen(w.dc, ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE, 4, lb, 2, style));
        MoveToEx(w.dc, 4, 6, nullptr);
        LineTo(w.dc, 36, 6);
        int dots = 0;
        for (int x = 4, run = 0; x < 40; ++x) {
            run = w.At(x, 6) == kBlack ? run + 1 : 0;
            dots += run == 3;
        }
        EXPECT_GE(dots, 3);
    }

    // The pattern runs on along a polyline, and from line to line of the same context
    // while each starts where the last ended; a line started elsewhere starts it afresh.
    // Opaque gaps take the background colour.
    {
        Selected pen(s.dc, ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, lb, 0, nullptr));
        SetBkMode(s.dc, OPAQUE);
        SetBkColor(s.dc, kRed);
        MoveToEx(s.dc, 0, 8, nullptr);
        LineTo(s.dc, 3, 8);
        LineTo(s.dc, 7, 8);
        MoveToEx(s.dc, 7, 8, nullptr);
        LineTo(s.dc, 11, 8);
        MoveToEx(s.dc, 0, 9, nullptr);
        LineTo(s.dc, 11, 9);
    }
    for (int y : {8, 9})
        for (int x = 0; x < 11; ++x) EXPECT_EQ(s.At(x, y), x % 2 == 0 ? kBlack : kRed) << x << "," << y;
}

TEST(GdiMix, AllSixteenModesGiveTheirBitwiseResultOnBothFormats) {
    const COLORREF dst = RGB(0x5A, 0xC3, 0x0F), pen = RGB(0x33, 0x99, 0xF0);
    auto expect = [](int rop, std::uint32_t d, std::uint32_t s) -> std::uint32_t {
        std::uint32_t r = 0;
        switch (rop) {
        case R2_BLACK:
            r = 0;
            break;
        case R2_NOTMERGEPEN:
            r = ~(d | s);
            break;
        case R2_MASKNOTPEN:
            r = d & ~s;
            break;
        case R2_NOTCOPYPEN:
            r = ~s;
            break;
        case R2_MASKPENNOT:
            r = s & ~d;
            break;
        case R2_NOT:
            r = ~d;
            break;
        case R2_XORPEN:
            r = d ^ s;
            break;
        case R2_NOTMASKPEN:
            r = ~(d & s);
            break;
        case R2_MASKPEN:
            r = d & s;
            break;
        case R2_NOTXORPEN:
            r = ~(d ^ s);
            break;
        case R2_NOP:
            r = d;
            break;
        case R2_MERGENOTPEN:
            r = d | ~s;
            break;
        case R2_COPYPEN:
            r = s;
            break;
        case R2_MERGEPENNOT:
            r = s | ~d;
            break;
        case R2_MERGEPEN:
            r = d | s;
            break;
        case R2_WHITE:
            r = 0xFFFFFF;
            break;
        }
        return r & 0xFFFFFF;
    };
    for (GdiPixelFormat f : {GdiPixelFormat::Rgb32, GdiPixelFormat::Bgr24}) {
        for (int rop = R2_BLACK; rop <= R2_WHITE; ++rop) {
            Surface s(20, 6, f);
            HBRUSH back = CreateSolidBrush(dst);
            FillRect(s.dc, RECT{0, 0, 20, 6}, back);
            DeleteObject(back);
            HBRUSH brush = CreateSolidBrush(pen);
            SelectObject(s.dc, brush);
            {
                Selected p(s.dc, CreatePen(PS_SOLID, 1, pen));
                SetROP2(s.dc, rop);
                MoveToEx(s.dc, 0, 1, nullptr); // our rasteriser
                LineTo(s.dc, 10, 1);
            }
            SelectObject(s.dc, GetStockObject(NULL_PEN));
            Rectangle(s.dc, 0, 3, 10, 6); // a painter fill
            SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
            DeleteObject(brush);
            const COLORREF want = expect(rop, dst, pen);
            EXPECT_EQ(s.At(4, 1), want) << "line, mode " << rop;
            EXPECT_EQ(s.At(4, 4), want) << "fill, mode " << rop;
        }
    }
}

TEST(GdiClip, RegionsCombineAndGetClipRgnTellsWhetherOneIsSet) {
    Surface s(40, 40);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(s.dc, probe), 0);

    HRGN box = CreateRectRgn(10, 10, 20, 20);
    EXPECT_EQ(ExtSelectClipRgn(s.dc, box, RGN_AND), SIMPLEREGION);
    EXPECT_EQ(GetClipRgn(s.dc, probe), 1);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FillRect(s.dc, RECT{0, 0, 40, 40}, black);
    EXPECT_EQ(s.At(10, 10), kBlack);
    EXPECT_EQ(s.At(19, 19), kBlack);
    EXPECT_EQ(s.At(20, 19), kWhite);
    EXPECT_EQ(s.At(9, 10), kWhite);
    MoveToEx(s.dc, 0, 15, nullptr);
    LineTo(s.dc, 40, 15);
    EXPECT_EQ(s.At(25, 15), kWhite);
    EXPECT_FALSE(PtVisible(s.dc, 25, 15));
    EXPECT_EQ(GetPixel(s.dc, 25, 15), CLR_INVALID);

    // XOR against no clip at all inverts: only the outside of the ellipse draws.
    SelectClipRgn(s.dc, nullptr);
    EXPECT_EQ(GetClipRgn(s.dc, probe), 0);
    Surface t(40, 40);
    HRGN ellipse = CreateEllipticRgn(5, 5, 35, 35);
    ExtSelectClipRgn(t.dc, ellipse, RGN_XOR);
    FillRect(t.dc, RECT{0, 0, 40, 40}, black);
    EXPECT_EQ(t.At(20, 20), kWhite);
    EXPECT_EQ(t.At(1, 1), kBlack);
    SelectClipRgn(t.dc, nullptr);
    FillRect(t.dc, RECT{0, 0, 40, 40}, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    // DIFF takes the region away from the surface; AND of two boxes leaves their overlap.
    ExtSelectClipRgn(t.dc, box, RGN_DIFF);
    HRGN other = CreateRectRgn(15, 0, 40, 40);
    ExtSelectClipRgn(t.dc, other, RGN_AND);
    FillRect(t.dc, RECT{0, 0, 40, 40}, black);
    EXPECT_EQ(t.At(16, 15), kWhite);
    EXPECT_EQ(t.At(25, 15), kBlack);
    EXPECT_EQ(t.At(5, 30), kWhite);
    for (HRGN r : {probe, box, ellipse, other}) DeleteObject(r);
}

TEST(GdiClip, ClipsAreInDevicePixelsWhateverTheMapping) {
    Surface s(100, 100);
    SetMapMode(s.dc, MM_ANISOTROPIC);
    SetWindowExtEx(s.dc, 1000, 1000, nullptr);
    SetViewportExtEx(s.dc, 100, 50, nullptr);
    SetViewportOrgEx(s.dc, 10, 20, nullptr);
    POINT pts[] = {{0, 0}, {500, 500}, {-100, 15}};
    LPtoDP(s.dc, pts, 3);
    EXPECT_EQ(pts[0], (POINT{10, 20}));
    EXPECT_EQ(pts[1], (POINT{60, 45}));
    EXPECT_EQ(pts[2], (POINT{0, 21}));
    IntersectClipRect(s.dc, 0, 0, 200, 200); // logical: device (10,20)-(30,30)
    FillRect(s.dc, RECT{-1000, -1000, 1000, 1000}, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    EXPECT_EQ(s.At(10, 20), kBlack);
    SetMapMode(s.dc, MM_TEXT);
    SetViewportOrgEx(s.dc, 0, 0, nullptr);
    EXPECT_EQ(s.At(29, 29), kBlack);
    EXPECT_EQ(s.At(30, 29), kWhite);
    EXPECT_EQ(s.At(29, 30), kWhite);
}

TEST(GdiBitmaps, NewBitmapsAreWhiteAndTwentyFourBitRowsAreBlueGreenRed) {
    Surface s(5, 3, GdiPixelFormat::Bgr24);
    EXPECT_EQ(s.At(4, 2), kWhite);
    SetPixel(s.dc, 1, 1, RGB(10, 20, 30));
    const Byte* row = BitmapScanLine(s.bitmap, 1);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(BitmapScanLine(s.bitmap, 3), nullptr);
    // Growing keeps the pixels and makes the new area white.
    ResizeBitmapSurface(s.bitmap, 8, 6);
    EXPECT_EQ(s.At(1, 1), RGB(10, 20, 30));
    EXPECT_EQ(s.At(7, 5), kWhite);
    // Painting again after the rows were touched still works.
    SetPixel(s.dc, 7, 5, kRed);
    EXPECT_EQ(BitmapScanLine(s.bitmap, 5)[7 * 3 + 2], 255);
}

TEST(GdiBitmaps, BlitsCopyAndStretchByNearestPixel) {
    Surface src(3, 2);
    const COLORREF cells[2][3] = {{kRed, kBlack, RGB(0, 255, 0)}, {RGB(0, 0, 255), RGB(9, 9, 9), kWhite}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) SetPixel(src.dc, x, y, cells[y][x]);
    Surface dst(40, 30);
    StretchBlt(dst.dc, 0, 0, 30, 20, src.dc, 0, 0, 3, 2, SRCCOPY);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(dst.At(x * 10, y * 10), cells[y][x]);
            EXPECT_EQ(dst.At(x * 10 + 9, y * 10 + 9), cells[y][x]);
        }
    EXPECT_EQ(dst.At(30, 5), kWhite);
    BitBlt(dst.dc, 35, 25, 3, 2, src.dc, 0, 0, SRCCOPY);
    EXPECT_EQ(dst.At(36, 26), RGB(9, 9, 9));
    // Constant alpha: halfway between red and white.
    Surface blend(4, 4);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, 128, 0};
    AlphaBlend(blend.dc, 0, 0, 1, 1, src.dc, 0, 0, 1, 1, bf);
    EXPECT_EQ(blend.At(0, 0), RGB(255, 127, 127));
    // A source partly beyond the bitmap draws the bitmap's pixels only, mirrored or blended.
    Surface off(20, 10);
    StretchBlt(off.dc, 12, 0, -12, 4, src.dc, -3, 0, 6, 2, SRCCOPY);
    EXPECT_EQ(off.At(0, 0), cells[0][2]);
    EXPECT_EQ(off.At(5, 3), cells[1][0]);
    EXPECT_EQ(off.At(8, 0), kWhite);
    EXPECT_EQ(off.At(11, 3), kWhite);
    AlphaBlend(off.dc, 0, 6, 2, 1, src.dc, -1, 0, 2, 1, bf);
    EXPECT_EQ(off.At(0, 6), kWhite);
    EXPECT_EQ(off.At(1, 6), RGB(255, 127, 127));
}

TEST(GdiText, AlignmentPlacesTheTextAroundTheReferencePoint) {
    EnsureQtApplication<QGuiApplication>();
    GdiSetTextAntialiasing(false);
    Surface s(200, 60);
    LOGFONTW lf;
    lf.lfHeight = -16;
    lf.lfFaceName = u"Arial";
    HFONT font = CreateFontIndirectW(lf);
    HGDIOBJ old = SelectObject(s.dc, font);
    SetBkMode(s.dc, TRANSPARENT);
    const String text = u"WWWW";
    SIZE ext;
    GetTextExtentPoint32W(s.dc, text.data(), 4, &ext);
    EXPECT_GT(ext.cx, 30);
    EXPECT_GE(ext.cy, 16);
    SetTextAlign(s.dc, TA_RIGHT | TA_BOTTOM);
    TextOutW(s.dc, 150, 50, text.data(), 4);
    int minX = 1000, maxX = -1, maxY = -1;
    for (QPoint p : s.Inked()) {
        minX = std::min(minX, p.x());
        maxX = std::max(maxX, p.x());
        maxY = std::max(maxY, p.y());
    }
    EXPECT_LT(maxX, 150);
    EXPECT_GE(minX, 150 - ext.cx - 1);
    EXPECT_LT(maxY, 50);
    // Extra spacing follows every character, the last one too.
    SetTextCharacterExtra(s.dc, 3);
    SIZE spaced;
    GetTextExtentPoint32W(s.dc, text.data(), 4, &spaced);
    EXPECT_EQ(spaced.cx, ext.cx + 4 * 3);
    SetTextCharacterExtra(s.dc, 0);
    // An opaque background fills the text cell.
    SetTextAlign(s.dc, TA_LEFT | TA_TOP);
    SetBkMode(s.dc, OPAQUE);
    SetBkColor(s.dc, kRed);
    TextOutW(s.dc, 0, 0, u"i", 1);
    EXPECT_EQ(s.At(0, 0), kRed);
    SelectObject(s.dc, old);
    DeleteObject(font);
    GdiSetTextAntialiasing(true);
}

TEST(GdiObjects, StaleHandlesFailAndSelectedObjectsOutliveTheirDeletion) {
    Surface s;
    HPEN red = CreatePen(PS_SOLID, 1, kRed);
    HGDIOBJ old = SelectObject(s.dc, red);
    EXPECT_TRUE(DeleteObject(red)); // still selected: it stays usable
    MoveToEx(s.dc, 0, 0, nullptr);
    LineTo(s.dc, 5, 0);
    EXPECT_EQ(s.At(2, 0), kRed);
    // Now it goes: no handle to it comes back.
    EXPECT_EQ(SelectObject(s.dc, static_cast<HPEN>(old)), nullptr);
    EXPECT_EQ(SelectObject(s.dc, red), nullptr);
    EXPECT_FALSE(DeleteObject(red));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN))); // stock objects are never freed
    EXPECT_NE(SelectObject(s.dc, static_cast<HPEN>(GetStockObject(BLACK_PEN))), nullptr);
}

TEST(GdiDevice, CapabilitiesAndSavedStates) {
    Surface s(96, 48, GdiPixelFormat::Bgr24);
    EXPECT_EQ(GetDeviceCaps(s.dc, BITSPIXEL), 24);
    EXPECT_EQ(GetDeviceCaps(s.dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(s.dc, LOGPIXELSX), 96);
    // A memory context describes the display, whatever the bitmap's shape.
    const Surface tall(48, 96, GdiPixelFormat::Bgr24);
    EXPECT_EQ(GetDeviceCaps(s.dc, HORZSIZE), GetDeviceCaps(tall.dc, HORZSIZE));
    EXPECT_EQ(GetDeviceCaps(s.dc, VERTSIZE), GetDeviceCaps(tall.dc, VERTSIZE));
    EXPECT_EQ(GetDeviceCaps(s.dc, HORZRES), ScreenWidthPixels());
    const int saved = SaveDC(s.dc);
    SetROP2(s.dc, R2_XORPEN);
    SetTextColor(s.dc, kRed);
    IntersectClipRect(s.dc, 0, 0, 5, 5);
    RestoreDC(s.dc, saved);
    EXPECT_EQ(GetROP2(s.dc), R2_COPYPEN);
    EXPECT_EQ(GetTextColor(s.dc), kBlack);
    HRGN probe = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetClipRgn(s.dc, probe), 0);
    DeleteObject(probe);
    EXPECT_EQ(SetBkMode(s.dc, 0), 0); // not a mode: nothing changes
    EXPECT_EQ(GetBkMode(s.dc), OPAQUE);
    // An empty surface draws nothing and does not fail.
    Surface empty(0, 0);
    EXPECT_TRUE(Rectangle(empty.dc, 0, 0, 10, 10));
    EXPECT_EQ(GetPixel(empty.dc, 0, 0), CLR_INVALID);
}

namespace {

// A wide pen of the given width, end cap and join, selected for the scope.
HPEN WidePen(int width, DWORD cap = PS_ENDCAP_ROUND, DWORD join = PS_JOIN_ROUND, COLORREF c = kBlack,
             DWORD style = PS_SOLID) {
    const LOGBRUSH lb{BS_SOLID, c, 0};
    return ExtCreatePen(PS_GEOMETRIC | style | cap | join, static_cast<DWORD>(width), lb, 0, nullptr);
}

void Segment(HDC dc, QPoint a, QPoint b) {
    MoveToEx(dc, a.x(), a.y(), nullptr);
    LineTo(dc, b.x(), b.y());
}

// The distance from p to the segment a-b.
double Distance(QPointF p, QPointF a, QPointF b) {
    const QPointF d = b - a;
    const double len2 = QPointF::dotProduct(d, d);
    const double t = len2 == 0 ? 0 : std::clamp(QPointF::dotProduct(p - a, d) / len2, 0.0, 1.0);
    const QPointF q = a + t * d - p;
    return std::sqrt(QPointF::dotProduct(q, q));
}

} // namespace

TEST(GdiWideLines, EvenWidthsPutTheirExtraColumnLeftAndRoundEndsReachHalfTheWidthOut) {
    Surface s(40, 40);
    for (const auto& [width, left, right] :
         {std::array{2, 9, 10}, std::array{4, 8, 11}, std::array{3, 9, 11}}) {
        Surface v(30, 30);
        {
            Selected pen(v.dc, WidePen(width, PS_ENDCAP_FLAT));
            Segment(v.dc, {10, 5}, {10, 15});
        }
        EXPECT_EQ(InkBox(v), (RECT{left, 5, right + 1, 15})) << width;
    }
    {
        Selected pen(s.dc, WidePen(3));
        Segment(s.dc, {5, 10}, {15, 10});
    }
    EXPECT_EQ(InkBox(s), (RECT{4, 9, 17, 12}));
    EXPECT_EQ(s.At(4, 10), kBlack);
    EXPECT_EQ(s.At(16, 10), kBlack);
}

TEST(GdiWideLines, NoSegmentIsThinnedDroppedOrWidened) {
    std::mt19937 rng(21);
    std::uniform_int_distribution<int> coord(14, 66), len(-12, 12), width(2, 5);
    for (int trial = 0; trial < 600; ++trial) {
        const QPoint a(coord(rng), coord(rng));
        const QPoint b = a + (trial % 2 ? QPoint(len(rng), len(rng)) : QPoint(len(rng), len(rng)) / 4);
        const int w = width(rng);
        const DWORD cap = std::array<DWORD, 3>{PS_ENDCAP_ROUND, PS_ENDCAP_SQUARE, PS_ENDCAP_FLAT}[trial % 3];
        Surface thin(80, 80), wide(80, 80);
        Segment(thin.dc, a, b);
        {
            Selected pen(wide.dc, WidePen(w, cap));
            Segment(wide.dc, a, b);
        }
        const std::string what = "width " + std::to_string(w) + " cap " + std::to_string(cap) + " from " +
                                 std::to_string(a.x()) + "," + std::to_string(a.y()) + " to " +
                                 std::to_string(b.x()) + "," + std::to_string(b.y());
        // Every pixel of the one-pixel line is under the wide one (but the first
        // where a flat end cuts through it: it is the edge of the pen's area).
        for (QPoint p : thin.Inked())
            if (cap != PS_ENDCAP_FLAT || p != a) {
                ASSERT_EQ(wide.At(p.x(), p.y()), kBlack) << what;
            }
        // Nothing lies farther out than half the width (and half a square end's diagonal).
        const double reach = w / 2.0 * (cap == PS_ENDCAP_SQUARE ? std::sqrt(2.0) : 1.0) + 0.01;
        for (QPoint p : wide.Inked()) ASSERT_LE(Distance(p, a, b), reach) << what;
        // Across the middle of a segment longer than the pen is wide, the pen is
        // at least its width thick.
        if (std::hypot(b.x() - a.x(), b.y() - a.y()) >= 2 * w) {
            const bool xMajor = std::abs(b.x() - a.x()) >= std::abs(b.y() - a.y());
            const QPoint m = (a + b) / 2;
            int run = 0;
            for (int k = -8; k <= 8; ++k)
                run += wide.At(xMajor ? m.x() : m.x() + k, xMajor ? m.y() + k : m.y()) == kBlack;
            ASSERT_GE(run, w) << what;
        }
    }
}

TEST(GdiWideLines, ARoundJoinedPolylineInksWhatItsSegmentsInkAndMixModesApplyOnce) {
    std::vector<POINT> walk{{5, 30}};
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> step(-7, 7);
    for (int i = 0; i < 40; ++i)
        walk.push_back(POINT{walk.back().X + 1 + i % 3, std::clamp(walk.back().Y + step(rng), 3, 56)});
    Surface poly(120, 60), lines(120, 60);
    {
        Selected pen(poly.dc, WidePen(2));
        Polyline(poly.dc, walk.data(), static_cast<int>(walk.size()));
    }
    {
        Selected pen(lines.dc, WidePen(2));
        MoveToEx(lines.dc, walk[0].X, walk[0].Y, nullptr);
        for (std::size_t i = 1; i < walk.size(); ++i) LineTo(lines.dc, walk[i].X, walk[i].Y);
    }
    EXPECT_EQ(poly.Image(), lines.Image());
    // Drawn twice with XOR, a polyline (each pixel once) and a line put the picture back.
    for (DWORD join : {PS_JOIN_ROUND, PS_JOIN_MITER}) {
        Surface x(120, 60);
        Segment(x.dc, {0, 0}, {119, 59});
        const QImage before = x.Image();
        Selected pen(x.dc, WidePen(3, PS_ENDCAP_ROUND, join, RGB(200, 30, 90)));
        SetROP2(x.dc, R2_XORPEN);
        Polyline(x.dc, walk.data(), static_cast<int>(walk.size()));
        EXPECT_NE(x.Image(), before);
        Polyline(x.dc, walk.data(), static_cast<int>(walk.size()));
        Segment(x.dc, {3, 3}, {90, 40});
        Segment(x.dc, {3, 3}, {90, 40});
        EXPECT_EQ(x.Image(), before) << join;
    }
}

TEST(GdiWideLines, FarEndPointsDrawTheVisiblePartWithoutWrapping) {
    constexpr int far = 2'000'000'000;
    Surface s(40, 30);
    {
        Selected pen(s.dc, WidePen(2));
        Segment(s.dc, {-far, 10}, {far, 10});
        Segment(s.dc, {20, -far}, {20, far});
        Segment(s.dc, {-far / 2, -far / 2}, {far / 2, far / 2});
    }
    for (int x = 0; x < 40; ++x) EXPECT_EQ(s.At(x, 9), kBlack) << x;
    for (int y = 0; y < 30; ++y) EXPECT_EQ(s.At(19, y), kBlack) << y;
    EXPECT_EQ(s.At(5, 5), kBlack);
    EXPECT_EQ(s.At(25, 25), kBlack);
    EXPECT_EQ(s.At(30, 3), kWhite);
}

TEST(GdiWideLines, ClipsAndTwentyFourBitSurfacesFollowTheSameRules) {
    Surface rgb(60, 40), bgr(60, 40, GdiPixelFormat::Bgr24);
    for (Surface* s : {&rgb, &bgr}) {
        Selected pen(s->dc, WidePen(3, PS_ENDCAP_SQUARE, PS_JOIN_BEVEL, kRed));
        Segment(s->dc, {4, 4}, {50, 33});
        Segment(s->dc, {40, 2}, {8, 30});
    }
    EXPECT_EQ(rgb.Inked(), bgr.Inked());
    EXPECT_EQ(bgr.At(27, 18), kRed);
    // A clip of two boxes: ink only inside them.
    Surface c(60, 40);
    HRGN two = CreateRectRgn(0, 0, 20, 40);
    HRGN other = CreateRectRgn(40, 0, 60, 40);
    CombineRgn(two, two, other, RGN_OR);
    SelectClipRgn(c.dc, two);
    {
        Selected pen(c.dc, WidePen(4));
        Segment(c.dc, {2, 20}, {58, 20});
    }
    for (QPoint p : c.Inked()) EXPECT_TRUE(p.x() < 20 || p.x() >= 40) << p.x();
    EXPECT_EQ(c.At(10, 20), kBlack);
    EXPECT_EQ(c.At(50, 20), kBlack);
    DeleteObject(two);
    DeleteObject(other);
}

TEST(GdiWideLines, StyledWidePensKeepTheirColourAndModeAcrossOtherDrawing) {
    Surface s(60, 40);
    Selected pen(s.dc, WidePen(3, PS_ENDCAP_FLAT, PS_JOIN_MITER, kRed, PS_DASHDOT));
    Segment(s.dc, {2, 5}, {40, 5});
    EXPECT_EQ(s.At(2, 5), kRed);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(s.dc, RECT{0, 20, 60, 40}, blue);
    DeleteObject(blue);
    Segment(s.dc, {2, 12}, {40, 12});
    // Another styled pen, straight after, brings its own colour, and its dashes go on from line
    // to line.
    constexpr COLORREF lime = RGB(0, 255, 0);
    {
        Selected dashed(s.dc, WidePen(3, PS_ENDCAP_FLAT, PS_JOIN_MITER, lime, PS_DASH));
        for (int x = 2; x < 50; ++x) Segment(s.dc, {x, 17}, {x + 1, 17});
    }
    EXPECT_EQ(s.At(2, 12), kRed);
    int inked = 0;
    for (int x = 2; x < 50; ++x) inked += s.At(x, 17) == lime;
    EXPECT_GT(inked, 24);
    EXPECT_LT(inked, 44);
    // A polyline started elsewhere than where the last line ended (if at the current position)
    // starts its dashes afresh: drawn twice, it inks alike; and so does a line drawn on from a
    // polyline's end.
    {
        Surface p(60, 20);
        Selected dashed(p.dc, WidePen(3, PS_ENDCAP_FLAT, PS_JOIN_MITER, lime, PS_DASH));
        const POINT a[] = {{2, 4}, {47, 4}}, b[] = {{2, 12}, {47, 12}}, c[] = {{2, 17}, {20, 17}};
        MoveToEx(p.dc, 2, 12, nullptr);
        Polyline(p.dc, a, 2);
        Polyline(p.dc, b, 2);
        Polyline(p.dc, c, 2);
        MoveToEx(p.dc, 20, 17, nullptr);
        LineTo(p.dc, 47, 17);
        for (int x = 2; x < 47; ++x) {
            EXPECT_EQ(p.At(x, 4), p.At(x, 12)) << x;
            EXPECT_EQ(p.At(x, 17), p.At(x, 12)) << x;
        }
    }
    SetROP2(s.dc, R2_NOTCOPYPEN);
    Segment(s.dc, {2, 30}, {40, 30});
    EXPECT_EQ(s.At(2, 30), RGB(0, 255, 255));
}

TEST(GdiDevice, ContextsAreTrackedSoAStaleOneIsRefused) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(nullptr));
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
    EXPECT_EQ(ReleaseDC(nullptr, screen), 0);
    int notAContext = 0;
    EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(&notAContext)));
}

TEST(GdiDevice, AContextOnAnImageKeepsPaintingUntilTheImagesOwnerFinishesIt) {
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::white);
    HDC dc = CreateImageDC(&image);
    auto pen = std::make_unique<Selected>(
        dc, WidePen(3, PS_ENDCAP_FLAT, PS_JOIN_MITER, kBlack, PS_DOT)); // drawn by the painter
    Segment(dc, {0, 5}, {30, 5});
    Segment(dc, {0, 10}, {30, 10});
    EXPECT_EQ(image.pixel(1, 5) & 0xFFFFFF, 0u);
    // Once finished, a copy keeps what it saw while drawing goes on.
    EndPaintingOn(&image);
    const QImage copy = image;
    Segment(dc, {0, 20}, {30, 20});
    EXPECT_EQ(copy.pixel(1, 20) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(image.pixel(1, 20) & 0xFFFFFF, 0u);
    // The owner replaces the image: drawing reaches the new one.
    EndPaintingOn(&image);
    image = QImage(50, 50, QImage::Format_RGB32);
    image.fill(Qt::white);
    Segment(dc, {0, 40}, {45, 40});
    EXPECT_EQ(image.pixel(44, 40) & 0xFFFFFF, 0u);
    EXPECT_TRUE(GdiFlush());
    pen.reset();
    DeleteDC(dc);
}
