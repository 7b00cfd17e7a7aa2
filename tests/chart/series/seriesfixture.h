#pragma once
// Shared set-up of the bar, pie and area tests: the units the series stand on,
// a white flat chart, drawing it into a bitmap, and pixels of that bitmap.

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "platform/gui/forms.h"
#include "tests/chart/series/chartunits.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>
#include <string>

class SeriesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartChartUnits();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        chart.reset(Create<TChart>(nullptr));
        chart->SetBounds(0, 0, W, H);
        chart->SetBevelOuter(bvNone);
        chart->SetView3D(false);
        chart->SetColor(clWhite);
    }
    void TearDown() override { chart.reset(); }

    template <class S>
    S* AddSeries(std::initializer_list<double> Values, TColor Color = clRed) {
        auto* s = Create<S>(chart.get());
        chart->AddSeries(s);
        s->SetSeriesColor(Color);
        s->GetMarks()->SetVisible(false);
        for (double v : Values) s->Add(v);
        return s;
    }
    // Draws the chart into `out` (its layout is then the one the series use).
    void Draw() {
        out.SetSize(W, H);
        chart->Draw(out.GetCanvas(), TRect(0, 0, W, H));
    }
    probe::Rgb Pixel(int X, int Y) { return probe::Pixel(out, X, Y); }
    static probe::Rgb Rgb(TColor C) {
        return {static_cast<int>(C & 0xFF), static_cast<int>((C >> 8) & 0xFF),
                static_cast<int>((C >> 16) & 0xFF)};
    }
    void SavePicture(const char* Name) { KeepPicture(probe::Grab(out), Name); }
    TChartAxis* Bottom() { return chart->GetBottomAxis(); }
    TChartAxis* Left() { return chart->GetLeftAxis(); }

    static constexpr int W = 400, H = 300;
    Owned<TChart> chart;
    TBitmap out;
};
