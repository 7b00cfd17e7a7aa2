#include "chart/engine/axispanel.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/filer.h"
#include "platform/core/sysutils.h"

#include <algorithm>
#include <cmath>

namespace {

// Every active series of the panel in list order.
template <class F>
void ForEachActive(const TCustomAxisPanel& Panel, F&& Fn) {
    for (int t = 0; t < Panel.SeriesCount(); ++t)
        if (TChartSeries* s = Panel.GetSeries(t); s->GetActive()) Fn(s);
}

} // namespace

// ---------------------------------------------------------------------------
// Construction

const ClassInfo& TCustomAxisPanel::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomAxisPanel>("TCustomAxisPanel", &TCustomZuzPanelExtended::StaticClass());
    return ci;
}

TCustomAxisPanel::TCustomAxisPanel(TComponent* AOwner) : TCustomZuzPanelExtended(AOwner) {
    AutoRepaint = false;
    FTools = std::make_unique<TChartTools>(static_cast<ISeriesChart*>(this));
    FSeriesList.reset(Create<TChartSeriesList>(this));
    FAxes = std::make_unique<TChartAxes>(static_cast<IAxisChart*>(this));
    FCustomAxes.reset(Create<TChartCustomAxes>(this, static_cast<IAxisChart*>(this)));
    IAxisChart* chart = this;
    // Each axis joins the list as it is made: this is the drawing order.
    FBottomAxis = Create<TChartAxis>(chart);
    FBottomAxis->SetHorizontal(true);
    FTopAxis = Create<TChartAxis>(chart);
    FTopAxis->SetHorizontal(true);
    FTopAxis->SetOtherSide(true);
    FTopAxis->SetZPosition(100);
    FTopAxis->GetGrid()->DefaultZ = 100;
    FTopAxis->GetGrid()->SetZ(100);
    FLeftAxis = Create<TChartAxis>(chart);
    // A side axis's title angle is its own default, so a chart that keeps it writes none.
    FLeftAxis->GetTitle()->DefaultAngle = 90;
    FLeftAxis->GetTitle()->SetAngle(90);
    FRightAxis = Create<TChartAxis>(chart);
    FRightAxis->GetTitle()->DefaultAngle = 270;
    FRightAxis->GetTitle()->SetAngle(270);
    FRightAxis->SetOtherSide(true);
    FRightAxis->SetZPosition(100);
    FRightAxis->GetGrid()->DefaultZ = 100;
    FRightAxis->GetGrid()->SetZ(100);
    FDepthAxis = Create<TChartDepthAxis>(chart);
    FDepthAxis->SetOtherSide(true);
    FDepthTopAxis = Create<TChartDepthAxis>(chart);
    FPages.reset(Create<TChartPage>(this));
    AutoRepaint = true;
}

TCustomAxisPanel::~TCustomAxisPanel() = default;

void TCustomAxisPanel::BeforeDestruction() {
    FDestroying = true;
    AutoRepaint = false;
    FreeAllSeries();
    FPages.reset();
    FAxes->Clear();
    FCustomAxes.reset();
    FSeriesList.reset();
    FDesigner.reset();
    // Axis tools keep no pointer to the axes that are gone.
    for (TZuzCustomTool* t : *FTools)
        if (auto* a = dynamic_cast<TZuzCustomToolAxis*>(t)) a->SetAxis(nullptr);
    FTools->Clear();
    TCustomZuzPanelExtended::BeforeDestruction();
}

// ---------------------------------------------------------------------------
// Settings

void TCustomAxisPanel::Set3DPercent(int Value) {
    if (Value < 1 || Value > 100) throw Exception(Format(VavIve_3dPercent, {1, 100}));
    SetIntegerProperty(FChart3DPercent, Value);
}

bool TCustomAxisPanel::IsCustomAxesStored() const {
    return FCustomAxes->GetCount() > 0;
}

TSeriesGroups* TCustomAxisPanel::GetSeriesGroups() const {
    return FSeriesList->GetGroups();
}

void TCustomAxisPanel::SetSeriesGroups(TSeriesGroups* Value) {
    FSeriesList->SetGroups(Value);
}

bool TCustomAxisPanel::IsSeriesGroupsStored() const {
    return FSeriesList->GetGroups()->GetCount() > 0;
}

void TCustomAxisPanel::SetCustomAxes(TChartCustomAxes* Value) {
    FCustomAxes->Assign(Value);
}
void TCustomAxisPanel::SetTopAxis(TChartAxis* Value) {
    FTopAxis->Assign(Value);
}
void TCustomAxisPanel::SetBottomAxis(TChartAxis* Value) {
    FBottomAxis->Assign(Value);
}
void TCustomAxisPanel::SetLeftAxis(TChartAxis* Value) {
    FLeftAxis->Assign(Value);
}
void TCustomAxisPanel::SetRightAxis(TChartAxis* Value) {
    FRightAxis->Assign(Value);
}
void TCustomAxisPanel::SetDepthAxis(TChartAxis* Value) {
    FDepthAxis->Assign(Value);
}
void TCustomAxisPanel::SetDepthTopAxis(TChartAxis* Value) {
    FDepthTopAxis->Assign(Value);
}

void TCustomAxisPanel::SetDesigner(TZuzCustomDesigner* Value) {
    FDesigner.reset(Value);
}

void TCustomAxisPanel::RepaintDesigner() {
    if (FDesigner) FDesigner->Repaint();
}

void TCustomAxisPanel::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomAxisPanel*>(Source)) {
        FChart3DPercent = src->FChart3DPercent;
        FAxisBehind = src->FAxisBehind;
        FAxisVisible = src->FAxisVisible;
        FBottomAxis->Assign(src->FBottomAxis);
        FClipPoints = src->FClipPoints;
        CustomPalette = src->CustomPalette;
        FCustomAxes->Assign(src->FCustomAxes.get());
        FLeftAxis->Assign(src->FLeftAxis);
        FDepthAxis->Assign(src->FDepthAxis);
        FDepthTopAxis->Assign(src->FDepthTopAxis);
        FPages->Assign(src->FPages.get());
        FRightAxis->Assign(src->FRightAxis);
        FTopAxis->Assign(src->FTopAxis);
        FView3DWalls = src->FView3DWalls;
    }
    TCustomZuzPanelExtended::Assign(Source);
}

void TCustomAxisPanel::DefineProperties(TFiler* Filer) {
    TCustomZuzPanelExtended::DefineProperties(Filer);
    // Older charts kept the paging on the chart; read into the pages, never written.
    Filer->DefineProperty(
        "MaxPointsPerPage", [this](TReader* Reader) { FPages->SetMaxPointsPerPage(Reader->ReadInteger()); },
        nullptr, false);
    Filer->DefineProperty(
        "Page", [this](TReader* Reader) { FPages->SetCurrent(Reader->ReadInteger()); }, nullptr, false);
    Filer->DefineProperty(
        "ScaleLastPage", [this](TReader* Reader) { FPages->SetScaleLastPage(Reader->ReadBoolean()); },
        nullptr, false);
}

// ---------------------------------------------------------------------------
// The series list

int TCustomAxisPanel::SeriesCount() const {
    return FSeriesList ? FSeriesList->Count() : 0;
}

TChartSeries* TCustomAxisPanel::GetSeries(int Index) const {
    return FSeriesList->Get(Index);
}

int TCustomAxisPanel::CountActiveSeries() const {
    int n = 0;
    ForEachActive(*this, [&](TChartSeries*) { ++n; });
    return n;
}

int TCustomAxisPanel::GetMaxValuesCount() const {
    int n = 0;
    ForEachActive(*this, [&](TChartSeries* s) { n = std::max(n, s->Count()); });
    return n;
}

TChartSeries* TCustomAxisPanel::AddSeries(TChartSeries* ASeries) {
    ASeries->SetParentChart(this);
    return ASeries;
}

TChartSeries* TCustomAxisPanel::AddSeries(const ClassInfo& SeriesClass) {
    auto* s = dynamic_cast<TChartSeries*>(SeriesClass.CreateComponent(GetOwner()));
    return s ? AddSeries(s) : nullptr;
}

void TCustomAxisPanel::InternalAddSeries(TCustomChartSeries* ASeries) {
    auto* s = dynamic_cast<TChartSeries*>(ASeries);
    if (!s || FSeriesList->Contains(s)) return;
    s->SetParentChart(this);
    s->Added();
    FSeriesList->Add(s);
    BroadcastSeriesEvent(s, seAdd);
    if (OnAddSeries) OnAddSeries(s);
    Invalidate();
}

void TCustomAxisPanel::RemoveSeries(TCustomChartSeries* ASeries) {
    RemoveSeries(SeriesIndexOf(ASeries));
}

void TCustomAxisPanel::RemoveSeries(int Index) {
    if (Index < 0 || Index >= SeriesCount()) return;
    TChartSeries* s = GetSeries(Index);
    BroadcastSeriesEvent(s, seRemove);
    s->Removed();
    FSeriesList->Delete(Index);
    // A series out of the chart is in none of its groups (nor, once freed, left behind there).
    FSeriesList->GetGroups()->RemoveSeries(s);
    if (OnRemoveSeries) OnRemoveSeries(s);
    Invalidate();
}

int TCustomAxisPanel::SeriesIndexOf(const TCustomChartSeries* ASeries) const {
    auto* s = dynamic_cast<const TChartSeries*>(ASeries);
    return s && FSeriesList ? FSeriesList->IndexOf(const_cast<TChartSeries*>(s)) : -1;
}

void TCustomAxisPanel::FreeAllSeries(const ClassInfo* SeriesClass) {
    for (int t = SeriesCount() - 1; t >= 0; --t) {
        TChartSeries* s = GetSeries(t);
        if (SeriesClass && !s->InheritsFrom(*SeriesClass)) continue;
        s->SetParentChart(nullptr);
        s->Free();
    }
}

void TCustomAxisPanel::ExchangeSeries(int A, int B) {
    TChartSeries* sa = GetSeries(A);
    TChartSeries* sb = GetSeries(B);
    FSeriesList->Exchange(A, B);
    const int ca = sa->GetComponentIndex(), cb = sb->GetComponentIndex();
    if (sa->GetOwner() && sa->GetOwner() == sb->GetOwner()) {
        sa->SetComponentIndex(cb);
        sb->SetComponentIndex(ca);
    }
    // Inside a group that holds both, they change places too.
    TSeriesGroups* groups = FSeriesList->GetGroups();
    for (int g = 0; g < groups->GetCount(); ++g) {
        TCustomSeriesList* list = groups->Get(g)->GetSeries();
        const int ia = list->IndexOf(sa), ib = list->IndexOf(sb);
        if (ia >= 0 && ib >= 0) list->Exchange(ia, ib);
    }
    BroadcastSeriesEvent(nullptr, seSwap);
    Invalidate();
}

void TCustomAxisPanel::ExchangeSeries(TCustomChartSeries* A, TCustomChartSeries* B) {
    ExchangeSeries(SeriesIndexOf(A), SeriesIndexOf(B));
}

TChartSeries* TCustomAxisPanel::SeriesLegend(int Index, bool OnlyActive) const {
    int n = 0;
    for (int t = 0; t < SeriesCount(); ++t) {
        TChartSeries* s = GetSeries(t);
        if (!s->GetShowInLegend() || (OnlyActive && !s->GetActive())) continue;
        if (n++ == Index) return s;
    }
    return nullptr;
}

String TCustomAxisPanel::SeriesTitleLegend(int Index, bool OnlyActive) const {
    const TChartSeries* s = SeriesLegend(Index, OnlyActive);
    return s ? SeriesTitleOrName(s) : String();
}

bool TCustomAxisPanel::CheckMouseSeries(int X, int Y) {
    bool any = false;
    // Every series is asked, so each one can tell its mouse it left.
    for (int t = SeriesCount() - 1; t >= 0; --t)
        if (TChartSeries* s = GetSeries(t); s->GetActive() && s->CheckMouse(X, Y)) any = true;
    return any;
}

void TCustomAxisPanel::GetChildren(TGetChildProc Proc, TComponent* Root) {
    TCustomZuzPanelExtended::GetChildren(Proc, Root);
    for (int t = 0; t < SeriesCount(); ++t) Proc(GetSeries(t));
}

// ---------------------------------------------------------------------------
// Colours

TColor TCustomAxisPanel::GetDefaultColor(int Index) {
    if (CustomPalette.empty()) return ::GetDefaultColor(Index);
    return CustomPalette[static_cast<std::size_t>(Index) % CustomPalette.size()];
}

TColor TCustomAxisPanel::GetFreeSeriesColor(bool CheckBackground, TChartSeries* ASeries) {
    const int n = static_cast<int>(CustomPalette.empty() ? ColorPalette.size() : CustomPalette.size());
    for (int t = 0; t < n - 1; ++t) {
        const TColor c = GetDefaultColor(t);
        if (IsFreeSeriesColor(c, CheckBackground, ASeries)) return c;
    }
    return GetDefaultColor(std::max(0, n - 1));
}

void TCustomAxisPanel::SetColorPalette(std::span<const TColor> Colors) {
    CustomPalette.assign(Colors.begin(), Colors.end());
}

void TCustomAxisPanel::ColorPaletteChanged() {
    for (int t = 0; t < SeriesCount(); ++t)
        if (TChartSeries* s = GetSeries(t); s->StoredSeriesColor() == clDefault)
            s->ChangeInternalColor(GetFreeSeriesColor(true, s));
}

// ---------------------------------------------------------------------------
// Axes

bool TCustomAxisPanel::IsAxisVisible(TChartAxis* Axis) {
    const int i = FAxes->IndexOf(Axis);
    if (i >= 0 && i < static_cast<int>(FAxisVisibleNow.size()))
        return FAxisVisibleNow[static_cast<std::size_t>(i)];
    return CalcIsAxisVisible(Axis);
}

bool TCustomAxisPanel::CalcIsAxisVisible(TChartAxis* Axis) {
    if (!FAxisVisible || !Axis->GetVisible()) return false;
    if (Axis->IsDepthAxis) return GetView3D();
    return HasActiveSeries(Axis);
}

bool TCustomAxisPanel::IsHorizontalAxis(const TChartAxis* Axis) const {
    return Axis->GetHorizontal();
}

int TCustomAxisPanel::CustomAxisIndex(const TChartAxis* Axis) const {
    for (int t = 0; t < FCustomAxes->GetCount(); ++t)
        if (FCustomAxes->Get(t) == Axis) return t;
    return -1;
}

TChartAxis* TCustomAxisPanel::CustomAxis(int Index) {
    return Index >= 0 && Index < FCustomAxes->GetCount() ? FCustomAxes->Get(Index) : nullptr;
}

// ---------------------------------------------------------------------------
// Events

void TCustomAxisPanel::BroadcastSeriesEvent(TCustomChartSeries* ASeries, TChartSeriesEvent Event) {
    TZuzSeriesEvent e;
    e.Event = Event;
    e.Series = ASeries;
    BroadcastZuzEvent(&e);
}

void TCustomAxisPanel::BroadcastZuzEventClass(TZuzEventClass EventClass) {
    const std::unique_ptr<TZuzEvent> e = EventClass();
    BroadcastZuzEvent(e.get());
}

void TCustomAxisPanel::BroadcastToolEvent(TChartToolEvent Event) {
    // A tool may leave the chart while it is told; the list is taken as it was.
    const std::vector<TZuzCustomTool*> tools(FTools->begin(), FTools->end());
    for (TZuzCustomTool* t : tools)
        if (t->GetActive()) t->ChartEvent(Event);
}

void TCustomAxisPanel::CMMouseLeave() {
    TCustomZuzPanel::CMMouseLeave();
    BroadcastToolEvent(cteMouseLeave);
}

void TCustomAxisPanel::DoOnBeforeDrawChart() {
    if (OnBeforeDrawChart) OnBeforeDrawChart(this);
}
void TCustomAxisPanel::DoOnBeforeDrawAxes() {
    if (OnBeforeDrawAxes) OnBeforeDrawAxes(this);
}
void TCustomAxisPanel::DoOnBeforeDrawSeries() {
    if (OnBeforeDrawSeries) OnBeforeDrawSeries(this);
}
void TCustomAxisPanel::DoOnAfterDraw() {
    if (OnAfterDraw) OnAfterDraw(this);
}

// ---------------------------------------------------------------------------
// Measuring

int TCustomAxisPanel::MultiLineTextWidth(const String& S, int& NumLines) {
    NumLines = 0;
    int widest = 0;
    std::size_t start = 0;
    TCanvas3D* c = GetCanvas();
    for (;;) {
        const std::size_t end = S.find(ZuzLineSeparator, start);
        const String piece = S.substr(start, end == String::npos ? String::npos : end - start);
        if (end == String::npos) {
            if (!piece.empty()) {
                ++NumLines;
                widest = std::max(widest, c->TextWidth(piece));
            }
            break;
        }
        ++NumLines;
        widest = std::max(widest, c->TextWidth(piece));
        start = end + 1;
    }
    return widest;
}

int TCustomAxisPanel::MaxTextWidth() {
    int widest = 0, lines = 0;
    for (int t = 0; t < SeriesCount(); ++t) {
        TChartSeries* s = GetSeries(t);
        for (int i = 0; i < s->Count(); ++i)
            widest = std::max(widest, MultiLineTextWidth(s->GetXLabel(i), lines));
    }
    return widest;
}

int TCustomAxisPanel::MaxMarkWidth() {
    int widest = 0;
    ForEachActive(*this, [&](TChartSeries* s) { widest = std::max(widest, s->MaxMarkWidth()); });
    return widest;
}

void TCustomAxisPanel::DrawLegendShape(const TRect& Rect) {
    TCanvas3D* c = GetCanvas();
    c->Rectangle(Rect);
    if (c->Brush->GetColor() != LegendColor) return;
    // A symbol in the legend's own colour still shows its outline, drawn with a pen even
    // when the series has its pen hidden, and in a colour that is not the legend's.
    const TColor pen = c->Pen->GetColor();
    const TPenStyle style = c->Pen->GetStyle();
    c->Brush->SetStyle(bsClear);
    if (style == psClear) c->Pen->SetStyle(psSolid);
    if (LegendColor == clBlack)
        c->Pen->SetColor(clWhite);
    else if (style == psClear || pen == LegendColor)
        c->Pen->SetColor(clBlack);
    c->Rectangle(Rect);
    c->Pen->SetStyle(style);
    c->Pen->SetColor(pen);
}

bool TCustomAxisPanel::DrawBackWallAfter(int Z) {
    TCanvas3D* c = GetCanvas();
    if (c->GetSupportsFullRotation()) return false;
    const TRect r = GetChartRect();
    const TPoint p[3] = {c->Calculate3DPosition(r.Left, r.Top, Z), c->Calculate3DPosition(r.Right, r.Top, Z),
                         c->Calculate3DPosition(r.Right, r.Bottom, Z)};
    return !ZuzCull(p);
}

// ---------------------------------------------------------------------------
// 3D

void TCustomAxisPanel::CalcInvertedRotation() {
    FInvertedRotation = false;
    if (!GetView3D()) return;
    const TView3DOptions* v = GetView3DOptions();
    FInvertedRotation = v->GetOrthogonal() ? v->GetOrthoAngle() > 90 : v->GetRotation() < 180;
}

void TCustomAxisPanel::CalcSize3DWalls() {
    if (!GetView3D()) {
        SeriesWidth3D = SeriesHeight3D = Width3D = Height3D = 0;
        return;
    }
    const TView3DOptions* v = GetView3DOptions();
    double f = FChart3DPercent * 0.001;
    if (!v->GetOrthogonal()) f *= 2;
    SeriesWidth3D = static_cast<int>(std::nearbyint(GetChartWidth() * f));
    const double r = v->CalcOrthoRatio();
    if (r > 1) SeriesWidth3D = static_cast<int>(std::nearbyint(SeriesWidth3D / r));
    SeriesHeight3D = static_cast<int>(std::nearbyint(SeriesWidth3D * r));
    const int k = TCustomZuzPanel::ApplyZOrder ? std::max(1, MaxZOrder + 1) : 1;
    Height3D = SeriesHeight3D * k;
    Width3D = SeriesWidth3D * k;
}

void TCustomAxisPanel::CalcSeriesZOrder() {
    MaxZOrder = 0;
    const bool stacked = TCustomZuzPanel::ApplyZOrder && GetView3D();
    if (stacked) {
        MaxZOrder = -1;
        ForEachActive(*this, [](TChartSeries* s) { s->CalcZOrder(); });
    }
    if (FDepthAxis->GetInverted()) return;
    // The first series goes to the back.
    ForEachActive(*this, [&](TChartSeries* s) { s->IZOrder = stacked ? MaxZOrder - s->GetZOrder() : 0; });
}
