// The axis object: settings, defaults, setters, the automatic range, the
// label step and the value/pixel mapping with the axis's placement.

#include "chart/engine/chartaxis.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgeometry.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/serieslist.h"

#include <algorithm>
#include <cmath>
#include <limits>

template <>
const EnumInfo& EnumInfoOf<TAxisLabelStyle>() {
    static const EnumInfo info{"TAxisLabelStyle", {"talAuto", "talNone", "talValue", "talMark", "talText"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TAxisLabelAlign>() {
    static const EnumInfo info{"TAxisLabelAlign", {"alDefault", "alOpposite"}};
    return info;
}
template <>
const EnumInfo& EnumInfoOf<TPenLineMode>() {
    static const EnumInfo info{"TPenLineMode", {"lmLine", "lmCylinder", "lmRectangle"}};
    return info;
}

namespace {

// 10^K, exact where the double can hold it.
double PowerOfTen(int K) {
    if (K < 0 || K > 22) return std::pow(10.0, K);
    double r = 1;
    for (int i = 0; i < K; ++i) r *= 10;
    return r;
}

// Round to an integer held in a double: the processor's half-to-even rounding,
// without the 64-bit range that the platform's Round raises beyond.
double RoundHalfEven(double X) {
    return std::nearbyint(X);
}

} // namespace

double NextNiceStep(double Value) {
    if (std::isinf(Value)) return 1;
    if (!(Value > 0)) return MinAxisIncrement; // zero, negative, NaN
    if (Value < 1e-290) {
        // Far below the decades the table of powers holds: scale up and back.
        const double r = NextNiceStep(Value * 1e300) / 1e300;
        return r > Value ? r : std::nextafter(Value, std::numeric_limits<double>::infinity());
    }
    int k = static_cast<int>(std::floor(std::log10(Value)));
    double m = k >= 0 ? Value / PowerOfTen(k) : Value * PowerOfTen(-k);
    if (m >= 10) {
        ++k;
        m /= 10;
    } else if (m < 1) {
        --k;
        m *= 10;
    }
    // A value a few ulps off a nice step counts as that step, so that the
    // next one is the nice step after it.
    for (const double c : {1.0, 2.0, 5.0, 10.0})
        if (std::fabs(m - c) <= 1e-9 * c) m = c;
    double next;
    if (m < 2)
        next = 2;
    else if (m < 5)
        next = 5;
    else if (m < 10)
        next = 10;
    else
        next = 20;
    const double r = k >= 0 ? next * PowerOfTen(k) : next / PowerOfTen(-k);
    return r > Value ? r : std::nextafter(Value, std::numeric_limits<double>::infinity());
}

// ---------------------------------------------------------------------------
// Pens and shapes

const ClassInfo& TChartAxisPen::StaticClass() {
    using C = TChartAxisPen;
    static const PropInfo props[] = {
        MakeProp<&C::GetLineMode, &C::SetLineMode>("LineMode").Default(lmLine),
        MakeProp<&C::GetWidth, &C::SetWidth>("Width").Default(2),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartAxisPen", &TChartPen::StaticClass(), props);
    return info;
}

TChartAxisPen::TChartAxisPen(TNotifyEvent OnChangeEvent) : TChartPen(std::move(OnChangeEvent)) {
    SetWidth(2);
}

void TChartAxisPen::Assign(TPersistent* Source) {
    if (auto* p = dynamic_cast<TChartAxisPen*>(Source)) FLineMode = p->FLineMode;
    TChartPen::Assign(Source);
}

void TChartAxisPen::SetLineMode(TPenLineMode Value) {
    if (FLineMode == Value) return;
    FLineMode = Value;
    Changed();
}

const ClassInfo& TAxisGridPen::StaticClass() {
    using C = TAxisGridPen;
    static const PropInfo props[] = {
        MakeProp<&C::GetCentered, &C::SetCentered>("Centered").Default(0),
        MakeProp<&C::GetDrawEvery, &C::SetDrawEvery>("DrawEvery").Default(1),
        MakeProp<&C::GetZPosition, &C::SetZ>("ZPosition").Stored<&C::IsZStored>(),
    };
    static const ClassInfo info = MakeClassInfo<C>("TAxisGridPen", &TDottedGrayPen::StaticClass(), props);
    return info;
}

TAxisGridPen::TAxisGridPen(TNotifyEvent OnChangeEvent) : TDottedGrayPen(std::move(OnChangeEvent)) {}

void TAxisGridPen::Assign(TPersistent* Source) {
    if (auto* g = dynamic_cast<TAxisGridPen*>(Source)) {
        FCentered = g->FCentered;
        FDrawEvery = g->FDrawEvery;
        FZPosition = g->FZPosition;
    }
    TDottedGrayPen::Assign(Source);
}

void TAxisGridPen::NotifyChange() {
    Changed();
}

void TAxisGridPen::SetCentered(bool Value) {
    if (FCentered == Value) return;
    FCentered = Value;
    NotifyChange();
}

void TAxisGridPen::SetDrawEvery(int Value) {
    if (FDrawEvery == Value) return;
    FDrawEvery = Value;
    NotifyChange();
}

void TAxisGridPen::SetZ(double Value) {
    if (FZPosition == Value) return;
    FZPosition = Value;
    NotifyChange();
}

// The title and the items publish what of the box each stores, in their own orders.
const ClassInfo& TAxisShape::StaticClass() {
    static const ClassInfo info = MakeClassInfo<TAxisShape>("TAxisShape", &TZuzCustomShape::StaticClass());
    return info;
}

namespace {

TCustomZuzPanel* PanelOf(IAxisChart* Chart) {
    return Chart ? dynamic_cast<TCustomZuzPanel*>(Chart->AxisChartComponent()) : nullptr;
}

} // namespace

TAxisShape::TAxisShape(IAxisChart* Chart) : TZuzCustomShape(PanelOf(Chart)), ParentChart(Chart) {}

TAxisShape::~TAxisShape() = default;

void TAxisShape::Repaint() {
    if (ParentChart) ParentChart->Invalidate();
}

void TAxisShape::SetVisible(bool Value) {
    if (GetVisible() == Value) return;
    // Quietly through the shape, then once through the axis's chart.
    TCustomZuzPanel* panel = GetParentChart();
    SetParent(nullptr);
    TZuzCustomShape::SetVisible(Value);
    SetParent(panel);
    Repaint();
}

void TAxisShape::SetTransparent(bool Value) {
    if (GetTransparent() == Value) return;
    TCustomZuzPanel* panel = GetParentChart();
    SetParent(nullptr);
    TZuzCustomShape::SetTransparent(Value);
    SetParent(panel);
    Repaint();
}

const ClassInfo& TChartAxisTitle::StaticClass() {
    using C = TChartAxisTitle;
    // The box as the axis page formats it, then the title's own.
    static const PropInfo props[] = {
        MakeProp<&C::GetBevel, &C::SetBevel>("Bevel").Default(bvNone),
        MakeProp<&C::GetBevelWidth, &C::SetBevelWidth>("BevelWidth").Default(2),
        MakeProp<&C::GetBrush, &C::SetBrush>("Brush"),
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(clWhite),
        MakeProp<&C::GetFont, &C::SetFont>("Font"),
        MakeProp<&C::GetFrame, &C::SetFrame>("Frame"),
        MakeProp<&C::GetGradient, &C::SetGradient>("Gradient").Stored<&C::HasGradient>(),
        MakeProp<&C::GetPicture, &C::SetPicture>("Picture").Stored<&C::HasPicture>(),
        MakeProp<&C::GetRoundSize, &C::SetRoundSize>("RoundSize").Default(16),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow").Stored<&C::HasShadow>(),
        MakeProp<&C::GetShapeStyle, &C::SetShapeStyle>("ShapeStyle").Default(fosRectangle),
        MakeProp<&C::GetTransparency, &C::SetTransparency>("Transparency").Default(0),
        MakeProp<&C::GetTransparent, &C::SetTransparent>("Transparent").Stored<&C::IsTransparentStored>(),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(1),
        MakeProp<&C::GetAngle, &C::SetAngle>("Angle").Stored<&C::IsAngleStored>(),
        MakeProp<&C::GetCaption, &C::SetCaption>("Caption"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartAxisTitle", &TAxisShape::StaticClass(), props);
    return info;
}

TChartAxisTitle::TChartAxisTitle(IAxisChart* Chart) : TAxisShape(Chart) {
    SetTransparent(true);
    DefaultTransparent = true;
}

void TChartAxisTitle::Assign(TPersistent* Source) {
    if (auto* t = dynamic_cast<TChartAxisTitle*>(Source)) {
        FAngle = t->FAngle;
        FCaption = t->FCaption;
    }
    TAxisShape::Assign(Source);
}

void TChartAxisTitle::SetAngle(int Value) {
    if (FAngle == Value) return;
    FAngle = Value;
    Repaint();
}

void TChartAxisTitle::SetCaption(const String& Value) {
    if (FCaption == Value) return;
    FCaption = Value;
    Repaint();
}

bool TChartAxisTitle::Clicked(int X, int Y) const {
    if (!GetVisible() || FCaption.empty()) return false;
    const TRect& r = ShapeBounds;
    if (FAngle == 0) return PointInRect(r, X, Y);
    // The corners turned about the box's centre, tested as a polygon.
    const double a = FAngle * ZuzPiStep, s = std::sin(a), c = std::cos(a);
    const double cx = (r.Left + r.Right) * 0.5, cy = (r.Top + r.Bottom) * 0.5;
    std::array<TPoint, 4> p;
    const std::array<TPoint, 4> corners{TPoint{r.Left, r.Top}, TPoint{r.Right, r.Top},
                                        TPoint{r.Right, r.Bottom}, TPoint{r.Left, r.Bottom}};
    for (std::size_t i = 0; i < 4; ++i) {
        const double dx = corners[i].X - cx, dy = corners[i].Y - cy;
        p[i] = {ZuzRound(cx + dx * c + dy * s), ZuzRound(cy - dx * s + dy * c)};
    }
    const std::array<TPoint, 1> probe{TPoint{X, Y}};
    return PolygonInPolygon(probe, p);
}

// ---------------------------------------------------------------------------
// The axis: life cycle

namespace {

IAxisChart* ChartOfCollection(TCollection* Collection) {
    auto* axes = dynamic_cast<TChartCustomAxes*>(Collection);
    return axes ? axes->GetChart() : nullptr;
}

// The first six axes of a chart are its standard ones, made outside the
// custom-axes collection.
TCollection* JoinedCollection(TCollection* Collection) {
    IAxisChart* chart = ChartOfCollection(Collection);
    if (chart && chart->GetAxes() && chart->GetAxes()->Count() < 6) return nullptr;
    return Collection;
}

} // namespace

const ClassInfo& TChartAxis::StaticClass() {
    using C = TChartAxis;
    static const PropInfo props[] = {
        MakeProp<&C::GetAutomatic, &C::SetAutomatic>("Automatic").Default(1),
        MakeProp<&C::GetAutomaticMaximum, &C::SetAutomaticMaximum>("AutomaticMaximum").Default(1),
        MakeProp<&C::GetAutomaticMinimum, &C::SetAutomaticMinimum>("AutomaticMinimum").Default(1),
        MakeProp<&C::GetAxisPen, &C::SetAxis>("Axis"),
        MakeProp<&C::GetAxisValuesFormat, &C::SetValuesFormat>("AxisValuesFormat")
            .Stored<&C::IsAxisValuesFormatStored>(),
        MakeProp<&C::GetDateTimeFormat, &C::SetDateTimeFormat>("DateTimeFormat"),
        MakeProp<&C::GetEndPosition, &C::SetEndPosition>("EndPosition").Stored<&C::IsEndStored>(),
        MakeProp<&C::GetExactDateTime, &C::SetExactDateTime>("ExactDateTime").Default(1),
        MakeProp<&C::GetGrid, &C::SetGrid>("Grid"),
        MakeProp<&C::GetGridCentered, &C::SetGridCentered>("GridCentered").Default(0),
        MakeProp<&C::GetHorizontal, &C::SetHorizontal>("Horizontal").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetIncrement, &C::SetDesiredIncrement>("Increment"),
        MakeProp<&C::GetInverted, &C::SetInverted>("Inverted").Default(0),
        MakeProp<&C::GetLabels, &C::SetLabels>("Labels").Default(1),
        MakeProp<&C::GetLabelsAlign, &C::SetLabelsAlign>("LabelsAlign").Default(alDefault),
        MakeProp<&C::GetLabelsAlternate, &C::SetLabelsAlternate>("LabelsAlternate").Default(0),
        MakeProp<&C::GetLabelsAngle, &C::SetLabelsAngle>("LabelsAngle").Default(0),
        MakeProp<&C::GetLabelsExponent, &C::SetLabelsExponent>("LabelsExponent").Default(0),
        MakeProp<&C::GetLabelsFont, &C::SetLabelsFont>("LabelsFont"),
        MakeProp<&C::GetLabelsMultiLine, &C::SetLabelsMultiLine>("LabelsMultiLine").Default(0),
        MakeProp<&C::GetLabelsOnAxis, &C::SetLabelsOnAxis>("LabelsOnAxis").Default(1),
        MakeProp<&C::GetLabelsSeparation, &C::SetLabelsSeparation>("LabelsSeparation").Default(10),
        MakeProp<&C::GetLabelsSize, &C::SetLabelsSize>("LabelsSize").Default(0),
        MakeProp<&C::GetLabelStyle, &C::SetLabelStyle>("LabelStyle").Default(talAuto),
        MakeProp<&C::GetLogarithmic, &C::SetLogarithmic>("Logarithmic").Default(0),
        MakeProp<&C::GetLogarithmicBase, &C::SetLogarithmicBase>("LogarithmicBase")
            .Stored<&C::IsLogBaseStored>(),
        MakeProp<&C::GetMaximum, &C::SetMaximum>("Maximum").Stored<&C::IsMaxStored>(),
        MakeProp<&C::GetMaximumOffset, &C::SetMaximumOffset>("MaximumOffset").Default(0),
        MakeProp<&C::GetMaximumRound, &C::SetMaximumRound>("MaximumRound").Default(0),
        MakeProp<&C::GetMinimum, &C::SetMinimum>("Minimum").Stored<&C::IsMinStored>(),
        MakeProp<&C::GetMinimumOffset, &C::SetMinimumOffset>("MinimumOffset").Default(0),
        MakeProp<&C::GetMinimumRound, &C::SetMinimumRound>("MinimumRound").Default(0),
        MakeProp<&C::GetMinorGrid, &C::SetMinorGrid>("MinorGrid"),
        MakeProp<&C::GetMinorTickCount, &C::SetMinorTickCount>("MinorTickCount").Default(3),
        MakeProp<&C::GetMinorTickLength, &C::SetMinorTickLength>("MinorTickLength").Default(2),
        MakeProp<&C::GetMinorTicks, &C::SetMinorTicks>("MinorTicks"),
        MakeProp<&C::GetOtherSide, &C::SetOtherSide>("OtherSide").Stored<&C::IsCustomStored>(),
        MakeProp<&C::GetPositionPercent, &C::SetPositionPercent>("PositionPercent").Stored<&C::IsPosStored>(),
        MakeProp<&C::GetPositionUnits, &C::SetPosUnits>("PositionUnits").Default(muPercent),
        MakeProp<&C::GetRoundFirstLabel, &C::SetRoundFirstLabel>("RoundFirstLabel").Default(1),
        MakeProp<&C::GetStartPosition, &C::SetStartPosition>("StartPosition").Stored<&C::IsStartStored>(),
        MakeProp<&C::GetTickInnerLength, &C::SetTickInnerLength>("TickInnerLength").Default(0),
        MakeProp<&C::GetTickLength, &C::SetTickLength>("TickLength").Default(4),
        MakeProp<&C::GetTickOnLabelsOnly, &C::SetTickOnLabelsOnly>("TickOnLabelsOnly").Default(1),
        MakeProp<&C::GetTicks, &C::SetTicks>("Ticks"),
        MakeProp<&C::GetTicksInner, &C::SetTicksInner>("TicksInner"),
        MakeProp<&C::GetTitle, &C::SetAxisTitle>("Title"),
        MakeProp<&C::GetTitleSize, &C::SetTitleSize>("TitleSize").Default(0),
        MakeProp<&C::GetVisible, &C::SetVisible>("Visible").Default(1),
        MakeProp<&C::GetZPosition, &C::SetZPosition>("ZPosition").Stored<&C::IsZPosStored>(),
        MakeProp<&C::OnDrawLabel>("OnDrawLabel"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TChartAxis", &TCollectionItem::StaticClass(), props);
    return info;
}

TChartAxis::TChartAxis(TCollection* Collection) : TCollectionItem(JoinedCollection(Collection)) {
    Init(ChartOfCollection(Collection));
}

TChartAxis::TChartAxis(IAxisChart* Chart)
    : TCollectionItem(JoinedCollection(Chart ? static_cast<TCollection*>(Chart->GetCustomAxes()) : nullptr)) {
    Init(Chart);
}

TNotifyEvent TChartAxis::ChangeEvent() {
    TNotifyEvent e;
    e.Bind([this](TObject* Sender) { CanvasChanged(Sender); });
    return e;
}

void TChartAxis::Init(IAxisChart* Chart) {
    ParentChart = Chart;
    SetCalcPosValue();
    FSubSeries.reset(Create<TCustomSeriesList>());
    FItems = std::make_unique<TAxisItems>(this);
    FAxisValuesFormat = VavIve_DefValueFormat;
    FTitle.reset(Create<TChartAxisTitle>(Chart));
    FTicks.reset(Create<TDarkGrayPen>(ChangeEvent()));
    FMinorTicks.reset(Create<TDarkGrayPen>(ChangeEvent()));
    FTicksInner.reset(Create<TDarkGrayPen>(ChangeEvent()));
    FGrid.reset(Create<TAxisGridPen>(ChangeEvent()));
    FMinorGrid.reset(Create<TChartHiddenPen>(ChangeEvent()));
    FAxisPen.reset(Create<TChartAxisPen>(ChangeEvent()));
    if (Chart && Chart->GetAxes()) Chart->GetAxes()->Add(this);
}

TChartAxis::~TChartAxis() = default;

void TChartAxis::BeforeDestruction() {
    FMinorTicks.reset();
    FTicks.reset();
    FTicksInner.reset();
    FGrid.reset();
    FMinorGrid.reset();
    FAxisPen.reset();
    FTitle.reset();
    FItems.reset();
    if (ParentChart) {
        // Series drawn against this axis go back to the standard ones.
        for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
            TChartSeries* s = ParentChart->GetSeries(t);
            if (s->GetCustomHorizAxis() == this) {
                s->SetCustomHorizAxis(nullptr);
                s->SetHorizAxis(aBottomAxis);
            }
            if (s->GetCustomVertAxis() == this) {
                s->SetCustomVertAxis(nullptr);
                s->SetVertAxis(aLeftAxis);
            }
        }
    }
    FSubSeries.reset();
    if (ParentChart && ParentChart->GetAxes()) ParentChart->GetAxes()->Remove(this);
    Tick.clear();
    TCollectionItem::BeforeDestruction();
}

void TChartAxis::Assign(TPersistent* Source) {
    auto* a = dynamic_cast<TChartAxis*>(Source);
    if (!a) {
        TCollectionItem::Assign(Source);
        return;
    }
    FAxisPen->Assign(a->FAxisPen.get());
    FItems->CopyFrom(*a->FItems);
    FLabelsAlign = a->FLabelsAlign;
    FLabelsAlternate = a->FLabelsAlternate;
    FLabelsAngle = a->FLabelsAngle;
    FLabelsExponent = a->FLabelsExponent;
    FLabelsMultiLine = a->FLabelsMultiLine;
    FLabelsSeparation = a->FLabelsSeparation;
    FLabelsSize = a->FLabelsSize;
    FLabelStyle = a->FLabelStyle;
    FLabelsOnAxis = a->FLabelsOnAxis;
    FTicks->Assign(a->FTicks.get());
    FTicksInner->Assign(a->FTicksInner.get());
    FTitleSize = a->FTitleSize;
    FGrid->Assign(a->FGrid.get());
    FMinorTicks->Assign(a->FMinorTicks.get());
    FMinorGrid->Assign(a->FMinorGrid.get());
    FTickLength = a->FTickLength;
    FMinorTickLength = a->FMinorTickLength;
    FMinorTickCount = a->FMinorTickCount;
    FTickInnerLength = a->FTickInnerLength;
    FAxisValuesFormat = a->FAxisValuesFormat;
    FIncrement = a->FIncrement;
    FMaximum = a->FMaximum;
    FMaximumOffset = a->FMaximumOffset;
    FMaximumRound = a->FMaximumRound;
    FMinimum = a->FMinimum;
    FMinimumOffset = a->FMinimumOffset;
    FMinimumRound = a->FMinimumRound;
    FAutomatic = a->FAutomatic;
    FAutomaticMaximum = a->FAutomaticMaximum;
    FAutomaticMinimum = a->FAutomaticMinimum;
    FTitle->Assign(a->FTitle.get());
    FDateTimeFormat = a->FDateTimeFormat;
    FGrid->SetCentered(a->FGrid->GetCentered());
    FLogarithmic = a->FLogarithmic;
    FLogarithmicBase = a->FLogarithmicBase;
    FInverted = a->FInverted;
    FExactDateTime = a->FExactDateTime;
    FRoundFirstLabel = a->FRoundFirstLabel;
    FTickOnLabelsOnly = a->FTickOnLabelsOnly;
    IsDepthAxis = a->IsDepthAxis;
    FStartPosition = a->FStartPosition;
    FEndPosition = a->FEndPosition;
    FPositionPercent = a->FPositionPercent;
    FPositionUnits = a->FPositionUnits;
    FVisible = a->FVisible;
    FHorizontal = a->FHorizontal;
    FOtherSide = a->FOtherSide;
    // The copied kind and scale select the mappings of this axis.
    SetCalcPosValue();
}

// ---------------------------------------------------------------------------
// Setters

void TChartAxis::Repaint() {
    if (ParentChart) ParentChart->Invalidate();
}

void TChartAxis::SetBooleanProperty(bool& Field, bool Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}

void TChartAxis::SetIntegerProperty(int& Field, int Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}

void TChartAxis::SetPixelsProperty(int& Field, int Value) {
    SetIntegerProperty(Field, std::clamp(Value, -kLargestPictureSide, kLargestPictureSide));
}

void TChartAxis::SetDoubleProperty(double& Field, double Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}

void TChartAxis::SetHeldProperty(double& Field, double Value, double Low, double High) {
    if (!std::isnan(Value)) SetDoubleProperty(Field, std::clamp(Value, Low, High));
}

void TChartAxis::SetStringProperty(String& Field, const String& Value) {
    if (Field == Value) return;
    Field = Value;
    Repaint();
}

void TChartAxis::SetAutomatic(bool Value) {
    SetBooleanProperty(FAutomatic, Value);
    if (!ParentChart || !ParentChart->IsLoading()) FAutomaticMinimum = FAutomaticMaximum = Value;
}

void TChartAxis::SetAutomaticMaximum(bool Value) {
    SetBooleanProperty(FAutomaticMaximum, Value);
    if (!Value)
        FAutomatic = false;
    else if (FAutomaticMinimum)
        FAutomatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool Value) {
    SetBooleanProperty(FAutomaticMinimum, Value);
    if (!Value)
        FAutomatic = false;
    else if (FAutomaticMaximum)
        FAutomatic = true;
}

void TChartAxis::SetMinimum(double Value) {
    if ((!ParentChart || !ParentChart->IsReading()) && Value > FMaximum)
        throw AxisException(VavIve_AxisMinMax);
    SetDoubleProperty(FMinimum, Value);
}

void TChartAxis::SetMaximum(double Value) {
    if ((!ParentChart || !ParentChart->IsReading()) && Value < FMinimum)
        throw AxisException(VavIve_AxisMaxMin);
    SetDoubleProperty(FMaximum, Value);
}

void TChartAxis::SetMinMax(double AMin, double AMax) {
    FAutomatic = FAutomaticMinimum = FAutomaticMaximum = false;
    if (AMin > AMax) std::swap(AMin, AMax);
    SetDoubleProperty(FMinimum, AMin);
    SetDoubleProperty(FMaximum, AMax);
    if (FMaximum - FMinimum < MinAxisRange) SetDoubleProperty(FMaximum, FMinimum + MinAxisRange);
    if (ParentChart && ParentChart->GetCustomAxes()) ParentChart->GetCustomAxes()->ResetScales(this);
}

void TChartAxis::SetDesiredIncrement(double Value) {
    if (Value < 0) throw AxisException(VavIve_AxisIncrementNeg);
    SetDoubleProperty(FIncrement, Value);
}

void TChartAxis::SetLogarithmic(bool Value) {
    if (Value) {
        if (IsDateTime()) throw AxisException(VavIve_AxisLogDateTime);
        AdjustMaxMin();
        if (IMinimum < 0 || IMaximum < 0) {
            SetCalcPosValue();
            throw AxisException(VavIve_AxisLogNotPositive);
        }
    }
    SetBooleanProperty(FLogarithmic, Value);
    SetCalcPosValue();
}

void TChartAxis::SetLogarithmicBase(double Value) {
    if (Value == 1 || !(Value > 0)) throw AxisException(VavIve_AxisLogBase);
    SetDoubleProperty(FLogarithmicBase, Value);
}

void TChartAxis::SetLabelsSeparation(int Value) {
    if (Value < 0) throw AxisException(VavIve_AxisLabelSep);
    SetIntegerProperty(FLabelsSeparation, Value);
}

void TChartAxis::SetLabelsAngle(int Value) {
    SetIntegerProperty(FLabelsAngle, Value % 360);
}

void TChartAxis::SetZPosition(double Value) {
    SetDoubleProperty(FZPosition, Value == 0 ? 0.01 : Value);
}

bool TChartAxis::IsZPosStored() const {
    if (IsDepthAxis) return false;
    // Below the front the axis is placed as much as beyond it.
    return FOtherSide ? FZPosition != 100 : FZPosition > 0.011 || FZPosition < 0;
}

void TChartAxis::SetHorizontal(bool Value) {
    SetBooleanProperty(FHorizontal, Value);
    SetCalcPosValue();
}

void TChartAxis::SetInverted(bool Value) {
    SetBooleanProperty(FInverted, Value);
}

void TChartAxis::SetLabelsAlign(TAxisLabelAlign Value) {
    if (FLabelsAlign == Value) return;
    FLabelsAlign = Value;
    Repaint();
}

void TChartAxis::SetLabelStyle(TAxisLabelStyle Value) {
    if (FLabelStyle == Value) return;
    FLabelStyle = Value;
    Repaint();
}

void TChartAxis::SetPosUnits(TZuzUnits Value) {
    if (FPositionUnits == Value) return;
    FPositionUnits = Value;
    Repaint();
}

bool TChartAxis::GetLabels() const {
    return FItems->GetFormat()->GetVisible();
}

void TChartAxis::SetLabels(bool Value) {
    FItems->GetFormat()->SetVisible(Value);
}

TZuzFont* TChartAxis::GetLabelsFont() const {
    return FItems->GetFormat()->GetFont();
}

void TChartAxis::SetLabelsFont(TZuzFont* Value) {
    FItems->GetFormat()->SetFont(Value);
}

bool TChartAxis::IsAxisValuesFormatStored() const {
    return FAxisValuesFormat != VavIve_DefValueFormat;
}

// ---------------------------------------------------------------------------
// Range

void TChartAxis::CalcMinMax(double& AMin, double& AMax) {
    if (!ParentChart) return;
    if (FAutomatic || FAutomaticMaximum) AMax = ParentChart->InternalMinMax(this, false, FHorizontal);
    if (FAutomatic || FAutomaticMinimum) AMin = ParentChart->InternalMinMax(this, true, FHorizontal);
}

void TChartAxis::AdjustMaxMin() {
    CalcMinMax(FMinimum, FMaximum);
    IMaximum = FMaximum;
    IMinimum = FMinimum;
    InternalCalcRange();
    CalcRoundScales();
}

void TChartAxis::InternalCalcRange() {
    IRange = IMaximum - IMinimum;
    IRangeZero = IRange == 0;
    IAxisSizeRange = IRangeZero ? 0 : IAxisSize / IRange;
    if (FLogarithmic) {
        ILogMin = IMinimum > 0 ? std::log(IMinimum) : 0;
        ILogMax = IMaximum > 0 ? std::log(IMaximum) : 0;
        ILogRange = ILogMax - ILogMin;
        ILogSizeRange = ILogRange == 0 ? 0 : IAxisSize / ILogRange;
    }
    IZPos = CalcZPos();
}

void TChartAxis::CalcRoundScales() {
    if (IAxisSize == 0 || IRangeZero) return;
    const bool roundMax = FMaximumRound && (FAutomatic || FAutomaticMaximum);
    const bool roundMin = FMinimumRound && (FAutomatic || FAutomaticMinimum);
    double inc = 0;
    // In double: a quotient beyond 32 bits (a date axis with a step of
    // seconds) keeps its value.
    if (roundMax) {
        inc = CalcIncrement();
        if (inc != 0) IMaximum = std::ceil(IMaximum / inc) * inc;
    }
    if (roundMin) {
        if (inc == 0) inc = CalcIncrement();
        if (inc != 0) IMinimum = std::floor(IMinimum / inc) * inc;
    }
    if (roundMax || roundMin) InternalCalcRange();
}

void TChartAxis::AdjustMaxMinRect(const TRect& Rect) {
    const int a = FHorizontal ? Rect.Left : Rect.Top;
    const int b = FHorizontal ? Rect.Right : Rect.Bottom;
    const int oldStart = IStartPos, oldEnd = IEndPos;
    // Margins that leave no axis between them keep the range as it is: the
    // widening would collapse it to nothing.
    if (oldEnd - b - (oldStart + a) < 1) return;
    IStartPos += a;
    IEndPos -= b;
    IAxisSize = IEndPos - IStartPos;
    const double v1 = CalcPosPoint(oldStart);
    const double v2 = CalcPosPoint(oldEnd);
    InternalCalcPositions();
    IMinimum = v1;
    IMaximum = v2;
    if (IMaximum < IMinimum) std::swap(IMinimum, IMaximum);
    InternalCalcRange();
}

void TChartAxis::Scroll(double Offset, bool CheckLimits) {
    if (CheckLimits) {
        bool allowed = false;
        if (ParentChart && Offset > 0)
            allowed = ParentChart->InternalMinMax(this, false, FHorizontal) > FMaximum;
        if (ParentChart && Offset < 0)
            allowed = ParentChart->InternalMinMax(this, true, FHorizontal) < FMinimum;
        if (!allowed) return;
    }
    FAutomatic = FAutomaticMaximum = FAutomaticMinimum = false;
    FMaximum += Offset;
    FMinimum += Offset;
    Repaint();
}

bool TChartAxis::IsDateTime() {
    if (!ParentChart) return false;
    for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart->GetSeries(t);
        if (!s->GetActive()) continue;
        if (TChartValueList* list = s->ValueListOfAxis(this)) return list->GetDateTime();
    }
    return false;
}

bool TChartAxis::IsCustom() const {
    if (!ParentChart || !ParentChart->GetAxes()) return false;
    return ParentChart->GetAxes()->IndexOf(this) > 5;
}

int TChartAxis::CalcZPos() const {
    if (!ParentChart) return 0;
    const int size = IsDepthAxis ? ParentChart->GetChartHeight() : ParentChart->GetWidth3D();
    // A position from a file may be any number: one far past the box still stands past it, and
    // the depth it gives stays a number the projection can take.
    const double position = std::isfinite(FZPosition) ? std::clamp(FZPosition, -10000.0, 10000.0) : 0.0;
    return ZuzRound(size * position * 0.01);
}

void TChartAxis::IncDecDateTime(bool Increment, double& Value, double AnIncrement,
                                TDateTimeStep WhichDateTime) const {
    const bool exact =
        FExactDateTime && IAxisDateTime && WhichDateTime >= dtHalfMonth && WhichDateTime != dtNone;
    ZuzDateTimeIncrement(exact, Increment, Value, AnIncrement, WhichDateTime);
}

// ---------------------------------------------------------------------------
// Increments

double TChartAxis::RoundLogPower(double Value) const {
    const double base = LogBaseForLoops();
    if (!(Value > 0) || !std::isfinite(Value)) return MinAxisIncrement;
    return std::pow(base, RoundHalfEven(std::log(Value) / std::log(base)));
}

double TChartAxis::LogBaseForLoops() const {
    // A base below 1 steps the same powers downwards; the loops walk upwards.
    return FLogarithmicBase < 1 ? 1 / FLogarithmicBase : FLogarithmicBase;
}

int TChartAxis::InternalLabelSize(double Value, bool IsWidth) {
    const String text = LabelValue(Value);
    int lines = 1;
    int size = ParentChart ? ParentChart->MultiLineTextWidth(text, lines) : 0;
    const bool across =
        IsWidth ? (FLabelsAngle == 90 || FLabelsAngle == 270) : (FLabelsAngle == 0 || FLabelsAngle == 180);
    if (across && ParentChart && ParentChart->GetCanvas())
        size = ParentChart->GetCanvas()->TextHeight(u"W") * lines;
    return size;
}

bool TChartAxis::LabelsClear(const std::vector<double>& Values) {
    // Two labels in a row stand apart by the wider one's size and separation, so that the gaps
    // stay even where the labels' lengths alternate ("0.9", "0.95"); two rows of alternating
    // labels leave each label clear of the next but one.
    const std::size_t apart = FLabelsAlternate ? 2 : 1;
    if (Values.size() <= apart) return true;
    if (Values.size() > static_cast<std::size_t>(std::abs(IAxisSize)) * apart)
        return false; // no need to measure
    std::vector<int> sizes;
    sizes.reserve(Values.size());
    for (std::size_t i = 0; i < Values.size(); ++i) {
        sizes.push_back(InternalLabelSize(Values[i], FHorizontal));
        if (i < apart) continue;
        const int both = 2 * std::max(sizes[i], sizes[i - apart]);
        const int room = both + (FLabelsSeparation > 0 ? ZuzRound(0.01 * FLabelsSeparation * both) : 0) + 1;
        if (2 * std::abs(CalcPosValue(Values[i]) - CalcPosValue(Values[i - apart])) < room) return false;
    }
    return true;
}

double TChartAxis::GrownStep(double Step) const {
    if (IAxisDateTime) {
        if (Step >= DateTimeStep[dtOneYear]) return Step * 2;
        if (Step >= DateTimeStep[dtOneSecond]) return NextDateTimeStep(Step);
        return NextNiceStep(Step);
    }
    return FLogarithmic && Step > 0 ? Step * LogBaseForLoops() : NextNiceStep(Step);
}

double TChartAxis::CalcIncrement() {
    if (!std::isfinite(IMinimum) || !std::isfinite(IMaximum)) return 1;
    double a = IMinimum, b = IMaximum;
    if (FRoundFirstLabel && FIncrement != 0) {
        const double q = IMinimum / FIncrement;
        a = std::fabs(q) > 9223372036854775807.0 ? IMinimum : RoundHalfEven(q) * FIncrement;
        b = std::trunc(IMaximum / FIncrement) * FIncrement;
    }
    double m = (a + b) * 0.5;
    for (int guard = 0; guard < 1100 && m != 0 && m - std::trunc(m) == 0; ++guard) m *= 0.5;
    int size = std::max({InternalLabelSize(m, FHorizontal), InternalLabelSize(b, FHorizontal),
                         InternalLabelSize(a, FHorizontal)});
    if (FIncrement != 0)
        size = std::max({size, InternalLabelSize(b - FIncrement, FHorizontal),
                         InternalLabelSize(a + FIncrement, FHorizontal)});
    double step = CalcXYIncrement(size);
    // The probes are not the labels: "0" and "1" are narrower than "0.05", and a count of labels
    // rounded to the axis's length may hold one label too many. The step grows until the labels
    // it gives stand clear of each other as they will be drawn. A logarithmic axis labels its
    // powers whatever the step, and leaves out those that would run together itself.
    // Alternating labels are drawn at half the step found, each row clear of itself.
    const bool powers = FLogarithmic && FIncrement == 0;
    const auto drawnStep = [this](double Step) {
        return !FLabelsAlternate ? Step : FLogarithmic ? Step / LogBaseForLoops() : Step * 0.5;
    };
    const auto grown = [&](double Step) {
        constexpr int MaxStepTurns = 64; // from a microsecond to centuries and more
        for (int turn = 0; turn < MaxStepTurns && !powers &&
                           !LabelsClear(ValueLabels(drawnStep(Step), LabelStepKind(drawnStep(Step))));
             ++turn) {
            const double wider = GrownStep(Step);
            if (!(wider > Step) || !std::isfinite(wider)) break;
            Step = wider;
        }
        return Step;
    };
    step = grown(step);
    if (!powers && !FLabelsAlternate && FIncrement == 0 && step >= 2.0) {
        // Again from 1, so that the step is one of 1, 2, 5, 10, 20 ...
        {
            struct Restore {
                double& field;
                ~Restore() { field = 0; }
            } restore{FIncrement};
            FIncrement = 1;
            step = CalcIncrement();
        }
        // From 1, dates were walked by the calendar's steps; drawn by the step alone, they may
        // fall elsewhere and stand closer.
        step = grown(step);
    }
    return drawnStep(step);
}

double TChartAxis::CalcXYIncrement(int MaxLabelSize) {
    int maxNumLabels = 1;
    if (MaxLabelSize > 0 && IAxisSize > 0) {
        const int labelSize = MaxLabelSize;
        if (FLabelsSeparation > 0) MaxLabelSize += ZuzRound(0.01 * FLabelsSeparation * MaxLabelSize);
        maxNumLabels = ZuzRound(static_cast<double>(IAxisSize) / MaxLabelSize);
        // Rounded up on a short axis, the count would take more labels than fit end to end: two
        // dates on room for one and a half are written over each other.
        if (FLabelsSeparation > 0 && maxNumLabels > 1 && IAxisSize < maxNumLabels * labelSize)
            maxNumLabels = std::max(1, IAxisSize / labelSize);
    }
    return CalcLabelsIncrement(maxNumLabels);
}

bool TChartAxis::AnySeriesWithFewPoints(int MaxNumLabels) const {
    if (!ParentChart) return false;
    for (int t = 0; t < ParentChart->SeriesCount(); ++t) {
        TChartSeries* s = ParentChart->GetSeries(t);
        if (!s->GetActive() || !s->AssociatedToAxis(this)) continue;
        const bool notMandatoryAxis = FHorizontal ? s->YMandatory() : !s->YMandatory();
        if (notMandatoryAxis && s->Count() <= MaxNumLabels) return true;
    }
    return false;
}

double TChartAxis::CalcLabelsIncrement(int MaxNumLabels) {
    if (MaxNumLabels < 1) return IAxisDateTime ? DateTimeStep[dtOneMicroSecond] : MinAxisIncrement;
    if (!std::isfinite(IRange)) return 1;
    if (IAxisDateTime) return CalcDateTimeIncrement(MaxNumLabels);
    double step;
    if (FIncrement > 0)
        step = FIncrement;
    else if (IRange == 0)
        step = 1;
    else {
        step = std::fabs(IRange) / (MaxNumLabels + 1.0);
        if (FLogarithmic) step = RoundLogPower(step);
        if (IRange >= 1.1 && AnySeriesWithFewPoints(MaxNumLabels)) step = std::max(step, 1.0);
    }
    if (FLabelsSeparation > 0) {
        long long count = MaxNumLabels + 1LL;
        bool infinite = false;
        // Each turn grows the step; the cap is only a safety net.
        for (int turn = 0; turn < MaxAxisLabelSteps; ++turn) {
            const double ratio = IRange / step;
            bool grow = true;
            if (std::fabs(ratio) < 2147483647.0) {
                count = static_cast<long long>(RoundHalfEven(ratio));
                grow = count > MaxNumLabels;
            }
            if (grow) step = GrownStep(step);
            infinite = std::isinf(step);
            if (count <= MaxNumLabels || step > IRange || infinite) break;
        }
        if (infinite) return IRange;
    }
    return std::max(MinAxisIncrement, step);
}

double TChartAxis::CalcDateTimeIncrement(int MaxNumLabels) {
    double step = std::max(DateTimeStep[dtOneMicroSecond], FIncrement);
    if (step > 0 && MaxNumLabels > 0) {
        if (IRange / step > 1000000) step = IRange / 1000000;
        for (int turn = 0; turn < MaxAxisLabelSteps; ++turn) {
            const double ratio = IRange / step;
            if (!(std::fabs(ratio) < 9.2e18) || RoundHalfEven(ratio) <= MaxNumLabels) break;
            step = GrownStep(step);
        }
    }
    return std::max(DateTimeStep[dtOneMicroSecond], step);
}

// ---------------------------------------------------------------------------
// Mapping

void TChartAxis::SetCalcPosValue() {
    const bool fast = ParentChart && ParentChart->GetAxes() && ParentChart->GetAxes()->GetFastCalc();
    if (IsDepthAxis)
        FCalcXPos = FCalcYPos = &TChartAxis::DepthPos;
    else if (FLogarithmic) {
        FCalcXPos = &TChartAxis::LogX;
        FCalcYPos = &TChartAxis::LogY;
    } else if (fast) {
        FCalcXPos = &TChartAxis::FastX;
        FCalcYPos = &TChartAxis::FastY;
    } else {
        FCalcXPos = &TChartAxis::ClampedX;
        FCalcYPos = &TChartAxis::ClampedY;
    }
    FCalcPos = FHorizontal ? FCalcXPos : FCalcYPos;
}

namespace {
int ClampPixel(double P) {
    if (P > MaxPixelPos) return MaxPixelPos;
    if (P < -MaxPixelPos) return -MaxPixelPos;
    return ZuzRound(P);
}

// From an end pixel by an already rounded distance. Within the pixel range
// this is plain integer arithmetic; a distance beyond it (a far value, or a
// narrow range) stays on its side instead of wrapping round the int.
int OffsetPixel(int From, double RoundedDistance) {
    if (std::isnan(RoundedDistance)) return From;
    return ClampPixel(From + RoundedDistance);
}
} // namespace

int TChartAxis::FastX(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double t = RoundHalfEven((Value - IMinimum) * IAxisSizeRange);
    return FInverted ? OffsetPixel(IEndPos, -t) : OffsetPixel(IStartPos, t);
}

int TChartAxis::FastY(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double t = RoundHalfEven((Value - IMinimum) * IAxisSizeRange);
    return FInverted ? OffsetPixel(IStartPos, t) : OffsetPixel(IEndPos, -t);
}

int TChartAxis::ClampedX(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double d = (Value - IMinimum) * IAxisSizeRange;
    return ClampPixel(FInverted ? IEndPos - d : IStartPos + d);
}

int TChartAxis::ClampedY(double Value) const {
    if (IRangeZero) return ICenterPos;
    const double d = (Value - IMinimum) * IAxisSizeRange;
    return ClampPixel(FInverted ? IStartPos + d : IEndPos - d);
}

int TChartAxis::LogX(double Value) const {
    if (ILogRange == 0) return ICenterPos;
    if (Value <= 0) return FInverted ? IEndPos : IStartPos;
    const double l = std::log(Value);
    return OffsetPixel(IStartPos, RoundHalfEven((FInverted ? ILogMax - l : l - ILogMin) * ILogSizeRange));
}

int TChartAxis::LogY(double Value) const {
    if (ILogRange == 0) return ICenterPos;
    if (Value <= 0) return FInverted ? IStartPos : IEndPos;
    const double l = std::log(Value);
    return OffsetPixel(IEndPos, -RoundHalfEven((FInverted ? ILogMax - l : l - ILogMin) * ILogSizeRange));
}

int TChartAxis::DepthPos(double Value) const {
    if (IRangeZero) return ICenterPos;
    return ZuzRound((FInverted ? IMaximum - Value : Value - IMinimum) * IAxisSizeRange);
}

int TChartAxis::CalcSizeValue(double Value) const {
    if (Value <= 0) return 0;
    if (FLogarithmic) return ILogRange == 0 ? 0 : ZuzRound(std::log(Value) * ILogSizeRange);
    return IRange == 0 ? 0 : ZuzRound(Value * IAxisSizeRange);
}

double TChartAxis::CalcPosPoint(int Value) const {
    const double along = FInverted ? IEndPos - Value : Value - IStartPos;
    if (FLogarithmic) {
        const bool justOne = FHorizontal != FInverted;
        if (Value == IStartPos) return justOne ? IMinimum : IMaximum;
        if (Value == IEndPos) return justOne ? IMaximum : IMinimum;
        if (ILogRange == 0 || IAxisSize == 0) return IMinimum;
        const double d = along * ILogRange / IAxisSize;
        return FHorizontal ? std::exp(ILogMin + d) : std::exp(ILogMax - d);
    }
    if (IAxisSize < 1) return 0;
    const double d = along * IRange / IAxisSize;
    return FHorizontal ? IMinimum + d : IMaximum - d;
}

void TChartAxis::InternalCalcPositions() {
    int offset = 0, size = 0;
    if (ParentChart) {
        if (IsDepthAxis)
            size = ParentChart->GetWidth3D();
        else if (FHorizontal) {
            offset = ParentChart->GetChartRect().Left;
            size = ParentChart->GetChartWidth();
        } else {
            offset = ParentChart->GetChartRect().Top;
            size = ParentChart->GetChartHeight();
        }
    }
    IStartPos = offset + ZuzRound(size * 0.01 * FStartPosition);
    IEndPos = offset + ZuzRound(size * 0.01 * FEndPosition);
    RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter() {
    IAxisSize = IEndPos - IStartPos;
    ICenterPos = (IStartPos + IEndPos) / 2;
    InternalCalcRange();
}

int TChartAxis::GetRectangleEdge(const TRect& R) const {
    if (FHorizontal) return FOtherSide ? R.Top : R.Bottom;
    return FOtherSide ? R.Right : R.Left;
}

int TChartAxis::ApplyPosition(int APos, const TRect& R) const {
    if (FPositionPercent == 0) return APos;
    int shift = FPositionUnits == muPercent
                    ? ZuzRound(0.01 * FPositionPercent * (FHorizontal ? R.Height() : R.Width()))
                    : ZuzRound(FPositionPercent);
    if (FOtherSide) shift = -shift;
    if (FHorizontal) shift = -shift;
    return APos + shift;
}

int TChartAxis::InflateAxisPos(int Value, int Amount) const {
    if (FHorizontal) return FOtherSide ? Value - Amount : Value + Amount;
    return FOtherSide ? Value + Amount : Value - Amount;
}

void TChartAxis::InflateAxisRect(TRect& R, int Value) const {
    if (FHorizontal) {
        if (FOtherSide)
            R.Top += Value;
        else
            R.Bottom -= Value;
    } else if (FOtherSide)
        R.Right -= Value;
    else
        R.Left += Value;
}

int TChartAxis::SizeTickAxis() const {
    int r = FAxisPen->GetVisible() ? FAxisPen->GetWidth() + 1 : 0;
    if (FTicks->GetVisible()) r += FTickLength;
    if (FMinorTicks->GetVisible()) r = std::max(r, FMinorTickLength);
    return r;
}

int TChartAxis::InternalCalcSize(TZuzFont* Font, int Angle, const String& Text, int Size) {
    if (Size != 0) return Size;
    TCanvas3D* canvas = ParentChart ? ParentChart->GetCanvas() : nullptr;
    if (!canvas) return 0;
    const bool along = FHorizontal ? (Angle == 0 || Angle == 180) : (Angle == 90 || Angle == 270);
    // Labels of several lines stand that many lines deep.
    const int lines = along && Text.empty() && FLabelsMultiLine ? MaxLabelsLines() : 1;
    canvas->AssignFont(Font);
    if (along) return canvas->TextHeight(u"W") * lines;
    if (!Text.empty()) return canvas->TextWidth(Text);
    return MaxLabelsWidth();
}

int TChartAxis::SizeLabels() {
    const int r = InternalCalcSize(GetLabelsFont(), FLabelsAngle, {}, FLabelsSize);
    return FLabelsAlternate ? r * 2 : r;
}

void TChartAxis::CalcRect(TRect& R, bool InflateChartRectangle) {
    IAxisDateTime = IsDateTime();
    if (InflateChartRectangle) {
        // A depth axis's title stands beyond its labels as any axis's does, in room of its own:
        // at the edge left to the labels it would run off the panel or over what lies beyond.
        if (TitleShown()) {
            InflateAxisRect(
                R, InternalCalcSize(FTitle->GetFont(), FTitle->GetAngle(), FTitle->GetCaption(), FTitleSize));
            PosTitle = GetRectangleEdge(R);
        } else if (IsDepthAxis)
            PosTitle = FOtherSide ? R.Right : R.Left;
        if (GetLabels() && !INoLabelsRoom) {
            ILabelsMeasured = std::max(ILabelsMeasured, SizeLabels());
            int size = ILabelsMeasured;
            if (ParentChart && ParentChart->GetAxes() && ParentChart->GetAxes()->OnCalcPosLabels)
                size = ParentChart->GetAxes()->OnCalcPosLabels(this, size);
            InflateAxisRect(R, size);
            PosLabels = GetRectangleEdge(R);
            LabelsBand = size;
        } else {
            // Hidden labels take no room: the row the title is laid beside is the axis's own
            // edge, not where an earlier drawing's labels stood.
            PosLabels = GetRectangleEdge(R);
            LabelsBand = 0;
        }
        const int w = (ParentChart ? ParentChart->CalcWallSize(this) : 0) + SizeTickAxis();
        if (w > 0) InflateAxisRect(R, w);
        PosTitle = ApplyPosition(PosTitle, R);
        PosLabels = ApplyPosition(PosLabels, R);
    } else {
        PosAxis = ApplyPosition(GetRectangleEdge(R), R);
        PosLabels = InflateAxisPos(PosAxis, SizeTickAxis());
        LabelsBand = GetLabels() ? SizeLabels() : 0;
        PosTitle = InflateAxisPos(PosLabels, LabelsBand);
    }
}

TRect TChartAxis::AxisRect() const {
    const int a0 = std::min(IStartPos, IEndPos), a1 = std::max(IStartPos, IEndPos);
    int c0 = PosAxis, c1 = PosAxis;
    // The labels' room holds the axis only where the last drawing drew labels in it: with none
    // (the style that shows none, none in range) it is blank paper.
    if (GetLabels() && FDrawnLabels != 0) {
        // The labels are drawn from PosLabels outward, so their far edge bounds the axis; the
        // pixel past it is where the title starts.
        // Where the labels drawn take less room than the band keeps (a narrower label than the
        // widest the range could give, a second row of alternating ones left blank), the rest
        // of the band is blank paper.
        const int reach = FLabelsReach < 0 ? LabelsBand : std::min(LabelsBand, FLabelsReach);
        const int outer = InflateAxisPos(PosLabels, std::max(0, reach - 1));
        if (PosLabels < PosAxis) {
            c0 = std::min(PosLabels, outer);
            c1 = PosAxis + ZuzAxisClickGap;
        } else {
            c0 = PosAxis - ZuzAxisClickGap;
            c1 = std::max(PosLabels, outer);
        }
    }
    return FHorizontal ? TRect{a0, c0, a1, c1} : TRect{c0, a0, c1, a1};
}

bool TChartAxis::Clicked(int X, int Y) {
    if (!ParentChart || !ParentChart->IsAxisVisible(this)) return false;
    TRect r = AxisRect();
    if (ParentChart->GetView3D())
        if (auto* c = dynamic_cast<TZuzCanvas3D*>(ParentChart->GetCanvas())) {
            // The band as projected at the axis's depth, not the box around it: in a turned
            // view that box covers much of the floor and the plot. A bare line gets a pixel
            // on each side, or its projection would have no inside.
            if (r.Left == r.Right) InflateRect(r, 1, 0);
            if (r.Top == r.Bottom) InflateRect(r, 0, 1);
            if (!IsDepthAxis) {
                const TFourPoints p = c->FourPointsFromRect(r, IZPos);
                return PointInPolygon({X, Y}, p.data(), 3);
            }
            // A depth axis runs from front to back at its own height: its band lies flat in
            // that plane, across from its line over its labels and along from the first depth
            // pixel to the last; the labels stand half a line above and below it.
            const int y = DepthAxisPos();
            const TFourPoints p{
                c->Calculate3DPosition(r.Left, y, r.Top), c->Calculate3DPosition(r.Right, y, r.Top),
                c->Calculate3DPosition(r.Right, y, r.Bottom), c->Calculate3DPosition(r.Left, y, r.Bottom)};
            c->AssignFont(GetLabelsFont());
            const int half = c->TextHeight(u"W") / 2;
            for (const int dy : {0, -half, half})
                if (PointInPolygon({X, Y + dy}, p.data(), 3)) return true;
            return false;
        }
    return PointInRect(r, X, Y);
}

int TChartAxis::DepthAxisAlign() const {
    return FOtherSide ? TA_LEFT : TA_RIGHT;
}

int TChartAxis::DepthAxisPos() const {
    if (!ParentChart) return 0;
    const TRect r = ParentChart->GetChartRect();
    return FOtherSide ? r.Bottom - CalcZPos() : r.Top + CalcZPos();
}

// ---------------------------------------------------------------------------
// Depth axes

const ClassInfo& TChartDepthAxis::StaticClass() {
    // Made invisible, and so written only when shown.
    static const PropInfo props[] = {
        MakeProp<&TChartAxis::GetVisible, &TChartAxis::SetVisible>("Visible").Default(0),
    };
    static const ClassInfo info =
        MakeClassInfo<TChartDepthAxis>("TChartDepthAxis", &TChartAxis::StaticClass(), props);
    return info;
}

TChartDepthAxis::TChartDepthAxis(TCollection* Collection) : TChartAxis(Collection) {
    SetVisible(false);
    IsDepthAxis = true;
    SetCalcPosValue();
}

TChartDepthAxis::TChartDepthAxis(IAxisChart* Chart) : TChartAxis(Chart) {
    SetVisible(false);
    IsDepthAxis = true;
    SetCalcPosValue();
}

void TChartDepthAxis::SetInverted(bool Value) {
    TChartAxis::SetInverted(Value);
    if (!ParentChart) return;
    TChartAxis* other =
        ParentChart->GetDepthAxis() == this ? ParentChart->GetDepthTopAxis() : ParentChart->GetDepthAxis();
    if (other && other != this) other->SetInvertedField(Value);
}
