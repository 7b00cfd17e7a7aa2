#pragma once
// What a series needs of the chart that shows it. The axis panel implements it;
// a series reaches its chart only through this, so the series base stands
// without the chart control, its axes or its drawing.

#include "platform/gui/controls.h"

#include <span>

class TCanvas3D;
class TChartAxis;
class TChartBrush;
class TChartPen;
class TChartSeries;
class TChartTools;
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

// What the chart tells its tools (and a series its own tools) while drawing.
enum TChartToolEvent : std::uint8_t {
    cteAfterDraw,
    cteBeforeDrawSeries,
    cteBeforeDraw,
    cteBeforeDrawAxes,
    cteAfterDrawSeries,
    cteMouseLeave
};

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

    // The series list in order (for depth order, registries and tools).
    virtual int SeriesCount() const { return 0; }
    virtual TChartSeries* GetSeries(int Index) const { return nullptr; }
    virtual void ExchangeSeries(int Index1, int Index2) {}
    virtual TChartTools* GetTools() { return nullptr; }

    // Palettes: the colours series without their own take in turn (empty: the
    // default colours), and the palette number a chart control remembers.
    virtual void SetColorPalette(std::span<const TColor> Colors) {}
    virtual void ColorPaletteChanged() {}
    virtual void StoreColorPaletteIndex(int Index) {}

    // What a series draws with and where.
    virtual TCanvas3D* GetCanvas() { return nullptr; }
    virtual bool GetView3D() const { return false; }
    virtual TRect GetChartRect() const { return {}; }
    virtual bool InvertedRotation() const { return false; }
    // Whether the clip the series on the axes are drawn in leaves the pixel out.
    virtual bool ClipsAway(TPoint P) { return false; }
    // Whether the clip marks are drawn in leaves the pixel out: the series' clip for marks
    // that clip, else the room marks have.
    virtual bool ClipsAwayMark(TPoint P, bool Clip) { return false; }
    // Series that share a depth slot are drawn together.
    virtual bool ApplyZOrder() const { return true; }
    // The running maximum depth order of one drawing pass.
    virtual int GetMaxZOrder() const { return 0; }
    virtual void SetMaxZOrder(int Value) {}
    virtual int SeriesDepth() const { return 0; } // depth of one series slot
    virtual int GetMaxPointsPerPage() const { return 0; }
    virtual int GetPage() const { return 1; }
    virtual TPoint PanningOffset() const { return {}; }
    virtual void SetChartCursor(TCursor Value) {}
    virtual TPoint MouseClientPos() const { return {}; }
    // The legend's text of a point in the legend's current style.
    virtual String FormattedValueLegend(TChartSeries* Series, int ValueIndex) { return {}; }
    // The legend's symbols: the chart's own pen for them (nullptr: the
    // series's), their back colour (clDefault: none), the chart's colour,
    // the brush set up on the canvas, and the symbol itself.
    virtual TChartPen* LegendSymbolPen() { return nullptr; }
    virtual TColor LegendSymbolColor() const { return clDefault; }
    virtual TColor GetChartColor() const { return clWhite; }
    virtual void SetBrushCanvas(TColor Color, TChartBrush* Brush, TColor BackColor) {}
    virtual void DrawLegendShape(const TRect& Rect) {}

protected:
    ~ISeriesChart() = default;
};
