#pragma once
// What the legend, title and wall tests share: a chart whose rectangle starts as the whole
// control and is kept as the titles and legend leave it, stand-in series, and drawing.

#include "chart/engine/chart.h"
#include "charttestseries.h"
#include "fakechart.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

class TRectChart : public TChart {
public:
    using TChart::TChart;
    void CalcWallsRect() override {
        AfterLegend = GetChartRect();
        TChart::CalcWallsRect();
    }
    TRect AfterLegend;
};

class FrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartEngineUnits();
        GdiSetTextAntialiasing(false);
    }
    static Owned<TRectChart> NewChart(int W = 400, int H = 300) {
        Owned<TRectChart> c(Create<TRectChart>(nullptr));
        c->SetBounds(0, 0, W, H);
        c->SetBevelOuter(bvNone);
        c->SetView3D(false);
        c->SetColor(clWhite);
        c->SetMarginUnits(muPixels);
        for (int i = 0; i < 4; ++i) c->SetMargin(i, 0);
        return c;
    }
    static TPolySeries* AddSeries(TCustomChart* Chart, const String& Title, int Points = 3) {
        auto* s = Create<TPolySeries>(nullptr);
        Chart->AddSeries(s);
        s->SetTitle(Title);
        for (int i = 0; i < Points; ++i) s->AddXY(i, i + 1);
        return s;
    }
    static void Draw(TCustomChart* Chart, TBitmap& Out) {
        Out.SetSize(Chart->GetWidth(), Chart->GetHeight());
        Chart->Draw(Out.GetCanvas(), TRect(0, 0, Chart->GetWidth(), Chart->GetHeight()));
    }
    static void Draw(TCustomChart* Chart) {
        TBitmap out;
        Draw(Chart, out);
    }
    static probe::Rgb Rgb(TColor Color) {
        const auto c = static_cast<COLORREF>(ColorToRGB(Color));
        return {GetRValue(c), GetGValue(c), GetBValue(c)};
    }
    // Pixels of Colour in the columns [X0, X1) of a picture drawn in its right part.
    static int CountColour(TBitmap& Out, probe::Rgb Colour, int X0, int X1) {
        int n = 0;
        for (int y = 0; y < Out.GetHeight(); ++y)
            for (int x = X0; x < X1; ++x)
                if (probe::Pixel(Out, x, y) == Colour) ++n;
        return n;
    }
};
