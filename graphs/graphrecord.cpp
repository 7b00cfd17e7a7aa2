#include "graphs/graphrecord.h"

#include "chart/canvas/zuzfont.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/series/series.h"

#include <algorithm>
#include <climits>
#include <cmath>

IGraphHost* GraphHost = nullptr;

SeriesRecord& CopySeriesRecord(SeriesRecord& Target, const SeriesRecord& Source) {
    Target = Source;
    return Target;
}

TScrollRange TimeScrollRange(double SpanDays, double VisibleSeconds) {
    // A bar counts in int: a span of decades (or a broken clock's) must not wrap.
    const auto clamp = [](double Seconds) {
        if (!(Seconds > 0)) return 0;
        return Seconds >= INT_MAX ? INT_MAX : static_cast<int>(Seconds);
    };
    TScrollRange r;
    r.Max = clamp(std::floor(SpanDays * 86400 + 0.01));
    r.Min = std::min(clamp(std::trunc(VisibleSeconds)), r.Max);
    return r;
}

void SetGraphTextColor(TChart* Chart, TColor Color) {
    for (TChartAxis* axis : {Chart->GetBottomAxis(), Chart->GetLeftAxis()}) {
        axis->GetAxisPen()->SetColor(Color);
        axis->GetGrid()->SetColor(Color);
        axis->GetLabelsFont()->SetColor(Color);
        axis->GetMinorTicks()->SetColor(Color);
        axis->GetTicks()->SetColor(Color);
        axis->GetTicksInner()->SetColor(Color);
    }
}

void SetGraphLegend(TChart* Chart, bool Visible) {
    Chart->GetLegend()->SetLegendStyle(lsSeries);
    Chart->GetLegend()->SetVisible(Visible);
}

bool GraphLegendVisible(TChart* Chart) {
    return Chart->GetLegend()->GetVisible();
}

void ApplyPenStyle(SeriesRecord& Record, int StyleIndex) {
    static constexpr TPenStyle styles[] = {psSolid, psDash, psDot};
    static constexpr std::u16string_view tags[] = {PenStyleSolid, PenStyleDash, PenStyleDot};
    if (StyleIndex < 0 || StyleIndex > 2) return;
    if (Record.lineSeries) Record.lineSeries->GetPen()->SetStyle(styles[StyleIndex]);
    Record.penStyleName = String(tags[StyleIndex]);
}

int PenStyleIndex(const SeriesRecord& Record) {
    if (Record.penStyleName == PenStyleDash) return 1;
    if (Record.penStyleName == PenStyleDot) return 2;
    return 0;
}

void RegisterGraphClasses() {
    RegisterClasses({&TChart::StaticClass()});
}
