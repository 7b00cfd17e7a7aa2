#pragma once
// Where one draw of a chart panel puts the chart, as a value computed from the panel's
// settings and the rectangle drawn in. The paint, a print and a picture each compute their
// own, so none of them leaves its geometry in another.

#include "platform/core/types.h"

#include <array>
#include <cstdint>

enum TZuzUnits : std::uint8_t { muPercent, muPixels };

// Where one draw of a panel puts the chart: the rectangle drawn in (as the canvas's InitWindow
// returns it), the chart rectangle inside margins, frame and shadow, its size and centre, and
// whether the draw goes to a printer. Each draw has its own: the control's paint keeps its
// layout in the control, a print or a picture computes one for its target and leaves the
// control's as it was.
struct TPanelLayout {
    TRect ChartBounds;
    TRect ChartRect;
    int ChartWidth = 0, ChartHeight = 0;
    int ChartXCenter = 0, ChartYCenter = 0;
    bool Printing = false;
};

// What a panel's chart rectangle depends on.
struct TPanelLayoutSettings {
    int FrameWidth = 0; // the panel's border width, bevels and border pen
    std::array<int, 4> Margins{3, 4, 3, 4};
    TZuzUnits MarginUnits = muPercent;
    bool ShadowVisible = false;
    int ShadowHorizSize = 0, ShadowVertSize = 0;
    bool CustomChartRect = false;
    TRect CustomRect; // the owner's chart rectangle, kept when CustomChartRect is set
    int ControlWidth = 0, ControlHeight = 0;
};

// The chart rectangle inside margins, frame and shadow of a draw into ChartBounds.
TRect PanelChartRect(const TPanelLayoutSettings& Settings, const TRect& ChartBounds);
// Unless the rectangle is the owner's: one whose left passes its right gets width 1, an
// empty one the control's width (the same for top and bottom); then size and centre.
void PanelChartSize(TPanelLayout& Layout, const TPanelLayoutSettings& Settings);
// Both steps: the layout of a draw into ChartBounds.
TPanelLayout PanelLayout(const TPanelLayoutSettings& Settings, const TRect& ChartBounds);
