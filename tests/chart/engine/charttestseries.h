#pragma once
// A stand-in series for the chart tests: it notes the road's calls to it,
// draws its points as a polyline, and can be made to fail or to use no axes.

#include "chart/canvas/zuzcanvas.h"
#include "chart/engine/chartseries.h"
#include "platform/core/sysutils.h"
#include "tests/support/testclass.h"

#include <string>
#include <vector>

// Where the chart tests note the steps they see; nullptr notes nothing.
inline std::vector<std::string>* Log = nullptr;

inline void Note(const std::string& Step) {
    if (Log) Log->push_back(Step);
}

class TPolySeries : public testsupport::TTestClass<TPolySeries, TChartSeries, "TPolySeries"> {
public:
    using TTestClass::TTestClass;

    int Mark = 0;          // named in the notes when not 0
    int FailAt = -1;       // the point whose drawing raises
    int Drawn = 0;         // points drawn so far
    bool DrawLines = true; // a line from the point before
    bool NoAxes = false;   // like a pie

    bool UseAxis() const override { return !NoAxes; }
    void DoBeforeDrawChart() override { Note("series before chart"); }
    void DrawValue(int ValueIndex) override {
        ++Drawn;
        Note("value " + std::to_string(ValueIndex) + (Mark ? " of " + std::to_string(Mark) : std::string()));
        if (ValueIndex == FailAt) throw Exception(u"the series failed");
        if (!DrawLines || ValueIndex == 0) return;
        TCanvas3D* c = GetParentChart()->GetCanvas();
        c->Pen->SetColor(GetSeriesColor());
        c->MoveTo(CalcXPos(ValueIndex - 1), CalcYPos(ValueIndex - 1));
        c->LineTo(CalcXPos(ValueIndex), CalcYPos(ValueIndex));
    }
};
