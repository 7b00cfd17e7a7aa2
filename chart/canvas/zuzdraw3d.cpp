// The free-drawing panel.
#include "chart/canvas/zuzdraw3d.h"

const ClassInfo& TDraw3D::StaticClass() {
    using D = TDraw3D;
    using P = TCustomZuzPanel;
    using E = TCustomZuzPanelExtended;
    static const PropInfo props[] = {
        MakeProp<&E::GetBackImage, &E::SetBackImage>("BackImage").Stored<&E::HasBackImageObject>(),
        MakeProp<&E::GetBackImageMode, &E::SetBackImageMode>("BackImageMode").Default(pbmStretch),
        MakeProp<&P::GetBevelInner, &P::SetBevelInner>("BevelInner").Default(bvNone),
        MakeProp<&P::GetBevelOuter, &P::SetBevelOuter>("BevelOuter").Default(bvRaised),
        MakeProp<&P::GetBevelWidth, &P::SetBevelWidth>("BevelWidth").Default(1),
        MakeProp<&P::GetBorder, &P::SetBorder>("Border"),
        MakeProp<&P::GetBorderRound, &P::SetBorderRound>("BorderRound").Default(0),
        MakeProp<&P::GetBufferedDisplay, &P::SetBufferedDisplay>("BufferedDisplay").Default(true),
        MakeProp<&P::GetMarginLeft, &P::SetMarginLeft>("MarginLeft").Default(3),
        MakeProp<&P::GetMarginTop, &P::SetMarginTop>("MarginTop").Default(4),
        MakeProp<&P::GetMarginRight, &P::SetMarginRight>("MarginRight").Default(3),
        MakeProp<&P::GetMarginBottom, &P::SetMarginBottom>("MarginBottom").Default(4),
        MakeProp<&P::GetPrintProportional, &P::SetPrintProportional>("PrintProportional").Default(true),
        MakeProp<&P::GetPrintResolution, &P::SetPrintResolution>("PrintResolution").Default(0),
        MakeProp<&P::GetView3D, &P::SetView3D>("View3D").Default(true),
        MakeProp<&P::GetView3DOptions, &P::SetView3DOptions>("View3DOptions"),
        MakeProp<&D::OnPaint>("OnPaint"),
    };
    static const ClassInfo ci =
        MakeClassInfo<TDraw3D>("TDraw3D", &TCustomZuzPanelExtended::StaticClass(), props);
    return ci;
}

void TDraw3D::InternalDraw(const TRect& Rect) {
    // Changes made while drawing (an Invalidate from OnPaint) start no second paint; the
    // setting comes back also when a handler raises.
    struct KeepAutoRepaint {
        TDraw3D* panel;
        bool saved;
        ~KeepAutoRepaint() { panel->AutoRepaint = saved; }
    } keep{this, std::exchange(AutoRepaint, false)};

    TCanvas3D* const C = GetCanvas();
    const bool turns = C->GetSupportsFullRotation();
    if (!turns) PanelPaint(Rect);
    ReCalcWidthHeight();
    Width3D = 100;
    C->Projection(100, GetChartBounds(), GetChartRect());
    if (turns) {
        const TRect chart = GetChartRect();
        SetChartRect(Rect);
        PanelPaint(Rect);
        SetChartRect(chart);
    }
    C->ResetState();
    if (OnPaint) OnPaint(this, Rect);
    if (GetZoom()->Active) DrawZoomRectangle();
    C->ResetState();
    if (OnAfterDraw) OnAfterDraw(this);
}
