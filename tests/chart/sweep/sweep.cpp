#include "tests/chart/sweep/sweep.h"

#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshadow.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriesmarks.h"
#include "chart/engine/seriespointer.h"
#include "chart/series/arrowcha.h"
#include "chart/series/bubblech.h"
#include "chart/series/ganttch.h"
#include "chart/series/series.h"
#include "chart/series/series_area.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_pie.h"
#include "tests/chart/series/chartunits.h"
#include "tests/chart/series/picturefile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <sstream>

namespace sweep {

namespace {

std::vector<int> Steps(int From, int To, int Step) {
    std::vector<int> v;
    for (int i = From; i <= To; i += Step) v.push_back(i);
    return v;
}

// The chart sizes walked: square and not, 150 x 100 up to 1,200 x 800.
const std::vector<TPoint> Sizes = {{150, 100}, {200, 200}, {320, 240}, {400, 300}, {500, 500},
                                   {640, 360}, {300, 600}, {800, 600}, {1200, 800}};

} // namespace

const std::vector<Space>& Spaces() {
    static const std::vector<Space> spaces = {
        {"view", &Point::view, {0, 1, 2}},
        {"ortho", &Point::ortho, {0, 10, 45, 80, 90}},
        {"rotation", &Point::rotation, Steps(0, 360, 15)},
        {"elevation", &Point::elevation, Steps(270, 360, 15)},
        {"perspective", &Point::perspective, {0, 30, 80}},
        {"depth", &Point::depth, {15, 100}},
        {"walls", &Point::walls, {0, 1}},
        {"size", nullptr, Steps(0, static_cast<int>(Sizes.size()) - 1, 1)},
        {"legend", &Point::legend, {0, 1, 2, 3, 4, 5}},
        {"titles", &Point::titles, {0, 1, 2}},
        {"series", &Point::series, Steps(0, static_cast<int>(SeriesKinds().size()) - 1, 1)},
        {"style", &Point::style, Steps(0, 12, 1)},
        {"values", &Point::values, {0, 1, 2, 3}},
        {"points", &Point::points, {1, 5, 12}},
        {"pen", &Point::pen, {0, 1}},
        {"transparency", &Point::transparency, {0, 50}},
        {"gradient", &Point::gradient, {0, 1}},
        {"shadow", &Point::shadow, {0, 1}},
        {"marks", &Point::marks, {0, 1, 2, 3, 4}},
        {"axis", &Point::axis, {0, 1, 2, 3, 4}},
        {"inverted", &Point::inverted, {0, 1}},
        {"offset", &Point::offset, {0, 20}},
        {"labelStyle", &Point::labelStyle, {talAuto, talNone, talValue, talMark, talText}},
        {"alternate", &Point::alternate, {0, 1}},
        {"opposite", &Point::opposite, {0, 1}},
        {"axisTitle", &Point::axisTitle, {0, 1, 91}},
        {"font", &Point::font, Steps(6, 20, 2)},
        {"seriesDepth", &Point::seriesDepth, {-1, 250}},
    };
    return spaces;
}

const std::vector<SeriesKind>& SeriesKinds() {
    static const std::vector<SeriesKind> kinds = {
        {"line", 1, true},         {"stairs", 1, true},        {"invertedstairs", 1, true},
        {"horizline", 1, true},    {"points", 13, true},       {"fastline", 1, true},
        {"bar", 13, true},         {"horizbar", 13, true},     {"barside", 13, true},
        {"barstacked", 13, true},  {"barstacked100", 1, true}, {"area", 1, true},
        {"areastacked", 1, true},  {"horizarea", 1, true},     {"pie", 1, false},
        {"pieexploded", 1, false}, {"piecircled", 1, false},   {"bubble", 1, true},
        {"arrow", 1, true},        {"gantt", 1, true},
    };
    return kinds;
}

namespace {

int& Field(Point& P, const Space& S) {
    static int none = 0;
    return S.field ? P.*S.field : none;
}

int SizeIndex(const Point& P) {
    for (std::size_t i = 0; i < Sizes.size(); ++i)
        if (Sizes[i].X == P.width && Sizes[i].Y == P.height) return static_cast<int>(i);
    return -1;
}

Point Sample(std::mt19937& Random) {
    Point p;
    for (const Space& s : Spaces()) {
        const int v = s.values[std::uniform_int_distribution<std::size_t>(0, s.values.size() - 1)(Random)];
        if (s.field)
            Field(p, s) = v;
        else {
            p.width = Sizes[static_cast<std::size_t>(v)].X;
            p.height = Sizes[static_cast<std::size_t>(v)].Y;
        }
    }
    p.style %= SeriesKinds()[static_cast<std::size_t>(p.series)].styles;
    // A logarithmic axis refuses values at or below zero (its drawing raises): it gets positive ones.
    if (p.axis == 1 && p.values != 3) p.values = 0;
    return p;
}

} // namespace

std::string Line(const Point& P) {
    std::ostringstream out;
    for (const Space& s : Spaces()) {
        if (&s != &Spaces().front()) out << ' ';
        if (s.field)
            out << s.name << '=' << P.*s.field;
        else
            out << "size=" << P.width << 'x' << P.height;
    }
    return out.str();
}

bool FromLine(const std::string& Text, Point& P) {
    std::istringstream in(Text);
    std::string word;
    while (in >> word) {
        const auto eq = word.find('=');
        if (eq == std::string::npos) return false;
        const std::string name = word.substr(0, eq), value = word.substr(eq + 1);
        bool known = false;
        for (const Space& s : Spaces()) {
            if (name != s.name) continue;
            known = true;
            if (s.field) {
                Field(P, s) = std::atoi(value.c_str());
            } else {
                const auto x = value.find('x');
                if (x == std::string::npos) return false;
                P.width = std::clamp(std::atoi(value.c_str()), 10, 4000);
                P.height = std::clamp(std::atoi(value.c_str() + x + 1), 10, 4000);
            }
        }
        if (!known) return false;
    }
    const int kinds = static_cast<int>(SeriesKinds().size());
    return P.series >= 0 && P.series < kinds && SizeIndex(P) >= -1;
}

namespace {

// The value of point I: positive, negative, zero or a null by the point's `values`.
double Value(const Point& P, int I) {
    const double v = 3 + (I * 7) % 10;
    switch (P.values) {
    case 1:
        return -v;
    case 2:
        return I % 3 == 0 ? 0 : (I % 2 ? v : -v);
    default:
        return v;
    }
}

const char16_t* const DayNames[] = {u"Пн", u"Вт", u"Ср", u"Чт", u"Пт", u"Сб", u"Вс"};

void Fill(TChartSeries* S, const Point& P, int Shift) {
    const bool dates = P.axis == 2 || P.axis == 3;
    for (int i = 0; i < P.points; ++i) {
        const double x = dates ? 46000 + i * 0.75 : i;
        const double y = Value(P, i) + Shift;
        const String label = DayNames[i % 7];
        if (P.values == 3 && i == 1)
            S->YMandatory() ? S->AddNullXY(x, y, label) : S->AddNullXY(y, x, label);
        else if (auto* bubble = dynamic_cast<TBubbleSeries*>(S))
            bubble->AddBubble(x, y, 0.6, label);
        else if (auto* gantt = dynamic_cast<TGanttSeries*>(S))
            gantt->AddGantt(x, x + (dates ? 1.5 : 2), i, label);
        else if (auto* arrow = dynamic_cast<TArrowSeries*>(S))
            arrow->AddArrow(x, y, x + 0.6, y + (i % 2 ? 2 : -2), label);
        else if (S->YMandatory())
            S->AddXY(x, y, label);
        else
            S->AddXY(y, x, label);
    }
    if (dates) (S->YMandatory() ? S->GetXValues() : S->GetYValues())->SetDateTime(true);
}

template <class S>
S* New(TChart* Chart, TColor Color) {
    auto* s = Create<S>(Chart);
    s->SetName(u"Series" + IntToStr(Chart->SeriesCount()));
    Chart->AddSeries(s);
    s->SetSeriesColor(Color);
    return s;
}

// The point's series: one, or two for the kinds that stack or stand side by side.
std::vector<TChartSeries*> AddSeries(TChart* Chart, const Point& P) {
    const std::string kind = SeriesKinds()[static_cast<std::size_t>(P.series)].name;
    std::vector<TChartSeries*> made;
    const int count =
        kind == "barside" || kind == "barstacked" || kind == "barstacked100" || kind == "areastacked" ? 2 : 1;
    for (int n = 0; n < count; ++n) {
        const TColor color = n == 0 ? clRed : clBlue;
        TChartSeries* s = nullptr;
        if (kind == "line" || kind == "stairs" || kind == "invertedstairs") {
            auto* l = New<TLineSeries>(Chart, color);
            l->SetStairs(kind != "line");
            l->SetInvertedStairs(kind == "invertedstairs");
            s = l;
        } else if (kind == "horizline") {
            s = New<THorizLineSeries>(Chart, color);
        } else if (kind == "points") {
            auto* p = New<TPointSeries>(Chart, color);
            p->GetPointer()->SetStyle(static_cast<TSeriesPointerStyle>(P.style));
            s = p;
        } else if (kind == "fastline") {
            s = New<TFastLineSeries>(Chart, color);
        } else if (kind.starts_with("bar") || kind == "horizbar") {
            TCustomBarSeries* b = kind == "horizbar"
                                      ? static_cast<TCustomBarSeries*>(New<THorizBarSeries>(Chart, color))
                                      : New<TBarSeries>(Chart, color);
            b->SetBarStyle(static_cast<TBarStyle>(P.style));
            if (kind == "barside") b->SetMultiBar(mbSide);
            if (kind == "barstacked") b->SetMultiBar(mbStacked);
            if (kind == "barstacked100") b->SetMultiBar(mbStacked100);
            b->SetTransparency(P.transparency);
            b->GetGradient()->SetVisible(P.gradient != 0);
            b->GetShadow()->SetVisible(P.shadow != 0);
            s = b;
        } else if (kind.starts_with("area") || kind == "horizarea") {
            TAreaSeries* a =
                kind == "horizarea" ? New<THorizAreaSeries>(Chart, color) : New<TAreaSeries>(Chart, color);
            if (kind == "areastacked") a->SetMultiArea(maStacked);
            a->SetTransparency(P.transparency);
            a->GetGradient()->SetVisible(P.gradient != 0);
            s = a;
        } else if (kind.starts_with("pie")) {
            auto* pie = New<TPieSeries>(Chart, color);
            pie->SetColorEachPoint(true);
            if (kind == "pieexploded") pie->SetExplodeBiggest(30);
            pie->SetCircled(kind == "piecircled");
            pie->GetGradient()->SetVisible(P.gradient != 0);
            s = pie;
        } else if (kind == "bubble") {
            s = New<TBubbleSeries>(Chart, color);
        } else if (kind == "arrow") {
            s = New<TArrowSeries>(Chart, color);
        } else {
            s = New<TGanttSeries>(Chart, color);
        }
        s->GetPen()->SetVisible(P.pen != 0);
        s->SetDepth(P.seriesDepth);
        Fill(s, P, n);
        TSeriesMarks* marks = s->GetMarks();
        marks->SetVisible(P.marks != 0);
        if (P.marks == 2) marks->SetAngle(90);
        if (P.marks == 3) marks->GetSymbol()->SetVisible(true);
        if (P.marks == 4 && s->Count() > 1) {
            TSeriesMarkPosition placed;
            placed.Custom = true;
            placed.Width = 40;
            placed.Height = 16;
            TSeriesMarksPositions::MoveTo(placed, P.width / 3, P.height / 3);
            marks->Positions().Put(1, placed);
        }
        made.push_back(s);
    }
    return made;
}

void SetAxes(TChart* Chart, const Point& P, bool Horizontal) {
    TChartAxis* value = Horizontal ? Chart->GetBottomAxis() : Chart->GetLeftAxis();
    TChartAxis* category = Horizontal ? Chart->GetLeftAxis() : Chart->GetBottomAxis();
    value->SetLogarithmic(P.axis == 1);
    if (P.axis == 3) category->SetDateTimeFormat(u"dd.MM.yy hh:mm");
    if (P.axis == 4) {
        value->GetItems()->Clear();
        for (int v = -12; v <= 12; v += 4) value->GetItems()->Add(v, u"метка " + IntToStr(v));
    }
    value->SetInverted(P.inverted != 0);
    value->SetPositionPercent(P.offset);
    category->SetLabelStyle(static_cast<TAxisLabelStyle>(P.labelStyle));
    category->SetLabelsAlternate(P.alternate != 0);
    value->SetLabelsAlign(P.opposite ? alOpposite : alDefault);
    if (P.axisTitle) {
        value->GetTitle()->SetCaption(u"Расход, м3/ч");
        value->GetTitle()->SetAngle(P.axisTitle - 1);
        category->GetTitle()->SetCaption(u"Время");
    }
    for (TChartAxis* a : {value, category}) a->GetLabelsFont()->SetSize(P.font);
}

} // namespace

void Start() {
    StartChartUnits();
    GdiSetTextAntialiasing(false);
}

Owned<TChart> Build(const Point& P) {
    Start();
    Owned<TChart> chart(Create<TChart>(nullptr));
    chart->SetBounds(0, 0, P.width, P.height);
    chart->SetColor(clWhite);
    chart->SetView3D(P.view != 0);
    chart->Set3DPercent(P.depth);
    chart->SetView3DWalls(P.walls != 0);
    TChartLegend* legend = chart->GetLegend();
    legend->SetVisible(P.legend != 0);
    if (P.legend >= 1 && P.legend <= 4) legend->SetAlignment(static_cast<TLegendAlignment>(P.legend - 1));
    if (P.legend == 5) {
        legend->SetCustomPosition(true);
        legend->SetLeft(P.width / 2);
        legend->SetTop(P.height / 4);
    }
    chart->GetTitle()->GetText()->Clear();
    if (P.titles) {
        chart->GetTitle()->GetText()->Add(u"Архив узла учёта");
        chart->GetFoot()->GetText()->Add(u"КРОНТ");
    }
    if (P.titles == 2) {
        chart->GetTitle()->SetCustomPosition(true);
        chart->GetTitle()->SetLeft(P.width / 5);
        chart->GetTitle()->SetTop(P.height / 3);
    }
    const std::vector<TChartSeries*> series = AddSeries(chart.get(), P);
    // After the series: a pie takes 3D options of its own when it joins a chart.
    TView3DOptions* view = chart->GetView3DOptions();
    view->SetOrthogonal(P.view == 1);
    if (P.view == 1) view->SetOrthoAngle(P.ortho);
    if (P.view == 2) {
        view->SetRotation(P.rotation);
        view->SetElevation(P.elevation);
        view->SetPerspective(P.perspective);
    }
    const std::string kind = SeriesKinds()[static_cast<std::size_t>(P.series)].name;
    SetAxes(chart.get(), P, kind.starts_with("horiz"));
    return chart;
}

Drawn Record(TChart* Chart, TBitmap& Out) {
    auto* canvas = new scene3d::RecordingCanvas;
    Chart->SetInternalCanvas(canvas);
    Draw(Chart, Out);
    Drawn d;
    d.shapes = canvas->shapes;
    d.lines = canvas->lines;
    d.texts = canvas->texts;
    d.chartRect = Chart->GetChartRect();
    d.panel = TRect(0, 0, Chart->GetWidth(), Chart->GetHeight());
    d.canvas = canvas;
    return d;
}

bool EdgeOn(TChart* Chart) {
    if (!Chart->GetView3D()) return false;
    const TRect r = Chart->GetChartRect();
    TCanvas3D* c = Chart->GetCanvas();
    const TPoint p[4] = {c->Calculate3DPosition(r.Left, r.Top, 0), c->Calculate3DPosition(r.Right, r.Top, 0),
                         c->Calculate3DPosition(r.Right, r.Bottom, 0),
                         c->Calculate3DPosition(r.Left, r.Bottom, 0)};
    double area = 0;
    for (int i = 0; i < 4; ++i)
        area +=
            static_cast<double>(p[i].X) * p[(i + 1) % 4].Y - static_cast<double>(p[(i + 1) % 4].X) * p[i].Y;
    return std::abs(area) / 2 < 0.1 * std::max(1, r.Width()) * std::max(1, r.Height());
}

bool Cramped(TChart* Chart) {
    const TRect r = Chart->GetChartRect();
    const int least = std::max(40, 4 * Chart->GetLeftAxis()->GetLabelsFont()->GetSize());
    return r.Width() < least || r.Height() < least;
}

std::string Noted(TChart* Chart, std::string Fault) {
    if (Fault.empty()) return Fault;
    if (EdgeOn(Chart)) Fault += " [edge-on]";
    if (Cramped(Chart)) Fault += " [cramped]";
    return Fault;
}

const Exception SeenEdgeOn{
    [](const Point&, const std::string& F) { return F.find("[edge-on]") != std::string::npos; },
    "the box is turned edge-on: its faces project to a sliver, and what stands on them with it"};
const Exception NoRoom{
    [](const Point&, const std::string& F) { return F.find("[cramped]") != std::string::npos; },
    "the chart rectangle is what the titles, legend, labels and margins leave of the panel: here "
    "under 40 pixels or four label heights, too little for the axes and their labels"};

namespace {
// The first picture the rule drew of its point, kept for a person to look at when it refuses.
const bool Keeping = std::getenv("MOLTREN_PICTURE_DIR") != nullptr;
std::optional<probe::Picture> Kept;
} // namespace

void Draw(TChart* Chart, TBitmap& Out) {
    Out.SetSize(Chart->GetWidth(), Chart->GetHeight());
    Chart->Draw(Out.GetCanvas(), TRect(0, 0, Chart->GetWidth(), Chart->GetHeight()));
    if (Keeping && !Kept) Kept = probe::Grab(Out);
}

// The sanitizers look for memory faults, which a fifth of the short sweep's charts meets as well;
// the plain build holds every chart to the rules.
#ifdef MOLTREN_SANITIZED
constexpr int kShortShare = 5;
#else
constexpr int kShortShare = 1;
#endif

int Sweep(const char* RuleName, int ShortCount, const std::function<void(Point&)>& Shape,
          const std::function<std::string(const Point&)>& Rule, const std::vector<Exception>& Exceptions) {
    Start();
    std::vector<Point> fixed;
    unsigned seed = 82;
    double seconds = 0;
    if (const char* one = std::getenv("MOLTREN_SWEEP_POINT"); one && *one) {
        Point p;
        if (!FromLine(one, p)) {
            ADD_FAILURE() << "MOLTREN_SWEEP_POINT is no point: " << one;
            return 0;
        }
        fixed.push_back(p);
    } else {
        if (const char* s = std::getenv("MOLTREN_SWEEP_SEED"); s && *s)
            seed = static_cast<unsigned>(std::strtoul(s, nullptr, 10));
        if (const char* s = std::getenv("MOLTREN_SWEEP_SECONDS"); s && *s) seconds = std::atof(s);
    }
    std::mt19937 random(seed);
    const auto start = std::chrono::steady_clock::now();
    const auto more = [&](int Done) {
        if (!fixed.empty()) return Done < static_cast<int>(fixed.size());
        if (seconds > 0)
            return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds;
        return Done < std::max(1, ShortCount / kShortShare);
    };
    int checked = 0, refused = 0, excepted = 0;
    for (; more(checked); ++checked) {
        Point p = fixed.empty() ? Sample(random) : fixed[static_cast<std::size_t>(checked)];
        if (fixed.empty() && Shape) Shape(p);
        std::string fault;
        Kept.reset();
        try {
            fault = Rule(p);
        } catch (const std::exception& e) {
            fault = std::string("drawing raised: ") + e.what();
        }
        if (fault.empty()) continue;
        const auto exception = std::find_if(Exceptions.begin(), Exceptions.end(),
                                            [&](const Exception& e) { return e.holds(p, fault); });
        if (exception != Exceptions.end()) {
            ++excepted;
            if (!fixed.empty()) std::cout << "excepted (" << exception->reason << "): " << fault << '\n';
            continue;
        }
        ++refused;
        if (Kept) KeepPicture(*Kept, std::string(RuleName) + "-" + std::to_string(refused) + ".png");
        ADD_FAILURE() << RuleName << ": " << fault << "\n  MOLTREN_SWEEP_POINT='" << Line(p)
                      << "' test_chart_sweep --gtest_filter=Sweep." << RuleName;
    }
    std::cout << RuleName << ": seed " << seed << ", " << checked << " charts, " << refused << " refused, "
              << excepted << " excepted\n";
    return checked;
}

} // namespace sweep
