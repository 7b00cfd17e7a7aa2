// The bitmap and metafile picture formats: the bitmap's size, depth, monochrome and filters in
// the file, the metafile's two kinds and filter entries, the clipboard, and the options forms.
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/editors/zuzbmpoptions.h"
#include "chart/editors/zuzemfoptions.h"
#include "platform/core/streams.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/series/exportfixture.h"

#include <set>

namespace {

class PictureFormatsTest : public ExportTest {
protected:
    static void SetUpTestSuite() {
        ExportTest::SetUpTestSuite();
        StartChartEditorUnits();
    }
    void SetUp() override {
        ExportTest::SetUp();
        // The program's order: bitmap, metafile, then JPEG (already registered by the fixture).
        ZuzExportFormatsFinalization();
        ZuzExportFormatsInitialization();
        ZuzBmpOptionsInitialization();
        ZuzEmfOptionsInitialization();
        ZuzJPEGInitialization();
        bmp.reset(static_cast<TBMPExportFormat*>(TBMPExportFormat::NewInstance()));
        bmp->Panel = panel.get();
        emf.reset(static_cast<TEMFExportFormat*>(TEMFExportFormat::NewInstance()));
        emf->Panel = panel.get();
    }
    void TearDown() override {
        bmp.reset();
        emf.reset();
        ZuzEmfOptionsFinalization();
        ZuzBmpOptionsFinalization();
        ExportTest::TearDown();
    }
    TBMPOptions* BmpForm() { return static_cast<TBMPOptions*>(bmp->Options()); }
    // The bits a pixel the file says it has, and the bitmap read back from it.
    static int FileBits(const std::string& bytes) {
        return static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29]) << 8;
    }
    static TColor PixelOf(TBitmap& b, int x, int y) { return b.GetCanvas()->GetPixel(x, y); }

    Owned<TBMPExportFormat> bmp;
    Owned<TEMFExportFormat> emf;
};

struct DepthRow {
    const char* rule;
    int comboIndex;
    int fileBits; // in the file's header
    TPixelFormat readBack;
    std::uint32_t compression; // 3: colour masks
    TColor yellow, navy;       // what the panel's two colours become at that depth
};

class BitmapDepths : public PictureFormatsTest, public ::testing::WithParamInterface<DepthRow> {};

TEST_P(BitmapDepths, TheColourComboSetsTheFilesDepth) {
    const DepthRow& r = GetParam();
    BmpForm()->CBColors->SetItemIndex(r.comboIndex);
    const String name = File("depth.bmp");
    bmp->SaveToFile(name);
    const std::string bytes = ReadAll(name);
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(FileBits(bytes), r.fileBits);
    EXPECT_EQ(static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[30])), r.compression);
    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.GetPixelFormat(), r.readBack);
    EXPECT_EQ(back.GetWidth(), 160);
    EXPECT_EQ(back.GetHeight(), 100);
    EXPECT_EQ(PixelOf(back, 10, 10), r.yellow);
    EXPECT_EQ(PixelOf(back, 150, 90), r.navy);
}

// Navy's blue 128 is level 2 of the 8-bit cube's four blues (170). A 16-bit file's channels
// are read back widened by a shift: 5 bits of 31 give 248, 6 bits of 63 give 252, 16 gives 128.
constexpr TColor kCubeNavy = static_cast<TColor>(0xAA0000);
constexpr TColor kYellow555 = static_cast<TColor>(0x00F8F8), kYellow565 = static_cast<TColor>(0x00FCF8);

INSTANTIATE_TEST_SUITE_P(
    ComboLines, BitmapDepths,
    ::testing::Values(DepthRow{"DefaultIsTheScreensTrueColour", 0, 24, pf24bit, 0, clYellow, clNavy},
                      DepthRow{"TwoColoursOneBitLightBecomesWhite", 1, 1, pf1bit, 0, clWhite, clBlack},
                      DepthRow{"SixteenStandardColoursFourBits", 2, 4, pf4bit, 0, clYellow, clNavy},
                      DepthRow{"ColourCubeEightBits", 3, 8, pf8bit, 0, clYellow, kCubeNavy},
                      DepthRow{"FifteenBitsAreSixteenBitWordsWithoutMasks", 4, 16, pf15bit, 0, kYellow555,
                               clNavy},
                      DepthRow{"SixteenBitsCarryFiveSixFiveMasks", 5, 16, pf16bit, 3, kYellow565, clNavy},
                      DepthRow{"TwentyFourBits", 6, 24, pf24bit, 0, clYellow, clNavy},
                      DepthRow{"ThirtyTwoBits", 7, 32, pf32bit, 0, clYellow, clNavy}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(PictureFormatsTest, ABitmapOfSizeZeroHasThePanelsSizeAndAGivenSizeIsKept) {
    Owned<TBitmap> b = bmp->Bitmap();
    EXPECT_EQ(b->GetWidth(), 160);
    EXPECT_EQ(b->GetHeight(), 100);
    const String name = File("small.bmp");
    ZuzSaveToBitmap(panel.get(), name, TRect(10, 10, 90, 60));
    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.GetWidth(), 80);
    EXPECT_EQ(back.GetHeight(), 50);
    EXPECT_EQ(PixelOf(back, 35, 20), clYellow);
}

TEST_F(PictureFormatsTest, MonochromeGivesOneBitWhateverTheComboSaysAndDisablesIt) {
    TBMPOptions* form = BmpForm();
    form->CBColors->SetItemIndex(7);
    form->CBMono->SetChecked(true); // its click handler runs
    EXPECT_FALSE(form->CBColors->GetEnabled());
    Owned<TBitmap> b = bmp->Bitmap();
    EXPECT_TRUE(b->GetMonochrome());
    const String name = File("mono.bmp");
    bmp->SaveToFile(name);
    EXPECT_EQ(FileBits(ReadAll(name)), 1);
    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_TRUE(back.GetMonochrome());
    EXPECT_EQ(PixelOf(back, 10, 10), clWhite);  // yellow is light
    EXPECT_EQ(PixelOf(back, 150, 90), clBlack); // navy is dark
    form->CBMono->SetChecked(false);
    EXPECT_TRUE(form->CBColors->GetEnabled());
    EXPECT_EQ(bmp->Bitmap()->GetPixelFormat(), pf32bit);
}

TEST_F(PictureFormatsTest, TheFormatsFiltersApplyToWhatIsSavedAndCopied) {
    bmp->Filters()->Add(TInvertFilter::StaticClass());
    const String name = File("inverted.bmp");
    bmp->SaveToFile(name);
    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_EQ(PixelOf(back, 10, 10), clBlue); // yellow inverted
    bmp->CopyToClipboard();
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetBitmap(&pasted));
    EXPECT_EQ(PixelOf(pasted, 10, 10), clBlue);
}

TEST_F(PictureFormatsTest, AMonochromeCopyReachesTheClipboardInBlackAndWhite) {
    BmpForm()->CBMono->SetChecked(true);
    bmp->CopyToClipboard();
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetBitmap(&pasted));
    EXPECT_EQ(pasted.GetWidth(), 160);
    std::set<TColor> colours;
    for (int y = 0; y < 100; y += 7)
        for (int x = 0; x < 160; x += 7) colours.insert(PixelOf(pasted, x, y));
    EXPECT_EQ(colours, (std::set<TColor>{clBlack, clWhite}));
}

TEST_F(PictureFormatsTest, ThePreviewShowsTheFilteredPictureAtTheChosenDepth) {
    TBMPOptions* form = BmpForm();
    form->CBMono->SetChecked(true);
    auto* shown = dynamic_cast<TBitmap*>(form->ImageFiltered1->GetPicture()->GetGraphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_TRUE(shown->GetMonochrome());
    EXPECT_TRUE(form->ImageFiltered1->GetStretch());
    // Without a filters editor linked in the button changes nothing.
    const auto linked = ZuzBMPFiltersEditor;
    ZuzBMPFiltersEditor = nullptr;
    form->Button1->Click();
    EXPECT_EQ(bmp->Filters()->GetCount(), 0);
    // With one, its OK refreshes the preview.
    ZuzBMPFiltersEditor = [](TComponent*, TGraphic* g, TFilterItems* f) {
        EXPECT_EQ(g->GetWidth(), 160);
        f->Add(TInvertFilter::StaticClass());
        return true;
    };
    form->CBMono->SetChecked(false);
    form->Button1->Click();
    ZuzBMPFiltersEditor = linked;
    shown = dynamic_cast<TBitmap*>(form->ImageFiltered1->GetPicture()->GetGraphic());
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->GetCanvas()->GetPixel(10, 10), clBlue);
}

TEST_F(PictureFormatsTest, TheOptionsStartPlainAndEnhancedAndTheFormatsNameTheirFiles) {
    TBMPOptions* form = BmpForm();
    EXPECT_FALSE(form->CBMono->GetChecked());
    EXPECT_EQ(form->CBColors->GetItemIndex(), 0);
    ASSERT_EQ(form->CBColors->GetItems()->GetCount(), 8);
    EXPECT_EQ(form->CBColors->GetItems()->GetStrings(4), u"32768 (15 bit)");
    auto* emfForm = static_cast<TEMFOptions*>(emf->Options());
    EXPECT_TRUE(emfForm->CBEnhanced->GetChecked());
    EXPECT_EQ(bmp->Description(), u"as &Bitmap");
    EXPECT_EQ(emf->Description(), u"as &Metafile");
    EXPECT_EQ(bmp->FileFilter(), u"Bitmaps (*.bmp)|*.bmp");
    EXPECT_EQ(emf->FileFilter(), u"Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
}

TEST_F(PictureFormatsTest, AMetafileWithoutItsOptionsFormIsEnhancedAndReadsBack) {
    EXPECT_EQ(emf->Options(false), nullptr);
    EXPECT_TRUE(emf->GetEnhanced());
    EXPECT_EQ(emf->FileExtension(), u"emf");
    TMemoryStream bytes;
    emf->SaveToStream(&bytes);
    EXPECT_EQ(emf->Options(false), nullptr); // saving to a stream needs no form
    ASSERT_GT(bytes.GetSize(), 44);
    const auto* b = static_cast<const unsigned char*>(bytes.Memory());
    EXPECT_EQ(b[0], 1); // the header record
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b + 40), 4), " EMF");
    bytes.SetPosition(0);
    TMetafile back;
    back.LoadFromStream(&bytes);
    EXPECT_EQ(back.GetWidth(), 160);
    EXPECT_EQ(back.GetHeight(), 100);
    TBitmap played;
    played.Assign(&back);
    EXPECT_EQ(PixelOf(played, 10, 10), clYellow);
    EXPECT_EQ(PixelOf(played, 150, 90), clNavy);
}

TEST_F(PictureFormatsTest, TheMetafileOwnsTwoFilterEntriesAndThePickedOneSetsItsKind) {
    Owned<TZuzExportFormat> jpeg(TJPEGExportFormat::NewInstance());
    int counter = 0;
    bmp->IncFileFilterIndex(counter);
    emf->IncFileFilterIndex(counter);
    jpeg->IncFileFilterIndex(counter);
    EXPECT_EQ(counter, 4);
    EXPECT_EQ(bmp->FileFilterIndex(), 1);
    EXPECT_EQ(emf->FileFilterIndex(), 2);
    EXPECT_EQ(jpeg->FileFilterIndex(), 4);
    EXPECT_FALSE(emf->WantsFilterIndex(4));
    EXPECT_FALSE(emf->WantsFilterIndex(1));
    EXPECT_TRUE(emf->WantsFilterIndex(3)); // "Metafiles (*.wmf)"
    EXPECT_FALSE(emf->GetEnhanced());
    EXPECT_EQ(emf->FileExtension(), u"wmf");
    EXPECT_EQ(emf->FileFilterIndex(), 3);
    const String wmf = File("chart.wmf");
    emf->SaveToFile(wmf);
    const std::string plain = ReadAll(wmf);
    ASSERT_GT(plain.size(), 22u);
    EXPECT_EQ(plain.substr(0, 4), std::string("\xD7\xCD\xC6\x9A", 4)); // a placeable Windows metafile
    EXPECT_TRUE(emf->WantsFilterIndex(2));                             // back to "Enhanced Metafiles (*.emf)"
    EXPECT_TRUE(emf->GetEnhanced());
    const String enhanced = File("chart.emf");
    emf->SaveToFile(enhanced);
    EXPECT_EQ(ReadAll(enhanced).substr(40, 4), " EMF");
}

TEST_F(PictureFormatsTest, ACopiedMetafileIsOnTheClipboardAsAMetafileAndAPicture) {
    emf->SetEnhanced(false); // the clipboard's metafile is the enhanced kind all the same
    emf->CopyToClipboard();
    EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    TMetafile pasted;
    ASSERT_TRUE(Clipboard()->GetMetafile(&pasted));
    EXPECT_EQ(pasted.GetWidth(), 160);
    TBitmap picture;
    ASSERT_TRUE(Clipboard()->GetBitmap(&picture));
    EXPECT_EQ(PixelOf(picture, 10, 10), clYellow);
}

TEST_F(PictureFormatsTest, ThePicturesGoThroughTheRegistryInTheProgramsOrder) {
    ASSERT_EQ(ZuzExportFormats->Count(), 3);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TBMPExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(1), &TEMFExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(2), &TJPEGExportFormat::NewInstance);
    const String bmpName = File("registry.bmp"), emfName = File("registry.emf");
    TZuzExportFormat::SaveToFile(ZuzExportFormats->Get(0), panel.get(), bmpName);
    TZuzExportFormat::SaveToFile(ZuzExportFormats->Get(1), panel.get(), emfName);
    TPicture picture;
    picture.LoadFromFile(bmpName);
    EXPECT_NE(dynamic_cast<TBitmap*>(picture.GetGraphic()), nullptr);
    EXPECT_EQ(picture.GetWidth(), 160);
    TMetafile metafile;
    metafile.LoadFromFile(emfName);
    EXPECT_EQ(metafile.GetHeight(), 100);
    EXPECT_NE(dynamic_cast<TMetafile*>(Owned<TGraphic>(WithFileExtension(u".EMF")).get()), nullptr);
    EXPECT_NE(dynamic_cast<TBitmap*>(Owned<TGraphic>(WithFileExtension(u".bmp")).get()), nullptr);
    ZuzEmfOptionsFinalization();
    ZuzBmpOptionsFinalization();
    ASSERT_EQ(ZuzExportFormats->Count(), 1);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TJPEGExportFormat::NewInstance);
    ZuzBmpOptionsInitialization(); // for the tear-down
    ZuzEmfOptionsInitialization();
}

TEST_F(PictureFormatsTest, WithoutAPanelNothingIsWrittenAndTheOldFileStays) {
    const String name = File("old.bmp");
    WriteAll(name, "old");
    bmp->Panel = nullptr;
    emf->Panel = nullptr;
    EXPECT_THROW(bmp->SaveToFile(name), Exception);
    EXPECT_THROW(emf->CopyToClipboard(), Exception);
    EXPECT_THROW(ZuzSaveToBitmap(nullptr, name, TRect(0, 0, 10, 10)), Exception);
    EXPECT_EQ(ReadAll(name), "old");
    EXPECT_EQ(Entries(), 1u);
}

} // namespace
