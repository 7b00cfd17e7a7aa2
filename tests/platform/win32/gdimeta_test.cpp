// Enhanced metafiles: the records a recording writes (read here byte by byte,
// independently of the player), playback against direct drawing, and damaged
// files.
#include "platform/win32/gdimeta.h"

#include "platform/win32/gdiqt.h"
#include "tests/platform/win32/gdisurface.h"
#include "tests/platform/win32/qtapp.h"

#include <QGuiApplication>
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace gditest;

namespace {

enum : DWORD {
    kHeader = 1,
    kPolyline = 4,
    kEof = 14,
    kSetPixel = 15,
    kSetMapMode = 17,
    kSetTextColor = 24,
    kMoveTo = 27,
    kSelect = 37,
    kCreatePen = 38,
    kCreateBrush = 39,
    kDelete = 40,
    kEllipse = 42,
    kRectangle = 43,
    kLineTo = 54,
    kClip = 75,
    kBitBlt = 76,
    kStretchDib = 81,
    kFont = 82,
    kText = 84,
    kPolygon16 = 86,
    kPolyline16 = 87,
    kExtPen = 95,
    kAlphaBlend = 114,
    kTransparentBlt = 116,
};

DWORD U32(const std::vector<Byte>& b, std::size_t at) {
    return static_cast<DWORD>(b[at]) | static_cast<DWORD>(b[at + 1]) << 8 |
           static_cast<DWORD>(b[at + 2]) << 16 | static_cast<DWORD>(b[at + 3]) << 24;
}
int I32(const std::vector<Byte>& b, std::size_t at) {
    return static_cast<int>(U32(b, at));
}

struct Record {
    DWORD type;
    std::size_t at, size;
};

// The records of a file as its sizes chain them.
std::vector<Record> Records(const std::vector<Byte>& b) {
    std::vector<Record> out;
    for (std::size_t at = 0; at + 8 <= b.size();) {
        const DWORD size = U32(b, at + 4);
        out.push_back(Record{U32(b, at), at, size});
        if (size < 8) break;
        at += size;
    }
    return out;
}

const Record* Find(const std::vector<Record>& records, DWORD type, int nth = 0) {
    for (const Record& r : records)
        if (r.type == type && nth-- == 0) return &r;
    return nullptr;
}

int Count(const std::vector<Record>& records, DWORD type) {
    return static_cast<int>(
        std::count_if(records.begin(), records.end(), [&](const Record& r) { return r.type == type; }));
}

// A recording of w x h pixels (its frame in 0.01 mm at 96 dots per inch).
HENHMETAFILE Recorded(int w, int h, const std::function<void(HDC)>& draw) {
    const RECT frame{0, 0, static_cast<int>(std::lround(w * 2540.0 / 96)),
                     static_cast<int>(std::lround(h * 2540.0 / 96))};
    HDC dc = CreateEnhMetaFileW(nullptr, &frame);
    draw(dc);
    return CloseEnhMetaFile(dc);
}

int DifferingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) ++n;
    return n;
}

class Emf : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureQtApplication<QGuiApplication>(); }
};

} // namespace

TEST_F(Emf, TheHeaderDescribesTheWholeFile) {
    const HENHMETAFILE mf = Recorded(40, 30, [](HDC dc) {
        Rectangle(dc, 2, 3, 20, 15);
        Ellipse(dc, 10, 10, 30, 25);
    });
    ASSERT_TRUE(mf);
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> records = Records(b);
    EXPECT_EQ(U32(b, 0), kHeader);
    EXPECT_EQ(U32(b, 4), 108u);
    EXPECT_EQ(U32(b, 40), 0x464D4520u); // " EMF"
    EXPECT_EQ(U32(b, 44), 0x10000u);
    EXPECT_EQ(U32(b, 48), b.size());       // nBytes
    EXPECT_EQ(U32(b, 52), records.size()); // nRecords, header and end included
    EXPECT_EQ(U32(b, 56) & 0xFFFF, 7u);    // object table: index 0 and two slots per kind
    // The frame in 0.01 mm, the bounds in pixels around what was drawn (right and bottom included).
    EXPECT_EQ((RECT{I32(b, 24), I32(b, 28), I32(b, 32), I32(b, 36)}), (RECT{0, 0, 1058, 794}));
    EXPECT_LE(I32(b, 8), 2);
    EXPECT_LE(I32(b, 12), 3);
    EXPECT_GE(I32(b, 16), 29);
    EXPECT_GE(I32(b, 20), 24);
    // The reference device at 96 dots per inch in pixels, millimetres and micrometres.
    const int devW = I32(b, 72), mmW = I32(b, 80), umW = I32(b, 100);
    EXPECT_NEAR(mmW, devW * 25.4 / 96, 0.5);
    EXPECT_NEAR(umW, devW * 25400.0 / 96, 0.5);
    for (const Record& r : records) EXPECT_EQ(r.size % 4, 0u) << r.type;
    ASSERT_EQ(records.back().type, kEof);
    EXPECT_EQ(records.back().size, 20u);
    EXPECT_EQ(records.back().at + 20, b.size());
    const ENHMETAHEADER& h = mf->Header();
    EXPECT_EQ(h.nRecords, records.size());
    EXPECT_EQ(EnhMetaFilePixels(h).cx, 40);
    EXPECT_EQ(EnhMetaFilePixels(h).cy, 30);
}

TEST_F(Emf, ShapesAreRecordedInTheirLogicalUnitsAfterTheStateTheyUse) {
    const HENHMETAFILE mf = Recorded(100, 80, [](HDC dc) {
        Selected pen(dc, CreatePen(PS_SOLID, 3, kRed));
        MoveToEx(dc, 5, 6, nullptr);
        LineTo(dc, 50, 60);
        const POINT tri[] = {{1, 2}, {30, 2}, {15, 40}};
        Polygon(dc, tri, 3);
        const POINT far[] = {{0, 0}, {40000, 10}};
        Polyline(dc, far, 2);
        SetPixel(dc, 7, 8, kRed);
        LineTo(dc, 2000000000, -2000000000); // far beyond any picture: pulled in, the file stays readable
    });
    ASSERT_TRUE(mf);
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> rs = Records(b);
    const Record* pen = Find(rs, kCreatePen);
    ASSERT_TRUE(pen);
    EXPECT_EQ(U32(b, pen->at + 12), static_cast<DWORD>(PS_SOLID));
    EXPECT_EQ(I32(b, pen->at + 16), 3);
    EXPECT_EQ(U32(b, pen->at + 24), kRed);
    const Record* move = Find(rs, kMoveTo);
    const Record* line = Find(rs, kLineTo);
    ASSERT_TRUE(move && line);
    EXPECT_LT(pen->at, line->at); // the pen is made and selected before the line that uses it
    EXPECT_EQ((POINT{I32(b, move->at + 8), I32(b, move->at + 12)}), (POINT{5, 6}));
    EXPECT_EQ((POINT{I32(b, line->at + 8), I32(b, line->at + 12)}), (POINT{50, 60}));
    const Record* poly = Find(rs, kPolygon16);
    ASSERT_TRUE(poly);
    EXPECT_EQ(
        (RECT{I32(b, poly->at + 8), I32(b, poly->at + 12), I32(b, poly->at + 16), I32(b, poly->at + 20)}),
        (RECT{1, 2, 30, 40})); // the bounds, right and bottom included
    EXPECT_EQ(U32(b, poly->at + 24), 3u);
    EXPECT_EQ(b[poly->at + 36], 15); // third point: 15, 40 in 16 bits each
    EXPECT_EQ(b[poly->at + 38], 40);
    // Points that do not fit in 16 bits take the 32-bit record.
    const Record* wide = Find(rs, kPolyline);
    ASSERT_TRUE(wide);
    EXPECT_EQ(I32(b, wide->at + 36), 40000);
    const Record* far = Find(rs, kLineTo, 1);
    ASSERT_TRUE(far);
    EXPECT_EQ((POINT{I32(b, far->at + 8), I32(b, far->at + 12)}), (POINT{1 << 22, -(1 << 22)}));
    const Record* pixel = Find(rs, kSetPixel);
    ASSERT_TRUE(pixel);
    EXPECT_EQ(U32(b, pixel->at + 16), kRed);
}

TEST_F(Emf, StateIsWrittenOnlyWhenItChangesWhateverChangedIt) {
    const HENHMETAFILE mf = Recorded(60, 40, [](HDC dc) {
        HPEN red = CreatePen(PS_SOLID, 1, kRed);
        HGDIOBJ old = SelectObject(dc, red);
        Rectangle(dc, 1, 1, 10, 10);
        Rectangle(dc, 2, 2, 11, 11); // the same pen: nothing new
        const int saved = SaveDC(dc);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        SetTextColor(dc, kRed);
        Rectangle(dc, 3, 3, 12, 12);
        RestoreDC(dc, saved); // back to red, made anew for the next shape
        Rectangle(dc, 4, 4, 13, 13);
        // A DC pen takes the context's pen colour at the time of drawing.
        SelectObject(dc, GetStockObject(DC_PEN));
        SetDCPenColor(dc, RGB(0, 0, 255));
        Rectangle(dc, 5, 5, 14, 14);
        SelectObject(dc, old);
        DeleteObject(red);
    });
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> rs = Records(b);
    EXPECT_EQ(Count(rs, kRectangle), 5);
    // Red, black, red again, the DC pen in blue: four pens, each replacing the last.
    const int pens = Count(rs, kCreatePen) + Count(rs, kExtPen);
    EXPECT_EQ(pens, 4);
    EXPECT_EQ(Count(rs, kSetTextColor), 3); // the first state, red, black again after RestoreDC
    const Record* blue = Find(rs, kExtPen, Count(rs, kExtPen) - 1);
    ASSERT_TRUE(blue);
    EXPECT_EQ(U32(b, blue->at + 40), RGB(0, 0, 255));
    // Two slots per kind, taken in turn: the new pen is selected, then the old one deleted.
    const Record* sel = Find(rs, kSelect, 3);
    const Record* del = Find(rs, kDelete);
    ASSERT_TRUE(sel && del);
    EXPECT_NE(U32(b, sel->at + 8), U32(b, del->at + 8));
    // Nothing drawn before the first shape means no state written before it but the first.
    EXPECT_EQ(Count(rs, kSetMapMode), 1);
}

TEST_F(Emf, TextRecordsCarryTheStringItsAdvancesAndTheFont) {
    const String text = u"Ток 5";
    SIZE extent{};
    LOGFONTW lf;
    lf.lfHeight = -13;
    lf.lfFaceName = u"Arial";
    const HENHMETAFILE mf = Recorded(80, 30, [&](HDC dc) {
        Selected font(dc, CreateFontIndirectW(lf));
        TextOutW(dc, 4, 5, text.data(), static_cast<int>(text.size()));
        GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
    });
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> rs = Records(b);
    const Record* f = Find(rs, kFont);
    ASSERT_TRUE(f);
    EXPECT_EQ(f->size, 104u);
    EXPECT_EQ(I32(b, f->at + 12), -13);
    EXPECT_EQ(b[f->at + 40], 'A');
    EXPECT_EQ(b[f->at + 48], 'l');
    const Record* t = Find(rs, kText);
    ASSERT_TRUE(t);
    EXPECT_GT(f->at, 0u);
    EXPECT_LT(f->at, t->at);
    EXPECT_EQ((POINT{I32(b, t->at + 36), I32(b, t->at + 40)}), (POINT{4, 5}));
    const DWORD n = U32(b, t->at + 44), offString = U32(b, t->at + 48), offDx = U32(b, t->at + 72);
    ASSERT_EQ(n, text.size());
    for (DWORD i = 0; i < n; ++i)
        EXPECT_EQ(b[t->at + offString + 2 * i] | (b[t->at + offString + 2 * i + 1] << 8), text[i]);
    int advance = 0;
    for (DWORD i = 0; i < n; ++i) advance += I32(b, t->at + offDx + 4 * i);
    EXPECT_EQ(advance, extent.cx);
    EXPECT_LE(offDx + 4 * n, t->size);
    // What the text touches lies on the side of its point that the alignment gives, in the
    // record and in the header: readers elsewhere size the picture by it.
    const RECT record{I32(b, t->at + 8), I32(b, t->at + 12), I32(b, t->at + 16), I32(b, t->at + 20)};
    const RECT header{I32(b, 8), I32(b, 12), I32(b, 16), I32(b, 20)};
    for (const RECT& r : {record, header}) {
        EXPECT_EQ(r.Left, 4);
        EXPECT_EQ(r.Top, 5);
        EXPECT_NEAR(r.Right, 4 + extent.cx, 1);
        EXPECT_NEAR(r.Bottom, 5 + extent.cy, 1);
    }
    const HENHMETAFILE right = Recorded(80, 30, [&](HDC dc) {
        Selected font(dc, CreateFontIndirectW(lf));
        SetTextAlign(dc, TA_RIGHT | TA_BOTTOM);
        TextOutW(dc, 70, 25, text.data(), static_cast<int>(text.size()));
    });
    const std::vector<Byte>& rb = right->Bytes();
    EXPECT_NEAR(I32(rb, 8), 70 - extent.cx, 1);
    EXPECT_NEAR(I32(rb, 12), 25 - extent.cy, 1);
    EXPECT_NEAR(I32(rb, 16), 70, 1);
    EXPECT_NEAR(I32(rb, 20), 25, 1);
}

TEST_F(Emf, BlitsBecomeBottomUpDibsAndFillsPatternBlits) {
    Surface source(3, 2);
    SetPixel(source.dc, 0, 0, kRed);           // top left
    SetPixel(source.dc, 2, 1, RGB(0, 0, 255)); // bottom right
    const HENHMETAFILE mf = Recorded(40, 30, [&](HDC dc) {
        BitBlt(dc, 10, 12, 3, 2, source.dc, 0, 0, SRCCOPY);
        HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
        FillRect(dc, RECT{1, 2, 6, 9}, green);
        DeleteObject(green);
    });
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> rs = Records(b);
    const Record* dib = Find(rs, kStretchDib);
    ASSERT_TRUE(dib);
    const std::size_t info = dib->at + U32(b, dib->at + 48), bits = dib->at + U32(b, dib->at + 56);
    EXPECT_EQ(U32(b, info), 40u);   // BITMAPINFOHEADER
    EXPECT_EQ(I32(b, info + 4), 3); // width
    EXPECT_EQ(I32(b, info + 8), 2); // height, positive: bottom row first
    EXPECT_EQ(b[info + 14], 24);    // bits per pixel
    EXPECT_EQ(U32(b, dib->at + 68), static_cast<DWORD>(SRCCOPY));
    EXPECT_EQ((POINT{I32(b, dib->at + 72), I32(b, dib->at + 76)}), (POINT{3, 2})); // the destination's size
    EXPECT_EQ((POINT{I32(b, dib->at + 24), I32(b, dib->at + 28)}), (POINT{10, 12}));
    // Bottom row first, blue-green-red, rows of 12 bytes (9 padded to 4).
    EXPECT_EQ(b[bits + 6], 255); // bottom right: blue
    EXPECT_EQ(b[bits + 8], 0);
    EXPECT_EQ(b[bits + 12 + 2], 255); // top left: red
    EXPECT_EQ(b[bits + 12 + 0], 0);
    const Record* fill = Find(rs, kBitBlt);
    ASSERT_TRUE(fill);
    EXPECT_EQ(U32(b, fill->at + 40), static_cast<DWORD>(PATCOPY));
    EXPECT_EQ(U32(b, fill->at + 88), 0u); // no source bitmap
    const Record* brush = Find(rs, kCreateBrush, Count(rs, kCreateBrush) - 1);
    ASSERT_TRUE(brush);
    EXPECT_EQ(U32(b, brush->at + 16), RGB(0, 255, 0));
}

TEST_F(Emf, ClipRegionsAreRecordedInDevicePixels) {
    const HENHMETAFILE mf = Recorded(40, 30, [](HDC dc) {
        IntersectClipRect(dc, 5, 6, 15, 16);
        Rectangle(dc, 0, 0, 40, 30);
        SelectClipRgn(dc, nullptr);
        Rectangle(dc, 0, 0, 40, 30);
    });
    const std::vector<Byte>& b = mf->Bytes();
    const std::vector<Record> rs = Records(b);
    ASSERT_EQ(Count(rs, kClip), 2); // the rectangle before the first shape, then none
    const Record* c = Find(rs, kClip, 0);
    EXPECT_EQ(U32(b, c->at + 8), 48u); // one rectangle of region data
    EXPECT_EQ(U32(b, c->at + 12), static_cast<DWORD>(RGN_COPY));
    EXPECT_EQ(U32(b, c->at + 24), 1u); // rectangles
    EXPECT_EQ((RECT{I32(b, c->at + 48), I32(b, c->at + 52), I32(b, c->at + 56), I32(b, c->at + 60)}),
              (RECT{5, 6, 15, 16}));
    EXPECT_EQ(U32(b, Find(rs, kClip, 1)->at + 8), 0u);
}

namespace {

// Every drawing call the canvas and the panels make, with the state around them.
void DrawEverything(HDC dc) {
    LOGFONTW lf;
    lf.lfHeight = -12;
    lf.lfFaceName = u"Arial";
    HFONT font = CreateFontIndirectW(lf);
    lf.lfEscapement = 900;
    HFONT turned = CreateFontIndirectW(lf);
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 160));
    HPEN dashed = CreatePen(PS_DASH, 1, RGB(200, 0, 0));
    const LOGBRUSH lb{BS_SOLID, RGB(0, 120, 0), 0};
    HPEN flat = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, lb, 0, nullptr);
    HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 255));
    HBRUSH yellow = CreateSolidBrush(RGB(255, 220, 0));
    HBITMAP tile = CreateBitmapSurface(4, 4, GdiPixelFormat::Rgb32);
    {
        HDC t = CreateCompatibleDC(nullptr);
        SelectObject(t, tile);
        SetPixel(t, 1, 1, RGB(255, 0, 255));
        SetPixel(t, 2, 3, RGB(0, 128, 128));
        DeleteDC(t);
    }
    HBRUSH pattern = CreatePatternBrush(tile);
    // A gradient as the canvas draws one: bands of a pattern blit.
    for (int i = 0; i < 32; ++i) {
        HBRUSH band = CreateSolidBrush(RGB(static_cast<BYTE>(i * 8), 64, static_cast<BYTE>(255 - i * 8)));
        HGDIOBJ old = SelectObject(dc, band);
        PatBlt(dc, 4 + i * 4, 4, 4, 30, PATCOPY);
        SelectObject(dc, old);
        DeleteObject(band);
    }
    SelectObject(dc, wide);
    SelectObject(dc, yellow);
    Rectangle(dc, 140, 6, 190, 40);
    RoundRect(dc, 6, 40, 60, 80, 12, 10);
    SelectObject(dc, dashed);
    SelectObject(dc, hatch);
    SetBkMode(dc, TRANSPARENT);
    Ellipse(dc, 64, 40, 120, 90);
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, RGB(230, 230, 255));
    Pie(dc, 124, 44, 180, 100, 180, 72, 124, 72);
    SelectObject(dc, flat);
    SelectObject(dc, pattern);
    const POINT star[] = {{20, 90}, {40, 140}, {0, 110}, {44, 110}, {4, 140}};
    SetPolyFillMode(dc, WINDING);
    Polygon(dc, star, 5);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    const POINT zig[] = {{50, 100}, {60, 130}, {70, 100}, {80, 130}};
    Polyline(dc, zig, 4);
    MoveToEx(dc, 90, 100, nullptr);
    PolylineTo(dc, zig, 2);
    Arc(dc, 90, 100, 130, 140, 130, 120, 90, 120);
    Chord(dc, 134, 104, 170, 140, 170, 122, 134, 122);
    SetROP2(dc, R2_XORPEN);
    SelectObject(dc, GetStockObject(WHITE_PEN));
    MoveToEx(dc, 0, 60, nullptr);
    LineTo(dc, 200, 60);
    SetROP2(dc, R2_COPYPEN);
    // Text: plain, opaque, turned, centred, with spacing, through a clip.
    SelectObject(dc, font);
    SetTextColor(dc, RGB(128, 0, 0));
    const String words = u"Архив 12:30 kWh";
    TextOutW(dc, 8, 146, words.data(), static_cast<int>(words.size()));
    SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    SetTextCharacterExtra(dc, 2);
    TextOutW(dc, 150, 170, words.data(), 5);
    SetTextCharacterExtra(dc, 0);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    SelectObject(dc, turned);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, 186, 140, words.data(), 5);
    const int saved = SaveDC(dc);
    HRGN oval = CreateEllipticRgn(10, 150, 90, 190);
    SelectClipRgn(dc, oval);
    DeleteObject(oval);
    SelectObject(dc, yellow);
    Rectangle(dc, 0, 150, 100, 200);
    RestoreDC(dc, saved);
    // A path stroked and filled, and a path used as a clip.
    SelectObject(dc, wide);
    BeginPath(dc);
    MoveToEx(dc, 110, 150, nullptr);
    LineTo(dc, 150, 190);
    LineTo(dc, 110, 190);
    CloseFigure(dc);
    EndPath(dc);
    StrokeAndFillPath(dc);
    BeginPath(dc);
    Ellipse(dc, 160, 150, 200, 190);
    EndPath(dc);
    SelectClipPath(dc, RGN_AND);
    FillRect(dc, RECT{150, 140, 200, 200}, hatch);
    SelectClipRgn(dc, nullptr);
    // A drawing mapped into a smaller window, as printing does.
    const int mapped = SaveDC(dc);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 200, 200, nullptr);
    SetViewportExtEx(dc, 100, 100, nullptr);
    SetViewportOrgEx(dc, 100, 100, nullptr);
    SelectObject(dc, wide);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 10, 10, 150, 150);
    RestoreDC(dc, mapped);
    // Pixels and pictures.
    for (int i = 0; i < 10; ++i) SetPixel(dc, 120 + i, 196, RGB(255, 0, 0));
    HDC t = CreateCompatibleDC(nullptr);
    SelectObject(t, tile);
    StretchBlt(dc, 170, 190, 24, 8, t, 0, 0, 4, 4, SRCCOPY);
    AlphaBlend(dc, 60, 180, 16, 16, t, 0, 0, 4, 4, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0});
    dc->DrawImage(QRect(80, 180, 12, 12), BitmapImage(tile), qRgb(255, 255, 255));
    DeleteDC(t);
    SelectObject(dc, GetStockObject(BLACK_PEN));
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    for (HGDIOBJ o :
         std::initializer_list<HGDIOBJ>{font, turned, wide, dashed, flat, hatch, yellow, pattern, tile})
        DeleteObject(o);
}

} // namespace

TEST_F(Emf, PlaybackGivesTheSamePixelsAsDrawingDirectly) {
    for (const bool antialiased : {false, true}) {
        GdiSetTextAntialiasing(antialiased);
        Surface direct(200, 200);
        DrawEverything(direct.dc);
        const HENHMETAFILE mf = Recorded(200, 200, DrawEverything);
        ASSERT_TRUE(mf);
        // Through the file's bytes, as a file read back gives them.
        String error;
        const HENHMETAFILE read = EnhMetaFile::FromBytes(mf->Bytes(), &error);
        ASSERT_TRUE(read) << UTF8Encode(error);
        Surface played(200, 200);
        ASSERT_TRUE(PlayEnhMetaFile(played.dc, read, RECT{0, 0, 200, 200}));
        EXPECT_EQ(DifferingPixels(direct.Image(), played.Image()), 0) << "antialiased text " << antialiased;
    }
    GdiSetTextAntialiasing(true);
}

TEST_F(Emf, PlaybackScalesTheFrameOntoTheTargetRectangle) {
    const HENHMETAFILE mf = Recorded(40, 30, [](HDC dc) {
        Selected pen(dc, GetStockObject(NULL_PEN));
        Selected brush(dc, CreateSolidBrush(kRed));
        Rectangle(dc, 10, 10, 31, 21); // without a pen: 10..29 by 10..19
    });
    struct Row {
        RECT target;
        RECT expected; // the red pixels, right and bottom excluded
    };
    // The corners scale with the frame; the pen-less fill then leaves out its right and bottom edge,
    // as the same call under that mapping does.
    for (const Row& row :
         {Row{RECT{0, 0, 40, 30}, RECT{10, 10, 30, 20}}, Row{RECT{0, 0, 80, 60}, RECT{20, 20, 61, 41}},
          Row{RECT{50, 40, 70, 55}, RECT{55, 45, 65, 50}}}) {
        Surface s(100, 100);
        PlayEnhMetaFile(s.dc, mf, row.target);
        EXPECT_EQ(InkBox(s), row.expected) << row.target.Left << "," << row.target.Right;
        EXPECT_EQ(s.At(row.expected.Left, row.expected.Top), kRed);
    }
    // A target with a mapping of its own: the rectangle is in its logical units.
    Surface s(100, 100);
    SetMapMode(s.dc, MM_ANISOTROPIC);
    SetWindowExtEx(s.dc, 200, 200, nullptr);
    SetViewportExtEx(s.dc, 100, 100, nullptr);
    PlayEnhMetaFile(s.dc, mf, RECT{0, 0, 80, 60});
    EXPECT_EQ(InkBox(s), (RECT{10, 10, 30, 20}));
    // Text played into a box narrower than the frame's proportions keeps to the width it was
    // recorded at, scaled as the frame is: the font follows the height alone.
    LOGFONTW lf;
    lf.lfHeight = -16;
    lf.lfFaceName = u"Arial";
    const String text = u"Заголовок";
    const HENHMETAFILE words = Recorded(200, 40, [&](HDC dc) {
        Selected font(dc, CreateFontIndirectW(lf));
        TextOutW(dc, 0, 0, text.data(), static_cast<int>(text.size()));
    });
    Surface wide(200, 40), narrow(200, 40);
    PlayEnhMetaFile(wide.dc, words, RECT{0, 0, 200, 40});
    PlayEnhMetaFile(narrow.dc, words, RECT{0, 0, 100, 40});
    const RECT full = InkBox(wide), squeezed = InkBox(narrow);
    EXPECT_GT(full.Right, 40);
    EXPECT_LE(squeezed.Right, full.Right / 2 + 2);
    EXPECT_GE(squeezed.Right, full.Right / 2 - 4);
}

TEST_F(Emf, PlaybackLeavesTheTargetsStateAndStaysInsideItsClip) {
    const HENHMETAFILE mf = Recorded(40, 30, [](HDC dc) {
        SelectClipRgn(dc, nullptr);
        SetTextColor(dc, kRed);
        SetMapMode(dc, MM_ANISOTROPIC);
        SetWindowExtEx(dc, 2, 2, nullptr);
        SetViewportExtEx(dc, 1, 1, nullptr);
        Selected brush(dc, CreateSolidBrush(kRed));
        Rectangle(dc, 0, 0, 80, 60);
    });
    Surface s(40, 30);
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 255, 0));
    SelectObject(s.dc, pen);
    SetTextColor(s.dc, RGB(1, 2, 3));
    IntersectClipRect(s.dc, 5, 5, 15, 15);
    PlayEnhMetaFile(s.dc, mf, RECT{0, 0, 40, 30});
    EXPECT_EQ(InkBox(s), (RECT{5, 5, 15, 15}));
    EXPECT_EQ(GetCurrentObject(s.dc, OBJ_PEN), pen);
    EXPECT_EQ(GetTextColor(s.dc), RGB(1, 2, 3));
    EXPECT_EQ(GetMapMode(s.dc), MM_TEXT);
    RECT box;
    GetClipBox(s.dc, &box);
    EXPECT_EQ(box, (RECT{5, 5, 15, 15}));
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST_F(Emf, AFrameLessRecordingIsAsLargeAsWhatWasDrawn) {
    HDC dc = CreateEnhMetaFileW(nullptr, nullptr);
    Rectangle(dc, 10, 20, 50, 40);
    EXPECT_EQ(GetPixel(dc, 10, 20), CLR_INVALID); // a recording has no pixels to read
    const HENHMETAFILE mf = CloseEnhMetaFile(dc);
    ASSERT_TRUE(mf);
    const SIZE size = EnhMetaFilePixels(mf->Header());
    EXPECT_NEAR(size.cx, 40, 1);
    EXPECT_NEAR(size.cy, 20, 1);
    EXPECT_FALSE(CloseEnhMetaFile(dc)); // already freed
}

// ---------------------------------------------------------------------------
// Damaged files

namespace {

std::vector<Byte> Sample() {
    return Recorded(200, 200, DrawEverything)->Bytes();
}

void PutU32(std::vector<Byte>& b, std::size_t at, DWORD v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<Byte>(v >> (8 * i));
}

} // namespace

TEST_F(Emf, DamagedFilesAreRefusedWithTheirReason) {
    const std::vector<Byte> good = Sample();
    const std::vector<Record> rs = Records(good);
    struct Row {
        const char* rule;
        std::function<void(std::vector<Byte>&)> damage;
    };
    const Row rows[] = {
        {"Empty", [](std::vector<Byte>& b) { b.clear(); }},
        {"Truncated", [](std::vector<Byte>& b) { b.resize(b.size() / 2); }},
        {"NoSignature", [](std::vector<Byte>& b) { b[40] = 'X'; }},
        {"LengthDiffersFromHeader", [](std::vector<Byte>& b) { b.push_back(0); }},
        {"RecordCountDiffers", [](std::vector<Byte>& b) { PutU32(b, 52, U32(b, 52) + 1); }},
        {"RecordSizeNotAligned", [&](std::vector<Byte>& b) { PutU32(b, rs[3].at + 4, 13); }},
        {"RecordSizePastTheEnd", [&](std::vector<Byte>& b) { PutU32(b, rs[3].at + 4, 0x7FFFFFF0); }},
        {"RecordSizeZero", [&](std::vector<Byte>& b) { PutU32(b, rs[3].at + 4, 0); }},
        {"NoEndRecord", [&](std::vector<Byte>& b) { PutU32(b, rs.back().at, 70); }},
        {"SecondHeader", [&](std::vector<Byte>& b) { PutU32(b, rs[3].at, 1); }},
        {"PolygonCountPastItsRecord",
         [&](std::vector<Byte>& b) { PutU32(b, Find(rs, kPolygon16)->at + 24, 1000000); }},
        {"TextPastItsRecord", [&](std::vector<Byte>& b) { PutU32(b, Find(rs, kText)->at + 44, 0x40000000); }},
        {"BitmapTallerThanItsBits",
         [&](std::vector<Byte>& b) {
             const Record* d = Find(rs, kStretchDib);
             PutU32(b, d->at + U32(b, d->at + 48) + 8, 5000);
         }},
        {"BitmapOfAnUnknownDepth",
         [&](std::vector<Byte>& b) {
             const Record* d = Find(rs, kStretchDib);
             b[d->at + U32(b, d->at + 48) + 14] = 7;
         }},
        {"HugeCoordinate",
         [&](std::vector<Byte>& b) { PutU32(b, Find(rs, kRectangle)->at + 8, 0x40000000); }},
        {"HugeFont", [&](std::vector<Byte>& b) { PutU32(b, Find(rs, kFont)->at + 12, 0x10000000); }},
    };
    for (const Row& row : rows) {
        std::vector<Byte> bytes = good;
        row.damage(bytes);
        String error;
        EXPECT_FALSE(EnhMetaFile::FromBytes(std::move(bytes), &error)) << row.rule;
        EXPECT_FALSE(error.empty()) << row.rule;
    }
    String error;
    EXPECT_TRUE(EnhMetaFile::FromBytes(good, &error)) << UTF8Encode(error);
}

// A source rectangle is the record's own number: the pixels it names beyond the
// bitmap are not drawn, and no picture of its size is made.
TEST_F(Emf, APictureRecordsSourceBeyondItsBitmapDrawsTheBitmapOnly) {
    Surface dark(4, 2);
    FillRect(dark.dc, RECT{0, 0, 4, 2}, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    struct Row {
        const char* picture;
        DWORD type;
        std::size_t sourceWidth; // the field's place in the record
        std::function<void(HDC)> draw;
        RECT target, ink;
    };
    const Row rows[] = {
        {"stretched, played mirrored", kStretchDib, 40,
         [&](HDC dc) { StretchBlt(dc, 0, 0, 20, 10, dark.dc, 0, 0, 4, 2, SRCCOPY); }, RECT{40, 0, 0, 30},
         RECT{30, 0, 40, 10}},
        {"blended", kAlphaBlend, 100,
         [&](HDC dc) {
             AlphaBlend(dc, 0, 0, 20, 10, dark.dc, 0, 0, 4, 2, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0});
         },
         RECT{0, 0, 40, 30}, RECT{0, 0, 10, 10}},
        {"keyed", kTransparentBlt, 100,
         [&](HDC dc) {
             QImage image(4, 2, QImage::Format_RGB32);
             image.fill(Qt::black);
             dc->DrawImage(QRect(0, 0, 20, 10), image, qRgb(255, 255, 255));
         },
         RECT{0, 0, 40, 30}, RECT{0, 0, 10, 10}},
    };
    for (const Row& row : rows) {
        std::vector<Byte> bytes = Recorded(40, 30, row.draw)->Bytes();
        const std::vector<Record> records = Records(bytes);
        const Record* picture = Find(records, row.type);
        ASSERT_TRUE(picture) << row.picture;
        PutU32(bytes, picture->at + row.sourceWidth, 8); // twice the bitmap's width
        String error;
        const HENHMETAFILE mf = EnhMetaFile::FromBytes(std::move(bytes), &error);
        ASSERT_TRUE(mf) << row.picture << ": " << UTF8Encode(error);
        Surface played(40, 30);
        PlayEnhMetaFile(played.dc, mf, row.target);
        EXPECT_EQ(InkBox(played), row.ink) << row.picture;
    }
}

TEST_F(Emf, AnAbsurdReferenceDeviceKeepsThePictureSizeInReach) {
    std::vector<Byte> bytes = Recorded(40, 30, [](HDC dc) { Rectangle(dc, 0, 0, 10, 10); })->Bytes();
    PutU32(bytes, 72, 0x7FFFFFFF); // the device's width in pixels
    PutU32(bytes, 100, 1);         // and in micrometres
    String error;
    const HENHMETAFILE mf = EnhMetaFile::FromBytes(std::move(bytes), &error);
    ASSERT_TRUE(mf) << UTF8Encode(error);
    EXPECT_EQ(EnhMetaFilePixels(mf->Header()).cx, 1 << 22);
}

// Qt keeps the box it draws for a character no face has as a picture of the font's size: at the
// tallest font a file may ask for, in either sign, a quarter of a gigabyte for one character.
// Recorded and played where memory may grow by 64 MB only, such text still draws.
TEST_F(Emf, TheTallestFontsDrawInModestMemory) {
    const String text = u"\u0786\u0D83"; // Thaana and Sinhala: no face the program installs has them
    constexpr int tallest = 1 << 14;     // as tall as a file's font may be
    for (const int height : {-tallest, tallest}) {
        const pid_t child = ::fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            std::ifstream statm("/proc/self/statm");
            unsigned long long pages = 0;
            statm >> pages;
            rlimit limit{};
            ::getrlimit(RLIMIT_AS, &limit);
            limit.rlim_cur = pages * static_cast<unsigned long long>(::sysconf(_SC_PAGESIZE)) + (64 << 20);
            if (pages == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(2);
            LOGFONTW lf;
            lf.lfHeight = height;
            lf.lfFaceName = u"Arial";
            const HENHMETAFILE mf = Recorded(64, 48, [&](HDC dc) {
                Selected font(dc, CreateFontIndirectW(lf));
                TextOutW(dc, 0, 0, text.data(), static_cast<int>(text.size()));
            });
            Surface played(64, 48);
            PlayEnhMetaFile(played.dc, mf, RECT{0, 0, 64, 48});
            ::_exit(played.Inked().empty() ? 1 : 0);
        }
        int status = -1;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << height << ": status " << status;
    }
}

TEST_F(Emf, RandomlyDamagedFilesAreRefusedOrPlayWithoutHarm) {
    const std::vector<Byte> good = Sample();
    std::mt19937 random(20261207);
    Surface small(64, 48);
    int refused = 0, played = 0;
    for (int round = 0; round < 1500; ++round) {
        std::vector<Byte> bytes = good;
        const int damages = 1 + static_cast<int>(random() % 4);
        for (int d = 0; d < damages; ++d) {
            const std::size_t at = random() % bytes.size();
            switch (random() % 4) {
            case 0:
                bytes[at] = static_cast<Byte>(random());
                break;
            case 1: // a field set to an extreme
                if (at + 4 <= bytes.size())
                    PutU32(bytes, at & ~std::size_t{3}, random() % 2 ? 0xFFFFFFFF : 0x80000000);
                break;
            case 2: // a small change of a number, which the size checks cannot see
                if (at + 4 <= bytes.size())
                    PutU32(bytes, at & ~std::size_t{3}, U32(bytes, at & ~std::size_t{3}) + random() % 64);
                break;
            default:
                bytes.resize(at);
                break;
            }
            if (bytes.empty()) break;
        }
        String error;
        const HENHMETAFILE mf = EnhMetaFile::FromBytes(std::move(bytes), &error);
        if (!mf) {
            EXPECT_FALSE(error.empty());
            ++refused;
            continue;
        }
        ++played;
        PlayEnhMetaFile(small.dc, mf, RECT{0, 0, 64, 48});
        PlayEnhMetaFile(small.dc, mf, RECT{60, 40, 4, 2}); // mirrored and shrunk
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(played, 0);
}
