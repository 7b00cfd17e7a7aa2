#pragma once
// The legend: one item per series, per point of a series, per series's last value or per
// series group, each with a symbol, up to two text columns and an optional check box that
// switches its series on and off. A framed shape beside the chart that takes its room off
// the chart rectangle unless placed by hand.

#include "chart/canvas/zuzshape.h"
#include "chart/engine/chartseries.h"

#include <memory>
#include <vector>

class TCustomChart;
class TChartSeries;
class TStrings;

enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle : std::uint8_t { cbsCheck, cbsRadio };
enum TLegendStyle : std::uint8_t { lsAuto, lsSeries, lsValues, lsLastValues, lsSeriesGroups };
enum TLegendSymbolPosition : std::uint8_t { spLeft, spRight };
enum TLegendSymbolSize : std::uint8_t { lcsPercent, lcsPixels };
template <>
const EnumInfo& EnumInfoOf<TLegendAlignment>();
template <>
const EnumInfo& EnumInfoOf<TCheckBoxesStyle>();
template <>
const EnumInfo& EnumInfoOf<TLegendStyle>();
template <>
const EnumInfo& EnumInfoOf<TLegendSymbolPosition>();
template <>
const EnumInfo& EnumInfoOf<TLegendSymbolSize>();

class LegendException : public ChartException {
public:
    using ChartException::ChartException;
};

// A shape the user may place by hand: setting Left or Top places it.
class TZuzCustomShapePosition : public TZuzCustomShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TZuzCustomShape::TZuzCustomShape;
    void Assign(TPersistent* Source) override;

    bool GetCustomPosition() const { return FCustomPosition; }
    void SetCustomPosition(bool Value);
    int GetLeft() const { return ShapeBounds.Left; }
    void SetLeft(int Value);
    int GetTop() const { return ShapeBounds.Top; }
    void SetTop(int Value);
    bool IsCustomStored() const { return FCustomPosition; }
    // The published frame is the shape's pen.
    TChartPen* GetFrame() const { return GetPen(); }
    void SetFrame(TChartPen* Value) { SetPen(Value); }

private:
    bool FCustomPosition = false;
};

class TChartLegendGradient : public TZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TChartLegendGradient(TNotifyEvent ChangedEvent = {});
};

using TSymbolDrawEvent =
    Event<void(TObject* Sender, TChartSeries* Series, int ValueIndex, const TRect& Rect)>;

class TCustomChartLegend;

class TLegendSymbol : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TLegendSymbol(TCustomChartLegend* Legend);
    ~TLegendSymbol() override;
    void Assign(TPersistent* Source) override;

    bool GetContinuous() const { return FContinuous; }
    void SetContinuous(bool Value) { Store(FContinuous, Value); }
    bool GetDefaultPen() const { return FDefaultPen; }
    void SetDefaultPen(bool Value) { Store(FDefaultPen, Value); }
    TZuzGradient* GetGradient() const { return FGradient.get(); }
    void SetGradient(TZuzGradient* Value) { FGradient->Assign(Value); }
    TChartPen* GetPen() const { return FPen.get(); }
    void SetPen(TChartPen* Value) { FPen->Assign(Value); }
    TLegendSymbolPosition GetPosition() const { return FPosition; }
    void SetPosition(TLegendSymbolPosition Value) { Store(FPosition, Value); }
    TZuzShadow* GetShadow() const { return FShadow.get(); }
    void SetShadow(TZuzShadow* Value) { FShadow->Assign(Value); }
    bool GetSquared() const { return FSquared; }
    void SetSquared(bool Value) { Store(FSquared, Value); }
    bool GetVisible() const { return FVisible; }
    void SetVisible(bool Value) { Store(FVisible, Value); }
    int GetWidth() const { return FWidth; }
    void SetWidth(int Value);
    TLegendSymbolSize GetWidthUnits() const { return FWidthUnits; }
    void SetWidthUnits(TLegendSymbolSize Value) { Store(FWidthUnits, Value); }
    TSymbolDrawEvent OnDraw;

    // Pixels wide: Value is what a percent width is a percent of.
    int CalcWidth(int Value) const;
    void Draw(TColor Color, const TRect& Rect);

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Changed();
    }
    void Changed();
    TCustomChartLegend* FLegend;
    bool FContinuous = false;
    bool FDefaultPen = true;
    Owned<TZuzGradient> FGradient;
    Owned<TChartPen> FPen;
    TLegendSymbolPosition FPosition = spLeft;
    Owned<TZuzShadow> FShadow;
    bool FSquared = false;
    bool FVisible = true;
    int FWidth = 20;
    TLegendSymbolSize FWidthUnits = lcsPercent;
};

// The text above the legend's items.
class TLegendTitle : public TZuzShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TLegendTitle(TCustomZuzPanel* Panel);
    ~TLegendTitle() override;
    void Assign(TPersistent* Source) override;

    TStrings* GetText() const;
    void SetText(TStrings* Value);
    TAlignment GetTextAlignment() const { return FTextAlignment; }
    void SetTextAlignment(TAlignment Value);
    TChartPen* GetFrame() const { return GetPen(); }
    void SetFrame(TChartPen* Value) { SetPen(Value); }

    bool HasText() const;
    int CalcHeight();
    int TotalWidth();
    TRect CalcShapeBounds(const TRect& Rect);
    void DrawText();

protected:
    void InitShadow(TZuzShadow* Shadow) override;

private:
    Owned<TStringList> FText;
    TAlignment FTextAlignment = taLeftJustify;
};

// One item as last drawn, or as the user set its texts.
class TLegendItem {
public:
    explicit TLegendItem(class TLegendItems* Owner) : FOwner(Owner) {}
    TAlignment Align = taLeftJustify;
    int Left = 0, Top = 0;
    TRect SymbolRect;
    const String& GetText() const { return FText; }
    void SetText(const String& Value);
    const String& GetText2() const { return FText2; }
    void SetText2(const String& Value);
    // Recording a draw: no customising.
    void Record(const String& Text, const String& Text2) {
        FText = Text;
        FText2 = Text2;
    }
    void RecordPlace(int ALeft, int ATop) {
        Left = FPlacedLeft = ALeft;
        Top = FPlacedTop = ATop;
    }
    // Left or Top changed since the last draw placed the item.
    bool MovedByHand() const { return Left != FPlacedLeft || Top != FPlacedTop; }

private:
    TLegendItems* FOwner;
    String FText, FText2;
    int FPlacedLeft = 0, FPlacedTop = 0;
};

class TLegendItems {
public:
    explicit TLegendItems(TCustomChartLegend* Legend) : FLegend(Legend) {}
    // Grows the list up to Index.
    TLegendItem* Get(int Index);
    int Count() const { return static_cast<int>(FItems.size()); }
    bool Custom = false;
    void ClearItems() { FItems.clear(); }
    void Clear();
    void Customised();

private:
    TCustomChartLegend* FLegend;
    std::vector<std::unique_ptr<TLegendItem>> FItems;
};

class TCustomChartLegend : public TZuzCustomShapePosition {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TCustomChartLegend(TCustomZuzPanel* Chart);
    ~TCustomChartLegend() override;
    void Assign(TPersistent* Source) override;
    // The title moves with the legend.
    void SetParent(TCustomZuzPanel* Value) override;

    TLegendAlignment GetAlignment() const { return FAlignment; }
    void SetAlignment(TLegendAlignment Value) { Store(FAlignment, Value); }
    bool GetCheckBoxes() const { return FCheckBoxes; }
    void SetCheckBoxes(bool Value) { Store(FCheckBoxes, Value); }
    TCheckBoxesStyle GetCheckBoxesStyle() const { return FCheckBoxesStyle; }
    // Radio boxes leave only the first active series of the legend active.
    void SetCheckBoxesStyle(TCheckBoxesStyle Value);
    int GetColorWidth() const { return FSymbol->GetWidth(); }
    void SetColorWidth(int Value) { FSymbol->SetWidth(Value); }
    bool GetCurrentPage() const { return FCurrentPage; }
    void SetCurrentPage(bool Value) { Store(FCurrentPage, Value); }
    TChartHiddenPen* GetDividingLines() const { return FDividingLines.get(); }
    void SetDividingLines(TChartHiddenPen* Value);
    int GetFirstValue() const { return FFirstValue; }
    // Raises for a negative value.
    void SetFirstValue(int Value);
    bool GetFontSeriesColor() const { return FFontSeriesColor; }
    void SetFontSeriesColor(bool Value) { Store(FFontSeriesColor, Value); }
    int GetHorizMargin() const { return FHorizMargin; }
    void SetHorizMargin(int Value);
    bool GetInverted() const { return FInverted; }
    void SetInverted(bool Value) { Store(FInverted, Value); }
    int GetLeftPercent() const { return FLeftPercent; }
    void SetLeftPercent(int Value);
    TLegendStyle GetLegendStyle() const { return FLegendStyle; }
    void SetLegendStyle(TLegendStyle Value);
    int GetMaxNumRows() const { return FMaxNumRows; }
    void SetMaxNumRows(int Value) { Store(FMaxNumRows, Value); }
    TZuzUnits GetPositionUnits() const { return FPositionUnits; }
    void SetPositionUnits(TZuzUnits Value) { Store(FPositionUnits, Value); }
    bool GetResizeChart() const { return FResizeChart; }
    void SetResizeChart(bool Value) { Store(FResizeChart, Value); }
    TLegendSymbol* GetSymbol() const { return FSymbol.get(); }
    void SetSymbol(TLegendSymbol* Value) { FSymbol->Assign(Value); }
    TLegendTextStyle GetTextStyle() const { return FTextStyle; }
    void SetTextStyle(TLegendTextStyle Value) { Store(FTextStyle, Value); }
    TLegendTitle* GetTitle() const { return FTitle.get(); }
    void SetTitle(TLegendTitle* Value) { FTitle->Assign(Value); }
    int GetTopPercent() const { return FTopPercent; }
    void SetTopPercent(int Value);
    int GetTopPos() const { return FTopPos; }
    void SetTopPos(int Value);
    int GetVertMargin() const { return FVertMargin; }
    void SetVertMargin(int Value);
    int GetVertSpacing() const { return FVertSpacing; }
    void SetVertSpacing(int Value);
    TLegendItems* GetItems() { return &FItems; }

    // A series whose values a value legend lists; nullptr: chosen automatically.
    TChartSeries* Series = nullptr;
    // A legend made hidden writes its visibility only when shown.
    bool DefaultVisible = true;
    bool IsVisibleStored() const { return GetVisible() != DefaultVisible; }
    // The width Clicked leaves out at the legend's right edge.
    Event<int(TCustomChartLegend* Sender)> OnWidthAdjust;

    bool ShouldDraw() const;
    void CalcLegendStyle();
    TLegendStyle InternalStyle() const { return FInternalStyle; }
    bool HasCheckBoxes() const;
    bool GetVertical() const { return FAlignment == laLeft || FAlignment == laRight; }
    TChartSeries* GetLegendSeries() const;
    String FormattedLegend(int Index);
    String FormattedValue(TChartSeries* ASeries, int ValueIndex);
    int CalcItemHeight();
    int FirstItemTop();
    // The item under (X, Y), or -1.
    int Clicked(int X, int Y);
    // Check boxes; true when the click was taken.
    bool DoMouseDown(int X, int Y, int Index);
    void DrawLegend();
    void PrepareSymbolPen();
    static void PaintSeriesLegend(TChartSeries* ASeries, TCanvas* Canvas, const TRect& Rect,
                                  TCustomChart* ReferenceChart = nullptr);

    // The last draw's layout, for clicks.
    TRect RectLegend;
    int ItemHeight = 0, NumCols = 0, NumRows = 0, TotalItems = 0, LastValue = -1;
    int SymbolWidth = 0, TextWidths[2] = {0, 0}, TextWidth = 0, ItemWidth = 0;
    int CheckBoxLeft = 0, SymbolLeft = 0, TextLeft = 0;
    bool TitleShown = false;
    bool AutoColumnWidth = true;

protected:
    Owned<TZuzGradient> NewGradient() override;
    TCustomChart* Chart() const;

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }
    int CalcTotalItems();
    int BorderSize();
    void GatherTexts();
    void CalcItemWidth();
    void CalcSymbolTextPositions();
    void DrawItem(int ValueIndex, int Position);
    void ResizeChartRect();
    int ColumnStep() const;
    int SymbolShadowRoom() const;
    // The Index-th series shown in the legend, inactive ones counted with check boxes.
    TChartSeries* LegendSeriesAt(int Index) const;
    int ShownSeriesCount() const;

    TLegendAlignment FAlignment = laRight;
    bool FCheckBoxes = false;
    TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
    bool FCurrentPage = true;
    Owned<TChartHiddenPen> FDividingLines;
    int FFirstValue = 0;
    bool FFontSeriesColor = false;
    int FHorizMargin = 0;
    bool FInverted = false;
    int FLeftPercent = 0;
    TLegendStyle FLegendStyle = lsAuto;
    TLegendStyle FInternalStyle = lsSeries;
    int FMaxNumRows = 10;
    TZuzUnits FPositionUnits = muPixels;
    bool FResizeChart = true;
    Owned<TLegendSymbol> FSymbol;
    TLegendTextStyle FTextStyle = ltsLeftValue;
    Owned<TLegendTitle> FTitle;
    int FTopPercent = 0;
    int FTopPos = 10;
    int FVertMargin = 0;
    int FVertSpacing = 0;
    TLegendItems FItems;
    // Texts of the items being drawn, by position: two columns each.
    std::vector<std::pair<String, String>> FTexts;
};

class TChartLegend : public TCustomChartLegend {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TCustomChartLegend::TCustomChartLegend;
};
