#include "tests/fuzz/samplechart.h"

#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/zuzstore.h"
#include "tests/fuzz/fuzzing.h"

#include <chrono>
#include <functional>
#include <sstream>

namespace {

Owned<TChart> NewChart(int Width, int Height) {
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, Width, Height);
    return chart;
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
void Draw(TCustomChart* Chart, int Width, int Height) {
    TBitmap picture;
    picture.SetSize(Width, Height);
    try {
        Chart->Draw(picture.GetCanvas(), TRect(0, 0, Width, Height));
    } catch (const Exception&) {
    }
}

// The first line where two saves in text differ, as each reads.
std::string FirstDifference(const std::string& A, const std::string& B) {
    std::istringstream a(A), b(B);
    std::string x, y;
    while (std::getline(a, x) && std::getline(b, y))
        if (x != y) break;
    const auto trim = [](std::string L) {
        L.erase(0, L.find_first_not_of(' '));
        if (!L.empty() && L.back() == '\r') L.pop_back();
        return L;
    };
    return "\"" + trim(x) + "\" became \"" + trim(y) + "\"";
}

} // namespace

Owned<TChart> SampleChart() {
    Owned<TChart> chart = NewChart(320, 240);
    chart->GetTitle()->SetTextFormat(ttfHtml);
    chart->GetTitle()->GetText()->Add(u"<b>Расход</b> <font size=+2 color=#FF0000>м<sup>3</sup></font><br>");
    chart->GetTitle()->SetBevel(bvRaised);
    TChartLegend* legend = chart->GetLegend();
    legend->SetBevel(bvLowered);
    legend->SetBevelWidth(3);
    legend->SetCustomPosition(true);
    legend->SetPositionUnits(muPercent);
    legend->SetLeftPercent(60);
    legend->SetTopPercent(20);
    chart->GetGradient()->SetVisible(true);
    TBackImage* back = chart->GetBackImage();
    TBitmap bitmap;
    bitmap.SetSize(6, 4);
    bitmap.GetCanvas()->FillRect(TRect(0, 0, 3, 4));
    back->SetGraphic(&bitmap);
    back->GetFilters()->Add(TBlurFilter::StaticClass());
    back->GetFilters()->Add(TMirrorFilter::StaticClass());
    TChartSeries* bars = CreateNewSeries(chart.get(), chart.get(), &TBarSeries::StaticClass());
    bars->FillSampleValues(5);
    bars->GetMarks()->SetVisible(true);
    bars->GetMarks()->SetBevel(bvRaised);
    CreateNewSeries(chart.get(), chart.get(), &TLineSeries::StaticClass())->FillSampleValues(5);
    return chart;
}

std::string SampleChartMetafile() {
    const auto chart = SampleChart();
    TMetafile metafile;
    {
        TMetafileCanvas canvas(&metafile, nullptr);
        chart->Draw(&canvas, TRect(0, 0, 320, 240));
    }
    TMemoryStream s;
    metafile.SaveToStream(&s);
    return fuzz::Bytes(s);
}

std::vector<Owned<TChart>> SeriesTypeCharts() {
    std::vector<Owned<TChart>> charts;
    TZuzSeriesTypes& types = ZuzSeriesTypes();
    for (int i = 0; i < types.Count(); ++i) {
        const TZuzSeriesType* type = types[i];
        Owned<TChart> chart = NewChart(320, 240);
        const ClassInfo* seriesClass = type->SeriesClass ? type->SeriesClass : &TLineSeries::StaticClass();
        TChartSeries* source = CreateNewSeries(chart.get(), chart.get(), seriesClass);
        source->FillSampleValues(8);
        if (type->FunctionClass) CreateNewSeries(chart.get(), chart.get(), seriesClass, type->FunctionClass);
        charts.push_back(std::move(chart));
    }
    return charts;
}

Owned<TChart> DressedChart(bool View3D) {
    Owned<TChart> chart = SampleChart();
    chart->SetView3D(View3D);
    TChartLegend* legend = chart->GetLegend();
    legend->GetTitle()->GetText()->Add(u"Узлы");
    legend->GetShadow()->SetSmooth(true);
    legend->GetFont()->GetShadow()->SetVisible(true);
    chart->GetSubTitle()->GetText()->Add(u"за сутки");
    chart->GetFoot()->GetText()->Add(u"КРОНТ");
    chart->GetSubFoot()->GetText()->Add(u"м3/ч");
    chart->GetTitle()->GetShadow()->SetVisible(true);
    chart->GetTitle()->GetFont()->GetGradient()->SetVisible(true);
    chart->GetTitle()->GetFont()->GetOutLine()->SetVisible(true);
    chart->GetBackWall()->GetGradient()->SetVisible(true);
    chart->GetLeftWall()->GetPen()->SetWidth(2);
    chart->GetBottomWall()->SetSize(4);
    chart->GetRightWall()->SetVisible(true);
    TChartAxis* left = chart->GetLeftAxis();
    left->GetItems()->Add(0, u"ноль");
    left->GetItems()->Add(500, u"полсотни");
    left->GetTitle()->SetCaption(u"Расход");
    chart->GetBottomAxis()->GetGrid()->SetStyle(psDash);
    TChartSeries* bars = chart->GetSeries(0);
    TSeriesMarks* marks = bars->GetMarks();
    marks->GetCallout()->SetVisible(true);
    marks->GetShadow()->SetVisible(true);
    marks->GetGradient()->SetVisible(true);
    static_cast<TBarSeries*>(bars)->GetGradient()->SetVisible(true);
    chart->GetSeries(1)->GetMarks()->SetVisible(true);
    return chart;
}

std::vector<TComponent*> ChartParts(TCustomChart* Chart) {
    std::vector<TComponent*> parts{Chart};
    const std::function<void(TComponent*)> below = [&](TComponent* Component) {
        Component->GetChildren(
            [&](TComponent* Child) {
                parts.push_back(Child);
                below(Child);
            },
            Chart);
    };
    below(Chart);
    return parts;
}

std::string SavedChart(TCustomChart* Chart, bool Text) {
    TMemoryStream s;
    SaveChartToStream(Chart, &s, true, Text);
    return fuzz::Bytes(s);
}

ChartFileRun RunChartFile(std::string_view Input, int Width, int Height) {
    ChartFileRun run;
    auto chart = NewChart(Width, Height);
    CreateNewSeries(chart.get(), chart.get(), &TLineSeries::StaticClass())->FillSampleValues(4);
    const std::string before = SavedChart(chart.get(), true);
    TCustomChart* into = chart.get();
    if (!Loads(into, Input)) {
        if (SavedChart(chart.get(), true) != before) run.fault = "a refused file changed the chart";
        return run;
    }
    const auto start = std::chrono::steady_clock::now();
    Draw(into, Width, Height);
    run.drawSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const std::string text = SavedChart(into, true);
    auto again = NewChart(Width, Height);
    TCustomChart* copy = again.get();
    if (!Loads(copy, SavedChart(into, false))) {
        run.fault = "a saved chart does not load";
        return run;
    }
    // Drawn as the first was: a number that each drawing moves would pass a check of the file alone.
    Draw(copy, Width, Height);
    if (const std::string second = SavedChart(copy, true); second != text)
        run.fault = "a saved chart loads as another chart: " + FirstDifference(text, second);
    return run;
}
