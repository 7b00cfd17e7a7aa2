// The Gantt series: task bars between start and end, the connecting lines
// to the next task, marks over the bar's middle, the click on the bar, and
// sample projects from today.
#include "chart/series/ganttch.h"

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/seriestypes.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {
// The next task's temporary value while nobody has set it for the coming add.
constexpr double kNoNextTaskGiven = std::numeric_limits<double>::quiet_NaN();
} // namespace

const ClassInfo& TGanttSeries::StaticClass() {
    using C = TGanttSeries;
    static const PropInfo props[] = {
        // Made with a colour per bar: only turning that off is written.
        MakeProp<&C::GetColorEachPoint, &C::SetColorEachPoint>("ColorEachPoint").Default(1),
        MakeProp<&C::GetConnectingPen, &C::SetConnectingPen>("ConnectingPen"),
        MakeProp<&C::GetEndValues, &C::SetEndValues>("EndValues"),
        MakeProp<&C::GetNextTask, &C::SetNextTask>("NextTask"),
        MakeProp<&C::GetStartValues, &C::SetStartValues>("StartValues"),
    };
    static const ClassInfo info = MakeClassInfo<C>("TGanttSeries", &TPointSeries::StaticClass(), props);
    return info;
}

TGanttSeries::TGanttSeries(TComponent* AOwner)
    : TPointSeries(AOwner), FEndValues(new TChartValueList(this, VavIve_ValuesGanttEnd)),
      FNextTask(new TChartValueList(this, VavIve_ValuesGanttNextTask)) {
    SetHorizontal();
    SetClickableLine(false);
    CalcVisiblePoints = false;
    GetXValues()->SetName(VavIve_ValuesGanttStart);
    GetXValues()->InitDateTime(true);
    SetColorEachPoint(true);
    FEndValues->InitDateTime(true);
    GetPointer()->SetStyle(psRectangle);
    FNextTask->TempValue = kNoNextTaskGiven;
}

void TGanttSeries::Assign(TPersistent* Source) {
    if (auto* s = dynamic_cast<TGanttSeries*>(Source)) GetConnectingPen()->Assign(s->GetConnectingPen());
    TPointSeries::Assign(Source);
}

void TGanttSeries::SetConnectingPen(TChartPen* Value) {
    GetLinePen()->Assign(Value);
}

int TGanttSeries::AddGanttColor(double Start, double End, double Y, const String& Label, TColor Color) {
    FEndValues->TempValue = End;
    return AddXY(Start, Y, Label, Color);
}

int TGanttSeries::AddXY(double X, double Y, const String& Label, TColor Color) {
    // A new task has no next task, unless whoever adds it gave one first: the reader of
    // the chart file's points does, and resetting it here lost every saved link.
    if (std::isnan(FNextTask->TempValue)) FNextTask->TempValue = -1;
    const int index = TPointSeries::AddXY(X, Y, Label, Color);
    FNextTask->TempValue = kNoNextTaskGiven;
    return index;
}

int TGanttSeries::EndPos(int ValueIndex) const {
    return CalcXPosValue(FEndValues->GetValue(ValueIndex));
}

void TGanttSeries::DrawValue(int ValueIndex) {
    ISeriesChart* chart = GetParentChart();
    TCanvas3D* canvas = chart ? chart->GetCanvas() : nullptr;
    TSeriesPointer* p = GetPointer();
    if (!canvas || !p->GetVisible() || ValueIndex < 0 || ValueIndex >= Count()) return;
    // A task without a value has no bar: its start and end are whatever was at hand
    // when it was added, and drawn it ran across the whole chart.
    if (IsNull(ValueIndex)) return;
    const TColor color = GetValueColor(ValueIndex);
    p->PrepareCanvas(canvas, color);
    const int x0 = CalcXPos(ValueIndex), x1 = EndPos(ValueIndex);
    const int half = (x1 - x0) / 2;
    const int y = CalcYPos(ValueIndex);
    const TSeriesPointerStyle style = OnGetPointerStyle ? OnGetPointerStyle(this, ValueIndex) : p->GetStyle();
    // A task that ends before it starts is drawn from its end to its start.
    p->DrawPointer(canvas, chart->GetView3D(), x0 + half, y, std::abs(half), p->GetVertSize(), color, style);

    TChartPen* pen = GetConnectingPen();
    if (!pen->GetVisible()) return;
    const double next = FNextTask->GetValue(ValueIndex);
    // Also keeps NaN and far values away from the rounding.
    if (!(next > -1 && next < Count())) return;
    const int n = static_cast<int>(Round(next));
    // Nor does a line lead to a task without a value: there is no bar at its end.
    if (n < 0 || n >= Count() || IsNull(n)) return;
    canvas->AssignVisiblePen(pen);
    canvas->Brush->SetStyle(bsClear);
    const int xn = CalcXPos(n), yn = CalcYPos(n);
    const int m = x1 + (xn - x1) / 2;
    canvas->LineWithZ(x1, y, m, y, MiddleZ);
    canvas->LineWithZ(m, y, m, yn, MiddleZ);
    canvas->LineWithZ(m, yn, xn, yn, MiddleZ);
}

void TGanttSeries::DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) {
    if (ValueIndex >= 0 && ValueIndex < Count()) {
        Position.TopLeft.X += (EndPos(ValueIndex) - Position.ArrowStart.X) / 2;
        Position.TopLeft.Y += Position.Height / 2;
    }
    TPointSeries::DrawMark(ValueIndex, Text, Position);
}

double TGanttSeries::MaxXValue() const {
    return std::max(TPointSeries::MaxXValue(), FEndValues->GetMaxValue());
}

bool TGanttSeries::ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y) {
    // A task without a value has no bar to click.
    if (ValueIndex < 0 || ValueIndex >= Count() || IsNull(ValueIndex)) return false;
    const int end = EndPos(ValueIndex);
    // The bar as drawn: from the smaller to the larger of start and end.
    return X >= std::min(PointX, end) && X <= std::max(PointX, end) &&
           std::abs(PointY - Y) < GetPointer()->GetVertSize();
}

TRect TGanttSeries::PointerBox(int ValueIndex, int PointX, int PointY) {
    const int end = EndPos(ValueIndex), v = GetPointer()->GetVertSize();
    return {std::min(PointX, end), PointY - v, std::max(PointX, end), PointY + v};
}

void TGanttSeries::AddSampleValues(int NumValues, bool) {
    static const String* const names[] = {
        &VavIve_GanttSample1, &VavIve_GanttSample2,  &VavIve_GanttSample3, &VavIve_GanttSample4,
        &VavIve_GanttSample5, &VavIve_GanttSample6,  &VavIve_GanttSample7, &VavIve_GanttSample8,
        &VavIve_GanttSample9, &VavIve_GanttSample10,
    };
    const int count = std::min(NumValues - 1, RandomValue(20) + 10) + 1;
    const double today = Date();
    for (int i = 0; i < count; ++i) {
        const double start = today + 3 * i + RandomValue(5);
        const double end = start + 9 + RandomValue(16);
        const int added = AddGantt(start, end, i % 10, *names[i % 10]);
        for (int j = 0; j < Count(); ++j) {
            if (j == added) continue;
            if (FNextTask->GetValue(j) == -1 && FEndValues->GetValue(j) < start) {
                FNextTask->SetValue(j, added);
                break;
            }
        }
    }
}

void TGanttSeries::PrepareForGallery(bool IsEnabled) {
    TPointSeries::PrepareForGallery(IsEnabled);
    GetPointer()->SetVertSize(3);
    GetPointer()->GetGradient()->SetVisible(true);
}

bool TGanttSeries::IsValidSourceOf(TChartSeries* Series) const {
    return dynamic_cast<TGanttSeries*>(Series) != nullptr;
}

void GanttChInitialization() {
    RegisterZuzSeries(&TGanttSeries::StaticClass(), &VavIve_GalleryGantt, &VavIve_GalleryStandard, 1);
}

void GanttChFinalization() {
    UnRegisterZuzSeries({&TGanttSeries::StaticClass()});
}
