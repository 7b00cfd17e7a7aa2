#pragma once
// What a series needs of the chart that shows it. The axis panel implements it;
// a series reaches its chart only through this, so the series base stands
// without the chart control, its axes or its drawing.

#include "platform/gui/controls.h"

class TChartAxis;
class TChartSeries;
class TCustomChartSeries;

enum TChartSeriesEvent : std::uint8_t {
    seAdd,
    seRemove,
    seChangeTitle,
    seChangeColor,
    seSwap,
    seChangeActive,
    seDataChanged
};
template <>
const EnumInfo& EnumInfoOf<TChartSeriesEvent>();

class ISeriesChart {
public:
    // The chart as a component (the series's parent in streams).
    virtual TComponent* ChartComponent() = 0;
    virtual bool ChartDestroying() const = 0;

    // Membership: the series list of the chart.
    virtual void InternalAddSeries(TCustomChartSeries* Series) = 0;
    virtual void RemoveSeries(TCustomChartSeries* Series) = 0;
    virtual int SeriesIndexOf(const TCustomChartSeries* Series) const = 0;

    // Changes: repaint, tell the listeners, refresh the designer.
    virtual void Invalidate() = 0;
    virtual void BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event) = 0;
    virtual void RepaintDesigner() {}
    virtual void SetView3D(bool Value) {}

    // Colours.
    virtual TColor GetFreeSeriesColor(bool CheckBackground, TChartSeries* Series) = 0;
    virtual TColor GetDefaultColor(int Index) = 0;

    // Axes (nullptr where the chart has none).
    virtual TChartAxis* GetTopAxis() = 0;
    virtual TChartAxis* GetBottomAxis() = 0;
    virtual TChartAxis* GetLeftAxis() = 0;
    virtual TChartAxis* GetRightAxis() = 0;
    virtual bool IsHorizontalAxis(const TChartAxis* Axis) const = 0;
    virtual int CustomAxisIndex(const TChartAxis* Axis) const = 0; // -1 when not custom
    virtual TChartAxis* CustomAxis(int Index) = 0;                 // nullptr when none

    // The values already shown, for sample points that fit in.
    virtual int GetMaxValuesCount() const = 0;
    virtual double MinXValue(TChartAxis* Axis) = 0;
    virtual double MaxXValue(TChartAxis* Axis) = 0;
    virtual double MinYValue(TChartAxis* Axis) = 0;
    virtual double MaxYValue(TChartAxis* Axis) = 0;

    // The mouse cursor, which a series shows while the mouse is over it.
    virtual TCursor GetChartCursor() const { return crDefault; }
    virtual void RestoreChartCursor() {}

    // Data sources: the chart checks and refills a series from them.
    virtual void CheckDatasource(TChartSeries* Series);
    virtual void CheckOtherSeries(TChartSeries* Dest, TChartSeries* Source);
    virtual bool IsValidDataSource(TChartSeries* Series, TComponent* Component);
    virtual void RemovedDataSource(TChartSeries* Series, TComponent* Component);

protected:
    ~ISeriesChart() = default;
};
