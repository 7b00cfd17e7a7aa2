#pragma once
// The extended chart panel: what a chart needs around its drawing. The panel's background
// (colour or gradient, drop shadow, back image), the settings of mouse zoom and panning with
// the rectangle of a drag in progress, the rubber band drawn during a zoom drag, the zoom and
// scroll events, and the print margins in streams.

#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzprocs.h"

// Flat drawing on the front plane while the guard lives; the canvas turns again also when
// the drawing raises.
class TFrontPlane {
public:
    explicit TFrontPlane(TCanvas3D* Canvas, bool Active = true) : FCanvas(Active ? Canvas : nullptr) {
        if (FCanvas) FCanvas->FrontPlaneBegin();
    }
    ~TFrontPlane() {
        if (FCanvas) FCanvas->FrontPlaneEnd();
    }
    TFrontPlane(const TFrontPlane&) = delete;
    TFrontPlane& operator=(const TFrontPlane&) = delete;

private:
    TCanvas3D* FCanvas;
};

// ---------------------------------------------------------------------------
// Zoom settings

enum TZuzZoomDirection : std::uint8_t { tzdHorizontal, tzdVertical, tzdBoth };
template <>
const EnumInfo& EnumInfoOf<TZuzZoomDirection>();

enum TPanningMode : std::uint8_t { pmNone, pmHorizontal, pmVertical, pmBoth };
template <>
const EnumInfo& EnumInfoOf<TPanningMode>();

// The fill of the rubber band: white and clear until set otherwise.
class TZuzZoomBrush : public TChartBrush {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TZuzZoomBrush();
};

// The outline of the rubber band: white, and white is not streamed.
class TZuzZoomPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TZuzZoomPen();
    TColor DefaultColor = clWhite;
    bool IsColorStored() const { return GetColor() != DefaultColor; }
};

class TZuzZoom : public TZoomPanning {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TZuzZoom();
    ~TZuzZoom() override;
    // The settings from another zoom; not the smallest drag, not the up-left rule and not
    // the drag in progress.
    void Assign(TPersistent* Source) override;

    bool GetAllow() const { return FAllow; }
    void SetAllow(bool Value) { FAllow = Value; }
    bool GetAnimated() const { return FAnimated; }
    void SetAnimated(bool Value) { FAnimated = Value; }
    int GetAnimatedSteps() const { return FAnimatedSteps; }
    void SetAnimatedSteps(int Value);
    // Made on first read; nullptr frees it.
    TZuzZoomBrush* GetBrush();
    void SetBrush(TZuzZoomBrush* Value);
    bool HasBrush() const { return FBrush != nullptr; }
    TZuzZoomDirection GetDirection() const { return FDirection; }
    void SetDirection(TZuzZoomDirection Value) { FDirection = Value; }
    TShiftState GetKeyShift() const { return FKeyShift; }
    void SetKeyShift(TShiftState Value) { FKeyShift = Value; }
    int GetMinimumPixels() const { return FMinimumPixels; }
    void SetMinimumPixels(int Value) { FMinimumPixels = Value; }
    TMouseButton GetMouseButton() const { return FMouseButton; }
    void SetMouseButton(TMouseButton Value) { FMouseButton = Value; }
    // Made on first read; nullptr frees it.
    TZuzZoomPen* GetPen();
    void SetPen(TZuzZoomPen* Value);
    bool HasPen() const { return FPen != nullptr; }
    bool GetUpLeftZooms() const { return FUpLeftZooms; }
    void SetUpLeftZooms(bool Value) { FUpLeftZooms = Value; }

private:
    bool FAllow = true;
    bool FAnimated = false;
    int FAnimatedSteps = 8;
    Owned<TZuzZoomBrush> FBrush;
    TZuzZoomDirection FDirection = tzdBoth;
    TShiftState FKeyShift;
    int FMinimumPixels = 16;
    TMouseButton FMouseButton = mbLeft;
    Owned<TZuzZoomPen> FPen;
    bool FUpLeftZooms = false;
};

// ---------------------------------------------------------------------------
// Back image

enum TZuzBackImageMode : std::uint8_t { pbmStretch, pbmTile, pbmCenter, pbmCustom };
template <>
const EnumInfo& EnumInfoOf<TZuzBackImageMode>();

// The picture behind a panel, a wall or a framed shape: stretched over its rectangle, tiled,
// centred, or placed at an offset from the rectangle's top-left corner.
class TBackImage : public TZuzPicture {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TBackImage() = default;
    // The placement, then the picture.
    void Assign(TPersistent* Source) override;

    bool GetInside() const { return FInside; }
    void SetInside(bool Value);
    int GetLeft() const { return FLeft; }
    void SetLeft(int Value);
    TZuzBackImageMode GetMode() const { return FMode; }
    void SetMode(TZuzBackImageMode Value);
    int GetTop() const { return FTop; }
    void SetTop(int Value);

    bool HasGraphic() const { return GetGraphic() && !GetGraphic()->GetEmpty(); }
    // Into Rect of the panel's canvas, at depth Z (centred and placed pictures fill Rect with
    // an extended panel's background first).
    void Draw(TCustomZuzPanel* Panel, const TRect& Rect, int Z);

private:
    template <class T>
    void Store(T& Field, T Value);
    bool FInside = false;
    int FLeft = 0;
    TZuzBackImageMode FMode = pbmStretch;
    int FTop = 0;
};

// ---------------------------------------------------------------------------
// The extended panel

class TCustomZuzPanelExtended : public TCustomZuzPanel {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomZuzPanelExtended(TComponent* AOwner);
    ~TCustomZuzPanelExtended() override;

    TPanningMode GetAllowPanning() const { return FAllowPanning; }
    void SetAllowPanning(TPanningMode Value) { FAllowPanning = Value; }
    // Made on first read, repainting the panel when it changes; nullptr frees it.
    TZuzGradient* GetGradient();
    void SetGradient(TZuzGradient* Value);
    bool HasGradient() const { return FGradient != nullptr; }
    TZuzZoom* GetZoom() const { return FZoom.get(); }
    void SetZoom(TZuzZoom* Value) { FZoom->Assign(Value); }
    bool Zoomed = false;
    // Made on first read, repainting the panel when it changes; nullptr frees it.
    TBackImage* GetBackImage();
    void SetBackImage(TBackImage* Value);
    // Whether the back image holds a graphic, an empty one too (its settings are the graphic's).
    bool HasBackImage() const { return FBackImage && FBackImage->GetGraphic(); }
    bool HasBackImageObject() const { return FBackImage != nullptr; }
    // Read without making an image: false, or pbmStretch, while there is none.
    bool GetBackImageInside() const { return FBackImage && FBackImage->GetInside(); }
    void SetBackImageInside(bool Value) { GetBackImage()->SetInside(Value); }
    TZuzBackImageMode GetBackImageMode() const { return FBackImage ? FBackImage->GetMode() : pbmStretch; }
    void SetBackImageMode(TZuzBackImageMode Value) { GetBackImage()->SetMode(Value); }
    // The graphic's transparency; writing without an image does nothing.
    bool GetBackImageTransp() const;
    void SetBackImageTransp(bool Value);

    // Zoom settings under their old names (no repaint).
    bool GetAllowZoom() const { return FZoom->GetAllow(); }
    void SetAllowZoom(bool Value) { FZoom->SetAllow(Value); }
    bool GetAnimatedZoom() const { return FZoom->GetAnimated(); }
    void SetAnimatedZoom(bool Value) { FZoom->SetAnimated(Value); }
    int GetAnimatedZoomSteps() const { return FZoom->GetAnimatedSteps(); }
    void SetAnimatedZoomSteps(int Value) { FZoom->SetAnimatedSteps(Value); }

    TNotifyEvent OnAfterDraw;
    TNotifyEvent OnScroll;
    TNotifyEvent OnUndoZoom;
    TNotifyEvent OnZoom;

    // Tells OnUndoZoom, repaints, and the chart no longer shows a zoomed range.
    virtual void UndoZoom();
    // The back image into Rect at depth Z, when there is one.
    void DrawBitmap(const TRect& Rect, int Z);
    // The panel's background in UserRect: shadow, fill, back image and frame.
    virtual void PanelPaint(const TRect& UserRect);
    // The fill of the background: the gradient when visible, else the panel's colour.
    virtual void FillPanelRect(const TRect& Rect);
    // A solid fill of Rect in Colour (rounded by Round); nothing for clNone, nor while
    // printing unless the panel's frame is printed too.
    void PaintBack(const TRect& Rect, TColor Colour, int Round);
    // The rubber band of the zoom drag in progress, drawn so that a second draw takes it away.
    void DrawZoomRectangle();

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

private:
    void ReadPrintMargins(TReader* Reader);
    void WritePrintMargins(TWriter* Writer);
    TPanningMode FAllowPanning = pmBoth;
    Owned<TZuzGradient> FGradient;
    Owned<TZuzZoom> FZoom;
    Owned<TBackImage> FBackImage;
};
