// The panel's prints and pictures: page rectangles, proportional margins, a whole print to
// a PDF file, and bitmaps.
#include "chart/canvas/zuzprocs.h"

#include "chart/canvas/zuzconst.h"
#include "platform/gui/clipbrd.h"
#include "platform/gui/forms.h"
#include "tests/support/errnotext.h"
#include "tests/support/filesizelimit.h"
#include "tests/support/guiprobe.h"
#include "tests/support/keptprinter.h"
#include "tests/support/pdfprobe.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

// Fills what it is given in its colour and outlines the chart rectangle in red; notes whether
// each draw was a print.
class TPagePanel : public TCustomZuzPanel {
public:
    using TCustomZuzPanel::TCustomZuzPanel;
    bool fill = true;
    bool fail = false;
    std::vector<bool> printing;

protected:
    void InternalDraw(const TRect& R) override {
        printing.push_back(GetPrinting());
        if (fail) throw Exception(u"No data for the page");
        TCanvas3D* c = GetCanvas();
        if (fill) {
            c->Brush->SetColor(GetColor());
            c->Brush->SetStyle(bsSolid);
            c->EraseBackground(R);
        }
        c->Brush->SetStyle(bsClear);
        c->Pen->SetColor(clRed);
        c->Pen->SetStyle(psSolid);
        c->Rectangle(GetChartRect());
    }
};

// Prints go to a PDF writer of the test's own while it runs.
class PrintTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        InitFormsUnit();
        ZuzConstInitialization();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override { Printer()->SetFileName(String(file.u16string())); }
    void Use(std::unique_ptr<TPrinter> p) {
        SetPrinter(std::move(p));
        Printer()->SetFileName(String(file.u16string()));
    }
    TempDir dir;
    std::filesystem::path file = dir.path / "panel.pdf";
    KeptPrinter kept;
};

std::string Contents(const std::filesystem::path& File) {
    std::ifstream in(File, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

// The page of the PDF writer is 2479 x 3508 pixels at 300 dots per inch (A4 portrait).
struct PrintRectRow {
    const char* rule;
    TPrinterOrientation orientation;
    bool proportional;
    int width, height; // the panel
    TRect margins;     // the stored print margins
    TRect wantMargins; // the margins used
    TRect wantRect;    // the rectangle on the page
};

class PrintRectRule : public PrintTest, public ::testing::WithParamInterface<PrintRectRow> {};

TEST_P(PrintRectRule, FollowsTheMarginPercentagesOfThePage) {
    const PrintRectRow& r = GetParam();
    Printer()->SetOrientation(r.orientation);
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, r.width, r.height);
    panel.SetPrintProportional(r.proportional);
    panel.PrintMargins = r.margins;
    EXPECT_EQ(panel.ChartPrintRect(), r.wantRect);
    EXPECT_EQ(panel.PrintMargins, r.wantMargins);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PrintRectRule,
    ::testing::Values(
        // 15 % of 2479 is 371.85, of 3508 is 526.2.
        PrintRectRow{"StoredMarginsPortrait", poPortrait, false, 400, 250, TRect(15, 15, 15, 15),
                     TRect(15, 15, 15, 15), TRect(372, 526, 2107, 2982)},
        PrintRectRow{"StoredMarginsLandscape", poLandscape, false, 400, 250, TRect(15, 15, 15, 15),
                     TRect(15, 15, 15, 15), TRect(526, 372, 2982, 2107)},
        // 10 % is 247.9, 5 % is 123.95, 20 % of 3508 is 701.6.
        PrintRectRow{"UnevenMarginsEachOfItsOwnSide", poPortrait, false, 400, 250, TRect(10, 20, 5, 0),
                     TRect(10, 20, 5, 0), TRect(248, 702, 2355, 3508)},
        // V = 0.7 * 2479 * 0.625 = 1084.56; (3508 - V) * 100 / 3508 = 69.08, halved 34; 34 % is 1192.72.
        PrintRectRow{"WidePanelOnPortraitKeepsSidesAndComputesTopAndBottom", poPortrait, true, 400, 250,
                     TRect(1, 2, 3, 4), TRect(15, 34, 15, 34), TRect(372, 1193, 2107, 2315)},
        // V = 0.7 * 3508 * 0.625 = 1534.75; (2479 - V) * 100 / 2479 = 38.09, halved 19.
        PrintRectRow{"WidePanelOnLandscape", poLandscape, true, 400, 250, TRect(1, 2, 3, 4),
                     TRect(15, 19, 15, 19), TRect(526, 471, 2982, 2008)},
        // Square: the second branch. V = 0.7 * 3508 = 2455.6; (2479 - V) * 100 / 2479 = 0.94 -> 1, halved 0.
        PrintRectRow{"SquarePanelKeepsTopAndBottom", poPortrait, true, 300, 300, TRect(1, 2, 3, 4),
                     TRect(0, 15, 0, 15), TRect(0, 526, 2479, 2982)},
        // V = 0.7 * 3508 * 0.5 = 1227.8; (2479 - V) * 100 / 2479 = 50.47 -> 50, halved 25; 25 % is 619.75.
        PrintRectRow{"TallPanel", poPortrait, true, 200, 400, TRect(1, 2, 3, 4), TRect(25, 15, 25, 15),
                     TRect(620, 526, 1859, 2982)}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST_F(PrintTest, WithoutAPrinterProportionalMarginsFollowTheScreen) {
    Use(std::make_unique<TPrinter>(false, false));
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 400, 250);
    const long double sw = Screen->GetWidth(), sh = Screen->GetHeight();
    const long double v = (sw - sw * 0.3L) * 0.625L;
    const int m = static_cast<int>(std::nearbyint((sh - v) * 100 / sh)) / 2;
    EXPECT_EQ(panel.CalcProportionalMargins(), TRect(15, m, 15, m));
    EXPECT_THROW(panel.ChartPrintRect(), EPrinter);
    // A panel without area counts as square instead of dividing by nothing.
    panel.SetBounds(0, 0, 0, 0);
    const TRect square = panel.CalcProportionalMargins();
    EXPECT_EQ(square.Top, 15);
    EXPECT_EQ(square.Left, static_cast<int>(std::nearbyint((sw - sh * 0.7L) * 100 / sw)) / 2);
}

TEST_F(PrintTest, MetaBoundsScaleTheTargetByThePrintResolution) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 400, 250);
    struct Row {
        int resolution;
        TRect want;
        int winWidth, winHeight;
    };
    for (const Row& row : {Row{0, {50, 100, 450, 350}, 400, 250}, Row{50, {25, 50, 225, 175}, 200, 125},
                           Row{-50, {75, 150, 675, 525}, 600, 375}}) {
        panel.SetPrintResolution(row.resolution);
        TRect r(100, 200, 900, 700);
        int ww = 0, wh = 0, vw = 0, vh = 0;
        panel.CalcMetaBounds(r, panel.GetRectangle(), ww, wh, vw, vh);
        EXPECT_EQ(r, row.want) << row.resolution;
        EXPECT_EQ(ww, row.winWidth);
        EXPECT_EQ(wh, row.winHeight);
        EXPECT_EQ(vw, 800);
        EXPECT_EQ(vh, 500);
    }
}

TEST_F(PrintTest, PanelPrintedToPdfShowsAtItsMarginsAndLeavesTheControlAsItWas) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetName(u"DailyChart");
    panel.SetBounds(0, 0, 400, 250);
    panel.SetColor(clBlue);
    panel.SetPrintProportional(false);
    panel.Draw(); // the control's own paint
    const TPanelLayout screen = panel.GetLayout();
    panel.Print();
    EXPECT_FALSE(Printer()->GetPrinting());
    ASSERT_EQ(panel.printing.size(), 2u);
    EXPECT_TRUE(panel.printing[1]);
    EXPECT_FALSE(panel.GetPrinting());
    EXPECT_TRUE(panel.AutoRepaint);
    EXPECT_EQ(panel.GetLayout().ChartRect, screen.ChartRect);
    EXPECT_EQ(panel.GetLayout().ChartBounds, screen.ChartBounds);
    EXPECT_EQ(pdf::Info(file.string(), "Title"), "DailyChart");
    // At 30 dots per inch the page rectangle (372, 526)-(2107, 2982) is (37.2, 52.6)-(210.7, 298.2).
    const pdf::Raster r = pdf::Rasterise(file.string(), 30);
    ASSERT_EQ(r.width, 248);
    const pdf::Raster::Rgb blue{0, 0, 255}, white{255, 255, 255};
    EXPECT_EQ(r.At(40, 175), blue);
    EXPECT_EQ(r.At(35, 175), white);
    EXPECT_EQ(r.At(208, 175), blue);
    EXPECT_EQ(r.At(213, 175), white);
    EXPECT_EQ(r.At(124, 55), blue);
    EXPECT_EQ(r.At(124, 50), white);
    EXPECT_EQ(r.At(124, 296), blue);
    EXPECT_EQ(r.At(124, 300), white);
    // The chart rectangle's outline (margins 3 % and 4 % of the panel) is on paper too.
    const pdf::Raster fine = pdf::Rasterise(file.string(), 100);
    const int x = static_cast<int>((372 + 0.03 * 1735) / 3); // about 141 at 100 dots per inch
    bool red = false;
    for (int dx = -2; dx <= 2; ++dx)
        red = red || (fine.At(x + dx, 580).r > 200 && fine.At(x + dx, 580).b < 80);
    EXPECT_TRUE(red);
}

TEST_F(PrintTest, PrintLandscapePutsThePrintersOrientationBack) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 400, 250);
    panel.PrintLandscape();
    EXPECT_EQ(Printer()->GetOrientation(), poPortrait);
    EXPECT_NE(pdf::Info(file.string(), "Page size").find("842 x 595"), std::string::npos);
}

TEST_F(PrintTest, AFailingPrintEndsTheJobRestoresThePanelAndKeepsTheEarlierFile) {
    { std::ofstream(file) << "earlier"; }
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 400, 250);
    panel.fail = true;
    EXPECT_THROW(panel.Print(), Exception);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_TRUE(Printer()->GetAborted());
    EXPECT_TRUE(panel.AutoRepaint);
    EXPECT_FALSE(panel.GetPrinting());
    EXPECT_EQ(Contents(file), "earlier");
    // The next print succeeds and replaces it.
    panel.fail = false;
    panel.Print();
    EXPECT_EQ(Contents(file).rfind("%PDF", 0), 0u);
}

TEST_F(PrintTest, BitmapsFillTheirBackColourAndFilesAreWhite) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 100, 60);
    panel.fill = false;
    const Owned<TBitmap> yellow = panel.ZuzCreateBitmap(clYellow, TRect(0, 0, 100, 60), pf24bit);
    EXPECT_EQ(yellow->GetPixelFormat(), pf24bit);
    EXPECT_EQ(yellow->GetWidth(), 100);
    EXPECT_EQ(probe::Pixel(*yellow, 1, 1), (probe::Rgb{255, 255, 0}));
    EXPECT_EQ(probe::Pixel(*yellow, 4, 30), (probe::Rgb{255, 0, 0})); // the chart rectangle: bevel 1 and 3 %
    const auto bmp = dir.path / "panel.bmp";
    panel.SaveToBitmapFile(String(bmp.u16string()));
    TBitmap back;
    back.LoadFromFile(String(bmp.u16string()));
    EXPECT_EQ(back.GetWidth(), 100);
    EXPECT_EQ(back.GetHeight(), 60);
    EXPECT_EQ(probe::Pixel(back, 1, 1), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(probe::Pixel(back, 4, 30), (probe::Rgb{255, 0, 0}));
    // A picture assigned from the panel is its bitmap on the panel's own colour.
    panel.SetColor(clYellow);
    TBitmap assigned;
    assigned.Assign(&panel);
    EXPECT_EQ(assigned.GetWidth(), 100);
    EXPECT_EQ(probe::Pixel(assigned, 1, 1), (probe::Rgb{255, 255, 0}));
    EXPECT_EQ(probe::Pixel(assigned, 4, 30), (probe::Rgb{255, 0, 0}));
}

TEST_F(PrintTest, ClipboardTakesAWhiteBitmapOfThePanel) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 100, 60);
    panel.fill = false;
    Clipboard()->SetAsText(u"Показания");
    EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
    EXPECT_EQ(Clipboard()->GetAsText(), u"Показания");
    panel.CopyToClipboardBitmap(TRect(0, 0, 50, 30));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));
    TBitmap pasted;
    ASSERT_TRUE(Clipboard()->GetBitmap(&pasted));
    EXPECT_EQ(pasted.GetWidth(), 50);
    EXPECT_EQ(pasted.GetHeight(), 30);
    EXPECT_EQ(probe::Pixel(pasted, 1, 1), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(probe::Pixel(pasted, 2, 15), (probe::Rgb{255, 0, 0})); // bevel 1 and 3 % of 50
    TStringList notAPicture;
    EXPECT_THROW(Clipboard()->Assign(&notAPicture), Exception);
}

namespace {

// A panel that draws what a chart does: a gradient, grid lines, a series, bars, a pie, labels.
class TChartLikePanel : public TCustomZuzPanel {
public:
    using TCustomZuzPanel::TCustomZuzPanel;

protected:
    void InternalDraw(const TRect& R) override {
        TCanvas3D* c = GetCanvas();
        const TRect chart = GetChartRect();
        c->GradientFill(chart, clWhite, clSkyBlue, gdTopBottom, 0, 0, 0);
        c->Pen->SetColor(clGray);
        c->Pen->SetStyle(psDot);
        for (int y = chart.Top + 10; y < chart.Bottom; y += 15) c->Line(chart.Left, y, chart.Right, y);
        c->Pen->SetStyle(psSolid);
        c->Pen->SetColor(clRed);
        c->Pen->SetWidth(2);
        const TPoint series[] = {{chart.Left + 5, chart.Bottom - 10},
                                 {chart.Left + 40, chart.Top + 20},
                                 {chart.Left + 80, chart.Top + 50},
                                 {chart.Left + 120, chart.Top + 8}};
        c->MoveTo(series[0].X, series[0].Y);
        for (const TPoint& p : series) c->LineTo(p.X, p.Y);
        c->Pen->SetWidth(1);
        c->Brush->SetStyle(bsSolid);
        c->Brush->SetColor(clYellow);
        for (const TPoint& p : series) c->Ellipse(p.X - 3, p.Y - 3, p.X + 4, p.Y + 4);
        c->Brush->SetColor(clTeal);
        c->Rectangle(chart.Right - 40, chart.Top + 30, chart.Right - 25, chart.Bottom);
        const TPoint wedge[] = {{chart.Right - 20, chart.Top + 5},
                                {chart.Right - 5, chart.Top + 20},
                                {chart.Right - 20, chart.Top + 35}};
        c->Brush->SetColor(clFuchsia);
        c->Polygon(wedge, 2);
        c->Font->SetName(u"Arial");
        c->Font->SetHeight(-11);
        c->Font->SetColor(clNavy);
        c->Brush->SetStyle(bsClear);
        c->TextOut(chart.Left + 8, chart.Top + 4, u"Значение 1");
    }
};

int DifferingPixels(TBitmap& a, TBitmap& b) {
    int n = 0;
    for (int y = 0; y < a.GetHeight(); ++y)
        for (int x = 0; x < a.GetWidth(); ++x)
            if (!(probe::Pixel(a, x, y) == probe::Pixel(b, x, y))) ++n;
    return n;
}

} // namespace

TEST_F(PrintTest, APanelsMetafilePlaysBackToThePixelsOfItsBitmap) {
    const Owned<TChartLikePanel> panel = MakeOwned<TChartLikePanel>(nullptr);
    panel->SetBounds(0, 0, 220, 150);
    const TRect r(0, 0, 220, 150);
    const Owned<TBitmap> direct = panel->ZuzCreateBitmap(clWhite, r, pf32bit);
    const auto file = dir.path / "panel.emf";
    panel->SaveToMetafileEnh(String(file.u16string()));
    TMetafile read;
    read.LoadFromFile(String(file.u16string()));
    EXPECT_EQ(read.GetWidth(), 220);
    EXPECT_EQ(read.GetHeight(), 150);
    const Owned<TBitmap> played = MakeOwned<TBitmap>();
    played->SetPixelFormat(pf32bit);
    played->SetSize(220, 150);
    played->GetCanvas()->Draw(0, 0, &read);
    EXPECT_EQ(DifferingPixels(*direct, *played), 0);
}

TEST_F(PrintTest, MetafilesOfThePanelGoToFilesAndTheClipboard) {
    const Owned<TPagePanel> holder = MakeOwned<TPagePanel>(nullptr);
    TPagePanel& panel = *holder;
    panel.SetBounds(0, 0, 100, 60);
    panel.fill = false;
    const Owned<TMetafile> empty = panel.ZuzCreateMetafile(true, TRect(5, 5, 5, 5));
    EXPECT_EQ(empty->GetWidth(), 1); // never smaller than one pixel
    EXPECT_EQ(empty->GetHeight(), 1);
    EXPECT_TRUE(empty->GetEnhanced());
    EXPECT_FALSE(panel.ZuzCreateMetafile(false, TRect(0, 0, 10, 10))->GetEnhanced());

    panel.CopyToClipboardMetafile(true, TRect(0, 0, 50, 30));
    EXPECT_TRUE(Clipboard()->HasFormat(CF_ENHMETAFILE));
    TMetafile pasted;
    ASSERT_TRUE(Clipboard()->GetMetafile(&pasted));
    EXPECT_EQ(pasted.GetWidth(), 50);
    EXPECT_EQ(pasted.GetHeight(), 30);
    TBitmap raster;
    raster.Assign(&pasted);
    EXPECT_EQ(probe::Pixel(raster, 1, 1), (probe::Rgb{255, 255, 255}));
    EXPECT_EQ(probe::Pixel(raster, 2, 15), (probe::Rgb{255, 0, 0})); // as the clipboard's bitmap shows it

    // A metafile that cannot be written leaves no file; an earlier one stays until the new one is made.
    const auto emf = dir.path / "panel.emf";
    panel.SaveToMetafileEnh(String(emf.u16string()));
    EXPECT_EQ(Contents(emf).substr(40, 4), " EMF");
    panel.fail = true;
    EXPECT_THROW(panel.SaveToMetafileEnh(String(emf.u16string())), Exception);
    EXPECT_EQ(Contents(emf).substr(40, 4), " EMF");
    // Nor does a disk that fills up half-way through the new one: the error says which file and why.
    panel.fail = false;
    const std::string earlier = Contents(emf);
    for (const bool enhanced : {true, false}) {
        FileSizeLimit limit(64);
        try {
            enhanced ? panel.SaveToMetafileEnh(String(emf.u16string()))
                     : panel.SaveToMetafile(String(emf.u16string()));
            ADD_FAILURE() << "a short write passed for success";
        } catch (const EWriteError& e) {
            EXPECT_EQ(e.Message(),
                      u"Cannot write file \"" + String(emf.u16string()) + u"\". " + ErrnoText(EFBIG));
        }
    }
    EXPECT_EQ(Contents(emf), earlier);
}
