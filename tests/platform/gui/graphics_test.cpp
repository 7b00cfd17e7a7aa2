#include "platform/gui/graphics.h"

#include "platform/core/sysutils.h"
#include "tests/support/guiprobe.h"
#include "tests/support/tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

TEST(Colors, SystemColoursResolveAndOthersPassThrough) {
    EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(ColorToRGB(clBtnShadow), 0xA0A0A0);
    EXPECT_EQ(ColorToRGB(clBtnHighlight), 0xFFFFFF);
    EXPECT_EQ(ColorToRGB(clWindowText), 0);
    EXPECT_EQ(ColorToRGB(clRed), 0x0000FF);
    EXPECT_EQ(ColorToRGB(clNone), 0x1FFFFFFF);
    EXPECT_EQ(ColorToRGB(clDefault), 0x20000000);
    EXPECT_EQ(MakeColor(1, 2, 3), 0x030201);
}

TEST(Colors, IdentifiersAndTextRoundTrip) {
    std::string ident;
    ASSERT_TRUE(ColorToIdent(clBtnFace, ident));
    EXPECT_EQ(ident, "clBtnFace");
    std::int32_t c = 0;
    ASSERT_TRUE(IdentToColor("CLNONE", c));
    EXPECT_EQ(c, clNone);
    EXPECT_FALSE(IdentToColor("clNoSuchColour", c));
    EXPECT_EQ(ColorToString(static_cast<TColor>(0x123456)), u"$00123456");
    EXPECT_EQ(StringToColor(u"$00123456"), 0x123456);
    EXPECT_EQ(StringToColor(u"clWindow"), clWindow);
    EXPECT_EQ(StringToColor(u"255"), clRed);
    EXPECT_THROW(StringToColor(u"reddish"), EConvertError);
}

TEST(Colors, ColourPropertiesStreamAsIntegersWithIdentifiers) {
    TPen pen;
    const PropInfo& p = PropOf(pen, "Color");
    EXPECT_EQ(p.kind, PropKind::Integer);
    ASSERT_NE(p.idents, nullptr);
    std::int64_t v = 0;
    ASSERT_TRUE(p.idents->fromIdent("clBtnShadow", v));
    p.setOrd(pen, v);
    EXPECT_EQ(pen.GetColor(), clBtnShadow);
    TFont font;
    EXPECT_EQ(PropOf(font, "Charset").kind, PropKind::Integer);
    EXPECT_EQ(PropOf(font, "Style").kind, PropKind::Set);
}

TEST(Font, SizeAndHeightFollowTheResolution) {
    TFont f;
    EXPECT_EQ(f.GetHeight(), -11);
    EXPECT_EQ(f.GetSize(), 8);
    f.SetSize(10);
    EXPECT_EQ(f.GetHeight(), -13);
    f.SetPixelsPerInch(600);
    EXPECT_EQ(f.GetHeight(), -13); // the pixel height stays
    EXPECT_EQ(f.GetSize(), 2);

    TFont printer;
    printer.SetPixelsPerInch(600);
    TFont screen;
    screen.SetSize(12);
    printer.Assign(&screen); // another resolution: the point size travels
    EXPECT_EQ(printer.GetSize(), 12);
    EXPECT_EQ(printer.GetHeight(), -100);
    TFont other;
    other.Assign(&screen);
    EXPECT_EQ(other.GetHeight(), screen.GetHeight());

    // A height from a file as far as a number goes draws as the tallest font there is.
    probe::EnsureApplication();
    TBitmap b;
    b.SetSize(10, 10);
    TCanvas* c = b.GetCanvas();
    c->GetFont()->SetHeight(-16384);
    const int tallest = c->TextHeight(u"x");
    EXPECT_GT(tallest, 16384);
    for (const int h : {-2147483647 - 1, 2147483647}) {
        c->GetFont()->SetHeight(h);
        EXPECT_NEAR(c->TextHeight(u"x"), tallest, tallest / 4) << h;
    }
}

TEST(StyleObjects, ChangesAreReportedOnlyWhenAValueChanges) {
    TPen pen;
    int changes = 0;
    pen.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    pen.SetWidth(1);
    pen.SetColor(clBlack);
    EXPECT_EQ(changes, 0);
    pen.SetWidth(3);
    pen.SetMode(pmNotXor);
    EXPECT_EQ(changes, 2);

    TBrush brush;
    brush.SetStyle(bsClear);
    brush.SetColor(clRed); // a colour makes a clear brush solid
    EXPECT_EQ(brush.GetStyle(), bsSolid);

    TPen copy;
    copy.Assign(&pen);
    EXPECT_EQ(copy.GetWidth(), 3);
    EXPECT_EQ(copy.GetMode(), pmNotXor);
    EXPECT_THROW(copy.Assign(&brush), EConvertError);
    // A width from a file is held to the largest picture's side.
    copy.SetWidth(2147483647);
    EXPECT_EQ(copy.GetWidth(), kLargestPictureSide);
}

TEST(Fonts, KnownFacesAreSubstituted) {
    EXPECT_EQ(SubstituteFontName(u"arial"), u"Liberation Sans");
    EXPECT_EQ(SubstituteFontName(u"Courier New"), u"Liberation Mono");
    EXPECT_EQ(SubstituteFontName(u"Times New Roman"), u"Liberation Serif");
    EXPECT_EQ(SubstituteFontName(u"DejaVu Sans"), u"DejaVu Sans");
}

// ---------------------------------------------------------------------------
// Canvas and pictures

#include "platform/core/streams.h"
#include "tests/platform/win32/qtapp.h"

#include <QApplication>
#include <filesystem>

namespace {
TColor Px(TBitmap& b, int x, int y) {
    return b.GetCanvas()->GetPixel(x, y);
}
} // namespace

TEST(Canvas, SelectsObjectsOnlyWhenTheyChanged) {
    EnsureQtApplication<QApplication>();
    TBitmap bmp;
    bmp.SetSize(60, 20);
    TCanvas* c = bmp.GetCanvas();
    HDC dc = c->GetHandle();
    c->GetFont()->SetColor(clRed);
    c->TextWidth(u"x"); // selects the font: text colour red
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clRed));
    SetTextColor(dc, RGB(0, 0, 255)); // a direct change survives further canvas work
    c->TextOut(0, 0, u"x");
    c->Rectangle(0, 0, 3, 3);
    EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 255));
    c->GetFont()->SetColor(clGreen);
    c->TextOut(0, 0, u"x");
    EXPECT_EQ(GetTextColor(dc), static_cast<COLORREF>(clGreen));

    // The pen's mode becomes the mix mode; the brush sets the background.
    c->GetPen()->SetMode(pmNotXor);
    c->LineTo(5, 5);
    EXPECT_EQ(GetROP2(dc), R2_NOTXORPEN);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(0, 0, 2, 2);
    EXPECT_EQ(GetBkMode(dc), TRANSPARENT);
    c->GetBrush()->SetColor(clYellow);
    c->FillRect(TRect(0, 0, 1, 1));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    EXPECT_EQ(GetBkColor(dc), static_cast<COLORREF>(clYellow));
}

TEST(Canvas, AnAdoptedPenHandleDrawsAsCreated) {
    TBitmap bmp;
    bmp.SetSize(30, 30);
    TCanvas* c = bmp.GetCanvas();
    const LOGBRUSH lb{BS_SOLID, RGB(255, 0, 0), 0};
    c->GetPen()->SetHandle(ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_FLAT, 3, lb, 0, nullptr));
    c->MoveTo(5, 10);
    c->LineTo(20, 10);
    EXPECT_EQ(Px(bmp, 10, 9), clRed);
    EXPECT_EQ(Px(bmp, 10, 11), clRed);
    EXPECT_EQ(Px(bmp, 10, 12), clWhite);
    // Copying the pen copies the adopted description too.
    TPen copy;
    copy.Assign(c->GetPen());
    LOGPEN lp;
    ASSERT_GT(GetObjectW(copy.GetHandle(), &lp), 0);
    EXPECT_EQ(lp.lopnWidth.X, 3);
    // A property change goes back to a pen made from the properties.
    c->GetPen()->SetColor(clBlue);
    c->MoveTo(5, 20);
    c->LineTo(20, 20);
    EXPECT_EQ(Px(bmp, 10, 20), clBlue);
    EXPECT_EQ(Px(bmp, 10, 21), clWhite);
}

TEST(Bitmap, NewPixelsAreWhiteAndTwentyFourBitRowsAreBlueGreenRed) {
    TBitmap bmp;
    EXPECT_TRUE(bmp.GetEmpty());
    bmp.SetSize(4, 3);
    EXPECT_EQ(Px(bmp, 3, 2), clWhite);
    bmp.GetCanvas()->SetPixel(1, 1, MakeColor(10, 20, 30));
    bmp.SetPixelFormat(pf24bit);
    const Byte* row = bmp.ScanLine(1);
    EXPECT_EQ(row[3], 30);
    EXPECT_EQ(row[4], 20);
    EXPECT_EQ(row[5], 10);
    EXPECT_EQ(bmp.ScanLine(2) - bmp.ScanLine(1), bmp.ScanLine(1) - bmp.ScanLine(0)); // the stride
    EXPECT_THROW(bmp.ScanLine(3), EInvalidGraphicOperation);
    // Drawing after the rows were written sees them.
    bmp.ScanLine(0)[0] = 0;
    bmp.ScanLine(0)[1] = 0;
    bmp.ScanLine(0)[2] = 255;
    EXPECT_EQ(Px(bmp, 0, 0), clRed);
    bmp.SetSize(6, 5);
    EXPECT_EQ(Px(bmp, 5, 4), clWhite);
    EXPECT_EQ(Px(bmp, 1, 1), MakeColor(10, 20, 30));
}

namespace {
// A run-length coded 8-bit bitmap file of any size whose pixels are all "end of picture":
// a few dozen bytes.
std::string TinyBitmapFile(std::int32_t Width, std::int32_t Height) {
    std::string f;
    const auto u16 = [&f](unsigned v) { f += {static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    f += "BM";
    u32(64); // file size
    u32(0);
    u32(62); // where the pixels start
    u32(40); // the header: size, width, height, planes, bits, run-length 8, image size
    u32(static_cast<std::uint32_t>(Width));
    u32(static_cast<std::uint32_t>(Height));
    u16(1);
    u16(8);
    u32(1);
    u32(2);
    u32(2835);
    u32(2835);
    u32(2); // colours used
    u32(0);
    u32(0); // black, white
    u32(0xFFFFFF);
    u16(0x0100); // end of picture
    return f;
}

// A bitmap file of rows of zeros: a header of HeaderSize bytes (12 is the old core one), the
// palette of a depth of 8 bits or fewer, the colour masks bit fields (compression 3) keep
// after a 40-byte header, Gap bytes, then the rows the header claims. A file that does not
// say where its rows start (Said false) has them after the palette and masks.
std::string BitmapFile(std::uint32_t HeaderSize, std::int32_t Width, std::int32_t Height, unsigned Bits,
                       std::uint32_t Compression = 0, std::size_t Gap = 0, bool Said = true) {
    std::string f;
    const auto u16 = [&f](unsigned v) { f += {static_cast<char>(v), static_cast<char>(v >> 8)}; };
    const auto u32 = [&](std::uint32_t v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const bool core = HeaderSize == 12;
    const std::size_t palette = Bits <= 8 ? (std::size_t{1} << Bits) * (core ? 3 : 4) : 0;
    const std::size_t masks = Compression == 3 && HeaderSize == 40 ? 12 : 0;
    const auto pixelsAt = static_cast<std::uint32_t>(14 + HeaderSize + palette + masks + Gap);
    f += "BM";
    u32(0); // the file size, which readers ignore
    u32(0);
    u32(Said ? pixelsAt : 0);
    u32(HeaderSize);
    if (core) {
        u16(static_cast<unsigned>(Width));
        u16(static_cast<unsigned>(Height));
        u16(1);
        u16(Bits);
    } else {
        u32(static_cast<std::uint32_t>(Width));
        u32(static_cast<std::uint32_t>(Height));
        u16(1);
        u16(Bits);
        u32(Compression);
        if (HeaderSize > 40) f.resize(14 + 40, '\0');
        if (HeaderSize > 40 && Compression == 3) u32(0xFF0000), u32(0xFF00), u32(0xFF); // in the header
    }
    f.resize(14 + HeaderSize + palette, '\0');
    if (masks) u32(0xFF0000), u32(0xFF00), u32(0xFF);
    const std::size_t stride = (static_cast<std::size_t>(Width) * Bits + 31) / 32 * 4;
    f.resize(pixelsAt + stride * static_cast<std::size_t>(std::abs(Height)), '\0');
    return f;
}

void LoadBitmapFile(TBitmap& Into, const std::string& File) {
    TMemoryStream s;
    s.WriteBuffer(File.data(), static_cast<LongInt>(File.size()));
    s.SetPosition(0);
    Into.LoadFromStream(&s);
}
} // namespace

// A few bytes of header may claim any size: a picture beyond the largest one a file may
// hold is refused before it is made, and leaves the bitmap as it was.
TEST(Bitmap, AFileClaimingAHugePictureIsRefusedBeforeItIsMade) {
    TBitmap bmp;
    LoadBitmapFile(bmp, TinyBitmapFile(300, 20));
    EXPECT_EQ(bmp.GetWidth(), 300);
    EXPECT_EQ(bmp.GetHeight(), 20);
    for (const auto& [w, h] : {std::pair{720896, 45},
                               {32768, 1},
                               {1, 32768},
                               {8193, 8192},
                               {8192, -8193},
                               {9, -65537},
                               {40000, -2}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        try {
            LoadBitmapFile(bmp, TinyBitmapFile(w, h));
            ADD_FAILURE() << "read";
        } catch (const EInvalidGraphic& e) {
            EXPECT_NE(e.Message().find(u"too large"), String::npos);
        }
        EXPECT_EQ(bmp.GetWidth(), 300);
    }
    LoadBitmapFile(bmp, TinyBitmapFile(32767, 2));
    EXPECT_EQ(bmp.GetWidth(), 32767);
    // Whole pictures up to the largest are read, whatever Qt's reader allocates by default:
    // 6,000 x 6,000 at 24 bits, and 8,192 x 8,192 at 16 bits, read into 256 MB.
    LoadBitmapFile(bmp, BitmapFile(40, 6000, 6000, 24));
    EXPECT_EQ(bmp.GetHeight(), 6000);
    LoadBitmapFile(bmp, BitmapFile(40, 8192, -8192, 16));
    EXPECT_EQ(bmp.GetWidth(), 8192);
    EXPECT_EQ(bmp.GetHeight(), 8192);
}

// An uncompressed bitmap file is damaged when its rows (padded to four bytes, after the
// headers, palette and masks, or from where the file says they start) run past its end:
// it would be read at its claimed size, the missing rows whatever memory held.
TEST(Bitmap, AnUncompressedFileShorterThanItsRowsIsRefused) {
    TBitmap bmp;
    std::string damaged = BitmapFile(40, 2568, 8234, 24);
    damaged.resize(198); // 144 bytes of the 63 MB of rows it claims
    EXPECT_THROW(LoadBitmapFile(bmp, damaged), EInvalidGraphic);
    EXPECT_TRUE(bmp.GetEmpty());
    struct Row {
        const char* rule;
        std::string file;
    };
    const Row rows[] = {{"24 bits, bottom row first", BitmapFile(40, 3, 2, 24)},
                        {"top row first", BitmapFile(40, 3, -2, 24)},
                        {"the pixels start where the file says", BitmapFile(40, 3, 2, 24, 0, 9)},
                        {"a palette of 4 bytes a colour", BitmapFile(40, 9, 2, 1, 0, 0, false)},
                        {"the old header, 3 bytes a colour", BitmapFile(12, 3, 2, 8, 0, 0, false)},
                        {"masks after the header", BitmapFile(40, 3, 2, 16, 3, 0, false)},
                        {"masks in the header", BitmapFile(124, 3, 2, 32, 3)},
                        {"OS/2 header", BitmapFile(64, 5, 2, 4)}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        EXPECT_NO_THROW(LoadBitmapFile(bmp, row.file));
        const int width = bmp.GetWidth();
        EXPECT_THROW(LoadBitmapFile(bmp, row.file.substr(0, row.file.size() - 1)), EInvalidGraphic);
        EXPECT_EQ(bmp.GetWidth(), width);
    }
}

TEST(Bitmap, StretchDrawCopiesCellsAndTransparencyLeavesTheKeyColourOut) {
    TBitmap small;
    small.SetSize(3, 2);
    const TColor cells[2][3] = {{clRed, clBlack, clLime}, {clBlue, clGray, clYellow}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) small.GetCanvas()->SetPixel(x, y, cells[y][x]);
    TBitmap big;
    big.SetSize(40, 30);
    big.GetCanvas()->StretchDraw(TRect(0, 0, 30, 20), &small);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(Px(big, x * 10, y * 10), cells[y][x]);
            EXPECT_EQ(Px(big, x * 10 + 9, y * 10 + 9), cells[y][x]);
        }
    small.SetTransparent(true); // the bottom-left pixel (blue) is the key
    TBitmap over;
    over.SetSize(3, 2);
    over.GetCanvas()->Draw(0, 0, &small);
    EXPECT_EQ(Px(over, 0, 1), clWhite);
    EXPECT_EQ(Px(over, 0, 0), clRed);
}

TEST(Picture, HoldsCopiesAndTravelsThroughBitmapFiles) {
    TPicture pic;
    int changes = 0;
    pic.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
    TBitmap bmp;
    bmp.SetSize(5, 4);
    bmp.SetPixelFormat(pf24bit);
    bmp.GetCanvas()->SetPixel(2, 3, clFuchsia);
    pic.SetGraphic(&bmp);
    ASSERT_NE(pic.GetGraphic(), nullptr);
    EXPECT_NE(pic.GetGraphic(), &bmp);
    EXPECT_EQ(pic.GetWidth(), 5);
    EXPECT_GE(changes, 1);

    // A directory of its own, so that parallel runs do not share the file.
    const TempDir tmp{"moltren-graphics"};
    const std::filesystem::path& dir = tmp.path;
    const String file = UTF8ToString((dir / "p.BMP").string());
    pic.SaveToFile(file);
    TPicture back;
    back.LoadFromFile(file);
    ASSERT_NE(dynamic_cast<TBitmap*>(back.GetGraphic()), nullptr);
    EXPECT_EQ(back.GetBitmap()->GetPixelFormat(), pf24bit);
    EXPECT_EQ(Px(*back.GetBitmap(), 2, 3), clFuchsia);
    // So does a file with the old core header, whose depth sits elsewhere: five pixels of
    // three bytes a row.
    LoadBitmapFile(bmp, BitmapFile(12, 5, 2, 24));
    EXPECT_EQ(bmp.GetPixelFormat(), pf24bit);
    EXPECT_EQ(bmp.ScanLine(1) - bmp.ScanLine(0), 16);
    EXPECT_THROW(back.LoadFromFile(UTF8ToString((dir / "p.xyz").string())), EInvalidGraphic);

    TMemoryStream junk;
    junk.WriteBuffer("nope", 4);
    junk.SetPosition(0);
    EXPECT_THROW(bmp.LoadFromStream(&junk), EInvalidGraphic);
    pic.Assign(nullptr);
    EXPECT_EQ(pic.GetGraphic(), nullptr);
}
