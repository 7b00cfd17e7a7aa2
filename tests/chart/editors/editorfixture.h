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
#include "tests/chart/editors/editorpicture.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/support/formtest.h"

#include <cstdlib>
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

    TFormatSettings savedSettings;
};
