#pragma once
// What a graph window shows of the read, for tests that cannot see the chart
// library's headers (those that use the port selector: both name a cpNone).

#include <cmath>
#include <string>
#include <vector>

class TMainForm;
class TChartSeries;

namespace graphtest {

struct Point {
    double x;
    double y; // NaN for a null point
    bool operator==(const Point& o) const {
        return x == o.x && (y == o.y || (std::isnan(y) && std::isnan(o.y)));
    }
};
using Points = std::vector<Point>;

Points PointsOf(const TChartSeries* s);

struct ShownSeries {
    std::string title;
    Points window; // the graph window's series
    Points data;   // the data series of its column
};

// The graph settings dialog for as long as it is in scope (after the
// application that owns it, so that it goes first).
class SettingsDialog {
public:
    SettingsDialog();
    ~SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;
};

// Ctrl+G in the main window and every value column ticked in the graph
// settings dialog (which must exist): the new window's series.
std::vector<ShownSeries> OpenGraphOfEveryColumn(TMainForm& Form);

} // namespace graphtest
