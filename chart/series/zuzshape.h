#pragma once
// The shape series: one figure (rectangle, ellipse, line, triangle, cube,
// pyramid ...) between its two points, with lines of text inside it. The
// points are axis values, pixels, or an axis point and a size in pixels.

#include "chart/engine/chartseries.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <memory>

class TStringList;
class TStrings;
class TZuzFont;
class TZuzGradient;

enum TChartShapeStyle : std::uint8_t {
    chasRectangle,
    chasCircle,
    chasVertLine,
    chasHorizLine,
    chasTriangle,
    chasInvertTriangle,
    chasLine,
    chasDiamond,
    chasCube,
    chasCross,
    chasDiagCross,
    chasStar,
    chasPyramid,
    chasInvertPyramid
};
template <>
const EnumInfo& EnumInfoOf<TChartShapeStyle>();
enum TChartShapeXYStyle : std::uint8_t { xysPixels, xysAxis, xysAxisOrigin };
template <>
const EnumInfo& EnumInfoOf<TChartShapeXYStyle>();
enum TZuzVertAlign : std::uint8_t { vaTop, vaCenter, vaBottom };
template <>
const EnumInfo& EnumInfoOf<TZuzVertAlign>();

class TChartShape : public TChartSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartShape(TComponent* AOwner);
    ~TChartShape() override;
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TChartShapeEditor"; }

    // The points; reading or writing one adds (0, 0) points until it exists.
    double GetX0();
    void SetX0(double Value) { SetPointValue(0, true, Value); }
    double GetY0();
    void SetY0(double Value) { SetPointValue(0, false, Value); }
    double GetX1();
    void SetX1(double Value) { SetPointValue(1, true, Value); }
    double GetY1();
    void SetY1(double Value) { SetPointValue(1, false, Value); }
    // The same as the streams read them: a missing point reads 0 and is
    // neither added nor written.
    double PointValue(int Index, bool IsX) const;
    double StreamedX0() const { return PointValue(0, true); }
    double StreamedY0() const { return PointValue(0, false); }
    double StreamedX1() const { return PointValue(1, true); }
    double StreamedY1() const { return PointValue(1, false); }
    // A corner read back marks the points as the shape's own: it is written
    // only where they are, or travel with the chart anyway, so that a shape
    // of sample or default points loads as what it was.
    bool HasPoint0() const { return Count() > 0 && CornersStored(); }
    bool HasPoint1() const { return Count() > 1 && CornersStored(); }
    bool CornersStored() const { return GetManualData() || ForceSaveData; }
    // The figure in pixels from now on.
    void SetShapeRectangle(const TRect& Rect);

    TChartShapeStyle GetStyle() const { return FStyle; }
    void SetStyle(TChartShapeStyle Value) { Store(FStyle, Value); }
    TChartShapeXYStyle GetXYStyle() const { return FXYStyle; }
    void SetXYStyle(TChartShapeXYStyle Value) { Store(FXYStyle, Value); }
    TAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TAlignment Value) { Store(FAlignment, Value); }
    TZuzVertAlign GetVertAlign() const { return FVertAlign; }
    void SetVertAlign(TZuzVertAlign Value) { Store(FVertAlign, Value); }
    bool GetRoundRectangle() const { return FRoundRectangle; }
    void SetRoundRectangle(bool Value) { Store(FRoundRectangle, Value); }
    bool GetTransparent() const { return FTransparent; }
    void SetTransparent(bool Value) { Store(FTransparent, Value); }
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value) { Store(FTransparency, std::clamp(Value, 0, 100)); }
    TStrings* GetText() const;
    virtual void SetText(TStrings* Value);
    TZuzFont* GetFont() const { return FFont.get(); }
    void SetFont(TZuzFont* Value);
    TZuzGradient* GetGradient() const { return FGradient.get(); }
    void SetGradient(TZuzGradient* Value);

    // The figure's rectangle as its points say, not yet ordered.
    virtual TRect GetShapeRectangle() const;
    // Ordered, and at least one pixel wide and high.
    TRect AdjustedRectangle() const;

    bool UseAxis() const override { return FXYStyle != xysPixels; }
    void CalcZOrder() override;
    bool MoreSameZOrder() const override { return false; }
    void SetSeriesColor(TColor Color) override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    void DrawValue(int ValueIndex) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    int Clicked(int X, int Y) override;
    using TChartSeries::Clicked;
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void PrepareForGallery(bool IsEnabled) override;
    bool IsValidSourceOf(TChartSeries* Series) const override;

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }
    void EnsurePoints(int Needed);
    void SetPointValue(int Index, bool IsX, double Value);
    void AddDefaultPoints();
    void DrawShape(bool Is3D, const TRect& Rect);
    void FillGradient(bool Is3D, const TRect& Rect);
    void DrawText(const TRect& Rect);

    TChartShapeStyle FStyle = chasCircle;
    TChartShapeXYStyle FXYStyle = xysAxis;
    TAlignment FAlignment = taCenter;
    TZuzVertAlign FVertAlign = vaCenter;
    bool FRoundRectangle = false;
    bool FTransparent = false;
    int FTransparency = 0;
    std::unique_ptr<TStringList> FText;
    Owned<TZuzFont> FFont;
    Owned<TZuzGradient> FGradient;
};

void ZuzShapeInitialization();
void ZuzShapeFinalization();
