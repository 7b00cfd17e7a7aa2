// The page image of the print preview: where the sheet and the image lie, which zone the mouse
// is over, margins dragged with the mouse, and a print that fails.
#include "chart/series/zuzpreviewpanel.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzdraw3d.h"
#include "platform/gui/forms.h"
#include "platform/gui/printers.h"
#include "tests/chart/series/chartunits.h"
#include "tests/support/keptprinter.h"
#include "tests/support/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace geo = ZuzPreviewGeometry;

// A4 on the PDF writer: 2479 x 3508 device pixels at 300 dots per inch.
struct PaperRow {
    const char* rule;
    int w, h, pw, ph;
    TRect want;
};

class PaperRect : public ::testing::TestWithParam<PaperRow> {};

TEST_P(PaperRect, FollowsThePagesProportions) {
    const PaperRow& r = GetParam();
    EXPECT_EQ(geo::PaperRect(r.w, r.h, r.pw, r.ph), r.want);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, PaperRect,
    ::testing::Values(
        PaperRow{"PortraitHeightDecidesSheet240HighFrom30", 400, 300, 2479, 3508, {115, 30, 285, 270}},
        PaperRow{"LandscapeWidthDecidesSheet320Wide", 400, 300, 3508, 2479, {40, 37, 360, 263}},
        PaperRow{"TenthsRoundHalfToEven", 425, 1000, 100, 100, {42, 330, 382, 670}},
        PaperRow{"PageWithoutHeightTakesTheWholeHeight", 400, 300, 100, 0, {40, 0, 360, 300}},
        PaperRow{"ScreenProportionsWithoutPrinter", 400, 300, 1920, 1080, {40, 60, 360, 240}}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(PreviewGeometry, FifteenPercentMarginsInsetTheImageByFifteenPercentOfTheSheet) {
    const TRect paper(115, 30, 285, 270);
    EXPECT_EQ(geo::ImageRect(paper, TRect(15, 15, 15, 15)), TRect(141, 66, 259, 234));
    TRect margins;
    ASSERT_TRUE(geo::MarginsOf(paper, TRect(141, 66, 259, 234), margins));
    EXPECT_EQ(margins, TRect(15, 15, 15, 15));
    EXPECT_FALSE(geo::MarginsOf(TRect(10, 10, 10, 50), TRect(10, 10, 10, 50), margins));
    EXPECT_FALSE(geo::MarginsOf(TRect(10, 10, 50, 10), TRect(10, 10, 50, 10), margins));
}

struct ZoneRow {
    const char* rule;
    int x, y;
    bool resize, move;
    ZuzPreviewZones want;
};

class PreviewZone : public ::testing::TestWithParam<ZoneRow> {};

TEST_P(PreviewZone, IsWhatTheMouseIsNear) {
    const ZoneRow& r = GetParam();
    EXPECT_EQ(geo::ZoneAt(TRect(100, 100, 200, 180), r.x, r.y, r.resize, r.move), r.want);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, PreviewZone,
    ::testing::Values(ZoneRow{"CornerBeforeEdges", 103, 97, true, true, zuzPrev_LeftTop},
                      ZoneRow{"LeftBottomCorner", 96, 184, true, true, zuzPrev_LeftBottom},
                      ZoneRow{"RightTopCorner", 204, 100, true, true, zuzPrev_RightTop},
                      ZoneRow{"RightBottomCorner", 200, 180, true, true, zuzPrev_RightBottom},
                      ZoneRow{"FourPixelsIsNear", 104, 140, true, true, zuzPrev_Left},
                      ZoneRow{"FivePixelsIsNotNear", 105, 140, true, true, zuzPrev_Image},
                      ZoneRow{"RightEdge", 196, 140, true, true, zuzPrev_Right},
                      ZoneRow{"TopEdge", 150, 102, true, true, zuzPrev_Top},
                      ZoneRow{"BottomEdge", 150, 183, true, true, zuzPrev_Bottom},
                      ZoneRow{"EdgesOnlyWhileResizeIsAllowed", 101, 140, false, true, zuzPrev_Image},
                      ZoneRow{"ImageOnlyWhileMoveIsAllowed", 150, 140, true, false, zuzPrev_None},
                      ZoneRow{"OutsideIsNone", 20, 20, true, true, zuzPrev_None}),
    [](const auto& info) { return std::string(info.param.rule); });

TEST(PreviewGeometry, DragsThatTurnTheImageInsideOutOrLeaveThePaperAreRefused) {
    const TRect paper(100, 50, 300, 250);
    TRect image(140, 90, 260, 210);
    EXPECT_FALSE(geo::Drag(zuzPrev_Left, paper, image, 270, 100, {}, {}));
    EXPECT_FALSE(geo::Drag(zuzPrev_Left, paper, image, 90, 100, {}, {}));
    EXPECT_FALSE(geo::Drag(zuzPrev_RightBottom, paper, image, 280, 300, {}, {}));
    EXPECT_EQ(image, TRect(140, 90, 260, 210));
    EXPECT_TRUE(geo::Drag(zuzPrev_RightBottom, paper, image, 280, 240, {}, {}));
    EXPECT_EQ(image, TRect(140, 90, 280, 240));
    // A move against the paper's edge keeps the size and stops at the edge.
    const TRect start(140, 90, 260, 210);
    image = start;
    EXPECT_TRUE(geo::Drag(zuzPrev_Image, paper, image, 20, 150, start, TPoint(150, 150)));
    EXPECT_EQ(image, TRect(100, 90, 220, 210));
    image = start;
    EXPECT_FALSE(geo::Drag(zuzPrev_Image, paper, image, 200, 150, start, TPoint(150, 150)));
    EXPECT_EQ(image, start);
    EXPECT_TRUE(geo::Drag(zuzPrev_Image, paper, image, 189, 150, start, TPoint(150, 150)));
    EXPECT_EQ(image.Width(), start.Width());
}

namespace {

// Gives the tests the mouse of the page image.
class TDragPreview : public TZuzPreviewPanel {
public:
    using TZuzPreviewPanel::MouseDown;
    using TZuzPreviewPanel::MouseMove;
    using TZuzPreviewPanel::MouseUp;
    using TZuzPreviewPanel::TZuzPreviewPanel;
    void Invalidate() override {
        ++invalidated;
        TZuzPreviewPanel::Invalidate();
    }
    int invalidated = 0;
};

class PreviewPanelTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartChartUnits();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        Printer()->SetFileName(String(file.u16string()));
        Printer()->SetOrientation(poPortrait);
        chart.reset(Create<TDraw3D>(nullptr));
        chart->SetBounds(0, 0, 300, 200);
        chart->SetColor(clNavy);
        chart->SetPrintProportional(false);
        preview.reset(Create<TDragPreview>(nullptr));
        preview->SetBevelOuter(bvNone);
        preview->SetBounds(0, 0, 400, 300);
        preview->SetPanel(chart.get());
        preview->OnChangeMargins = TZuzChangeMarginsEvent([this](TObject*, bool disable, const TRect& m) {
            ++changes;
            lastDisable = disable;
            lastMargins = m;
        });
        preview->Draw();
    }
    void TearDown() override {
        preview.reset();
        chart.reset();
    }
    void Drag(TPoint from, TPoint to) {
        preview->MouseDown(mbLeft, {ssLeft}, from.X, from.Y);
        preview->MouseMove({ssLeft}, to.X, to.Y);
        preview->MouseUp(mbLeft, {}, to.X, to.Y);
    }
    TempDir dir;
    std::filesystem::path file = dir.path / "page.pdf";
    KeptPrinter kept;
    Owned<TDraw3D> chart;
    Owned<TDragPreview> preview;
    int changes = 0;
    bool lastDisable = false;
    TRect lastMargins;
};

} // namespace

TEST_F(PreviewPanelTest, DrawingAndOutlineDragsAskForNoFurtherPaint) {
    // A paint that asked for another would keep the preview painting for as long as it is open.
    preview->invalidated = 0;
    preview->Draw();
    EXPECT_EQ(preview->invalidated, 0);
    EXPECT_EQ(preview->GetMargins()->GetMode(), pmCopy);
    // Without DragImage a drag moves only the margin lines; the sheet is painted again once, at
    // the release.
    preview->MouseDown(mbLeft, {ssLeft}, 141, 150);
    preview->MouseMove({ssLeft}, 150, 150);
    preview->MouseMove({ssLeft}, 160, 150);
    EXPECT_EQ(preview->invalidated, 0);
    preview->MouseUp(mbLeft, {}, 160, 150);
    EXPECT_EQ(preview->invalidated, 1);
}

TEST_F(PreviewPanelTest, PaperFollowsThePrintersOrientation) {
    EXPECT_EQ(preview->GetPaperRect(), TRect(115, 30, 285, 270));
    EXPECT_EQ(preview->GetImageRect(), TRect(141, 66, 259, 234));
    preview->SetOrientation(ppoLandscape);
    preview->Draw();
    EXPECT_EQ(Printer()->GetOrientation(), poLandscape);
    EXPECT_EQ(preview->GetPaperRect(), TRect(40, 37, 360, 263));
    // Without printers the sheet takes the screen's proportions.
    auto pdf = SetPrinter(std::make_unique<TPrinter>(false, false));
    const TRect want = geo::PaperRect(400, 300, Screen->GetWidth(), Screen->GetHeight());
    preview->Draw();
    EXPECT_EQ(preview->GetPaperRect(), want);
    SetPrinter(std::move(pdf));
}

TEST_F(PreviewPanelTest, DraggingTheLeftEdgeRewritesThePanelsMargins) {
    chart->SetPrintProportional(true); // the drag switches it off
    Drag(TPoint(141, 150), TPoint(161, 150));
    EXPECT_FALSE(chart->GetPrintProportional());
    EXPECT_EQ(chart->PrintMargins, TRect(27, 15, 15, 15));
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(lastDisable);
    EXPECT_EQ(lastMargins, chart->PrintMargins);
    EXPECT_EQ(preview->GetDragZone(), zuzPrev_None);
    // Beyond the right edge the line stays where it was.
    preview->Draw();
    Drag(TPoint(161, 150), TPoint(270, 150));
    EXPECT_EQ(chart->PrintMargins.Left, 27);
}

TEST_F(PreviewPanelTest, TheCursorShowsWhatADragThereWouldDoAndNothingOffTheSheet) {
    preview->MouseMove({}, 141, 150);
    EXPECT_EQ(preview->GetCursor(), crHSplit);
    preview->MouseMove({}, 5, 5);
    EXPECT_EQ(preview->GetCursor(), crDefault);
}

TEST_F(PreviewPanelTest, MovingTheImageKeepsItsSizeAgainstThePapersEdge) {
    preview->SetDragImage(true);
    Drag(TPoint(200, 150), TPoint(120, 150));
    EXPECT_EQ(preview->GetImageRect(), TRect(115, 66, 233, 234));
    EXPECT_EQ(chart->PrintMargins, TRect(0, 15, 31, 15));
    preview->SetAllowMove(false);
    preview->Draw();
    const TRect before = chart->PrintMargins;
    Drag(TPoint(180, 150), TPoint(200, 150));
    EXPECT_EQ(chart->PrintMargins, before);
}

TEST_F(PreviewPanelTest, DragOnASheetUnderOnePixelChangesNothing) {
    preview->OnGetPaperRect = TZuzGetPaperRectEvent([](TObject*, TRect& r) { r = TRect(50, 50, 50, 250); });
    preview->Draw();
    chart->PrintMargins = TRect(15, 15, 15, 15);
    Drag(TPoint(50, 100), TPoint(50, 120));
    Drag(TPoint(50, 80), TPoint(50, 60));
    EXPECT_EQ(chart->PrintMargins, TRect(15, 15, 15, 15));
    EXPECT_EQ(changes, 0);
}

TEST_F(PreviewPanelTest, DestroyingTheShownPanelLeavesAnEmptySheet) {
    chart.reset();
    EXPECT_EQ(preview->GetPanel(), nullptr);
    EXPECT_TRUE(preview->GetPanels().empty());
    preview->Draw();
    EXPECT_EQ(preview->GetImageRect(), TRect(141, 66, 259, 234));
    preview->Print(); // nothing listed, nothing printed
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(PreviewPanelTest, AFailedPrintEndsTheJobKeepsTheOldFileAndTheCursor) {
    std::ofstream(file) << "earlier";
    preview->SetAsBitmap(true);
    chart->OnPaint = TDraw3DPaintEvent([this](TObject*, const TRect&) {
        if (chart->GetPrinting()) throw Exception(u"No data for the page");
    });
    const TRect margins = chart->PrintMargins;
    EXPECT_THROW(preview->Print(), Exception);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_EQ(Screen->GetCursor(), crDefault);
    EXPECT_EQ(chart->PrintMargins, margins);
    std::ifstream in(file);
    std::string text;
    in >> text;
    EXPECT_EQ(text, "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 1);
    // A printer that cannot start a job: the same.
    Printer()->SetFileName(String((dir.path / "missing" / "page.pdf").u16string()));
    chart->OnPaint.Clear();
    EXPECT_THROW(preview->Print(), EPrinter);
    EXPECT_FALSE(Printer()->GetPrinting());
    EXPECT_EQ(Screen->GetCursor(), crDefault);
}
