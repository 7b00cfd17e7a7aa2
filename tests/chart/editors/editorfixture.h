#pragma once
// What the small editor dialogs' tests share: the units they need started once, locale
// settings switched for one test, and a window with a real chart for the dialogs' pictures.
// Their modal dialogs are answered through the shared modal driver.

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/editors/zuzaxisincr.h"
#include "chart/editors/zuzaxmaxmin.h"
#include "chart/editors/zuzformatting.h"
#include "chart/editors/zuzmargins.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/charttitle.h"
#include "chart/series/series.h"
#include "platform/core/sysutils.h"
#include "platform/win32/gdi.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/support/formtest.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

namespace editortest {

// The settings of the machine's own locale named Name, as the program takes them at start-up.
inline TFormatSettings LocaleSettings(const char* Name) {
    const char* old = std::getenv("LC_ALL");
    const std::string saved = old ? old : "";
    setenv("LC_ALL", Name, 1);
    TFormatSettings fs = SystemFormatSettings();
    if (old)
        setenv("LC_ALL", saved.c_str(), 1);
    else
        unsetenv("LC_ALL");
    return fs;
}

struct Locale {
    const char* name; // the test's name for it
    const char* system;
};
inline const Locale kLocales[] = {{"C", "C.UTF-8"}, {"Russian", "ru_RU.UTF-8"}};

} // namespace editortest

class EditorTest : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        StartChartEditorUnits();
        GdiSetTextAntialiasing(false);
    }
    void SetUp() override {
        FormTest::SetUp();
        savedSettings = FormatSettings;
    }
    void TearDown() override {
        FormatSettings = savedSettings;
        FormTest::TearDown();
    }
    void UseLocale(const char* SystemName) { FormatSettings = editortest::LocaleSettings(SystemName); }

    // The message boxes shown so far (an exception that reached the application shows one).
    int Messages() const {
        int n = 0;
        for (const TDialogRequest& r : requests)
            if (r.Kind == TDialogKind::MessageBox || r.Kind == TDialogKind::MessageDlg) ++n;
        return n;
    }

    // A window with a line chart of two days of hourly readings on a date axis, titled in
    // Russian, as the dialogs' pictures show behind them.
    Owned<TForm> NewChartWindow() {
        Owned<TForm> host(Create<TForm>(nullptr, TCustomForm::NewTag{}));
        // The whole screen, so that a dialog centred on it or on the window lies on the chart.
        host->SetBounds(0, 0, Screen->GetWidth(), Screen->GetHeight());
        host->SetCaption(u"График 1");
        chart = Create<TChart>(host.get());
        chart->SetParent(host.get());
        chart->SetAlign(alClient);
        chart->SetView3D(false);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
        chart->GetBottomAxis()->SetDateTimeFormat(u"dd.mm hh:nn");
        const TDateTime start = EncodeDate(2026, 12, 1);
        const struct {
            const char16_t* title;
            TColor color;
            double base;
        } lines[] = {{u"Температура, °C", clRed, 20}, {u"Давление, кПа", clGreen, 60}};
        for (const auto& l : lines) {
            auto* s = Create<TLineSeries>(host.get());
            chart->AddSeries(s);
            s->SetTitle(l.title);
            s->SetSeriesColor(l.color);
            s->GetXValues()->SetDateTime(true);
            for (int h = 0; h < 48; ++h)
                s->AddXY(start + h / 24.0, l.base + 3 * ((h % 24) < 12 ? h % 12 : 12 - h % 12));
        }
        host->Show();
        probe::ProcessEvents();
        return host;
    }

    // Saves what the screen shows of the window (the dialog on top included) for a person.
    static void SavePicture(const TControl& Window, const char* Name) {
        const probe::Picture picture = probe::GrabScreen(Window);
        const char* dir = std::getenv("MOLTREN_PICTURE_DIR");
        const std::filesystem::path out =
            std::filesystem::path(dir ? dir : ::testing::TempDir()) / (std::string(Name) + ".png");
        EXPECT_TRUE(picture.SavePng(out));
        EXPECT_LT(picture.Darkest(), 100); // texts are there
    }

    TChart* chart = nullptr;
    TFormatSettings savedSettings;
};
