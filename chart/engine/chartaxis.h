#pragma once
// The axes of a chart: one axis's settings and run-time scale (range, label
// step, value/pixel mapping), its labels and drawing; the chart's list of
// axes, the streamed custom axes, the grid pen and the axis items (custom
// labels, or the record of the labels drawn last).

#include "chart/canvas/panellayout.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzshape.h"
#include "chart/engine/axischart.h"
#include "platform/core/collections.h"

#include <vector>

enum TDateTimeStep : std::uint8_t; // the calendar steps of the panel unit
class TCustomSeriesList;
class TChartAxis;
class TZuzFont;

// Raised by the axis setters with a message-table text.
class AxisException : public Exception {
public:
    using Exception::Exception;
};

enum TAxisLabelStyle : std::uint8_t { talAuto, talNone, talValue, talMark, talText };
template <>
const EnumInfo& EnumInfoOf<TAxisLabelStyle>();
enum TAxisLabelAlign : std::uint8_t { alDefault, alOpposite };
template <>
const EnumInfo& EnumInfoOf<TAxisLabelAlign>();
enum TPenLineMode : std::uint8_t { lmLine, lmCylinder, lmRectangle };
template <>
const EnumInfo& EnumInfoOf<TPenLineMode>();

using TAxisDrawLabelEvent =
    Event<void(TChartAxis* Sender, int& X, int& Y, int& Z, String& Text, bool& DrawLabel)>;
using TAxisTicks = std::vector<int>;
using TAxisCalcPosLabels = Event<int(TChartAxis* Axis, int Value)>;

// The smallest label step, the smallest fixed range, the pixels around an axis
// that still hit it (the clamp of the clamped mappings, MaxPixelPos, is set at
// the engine's start-up).
inline constexpr double MinAxisIncrement = 1e-12;
inline constexpr double MinAxisRange = 1e-10;
inline constexpr int ZuzAxisClickGap = 3;
extern int MaxPixelPos;
// No label loop draws more labels than this.
inline constexpr int MaxAxisLabelSteps = 10000;
// Separates the lines of multi-line labels and marks (the series unit's global).
extern Char ZuzLineSeparator;

// The next step of the 1-2-5 progression, always strictly larger than a
// finite positive Value; 1 for infinity, MinAxisIncrement for zero, a
// negative value or NaN.
double NextNiceStep(double Value);

// ---------------------------------------------------------------------------
// Pens and shapes of an axis

class TChartAxisPen : public TChartPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartAxisPen(TNotifyEvent OnChangeEvent = {});
    void Assign(TPersistent* Source) override;
    TPenLineMode GetLineMode() const { return FLineMode; }
    void SetLineMode(TPenLineMode Value);

private:
    TPenLineMode FLineMode = lmLine;
};

class TAxisGridPen : public TDottedGrayPen {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAxisGridPen(TNotifyEvent OnChangeEvent = {});
    void Assign(TPersistent* Source) override;

    bool GetCentered() const { return FCentered; }
    void SetCentered(bool Value);
    int GetDrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int Value);
    double GetZPosition() const { return FZPosition; }
    void SetZ(double Value);
    bool IsZStored() const { return FZPosition != DefaultZ; }
    double DefaultZ = 0;

private:
    void NotifyChange();
    bool FCentered = false;
    int FDrawEvery = 1;
    double FZPosition = 0;
};

// The framed text box of an axis title or label, and the bounds it was last
// drawn in (for hit tests). It repaints through the axis's chart, which need not
// be a panel.
class TAxisShape : public TZuzCustomShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TAxisShape(IAxisChart* Chart);
    ~TAxisShape() override;

    void SetVisible(bool Value) override;
    void SetTransparent(bool Value);
    void Repaint() override;
    TChartPen* GetFrame() const { return GetPen(); }
    void SetFrame(TChartPen* Value) { SetPen(Value); }

    IAxisChart* ParentChart;
};

class TChartAxisTitle : public TAxisShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartAxisTitle(IAxisChart* Chart);
    void Assign(TPersistent* Source) override;

    int GetAngle() const { return FAngle; }
    void SetAngle(int Value);
    bool IsAngleStored() const { return FAngle != DefaultAngle; }
    const String& GetCaption() const { return FCaption; }
    void SetCaption(const String& Value);
    // In the last drawn bounds, turned by Angle.
    bool Clicked(int X, int Y) const;
    int DefaultAngle = 0;

private:
    int FAngle = 0;
    String FCaption;
};

class TAxisItems;

class TAxisItem : public TAxisShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TAxisItem(TAxisItems* Owner, double Value, const String& Text);

    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    double GetValue() const { return FValue; }
    void SetValue(double Value);
    TAxisItems* GetItems() const { return FItems; }
    void SetTextQuiet(const String& Value) { FText = Value; } // the record of a drawn label

private:
    TAxisItems* FItems;
    double FValue;
    String FText;
};

// The custom labels of an axis (Automatic false), or the labels its last
// drawing made (Automatic true), with the shape that carries the label font.
class TAxisItems {
public:
    explicit TAxisItems(TChartAxis* Axis);
    ~TAxisItems();

    TAxisItem* Add(double Value);
    TAxisItem* Add(double Value, const String& Text);
    void Clear();
    void CopyFrom(const TAxisItems& Source);
    int Count() const { return static_cast<int>(FItems.size()); }
    TAxisItem* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)).get(); }
    TAxisItem* operator[](int Index) const { return Get(Index); }
    bool Automatic = true;
    TAxisShape* GetFormat() const { return FFormat.get(); }
    TChartAxis* GetAxis() const { return FAxis; }
    // A drawn label, recorded without turning the list custom.
    TAxisItem* Record(double Value, const String& Text);

private:
    TChartAxis* FAxis;
    Owned<TAxisShape> FFormat;
    std::vector<Owned<TAxisItem>> FItems;
};

// ---------------------------------------------------------------------------
// The axis

class TChartAxis : public TCollectionItem {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // The virtual constructor: Collection is the chart's custom axes; the
    // first six axes of a chart stay outside it.
    explicit TChartAxis(TCollection* Collection);
    explicit TChartAxis(IAxisChart* Chart);
    ~TChartAxis() override;
    void BeforeDestruction() override;
    void Assign(TPersistent* Source) override;

    IAxisChart* ParentChart = nullptr;

    // ---- settings
    bool GetAutomatic() const { return FAutomatic; }
    void SetAutomatic(bool Value);
    bool GetAutomaticMaximum() const { return FAutomaticMaximum; }
    void SetAutomaticMaximum(bool Value);
    bool GetAutomaticMinimum() const { return FAutomaticMinimum; }
    void SetAutomaticMinimum(bool Value);
    double GetIncrement() const { return FIncrement; }
    void SetDesiredIncrement(double Value);
    // The graph windows' name of the same setting.
    double GetDesiredIncrement() const { return FIncrement; }
    double GetMaximum() const { return FMaximum; }
    void SetMaximum(double Value);
    double GetMinimum() const { return FMinimum; }
    void SetMinimum(double Value);
    bool IsMaxStored() const { return !FAutomatic && !FAutomaticMaximum; }
    bool IsMinStored() const { return !FAutomatic && !FAutomaticMinimum; }
    void SetMinMax(double AMin, double AMax);
    bool GetLogarithmic() const { return FLogarithmic; }
    void SetLogarithmic(bool Value);
    double GetLogarithmicBase() const { return FLogarithmicBase; }
    void SetLogarithmicBase(double Value);
    bool IsLogBaseStored() const { return FLogarithmicBase != 10; }
    int GetMaximumOffset() const { return FMaximumOffset; }
    void SetMaximumOffset(int Value) { SetPixelsProperty(FMaximumOffset, Value); }
    int GetMinimumOffset() const { return FMinimumOffset; }
    void SetMinimumOffset(int Value) { SetPixelsProperty(FMinimumOffset, Value); }
    bool GetMaximumRound() const { return FMaximumRound; }
    void SetMaximumRound(bool Value) { SetBooleanProperty(FMaximumRound, Value); }
    bool GetMinimumRound() const { return FMinimumRound; }
    void SetMinimumRound(bool Value) { SetBooleanProperty(FMinimumRound, Value); }
    TChartAxisPen* GetAxisPen() const { return FAxisPen.get(); }
    void SetAxis(TChartAxisPen* Value) { FAxisPen->Assign(Value); }
    double GetZPosition() const { return FZPosition; }
    void SetZPosition(double Value);
    bool IsZPosStored() const;
    TChartAxisTitle* GetTitle() const { return FTitle.get(); }
    void SetAxisTitle(TChartAxisTitle* Value) { FTitle->Assign(Value); }
    int GetTitleSize() const { return FTitleSize; }
    void SetTitleSize(int Value) { SetPixelsProperty(FTitleSize, Value); }
    TAxisGridPen* GetGrid() const { return FGrid.get(); }
    void SetGrid(TAxisGridPen* Value) { FGrid->Assign(Value); }
    bool GetGridCentered() const { return FGrid->GetCentered(); }
    void SetGridCentered(bool Value) { FGrid->SetCentered(Value); }
    TAxisLabelAlign GetLabelsAlign() const { return FLabelsAlign; }
    void SetLabelsAlign(TAxisLabelAlign Value);
    bool GetLabelsAlternate() const { return FLabelsAlternate; }
    void SetLabelsAlternate(bool Value) { SetBooleanProperty(FLabelsAlternate, Value); }
    int GetLabelsAngle() const { return FLabelsAngle; }
    void SetLabelsAngle(int Value);
    TAxisItems* GetItems() const { return FItems.get(); }
    bool GetLabels() const;
    void SetLabels(bool Value);
    TZuzFont* GetLabelsFont() const;
    void SetLabelsFont(TZuzFont* Value);
    bool GetLabelsOnAxis() const { return FLabelsOnAxis; }
    void SetLabelsOnAxis(bool Value) { SetBooleanProperty(FLabelsOnAxis, Value); }
    int GetLabelsSeparation() const { return FLabelsSeparation; }
    void SetLabelsSeparation(int Value);
    int GetLabelsSize() const { return FLabelsSize; }
    void SetLabelsSize(int Value) { SetPixelsProperty(FLabelsSize, Value); }
    TAxisLabelStyle GetLabelStyle() const { return FLabelStyle; }
    void SetLabelStyle(TAxisLabelStyle Value);
    bool GetLabelsExponent() const { return FLabelsExponent; }
    void SetLabelsExponent(bool Value) { SetBooleanProperty(FLabelsExponent, Value); }
    bool GetLabelsMultiLine() const { return FLabelsMultiLine; }
    void SetLabelsMultiLine(bool Value) { SetBooleanProperty(FLabelsMultiLine, Value); }
    bool GetRoundFirstLabel() const { return FRoundFirstLabel; }
    void SetRoundFirstLabel(bool Value) { SetBooleanProperty(FRoundFirstLabel, Value); }
    const String& GetAxisValuesFormat() const { return FAxisValuesFormat; }
    void SetValuesFormat(const String& Value) { SetStringProperty(FAxisValuesFormat, Value); }
    bool IsAxisValuesFormatStored() const;
    const String& GetDateTimeFormat() const { return FDateTimeFormat; }
    void SetDateTimeFormat(const String& Value) { SetStringProperty(FDateTimeFormat, Value); }
    bool GetExactDateTime() const { return FExactDateTime; }
    void SetExactDateTime(bool Value) { SetBooleanProperty(FExactDateTime, Value); }
    TChartHiddenPen* GetMinorGrid() const { return FMinorGrid.get(); }
    void SetMinorGrid(TChartHiddenPen* Value) { FMinorGrid->Assign(Value); }
    int GetMinorTickCount() const { return FMinorTickCount; }
    void SetMinorTickCount(int Value) { SetIntegerProperty(FMinorTickCount, Value); }
    int GetMinorTickLength() const { return FMinorTickLength; }
    void SetMinorTickLength(int Value) { SetPixelsProperty(FMinorTickLength, Value); }
    TDarkGrayPen* GetMinorTicks() const { return FMinorTicks.get(); }
    void SetMinorTicks(TDarkGrayPen* Value) { FMinorTicks->Assign(Value); }
    TDarkGrayPen* GetTicks() const { return FTicks.get(); }
    void SetTicks(TDarkGrayPen* Value) { FTicks->Assign(Value); }
    TDarkGrayPen* GetTicksInner() const { return FTicksInner.get(); }
    void SetTicksInner(TDarkGrayPen* Value) { FTicksInner->Assign(Value); }
    int GetTickInnerLength() const { return FTickInnerLength; }
    void SetTickInnerLength(int Value) { SetPixelsProperty(FTickInnerLength, Value); }
    int GetTickLength() const { return FTickLength; }
    void SetTickLength(int Value) { SetPixelsProperty(FTickLength, Value); }
    bool GetTickOnLabelsOnly() const { return FTickOnLabelsOnly; }
    void SetTickOnLabelsOnly(bool Value) { SetBooleanProperty(FTickOnLabelsOnly, Value); }
    bool GetInverted() const { return FInverted; }
    virtual void SetInverted(bool Value);
    void SetInvertedField(bool Value) { FInverted = Value; } // a plain store
    bool GetHorizontal() const { return FHorizontal; }
    void SetHorizontal(bool Value);
    bool GetOtherSide() const { return FOtherSide; }
    void SetOtherSide(bool Value) { SetBooleanProperty(FOtherSide, Value); }
    bool IsCustomStored() const { return IsCustom(); }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { SetBooleanProperty(FVisible, Value); }
    double GetStartPosition() const { return FStartPosition; }
    void SetStartPosition(double Value) { SetHeldProperty(FStartPosition, Value, 0, 100); }
    bool IsStartStored() const { return FStartPosition != 0; }
    double GetEndPosition() const { return FEndPosition; }
    void SetEndPosition(double Value) { SetHeldProperty(FEndPosition, Value, 0, 100); }
    bool IsEndStored() const { return FEndPosition != 100; }
    double GetPositionPercent() const { return FPositionPercent; }
    void SetPositionPercent(double Value) { SetHeldProperty(FPositionPercent, Value, -1000, 1000); }
    bool IsPosStored() const { return FPositionPercent != 0; }
    TZuzUnits GetPositionUnits() const { return FPositionUnits; }
    void SetPosUnits(TZuzUnits Value);
    TChartAxis* MasterAxis = nullptr;
    bool IsDepthAxis = false;

    TAxisDrawLabelEvent OnDrawLabel;
    TNotifyEvent OnCustomDrawLine;
    TNotifyEvent OnDrawGrids;

    // ---- run-time scale
    int PosAxis = 0, PosTitle = 0, PosLabels = 0;
    // Depth of the label band the last layout gave the axis: the labels lie from PosLabels
    // this far outward, and a click on them is a click on the axis.
    int LabelsBand = 0;
    bool IAxisDateTime = false;
    double ILogSizeRange = 0, IAxisSizeRange = 0;
    int ICenterPos = 0;
    double ILogMax = 0, ILogMin = 0, IMaximum = 0, IMinimum = 0, IRange = 0, ILogRange = 0;
    bool IRangeZero = true;
    int IWallSize = 0, IZPos = 0;
    bool IHideBackGrid = false, IHideSideGrid = false;
    int IStartPos = 0, IEndPos = 0, IAxisSize = 0;
    TAxisTicks Tick;
    TCustomSeriesList* SubSeries() const { return FSubSeries.get(); }

    // ---- range
    void AdjustMaxMin();
    void CalcMinMax(double& AMin, double& AMax);
    void InternalCalcRange();
    void CalcRoundScales();
    void AdjustMaxMinRect(const TRect& Rect);
    void Scroll(double Offset, bool CheckLimits);
    bool IsDateTime();
    bool IsCustom() const;
    int CalcZPos() const;
    void IncDecDateTime(bool Increment, double& Value, double AnIncrement, TDateTimeStep WhichDateTime) const;

    // ---- increments
    double CalcIncrement();
    double CalcXYIncrement(int MaxLabelSize);
    double CalcLabelsIncrement(int MaxNumLabels);
    double CalcDateTimeIncrement(int MaxNumLabels);
    double RoundLogPower(double Value) const;
    int InternalLabelSize(double Value, bool IsWidth);
    // Whether no two of these labels come nearer each other than their sizes and the separation
    // allow, each measured with the text it shows and placed on its pixel.
    bool LabelsClear(const std::vector<double>& Values);
    // Whether a label of this text at pixel P keeps clear of every label drawn before it (it is
    // then noted as drawn); always so without a separation.
    bool ClearOfDrawn(int P, const String& Text);
    // The next step of the search: calendar steps on a date-time axis, powers of the base on a
    // logarithmic one, else 1, 2, 5 times a power of ten.
    double GrownStep(double Step) const;
    int LabelWidth(double Value) { return InternalLabelSize(Value, true); }
    int LabelHeight(double Value) { return InternalLabelSize(Value, false); }
    bool AnySeriesWithFewPoints(int MaxNumLabels) const;

    // ---- mapping and placement
    int CalcXPosValue(double Value) const { return (this->*FCalcXPos)(Value); }
    int CalcYPosValue(double Value) const { return (this->*FCalcYPos)(Value); }
    int CalcPosValue(double Value) const { return (this->*FCalcPos)(Value); }
    int CalcSizeValue(double Value) const;
    double CalcPosPoint(int Value) const;
    void SetCalcPosValue();
    void InternalCalcPositions();
    void RecalcSizeCenter();
    void CalcRect(TRect& R, bool InflateChartRectangle);
    int ApplyPosition(int APos, const TRect& R) const;
    int GetRectangleEdge(const TRect& R) const;
    int InflateAxisPos(int Value, int Amount) const;
    void InflateAxisRect(TRect& R, int Value) const;
    int SizeTickAxis() const;
    int SizeLabels();
    int InternalCalcSize(TZuzFont* Font, int Angle, const String& Text, int Size);
    TRect AxisRect() const;
    // In a view turned in perspective: moves the title outward until it clears the labels as
    // they are drawn, and returns the screen box of both.
    TRect TurnedLabelsAndTitle();
    bool Clicked(int X, int Y);
    int DepthAxisAlign() const;
    int DepthAxisPos() const;

    // ---- labels
    virtual String LabelValue(double Value);
    TAxisLabelStyle CalcLabelStyle();
    virtual TAxisLabelStyle InternalCalcLabelStyle();
    int MaxLabelsWidth();
    // The most lines any label has (1 at least).
    int MaxLabelsLines();
    // The values the value loop labels, first to last, for an increment and a
    // step kind (what Draw would place, without drawing).
    std::vector<double> ValueLabels(double Inc, TDateTimeStep Step);
    std::vector<double> LogLabels();
    // The step kind of a date-time axis with an exact increment.
    TDateTimeStep LabelStepKind(double Inc) const;

    // ---- drawing
    void Draw(bool CalcPosAxis);
    void DrawTitle(int X, int Y);
    void DrawAxisLabel(int X, int Y, int Angle, const String& Text, TAxisShape* Format = nullptr, int Z = 0);
    void DrawGrids(int NumTicks);
    // The line, ticks and grids at the last Draw's ticks, without its labels and title.
    void DrawLineTicksGrids();
    void DrawGridLine(int Pos);
    void DrawLineSegment(int Start, int End);
    void CustomDraw(int APosLabels, int APosTitle, int APosAxis, bool GridVisible);
    void CustomDrawStartEnd(int APosLabels, int APosTitle, int APosAxis, bool GridVisible, int AStartPos,
                            int AEndPos);
    void CustomDrawMinMax(int APosLabels, int APosTitle, int APosAxis, bool GridVisible, double AMinimum,
                          double AMaximum, double AIncrement);
    void CustomDrawMinMaxStartEnd(int APosLabels, int APosTitle, int APosAxis, bool GridVisible,
                                  double AMinimum, double AMaximum, double AIncrement, int AStartPos,
                                  int AEndPos);

    // Store a changed value and repaint the chart.
    void SetBooleanProperty(bool& Field, bool Value);
    void SetIntegerProperty(int& Field, int Value);
    // A length or offset in pixels, held to the side of the largest picture: a file's number
    // is summed with the chart's coordinates.
    void SetPixelsProperty(int& Field, int Value);
    void SetDoubleProperty(double& Field, double Value);
    // A place on the chart, held to the range the editor offers (a file's number is multiplied with
    // the chart's sizes); not a number keeps the old one.
    void SetHeldProperty(double& Field, double Value, double Low, double High);
    void SetStringProperty(String& Field, const String& Value);
    void Repaint();
    void CanvasChanged(TObject* Sender) { Repaint(); }

private:
    using MapFn = int (TChartAxis::*)(double) const;
    // The widest label, and in MostLines the most lines of any.
    int MeasureLabels(int& MostLines);
    void Init(IAxisChart* Chart);
    TNotifyEvent ChangeEvent();
    int FastX(double Value) const;
    int FastY(double Value) const;
    int ClampedX(double Value) const;
    int ClampedY(double Value) const;
    int LogX(double Value) const;
    int LogY(double Value) const;
    int DepthPos(double Value) const;
    double SafeIncrement();
    // Label drawing.
    void DrawLabels();
    bool DrawEventLabels(); // false: the event left the labels to the value loop
    void DrawValueLabel(double Value);
    void DrawLabelAt(int P, const String& Text, TAxisShape* Format);
    void DrawExponentLine(int X, int Y, int Z, const String& Line);
    void DrawTextLabels(TAxisLabelStyle Style);
    void DrawDepthTitles();
    void DrawTicks(int Length, bool Outward, TChartPen* Pen, const std::vector<int>& Positions);
    std::vector<int> MinorTickPositions() const;
    double LogBaseForLoops() const;
    std::vector<double> FLogLabelValues; // values the logarithmic loop drew

    MapFn FCalcXPos = nullptr, FCalcYPos = nullptr, FCalcPos = nullptr;
    bool FAutomatic = true, FAutomaticMaximum = true, FAutomaticMinimum = true;
    double FIncrement = 0, FMaximum = 0, FMinimum = 0;
    bool FLogarithmic = false;
    double FLogarithmicBase = 10;
    int FMaximumOffset = 0, FMinimumOffset = 0;
    bool FMaximumRound = false, FMinimumRound = false;
    Owned<TChartAxisPen> FAxisPen;
    double FZPosition = 0;
    Owned<TChartAxisTitle> FTitle;
    int FTitleSize = 0;
    Owned<TAxisGridPen> FGrid;
    TAxisLabelAlign FLabelsAlign = alDefault;
    bool FLabelsAlternate = false;
    int FLabelsAngle = 0;
    std::unique_ptr<TAxisItems> FItems;
    bool FLabelsOnAxis = true;
    int FLabelsSeparation = 10;
    int FLabelsSize = 0;
    TAxisLabelStyle FLabelStyle = talAuto;
    bool FLabelsExponent = false, FLabelsMultiLine = false, FRoundFirstLabel = true;
    String FAxisValuesFormat;
    String FDateTimeFormat;
    bool FExactDateTime = true;
    Owned<TChartHiddenPen> FMinorGrid;
    int FMinorTickCount = 3, FMinorTickLength = 2;
    Owned<TDarkGrayPen> FMinorTicks, FTicks, FTicksInner;
    int FTickInnerLength = 0, FTickLength = 4;
    bool FTickOnLabelsOnly = true;
    bool FInverted = false, FHorizontal = false, FOtherSide = false, FVisible = true;
    double FStartPosition = 0, FEndPosition = 100, FPositionPercent = 0;
    TZuzUnits FPositionUnits = muPercent;
    Owned<TCustomSeriesList> FSubSeries;
    // Text-label overlap bookkeeping of the drawing under way: the centre and half size along
    // the axis of each label drawn.
    std::vector<std::pair<int, int>> FDrawnLabelSpans;
    int FDrawnLabels = -1;   // labels the last drawing drew; -1 before the first
    int FAlternateBand = -1; // the outer row's offset of alternating labels, once per drawing
    // How far out from PosLabels the labels the last drawing drew reach; -1: the whole band.
    int FLabelsReach = -1;
};

class TChartDepthAxis : public TChartAxis {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartDepthAxis(TCollection* Collection);
    explicit TChartDepthAxis(IAxisChart* Chart);
    TAxisLabelStyle InternalCalcLabelStyle() override;
    void SetInverted(bool Value) override;
};

// ---------------------------------------------------------------------------
// The chart's axes

// Every axis of a chart in drawing order (the six standard ones first); holds
// no axis: each adds itself when made and leaves when freed.
class TChartAxes {
public:
    explicit TChartAxes(IAxisChart* Chart) : FChart(Chart) {}
    ~TChartAxes() { Clear(); }

    int Count() const { return static_cast<int>(FItems.size()); }
    TChartAxis* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    TChartAxis* operator[](int Index) const { return Get(Index); }
    int IndexOf(const TChartAxis* Axis) const;
    void Add(TChartAxis* Axis) { FItems.push_back(Axis); }
    void Remove(TChartAxis* Axis);
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

    TChartAxis* LeftAxis() const { return Pick(2); }
    TChartAxis* TopAxis() const { return Pick(1); }
    TChartAxis* RightAxis() const { return Pick(3); }
    TChartAxis* BottomAxis() const { return Pick(0); }
    TChartAxis* DepthAxis() const { return Pick(4); }
    TChartAxis* DepthTopAxis() const { return Pick(5); }
    bool GetBehind() const { return FChart->GetAxisBehind(); }
    void SetBehind(bool Value) { FChart->SetAxisBehind(Value); }
    bool GetVisible() const { return FChart->GetAxisVisible(); }
    void SetVisible(bool Value) { FChart->SetAxisVisible(Value); }
    bool GetFastCalc() const { return FFastCalc; }
    void SetFastCalc(bool Value);
    void Reset();
    void Hide() { SetVisible(false); }
    // Frees every axis.
    void Clear();
    IAxisChart* GetChart() const { return FChart; }
    TAxisCalcPosLabels OnCalcPosLabels;

private:
    TChartAxis* Pick(int Index) const { return Index < Count() ? Get(Index) : nullptr; }
    IAxisChart* FChart;
    bool FFastCalc = false;
    std::vector<TChartAxis*> FItems;
};

class TChartCustomAxes : public TOwnedCollection {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    TChartCustomAxes(TPersistent* Owner, IAxisChart* Chart);

    TChartAxis* Get(int Index) const { return static_cast<TChartAxis*>(GetItem(Index)); }
    void Put(int Index, TChartAxis* Axis) { Get(Index)->Assign(Axis); }
    void ResetScales(TChartAxis* Axis);
    IAxisChart* GetChart() const { return FChart; }

private:
    IAxisChart* FChart;
    bool FResetting = false;
};
