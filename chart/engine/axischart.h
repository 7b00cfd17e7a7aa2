#pragma once
// What an axis needs of the chart that owns it: the chart rectangle and 3D
// depth, the canvas, the series and their extreme values, the walls, the
// chart's label events and its lists of axes. The axis panel implements it;
// the axes stand without the chart control and are tested against a fake.

#include "platform/core/system.h"
#include "platform/core/types.h"

class TCanvas3D;
class TChartAxes;
class TChartAxis;
class TChartCustomAxes;
class TChartSeries;
class TComponent;
class TView3DOptions;

using TAxisOnGetLabel =
    Event<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex, String& LabelText)>;
using TAxisOnGetNextLabel = Event<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>;

class IAxisChart {
public:
    // The chart as a component: its loading and reading state, the owner of
    // custom axes.
    virtual TComponent* AxisChartComponent() = 0;
    bool IsLoading();
    bool IsReading();
    virtual void Invalidate() = 0;

    // The axes: every one in drawing order, and the streamed custom ones.
    virtual TChartAxes* GetAxes() = 0;
    virtual TChartCustomAxes* GetCustomAxes() = 0;
    virtual TChartAxis* GetDepthAxis() = 0;
    virtual TChartAxis* GetDepthTopAxis() = 0;
    virtual bool GetAxisBehind() const = 0;
    virtual void SetAxisBehind(bool Value) = 0;
    virtual bool GetAxisVisible() const = 0;
    virtual void SetAxisVisible(bool Value) = 0;
    // The chart shows this axis (the master switch, the axis's own, the series).
    virtual bool IsAxisVisible(TChartAxis* Axis) = 0;

    // The series, first to last.
    virtual int SeriesCount() const = 0;
    virtual TChartSeries* GetSeries(int Index) const = 0;
    // The smallest or largest value of the series drawn on the axis.
    virtual double InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX) = 0;

    // Layout and depth.
    virtual TRect GetChartRect() const = 0;
    virtual int GetChartWidth() const = 0;
    virtual int GetChartHeight() const = 0;
    virtual int GetWidth3D() const = 0;
    virtual bool GetView3D() const = 0;
    virtual TView3DOptions* GetView3DOptions() = 0;
    // Thickness of the wall beside the axis.
    virtual int CalcWallSize(TChartAxis* Axis) = 0;
    virtual TCanvas3D* GetCanvas() = 0;

    // Texts the labels may show.
    virtual TAxisOnGetLabel& OnGetAxisLabel() = 0;
    virtual TAxisOnGetNextLabel& OnGetNextAxisLabel() = 0;
    // The widest line of Text (lines end at carriage returns) with the
    // canvas's font, and the number of lines.
    virtual int MultiLineTextWidth(const String& Text, int& NumLines);
    virtual int MaxMarkWidth() { return 0; }
    virtual int MaxTextWidth() { return 0; }
    virtual String SeriesTitleLegend(int Index) { return {}; }
    // Where the legend stands at its alignment in this drawing (empty when it does not).
    virtual TRect LegendArea() { return {}; }
    // The points of a series that fall in its axes' ranges, and its mark texts;
    // the series drawing road refines both.
    virtual void SeriesVisibleRange(TChartSeries* Series, int& First, int& Last);
    virtual String SeriesMarkText(TChartSeries* Series, int ValueIndex);

protected:
    ~IAxisChart() = default;
};
