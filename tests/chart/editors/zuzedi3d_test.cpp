// The 3D page: the enabling rules, offsets that widen their bars, every control written into the
// chart's view, and the gallery of ready-made views.
#include "chart/editors/zuzedi3d.h"

#include "chart/canvas/zuzcanvas.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/engine/charttitle.h"
#include "chart/series/series_pie.h"
#include "platform/gui/stdctrls.h"
#include "tests/chart/editors/pagefixture.h"

#include <gtest/gtest.h>

namespace {

class ThreeDPage : public PageTest {
protected:
    TFormZuz3D* Page() { return Embed(Create<TFormZuz3D>(form.get(), chart)); }
    TView3DOptions* View() { return chart->GetView3DOptions(); }
};

TEST_F(ThreeDPage, APieWithoutFullRotationLeavesNoOrthogonalRotationOrAngle) {
    ASSERT_FALSE(chart->GetCanvas()->GetSupportsFullRotation());
    chart->FreeAllSeries();
    auto* pie = Create<TPieSeries>(form.get());
    pie->SetParentChart(chart);
    chart->SetView3D(true);
    TFormZuz3D* p = Page();
    EXPECT_FALSE(p->CBOrthogonal->GetEnabled());
    EXPECT_FALSE(p->SBRotation->GetEnabled());
    EXPECT_FALSE(p->EOrthoAngle->GetEnabled());
    EXPECT_FALSE(p->UDOrthoAngle->GetEnabled());
}

TEST_F(ThreeDPage, WithoutFullRotationElevationRunsFrom270AndNeedsAPerspectiveView) {
    chart->SetView3D(true);
    View()->SetOrthogonal(false);
    TFormZuz3D* p = Page();
    EXPECT_EQ(p->SBElevation->GetMin(), 270);
    EXPECT_EQ(p->SBElevation->GetFrequency(), 10);
    EXPECT_EQ(p->SBRotation->GetFrequency(), 45);
    // The ticks show at those steps.
    EXPECT_EQ(p->SBElevation->GetTickStyle(), tsAuto);
    EXPECT_EQ(p->SBRotation->GetTickStyle(), tsAuto);
    EXPECT_TRUE(p->CBOrthogonal->GetEnabled());
    EXPECT_TRUE(p->SBElevation->GetEnabled());
    EXPECT_TRUE(p->SBRotation->GetEnabled());
    p->CBOrthogonal->SetChecked(true);
    EXPECT_TRUE(View()->GetOrthogonal());
    EXPECT_FALSE(p->SBElevation->GetEnabled());
    EXPECT_FALSE(p->SBRotation->GetEnabled());
    EXPECT_TRUE(p->EOrthoAngle->GetEnabled());
}

TEST_F(ThreeDPage, ThePageFillsTheParentItIsPutIn) {
    auto* p = Create<TFormZuz3D>(form.get(), chart);
    AddFormTo(p, holder); // unaligned by its host
    form->Show();
    probe::ProcessEvents();
    const int width = p->GetWidth(), height = p->GetHeight();
    holder->SetWidth(holder->GetWidth() + 100);
    form->SetHeight(form->GetHeight() + 50);
    probe::ProcessEvents();
    EXPECT_EQ(p->GetWidth(), width + 100);
    EXPECT_EQ(p->GetHeight(), height + 50);
}

TEST_F(ThreeDPage, TurningThreeDimensionsOffDisablesOrthogonalElevationAndRotation) {
    chart->SetView3D(true);
    View()->SetOrthogonal(false);
    TFormZuz3D* p = Page();
    p->CBView3d->SetChecked(false);
    EXPECT_FALSE(chart->GetView3D());
    EXPECT_FALSE(p->CBOrthogonal->GetEnabled());
    EXPECT_FALSE(p->SBElevation->GetEnabled());
    EXPECT_FALSE(p->SBRotation->GetEnabled());
}

TEST_F(ThreeDPage, AnOffsetBeyondTheBarWidensItByHalfOnBothSides) {
    View()->SetHorizOffset(2000);
    View()->SetVertOffset(-100);
    TFormZuz3D* p = Page();
    EXPECT_EQ(p->SBHOffset->GetMax(), 3000);
    EXPECT_EQ(p->SBHOffset->GetMin(), -3000);
    EXPECT_EQ(p->SBHOffset->GetPosition(), 2000);
    EXPECT_EQ(p->LHOffset->GetCaption(), u"2000");
    EXPECT_EQ(p->SBVOffset->GetMax(), 1500);
    EXPECT_EQ(View()->GetHorizOffset(), 2000);
}

TEST_F(ThreeDPage, LoadingWritesNothingAndEveryControlWritesTheChart) {
    chart->SetView3D(true);
    View()->SetOrthogonal(false);
    View()->SetZoom(87.5);
    View()->SetElevation(200); // below the bar's reach without full rotation
    TFormZuz3D* p = Page();
    EXPECT_EQ(View()->GetZoom(), 87.5);
    EXPECT_EQ(View()->GetElevation(), 200);
    p->SE3d->SetText(u"40");
    p->EOrthoAngle->SetText(u"60");
    p->SBZoom->SetPosition(150);
    p->SBRotation->SetPosition(300);
    p->SBElevation->SetPosition(350);
    p->SBHOffset->SetPosition(-40);
    p->SBVOffset->SetPosition(25);
    p->SBPerspec->SetPosition(60);
    p->CBZoomText->SetChecked(!View()->GetZoomText());
    const bool zoomText = p->CBZoomText->GetChecked();
    p->ETextSize->SetText(u"150");
    p->CBClipPoints->SetChecked(!chart->GetClipPoints());
    const bool clip = p->CBClipPoints->GetChecked();
    EXPECT_EQ(chart->GetChart3DPercent(), 40);
    EXPECT_EQ(View()->GetOrthoAngle(), 60);
    EXPECT_EQ(View()->GetZoom(), 150);
    EXPECT_EQ(p->LZoom->GetCaption(), u"150%");
    EXPECT_EQ(View()->GetRotation(), 300);
    EXPECT_EQ(View()->GetElevation(), 350);
    EXPECT_EQ(View()->GetHorizOffset(), -40);
    EXPECT_EQ(View()->GetVertOffset(), 25);
    EXPECT_EQ(View()->GetPerspective(), 60);
    EXPECT_EQ(p->LPerspec->GetCaption(), u"60");
    EXPECT_EQ(View()->GetZoomText(), zoomText);
    EXPECT_EQ(View()->GetFontZoom(), 150);
    EXPECT_EQ(chart->GetClipPoints(), clip);
}

TEST_F(ThreeDPage, TheViewsGalleryOffersSixViewsAndCopiesOnlyTheChosenView) {
    chart->SetView3D(true);
    View()->SetOrthogonal(false);
    View()->SetRotation(10);
    View()->SetZoom(120);
    TFormZuz3D* p = Page();
    ChooseTab(p->PageControl1, p->TabViews);
    ASSERT_EQ(p->Gallery->ChartCount(), 6);
    EXPECT_EQ(p->Gallery->GetChart(4)->GetTitle()->GetText()->GetStrings(0), u"3D Right");
    EXPECT_EQ(p->Gallery->SelectedChart(), nullptr); // no sample shows this view
    EXPECT_EQ(View()->GetRotation(), 10);

    p->Gallery->SelectChart(p->Gallery->GetChart(4));
    EXPECT_TRUE(chart->GetView3D());
    EXPECT_FALSE(View()->GetOrthogonal());
    EXPECT_EQ(View()->GetRotation(), 300);
    EXPECT_EQ(View()->GetElevation(), 360);
    EXPECT_EQ(View()->GetZoom(), 120);

    p->Gallery->SelectChart(p->Gallery->GetChart(0));
    EXPECT_FALSE(chart->GetView3D());

    // Shown again, the tab selects the first sample with the chart's view, without copying.
    ChooseTab(p->PageControl1, p->TabOptions);
    ChooseTab(p->PageControl1, p->TabViews);
    EXPECT_EQ(p->Gallery->ChartCount(), 6);
    EXPECT_EQ(p->Gallery->SelectedChart(), p->Gallery->GetChart(0));
    EXPECT_FALSE(chart->GetView3D());
}

TEST_F(ThreeDPage, CheckingTheControlsBringsOptionsToTheFront) {
    TFormZuz3D* p = Page();
    ChooseTab(p->PageControl1, p->TabViews);
    p->CheckControls();
    EXPECT_EQ(p->PageControl1->GetActivePage(), p->TabOptions);
}

TEST_F(ThreeDPage, Pictures) {
    chart->SetView3D(true);
    TFormZuz3D* p = Page();
    PagePicture("3d-page-options.png");
    ChooseTab(p->PageControl1, p->TabViews);
    PagePicture("3d-page-views.png");
}

} // namespace
