#pragma once
// The bubble series: a circle per point whose radius, in the vertical axis'
// units, is a third value.

#include "chart/series/series.h"

class TBubbleSeries : public TPointSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TBubbleSeries(TComponent* AOwner);
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TBubbleSeriesEditor"; }

    int AddBubble(double X, double Y, double Radius, const String& Label = {}, TColor Color = clZuzColor);

    TChartValueList* GetRadiusValues() const { return FRadiusValues; }
    void SetRadiusValues(TChartValueList* Value) { SetChartValueList(FRadiusValues, Value); }
    bool GetSquared() const { return FSquared; }
    void SetSquared(bool Value) { SetBooleanProperty(FSquared, Value); }

    void PreparePointer(int ValueIndex) override;
    void DrawValue(int ValueIndex) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    bool IsPointInChartRect(int ValueIndex) const override;
    double MaxYValue() const override;
    double MinYValue() const override;
    double MaxZValue() const override;
    double MinZValue() const override;
    bool ClickedPointer(int ValueIndex, int PointX, int PointY, int X, int Y) override;
    TRect PointerBox(int ValueIndex, int PointX, int PointY) override;
    TZuzGradient* GetGradient() const override;
    int NumSampleValues() const override { return 8; }
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void PrepareForGallery(bool IsEnabled) override;
    bool IsValidSourceOf(TChartSeries* Series) const override;

private:
    // The pointer's half-sizes in pixels for the point's radius.
    void PointerSizes(int ValueIndex, int& HorizSize, int& VertSize) const;
    void ApplyPointerSizes(int ValueIndex) const;
    TChartValueList* FRadiusValues;
    bool FSquared = true;
};

void BubbleChInitialization();
void BubbleChFinalization();
