#pragma once
// The chart panel that owns series, axes and tools and draws them in a fixed
// order: tool and user events, the depth of the series, the axis rectangles
// and scales, walls, axes, series, marks, titles and legend. Walls, titles
// and the legend are left to the chart control; the paging of points and the
// ranges the series give their axes live here too.

#include "chart/canvas/restoreonexit.h"
#include "chart/canvas/zuzpanelext.h"
#include "chart/engine/axischart.h"
#include "chart/engine/serieschart.h"

#include <memory>
#include <vector>

class TChartSeriesList;
class TSeriesGroups;
class TChartTools;
class TZuzCustomDesigner;
class TChartPen;
class TCustomAxisPanel;

// A series joined, left, changed its title, colour, place, activity or data.
class TZuzSeriesEvent : public TZuzEvent {
public:
    TChartSeriesEvent Event = seAdd;
    TCustomChartSeries* Series = nullptr;
};

// The page shown changed.
class TChartChangePage : public TZuzEvent {};

// A class of panel events that carry nothing beyond their kind (a page change, a change of
// the 3D view): it makes a new event of that class.
using TZuzEventClass = std::unique_ptr<TZuzEvent> (*)();
template <class E>
std::unique_ptr<TZuzEvent> ZuzEventClass() {
    return std::make_unique<E>();
}

using TSeriesNotifyEvent = Event<void(TCustomChartSeries* Sender)>;

// The points split into pages of a fixed number of points.
class TChartPage : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartPage(TCustomAxisPanel* Panel) : FPanel(Panel) {}
    void Assign(TPersistent* Source) override;

    bool GetAutoScale() const { return FAutoScale; }
    void SetAutoScale(bool Value);
    int GetCurrent() const { return FCurrent; }
    // Clamped to the pages there are; a change repaints and is announced.
    void SetCurrent(int Value);
    int GetMaxPointsPerPage() const { return FMaxPointsPerPage; }
    // Raises for a negative count.
    void SetMaxPointsPerPage(int Value);
    bool GetScaleLastPage() const { return FScaleLastPage; }
    void SetScaleLastPage(bool Value);

    int Count() const;
    int FirstValueIndex() const { return (FCurrent - 1) * FMaxPointsPerPage; }
    void NextPage();
    void PreviousPage();

private:
    int CountOver(TChartAxis* Axis) const;
    bool Loading() const;
    void Announce();
    TCustomAxisPanel* FPanel;
    bool FAutoScale = false;
    int FCurrent = 1;
    int FMaxPointsPerPage = 0;
    bool FScaleLastPage = true;
};

class TCustomAxisPanel : public TCustomZuzPanelExtended, public ISeriesChart, public IAxisChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomAxisPanel(TComponent* AOwner);
    ~TCustomAxisPanel() override;
    void BeforeDestruction() override;

    // ---- settings
    int GetChart3DPercent() const { return FChart3DPercent; }
    // 1 to 100; anything else raises and changes nothing.
    void Set3DPercent(int Value);
    bool GetAxisBehind() const override { return FAxisBehind; }
    void SetAxisBehind(bool Value) override { SetBooleanProperty(FAxisBehind, Value); }
    bool GetAxisVisible() const override { return FAxisVisible; }
    void SetAxisVisible(bool Value) override { SetBooleanProperty(FAxisVisible, Value); }
    bool GetClipPoints() const { return FClipPoints; }
    void SetClipPoints(bool Value) { SetBooleanProperty(FClipPoints, Value); }
    bool GetView3DWalls() const { return FView3DWalls; }
    void SetView3DWalls(bool Value) { SetBooleanProperty(FView3DWalls, Value); }
    bool IsCustomAxesStored() const;
    bool IsSeriesGroupsStored() const;

    TChartAxes* GetAxes() override { return FAxes.get(); }
    TChartCustomAxes* GetCustomAxes() override { return FCustomAxes.get(); }
    void SetCustomAxes(TChartCustomAxes* Value);
    TChartAxis* GetTopAxis() override { return FTopAxis; }
    TChartAxis* GetBottomAxis() override { return FBottomAxis; }
    TChartAxis* GetLeftAxis() override { return FLeftAxis; }
    TChartAxis* GetRightAxis() override { return FRightAxis; }
    TChartAxis* GetDepthAxis() override { return FDepthAxis; }
    TChartAxis* GetDepthTopAxis() override { return FDepthTopAxis; }
    void SetTopAxis(TChartAxis* Value);
    void SetBottomAxis(TChartAxis* Value);
    void SetLeftAxis(TChartAxis* Value);
    void SetRightAxis(TChartAxis* Value);
    void SetDepthAxis(TChartAxis* Value);
    void SetDepthTopAxis(TChartAxis* Value);
    TChartSeriesList* GetSeriesList() const { return FSeriesList.get(); }
    TSeriesGroups* GetSeriesGroups() const;
    void SetSeriesGroups(TSeriesGroups* Value);
    TChartPage* GetPages() const { return FPages.get(); }
    void SetPages(TChartPage* Value) { FPages->Assign(Value); }
    TChartTools* GetTools() override { return FTools.get(); }
    TChartTools* GetToolsList() const { return FTools.get(); }
    TZuzCustomDesigner* GetDesigner() const { return FDesigner.get(); }
    void SetDesigner(TZuzCustomDesigner* Value);
    std::vector<TColor> CustomPalette;

    // Shortcuts of the paging.
    int GetPage() const override;
    void SetPage(int Value);
    int GetMaxPointsPerPage() const override;
    void SetMaxPointsPerPage(int Value);
    bool GetScaleLastPage() const;
    void SetScaleLastPage(bool Value);
    int NumPages() const;
    void NextPage();
    void PreviousPage();
    // Pages FromPage to ToPage (0: first, last) as one printer job.
    void PrintPages(int FromPage = 0, int ToPage = 0);

    // ---- run-time state of a draw
    int MaxZOrder = 0;
    int SeriesWidth3D = 0, SeriesHeight3D = 0;
    bool FInvertedRotation = false;
    TColor LegendColor = clWhite;
    TChartPen* LegendPen = nullptr;

    TSeriesNotifyEvent OnAddSeries, OnRemoveSeries;
    TNotifyEvent OnBeforeDrawChart, OnBeforeDrawAxes, OnBeforeDrawSeries;
    TAxisOnGetLabel FOnGetAxisLabel;
    TAxisOnGetNextLabel FOnGetNextAxisLabel;
    TNotifyEvent OnPageChange;

    // ---- the series list
    int SeriesCount() const override;
    TChartSeries* GetSeries(int Index) const override;
    TChartSeries* Series(int Index) const { return GetSeries(Index); }
    int CountActiveSeries() const;
    int GetMaxValuesCount() const override;
    TChartSeries* AddSeries(TChartSeries* ASeries);
    TChartSeries* AddSeries(const ClassInfo& SeriesClass);
    void InternalAddSeries(TCustomChartSeries* ASeries) override;
    void RemoveSeries(TCustomChartSeries* ASeries) override;
    void RemoveSeries(int Index);
    int SeriesIndexOf(const TCustomChartSeries* ASeries) const override;
    // Every series of SeriesClass (nullptr: every series) leaves and is freed.
    void FreeAllSeries(const ClassInfo* SeriesClass = nullptr);
    void ExchangeSeries(int A, int B) override;
    void ExchangeSeries(TCustomChartSeries* A, TCustomChartSeries* B);
    TChartSeries* SeriesLegend(int Index, bool OnlyActive) const;
    TChartSeries* ActiveSeriesLegend(int Index) const { return SeriesLegend(Index, true); }
    String SeriesTitleLegend(int Index, bool OnlyActive) const;
    String SeriesTitleLegend(int Index) override { return SeriesTitleLegend(Index, true); }
    bool CheckMouseSeries(int X, int Y);
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;

    // ---- colours
    TColor GetDefaultColor(int Index) override;
    TColor GetFreeSeriesColor(bool CheckBackground, TChartSeries* ASeries) override;
    virtual bool IsFreeSeriesColor(TColor Color, bool CheckBackground, TChartSeries* ASeries) = 0;
    void SetColorPalette(std::span<const TColor> Colors) override;
    void ColorPaletteChanged() override;

    // ---- axes
    bool IsAxisVisible(TChartAxis* Axis) override;
    bool CalcIsAxisVisible(TChartAxis* Axis);
    bool IsHorizontalAxis(const TChartAxis* Axis) const override;
    int CustomAxisIndex(const TChartAxis* Axis) const override;
    TChartAxis* CustomAxis(int Index) override;

    // ---- ranges over the series
    double MinXValue(TChartAxis* Axis) override { return InternalMinMax(Axis, true, true); }
    double MaxXValue(TChartAxis* Axis) override { return InternalMinMax(Axis, false, true); }
    double MinYValue(TChartAxis* Axis) override { return InternalMinMax(Axis, true, false); }
    double MaxYValue(TChartAxis* Axis) override { return InternalMinMax(Axis, false, false); }
    double InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX) override;
    bool HasActiveSeries(const TChartAxis* Axis) const;
    bool NoActiveSeries(const TChartAxis* Axis) const;
    TChartSeries* GetAxisSeries(const TChartAxis* Axis) const;
    TChartSeries* GetAxisSeriesMaxPoints(const TChartAxis* Axis) const;

    // ---- events
    void BroadcastSeriesEvent(TCustomChartSeries* ASeries, TChartSeriesEvent Event) override;
    // A new event of the class goes to every listener and is freed: BroadcastZuzEventClass(
    // ZuzEventClass<TChartChangePage>).
    void BroadcastZuzEventClass(TZuzEventClass EventClass);
    void BroadcastToolEvent(TChartToolEvent Event);
    // The panel's own answer, then the tools hear the pointer leave.
    void CMMouseLeave() override;

    // ---- measuring
    int MultiLineTextWidth(const String& S, int& NumLines) override;
    int MaxTextWidth() override;
    int MaxMarkWidth() override;
    String FormattedValueLegend(TChartSeries* ASeries, int ValueIndex) override { return {}; }
    virtual void DrawLegendShape(const TRect& Rect) override;
    virtual bool DrawBackWallAfter(int Z);

    // ---- 3D
    void CalcSize3DWalls();
    void CalcInvertedRotation();
    void CalcSeriesZOrder();

    // ---- what series and axes ask of their chart
    TComponent* ChartComponent() override { return this; }
    TComponent* AxisChartComponent() override { return this; }
    bool ChartDestroying() const override { return FDestroying; }
    void Invalidate() override { TCustomZuzPanelExtended::Invalidate(); }
    void RepaintDesigner() override;
    void SetView3D(bool Value) override { TCustomZuzPanel::SetView3D(Value); }
    bool GetView3D() const override { return TCustomZuzPanel::GetView3D(); }
    using TCustomZuzPanel::GetCanvas;
    TCanvas3D* GetCanvas() override { return TCustomZuzPanel::GetCanvas(); }
    TRect GetChartRect() const override { return TCustomZuzPanel::GetChartRect(); }
    int GetChartWidth() const override { return TCustomZuzPanel::GetChartWidth(); }
    int GetChartHeight() const override { return TCustomZuzPanel::GetChartHeight(); }
    int GetWidth3D() const override { return Width3D; }
    TView3DOptions* GetView3DOptions() override { return TCustomZuzPanel::GetView3DOptions(); }
    bool InvertedRotation() const override { return FInvertedRotation; }
    bool ClipsAway(TPoint P) override;
    bool ClipsAwayMark(TPoint P, bool Clip) override;
    bool ApplyZOrder() const override { return TCustomZuzPanel::ApplyZOrder; }
    int GetMaxZOrder() const override { return MaxZOrder; }
    void SetMaxZOrder(int Value) override { MaxZOrder = Value; }
    int SeriesDepth() const override { return SeriesWidth3D; }
    TCursor GetChartCursor() const override { return GetCursor(); }
    void SetChartCursor(TCursor Value) override { SetCursor(Value); }
    void RestoreChartCursor() override { SetCursor(SavedCursor); }
    TPoint MouseClientPos() const override { return GetCursorPos(); }
    TAxisOnGetLabel& OnGetAxisLabel() override { return FOnGetAxisLabel; }
    TAxisOnGetNextLabel& OnGetNextAxisLabel() override { return FOnGetNextAxisLabel; }
    TChartPen* LegendSymbolPen() override { return LegendPen; }
    TColor LegendSymbolColor() const override { return LegendColor; }
    TColor GetChartColor() const override { return GetColor(); }
    void SetBrushCanvas(TColor Color, TChartBrush* Brush, TColor BackColor) override {
        TCustomZuzPanel::SetBrushCanvas(Color, Brush, BackColor);
    }

    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;

    // ---- the drawing road's pieces, in the order InternalDraw calls them
    virtual void CalcWallsRect() = 0;
    virtual int CalcWallSize(TChartAxis* Axis) override = 0;
    virtual void DrawTitlesAndLegend(bool BeforeSeries) = 0;
    virtual void DrawWalls() = 0;
    // True when DrawWalls drew the top and bottom axes over its bottom wall: the axes step
    // leaves them.
    virtual bool HorizAxesDrawnWithWalls() { return false; }
    // Where marks that are not clipped to the chart rectangle may stand.
    virtual TRect MarksArea() { return GetCanvas()->Bounds; }
    bool OutsideSeriesClip(TPoint P);
    virtual void DoOnBeforeDrawChart();
    virtual void DoOnBeforeDrawAxes();
    virtual void DoOnBeforeDrawSeries();
    virtual void DoOnAfterDraw();
    void CalcAxesRect();
    void CalcAxesScales();
    void SetSeriesDepthPositions();
    void DrawAxes();
    void DrawAllSeries();
    // With MarksLater, a flat series on the axes leaves its marks and the end of its drawing
    // to the caller, which takes them up once every series has drawn its values.
    void DrawOneSeries(TChartSeries* ASeries, std::vector<TChartSeries*>* MarksLater = nullptr);

protected:
    void InternalDraw(const TRect& UserRect) override;

private:
    void FitTurnedView(const TRect& Room);
    void FitLabelsToScales(const TRect& Room);
    void ClipSeries();
    TRect SeriesClipRect() const;
    void DrawSeriesMarks(TChartSeries* ASeries);
    String SeriesEntityName(TChartSeries* ASeries) const;
    void ReadMaxPointsPerPage(TReader* Reader);
    void ReadPage(TReader* Reader);
    void ReadScaleLastPage(TReader* Reader);

    int FChart3DPercent = 15;
    std::unique_ptr<TChartAxes> FAxes;
    bool FAxisBehind = true;
    bool FAxisVisible = true;
    bool FClipPoints = true;
    Owned<TChartCustomAxes> FCustomAxes;
    Owned<TChartSeriesList> FSeriesList;
    TChartAxis* FDepthAxis = nullptr;
    TChartAxis* FDepthTopAxis = nullptr;
    TChartAxis* FTopAxis = nullptr;
    TChartAxis* FBottomAxis = nullptr;
    TChartAxis* FLeftAxis = nullptr;
    TChartAxis* FRightAxis = nullptr;
    bool FView3DWalls = true;
    Owned<TChartPage> FPages;
    std::unique_ptr<TChartTools> FTools;
    Owned<TZuzCustomDesigner> FDesigner;
    std::vector<bool> FAxisVisibleNow; // per axis of the list, for the draw under way
    bool FDestroying = false;
};
