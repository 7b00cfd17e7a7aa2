#pragma once
// Opening the chart editor on one element of a chart: each procedure makes an editor owned by
// the application, points it at the element and its page, shows it modally and frees it again,
// also when something raises. The form passed first is not used; it names the caller.

#include <cstdint>

class TChartAxis;
class TChartSeries;
class TChartTitle;
class TComponent;
class TCustomChart;
class TCustomChartWall;
class TForm;
class TZuzCustomTool;
struct TChartClickedPart;

void EditChart(TForm* AForm, TCustomChart* AChart);
void EditChartLegend(TForm* AForm, TCustomChart* AChart);
// PageIndex: the page to open first, as TChartEditorTab counts them.
void EditChartPage(TForm* AForm, TCustomChart* AChart, int PageIndex);
void EditChartTitle(TForm* AForm, TChartTitle* ATitle);
void EditChartWall(TForm* AForm, TCustomChartWall* AWall);
void EditChartAxis(TForm* AForm, TChartAxis* Axis);
void EditChartTool(TForm* AForm, TZuzCustomTool* ATool);
void EditSeries(TForm* AForm, TChartSeries* ASeries);
// The series on its "Marks" tab; with Symbol on the marks' "Symbol" tab.
void EditSeriesMarks(TForm* AForm, TChartSeries* ASeries, bool Symbol = false);
void EditSeriesDataSource(TForm* AForm, TChartSeries* ASeries);
// The editor in its data-source mode.
void EditDSSChart(TComponent* AOwner, TCustomChart* AChart);
// The page of the part that was clicked; the chart's first page for any part without one.
void EditChartPart(TForm* AForm, TCustomChart* AChart, const TChartClickedPart& Part);
