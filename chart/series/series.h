#pragma once
// The line-type series: the core that lines, areas and points share (null
// points, stairs, stacking, pointers, area fill, 3D ribbons, click tests), and
// the line, horizontal line and point series built on it; the registration of
// the standard series types.

#include "chart/engine/chartseries.h"
#include "chart/engine/seriespointer.h"

#include <algorithm>
#include <functional>

class TChartHiddenPen;
class TZuzGradient;
class TZuzShadow;
class TCustomAxisPanel;
class TChartAxis;

enum TCustomSeriesStack : std::uint8_t { cssNone, cssOverlap, cssStack, cssStack100 };
template <>
const EnumInfo& EnumInfoOf<TCustomSeriesStack>();

class TCustomSeries;
using TSeriesClickPointerEvent = Event<void(TCustomSeries* Sender, int ValueIndex, int X, int Y)>;
using TOnGetPointerStyle = Event<TSeriesPointerStyle(TChartSeries* Sender, int ValueIndex)>;

// A series with a line pen and a rule for null points (TreatNulls, kept by the
// series base).
class TCustomLineSeries : public TChartSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    using TChartSeries::TChartSeries;
    void Assign(TPersistent* Source) override;

    TChartPen* GetLinePen() const { return GetPen(); }
    void SetLinePen(TChartPen* Value) { SetPen(Value); }
};

class TCustomSeries : public TCustomLineSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomSeries(TComponent* AOwner);
    ~TCustomSeries() override;
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TCustomSeriesEditor"; }
    // A horizontal series whose Y values ascend takes its points in Y order (equal values in
    // their order of arrival).
    int AddXY(double X, double Y, const String& Label = {}, TColor Color = clDefault) override;
    using TCustomLineSeries::AddXY;

    // Settings.
    TChartBrush* GetAreaChartBrush() const { return FAreaChartBrush.get(); }
    void SetAreaChartBrush(TChartBrush* Value);
    TBrushStyle GetAreaBrush() const;
    void SetAreaBrush(TBrushStyle Value);
    TColor GetAreaColor() const { return FAreaColor; }
    void SetAreaColor(TColor Value) { SetColorProperty(FAreaColor, Value); }
    TChartPen* GetAreaLinesPen() const { return FAreaLinesPen.get(); }
    void SetAreaLinesPen(TChartPen* Value);
    bool GetClickableLine() const { return FClickableLine; }
    void SetClickableLine(bool Value) { FClickableLine = Value; }
    bool GetColorEachLine() const { return FColorEachLine; }
    void SetColorEachLine(bool Value) { SetBooleanProperty(FColorEachLine, Value); }
    bool GetDark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanProperty(FDark3D, Value); }
    bool GetDrawArea() const { return FDrawArea; }
    void SetDrawArea(bool Value) { SetBooleanProperty(FDrawArea, Value); }
    bool GetDrawLine() const { return FDrawLine; }
    void SetDrawLine(bool Value) { SetBooleanProperty(FDrawLine, Value); }
    bool GetInvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
    int GetLineHeight() const { return FLineHeight; }
    // Pixels added below each point, to the editor's largest.
    void SetLineHeight(int Value) { SetIntegerProperty(FLineHeight, std::clamp(Value, 0, 1000)); }
    TBrushStyle GetLineBrush() const;
    void SetLineBrush(TBrushStyle Value);
    TChartHiddenPen* GetOutLine() const { return FOutLine.get(); }
    void SetOutLine(TChartHiddenPen* Value);
    TSeriesPointer* GetPointer() const { return FPointer.get(); }
    void SetPointer(TSeriesPointer* Value);
    TZuzShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TZuzShadow* Value);
    TCustomSeriesStack GetStacked() const { return FStacked; }
    // Every series of the chart of this class or an ancestor takes the mode.
    void SetStacked(TCustomSeriesStack Value);
    bool GetStairs() const { return FStairs; }
    void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }
    virtual int GetTransparency() const { return FTransparency; }
    virtual void SetTransparency(int Value);
    virtual TZuzGradient* GetGradient() const { return FGradient.get(); }
    void SetGradient(TZuzGradient* Value);
    TColor GetAreaBrushColor(TColor Color) const;

    TSeriesClickPointerEvent OnClickPointer;
    TOnGetPointerStyle OnGetPointerStyle;

    // The engine's hooks.
    void SetParentChart(ISeriesChart* Value) override;
    void Removed() override;
    void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
    void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
    void CalcZOrder() override;
    void DrawAllValues() override;
    void DrawValue(int ValueIndex) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    bool IsPointInChartRect(int ValueIndex) const override;
    bool RaiseClicked() const override;
    double MaxXValue() const override;
    double MinXValue() const override;
    double MaxYValue() const override;
    double MinYValue() const override;
    int CalcXPos(int ValueIndex) const override;
    int CalcYPos(int ValueIndex) const override;
    void CalcFirstLastVisibleIndex() override;
    int Clicked(int X, int Y) override;
    using TChartSeries::Clicked;

    // Introduced here.
    virtual int CalcMarkLength();
    virtual double CalcMinMaxValue(bool IsMin) const;
    virtual bool ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y);
    // The box a point's pointer is drawn in, at the sizes PreparePointer gives it.
    virtual TRect PointerBox(int ValueIndex, int PointX, int PointY);
    virtual void PreparePointer(int ValueIndex) {}
    virtual bool SameClassOrigin(const TCustomSeries* Series) const { return SameClass(Series); }
    virtual int GetOriginPos(int ValueIndex) const;
    virtual void DrawPointer(int X, int Y, TColor Color, int ValueIndex);
    TSeriesPointerStyle DoGetPointerStyle(int ValueIndex);
    // The sum of the stackable values at ValueIndex of the series before this
    // one (all of them with SumAll), on this point's side of zero.
    double PointOrigin(int ValueIndex, bool SumAll) const;
    int CalcStackedPos(int ValueIndex, double Value) const;
    // The drawing state starts at ValueIndex (from the point before it).
    void InitDrawValue(int ValueIndex);
    void LinePrepareCanvas(TCanvas3D* Canvas, TColor Color);

    // The state one drawing pass carries from point to point.
    int OriginPos = 0, OldOriginPos = 0, OldX = 0, OldY = 0;
    TColor OldColor = clNone;
    double DarkSlope = 1.0;

protected:
    // The segment from (OldX, OldY) to (X, Y), then the pointer of the point
    // before when DrawOldPointer.
    void DrawSegment(int ValueIndex, int X, int Y, TColor Color, bool IsLast, bool DrawOldPointer);
    // The segment entering the chart from its edge at the first displayed point.
    void DrawEdgeSegment(int ValueIndex, TColor Color, bool FromScreen);
    // Where a line coming in from before the chart's edge starts: on that edge.
    TPoint EdgeStart(int ValueIndex, bool FromScreen) const;
    // The area under the segment.
    void PaintArea(int ValueIndex, int X, int Y, TColor Color, bool IsLast, bool Backwards);
    // The depth an area's pieces are painted at in 3D: the front, or the back seen from behind.
    int AreaFaceZ(const TCanvas3D* Canvas) const;
    // The value at the edge E for the segment from point Index - 1 to Index.
    int EdgeInterpolation(int Index, double E) const;
    TCustomAxisPanel* Panel() const;
    TChartAxis* PositionAxis() const;
    TChartAxis* ValueAxis() const;

private:
    // Change runs with the chart out of reach: nothing repaints or is told.
    void QuietChange(const std::function<void()>& Change);
    bool InStack() const { return FStacked == cssStack || FStacked == cssStack100; }

    Owned<TChartBrush> FAreaChartBrush;
    TColor FAreaColor = clZuzColor;
    Owned<TChartPen> FAreaLinesPen;
    bool FClickableLine = true;
    bool FColorEachLine = true;
    bool FDark3D = true;
    bool FDrawArea = false;
    bool FDrawLine = false;
    bool FInvertedStairs = false;
    int FLineHeight = 0;
    Owned<TChartHiddenPen> FOutLine;
    Owned<TSeriesPointer> FPointer;
    Owned<TZuzShadow> FShadow;
    TCustomSeriesStack FStacked = cssNone;
    bool FStairs = false;
    int FTransparency = 0;
    // A transparent 3D area blends once, all its faces together: its faces draw opaque meanwhile,
    // and its pointers, which keep a transparency of their own, wait until the blend is done.
    bool FBlendingWhole = false;
    struct HeldPointer {
        int X, Y;
        TColor Color;
        int ValueIndex;
    };
    std::vector<HeldPointer> FHeldPointers;
    // Draws the values once, a transparent 3D area blended as a whole; DX, DY move it for its shadow.
    void DrawValuesOnce(int DX, int DY);
    int FaceTransparency() const { return FBlendingWhole ? 0 : FTransparency; }
    Owned<TZuzGradient> FGradient;
    // The canvas pen holds the line pen in FLinePenColor: consecutive 2D
    // segments of one colour set it up once. Anything else that draws clears it.
    bool FLinePenReady = false;
    TColor FLinePenColor = clNone;
};

class TLineSeries : public TCustomSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TLineSeries(TComponent* AOwner);
    // A plain point added to a line series that nobody hears is only stored.
    bool KeepsBaseNotifications() const override { return NotifiesAsBase<TLineSeries>(); }
    void Assign(TPersistent* Source) override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
};

// The same line along the vertical axis: Y are the positions, X the values.
class THorizLineSeries : public TLineSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit THorizLineSeries(TComponent* AOwner);
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    int CalcMarkLength() override;
};

// Pointers only.
class TPointSeries : public TCustomSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TPointSeries(TComponent* AOwner);
    bool KeepsBaseNotifications() const override { return NotifiesAsBase<TPointSeries>(); }
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TSeriesPointerEditor"; }
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void SetColorEachPoint(bool Value) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    int GetTransparency() const override;
    void SetTransparency(int Value) override;
    void PrepareForGallery(bool IsEnabled) override;
    // Whether the gallery offers the pointer-style variants.
    virtual bool CanDoExtra() const { return true; }
    void SetFixed();
};

// A line for many points: one polyline drawn with the canvas's move and line
// operations, without pointers, areas or per-point colours. Points on the
// pixel column already drawn can be skipped, and with AutoRepaint off a new
// point is drawn at once as one more segment instead of repainting the chart.
class TFastLineSeries : public TCustomLineSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFastLineSeries(TComponent* AOwner);
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TFastLineSeriesEditor"; }
    // The series colour and the line colour always agree.
    void SetPen(TChartPen* Value) override;
    void SetSeriesColor(TColor Color) override;

    void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
    void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    void DrawAllValues() override;
    void DrawValue(int ValueIndex) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    // With AutoRepaint off: the new point's segment, drawn on the chart's
    // canvas at once; nothing without a chart that has a canvas to draw on.
    void NotifyNewValue(TChartSeries* Sender, int ValueIndex) override;
    int Clicked(int X, int Y) override;
    using TChartSeries::Clicked;

    bool GetAutoRepaint() const { return FAutoRepaint; }
    void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
    bool GetDrawAllPoints() const { return FDrawAllPoints; }
    void SetDrawAllPoints(bool Value) { SetBooleanProperty(FDrawAllPoints, Value); }
    bool GetFastPen() const { return FFastPen; }
    // Stays off where the system cannot colour its device-context pen.
    void SetFastPen(bool Value);
    bool GetIgnoreNulls() const { return FIgnoreNulls; }
    void SetIgnoreNulls(bool Value) { SetBooleanProperty(FIgnoreNulls, Value); }
    bool GetInvertedStairs() const { return FInvertedStairs; }
    void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
    bool GetStairs() const { return FStairs; }
    void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }

    // The point's pixel straight from its values, without stacking or nulls.
    void CalcPosition(int ValueIndex, int& X, int& Y) const;
    void PrepareCanvas();
    void DoMove(int X, int Y);

    int OldX = 0, OldY = 0; // the last point drawn or moved to

private:
    void LineToPoint(TCanvas3D* Canvas, int X, int Y);
    bool FAutoRepaint = true;
    bool FDrawAllPoints = true;
    bool FFastPen = false;
    bool FIgnoreNulls = true;
    bool FInvertedStairs = false;
    bool FStairs = false;
    HGDIOBJ FDCPen = nullptr;
};

// A pointer drawn as a legend symbol, centred in Rect.
void ZuzPointerDrawLegend(TSeriesPointer* Pointer, TColor Color, const TRect& Rect, bool DrawPen,
                          TSeriesPointerStyle Style);

// The standard series types into the series registry, in their gallery order.
void RegisterZuzStandardSeries();
