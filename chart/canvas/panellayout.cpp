// The chart rectangle of a panel inside margins, frame and shadow, and its size and centre.
#include "chart/canvas/panellayout.h"

#include "chart/canvas/zuzcanvas.h"

#include <algorithm>
#include <cstdlib>

namespace {
int MarginSize(const TPanelLayoutSettings& S, int Value, int Size) {
    if (S.MarginUnits == muPixels) return Value;
    return static_cast<int>(static_cast<std::int64_t>(Value) * Size / 100);
}
} // namespace

TRect PanelChartRect(const TPanelLayoutSettings& S, const TRect& B) {
    TRect r = S.CustomRect;
    if (!S.CustomChartRect) {
        const int f = S.FrameWidth, w = B.Width(), h = B.Height();
        r.Left = B.Left + f + MarginSize(S, S.Margins[0], w);
        r.Top = B.Top + f + MarginSize(S, S.Margins[1], h);
        r.Right = B.Right - f - MarginSize(S, S.Margins[2], w);
        r.Bottom = B.Bottom - f - MarginSize(S, S.Margins[3], h);
    }
    if (S.ShadowVisible) {
        const int hs = S.ShadowHorizSize, vs = S.ShadowVertSize;
        if (hs > 0)
            r.Right -= 2 * hs;
        else
            r.Left += 2 * std::abs(hs);
        if (vs > 0)
            r.Bottom -= 2 * vs;
        else
            r.Top += 2 * std::abs(vs);
    }
    return r;
}

void PanelChartSize(TPanelLayout& L, const TPanelLayoutSettings& S) {
    TRect& r = L.ChartRect;
    if (!S.CustomChartRect) {
        r.Left = std::max(r.Left, L.ChartBounds.Left);
        r.Top = std::max(r.Top, L.ChartBounds.Top);
        if (r.Left > r.Right)
            r.Right = r.Left + 1;
        else if (r.Left == r.Right)
            r.Right = r.Left + S.ControlWidth;
        if (r.Top > r.Bottom)
            r.Bottom = r.Top + 1;
        else if (r.Top == r.Bottom)
            r.Bottom = r.Top + S.ControlHeight;
    }
    L.ChartWidth = r.Right - r.Left;
    L.ChartHeight = r.Bottom - r.Top;
    RectCenter(r, L.ChartXCenter, L.ChartYCenter);
}

TPanelLayout PanelLayout(const TPanelLayoutSettings& Settings, const TRect& ChartBounds) {
    TPanelLayout l;
    l.ChartBounds = ChartBounds;
    l.ChartRect = PanelChartRect(Settings, ChartBounds);
    PanelChartSize(l, Settings);
    return l;
}
