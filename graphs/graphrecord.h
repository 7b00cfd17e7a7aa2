#pragma once
// What the main window keeps of each graph window and of each series in it,
// and the arithmetic of the time scroll bar. The records only point at the
// window's components: the window owns them.

#include "platform/core/system.h"
#include "platform/gui/graphics.h"

#include <vector>

class TChart;
class TChartSeries;
class TForm;
class TLineSeries;
class TScrollBar;
class TStatusBar;

// At most this many graph windows are open at once; their numbers run 1..MaxGraphNumber.
inline constexpr int MaxGraphWindows = 10;
inline constexpr int MaxGraphNumber = 30;
// A window holds at most this many series.
inline constexpr int MaxGraphSeries = 30;

// The line styles of a window's series, by their tags.
inline constexpr std::u16string_view PenStyleSolid = u"esRound";
inline constexpr std::u16string_view PenStyleDash = u"esSquare";
inline constexpr std::u16string_view PenStyleDot = u"esFlat";

struct SeriesRecord {
    String penStyleName;
    TLineSeries* lineSeries = nullptr;
    int valueColumn = 0; // 1-based table column the series copies
    TColor seriesColor = clBlack;
    int penWidth = 0;
    bool marksVisible = false;
    bool pointerVisible = false;
};

SeriesRecord& CopySeriesRecord(SeriesRecord& Target, const SeriesRecord& Source);

struct GraphRecord {
    String timeFormat;
    String graphCaption;
    int seriesCount = 0;
    int graphNumber = 0;
    TColor backColor = clBlack;
    TColor textColor = clBlack;
    double visibleSeconds = 0;
    float yMax = 0;
    float yMin = 0;
    TForm* graphForm = nullptr;
    TChart* graphChart = nullptr;
    TStatusBar* graphStatusBar = nullptr;
    TScrollBar* graphScrollBar = nullptr;
    // Entries 1..seriesCount describe the window's series; entry 0 is not used.
    std::vector<SeriesRecord> seriesRecords = std::vector<SeriesRecord>(MaxGraphSeries + 1);
    bool legendVisible = false;
    bool labelsRotated = false;
    bool autoX = false;
    bool autoY = false;

    // Series record i back to the empty record.
    void ResetSeries(int Index) { seriesRecords.at(Index) = SeriesRecord{}; }
};

// The time scroll bar's range for data spanning SpanDays shown VisibleSeconds
// at a time: Max the whole seconds of the span, Min the visible seconds,
// both held inside what the bar can count and Min never above Max.
struct TScrollRange {
    int Min = 0;
    int Max = 0;
};
TScrollRange TimeScrollRange(double SpanDays, double VisibleSeconds);

// What the graph settings dialog needs of the window that owns the records.
class IGraphHost {
public:
    // The record of the current graph window; null when no window is current.
    virtual GraphRecord* CurrentGraphRecord() = 0;
    // The data series of value column Index + 1; null when there is none.
    virtual TChartSeries* ColumnSeries(int Index) = 0;
    // The table's header of a 1-based value column.
    virtual String ColumnHeader(int Column) = 0;

protected:
    ~IGraphHost() = default;
};

extern IGraphHost* GraphHost;

// The axis lines, grids, ticks and labels of both axes of a graph window in one colour.
void SetGraphTextColor(TChart* Chart, TColor Color);
// A graph window's legend of series titles shown or hidden.
void SetGraphLegend(TChart* Chart, bool Visible);
bool GraphLegendVisible(TChart* Chart);
// The line style of a series record's tag, and the record's tag of a style index
// of the dialog (0 solid, 1 dashed, 2 dotted).
void ApplyPenStyle(SeriesRecord& Record, int StyleIndex);
int PenStyleIndex(const SeriesRecord& Record);

// The chart class the main window's form resource names.
void RegisterGraphClasses();
