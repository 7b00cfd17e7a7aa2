// The print preview window opened by the previewer: its options, the caption, the printer's
// orientation, the margin edits, "Reset Margins", "Proportional", the detail bar, and a chart
// printed from it into a PDF file that is then rasterised.
#include "chart/series/zuzprevi.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzdraw3d.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartseries.h"
#include "chart/series/series.h"
#include "chart/series/zuzedit.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/dialogs.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/printers.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/series/chartunits.h"
#include "tests/support/errnotext.h"
#include "tests/support/guiprobe.h"
#include "tests/support/keptprinter.h"
#include "tests/support/pdfprobe.h"
#include "tests/support/smalldisk.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <vector>

namespace {

class PreviewerTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartChartUnits();
        ZuzEditInitialization();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        Printer()->SetFileName(String(file.u16string()));
        Printer()->SetOrientation(poPortrait);
        ZuzChangePaperOrientation = true;
        chart.reset(Create<TChart>(nullptr));
        chart->SetName(u"Chart1");
        chart->SetBounds(0, 0, 400, 250);
        chart->SetColor(clBlack);
        previewer.reset(Create<TChartPreviewer>(nullptr));
        previewer->SetChart(chart.get());
    }
    void TearDown() override {
        SetDialogResponder({});
        previewer.reset();
        chart.reset();
    }
    // Opens the preview and runs Look on the shown form; the window then closes. A save dialog is
    // answered by Save.
    void Open(const std::function<void(TChartPreview&)>& Look,
              const std::function<TDialogAnswer(const TDialogRequest&)>& Save = {}) {
        bool seen = false;
        SetDialogResponder([&](const TDialogRequest& r) {
            if (r.Kind == TDialogKind::SaveDialog && Save) return Save(r);
            TDialogAnswer a;
            a.Result = mrOk;
            if (auto* form = dynamic_cast<TChartPreview*>(r.Form)) {
                seen = true;
                Look(*form);
            }
            return a;
        });
        previewer->Execute();
        EXPECT_TRUE(seen);
    }
    TempDir dir;
    std::filesystem::path file = dir.path / "chart.pdf";
    KeptPrinter kept;
    Owned<TChart> chart;
    Owned<TChartPreviewer> previewer;
};

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The variable set for one test, as it was afterwards.
class EnvVar {
public:
    EnvVar(const char* Name, const std::string& Value) : name_(Name) {
        if (const char* old = std::getenv(Name)) old_ = old;
        ::setenv(Name, Value.c_str(), 1);
    }
    ~EnvVar() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

} // namespace

TEST_F(PreviewerTest, DefaultOptionsAreTheFirstEightAndEnableEveryControl) {
    EXPECT_EQ(previewer->GetOptions(), DefaultChartPreviewOptions());
    EXPECT_FALSE(previewer->GetOptions().Contains(cpoDragChart));
    EXPECT_TRUE(previewer->GetOptions().Contains(cpoProportional));
    Open([&](TChartPreview& f) {
        EXPECT_EQ(f.GetCaption(), u"VedIrure Print Preview");
        EXPECT_EQ(previewer->GetPreview(), f.PreviewPanel());
        EXPECT_EQ(f.PreviewPanel()->GetPanel(), chart.get());
        EXPECT_TRUE(f.PreviewPanel()->GetAllowResize());
        EXPECT_TRUE(f.PreviewPanel()->GetAllowMove());
        EXPECT_FALSE(f.PreviewPanel()->GetDragImage());
        EXPECT_FALSE(f.PreviewPanel()->GetAsBitmap());
        for (TControl* c : std::initializer_list<TControl*>{f.CBPrinters, f.BSetupPrinter, f.BPrint,
                                                            f.ChangeDetailGroup, f.Orientation, f.GBMargins})
            EXPECT_TRUE(c->GetEnabled()) << UTF8Encode(c->GetName());
        EXPECT_FALSE(f.BReset->GetEnabled());
        EXPECT_FALSE(chart->PrintZuzPanel);
        ASSERT_EQ(f.CBPrinters->GetItems()->GetCount(), 1);
        EXPECT_EQ(f.CBPrinters->GetItems()->GetStrings(0), PdfPrinterName);
    });
    EXPECT_EQ(previewer->GetPreview(), nullptr);
    EXPECT_TRUE(chart->CancelMouse);
}

TEST_F(PreviewerTest, AllElevenOptionsDragLiveAndPrintThePanelAsABitmapWhileOpen) {
    TChartPreviewOptions all = DefaultChartPreviewOptions();
    all += TChartPreviewOptions{cpoDragChart, cpoPrintPanel, cpoAsBitmap};
    previewer->SetOptions(all);
    previewer->SetTitle(u"Печать графика");
    Open([&](TChartPreview& f) {
        EXPECT_EQ(f.GetCaption(), u"Печать графика");
        EXPECT_TRUE(f.PreviewPanel()->GetDragImage());
        EXPECT_TRUE(f.PreviewPanel()->GetAsBitmap());
        EXPECT_TRUE(f.CBBitmap->GetChecked());
        EXPECT_TRUE(chart->PrintZuzPanel);
    });
    EXPECT_FALSE(chart->PrintZuzPanel);
}

TEST_F(PreviewerTest, ClearedOptionsDisableTheirControls) {
    previewer->SetOptions({});
    Open([&](TChartPreview& f) {
        for (TControl* c : std::initializer_list<TControl*>{
                 f.CBPrinters, f.BSetupPrinter, f.ChangeDetailGroup, f.Orientation, f.GBMargins, f.BReset})
            EXPECT_FALSE(c->GetEnabled()) << UTF8Encode(c->GetName());
        EXPECT_FALSE(f.PreviewPanel()->GetAllowResize());
        EXPECT_FALSE(f.PreviewPanel()->GetAllowMove());
        // Proportional printing is turned off for good, never on.
        EXPECT_FALSE(chart->GetPrintProportional());
        EXPECT_FALSE(f.CBProp->GetChecked());
    });
    EXPECT_FALSE(chart->GetPrintProportional());
}

TEST_F(PreviewerTest, WithoutChartNothingOpensAndAFreedChartIsForgotten) {
    previewer->SetChart(nullptr);
    bool opened = false;
    SetDialogResponder([&](const TDialogRequest&) {
        opened = true;
        return TDialogAnswer{};
    });
    previewer->Execute();
    EXPECT_FALSE(opened);
    previewer->SetChart(chart.get());
    chart.reset();
    EXPECT_EQ(previewer->GetChart(), nullptr);
}

TEST_F(PreviewerTest, OpensInLandscapeWhileThePaperOrientationIsChanged) {
    Open([&](TChartPreview& f) {
        EXPECT_EQ(Printer()->GetOrientation(), poLandscape);
        EXPECT_EQ(f.Orientation->GetItemIndex(), 1);
        f.Orientation->SetItemIndex(0);
        EXPECT_EQ(Printer()->GetOrientation(), poPortrait);
    });
    ZuzChangePaperOrientation = false;
    Open([&](TChartPreview& f) { EXPECT_EQ(f.Orientation->GetItemIndex(), 0); });
}

TEST_F(PreviewerTest, MarginEditsRefuseAnOverlapAndResetMarginsPutsTheOldOnesBack) {
    chart->SetPrintProportional(false);
    chart->PrintMargins = TRect(10, 60, 10, 40);
    Open([&](TChartPreview& f) {
        EXPECT_EQ(f.UDTopMa->GetPosition(), 60);
        EXPECT_EQ(f.UDBotMa->GetPosition(), 40);
        f.UDTopMa->SetPosition(65); // nothing would be left between them
        EXPECT_EQ(f.UDTopMa->GetPosition(), 60);
        EXPECT_EQ(chart->PrintMargins, TRect(10, 60, 10, 40));
        EXPECT_FALSE(f.BReset->GetEnabled());
        f.UDTopMa->SetPosition(55);
        f.UDLeftMa->SetPosition(20);
        EXPECT_EQ(chart->PrintMargins, TRect(20, 55, 10, 40));
        EXPECT_FALSE(chart->GetPrintProportional());
        EXPECT_TRUE(f.BReset->GetEnabled());
        f.BReset->Click();
        EXPECT_EQ(chart->PrintMargins, TRect(10, 60, 10, 40));
        EXPECT_EQ(f.UDTopMa->GetPosition(), 60);
        EXPECT_EQ(f.UDLeftMa->GetPosition(), 10);
        EXPECT_FALSE(f.BReset->GetEnabled());
    });
}

TEST_F(PreviewerTest, ProportionalTickedRecomputesTheMarginsUntickedEnablesReset) {
    Open([&](TChartPreview& f) {
        const TRect proportional = chart->CalcProportionalMargins();
        EXPECT_TRUE(f.CBProp->GetChecked());
        EXPECT_EQ(chart->PrintMargins, proportional);
        EXPECT_EQ(f.UDLeftMa->GetPosition(), proportional.Left);
        EXPECT_EQ(f.UDTopMa->GetPosition(), proportional.Top);
        f.CBProp->SetChecked(false);
        EXPECT_FALSE(chart->GetPrintProportional());
        EXPECT_TRUE(f.BReset->GetEnabled());
        f.UDLeftMa->SetPosition(30);
        f.CBProp->SetChecked(true);
        EXPECT_TRUE(chart->GetPrintProportional());
        EXPECT_FALSE(f.BReset->GetEnabled());
        EXPECT_EQ(chart->PrintMargins, proportional);
        EXPECT_EQ(f.UDLeftMa->GetPosition(), proportional.Left);
        // A margin dragged on the page unticks it.
        f.ZuzPreviewPanel1ChangeMargins(f.PreviewPanel(), true, TRect(5, 6, 7, 8));
        EXPECT_FALSE(f.CBProp->GetChecked());
        EXPECT_EQ(f.UDBotMa->GetPosition(), 8);
    });
}

TEST_F(PreviewerTest, TheDetailBarSetsThePrintResolution) {
    Open([&](TChartPreview& f) {
        EXPECT_EQ(f.Resolution->GetPosition(), 100);
        f.Resolution->SetPosition(99);
        EXPECT_EQ(chart->GetPrintResolution(), -1);
        f.Resolution->SetPosition(0);
        EXPECT_EQ(chart->GetPrintResolution(), -100);
        f.ShowMargins->SetChecked(false);
        EXPECT_FALSE(f.PreviewPanel()->GetMargins()->GetVisible());
    });
}

TEST_F(PreviewerTest, PrintGoesThroughThePreviewIntoAPdfWithTheChartInsideTheMargins) {
    TChartPreviewOptions all = DefaultChartPreviewOptions();
    all += TChartPreviewOptions{cpoDragChart, cpoPrintPanel, cpoAsBitmap};
    previewer->SetOptions(all);
    TRect printRect;
    Open([&](TChartPreview& f) {
        f.BPrint->Click();
        printRect = chart->ChartPrintRect();
        EXPECT_EQ(Screen->GetCursor(), crDefault);
    });
    ASSERT_TRUE(std::filesystem::exists(file));
    EXPECT_EQ(pdf::Info(file.string(), "Title"), "Chart1");
    const pdf::Raster page = pdf::Rasterise(file.string(), 30);
    if (page.width == 0) GTEST_SKIP() << "pdftoppm is not installed";
    // A4 landscape at 30 dots per inch; the page rectangle is in 300-dpi pixels.
    ASSERT_EQ(page.width, 351);
    ASSERT_EQ(page.height, 248);
    int left = page.width, top = page.height, right = -1, bottom = -1, dark = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const auto p = page.At(x, y);
            if (p.r + p.g + p.b > 3 * 240) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
            if (p.r + p.g + p.b < 3 * 40) ++dark;
        }
    auto at30 = [](int v) { return v / 10.0; };
    EXPECT_NEAR(left, at30(printRect.Left), 2);
    EXPECT_NEAR(top, at30(printRect.Top), 2);
    EXPECT_NEAR(right + 1, at30(printRect.Right), 2);
    EXPECT_NEAR(bottom + 1, at30(printRect.Bottom), 2);
    EXPECT_GT(printRect.Left, 0);
    EXPECT_GT(printRect.Top, 0);
    // The black chart with its panel printed fills most of its rectangle.
    const int area = (right - left + 1) * (bottom - top + 1);
    EXPECT_GT(dark, area / 2);
}

TEST_F(PreviewerTest, AFailedPrintFromTheWindowRestoresTheCursorAndTheChart) {
    const String missing((dir.path / "missing" / "chart.pdf").u16string());
    Printer()->SetFileName(missing);
    chart->SetPrintProportional(false);
    chart->PrintMargins = TRect(10, 12, 14, 16);
    Open([&](TChartPreview& f) {
        try {
            f.BPrintClick(&f);
            ADD_FAILURE() << "printing into a missing folder passed";
        } catch (const EPrinter& e) {
            EXPECT_EQ(e.Message(), u"Cannot create file \"" + missing + u"\". " + ErrnoText(ENOENT));
        }
        EXPECT_EQ(Screen->GetCursor(), crDefault);
        EXPECT_FALSE(Printer()->GetPrinting());
    });
    EXPECT_EQ(chart->PrintMargins, TRect(10, 12, 14, 16));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "missing"));
}

TEST_F(PreviewerTest, ThePdfPrinterAsksForTheFileStartingInTheDocumentsFolderAndCancelsQuietly) {
    // A fresh account: no documents folder yet.
    const EnvVar home("HOME", (dir.path / "home").string());
    const EnvVar config("XDG_CONFIG_HOME", (dir.path / "home" / ".config").string());
    fs::create_directory(dir.path / "home");
    const fs::path documents = dir.path / "home" / "Documents";
    const fs::path chosen = documents / "Печать График1.pdf";
    Printer()->SetFileName(u"");
    previewer->SetTitle(u"Печать График1");
    std::vector<TDialogRequest> asked;
    const auto save = [&](bool Ok) {
        return [&, Ok](const TDialogRequest& r) {
            asked.push_back(r);
            EXPECT_EQ(Screen->GetCursor(), crDefault); // no hourglass over the question
            TDialogAnswer a;
            a.Result = Ok ? mrOk : mrCancel;
            a.FileName = String(chosen.u16string());
            return a;
        };
    };
    Open([&](TChartPreview& f) { f.BPrint->Click(); }, save(true));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].InitialDir, String(documents.u16string()));
    EXPECT_TRUE(fs::is_directory(documents));
    EXPECT_EQ(asked[0].FileName, u"Печать График1.pdf");
    EXPECT_EQ(asked[0].DefaultExt, u"pdf");
    EXPECT_TRUE(TOpenOptions::FromBits(asked[0].Flags).Contains(ofOverwritePrompt));
    EXPECT_EQ(pdf::Info(chosen.string(), "Title"), "Печать График1");
    EXPECT_EQ(Printer()->GetFileName(), u""); // the next print asks again

    // Cancelled: no job, no error box, the file as it was.
    const std::string earlier = ReadAll(chosen);
    Open(
        [&](TChartPreview& f) {
            EXPECT_THROW(f.BPrintClick(&f), EAbort);
            EXPECT_EQ(Screen->GetCursor(), crDefault);
            EXPECT_FALSE(Printer()->GetPrinting());
        },
        save(false));
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(ReadAll(chosen), earlier);
    EXPECT_EQ(std::distance(fs::directory_iterator(documents), fs::directory_iterator()), 1);
}

TEST_F(PreviewerTest, APrintThatDoesNotFitOnTheDiskKeepsTheEarlierPdfAndSaysWhichFileAndWhy) {
    SmallDisk disk(64 * 1024);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Why();
    const fs::path target = disk.path / "chart.pdf";
    const String name(target.u16string());
    Printer()->SetFileName(name);
    Open([&](TChartPreview& f) { f.BPrint->Click(); });
    const std::string earlier = ReadAll(target);
    ASSERT_EQ(earlier.rfind("%PDF", 0), 0u);
    const auto fails = [&](const String& Why) {
        Open([&](TChartPreview& f) {
            try {
                f.BPrintClick(&f);
                ADD_FAILURE() << "a print that was not written passed";
            } catch (const EPrinter& e) {
                EXPECT_EQ(e.Message(), Why);
            }
            EXPECT_FALSE(Printer()->GetPrinting());
        });
        EXPECT_EQ(ReadAll(target), earlier);
        EXPECT_EQ(std::distance(fs::directory_iterator(disk.path), fs::directory_iterator()), 2);
    };
    disk.Fill(0);
    fails(u"Cannot write file \"" + name + u"\". " + ErrnoText(ENOSPC));
    disk.MakeReadOnly();
    fails(u"Cannot create file \"" + name + u"\". " + ErrnoText(EROFS));
}

TEST_F(PreviewerTest, TheWindowShowsTheSheetWithItsShadowAndTheChartInsideTheMargins) {
    TChartPreviewOptions all = DefaultChartPreviewOptions();
    all += TChartPreviewOptions{cpoDragChart, cpoPrintPanel, cpoAsBitmap};
    previewer->SetOptions(all);
    Open([&](TChartPreview& f) {
        probe::ProcessEvents();
        TZuzPreviewPanel* page = f.PreviewPanel();
        page->Draw();
        probe::Picture shot = probe::Grab(f);
        if (const char* dir = std::getenv("MOLTREN_PICTURE_DIR")) {
            shot.SavePng(std::filesystem::path(dir) / "print-preview.png");
            // And as the window system shows it (on an X server, a real window).
            probe::WaitFor([&] { return probe::Shown(f); });
            probe::GrabScreen(f).SavePng(std::filesystem::path(dir) / "print-preview-screen.png");
        }
        const TPoint at = probe::MapTo(*page, f, TPoint(0, 0));
        const TRect paper = page->GetPaperRect(), image = page->GetImageRect();
        auto pixel = [&](int x, int y) { return shot.Pixel(at.X + x, at.Y + y); };
        const probe::Rgb white{255, 255, 255}, black{0, 0, 0};
        EXPECT_EQ(pixel(paper.Left, paper.Top), black);                     // the sheet's outline
        EXPECT_EQ(pixel(paper.Left + 2, paper.Top + 2), white);             // paper outside the margins
        const probe::Rgb shadow = pixel(paper.Right + 1, paper.Bottom + 1); // grey, softened at its edge
        EXPECT_EQ(shadow.r, shadow.b);
        EXPECT_LT(shadow.r, 160);
        EXPECT_EQ(pixel((image.Left + image.Right) / 2, image.Top + 3), black); // the black chart
        EXPECT_LT(image.Width(), paper.Width());
        // Painted again (a margin typed, the detail changed), the outline is still solid: the
        // margin lines' dotted pen of the last paint does not draw it.
        page->Draw();
        shot = probe::Grab(f);
        for (int x = paper.Left; x < image.Left - 1; ++x) EXPECT_EQ(pixel(x, paper.Top), black) << x;
    });
}

TEST_F(PreviewerTest, AVectorPrintKeepsTheSeriesInsideTheMarginsAndItsTextsAsText) {
    chart->SetColor(clWhite);
    auto* line = Create<TLineSeries>(chart.get());
    chart->AddSeries(line);
    line->SetSeriesColor(clRed);
    line->GetLinePen()->SetWidth(3);
    for (int i = 0; i < 10; ++i) line->AddXY(i, (i * 7) % 5);
    TRect printRect;
    Open([&](TChartPreview& f) {
        EXPECT_FALSE(f.PreviewPanel()->GetAsBitmap());
        f.BPrint->Click();
        printRect = chart->ChartPrintRect();
    });
    if (const char* dir = std::getenv("MOLTREN_PICTURE_DIR"))
        std::filesystem::copy_file(file, std::filesystem::path(dir) / "printed-chart.pdf",
                                   std::filesystem::copy_options::overwrite_existing);
    const pdf::Raster page = pdf::Rasterise(file.string(), 30);
    if (page.width == 0) GTEST_SKIP() << "pdftoppm is not installed";
    int red = 0, outside = 0;
    for (int y = 0; y < page.height; ++y)
        for (int x = 0; x < page.width; ++x) {
            const auto p = page.At(x, y);
            if (p.r + p.g + p.b > 3 * 240) continue;
            if (p.r > 180 && p.g < 90 && p.b < 90) ++red;
            if (x < printRect.Left / 10 - 2 || x > printRect.Right / 10 + 2 || y < printRect.Top / 10 - 2 ||
                y > printRect.Bottom / 10 + 2)
                ++outside;
        }
    EXPECT_GT(red, 50);
    EXPECT_EQ(outside, 0);
    // Axis labels stay text on a vector page.
    EXPECT_NE(pdf::Text(file.string()).find('4'), std::string::npos);
}

TEST_F(PreviewerTest, AMarginDraggedWithTheMouseReachesTheEditsAndUnticksProportional) {
    Open([&](TChartPreview& f) {
        TZuzPreviewPanel* page = f.PreviewPanel();
        page->Draw();
        const TRect image = page->GetImageRect();
        const int y = (image.Top + image.Bottom) / 2;
        probe::MousePress(*page, mbLeft, TPoint(image.Left, y));
        probe::MouseMoveTo(*page, mbLeft, TPoint(image.Left + 30, y));
        probe::MouseRelease(*page, mbLeft, TPoint(image.Left + 30, y));
        TRect want;
        ASSERT_TRUE(ZuzPreviewGeometry::MarginsOf(
            page->GetPaperRect(), TRect(image.Left + 30, image.Top, image.Right, image.Bottom), want));
        EXPECT_EQ(chart->PrintMargins, want);
        EXPECT_EQ(f.UDLeftMa->GetPosition(), want.Left);
        EXPECT_FALSE(f.CBProp->GetChecked());
        EXPECT_FALSE(chart->GetPrintProportional());
        EXPECT_EQ(page->GetDragZone(), zuzPrev_None);
    });
}

namespace {
// A navigator over two pages that counts its prints.
class TTwoPages : public TCustomZuzNavigator {
public:
    using TCustomZuzNavigator::TCustomZuzNavigator;
    int PageCount() override { return 2; }
    void Print() override { ++prints; }
    int prints = 0;
};
} // namespace

TEST_F(PreviewerTest, ANavigatorUnderTheSettingsPrintsEveryPage) {
    Owned<TChartPreview> form(Create<TChartPreview>(nullptr));
    form->NavigatorClass = [](TComponent* owner) -> TCustomZuzNavigator* { return Create<TTwoPages>(owner); };
    form->PreviewPanel()->SetPanel(chart.get());
    SetDialogResponder([&](const TDialogRequest&) {
        auto* bar = dynamic_cast<TTwoPages*>(form->GetNavigator());
        EXPECT_NE(bar, nullptr);
        if (!bar) return TDialogAnswer{};
        EXPECT_EQ(bar->GetParent(), form->Panel2);
        EXPECT_EQ(bar->GetHelpContext(), 1488);
        EXPECT_EQ(bar->GetPanel(), chart.get());
        form->BPrint->Click();
        EXPECT_EQ(bar->prints, 1);
        TDialogAnswer a;
        a.Result = mrOk;
        return a;
    });
    form->ShowModal();
    EXPECT_FALSE(std::filesystem::exists(file)); // the pages went through the navigator
    form.reset();
}
