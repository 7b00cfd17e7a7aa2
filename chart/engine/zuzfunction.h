#pragma once
// Function and tool bases. A function fills its series from the points of its
// sources: the whole source at once, period by period (a number of points or
// an X range, calendar steps honoured) or over a moving window; the function
// types supply only the arithmetic. A tool is a chart element that hears
// chart, series, mouse and wheel events.

#include "chart/engine/chartseries.h"

#include <utility>
#include <vector>

class TChartAxis;
class TChartValueList;

enum TFunctionPeriodStyle : std::uint8_t { psNumPoints, psRange };
template <>
const EnumInfo& EnumInfoOf<TFunctionPeriodStyle>();
enum TFunctionPeriodAlign : std::uint8_t { paFirst, paCenter, paLast };
template <>
const EnumInfo& EnumInfoOf<TFunctionPeriodAlign>();

class TZuzFunction : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzFunction(TComponent* AOwner) : TComponent(AOwner) {}
    void Assign(TPersistent* Source) override;

    double GetPeriod() const { return FPeriod; }
    // Raises ChartException for a negative period and keeps the old one.
    void SetPeriod(double Value);
    void InternalSetPeriod(double Value) { FPeriod = Value; }
    // A function that starts with a period of its own (InitPeriod) also writes
    // a period of 0, which would otherwise load as the one it starts with.
    bool IsPeriodStored() const { return FPeriod != 0 || FPeriod != FStartPeriod; }
    TFunctionPeriodStyle GetPeriodStyle() const { return FPeriodStyle; }
    void SetPeriodStyle(TFunctionPeriodStyle Value);
    TFunctionPeriodAlign GetPeriodAlign() const { return FPeriodAlign; }
    void SetPeriodAlign(TFunctionPeriodAlign Value);

    TChartSeries* GetParentSeries() const { return FParentSeries; }
    // The old series forgets its function and Value takes this one over.
    void SetParentSeries(TChartSeries* Value);
    // What the series itself calls while taking the function over.
    void InternalSetParentSeries(TChartSeries* Value) { FParentSeries = Value; }
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

    void ReCalculate();
    void BeginUpdate() { FUpdating = true; }
    void EndUpdate();
    bool Updating() const { return FUpdating; }

    // The source list the function works on: the one the series's mandatory
    // list names, else Series's mandatory list.
    TChartValueList* ValueList(TChartSeries* Series) const;
    // One result point on the parent series.
    void AddFunctionXY(bool SourceYMandatory, double X, double Y);

    // Fills the parent series from Source (one source) or from all the
    // parent's sources (two or more).
    virtual void AddPoints(TChartSeries* Source);
    virtual void CalculatePeriod(TChartSeries* Source, double X, int FirstIndex, int LastIndex);
    virtual void CalculateAllPoints(TChartSeries* Source, TChartValueList* NotMandatorySource);
    virtual void CalculateByPeriod(TChartSeries* Source, TChartValueList* NotMandatorySource);
    virtual void DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource);
    virtual String GetEditorClass() const { return u"TZuzFunctionEditor"; }
    virtual void PrepareForGallery(ISeriesChart* Chart);
    // FirstIndex = LastIndex = -1: every point.
    virtual double Calculate(TChartSeries* Series, int FirstIndex, int LastIndex) { return 0; }
    virtual double CalculateMany(const TDataSourcesList& SourceSeriesList, int ValueIndex) { return 0; }
    virtual void Clear() {}
    virtual bool IsValidSource(TChartSeries* Series) const { return true; }

    bool NoSourceRequired = false; // the function needs no source series
    bool& SourceOptional = NoSourceRequired;
    bool SingleSourceOnly = false;
    // The function picks its source's values itself: the editor offers no value list.
    bool NoValueChoice = false;

protected:
    // The period the function starts with, set in its constructor.
    void InitPeriod(double Value) { FPeriod = FStartPeriod = Value; }
    // The number of points of a period or window: at least one, so every
    // period moves on and no window reaches past its source.
    int PointsPerPeriod() const;

private:
    void AddPointsFromMany();
    double FPeriod = 0;
    double FStartPeriod = 0;
    TFunctionPeriodStyle FPeriodStyle = psNumPoints;
    TFunctionPeriodAlign FPeriodAlign = paCenter;
    TChartSeries* FParentSeries = nullptr;
    bool FUpdating = false;
};

class TZuzMovingFunction : public TZuzFunction {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzMovingFunction(TComponent* AOwner);
    void DoCalculation(TChartSeries* Source, TChartValueList* NotMandatorySource) override;
};

// ---------------------------------------------------------------------------
// Tools

enum TChartMouseEvent : std::uint8_t { cmeDown, cmeMove, cmeUp };
enum TWheelMouseEvent : std::uint8_t { wmeDown, wmeMove, wmeUp };

class TZuzCustomTool : public TCustomChartElement {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}
    // Leaves the old chart's tools and joins the new chart's.
    void SetParentChart(ISeriesChart* Value) override;

    virtual void ChartEvent(TChartToolEvent AEvent) {}
    virtual void ChartMouseEvent(TChartMouseEvent AEvent, TMouseButton Button, TShiftState Shift, int X,
                                 int Y) {}
    virtual void SeriesEvent(TChartToolEvent AEvent) {}
    virtual void WheelMouseEvent(TWheelMouseEvent AEvent, int Delta, int X, int Y) {}
    virtual String Description() const { return {}; }
    virtual String LongDescription() const { return {}; }
};

class TZuzCustomToolSeries : public TZuzCustomTool {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzCustomToolSeries(TComponent* AOwner) : TZuzCustomTool(AOwner) {}
    void Assign(TPersistent* Source) override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    String GetEditorClass() const override { return u"TSeriesToolEditor"; }

    TChartSeries* GetSeries() const { return FSeries; }
    virtual void SetSeries(TChartSeries* Value);
    // The series's axes; without a series the chart's axis that shows active
    // series (bottom before top, left before right).
    TChartAxis* GetHorizAxis() const;
    TChartAxis* GetVertAxis() const;

private:
    TChartSeries* FSeries = nullptr;
};

class TZuzCustomToolAxis : public TZuzCustomTool {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzCustomToolAxis(TComponent* AOwner) : TZuzCustomTool(AOwner) {}
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TAxisToolEditor"; }

    TChartAxis* GetAxis() const { return FAxis; }
    // Joins the axis's chart (leaves the chart for none).
    virtual void SetAxis(TChartAxis* Value);
    // "AxisID": the axis's index in its chart's list of axes.
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

private:
    void ResolveAxisID();
    TChartAxis* FAxis = nullptr;
    int FAxisID = -1; // read, not yet looked up
};

// The tools of one chart, in order; the chart owns the tools.
class TChartTools {
public:
    explicit TChartTools(ISeriesChart* Chart) : FChart(Chart) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TZuzCustomTool* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    TZuzCustomTool* operator[](int Index) const { return Get(Index); }
    int IndexOf(const TZuzCustomTool* Tool) const;
    // Tool joins the chart (which appends it); without a chart a plain append.
    TZuzCustomTool* Add(TZuzCustomTool* Tool);
    // A new tool of ToolClass owned by the chart.
    TZuzCustomTool* Add(const ClassInfo& ToolClass);
    // Frees every tool.
    void Clear();
    void SetActive(bool Value);
    // The plain list operations a tool joining or leaving uses.
    void InternalAdd(TZuzCustomTool* Tool) { FItems.push_back(Tool); }
    void Remove(TZuzCustomTool* Tool);
    // The two tools change places.
    void Exchange(int Index1, int Index2) {
        std::swap(FItems.at(static_cast<std::size_t>(Index1)), FItems.at(static_cast<std::size_t>(Index2)));
    }
    ISeriesChart* GetChart() const { return FChart; }
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    ISeriesChart* FChart;
    std::vector<TZuzCustomTool*> FItems;
};

// The chart's designer hook (the chart editor fills it in).
class TZuzCustomDesigner : public TObject {
public:
    virtual void Refresh() {}
    virtual void Repaint() {}
};
