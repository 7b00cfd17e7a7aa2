// Metafile pictures: recorded through their canvas, written, read back and
// played against the same drawing done directly; sizes, copies, the clipboard
// and a printed page.
#include "platform/gui/clipbrd.h"
#include "platform/gui/graphics.h"
#include "platform/gui/printers.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "platform/gui/qtbridge.h"
#include "platform/win32/gdiqt.h"
#include "tests/support/childprocess.h"
#include "tests/support/pdfprobe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

// What a chart panel draws: a gradient back, a frame, grid lines, a series as a
// polyline with points, bars, a pie, a legend with text, a picture.
void DrawPanelLike(TCanvas* c, TBitmap* picture) {
    for (int i = 0; i < 60; ++i) { // a vertical gradient as bands
        c->GetBrush()->SetColor(
            MakeColor(static_cast<std::uint8_t>(255 - i * 2), static_cast<std::uint8_t>(240 - i), 255));
        c->FillRect(TRect(0, i * 3, 240, i * 3 + 3));
    }
    c->GetPen()->SetColor(clBlack);
    c->GetPen()->SetWidth(2);
    c->GetBrush()->SetStyle(bsClear);
    c->Rectangle(10, 10, 230, 170);
    c->GetPen()->SetWidth(1);
    c->GetPen()->SetStyle(psDot);
    for (int y = 30; y < 170; y += 20) {
        c->MoveTo(11, y);
        c->LineTo(229, y);
    }
    c->GetPen()->SetStyle(psSolid);
    c->GetPen()->SetColor(clRed);
    c->GetPen()->SetWidth(3);
    const TPoint series[] = {{20, 150}, {50, 90}, {80, 110}, {110, 40}, {140, 70}};
    c->Polyline(series, 5);
    c->GetPen()->SetWidth(1);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clYellow);
    for (const TPoint& p : series) c->Ellipse(p.X - 4, p.Y - 4, p.X + 5, p.Y + 5);
    c->GetPen()->SetColor(clNavy);
    c->GetBrush()->SetColor(clTeal);
    c->Rectangle(150, 100, 165, 169);
    c->GetBrush()->SetStyle(bsDiagCross);
    c->Rectangle(170, 80, 185, 169);
    c->GetBrush()->SetStyle(bsSolid);
    c->GetBrush()->SetColor(clFuchsia);
    c->Pie(190, 20, 226, 56, 226, 38, 208, 20);
    const TPoint arrow[] = {{190, 70}, {220, 85}, {190, 100}};
    c->GetBrush()->SetColor(clLime);
    c->Polygon(arrow, 3);
    c->RoundRect(20, 178, 120, 200, 8, 8);
    c->GetFont()->SetName(u"Arial");
    c->GetFont()->SetHeight(-12);
    c->GetFont()->SetColor(clMaroon);
    c->GetBrush()->SetStyle(bsClear);
    c->TextOut(26, 182, u"Значение 1");
    c->GetFont()->SetStyle(TFontStyles{fsBold});
    c->TextRect(TRect(125, 178, 200, 200), 128, 182, u"Итого: 12,5");
    c->StretchDraw(TRect(205, 176, 235, 196), picture);
}

Owned<TBitmap> Picture() {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(pf24bit);
    b->SetSize(3, 2);
    b->GetCanvas()->SetPixel(0, 0, clRed);
    b->GetCanvas()->SetPixel(2, 1, clBlue);
    b->GetCanvas()->SetPixel(1, 0, clGreen);
    return b;
}

int DifferingPixels(TBitmap& a, TBitmap& b) {
    const QImage x = BitmapImage(a.GetHandle()).convertToFormat(QImage::Format_RGB32);
    const QImage y = BitmapImage(b.GetHandle()).convertToFormat(QImage::Format_RGB32);
    if (x.size() != y.size()) return -1;
    int n = 0;
    for (int r = 0; r < x.height(); ++r)
        for (int col = 0; col < x.width(); ++col)
            if ((x.pixel(col, r) & 0xFFFFFF) != (y.pixel(col, r) & 0xFFFFFF)) ++n;
    return n;
}

std::vector<char> Contents(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::vector<char>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

class MetafileTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { gui_detail::EnsureQtApplication(); }
    TempDir dir;
};

} // namespace

// The proof: recorded, written to a file, read back and played into a
// bitmap of the same size, the metafile gives exactly the pixels of the same
// drawing done directly, with antialiased text and without.
TEST_F(MetafileTest, AWrittenMetafilePlaysBackToTheSamePixelsAsDirectDrawing) {
    const Owned<TBitmap> picture = Picture();
    for (const bool antialiased : {true, false}) {
        GdiSetTextAntialiasing(antialiased);
        auto direct = MakeOwned<TBitmap>();
        direct->SetPixelFormat(pf32bit);
        direct->SetSize(240, 200);
        DrawPanelLike(direct->GetCanvas(), picture.get());

        auto recorded = MakeOwned<TMetafile>();
        recorded->SetWidth(240);
        recorded->SetHeight(200);
        {
            const auto canvas = MakeOwned<TMetafileCanvas>(recorded.get(), nullptr);
            DrawPanelLike(canvas.get(), picture.get());
        }
        const auto file = dir.path / "panel.emf";
        recorded->SaveToFile(String(file.u16string()));

        auto read = MakeOwned<TMetafile>();
        read->LoadFromFile(String(file.u16string()));
        EXPECT_EQ(read->GetWidth(), 240);
        EXPECT_EQ(read->GetHeight(), 200);
        auto played = MakeOwned<TBitmap>();
        played->SetPixelFormat(pf32bit);
        played->SetSize(240, 200);
        played->GetCanvas()->Draw(0, 0, read.get());
        EXPECT_EQ(DifferingPixels(*direct, *played), 0) << "antialiased text " << antialiased;
    }
    GdiSetTextAntialiasing(true);
}

TEST_F(MetafileTest, SizesCopiesAndFilesKeepThePicture) {
    TMetafile mf;
    EXPECT_TRUE(mf.GetEmpty());
    EXPECT_TRUE(mf.GetEnhanced());
    mf.SetWidth(400);
    mf.SetHeight(250);
    EXPECT_EQ(mf.GetMMWidth(), 10583); // 0.01 mm at 96 dots per inch
    EXPECT_EQ(mf.GetMMHeight(), 6615);
    EXPECT_EQ(mf.GetWidth(), 400);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        canvas.GetBrush()->SetColor(clRed);
        canvas.FillRect(TRect(100, 50, 300, 200));
    }
    ASSERT_FALSE(mf.GetEmpty());
    TMetafile copy;
    copy.Assign(&mf);
    EXPECT_EQ(copy.GetHandle(), mf.GetHandle()); // records are shared, never changed
    EXPECT_EQ(copy.GetWidth(), 400);

    // Written, read and written again: the same bytes.
    const auto a = dir.path / "a.emf", b = dir.path / "b.emf";
    mf.SaveToFile(String(a.u16string()));
    TPicture picture;
    picture.LoadFromFile(String(a.u16string()));
    ASSERT_TRUE(dynamic_cast<TMetafile*>(picture.GetGraphic()));
    picture.SaveToFile(String(b.u16string()));
    EXPECT_EQ(Contents(a), Contents(b));

    // A bitmap made of the metafile at its own size; a smaller one scales it.
    TBitmap whole;
    whole.Assign(&mf);
    EXPECT_EQ(whole.GetWidth(), 400);
    EXPECT_EQ(whole.GetCanvas()->GetPixel(100, 50), clRed);
    EXPECT_EQ(whole.GetCanvas()->GetPixel(99, 50), clWhite);
    EXPECT_EQ(whole.GetCanvas()->GetPixel(299, 199), clRed);
    EXPECT_EQ(whole.GetCanvas()->GetPixel(300, 199), clWhite);
    TBitmap half;
    half.SetSize(200, 125);
    half.GetCanvas()->StretchDraw(TRect(0, 0, 200, 125), &mf);
    EXPECT_EQ(half.GetCanvas()->GetPixel(50, 25), clRed);
    EXPECT_EQ(half.GetCanvas()->GetPixel(149, 99), clRed);
    EXPECT_EQ(half.GetCanvas()->GetPixel(150, 99), clWhite);
    EXPECT_EQ(half.GetCanvas()->GetPixel(49, 25), clWhite);

    // A new size is the frame written.
    mf.SetWidth(800);
    const auto c = dir.path / "c.emf";
    mf.SaveToFile(String(c.u16string()));
    TMetafile wider;
    wider.LoadFromFile(String(c.u16string()));
    EXPECT_EQ(wider.GetWidth(), 800);
    EXPECT_EQ(wider.GetHeight(), 250);

    mf.Clear();
    EXPECT_TRUE(mf.GetEmpty());
    EXPECT_FALSE(copy.GetEmpty());
}

TEST_F(MetafileTest, ReadingWhatIsNoMetafileRaisesAndKeepsThePicture) {
    TMetafile mf;
    mf.SetWidth(10);
    mf.SetHeight(10);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        canvas.Rectangle(1, 1, 5, 5);
    }
    const HENHMETAFILE before = mf.GetHandle();
    const auto bmp = dir.path / "not.emf";
    {
        std::ofstream out(bmp, std::ios::binary);
        out << "BM this is a bitmap's start and nothing else";
    }
    try {
        mf.LoadFromFile(String(bmp.u16string()));
        FAIL() << "no exception";
    } catch (const EInvalidGraphic& e) {
        EXPECT_EQ(e.Message().rfind(u"Metafile is not valid: ", 0), 0u);
    }
    EXPECT_EQ(mf.GetHandle(), before);
    EXPECT_EQ(mf.GetWidth(), 10);
    // A frame larger than any picture may be is refused as well.
    TMetafile wide;
    wide.SetWidth(40000);
    wide.SetHeight(10);
    {
        TMetafileCanvas canvas(&wide, nullptr);
        canvas.Rectangle(1, 1, 5, 5);
    }
    TMemoryStream s;
    wide.SaveToStream(&s);
    s.SetPosition(0);
    EXPECT_THROW(mf.LoadFromStream(&s), EInvalidGraphic);
    EXPECT_EQ(mf.GetHandle(), before);
}

TEST_F(MetafileTest, TheClipboardTakesTheMetafileAndAPictureOfIt) {
    TMetafile mf;
    mf.SetWidth(30);
    mf.SetHeight(20);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        canvas.GetBrush()->SetColor(clBlue);
        canvas.FillRect(TRect(0, 0, 15, 20));
    }
    Clipboard()->Assign(&mf);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    TMetafile pasted;
    ASSERT_TRUE(Clipboard()->GetMetafile(&pasted));
    EXPECT_EQ(pasted.GetHandle()->Bytes(), mf.GetHandle()->Bytes());
    TBitmap raster;
    ASSERT_TRUE(Clipboard()->GetBitmap(&raster));
    EXPECT_EQ(raster.GetWidth(), 30);
    EXPECT_EQ(raster.GetCanvas()->GetPixel(14, 10), clBlue);
    EXPECT_EQ(raster.GetCanvas()->GetPixel(15, 10), clWhite);
    // Whatever the picture is written as, the clipboard holds the enhanced form.
    mf.SetEnhanced(false);
    Clipboard()->Assign(&mf);
    TMetafile again;
    ASSERT_TRUE(Clipboard()->GetMetafile(&again));
    EXPECT_EQ(again.GetHandle()->Bytes(), mf.GetHandle()->Bytes());
    Clipboard()->SetAsText(u"текст");
    EXPECT_FALSE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    EXPECT_FALSE(Clipboard()->GetMetafile(&pasted));
}

TEST_F(MetafileTest, OnAPrinterTheMetafileStaysVectorAndFillsItsRectangle) {
    TMetafile mf;
    mf.SetWidth(100);
    mf.SetHeight(100);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        canvas.GetBrush()->SetColor(clRed);
        canvas.GetPen()->SetStyle(psClear);
        canvas.Rectangle(50, 0, 101, 101); // the right half
    }
    const auto pdfFile = dir.path / "page.pdf";
    TPrinter printer(false, true);
    printer.SetFileName(String(pdfFile.u16string()));
    printer.BeginDoc();
    // One inch square at one inch from the page's corner (300 dots per inch).
    printer.GetCanvas()->StretchDraw(TRect(300, 300, 600, 600), &mf);
    printer.EndDoc();
    const pdf::Raster page = pdf::Rasterise(pdfFile.string(), 72);
    ASSERT_GT(page.width, 0);
    const pdf::Raster::Rgb red{255, 0, 0}, white{255, 255, 255};
    EXPECT_EQ(page.At(130, 100), red); // 72 dots per inch: the square is 72..144
    EXPECT_EQ(page.At(140, 140), red);
    EXPECT_EQ(page.At(100, 100), white); // the left half is empty
    EXPECT_EQ(page.At(150, 100), white);
    EXPECT_EQ(page.At(130, 150), white);
}

TEST_F(MetafileTest, ANonEnhancedMetafileIsWrittenAsAPlaceableWindowsMetafile) {
    const Owned<TBitmap> picture = Picture();
    TMetafile mf;
    mf.SetWidth(240);
    mf.SetHeight(200);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        DrawPanelLike(&canvas, picture.get());
    }
    mf.SetEnhanced(false);
    TMemoryStream stream;
    mf.SaveToStream(&stream);
    const auto* b = static_cast<const Byte*>(stream.Memory());
    const auto size = static_cast<std::size_t>(stream.GetSize());
    auto word = [&](std::size_t at) { return static_cast<unsigned>(b[at] | (b[at + 1] << 8)); };
    auto dword = [&](std::size_t at) { return word(at) | (word(at + 2) << 16); };
    ASSERT_GT(size, 40u);
    EXPECT_EQ(dword(0), 0x9AC6CDD7u); // the placeable key
    EXPECT_EQ(word(10), 240u);        // the box's right and bottom
    EXPECT_EQ(word(12), 200u);
    EXPECT_EQ(word(14), 96u); // units an inch
    unsigned checksum = 0;
    for (std::size_t i = 0; i < 20; i += 2) checksum ^= word(i);
    EXPECT_EQ(word(20), checksum);
    // The metafile's own header: a memory metafile of version 3 whose size counts every word.
    const std::size_t start = 22;
    EXPECT_EQ(word(start), 1u);
    EXPECT_EQ(word(start + 2), 9u);
    EXPECT_EQ(word(start + 4), 0x300u);
    EXPECT_EQ(dword(start + 6) * 2, size - start);
    // Records chained by their sizes in words, up to the end record.
    std::map<unsigned, int> functions;
    std::size_t at = start + 18;
    unsigned largest = 0;
    while (at + 6 <= size) {
        const unsigned words = dword(at), function = word(at + 4);
        ++functions[function];
        largest = std::max(largest, words);
        ASSERT_GE(words, 3u);
        at += words * 2;
        if (function == 0) break;
    }
    EXPECT_EQ(at, size);
    EXPECT_EQ(dword(start + 12), largest);
    EXPECT_GT(functions[0x02FA], 0); // pens
    EXPECT_GT(functions[0x02FC], 0); // brushes
    EXPECT_GT(functions[0x02FB], 0); // fonts
    EXPECT_GT(functions[0x012D], 0); // selections
    EXPECT_GT(functions[0x041B], 0); // rectangles
    EXPECT_GT(functions[0x0418], 0); // ellipses
    EXPECT_GT(functions[0x0324], 0); // polygons
    EXPECT_GT(functions[0x0A32], 0); // text
    EXPECT_GT(functions[0x0F43], 0); // the picture
    EXPECT_GT(functions[0x061D], 0); // the gradient's bands
    // The text in the Cyrillic code page: "Значение" begins with 0xC7 0xED.
    const std::string all(reinterpret_cast<const char*>(b), size);
    EXPECT_NE(all.find("\xC7\xED\xE0\xF7\xE5\xED\xE8\xE5 1"), std::string::npos);

    // A picture wider than the format's signed 16-bit box keeps the largest box, not one that wraps.
    TMetafile wide;
    wide.SetWidth(40000);
    wide.SetHeight(20);
    {
        TMetafileCanvas canvas(&wide, nullptr);
        canvas.MoveTo(0, 10);
        canvas.LineTo(39999, 10);
    }
    wide.SetEnhanced(false);
    TMemoryStream wideStream;
    wide.SaveToStream(&wideStream);
    const auto* w = static_cast<const Byte*>(wideStream.Memory());
    EXPECT_EQ(w[10] | (w[11] << 8), 32767);
    EXPECT_EQ(w[12] | (w[13] << 8), 20);
}

namespace {

// Runs a converter to its end; its exit status, or -1 when it is not installed.
int Convert(const std::string& Program, const std::vector<std::string>& Args) {
    if (!std::filesystem::exists(Program)) return -1;
    ChildProcess run(Program, Args);
    while (!run.ReadLine().empty()) {
    }
    return run.Terminate();
}

std::string Text(const std::filesystem::path& File) {
    const std::vector<char> bytes = Contents(File);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

// Files other programs read: the enhanced metafile through libemf2svg and the
// placeable Windows metafile through libwmf, each turned into a picture that
// holds the drawing's shapes, colours and texts.
TEST_F(MetafileTest, WrittenMetafilesReadInCommonConverters) {
    const Owned<TBitmap> picture = Picture();
    TMetafile mf;
    mf.SetWidth(240);
    mf.SetHeight(200);
    {
        TMetafileCanvas canvas(&mf, nullptr);
        DrawPanelLike(&canvas, picture.get());
    }
    const auto emf = dir.path / "panel.emf", wmf = dir.path / "panel.wmf";
    mf.SaveToFile(String(emf.u16string()));
    mf.SetEnhanced(false);
    mf.SaveToFile(String(wmf.u16string()));

    const auto emfSvg = dir.path / "emf.svg", wmfSvg = dir.path / "wmf.svg";
    const int emfRun = Convert("/usr/bin/emf2svg-conv", {"-i", emf.string(), "-o", emfSvg.string()});
    const int wmfRun = Convert("/usr/bin/wmf2svg", {"-o", wmfSvg.string(), wmf.string()});
    if (emfRun < 0 || wmfRun < 0) GTEST_SKIP() << "emf2svg or libwmf-bin is not installed (scripts/setup)";
    ASSERT_EQ(emfRun, 0);
    ASSERT_EQ(wmfRun, 0);
    const std::string fromEmf = Text(emfSvg), fromWmf = Text(wmfSvg);
    // The picture is as large as its frame (what was drawn stays inside it), with the
    // series, the texts and the bitmap.
    EXPECT_NE(fromEmf.find("width=\"240.0000\" height=\"200.0000\""), std::string::npos);
    EXPECT_NE(fromEmf.find("translate(-0.0000, -0.0000)"), std::string::npos);
    for (const char* part : {"#FF0000", "Значение 1", "Итого: 12,5", "<image"})
        EXPECT_NE(fromEmf.find(part), std::string::npos) << part;
    EXPECT_NE(fromWmf.find("<svg width=\"240\" height=\"200\""), std::string::npos);
    for (const char* part : {"stroke:red", "fill:yellow", "fill:fuchsia", "fill:maroon", ": 12,5", "<image"})
        EXPECT_NE(fromWmf.find(part), std::string::npos) << part;
}
