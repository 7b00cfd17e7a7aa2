// The JPEG export format: what a saved panel's file holds with the options form's settings,
// and the form-less save functions.
#include "chart/series/zuzjpeg.h"

#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/series/exportfixture.h"
#include "tests/support/jpegmarkers.h"

#include <cstdlib>

namespace {

class JpegExportTest : public ExportTest {
protected:
    // The picture read back from a file, decoded at full colour.
    static Owned<TJPEGImage> ReadBack(const String& name) {
        auto j = MakeOwned<TJPEGImage>();
        j->LoadFromFile(name);
        return j;
    }
    static JpegMarkers MarkersOf(const String& name) {
        const std::string bytes = ReadAll(name);
        return ReadJpegMarkers(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
    // How far a pixel of a 24-bit bitmap is from a colour, channel by channel at most.
    static int Distance(TBitmap* b, int x, int y, TColor c) {
        const Byte* p = b->ScanLine(y) + 3 * x;
        const int rgb = ColorToRGB(c);
        return std::max({std::abs(p[2] - (rgb & 0xFF)), std::abs(p[1] - (rgb >> 8 & 0xFF)),
                         std::abs(p[0] - (rgb >> 16 & 0xFF))});
    }
};

} // namespace

TEST_F(JpegExportTest, UntouchedOptionsSaveAColourPictureOfQuality95AtThePanelsSize) {
    auto format = Owned<TZuzExportFormat>(TJPEGExportFormat::NewInstance());
    format->Panel = panel.get();
    const String name = File("chart.jpg");
    format->SaveToFile(name);

    const JpegMarkers m = MarkersOf(name);
    EXPECT_TRUE(m.wellFormed);
    EXPECT_EQ(m.frame, 0); // baseline
    EXPECT_EQ(m.width, 160);
    EXPECT_EQ(m.height, 100);
    EXPECT_EQ(m.components, 3);
    ASSERT_EQ(m.firstEntries.size(), 2u);
    EXPECT_EQ(m.firstEntries[0], 2); // quality 95
    EXPECT_EQ(m.firstEntries[1], 2);

    auto back = ReadBack(name);
    TBitmap* b = back->GetBitmap();
    ASSERT_EQ(b->GetWidth(), 160);
    ASSERT_EQ(b->GetHeight(), 100);
    EXPECT_LE(Distance(b, 20, 20, clYellow), 10); // what OnPaint drew
    EXPECT_LE(Distance(b, 120, 80, clNavy), 10);  // the panel's own colour behind it
    EXPECT_LE(Distance(b, 120, 20, clNavy), 10);
    EXPECT_LE(Distance(b, 20, 80, clNavy), 10);
}

TEST_F(JpegExportTest, TheOptionsFormHoldsTheSettingsAndQualityStaysBetween1And100) {
    auto format = Owned<TJPEGExportFormat>(static_cast<TJPEGExportFormat*>(TJPEGExportFormat::NewInstance()));
    EXPECT_EQ(format->Options(false), nullptr); // made on first use only
    auto* form = static_cast<TZuzJPEGOptions*>(format->Options(true));
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(format->Options(false), form);
    EXPECT_EQ(form->RGPerf->GetItemIndex(), 0);
    EXPECT_FALSE(form->CBGray->GetChecked());
    EXPECT_EQ(form->EQuality->GetText(), u"95");
    EXPECT_EQ(form->UpDown1->GetAssociate(), form->EQuality);
    EXPECT_EQ(format->GetQuality(), 95);

    format->SetQuality(50);
    EXPECT_EQ(form->EQuality->GetText(), u"50");
    format->Panel = panel.get();
    const String name = File("q50.jpg");
    format->SaveToFile(name);
    EXPECT_EQ(MarkersOf(name).firstEntries[0], 16);

    // What the user types into the edit is the quality; what is no number leaves the last one.
    form->EQuality->SetText(u"70");
    EXPECT_EQ(format->GetQuality(), 70);
    form->EQuality->SetText(u"250");
    EXPECT_EQ(format->GetQuality(), 100);
    form->EQuality->SetText(u"seventy");
    EXPECT_EQ(format->GetQuality(), 50);

    format->SetQuality(0);
    EXPECT_EQ(format->GetQuality(), 1);
    format->SetQuality(500);
    EXPECT_EQ(format->GetQuality(), 100);
}

TEST_F(JpegExportTest, GrayScaleAndSpeedComeFromTheForm) {
    auto format = Owned<TJPEGExportFormat>(static_cast<TJPEGExportFormat*>(TJPEGExportFormat::NewInstance()));
    format->Panel = panel.get();
    auto* form = static_cast<TZuzJPEGOptions*>(format->Options(true));
    form->CBGray->SetChecked(true);
    form->RGPerf->SetItemIndex(1);
    Owned<TJPEGImage> j = format->Jpeg();
    EXPECT_TRUE(j->GetGrayscale());
    EXPECT_EQ(j->GetPerformance(), jpBestSpeed);
    EXPECT_EQ(j->GetCompressionQuality(), 95);
    EXPECT_EQ(ReadJpegMarkers(j->GetData()).components, 1);
    // Gray of yellow is light, gray of navy dark.
    TBitmap* b = j->GetBitmap();
    EXPECT_GT(b->ScanLine(20)[3 * 20], 200);
    EXPECT_LT(b->ScanLine(80)[3 * 120], 40);
}

TEST_F(JpegExportTest, ProgressiveEncodingFromTheParametersGivesAProgressiveFile) {
    TJPEGDefaults params = JPEGDefaults;
    params.ProgressiveEncoding = true;
    params.CompressionQuality = 95;
    Owned<TJPEGImage> j = ZuzGetJPEGImageParams(panel.get(), params, 0, 0, 80, 50);
    const JpegMarkers m = ReadJpegMarkers(j->GetData());
    EXPECT_EQ(m.frame, 2);
    EXPECT_EQ(m.width, 80);
    EXPECT_EQ(m.height, 50);
    // The rectangle's top left quarter is the yellow block, the rest navy.
    TBitmap* b = j->GetBitmap();
    EXPECT_LE(Distance(b, 20, 12, clYellow), 10);
    EXPECT_LE(Distance(b, 70, 40, clYellow), 10);
}

TEST_F(JpegExportTest, ASetSizeIsUsedAndZeroMeansThePanels) {
    auto format = Owned<TZuzExportFormat>(TJPEGExportFormat::NewInstance());
    format->Panel = panel.get();
    format->Width = 320;
    format->Height = 50;
    const String name = File("sized.jpg");
    format->SaveToFile(name);
    EXPECT_EQ(MarkersOf(name).width, 320);
    EXPECT_EQ(MarkersOf(name).height, 50);
    format->Width = 0; // back to the panel's
    format->SaveToFile(name);
    EXPECT_EQ(MarkersOf(name).width, 160);
    EXPECT_EQ(format->Width, 160);
    auto fresh = Owned<TZuzExportFormat>(TJPEGExportFormat::NewInstance());
    fresh->Panel = panel.get();
    fresh->Height = 40;
    fresh->CheckSize();
    EXPECT_EQ(fresh->Width, 160);
    EXPECT_EQ(fresh->Height, 40);
}

TEST_F(JpegExportTest, SavingWithoutAFormAddsJpgToANameWithoutAnExtension) {
    ZuzSaveToJPEGFile(panel.get(), File("plain"), false, jpBestQuality, 95, 0, -1);
    ASSERT_TRUE(std::filesystem::exists(dir.path / "plain.jpg"));
    EXPECT_EQ(MarkersOf(File("plain.jpg")).width, 160);
    EXPECT_EQ(MarkersOf(File("plain.jpg")).height, 100);

    ZuzSaveToJPEGFile(panel.get(), File("gray.jpeg"), true, jpBestSpeed, 30, 40, 20);
    const JpegMarkers gray = MarkersOf(File("gray.jpeg"));
    EXPECT_EQ(gray.components, 1);
    EXPECT_EQ(gray.width, 40);
    EXPECT_EQ(gray.firstEntries[0], 27); // quality 30: scale 5000/30 = 166

    ZuzSaveToJPEG(panel.get(), File("best"), 0, 0);
    const JpegMarkers best = MarkersOf(File("best.jpg"));
    EXPECT_EQ(best.components, 3);
    EXPECT_EQ(best.firstEntries[0], 1); // quality 100
}

TEST_F(JpegExportTest, TheFormatNamesItsFilesAndPicture) {
    auto format = Owned<TZuzExportFormat>(TJPEGExportFormat::NewInstance());
    EXPECT_EQ(format->FileFilter(), u"JPEG files (*.jpg)|*.jpg");
    EXPECT_EQ(format->FileExtension(), u"jpg");
    EXPECT_EQ(format->Description(), u"as &JPEG");
    EXPECT_EQ(format->GraphicClass(), &TJPEGImage::StaticClass());
}

TEST_F(JpegExportTest, WithoutAPanelNothingIsMadeOrWritten) {
    auto format = Owned<TJPEGExportFormat>(static_cast<TJPEGExportFormat*>(TJPEGExportFormat::NewInstance()));
    EXPECT_THROW(format->Jpeg(), Exception);
    try {
        format->SaveToFile(File("none.jpg"));
        ADD_FAILURE() << "saved without a panel";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), u"Panel property is not set in Export format");
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path / "none.jpg"));
    // The form-free savers say the same rather than reading through a null panel.
    EXPECT_THROW(ZuzSaveToJPEGFile(nullptr, File("none"), false, jpBestQuality, 95, 0, 0), Exception);
    EXPECT_THROW(ZuzSaveToJPEG(nullptr, File("none.jpg"), 10, 10), Exception);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "none.jpg"));
}
