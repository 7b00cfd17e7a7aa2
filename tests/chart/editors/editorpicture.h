#pragma once
// A chart in a window for the editor dialogs to open over: three line series under a title,
// with a legend, their points an hour apart (on a date axis if asked). Snapshot keeps what the
// screen shows of the window with the dialog on top as a picture for a person to look at.

#include "chart/engine/chart.h"
#include "chart/engine/charttitle.h"
#include "chart/series/series.h"
#include "platform/core/sysutils.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/formtest.h"
#include "tests/support/guiprobe.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

class ChartBehind {
public:
    explicit ChartBehind(bool Dates = false) {
        // The whole screen, so that a dialog centred on it or on the window lies on the chart.
        host->SetBounds(0, 0, Screen->GetWidth(), Screen->GetHeight());
        host->SetCaption(u"Moltren");
        chart = Create<TChart>(host.get());
        chart->SetParent(host.get());
        chart->SetAlign(alClient);
        chart->SetView3D(false);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
        const TColor colours[] = {clRed, clGreen, clBlue};
        for (int k = 0; k < 3; ++k) {
            auto* s = Create<TLineSeries>(chart);
            chart->AddSeries(s);
            s->SetSeriesColor(colours[k]);
            s->SetTitle(u"Значение" + IntToStr(k + 1));
            s->GetLinePen()->SetWidth(2);
            s->GetXValues()->SetDateTime(Dates);
            const double start = Dates ? EncodeDate(2026, 12, 1) : 0, step = Dates ? 1 / 24.0 : 1;
            for (int h = 0; h < 48; ++h)
                s->AddXY(start + h * step, 10 * k + 4 * std::sin(h * 2 * M_PI / 24 + k));
            series[k] = s;
        }
        host->Show();
    }
    // Saves the window with the dialog over it (the dialog at its place on the screen).
    void Snapshot(TCustomForm& Dialog, const std::string& Name) {
        probe::ProcessEvents();
        const TPoint d = probe::ScreenOrigin(Dialog), h = probe::ScreenOrigin(*host.get());
        const TPoint at(d.X - h.X, d.Y - h.Y);
        probe::Picture shot = probe::Overlay(probe::Grab(*host.get()), probe::Grab(Dialog), at);
        EXPECT_TRUE(KeepPicture(shot, Name));
        EXPECT_GT(shot.Width(), Dialog.GetWidth());
        EXPECT_LT(shot.Darkest(), 100); // texts are there
    }

    TestForm host;
    TChart* chart = nullptr;
    TLineSeries* series[3] = {};
};
