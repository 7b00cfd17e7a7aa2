#pragma once
// The drop shadow of chart elements: a copy of the element's outline in one colour, moved by an
// offset, optionally semi-transparent, and optionally smooth (blurred toward the background
// through the canvas's off-screen bitmap; elsewhere flat shapes or a band of brightening lines).

#include "chart/canvas/zuzcanvas.h"

#include <span>
#include <vector>

class TZuzShadow : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzShadow(TNotifyEvent OnChangeEvent = {});
    ~TZuzShadow() override;
    // Copies everything but Clip and the defaults, quietly.
    void Assign(TPersistent* Source) override;

    bool GetClip() const { return FClip; }
    void SetClip(bool Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    int GetHorizSize() const { return FHorizSize; }
    void SetHorizSize(int Value);
    int GetVertSize() const { return FVertSize; }
    void SetVertSize(int Value);
    // Both sizes; reads the larger of their magnitudes.
    int GetSize() const;
    void SetSize(int Value);
    bool GetSmooth() const { return FSmooth; }
    void SetSmooth(bool Value);
    int GetSmoothBlur() const { return FSmoothBlur; }
    void SetSmoothBlur(int Value);
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    // Sets the colour and size that count as defaults (not streamed), quietly.
    void InitValues(TColor AColor, int ASize);

    bool IsColorStored() const { return FColor != DefaultColor; }
    bool IsHorizStored() const { return FHorizSize != DefaultSize; }
    bool IsVertStored() const { return FVertSize != DefaultSize; }
    bool IsVisibleStored() const { return FVisible != DefaultVisible; }

    // A rectangle's shadow (rounded corners for RoundSize > 0) at depth Z.
    void Draw(TCanvas3D* Canvas, const TRect& Rect, int Z = 0, int RoundSize = 0);
    // A polygon's shadow.
    void Draw(TCanvas3D* Canvas, std::span<const TPoint> Points);
    void DrawEllipse(TCanvas3D* Canvas, const TRect& Rect, int Z = 0);
    // The frame of every draw: false when there is nothing to draw; blending begins when the
    // shadow is transparent, and FinishBlending ends it.
    bool PrepareCanvas(TCanvas3D* Canvas, const TRect& Rect, int Z);
    void FinishBlending(TCanvas3D* Canvas);
    // Whether the pixel-based smooth shadow can be drawn on this canvas.
    static bool ValidCanvas(TCanvas3D* Canvas);
    void DrawSmooth(TCanvas3D* Canvas, const TRect& Rect, bool IsEllipse, bool IsPolygon, int RoundSize,
                    std::span<const TPoint> Points);

    TNotifyEvent OnChange;
    TColor DefaultColor = clSilver;
    int DefaultSize = 0;
    bool DefaultVisible = true;
    bool FullSmooth = false; // blur the whole shadow, not only its right and bottom bands

private:
    template <class T>
    void Store(T& Field, T Value);
    // PrepareCanvas over an area already on the screen.
    bool PrepareOver(TCanvas3D* Canvas, const TRect& Area);
    void DrawFlat(TCanvas3D* Canvas, const TRect& R, int Z, int RoundSize);
    void DrawLineBand(TCanvas3D* Canvas, const TRect& R, int Z);
    bool FClip = false;
    TColor FColor = clSilver;
    int FHorizSize = 0;
    int FVertSize = 0;
    bool FSmooth = true;
    int FSmoothBlur = 0;
    int FTransparency = 0;
    bool FVisible = true;
    Owned<TZuzBlend> FBlend; // between PrepareCanvas and FinishBlending
};

// Puts back what drawing a shadow changes of a canvas's brush and pen (the brush's colour, style
// and picture, the pen's style), however the drawing ends.
class TShadowLookKept {
public:
    explicit TShadowLookKept(TZuzCanvas* Canvas)
        : FCanvas(Canvas), FBrushColor(Canvas->Brush->GetColor()), FBrushStyle(Canvas->Brush->GetStyle()),
          FBrushBitmap(Canvas->Brush->GetBitmap()), FPenStyle(Canvas->Pen->GetStyle()) {}
    ~TShadowLookKept() {
        FCanvas->Brush->SetColor(FBrushColor);
        FCanvas->Brush->SetStyle(FBrushStyle);
        if (FBrushBitmap) FCanvas->Brush->SetBitmap(FBrushBitmap);
        FCanvas->Pen->SetStyle(FPenStyle);
    }
    TShadowLookKept(const TShadowLookKept&) = delete;
    TShadowLookKept& operator=(const TShadowLookKept&) = delete;

private:
    TZuzCanvas* FCanvas;
    TColor FBrushColor;
    TBrushStyle FBrushStyle;
    TBitmap* FBrushBitmap;
    TPenStyle FPenStyle;
};

// Keeps a shadow to the canvas's clip for one drawing: a smooth shadow is blurred straight into
// the picture and keeps to the clip in force only while its own Clip is set. Set without telling
// the owner, which would repaint in the middle of a paint; what the chart keeps and saves stays
// as it was. A null shadow is left alone.
class TShadowClipped {
public:
    explicit TShadowClipped(TZuzShadow* Shadow) : FShadow(Shadow) {
        if (!FShadow) return;
        FClip = FShadow->GetClip();
        FOnChange = std::move(FShadow->OnChange);
        FShadow->OnChange = TNotifyEvent{};
        FShadow->SetClip(true);
    }
    ~TShadowClipped() {
        if (!FShadow) return;
        FShadow->SetClip(FClip);
        FShadow->OnChange = std::move(FOnChange);
    }
    TShadowClipped(const TShadowClipped&) = delete;
    TShadowClipped& operator=(const TShadowClipped&) = delete;

private:
    TZuzShadow* FShadow;
    TNotifyEvent FOnChange;
    bool FClip = false;
};

// The blur and composition of a smooth shadow: Bitmap holds the shape on white; its blurred
// right and bottom bands (everything with FullDraw) multiply Back at (Left, Top), or, without
// Back, replace Bitmap's own pixels. With Clip only pixels inside the canvas's clip change.
void ZuzShadowSmooth(TBitmap* Bitmap, TBitmap* Back, int Left, int Top, int Width, int Height, int Horz,
                     int Vert, double Smoothness, bool FullDraw, TCanvas3D* Canvas, bool Clip);
// Bitmap at 24 bits per pixel, and the address of each of its rows (none for an empty bitmap).
void ZuzCalcLines(std::vector<Byte*>& Lines, TBitmap* Bitmap);
