// Clicks where drawn: every part of a chart a user can click (each series with its marks, the
// legend, each title, each axis with its title) answers a click where it is drawn and nowhere
// else, as built, zoomed and scrolled. Clicks go every 2 px over the whole chart; a click
// answers where the part drew a pixel within 2 px of it, and every pixel the part fills (all
// its neighbours drawn as well) has a click within 2 px that it answers. The legend, the
// titles and the axes answer on their boxes: a click counts as on them inside the box round
// what they drew.
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/chartwalls.h"
#include "chart/engine/seriesmarks.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "chart/series/series_circled.h"
#include "tests/chart/sweep/excuses.h"
#include "tests/chart/sweep/pixelcanvas.h"
#include "tests/chart/sweep/sweep.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>

namespace sweep {
namespace {

constexpr int Step = 2, Tolerance = 2;
constexpr std::size_t Few = 5;
// A box answers on the cells of its texts (a title: half a "W" more on each side), and its
// frame's margin besides what its glyphs ink.
constexpr int BoxMargin = 8;
// The colour an axis draws in while its own pixels are sought: no other part uses it.
constexpr TColor AxisKey = static_cast<TColor>(0x03FE01);
// The axis once more in a colour far from the first key.
constexpr TColor OtherAxisKey = static_cast<TColor>(0xFE01FE);
// The second background: a dark colour no part is drawn in.
constexpr TColor GroundKey = static_cast<TColor>(0x402A17);

struct Thing {
    std::string name;
    TPixelCanvas::Mask drawn;
    bool box = false;
    std::function<bool(int, int)> answers;
    // Where the part answers through its marks (a series), told apart in the refusal.
    std::function<bool(int, int)> marks;
    // Where its pixels stand past its ends (an axis's labels), told apart in the refusal too.
    std::function<bool(int, int)> pastEnds;
};

// The chart drawn through a canvas that knows each part's pixels.
struct Drawing {
    TPixelCanvas* canvas = nullptr;
    TBitmap out;
    void Draw(TChart* Chart) {
        canvas->Clear();
        out.SetSize(Chart->GetWidth(), Chart->GetHeight());
        Chart->Draw(out.GetCanvas(), TRect(0, 0, Chart->GetWidth(), Chart->GetHeight()));
    }
    // Drawn on its own background and again on another one, so that a part in the background's
    // colour (a white slice on white paper) shows in one of them; the picture is the first. The
    // axes' lines, drawn behind the series, are the other ground's colour too: a series' black
    // edge along a black axis line shows there. There each series' marks are written in a
    // colour of their own as well: a mark drawn over the same mark of another series (stacked
    // values seen edge-on or past a zoomed axis's end) shows as the later one's.
    void DrawOnTwoGrounds(TChart* Chart) {
        TChartWalls* w = Chart->GetWalls();
        TZuzCustomShape* grounds[] = {w->GetBack(), w->GetLeft(), w->GetBottom(), w->GetRight()};
        std::vector<TColor> kept{Chart->GetColor()};
        for (TZuzCustomShape* g : grounds) kept.push_back(g->GetColor());
        std::vector<TPen*> lines;
        for (TChartAxis* a : *Chart->GetAxes())
            lines.insert(lines.end(), {a->GetAxisPen(), a->GetTicks(), a->GetTicksInner(), a->GetMinorTicks(),
                                       a->GetGrid(), a->GetMinorGrid()});
        for (TPen* p : lines) kept.push_back(p->GetColor()), p->SetColor(GroundKey);
        std::vector<TZuzFont*> marks;
        for (int i = 0; i < Chart->SeriesCount(); ++i)
            marks.push_back(Chart->GetSeries(i)->GetMarks()->GetFont());
        for (std::size_t i = 0; i < marks.size(); ++i) {
            kept.push_back(marks[i]->GetColor());
            marks[i]->SetColor(static_cast<TColor>(0x30 + 0x20 * (i % 6)));
        }
        Chart->SetColor(GroundKey);
        for (TZuzCustomShape* g : grounds) g->SetColor(GroundKey);
        Draw(Chart);
        std::map<std::string, TPixelCanvas::Mask> first = std::move(canvas->Masks);
        Chart->SetColor(kept[0]);
        for (std::size_t i = 0; i < std::size(grounds); ++i) grounds[i]->SetColor(kept[i + 1]);
        for (std::size_t i = 0; i < lines.size(); ++i) lines[i]->SetColor(kept[i + 1 + std::size(grounds)]);
        for (std::size_t i = 0; i < marks.size(); ++i)
            marks[i]->SetColor(kept[i + 1 + std::size(grounds) + lines.size()]);
        Draw(Chart);
        for (auto& [name, mask] : first) {
            TPixelCanvas::Mask& m = canvas->Masks[name];
            m.resize(mask.size());
            for (std::size_t i = 0; i < mask.size(); ++i) m[i] |= mask[i];
        }
    }
};

// The mask grown by By in every direction, or the box round it grown by the box's margin.
TPixelCanvas::Mask Near(const TPixelCanvas::Mask& M, int W, int H, bool Box, int By = Tolerance) {
    TPixelCanvas::Mask grown(static_cast<std::size_t>(W * H), 0);
    if (M.empty()) return grown;
    const auto at = [W](int X, int Y) { return static_cast<std::size_t>(Y * W + X); };
    if (Box) {
        int l = W, t = H, r = -1, b = -1;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (M[at(x, y)]) {
                    l = std::min(l, x), r = std::max(r, x), t = std::min(t, y), b = std::max(b, y);
                }
        for (int y = std::max(0, t - BoxMargin); y <= std::min(H - 1, b + BoxMargin); ++y)
            for (int x = std::max(0, l - BoxMargin); x <= std::min(W - 1, r + BoxMargin); ++x)
                grown[at(x, y)] = 1;
        return grown;
    }
    TPixelCanvas::Mask across(grown.size(), 0);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (M[at(x, y)])
                for (int dx = -By; dx <= By; ++dx)
                    if (x + dx >= 0 && x + dx < W) across[at(x + dx, y)] = 1;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            if (across[at(x, y)])
                for (int dy = -By; dy <= By; ++dy)
                    if (y + dy >= 0 && y + dy < H) grown[at(x, y + dy)] = 1;
    return grown;
}

// The hit map, twice the size: the picture pale, the part's pixels green, the clicks it answers
// blue, and what the rule refuses (a click answered where nothing is drawn: magenta, a pixel
// no click answers: red); kept in MOLTREN_SWEEP_PICTURES when that names a folder.
void KeepPicture(TBitmap& Out, const TPixelCanvas::Mask& Drawn, const std::vector<unsigned char>& Hits,
                 const std::vector<TPoint>& Blue, const std::vector<TPoint>& Red, const std::string& Name) {
    const char* folder = std::getenv("MOLTREN_SWEEP_PICTURES");
    if (!folder || !*folder) return;
    const int w = Out.GetWidth(), h = Out.GetHeight(), gw = (w + Step - 1) / Step;
    const std::size_t bpp = Out.GetPixelFormat() == pf24bit ? 3 : 4;
    TBitmap map;
    map.SetPixelFormat(pf32bit);
    map.SetSize(2 * w, 2 * h);
    const auto put = [&](int X, int Y, unsigned Rgb) {
        if (X < 0 || Y < 0 || X >= w || Y >= h) return;
        for (int dy = 0; dy < 2; ++dy) {
            Byte* px = map.ScanLine(2 * Y + dy) + 8 * static_cast<std::size_t>(X);
            for (int dx = 0; dx < 2; ++dx, px += 4)
                px[0] = static_cast<Byte>(Rgb), px[1] = static_cast<Byte>(Rgb >> 8),
                px[2] = static_cast<Byte>(Rgb >> 16);
        }
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const Byte* px = Out.ScanLine(y) + static_cast<std::size_t>(x) * bpp;
            const auto pale = [](Byte C) { return static_cast<unsigned>(C / 4 + 191); };
            unsigned rgb = pale(px[2]) << 16 | pale(px[1]) << 8 | pale(px[0]);
            if (!Drawn.empty() && Drawn[static_cast<std::size_t>(y * w + x)]) rgb = 0x60C060;
            if (x % Step == 0 && y % Step == 0 && Hits[static_cast<std::size_t>((y / Step) * gw + x / Step)])
                rgb = rgb == 0x60C060 ? 0x206020 : 0x4040FF;
            put(x, y, rgb);
        }
    for (const TPoint p : Blue) put(p.X, p.Y, 0xFF00FF), put(p.X + 1, p.Y, 0xFF00FF);
    for (const TPoint p : Red) put(p.X, p.Y, 0xFF0000);
    static int n = 0;
    std::string file = Name;
    std::replace_if(
        file.begin(), file.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    probe::Grab(map).SavePng(std::filesystem::path(folder) / (std::to_string(++n) + "-" + file + ".png"));
    probe::Grab(Out).SavePng(std::filesystem::path(folder) / (std::to_string(n) + "-" + file + "-drawn.png"));
}

// What is wrong with one part: clicks it answers far from what it drew, pixels it fills that no
// click near them finds.
std::string Compare(const Thing& T, Drawing& D, const std::string& When) {
    const int w = D.out.GetWidth(), h = D.out.GetHeight();
    const auto at = [w](int X, int Y) { return static_cast<std::size_t>(Y * w + X); };
    const int gw = (w + Step - 1) / Step, gh = (h + Step - 1) / Step;
    std::vector<unsigned char> hits(static_cast<std::size_t>(gw * gh));
    for (int gy = 0; gy < gh; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            hits[static_cast<std::size_t>(gy * gw + gx)] = T.answers(gx * Step, gy * Step);
    const TPixelCanvas::Mask near = Near(T.drawn, w, h, T.box);
    std::vector<TPoint> blue, red;
    for (int gy = 0; gy < gh; ++gy)
        for (int gx = 0; gx < gw; ++gx)
            if (hits[static_cast<std::size_t>(gy * gw + gx)] && !near[at(gx * Step, gy * Step)])
                blue.push_back({gx * Step, gy * Step});
    const auto drawn = [&](int X, int Y) {
        return X >= 0 && Y >= 0 && X < w && Y < h && !T.drawn.empty() && T.drawn[at(X, Y)];
    };
    // A box's margin, inside its edges, may hold no item to answer.
    TRect inner{0, 0, w - 1, h - 1};
    if (T.box) {
        inner = {w, h, -1, -1};
        for (int y = 0; y < h && !T.drawn.empty(); ++y)
            for (int x = 0; x < w; ++x)
                if (T.drawn[at(x, y)])
                    inner = {std::min(inner.Left, x), std::min(inner.Top, y), std::max(inner.Right, x),
                             std::max(inner.Bottom, y)};
        InflateRect(inner, -BoxMargin, -BoxMargin);
    }
    for (int y = std::max(0, inner.Top); y <= std::min(h - 1, inner.Bottom) && !T.drawn.empty(); ++y)
        for (int x = std::max(0, inner.Left); x <= std::min(w - 1, inner.Right); ++x) {
            bool filled = true;
            for (int dy = -1; dy <= 1 && filled; ++dy)
                for (int dx = -1; dx <= 1 && filled; ++dx) filled = drawn(x + dx, y + dy);
            if (!filled) continue;
            bool found = false;
            for (int gy = std::max(0, (y - Tolerance + Step - 1) / Step);
                 gy <= std::min(gh - 1, (y + Tolerance) / Step) && !found; ++gy)
                for (int gx = std::max(0, (x - Tolerance + Step - 1) / Step);
                     gx <= std::min(gw - 1, (x + Tolerance) / Step) && !found; ++gx)
                    found = hits[static_cast<std::size_t>(gy * gw + gx)];
            if (!found) red.push_back({x, y});
        }
    if (blue.empty() && red.empty()) return {};
    std::vector<TPoint> byMarks;
    if (T.marks) {
        // A mark is a box too: it answers on the cell of its text, also where the text stands
        // past the picture's edge and only its cell's margin reaches in.
        const TPixelCanvas::Mask cells = Near(T.drawn, w, h, false, BoxMargin);
        const auto atEdge = [&](TPoint P) {
            return std::min({P.X, P.Y, w - 1 - P.X, h - 1 - P.Y}) < BoxMargin;
        };
        std::erase_if(blue, [&](TPoint P) {
            if (!T.marks(P.X, P.Y)) return false;
            if (!cells[at(P.X, P.Y)] && !atEdge(P)) byMarks.push_back(P);
            return true;
        });
    }
    std::vector<TPoint> redPast;
    if (T.pastEnds)
        std::erase_if(red, [&](TPoint P) { return T.pastEnds(P.X, P.Y) && (redPast.push_back(P), true); });
    // A few clicks or pixels at a sharp corner are the rounding of two projections of it.
    for (std::vector<TPoint>* few : {&blue, &byMarks, &red, &redPast})
        if (few->size() < Few) few->clear();
    if (blue.empty() && byMarks.empty() && red.empty() && redPast.empty()) return {};
    std::ostringstream s;
    const auto answered = [&](const std::vector<TPoint>& At, const char* Who) {
        if (At.empty()) return;
        s << (s.tellp() > 0 ? "; " : "") << T.name << Who << When << ": answers " << At.size()
          << " clicks where nothing of it is drawn (first at " << At[0].X << "," << At[0].Y << ")";
    };
    answered(blue, "");
    answered(byMarks, " marks");
    const auto unanswered = [&](const std::vector<TPoint>& At, const char* Where) {
        if (At.empty()) return;
        s << (s.tellp() > 0 ? "; " : "") << T.name << When << ": draws " << At.size()
          << " pixels no click answers" << Where << " (first at " << At[0].X << "," << At[0].Y << ")";
    };
    unanswered(red, "");
    unanswered(redPast, " past its ends");
    red.insert(red.end(), redPast.begin(), redPast.end());
    blue.insert(blue.end(), byMarks.begin(), byMarks.end());
    KeepPicture(D.out, T.drawn, hits, blue, red, T.name + When);
    return s.str();
}

std::string SeriesName(TChart* Chart, int Index) {
    TChartSeries* s = Chart->GetSeries(Index);
    return s->GetName().empty() ? std::to_string(Index) : std::string(UTF8Encode(s->GetName()));
}

// The pixels one axis draws, its line, ticks, labels and title, without its grid: drawn again
// with them all in a colour of their own, and once more in another, so that a part drawn in a
// colour near the key (a green bubble) is not taken for the axis.
TPixelCanvas::Mask AxisPixels(TChart* Chart, TChartAxis* A, Drawing& D) {
    TPen* pens[] = {A->GetAxisPen(), A->GetTicks(), A->GetTicksInner(), A->GetMinorTicks()};
    // Labels of their own (custom items) are written in their own fonts; automatic ones are made
    // anew as the axis draws.
    std::vector<TZuzFont*> fonts{A->GetLabelsFont(), A->GetTitle()->GetFont()};
    for (int i = 0; !A->GetItems()->Automatic && i < A->GetItems()->Count(); ++i)
        fonts.push_back(A->GetItems()->Get(i)->GetFont());
    std::vector<TColor> kept;
    for (TPen* p : pens) kept.push_back(p->GetColor());
    for (TZuzFont* f : fonts) kept.push_back(f->GetColor());
    const bool grid = A->GetGrid()->GetVisible(), minor = A->GetMinorGrid()->GetVisible();
    A->GetGrid()->SetVisible(false);
    A->GetMinorGrid()->SetVisible(false);
    // An axis standing inside the chart (at an offset) is drawn under the series, which answer a
    // click there first: what the axis draws is sought with the axes over them.
    const bool behind = Chart->GetAxisBehind();
    Chart->SetAxisBehind(false);
    const int w = Chart->GetWidth(), h = Chart->GetHeight();
    TPixelCanvas::Mask m(static_cast<std::size_t>(w * h));
    for (const TColor key : {AxisKey, OtherAxisKey}) {
        for (TPen* p : pens) p->SetColor(key);
        for (TZuzFont* f : fonts) f->SetColor(key);
        D.Draw(Chart);
        const std::size_t bpp = D.out.GetPixelFormat() == pf24bit ? 3 : 4;
        for (int y = 0; y < h; ++y) {
            const Byte* row = D.out.ScanLine(y);
            for (int x = 0; x < w; ++x) {
                const Byte* px = row + static_cast<std::size_t>(x) * bpp;
                // Turned text is smoothed: its pixels run from the key's green to what lies under
                // it.
                const int b = px[0], g = px[1], r = px[2];
                const bool green = g >= 190 && r <= g - 60 && b <= g - 60 && std::abs(r - b) <= 24;
                Byte& at = m[static_cast<std::size_t>(y * w + x)];
                at = key == AxisKey ? green : at && !green;
            }
        }
    }
    Chart->SetAxisBehind(behind);
    std::size_t k = 0;
    for (TPen* p : pens) p->SetColor(kept[k++]);
    for (TZuzFont* f : fonts) f->SetColor(kept[k++]);
    A->GetGrid()->SetVisible(grid);
    A->GetMinorGrid()->SetVisible(minor);
    return m;
}

// Every part of the chart as drawn now, compared.
std::string CheckAll(TChart* Chart, Drawing& D, const std::string& When) {
    std::vector<Thing> things;
    for (TChartAxis* a : *Chart->GetAxes()) {
        if (!Chart->IsAxisVisible(a)) continue;
        Thing t{"axis " + std::to_string(Chart->GetAxes()->IndexOf(a)),
                AxisPixels(Chart, a, D),
                true,
                [a](int X, int Y) {
                    TChartAxisTitle* title = a->GetTitle();
                    return a->Clicked(X, Y) ||
                           (title->GetVisible() && !title->GetCaption().empty() && title->Clicked(X, Y));
                },
                {},
                [a](int X, int Y) {
                    const int at = a->GetHorizontal() ? X : Y;
                    return at < std::min(a->IStartPos, a->IEndPos) || at > std::max(a->IStartPos, a->IEndPos);
                }};
        things.push_back(std::move(t));
    }
    D.DrawOnTwoGrounds(Chart);
    const auto mask = [&](const std::string& Name) {
        const auto i = D.canvas->Masks.find(Name);
        return i == D.canvas->Masks.end() ? TPixelCanvas::Mask{} : i->second;
    };
    for (int i = 0; i < Chart->SeriesCount(); ++i) {
        TChartSeries* s = Chart->GetSeries(i);
        if (!s->GetActive()) continue;
        const auto marks = [s](int X, int Y) {
            return s->GetMarks()->GetVisible() && s->GetMarks()->Clicked(X, Y) != -1;
        };
        things.push_back({"series " + std::to_string(i),
                          mask(SeriesName(Chart, i)),
                          false,
                          [s, marks](int X, int Y) { return s->Clicked(X, Y) != -1 || marks(X, Y); },
                          marks,
                          {}});
    }
    if (TChartLegend* l = Chart->GetLegend(); l->GetVisible())
        things.push_back(
            {"legend", mask("Legend"), true, [l](int X, int Y) { return l->Clicked(X, Y) != -1; }, {}, {}});
    const std::pair<TChartTitle*, const char*> titles[] = {{Chart->GetTitle(), "title"},
                                                           {Chart->GetSubTitle(), "subtitle"},
                                                           {Chart->GetFoot(), "foot"},
                                                           {Chart->GetSubFoot(), "subfoot"}};
    for (const auto& [title, name] : titles)
        things.push_back(
            {name, mask(name), true, [t = title](int X, int Y) { return t->Clicked(X, Y); }, {}, {}});
    std::string faults;
    for (const Thing& t : things)
        if (std::string f = Compare(t, D, When); !f.empty()) faults += (faults.empty() ? "" : "; ") + f;
    return faults;
}

// A shadow shows where a part stands, it is not the part: the shadows are put out.
void HideShadows(TChart* Chart) {
    Chart->GetLegend()->GetShadow()->SetVisible(false);
    for (TChartTitle* t :
         {Chart->GetTitle(), Chart->GetSubTitle(), static_cast<TChartTitle*>(Chart->GetFoot()),
          static_cast<TChartTitle*>(Chart->GetSubFoot())})
        t->GetShadow()->SetVisible(false);
    for (int i = 0; i < Chart->SeriesCount(); ++i) {
        TChartSeries* s = Chart->GetSeries(i);
        s->GetMarks()->GetShadow()->SetVisible(false);
        if (auto* bar = dynamic_cast<TCustomBarSeries*>(s)) bar->GetShadow()->SetVisible(false);
        if (auto* line = dynamic_cast<TCustomSeries*>(s)) line->GetShadow()->SetVisible(false);
        if (auto* circled = dynamic_cast<TCircledSeries*>(s)) circled->GetShadow()->SetVisible(false);
    }
}

std::string ClicksWhereDrawn(const Point& P) {
    Owned<TChart> chart = Build(P);
    HideShadows(chart.get());
    Drawing d;
    d.canvas = new TPixelCanvas;
    chart->SetInternalCanvas(d.canvas);
    d.Draw(chart.get());
    std::string faults = CheckAll(chart.get(), d, "");
    // Zoomed to the middle of the chart, then scrolled along by a third of what shows: what
    // goes out of the chart's rectangle goes out of reach too.
    if (!SeriesKinds()[static_cast<std::size_t>(P.series)].axes) return faults;
    chart->GetZoom()->SetAnimated(false);
    const TRect r = chart->GetChartRect();
    chart->ZoomRect(
        {r.Left + r.Width() / 4, r.Top + r.Height() / 4, r.Right - r.Width() / 4, r.Bottom - r.Height() / 4});
    d.Draw(chart.get());
    if (std::string f = CheckAll(chart.get(), d, " zoomed"); !f.empty())
        faults += (faults.empty() ? "" : "; ") + f;
    for (TChartAxis* a : {chart->GetBottomAxis(), chart->GetTopAxis()})
        a->Scroll((a->GetMaximum() - a->GetMinimum()) / 3, false);
    d.Draw(chart.get());
    if (std::string f = CheckAll(chart.get(), d, " scrolled"); !f.empty())
        faults += (faults.empty() ? "" : "; ") + f;
    return faults;
}

const std::vector<Excuse>& Excuses() {
    static const std::vector<Excuse> excuses = {
        {"kept, not mended in time: a mark placed by hand answers on the box stored with its position, "
         "larger "
         "than the mark drawn there",
         [](const Point& P, const std::string& Piece) {
             return P.marks == 4 && Has(Piece, " marks") && Has(Piece, "where nothing of it is drawn");
         }},
        {"the axis answers on its band from its start to its end position (AxisRect); a label standing past "
         "an end of the axis stands outside it",
         [](const Point& P, const std::string& Piece) {
             return P.view == 0 && Has(Piece, "axis ") && Has(Piece, "no click answers past its ends");
         }},
        {"a pointer answers where the click is nearer its point than its sizes (ClickedPointer), only "
         "psNothing excepted: a small dot inks one pixel of that box, a cross leaves its corners bare",
         [](const Point& P, const std::string& Piece) {
             return SeriesKinds()[static_cast<std::size_t>(P.series)].name == std::string("points") &&
                    (P.style == psSmallDot || P.style == psCross) && Piece.starts_with("series") &&
                    !Has(Piece, " marks") && Has(Piece, "where nothing of it is drawn");
         }},
        {"OPEN: a series deeper than the chart, zoomed or scrolled in 3D, answers a few clicks at its "
         "marks and faces past what the clip leaves of them",
         [](const Point& P, const std::string& Piece) {
             return P.view != 0 && P.seriesDepth > P.depth && Piece.starts_with("series") &&
                    (Has(Piece, " zoomed") || Has(Piece, " scrolled")) &&
                    Has(Piece, "where nothing of it is drawn");
         }},
        {"OPEN: in a turned view the hit test of a series' faces (steps, bars, a fast line) stands "
         "off their drawing at their edges",
         [](const Point& P, const std::string& Piece) {
             const std::string kind = SeriesKinds()[static_cast<std::size_t>(P.series)].name;
             return P.view == 2 && Piece.starts_with("series") && !Has(Piece, " marks") &&
                    (kind.find("stairs") != std::string::npos || kind.find("bar") != std::string::npos ||
                     kind == "fastline");
         }},
        {"the legend answers with the item under the click (Clicked): its box's ground past a row's last "
         "item "
         "holds none",
         [](const Point&, const std::string& Piece) {
             return Piece.starts_with("legend") && Has(Piece, "no click answers");
         }},
        {"kept: a title placed by hand is cut short at its right as drawn, its box answers whole",
         [](const Point& P, const std::string& Piece) {
             return P.titles == 2 && Piece.starts_with("title");
         }},
        {"in 3D the axis answers on its band as projected at its depth, where its labels and title are not "
         "drawn in every view (kept: labels drawn as 3D text off the projected band)",
         [](const Point& P, const std::string& Piece) { return P.view != 0 && Has(Piece, "axis "); }},
    };
    return excuses;
}

TEST(Sweep, ClicksWhereDrawn) {
    Start();
    EXPECT_GT(
        Sweep(
            "ClicksWhereDrawn", 40, [](Point&) {}, ClicksWhereDrawn, Excepted(Excuses())),
        0);
}

} // namespace
} // namespace sweep
