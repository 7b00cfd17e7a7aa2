#include "chart/engine/chart.h"

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/zuzfunction.h"
#include "platform/core/filer.h"

#include <algorithm>
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

TCustomChart::TCustomChart(TComponent* AOwner) : TCustomAxisPanel(AOwner) {
    const TRestoreOnExit<bool> quiet(AutoRepaint, false);
    FTitle = MakeOwned<TChartTitle>(this);
    FSubTitle = MakeOwned<TChartTitle>(this);
    FFoot = MakeOwned<TChartFootTitle>(this);
    FSubFoot = MakeOwned<TChartFootTitle>(this);
    FWalls = MakeOwned<TChartWalls>(this);
    FLegend = MakeOwned<TChartLegend>(this);
}

TCustomChart::~TCustomChart() {
    AutoRepaint = false;
}

void TCustomChart::AfterConstruction() {
    TCustomAxisPanel::AfterConstruction();
    // A chart placed by a designer is titled with its class's name ("TChart").
    if (GetComponentState().Contains(csDesigning)) FTitle->GetText()->Add(IdentToString(ClassType().name));
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
        FFoot->Assign(src->FFoot.get());
        FLegend->Assign(src->FLegend.get());
        FScrollMouseButton = src->FScrollMouseButton;
        FSubFoot->Assign(src->FSubFoot.get());
        FSubTitle->Assign(src->FSubTitle.get());
        FTitle->Assign(src->FTitle.get());
        FWalls->Assign(src->FWalls.get());
    }
    TCustomAxisPanel::Assign(Source);
}

void TCustomChart::SetLegend(TChartLegend* Value) {
    FLegend->Assign(Value);
}
void TCustomChart::SetTitle(TChartTitle* Value) {
    FTitle->Assign(Value);
}
void TCustomChart::SetSubTitle(TChartTitle* Value) {
    FSubTitle->Assign(Value);
}
void TCustomChart::SetFoot(TChartFootTitle* Value) {
    FFoot->Assign(Value);
}
void TCustomChart::SetSubFoot(TChartFootTitle* Value) {
    FSubFoot->Assign(Value);
}
void TCustomChart::SetWalls(TChartWalls* Value) {
    FWalls->Assign(Value);
}
TChartBackWall* TCustomChart::GetBackWall() const {
    return FWalls->GetBack();
}
void TCustomChart::SetBackWall(TChartBackWall* Value) {
    FWalls->SetBack(Value);
}
TChartLeftWall* TCustomChart::GetLeftWall() const {
    return FWalls->GetLeft();
}
void TCustomChart::SetLeftWall(TChartLeftWall* Value) {
    FWalls->SetLeft(Value);
}
TChartBottomWall* TCustomChart::GetBottomWall() const {
    return FWalls->GetBottom();
}
void TCustomChart::SetBottomWall(TChartBottomWall* Value) {
    FWalls->SetBottom(Value);
}
TChartRightWall* TCustomChart::GetRightWall() const {
    return FWalls->GetRight();
}
void TCustomChart::SetRightWall(TChartRightWall* Value) {
    FWalls->SetRight(Value);
}
TChartPen* TCustomChart::GetFrame() const {
    return FWalls ? FWalls->GetBack()->GetPen() : nullptr;
}
void TCustomChart::SetFrame(TChartPen* Value) {
    FWalls->GetBack()->SetPen(Value);
}

void TCustomChart::SetBackColor(TColor Color) {
    TChartBackWall* wall = FWalls->GetBack();
    wall->SetColor(Color);
    if (GetParent() && !GetComponentState().Contains(csLoading)) wall->GetBrush()->SetStyle(bsSolid);
}

String TCustomChart::FormattedLegend(int Index) {
    return InternalFormattedLegend(FLegend.get(), Index);
}

String TCustomChart::InternalFormattedLegend(TCustomChartLegend* ALegend, int Index) {
    String text = ALegend->FormattedLegend(Index);
    if (OnGetLegendText) OnGetLegendText(this, ALegend->InternalStyle(), Index, text);
    return text;
}

String TCustomChart::FormattedValueLegend(TChartSeries* ASeries, int ValueIndex) {
    if (!ASeries) return {};
    return FLegend->FormattedValue(ASeries, ValueIndex);
}

void TCustomChart::DrawLegendShape(const TRect& Rect) {
    TLegendSymbol* symbol = FLegend->GetSymbol();
    if (symbol->GetGradient()->GetVisible()) {
        symbol->Draw(GetCanvas()->Brush->GetColor(), Rect);
        return;
    }
    // The symbol's shadow falls behind a series' symbol as behind any other: the brush it takes
    // is given back for the symbol.
    TZuzShadow* shadow = symbol->GetShadow();
    if (shadow->GetVisible() && shadow->GetSize() != 0) {
        const TShadowLookKept keep(GetCanvas());
        shadow->Draw(GetCanvas(), Rect);
    }
    TCustomAxisPanel::DrawLegendShape(Rect);
}

void TCustomChart::DefineProperties(TFiler* Filer) {
    TCustomAxisPanel::DefineProperties(Filer);
    Filer->DefineProperty(
        "BackColor",
        [this](TReader* Reader) {
            // Older charts named the colour or gave its number; either ends as the colour.
            if (Reader->NextValue() == vaIdent) {
                std::int32_t c = 0;
                if (IdentToColor(Reader->ReadIdent(), c)) SetBackColor(static_cast<TColor>(c));
            } else
                SetBackColor(static_cast<TColor>(Reader->ReadInteger()));
        },
        nullptr, false);
    Filer->DefineProperty(
        "ColorPaletteIndex",
        // -1 or one of the palettes: the editors count from the number. The palette itself is
        // taken again, so the series read after it are coloured from it as they were when saved.
        [this](TReader* Reader) {
            TColorPalettes::ApplyPalette(this, std::clamp(Reader->ReadInteger(), -1, kLastPalette));
        },
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
    const TChartBackWall* wall = FWalls ? FWalls->GetBack() : nullptr;
    return !wall || wall->GetTransparent() ? GetColor() : wall->GetColor();
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
    return !CheckBackground || (Color != GetColor() && Color != FWalls->GetBack()->GetColor());
}

// ---------------------------------------------------------------------------
// The road's hooks: titles, legend and walls

void TCustomChart::CalcWallsRect() {
    CalcSize3DWalls();
    if (GetView3D() && GetView3DOptions()->GetOrthogonal() && !CustomChartRect) {
        TRect r = GetChartRect();
        const int back = ActiveSeriesUseAxis() ? FWalls->GetBack()->GetSize() : 0;
        const int d = std::abs(Width3D) + back;
        if (GetView3DOptions()->GetOrthoAngle() < 91) {
            r.Right -= d;
            if (FWalls->GetRight()->GetVisible()) r.Right -= FWalls->GetRight()->GetSize() + 1;
        } else {
            r.Left += d;
            if (FWalls->GetLeft()->GetVisible()) r.Left += FWalls->GetLeft()->GetSize() + 1;
        }
        r.Top += back + std::abs(Height3D);
        SetChartRect(r);
    }
    ReCalcWidthHeight();
}

int TCustomChart::CalcWallSize(TChartAxis* Axis) {
    if (!GetView3D() || !GetView3DWalls()) return 0;
    const TCustomChartWall* wall = FWalls->GetBack();
    if (Axis == GetLeftAxis())
        wall = FWalls->GetLeft();
    else if (Axis == GetBottomAxis())
        wall = FWalls->GetBottom();
    else if (Axis == GetRightAxis())
        wall = FWalls->GetRight();
    return wall->GetVisible() ? wall->GetSize() : 0;
}

void TCustomChart::DrawTitles(bool CustomOnes) {
    TCanvas3D* c = GetCanvas();
    const std::pair<TChartTitle*, const char16_t*> titles[] = {{FTitle.get(), u"title"},
                                                               {FSubTitle.get(), u"subtitle"},
                                                               {FFoot.get(), u"foot"},
                                                               {FSubFoot.get(), u"subfoot"}};
    for (const auto& [title, name] : titles) {
        if (title->GetCustomPosition() != CustomOnes) continue;
        c->BeginEntity(name);
        try {
            title->DrawTitle();
        } catch (...) {
            c->EndEntity();
            throw;
        }
        c->EndEntity();
    }
}

void TCustomChart::DrawTitlesAndLegend(bool BeforeSeries) {
    TCanvas3D* c = GetCanvas();
    c->FrontPlaneBegin();
    try {
        const bool legend = FLegend->ShouldDraw();
        if (BeforeSeries) {
            if (legend && !FLegend->GetCustomPosition()) {
                if (FLegend->GetVertical()) {
                    FLegend->DrawLegend();
                    DrawTitles(false);
                } else {
                    DrawTitles(false);
                    FLegend->DrawLegend();
                }
            } else {
                DrawTitles(false);
            }
        } else {
            if (legend && FLegend->GetCustomPosition()) FLegend->DrawLegend();
            DrawTitles(true);
        }
    } catch (...) {
        c->FrontPlaneEnd();
        throw;
    }
    c->FrontPlaneEnd();
    if (!BeforeSeries && ActiveSeriesUseAxis() && GetView3D()) DrawWallsAfterSeries();
}

void TCustomChart::DrawWallsAfterSeries() {
    const TRect r = GetChartRect();
    // A side axis drawn again over its wall keeps its grid off the back wall,
    // which lies behind the series already drawn. Its labels and title stand
    // beyond the wall and are drawn once, before.
    const auto sideAxis = [this](TChartAxis* Axis) {
        if (!IsAxisVisible(Axis)) return;
        const TRestoreOnExit<bool> hidden(Axis->IHideBackGrid, true);
        Axis->DrawLineTicksGrids();
    };
    if (!FWalls->DrawWallFirst(r.Right)) {
        if (FWalls->GetRight()->ShouldDraw()) FWalls->DrawRightWall();
        sideAxis(GetRightAxis());
    }
    // The left wall stands between the viewer and the series only when it is seen from
    // outside, its corners turned the other way from the view that draws it first.
    if (!FWalls->DrawWallFirst(r.Left)) {
        if (FWalls->GetLeft()->ShouldDraw()) FWalls->DrawLeftWall();
        sideAxis(GetLeftAxis());
    }
    if (!DrawBackWallAfter(Width3D)) return;
    // The back wall now stands before the series: the grid lines on it come
    // over them, those along the floor stay behind.
    for (TChartAxis* a : {GetTopAxis(), GetBottomAxis()}) {
        if (!IsAxisVisible(a)) continue;
        const TRestoreOnExit<bool> hidden(a->IHideSideGrid, true);
        a->DrawGrids(static_cast<int>(a->Tick.size()));
    }
    if (FWalls->GetBack()->ShouldDraw()) FWalls->DrawBackWall();
}

void TCustomChart::DrawWalls() {
    if (!ActiveSeriesUseAxis()) return;
    const TRect r = GetChartRect();
    const bool walls3D = GetView3D() && GetView3DWalls();
    if (walls3D && FWalls->GetRight()->ShouldDraw() && FWalls->DrawWallFirst(r.Right))
        FWalls->DrawRightWall();
    const bool backAfter = DrawBackWallAfter(Width3D);
    if (GetView3DWalls() && FWalls->GetBack()->ShouldDraw() && !backAfter) FWalls->DrawBackWall();
    if (!walls3D) return;
    if (FWalls->GetLeft()->ShouldDraw() && FWalls->DrawWallFirst(r.Left)) FWalls->DrawLeftWall();
    if (FWalls->GetBottom()->ShouldDraw()) FWalls->DrawBottomWall();
    // Placed on the rectangle of this drawing: the axes step that would place them comes later.
    if (HorizAxesDrawnWithWalls()) {
        if (IsAxisVisible(GetTopAxis())) GetTopAxis()->Draw(true);
        if (IsAxisVisible(GetBottomAxis())) GetBottomAxis()->Draw(true);
    }
}

TRect TCustomChart::LegendArea() {
    return FLegend->ShouldDraw() && !FLegend->GetCustomPosition() ? FLegend->ShapeBounds : TRect{};
}

TRect TCustomChart::MarksArea() {
    // A mark is free to stand beyond the chart rectangle but not over the titles above and
    // below it: a tall bar's mark in perspective is cut at the title's edge.
    TRect r = GetCanvas()->Bounds;
    const auto shown = [](TChartTitle* T) {
        return T->GetVisible() && T->GetText()->GetCount() > 0 && !T->GetCustomPosition();
    };
    for (TChartTitle* t : {FTitle.get(), FSubTitle.get()})
        if (shown(t)) r.Top = std::max(r.Top, t->GetShapeBounds().Bottom);
    for (TChartTitle* t : {static_cast<TChartTitle*>(FFoot.get()), static_cast<TChartTitle*>(FSubFoot.get())})
        if (shown(t)) r.Bottom = std::min(r.Bottom, t->GetShapeBounds().Top);
    return r;
}

bool TCustomChart::HorizAxesDrawnWithWalls() {
    return ActiveSeriesUseAxis() && GetView3D() && GetView3DWalls() && DrawBackWallAfter(Width3D);
}

// ---------------------------------------------------------------------------
// Hit test

void TCustomChart::CalcClickedPart(TPoint Pos, TChartClickedPart& Part) {
    CalcNeedClickedPart(Pos, false, Part);
}

void TCustomChart::CalcNeedClickedPart(TPoint Pos, bool OnlyClickable, TChartClickedPart& Part) {
    Part = TChartClickedPart();
    const auto legendHit = [&](bool Custom) {
        if (!FLegend->GetVisible() || FLegend->GetCustomPosition() != Custom) return false;
        const int i = FLegend->Clicked(Pos.X, Pos.Y);
        if (i == -1) return false;
        Part.Style = cpLegend;
        Part.ValueIndex = i;
        return true;
    };
    if (legendHit(true)) return;
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
    if (legendHit(false)) return;
    const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {{FTitle.get(), cpTitle},
                                                                      {FSubTitle.get(), cpSubTitle},
                                                                      {FFoot.get(), cpFoot},
                                                                      {FSubFoot.get(), cpSubFoot}};
    for (const auto& [title, style] : titles)
        if (title->Clicked(Pos.X, Pos.Y)) {
            Part.Style = style;
            return;
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
    // The chart decides the order of all it publishes: its own settings first, the panel's among
    // them, and the control's standard properties and events last.
    static const PropInfo props[] = {
        PlaceInherited("AllowPanning"),
        PlaceInherited("BackImage"),
        PlaceInherited("BackImageInside"),
        PlaceInherited("BackImageMode"),
        PlaceInherited("BackImageTransp"),
        MakeProp<&C::GetBackWall, &C::SetBackWall>("BackWall"),
        MakeProp<&C::GetBorder, &C::SetBorder>("Border"),
        MakeProp<&C::GetBorderRound, &C::SetBorderRound>("BorderRound").Default(0),
        MakeProp<&C::GetBottomWall, &C::SetBottomWall>("BottomWall"),
        MakeProp<&C::GetFoot, &C::SetFoot>("Foot"),
        PlaceInherited("Gradient"),
        MakeProp<&C::GetLeftWall, &C::SetLeftWall>("LeftWall"),
        MakeProp<&C::GetLegend, &C::SetLegend>("Legend"),
        MakeProp<&C::GetMarginBottom, &C::SetMarginBottom>("MarginBottom").Default(4),
        MakeProp<&C::GetMarginLeft, &C::SetMarginLeft>("MarginLeft").Default(3),
        MakeProp<&C::GetMarginRight, &C::SetMarginRight>("MarginRight").Default(3),
        MakeProp<&C::GetMarginTop, &C::SetMarginTop>("MarginTop").Default(4),
        MakeProp<&C::GetMarginUnits, &C::SetMarginUnits>("MarginUnits").Default(muPercent),
        MakeProp<&C::GetPrintProportional, &C::SetPrintProportional>("PrintProportional").Default(true),
        MakeProp<&C::GetRightWall, &C::SetRightWall>("RightWall"),
        MakeProp<&C::GetScrollMouseButton, &C::SetScrollMouseButton>("ScrollMouseButton").Default(mbRight),
        MakeProp<&C::GetSubFoot, &C::SetSubFoot>("SubFoot"),
        MakeProp<&C::GetSubTitle, &C::SetSubTitle>("SubTitle"),
        MakeProp<&C::GetTitle, &C::SetTitle>("Title"),
        MakeProp<&C::OnAllowScroll>("OnAllowScroll"),
        MakeProp<&C::OnClickAxis>("OnClickAxis"),
        MakeProp<&C::OnClickBackground>("OnClickBackground"),
        MakeProp<&C::OnClickLegend>("OnClickLegend"),
        MakeProp<&C::OnClickSeries>("OnClickSeries"),
        MakeProp<&C::OnClickTitle>("OnClickTitle"),
        MakeProp<&C::OnGetLegendPos>("OnGetLegendPos"),
        MakeProp<&C::OnGetLegendRect>("OnGetLegendRect"),
        PlaceInherited("OnScroll"),
        PlaceInherited("OnUndoZoom"),
        PlaceInherited("OnZoom"),
        MakeProp<&C::GetAxisBehind, &C::SetAxisBehind>("AxisBehind").Default(true),
        MakeProp<&C::GetAxisVisible, &C::SetAxisVisible>("AxisVisible").Default(true),
        MakeProp<&C::BottomAxisProp, &C::SetBottomAxis>("BottomAxis"),
        MakeProp<&C::GetChart3DPercent, &C::Set3DPercent>("Chart3DPercent").Default(15),
        MakeProp<&C::GetClipPoints, &C::SetClipPoints>("ClipPoints").Default(true),
        MakeProp<&C::DepthAxisProp, &C::SetDepthAxis>("DepthAxis"),
        MakeProp<&C::DepthTopAxisProp, &C::SetDepthTopAxis>("DepthTopAxis"),
        MakeProp<&C::CustomAxesProp, &C::SetCustomAxes>("CustomAxes").Stored<&C::IsCustomAxesStored>(),
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
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
        PlaceInherited("Zoom"),
        MakeProp<&C::OnAddSeries>("OnAddSeries"),
        PlaceInherited("OnAfterDraw"),
        MakeProp<&C::OnBeforeDrawAxes>("OnBeforeDrawAxes"),
        MakeProp<&C::OnBeforeDrawChart>("OnBeforeDrawChart"),
        MakeProp<&C::OnBeforeDrawSeries>("OnBeforeDrawSeries"),
        MakeProp<&C::OnBeforePrint>("OnBeforePrint"),
        MakeProp<&C::FOnGetAxisLabel>("OnGetAxisLabel"),
        MakeProp<&C::OnGetLegendText>("OnGetLegendText"),
        MakeProp<&C::FOnGetNextAxisLabel>("OnGetNextAxisLabel"),
        MakeProp<&C::OnPageChange>("OnPageChange"),
        MakeProp<&C::OnRemoveSeries>("OnRemoveSeries"),
        PlaceInherited("Align"),
        MakeProp<&C::GetBevelInner, &C::SetBevelInner>("BevelInner").Default(bvNone),
        MakeProp<&C::GetBevelOuter, &C::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(1),
        MakeProp<&C::GetBorderWidth, &C::SetBorderWidth>("BorderWidth").Default(0),
        PlaceInherited("Color"),
        PlaceInherited("Enabled"),
        PlaceInherited("ParentColor"),
        PlaceInherited("ParentShowHint"),
        PlaceInherited("PopupMenu"),
        PlaceInherited("ShowHint"),
        PlaceInherited("TabOrder"),
        PlaceInherited("TabStop"),
        PlaceInherited("Visible"),
        PlaceInherited("Anchors"),
        PlaceInherited("OnClick"),
        PlaceInherited("OnDblClick"),
        PlaceInherited("OnDragDrop"),
        PlaceInherited("OnDragOver"),
        PlaceInherited("OnMouseDown"),
        PlaceInherited("OnMouseEnter"),
        PlaceInherited("OnMouseLeave"),
        PlaceInherited("OnMouseMove"),
        PlaceInherited("OnMouseUp"),
        PlaceInherited("OnEnter"),
        PlaceInherited("OnExit"),
        PlaceInherited("OnKeyDown"),
        PlaceInherited("OnKeyPress"),
        PlaceInherited("OnKeyUp"),
        PlaceInherited("OnResize"),
    };
    static const ClassInfo ci = OwningOrder(MakeClassInfo<C>("TChart", &TCustomChart::StaticClass(), props));
    return ci;
}
