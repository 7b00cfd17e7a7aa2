// Around the axis: the chart's list of axes, the custom-axes collection, the
// axis items, and what a chart gives its axes when it offers nothing better.

#include "chart/canvas/zuzfont.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"

#include <algorithm>

// ---------------------------------------------------------------------------
// The chart, as its axes see it

bool IAxisChart::IsLoading() {
    TComponent* c = AxisChartComponent();
    return c && c->GetComponentState().Contains(csLoading);
}

bool IAxisChart::IsReading() {
    TComponent* c = AxisChartComponent();
    return c && c->GetComponentState().Contains(csReading);
}

int IAxisChart::MultiLineTextWidth(const String& Text, int& NumLines) {
    TCanvas3D* canvas = GetCanvas();
    NumLines = 0;
    int widest = 0;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= Text.size(); ++i) {
        if (i < Text.size() && Text[i] != ZuzLineSeparator) continue;
        // A trailing carriage return opens no further line.
        if (i == Text.size() && start == i && NumLines > 0) break;
        ++NumLines;
        if (canvas) widest = std::max(widest, canvas->TextWidth(Text.substr(start, i - start)));
        start = i + 1;
    }
    return widest;
}

void IAxisChart::SeriesVisibleRange(TChartSeries* Series, int& First, int& Last) {
    Series->CalcFirstLastVisibleIndex();
    First = Series->FirstValueIndex;
    Last = Series->LastValueIndex;
}

String IAxisChart::SeriesMarkText(TChartSeries* Series, int ValueIndex) {
    return Series->GetMarkText(ValueIndex);
}

// ---------------------------------------------------------------------------
// Axis items

const ClassInfo& TAxisItem::StaticClass() {
    using C = TAxisItem;
    static const PropInfo props[] = {
        MakeProp<&C::GetText, &C::SetText>("Text"),
        MakeProp<&C::GetValue, &C::SetValue>("Value"),
        MakeProp<&C::GetBevel, &C::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(clWhite),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient").Stored<&C::HasGradient>(),
        MakeProp<&C::GetPicture, &C::SetPicture>("Picture").Stored<&C::HasPicture>(),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow").Stored<&C::HasShadow>(),
        MakeProp<&C::GetShapeStyle, &C::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Stored<&C::IsTransparentStored>(),
    };
    static const ClassInfo info = MakeClassInfo<C>("TAxisItem", &TAxisShape::StaticClass(), props);
    return info;
}

TAxisItem::TAxisItem(TAxisItems* Owner, double Value, const String& Text)
    : TAxisShape(Owner && Owner->GetAxis() ? Owner->GetAxis()->ParentChart : nullptr), FItems(Owner),
      FValue(Value), FText(Text) {
    SetTransparent(true);
    DefaultTransparent = true;
}

void TAxisItem::SetText(const String& Value) {
    if (FText == Value) return;
    FText = Value;
    Repaint();
}

void TAxisItem::SetValue(double Value) {
    if (FValue == Value) return;
    FValue = Value;
    Repaint();
}

TAxisItems::TAxisItems(TChartAxis* Axis) : FAxis(Axis) {
    FFormat.reset(Create<TAxisShape>(Axis ? Axis->ParentChart : nullptr));
    FFormat->SetTransparent(true);
    FFormat->DefaultTransparent = true;
}

TAxisItems::~TAxisItems() {
    FFormat.reset();
    FItems.clear();
}

TAxisItem* TAxisItems::Add(double Value) {
    return Add(Value, {});
}

TAxisItem* TAxisItems::Add(double Value, const String& Text) {
    // The first custom label replaces the record of the labels drawn last.
    if (Automatic) FItems.clear();
    Automatic = false;
    FItems.emplace_back(Create<TAxisItem>(this, Value, Text));
    return FItems.back().get();
}

TAxisItem* TAxisItems::Record(double Value, const String& Text) {
    FItems.emplace_back(Create<TAxisItem>(this, Value, Text));
    return FItems.back().get();
}

void TAxisItems::Clear() {
    FItems.clear();
    if (FAxis) FAxis->Repaint();
}

void TAxisItems::CopyFrom(const TAxisItems& Source) {
    FFormat->Assign(Source.FFormat.get());
    Clear();
    for (const auto& item : Source.FItems) Add(item->GetValue(), item->GetText());
}

// ---------------------------------------------------------------------------
// The chart's axes

int TChartAxes::IndexOf(const TChartAxis* Axis) const {
    const auto it = std::find(FItems.begin(), FItems.end(), Axis);
    return it == FItems.end() ? -1 : static_cast<int>(it - FItems.begin());
}

void TChartAxes::Remove(TChartAxis* Axis) {
    const auto it = std::find(FItems.begin(), FItems.end(), Axis);
    if (it != FItems.end()) FItems.erase(it);
}

void TChartAxes::SetFastCalc(bool Value) {
    FFastCalc = Value;
    for (TChartAxis* a : FItems) a->SetCalcPosValue();
}

void TChartAxes::Reset() {
    for (TChartAxis* a : FItems) a->SetAutomatic(true);
}

void TChartAxes::Clear() {
    // Each axis leaves the list as it goes.
    while (!FItems.empty()) {
        const std::size_t before = FItems.size();
        FItems.back()->Free();
        if (FItems.size() == before) FItems.pop_back();
    }
}

// ---------------------------------------------------------------------------
// Custom axes

const ClassInfo& TChartCustomAxes::StaticClass() {
    static const ClassInfo info =
        MakeClassInfo<TChartCustomAxes>("TChartCustomAxes", &TOwnedCollection::StaticClass());
    return info;
}

TChartCustomAxes::TChartCustomAxes(TPersistent* Owner, IAxisChart* Chart)
    : TOwnedCollection(Owner, TChartAxis::StaticClass()), FChart(Chart) {}

void TChartCustomAxes::ResetScales(TChartAxis* Axis) {
    // Axes that follow each other round in a ring are handed the range once.
    if (FResetting) return;
    FResetting = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{FResetting};
    for (int t = 0; t < GetCount(); ++t) {
        TChartAxis* a = Get(t);
        if (a != Axis && a->MasterAxis == Axis) a->SetMinMax(Axis->GetMinimum(), Axis->GetMaximum());
    }
}
