#pragma once
// Gradient fills of chart elements (panel and wall backs, legend, marks, bars, fonts): start,
// optional middle and end colour in one of ten directions, a balance that moves the midpoint,
// rotation, a radial centre offset and an optional second gradient blended over the first.

#include "chart/canvas/zuzcanvas.h"

class TSubGradient;

class TCustomZuzGradient : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomZuzGradient(TNotifyEvent ChangedEvent = {});
    ~TCustomZuzGradient() override;
    void Assign(TPersistent* Source) override;

    int GetAngle() const { return FAngle; }
    void SetAngle(int Value);
    int GetBalance() const { return FBalance; }
    void SetBalance(int Value);
    TGradientDirection GetDirection() const { return FDirection; }
    void SetDirection(TGradientDirection Value);
    // A pie's or a horizontal area's gradient starts another way than the declared default:
    // both are written, or one of them loads back as the owner made it.
    TGradientDirection DefaultDirection = gdTopBottom;
    bool IsDirectionStored() const { return FDirection != gdTopBottom || FDirection != DefaultDirection; }
    TColor GetEndColor() const { return FEndColor; }
    void SetEndColor(TColor Value);
    // clNone while no middle colour takes part.
    TColor GetMidColor() const { return FUseMiddle ? FMidColor : clNone; }
    // clNone turns the middle colour off and keeps the stored one for UseMiddleColor.
    void SetMidColor(TColor Value);
    void UseMiddleColor();
    int GetRadialX() const { return FRadialX; }
    void SetRadialX(int Value);
    int GetRadialY() const { return FRadialY; }
    void SetRadialY(int Value);
    TColor GetStartColor() const { return FStartColor; }
    void SetStartColor(TColor Value);
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value);
    // Made on first read, with the owner's change event.
    TSubGradient* GetSub();
    void SetSub(TSubGradient* Value);
    bool HasSub() const { return FSubGradient != nullptr; }

    // Fills the rectangle (clipped to a rounded one for RoundSize > 0).
    void Draw(TZuzCanvas* Canvas, const TRect& Rect, int RoundSize = 0);
    // Fills the four-point polygon.
    void Draw(TZuzCanvas* Canvas, const TFourPoints& Points);
    // The four points at depth Z, filled.
    void Draw(TCanvas3D* Canvas, const TFourPoints& Points, int Z);
    // Any polygon; with Is3D its points are at depth Z.
    void Draw(TCanvas3D* Canvas, std::span<const TPoint> Points, int Z, bool Is3D);
    void DrawRadial(TZuzCanvas* Canvas, const TRect& Rect);
    void DrawRotated(TZuzCanvas* Canvas, const TRect& Rect, int RoundSize = 0);
    void DrawSubGradient(TZuzCanvas* Canvas, const TRect& Rect, int RoundSize);

    TNotifyEvent OnChange;

protected:
    template <class T>
    void Store(T& Field, T Value);

private:
    void DrawRadialBands(TZuzCanvas* Canvas, const TRect& R);
    int FAngle = 0;
    int FBalance = 50;
    TGradientDirection FDirection = gdTopBottom;
    TColor FEndColor = clYellow;
    TColor FMidColor = clNone;
    int FRadialX = 0;
    int FRadialY = 0;
    TColor FStartColor = clWhite;
    Owned<TSubGradient> FSubGradient;
    bool FVisible = false;
    bool FUseMiddle = false;
};

// The second gradient of a gradient, blended over it.
class TSubGradient : public TCustomZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSubGradient(TNotifyEvent ChangedEvent = {});
    void Assign(TPersistent* Source) override;
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value);

private:
    int FTransparency = 50;
};

class TZuzGradient : public TCustomZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzGradient(TNotifyEvent ChangedEvent = {});
};

// The gradient of a font's glyphs; with Outline it fills the widened letter outlines only.
class TZuzFontGradient : public TZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TZuzFontGradient(TNotifyEvent ChangedEvent = {});
    void Assign(TPersistent* Source) override;
    bool GetOutline() const { return FOutline; }
    void SetOutline(bool Value);

private:
    bool FOutline = false;
};

// Turns a gradient's bitmap by the gradient's angle; the filters unit installs it. Until then
// rotated gradients are drawn unturned.
extern void (*ZuzGradientRotate)(TCustomZuzGradient* Gradient, TBitmap* Bitmap);
