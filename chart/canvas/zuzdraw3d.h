#pragma once
// A panel for free drawing on the chart library's 3D canvas: the panel's frame, margins,
// background, back image, buffered display and 3D view, and whatever its OnPaint draws.

#include "chart/canvas/zuzpanelext.h"

using TDraw3DPaintEvent = Event<void(TObject* Sender, const TRect& ARect)>;

class TDraw3D : public TCustomZuzPanelExtended {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomZuzPanelExtended::TCustomZuzPanelExtended;

    TDraw3DPaintEvent OnPaint;

protected:
    void InternalDraw(const TRect& Rect) override;
};
