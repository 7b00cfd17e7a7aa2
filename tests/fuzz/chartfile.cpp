// The chart file, binary or text, loaded into a chart that already holds a
// series: a refused file leaves the chart as it was; an accepted one draws
// (or refuses to with an Exception), saves again, and what it saves loads
// back as the same chart.
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/zuzstore.h"
#include "tests/fuzz/fuzzing.h"
#include "tests/fuzz/samplechart.h"
#include "tests/support/guiprobe.h"

namespace {

Owned<TChart> NewChart() {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, 320, 240);
    return chart;
}

std::string Saved(TCustomChart* Chart, bool Text) {
    TMemoryStream s;
    SaveChartToStream(Chart, &s, true, Text);
    return fuzz::Bytes(s);
}

// True when the bytes load into the chart; a refusal raises an Exception.
bool Loads(TCustomChart* Chart, std::string_view Bytes) {
    TMemoryStream s;
    fuzz::Fill(s, Bytes);
    try {
        LoadChartFromStream(Chart, &s);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

// A text the chart shows may hold HTML that its drawer refuses with an
// Exception (an unknown FONT attribute, an unclosed tag): the window reports
// that once and stops repainting, so such a drawing fails but the chart stays.
void Draw(TCustomChart* Chart) {
    TBitmap picture;
    picture.SetSize(320, 240);
    try {
        Chart->Draw(picture.GetCanvas(), TRect(0, 0, 320, 240));
    } catch (const Exception&) {
    }
}

// Loads the input into a chart holding a series: a refusal leaves the chart
// as it was; an accepted file draws (or fails to with an Exception), and
// saved again it loads back as the same chart.
void Check(std::string_view Input) {
    auto chart = NewChart();
    CreateNewSeries(chart.get(), chart.get(), &TLineSeries::StaticClass())->FillSampleValues(4);
    const std::string before = Saved(chart.get(), true);
    TCustomChart* into = chart.get();
    if (!Loads(into, Input)) {
        fuzz::Check(Saved(chart.get(), true) == before, "a refused file changed the chart");
        return;
    }
    Draw(into);
    const std::string text = Saved(into, true);
    auto again = NewChart();
    TCustomChart* copy = again.get();
    fuzz::Check(Loads(copy, Saved(into, false)), "a saved chart does not load");
    fuzz::Check(Saved(copy, true) == text, "a saved chart loads as another chart");
}

} // namespace

fuzz::Seeds FuzzSeeds() {
    fuzz::Seeds seeds;
    const auto keep = [&](TChart* Chart, const std::string& Name) {
        seeds.push_back({Name + ".zuz", Saved(Chart, false)});
        seeds.push_back({Name + ".txt.zuz", Saved(Chart, true)});
    };
    TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* type = types[i];
        const auto chart = NewChart();
        const ClassInfo* seriesClass = type->SeriesClass ? type->SeriesClass : &TLineSeries::StaticClass();
        TChartSeries* source = CreateNewSeries(chart.get(), chart.get(), seriesClass);
        source->FillSampleValues(8);
        if (type->FunctionClass) CreateNewSeries(chart.get(), chart.get(), seriesClass, type->FunctionClass);
        keep(chart.get(), "type" + std::to_string(i));
    }
    keep(SampleChart().get(), "sample");
    return seeds;
}

void FuzzOne(std::string_view Input) {
    Check(Input);
    // Windows of freed controls go with the next turn of the event loop.
    probe::ProcessEvents();
}
