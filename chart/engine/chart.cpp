#include "chart/engine/chart.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/filer.h"

#include <cstdlib>

TZuzNewChartHook ZuzNewChartHook = nullptr;
bool ZuzUseMouseWheel = true;
TShiftState ZuzScrollKeyShift;
double AnimatedZoomFactor = 3.0;

// ---------------------------------------------------------------------------
// Construction

const ClassInfo& TCustomChart::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TCustomChart>("TCustomChart", &TCustomAxisPanel::StaticClass());
    return ci;
}

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {}

TCustomChart::~TCustomChart() = default;

void TCustomChart::AfterConstruction() {
    TCustomAxisPanel::AfterConstruction();
    // A designer's tools hear of a chart placed on a form, not of one read with its form.
    const TComponent* owner = GetOwner();
    if (ZuzNewChartHook && GetComponentState().Contains(csDesigning) && owner &&
        !owner->GetComponentState().Contains(csLoading))
        ZuzNewChartHook(this);
}

TCursor TZuzDragObject::GetDragCursor(bool Accepted, int, int) {
    return Accepted ? static_cast<TCursor>(crZuzHand) : crNoDrop;
}

void TCustomChart::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomChart*>(Source)) {
        SetColorPaletteIndex(src->FColorPaletteIndex);
        FScrollMouseButton = src->FScrollMouseButton;
    }
    TCustomAxisPanel::Assign(Source);
}

void TCustomChart::DefineProperties(TFiler* Filer) {
    TCustomAxisPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "BackColor",
        [this](TReader* Reader) {
            // Older charts named the colour or gave its number; either ends as the colour.
            if (Reader->NextValue() == vaIdent) {
                std::int32_t c = 0;
                if (IdentToColor(Reader->ReadIdent(), c)) SetColor(static_cast<TColor>(c));
            } else
                SetColor(static_cast<TColor>(Reader->ReadInteger()));
        },
        nullptr, false);
    Filer->DefineProperty(
        "ColorPaletteIndex", [this](TReader* Reader) { FColorPaletteIndex = Reader->ReadInteger(); },
        [this](TWriter* Writer) { Writer->WriteInteger(FColorPaletteIndex); }, FColorPaletteIndex >= 1);
}

void TCustomChart::GetChildren(TGetChildProc Proc, TComponent* Root) {
    TCustomAxisPanel::GetChildren(Proc, Root);
    for (TZuzCustomTool* t : *GetToolsList()) Proc(t);
}

void TCustomChart::SetColorPaletteIndex(int Index) {
    if (Index == FColorPaletteIndex) return;
    FColorPaletteIndex = Index;
    if (ColorPalettes) TColorPalettes::ApplyPalette(this, Index);
}

TColor TCustomChart::GetBackColor() {
    // No back wall yet: the chart's back is the control's colour.
    return GetColor();
}

void TCustomChart::FillSeriesSourceItems(TChartSeries*, const TGetStrProc&) {}

void TCustomChart::FillValueSourceItems(TChartValueList* ValueList, const TGetStrProc& Proc) {
    const TChartSeries* owner = ValueList->GetOwnerSeries();
    const auto* source = owner ? dynamic_cast<const TChartSeries*>(owner->GetDataSource()) : nullptr;
    if (!source) return;
    const TChartValueLists& lists = source->ValuesList();
    for (int t = 0; t < lists.Count(); ++t) Proc(lists[t]->GetName());
}

// ---------------------------------------------------------------------------
// Series

void TCustomChart::RemoveAllSeries() {
    while (SeriesCount() > 0) TCustomAxisPanel::RemoveSeries(0);
}

void TCustomChart::ClearChart() {
    for (int t = 0; t < SeriesCount(); ++t)
        if (TChartSeries* s = GetSeries(t); s->GetDataSource()) s->SetDataSource(nullptr);
    FreeAllSeries();
    GetToolsList()->Clear();
    Owned<TCustomChart> fresh(Create<TCustomChart>(nullptr));
    fresh->SetParent(GetParent());
    Assign(fresh.get());
    fresh->SetParent(nullptr);
}

void TCustomChart::SeriesUp(TChartSeries* ASeries) {
    const int i = SeriesIndexOf(ASeries);
    if (i > 0) ExchangeSeries(i, i - 1);
}

void TCustomChart::SeriesDown(TChartSeries* ASeries) {
    const int i = SeriesIndexOf(ASeries);
    if (i >= 0 && i < SeriesCount() - 1) ExchangeSeries(i, i + 1);
}

TChartSeries* TCustomChart::GetASeries() const {
    for (int t = 0; t < SeriesCount(); ++t)
        if (TChartSeries* s = GetSeries(t); s->GetActive()) return s;
    return nullptr;
}

bool TCustomChart::ActiveSeriesUseAxis() const {
    bool anyActive = false;
    for (int t = 0; t < SeriesCount(); ++t) {
        const TChartSeries* s = GetSeries(t);
        if (!s->GetActive()) continue;
        if (s->UseAxis()) return true;
        anyActive = true;
    }
    return !anyActive;
}

String TCustomChart::AxisTitleOrName(TChartAxis* Axis) const {
    const String caption = Axis->GetTitle()->GetCaption();
    if (!caption.empty()) return caption;
    if (Axis->IsDepthAxis) return Axis->GetOtherSide() ? VavIve_DepthAxis : VavIve_DepthTopAxis;
    if (!Axis->GetHorizontal()) return Axis->GetOtherSide() ? VavIve_RightAxis : VavIve_LeftAxis;
    return Axis->GetOtherSide() ? VavIve_TopAxis : VavIve_BottomAxis;
}

bool TCustomChart::IsFreeSeriesColor(TColor Color, bool CheckBackground, TChartSeries* ASeries) {
    for (int t = 0; t < SeriesCount(); ++t)
        if (TChartSeries* s = GetSeries(t); s != ASeries && s->GetSeriesColor() == Color) return false;
    return !CheckBackground || Color != GetColor();
}

// ---------------------------------------------------------------------------
// The road's hooks. The walls, titles and legend are not part of the chart
// yet: the chart keeps the calls where they go, with nothing to draw.

void TCustomChart::CalcWallsRect() {
    CalcSize3DWalls();
    if (GetView3D() && GetView3DOptions()->GetOrthogonal() && !CustomChartRect) {
        TRect r = GetChartRect();
        // No back wall yet: only the depth of the series moves the rectangle.
        const int d = std::abs(Width3D);
        if (GetView3DOptions()->GetOrthoAngle() < 91)
            r.Right -= d;
        else
            r.Left += d;
        r.Top += std::abs(Height3D);
        SetChartRect(r);
    }
    ReCalcWidthHeight();
}

int TCustomChart::CalcWallSize(TChartAxis*) {
    return 0;
}

void TCustomChart::DrawTitlesAndLegend(bool) {
    TCanvas3D* c = GetCanvas();
    c->FrontPlaneBegin();
    c->FrontPlaneEnd();
}

void TCustomChart::DrawWalls() {}

// ---------------------------------------------------------------------------
// Hit test

void TCustomChart::CalcClickedPart(TPoint Pos, TChartClickedPart& Part) {
    CalcNeedClickedPart(Pos, false, Part);
}

void TCustomChart::CalcNeedClickedPart(TPoint Pos, bool OnlyClickable, TChartClickedPart& Part) {
    Part = TChartClickedPart();
    for (int t = SeriesCount() - 1; t >= 0; --t) {
        TChartSeries* s = GetSeries(t);
        if (!s->GetActive()) continue;
        if (OnlyClickable && !s->RaiseClicked() && !OnClickSeries) continue;
        int i = s->Clicked(Pos.X, Pos.Y);
        if (i != -1) {
            Part = {cpSeries, i, s, nullptr};
            return;
        }
        if (s->GetMarks()->GetVisible() && (i = s->GetMarks()->Clicked(Pos.X, Pos.Y)) != -1) {
            Part = {cpSeriesMarks, i, s, nullptr};
            return;
        }
    }
    for (TChartAxis* a : *GetAxes()) {
        if (a->Clicked(Pos.X, Pos.Y)) {
            Part.Style = cpAxis;
            Part.AAxis = a;
            return;
        }
        if (a->GetTitle()->GetVisible() && !a->GetTitle()->GetCaption().empty() &&
            a->GetTitle()->Clicked(Pos.X, Pos.Y)) {
            Part.Style = cpAxisTitle;
            Part.AAxis = a;
            return;
        }
    }
    const TRect r = GetChartRect();
    if (CountActiveSeries() > 0 && Pos.X >= r.Left && Pos.X <= r.Right && Pos.Y >= r.Top && Pos.Y <= r.Bottom)
        Part.Style = cpChartRect;
}

// ---------------------------------------------------------------------------
// TChart

TChartAxis* TChart::Axis(int Index) const {
    return const_cast<TChart*>(this)->GetAxes()->Get(Index);
}

const ClassInfo& TChart::StaticClass() {
    using C = TChart;
    static const PropInfo props[] = {
        MakeProp<&C::GetBorder, &C::SetBorder>("Border"),
        MakeProp<&C::GetBorderRound, &C::SetBorderRound>("BorderRound").Default(0),
        MakeProp<&C::GetMarginBottom, &C::SetMarginBottom>("MarginBottom").Default(4),
        MakeProp<&C::GetMarginLeft, &C::SetMarginLeft>("MarginLeft").Default(3),
        MakeProp<&C::GetMarginRight, &C::SetMarginRight>("MarginRight").Default(3),
        MakeProp<&C::GetMarginTop, &C::SetMarginTop>("MarginTop").Default(4),
        MakeProp<&C::GetMarginUnits, &C::SetMarginUnits>("MarginUnits").Default(muPercent),
        MakeProp<&C::GetPrintProportional, &C::SetPrintProportional>("PrintProportional").Default(true),
        MakeProp<&C::GetScrollMouseButton, &C::SetScrollMouseButton>("ScrollMouseButton").Default(mbRight),
        MakeProp<&C::OnAllowScroll>("OnAllowScroll"),
        MakeProp<&C::OnClickAxis>("OnClickAxis"),
        MakeProp<&C::OnClickBackground>("OnClickBackground"),
        MakeProp<&C::OnClickLegend>("OnClickLegend"),
        MakeProp<&C::OnClickSeries>("OnClickSeries"),
        MakeProp<&C::OnClickTitle>("OnClickTitle"),
        MakeProp<&C::GetAxisBehind, &C::SetAxisBehind>("AxisBehind").Default(true),
        MakeProp<&C::GetAxisVisible, &C::SetAxisVisible>("AxisVisible").Default(true),
        MakeProp<&C::BottomAxisProp, &C::SetBottomAxis>("BottomAxis"),
        MakeProp<&C::GetChart3DPercent, &C::Set3DPercent>("Chart3DPercent").Default(15),
        MakeProp<&C::GetClipPoints, &C::SetClipPoints>("ClipPoints").Default(true),
        MakeProp<&C::DepthAxisProp, &C::SetDepthAxis>("DepthAxis"),
        MakeProp<&C::DepthTopAxisProp, &C::SetDepthTopAxis>("DepthTopAxis"),
        MakeProp<&C::CustomAxesProp, &C::SetCustomAxes>("CustomAxes").Stored<&C::IsCustomAxesStored>(),
        MakeProp<&C::LeftAxisProp, &C::SetLeftAxis>("LeftAxis"),
        MakeProp<&C::GetMonochrome, &C::SetMonochrome>("Monochrome").Default(false),
        MakeProp<&C::GetPages, &C::SetPages>("Pages"),
        MakeProp<&C::RightAxisProp, &C::SetRightAxis>("RightAxis"),
        MakeProp<&C::GetSeriesGroups, &C::SetSeriesGroups>("SeriesGroups").Stored<&C::IsSeriesGroupsStored>(),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
        MakeProp<&C::TopAxisProp, &C::SetTopAxis>("TopAxis"),
        MakeProp<&C::View3DProp, &C::SetView3DProp>("View3D").Default(true),
        MakeProp<&C::View3DOptionsProp, &C::SetView3DOptions>("View3DOptions"),
        MakeProp<&C::GetView3DWalls, &C::SetView3DWalls>("View3DWalls").Default(true),
        MakeProp<&C::OnAddSeries>("OnAddSeries"),
        MakeProp<&C::OnBeforeDrawAxes>("OnBeforeDrawAxes"),
        MakeProp<&C::OnBeforeDrawChart>("OnBeforeDrawChart"),
        MakeProp<&C::OnBeforeDrawSeries>("OnBeforeDrawSeries"),
        MakeProp<&C::OnBeforePrint>("OnBeforePrint"),
        MakeProp<&C::FOnGetAxisLabel>("OnGetAxisLabel"),
        MakeProp<&C::FOnGetNextAxisLabel>("OnGetNextAxisLabel"),
        MakeProp<&C::OnPageChange>("OnPageChange"),
        MakeProp<&C::OnRemoveSeries>("OnRemoveSeries"),
        MakeProp<&C::GetBevelInner, &C::SetBevelInner>("BevelInner").Default(bvNone),
        MakeProp<&C::GetBevelOuter, &C::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(1),
        MakeProp<&C::GetBorderWidth, &C::SetBorderWidth>("BorderWidth").Default(0),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TChart", &TCustomChart::StaticClass(), props);
    return ci;
}
