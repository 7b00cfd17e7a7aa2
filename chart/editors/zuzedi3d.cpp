#include "chart/editors/zuzedi3d.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzgallerypanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series_pie.h"
#include "platform/core/sysutils.h"
#include "platform/gui/comctrls.h"
#include "platform/gui/stdctrls.h"

#include <cmath>
#include <cstdlib>

const ClassInfo& TFormZuz3D::StaticClass() {
    using F = TFormZuz3D;
    static const MethodInfo methods[] = {
        MakeMethod<&F::FormShow>("FormShow"),
        MakeMethod<&F::CBView3dClick>("CBView3dClick"),
        MakeMethod<&F::SE3dChange>("SE3dChange"),
        MakeMethod<&F::CBOrthogonalClick>("CBOrthogonalClick"),
        MakeMethod<&F::EOrthoAngleChange>("EOrthoAngleChange"),
        MakeMethod<&F::SBZoomChange>("SBZoomChange"),
        MakeMethod<&F::SBRotationChange>("SBRotationChange"),
        MakeMethod<&F::SBElevationChange>("SBElevationChange"),
        MakeMethod<&F::SBHOffsetChange>("SBHOffsetChange"),
        MakeMethod<&F::SBVOffsetChange>("SBVOffsetChange"),
        MakeMethod<&F::SBPerspecChange>("SBPerspecChange"),
        MakeMethod<&F::CBZoomTextClick>("CBZoomTextClick"),
        MakeMethod<&F::ETextSizeChange>("ETextSizeChange"),
        MakeMethod<&F::CBClipPointsClick>("CBClipPointsClick"),
        MakeMethod<&F::PageControl1Change>("PageControl1Change"),
        MakeMethod<&F::GalleryChangeChart>("GalleryChangeChart"),
    };
    static const ClassInfo ci = MakeClassInfo<TFormZuz3D>("TFormZuz3D", &TForm::StaticClass(), methods);
    return ci;
}

TFormZuz3D::TFormZuz3D(TComponent* AOwner) : TForm(AOwner) {}

TFormZuz3D::TFormZuz3D(TComponent* AOwner, TCustomChart* Chart) : TForm(AOwner), FChart(Chart) {}

void TFormZuz3D::BindComponents() {
    Bind(PageControl1, u"PageControl1");
    Bind(TabOptions, u"TabOptions");
    Bind(CBView3d, u"CBView3d");
    Bind(Label1, u"Label1");
    Bind(SE3d, u"SE3d");
    Bind(UD3D, u"UD3D");
    Bind(CBOrthogonal, u"CBOrthogonal");
    Bind(Label2, u"Label2");
    Bind(EOrthoAngle, u"EOrthoAngle");
    Bind(UDOrthoAngle, u"UDOrthoAngle");
    Bind(Label3, u"Label3");
    Bind(SBZoom, u"SBZoom");
    Bind(LZoom, u"LZoom");
    Bind(Label4, u"Label4");
    Bind(SBRotation, u"SBRotation");
    Bind(LRotation, u"LRotation");
    Bind(Label5, u"Label5");
    Bind(SBElevation, u"SBElevation");
    Bind(LElevation, u"LElevation");
    Bind(Label6, u"Label6");
    Bind(SBHOffset, u"SBHOffset");
    Bind(LHOffset, u"LHOffset");
    Bind(Label7, u"Label7");
    Bind(SBVOffset, u"SBVOffset");
    Bind(LVOffset, u"LVOffset");
    Bind(Label8, u"Label8");
    Bind(SBPerspec, u"SBPerspec");
    Bind(LPerspec, u"LPerspec");
    Bind(CBZoomText, u"CBZoomText");
    Bind(ETextSize, u"ETextSize");
    Bind(UDTextSize, u"UDTextSize");
    Bind(LTextSize, u"LTextSize");
    Bind(CBClipPoints, u"CBClipPoints");
    Bind(TabViews, u"TabViews");
    Bind(Gallery, u"Gallery");
}

void TFormZuz3D::FormShow(TObject*) {
    if (FChart) RefreshOptions();
    ZuzTranslateControl(this);
}

namespace {

// An offset beyond the bar's reach widens the bar to half as much again on both sides.
void ShowOffset(TTrackBar* Bar, int Offset) {
    if (std::abs(Offset) > Bar->GetMax()) {
        Bar->SetMax(static_cast<int>(Round(1.5 * std::abs(Offset))));
        Bar->SetMin(-Bar->GetMax());
    }
    Bar->SetPosition(Offset);
}

} // namespace

void TFormZuz3D::RefreshOptions() {
    if (!FChart) return;
    const TRestoreOnExit<bool> loading(FLoading, true);
    TView3DOptions* view = FChart->GetView3DOptions();
    CBView3d->SetChecked(FChart->GetView3D());
    UD3D->SetPosition(FChart->GetChart3DPercent());
    CBClipPoints->SetChecked(FChart->GetClipPoints());
    if (FChart->GetCanvas()->GetSupportsFullRotation()) {
        SBRotation->SetMin(0);
        SBRotation->SetFrequency(20);
        SBElevation->SetMin(0);
        SBElevation->SetFrequency(20);
    } else {
        SBRotation->SetMin(0);
        SBRotation->SetFrequency(45);
        SBElevation->SetMin(270);
        SBElevation->SetFrequency(10);
    }
    SBZoom->SetPosition(view->GetZoomInteger());
    CBOrthogonal->SetChecked(view->GetOrthogonal());
    SBRotation->SetPosition(view->GetRotationInteger());
    SBElevation->SetPosition(view->GetElevationInteger());
    ShowOffset(SBHOffset, view->GetHorizOffset());
    ShowOffset(SBVOffset, view->GetVertOffset());
    CBZoomText->SetChecked(view->GetZoomText());
    SBPerspec->SetPosition(view->GetPerspective());
    UDOrthoAngle->SetPosition(view->GetOrthoAngle());
    UDTextSize->SetPosition(view->GetFontZoom());
    // A label shows its bar even when loading left the position where it was.
    for (TTrackBar* bar : {SBZoom, SBRotation, SBElevation, SBHOffset, SBVOffset, SBPerspec})
        if (bar->OnChange) bar->OnChange(bar);
    CheckControls();
}

void TFormZuz3D::CheckControls() {
    if (!FChart) return;
    const bool full = FChart->GetCanvas()->GetSupportsFullRotation();
    FAllowOrthogonal = full || !dynamic_cast<TPieSeries*>(FChart->GetASeries());
    if (PageControl1->GetActivePage() != TabOptions) PageControl1->SetActivePage(TabOptions);
    const bool view3D = FChart->GetView3D();
    CBOrthogonal->SetEnabled(view3D && FAllowOrthogonal);
    SBElevation->SetEnabled(view3D && (full || !FChart->GetView3DOptions()->GetOrthogonal()));
    SBRotation->SetEnabled(SBElevation->GetEnabled() && CBOrthogonal->GetEnabled());
    EOrthoAngle->SetEnabled(CBOrthogonal->GetEnabled());
    UDOrthoAngle->SetEnabled(CBOrthogonal->GetEnabled());
}

void TFormZuz3D::CBView3dClick(TObject*) {
    if (!Editing()) return;
    FChart->SetView3D(CBView3d->GetChecked());
    CheckControls();
}

void TFormZuz3D::SE3dChange(TObject*) {
    if (Typing()) FChart->Set3DPercent(UD3D->GetPosition());
}

void TFormZuz3D::CBOrthogonalClick(TObject*) {
    if (!Editing()) return;
    FChart->GetView3DOptions()->SetOrthogonal(CBOrthogonal->GetChecked());
    CheckControls();
}

void TFormZuz3D::EOrthoAngleChange(TObject*) {
    if (Typing()) FChart->GetView3DOptions()->SetOrthoAngle(UDOrthoAngle->GetPosition());
}

void TFormZuz3D::SBZoomChange(TObject*) {
    LZoom->SetCaption(IntToStr(SBZoom->GetPosition()) + u"%");
    if (Editing()) FChart->GetView3DOptions()->SetZoom(SBZoom->GetPosition());
}

void TFormZuz3D::SBRotationChange(TObject*) {
    LRotation->SetCaption(IntToStr(SBRotation->GetPosition()));
    if (Editing()) FChart->GetView3DOptions()->SetRotation(SBRotation->GetPosition());
}

void TFormZuz3D::SBElevationChange(TObject*) {
    LElevation->SetCaption(IntToStr(SBElevation->GetPosition()));
    if (Editing()) FChart->GetView3DOptions()->SetElevation(SBElevation->GetPosition());
}

void TFormZuz3D::SBHOffsetChange(TObject*) {
    LHOffset->SetCaption(IntToStr(SBHOffset->GetPosition()));
    if (Editing()) FChart->GetView3DOptions()->SetHorizOffset(SBHOffset->GetPosition());
}

void TFormZuz3D::SBVOffsetChange(TObject*) {
    LVOffset->SetCaption(IntToStr(SBVOffset->GetPosition()));
    if (Editing()) FChart->GetView3DOptions()->SetVertOffset(SBVOffset->GetPosition());
}

void TFormZuz3D::SBPerspecChange(TObject*) {
    LPerspec->SetCaption(IntToStr(SBPerspec->GetPosition()));
    if (Editing()) FChart->GetView3DOptions()->SetPerspective(SBPerspec->GetPosition());
}

void TFormZuz3D::CBZoomTextClick(TObject*) {
    if (Editing()) FChart->GetView3DOptions()->SetZoomText(CBZoomText->GetChecked());
}

void TFormZuz3D::ETextSizeChange(TObject*) {
    if (Typing()) FChart->GetView3DOptions()->SetFontZoom(UDTextSize->GetPosition());
}

void TFormZuz3D::CBClipPointsClick(TObject*) {
    if (Editing()) FChart->SetClipPoints(CBClipPoints->GetChecked());
}

void TFormZuz3D::PageControl1Change(TObject*) {
    if (PageControl1->GetActivePage() == TabOptions) {
        RefreshOptions();
    } else if (PageControl1->GetActivePage() == TabViews) {
        if (Gallery->ChartCount() == 0) CreateViewsGallery();
        SelectCurrentView();
    }
}

TGalleryChart* TFormZuz3D::AddView(const String& Name, bool Preset3D) {
    TGalleryChart* sample = Gallery->CreateChart(*ZuzSeriesTypes()[0]);
    sample->GetBackWall()->SetTransparent(false);
    sample->GetWalls()->SetSize(5);
    for (int i = 0; i < sample->SeriesCount(); ++i) sample->GetSeries(i)->Clear();
    TStrings* title = sample->GetTitle()->GetText();
    if (title->GetCount() == 0)
        title->Add(Name);
    else
        title->SetStrings(0, Name);
    if (Preset3D) {
        sample->SetView3D(true);
        sample->GetView3DOptions()->SetOrthogonal(false);
        for (int i = 0; i < sample->SeriesCount(); ++i) sample->GetSeries(i)->SetVertAxis(aBothVertAxis);
        sample->GetView3DOptions()->SetElevation(360);
        sample->GetLeftAxis()->SetLabels(true);
    }
    return sample;
}

void TFormZuz3D::CreateViewsGallery() {
    if (ZuzSeriesTypes().Count() == 0) return;
    Gallery->SetSmooth(false);
    Gallery->SetDisplaySub(false);
    Gallery->SetFocusRotation(false);
    Gallery->SetNumCols(3);
    Gallery->SetNumRows(2);
    const TRestoreOnExit<bool> loading(FLoading, true);

    TGalleryChart* view = AddView(VavIve_View2D, false);
    view->SetView3D(false);
    view->GetLeftAxis()->SetLabels(true);

    view = AddView(VavIve_ViewOrthoRight, false);
    view->GetView3DOptions()->SetOrthogonal(true);
    view->GetLeftAxis()->SetLabels(true);

    view = AddView(VavIve_ViewOrthoLeft, false);
    view->GetView3DOptions()->SetOrthogonal(true);
    view->GetLeftWall()->SetVisible(false);
    view->GetRightWall()->SetVisible(true);
    for (int i = 0; i < view->SeriesCount(); ++i) view->GetSeries(i)->SetVertAxis(aRightAxis);
    view->GetRightAxis()->SetZPosition(0);
    view->GetView3DOptions()->SetOrthoAngle(135);

    view = AddView(VavIve_View3DFront, true);
    view->GetLeftWall()->SetVisible(true);
    view->GetRightWall()->SetVisible(true);
    view->GetRightAxis()->SetZPosition(0);
    view->GetView3DOptions()->SetRotation(360);

    view = AddView(VavIve_View3DRight, true);
    view->GetLeftWall()->SetVisible(true);
    view->GetRightWall()->SetVisible(false);
    view->GetRightAxis()->SetZPosition(100);
    view->GetView3DOptions()->SetRotation(300);

    view = AddView(VavIve_View3DLeft, true);
    view->GetLeftWall()->SetVisible(false);
    view->GetRightWall()->SetVisible(true);
    view->GetRightAxis()->SetZPosition(0);
    view->GetLeftAxis()->SetZPosition(100);
    view->GetView3DOptions()->SetRotation(45);

    Gallery->ResizeCharts();
}

namespace {

bool SameView(TCustomChart* A, TCustomChart* B) {
    TView3DOptions* a = A->GetView3DOptions();
    TView3DOptions* b = B->GetView3DOptions();
    return A->GetView3D() == B->GetView3D() && a->GetOrthogonal() == b->GetOrthogonal() &&
           a->GetOrthoAngle() == b->GetOrthoAngle() && a->GetRotation() == b->GetRotation() &&
           a->GetElevation() == b->GetElevation();
}

} // namespace

void TFormZuz3D::SelectCurrentView() {
    if (!FChart) return;
    const TRestoreOnExit<bool> loading(FLoading, true);
    for (int i = 0; i < Gallery->ChartCount(); ++i)
        if (SameView(Gallery->GetChart(i), FChart)) {
            Gallery->SelectChart(Gallery->GetChart(i));
            return;
        }
    Gallery->UnselectChart();
}

void TFormZuz3D::SetGallery3DChart(TGalleryChart* Sample) {
    TView3DOptions* from = Sample->GetView3DOptions();
    TView3DOptions* to = FChart->GetView3DOptions();
    FChart->SetView3D(Sample->GetView3D());
    to->SetOrthogonal(from->GetOrthogonal());
    to->SetOrthoAngle(from->GetOrthoAngle());
    to->SetRotation(from->GetRotation());
    to->SetElevation(from->GetElevation());
}

void TFormZuz3D::GalleryChangeChart(TObject*) {
    if (Editing() && Gallery->SelectedChart()) SetGallery3DChart(Gallery->SelectedChart());
}

void ZuzEdi3DInitialization() {
    RegisterClass(TFormZuz3D::StaticClass());
}
