#pragma once
// The bar series: the vertical TBarSeries, the horizontal THorizBarSeries and
// their common base. The base shares a category among the chart's bar series
// (side by side, stacked, stacked to 100 %, stacked within one series), sizes
// the bars and the axis margins they need, and finds where each bar starts;
// the two concrete series place, draw and hit-test one bar.

#include "chart/canvas/zuzgradient.h"
#include "chart/engine/chartseries.h"

#include <vector>

class TZuzShadow;
class TChartHiddenPen;

enum TBarStyle : std::uint8_t {
    bsRectangle,
    bsPyramid,
    bsInvPyramid,
    bsCilinder,
    bsEllipse,
    bsArrow,
    bsRectGradient,
    bsCone,
    bsBevel,
    bsSlantCube,
    bsDiamond,
    bsInvArrow,
    bsInvCone
};
template <>
const EnumInfo& EnumInfoOf<TBarStyle>();

enum TMultiBar : std::uint8_t { mbNone, mbSide, mbStacked, mbStacked100, mbSideAll, mbSelfStack };
template <>
const EnumInfo& EnumInfoOf<TMultiBar>();

class TCustomBarSeries;
using TGetBarStyleEvent = Event<void(TCustomBarSeries* Sender, int ValueIndex, TBarStyle& Style)>;

// The gradient of bars; Relative shades each bar by its value.
class TBarSeriesGradient : public TCustomZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBarSeriesGradient(TNotifyEvent ChangedEvent = {});
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    bool GetRelative() const { return FRelative; }
    void SetRelative(bool Value);

private:
    TNotifyEvent FChanged;
    bool FRelative = false;
};

class TCustomBarSeries : public TChartSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomBarSeries(TComponent* AOwner);
    ~TCustomBarSeries() override;
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TBarSeriesEditor"; }
    void SetParentChart(ISeriesChart* Value) override;
    void DoBeforeDrawChart() override;
    void CalcZOrder() override;
    void CalcDepthPositions() override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    void DrawValue(int ValueIndex) override;
    bool IsPointInChartRect(int ValueIndex) const override;
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    void CalcFirstLastVisibleIndex() override;
    int Clicked(int X, int Y) override;
    int NumSampleValues() const override;
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void PrepareForGallery(bool IsEnabled) override;

    // Properties.
    bool GetAutoBarSize() const { return FAutoBarSize; }
    void SetAutoBarSize(bool Value) { SetBooleanProperty(FAutoBarSize, Value); }
    bool GetAutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool Value) { SetBooleanProperty(FAutoMarkPosition, Value); }
    TChartBrush* GetBarBrush() const { return GetBrush(); }
    void SetBarBrush(TChartBrush* Value) { SetBrush(Value); }
    TChartPen* GetBarPen() const { return GetPen(); }
    void SetBarPen(TChartPen* Value) { SetPen(Value); }
    TBarStyle GetBarStyle() const { return FBarStyle; }
    void SetBarStyle(TBarStyle Value);
    int GetBarWidthPercent() const { return FBarWidthPercent; }
    // A share of the slot, to the editor's widest: the axes widen their range by it.
    void SetBarWidthPercent(int Value) { SetIntegerProperty(FBarWidthPercent, std::clamp(Value, 0, 100)); }
    int GetBevelSize() const { return FBevelSize; }
    // A frame a line per pixel, to the editor's widest.
    void SetBevelSize(int Value) { SetIntegerProperty(FBevelSize, std::clamp(Value, 0, 100)); }
    bool GetDark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanProperty(FDark3D, Value); }
    int GetDarkPen() const { return FDarkPen; }
    void SetDarkPen(int Value) { SetIntegerProperty(FDarkPen, Value); }
    int GetDepthPercent() const { return FDepthPercent; }
    void SetDepthPercent(int Value);
    TBarSeriesGradient* GetGradient() const { return FGradient.get(); }
    void SetGradient(TBarSeriesGradient* Value) { FGradient->Assign(Value); }
    TMultiBar GetMultiBar() const { return FMultiBar; }
    void SetMultiBar(TMultiBar Value);
    int GetOffsetPercent() const { return FOffsetPercent; }
    void SetOffsetPercent(int Value);
    TZuzShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TZuzShadow* Value);
    bool GetSideMargins() const { return FSideMargins; }
    void SetSideMargins(bool Value);
    int GetStackGroup() const { return FStackGroup; }
    void SetStackGroup(int Value) { SetIntegerProperty(FStackGroup, Value); }
    TChartHiddenPen* GetTickLines() const { return FTickLines.get(); }
    void SetTickLines(TChartHiddenPen* Value);
    int GetTransparency() const { return FTransparency; }
    void SetTransparency(int Value);
    bool GetUseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool Value) { SetBooleanProperty(FUseYOrigin, Value); }
    double GetYOrigin() const { return FYOrigin; }
    void SetYOrigin(double Value) { SetDoubleProperty(FYOrigin, Value); }
    int GetConePercent() const { return FConePercent; }
    void SetConePercent(int Value) { SetIntegerProperty(FConePercent, Value); }
    int GetCustomBarWidth() const { return FCustomBarSize; }
    // Pixels, held to the largest picture: 0 is the automatic width.
    void SetCustomBarWidth(int Value) {
        SetIntegerProperty(FCustomBarSize, std::clamp(Value, -kLargestPictureSide, kLargestPictureSide));
    }
    TGetBarStyleEvent OnGetBarStyle;

    int AddBar(double Value, const String& Text = {}, TColor Color = clDefault) {
        return Add(Value, Text, Color);
    }
    TBarStyle GetBarStyle(int ValueIndex);
    int BarMargin() const;
    int ApplyBarOffset(int Position) const;
    void InternalApplyBarMargin(int& Margin1, int& Margin2);
    int InternalGetOriginPos(int ValueIndex, int DefaultPos) const;
    double MaxMandatoryValue(double Value) const;
    double MinMandatoryValue(double Value) const;
    int CalcMarkLength(int ValueIndex);
    virtual double PointOrigin(int ValueIndex, bool SumAll) const;
    // Where the bar of a point starts on the value axis.
    virtual int GetOriginPos(int ValueIndex) const = 0;
    virtual void CalcBarBounds(int ValueIndex, TRect& R) const = 0;
    virtual void DrawBar(int ValueIndex, int StartPos, int EndPos) = 0;
    virtual bool SubGalleryStack() const { return true; }
    // The end colour of the bar gradient for a point (relative: by its value).
    TColor CalcGradientColor(int ValueIndex) const;
    // The bar's rectangle in the bar colour (see BarRectangle).
    void BarRectangleOf(const TRect& R);

    // Layout of the current draw (recomputed by every chart draw).
    int BarSlots = 0;
    int BarOrder = 1;
    int MaxBarPoints = -1;
    int PreviousBarPoints = 0;
    int CurrentBarSize = 0;
    TRect BarBounds;
    TColor BarColor = clDefault;

protected:
    virtual int InternalCalcMarkLength(int ValueIndex) { return 0; }
    virtual bool InternalClicked(int ValueIndex, TPoint P) { return false; }
    virtual void DrawTickLine(int Pos, TBarStyle Style) {}
    // The axis along which the bars stand side by side.
    TChartAxis* CategoryAxis() const { return YMandatory() ? GetHorizAxisObject() : GetVertAxisObject(); }
    TCanvas3D* Canvas() const;
    bool Is3D() const;
    bool IsOrthogonal() const;
    // Series as a bar series of this one's class (nullptr for any other).
    TCustomBarSeries* SameClassBar(TChartSeries* Series) const;
    int BarSlotsOrOne() const { return BarSlots < 1 ? 1 : BarSlots; }
    // Whether the bar beside this one along the category axis is this series' next point: not
    // where the bars of other series or stack groups stand between them, so that a bar that
    // reaches its neighbour at full width covers its own slot only.
    bool NextPointIsNextBar() const { return BarSlots <= 1 || GetMultiBar() == mbSideAll; }
    // Gives the others of this class in the chart the layout mode, or takes it
    // from the first of them.
    void SetOtherBars(bool SetOthers);
    // Drawing helpers of one bar.
    void PrepareBarPen(int ValueIndex);
    void SetPenBrushBar(TColor Color, int ValueIndex);
    void BarRectangle(TColor Color, int Left, int Top, int Right, int Bottom);
    void BarGradient(int ValueIndex, const TRect& R);
    void DrawBevel();
    void DrawTickLines(int StartPos, int EndPos, TBarStyle Style);
    void DrawBarBody(int ValueIndex, int Transparency);
    // The shape of the point's style between StartPos and EndPos, then its
    // gradient or bevel and the tick lines.
    void DrawBarShape(int ValueIndex, int StartPos, int EndPos);
    bool PenVisible() const;
    int PenWidth() const;

private:
    bool FAutoBarSize = false;
    bool FAutoMarkPosition = true;
    TBarStyle FBarStyle = bsRectangle;
    int FBarWidthPercent = 70;
    int FBevelSize = 1;
    bool FDark3D = true;
    int FDarkPen = 0;
    int FDepthPercent = 100;
    Owned<TBarSeriesGradient> FGradient;
    TMultiBar FMultiBar = mbSide;
    int FOffsetPercent = 0;
    Owned<TZuzShadow> FShadow;
    bool FSideMargins = true;
    int FStackGroup = 0;
    Owned<TChartHiddenPen> FTickLines;
    int FTransparency = 0;
    bool FUseYOrigin = true;
    double FYOrigin = 0;
    int FConePercent = 0;
    int FCustomBarSize = 0;
};

// Vertical bars: the categories run along the horizontal axis.
class TBarSeries : public TCustomBarSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TBarSeries(TComponent* AOwner);

    void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
    void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
    void CalcSelectionPos(int ValueIndex, int& X, int& Y) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    bool MoreSameZOrder() const override;
    double MaxXValue() const override;
    double MinXValue() const override;
    double MaxYValue() const override;
    double MinYValue() const override;
    int CalcXPos(int ValueIndex) const override;
    int CalcYPos(int ValueIndex) const override;
    bool DrawSeriesForward(int ValueIndex) const override;
    int GetOriginPos(int ValueIndex) const override;
    void CalcBarBounds(int ValueIndex, TRect& R) const override;
    void DrawBar(int ValueIndex, int StartPos, int EndPos) override;

protected:
    int InternalCalcMarkLength(int ValueIndex) override;
    bool InternalClicked(int ValueIndex, TPoint P) override;
    void DrawTickLine(int Pos, TBarStyle Style) override;
};

// Horizontal bars: the categories run along the vertical axis.
class THorizBarSeries : public TCustomBarSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit THorizBarSeries(TComponent* AOwner);

    int GetCustomBarHeight() const { return GetCustomBarWidth(); }
    void SetCustomBarHeight(int Value) { SetCustomBarWidth(Value); }

    void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
    void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
    void CalcSelectionPos(int ValueIndex, int& X, int& Y) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    double MaxXValue() const override;
    double MinXValue() const override;
    double MaxYValue() const override;
    double MinYValue() const override;
    int CalcXPos(int ValueIndex) const override;
    int CalcYPos(int ValueIndex) const override;
    bool DrawSeriesForward(int ValueIndex) const override;
    int GetOriginPos(int ValueIndex) const override;
    void CalcBarBounds(int ValueIndex, TRect& R) const override;
    void DrawBar(int ValueIndex, int StartPos, int EndPos) override;

protected:
    int InternalCalcMarkLength(int ValueIndex) override;
    bool InternalClicked(int ValueIndex, TPoint P) override;
    void DrawTickLine(int Pos, TBarStyle Style) override;
};
