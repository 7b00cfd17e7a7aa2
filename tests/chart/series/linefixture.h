#pragma once
// Shared set-up of the line-type series tests: a white 2D chart of 220 x 170
// without bevels whose axes run 0..10 both ways, so a value maps to a pixel
// through the axes, and pixel probes on the drawn picture.

#include "chart/canvas/zuzconst.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series.h"
#include "platform/gui/forms.h"
#include "platform/win32/gdi.h"
#include "tests/chart/series/chartunits.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

class LineTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        StartChartUnits();
        GdiSetTextAntialiasing(false);
    }
    // The chart the test draws on (a test may want one it can paint).
    virtual TChart* NewChart() { return Create<TChart>(nullptr); }
    void SetUp() override {
        chart.reset(NewChart());
        chart->SetBounds(0, 0, 220, 170);
        chart->SetBevelOuter(bvNone);
        chart->SetView3D(false);
        chart->SetColor(clWhite);
        chart->GetBottomAxis()->SetMinMax(0, 10);
        chart->GetLeftAxis()->SetMinMax(0, 10);
    }
    template <class S = TLineSeries>
    S* Add(std::initializer_list<std::pair<double, double>> Points, TColor Color = clRed) {
        auto* s = Create<S>(chart.get());
        chart->AddSeries(s);
        s->SetSeriesColor(Color);
        for (auto [x, y] : Points) s->AddXY(x, y);
        return s;
    }
    void Draw() {
        out.SetSize(chart->GetWidth(), chart->GetHeight());
        chart->Draw(out.GetCanvas(), TRect(0, 0, chart->GetWidth(), chart->GetHeight()));
    }
    // The pixel of a value pair, through the axes as last drawn.
    TPoint At(double X, double Y) {
        return {chart->GetBottomAxis()->CalcXPosValue(X), chart->GetLeftAxis()->CalcYPosValue(Y)};
    }
    probe::Rgb Pixel(TPoint P) { return probe::Pixel(out, P.X, P.Y); }
    bool Is(TPoint P, TColor Color) {
        const auto c = static_cast<COLORREF>(ColorToRGB(Color));
        return Pixel(P) == probe::Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
    }
    // Whether any pixel within Radius of P has Color.
    bool Near(TPoint P, TColor Color, int Radius = 1) {
        for (int dy = -Radius; dy <= Radius; ++dy)
            for (int dx = -Radius; dx <= Radius; ++dx)
                if (Is({P.X + dx, P.Y + dy}, Color)) return true;
        return false;
    }
    static TPoint Mid(TPoint A, TPoint B) { return {(A.X + B.X) / 2, (A.Y + B.Y) / 2}; }

    Owned<TChart> chart;
    TBitmap out;
};
