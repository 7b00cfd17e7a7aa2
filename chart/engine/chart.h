#pragma once
// The chart control: the axis panel completed with the saved scales that undo
// a zoom, click events, the hit test and the mouse (zoom rectangle, panning,
// wheel), the titles, the legend and the walls. TChart publishes it for forms
// and streams.

#include "chart/engine/axispanel.h"

#include <functional>
#include <vector>

class TChartSeries;
class TChartValueList;
class TChartLegend;
class TCustomChartLegend;
class TChartTitle;
class TChartFootTitle;
class TChartWalls;
class TChartBackWall;
class TChartLeftWall;
class TChartBottomWall;
class TChartRightWall;
enum TLegendStyle : std::uint8_t;
enum TChartMouseEvent : std::uint8_t;
enum TWheelMouseEvent : std::uint8_t;

enum TChartClickedPartStyle : std::uint8_t {
    cpNone,
    cpLegend,
    cpAxis,
    cpSeries,
    cpTitle,
    cpFoot,
    cpChartRect,
    cpSeriesMarks,
    cpSubTitle,
    cpSubFoot,
    cpAxisTitle
};

struct TChartClickedPart {
    TChartClickedPartStyle Style = cpNone;
    int ValueIndex = -1;
    TChartSeries* ASeries = nullptr;
    TChartAxis* AAxis = nullptr;
};

// A drag that carries the part of the chart it started on; over an accepting target it
// shows the library's hand.
class TZuzDragObject : public TDragObject {
public:
    explicit TZuzDragObject(const TChartClickedPart& APart) : Part(APart) {}
    TCursor GetDragCursor(bool Accepted, int X, int Y) override;
    void Finished(TObject*, int, int, bool) override {}
    TChartClickedPart Part;
};

// One axis's scale as it was before the first zoom or pan.
struct TAxisSavedScales {
    bool Automatic = true;
    bool AutomaticMinimum = true;
    bool AutomaticMaximum = true;
    double Minimum = 0;
    double Maximum = 0;
};

class TCustomChart;

using TChartAllowScrollEvent =
    Event<void(TObject* Sender, TChartAxis* Axis, double& AMin, double& AMax, bool& AllowScroll)>;
using TChartClickAxis =
    Event<void(TCustomChart* Sender, TChartAxis* Axis, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClick = Event<void(TCustomChart* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickSeries = Event<void(TCustomChart* Sender, TChartSeries* Series, int ValueIndex,
                                     TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TOnGetLegendPos = Event<void(TCustomChart* Sender, int Index, int& X, int& Y, int& XColor)>;
using TOnGetLegendRect = Event<void(TCustomChart* Sender, TRect& Rect)>;
using TOnGetLegendText =
    Event<void(TCustomAxisPanel* Sender, TLegendStyle LegendStyle, int Index, String& LegendText)>;
using TChartClickTitle = Event<void(TCustomChart* Sender, TChartTitle* Title, TMouseButton Button,
                                    TShiftState Shift, int X, int Y)>;

// Wheel scrolling is possible at all; keys that must be held to start panning;
// the divisor of each animated zoom step.
extern bool ZuzUseMouseWheel;
extern TShiftState ZuzScrollKeyShift;
extern double AnimatedZoomFactor;

// Called with every chart a designer places on a form (the design tools set it).
using TZuzNewChartHook = void (*)(TCustomChart* Chart);
extern TZuzNewChartHook ZuzNewChartHook;

using TGetStrProc = std::function<void(const String& S)>;

class TCustomChart : public TCustomAxisPanel {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomChart(TComponent* AOwner);
    ~TCustomChart() override;
    void AfterConstruction() override;
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

    int GetColorPaletteIndex() const { return FColorPaletteIndex; }
    void SetColorPaletteIndex(int Index);
    void StoreColorPaletteIndex(int Index) override { FColorPaletteIndex = Index; }
    TMouseButton GetScrollMouseButton() const { return FScrollMouseButton; }
    void SetScrollMouseButton(TMouseButton Value) { FScrollMouseButton = Value; }

    TChartAllowScrollEvent OnAllowScroll;
    TChartClickAxis OnClickAxis;
    TChartClick OnClickBackground, OnClickLegend;
    TChartClickSeries OnClickSeries;
    TChartClickTitle OnClickTitle;
    TOnGetLegendPos OnGetLegendPos;
    TOnGetLegendRect OnGetLegendRect;
    TOnGetLegendText OnGetLegendText;

    // ---- titles, legend and walls (owned; written by Assign into them)
    TChartLegend* GetLegend() const { return FLegend.get(); }
    void SetLegend(TChartLegend* Value);
    TChartTitle* GetTitle() const { return FTitle.get(); }
    void SetTitle(TChartTitle* Value);
    TChartTitle* GetSubTitle() const { return FSubTitle.get(); }
    void SetSubTitle(TChartTitle* Value);
    TChartFootTitle* GetFoot() const { return FFoot.get(); }
    void SetFoot(TChartFootTitle* Value);
    TChartFootTitle* GetSubFoot() const { return FSubFoot.get(); }
    void SetSubFoot(TChartFootTitle* Value);
    TChartWalls* GetWalls() const { return FWalls.get(); }
    void SetWalls(TChartWalls* Value);
    TChartBackWall* GetBackWall() const;
    void SetBackWall(TChartBackWall* Value);
    TChartLeftWall* GetLeftWall() const;
    void SetLeftWall(TChartLeftWall* Value);
    TChartBottomWall* GetBottomWall() const;
    void SetBottomWall(TChartBottomWall* Value);
    TChartRightWall* GetRightWall() const;
    void SetRightWall(TChartRightWall* Value);
    // The back wall's pen.
    TChartPen* GetFrame() const;
    void SetFrame(TChartPen* Value);
    void SetBackColor(TColor Color);
    // The legend's text of an item, through OnGetLegendText.
    String FormattedLegend(int Index);
    String InternalFormattedLegend(TCustomChartLegend* ALegend, int Index);
    String FormattedValueLegend(TChartSeries* ASeries, int ValueIndex) override;
    void DrawLegendShape(const TRect& Rect) override;

    // Takes every series out of the chart without freeing it.
    void RemoveAllSeries();
    // Back to a new chart's state: no series, no tools, every setting at its default.
    void ClearChart();
    void SeriesUp(TChartSeries* ASeries);
    void SeriesDown(TChartSeries* ASeries);
    TChartSeries* GetASeries() const;
    // True unless there are active series and none of them uses axes.
    bool ActiveSeriesUseAxis() const;
    String AxisTitleOrName(TChartAxis* Axis) const;
    void CalcClickedPart(TPoint Pos, TChartClickedPart& Part);
    TColor GetBackColor() override;
    // The names a series' data can come from, for the editors: nothing from other series here,
    // and the value lists of the series a value list's series takes its data from.
    virtual void FillSeriesSourceItems(TChartSeries* ASeries, const TGetStrProc& Proc);
    virtual void FillValueSourceItems(TChartValueList* ValueList, const TGetStrProc& Proc);

    // ---- what the road asks of the control (titles, legend and walls hook in here)
    void CalcWallsRect() override;
    int CalcWallSize(TChartAxis* Axis) override;
    void DrawTitlesAndLegend(bool BeforeSeries) override;
    void DrawWalls() override;
    bool HorizAxesDrawnWithWalls() override;
    TRect MarksArea() override;
    TRect LegendArea() override;
    bool IsFreeSeriesColor(TColor Color, bool CheckBackground, TChartSeries* ASeries) override;

    // ---- zoom and scroll
    void ZoomRect(const TRect& Rect);
    void ZoomPercent(double PercentZoom);
    void DoZoom(double TopStart, double TopEnd, double BottomStart, double BottomEnd, double LeftStart,
                double LeftEnd, double RightStart, double RightEnd);
    void UndoZoom() override;
    virtual void CalcZoomPoints();
    std::vector<TAxisSavedScales> SaveScales() const;
    void RestoreScales(std::vector<TAxisSavedScales>& Saved);
    bool SavedScalesPending() const { return FSavePending; }
    void ScrollVerticalAxes(bool Forward);
    bool CanWheelScroll() const;
    using TCustomZuzPanel::BroadcastMouseEvent;
    void BroadcastMouseEvent(TChartMouseEvent Kind, TMouseButton Button, TShiftState Shift, int X, int Y);
    void BroadcastWheelEvent(TWheelMouseEvent Kind, int Delta, int X, int Y);
    // The wheel, with the mouse at MousePos in screen coordinates; tools hear it in client ones.
    bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
    bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos) override;
    bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos) override;

protected:
    void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
    void MouseMove(TShiftState Shift, int X, int Y) override;
    void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

private:
    void CalcNeedClickedPart(TPoint Pos, bool OnlyClickable, TChartClickedPart& Part);
    // The title a part of that style stands for; nullptr for any other part.
    TChartTitle* ClickedTitle(TChartClickedPartStyle Style) const;
    bool ClickBackground(TMouseButton Button, TShiftState Shift, int X, int Y);
    void StartZoomOrPanning(TMouseButton Button, TShiftState Shift, int X, int Y);
    // Moves the axes of one direction from Old to New pixels; true when any was considered.
    bool PanAxes(bool Horizontal, int New, int Old);
    void SaveScalesOnce();
    void DrawTitles(bool CustomOnes);
    void DrawWallsAfterSeries();

    // Declared so that they are freed sub-title first and legend last.
    Owned<TChartLegend> FLegend;
    Owned<TChartWalls> FWalls;
    Owned<TChartFootTitle> FFoot;
    Owned<TChartFootTitle> FSubFoot;
    Owned<TChartTitle> FTitle;
    Owned<TChartTitle> FSubTitle;
    int FColorPaletteIndex = 0;
    std::vector<TAxisSavedScales> FSavedScales;
    TMouseButton FScrollMouseButton = mbRight;
    bool FSavePending = true;
};

class TChart : public TCustomChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomChart::TCustomChart;

    // Read-only views of the owned parts for the published table.
    TChartAxis* BottomAxisProp() const { return Axis(0); }
    TChartAxis* TopAxisProp() const { return Axis(1); }
    TChartAxis* LeftAxisProp() const { return Axis(2); }
    TChartAxis* RightAxisProp() const { return Axis(3); }
    TChartAxis* DepthAxisProp() const { return Axis(4); }
    TChartAxis* DepthTopAxisProp() const { return Axis(5); }
    TChartCustomAxes* CustomAxesProp() const { return const_cast<TChart*>(this)->GetCustomAxes(); }
    TView3DOptions* View3DOptionsProp() const { return TCustomZuzPanel::GetView3DOptions(); }
    void SetView3DProp(bool Value) { SetView3D(Value); }
    bool View3DProp() const { return GetView3D(); }

private:
    TChartAxis* Axis(int Index) const;
};
