// Every change shows: a published setting changed, or the data changed by a call (points added
// inside BeginUpdate/EndUpdate, AddArray, Delete, Sort, Assign), on a chart already drawn asks
// for a repaint whenever the picture changes, and the chart then draws what one built with the
// final settings and data draws: each point keeps its own colour, label, mark item and mark
// position.
#include "chart/engine/chartseries.h"
#include "chart/engine/chartvaluelist.h"
#include "chart/engine/seriesmarks.h"
#include "tests/chart/sweep/excuses.h"
#include "tests/chart/sweep/pixelcanvas.h"
#include "tests/chart/sweep/sweep.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <random>
#include <set>
#include <sstream>

namespace sweep {
namespace {

// ---------------------------------------------------------------------------
// The data of a series, point by point.

struct Data {
    std::vector<std::vector<double>> lists; // each value list's values
    std::vector<String> labels;
    std::vector<TColor> colors; // the points' own colours (clDefault: none)
    std::vector<TChartListOrder> orders;
    int Count() const { return lists.empty() ? 0 : static_cast<int>(lists[0].size()); }
};

Data Take(TChartSeries* S) {
    Data d;
    for (int l = 0; l < S->ValuesList().Count(); ++l) {
        d.orders.push_back(S->ValuesList()[l]->GetOrder());
        auto& v = d.lists.emplace_back();
        for (int i = 0; i < S->Count(); ++i) v.push_back(S->ValuesList()[l]->GetValue(i));
    }
    for (int i = 0; i < S->Count(); ++i) {
        d.labels.push_back(S->Labels().GetLabel(i));
        d.colors.push_back(S->OwnColor(i));
    }
    return d;
}

// For each point of Final, the point of Start it came from (-1 for a new one): the first not
// yet taken with the same values.
std::vector<int> Origins(const Data& Start, const Data& Final) {
    std::vector<int> origin(static_cast<std::size_t>(Final.Count()), -1);
    std::vector<bool> taken(static_cast<std::size_t>(Start.Count()));
    for (int k = 0; k < Final.Count(); ++k)
        for (int j = 0; j < Start.Count(); ++j) {
            if (taken[static_cast<std::size_t>(j)]) continue;
            bool same = Start.lists.size() == Final.lists.size();
            for (std::size_t l = 0; same && l < Start.lists.size(); ++l)
                same = Start.lists[l][static_cast<std::size_t>(j)] ==
                       Final.lists[l][static_cast<std::size_t>(k)];
            if (!same) continue;
            taken[static_cast<std::size_t>(j)] = true;
            origin[static_cast<std::size_t>(k)] = j;
            break;
        }
    return origin;
}

// Gives S, never drawn, the values of Final from scratch, each point with the colour, label,
// mark item and mark position its origin had in S.
void Refill(TChartSeries* S, const Data& Final, const std::vector<int>& Origin) {
    const Data start = Take(S);
    TSeriesMarks* marks = S->GetMarks();
    std::vector<std::unique_ptr<TMarksItem>> items;
    std::vector<std::unique_ptr<TSeriesMarkPosition>> positions;
    for (int j = 0; j < start.Count(); ++j) {
        TMarksItem* item = marks->Items().Peek(j);
        items.emplace_back(item ? new TMarksItem(nullptr) : nullptr);
        if (item) items.back()->Assign(item);
        TSeriesMarkPosition* p = marks->Positions().Get(j);
        positions.emplace_back(p ? new TSeriesMarkPosition(*p) : nullptr);
    }
    // Added in the final order, which the lists then keep as theirs.
    for (int l = 0; l < S->ValuesList().Count(); ++l) S->ValuesList()[l]->SetOrder(loNone);
    S->Clear();
    marks->Items().Clear();
    marks->Positions().Clear();
    for (int k = 0; k < Final.Count(); ++k) {
        const int o = Origin[static_cast<std::size_t>(k)];
        const auto at = static_cast<std::size_t>(k);
        const String label = o >= 0 ? start.labels[static_cast<std::size_t>(o)] : Final.labels[at];
        const TColor color = o >= 0 ? start.colors[static_cast<std::size_t>(o)] : Final.colors[at];
        S->AddXY(Final.lists[0][at], Final.lists[1][at], label, color);
        for (std::size_t l = 2; l < Final.lists.size(); ++l)
            S->ValuesList()[static_cast<int>(l)]->SetValue(k, Final.lists[l][at]);
        if (o < 0) continue;
        if (const auto& item = items[static_cast<std::size_t>(o)]) marks->Item(k)->Assign(item.get());
        if (const auto& p = positions[static_cast<std::size_t>(o)]) marks->Positions().Put(k, *p);
    }
    for (std::size_t l = 0; l < Final.orders.size(); ++l)
        S->ValuesList()[static_cast<int>(l)]->SetOrder(Final.orders[l]);
}

// ---------------------------------------------------------------------------
// The chart drawn, and what it drew.

struct Shown {
    Owned<TChart> chart;
    TPixelCanvas* canvas = nullptr;
    TBitmap out;
    explicit Shown(const Point& P) : chart(Build(P)), canvas(new TPixelCanvas) {
        chart->SetInternalCanvas(canvas);
    }
    std::vector<Byte> Draw() {
        out.SetSize(chart->GetWidth(), chart->GetHeight());
        chart->Draw(out.GetCanvas(), TRect(0, 0, chart->GetWidth(), chart->GetHeight()));
        std::vector<Byte> pixels;
        const std::size_t row =
            static_cast<std::size_t>(out.GetWidth()) * (out.GetPixelFormat() == pf24bit ? 3 : 4);
        for (int y = 0; y < out.GetHeight(); ++y)
            pixels.insert(pixels.end(), out.ScanLine(y), out.ScanLine(y) + row);
        return pixels;
    }
    TChartSeries* Series() const { return chart->GetSeries(0); }
};

int Differing(const std::vector<Byte>& A, const std::vector<Byte>& B) {
    if (A.size() != B.size()) return -1;
    int n = 0;
    for (std::size_t i = 0; i < A.size(); i += 4) n += std::memcmp(&A[i], &B[i], 3) != 0;
    return n;
}

// A change: what it does to a chart drawn already, and what a chart built with it has.
struct Change {
    std::string name;
    std::function<void(Shown&)> onShown;
    std::function<void(Shown&)> onFresh;
};

// ---------------------------------------------------------------------------
// Published settings: a path of property names from the series ("series.") or the chart.

TObject* Walk(Shown& S, const std::vector<std::string>& Path, std::size_t Upto) {
    TObject* o = Path[0] == "series" ? static_cast<TObject*>(S.Series()) : S.chart.get();
    for (std::size_t i = 1; i < Upto && o; ++i) o = GetObjectProp(*o, Path[i]);
    return o;
}

// The leaf settings under an object, as paths; not its components, events or collections.
void Leaves(TObject* O, std::vector<std::string>& Path, std::vector<std::vector<std::string>>& Out,
            int Depth) {
    static const std::set<std::string_view> quiet = {
        "Name",     "Tag",      "Cursor",   "Hint",    "ShowHint",    "HelpContext",   "DragCursor",
        "DragKind", "DragMode", "TabOrder", "TabStop", "AutoRepaint", "ParentShowHint"};
    for (const PropInfo* p : O->ClassType().AllProps()) {
        if (p->ReadOnly() || quiet.contains(p->name)) continue;
        Path.emplace_back(p->name);
        switch (p->kind) {
        case PropKind::Integer:
        case PropKind::Bool:
        case PropKind::Enum:
        case PropKind::Float:
        case PropKind::String:
            Out.push_back(Path);
            break;
        case PropKind::Object:
            if (Depth < 3)
                if (TObject* sub = p->getObj ? p->getObj(*O) : nullptr;
                    sub && !dynamic_cast<TCollection*>(sub))
                    Leaves(sub, Path, Out, Depth + 1);
            break;
        default:
            break;
        }
        Path.pop_back();
    }
}

// Sets the leaf to a value other than the one it has; false when it keeps its value.
bool SetOther(Shown& S, const std::vector<std::string>& Path) {
    TObject* o = Walk(S, Path, Path.size() - 1);
    if (!o) return false;
    const PropInfo& p = PropOf(*o, Path.back());
    try {
        switch (p.kind) {
        case PropKind::Bool:
            p.setOrd(*o, !p.getOrd(*o));
            break;
        case PropKind::Enum: {
            const EnumInfo& e = p.enumInfo();
            const auto n = static_cast<std::int64_t>(e.names.size());
            p.setOrd(*o, (p.getOrd(*o) - e.minValue + 1) % n + e.minValue);
            break;
        }
        case PropKind::Integer: {
            const std::int64_t v = p.getOrd(*o);
            if (p.idents) // a colour
                p.setOrd(*o, v == clRed ? clBlue : clRed);
            else
                p.setOrd(*o, v < 50 ? v + 5 : v / 2);
            break;
        }
        case PropKind::Float: {
            const double v = p.getFloat(*o);
            p.setFloat(*o, v == 0 ? 1 : v * 2);
            break;
        }
        case PropKind::String:
            p.setStr(*o, p.getStr(*o) + u"Жq1");
            break;
        default:
            return false;
        }
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

std::string Joined(const std::vector<std::string>& Path) {
    std::string s;
    for (const std::string& n : Path) s += (s.empty() ? "" : ".") + n;
    return s;
}

// ---------------------------------------------------------------------------
// The data calls.

std::vector<Change> DataChanges(const Point& P) {
    std::vector<Change> out;
    // Each call made on the shown chart; the fresh one is given the data it left, from scratch.
    const auto data = [&](const char* Name, std::function<void(TChartSeries*)> Call) {
        auto final = std::make_shared<Data>();
        auto origin = std::make_shared<std::vector<int>>();
        out.push_back({Name,
                       [=](Shown& S) {
                           const Data start = Take(S.Series());
                           Call(S.Series());
                           *final = Take(S.Series());
                           *origin = Origins(start, *final);
                       },
                       [=](Shown& S) { Refill(S.Series(), *final, *origin); }});
    };
    data("points added between BeginUpdate and EndUpdate", [](TChartSeries* S) {
        S->BeginUpdate();
        const int n = S->Count();
        S->AddXY(n > 0 ? S->GetXValues()->GetMaxValue() + 1 : 1,
                 n > 0 ? S->GetYValues()->GetValue(n / 2) : 1);
        S->AddXY(n > 0 ? S->GetXValues()->GetMaxValue() + 1 : 2, 3);
        S->EndUpdate();
    });
    data("AddArray", [](TChartSeries* S) {
        const double values[] = {4, 2.5, 7};
        S->AddArray(values);
    });
    data("Delete", [](TChartSeries* S) {
        if (S->Count() > 1) S->Delete(S->Count() / 2);
    });
    data("Sort", [](TChartSeries* S) {
        S->GetXValues()->SetOrder(loNone);
        S->GetYValues()->SetOrder(loDescending);
        S->GetYValues()->Sort();
    });
    // Assign from a series of the same kind whose points stand one higher.
    const auto raised = [](Shown& S) {
        Data d = Take(S.Series());
        std::vector<int> origin;
        for (int i = 0; i < d.Count(); ++i) origin.push_back(i);
        for (double& y : d.lists[1]) y += 1;
        Refill(S.Series(), d, origin);
    };
    out.push_back({"Assign",
                   [P, raised](Shown& S) {
                       Shown source(P);
                       raised(source);
                       S.Series()->Assign(source.Series());
                   },
                   raised});
    return out;
}

std::string EveryChangeShows(const Point& P) {
    // The point's own share of the settings: a few drawn from the point itself, so that a run
    // looks at the same ones and other points at others.
    std::vector<Change> changes = DataChanges(P);
    {
        Shown probe(P);
        std::vector<std::vector<std::string>> leaves;
        std::vector<std::string> path{"series"};
        Leaves(probe.Series(), path, leaves, 0);
        path = {"chart"};
        Leaves(probe.chart.get(), path, leaves, 0);
        std::mt19937 pick(static_cast<unsigned>(std::hash<std::string>{}(Line(P))));
        std::shuffle(leaves.begin(), leaves.end(), pick);
        leaves.resize(std::min<std::size_t>(leaves.size(), 10));
        for (const auto& leaf : leaves) {
            const auto set = [leaf](Shown& S) { SetOther(S, leaf); };
            changes.push_back({Joined(leaf), set, set});
        }
    }
    // A chart drawn twice must draw the same picture for the rule to say anything here.
    {
        Shown twice(P), once(P);
        twice.Draw();
        if (Differing(twice.Draw(), once.Draw()) != 0) return {};
    }
    std::string faults;
    for (const Change& c : changes) {
        Shown shown(P);
        const std::vector<Byte> before = shown.Draw();
        shown.canvas->Invalidates = 0;
        try {
            c.onShown(shown);
        } catch (const std::exception&) {
            continue; // a call the point's series refuses
        }
        const int asked = shown.canvas->Invalidates;
        const std::vector<Byte> after = shown.Draw();
        Shown fresh(P);
        c.onFresh(fresh);
        const std::vector<Byte> built = fresh.Draw();
        std::ostringstream s;
        if (const char* folder = std::getenv("MOLTREN_SWEEP_PICTURES");
            folder && *folder && Differing(after, built)) {
            probe::Grab(shown.out).SavePng(std::filesystem::path(folder) /
                                           (c.name.substr(0, 30) + "-shown.png"));
            probe::Grab(fresh.out).SavePng(std::filesystem::path(folder) /
                                           (c.name.substr(0, 30) + "-fresh.png"));
        }
        if (const int n = Differing(after, built); n != 0)
            s << c.name << ": the shown chart draws " << n << " pixels otherwise than one built with it";
        else if (Differing(before, after) != 0 && asked == 0)
            s << c.name << ": changes the picture but asks for no repaint";
        if (!s.str().empty()) faults += (faults.empty() ? "" : "; ") + s.str();
    }
    return faults;
}

const std::vector<Excuse>& Excuses() {
    static const std::vector<Excuse> excuses = {
        {"marks' `Assign` copies the style, the callout, the symbol and every item, not the positions: "
         "a dragged mark's place is a pixel place of its own chart, so the series assigned to draws its "
         "marks where its own layout puts them",
         [](const Point& P, const std::string& Piece) { return P.marks == 4 && Has(Piece, "Assign"); }},
        {"kept, not analysed in time: a series with a mark placed by hand moved to another axis draws the "
         "mark's "
         "arrow otherwise",
         [](const Point& P, const std::string& Piece) { return P.marks == 4 && Has(Piece, "Axis:"); }},
        {"`Maximum` and `Minimum` hold the fixed end, or the last automatic one: the automatic ends are "
         "plain stores, so an end switched off on a shown chart stays where the last drawing put it",
         [](const Point&, const std::string& Piece) {
             return (Has(Piece, "Axis.Automatic:") || Has(Piece, "Axis.AutomaticMinimum:") ||
                     Has(Piece, "Axis.AutomaticMaximum:")) &&
                    Has(Piece, "otherwise");
         }},
        {"a title placed by hand keeps its shape rectangle: with `AdjustFrame` switched off its frame stays "
         "as "
         "wide as the last drawing fitted it to the text",
         [](const Point& P, const std::string& Piece) {
             return P.titles == 2 && Has(Piece, ".AdjustFrame:") && Has(Piece, "otherwise");
         }},
        {"`Horizontal` of a standard axis is \"set by the owner\": the axis page offers it \"only for a "
         "custom "
         "axis\", and a file keeps it only for one; one of the chart's own axes turned across by a call has "
         "no picture of its own to keep",
         [](const Point&, const std::string& Piece) {
             return Has(Piece, "Axis.Horizontal:") && Has(Piece, "otherwise");
         }},
        {"`Left` and `Top` are the shape rectangle's: a box placed by one coordinate, or switched to "
         "`CustomPosition`, keeps the rest where the last drawing laid it out",
         [](const Point&, const std::string& Piece) {
             return (Has(Piece, ".Left:") || Has(Piece, ".Top:") || Has(Piece, ".CustomPosition:")) &&
                    Has(Piece, "otherwise");
         }},
    };
    return excuses;
}

TEST(Sweep, EveryChangeShows) {
    Start();
    EXPECT_GT(Sweep(
                  "EveryChangeShows", 30, [](Point&) {}, EveryChangeShows, Excepted(Excuses())),
              0);
}

} // namespace
} // namespace sweep
