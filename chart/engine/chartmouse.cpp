// The chart's mouse: clicks, the zoom rectangle, panning, the wheel, and the
// saved scales that undo a zoom.

#include "chart/engine/chart.h"

#include "chart/engine/chartaxis.h"
#include "chart/engine/chartlegend.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/zuzfunction.h"

#include <cmath>
#include <cstdlib>

namespace {

bool Inside(const TRect& R, int X, int Y) {
    return X >= R.Left && X <= R.Right && Y >= R.Top && Y <= R.Bottom;
}

bool AllHeld(TShiftState Keys, TShiftState Shift) {
    for (const TShiftStateItem k : {ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble})
        if (Keys.Contains(k) && !Shift.Contains(k)) return false;
    return true;
}

// Where an axis stands on the screen: an automatic end is shown widened by the series' margins
// and rounding, and a move starts from there, so that what lay under the mouse stays under it.
struct TShownRange {
    double Min, Max;
    bool Automatic; // either end
};

TShownRange ShownRange(const TChartAxis& A) {
    const bool autoMin = A.GetAutomatic() || A.GetAutomaticMinimum();
    const bool autoMax = A.GetAutomatic() || A.GetAutomaticMaximum();
    return {autoMin ? A.IMinimum : A.GetMinimum(), autoMax ? A.IMaximum : A.GetMaximum(), autoMin || autoMax};
}

// A logarithmic axis shows equal ratios at equal distances: it moves by a factor, which keeps
// what lay under the mouse under it and both ends above nought, where adding a difference of
// values would jump by decades or past nought.
bool MovesByRatio(const TChartAxis& A, const TShownRange& Shown) {
    return A.GetLogarithmic() && Shown.Min > 0 && Shown.Max > 0;
}

} // namespace

// ---------------------------------------------------------------------------
// Tools

void TCustomChart::BroadcastMouseEvent(TChartMouseEvent Kind, TMouseButton Button, TShiftState Shift, int X,
                                       int Y) {
    const std::vector<TZuzCustomTool*> tools(GetToolsList()->begin(), GetToolsList()->end());
    for (TZuzCustomTool* t : tools) {
        if (!t->GetActive()) continue;
        t->ChartMouseEvent(Kind, Button, Shift, X, Y);
        if (CancelMouse) break;
    }
}

void TCustomChart::BroadcastWheelEvent(TWheelMouseEvent Kind, int Delta, int X, int Y) {
    const std::vector<TZuzCustomTool*> tools(GetToolsList()->begin(), GetToolsList()->end());
    for (TZuzCustomTool* t : tools) {
        if (!t->GetActive()) continue;
        t->WheelMouseEvent(Kind, Delta, X, Y);
        if (CancelMouse) break;
    }
}

// ---------------------------------------------------------------------------
// Buttons

TChartTitle* TCustomChart::ClickedTitle(TChartClickedPartStyle Style) const {
    switch (Style) {
    case cpTitle:
        return GetTitle();
    case cpSubTitle:
        return GetSubTitle();
    case cpFoot:
        return GetFoot();
    case cpSubFoot:
        return GetSubFoot();
    default:
        return nullptr;
    }
}

bool TCustomChart::ClickBackground(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!OnClickBackground) return false;
    CancelMouse = true;
    OnClickBackground(this, Button, Shift, X, Y);
    return CancelMouse;
}

void TCustomChart::StartZoomOrPanning(TMouseButton Button, TShiftState Shift, int X, int Y) {
    if (!ActiveSeriesUseAxis()) return;
    bool started = false;
    TZuzZoom* zoom = GetZoom();
    const TRect r = GetChartRect();
    if (zoom->GetAllow() && Button == zoom->GetMouseButton() && AllHeld(zoom->GetKeyShift(), Shift)) {
        const TZuzZoomDirection d = zoom->GetDirection();
        if (d == tzdVertical) X = r.Left;
        if (d == tzdHorizontal) Y = r.Top;
        zoom->Activate(X, Y);
        if (d == tzdVertical) zoom->X1 = r.Right;
        if (d == tzdHorizontal) zoom->Y1 = r.Bottom;
        DrawZoomRectangle();
        started = true;
    }
    if (GetAllowPanning() != pmNone && Button == FScrollMouseButton && AllHeld(ZuzScrollKeyShift, Shift)) {
        GetPanning()->Activate(X, Y);
        started = true;
    }
    if (started) SetCursor(SavedCursor);
}

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
    TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
    if (CancelMouse || GetZoom()->Active || GetPanning()->Active) return;
    CancelMouse = false;
    BroadcastMouseEvent(cmeDown, Button, Shift, X, Y);
    if (!CancelMouse) {
        TChartClickedPart part;
        CalcNeedClickedPart(TPoint(X, Y), true, part);
        bool handled = false;
        switch (part.Style) {
        case cpLegend:
            handled = GetLegend()->DoMouseDown(X, Y, part.ValueIndex);
            if (OnClickLegend) {
                CancelMouse = true;
                OnClickLegend(this, Button, Shift, X, Y);
                handled = CancelMouse;
            }
            break;
        case cpAxis:
            if (OnClickAxis) {
                CancelMouse = true;
                OnClickAxis(this, part.AAxis, Button, Shift, X, Y);
                handled = CancelMouse;
            }
            if (!handled) StartZoomOrPanning(Button, Shift, X, Y);
            break;
        case cpSeries: {
            CancelMouse = false;
            TChartSeries* s = part.ASeries;
            if (Shift.Contains(ssDouble)) {
                if (s->OnDblClick) s->OnDblClick(s, part.ValueIndex, Button, Shift, X, Y);
            } else if (s->OnClick)
                s->OnClick(s, part.ValueIndex, Button, Shift, X, Y);
            handled = CancelMouse;
            if (OnClickSeries) {
                CancelMouse = true;
                OnClickSeries(this, s, part.ValueIndex, Button, Shift, X, Y);
                handled = CancelMouse;
            }
            if (!handled) StartZoomOrPanning(Button, Shift, X, Y);
            break;
        }
        case cpTitle:
        case cpFoot:
        case cpSubTitle:
        case cpSubFoot:
            if (OnClickTitle) {
                CancelMouse = true;
                OnClickTitle(this, ClickedTitle(part.Style), Button, Shift, X, Y);
                handled = CancelMouse;
            }
            if (!handled) StartZoomOrPanning(Button, Shift, X, Y);
            break;
        case cpChartRect:
            handled = ClickBackground(Button, Shift, X, Y);
            if (!handled) StartZoomOrPanning(Button, Shift, X, Y);
            break;
        case cpNone:
        case cpSeriesMarks:
        case cpAxisTitle:
            break;
        }
        if (!handled) ClickBackground(Button, Shift, X, Y);
    }
    CancelMouse = false;
}

bool TCustomChart::PanAxes(bool Horizontal, int New, int Old) {
    if (New == Old) return false;
    const TPanningMode mode = GetAllowPanning();
    if (mode != pmBoth && mode != (Horizontal ? pmHorizontal : pmVertical)) return false;
    bool moved = false;
    for (TChartAxis* a : *GetAxes()) {
        if (a->IsDepthAxis || a->GetHorizontal() != Horizontal) continue;
        // An axis that follows a master panned here takes the master's new range from it: moved
        // again by itself, it would run ahead of the mouse and leave its master's scale.
        const TChartAxis* master = a->MasterAxis;
        if (master && !master->IsDepthAxis && master->GetHorizontal() == Horizontal) continue;
        const double from = a->CalcPosPoint(Old), to = a->CalcPosPoint(New);
        const TShownRange shown = ShownRange(*a);
        double lo = shown.Min + (from - to), hi = shown.Max + (from - to);
        if (MovesByRatio(*a, shown) && from > 0 && to > 0) {
            lo = shown.Min * (from / to);
            hi = shown.Max * (from / to);
        }
        bool allow = true;
        if (OnAllowScroll) OnAllowScroll(this, a, lo, hi, allow);
        if (allow) a->SetMinMax(lo, hi);
        moved = true;
    }
    return moved;
}

void TCustomChart::MouseMove(TShiftState Shift, int X, int Y) {
    TCustomAxisPanel::MouseMove(Shift, X, Y);
    if (!GetComponentState().Contains(csDesigning)) BroadcastMouseEvent(cmeMove, mbLeft, Shift, X, Y);
    if (CancelMouse) return;
    TZuzZoom* zoom = GetZoom();
    TZoomPanning* pan = GetPanning();
    const TRect r = GetChartRect();
    if (zoom->Active) {
        if (zoom->GetDirection() == tzdVertical) X = r.Right;
        if (zoom->GetDirection() == tzdHorizontal) Y = r.Bottom;
        if (X != zoom->X1 || Y != zoom->Y1) {
            DrawZoomRectangle();
            zoom->X1 = X;
            zoom->Y1 = Y;
            DrawZoomRectangle();
        }
    } else if (pan->Active) {
        if (!Inside(r, X, Y)) {
            pan->Active = false;
            return;
        }
        if (X == pan->X1 && Y == pan->Y1) return;
        SaveScalesOnce();
        const bool h = PanAxes(true, X, pan->X1);
        const bool v = PanAxes(false, Y, pan->Y1);
        pan->X1 = X;
        pan->Y1 = Y;
        if (h || v) {
            if (OnScroll) OnScroll(this);
            Invalidate();
        }
    } else if (!CheckMouseSeries(X, Y)) {
        SetCursor(SavedCursor);
    }
}

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
    CancelMouse = false;
    TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
    TZuzZoom* zoom = GetZoom();
    if (zoom->Active && Button == zoom->GetMouseButton()) {
        zoom->Active = false;
        DrawZoomRectangle();
        GetCanvas()->Pen->SetMode(pmCopy);
        const TZuzZoomDirection d = zoom->GetDirection();
        if (d != tzdVertical) zoom->X1 = X;
        if (d != tzdHorizontal) zoom->Y1 = Y;
        const int min = zoom->GetMinimumPixels();
        const bool wide = d == tzdVertical || std::abs(zoom->X1 - zoom->X0) > min;
        const bool tall = d == tzdHorizontal || std::abs(zoom->Y1 - zoom->Y0) > min;
        if (wide && tall) {
            const bool back = d == tzdVertical ? zoom->Y1 <= zoom->Y0 : zoom->X1 <= zoom->X0;
            if (!zoom->GetUpLeftZooms() && back)
                UndoZoom();
            else
                CalcZoomPoints();
            Invalidate();
        }
    }
    GetPanning()->Active = false;
    BroadcastMouseEvent(cmeUp, Button, Shift, X, Y);
}

// ---------------------------------------------------------------------------
// Zoom

void TCustomChart::CalcZoomPoints() {
    TZuzZoom* z = GetZoom();
    z->Check();
    TChartAxis *top = GetTopAxis(), *bottom = GetBottomAxis(), *left = GetLeftAxis(), *right = GetRightAxis();
    DoZoom(top->CalcPosPoint(z->X0), top->CalcPosPoint(z->X1), bottom->CalcPosPoint(z->X0),
           bottom->CalcPosPoint(z->X1), left->CalcPosPoint(z->Y1), left->CalcPosPoint(z->Y0),
           right->CalcPosPoint(z->Y1), right->CalcPosPoint(z->Y0));
}

void TCustomChart::ZoomRect(const TRect& Rect) {
    TZuzZoom* z = GetZoom();
    z->X0 = Rect.Left;
    z->Y0 = Rect.Top;
    z->X1 = Rect.Right;
    z->Y1 = Rect.Bottom;
    CalcZoomPoints();
}

void TCustomChart::ZoomPercent(double PercentZoom) {
    const TZuzZoomDirection d = GetZoom()->GetDirection();
    double v[8];
    TChartAxis* axes[4] = {GetTopAxis(), GetBottomAxis(), GetLeftAxis(), GetRightAxis()};
    for (int t = 0; t < 4; ++t) {
        TChartAxis* a = axes[t];
        const bool horizontal = t < 2;
        double lo = a->CalcPosPoint(horizontal ? a->IStartPos : a->IEndPos);
        double hi = a->CalcPosPoint(horizontal ? a->IEndPos : a->IStartPos);
        if (horizontal ? d != tzdVertical : d != tzdHorizontal) {
            const double delta = (hi - lo) * (PercentZoom - 100) * 0.01;
            lo += delta;
            hi -= delta;
        }
        v[2 * t] = lo;
        v[2 * t + 1] = hi;
    }
    DoZoom(v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    Repaint();
}

void TCustomChart::SaveScalesOnce() {
    if (!FSavePending) return;
    FSavedScales = SaveScales();
    FSavePending = false;
}

void TCustomChart::DoZoom(double TopStart, double TopEnd, double BottomStart, double BottomEnd,
                          double LeftStart, double LeftEnd, double RightStart, double RightEnd) {
    SaveScalesOnce();
    TZuzZoom* z = GetZoom();
    const TZuzZoomDirection d = z->GetDirection();
    struct Target {
        TChartAxis* Axis;
        double Start, End;
        bool Allowed;
    };
    const Target targets[4] = {{GetLeftAxis(), LeftStart, LeftEnd, d != tzdHorizontal},
                               {GetRightAxis(), RightStart, RightEnd, d != tzdHorizontal},
                               {GetTopAxis(), TopStart, TopEnd, d != tzdVertical},
                               {GetBottomAxis(), BottomStart, BottomEnd, d != tzdVertical}};
    if (z->GetAnimated()) {
        for (int step = 1; step < z->GetAnimatedSteps(); ++step) {
            for (const Target& t : targets) {
                if (!t.Allowed) continue;
                const double lo = t.Axis->GetMinimum(), hi = t.Axis->GetMaximum();
                t.Axis->SetMinMax(lo + (t.Start - lo) / AnimatedZoomFactor,
                                  hi - (hi - t.End) / AnimatedZoomFactor);
            }
            Repaint();
        }
    }
    for (const Target& t : targets)
        if (t.Allowed) t.Axis->SetMinMax(t.Start, t.End);
    Zoomed = true;
    if (OnZoom) OnZoom(this);
}

std::vector<TAxisSavedScales> TCustomChart::SaveScales() const {
    TChartAxes* axes = const_cast<TCustomChart*>(this)->GetAxes();
    std::vector<TAxisSavedScales> saved(static_cast<std::size_t>(axes->Count()));
    for (int t = 0; t < axes->Count(); ++t) {
        const TChartAxis* a = axes->Get(t);
        if (a->IsDepthAxis) continue;
        saved[static_cast<std::size_t>(t)] = {a->GetAutomatic(), a->GetAutomaticMinimum(),
                                              a->GetAutomaticMaximum(), a->GetMinimum(), a->GetMaximum()};
    }
    return saved;
}

void TCustomChart::RestoreScales(std::vector<TAxisSavedScales>& Saved) {
    TChartAxes* axes = GetAxes();
    const int n = std::min(axes->Count(), static_cast<int>(Saved.size()));
    for (int t = 0; t < n; ++t) {
        TChartAxis* a = axes->Get(t);
        if (a->IsDepthAxis) continue;
        const TAxisSavedScales& s = Saved[static_cast<std::size_t>(t)];
        a->SetMinMax(s.Minimum, s.Maximum);
        a->SetAutomatic(s.Automatic);
        a->SetAutomaticMinimum(s.AutomaticMinimum);
        a->SetAutomaticMaximum(s.AutomaticMaximum);
    }
    Saved.clear();
}

void TCustomChart::UndoZoom() {
    if (!FSavePending) {
        RestoreScales(FSavedScales);
        FSavePending = true;
    }
    TCustomAxisPanel::UndoZoom();
}

// ---------------------------------------------------------------------------
// Wheel

bool TCustomChart::CanWheelScroll() const {
    const TPanningMode m = GetAllowPanning();
    return ZuzUseMouseWheel && (m == pmVertical || m == pmBoth);
}

void TCustomChart::ScrollVerticalAxes(bool Forward) {
    for (TChartAxis* a : *GetAxes()) {
        // The depth axes place the series one behind the other, as panning leaves them too.
        if (a->GetHorizontal() || a->IsDepthAxis) continue;
        // As panning does, a notch moves the content by its step and no more.
        const TShownRange shown = ShownRange(*a);
        const bool ratio = MovesByRatio(*a, shown);
        // Set whole, the range of a logarithmic master carries the axes that follow it.
        const TChartAxis* master = a->MasterAxis;
        if (master && master->GetLogarithmic() && !master->GetHorizontal() && !master->IsDepthAxis) continue;
        double delta = (shown.Max - shown.Min) * 3 * 0.01;
        double factor = ratio ? std::pow(shown.Max / shown.Min, 0.03) : 1;
        if (!Forward) {
            delta = -delta;
            factor = 1 / factor;
        }
        double lo = ratio ? shown.Min * factor : shown.Min + delta;
        double hi = ratio ? shown.Max * factor : shown.Max + delta;
        bool allow = true;
        if (OnAllowScroll) OnAllowScroll(this, a, lo, hi, allow);
        if (!allow) continue;
        if (ratio) {
            a->SetMinMax(lo, hi);
            continue;
        }
        if (shown.Automatic) a->SetMinMax(shown.Min, shown.Max);
        a->Scroll(delta, false);
    }
}

bool TCustomChart::DoMouseWheelDown(TShiftState Shift, TPoint MousePos) {
    const bool handled = TCustomAxisPanel::DoMouseWheelDown(Shift, MousePos);
    if (CanWheelScroll()) ScrollVerticalAxes(true);
    const TPoint p = ScreenToClient(MousePos);
    BroadcastWheelEvent(wmeDown, 0, p.X, p.Y);
    return handled;
}

bool TCustomChart::DoMouseWheelUp(TShiftState Shift, TPoint MousePos) {
    const bool handled = TCustomAxisPanel::DoMouseWheelUp(Shift, MousePos);
    if (CanWheelScroll()) ScrollVerticalAxes(false);
    const TPoint p = ScreenToClient(MousePos);
    BroadcastWheelEvent(wmeUp, 0, p.X, p.Y);
    return handled;
}

bool TCustomChart::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
    const bool handled = TCustomAxisPanel::DoMouseWheel(Shift, WheelDelta, MousePos);
    const TPoint p = ScreenToClient(MousePos);
    BroadcastWheelEvent(wmeMove, WheelDelta, p.X, p.Y);
    return handled;
}
