#pragma once
// The marks of a series: the small framed texts beside its points. Their
// look, the margins around the text, the place of each mark (custom places
// kept per point and streamed with the points), per-point mark items with
// their own look and text, the colour symbol and the callout arrow.

#include "chart/canvas/zuzgradient.h"
#include "chart/canvas/zuzshape.h"
#include "chart/engine/seriespointer.h"
#include "platform/core/components.h"
#include "platform/core/lists.h"
#include "platform/gui/stdctrls.h"

#include <algorithm>
#include <memory>
#include <vector>

class ISeriesChart;
class TChartSeries;

enum TSeriesMarksStyle : std::uint8_t {
    smsValue,
    smsPercent,
    smsLabel,
    smsLabelPercent,
    smsLabelValue,
    smsLegend,
    smsPercentTotal,
    smsLabelPercentTotal,
    smsXValue,
    smsXY,
    smsSeriesTitle,
    smsPointIndex,
    smsPercentRelative
};
template <>
const EnumInfo& EnumInfoOf<TSeriesMarksStyle>();

enum TMarginUnits : std::uint8_t { maPercentFont, maPercentSize, maPixels };
template <>
const EnumInfo& EnumInfoOf<TMarginUnits>();

enum TArrowHeadStyle : std::uint8_t { ahNone, ahLine, ahSolid };
template <>
const EnumInfo& EnumInfoOf<TArrowHeadStyle>();

// Where one mark stands: its box and the arrow from the point to it.
class TSeriesMarkPosition {
public:
    TPoint ArrowStart;
    bool ArrowStartFixed = false;
    TPoint ArrowEnd;
    bool Custom = false;
    int Height = 0;
    TPoint TopLeft;
    int Width = 0;
    TPoint MidPoint;
    bool HasMidPoint = false;

    TRect Bounds() const { return {TopLeft.X, TopLeft.Y, TopLeft.X + Width, TopLeft.Y + Height}; }
    void Assign(const TSeriesMarkPosition& Source) { *this = Source; }
    bool operator==(const TSeriesMarkPosition&) const = default;
};

// One optional position per point index.
class TSeriesMarksPositions {
public:
    int Count() const { return static_cast<int>(FItems.size()); }
    TSeriesMarkPosition* Get(int Index) const; // nullptr past the end or in an empty slot
    TSeriesMarkPosition* operator[](int Index) const { return Get(Index); }
    // Stores a copy of Position at Index as a custom position (grows with empty slots).
    void Put(int Index, const TSeriesMarkPosition& Position);
    void Put(int Index, std::unique_ptr<TSeriesMarkPosition> Position); // as it is
    void Add(std::unique_ptr<TSeriesMarkPosition> Position) { FItems.push_back(std::move(Position)); }
    void Automatic(int Index);
    void Delete(int Start, int Quantity = 1);
    void Insert(int Index); // an empty slot at Index when slots follow it
    void Exchange(int Index1, int Index2);
    void Clear() { FItems.clear(); }
    bool ExistCustom() const;
    // Places Position's box centred above (X, Y), the arrow at the point.
    static void MoveTo(TSeriesMarkPosition& Position, int X, int Y);

private:
    std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
};

// The space between a mark's frame and its text.
class TMargins : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMargins(TNotifyEvent OnChange = {}, int DefaultHoriz = 10);
    void Assign(TPersistent* Source) override;

    int GetLeft() const { return FLeft; }
    void SetLeft(int Value) { Store(FLeft, Value); }
    int GetTop() const { return FTop; }
    void SetTop(int Value) { Store(FTop, Value); }
    int GetRight() const { return FRight; }
    void SetRight(int Value) { Store(FRight, Value); }
    int GetBottom() const { return FBottom; }
    void SetBottom(int Value) { Store(FBottom, Value); }
    TMarginUnits GetUnits() const { return FUnits; }
    void SetUnits(TMarginUnits Value) { Store(FUnits, Value); }
    bool IsLeftStored() const { return FLeft != DefaultHoriz; }
    bool IsRightStored() const { return FRight != DefaultHoriz; }

    // The pixel margins for a text of Width x Height in a font FontHeight high.
    void Calculate(int Width, int Height, int FontHeight);
    int HorizSize() const { return PixelLeft + PixelRight; }
    int VertSize() const { return PixelTop + PixelBottom; }

    int DefaultHoriz;
    int PixelLeft = 0, PixelTop = 0, PixelRight = 0, PixelBottom = 0;
    TNotifyEvent OnChange;

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        if (OnChange) OnChange(this);
    }
    int FLeft, FTop = 5, FRight, FBottom = 5;
    TMarginUnits FUnits = maPercentFont;
};

// The gradient marks start with: silver on the right to white on the left.
class TSeriesMarksGradient : public TZuzGradient {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSeriesMarksGradient(TNotifyEvent ChangedEvent = {});
};

// The framed box of the marks, of a point's own mark and of the colour symbol, with the
// shape's settings published under the names marks are stored with (the pen as Frame). The
// symbol shows no text: the font is published by the other two.
class TSeriesMarkShape : public TZuzCustomShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    using TZuzCustomShape::TZuzCustomShape;

    TChartPen* GetFrame() const { return GetPen(); }
    void SetFrame(TChartPen* Value) { SetPen(Value); }
    // Stored quietly, then one Repaint: the marks repaint through their series, also on a chart
    // that is no panel.
    void SetVisible(bool Value) override;
    // The Visible value that is not written.
    bool DefaultVisible = true;
    bool IsVisibleStored() const { return GetVisible() != DefaultVisible; }
};

// The look and text of one point's mark.
class TMarksItem : public TSeriesMarkShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMarksItem(TCustomZuzPanel* Chart);
    ~TMarksItem() override;
    void Assign(TPersistent* Source) override;
    // Made on first read; a change repaints the chart.
    TStrings* GetText() const;
    bool HasText() const { return FText && FText->GetCount() > 0; }
    // nullptr frees the lines.
    void SetText(TStrings* Value);

protected:
    void InitShadow(TZuzShadow* Shadow) override;

private:
    mutable Owned<TStringList> FText;
};

class TSeriesMarks;

class TMarksItems {
public:
    explicit TMarksItems(TSeriesMarks* Marks) : FMarks(Marks) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    // The item at Index, made (with empty slots before it) when missing.
    TMarksItem* Get(int Index);
    TMarksItem* Peek(int Index) const; // nullptr when missing
    // Each of Source's items copied to the same index, empty slots kept.
    void Assign(const TMarksItems& Source);
    void Delete(int Start, int Quantity = 1);
    void Insert(int Index); // an empty slot at Index when slots follow it
    void Exchange(int Index1, int Index2);
    void Clear();
    // The items follow the marks to another chart.
    void SetParent(TCustomZuzPanel* Value);
    bool ReadFromStream = false; // clearing the marks keeps streamed items

private:
    TSeriesMarks* FMarks;
    std::vector<std::unique_ptr<TMarksItem>> FItems;
};

// A small box in the point's colour at the left of the mark's text.
class TSeriesMarksSymbol : public TSeriesMarkShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TSeriesMarksSymbol(TCustomZuzPanel* Chart);
    bool ShouldDraw() const { return GetVisible() && !GetTransparent(); }
    // Drawn opaque in the point's colour; what is stored stays as it was.
    void DrawInColor(TCanvas3D* Canvas, TColor Color, const TRect& R, int Angle, int Z);

protected:
    void InitShadow(TZuzShadow* Shadow) override;
};

// The longest arrow and the farthest distance a callout takes, from a file or the editor.
inline constexpr int LargestArrowLength = 1000;

// The arrow from a point to its mark, with a pointer at the point.
class TCallout : public TSeriesPointer {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TCallout(TChartSeries* Series);
    void Assign(TPersistent* Source) override;

    TChartPen* GetArrow() const { return FArrow.get(); }
    void SetArrow(TChartPen* Value);
    TArrowHeadStyle GetArrowHead() const { return FArrowHead; }
    void SetArrowHead(TArrowHeadStyle Value) { Store(FArrowHead, Value); }
    int GetDistance() const { return FDistance; }
    // Held to the editor's range, as the length is: the two are summed with pixel positions.
    void SetDistance(int Value) {
        Store(FDistance, std::clamp(Value, -LargestArrowLength, LargestArrowLength));
    }
    int GetArrowHeadSize() const { return FArrowHeadSize; }
    void SetArrowHeadSize(int Value) { Store(FArrowHeadSize, Value); }

    // From the point (From) to the mark (To), through Mid when DrawMid.
    void Draw(TColor Color, TPoint From, TPoint Mid, TPoint To, int Z, bool DrawMid);

protected:
    Owned<TChartPen> FArrow;

private:
    TArrowHeadStyle FArrowHead = ahNone;
    int FDistance = 0;
    int FArrowHeadSize = 8;
};

class TMarksCallout : public TCallout {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TMarksCallout(TChartSeries* Series);
    void Assign(TPersistent* Source) override;
    int GetLength() const { return FLength; }
    void SetLength(int Value) { Store(FLength, std::clamp(Value, -LargestArrowLength, LargestArrowLength)); }
    bool IsLengthStored() const { return FLength != DefaultLength; }
    // The length a series type starts its callout with, which is not written.
    int DefaultLength = 8;
    // Lifts the mark by Length + Distance and starts the arrow Distance away.
    void ApplyArrowLength(TSeriesMarkPosition& Position) const;

private:
    int FLength = 8;
};

// The corners of R turned by Angle degrees about its centre.
TFourPoints TurnedCorners(const TRect& R, int Angle);
// The widest of Text's lines (split at the line separator) on Canvas.
int WidestLine(TZuzCanvas* Canvas, const String& Text);

// Draw arrows in white on black charts when they would vanish.
extern bool ZuzCheckMarkArrowColor;

class TSeriesMarks : public TSeriesMarkShape {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TSeriesMarks(TChartSeries* Series);
    ~TSeriesMarks() override;
    // DefaultVisible: whether a series type starts with its marks shown; that state is not
    // written, the other one is, so hiding the marks of such a type survives.
    void Assign(TPersistent* Source) override;
    TChartSeries* ParentSeries() const { return FSeries; }
    // The callout, the symbol and the items hang on the same chart.
    void SetParent(TCustomZuzPanel* Value) override;
    // Through the series' chart, also one that is no panel; nothing while the series has none.
    void Repaint() override;
    // The per-point items travel as the binary property "Items".
    void DefineProperties(TFiler* Filer) override;
    void WriteItems(TStream* Stream);
    // Raises EReadError for a damaged block.
    void ReadItems(TStream* Stream);

    int GetAngle() const { return FAngle; }
    void SetAngle(int Value) { Store(FAngle, Value); }
    bool GetClip() const { return FClip; }
    void SetClip(bool Value) { Store(FClip, Value); }
    int GetDrawEvery() const { return FDrawEvery; }
    void SetDrawEvery(int Value) { Store(FDrawEvery, Value); }
    // Every how many point indexes a mark is drawn: at least 1.
    int DrawEveryStep() const { return FDrawEvery < 1 ? 1 : FDrawEvery; }
    TSeriesMarksStyle GetStyle() const { return FStyle; }
    void SetStyle(TSeriesMarksStyle Value) { Store(FStyle, Value); }
    bool GetMultiLine() const { return FMultiLine; }
    void SetMultiLine(bool Value) { Store(FMultiLine, Value); }
    TAlignment GetTextAlign() const { return FTextAlign; }
    void SetTextAlign(TAlignment Value) { Store(FTextAlign, Value); }
    bool GetFontSeriesColor() const { return FFontSeriesColor; }
    void SetFontSeriesColor(bool Value) { Store(FFontSeriesColor, Value); }
    TColor GetBackColor() const { return GetColor(); }
    void SetBackColor(TColor Value) { SetColor(Value); }
    TMargins* GetMargins() const { return FMargins.get(); }
    void SetMargins(TMargins* Value) { FMargins->Assign(Value); }
    // Made on first read; nullptr frees them.
    TMarksCallout* GetCallout();
    bool HasCallout() const { return FCallout != nullptr; }
    void SetCallout(TMarksCallout* Value);
    TSeriesMarksSymbol* GetSymbol();
    bool HasSymbol() const { return FSymbol != nullptr; }
    void SetSymbol(TSeriesMarksSymbol* Value);
    int GetArrowLength() { return GetCallout()->GetLength(); }
    void SetArrowLength(int Value) { GetCallout()->SetLength(Value); }
    TChartPen* GetArrow() { return GetCallout()->GetArrow(); }
    void SetArrow(TChartPen* Value) { GetCallout()->SetArrow(Value); }

    TSeriesMarksPositions& Positions() { return FPositions; }
    const TSeriesMarksPositions& Positions() const { return FPositions; }
    TMarksItems& Items() { return FItems; }
    TMarksItem* Item(int Index) { return FItems.Get(Index); }
    // The point's own item when it has one, else the marks themselves.
    TSeriesMarkShape* MarkItem(int Index);

    // The position of point Index, made (empty) when it has none.
    TSeriesMarkPosition* UsePosition(int Index);
    // A custom stored position wins over Position; otherwise Position is stored.
    void UsePosition(int Index, TSeriesMarkPosition& Position);
    void ApplyArrowLength(TSeriesMarkPosition& Position);
    void InternalDraw(int Index, TColor Color, const String& Text, TSeriesMarkPosition& Position);
    void DrawItem(TSeriesMarkShape* Shape, TColor Color, const String& Text, TSeriesMarkPosition& Position);
    void DrawText(const TRect& R, const String& Text);
    // The canvas takes Shape's font; in a zoomed 3D view on a canvas without 3D text at the
    // view's zoom, so that the box measured with it holds the text drawn with it.
    void AssignFont(TCanvas3D* Canvas, TZuzCustomShape* Shape);
    // The mark's corner Q on the screen, kept at its offset from P.
    TPoint ConvertTo2D(TPoint P, TPoint Q);
    // The point whose mark lies under (X, Y), the last drawn first; -1 for none.
    int Clicked(int X, int Y);
    // Moves Position up (or down) off the marks of the points First .. ValueIndex-1.
    void AntiOverlap(int First, int ValueIndex, TSeriesMarkPosition& Position);
    int TextWidth(int ValueIndex);
    void ResetPositions();
    void Clear();

    // The chart of the series, and what removing or exchanging points means here: a point's
    // position and item go with it.
    void SetParentChart(ISeriesChart* Value);
    void DeletePoints(int Start, int Quantity = 1);
    // A point put in at Index: the positions and items of the points after it move with them.
    void InsertPoint(int Index);
    void ExchangePoints(int Index1, int Index2);
    // A new drawing of the chart starts: until their marks are drawn again, no point's mark
    // answers a click where it stood, nor pushes another mark aside.
    void ForgetDrawn() { FDrawn.clear(); }

    int ZPosition = 0;

protected:
    Owned<TZuzGradient> NewGradient() override;

private:
    template <class T>
    void Store(T& Field, T Value) {
        if (Field == Value) return;
        Field = Value;
        Repaint();
    }
    TRect Bounds2D(const TSeriesMarkPosition& P);
    bool Drawn(int Index) const {
        return Index >= 0 && Index < static_cast<int>(FDrawn.size()) &&
               FDrawn[static_cast<std::size_t>(Index)];
    }
    TCanvas3D* Canvas() const;
    TChartSeries* FSeries;
    int FAngle = 0;
    Owned<TMarksCallout> FCallout;
    bool FClip = false;
    int FDrawEvery = 1;
    TMarksItems FItems;
    Owned<TMargins> FMargins;
    TSeriesMarksStyle FStyle = smsLabel;
    bool FMultiLine = false;
    TSeriesMarksPositions FPositions;
    std::vector<char> FDrawn; // per point: its mark was drawn since the chart's drawing began
    Owned<TSeriesMarksSymbol> FSymbol;
    TAlignment FTextAlign = taCenter;
    bool FFontSeriesColor = false;
};
