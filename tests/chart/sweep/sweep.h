#pragma once
// The sweeps: the settings spaces of a chart as tables, a sampler over them, the chart a point
// of them makes, and what drawing it asked the canvas for. A rule is a function of a point that
// names what a user would see wrong there (empty when nothing); Sweep runs it over the fixed
// points of the short sweep, over fresh points of a long one (scripts/sweep), or over the one
// point a failure printed.

#include "chart/engine/chart.h"
#include "tests/chart/canvas/scene3dfixture.h"

#include <functional>
#include <string>
#include <vector>

namespace sweep {

// One chart of the spaces. Each field takes the values its row of Spaces() lists.
struct Point {
    int view = 0;        // 0 flat, 1 3D orthogonal, 2 3D turned
    int ortho = 45;      // the orthogonal view's angle
    int rotation = 345;  // turned views
    int elevation = 345; // turned views
    int perspective = 0;
    int depth = 15; // 3D percent
    int walls = 1;
    int width = 400, height = 300;
    int legend = 0; // 0 hidden, 1 + a TLegendAlignment, 5 placed by hand
    int titles = 0; // 0 none, 1 title and foot, 2 the title placed by hand
    int series = 0; // a row of SeriesKinds()
    int style = 0;  // the bar or pointer style where the kind has one
    int values = 0; // 0 positive, 1 negative, 2 with zeros, 3 with a null
    int points = 5;
    int pen = 1;
    int transparency = 0;
    int gradient = 0;
    int shadow = 0;
    int marks = 0; // 0 none, 1 shown, 2 turned, 3 with symbols, 4 one placed by hand
    int axis = 0;  // 0 linear, 1 logarithmic, 2 date-time, 3 date-time with a format, 4 custom labels
    int inverted = 0;
    int offset = 0; // the value axis's position, percent
    int labelStyle = 0;
    int alternate = 0;
    int opposite = 0;
    int axisTitle = 0;    // 0 none, else the title's angle + 1
    int font = 8;         // the labels' font size
    int seriesDepth = -1; // the series's own depth, -1 the chart's
};

// A row of the spaces: a field and the values it takes.
struct Space {
    const char* name;
    int Point::*field;
    std::vector<int> values;
};
const std::vector<Space>& Spaces();

// A series kind of the gallery: its name and how a point's series are made.
struct SeriesKind {
    const char* name;
    int styles; // how many styles the point's `style` walks (1: none)
    bool axes;  // drawn on the axes (a pie is not)
};
const std::vector<SeriesKind>& SeriesKinds();

// The point as one line of name=value words, and back (false on a word it does not know).
std::string Line(const Point& P);
bool FromLine(const std::string& Text, Point& P);

// An offscreen chart of the point's size with its series, axes, legend and titles.
Owned<TChart> Build(const Point& P);

// What a drawing asked the canvas for, as projected, each noted with the entity that drew it
// ("title", "Legend", "Axis", a series's name) and the run of its outermost entity.
struct Drawn {
    std::vector<scene3d::TextBox> texts;
    std::vector<scene3d::Shape> shapes; // polygons and polylines
    std::vector<scene3d::Shape> lines;  // lines, two points each
    TRect chartRect;                    // the chart's rectangle of that drawing
    TRect panel;
    scene3d::RecordingCanvas* canvas = nullptr; // the chart's, with the drawing's projection
};
// Draws the chart (at its size) into Out through the recording canvas and returns what it drew.
Drawn Record(TChart* Chart, TBitmap& Out);
// Draws the chart into Out as the program does.
void Draw(TChart* Chart, TBitmap& Out);

// After a drawing: the chart's front face turned edge-on (its projection a sliver), or its
// rectangle left no room (under 40 px) by the titles, legend and labels. A rule names either in
// its refusal ("[edge-on]", "[cramped]") so that exceptions can say why such a picture is what it is.
bool EdgeOn(TChart* Chart);
bool Cramped(TChart* Chart);
std::string Noted(TChart* Chart, std::string Fault);

// Where a rule is allowed to refuse: the points it names draw what the letter of the chart's
// behaviour asks for, or a fault mended elsewhere (the reason says which).
struct Exception {
    std::function<bool(const Point&, const std::string& Fault)> holds;
    const char* reason;
};

// The refusals Noted marks: pictures the chart's own rules of layout ask for.
extern const Exception SeenEdgeOn, NoRoom;

// Runs Rule over the points of this run: MOLTREN_SWEEP_POINT (one line) alone; else fresh
// points drawn from MOLTREN_SWEEP_SEED for MOLTREN_SWEEP_SECONDS; else ShortCount fixed points.
// Shape narrows a sampled point to the part of the spaces the rule looks at. Each refusal not
// excepted fails the test and prints the line that draws its point again. Returns the number
// of charts checked.
int Sweep(const char* RuleName, int ShortCount, const std::function<void(Point&)>& Shape,
          const std::function<std::string(const Point&)>& Rule,
          const std::vector<Exception>& Exceptions = {});

// Starts the chart units once (every test of this program calls it first).
void Start();

} // namespace sweep
