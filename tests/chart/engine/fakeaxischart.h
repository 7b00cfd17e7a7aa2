#pragma once
// A chart with the six standard axes for the axis tests: a chart rectangle and
// depth of its own, series min/max over the series on an axis, an optional
// real canvas, and fixed text metrics (7 pixels a character) when it has none.

#include "chart/canvas/zuzprocs.h"
#include "chart/engine/chartaxis.h"
#include "fakechart.h"

#include <algorithm>
#include <cmath>

class TAxisTestChart : public TFakeChart, public IAxisChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TAxisTestChart(TComponent* AOwner) : TFakeChart(AOwner) {
        Bottom = Create<TChartAxis>(static_cast<IAxisChart*>(this));
        Bottom->SetHorizontal(true);
        Top = Create<TChartAxis>(static_cast<IAxisChart*>(this));
        Top->SetHorizontal(true);
        Top->SetOtherSide(true);
        Top->SetZPosition(100);
        Left = Create<TChartAxis>(static_cast<IAxisChart*>(this));
        Left->GetTitle()->SetAngle(90);
        Right = Create<TChartAxis>(static_cast<IAxisChart*>(this));
        Right->GetTitle()->SetAngle(270);
        Right->SetOtherSide(true);
        Right->SetZPosition(100);
        Depth = Create<TChartDepthAxis>(static_cast<IAxisChart*>(this));
        Depth->SetOtherSide(true);
        DepthTop = Create<TChartDepthAxis>(static_cast<IAxisChart*>(this));
        Repaints = 0;
    }
    void BeforeDestruction() override {
        Axes.Clear();
        TFakeChart::BeforeDestruction();
    }

    // The series side.
    TChartAxis* GetTopAxis() override { return Top; }
    TChartAxis* GetBottomAxis() override { return Bottom; }
    TChartAxis* GetLeftAxis() override { return Left; }
    TChartAxis* GetRightAxis() override { return Right; }
    bool IsHorizontalAxis(const TChartAxis* Axis) const override { return Axis->GetHorizontal(); }
    int CustomAxisIndex(const TChartAxis* Axis) const override {
        for (int t = 0; t < CustomAxes.GetCount(); ++t)
            if (CustomAxes.Get(t) == Axis) return t;
        return -1;
    }
    TChartAxis* CustomAxis(int Index) override {
        return Index >= 0 && Index < CustomAxes.GetCount() ? CustomAxes.Get(Index) : nullptr;
    }
    void Invalidate() override { ++Repaints; }

    // The axis side.
    TComponent* AxisChartComponent() override { return this; }
    TChartAxes* GetAxes() override { return &Axes; }
    TChartCustomAxes* GetCustomAxes() override { return &CustomAxes; }
    TChartAxis* GetDepthAxis() override { return Depth; }
    TChartAxis* GetDepthTopAxis() override { return DepthTop; }
    bool GetAxisBehind() const override { return AxisBehind; }
    void SetAxisBehind(bool Value) override { AxisBehind = Value; }
    bool GetAxisVisible() const override { return AxisVisible; }
    void SetAxisVisible(bool Value) override { AxisVisible = Value; }
    bool IsAxisVisible(TChartAxis* Axis) override { return AxisVisible && Axis->GetVisible(); }
    int SeriesCount() const override { return FSeries.Count(); }
    TChartSeries* GetSeries(int Index) const override { return FSeries.Get(Index); }
    double InternalMinMax(TChartAxis* Axis, bool IsMin, bool IsX) override {
        double result = 0;
        bool first = true;
        for (TChartSeries* s : FSeries) {
            if (!s->GetActive() || !s->AssociatedToAxis(Axis) || s->Count() == 0) continue;
            const double v =
                IsX ? (IsMin ? s->MinXValue() : s->MaxXValue()) : (IsMin ? s->MinYValue() : s->MaxYValue());
            result = first ? v : (IsMin ? std::min(result, v) : std::max(result, v));
            first = false;
        }
        return result;
    }
    TRect GetChartRect() const override { return ChartRect; }
    int GetChartWidth() const override { return ChartRect.Width(); }
    int GetChartHeight() const override { return ChartRect.Height(); }
    int GetWidth3D() const override { return Width3D; }
    bool GetView3D() const override { return View3D; }
    TView3DOptions* GetView3DOptions() override { return nullptr; }
    int CalcWallSize(TChartAxis*) override { return WallSize; }
    TCanvas3D* GetCanvas() override { return Canvas; }
    TAxisOnGetLabel& OnGetAxisLabel() override { return GetAxisLabel; }
    TAxisOnGetNextLabel& OnGetNextAxisLabel() override { return GetNextAxisLabel; }
    int MultiLineTextWidth(const String& Text, int& NumLines) override {
        ++Measured;
        if (ThrowAtMeasure >= 0 && Measured > ThrowAtMeasure) throw Exception(u"measure failed");
        if (Canvas && !FixedMetrics) return IAxisChart::MultiLineTextWidth(Text, NumLines);
        NumLines = 1;
        std::size_t widest = 0, run = 0;
        for (const Char c : Text) {
            if (c == ZuzLineSeparator) {
                ++NumLines;
                run = 0;
            } else
                widest = std::max(widest, ++run);
        }
        return static_cast<int>(widest) * CharWidth;
    }

    // Places every standard axis on the chart rectangle.
    void Layout() {
        for (TChartAxis* a : Axes) a->InternalCalcPositions();
    }

    TChartAxes Axes{this};
    TChartCustomAxes CustomAxes{this, this};
    TChartAxis *Bottom, *Top, *Left, *Right, *Depth, *DepthTop;
    TRect ChartRect{100, 50, 500, 450};
    int Width3D = 0, WallSize = 0, CharWidth = 7, Measured = 0;
    bool View3D = false, AxisBehind = true, AxisVisible = true;
    bool FixedMetrics = false;
    int ThrowAtMeasure = -1; // the measure that fails, counted as Measured
    TCanvas3D* Canvas = nullptr;
    TAxisOnGetLabel GetAxisLabel;
    TAxisOnGetNextLabel GetNextAxisLabel;
};

inline const ClassInfo& TAxisTestChart::StaticClass() {
    static const ClassInfo info = MakeClassInfo<TAxisTestChart>("TAxisTestChart", &TFakeChart::StaticClass());
    return info;
}
