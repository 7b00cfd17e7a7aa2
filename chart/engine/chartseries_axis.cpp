// The series drawing road on the axes: the visible points, pixel positions,
// the drawing direction, the point and marks loops.
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"

#include <algorithm>

void TChartSeries::CalcFirstLastVisibleIndex() {
    FirstValueIndex = LastValueIndex = -1;
    if (Count() == 0) return;
    TChartValueList* list = NotMandatoryValueList();
    TChartAxis* axis = FYMandatory ? FGetHorizAxis : FGetVertAxis;
    if (!CalcVisiblePoints || list->GetOrder() == loNone || !axis || !FParentChart) {
        FirstValueIndex = 0;
        LastValueIndex = Count() - 1;
        return;
    }
    const TRect r = FParentChart->GetChartRect();
    const bool inverted = axis->GetInverted();
    const bool horizontal = axis->GetHorizontal();
    const int startOff = horizontal ? axis->GetMinimumOffset() : axis->GetMaximumOffset();
    // A series drawn between its points keeps the first point beyond the chart's far edge,
    // so that its line crosses the padding there as it does at the near edge.
    const int endOff = DrawBetweenPoints ? 0
                       : horizontal      ? axis->GetMaximumOffset()
                                         : axis->GetMinimumOffset();
    int startPix, endPix;
    if (horizontal) {
        const int nearEdge = inverted ? r.Right : r.Left, farEdge = inverted ? r.Left : r.Right;
        // Offsets point into the chart whichever way round its edges lie.
        const int dir = farEdge >= nearEdge ? 1 : -1;
        startPix = nearEdge + dir * startOff;
        endPix = farEdge - dir * endOff;
    } else {
        const int nearEdge = inverted ? r.Top : r.Bottom, farEdge = inverted ? r.Bottom : r.Top;
        const int dir = nearEdge >= farEdge ? 1 : -1;
        startPix = nearEdge - dir * startOff;
        endPix = farEdge + dir * endOff;
    }
    VisibleIndexRange(list->Values(), axis->CalcPosPoint(startPix), axis->CalcPosPoint(endPix),
                      DrawBetweenPoints, FirstValueIndex, LastValueIndex);
}

int TChartSeries::FirstDisplayedIndex() const {
    return DrawValuesForward() ? FirstValueIndex : LastValueIndex;
}

int TChartSeries::LastDisplayedIndex() const {
    return DrawValuesForward() ? LastValueIndex : FirstValueIndex;
}

// ---------------------------------------------------------------------------
// Positions

int TChartSeries::CalcXPos(int ValueIndex) const {
    return FGetHorizAxis->CalcXPosValue(XValue(ValueIndex));
}
int TChartSeries::CalcYPos(int ValueIndex) const {
    return FGetVertAxis->CalcYPosValue(YValue(ValueIndex));
}
int TChartSeries::CalcXPosValue(double Value) const {
    return FGetHorizAxis->CalcXPosValue(Value);
}
int TChartSeries::CalcYPosValue(double Value) const {
    return FGetVertAxis->CalcYPosValue(Value);
}
int TChartSeries::CalcPosValue(double Value) const {
    return FYMandatory ? CalcYPosValue(Value) : CalcXPosValue(Value);
}
int TChartSeries::CalcXSizeValue(double Value) const {
    return FGetHorizAxis->CalcSizeValue(Value);
}
int TChartSeries::CalcYSizeValue(double Value) const {
    return FGetVertAxis->CalcSizeValue(Value);
}
double TChartSeries::XScreenToValue(int ScreenPos) const {
    return FGetHorizAxis->CalcPosPoint(ScreenPos);
}
double TChartSeries::YScreenToValue(int ScreenPos) const {
    return FGetVertAxis->CalcPosPoint(ScreenPos);
}
String TChartSeries::XValueToText(double Value) const {
    return FGetHorizAxis->LabelValue(Value);
}
String TChartSeries::YValueToText(double Value) const {
    return FGetVertAxis->LabelValue(Value);
}

void TChartSeries::CalcSelectionPos(int ValueIndex, int& X, int& Y) {
    X = CalcXPos(ValueIndex);
    Y = CalcYPos(ValueIndex);
}

bool TChartSeries::IsPointInChartRect(int ValueIndex) const {
    if (!FParentChart) return false;
    const TRect r = FParentChart->GetChartRect();
    const int x = CalcXPos(ValueIndex), y = CalcYPos(ValueIndex);
    return x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom;
}

bool TChartSeries::DrawValuesForward() const {
    if (FYMandatory) {
        bool forward = !(FGetHorizAxis && FGetHorizAxis->GetInverted());
        if (FParentChart && FParentChart->InvertedRotation()) forward = !forward;
        return forward;
    }
    return !(FGetVertAxis && FGetVertAxis->GetInverted());
}

bool TChartSeries::DrawSeriesForward(int ValueIndex) const {
    return !(FParentChart && FParentChart->InvertedRotation());
}

void TChartSeries::DrawAllValues() {
    if (VisibleCount() == 0) return;
    TCanvas3D* canvas = FParentChart ? FParentChart->GetCanvas() : nullptr;
    if (canvas && !canvas->RecordsEntities) canvas = nullptr;
    auto draw = [&](int i) {
        if (canvas) canvas->BeginEntity(IntToStr(i));
        DrawValue(i);
        if (canvas) canvas->EndEntity();
    };
    if (DrawValuesForward())
        for (int i = FirstValueIndex; i <= LastValueIndex; ++i) draw(i);
    else
        for (int i = LastValueIndex; i >= FirstValueIndex; --i) draw(i);
}

void TChartSeries::DrawMarks() {
    if (FirstValueIndex < 0) return;
    TSeriesMarks* marks = GetMarks();
    const int every = marks->DrawEveryStep();
    TSeriesMarkPosition position;
    for (int i = FirstValueIndex; i <= LastValueIndex; ++i) {
        if (i % every != 0 || IsNull(i)) continue;
        const String text = GetMarkText(i);
        if (text.empty()) continue;
        TSeriesMarkShape* shape = marks->MarkItem(i);
        if (!shape->GetVisible()) continue;
        CalculateMarkPosition(shape, text, CalcXPos(i), CalcYPos(i), position);
        DrawMark(i, text, position);
    }
}

void TChartSeries::GetCursorValues(double& X, double& Y) {
    const TPoint p = FParentChart ? FParentChart->MouseClientPos() : TPoint();
    X = XScreenToValue(p.X);
    Y = YScreenToValue(p.Y);
}

String TChartSeries::XLabelText(double Value) const {
    return FGetHorizAxis ? XValueToText(Value) : FormatFloat(FValueFormat, Value);
}
