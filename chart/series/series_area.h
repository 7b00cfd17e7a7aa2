#pragma once
// The area series: a line-type series that fills the space between its line
// and an origin, stacking within its stack group; and the same along the
// vertical axis.

#include "chart/series/series.h"

enum TMultiArea : std::uint8_t { maNone, maStacked, maStacked100 };
template <>
const EnumInfo& EnumInfoOf<TMultiArea>();

class TAreaSeries : public TCustomSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TAreaSeries(TComponent* AOwner);
    void Assign(TPersistent* Source) override;
    String GetEditorClass() const override { return u"TAreaSeriesEditor"; }
    void CalcZOrder() override;
    void CreateSubGallery(const std::function<void(const String&)>& AddSubChart) override;
    void DrawLegendShape(int ValueIndex, const TRect& Rect) override;
    void PrepareLegendCanvas(int ValueIndex, TColor& BackColor, TBrushStyle& BrushStyle) override;
    void SetSubGallery(TChartSeries* Series, int Index) override;
    double MaxXValue() const override;
    double MaxYValue() const override;
    double MinXValue() const override;
    double MinYValue() const override;
    bool DrawSeriesForward(int ValueIndex) const override;
    bool SameClassOrigin(const TCustomSeries* Series) const override;
    int GetOriginPos(int ValueIndex) const override;
    void GalleryChanged3D(bool Is3D) override;
    void PrepareForGallery(bool IsEnabled) override;

    TMultiArea GetMultiArea() const;
    void SetMultiArea(TMultiArea Value);
    double GetYOrigin() const { return FYOrigin; }
    void SetYOrigin(double Value) { SetDoubleProperty(FYOrigin, Value); }
    int GetStackGroup() const { return FStackGroup; }
    void SetStackGroup(int Value) { SetIntegerProperty(FStackGroup, Value); }
    bool GetUseYOrigin() const { return FUseYOrigin; }
    void SetUseYOrigin(bool Value) { SetBooleanProperty(FUseYOrigin, Value); }

private:
    // The core's maximum or minimum of the value axis widened to the origin.
    double WithOrigin(double Value, bool IsMax) const;
    void ApplyGalleryFormat();
    double FYOrigin = 0;
    int FStackGroup = 0;
    bool FUseYOrigin = false;
};

class THorizAreaSeries : public TAreaSeries {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit THorizAreaSeries(TComponent* AOwner);
    void DrawMark(int ValueIndex, const String& Text, TSeriesMarkPosition& Position) override;
    int NumSampleValues() const override { return 10; }
};
