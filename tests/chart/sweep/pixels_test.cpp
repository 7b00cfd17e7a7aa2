// What the pixels show of a series: something in every view, and a transparency or gradient set
// on it over all of it.
#include "tests/chart/sweep/sweep.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <optional>

namespace {

using sweep::Point;

bool Kind(const Point& P, std::initializer_list<std::string_view> Names) {
    const std::string_view k = sweep::SeriesKinds()[static_cast<std::size_t>(P.series)].name;
    return std::find(Names.begin(), Names.end(), k) != Names.end();
}

int KindIndex(std::string_view Name) {
    const auto& kinds = sweep::SeriesKinds();
    for (std::size_t i = 0; i < kinds.size(); ++i)
        if (kinds[i].name == Name) return static_cast<int>(i);
    return 0;
}

// Red as the series draws it, lit or shaded: no white, grey or other colour mixed in.
bool Red(const probe::Rgb& C) {
    return C.r > 40 && C.g * 4 < C.r && C.b * 4 < C.r;
}

// The series of the point alone in red, on a white chart whose axes, walls and legend draw in no red.
Owned<TChart> RedOnly(const Point& P) {
    auto chart = sweep::Build(P);
    chart->GetLegend()->SetVisible(false);
    chart->GetFoot()->GetFont()->SetColor(clBlack);
    for (int i = 0; i < chart->SeriesCount(); ++i) {
        TChartSeries* s = chart->GetSeries(i);
        s->SetColorEachPoint(false);
        s->SetSeriesColor(i == 0 ? clRed : clBlue);
        s->GetMarks()->SetVisible(false);
    }
    return chart;
}

std::string SomethingToSeeOf(TChart* chart, const Point& P) {
    TBitmap out;
    sweep::Draw(chart, out);
    const probe::Picture picture = probe::Grab(out);
    int n = 0, left = P.width, right = -1, top = P.height, bottom = -1;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x)
            if (Red(picture.Pixel(x, y))) {
                ++n;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    const TRect r = chart->GetChartRect();
    const int least = std::max(12, r.Width() * r.Height() / 400);
    if (n == 0) return "the series shows no pixel (at least " + std::to_string(least) + " expected)";
    if (n < least || right - left < 2 || bottom - top < 2)
        return "the series shows " + std::to_string(n) + " pixels over " + std::to_string(right - left + 1) +
               " x " + std::to_string(bottom - top + 1) + " (at least " + std::to_string(least) +
               " expected)";
    return {};
}

std::string SomethingToSee(const Point& P) {
    const auto chart = RedOnly(P);
    return sweep::Noted(chart.get(), SomethingToSeeOf(chart.get(), P));
}

// Yellow or green as a gradient from one to the other draws them.
bool Gradient(const probe::Rgb& C) {
    return C.g > 100 && C.b < 80 && C.r < C.g + 60;
}

probe::Picture Drawing(TChart* Chart) {
    TBitmap out;
    sweep::Draw(Chart, out);
    return probe::Grab(out);
}

std::string SettingShowsWholeOf(TChart* chart, const Point& P) {
    // The axis lines and the walls' frames are pens; a half transparent red over them stays
    // dark red. What counts is a pixel as the series draws it opaque.
    TChartSeries* s = chart->GetSeries(0);
    if (P.gradient) {
        TCustomZuzGradient* g = nullptr;
        if (auto* b = dynamic_cast<TCustomBarSeries*>(s)) {
            b->SetBarStyle(bsRectGradient);
            g = b->GetGradient();
        }
        if (auto* c = dynamic_cast<TCustomSeries*>(s)) g = c->GetGradient();
        g->SetStartColor(clYellow);
        g->SetEndColor(clGreen);
        const probe::Picture picture = Drawing(chart);
        int n = 0;
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) n += Gradient(picture.Pixel(x, y)) ? 1 : 0;
        const TRect r = chart->GetChartRect();
        const int least = std::max(12, r.Width() * r.Height() / 400);
        return n >= least ? std::string()
                          : "the gradient shows on " + std::to_string(n) + " pixels (at least " +
                                std::to_string(least) + " expected)";
    }
    const auto drawnAt = [chart](int Transparency) {
        for (int i = 0; i < chart->SeriesCount(); ++i)
            if (auto* b = dynamic_cast<TCustomBarSeries*>(chart->GetSeries(i)))
                b->SetTransparency(Transparency);
            else if (auto* c = dynamic_cast<TCustomSeries*>(chart->GetSeries(i)))
                c->SetTransparency(Transparency);
        return Drawing(chart);
    };
    const probe::Picture seeThrough = Drawing(chart), opaque = drawnAt(0);
    // Half of the red over black text is the dark red of a shaded face: a pixel that stays as
    // drawn opaque under a second transparency as well is opaque.
    std::optional<probe::Picture> other;
    int n = 0, firstX = -1, firstY = -1;
    for (int y = 0; y < opaque.Height(); ++y)
        for (int x = 0; x < opaque.Width(); ++x) {
            if (!Red(opaque.Pixel(x, y)) || opaque.Pixel(x, y) != seeThrough.Pixel(x, y)) continue;
            if (!other) other = drawnAt(80);
            if (opaque.Pixel(x, y) == other->Pixel(x, y) && ++n == 1) {
                firstX = x;
                firstY = y;
            }
        }
    if (n > 0)
        return std::to_string(n) + " pixels of the series stay opaque under a transparency, the first at (" +
               std::to_string(firstX) + "," + std::to_string(firstY) + ")";
    return {};
}

std::string SettingShowsWhole(const Point& P) {
    const auto chart = RedOnly(P);
    return sweep::Noted(chart.get(), SettingShowsWholeOf(chart.get(), P));
}

} // namespace

TEST(Sweep, SomethingToSee) {
    // Shapes with area, values that stand off the origin; the chart's rectangle large enough to
    // hold them (a rule for a box of height, not for a strip).
    static const int kinds[] = {KindIndex("bar"),         KindIndex("horizbar"), KindIndex("barside"),
                                KindIndex("barstacked"),  KindIndex("area"),     KindIndex("horizarea"),
                                KindIndex("areastacked"), KindIndex("pie"),      KindIndex("pieexploded"),
                                KindIndex("piecircled")};
    sweep::Sweep(
        "SomethingToSee", 250,
        [](sweep::Point& P) {
            P.series = kinds[static_cast<std::size_t>(P.rotation + P.elevation + P.font) % std::size(kinds)];
            P.style = Kind(P, {"area", "horizarea", "areastacked"}) ? 0 : P.style;
            P.values = P.values % 2;
            if (P.axis == 1) P.values = 0;
            P.points = std::max(P.points, 5);
            P.transparency = 0;
            P.gradient = 0;
            P.width = std::max(P.width, 320);
            P.height = std::max(P.height, 240);
        },
        SomethingToSee,
        {sweep::SeenEdgeOn,
         sweep::NoRoom,
         {[](const sweep::Point& P, const std::string&) { return P.view == 2 && P.walls; },
          "seen from outside the box (from below, behind or its side) a wall stands between the viewer and "
          "the "
          "series, and is drawn after them: it hides them"},
         {[](const sweep::Point& P, const std::string&) {
              return P.view == 2 && Kind(P, {"areastacked", "barstacked"}) &&
                     (P.elevation <= 300 || std::abs(P.rotation % 180 - 90) <= 15);
          },
          "seen from its side or steeply from above, a series lies behind the one stacked on it, drawn after "
          "it: that one covers it"},
         {[](const sweep::Point& P, const std::string&) {
              const bool pointed = P.style != bsRectangle && P.style != bsRectGradient &&
                                   P.style != bsBevel && P.style != bsSlantCube;
              return P.pen && pointed && Kind(P, {"bar", "horizbar", "barside", "barstacked"}) &&
                     ((P.view == 1 && P.ortho >= 80) ||
                      (P.view == 2 && std::abs(P.rotation % 180 - 90) <= 15));
          },
          "a cone, pyramid, arrow or diamond bar is drawn as its faces, each outlined with the series' pen: "
          "seen along its depth (an orthogonal view at 80 degrees or more, a turned view near its side) a "
          "bar a few pixels wide shows its outlines and little of its fill"}});
}

TEST(Sweep, ASettingShowsWhole) {
    static const int kinds[] = {KindIndex("bar"), KindIndex("horizbar"), KindIndex("area"),
                                KindIndex("horizarea")};
    sweep::Sweep(
        "ASettingShowsWhole", 250,
        [](sweep::Point& P) {
            P.series = kinds[static_cast<std::size_t>(P.rotation + P.elevation + P.font) % std::size(kinds)];
            P.style = 0;
            P.pen = 0;
            P.marks = 0;
            P.shadow = 0;
            // One setting at a time: a transparency of half, or a gradient; over points that have
            // area to show it on.
            P.transparency = P.gradient ? 0 : 50;
            P.points = std::max(P.points, 5);
            if (P.values == 2) P.values = 0;
        },
        SettingShowsWhole,
        {sweep::SeenEdgeOn,
         sweep::NoRoom,
         {[](const sweep::Point& P, const std::string&) { return P.view == 2 && P.gradient; },
          "a bar's gradient fills its front rectangle (Left, StartPos, Right, EndPos), an area's its front "
          "polygon: "
          "seen from behind, below or the side those faces are turned away"}});
}
