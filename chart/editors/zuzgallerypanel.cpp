#include "chart/editors/zuzgallerypanel.h"

#include "chart/canvas/zuzprocs.h"
#include "chart/canvas/zuzstretch.h"
#include "chart/canvas/zuztext.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/colorpalettes.h"
#include "chart/engine/seriestypes.h"
#include "chart/engine/zuzfunction.h"
#include "chart/series/series.h"
#include "platform/gui/extctrls.h"
#include "platform/gui/forms.h"
#include "platform/gui/winuser.h"

#include <algorithm>

TColor clZuzGallery = static_cast<TColor>(0xFFFFFF);

namespace {

constexpr TColor kGrey = static_cast<TColor>(0x808080);
constexpr TColor kSilver = static_cast<TColor>(0xC0C0C0);
constexpr TColor kNavy = static_cast<TColor>(0x800000);
constexpr TColor kWhite = static_cast<TColor>(0xFFFFFF);

// The first series of a sample, or nullptr.
TChartSeries* FirstSeries(const TGalleryChart* Chart) {
    return Chart->SeriesCount() > 0 ? Chart->GetSeries(0) : nullptr;
}

void TellView3D(TGalleryChart* Chart, bool Is3D) {
    if (TChartSeries* s = FirstSeries(Chart)) s->GalleryChanged3D(Is3D);
}

} // namespace

// ---------------------------------------------------------------------------
// TGalleryChart

const ClassInfo& TGalleryChart::StaticClass() {
    static const ClassInfo ci = MakeClassInfo<TGalleryChart>("TGalleryChart", &TCustomChart::StaticClass());
    return ci;
}

TGalleryChart::TGalleryChart(TComponent* AOwner) : TCustomChart(AOwner) {
    GetLegend()->SetVisible(false);
    for (TChartAxis* axis : {GetLeftAxis(), GetBottomAxis()}) {
        axis->SetLabelStyle(talValue);
        axis->GetGrid()->SetSmallDots(true);
        axis->GetGrid()->SetSmallSpace(3);
        axis->GetLabelsFont()->SetSize(7);
        axis->GetLabelsFont()->SetColor(kGrey);
    }
    GetTitle()->GetFont()->SetColor(kNavy);
    SetAnimatedZoom(true);
    TView3DOptions* view = GetView3DOptions();
    view->SetOrthogonal(false);
    view->SetZoom(90);
    view->SetPerspective(55);
    const auto* panel = dynamic_cast<const TChartGalleryPanel*>(AOwner);
    if (panel && panel->GetFocusRotation()) {
        view->SetRotation(335);
        view->SetElevation(350);
    }
    Set3DPercent(100);
    SetClipPoints(false);
    GetFrame()->SetVisible(false);
    SetBevelWidth(2);
    SetBevelOuter(bvNone);
    for (TChartWall* wall : std::initializer_list<TChartWall*>{GetLeftWall(), GetBottomWall()}) {
        wall->SetColor(kWhite);
        wall->SetSize(4);
        wall->GetPen()->SetColor(kGrey);
        TZuzGradient* g = wall->GetGradient();
        g->SetVisible(true);
        g->SetStartColor(kGrey);
        g->SetEndColor(kSilver);
    }
}

TChartGalleryPanel* TGalleryChart::GalleryPanel() const {
    return dynamic_cast<TChartGalleryPanel*>(GetOwner());
}

void TGalleryChart::SetSmooth(bool Value) {
    if (FSmooth == Value) return;
    FSmooth = Value;
    Invalidate();
}

void TGalleryChart::SetGalleryMargins(bool Is3D) {
    const int m = Is3D ? 4 : 5;
    SetMarginLeft(m);
    SetMarginTop(m);
    SetMarginRight(m);
    SetMarginBottom(m);
}

bool TGalleryChart::Focused() const {
    return HasGradient() && const_cast<TGalleryChart*>(this)->GetGradient()->GetVisible();
}

void TGalleryChart::Focus() {
    TZuzGradient* g = GetGradient();
    g->SetVisible(true);
    g->SetDirection(gdFromTopLeft);
    g->SetStartColor(kSilver);
    g->SetEndColor(clZuzGallery);
    TChartGalleryPanel* panel = GalleryPanel();
    if (panel && panel->GetFocusRotation()) {
        GetView3DOptions()->SetRotation(345);
        TellView3D(this, panel->GetView3D());
    }
    TZuzFont* font = GetTitle()->GetFont();
    font->SetStyle(TFontStyles{fsBold});
    font->SetColor(clBlack);
    font->SetSize(10);
    TZuzShadow* shadow = font->GetShadow();
    shadow->SetVisible(true);
    shadow->SetSize(2);
    shadow->SetColor(kGrey);
    shadow->SetSmoothBlur(5);
    SetBevelOuter(bvRaised);
    if (CanFocus()) SetFocus();
}

void TGalleryChart::UnFocus() {
    if (!Focused()) return;
    GetGradient()->SetVisible(false);
    SetBevelOuter(bvNone);
    TZuzFont* font = GetTitle()->GetFont();
    font->SetStyle(TFontStyles{});
    font->SetColor(kNavy);
    font->SetSize(8);
    font->GetShadow()->SetVisible(false);
    TChartGalleryPanel* panel = GalleryPanel();
    if (panel && panel->GetFocusRotation()) {
        GetView3DOptions()->SetRotation(335);
        TellView3D(this, panel->GetView3D());
    }
}

TRect TGalleryChart::SubArrowRect() const {
    const int pen = GetBorder()->GetVisible() ? GetBorder()->GetWidth() : 0;
    const int x = 4 + pen;
    const int y = GetHeight() - (pen + const_cast<TGalleryChart*>(this)->GetShadow()->GetSize());
    return TRect(x, y - 12, x + 12, y);
}

void TGalleryChart::DrawSubArrow(TCanvas* Canvas, bool HalfSize) {
    int pen = GetBorder()->GetVisible() ? GetBorder()->GetWidth() : 0;
    int ybase = pen + GetShadow()->GetSize();
    if (HalfSize) {
        pen /= 2;
        ybase /= 2;
    }
    const int x = 4 + pen;
    const int y = GetHeight() - ybase;
    TPen* p = Canvas->GetPen();
    TBrush* b = Canvas->GetBrush();
    const TPenMode oldMode = p->GetMode();
    const TPenStyle oldStyle = p->GetStyle();
    p->SetStyle(psClear);
    p->SetMode(pmNotXor);
    b->SetStyle(bsSolid);
    b->SetColor(clBlack);
    const TPoint points[] = {TPoint(x, y - 8), TPoint(x + 7, y - 8), TPoint(x + 3, y - 4)};
    Canvas->Polygon(points, 3);
    p->SetMode(oldMode);
    p->SetStyle(oldStyle);
}

void TGalleryChart::DoOnAfterDraw() {
    TCustomChart::DoOnAfterDraw();
    if (FDrawingSmooth) return;
    TChartGalleryPanel* panel = GalleryPanel();
    if (Focused() && panel && panel->GetDisplaySub() && GetCanvas()->ReferenceCanvas)
        DrawSubArrow(GetCanvas()->ReferenceCanvas, false);
}

void TGalleryChart::Draw(TCanvas* UserCanvas, const TRect& UserRect) {
    TCustomChart::Draw(UserCanvas, UserRect);
    // The smooth pass draws over what the plain pass left on the same target, so the plain
    // pass's layout (the title's place above all) stays the one hit tests see.
    if (FSmooth && !FDrawingSmooth && UserRect.Width() >= 2 && UserRect.Height() >= 2)
        SmoothPass(UserCanvas, UserRect);
    // A repaint while the pointer is over the sample keeps its frame.
    if (FHover && !FDrawingSmooth && UserCanvas == GetControlCanvas()) DrawHoverFrame(true);
}

void TGalleryChart::SmoothPass(TCanvas* UserCanvas, const TRect& UserRect) {
    TChartTitle* title = GetTitle();
    const TRect titleBounds = title->GetShapeBounds();
    const bool titleVisible = title->GetVisible();
    const bool leftLabels = GetLeftAxis()->GetLabels();
    const bool bottomLabels = GetBottomAxis()->GetLabels();
    const int topMargin = GetMarginTop();
    const bool oldAutoRepaint = AutoRepaint;
    struct Restore {
        TGalleryChart* chart;
        bool titleVisible, leftLabels, bottomLabels, autoRepaint;
        int topMargin;
        ~Restore() {
            chart->AutoRepaint = false;
            chart->GetTitle()->SetVisible(titleVisible);
            chart->GetLeftAxis()->SetLabels(leftLabels);
            chart->GetBottomAxis()->SetLabels(bottomLabels);
            chart->SetMarginTop(topMargin);
            chart->AutoRepaint = autoRepaint;
            chart->FDrawingSmooth = false;
        }
    } restore{this, titleVisible, leftLabels, bottomLabels, oldAutoRepaint, topMargin};

    FDrawingSmooth = true;
    AutoRepaint = false;
    GetLeftAxis()->SetLabels(true);
    GetBottomAxis()->SetLabels(true);
    title->SetVisible(false);
    SetMarginTop(30);
    const int w = UserRect.Width();
    const int h = UserRect.Height();
    Owned<TBitmap> big = ZuzCreateBitmap(GetColor(), TRect(0, 0, 2 * w, 2 * h), pf24bit);
    auto small = MakeOwned<TBitmap>();
    small->SetPixelFormat(pf24bit);
    small->SetWidth(w);
    small->SetHeight(h);
    SmoothStretch(big.get(), small.get());
    UserCanvas->Draw(UserRect.Left, UserRect.Top, small.get());

    // The title once more at full size where the plain pass put it.
    if (titleVisible && titleBounds.Width() > 0) {
        UserCanvas->GetFont()->Assign(title->GetFont());
        UserCanvas->GetBrush()->SetStyle(bsClear);
        TStrings* lines = title->GetText();
        int y = titleBounds.Top;
        for (int i = 0; i < lines->GetCount(); ++i) {
            const String line = lines->GetStrings(i);
            const int tw = UserCanvas->TextWidth(line);
            UserCanvas->TextOut(titleBounds.Left + (titleBounds.Width() - tw) / 2, y, line);
            y += UserCanvas->TextHeight(line);
        }
    }
    TChartGalleryPanel* panel = GalleryPanel();
    if (Focused() && panel && panel->GetDisplaySub()) DrawSubArrow(UserCanvas, true);
}

void TGalleryChart::DrawHoverFrame(bool Inside) {
    TCanvas* canvas = GetControlCanvas();
    if (!canvas) return;
    const int right = GetWidth() - 1;
    const int bottom = GetHeight() - 1;
    TPen* pen = canvas->GetPen();
    pen->SetStyle(psSolid);
    pen->SetWidth(1);
    pen->SetMode(pmCopy);
    // White above and left, grey below and right; leaving draws it in the sample's colour.
    pen->SetColor(Inside ? kWhite : GetColor());
    canvas->MoveTo(0, bottom);
    canvas->LineTo(0, 0);
    canvas->LineTo(right, 0);
    pen->SetColor(Inside ? kGrey : GetColor());
    canvas->LineTo(right, bottom);
    canvas->LineTo(0, bottom);
    Invalidate();
}

void TGalleryChart::MouseEnter() {
    TCustomChart::MouseEnter();
    if (!IsSampleEnabled()) return;
    FHover = true;
    DrawHoverFrame(true);
}

void TGalleryChart::MouseLeave() {
    TCustomChart::MouseLeave();
    if (!IsSampleEnabled()) return;
    FHover = false;
    DrawHoverFrame(false);
}

// ---------------------------------------------------------------------------
// TChartList

int TChartList::IndexOf(const TGalleryChart* Chart) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Chart);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TChartList::Remove(const TGalleryChart* Chart) {
    std::erase(FItems, Chart);
}

void TChartList::Clear() {
    std::vector<TGalleryChart*> items;
    items.swap(FItems);
    for (TGalleryChart* chart : items) chart->Free();
}

// ---------------------------------------------------------------------------
// TChartGalleryPanel

const ClassInfo& TChartGalleryPanel::StaticClass() {
    using G = TChartGalleryPanel;
    using P = TCustomPanel;
    static const PropInfo props[] = {
        MakeProp<&P::GetBevelOuter, &P::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&G::GetDisplaySub, &G::SetDisplaySub>("DisplaySub").Default(true),
        MakeProp<&G::GetFocusRotation, &G::SetFocusRotation>("FocusRotation").Default(true),
        MakeProp<&G::GetNumRows, &G::SetNumRows>("NumRows").Default(3),
        MakeProp<&G::GetNumCols, &G::SetNumCols>("NumCols").Default(4),
        // Made with its parent's colour, so that is what goes unwritten.
        MakeProp<&TControl::GetParentColor, &TControl::SetParentColor>("ParentColor").Default(true),
        MakeProp<&G::GetSmooth, &G::SetSmooth>("Smooth").Default(false),
        MakeProp<&G::GetView3D, &G::SetView3D>("View3D").Default(true),
        MakeProp<&G::OnSelectedChart>("OnSelectedChart"),
        MakeProp<&G::OnChangeChart>("OnChangeChart"),
        MakeProp<&G::OnSubSelected>("OnSubSelected"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartGalleryPanel>("TChartGalleryPanel", &TCustomPanelNoCaption::StaticClass(), props);
    return ci;
}

TChartGalleryPanel::TChartGalleryPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
    FSmooth = DefaultSmooth();
    FOldSmooth = FSmooth;
    SetParentBackground(true);
    SetParentColor(true);
}

TChartGalleryPanel::~TChartGalleryPanel() = default;

void TChartGalleryPanel::BeforeDestruction() {
    // A setting the store cannot write is shown; the panel goes all the same.
    if (FSmooth != FOldSmooth) {
        try {
            SaveSmooth(FSmooth);
        } catch (...) {
            if (Application) Application->HandleException(this);
        }
    }
    FSelectedChart = nullptr;
    FCharts.Clear();
    TCustomPanelNoCaption::BeforeDestruction();
}

bool TChartGalleryPanel::DefaultSmooth() {
    return ZuzReadBoolOption(u"SmoothGallery", false);
}

int TChartGalleryPanel::DefaultMode() {
    return ZuzReadIntegerOption(u"GalleryMode", 0);
}

void TChartGalleryPanel::SaveSmooth(bool Value) {
    ZuzSaveBoolOption(u"SmoothGallery", Value);
}

void TChartGalleryPanel::SaveMode(int Value) {
    ZuzSaveIntegerOption(u"GalleryMode", Value);
}

void TChartGalleryPanel::Loaded() {
    TCustomPanelNoCaption::Loaded();
    ResizeCharts();
}

int TChartGalleryPanel::WMGetDlgCode(int Inherited) const {
    constexpr int kWantArrows = 1;
    return Inherited | kWantArrows;
}

void TChartGalleryPanel::CalcChartWidthHeight() {
    const int m = GetBevelWidth() + GetBorderWidth();
    FChartHeight = FNumRows < 1 ? 0 : (GetHeight() - m) / FNumRows;
    FChartWidth = FNumCols < 1 ? 0 : (GetWidth() - m) / FNumCols;
}

void TChartGalleryPanel::PlaceChart(TGalleryChart* Chart, int Index) {
    if (FNumCols < 1) return;
    const int m = GetBevelWidth() + GetBorderWidth();
    const int col = Index % FNumCols;
    const int row = Index / FNumCols;
    const int left = col * FChartWidth + m;
    const int top = row * FChartHeight + m;
    const int right = left + std::min(FChartWidth, GetWidth() - m) - 1;
    const int bottom = top + std::min(FChartHeight, GetHeight() - m) - 1;
    Chart->SetBounds(left, top, std::max(0, right - left), std::max(0, bottom - top));
}

void TChartGalleryPanel::ResizeCharts() {
    CalcChartWidthHeight();
    for (int i = 0; i < FCharts.Count(); ++i) PlaceChart(FCharts.GetChart(i), i);
}

void TChartGalleryPanel::Resize() {
    TCustomPanelNoCaption::Resize();
    ResizeCharts();
}

void TChartGalleryPanel::SetNumRows(int Value) {
    FNumRows = Value;
    ResizeCharts();
}

void TChartGalleryPanel::SetNumCols(int Value) {
    FNumCols = Value;
    ResizeCharts();
}

void TChartGalleryPanel::SetView3D(bool Value) {
    if (FView3D == Value) return;
    FView3D = Value;
    for (int i = 0; i < FCharts.Count(); ++i) {
        TGalleryChart* chart = FCharts.GetChart(i);
        TellView3D(chart, Value);
        chart->SetGalleryMargins(Value);
    }
}

void TChartGalleryPanel::SetSmooth(bool Value) {
    if (GetComponentState().Contains(csLoading)) return;
    if (FSmooth == Value) return;
    FSmooth = Value;
    for (int i = 0; i < FCharts.Count(); ++i) FCharts.GetChart(i)->SetSmooth(Value);
}

TGalleryChart* TChartGalleryPanel::CreateChart(const TZuzSeriesType& SeriesType) {
    const ClassInfo* seriesClass =
        SeriesType.SeriesClass ? SeriesType.SeriesClass : &TLineSeries::StaticClass();
    auto* chart = Create<TGalleryChart>(this);
    chart->SetTag(SeriesType.SubIndex);
    chart->SetColor(GetColor());
    const bool oldRepaint = chart->AutoRepaint;
    chart->AutoRepaint = false;
    FCharts.Add(chart);

    // One title line per field of the description.
    TStrings* text = chart->GetTitle()->GetText();
    text->Clear();
    String rest = SeriesType.GetDescription();
    for (;;) {
        const auto at = rest.find(ZuzLineSeparator);
        text->Add(rest.substr(0, at));
        if (at == String::npos) break;
        rest.erase(0, at + 1);
    }

    chart->SetParent(this);
    chart->SetName(ZuzGetUniqueName(this, u"ZuzGalleryChart"));
    PlaceChart(chart, FCharts.Count() - 1);

    const int count = std::max(1, SeriesType.NumGallerySeries);
    for (int i = 0; i < count; ++i) {
        TChartSeries* s = CreateNewSeries(nullptr, chart, seriesClass, SeriesType.FunctionClass);
        if (s && SeriesType.SubIndex != 0) s->SetSubGallery(s, SeriesType.SubIndex);
    }

    TChartSeries* first = FirstSeries(chart);
    const bool enabled = !(FCheckValid && FCurrentSeries && first && !first->IsValidSourceOf(FCurrentSeries));
    if (!enabled) {
        chart->SetCursor(crNoDrop);
        chart->SavedCursor = crNoDrop;
        chart->GetTitle()->GetFont()->SetColor(kGrey);
        chart->GetLeftWall()->GetPen()->SetColor(kGrey);
        chart->GetBottomWall()->GetPen()->SetColor(kGrey);
        for (TChartAxis* axis : {chart->GetLeftAxis(), chart->GetBottomAxis()}) {
            axis->GetAxisPen()->SetWidth(1);
            axis->GetAxisPen()->SetColor(kWhite);
        }
    } else {
        chart->SetCursor(crHandPoint);
        chart->SavedCursor = crHandPoint;
        chart->OnClick.Bind(this, &TChartGalleryPanel::ChartClick, "ChartClick");
        chart->OnEnter.Bind(this, &TChartGalleryPanel::ChartEnter, "ChartEnter");
        chart->OnDblClick.Bind(this, &TChartGalleryPanel::ChartDblClick, "ChartDblClick");
    }
    TellView3D(chart, FView3D);

    if (SeriesType.FunctionClass) {
        auto* function = dynamic_cast<TZuzFunction*>(SeriesType.FunctionClass->CreateComponent(nullptr));
        if (function) {
            function->PrepareForGallery(chart);
            function->Free();
        }
    } else {
        for (int i = 0; i < chart->SeriesCount(); ++i) chart->GetSeries(i)->PrepareForGallery(enabled);
    }

    chart->SetGalleryMargins(FView3D);
    chart->SetSmooth(FSmooth);
    if (!FSubGallery) chart->OnKeyDown.Bind(this, &TChartGalleryPanel::ChartKeyDown, "ChartKeyDown");
    chart->AutoRepaint = oldRepaint;
    chart->Invalidate();
    return chart;
}

void TChartGalleryPanel::AddChart(TGalleryChart* Chart) {
    FCharts.Add(Chart);
    Chart->SetParent(this);
    Chart->SetCursor(crHandPoint);
    Chart->SavedCursor = crHandPoint;
    Chart->OnClick.Bind(this, &TChartGalleryPanel::ChartClick, "ChartClick");
    Chart->OnDblClick.Bind(this, &TChartGalleryPanel::ChartDblClick, "ChartDblClick");
    CalcChartWidthHeight();
    PlaceChart(Chart, FCharts.Count() - 1);
}

void TChartGalleryPanel::CreateGalleryPage(const String& Page) {
    std::vector<TZuzSeriesType*> valid;
    TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        TZuzSeriesType* t = types.Get(i);
        if (t->GetGalleryPage() == Page && (t->FunctionClass != nullptr) == FFunctionsMode)
            valid.push_back(t);
    }
    const int n = static_cast<int>(valid.size());
    if (n > (FNumRows - 1) * FNumCols)
        FNumRows = FNumCols > 0 ? (n - 1) / FNumCols + 1 : FNumRows;
    else
        FNumRows = 3;
    CalcChartWidthHeight();
    FSelectedChart = nullptr;
    FCharts.Clear();
    for (TZuzSeriesType* t : valid) CreateChart(*t);
    FindSelectedChart();
    ShowSelectedChart();
}

void TChartGalleryPanel::CreateChartList(std::span<const ClassInfo* const> Classes) {
    FSelectedChart = nullptr;
    FCharts.Clear();
    for (const ClassInfo* c : Classes)
        if (TZuzSeriesType* t = ZuzSeriesTypes().Find(c)) CreateChart(*t);
    FindSelectedChart();
    ShowSelectedChart();
}

void TChartGalleryPanel::FindSelectedChart() {
    FSelectedChart = nullptr;
    if (!FCurrentSeries) return;
    for (int i = 0; i < FCharts.Count(); ++i) {
        TGalleryChart* chart = FCharts.GetChart(i);
        TChartSeries* first = FirstSeries(chart);
        if (first && &first->ClassType() == &FCurrentSeries->ClassType() && !first->GetFunction()) {
            FSelectedChart = chart;
            return;
        }
    }
}

void TChartGalleryPanel::ShowSelectedChart() {
    if (!FSelectedChart)
        for (int i = 0; i < FCharts.Count(); ++i)
            if (FCharts.GetChart(i)->IsSampleEnabled()) {
                FSelectedChart = FCharts.GetChart(i);
                break;
            }
    if (FSelectedChart) {
        FSelectedChart->Focus();
        if (OnChangeChart) OnChangeChart(this);
    }
    for (int i = 0; i < FCharts.Count(); ++i)
        if (FCharts.GetChart(i) != FSelectedChart) FCharts.GetChart(i)->UnFocus();
}

bool TChartGalleryPanel::MouseOnSubArrow() const {
    if (!FSelectedChart) return false;
    const TPoint p = FSelectedChart->ScreenToClient(Mouse->GetCursorPos());
    return PtInRect(FSelectedChart->SubArrowRect(), p);
}

void TChartGalleryPanel::SelectChart(TGalleryChart* Chart) {
    if (Chart != FSelectedChart) {
        FSelectedChart = Chart;
        ShowSelectedChart();
    }
    if (FDisplaySub && MouseOnSubArrow()) ShowSubGallery();
}

void TChartGalleryPanel::UnselectChart() {
    FSelectedChart = nullptr;
    for (int i = 0; i < FCharts.Count(); ++i) FCharts.GetChart(i)->UnFocus();
}

bool TChartGalleryPanel::GetSeriesClass(const ClassInfo*& SeriesClass, const ClassInfo*& FunctionClass,
                                        int& SubIndex) const {
    if (!FSelectedChart) return false;
    TChartSeries* first = FirstSeries(FSelectedChart);
    if (!first) return false;
    SeriesClass = &first->ClassType();
    FunctionClass = first->GetFunction() ? &first->GetFunction()->ClassType() : nullptr;
    SubIndex = static_cast<int>(FSelectedChart->GetTag());
    return true;
}

void TChartGalleryPanel::ChartClick(TObject* Sender) {
    SelectChart(dynamic_cast<TGalleryChart*>(Sender));
}

void TChartGalleryPanel::ChartEnter(TObject* Sender) {
    SelectChart(dynamic_cast<TGalleryChart*>(Sender));
}

void TChartGalleryPanel::ChartDblClick(TObject* Sender) {
    SelectChart(dynamic_cast<TGalleryChart*>(Sender));
    if (OnSelectedChart) OnSelectedChart(this);
}

void TChartGalleryPanel::ChartKeyDown(TObject*, Word& Key, TShiftState Shift) {
    KeyDown(Key, Shift);
}

TGalleryChart* TChartGalleryPanel::ChartAt(int Col, int Row) const {
    if (Col < 0 || Row < 0 || Col >= FNumCols) return nullptr;
    const int index = Row * FNumCols + Col;
    return index < FCharts.Count() ? FCharts.GetChart(index) : nullptr;
}

void TChartGalleryPanel::KeyDown(Word& Key, TShiftState Shift) {
    TCustomPanelNoCaption::KeyDown(Key, Shift);
    if (!FSelectedChart || FNumCols < 1) return;
    const int index = FCharts.IndexOf(FSelectedChart);
    if (index < 0) return;
    int c = index % FNumCols;
    int r = index / FNumCols;
    switch (Key) {
    case VK_RIGHT:
        if (c < FNumCols) ++c;
        break;
    case VK_LEFT:
        if (c >= 1) --c;
        break;
    case VK_UP:
        if (r > 0) --r;
        break;
    case VK_DOWN:
        if (Shift.Contains(ssAlt) && FDisplaySub) {
            ShowSubGallery();
            return;
        }
        if (r < FNumRows) ++r;
        break;
    case VK_RETURN:
        ChartDblClick(FSelectedChart);
        return;
    default:
        return;
    }
    TGalleryChart* next = ChartAt(c, r);
    if (next && next->IsSampleEnabled()) SelectChart(next);
}

void TChartGalleryPanel::UseTheme(const TChartThemeClass& ThemeClass) {
    if (!ThemeClass) return;
    for (int i = 0; i < FCharts.Count(); ++i) {
        TGalleryChart* chart = FCharts.GetChart(i);
        Owned<TChartTheme> theme = ThemeClass(chart);
        if (!theme) continue;
        theme->Chart = chart;
        theme->Apply();
        for (int s = 0; s < chart->SeriesCount(); ++s) chart->GetSeries(s)->PrepareForGallery(true);
    }
}

// ---------------------------------------------------------------------------
// The sub-gallery

void TChartGalleryPanel::AddSubSample(const ClassInfo& SeriesClass, const String& Title) {
    // A type made for this sample alone: the class, one series, no function, the title.
    TZuzSeriesType temp;
    temp.SeriesClass = &SeriesClass;
    temp.Description = &Title;
    temp.NumGallerySeries = 1;
    const int n = ChartCount();
    TGalleryChart* chart = CreateChart(temp);
    temp.Description = nullptr;
    for (int i = 0; i < chart->SeriesCount(); ++i) chart->GetSeries(i)->SetSubGallery(chart->GetSeries(i), n);
    chart->SetTag(n);
}

void TChartGalleryPanel::CreateSubSamples(TChartSeries* Series) {
    const ClassInfo& cls = Series->ClassType();
    Series->CreateSubGallery([this, &cls](const String& Title) { AddSubSample(cls, Title); });
}

void TChartGalleryPanel::SubPaint(TObject* Sender) {
    auto* box = dynamic_cast<TPaintBox*>(Sender);
    if (!box) return;
    TCanvas* canvas = box->GetCanvas();
    canvas->GetBrush()->SetStyle(bsSolid);
    canvas->GetBrush()->SetColor(clBlack);
    canvas->GetPen()->SetColor(clBlack);
    const TPoint points[] = {TPoint(0, 8), TPoint(4, 0), TPoint(9, 8)};
    canvas->Polygon(points, 3);
}

void TChartGalleryPanel::SubPaintClick(TObject*) {
    if (FSubForm) FSubForm->SetModalResult(mrOk);
}

void TChartGalleryPanel::SubFormKeyDown(TObject*, Word& Key, TShiftState Shift) {
    if (!FSubForm || !FSubPanel) return;
    if (Key == VK_ESCAPE) {
        FSubForm->SetModalResult(mrCancel);
        Key = 0;
        return;
    }
    FSubPanel->KeyDown(Key, Shift);
    Key = 0;
}

void TChartGalleryPanel::SubSelected(TObject*) {
    if (!FSelectedChart || !FSubPanel || !FSubPanel->SelectedChart()) return;
    const int index = static_cast<int>(FSubPanel->SelectedChart()->GetTag());
    FSelectedChart->SetTag(index);
    if (index != 0) {
        for (int i = 0; i < FSelectedChart->SeriesCount(); ++i) {
            TChartSeries* s = FSelectedChart->GetSeries(i);
            s->SetSubGallery(s, index);
        }
    } else if (TChartSeries* first = FirstSeries(FSelectedChart)) {
        const ClassInfo* cls = &first->ClassType();
        const int count = FSelectedChart->SeriesCount();
        FSelectedChart->FreeAllSeries();
        for (int i = 0; i < count; ++i) CreateNewSeries(nullptr, FSelectedChart, cls);
        TellView3D(FSelectedChart, FView3D);
        for (int i = 0; i < FSelectedChart->SeriesCount(); ++i)
            FSelectedChart->GetSeries(i)->PrepareForGallery(true);
    }
    if (FSubForm) FSubForm->SetModalResult(mrOk);
    if (OnSubSelected) OnSubSelected(this);
}

void TChartGalleryPanel::ShowSubGallery() {
    if (FSubForm) {
        FSubForm->Free();
        FSubForm = nullptr;
        FSubPanel = nullptr;
    }
    if (!FSelectedChart) return;
    TChartSeries* first = FirstSeries(FSelectedChart);
    if (!first) return;
    FSelectedChart->UnFocus();

    // The pop-up lives only while it shows, and goes also when something in it raises.
    struct PopUp {
        TChartGalleryPanel* panel;
        ~PopUp() {
            if (panel->FSubForm) panel->FSubForm->Free();
            panel->FSubForm = nullptr;
            panel->FSubPanel = nullptr;
        }
    } popUp{this};

    auto* form = Create<TForm>(this, TCustomForm::NewTag{});
    FSubForm = form;
    form->SetBorderStyle(bsNone);
    form->SetKeyPreview(true);
    form->SetPosition(poDesigned);
    const TPoint corner = FSelectedChart->ClientToScreen(TPoint(0, FSelectedChart->GetHeight()));
    form->SetBounds(corner.X, corner.Y, GetWidth(), GetHeight());
    form->OnKeyDown.Bind(this, &TChartGalleryPanel::SubFormKeyDown, "SubFormKeyDown");

    auto* top = Create<TPanel>(form);
    top->SetParent(form);
    top->SetAlign(alTop);
    top->SetHeight(12);
    top->OnClick.Bind(this, &TChartGalleryPanel::SubPaintClick, "SubPaintClick");
    auto* box = Create<TPaintBox>(form);
    box->SetParent(top);
    box->SetBounds(4, 2, 8, 8);
    box->OnPaint.Bind(this, &TChartGalleryPanel::SubPaint, "SubPaint");
    box->OnClick.Bind(this, &TChartGalleryPanel::SubPaintClick, "SubPaintClick");

    auto* sub = Create<TChartGalleryPanel>(form);
    FSubPanel = sub;
    sub->FSubGallery = true;
    sub->SetView3D(FView3D);
    sub->FSmooth = FSmooth;
    sub->FOldSmooth = FSmooth;
    sub->SetDisplaySub(false);
    sub->SetParent(form);
    // The samples keep the size they are made at: the form shrinks to the rows they need.
    sub->SetBounds(0, 12, form->GetClientWidth(), form->GetClientHeight());
    sub->OnSelectedChart.Bind(this, &TChartGalleryPanel::SubSelected, "SubSelected");
    sub->CalcChartWidthHeight();

    sub->CreateSubSamples(first);
    const int rows = sub->FNumCols > 0 ? (sub->ChartCount() + sub->FNumCols - 1) / sub->FNumCols : 0;
    sub->FNumRows = std::max(1, rows);
    form->SetHeight(sub->FChartHeight * sub->FNumRows + 8);
    sub->ShowSelectedChart();

    // Kept 2 pixels inside the work area.
    const TRect work = Screen->GetWorkAreaRect();
    int left = form->GetLeft();
    int topY = form->GetTop();
    if (left + form->GetWidth() > work.Right) left = work.Right - form->GetWidth() - 2;
    if (topY + form->GetHeight() > work.Bottom) topY = work.Bottom - form->GetHeight() - 2;
    form->SetBounds(left, topY, form->GetWidth(), form->GetHeight());
    form->ShowModal();
    FSubPanel = nullptr;
    FSubForm->Free();
    FSubForm = nullptr;
    ShowSelectedChart();
}

void ZuzGalleryPanelInitialization() {
    RegisterClass(TChartGalleryPanel::StaticClass());
    RegisterClass(TGalleryChart::StaticClass());
}
