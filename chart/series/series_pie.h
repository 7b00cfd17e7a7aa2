#pragma once
// The pie series: slices in the circle of TCircledSeries, their angles,
// exploded slices, small values grouped into one "Other" slice, several pies
// of a chart in a grid, the drawing order of 3D slices, donuts and partial
// pies, marks with legs, and the slice under the mouse.

#include "chart/series/series_circled.h"

#include <vector>

class TChartLegend;
class TPieSeries;

enum TMultiPie : std::uint8_t { mpAutomatic, mpDisabled };
template <>
const EnumInfo& EnumInfoOf<TMultiPie>();
enum TPieOtherStyle : std::uint8_t { poNone, poBelowPercent, poBelowValue };
template <>
const EnumInfo& EnumInfoOf<TPieOtherStyle>();

// One integer per slice; reading past the end gives 0, writing past it grows
// the list with zeros.
class TSliceValueList {
public:
    explicit TSliceValueList(TPieSeries* Owner) : FOwner(Owner) {}
    int Count() const { return static_cast<int>(FItems.size()); }
    int Get(int Index) const;
    int operator[](int Index) const { return Get(Index); }
    void Put(int Index, int Value);
    void Delete(int Index);
    void Exchange(int A, int B, int Total);
    void Clear() { FItems.clear(); }
    const std::vector<int>& Items() const { return FItems; }
    void Assign(const TSliceValueList& Source) { FItems = Source.FItems; }

private:
    TPieSeries* FOwner;
    std::vector<int> FItems;
};

// Groups the values below a threshold into one slice.
class TPieOtherSlice : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPieOtherSlice(TPieSeries* Owner = nullptr);
    ~TPieOtherSlice() override;
    void Assign(TPersistent* Source) override;

    TColor GetColor() const { return FColor; }
    void SetColor(TColor Value);
    // The legend of the grouped points, made on first read: hidden, on the
    // owner's chart, listing the owner's values. Writing nil frees it.
    TChartLegend* GetLegend();
    void SetLegend(TChartLegend* Value);
    // The legend when it was made, without making it.
    TChartLegend* ExistingLegend() const { return FLegend.get(); }
    bool HasLegend() const { return FLegend != nullptr; }
    TPieOtherStyle GetStyle() const { return FStyle; }
    void SetStyle(TPieOtherStyle Value);
    String GetText() const { return FText.empty() ? String(u"Other") : FText; }
    void SetText(const String& Value);
    bool IsTextStored() const { return !FText.empty(); }
    double GetValue() const { return FValue; }
    void SetValue(double Value);

private:
    void Changed();
    TPieSeries* FOwner;
    TColor FColor = clZuzColor;
    Owned<TChartLegend> FLegend;
    TPieOtherStyle FStyle = poNone;
    String FText;
    double FValue = 0;
};

class TPieMarks : public TPersistent {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }
    explicit TPieMarks(TPieSeries* Owner = nullptr) : FOwner(Owner) {}
    void Assign(TPersistent* Source) override;
    int GetLegSize() const { return FLegSize; }
    void SetLegSize(int Value);
    bool GetVertCenter() const { return FVertCenter; }
    void SetVertCenter(bool Value);

private:
    void Changed();
    TPieSeries* FOwner;
    int FLegSize = 0;
    bool FVertCenter = false;
};

// Start, middle and end of a slice in radians, before rotation.
struct TPieAngle {
    double StartAngle = 0, MidAngle = 0, EndAngle = 0;
};

class TPieSeries : public TCircledSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    // The X value of the Other point, and of the points grouped into it.
    static constexpr double OtherX = 2147483647.0;
    static constexpr double GroupedX = -1.0;

    explicit TPieSeries(TComponent* AOwner);
    ~TPieSeries() override;
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TPieSeriesEditor"; }
    void SetParentChart(ISeriesChart* Value) override;
    void DoBeforeDrawChart() override;
    void CalcZOrder() override;
    void CalcSelectionPos(int ValueIndex, int& X, int& Y) override;
    void ClearLists() override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void DoAfterDrawValues() override;
    void DoBeforeDrawValues() override;
    void DrawAllValues() override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    void DrawValue(int ValueIndex) override;
    bool MoreSameZOrder() const override { return false; }
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    void Clear() override;
    int CountLegendItems() const override;
    void Delete(int ValueIndex) override;
    using TChartSeries::Delete;
    int LegendToValueIndex(int LegendIndex) const override;
    double MaxXValue() const override;
    double MaxYValue() const override;
    double MinXValue() const override;
    double MinYValue() const override;
    int CalcXPos(int ValueIndex) const override;
    void CalcFirstLastVisibleIndex() override;
    int Clicked(int X, int Y) override;
    using TChartSeries::Clicked;
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void CheckOtherSeriesMarks() override {}
    void GalleryChanged3D(bool Is3D) override;
    void InitCustom3DOptions() override;
    void PrepareForGallery(bool IsEnabled) override;
    void WriteData(TStream* Stream) override;
    void CheckOrder() override;
    int NumSampleValues() const override { return 8; }
    void SwapValueIndex(int A, int B) override;

    // Properties.
    int GetAngleSize() const { return FAngleSize; }
    void SetAngleSize(int Value) { SetIntegerProperty(FAngleSize, Value); }
    bool GetAutoMarkPosition() const { return FAutoMarkPosition; }
    void SetAutoMarkPosition(bool Value) { SetBooleanProperty(FAutoMarkPosition, Value); }
    bool GetDark3D() const { return FDark3D; }
    void SetDark3D(bool Value) { SetBooleanProperty(FDark3D, Value); }
    int GetDarkPen() const { return FDarkPen; }
    void SetDarkPen(int Value) { SetIntegerProperty(FDarkPen, Value); }
    int GetDonutPercent() const { return FDonutPercent; }
    void SetDonutPercent(int Value) { SetIntegerProperty(FDonutPercent, Value); }
    int GetExplodeBiggest() const { return FExplodeBiggest; }
    void SetExplodeBiggest(int Value);
    TZuzGradient* GetGradient() const { return GetCircleGradient(); }
    void SetGradient(TZuzGradient* Value) { SetCircleGradient(Value); }
    int GetGradientBright() const { return FGradientBright; }
    void SetGradientBright(int Value);
    TMultiPie GetMultiPie() const { return FMultiPie; }
    void SetMultiPie(TMultiPie Value);
    TPieOtherSlice* GetOtherSlice() const { return FOtherSlice.get(); }
    void SetOtherSlice(TPieOtherSlice* Value) { FOtherSlice->Assign(Value); }
    TPieMarks* GetPieMarks() const { return FPieMarks.get(); }
    void SetPieMarks(TPieMarks* Value) { FPieMarks->Assign(Value); }
    TChartPen* GetPiePen() const { return GetPen(); }
    void SetPiePen(TChartPen* Value) { SetPen(Value); }
    TChartValueList* GetPieValues() const { return GetYValues(); }
    void SetPieValues(TChartValueList* Value) { SetYValues(Value); }
    bool GetUsePatterns() const { return FUsePatterns; }
    void SetUsePatterns(bool Value) { SetBooleanProperty(FUsePatterns, Value); }
    TSliceValueList& SliceExplodePercents() { return FExplode; }
    TSliceValueList& SliceDepthPercents() { return FDepth; }

    int AddPie(double Value, const String& Label = {}, TColor Color = clDefault) {
        return Add(Value, Label, Color);
    }
    int PieCount() const;
    bool BelongsToOtherSlice(int ValueIndex) const { return GetxValue(ValueIndex) == GroupedX; }
    const std::vector<TPieAngle>& Angles() const { return FAngles; }
    // Builds the angle table (when empty).
    void CalcAngles();
    void CalcExplodeBiggest();
    void DrawShadow(bool Exploded);
    // Whether the far ring of the pie lies above its face on the screen.
    bool DepthRunsUp() const;
    void RaiseHangingPie();
    void CalcExplodedRadius(int ValueIndex, int& AXRadius, int& AYRadius) const;
    void CalcExplodedOffset(int ValueIndex, int& OffsetX, int& OffsetY) const;
    int CalcClickedPie(int X, int Y, bool Exploded);
    // Below a few pixels across either way the circle is not drawn at all.
    bool CircleDrawn() const { return CircleWidth >= 5 && CircleHeight >= 5; }
    TBrushStyle SliceBrushStyle(int ValueIndex) const;
    int SliceEndZ(int ValueIndex) const;
    // The key of a slice in the 3D drawing order: smaller first.
    double SliceOrderKey(int ValueIndex) const;
    double BackAngle() const;
    // The hole's radius in percent of the pie's, and as a part of it: 0 without one, never past
    // the rim.
    int HolePercent() const;
    double HoleFraction() const;
    void DisableRotation();
    // The series' gradient ending in a slice's colour, for drawing that slice: a copy, so
    // drawing leaves the stored gradient as the operator set it.
    TZuzGradient* SliceGradient(TColor Color);
    virtual void DrawPie(int ValueIndex);
    // Whether the radial faces of 3D slices are drawn (set by each draw).
    bool SliceSides = false;

private:
    void PreparePiePen(int ValueIndex);
    void RemoveOtherSlice();
    void DrawOtherLegend();
    bool FullRotation() const;
    TCanvas3D* CanvasOrNull() const { return Canvas(); }

    int FAngleSize = 360;
    bool FAutoMarkPosition = true;
    bool FDark3D = true;
    int FDarkPen = 0;
    int FDonutPercent = 0;
    int FExplodeBiggest = 0;
    int FGradientBright = 0;
    TMultiPie FMultiPie = mpAutomatic;
    Owned<TPieOtherSlice> FOtherSlice;
    Owned<TPieMarks> FPieMarks;
    bool FUsePatterns = false;
    TSliceValueList FExplode{this};
    // The slice last exploded as the biggest, -1 for none.
    int FBiggestExploded = -1;
    TSliceValueList FDepth{this};
    std::vector<TPieAngle> FAngles;
    // The slices as the last draw laid them, back to front, and whether each showed its cut faces:
    // a click finds the one drawn over the others.
    struct TDrawnSlice {
        int Index;
        bool Sides;
    };
    std::vector<TDrawnSlice> FDrawn;
    // While the Other slice's legend draws, the legend lists the grouped points.
    bool FDrawingOtherLegend = false;
    TRect FSavedChartRect;
    bool FChartRectSaved = false;
    Owned<TZuzGradient> FSliceGradient;
};
