#pragma once
// The series base: chart elements (anything a chart shows that can be switched
// on and off), series, and the point model of TChartSeries: ordered insert,
// delete, clear, null points, per-point colours and labels, batch updates,
// linked series, axis binding, chart membership, the point stream, data
// sources, copying and sample values. A series reaches its chart only through
// ISeriesChart.

#include "chart/engine/chartvaluelist.h"
#include "chart/engine/serieschart.h"
#include "chart/engine/serieslist.h"
#include "chart/engine/seriesmarks.h"
class TZuzFunction;
#include "platform/core/sysutils.h"

#include <algorithm>
#include <memory>
#include <span>
#include <type_traits>
#include <typeinfo>
#include <vector>

class TChartBrush;
class TChartPen;
class TStream;
class TZuzSeriesSource;
class TStringList;

// The chart engine's exception.
class ChartException : public Exception {
public:
    using Exception::Exception;
};

// The colour a point or series has when it has none of its own. The series
// types and graph windows also know it by its other name.
inline constexpr TColor clZuzColor = clDefault;

// The label of a point added without one: a default argument that builds no
// text at every call.
extern const String ZuzNoLabel;

enum THorizAxis : std::uint8_t { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
template <>
const EnumInfo& EnumInfoOf<THorizAxis>();
enum TVertAxis : std::uint8_t { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
template <>
const EnumInfo& EnumInfoOf<TVertAxis>();

enum TChartSeriesStyleItem : std::uint8_t {
    tssIsTemplate,
    tssDenyChangeType,
    tssDenyDelete,
    tssDenyClone,
    tssIsPersistent,
    tssHideDataSource
};
using TChartSeriesStyle = Set<TChartSeriesStyleItem>;
template <>
const EnumInfo& EnumInfoOf<TChartSeriesStyleItem>();

enum TSeriesRecalcOption : std::uint8_t { rOnDelete, rOnModify, rOnInsert, rOnClear };
using TSeriesRecalcOptions = Set<TSeriesRecalcOption>;
template <>
const EnumInfo& EnumInfoOf<TSeriesRecalcOption>();

enum TTreatNullsStyle : std::uint8_t { tnDontPaint, tnSkip, tnIgnore };
template <>
const EnumInfo& EnumInfoOf<TTreatNullsStyle>();

enum TValueEvent : std::uint8_t { veClear, veAdd, veDelete, veRefresh, veModify };

// What a "Data" block carries besides the mandatory values.
enum TZuzFormatFlag : std::uint8_t { tfNoMandatory, tfColor, tfLabel, tfMarkPosition };
using ZuzFormatFlags = Set<TZuzFormatFlag>;

class TChartSeries;
class TCustomChartSeries;

using TSeriesOnAfterAdd = Event<void(TChartSeries* Sender, int ValueIndex)>;
using TSeriesOnBeforeAdd = Event<bool(TChartSeries* Sender)>;
using TSeriesOnClear = Event<void(TChartSeries* Sender)>;
using TSeriesClick =
    Event<void(TChartSeries* Sender, int ValueIndex, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TSeriesOnGetMarkText = Event<void(TChartSeries* Sender, int ValueIndex, String& MarkText)>;

// What a legend line of a point shows.
enum TLegendTextStyle : std::uint8_t {
    ltsPlain,
    ltsLeftValue,
    ltsRightValue,
    ltsLeftPercent,
    ltsRightPercent,
    ltsXValue,
    ltsValue,
    ltsPercent,
    ltsXAndValue,
    ltsXAndPercent
};
template <>
const EnumInfo& EnumInfoOf<TLegendTextStyle>();

// Separates the columns of a legend text, and the lines of a multi-line mark.
extern Char ZuzColumnSeparator;
extern Char ZuzLineSeparator;

// The indexes of the ordered Values from the first at or after StartValue to
// the last at or before EndValue; with DrawBetweenPoints the first beyond
// EndValue too, so a line reaches the edge. -1 and -1 when none.
void VisibleIndexRange(std::span<const double> Values, double StartValue, double EndValue,
                       bool DrawBetweenPoints, int& First, int& Last);
// The index range of page Page (from 1) of Count points, PointsPerPage a page
// (below 1: one page); a page beyond the end shows the last full page.
void CalcFirstLastPage(int Count, int PointsPerPage, int Page, int& First, int& Last);

// ---------------------------------------------------------------------------
// Chart elements

class TCustomChartElement : public TComponent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomChartElement(TComponent* AOwner);
    ~TCustomChartElement() override;
    void BeforeDestruction() override; // leaves the chart
    void Assign(TPersistent* Source) override;

    virtual void CanvasChanged(TObject* Sender) { Repaint(); }
    virtual String GetEditorClass() const { return {}; }
    String EditorClass() const { return GetEditorClass(); }
    bool GetActive() const { return FActive; }
    virtual void SetActive(bool Value);
    ISeriesChart* GetParentChart() const { return FParentChart; }
    virtual void SetParentChart(ISeriesChart* Value) { FParentChart = Value; }
    TChartPen* GetPen() const { return FPen.get(); }
    virtual void SetPen(TChartPen* Value);
    TChartBrush* GetBrush() const { return FBrush.get(); }
    void SetBrush(TChartBrush* Value);
    bool GetShowInEditor() const { return FShowInEditor; }
    void SetShowInEditor(bool Value) { FShowInEditor = Value; }

    void Repaint() {
        if (FParentChart) FParentChart->Invalidate();
    }
    // Store a changed value and repaint; equal values change nothing.
    void SetBooleanProperty(bool& Field, bool Value);
    void SetColorProperty(TColor& Field, TColor Value);
    void SetIntegerProperty(int& Field, int Value);
    void SetDoubleProperty(double& Field, double Value);
    void SetStringProperty(String& Field, const String& Value);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* Value) override;

protected:
    TChartPen* CreateChartPen();
    bool FActive = true;
    ISeriesChart* FParentChart = nullptr;

private:
    Owned<TChartBrush> FBrush;
    Owned<TChartPen> FPen;
    bool FShowInEditor = true;
};

class TCustomChartSeries : public TCustomChartElement {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void SetActive(bool Value) override;

    virtual void CalcHorizMargins(int& LeftMargin, int& RightMargin) { LeftMargin = RightMargin = 0; }
    virtual void CalcVerticalMargins(int& TopMargin, int& BottomMargin) { TopMargin = BottomMargin = 0; }
    virtual void DoBeforeDrawChart() {}
    virtual void Added() {}
    virtual void GalleryChanged3D(bool Is3D);
    virtual void Removed() { FParentChart = nullptr; }

    bool GetShowInLegend() const { return FShowInLegend; }
    void SetShowInLegend(bool Value) { SetBooleanProperty(FShowInLegend, Value); }
    const String& GetTitle() const { return FTitle; }
    void SetTitle(const String& Value);
    const String& GetIdentifier() const { return FIdentifier; }
    void SetIdentifier(const String& Value) { FIdentifier = Value; }
    TChartSeriesStyle GetStyle() const { return FStyle; }
    void SetStyle(TChartSeriesStyle Value) { FStyle = Value; }
    bool SameClass(const TCustomChartSeries* Series) const;
    void RepaintDesigner();

private:
    void ReadIdentifier(TReader* Reader);
    void WriteIdentifier(TWriter* Writer);
    void ReadStyle(TReader* Reader);
    void WriteStyle(TWriter* Writer);

    bool FShowInLegend = true;
    String FTitle;
    String FIdentifier;
    TChartSeriesStyle FStyle;
};

// ---------------------------------------------------------------------------
// Per-point labels: optional, sparse (the list may be shorter than the points).

class TLabelsList {
public:
    explicit TLabelsList(TChartSeries* Owner) : FOwner(Owner) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    String GetLabel(int Index) const; // empty past the end or in an empty slot
    String operator[](int Index) const { return GetLabel(Index); }
    void SetLabel(int Index, const String& Value);
    void InsertLabel(int Index, const String& Value);
    void DeleteLabel(int Index); // raises EListError past the end
    void Delete(int Start, int Quantity);
    void Exchange(int Index1, int Index2);
    void Clear() { FItems.clear(); }
    void Assign(const TLabelsList& Source);
    // The labels of Source's first Count points, Count entries long, or none
    // when none of them has a label.
    void AssignFirst(const TLabelsList& Source, int Count);
    int IndexOfLabel(const String& Value, bool CaseSensitive = true) const;

private:
    TChartSeries* FOwner;
    std::vector<std::unique_ptr<String>> FItems; // nullptr: empty entry
};

// The components a series takes its points from, first one first.
class TDataSourcesList {
public:
    explicit TDataSourcesList(TChartSeries* Owner) : FOwner(Owner) {}

    int Count() const { return static_cast<int>(FItems.size()); }
    TComponent* Get(int Index) const { return FItems.at(static_cast<std::size_t>(Index)); }
    TComponent* operator[](int Index) const { return Get(Index); }
    int IndexOf(const TComponent* Component) const;
    int Add(TComponent* Component);
    int InheritedAdd(TComponent* Component);
    // Unlinks the owner from its source series, empties the list and clears
    // the owner's points unless they are its own (ManualData).
    void Clear();
    void InheritedClear() { FItems.clear(); }
    // Takes Component out; the owner forgets it as a source.
    void Remove(TComponent* Component);
    auto begin() const { return FItems.begin(); }
    auto end() const { return FItems.end(); }

private:
    friend class TChartSeries;
    TChartSeries* FOwner;
    std::vector<TComponent*> FItems;
};

struct TSampleBounds {
    double NextX = 0;
    double XStep = 0;
    double CurrentY = 0;
    double LowY = 0;
    double RangeY = 0;
};

// Sample values may be added outside design time (false: a series made at run
// time gets no sample points).
extern bool ZuzRandomAtRunTime;

// The deepest fixed depth slot a series takes (ZOrder), either way.
inline constexpr int kLargestZOrder = 1000;

// ---------------------------------------------------------------------------
// Series with points

class TChartSeries : public TCustomChartSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TChartSeries(TComponent* AOwner);
    ~TChartSeries() override;
    // Points a constructor added were told as its class so far would be told.
    void AfterConstruction() override {
        TCustomChartSeries::AfterConstruction();
        FNotifyKind = kNotifyUnknown;
    }
    void BeforeDestruction() override;
    void Assign(TPersistent* Source) override;
    void DefineProperties(TFiler* Filer) override;
    void Loaded() override;
    void Notification(TComponent* AComponent, TOperation Operation) override;
    void SetParentChart(ISeriesChart* Value) override;
    void GetChildren(TGetChildProc Proc, TComponent* Root) override;
    void Added() override;
    void Removed() override;

    // Points in.
    virtual int AddXY(double X, double Y, const String& Label = ZuzNoLabel, TColor Color = clDefault);
    virtual int Add(double Value, const String& Label = ZuzNoLabel, TColor Color = clDefault);
    int AddX(double Value, const String& Label = {}, TColor Color = clDefault);
    int AddY(double Value, const String& Label = {}, TColor Color = clDefault);
    int AddNull(double Value);
    virtual int AddNull(const String& Label = {});
    virtual int AddNullXY(double X, double Y, const String& Label = {});
    int AddArray(std::span<const double> Values);
    // Raises ChartException when YArray is shorter than XArray.
    int AddArray(std::span<const double> XArray, std::span<const double> YArray);
    virtual int AddChartValue(TChartSeries* Source, int ValueIndex);
    virtual void AddedValue(TChartSeries* Source, int ValueIndex);
    virtual void DeletedValue(TChartSeries* Source, int ValueIndex) { Delete(ValueIndex); }
    // AddValues may copy a source's points list by list where that leaves
    // what AddedValue point by point would; a series type that overrides
    // AddChartValue or AddedValue returns false.
    virtual bool CopiesPointsWhole() const { return true; }

    // Points out.
    virtual void Delete(int ValueIndex);
    // Quantity is cut to the points that exist from Start on.
    virtual void Delete(int Start, int Quantity, bool RemoveGap = false);
    virtual void Clear();
    virtual void ClearLists();
    virtual void SwapValueIndex(int A, int B);
    virtual void CheckOrder();
    void SortByLabels(TChartListOrder Order = loAscending);

    // Points.
    int Count() const { return FX->Count(); }
    virtual double GetxValue(int ValueIndex) const { return FX->GetValue(ValueIndex); }
    virtual double GetyValue(int ValueIndex) const { return FY->GetValue(ValueIndex); }
    double XValue(int ValueIndex) const { return GetxValue(ValueIndex); }
    double YValue(int ValueIndex) const { return GetyValue(ValueIndex); }
    void SetXValue(int Index, double Value);
    void SetYValue(int Index, double Value);
    String GetXLabel(int ValueIndex) const;
    void SetXLabel(int ValueIndex, const String& Value);
    void SetMarkText(int ValueIndex, const String& Value) { SetXLabel(ValueIndex, Value); }
    TLabelsList& Labels() { return FLabels; }
    const TLabelsList& Labels() const { return FLabels; }

    // Colours.
    virtual TColor GetValueColor(int ValueIndex) const;
    TColor ValueColor(int ValueIndex) const { return GetValueColor(ValueIndex); }
    void SetValueColor(int ValueIndex, TColor Color);
    bool HasColorList() const { return FColors != nullptr; }
    // The point's own colour (clDefault when it has none).
    TColor OwnColor(int ValueIndex) const;
    bool IsNull(int ValueIndex) const {
        CheckIndex(ValueIndex, u"IsNull");
        return GetValueColor(ValueIndex) == clNone;
    }
    void SetNull(int ValueIndex, bool Null = true);
    void ColorRange(TChartValueList* List, double FromValue, double ToValue, TColor Color);
    virtual TColor GetSeriesColor() const;
    virtual void SetSeriesColor(TColor Color);
    TColor StoredSeriesColor() const { return FColor; }
    bool IsColorStored() const { return FColor != clDefault; }
    void ChangeInternalColor(TColor Color);
    TColor GetInternalColor() const { return FInternalColor; }
    bool GetColorEachPoint() const { return FColorEachPoint; }
    virtual void SetColorEachPoint(bool Value) { SetBooleanProperty(FColorEachPoint, Value); }

    // Value lists.
    TChartValueLists& ValuesList() { return FValuesList; }
    const TChartValueLists& ValuesList() const { return FValuesList; }
    TChartValueList* GetXValues() const { return FX; }
    TChartValueList* GetYValues() const { return FY; }
    void SetXValues(TChartValueList* Value) { SetChartValueList(FX, Value); }
    void SetYValues(TChartValueList* Value) { SetChartValueList(FY, Value); }
    void SetChartValueList(TChartValueList* List, TChartValueList* Value);
    TChartValueList* MandatoryValueList() const { return FMandatory; }
    TChartValueList* NotMandatoryValueList() const { return FNotMandatory; }
    bool YMandatory() const { return FYMandatory; }
    void SetHorizontal();
    virtual TChartValueList* GetYValueList(const String& AListName) const;
    void ReplaceList(TChartValueList* OldList, TChartValueList* NewList);
    virtual double MaxXValue() const { return FX->GetMaxValue(); }
    virtual double MinXValue() const { return FX->GetMinValue(); }
    virtual double MaxYValue() const { return FY->GetMaxValue(); }
    virtual double MinYValue() const { return FY->GetMinValue(); }
    virtual double MaxZValue() const { return GetZOrder(); }
    virtual double MinZValue() const { return GetZOrder(); }
    virtual double GetMarkValue(int ValueIndex) const { return FMandatory->GetValue(ValueIndex); }
    virtual double GetOriginValue(int ValueIndex) const { return GetMarkValue(ValueIndex); }

    // Updates and notifications.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }
    void RefreshSeries();
    virtual void NotifyNewValue(TChartSeries* Sender, int ValueIndex);
    virtual void NotifyValue(TValueEvent ValueEvent, int ValueIndex);
    TCustomSeriesList* LinkedSeries() const { return FLinkedSeries.get(); }
    void AddLinkedSeries(TChartSeries* Series);
    void RemoveLinkedSeries(TChartSeries* Series);
    void RemoveAllLinkedSeries();
    TSeriesRecalcOptions GetRecalcOptions() const { return FRecalcOptions; }
    void SetRecalcOptions(TSeriesRecalcOptions Value) { FRecalcOptions = Value; }
    // Whether this series type's NotifyNewValue and NotifyValue are the base's
    // own, so that a point nobody listens to goes straight to the repaint. A
    // series type answers through NotifiesAsBase<ItsClass>() or not at all.
    virtual bool KeepsBaseNotifications() const { return typeid(*this) == typeid(TChartSeries); }

    // Axes.
    THorizAxis GetHorizAxis() const { return FHorizAxis; }
    void SetHorizAxis(THorizAxis Value);
    TVertAxis GetVertAxis() const { return FVertAxis; }
    void SetVertAxis(TVertAxis Value);
    TChartAxis* GetCustomHorizAxis() const { return FCustomHorizAxis; }
    void SetCustomHorizAxis(TChartAxis* Value);
    TChartAxis* GetCustomVertAxis() const { return FCustomVertAxis; }
    void SetCustomVertAxis(TChartAxis* Value);
    TChartAxis* GetHorizAxisObject() const { return FGetHorizAxis; }
    TChartAxis* GetVertAxisObject() const { return FGetVertAxis; }
    void RecalcGetAxis();
    TChartAxis* MandatoryAxis() const { return FYMandatory ? FGetVertAxis : FGetHorizAxis; }
    virtual bool UseAxis() const { return true; }
    virtual bool AssociatedToAxis(const TChartAxis* Axis) const;
    virtual TChartValueList* ValueListOfAxis(const TChartAxis* Axis) const;

    // Data sources (a series, a function's sources, a data-source component).
    TComponent* GetDataSource() const;
    void SetDataSource(TComponent* Value);
    TDataSourcesList& DataSources() { return FDataSources; }
    const TDataSourcesList& DataSources() const { return FDataSources; }
    int InternalSetDataSource(TComponent* Value, bool ClearOthers);
    int InternalAddDataSource(TComponent* Value);
    void InternalRemoveDataSource(TComponent* Value);
    void RemoveDataSource(TComponent* Value) { FDataSources.Remove(Value); }
    bool IsValidDataSource(TComponent* Component) const;
    virtual bool IsValidSeriesSource(TChartSeries* Series) const;
    virtual bool IsValidSourceOf(TChartSeries* Series) const { return Series != this; }
    void CheckDataSource();
    // Refills the points from a source series.
    virtual void AddValues(TChartSeries* Source);
    void AssignValues(TChartSeries* Source) { AddValues(Source); }
    void AssignFormat(TChartSeries* Source);
    TZuzFunction* GetFunction() const { return FFunction; }
    virtual void SetFunction(TZuzFunction* Value);
    // Forgets the function without freeing it (it moves to another series).
    void InternalSetFunction(TZuzFunction* Value) { FFunction = Value; }
    const String& GetColorSource() const { return FColorSource; }
    void SetColorSource(const String& Value);
    const String& GetLabelsSource() const { return FLabelsSource; }
    void SetLabelsSource(const String& Value);

    // Sample values.
    virtual int NumSampleValues() const { return 25; }
    virtual void FillSampleValues(int NumValues = 0);
    virtual void AddSampleValues(int NumValues, bool OnlyMandatory = false);
    TSampleBounds RandomBounds(int NumValues);
    static int RandomValue(int Limit);
    bool CanAddRandomPoints() const;
    virtual void PrepareForGallery(bool IsEnabled);
    virtual void CreateSubGallery(const std::function<void(const String&)>& AddSubChart);
    virtual void SetSubGallery(TChartSeries* Series, int Index) {}

    // The "Data" stream.
    virtual void WriteData(TStream* Stream);
    void ReadData(TStream* Stream);

    // The drawing road: which points are visible, depth order, the point
    // loop, mark and legend texts, the legend symbol, the mouse.
    virtual void CalcFirstLastVisibleIndex();
    int VisibleCount() const;
    // The visible range in drawing order.
    int FirstDisplayedIndex() const;
    int LastDisplayedIndex() const;
    // The index range of the chart's current page.
    void CalcFirstLastPage(int& First, int& Last) const;
    // Pixels of points and values on the series's axes, and back.
    virtual int CalcXPos(int ValueIndex) const;
    virtual int CalcYPos(int ValueIndex) const;
    int CalcXPosValue(double Value) const;
    int CalcYPosValue(double Value) const;
    int CalcPosValue(double Value) const; // on the mandatory values' axis
    int CalcXSizeValue(double Value) const;
    int CalcYSizeValue(double Value) const;
    double XScreenToValue(int ScreenPos) const;
    double YScreenToValue(int ScreenPos) const;
    String XValueToText(double Value) const;
    String YValueToText(double Value) const;
    virtual void CalcSelectionPos(int ValueIndex, int& X, int& Y);
    virtual bool IsPointInChartRect(int ValueIndex) const;
    virtual void CalcZOrder();
    virtual bool MoreSameZOrder() const;
    bool FirstInZOrder() const;
    virtual void CalcDepthPositions();
    virtual void DoBeforeDrawValues();
    virtual void DoAfterDrawValues();
    // To the active series tools of the chart bound to this series.
    void BroadcastEvent(TChartToolEvent Event);
    virtual bool DrawValuesForward() const;
    virtual bool DrawSeriesForward(int ValueIndex) const;
    // Every visible point, in drawing order.
    virtual void DrawAllValues();
    virtual void DrawValue(int ValueIndex) {}
    // The marks of the visible points (every DrawEvery-th index, no null points).
    virtual void DrawMarks();
    virtual void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position);
    // Size and place of one mark above (X, Y).
    void CalculateMarkPosition(TZuzCustomShape* Shape, const String& Text, int X, int Y,
                               TSeriesMarkPosition& Position);
    int MaxMarkWidth();
    virtual void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) {}
    virtual String GetMarkText(int ValueIndex);
    String MarkPercent(int ValueIndex, bool AddTotal);
    virtual String LegendString(int LegendIndex, TLegendTextStyle Style);
    virtual int LegendToValueIndex(int LegendIndex) const { return LegendIndex; }
    virtual int CountLegendItems() const { return Count(); }
    virtual TColor LegendItemColor(int LegendIndex) const { return GetValueColor(LegendIndex); }
    // The legend symbol of a point (-1: of the series).
    void DrawLegend(int ValueIndex, const TRect& Rect);
    virtual void DrawLegendShape(int ValueIndex, const TRect& Rect);
    // The point under (X, Y), -1 for none; series types know their shapes.
    virtual int Clicked(int X, int Y) { return -1; }
    int Clicked(TPoint P) { return Clicked(P.X, P.Y); }
    int GetCursorValueIndex();
    // The values on the series's axes under the mouse.
    void GetCursorValues(double& X, double& Y);
    // Cursor and enter/leave events for the mouse at (X, Y); true over a point.
    bool CheckMouse(int X, int Y);
    virtual bool RaiseClicked() const { return static_cast<bool>(OnClick) || static_cast<bool>(OnDblClick); }

    // Plain settings.
    TSeriesMarks* GetMarks() const { return FMarks.get(); }
    const String& GetValueFormat() const { return FValueFormat; }
    virtual void SetValueFormat(const String& Value) { SetStringProperty(FValueFormat, Value); }
    bool IsValueFormatStored() const;
    const String& GetPercentFormat() const { return FPercentFormat; }
    void SetPercentFormat(const String& Value) { SetStringProperty(FPercentFormat, Value); }
    bool IsPercentFormatStored() const;
    int GetDepth() const { return FDepth; }
    // -1: the chart's slot; else pixels, to the editor's largest.
    void SetDepth(int Value) { SetIntegerProperty(FDepth, std::clamp(Value, -1, 1200)); }
    int GetZOrder() const { return FZOrder == -1 ? IZOrder : FZOrder; }
    int StoredZOrder() const { return FZOrder; } // -1: automatic
    // A slot among a thousand: the chart's depth is the deepest slot's times a
    // series' depth, and a deeper one leaves the series a clip of millions of lines.
    void SetZOrder(int Value) {
        Value = std::clamp(Value, -kLargestZOrder, kLargestZOrder);
        SetIntegerProperty(FZOrder, Value);
        IZOrder = Value == -1 ? 0 : Value;
    }
    TCursor GetCursor() const { return FCursor; }
    void SetCursor(TCursor Value) { FCursor = Value; }
    TTreatNullsStyle GetTreatNulls() const { return FTreatNulls; }
    void SetTreatNulls(TTreatNullsStyle Value);
    double GetDefaultNullValue() const { return FDefaultNullValue; }
    void SetDefaultNullValue(double Value) { FDefaultNullValue = Value; }
    TChartListOrder GetLabelsOrder() const { return FLabelsOrder; }
    bool GetManualData() const { return FManualData; }
    void SetManualData(bool Value) { FManualData = Value; }
    // The "Data" block is written: forced, or the points are the series's own.
    bool ShouldSaveData() const { return ForceSaveData || (FManualData && !DontSaveData); }

    // Public fields of the series types and the chart's drawing.
    bool ForceSaveData = false;
    bool DontSaveData = false;
    int FirstValueIndex = -1, LastValueIndex = -1;
    int SampleCount = 0;
    bool UseSeriesColor = true;
    bool UseNotMandatory = true;
    int IZOrder = 0;
    bool CalcVisiblePoints = true;
    bool DrawBetweenPoints = false;
    bool SinglePointResult = true;
    bool UsesZValues = false;
    int StartZ = 0, MiddleZ = 0, EndZ = 0;
    bool MouseInside = false;

    // The same fields under the names the series types and graph windows use.
    bool& KeepPointBeyondEdge = DrawBetweenPoints;
    bool& SingleFunctionPoint = SinglePointResult;
    int& FirstVisibleIndex = FirstValueIndex;
    int& LastVisibleIndex = LastValueIndex;

    TNotifyEvent AfterDrawValues, BeforeDrawValues;
    TSeriesOnAfterAdd OnAfterAdd;
    TSeriesOnBeforeAdd OnBeforeAdd;
    TSeriesOnClear OnClearValues;
    TSeriesClick OnClick, OnDblClick;
    TSeriesOnGetMarkText OnGetMarkText;
    TNotifyEvent OnMouseEnter, OnMouseLeave;

    // Published-property accessors.
    TChartValueList* GetXValuesProp() const { return FX; }
    TChartValueList* GetYValuesProp() const { return FY; }

protected:
    // True for an object of exactly T, when neither T nor a class between it
    // and this one declares NotifyNewValue or NotifyValue (checked on compiling).
    template <class T>
    bool NotifiesAsBase() const {
        static_assert(std::is_same_v<decltype(&T::NotifyNewValue), decltype(&TChartSeries::NotifyNewValue)> &&
                          std::is_same_v<decltype(&T::NotifyValue), decltype(&TChartSeries::NotifyValue)>,
                      "a series type with its own notifications keeps the base's answer");
        return typeid(*this) == typeid(T);
    }

private:
    friend class TDataSourcesList;
    friend class TLabelsList;
    friend class TChartValueLists;
    // Whether a series of plain shape (see FPlainShape) would place X last in
    // lists that both have room.
    bool AppendsPlainly(double X) const {
        return FY->Count() == FX->Count() && FX->HasRoom() && FY->HasRoom() && FX->PlacesLast(X);
    }
    // FPlainShape as it is now, kept until something could change it.
    bool CheckPlainShape();
    // Something that could give the series a colour list, a label or another
    // value list happened: the next point looks again.
    void ShapeChanged() { FPlainShape = false; }
    // The series's colour list from now on (every colour list is made here).
    std::vector<TColor>& NewColorList(std::vector<TColor> Colors);
    // AddXY's every step, for points that need more than two stores.
    int AddPoint(double X, double Y, const String& Label, TColor Color);
    // What follows a plain point that someone hears or a chart shows; Index.
    int TellAppended(int Index);
    // Whether a point added now must go through NotifyNewValue: an event,
    // a linked series or a series type's own notifications wait for it.
    bool AddIsListenedTo() const {
        return (FNotifyKind == kNotifyUnknown ? ClassifyNotifications() : FNotifyKind) == kNotifyOwn ||
               OnAfterAdd || FLinkedSeries->Count() > 0;
    }
    std::uint8_t ClassifyNotifications() const;
    void NotifyColorChanged();
    // The text of an X value: the horizontal axis's label, or the value format.
    String XLabelText(double Value) const;
    void InsertColor(int Index, TColor Color);
    void InsertPointExtras(int Index, const String& Label, TColor Color);
    bool CopyWholeLists(TChartSeries* Source);
    void ReadDataSources(TReader* Reader);
    void WriteDataSources(TWriter* Writer);
    void ReadCustomHorizAxis(TReader* Reader);
    void WriteCustomHorizAxis(TWriter* Writer);
    void ReadCustomVertAxis(TReader* Reader);
    void WriteCustomVertAxis(TWriter* Writer);
    // Raises ChartException for an index outside the points, naming Call
    // (nullptr: Delete).
    void CheckIndex(int ValueIndex, const char16_t* Call = nullptr) const;
    // The point's own mark text, else what the marks' style makes of the point.
    String OwnOrStyledMarkText(int ValueIndex);
    bool Loading() const { return GetComponentState().Contains(csLoading); }
    bool Destroying() const { return GetComponentState().Contains(csDestroying); }
    bool Designing() const { return GetComponentState().Contains(csDesigning); }

    TColor FColor = clDefault;
    bool FColorEachPoint = false;
    std::unique_ptr<std::vector<TColor>> FColors; // made only by NewColorList
    String FColorSource;
    TCursor FCursor = crDefault;
    TDataSourcesList FDataSources{this};
    int FDepth = -1;
    TChartAxis* FGetHorizAxis = nullptr;
    TChartAxis* FGetVertAxis = nullptr;
    String FLabelsSource;
    std::unique_ptr<TCustomSeriesList> FLinkedSeries;
    Owned<TSeriesMarks> FMarks;
    String FPercentFormat;
    std::unique_ptr<std::vector<String>> FPendingSources;
    String FValueFormat;
    TChartValueLists FValuesList{this};
    TChartValueList* FX = nullptr;
    TLabelsList FLabels{this};
    TChartValueList* FY = nullptr;
    double FDefaultNullValue = 0;
    THorizAxis FHorizAxis = aBottomAxis;
    TChartAxis* FCustomHorizAxis = nullptr;
    TChartAxis* FCustomVertAxis = nullptr;
    int FZOrder = -1;
    TVertAxis FVertAxis = aLeftAxis;
    TSeriesRecalcOptions FRecalcOptions{rOnDelete, rOnModify, rOnInsert, rOnClear};
    TZuzFunction* FFunction = nullptr;
    TChartListOrder FLabelsOrder = loNone;
    TColor FInternalColor = clDefault;
    bool FManualData = false;
    int FUpdateCount = 0;
    TChartValueList* FMandatory = nullptr;
    TChartValueList* FNotMandatory = nullptr;
    bool FYMandatory = true;
    TTreatNullsStyle FTreatNulls = tnDontPaint;
    // KeepsBaseNotifications, asked at the first point after construction.
    enum : std::uint8_t { kNotifyUnknown, kNotifyBase, kNotifyOwn };
    mutable std::uint8_t FNotifyKind = kNotifyUnknown;
    // Known: no colour list, no label, and only the X and Y lists, both of the
    // base class, so that a plain point costs two stores. False whenever
    // unknown: the colour list's making, the labels and the value lists'
    // membership set it false, and the next point works it out again.
    bool FPlainShape = false;
};

// Title, else the component name, else "Series" and the one-based position.
String SeriesTitleOrName(const TCustomChartSeries* Series);
String SeriesNameOrIndex(const TCustomChartSeries* Series);
// Adds a line per series of List that the editor lists (Items is not cleared).
void FillSeriesItems(TStrings* Items, const TCustomSeriesList* List, bool UseTitles = true);
// What the "Data" block of Series must carry; every point is examined.
ZuzFormatFlags SeriesGuessContents(const TChartSeries* Series);
bool HasNoMandatoryValues(const TChartSeries* Series);
bool HasColors(const TChartSeries* Series);
bool HasLabels(const TChartSeries* Series);

// A task-modal error box with an empty caption (tests answer it through the
// dialog responder).
void ShowMessageUser(const String& Text);
// While one lives, ShowMessageUser shows nothing: for a second reading of what
// the user has been told about once.
class TQuietUserMessages {
public:
    TQuietUserMessages();
    ~TQuietUserMessages();
    TQuietUserMessages(const TQuietUserMessages&) = delete;
    TQuietUserMessages& operator=(const TQuietUserMessages&) = delete;
};

// Start-up of the engine: the stream classes and the pixel limit of the axes.
extern int MaxPixelPos;
void ZuzEngineInitialization();
void ZuzEngineFinalization();
