// Where things stand, from what the canvas was asked to draw: everything on the chart's panel
// and off the titles' areas, no text over another, and each axis on its edge of the box with its
// labels outside.
#include "tests/chart/sweep/sweep.h"

#include "chart/engine/chartaxis.h"
#include "chart/engine/charttitle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

using sweep::Point;

std::string Str(const TRect& R) {
    std::ostringstream s;
    s << "(" << R.Left << "," << R.Top << ")-(" << R.Right << "," << R.Bottom << ")";
    return s.str();
}

TRect Bounds(const std::vector<TPoint>& Points) {
    TRect r(Points[0].X, Points[0].Y, Points[0].X, Points[0].Y);
    for (const TPoint& p : Points) {
        r.Left = std::min(r.Left, p.X);
        r.Top = std::min(r.Top, p.Y);
        r.Right = std::max(r.Right, p.X);
        r.Bottom = std::max(r.Bottom, p.Y);
    }
    return r;
}

// The part of R a clip in force lets through.
TRect Clipped(TRect R, const TRect& Clip) {
    if (Clip.Right <= Clip.Left || Clip.Bottom <= Clip.Top) return R;
    R.Left = std::max(R.Left, Clip.Left);
    R.Top = std::max(R.Top, Clip.Top);
    R.Right = std::min(R.Right, Clip.Right);
    R.Bottom = std::min(R.Bottom, Clip.Bottom);
    return R;
}

// Two boxes share more than the pixel rows their edges may touch on (a turned text's box is
// rounded out by a pixel on each side).
bool Overlap(const TRect& A, const TRect& B) {
    return std::min(A.Right, B.Right) - std::max(A.Left, B.Left) > 2 &&
           std::min(A.Bottom, B.Bottom) - std::max(A.Top, B.Top) > 2;
}

bool Seen(const TRect& R) {
    return R.Right >= R.Left && R.Bottom >= R.Top;
} // else clipped away

bool Within(const TRect& R, const TRect& Panel, int Tolerance) {
    return R.Left >= Panel.Left - Tolerance && R.Top >= Panel.Top - Tolerance &&
           R.Right <= Panel.Right + Tolerance && R.Bottom <= Panel.Bottom + Tolerance;
}

bool IsTitle(const std::string& Entity) {
    return Entity == "title" || Entity == "subtitle" || Entity == "foot" || Entity == "subfoot";
}

std::string OnThePanelOf(TChart* chart, const Point& P) {
    TBitmap out;
    const sweep::Drawn d = sweep::Record(chart, out);
    for (const auto& t : d.texts)
        if (!t.text.empty() && Seen(Clipped(t.rect, t.clip)) && !Within(Clipped(t.rect, t.clip), d.panel, 2))
            return "the text \"" + std::string(UTF8Encode(t.text)) + "\" of " + t.entity + " at " +
                   Str(t.rect) + " lies off the panel";
    for (const auto* list : {&d.shapes, &d.lines})
        for (const auto& s : *list) {
            if (s.points.empty() || (s.penStyle == psClear && !s.filled)) continue;
            const TRect r = Clipped(Bounds(s.points), s.clip);
            if (!Seen(r)) continue;
            if (!Within(r, d.panel, 2))
                return std::string(s.filled ? "a polygon" : "a line") + " of " + s.entity + " at " + Str(r) +
                       " lies off the panel";
        }
    // The titles' areas: a title placed by hand stands where the user put it, over whatever is there.
    for (TChartTitle* title : {chart->GetTitle(), static_cast<TChartTitle*>(chart->GetFoot())}) {
        if (!title->GetVisible() || title->GetCustomPosition() || title->GetText()->GetCount() == 0) continue;
        const TRect area = title->GetShapeBounds();
        for (const auto& t : d.texts)
            if (!IsTitle(t.entity) && !t.text.empty() && !(t.entity == "Legend" && P.legend == 5) &&
                Overlap(Clipped(t.rect, t.clip), area))
                return "the text \"" + std::string(UTF8Encode(t.text)) + "\" of " + t.entity + " at " +
                       Str(t.rect) + " stands over the title's area " + Str(area);
        for (const auto& s : d.shapes)
            if (s.filled && !IsTitle(s.entity) && s.entity != "Legend" && !s.points.empty() &&
                Overlap(Clipped(Bounds(s.points), s.clip), area))
                return "a polygon of " + s.entity + " at " + Str(Bounds(s.points)) +
                       " stands over the title's area " + Str(area);
    }
    return {};
}

std::string OnThePanel(const Point& P) {
    const auto chart = sweep::Build(P);
    return sweep::Noted(chart.get(), OnThePanelOf(chart.get(), P));
}

std::string NoTextOverTextOf(TChart* chart, const Point& P) {
    TBitmap out;
    const sweep::Drawn d = sweep::Record(chart, out);
    std::vector<const scene3d::TextBox*> texts;
    for (const auto& t : d.texts) {
        const bool placed = (t.entity == "Legend" && P.legend == 5) || (t.entity == "title" && P.titles == 2);
        if (!t.text.empty() && !placed && (t.entity == "Axis" || t.entity == "Legend" || IsTitle(t.entity)))
            texts.push_back(&t);
    }
    for (std::size_t i = 0; i < texts.size(); ++i)
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            if (Overlap(texts[i]->rect, texts[j]->rect))
                return std::string(texts[i]->group == texts[j]->group && texts[i]->entity == "Axis"
                                       ? "one axis's labels: "
                                       : "") +
                       "\"" + std::string(UTF8Encode(texts[i]->text)) + "\" of " + texts[i]->entity + " at " +
                       Str(texts[i]->rect) + " and \"" + std::string(UTF8Encode(texts[j]->text)) + "\" of " +
                       texts[j]->entity + " at " + Str(texts[j]->rect) + " overlap";
    return {};
}

std::string NoTextOverText(const Point& P) {
    const auto chart = sweep::Build(P);
    return sweep::Noted(chart.get(), NoTextOverTextOf(chart.get(), P));
}

double Cross(TPoint A, TPoint B, TPoint C) {
    return static_cast<double>(B.X - A.X) * (C.Y - A.Y) - static_cast<double>(B.Y - A.Y) * (C.X - A.X);
}

double Distance(TPoint A, TPoint B) {
    return std::hypot(A.X - B.X, A.Y - B.Y);
}

std::string AxesOnTheBoxOf(TChart* chart, const Point& P) {
    // Each axis's line in a colour of its own, a shade from black: which line is whose.
    TChartAxis* axes[] = {chart->GetLeftAxis(), chart->GetRightAxis(), chart->GetTopAxis(),
                          chart->GetBottomAxis()};
    const char* names[] = {"left", "right", "top", "bottom"};
    for (int i = 0; i < 4; ++i) axes[i]->GetAxisPen()->SetColor(static_cast<TColor>(i + 1));
    TBitmap out;
    const sweep::Drawn d = sweep::Record(chart, out);
    const TRect r = d.chartRect;
    const int depth = chart->GetWidth3D();
    for (int i = 0; i < 4; ++i) {
        TChartAxis* a = axes[i];
        if (!chart->IsAxisVisible(a)) continue;
        const bool horizontal = a == chart->GetTopAxis() || a == chart->GetBottomAxis();
        const int edge = a == chart->GetLeftAxis()    ? r.Left
                         : a == chart->GetRightAxis() ? r.Right
                         : a == chart->GetTopAxis()   ? r.Top
                                                      : r.Bottom;
        const double tolerance = 2 + chart->CalcWallSize(a) + a->GetAxisPen()->GetWidth();
        bool drawn = false;
        for (const auto& line : d.lines) {
            if (line.pen != static_cast<TColor>(i + 1) || line.penStyle == psClear) continue;
            drawn = true;
            // The box's edge at the front or at the back, as projected.
            bool onEdge = false;
            TPoint from, to;
            for (const int z : {0, depth}) {
                from = horizontal ? d.canvas->Calculate3DPosition(r.Left, edge, z)
                                  : d.canvas->Calculate3DPosition(edge, r.Top, z);
                to = horizontal ? d.canvas->Calculate3DPosition(r.Right, edge, z)
                                : d.canvas->Calculate3DPosition(edge, r.Bottom, z);
                const TPoint a0 = line.points[0], a1 = line.points[1];
                if ((Distance(a0, from) <= tolerance && Distance(a1, to) <= tolerance) ||
                    (Distance(a0, to) <= tolerance && Distance(a1, from) <= tolerance)) {
                    onEdge = true;
                    // The labels and title beside it, on the side away from the box's face.
                    const TPoint centre =
                        d.canvas->Calculate3DPosition((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2, z);
                    const double inside = Cross(from, to, centre);
                    if (std::abs(inside) < 4 * Distance(from, to)) break; // the face seen edge-on
                    for (const auto& t : d.texts) {
                        if (t.group != line.group || t.entity != "Axis" || t.text.empty()) continue;
                        const TPoint c{(t.rect.Left + t.rect.Right) / 2, (t.rect.Top + t.rect.Bottom) / 2};
                        if (Cross(from, to, c) * inside > 0)
                            return std::string("the ") + names[i] + " axis's text \"" +
                                   std::string(UTF8Encode(t.text)) + "\" at " + Str(t.rect) +
                                   " stands inside the box";
                    }
                    break;
                }
            }
            if (!onEdge)
                return std::string("the ") + names[i] + " axis's line (" + std::to_string(line.points[0].X) +
                       "," + std::to_string(line.points[0].Y) + ")-(" + std::to_string(line.points[1].X) +
                       "," + std::to_string(line.points[1].Y) + ") lies off its edge of the box";
        }
        if (!drawn && a->GetAxisPen()->GetVisible())
            return std::string("the ") + names[i] + " axis's line is not drawn";
    }
    return {};
}

std::string AxesOnTheBox(const Point& P) {
    const auto chart = sweep::Build(P);
    return sweep::Noted(chart.get(), AxesOnTheBoxOf(chart.get(), P));
}

} // namespace

using sweep::Point;

bool Has(const std::string& Fault, const char* Words) {
    return Fault.find(Words) != std::string::npos;
}

const sweep::Exception Turned{
    [](const sweep::Point& P, const std::string& F) {
        return P.view == 2 && !Has(F, " of title ") && !Has(F, " of foot ") && !Has(F, " of Legend ");
    },
    "a turned view rotates the box about the chart rectangle's middle (XCenter := (Rect.Left + Rect.Right) "
    "div 2) "
    "at the view's zoom and does not fit it to the panel: corners turned past the panel are cut by it"};

const sweep::Exception Overhang{[](const sweep::Point& P, const std::string& F) {
                                    return (Has(F, "the text ") && Has(F, " of Axis ") &&
                                            (Has(F, "lies off the panel") || Has(F, "title's area"))) ||
                                           ((Has(F, " of title at ") || Has(F, " of foot at ")) &&
                                            Has(F, " of Axis at "));
                                },
                                "the chart rectangle gives an axis's labels room across the axis only (R is "
                                "shrunk on the axis's side by their "
                                "size): a label centred on an end tick overhangs along it by half its width, "
                                "past the panel or into the title or foot"};

TEST(Sweep, OnThePanel) {
    const sweep::Exception titleCentred{[](const sweep::Point&, const std::string& F) {
                                            return Has(F, " of title ") && Has(F, "lies off the panel");
                                        },
                                        "a title is centred on the chart rectangle's middle, total wide (the "
                                        "widest line and a letter W): one wider than "
                                        "the room beside the legend stands past the panel's edge"};
    const sweep::Exception legendWide{[](const sweep::Point&, const std::string& F) {
                                          return Has(F, " of Legend ") && Has(F, "lies off the panel");
                                      },
                                      "a legend is as wide as its widest item and stands at its alignment's "
                                      "side: in a panel narrower than it, past "
                                      "the other edge"};

    sweep::Sweep("OnThePanel", 300, {}, OnThePanel,
                 {sweep::SeenEdgeOn, sweep::NoRoom, Turned, titleCentred, legendWide, Overhang});
}

TEST(Sweep, NoTextOverText) {
    const sweep::Exception customLabels{[](const sweep::Point& P, const std::string& F) {
                                            return P.axis == 4 && Has(F, "one axis's labels");
                                        },
                                        "custom labels: every item whose value lies between Minimum and "
                                        "Maximum is placed at CalcPosValue(value) and "
                                        "drawn; the overlap rule is the automatic labels'"};
    const sweep::Exception turnedLabels{
        [](const sweep::Point& P, const std::string& F) {
            return P.view == 2 && Has(F, "one axis's labels");
        },
        "the overlap rule measures labels along the axis before the view turns it (the label is drawn only "
        "when it "
        "stays clear of the previous one, by position and size): a turned axis foreshortens them together"};
    const sweep::Exception corner{[](const sweep::Point& P, const std::string& F) {
                                      return !Has(F, "one axis's labels") && Has(F, " of Axis at ") &&
                                             F.find(" of Axis at ") != F.rfind(" of Axis at ");
                                  },
                                  "each axis keeps its own labels apart (a label is drawn only when it stays "
                                  "clear of the previous one): two "
                                  "axes' end labels meet where the axes meet, the more so with large fonts "
                                  "or an axis moved by its position"};
    const sweep::Exception turnedPastLegend{
        [](const sweep::Point& P, const std::string& F) { return P.view == 2 && Has(F, " of Axis at "); },
        "the legend takes its side of the panel before the box is turned about the chart rectangle's middle: "
        "a "
        "turned axis's labels may stand where it is"};
    sweep::Sweep("NoTextOverText", 300, {}, NoTextOverText,
                 {sweep::SeenEdgeOn, sweep::NoRoom, Turned, customLabels, turnedLabels, corner, Overhang,
                  turnedPastLegend});
}

// A label left out where it would stand over the legend leaves its room to the labels after it:
// the next one, clear of the legend, is drawn.
TEST(Sweep, ALabelLeftOutOverTheLegendLeavesItsRoom) {
    sweep::Point p;
    p.width = 175;
    p.height = 100;
    p.font = 12;
    p.legend = 2;
    p.titles = 1;
    p.axisTitle = 1;
    const auto chart = sweep::Build(p);
    TBitmap out;
    const sweep::Drawn drawn = sweep::Record(chart.get(), out);
    EXPECT_TRUE(std::any_of(drawn.texts.begin(), drawn.texts.end(), [](const scene3d::TextBox& T) {
        return T.entity == "Axis" && (T.text == u"Пн" || T.text == u"Вт" || T.text == u"Ср");
    })) << sweep::Line(p);
}

TEST(Sweep, AxesOnTheBox) {
    const sweep::Exception modelSide{
        [](const sweep::Point& P, const std::string& F) {
            return P.view == 2 && Has(F, "stands inside the box");
        },
        "labels and titles are drawn at (PosLabels, P) and (PosTitle, ICenterPos), beside the axis in the "
        "chart's own "
        "plane, and turned with it: seen from behind or below they stand over the box"};
    // An axis moved into the chart by its position, or labels set to its other side, leaves the
    // edge on purpose.
    sweep::Sweep("AxesOnTheBox", 300,
                 [](sweep::Point& P) {
                     P.offset = 0;
                     P.opposite = 0;
                 },
                 AxesOnTheBox,
                 {sweep::SeenEdgeOn,
                  sweep::NoRoom,
                  modelSide});
}
