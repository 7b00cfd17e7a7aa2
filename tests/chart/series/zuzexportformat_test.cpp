// The picture export registry and what every format shares: saving through the registry and
// the save dialog, the picture class of an extension, and saves that fail.
#include "chart/series/zuzexportformat.h"

#include "chart/canvas/zuzhtml.h"
#include "platform/core/streams.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/series/exportfixture.h"

namespace {

class EPictureFailed : public Exception {
public:
    using Exception::Exception;
};

// A bitmap format of the test's own: what any format other than JPEG goes through.
class TTestBitmapFormat : public TZuzExportFormat {
public:
    static inline int Alive = 0;
    static TZuzExportFormat* NewInstance() { return Create<TTestBitmapFormat>(); }
    TTestBitmapFormat() { ++Alive; }
    ~TTestBitmapFormat() override { --Alive; }
    void DoCopyToClipboard() override { Clipboard()->Assign(Picture().get()); }
    String Description() const override { return u"as &Bitmap"; }
    String FileExtension() const override { return u"bmp"; }
    String FileFilter() const override { return u"Bitmap files (*.bmp)|*.bmp"; }
    const ClassInfo* GraphicClass() const override { return &TBitmap::StaticClass(); }
    void SaveToStream(TStream* Stream) override { Picture()->SaveToStream(Stream); }

private:
    Owned<TBitmap> Picture() {
        return Panel->ZuzCreateBitmap(Panel->GetColor(), TRect(0, 0, Width, Height), pf24bit);
    }
};

// A format whose picture cannot be made: it has written part of it when it fails.
class TFailingFormat : public TTestBitmapFormat {
public:
    static TZuzExportFormat* NewInstance() { return Create<TFailingFormat>(); }
    void SaveToStream(TStream* Stream) override {
        Stream->WriteBuffer("BM partial", 10);
        throw EPictureFailed(u"Out of system resources");
    }
};

class ExportFormatsTest : public ExportTest {};

} // namespace

TEST_F(ExportFormatsTest, TheRegistryListsClassesInOrderAsOftenAsRegistered) {
    ZuzExportFormatsFinalization();
    EXPECT_EQ(ZuzExportFormats, nullptr);
    UnRegisterZuzExportFormat(TTestBitmapFormat::NewInstance); // no list yet: nothing happens
    RegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    ASSERT_NE(ZuzExportFormats, nullptr);
    RegisterZuzExportFormat(TJPEGExportFormat::NewInstance);
    RegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    ASSERT_EQ(ZuzExportFormats->Count(), 3);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TTestBitmapFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(1), &TJPEGExportFormat::NewInstance);
    EXPECT_EQ(ZuzExportFormats->Get(2), &TTestBitmapFormat::NewInstance);
    EXPECT_THROW(ZuzExportFormats->Get(3), EListError);
    UnRegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    ASSERT_EQ(ZuzExportFormats->Count(), 2);
    EXPECT_EQ(ZuzExportFormats->Get(0), &TJPEGExportFormat::NewInstance);
}

TEST_F(ExportFormatsTest, FilterIndexesCountOnFromTheCallersCounter) {
    Owned<TZuzExportFormat> a(TTestBitmapFormat::NewInstance()), b(TJPEGExportFormat::NewInstance());
    EXPECT_EQ(a->FileFilterIndex(), 0);
    int counter = 0;
    a->IncFileFilterIndex(counter);
    b->IncFileFilterIndex(counter);
    EXPECT_EQ(counter, 2);
    EXPECT_EQ(a->FileFilterIndex(), 1);
    EXPECT_EQ(b->FileFilterIndex(), 2);
    EXPECT_TRUE(b->WantsFilterIndex(2));
    EXPECT_FALSE(b->WantsFilterIndex(1));
}

TEST_F(ExportFormatsTest, AnExtensionInAnyCaseGivesThePictureOfItsFormat) {
    Owned<TGraphic> none(WithFileExtension(u".BMP"));
    EXPECT_EQ(none, nullptr); // only JPEG is registered so far
    RegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    for (const char16_t* ext : {u".jpg", u".JpG", u".JPG"}) {
        Owned<TGraphic> g(WithFileExtension(ext));
        EXPECT_NE(dynamic_cast<TJPEGImage*>(g.get()), nullptr);
    }
    Owned<TGraphic> bmp(WithFileExtension(u".bmp"));
    EXPECT_NE(dynamic_cast<TBitmap*>(bmp.get()), nullptr);
    EXPECT_EQ(Owned<TGraphic>(WithFileExtension(u".png")), nullptr);
    EXPECT_EQ(Owned<TGraphic>(WithFileExtension(u"jpg")), nullptr); // the dot belongs to it
    // The chart texts' pictures are looked up this way.
    ASSERT_NE(GraphicFileExtension, nullptr);
    EXPECT_NE(dynamic_cast<TJPEGImage*>(Owned<TGraphic>(GraphicFileExtension(u".JPG")).get()), nullptr);
    ZuzExportFormatsFinalization();
    EXPECT_EQ(GraphicFileExtension, nullptr);
    EXPECT_EQ(Owned<TGraphic>(WithFileExtension(u".jpg")), nullptr);
}

TEST_F(ExportFormatsTest, ABitmapFormatSavesThroughTheSameRegistry) {
    RegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    const String name = File("chart.bmp");
    TZuzExportFormat::SaveToFile(ZuzExportFormats->Get(1), panel.get(), name);
    EXPECT_EQ(TTestBitmapFormat::Alive, 0);
    TBitmap back;
    back.LoadFromFile(name);
    EXPECT_EQ(back.GetWidth(), 160);
    EXPECT_EQ(back.GetHeight(), 100);
    back.SetPixelFormat(pf24bit);
    const Byte* yellow = back.ScanLine(10) + 3 * 10;
    EXPECT_EQ(yellow[0], 0x00);
    EXPECT_EQ(yellow[1], 0xFF);
    EXPECT_EQ(yellow[2], 0xFF);
}

TEST_F(ExportFormatsTest, ThePanelIsSavedThroughADialogThatAsksBeforeReplacing) {
    std::vector<TDialogRequest> asked;
    String answer = File("picked");
    SetDialogResponder([&](const TDialogRequest& r) {
        asked.push_back(r);
        TDialogAnswer a;
        a.Result = answer.empty() ? mrCancel : mrOk;
        a.FileName = answer;
        return a;
    });
    ZuzSavePanel(TJPEGExportFormat::NewInstance, panel.get());
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].Kind, TDialogKind::SaveDialog);
    EXPECT_EQ(asked[0].Filter, u"JPEG files (*.jpg)|*.jpg");
    EXPECT_EQ(asked[0].DefaultExt, u"jpg");
    EXPECT_TRUE(TOpenOptions::FromBits(asked[0].Flags).Contains(ofOverwritePrompt));
    EXPECT_TRUE(std::filesystem::exists(dir.path / "picked.jpg"));

    answer.clear(); // Cancel writes nothing and frees the format
    RegisterZuzExportFormat(TTestBitmapFormat::NewInstance);
    ZuzExportSavePanel(TTestBitmapFormat::NewInstance, panel.get());
    EXPECT_EQ(TTestBitmapFormat::Alive, 0);
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(ExportFormatsTest, ASaveThatFailsLeavesTheOldFileIntact) {
    const String name = File("keep.jpg");
    WriteAll(name, "the picture saved yesterday");

    // The picture cannot be made half-way through.
    Owned<TZuzExportFormat> failing(TFailingFormat::NewInstance());
    failing->Panel = panel.get();
    EXPECT_THROW(failing->SaveToFile(name), EPictureFailed);
    EXPECT_EQ(ReadAll(name), "the picture saved yesterday");

    // Through the dialog: the error reaches the caller and the format is freed all the same.
    SetDialogResponder([&](const TDialogRequest&) {
        TDialogAnswer a;
        a.Result = mrOk;
        a.FileName = name;
        return a;
    });
    const int before = TTestBitmapFormat::Alive;
    EXPECT_THROW(ZuzSavePanel(TFailingFormat::NewInstance, panel.get()), EPictureFailed);
    EXPECT_EQ(TTestBitmapFormat::Alive, before);
    EXPECT_EQ(ReadAll(name), "the picture saved yesterday");

    // No panel: nothing is touched either.
    Owned<TZuzExportFormat> noPanel(TJPEGExportFormat::NewInstance());
    EXPECT_THROW(noPanel->SaveToFile(name), Exception);
    EXPECT_EQ(ReadAll(name), "the picture saved yesterday");
    EXPECT_EQ(Entries(), 1u); // and no half-written file beside it

    // A good save replaces it.
    Owned<TZuzExportFormat> jpeg(TJPEGExportFormat::NewInstance());
    jpeg->Panel = panel.get();
    jpeg->SaveToFile(name);
    EXPECT_EQ(ReadAll(name).substr(0, 3), "\xFF\xD8\xFF");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(ExportFormatsTest, CopyingPutsThePanelsPictureOnTheClipboard) {
    Owned<TZuzExportFormat> jpeg(TJPEGExportFormat::NewInstance());
    EXPECT_THROW(jpeg->CopyToClipboard(), Exception);
    jpeg->Panel = panel.get();
    jpeg->Width = 80;
    jpeg->CopyToClipboard();
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetBitmap(&pasted));
    EXPECT_EQ(pasted.GetWidth(), 80);
    EXPECT_EQ(pasted.GetHeight(), 100);
}

TEST_F(ExportFormatsTest, ThePanelSavedAsAComponentStreamReadsBack) {
    panel->SetVisible(false);
    panel->SetColor(clMaroon);
    const String name = File("panel.zuz");
    SaveZuzToFile(panel.get(), name);
    EXPECT_FALSE(panel->GetVisible()); // shown for the write only
    EXPECT_EQ(ReadAll(name).substr(0, 4), "TPF0");

    panel->SetColor(clGreen);
    TCustomZuzPanel* target = panel.get();
    LoadZuzFromFile(target, name);
    EXPECT_EQ(target, panel.get());
    EXPECT_EQ(panel->GetColor(), clMaroon);
    EXPECT_TRUE(panel->GetVisible());

    // A stream of another kind of component is refused, not taken for a panel.
    RegisterClasses({&TTimer::StaticClass()});
    const Owned<TTimer> timer(Create<TTimer>(nullptr));
    TMemoryStream other;
    other.WriteComponent(timer.get());
    other.SetPosition(0);
    TCustomZuzPanel* none = nullptr;
    EXPECT_THROW(LoadZuzFromStream(none, &other), EInvalidCast);
    EXPECT_EQ(none, nullptr);

    // Without a panel the old file stays as it was.
    EXPECT_THROW(SaveZuzToFile(nullptr, name), Exception);
    EXPECT_EQ(ReadAll(name).substr(0, 4), "TPF0");
}

TEST_F(ExportFormatsTest, TheHelpFolderComesFromTheSystemsHelpRegister) {
    win32::SetRegistryDirectory(dir.path / "registry");
    EXPECT_EQ(GetRegistryHelpPath(u"chart.hlp"), u"");
    {
        TRegistry r;
        r.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(r.OpenKey(u"SOFTWARE\\Microsoft\\Windows\\Help", true));
        r.WriteString(u"chart.hlp", u"C:\\Help");
    }
    EXPECT_EQ(GetRegistryHelpPath(u"chart.hlp"), u"C:\\Help\\chart.hlp");
    // The key names other programs' files too: a file it has no folder text for has no path.
    {
        TRegistry r;
        r.SetRootKey(HKEY_LOCAL_MACHINE);
        ASSERT_TRUE(r.OpenKey(u"SOFTWARE\\Microsoft\\Windows\\Help", true));
        r.WriteString(u"empty.hlp", u"");
        r.WriteInteger(u"number.hlp", 7);
    }
    for (const String name : {u"missing.hlp", u"empty.hlp", u"number.hlp"})
        EXPECT_EQ(GetRegistryHelpPath(name), u"") << UTF8Encode(name);
    win32::SetRegistryDirectory({});
}
