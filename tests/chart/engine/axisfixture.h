#pragma once
// The axis tests' start: a chart with its six axes under English format
// settings (put back afterwards), series on it, and the bottom axis laid out
// over a range on given pixels.

#include "fakeaxischart.h"

#include <gtest/gtest.h>

class AxisFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite() { StartEngineUnits(); }
    void SetUp() override {
        saved = FormatSettings;
        FormatSettings = EnglishFormatSettings();
        chart = MakeOwned<TAxisTestChart>(nullptr);
    }
    void TearDown() override { FormatSettings = saved; }
    TFormatSettings saved;
    TChartSeries* NewSeries() {
        auto* s = Create<TChartSeries>(chart.get());
        s->SetParentChart(chart.get());
        return s;
    }
    // The bottom axis over [Min, Max] on the pixels From..To.
    TChartAxis* Bottom(double Min, double Max, int From = 100, int To = 500) {
        TChartAxis* a = chart->Bottom;
        a->IStartPos = From;
        a->IEndPos = To;
        a->IMinimum = Min;
        a->IMaximum = Max;
        a->RecalcSizeCenter();
        return a;
    }
    Owned<TAxisTestChart> chart;
};
