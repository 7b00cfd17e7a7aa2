// The legend's settings, texts, symbol, title, hit test and check boxes. Its layout and
// drawing are in chartlegend_draw.cpp.
#include "chart/engine/chartlegend.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzhtml.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chart.h"
#include "chart/engine/serieslist.h"
#include "platform/core/lists.h"

#include <algorithm>
#include <cstdlib>

template <>
const EnumInfo& EnumInfoOf<TLegendAlignment>() {
    static const EnumInfo info{"TLegendAlignment", {"laLeft", "laRight", "laTop", "laBottom"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TCheckBoxesStyle>() {
    static const EnumInfo info{"TCheckBoxesStyle", {"cbsCheck", "cbsRadio"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TLegendStyle>() {
    static const EnumInfo info{"TLegendStyle",
                               {"lsAuto", "lsSeries", "lsValues", "lsLastValues", "lsSeriesGroups"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TLegendSymbolPosition>() {
    static const EnumInfo info{"TLegendSymbolPosition", {"spLeft", "spRight"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TLegendSymbolSize>() {
    static const EnumInfo info{"TLegendSymbolSize", {"lcsPercent", "lcsPixels"}};
    return info;
}

// ---------------------------------------------------------------------------
// A shape placed by hand

const ClassInfo& TZuzCustomShapePosition::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TZuzCustomShapePosition>("TZuzCustomShapePosition", &TZuzCustomShape::StaticClass());
    return ci;
}

void TZuzCustomShapePosition::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TZuzCustomShapePosition*>(Source)) {
        FCustomPosition = src->FCustomPosition;
        if (FCustomPosition) ShapeBounds = src->ShapeBounds;
    }
    TZuzCustomShape::Assign(Source);
}

void TZuzCustomShapePosition::SetCustomPosition(bool Value) {
    if (FCustomPosition == Value) return;
    FCustomPosition = Value;
    Repaint();
}

// A place in pixels, dragged or typed, is held to the largest picture: the shape's size is added
// to it.
void TZuzCustomShapePosition::SetLeft(int Value) {
    Value = std::clamp(Value, -kLargestPictureSide, kLargestPictureSide);
    const int w = ShapeBounds.Right - ShapeBounds.Left;
    ShapeBounds.Left = Value;
    ShapeBounds.Right = Value + w;
    FCustomPosition = true;
    Repaint();
}

void TZuzCustomShapePosition::SetTop(int Value) {
    Value = std::clamp(Value, -kLargestPictureSide, kLargestPictureSide);
    const int h = ShapeBounds.Bottom - ShapeBounds.Top;
    ShapeBounds.Top = Value;
    ShapeBounds.Bottom = Value + h;
    FCustomPosition = true;
    Repaint();
}

// ---------------------------------------------------------------------------
// Gradient and symbol

const ClassInfo& TChartLegendGradient::StaticClass() {
    // Its own colours and direction are what a new one holds, so those go unwritten.
    using G = TCustomZuzGradient;
    static const PropInfo props[] = {
        MakeProp<&G::GetDirection, &G::SetDirection>("Direction").Default(gdRightLeft),
        MakeProp<&G::GetEndColor, &G::SetEndColor>("EndColor").Default(clWhite),
        MakeProp<&G::GetStartColor, &G::SetStartColor>("StartColor").Default(clSilver),
    };
    static const ClassInfo ci =
        MakeClassInfo<TChartLegendGradient>("TChartLegendGradient", &TZuzGradient::StaticClass(), props);
    return ci;
}

TChartLegendGradient::TChartLegendGradient(TNotifyEvent ChangedEvent)
    : TZuzGradient(std::move(ChangedEvent)) {
    const TNotifyEvent quiet = OnChange;
    OnChange = {};
    SetDirection(gdRightLeft);
    SetStartColor(clSilver);
    SetEndColor(clWhite);
    OnChange = quiet;
}

const ClassInfo& TLegendSymbol::StaticClass() {
    using C = TLegendSymbol;
    static const PropInfo props[] = {
        MakeProp<&C::GetContinuous, &C::SetContinuous>("Continuous").Default(false),
        MakeProp<&C::GetDefaultPen, &C::SetDefaultPen>("DefaultPen").Default(true),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient"),
        MakeProp<&C::GetPen, &C::SetPen>("Pen"),
        MakeProp<&C::GetPosition, &C::SetPosition>("Position").Default(spLeft),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
        MakeProp<&C::GetSquared, &C::SetSquared>("Squared").Default(false),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(true),
        MakeProp<&C::GetWidth, &C::SetWidth>("Width").Default(20),
        MakeProp<&C::GetWidthUnits, &C::SetWidthUnits>("WidthUnits").Default(lcsPercent),
        MakeProp<&C::OnDraw>("OnDraw"),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TLegendSymbol", &TPersistent::StaticClass(), props);
    return ci;
}

TLegendSymbol::TLegendSymbol(TCustomChartLegend* Legend) : FLegend(Legend) {
    const TNotifyEvent changed([this](TObject*) { Changed(); });
    FGradient = MakeOwned<TZuzGradient>(changed);
    FPen = MakeOwned<TChartPen>(changed);
    FShadow = MakeOwned<TZuzShadow>(changed);
    FShadow->InitValues(clBlack, 3);
    FShadow->SetVisible(false);
    FShadow->DefaultVisible = false;
}

TLegendSymbol::~TLegendSymbol() = default;

void TLegendSymbol::Changed() {
    if (FLegend) FLegend->Repaint();
}

void TLegendSymbol::Assign(TPersistent* Source) {
    auto* src = dynamic_cast<TLegendSymbol*>(Source);
    if (!src) {
        TPersistent::Assign(Source);
        return;
    }
    FContinuous = src->FContinuous;
    FDefaultPen = src->FDefaultPen;
    FGradient->Assign(src->FGradient.get());
    FPen->Assign(src->FPen.get());
    FPosition = src->FPosition;
    FShadow->Assign(src->FShadow.get());
    FSquared = src->FSquared;
    FVisible = src->FVisible;
    FWidth = src->FWidth;
    FWidthUnits = src->FWidthUnits;
}

// A file's number is held to the widths the editor offers: it is multiplied with the legend's.
void TLegendSymbol::SetWidth(int Value) {
    Store(FWidth, std::clamp(Value, 0, 100));
}

int TLegendSymbol::CalcWidth(int Value) const {
    if (!FVisible) return 0;
    if (FSquared) return FLegend->ItemHeight - 5;
    if (FWidthUnits == lcsPixels) return FWidth;
    // A share of a short text ("3", "5 %") would leave a sliver whose colour cannot be told: a
    // symbol asked for is at least as wide as a square one.
    const int share = ZuzRound(FWidth * Value * 0.01);
    return FWidth > 0 ? std::max(share, FLegend->ItemHeight - 5) : share;
}

void TLegendSymbol::Draw(TColor Color, const TRect& Rect) {
    TCanvas3D* c = FLegend->GetParentChart()->GetCanvas();
    if (FShadow->GetVisible() && FShadow->GetSize() != 0) FShadow->Draw(c, Rect);
    if (!FDefaultPen) c->AssignVisiblePen(FPen.get());
    if (FGradient->GetVisible()) {
        // A copy ends in the item's colour: the stored gradient stays as set.
        TZuzGradient shown;
        shown.Assign(FGradient.get());
        shown.SetEndColor(Color);
        shown.Draw(c, Rect);
        c->Brush->SetStyle(bsClear);
    } else {
        c->Brush->SetColor(Color);
    }
    TRect r = Rect;
    // A clear pen leaves the filled part one pixel short on the right and bottom.
    if (c->Pen->GetStyle() == psClear && c->Brush->GetStyle() != bsClear) {
        ++r.Right;
        ++r.Bottom;
    }
    c->Rectangle(r);
}

// ---------------------------------------------------------------------------
// Title

const ClassInfo& TLegendTitle::StaticClass() {
    using C = TLegendTitle;
    static const PropInfo props[] = {
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
        MakeProp<&C::GetText, &C::SetText>("Text"),
        MakeProp<&C::GetTextAlignment, &C::SetTextAlignment>("TextAlignment").Default(taLeftJustify),
        MakeProp<&C::GetTextFormat, &C::SetTextFormat>("TextFormat").Default(ttfNormal),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TLegendTitle", &TZuzShape::StaticClass(), props);
    return ci;
}

TLegendTitle::TLegendTitle(TCustomZuzPanel* Panel) : TZuzShape(Panel), FText(MakeOwned<TStringList>()) {
    FText->OnChange = TNotifyEvent([this](TObject*) { Repaint(); });
    TLegendTitle::InitShadow(GetShadow());
    SetTransparent(true);
    DefaultTransparent = true;
    // Bold is where the title starts, so it is not written.
    GetFont()->SetStyle(TFontStyles{fsBold});
    GetFont()->DefaultStyle = TFontStyles{fsBold};
}

TLegendTitle::~TLegendTitle() = default;

void TLegendTitle::InitShadow(TZuzShadow* Shadow) {
    Shadow->InitValues(clSilver, 2);
}

void TLegendTitle::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TLegendTitle*>(Source)) {
        FText->Assign(src->FText.get());
        FTextAlignment = src->FTextAlignment;
    }
    TZuzShape::Assign(Source);
}

TStrings* TLegendTitle::GetText() const {
    return FText.get();
}

void TLegendTitle::SetText(TStrings* Value) {
    FText->Assign(Value);
}

void TLegendTitle::SetTextAlignment(TAlignment Value) {
    if (FTextAlignment == Value) return;
    FTextAlignment = Value;
    Repaint();
}

bool TLegendTitle::HasText() const {
    for (int i = 0; i < FText->GetCount(); ++i)
        if (!FText->GetStrings(i).empty()) return true;
    return false;
}

int TLegendTitle::CalcHeight() {
    TCanvas3D* c = GetParentChart()->GetCanvas();
    c->AssignFont(GetFont());
    int h = c->TextHeight(u"W") * FText->GetCount();
    if (!GetTransparent()) h += 2;
    if (GetPen()->GetVisible()) h += 2 * GetPen()->GetWidth();
    return h;
}

int TLegendTitle::TotalWidth() {
    TCanvas3D* c = GetParentChart()->GetCanvas();
    c->AssignFont(GetFont());
    int widest = 0;
    for (int i = 0; i < FText->GetCount(); ++i) widest = std::max(widest, c->TextWidth(FText->GetStrings(i)));
    int w = widest + c->TextWidth(u"W");
    if (GetPen()->GetVisible()) w += 2 * GetPen()->GetWidth();
    if (!GetTransparent()) w += GetShadow()->GetHorizSize();
    return w;
}

TRect TLegendTitle::CalcShapeBounds(const TRect& Rect) {
    TRect r = Rect;
    InflateRect(r, -2, 0);
    r.Top += 2;
    r.Bottom = r.Top + CalcHeight();
    if (!GetTransparent()) OffsetRect(r, GetShadow()->GetHorizSize(), GetShadow()->GetVertSize());
    return r;
}

void TLegendTitle::DrawText() {
    TCanvas3D* c = GetParentChart()->GetCanvas();
    c->AssignFont(GetFont());
    c->SetBackMode(cbmTransparent);
    const int h = c->TextHeight(u"W"), w = c->TextWidth(u"W");
    const TRect& s = ShapeBounds;
    if (GetTextFormat() == ttfHtml) {
        // An HTML title keeps its own layout; its box starts where the alignment puts it.
        TSize extent{};
        const String all = FText->GetText();
        HtmlTextExtent(c, all, extent);
        int x = s.Left + w / 2;
        if (FTextAlignment == taRightJustify)
            x = s.Right - extent.cx - w / 2;
        else if (FTextAlignment == taCenter)
            x = (s.Left + s.Right) / 2 - extent.cx / 2;
        c->TextOut(x, s.Top + 1, all, true);
        return;
    }
    for (int i = 0; i < FText->GetCount(); ++i) {
        const String& line = FText->GetStrings(i);
        const int lw = c->TextWidth(line);
        int x = s.Left + w / 2;
        if (FTextAlignment == taRightJustify)
            x = s.Right - lw - w / 2;
        else if (FTextAlignment == taCenter)
            x = (s.Left + s.Right) / 2 - lw / 2;
        c->TextOut(x, s.Top + 1 + i * h, line);
    }
}

// ---------------------------------------------------------------------------
// Items

void TLegendItem::SetText(const String& Value) {
    if (FText == Value) return;
    FText = Value;
    FOwner->Customised();
}

void TLegendItem::SetText2(const String& Value) {
    if (FText2 == Value) return;
    FText2 = Value;
    FOwner->Customised();
}

TLegendItem* TLegendItems::Get(int Index) {
    if (Index < 0) return nullptr;
    while (Count() <= Index) FItems.push_back(std::make_unique<TLegendItem>(this));
    return FItems[static_cast<std::size_t>(Index)].get();
}

void TLegendItems::Clear() {
    ClearItems();
    Custom = false;
    FLegend->Repaint();
}

void TLegendItems::Customised() {
    Custom = true;
    FLegend->Repaint();
}

// ---------------------------------------------------------------------------
// The legend

const ClassInfo& TCustomChartLegend::StaticClass() {
    static const ClassInfo ci =
        MakeClassInfo<TCustomChartLegend>("TCustomChartLegend", &TZuzCustomShapePosition::StaticClass());
    return ci;
}

TCustomChartLegend::TCustomChartLegend(TCustomZuzPanel* Chart)
    : TZuzCustomShapePosition(Chart), FSymbol(MakeOwned<TLegendSymbol>(this)),
      FTitle(MakeOwned<TLegendTitle>(Chart)), FItems(this) {
    FDividingLines = MakeOwned<TChartHiddenPen>(TNotifyEvent([this](TObject*) { Repaint(); }));
}

TCustomChartLegend::~TCustomChartLegend() = default;

Owned<TZuzGradient> TCustomChartLegend::NewGradient() {
    return MakeOwned<TChartLegendGradient>(TNotifyEvent([this](TObject*) { Repaint(); }));
}

void TCustomChartLegend::SetParent(TCustomZuzPanel* Value) {
    TZuzCustomShapePosition::SetParent(Value);
    if (FTitle) FTitle->SetParent(Value);
}

TCustomChart* TCustomChartLegend::Chart() const {
    return static_cast<TCustomChart*>(GetParentChart());
}

void TCustomChartLegend::Assign(TPersistent* Source) {
    if (auto* src = dynamic_cast<TCustomChartLegend*>(Source)) {
        FAlignment = src->FAlignment;
        FCheckBoxes = src->FCheckBoxes;
        FCheckBoxesStyle = src->FCheckBoxesStyle;
        FCurrentPage = src->FCurrentPage;
        FDividingLines->Assign(src->FDividingLines.get());
        FFirstValue = src->FFirstValue;
        FFontSeriesColor = src->FFontSeriesColor;
        FHorizMargin = src->FHorizMargin;
        FInverted = src->FInverted;
        FLeftPercent = src->FLeftPercent;
        FLegendStyle = src->FLegendStyle;
        FMaxNumRows = src->FMaxNumRows;
        FPositionUnits = src->FPositionUnits;
        FResizeChart = src->FResizeChart;
        FSymbol->Assign(src->FSymbol.get());
        FTextStyle = src->FTextStyle;
        FTitle->Assign(src->FTitle.get());
        FTopPos = src->FTopPos;
        FTopPercent = src->FTopPercent;
        FVertMargin = src->FVertMargin;
        FVertSpacing = src->FVertSpacing;
    }
    TZuzCustomShapePosition::Assign(Source);
}

void TCustomChartLegend::SetDividingLines(TChartHiddenPen* Value) {
    FDividingLines->Assign(Value);
}

void TCustomChartLegend::SetFirstValue(int Value) {
    if (Value < 0) throw LegendException(VavIve_LegendFirstValue);
    Store(FFirstValue, Value);
}

// Margins, spacing and the top place are summed with the chart's sizes: a file's number is held
// to the range the editor offers.
void TCustomChartLegend::SetHorizMargin(int Value) {
    Store(FHorizMargin, std::clamp(Value, -1000, 1000));
}
void TCustomChartLegend::SetTopPos(int Value) {
    Store(FTopPos, std::clamp(Value, -100, 100));
}
void TCustomChartLegend::SetVertMargin(int Value) {
    Store(FVertMargin, std::clamp(Value, -1000, 1000));
}
void TCustomChartLegend::SetVertSpacing(int Value) {
    Store(FVertSpacing, std::clamp(Value, -10, 100));
}
// A place in percent of the chart's sides, to the range the editor offers.
void TCustomChartLegend::SetLeftPercent(int Value) {
    Store(FLeftPercent, std::clamp(Value, -100, 9000));
}
void TCustomChartLegend::SetTopPercent(int Value) {
    Store(FTopPercent, std::clamp(Value, -100, 9000));
}

void TCustomChartLegend::SetLegendStyle(TLegendStyle Value) {
    if (FLegendStyle == Value) return;
    FLegendStyle = Value;
    CalcLegendStyle();
    Repaint();
}

int TCustomChartLegend::ShownSeriesCount() const {
    const TCustomChart* ch = Chart();
    int n = 0;
    for (int t = 0; t < ch->SeriesCount(); ++t)
        if (const TChartSeries* s = ch->GetSeries(t);
            s->GetShowInLegend() && (s->GetActive() || HasCheckBoxes()))
            ++n;
    return n;
}

TChartSeries* TCustomChartLegend::LegendSeriesAt(int Index) const {
    return Chart()->SeriesLegend(Index, !HasCheckBoxes());
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle Value) {
    if (FCheckBoxesStyle == Value) return;
    FCheckBoxesStyle = Value;
    if (Value == cbsRadio) {
        bool kept = false;
        TCustomChart* ch = Chart();
        for (int t = 0; t < ch->SeriesCount(); ++t) {
            TChartSeries* s = ch->GetSeries(t);
            if (!s->GetShowInLegend() || !s->GetActive()) continue;
            if (kept) s->SetActive(false);
            kept = true;
        }
    }
    Repaint();
}

bool TCustomChartLegend::ShouldDraw() const {
    return GetVisible() && (HasCheckBoxes() || Chart()->CountActiveSeries() > 0);
}

void TCustomChartLegend::CalcLegendStyle() {
    if (FLegendStyle != lsAuto)
        FInternalStyle = FLegendStyle;
    else if (Series)
        FInternalStyle = lsValues; // bound to one series, it lists that series' values
    else
        FInternalStyle = !FCheckBoxes && Chart()->CountActiveSeries() < 2 ? lsValues : lsSeries;
}

bool TCustomChartLegend::HasCheckBoxes() const {
    return FCheckBoxes && FInternalStyle != lsValues;
}

TChartSeries* TCustomChartLegend::GetLegendSeries() const {
    if (Series) return Series;
    const TCustomChart* ch = Chart();
    TChartSeries* firstActive = nullptr;
    for (int t = 0; t < ch->SeriesCount(); ++t) {
        TChartSeries* s = ch->GetSeries(t);
        if (!s->GetActive()) continue;
        if (s->GetShowInLegend()) return s;
        if (!firstActive) firstActive = s;
    }
    return firstActive;
}

String TCustomChartLegend::FormattedValue(TChartSeries* ASeries, int ValueIndex) {
    if (ValueIndex == -1 || !ASeries) return {};
    String s = ASeries->LegendString(ValueIndex, FTextStyle);
    std::replace(s.begin(), s.end(), ZuzLineSeparator, Char(u' '));
    return s;
}

String TCustomChartLegend::FormattedLegend(int Index) {
    TCustomChart* ch = Chart();
    switch (FInternalStyle) {
    case lsSeries:
        return ch->SeriesTitleLegend(Index, !HasCheckBoxes());
    case lsValues:
        return FormattedValue(GetLegendSeries(), Index);
    case lsLastValues:
        if (TChartSeries* s = LegendSeriesAt(Index)) return FormattedValue(s, s->Count() - 1);
        return {};
    case lsSeriesGroups:
        if (TSeriesGroups* g = ch->GetSeriesGroups(); g && Index < g->GetCount())
            return g->Get(Index)->GetName();
        return {};
    case lsAuto:
        break;
    }
    return {};
}

int TCustomChartLegend::CalcItemHeight() {
    TCanvas3D* c = Chart()->GetCanvas();
    int h = c->TextHeight(u"W");
    if (HasCheckBoxes()) h = std::max(17, h);
    h += FVertSpacing;
    if (GetVertical() && FDividingLines->GetVisible()) h += FDividingLines->GetWidth();
    return h;
}

int TCustomChartLegend::FirstItemTop() {
    int top = RectLegend.Top;
    if (TitleShown) {
        top += FTitle->CalcHeight() + 2;
        if (!FTitle->GetTransparent() && FTitle->GetShadow()->GetVisible())
            top += std::abs(FTitle->GetShadow()->GetVertSize());
        Chart()->GetCanvas()->AssignFont(GetFont());
    }
    return top;
}

int TCustomChartLegend::CalcTotalItems() {
    int n = 0;
    switch (FInternalStyle) {
    case lsSeriesGroups:
        n = Chart()->GetSeriesGroups() ? Chart()->GetSeriesGroups()->GetCount() : 0;
        break;
    case lsSeries:
    case lsLastValues:
        n = ShownSeriesCount() - FFirstValue;
        break;
    case lsValues:
        if (TChartSeries* s = GetLegendSeries()) n = s->CountLegendItems() - FFirstValue;
        break;
    case lsAuto:
        break;
    }
    return std::max(0, n);
}

int TCustomChartLegend::Clicked(int X, int Y) {
    TRect r = RectLegend;
    if (OnWidthAdjust) r.Right -= OnWidthAdjust(this);
    if (X < r.Left || X > r.Right || Y < r.Top || Y > r.Bottom) return -1;
    TCanvas3D* c = Chart()->GetCanvas();
    c->AssignFont(GetFont());
    ItemHeight = CalcItemHeight();
    if (ItemHeight <= 0) return -1;
    const int top = FirstItemTop() + 1;
    if (Y < top) return -1;
    const int row = (Y - top) / ItemHeight;
    if (GetVertical()) {
        if (row >= NumRows || FFirstValue + row > LastValue) return -1;
        return FInverted ? LastValue - row : FFirstValue + row;
    }
    // A legend laid out with no columns (or not yet laid out) has nothing to hit.
    if (NumCols <= 0 || NumRows <= 0) return -1;
    // The columns stand one column step apart from the legend's left, as they are drawn, also
    // when a title wider than the items has made the legend wider than its columns.
    const int col = std::min(NumCols - 1, (X - r.Left) / std::max(1, ColumnStep()));
    if (row >= NumRows) return -1;
    const int shown = LastValue - FFirstValue + 1;
    int item = row * NumCols + col;
    if (item >= shown) return -1;
    if (FInverted) item = shown - 1 - item;
    return item + FFirstValue;
}

bool TCustomChartLegend::DoMouseDown(int X, int Y, int Index) {
    (void)X;
    (void)Y;
    if (!HasCheckBoxes() || Index < 0) return false;
    TCustomChart* ch = Chart();
    if (FInternalStyle == lsSeriesGroups) {
        TSeriesGroups* groups = ch->GetSeriesGroups();
        if (!groups || Index >= groups->GetCount()) return false;
        TSeriesGroup* g = groups->Get(Index);
        if (FCheckBoxesStyle == cbsCheck) {
            g->SetActive(g->GetActive() == gaYes ? gaNo : gaYes);
        } else {
            for (int t = 0; t < groups->GetCount(); ++t)
                if (t != Index) groups->Get(t)->SetActive(gaNo);
            g->SetActive(gaYes);
        }
        return true;
    }
    TChartSeries* clicked = ch->SeriesLegend(Index, false);
    if (!clicked) return false;
    if (FCheckBoxesStyle == cbsCheck) {
        clicked->SetActive(!clicked->GetActive());
    } else {
        for (int t = 0; t < ch->SeriesCount(); ++t)
            if (TChartSeries* s = ch->GetSeries(t); s->GetShowInLegend()) s->SetActive(s == clicked);
    }
    return true;
}

void TCustomChartLegend::PrepareSymbolPen() {
    Chart()->LegendPen = FSymbol->GetDefaultPen() ? nullptr : FSymbol->GetPen();
}

void TCustomChartLegend::PaintSeriesLegend(TChartSeries* ASeries, TCanvas* Canvas, const TRect& Rect,
                                           TCustomChart* ReferenceChart) {
    Owned<TCustomChart> temporary;
    auto* own = dynamic_cast<TCustomChart*>(
        ASeries->GetParentChart() ? ASeries->GetParentChart()->ChartComponent() : nullptr);
    TCustomChart* chart = own ? own : ReferenceChart;
    if (!chart) {
        temporary.reset(Create<TCustomChart>(nullptr));
        chart = temporary.get();
    }
    const bool attached = !own;
    if (attached) ASeries->SetParentChart(chart);
    TCanvas3D* c = chart->GetCanvas();
    TCanvas* savedCanvas = c->ReferenceCanvas;
    const bool savedBuffer = c->GetUseBuffer();
    TChartPen* savedPen = chart->LegendPen;
    const auto restore = [&] {
        c->SetUseBuffer(savedBuffer);
        if (savedCanvas) c->SetCanvas(savedCanvas);
        chart->LegendPen = savedPen;
        if (attached) ASeries->SetParentChart(nullptr);
    };
    try {
        c->SetUseBuffer(false);
        c->SetCanvas(Canvas);
        c->Brush->SetStyle(bsSolid);
        c->Brush->SetColor(chart->GetLegend()->GetColor());
        chart->GetLegend()->PrepareSymbolPen();
        c->FrontPlaneBegin();
        ASeries->DrawLegend(-1, Rect);
        c->FrontPlaneEnd();
    } catch (...) {
        restore();
        throw;
    }
    restore();
}

const ClassInfo& TChartLegend::StaticClass() {
    using C = TChartLegend;
    static const PropInfo props[] = {
        MakeProp<&C::GetAlignment, &C::SetAlignment>("Alignment").Default(laRight),
        MakeProp<&C::GetBevel, &C::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetCheckBoxes, &C::SetCheckBoxes>("CheckBoxes").Default(false),
        MakeProp<&C::GetCheckBoxesStyle, &C::SetCheckBoxesStyle>("CheckBoxesStyle").Default(cbsCheck),
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(clWhite),
        MakeProp<&C::GetColorWidth, &C::SetColorWidth>("ColorWidth").Default(20),
        MakeProp<&C::GetCurrentPage, &C::SetCurrentPage>("CurrentPage").Default(true),
        MakeProp<&C::GetCustomPosition, &C::SetCustomPosition>("CustomPosition").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetDividingLines, &C::SetDividingLines>("DividingLines"),
        MakeProp<&C::GetFirstValue, &C::SetFirstValue>("FirstValue").Default(0),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetFontSeriesColor, &C::SetFontSeriesColor>("FontSeriesColor").Default(false),
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient").Stored<&C::HasGradient>(),
        MakeProp<&C::GetHorizMargin, &C::SetHorizMargin>("HorizMargin").Default(0),
        MakeProp<&C::GetInverted, &C::SetInverted>("Inverted").Default(false),
        MakeProp<&C::GetLeft, &C::SetLeft>("Left").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetLeftPercent, &C::SetLeftPercent>("LeftPercent").Default(0),
        MakeProp<&C::GetLegendStyle, &C::SetLegendStyle>("LegendStyle").Default(lsAuto),
        MakeProp<&C::GetMaxNumRows, &C::SetMaxNumRows>("MaxNumRows").Default(10),
        MakeProp<&C::GetPicture, &C::SetPicture>("Picture").Stored<&C::HasPicture>(),
        MakeProp<&C::GetPositionUnits, &C::SetPositionUnits>("PositionUnits").Default(muPixels),
        MakeProp<&C::GetResizeChart, &C::SetResizeChart>("ResizeChart").Default(true),
        // The shape editor sets it: a file keeps it.
        MakeProp<&C::GetRoundSize, &C::SetRoundSize>("RoundSize").Default(16),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow").Stored<&C::HasShadow>(),
        MakeProp<&C::GetShapeStyle, &C::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&C::GetSymbol, &C::SetSymbol>("Symbol"),
        MakeProp<&C::GetTextStyle, &C::SetTextStyle>("TextStyle").Default(ltsLeftValue),
        MakeProp<&C::GetTitle, &C::SetTitle>("Title"),
        MakeProp<&C::GetTop, &C::SetTop>("Top").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetTopPercent, &C::SetTopPercent>("TopPercent").Default(0),
        MakeProp<&C::GetTopPos, &C::SetTopPos>("TopPos").Default(10),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Stored<&C::IsTransparentStored>(),
        MakeProp<&C::GetVertMargin, &C::SetVertMargin>("VertMargin").Default(0),
        MakeProp<&C::GetVertSpacing, &C::SetVertSpacing>("VertSpacing").Default(0),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Stored<&C::IsVisibleStored>(),
    };
    static const ClassInfo ci = MakeClassInfo<C>("TChartLegend", &TCustomChartLegend::StaticClass(), props);
    return ci;
}
