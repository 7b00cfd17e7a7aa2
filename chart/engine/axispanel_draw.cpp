// The axis panel's drawing road: the fixed order of a chart's parts.

#include "chart/engine/axispanel.h"

#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"

#include <algorithm>

namespace {

template <class F>
void ForEachActive(const TCustomAxisPanel& Panel, F&& Fn) {
    for (int t = 0; t < Panel.SeriesCount(); ++t)
        if (TChartSeries* s = Panel.GetSeries(t); s->GetActive()) Fn(s);
}

} // namespace

void TCustomAxisPanel::InternalDraw(const TRect& UserRect) {
    // Nothing a series, tool or event handler does while the chart draws asks
    // for another draw; the switch comes back also when one of them raises.
    const TRestoreOnExit<bool> repaint(AutoRepaint, false);
    CalcInvertedRotation();
    TCanvas3D* c = GetCanvas();
    const bool turning = c->GetSupportsFullRotation();
    if (!turning) PanelPaint(UserRect);
    BroadcastToolEvent(cteBeforeDraw);
    DoOnBeforeDrawChart();
    // A mark answers clicks only where this drawing puts it: one it leaves out (a point zoomed
    // away, made null, or of a series switched off) is gone from where it stood.
    for (int t = 0; t < SeriesCount(); ++t) GetSeries(t)->GetMarks()->ForgetDrawn();
    ForEachActive(*this, [](TChartSeries* s) { s->DoBeforeDrawChart(); });
    // The legend is laid out before the axes, and the X texts it shows are their labels: each
    // axis knows already whether it shows dates, and over which range, as on every later draw.
    for (TChartAxis* a : *FAxes) {
        a->AdjustMaxMin();
        a->IAxisDateTime = a->IsDateTime();
    }
    if (!turning) DrawTitlesAndLegend(true);
    CalcSeriesZOrder();
    CalcWallsRect();
    const TRect beforeAxes = GetChartRect();
    for (TChartAxis* a : *FAxes) a->ILabelsMeasured = 0;
    CalcAxesRect();
    SetSeriesDepthPositions();
    CalcAxesScales();
    FitLabelsToScales(beforeAxes);
    c->Projection(Width3D, GetChartBounds(), GetChartRect());
    if (!turning && c->GetProjection().Is3D() && !c->IsOrthogonal() && !CustomChartRect)
        FitTurnedView(beforeAxes);
    if (turning) {
        const TRect afterAxes = GetChartRect();
        SetChartRect(beforeAxes);
        PanelPaint(UserRect);
        DrawTitlesAndLegend(true);
        SetChartRect(afterAxes);
    }
    DrawWalls();
    if (FAxisBehind) {
        BroadcastToolEvent(cteBeforeDrawAxes);
        DrawAxes();
    }
    BroadcastToolEvent(cteBeforeDrawSeries);
    DoOnBeforeDrawSeries();
    DrawAllSeries();
    BroadcastToolEvent(cteAfterDrawSeries);
    if (!FAxisBehind) {
        BroadcastToolEvent(cteBeforeDrawAxes);
        DrawAxes();
    }
    DrawTitlesAndLegend(false);
    if (GetZoom()->Active) DrawZoomRectangle();
    BroadcastToolEvent(cteAfterDraw);
    c->ResetState();
    DoOnAfterDraw();
}

void TCustomAxisPanel::CalcAxesRect() {
    const int n = FAxes->Count();
    FAxisVisibleNow.assign(static_cast<std::size_t>(n), false);
    for (int t = 0; t < n; ++t) {
        TChartAxis* a = FAxes->Get(t);
        FAxisVisibleNow[static_cast<std::size_t>(t)] = CalcIsAxisVisible(a);
        // Rounded ends are rounded to the step this drawing's length gives, not the last one's.
        a->InternalCalcPositions();
        a->AdjustMaxMin();
    }
    TRect r = GetChartRect();
    // The two depth axes (fourth and fifth) take their room first, at the panel's edges: taken
    // after the side axes, it would part those axes' labels from their lines. The six standard
    // axes take room; the custom ones only stand at the edge.
    // An axis whose room would leave the chart nothing goes without its title, then without its
    // labels too: drawn in no room they would stand over the box.
    const auto place = [&](int t) {
        if (t >= n || !FAxisVisibleNow[static_cast<std::size_t>(t)]) return;
        TChartAxis* a = FAxes->Get(t);
        a->INoTitleRoom = a->INoLabelsRoom = false;
        for (;;) {
            TRect own = r;
            a->CalcRect(own, t < 6);
            TRect both;
            if (IntersectRect(both, own, r)) {
                r = both;
                return;
            }
            if (t >= 6 || a->INoLabelsRoom) return;
            (a->INoTitleRoom ? a->INoLabelsRoom : a->INoTitleRoom) = true;
        }
    };
    place(4);
    place(5);
    for (int t = 0; t < n; ++t)
        if (t != 4 && t != 5) place(t);
    if (!CustomChartRect) SetChartRect(r);
    ReCalcWidthHeight();
    for (TChartAxis* a : *FAxes) a->InternalCalcPositions();
}

// The labels' room is measured over the range before the series' margins widen it and the
// scales are rounded: the range drawn may show a wider label (a logarithmic axis's "100" past
// its "10") that would run into the title beyond. The axes take their room again, as wide as
// the labels now measure.
void TCustomAxisPanel::FitLabelsToScales(const TRect& Room) {
    if (CustomChartRect) return;
    for (int pass = 0; pass < 2; ++pass) {
        bool grown = false;
        // The six standard axes take room; the custom ones only stand at the edge.
        for (int t = 0; t < std::min(6, FAxes->Count()); ++t) {
            TChartAxis* a = FAxes->Get(t);
            if (!IsAxisVisible(a) || !a->GetLabels() || a->INoLabelsRoom) continue;
            const int size = a->SizeLabels();
            grown = grown || size > a->ILabelsMeasured;
            a->ILabelsMeasured = std::max(a->ILabelsMeasured, size);
        }
        if (!grown) return;
        SetChartRect(Room);
        CalcAxesRect();
        SetSeriesDepthPositions();
        CalcAxesScales();
    }
}

// The axes take their room flat, but a turned view draws the chart's box, with its labels and
// titles, larger on one side than on the other and slanting out of that room: the axes take
// more until what is drawn fits in the room the titles and the legend left.
void TCustomAxisPanel::FitTurnedView(const TRect& Room) {
    // Series that stand on no axes (a pie) have neither box nor axes drawn round them.
    bool any = false, onAxes = false;
    ForEachActive(*this, [&](TChartSeries* s) {
        any = true;
        onAxes = onAxes || s->UseAxis();
    });
    if (any && !onAxes) return;
    TCanvas3D* c = GetCanvas();
    TRect more{0, 0, 0, 0};
    for (int pass = 0;; ++pass) {
        const TRect r = GetChartRect();
        const int left = r.Left - CalcWallSize(FLeftAxis), right = r.Right + CalcWallSize(FRightAxis);
        // The back wall's size is the one a depth axis is given: no side axis stands on it.
        const int bottom = r.Bottom + CalcWallSize(FBottomAxis), back = Width3D + CalcWallSize(FDepthAxis);
        TPoint p = c->Calculate3DPosition(left, r.Top, 0);
        TRect drawn{p.X, p.Y, p.X, p.Y};
        const auto join = [&drawn](const TRect& B) { drawn = Joined(drawn, B); };
        for (const int x : {left, right})
            for (const int y : {r.Top, bottom})
                for (const int z : {0, back}) {
                    p = c->Calculate3DPosition(x, y, z);
                    join({p.X, p.Y, p.X, p.Y});
                }
        for (int t = 0; t < FAxes->Count(); ++t)
            if (TChartAxis* a = FAxes->Get(t); !a->IsDepthAxis && IsAxisVisible(a))
                join(a->TurnedLabelsAndTitle());
        // The operator's zoom and scrolling move the picture on purpose: the room is kept for
        // it as drawn at its own size and in its own place.
        const TProjection3D& view = c->GetProjection();
        const double k = view.ZoomFactor() > 0 ? 1 / view.ZoomFactor() : 1;
        const auto unmoved = [k](int V, int Offset, int Centre) {
            return ZuzRound((V - Offset) * k) + Centre;
        };
        drawn = {unmoved(drawn.Left, view.XCenterOffset(), view.XCenter()),
                 unmoved(drawn.Top, view.YCenterOffset(), view.YCenter()),
                 unmoved(drawn.Right, view.XCenterOffset(), view.XCenter()),
                 unmoved(drawn.Bottom, view.YCenterOffset(), view.YCenter())};
        const TRect over{std::max(0, Room.Left - drawn.Left), std::max(0, Room.Top - drawn.Top),
                         std::max(0, drawn.Right - Room.Right), std::max(0, drawn.Bottom - Room.Bottom)};
        if (pass == 4 || (over.Left == 0 && over.Top == 0 && over.Right == 0 && over.Bottom == 0)) return;
        more = {more.Left + over.Left, more.Top + over.Top, more.Right + over.Right,
                more.Bottom + over.Bottom};
        const TRect smaller{Room.Left + more.Left, Room.Top + more.Top, Room.Right - more.Right,
                            Room.Bottom - more.Bottom};
        if (smaller.Width() < Room.Width() / 2 || smaller.Height() < Room.Height() / 2) return;
        SetChartRect(smaller);
        CalcAxesRect();
        SetSeriesDepthPositions();
        CalcAxesScales();
        c->Projection(Width3D, GetChartBounds(), GetChartRect());
    }
}

void TCustomAxisPanel::CalcAxesScales() {
    for (TChartAxis* a : *FAxes) {
        int l = 0, t = 0, r = 0, b = 0;
        const bool autoMin = a->GetAutomatic() || a->GetAutomaticMinimum();
        const bool autoMax = a->GetAutomatic() || a->GetAutomaticMaximum();
        ForEachActive(*this, [&](TChartSeries* s) {
            if (!s->AssociatedToAxis(a)) return;
            int m1 = 0, m2 = 0;
            if (a->GetHorizontal()) {
                s->CalcHorizMargins(m1, m2);
                if (autoMin) l = std::max(l, m1);
                if (autoMax) r = std::max(r, m2);
            } else {
                s->CalcVerticalMargins(m1, m2);
                if (autoMax) t = std::max(t, m1);
                if (autoMin) b = std::max(b, m2);
            }
        });
        const int minOff = a->GetMinimumOffset(), maxOff = a->GetMaximumOffset();
        const bool offsets = minOff != 0 || maxOff != 0;
        if (offsets) {
            if (a->GetHorizontal()) {
                l += a->GetInverted() ? maxOff : minOff;
                r += a->GetInverted() ? minOff : maxOff;
            } else {
                b += a->GetInverted() ? maxOff : minOff;
                t += a->GetInverted() ? minOff : maxOff;
            }
        }
        a->AdjustMaxMinRect(TRect(l, t, r, b));
        a->CalcRoundScales();
        if (offsets && a->GetLabels() && !a->INoLabelsRoom)
            a->PosAxis = a->InflateAxisPos(a->PosLabels, a->SizeLabels());
    }
}

void TCustomAxisPanel::SetSeriesDepthPositions() {
    ForEachActive(*this, [](TChartSeries* s) { s->CalcDepthPositions(); });
}

void TCustomAxisPanel::DrawAxes() {
    if (!FAxisVisible) return;
    TCanvas3D* c = GetCanvas();
    c->BeginEntity(u"axes");
    DoOnBeforeDrawAxes();
    // Drawn once: those the walls drew already are left.
    const bool withWalls = HorizAxesDrawnWithWalls();
    for (int t = 0; t < FAxes->Count(); ++t) {
        TChartAxis* a = FAxes->Get(t);
        if (!IsAxisVisible(a) || ((a == FBottomAxis || a == FTopAxis) && withWalls)) continue;
        a->Draw(true);
    }
    c->EndEntity();
}

void TCustomAxisPanel::DrawAllSeries() {
    bool inverted = FDepthAxis->GetInverted();
    if (DrawBackWallAfter(Width3D)) inverted = !inverted;
    const int n = SeriesCount();
    // Flat, the marks of a series wait until every series has drawn its values, or a series
    // stacked on it would cover them; in 3D the depth order already shows them.
    std::vector<TChartSeries*> marksLater;
    for (int k = 0; k < n; ++k) {
        TChartSeries* s = GetSeries(inverted ? n - 1 - k : k);
        if (s->GetActive()) DrawOneSeries(s, &marksLater);
    }
    TCanvas3D* c = GetCanvas();
    for (TChartSeries* s : marksLater) {
        if (s->Count() > 0 && s->GetMarks()->GetVisible()) {
            // The series' entity opens again for its marks.
            c->BeginEntity(SeriesEntityName(s));
            DrawSeriesMarks(s);
            c->EndEntity();
        }
        s->DoAfterDrawValues();
    }
}

String TCustomAxisPanel::SeriesEntityName(TChartSeries* ASeries) const {
    return ASeries->GetName().empty() ? IntToStr(SeriesIndexOf(ASeries)) : ASeries->GetName();
}

TRect TCustomAxisPanel::SeriesClipRect() const {
    TRect r = GetChartRect();
    --r.Top;
    ++r.Bottom;
    return r;
}

void TCustomAxisPanel::ClipSeries() {
    if (CanClip()) GetCanvas()->ClipCube(SeriesClipRect(), 0, Width3D);
}

bool TCustomAxisPanel::ClipsAway(TPoint P) {
    return FClipPoints && OutsideSeriesClip(P);
}

bool TCustomAxisPanel::ClipsAwayMark(TPoint P, bool Clip) {
    return Clip ? OutsideSeriesClip(P) : !PtInRect(MarksArea(), P);
}

bool TCustomAxisPanel::OutsideSeriesClip(TPoint P) {
    if (!CanClip()) return false;
    const auto* c = dynamic_cast<const TZuzCanvas3D*>(GetCanvas());
    return c && !c->InClipCube(SeriesClipRect(), 0, Width3D, P);
}

void TCustomAxisPanel::DrawSeriesMarks(TChartSeries* ASeries) {
    TSeriesMarks* marks = ASeries->GetMarks();
    if (ASeries->Count() == 0 || !marks->GetVisible()) return;
    if (marks->GetClip())
        ClipSeries();
    else
        GetCanvas()->ClipRectangle(MarksArea());
    ASeries->DrawMarks();
    GetCanvas()->UnClipRectangle();
}

void TCustomAxisPanel::DrawOneSeries(TChartSeries* ASeries, std::vector<TChartSeries*>* MarksLater) {
    TCanvas3D* c = GetCanvas();
    const bool clip = ASeries->UseAxis() && FClipPoints;
    if (!GetView3D() || !ASeries->MoreSameZOrder()) {
        ASeries->CalcFirstLastVisibleIndex();
        if (ASeries->FirstValueIndex == -1) return;
        c->BeginEntity(SeriesEntityName(ASeries));
        ASeries->DoBeforeDrawValues();
        if (clip) ClipSeries();
        ASeries->DrawAllValues();
        if (clip) c->UnClipRectangle();
        // A series off the axes (a pie) lays itself out in the chart rectangle only while it
        // draws, so its marks and the end of its drawing cannot wait for the others.
        if (MarksLater && !GetView3D() && ASeries->UseAxis()) {
            c->EndEntity();
            MarksLater->push_back(ASeries);
            return;
        }
        DrawSeriesMarks(ASeries);
        ASeries->DoAfterDrawValues();
        c->EndEntity();
        return;
    }
    // Series sharing a depth slot are drawn point by point together, by the
    // first of them.
    if (!ASeries->FirstInZOrder()) return;
    std::vector<TChartSeries*> group;
    int first = -1, last = -1;
    for (int t = SeriesIndexOf(ASeries); t < SeriesCount(); ++t) {
        TChartSeries* s = GetSeries(t);
        if (!s->GetActive() || s->GetZOrder() != ASeries->GetZOrder()) continue;
        s->CalcFirstLastVisibleIndex();
        s->DoBeforeDrawValues();
        first = std::max(first, s->FirstValueIndex);
        last = std::max(last, s->LastValueIndex);
        group.push_back(s);
    }
    if (clip) ClipSeries();
    const bool forward = ASeries->DrawValuesForward();
    const auto drawIndex = [&](int i) {
        const bool seriesForward = ASeries->DrawSeriesForward(i);
        const int n = static_cast<int>(group.size());
        for (int k = 0; k < n; ++k) {
            TChartSeries* s = group[static_cast<std::size_t>(seriesForward ? k : n - 1 - k)];
            if (i >= s->Count()) continue;
            // Each point under its own series' name, as a series drawn alone.
            c->BeginEntity(SeriesEntityName(s));
            s->DrawValue(i);
            c->EndEntity();
        }
    };
    if (first >= 0) {
        if (forward)
            for (int i = first; i <= last; ++i) drawIndex(i);
        else
            for (int i = last; i >= first; --i) drawIndex(i);
    }
    if (clip) c->UnClipRectangle();
    for (TChartSeries* s : group) {
        c->BeginEntity(SeriesEntityName(s));
        DrawSeriesMarks(s);
        c->EndEntity();
        s->DoAfterDrawValues();
    }
}
