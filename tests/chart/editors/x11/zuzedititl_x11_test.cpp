// The titles and legend pages' position boxes as a mouse and a keyboard reach them: the up arrow
// moves a custom position by its step of 5, a negative margin typed key by key reaches the title,
// and Down on the legend's position moves the legend.
#include "chart/editors/zuzedititl.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/editors/editchar.h"
#include "chart/editors/zuzcustomshapeeditor.h"
#include "chart/editors/zuzedifont.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzedilege.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/editors/zuzstringseditor.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/gridfixture.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/tempdir.h"
#include "tests/support/xserver.h"

namespace {

class XTitlesPage : public ChartFormTest {
protected:
    // The units the page and the format tabs it holds are read with.
    static void SetUpTestSuite() {
        ChartFormTest::SetUpTestSuite();
        ZuzCanvasInitialization();
        ZuzFiltersInitialization();
        RegisterZuzControlClasses();
        RegisterZuzPenDlgClasses();
        ZuzEdiGradInitialization();
        ZuzShadowEditorInitialization();
        ZuzEdiFontInitialization();
        ZuzCustomShapeEditorInitialization();
        RegisterZuzStringsEditorClasses();
    }
};

} // namespace

TEST_F(XTitlesPage, TheUpArrowStepsTheCustomLeftBy5AndATypedNegativeMarginIsWritten) {
    TChartTitle* title = chart->GetTitle();
    title->SetCustomPosition(true);
    title->SetLeft(100);
    auto* page = Create<TFormZuzTitle>(form.get(), chart, title);
    page->SetParent(form.get());
    page->SetBounds(0, 0, 320, 420);
    page->Show();
    page->PageControlTitle->SetActivePage(page->TabSheet2);
    form->Show();
    ASSERT_TRUE(xserver::Activate(*form.form));
    ASSERT_EQ(page->ECustLeft->GetText(), u"100");

    ASSERT_TRUE(xserver::Click(*page->UDLeft, TPoint(page->UDLeft->GetWidth() / 2, 4)));
    EXPECT_EQ(title->GetLeft(), 105);
    EXPECT_EQ(page->ECustLeft->GetText(), u"105");

    ASSERT_TRUE(xserver::Focus(*page->Edit1));
    ASSERT_TRUE(xserver::Type("ctrl+a minus 2 0"));
    EXPECT_EQ(title->GetVertMargin(), -20);
    EXPECT_EQ(title->GetLeft(), 105);
}

// In the chart editor on a desktop, Down on Legend › Position checks the next place and the legend
// goes there at once.
TEST_F(XTitlesPage, DownOnTheLegendsPositionMovesTheLegendAtOnce) {
    if (!xserver::RunWindowManager()) GTEST_SKIP() << "no window manager (openbox): run scripts/setup";
    TChartLegend* legend = chart->GetLegend();
    ASSERT_EQ(legend->GetAlignment(), laRight);
    const TempDir registry{"moltren-legend-position-x11"};
    win32::SetRegistryDirectory(registry.path);
    ModalDriver driver;
    driver.Form<TChartEditForm>(
        [&](TChartEditForm& e) {
            ASSERT_TRUE(xserver::Activate(e));
            auto* page = dynamic_cast<TFormZuzLegend*>(e.PageForm(e.TabLegend));
            ASSERT_NE(page, nullptr);
            probe::ChooseTab(*page->TabPosition);
            ASSERT_TRUE(xserver::Focus(*page->RGPosition));
            ASSERT_TRUE(xserver::Type("Down"));
            EXPECT_EQ(legend->GetAlignment(), laTop);
            EXPECT_EQ(page->RGPosition->GetItemIndex(), 2);
            xserver::Keep(xserver::Picture(e), "chart-editor-legend-position-down");
        },
        mrOk);
    EditChartLegend(form.get(), chart);
    win32::SetRegistryDirectory({});
}
