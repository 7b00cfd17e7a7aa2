#pragma once
// The series pointer: the small symbol point-like series draw at each point,
// in thirteen styles, flat or in 3D, with shadow, transparency and gradient.

#include "chart/canvas/zuzshape.h"

#include <algorithm>

class ISeriesChart;
class TChartSeries;

// The panel a series' chart is, for the shapes that hang on it; nullptr for none or a chart
// that is no panel.
TCustomZuzPanel* PanelOf(ISeriesChart* Chart);
class TZuzGradient;
class TZuzShadow;

enum TSeriesPointerStyle : std::uint8_t {
    psRectangle,
    psCircle,
    psTriangle,
    psDownTriangle,
    psCross,
    psDiagCross,
    psStar,
    psDiamond,
    psSmallDot,
    psNothing,
    psLeftTriangle,
    psRightTriangle,
    psHexagon
};
template <>
const EnumInfo& EnumInfoOf<TSeriesPointerStyle>();

// The largest half-size an editor offers for a pointer.
constexpr int kLargestPointerSize = 10000;

// Brush, pen and visibility come from the framed shapes' base; the panel it hangs on is the
// series' chart.
class TSeriesPointer : public TZuzCustomShapeBrushPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSeriesPointer(TChartSeries* Series);
    ~TSeriesPointer() override;
    void Assign(TPersistent* Source) override;

    // A change repaints the series' chart, also one that is no panel, and nothing while the
    // series has none.
    void SetVisible(bool Value) override;
    void Repaint() override;
    // The chart the series now shows on (nullptr: none).
    void SetParentChart(ISeriesChart* Value);
    // The colour of the symbol is the brush's.
    TColor GetColor() const;
    void SetColor(TColor Value);

    bool GetDark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { Store(FDark3D, Value); }
    bool GetDraw3D() const { return FDraw3D; }
    void SetDraw3D(bool Value) { Store(FDraw3D, Value); }
    // A callout starts flat though the pointer's declared default is 3D: a 3D one
    // must be written too, or it loads back flat.
    bool DefaultDraw3D = true;
    bool IsDraw3DStored() const { return !FDraw3D || FDraw3D != DefaultDraw3D; }
    TZuzGradient* GetGradient() const { return FGradient.get(); }
    void SetGradient(TZuzGradient* Value);
    int GetHorizSize() const { return FHorizSize; }
    // Sizes below 1 raise ChartException and keep the old size; larger ones are held to
    // kLargestPointerSize.
    void SetHorizSize(int Value);
    int GetVertSize() const { return FVertSize; }
    void SetVertSize(int Value);
    void SetSize(int Value);
    int GetSize() const { return std::max(FHorizSize, FVertSize); }
    bool GetInflateMargins() const { return FInflateMargins; }
    void SetInflate(bool Value) { Store(FInflateMargins, Value); }
    void SetInflateMargins(bool Value) { SetInflate(Value); }
    // Arrows and bubbles start without the room though the declared default gives it:
    // the room must be written too, or it loads back without.
    bool DefaultInflateMargins = true;
    bool IsInflateMarginsStored() const {
        return !FInflateMargins || FInflateMargins != DefaultInflateMargins;
    }
    TZuzShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TZuzShadow* Value);
    TSeriesPointerStyle GetStyle() const { return FStyle; }
    void SetStyle(TSeriesPointerStyle Value) { Store(FStyle, Value); }
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value) { Store(FTransparency, std::clamp(Value, 0, 100)); }
    TChartSeries* ParentSeries() const { return FSeries; }

    // Set while a series type draws: no repaint. A size made from a file's value (a bubble's
    // radius) is held to the largest picture, which it covers then wherever it stands on it.
    void ChangeHorizSize(int Value);
    void ChangeVertSize(int Value);
    void ChangeStyle(TSeriesPointerStyle Value) { FStyle = Value; }
    void Change3D(bool Value) { FDraw3D = Value; }

    // Room the axes leave at their ends for the symbol.
    void CalcHorizMargins(int& Left, int& Right) const;
    void CalcVerticalMargins(int& Top, int& Bottom) const;

    int GetStartZ() const;
    int GetMiddleZ() const;
    int GetEndZ() const;

    // Pen and brush of the symbol into the chart's canvas (or Canvas), in Color
    // where the pointer has no colour of its own.
    void Prepare();
    void PrepareCanvas(TZuzCanvas* Canvas, TColor Color);
    void Draw(TPoint P) { Draw(P.X, P.Y); }
    void Draw(int X, int Y);
    void Draw(int X, int Y, TColor Color, TSeriesPointerStyle Style);
    // Draws only; the caller prepared pen and brush.
    void DrawPointer(TCanvas3D* Canvas, bool Is3D, int X, int Y, int HorizSize, int VertSize, TColor Color,
                     TSeriesPointerStyle Style);

    // Off: the pointer editor offers no size controls (the pointer's size is the series' own).
    bool AllowChangeSize = true;
    bool GradientOwnColors = false;

protected:
    ISeriesChart* Chart() const;
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }

private:
    TColor ShownColor() const;
    // Outline: the symbol's screen points, whose shadow is cast instead of R's when given.
    void DrawShadow(TCanvas3D* Canvas, TSeriesPointerStyle Style, const TRect& R,
                    std::span<const TPoint> Outline, int Z);
    void FillGradient(TCanvas3D* Canvas, TSeriesPointerStyle Style, const TRect& R,
                      std::span<const TPoint> Shape, bool Is3D, int Z, TColor Color);

    TChartSeries* FSeries;
    bool FDark3D = true;
    bool FDraw3D = true;
    Owned<TZuzGradient> FGradient;
    int FHorizSize = 4;
    bool FInflateMargins = true;
    Owned<TZuzShadow> FShadow;
    TSeriesPointerStyle FStyle = psRectangle;
    int FTransparency = 0;
    int FVertSize = 4;
};
