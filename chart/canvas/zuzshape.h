#pragma once
// Framed boxes behind titles, the legend, walls, axis items and series marks: a rectangle,
// rounded rectangle or ellipse with a brush, a pen, an optional gradient or picture fill, a
// bevel, a drop shadow and a transparency, optionally turned. The texts inside are drawn by
// the users of the shape.

#include "chart/canvas/zuzfont.h"
#include "chart/canvas/zuzpanelext.h"

enum TChartObjectShapeStyle : std::uint8_t { fosRectangle, fosRoundRectangle, fosEllipse };
template <>
const EnumInfo& EnumInfoOf<TChartObjectShapeStyle>();

enum TTextFormat : std::uint8_t { ttfNormal, ttfHtml };
template <>
const EnumInfo& EnumInfoOf<TTextFormat>();

// The four corners of R turned by Angle degrees about its centre: left-top, right-top,
// right-bottom, left-bottom.
void RectToFourPoints(const TRect& R, double Angle, TFourPoints& Points);

// Brush, pen and visibility of a chart element, and the panel it repaints.
class TZuzCustomShapeBrushPen : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    TZuzCustomShapeBrushPen();
    ~TZuzCustomShapeBrushPen() override;
    void Assign(TPersistent* Source) override;

    TChartBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TChartBrush* Value) { FBrush->Assign(Value); }
    TChartPen* GetPen() const { return FPen.get(); }
    void SetPen(TChartPen* Value) { FPen->Assign(Value); }
    TCustomZuzPanel* GetParentChart() const { return FParentChart; }
    virtual void SetParent(TCustomZuzPanel* Value) { FParentChart = Value; }
    bool GetVisible() const { return FVisible; }
    // Through the panel, which repaints on a change.
    virtual void SetVisible(bool Value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // The parent panel repaints; a shape owned by something else may repaint through it.
    virtual void Repaint();
    void CanvasChanged(TObject* Sender);

protected:
    // A descendant with a brush of its own kind hands it over in its constructor.
    void ReplaceBrush(Owned<TChartBrush> Brush);
    TNotifyEvent ChangedEvent() {
        return TNotifyEvent([this](TObject* s) { CanvasChanged(s); });
    }

private:
    Owned<TChartBrush> FBrush;
    TCustomZuzPanel* FParentChart = nullptr;
    Owned<TChartPen> FPen;
    bool FVisible = true;
};

class TZuzCustomShape : public TZuzCustomShapeBrushPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TZuzCustomShape(TCustomZuzPanel* AOwner);
    ~TZuzCustomShape() override;
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;

    TBevelCut GetBevel() const { return FBevel; }
    void SetBevel(TBevelCut Value);
    int GetBevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int Value);
    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    TZuzFont* GetFont() const { return FFont.get(); }
    void SetFont(TZuzFont* Value) { FFont->Assign(Value); }
    int GetRoundSize() const { return FRoundSize; }
    void SetRoundSize(int Value);
    // Made with the shape; nullptr frees it, and a later read makes a new one.
    TZuzShadow* GetShadow();
    void SetShadow(TZuzShadow* Value);
    bool HasShadow() const { return FShadow != nullptr; }
    TChartObjectShapeStyle GetShapeStyle() const { return FShapeStyle; }
    void SetShapeStyle(TChartObjectShapeStyle Value);
    TTextFormat GetTextFormat() const { return FTextFormat; }
    void SetTextFormat(TTextFormat Value);
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value);
    // The Transparent value that is not streamed; descendants set it.
    bool DefaultTransparent = false;
    bool IsTransparentStored() const { return FTransparent != DefaultTransparent; }
    // Made on first read, repainting the parent; nullptr frees it.
    TZuzGradient* GetGradient();
    void SetGradient(TZuzGradient* Value);
    bool HasGradient() const { return FGradient != nullptr; }
    // Made on first read, repainting the parent; nullptr frees it.
    TBackImage* GetPicture();
    void SetPicture(TBackImage* Value);
    bool HasPicture() const { return FPicture != nullptr; }
    // Percent of what lies behind that shows through, 0 to 100.
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value);
    TColor GetShadowColor() { return GetShadow()->GetColor(); }
    void SetShadowColor(TColor Value) { GetShadow()->SetColor(Value); }
    int GetShadowSize() { return GetShadow()->GetSize(); }
    void SetShadowSize(int Value) { GetShadow()->SetSize(Value); }

    // The box, its right and bottom edges included.
    TRect ShapeBounds;
    int GetWidth() const { return ShapeBounds.Right - ShapeBounds.Left + 1; }
    void SetWidth(int Value) { ShapeBounds.Right = ShapeBounds.Left + Value - 1; }
    int GetHeight() const { return ShapeBounds.Bottom - ShapeBounds.Top + 1; }
    void SetHeight(int Value) { ShapeBounds.Bottom = ShapeBounds.Top + Value - 1; }

    void Draw() { DrawRectRotated(ShapeBounds, 0, 0); }
    void DrawRectRotated(const TRect& Rect, double Angle, int Z) {
        DrawRectRotated(GetParentChart(), Rect, Angle, Z);
    }
    // Shadow, fill, frame and bevel of the box Rect turned by Angle degrees at depth Z on the
    // panel's canvas; nothing when the shape is transparent.
    void DrawRectRotated(TCustomZuzPanel* Panel, const TRect& Rect, double Angle, int Z) {
        if (Panel) DrawRectRotated(Panel->GetCanvas(), Panel, Rect, Angle, Z);
    }
    // The same on Canvas, for a chart that need not be a panel; a picture fill is drawn only
    // through a Panel.
    void DrawRectRotated(TCanvas3D* Canvas, TCustomZuzPanel* Panel, const TRect& Rect, double Angle, int Z);

protected:
    // The shadow's defaults: black, size 3. A descendant with other defaults calls its own
    // after the base constructor.
    virtual void InitShadow(TZuzShadow* Shadow);
    // The gradient made on first read; a descendant may make one of its own kind.
    virtual Owned<TZuzGradient> NewGradient();

private:
    void DrawShadow(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z);
    void DrawGradient(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z);
    void DrawOutline(TCanvas3D* C, const TRect& R, const TFourPoints& P, double Angle, int Z);
    template <class T>
    void Store(T& Field, T Value);

    TBevelCut FBevel = bvNone;
    int FBevelWidth = 2;
    TColor FColor = clWhite;
    Owned<TZuzFont> FFont;
    int FRoundSize = 16;
    Owned<TZuzShadow> FShadow;
    TChartObjectShapeStyle FShapeStyle = fosRectangle;
    TTextFormat FTextFormat = ttfNormal;
    bool FTransparent = false;
    Owned<TZuzGradient> FGradient;
    Owned<TBackImage> FPicture;
    int FTransparency = 0;
};

// A framed box with its settings published.
class TZuzShape : public TZuzCustomShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TZuzCustomShape::TZuzCustomShape;
};
