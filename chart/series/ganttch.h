#pragma once
// The Gantt series: a horizontal bar per task from its start to its end date
// on the task's row, with a connecting line to the task that follows it.

#include "chart/series/series.h"

class TGanttSeries : public TPointSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TGanttSeries(TComponent* AOwner);
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TGanttSeriesEditor"; }

    int AddGanttColor(double Start, double End, double Y, const String& Label, TColor Color);
    int AddGantt(double Start, double End, double Y, const String& Label = {}) {
        return AddGanttColor(Start, End, Y, Label, clZuzColor);
    }
    // Every new task starts without a next task.
    int AddXY(double X, double Y, const String& Label = {}, TColor Color = clDefault) override;
    using TPointSeries::AddXY;

    TChartValueList* GetStartValues() const { return GetXValues(); }
    void SetStartValues(TChartValueList* Value) { SetXValues(Value); }
    TChartValueList* GetEndValues() const { return FEndValues; }
    void SetEndValues(TChartValueList* Value) { SetChartValueList(FEndValues, Value); }
    TChartValueList* GetNextTask() const { return FNextTask; }
    void SetNextTask(TChartValueList* Value) { SetChartValueList(FNextTask, Value); }
    TChartPen* GetConnectingPen() const { return GetLinePen(); }
    void SetConnectingPen(TChartPen* Value);

    void DrawValue(int ValueIndex) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    double MaxXValue() const override;
    bool ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y) override;
    TRect PointerBox(int ValueIndex, int PointX, int PointY) override;
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void PrepareForGallery(bool IsEnabled) override;
    bool IsValidSourceOf(TChartSeries* Series) const override;

private:
    int EndPos(int ValueIndex) const;
    TChartValueList* FEndValues;
    TChartValueList* FNextTask;
};

void GanttChInitialization();
void GanttChFinalization();
