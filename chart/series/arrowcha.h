#pragma once
// The arrow series: one arrow per point, from (X, Y) to (EndX, EndY).

#include "chart/series/series.h"

class TArrowSeries : public TPointSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TArrowSeries(TComponent* AOwner);
    String GetEditorClass() const override { return u"TArrowSeriesEditor"; }

    // The new arrow's index.
    int AddArrow(double X0, double Y0, double X1, double Y1, const String& Label = {},
                 TColor Color = clZuzColor);
    // The arrow's start and end pixels.
    void GetArrowPoints(int ValueIndex, TPoint& From, TPoint& To) const;

    TChartValueList* GetEndXValues() const { return FEndXValues; }
    void SetEndXValues(TChartValueList* Value) { SetChartValueList(FEndXValues, Value); }
    TChartValueList* GetEndYValues() const { return FEndYValues; }
    void SetEndYValues(TChartValueList* Value) { SetChartValueList(FEndYValues, Value); }
    TChartValueList* GetStartXValues() const { return GetXValues(); }
    void SetStartXValues(TChartValueList* Value) { SetXValues(Value); }
    TChartValueList* GetStartYValues() const { return GetYValues(); }
    void SetStartYValues(TChartValueList* Value) { SetYValues(Value); }
    int GetArrowPercent() const { return FArrowPercent; }
    void SetArrowPercent(int Value) { SetIntegerProperty(FArrowPercent, Value); }
    // The head's size is the pointer's.
    int GetArrowWidth() const { return GetPointer()->GetHorizSize(); }
    void SetArrowWidth(int Value) { GetPointer()->SetHorizSize(Value); }
    int GetArrowHeight() const { return GetPointer()->GetVertSize(); }
    void SetArrowHeight(int Value) { GetPointer()->SetVertSize(Value); }

    void DrawValue(int ValueIndex) override;
    double MaxXValue() const override;
    double MinXValue() const override;
    double MaxYValue() const override;
    double MinYValue() const override;
    int Clicked(int X, int Y) override;
    using TChartSeries::Clicked;
    bool CanDoExtra() const override { return false; }
    void AddSampleValues(int NumValues, bool OnlyMandatory = false) override;
    void PrepareForGallery(bool IsEnabled) override;
    bool IsValidSourceOf(TChartSeries* Series) const override;

private:
    TChartValueList* FEndXValues;
    TChartValueList* FEndYValues;
    int FArrowPercent = 50;
};

// The arrow series in the series registry, and out of it.
void ArrowChaInitialization();
void ArrowChaFinalization();
