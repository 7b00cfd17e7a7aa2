// The series pointer editor: as the page of a point series, alone over a pointer, and as a page
// added to a host's page control; its enabling rules and every control writing at once.
#include "chart/editors/zuzpoedi.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzbrushdlg.h"
#include "chart/editors/zuzedigrad.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/editors/zuzpendlg.h"
#include "chart/editors/zuzshadoweditor.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/editors/modaldriver.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

namespace {

class PointerEditor : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartChartEditorUnits(); }
    void SetUp() override {
        behind.chart->SetView3D(true);
        series = Create<TPointSeries>(behind.chart);
        behind.chart->AddSeries(series);
        series->SetSeriesColor(clFuchsia);
        for (int i = 0; i < 10; ++i) series->AddXY(i, i % 4);
        pointer = series->GetPointer();
    }
    // The editor as the series' page, embedded and showing in the chart's window.
    TSeriesPointerEditor* Page() {
        auto* page = Create<TSeriesPointerEditor>(behind.host.get());
        AddFormTo(page, behind.host.get(), series);
        probe::ProcessEvents();
        return page;
    }
    static void ExpectEnabled(std::initializer_list<TControl*> Controls, bool Enabled) {
        for (TControl* c : Controls) EXPECT_EQ(c->GetEnabled(), Enabled) << UTF8Encode(c->GetName());
    }

    ChartBehind behind;
    TPointSeries* series = nullptr;
    TSeriesPointer* pointer = nullptr;
};

TEST_F(PointerEditor, TheFormIsBuiltFromItsResource) {
    Owned<TSeriesPointerEditor> e(Create<TSeriesPointerEditor>(nullptr));
    EXPECT_EQ(e->GetAlign(), alClient);
    ASSERT_EQ(e->CBStyle->GetItems()->GetCount(), 13);
    EXPECT_EQ(e->CBStyle->GetItems()->GetStrings(6), u"Star");
    EXPECT_EQ(e->CBStyle->GetItems()->GetStrings(12), u"Hexagon");
    EXPECT_EQ(e->CBStyle->GetStyle(), csOwnerDrawFixed);
    EXPECT_EQ(e->CBStyle->GetDropDownCount(), 12);
    EXPECT_EQ(e->UDPointHorizSize->GetMin(), 1);
    EXPECT_EQ(e->UDPointVertSize->GetMax(), 1000);
    EXPECT_EQ(e->TBTransp->GetMax(), 100);
    EXPECT_EQ(e->CBColorEach->GetCaption(), u"&Color Each ");
    EXPECT_EQ(e->BPoinPenCol->GetCaption(), u"B&order...");
    EXPECT_FALSE(e->PanelBottom->GetVisible());
    EXPECT_EQ(e->Button1->GetCaption(), u"Close");
    EXPECT_EQ(GetClass("TSeriesPointerEditor"), &TSeriesPointerEditor::StaticClass());
}

TEST_F(PointerEditor, ThePageLoadsThePointerAndTheSeriesOptions) {
    pointer->SetHorizSize(7);
    pointer->SetVertSize(9);
    pointer->SetStyle(psDiamond);
    pointer->SetInflateMargins(false);
    pointer->SetTransparency(30);
    series->SetColorEachPoint(true);
    series->SetTreatNulls(tnIgnore);
    TSeriesPointerEditor* page = Page();
    EXPECT_EQ(page->Pointer(), pointer);
    EXPECT_EQ(page->UDPointHorizSize->GetPosition(), 7);
    EXPECT_EQ(page->UDPointVertSize->GetPosition(), 9);
    EXPECT_EQ(page->CBStyle->GetItemIndex(), psDiamond);
    EXPECT_FALSE(page->CBInflate->GetChecked());
    EXPECT_EQ(page->TBTransp->GetPosition(), 30);
    EXPECT_TRUE(page->CBColorEach->GetChecked());
    EXPECT_TRUE(page->CBIgnoreNulls->GetChecked());
    EXPECT_TRUE(page->CBIgnoreNulls->GetVisible());
    EXPECT_EQ(page->BPoinPenCol->GetPen(), pointer->GetPen());
    // Loading wrote nothing back.
    EXPECT_EQ(pointer->GetHorizSize(), 7);
    EXPECT_EQ(pointer->GetStyle(), psDiamond);
    EXPECT_EQ(series->GetTreatNulls(), tnIgnore);
}

TEST_F(PointerEditor, AnInvisiblePointerDisablesItsOwnOptionsOnly) {
    pointer->SetVisible(false);
    TSeriesPointerEditor* page = Page();
    EXPECT_FALSE(page->CBDrawPoint->GetChecked());
    ExpectEnabled({page->CB3dPoint, page->CBPoDark, page->CBInflate, page->SEPointHorizSize,
                   page->UDPointHorizSize, page->SEPointVertSize, page->UDPointVertSize,
                   page->BPointFillColor, page->CBStyle, page->BPoinPenCol, page->CBDefBrushColor},
                  false);
    ExpectEnabled({page->CBDrawPoint, page->CBColorEach, page->CBIgnoreNulls, page->Button2, page->BGradient,
                   page->TBTransp},
                  true);

    probe::Click(*page->CBDrawPoint);
    EXPECT_TRUE(pointer->GetVisible());
    ExpectEnabled({page->CB3dPoint, page->CBInflate, page->SEPointHorizSize, page->CBStyle, page->BPoinPenCol,
                   page->CBDefBrushColor},
                  true);
    probe::Click(*page->CBDrawPoint);
    EXPECT_FALSE(pointer->GetVisible());
    ExpectEnabled({page->CB3dPoint, page->CBPoDark, page->CBStyle}, false);
}

TEST_F(PointerEditor, ThreeDimensionalPointsOnlyForBoxStylesInA3DChart) {
    pointer->SetDraw3D(true);
    TSeriesPointerEditor* page = Page();
    ExpectEnabled({page->CB3dPoint, page->CBPoDark}, true);

    probe::Choose(*page->CBStyle, psStar);
    EXPECT_EQ(pointer->GetStyle(), psStar);
    ExpectEnabled({page->CB3dPoint, page->CBPoDark}, false);
    EXPECT_TRUE(pointer->GetDraw3D()); // only the controls changed

    probe::Choose(*page->CBStyle, psTriangle);
    ExpectEnabled({page->CB3dPoint, page->CBPoDark}, true);
    probe::Click(*page->CB3dPoint);
    EXPECT_FALSE(pointer->GetDraw3D());
    EXPECT_FALSE(page->CBPoDark->GetEnabled());
    // A circle needs a canvas that turns it, which the chart's canvas does not.
    probe::Choose(*page->CBStyle, psCircle);
    EXPECT_FALSE(page->CB3dPoint->GetEnabled());

    behind.chart->SetView3D(false);
    probe::Choose(*page->CBStyle, psRectangle);
    EXPECT_FALSE(page->CB3dPoint->GetEnabled());

    // The chart is the pointer's own series' chart, whatever kind of series that is.
    behind.chart->SetView3D(true);
    auto* bar = Create<TBarSeries>(behind.chart);
    behind.chart->AddSeries(bar);
    TMarksCallout* callout = bar->GetMarks()->GetCallout();
    callout->SetVisible(true);
    ModalDriver driver;
    driver.Form<TSeriesPointerEditor>(
        [](TSeriesPointerEditor& d) { EXPECT_TRUE(d.CB3dPoint->GetEnabled()); });
    EditSeriesPointer(behind.host.get(), callout);
}

TEST_F(PointerEditor, EveryControlWritesIntoThePointerAtOnce) {
    TSeriesPointerEditor* page = Page();
    probe::Click(*page->CBInflate);
    EXPECT_FALSE(pointer->GetInflateMargins());
    probe::Click(*page->CBPoDark);
    EXPECT_FALSE(pointer->GetDark3D());
    page->SEPointHorizSize->SetText(u"12");
    EXPECT_EQ(pointer->GetHorizSize(), 12);
    page->SEPointVertSize->SetText(u"5000"); // held at the up-down's maximum
    EXPECT_EQ(pointer->GetVertSize(), 1000);
    page->SEPointVertSize->SetText(u"0"); // never a size the pointer refuses
    EXPECT_EQ(pointer->GetVertSize(), 1);
    page->TBTransp->SetPosition(45);
    EXPECT_EQ(pointer->GetTransparency(), 45);
    probe::Click(*page->CBColorEach);
    EXPECT_TRUE(series->GetColorEachPoint());
    probe::Click(*page->CBIgnoreNulls);
    EXPECT_EQ(series->GetTreatNulls(), tnIgnore);
    probe::Click(*page->CBIgnoreNulls);
    EXPECT_EQ(series->GetTreatNulls(), tnDontPaint);
}

TEST_F(PointerEditor, TheDefaultBoxMeansBothColoursAreTheSeriesColour) {
    pointer->SetColor(clZuzColor);
    pointer->GetPen()->SetColor(clZuzColor);
    TSeriesPointerEditor* page = Page();
    EXPECT_TRUE(page->CBDefBrushColor->GetChecked());
    probe::Click(*page->CBDefBrushColor);
    EXPECT_EQ(pointer->GetPen()->GetColor(), clBlack);
    EXPECT_EQ(pointer->GetColor(), clZuzColor);

    pointer->SetColor(clRed);
    probe::Click(*page->CBDefBrushColor);
    EXPECT_EQ(pointer->GetColor(), clZuzColor);
    EXPECT_EQ(pointer->GetPen()->GetColor(), clZuzColor);

    // After the brush dialog the box follows the pointer again.
    ModalDriver driver;
    driver.Form<TBrushDialog>([](TBrushDialog& d) { d.TheBrush->SetColor(clGreen); }, mrOk);
    probe::Click(*page->BPointFillColor);
    EXPECT_EQ(pointer->GetColor(), clGreen);
    EXPECT_FALSE(page->CBDefBrushColor->GetChecked());
    EXPECT_EQ(pointer->GetPen()->GetColor(), clZuzColor); // unticked by the rule, not by a user
}

TEST_F(PointerEditor, ThePenShadowAndGradientButtonsEditThePointersOwn) {
    TSeriesPointerEditor* page = Page();
    ModalDriver driver;
    driver.Form<TPenDialog>([](TPenDialog& d) { d.UDWidth->SetPosition(3); }, mrOk)
        .Form<TZuzShadowEditor>([&](TZuzShadowEditor& d) { EXPECT_EQ(d.GetShadow(), pointer->GetShadow()); },
                                mrOk)
        .Form<TZuzGradientEditor>(
            [&](TZuzGradientEditor& d) { EXPECT_EQ(d.GetGradient(), pointer->GetGradient()); }, mrOk);
    probe::Click(*page->BPoinPenCol);
    EXPECT_EQ(pointer->GetPen()->GetWidth(), 3);
    probe::Click(*page->Button2);
    probe::Click(*page->BGradient);
}

TEST_F(PointerEditor, HidingTheSizeOptionsHidesBothLabelsEditsAndUpDowns) {
    TSeriesPointerEditor* page = Page();
    page->HideSizeOptions();
    for (TControl* c :
         {static_cast<TControl*>(page->Label1), static_cast<TControl*>(page->SEPointHorizSize),
          static_cast<TControl*>(page->UDPointHorizSize), static_cast<TControl*>(page->Label2),
          static_cast<TControl*>(page->SEPointVertSize), static_cast<TControl*>(page->UDPointVertSize)})
        EXPECT_FALSE(c->GetVisible());
    EXPECT_TRUE(page->CBStyle->GetVisible());

    page->Free();
    pointer->AllowChangeSize = false;
    TSeriesPointerEditor* second = Page();
    EXPECT_FALSE(second->SEPointVertSize->GetVisible());
}

TEST_F(PointerEditor, AloneItShowsCloseAndLeavesTheSeriesOptionsOut) {
    ModalDriver driver;
    driver.Form<TSeriesPointerEditor>(
        [&](TSeriesPointerEditor& d) {
            EXPECT_EQ(d.GetCaption(), u"Pointer");
            EXPECT_TRUE(d.PanelBottom->GetVisible());
            EXPECT_TRUE(d.Button1->GetVisible());
            EXPECT_FALSE(d.CBInflate->GetVisible());
            EXPECT_FALSE(d.CBColorEach->GetVisible());
            EXPECT_FALSE(d.CBIgnoreNulls->GetVisible());
            EXPECT_FALSE(d.CBIgnoreNulls->GetEnabled());
            EXPECT_EQ(d.GetAlign(), alNone);
            EXPECT_EQ(d.Pointer(), pointer);
            // The panel has room of its own below the gradient button.
            EXPECT_LE(d.BGradient->GetTop() + d.BGradient->GetHeight(), d.PanelBottom->GetTop());
            probe::Choose(*d.CBStyle, psHexagon);
            behind.Snapshot(d, "pointer-editor.png");
            probe::Click(*d.Button1);
        },
        mrCancel);
    EXPECT_TRUE(EditSeriesPointer(behind.host.get(), pointer));
    EXPECT_EQ(pointer->GetStyle(), psHexagon);
    EXPECT_EQ(series->GetTreatNulls(), tnDontPaint);
}

TEST_F(PointerEditor, InsertedItBecomesTheSecondPageOfTheHostsPageControl) {
    auto* pages = Create<TPageControl>(behind.host.get());
    pages->SetParent(behind.host.get());
    pages->SetAlign(alClient);
    TTabSheet* sheets[2] = {};
    for (TTabSheet*& s : sheets) {
        s = Create<TTabSheet>(behind.host.get());
        s->SetPageControl(pages);
    }
    sheets[0]->SetCaption(u"Format");
    sheets[1]->SetCaption(u"General");
    auto* owner = Create<TPanel>(behind.host.get());
    owner->SetParent(sheets[0]);
    probe::ProcessEvents();

    TSeriesPointerEditor* page = ZuzInsertPointerForm(owner, pointer, u"Point");
    ASSERT_NE(page, nullptr);
    ASSERT_EQ(pages->GetPageCount(), 3);
    EXPECT_EQ(pages->GetPage(1)->GetCaption(), u"Point");
    EXPECT_EQ(pages->GetPage(2), sheets[1]);
    EXPECT_EQ(page->GetParent(), pages->GetPage(1));
    EXPECT_EQ(ZuzTagObject(page), pointer);

    pages->SetActivePageIndex(1);
    probe::ProcessEvents();
    EXPECT_EQ(page->Pointer(), pointer);
    probe::Choose(*page->CBStyle, psCross);
    EXPECT_EQ(pointer->GetStyle(), psCross);
}

} // namespace
