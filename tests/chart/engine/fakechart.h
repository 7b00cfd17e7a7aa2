#pragma once
// A chart for the series tests: it keeps a series list, counts repaints and
// series events, and streams its series as children.

#include "chart/engine/chartseries.h"
#include "chart/engine/zuzfunction.h"

#include <vector>

class TFakeChart : public TComponent, public ISeriesChart {
public:
    static const ClassInfo& StaticClass();
    const ClassInfo& ClassType() const override { return StaticClass(); }

    explicit TFakeChart(TComponent* AOwner) : TComponent(AOwner) {}
    void BeforeDestruction() override {
        IncludeState(csDestroying);
        // Series made by the chart are freed with it; the others just leave.
        while (FSeries.Count() > 0) FSeries.Get(FSeries.Count() - 1)->SetParentChart(nullptr);
        Tools.Clear();
        TComponent::BeforeDestruction();
    }

    void GetChildren(TGetChildProc Proc, TComponent* Root) override {
        for (TChartSeries* s : FSeries) Proc(s);
    }

    TComponent* ChartComponent() override { return this; }
    bool ChartDestroying() const override { return GetComponentState().Contains(csDestroying); }
    void InternalAddSeries(TCustomChartSeries* Series) override {
        auto* s = dynamic_cast<TChartSeries*>(Series);
        if (!FSeries.Contains(s)) FSeries.Add(s);
        s->Added();
        Invalidate();
    }
    void RemoveSeries(TCustomChartSeries* Series) override {
        FSeries.Remove(dynamic_cast<TChartSeries*>(Series));
        Series->Removed();
        Invalidate();
    }
    int SeriesIndexOf(const TCustomChartSeries* Series) const override {
        return FSeries.IndexOf(const_cast<TChartSeries*>(dynamic_cast<const TChartSeries*>(Series)));
    }
    void Invalidate() override { ++Repaints; }
    void BroadcastSeriesEvent(TCustomChartSeries* Series, TChartSeriesEvent Event) override {
        Events.push_back(Event);
    }
    TColor GetFreeSeriesColor(bool, TChartSeries*) override {
        return static_cast<TColor>(0x0000FF + FSeries.Count());
    }
    TColor GetDefaultColor(int Index) override { return static_cast<TColor>(0x100 + Index); }
    TChartAxis* GetTopAxis() override { return nullptr; }
    TChartAxis* GetBottomAxis() override { return nullptr; }
    TChartAxis* GetLeftAxis() override { return nullptr; }
    TChartAxis* GetRightAxis() override { return nullptr; }
    bool IsHorizontalAxis(const TChartAxis*) const override { return false; }
    int CustomAxisIndex(const TChartAxis*) const override { return -1; }
    TChartAxis* CustomAxis(int) override { return nullptr; }
    int GetMaxValuesCount() const override { return 0; }
    double MinXValue(TChartAxis*) override { return 0; }
    double MaxXValue(TChartAxis*) override { return 0; }
    double MinYValue(TChartAxis*) override { return 0; }
    double MaxYValue(TChartAxis*) override { return 0; }

    int SeriesCount() const override { return FSeries.Count(); }
    TChartSeries* GetSeries(int Index) const override { return FSeries.Get(Index); }
    void ExchangeSeries(int Index1, int Index2) override {
        FSeries.Exchange(Index1, Index2);
        Events.push_back(seSwap);
    }
    TChartTools* GetTools() override { return &Tools; }
    void SetColorPalette(std::span<const TColor> Colors) override {
        Palette.assign(Colors.begin(), Colors.end());
    }
    void ColorPaletteChanged() override { ++PaletteChanges; }
    void StoreColorPaletteIndex(int Index) override { PaletteIndex = Index; }

    TCanvas3D* GetCanvas() override { return Canvas; }
    bool GetView3D() const override { return View3D; }
    bool ApplyZOrder() const override { return ZOrderApplied; }
    int GetMaxZOrder() const override { return MaxZOrder; }
    void SetMaxZOrder(int Value) override { MaxZOrder = Value; }
    int SeriesDepth() const override { return SlotDepth; }
    int GetMaxPointsPerPage() const override { return PointsPerPage; }
    int GetPage() const override { return Page; }
    void SetChartCursor(TCursor Value) override { Cursor = Value; }
    String FormattedValueLegend(TChartSeries*, int) override { return LegendText; }

    TChartSeriesList FSeries{this};
    TChartTools Tools{this};
    TCanvas3D* Canvas = nullptr;
    bool View3D = false;
    bool ZOrderApplied = true;
    int MaxZOrder = -1;
    int SlotDepth = 0;
    int PointsPerPage = 0;
    int Page = 1;
    TCursor Cursor = crDefault;
    String LegendText;
    std::vector<TColor> Palette;
    int PaletteChanges = 0;
    int PaletteIndex = 0;
    int Repaints = 0;
    std::vector<TChartSeriesEvent> Events;
};

inline const ClassInfo& TFakeChart::StaticClass() {
    static const ClassInfo info = MakeClassInfo<TFakeChart>("TFakeChart", &TComponent::StaticClass());
    return info;
}

// Starts the units the engine stands on, once.
void StartEngineUnits();
