// The circle of round series: its layout before the values are drawn, angle
// and radius conversions, the background circle, and the series' own 3D view.
#include "chart/series/series_circled.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzprocs.h"
#include "chart/engine/axispanel.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartwalls.h"
#include "platform/gui/forms.h"

#include <algorithm>
#include <cmath>
#include <numbers>

const ClassInfo& TCircledShadow::StaticClass() {
    using C = TCircledShadow;
    static const PropInfo props[] = {
        MakeProp<&C::GetColor, &C::SetColor>("Color").Default(0xA0A0A0),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCircledShadow", &TZuzShadow::StaticClass(), props);
    return info;
}

TCircledShadow::TCircledShadow(TNotifyEvent OnChangeEvent) : TZuzShadow(OnChangeEvent) {
    InitValues(static_cast<TColor>(0xA0A0A0), 3);
    SetColor(static_cast<TColor>(0xA0A0A0));
    SetSize(3);
}

const ClassInfo& TCircledSeries::StaticClass() {
    using C = TCircledSeries;
    static const PropInfo props[] = {
        MakeProp<&C::GetCircled, &C::SetCircled>("Circled").Default(0),
        MakeProp<&C::GetCustomXRadius, &C::SetCustomXRadius>("CustomXRadius").Default(0),
        MakeProp<&C::GetCustomYRadius, &C::SetCustomYRadius>("CustomYRadius").Default(0),
        MakeProp<&C::GetShadow, &C::SetShadow>("Shadow"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TCircledSeries", &TChartSeries::StaticClass(), props);
    return info;
}

TCircledSeries::TCircledSeries(TComponent* AOwner) : TChartSeries(AOwner) {
    CalcVisiblePoints = false;
    GetXValues()->SetName(u"Angle");
    TNotifyEvent changed;
    changed.Bind([this](TObject*) { Repaint(); });
    FCircleGradient.reset(Create<TZuzGradient>(changed));
    FShadow.reset(Create<TCircledShadow>(changed));
}

TCircledSeries::~TCircledSeries() = default;

void TCircledSeries::BeforeDestruction() {
    if (GetParentChart() && !GetParentChart()->ChartDestroying()) SetBackupProperties();
    FSaved3D.reset();
    TChartSeries::BeforeDestruction();
}

void TCircledSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TCircledSeries*>(Source)) {
        FCircled = s->FCircled;
        SetRotationAngle(s->FRotationAngle);
        FCustomXRadius = s->FCustomXRadius;
        FCustomYRadius = s->FCustomYRadius;
        FCircleBackColor = s->FCircleBackColor;
        FCircleGradient->Assign(s->FCircleGradient.get());
        FShadow->Assign(s->FShadow.get());
    }
    TChartSeries::Assign(Source);
}

TCustomAxisPanel* TCircledSeries::Panel() const {
    return GetParentChart() ? dynamic_cast<TCustomAxisPanel*>(GetParentChart()->ChartComponent()) : nullptr;
}

void TCircledSeries::SetCircled(bool Value) {
    SetBooleanProperty(FCircled, Value);
    ISeriesChart* chart = GetParentChart();
    if (!chart) return;
    for (int t = 0; t < chart->SeriesCount(); ++t)
        if (auto* s = dynamic_cast<TCircledSeries*>(chart->GetSeries(t)); s && InheritsFrom(s->ClassType())) {
            s->FCircled = Value;
            if (!s->GetComponentState().Contains(csLoading)) s->FCustomXRadius = s->FCustomYRadius = 0;
        }
}

// A fixed radius, to the editor's largest (0: from the chart's rectangle); the circle is twice it.
void TCircledSeries::SetCustomXRadius(int Value) {
    Value = std::clamp(Value, 0, 2000);
    SetIntegerProperty(FCustomXRadius, Value);
    if (ISeriesChart* chart = GetParentChart())
        for (int t = 0; t < chart->SeriesCount(); ++t)
            if (auto* s = dynamic_cast<TCircledSeries*>(chart->GetSeries(t));
                s && InheritsFrom(s->ClassType()))
                s->FCustomXRadius = Value;
}

void TCircledSeries::SetCustomYRadius(int Value) {
    Value = std::clamp(Value, 0, 2000);
    SetIntegerProperty(FCustomYRadius, Value);
    if (ISeriesChart* chart = GetParentChart())
        for (int t = 0; t < chart->SeriesCount(); ++t)
            if (auto* s = dynamic_cast<TCircledSeries*>(chart->GetSeries(t));
                s && InheritsFrom(s->ClassType()))
                s->FCustomYRadius = Value;
}

void TCircledSeries::SetRotationAngle(int Value) {
    FRotationAngle = Value % 360;
    FRotationRadians = FRotationAngle * std::numbers::pi / 180;
    Repaint();
}

void TCircledSeries::SetCircleGradient(TZuzGradient* Value) {
    FCircleGradient->Assign(Value);
}

TColor TCircledSeries::CalcCircleBackColor() const {
    if (FCircleBackColor != clZuzColor) return FCircleBackColor;
    TCustomAxisPanel* p = Panel();
    if (p && p->GetPrinting()) return clWhite;
    // The circle stands on the back wall where that one is painted.
    if (auto* chart = dynamic_cast<TCustomChart*>(p))
        if (const TChartBackWall* wall = chart->GetBackWall(); wall && !wall->GetTransparent()) {
            const TColor color = wall->GetColor();
            if (color != clZuzColor) return color;
        }
    return GetParentChart() ? GetParentChart()->GetChartColor() : clWhite;
}

void TCircledSeries::PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {
    BackColor = CalcCircleBackColor();
}

// ---------------------------------------------------------------------------
// Geometry

void TCircledSeries::AngleToPos(double Angle, double AXRadius, double AYRadius, int& X, int& Y) const {
    const double a = Angle + FRotationRadians;
    X = CircleXCenter + static_cast<int>(Round(std::cos(a) * AXRadius));
    Y = CircleYCenter - static_cast<int>(Round(std::sin(a) * AYRadius));
}

double TCircledSeries::PointToAngle(int X, int Y) const {
    constexpr double pi = std::numbers::pi;
    double result;
    if (X == CircleXCenter)
        result = Y <= CircleYCenter ? pi / 2 : -pi / 2;
    else if (XRadius == 0 || YRadius == 0)
        result = 0;
    else
        result = std::atan2(static_cast<double>(CircleYCenter - Y) / YRadius,
                            static_cast<double>(X - CircleXCenter) / XRadius);
    if (result < 0) result += 2 * pi;
    result -= FRotationRadians;
    if (result < 0) result += 2 * pi;
    return result;
}

double TCircledSeries::PointToRadius(int X, int Y) const {
    TChartAxis* axis = GetVertAxisObject();
    const double lo = axis ? axis->GetMinimum() : 0;
    // A circle of no size maps every point to the minimum.
    if (XRadius == 0 || YRadius == 0) return lo;
    const double r = axis ? axis->GetMaximum() - lo : 0;
    const double dx = static_cast<double>(X - CircleXCenter) * r / XRadius;
    const double dy = static_cast<double>(Y - CircleYCenter) * r / YRadius;
    return std::sqrt(dx * dx + dy * dy) + lo;
}

void TCircledSeries::AdjustCircleRect() {
    TRect& r = CircleRect;
    if ((r.Right - r.Left) % 2 != 0) --r.Right;
    if ((r.Bottom - r.Top) % 2 != 0) --r.Bottom;
    if (r.Right - r.Left < 4) r.Right = r.Left + 4;
    if (r.Bottom - r.Top < 4) r.Bottom = r.Top + 4;
    CircleWidth = r.Right - r.Left;
    CircleHeight = r.Bottom - r.Top;
    CircleXCenter = r.Left + CircleWidth / 2;
    CircleYCenter = r.Top + CircleHeight / 2;
}

void TCircledSeries::CalcRadius() {
    if (FCustomXRadius != 0) {
        XRadius = FCustomXRadius;
        CircleWidth = 2 * XRadius;
    } else {
        XRadius = CircleWidth >> 1;
    }
    if (FCustomYRadius != 0) {
        YRadius = FCustomYRadius;
        CircleHeight = 2 * YRadius;
    } else {
        YRadius = CircleHeight >> 1;
    }
    CircleRect = TRect(CircleXCenter - XRadius, CircleYCenter - YRadius, CircleXCenter + XRadius,
                       CircleYCenter + YRadius);
}

void TCircledSeries::AdjustScreenRatio(double K, int XRadius, int YRadius, TRect& R) {
    if (!(K > 0) || !std::isfinite(K)) K = 1; // a device without a size keeps the circle as it is
    const int ky = static_cast<int>(Round(YRadius * K));
    if (XRadius > ky) {
        const int d = XRadius - ky;
        R.Left += d;
        R.Right -= d;
    } else {
        const int d = YRadius - static_cast<int>(Round(XRadius * 1.0 / K));
        R.Top += d;
        R.Bottom -= d;
    }
}

void TCircledSeries::DoBeforeDrawValues() {
    TChartSeries::DoBeforeDrawValues();
    ISeriesChart* chart = GetParentChart();
    if (!chart) return;
    CircleRect = chart->GetChartRect();
    AdjustCircleRect();
    TSeriesMarks* marks = GetMarks();
    TCanvas3D* c = Canvas();
    if (marks->GetVisible() && c) {
        int m = marks->GetCallout()->GetLength();
        if (marks->GetFrame()->GetVisible()) m += 2 * marks->GetFrame()->GetWidth();
        c->AssignFont(marks->GetFont());
        const int v = c->GetFontHeight() + m;
        // Room for the widest mark of any series, so that pies sharing the
        // chart keep their marks inside it.
        TCustomAxisPanel* p = Panel();
        const int widest = p ? p->MaxMarkWidth() : MaxMarkWidth();
        c->AssignFont(marks->GetFont());
        const int h = c->TextWidth(u"W") + widest + m;
        CircleRect =
            TRect(CircleRect.Left + h, CircleRect.Top + v, CircleRect.Right - h, CircleRect.Bottom - v);
        AdjustCircleRect();
    } else {
        CheckOtherSeriesMarks();
    }
    KeepRound();
    CalcRadius();
}

void TCircledSeries::KeepRound() {
    TCanvas3D* c = Canvas();
    if (!FCircled || !c) return;
    CalcRadius();
    double k = Screen && Screen->GetHeight() > 0
                   ? static_cast<double>(Screen->GetWidth()) / Screen->GetHeight()
                   : 1.0;
    // A page is drawn in the panel's own pixels, which the printing maps onto the paper:
    // the screen's shape has nothing to say about them.
    const bool page =
        c->ReferenceCanvas && GetDeviceCaps(c->ReferenceCanvas->GetHandle(), TECHNOLOGY) == DT_RASPRINTER;
    const double ratio = c->ReferenceCanvas && !page ? ScreenRatio(c->ReferenceCanvas) : 0;
    if (page)
        k = 1;
    else if (ratio != 0)
        k /= ratio;
    AdjustScreenRatio(k, XRadius, YRadius, CircleRect);
    AdjustCircleRect();
}

void TCircledSeries::CheckOtherSeriesMarks() {
    ISeriesChart* chart = GetParentChart();
    if (!chart) return;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        auto* s = dynamic_cast<TCircledSeries*>(chart->GetSeries(t));
        if (!s || s == this || !s->GetActive() || !SameClass(s) || !s->GetMarks()->GetVisible()) continue;
        if (t > chart->SeriesIndexOf(this)) s->DoBeforeDrawValues();
        CircleRect = s->CircleRect;
        AdjustCircleRect();
        CalcRadius();
        return;
    }
}

void TCircledSeries::DrawCircleGradient() {
    TCanvas3D* c = Canvas();
    if (!c) return;
    const bool is3D = Is3D();
    if (is3D && !(c->View3DOptions && c->View3DOptions->GetOrthogonal())) return;
    TRect r(CircleXCenter - CircleWidth / 2, CircleYCenter - CircleHeight / 2,
            CircleXCenter + CircleWidth / 2, CircleYCenter + CircleHeight / 2);
    if (FShadow->GetVisible() && FShadow->GetSize() != 0) FShadow->DrawEllipse(c, r, EndZ);
    if (is3D) {
        const TPoint a = c->Calculate3DPosition(r.Left, r.Top, EndZ),
                     b = c->Calculate3DPosition(r.Right, r.Bottom, EndZ);
        r = TRect(a.X, a.Y, b.X, b.Y);
    }
    c->ClipEllipse(TRect(r.Left, r.Top, r.Right + 2, r.Bottom + 2), false);
    try {
        FCircleGradient->Draw(c, r);
    } catch (...) {
        c->UnClipRectangle();
        throw;
    }
    c->UnClipRectangle();
}

// ---------------------------------------------------------------------------
// The series' own 3D view

// The chart's own view is kept by one circled series at a time: the first that set the chart its
// view. Another that joins finds the view already set, and one that leaves while others stay
// hands the chart's own view on to them, so the chart gets it back only when the last one leaves.
TCircledSeries* TCircledSeries::OtherCircled(bool Keeper) const {
    ISeriesChart* chart = GetParentChart();
    if (!chart) return nullptr;
    for (int t = 0; t < chart->SeriesCount(); ++t) {
        auto* s = dynamic_cast<TCircledSeries*>(chart->GetSeries(t));
        if (!s || s == this) continue;
        if (Keeper ? s->FSaved3D != nullptr
                   : s->GetActive() && !s->GetComponentState().Contains(csDestroying))
            return s;
    }
    return nullptr;
}

void TCircledSeries::SetBackupProperties() {
    if (!FSaved3D) return;
    if (TCircledSeries* heir = OtherCircled(false)) {
        heir->FSaved3D = std::move(FSaved3D);
        return;
    }
    TCustomAxisPanel* p = Panel();
    if (p && p->GetView3DOptions()) p->GetView3DOptions()->Assign(FSaved3D.get());
    FSaved3D.reset();
}

void TCircledSeries::SetParentProperties(bool EnableParentProps) {
    ISeriesChart* chart = GetParentChart();
    TCustomAxisPanel* p = Panel();
    if (!chart || !p || chart->ChartDestroying() || !p->GetView3DOptions()) return;
    if (TCanvas3D* c = Canvas(); c && c->GetSupportsFullRotation()) return;
    const bool destroying = GetComponentState().Contains(csDestroying);
    if (EnableParentProps && (!GetActive() || destroying)) {
        SetBackupProperties();
    } else if (!FSaved3D && !OtherCircled(true)) {
        FSaved3D.reset(Create<TView3DOptions>());
        FSaved3D->Assign(p->GetView3DOptions());
        // A chart being read already holds the view it was saved with, which
        // was this series' own or what the operator made of it.
        if (!p->GetComponentState().Contains(csLoading)) InitCustom3DOptions();
    }
}

void TCircledSeries::SetActive(bool Value) {
    TChartSeries::SetActive(Value);
    SetParentProperties(!GetActive());
}

void TCircledSeries::SetParentChart(ISeriesChart* Value) {
    if (!Value && GetParentChart() && !GetParentChart()->ChartDestroying()) SetBackupProperties();
    const ISeriesChart* old = GetParentChart();
    TChartSeries::SetParentChart(Value);
    if (Value && Value != old) SetParentProperties(false);
}
