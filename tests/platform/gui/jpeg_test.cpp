// JPEG pictures: what a compressed bitmap's file says about its settings, and what the
// picture gives back when it is loaded, decoded and drawn.
#include "platform/gui/jpeg.h"

#include "platform/core/streams.h"
#include "platform/core/sysutils.h"
#include "tests/support/jpegmarkers.h"
#include "tests/support/tempdir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <set>

namespace {

// Left half red, right half blue, a white band across the middle: flat areas a JPEG keeps
// close to their colours away from the edges.
Owned<TBitmap> Sample(int w = 64, int h = 48, TPixelFormat format = pf24bit) {
    auto b = MakeOwned<TBitmap>();
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    TCanvas* c = b->GetCanvas();
    c->GetBrush()->SetColor(clRed);
    c->FillRect(TRect(0, 0, w / 2, h));
    c->GetBrush()->SetColor(clBlue);
    c->FillRect(TRect(w / 2, 0, w, h));
    c->GetBrush()->SetColor(clWhite);
    c->FillRect(TRect(0, h / 2 - 8, w, h / 2 + 8));
    return b;
}

JpegMarkers Markers(const TJPEGImage& j) {
    return ReadJpegMarkers(j.GetData());
}

// Red, green and blue of a pixel of a 24-bit bitmap.
struct Rgb {
    int r, g, b;
};
Rgb PixelAt(TBitmap* b, int x, int y) {
    const Byte* p = b->ScanLine(y) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
}
bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

class JpegTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { JpegInitialization(); }
    void TearDown() override { JPEGDefaults = TJPEGDefaults(); }
};

} // namespace

TEST_F(JpegTest, ANewPictureStartsFromTheGlobalDefaults) {
    TJPEGImage plain;
    EXPECT_EQ(plain.GetCompressionQuality(), 90);
    EXPECT_FALSE(plain.GetGrayscale());
    EXPECT_TRUE(plain.GetEmpty());

    JPEGDefaults.CompressionQuality = 40;
    JPEGDefaults.Grayscale = true;
    JPEGDefaults.Scale = jsQuarter;
    TJPEGImage changed;
    EXPECT_EQ(changed.GetCompressionQuality(), 40);
    EXPECT_TRUE(changed.GetGrayscale());
    EXPECT_EQ(changed.GetScale(), jsQuarter);
    EXPECT_EQ(plain.GetCompressionQuality(), 90); // pictures made earlier keep theirs
}

TEST_F(JpegTest, AssigningABitmapCompressesItAtItsSizeInColour) {
    for (TPixelFormat format : {pf24bit, pf32bit, pfDevice}) {
        SCOPED_TRACE(static_cast<int>(format));
        TJPEGImage j;
        j.Assign(Sample(64, 48, format).get());
        const JpegMarkers m = Markers(j);
        EXPECT_TRUE(m.wellFormed);
        EXPECT_EQ(m.frame, 0);
        EXPECT_EQ(m.width, 64);
        EXPECT_EQ(m.height, 48);
        EXPECT_EQ(m.components, 3);
        EXPECT_EQ(j.GetWidth(), 64);
        EXPECT_EQ(j.GetHeight(), 48);
        TBitmap* back = j.GetBitmap();
        EXPECT_TRUE(Near(PixelAt(back, 8, 8), Rgb{255, 0, 0}, 12));
        EXPECT_TRUE(Near(PixelAt(back, 56, 40), Rgb{0, 0, 255}, 12));
        EXPECT_TRUE(Near(PixelAt(back, 8, 24), Rgb{255, 255, 255}, 12));
    }
}

TEST_F(JpegTest, QualityScalesTheQuantisationTablesAndIsHeldBetween1And100) {
    struct Row {
        int set, held, luminance, chrominance;
    };
    for (const Row& r : {Row{95, 95, 2, 2}, Row{50, 50, 16, 17}, Row{100, 100, 1, 1}, Row{10, 10, 80, 85},
                         Row{0, 1, 255, 255}, Row{150, 100, 1, 1}}) {
        SCOPED_TRACE(r.set);
        TJPEGImage j;
        j.SetCompressionQuality(r.set);
        EXPECT_EQ(j.GetCompressionQuality(), r.held);
        j.Assign(Sample().get());
        const JpegMarkers m = Markers(j);
        ASSERT_EQ(m.firstEntries.size(), 2u);
        EXPECT_EQ(m.firstEntries[0], r.luminance);
        EXPECT_EQ(m.firstEntries[1], r.chrominance);
    }
}

TEST_F(JpegTest, SettingsChangedAfterAssignTakeEffectAtTheNextCompress) {
    TJPEGImage j;
    j.Assign(Sample().get());
    const std::size_t at90 = j.GetData().size();
    j.SetCompressionQuality(20);
    EXPECT_EQ(j.GetData().size(), at90);
    j.Compress();
    EXPECT_LT(j.GetData().size(), at90);
    EXPECT_EQ(Markers(j).firstEntries[0], 40);
}

TEST_F(JpegTest, GrayscaleWritesOneComponentAndShowsGray) {
    TJPEGImage j;
    j.SetGrayscale(true);
    j.Assign(Sample().get());
    EXPECT_EQ(Markers(j).components, 1);
    const Rgb red = PixelAt(j.GetBitmap(), 8, 8);
    EXPECT_EQ(red.r, red.g);
    EXPECT_EQ(red.g, red.b);
    EXPECT_NEAR(red.r, 76, 8); // the luminance of pure red

    // A colour picture shown in gray; taking gray off shows the colour again.
    TJPEGImage colour;
    colour.Assign(Sample().get());
    colour.SetGrayscale(true);
    const Rgb shown = PixelAt(colour.GetBitmap(), 8, 8);
    EXPECT_EQ(shown.r, shown.b);
    colour.SetGrayscale(false);
    EXPECT_TRUE(Near(PixelAt(colour.GetBitmap(), 8, 8), Rgb{255, 0, 0}, 12));
    EXPECT_EQ(Markers(colour).components, 3); // display settings leave the bytes alone
}

TEST_F(JpegTest, ProgressiveEncodingWritesAProgressiveFrameThatReadsBack) {
    TJPEGImage j;
    j.SetProgressiveEncoding(true);
    j.Assign(Sample().get());
    EXPECT_EQ(Markers(j).frame, 2);
    TMemoryStream s;
    j.SaveToStream(&s);
    s.SetPosition(0);
    TJPEGImage back;
    back.LoadFromStream(&s);
    EXPECT_TRUE(back.GetProgressive());
    EXPECT_TRUE(Near(PixelAt(back.GetBitmap(), 56, 40), Rgb{0, 0, 255}, 12));
}

TEST_F(JpegTest, BestSpeedStillGivesThePictureBack) {
    TJPEGImage j;
    j.SetPerformance(jpBestSpeed);
    j.Assign(Sample().get());
    EXPECT_TRUE(Near(PixelAt(j.GetBitmap(), 8, 8), Rgb{255, 0, 0}, 16));
    EXPECT_TRUE(Near(PixelAt(j.GetBitmap(), 56, 40), Rgb{0, 0, 255}, 16));
}

TEST_F(JpegTest, ScaleDividesTheShownSizeRoundingUp) {
    TJPEGImage j;
    j.Assign(Sample(61, 45).get());
    struct Row {
        TJPEGScale scale;
        int w, h;
    };
    for (const Row& r :
         {Row{jsFullSize, 61, 45}, Row{jsHalf, 31, 23}, Row{jsQuarter, 16, 12}, Row{jsEighth, 8, 6}}) {
        j.SetScale(r.scale);
        EXPECT_EQ(j.GetWidth(), r.w);
        EXPECT_EQ(j.GetHeight(), r.h);
        EXPECT_EQ(j.GetBitmap()->GetWidth(), r.w);
        EXPECT_EQ(j.GetBitmap()->GetHeight(), r.h);
        EXPECT_EQ(j.GetImageWidth(), 61);
    }
    EXPECT_TRUE(Near(PixelAt(j.GetBitmap(), 1, 0), Rgb{255, 0, 0}, 24));
}

TEST_F(JpegTest, EightBitDisplayShowsAtMost256Colours) {
    // A smooth ramp has far more than 256 colours at full depth.
    auto ramp = MakeOwned<TBitmap>();
    ramp->SetPixelFormat(pf24bit);
    ramp->SetSize(128, 128);
    for (int y = 0; y < 128; ++y) {
        Byte* row = ramp->ScanLine(y);
        for (int x = 0; x < 128; ++x) {
            row[3 * x] = static_cast<Byte>(2 * x);
            row[3 * x + 1] = static_cast<Byte>(2 * y);
            row[3 * x + 2] = static_cast<Byte>(x + y);
        }
    }
    const auto colours = [](TBitmap* b) {
        std::set<int> seen;
        for (int y = 0; y < b->GetHeight(); ++y)
            for (int x = 0; x < b->GetWidth(); ++x) {
                const Rgb c = PixelAt(b, x, y);
                seen.insert(c.r << 16 | c.g << 8 | c.b);
            }
        return seen.size();
    };
    TJPEGImage j;
    j.Assign(ramp.get());
    EXPECT_GT(colours(j.GetBitmap()), 256u);
    j.SetPixelFormat(jf8Bit);
    EXPECT_LE(colours(j.GetBitmap()), 256u);
    EXPECT_TRUE(Near(PixelAt(j.GetBitmap(), 64, 64), Rgb{128, 128, 128}, 24));
}

TEST_F(JpegTest, SavedBytesLoadBackFromStreamsAndFiles) {
    TJPEGImage j;
    j.Assign(Sample().get());
    TempDir dir;
    const String name = UTF8ToString((dir.path / "picture.jpg").string());
    j.SaveToFile(name);
    EXPECT_EQ(std::filesystem::file_size(dir.path / "picture.jpg"), j.GetData().size());

    TJPEGImage fromFile;
    fromFile.LoadFromFile(name);
    EXPECT_EQ(fromFile.GetData(), j.GetData());
    EXPECT_EQ(fromFile.GetWidth(), 64);

    // Through the picture holder, by the extension in any case.
    TPicture holder;
    const String upper = UTF8ToString((dir.path / "PICTURE.JPEG").string());
    j.SaveToFile(upper);
    holder.LoadFromFile(upper);
    ASSERT_NE(dynamic_cast<TJPEGImage*>(holder.GetGraphic()), nullptr);
    EXPECT_EQ(holder.GetWidth(), 64);

    // A stream read from the middle takes the rest of it.
    TMemoryStream s;
    s.WriteBuffer("abc", 3);
    j.SaveToStream(&s);
    s.SetPosition(3);
    TJPEGImage fromStream;
    fromStream.LoadFromStream(&s);
    EXPECT_EQ(fromStream.GetData(), j.GetData());
}

TEST_F(JpegTest, BytesThatAreNotAJpegRaiseAndLeaveThePictureAsItWas) {
    TJPEGImage j;
    j.Assign(Sample().get());
    const std::vector<Byte> before = j.GetData();
    for (const std::string& bytes :
         {std::string("not a picture"), std::string(), std::string("\xFF\xD8\xFF")}) {
        TStringStream s(bytes);
        EXPECT_THROW(j.LoadFromStream(&s), EJPEG);
        EXPECT_EQ(j.GetData(), before);
    }
    // A picture cut short still decodes (the missing rows come out gray), as viewers show it.
    TJPEGImage cut;
    TMemoryStream half;
    std::size_t scan = 0;
    while (scan + 1 < before.size() && !(before[scan] == 0xFF && before[scan + 1] == 0xDA)) ++scan;
    ASSERT_LT(scan + 1, before.size());
    half.WriteBuffer(before.data(), static_cast<LongInt>(scan + (before.size() - scan) / 2));
    half.SetPosition(0);
    cut.LoadFromStream(&half);
    EXPECT_EQ(cut.GetBitmap()->GetWidth(), 64);
}

TEST_F(JpegTest, AHeaderClaimingAHugePictureIsRefusedBeforeAnyPixelIsMade) {
    TJPEGImage j;
    j.Assign(Sample().get());
    const std::vector<Byte> original = j.GetData();
    // The frame header: marker, length (2), precision (1), height (2), width (2).
    std::size_t sof = 0;
    while (sof + 1 < original.size() && !(original[sof] == 0xFF && original[sof + 1] == 0xC0)) ++sof;
    ASSERT_LT(sof + 8, original.size());
    for (const auto& [w, h] : {std::pair{65000, 65000}, {40000, 8}, {8193, 8192}}) {
        SCOPED_TRACE(testing::Message() << w << " x " << h);
        std::vector<Byte> bytes = original;
        bytes[sof + 5] = static_cast<Byte>(h >> 8);
        bytes[sof + 6] = static_cast<Byte>(h);
        bytes[sof + 7] = static_cast<Byte>(w >> 8);
        bytes[sof + 8] = static_cast<Byte>(w);
        TMemoryStream s;
        s.WriteBuffer(bytes.data(), static_cast<LongInt>(bytes.size()));
        s.SetPosition(0);
        EXPECT_THROW(j.LoadFromStream(&s), EInvalidGraphic);
        EXPECT_EQ(j.GetData(), original);
    }
}

TEST_F(JpegTest, DrawingStretchesTheDecodedPictureAndABitmapCanTakeIt) {
    TJPEGImage j;
    j.Assign(Sample().get());
    TBitmap copy;
    copy.SetPixelFormat(pf24bit);
    copy.Assign(&j);
    EXPECT_EQ(copy.GetWidth(), 64);
    EXPECT_TRUE(Near(PixelAt(&copy, 8, 8), Rgb{255, 0, 0}, 12));

    auto target = MakeOwned<TBitmap>();
    target->SetPixelFormat(pf24bit);
    target->SetSize(128, 96);
    target->GetCanvas()->StretchDraw(TRect(0, 0, 128, 96), &j);
    EXPECT_TRUE(Near(PixelAt(target.get(), 16, 16), Rgb{255, 0, 0}, 12));
    EXPECT_TRUE(Near(PixelAt(target.get(), 112, 80), Rgb{0, 0, 255}, 12));
}

TEST_F(JpegTest, AnotherJpegIsCopiedWithItsSettings) {
    TJPEGImage a;
    a.SetCompressionQuality(33);
    a.SetGrayscale(true);
    a.SetScale(jsHalf);
    a.Assign(Sample().get());
    TJPEGImage b;
    b.Assign(&a);
    EXPECT_EQ(b.GetData(), a.GetData());
    EXPECT_EQ(b.GetCompressionQuality(), 33);
    EXPECT_TRUE(b.GetGrayscale());
    EXPECT_EQ(b.GetWidth(), 32);
    b.SetGrayscale(false);
    b.Compress(); // the bitmap came along
    EXPECT_EQ(Markers(b).components, 3);
}
