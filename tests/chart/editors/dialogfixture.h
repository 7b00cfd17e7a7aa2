#pragma once
// Shared set-up of the editor dialogs' tests: the chart library's units started once, a form
// holding a real chart with two line series, and pictures of forms saved under
// MOLTREN_PICTURE_DIR (else the tests' pictures folder).

#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzcontrols.h"
#include "chart/canvas/zuzfilters.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/charttitle.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "platform/gui/extctrls.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/chart/series/picturefile.h"
#include "tests/support/formtest.h"
#include "tests/support/testclass.h"

#include <cmath>
#include <string>

// A control a page is shown inside, counting how often it lays itself out again.
class TCountingPanel : public testsupport::TTestClass<TCountingPanel, TPanel, "TCountingPanel"> {
public:
    using TTestClass::TTestClass;
    int laidOut = 0;

protected:
    void AlignControls(TControl* AControl, TRect& Rect) override {
        ++laidOut;
        TTestClass::AlignControls(AControl, Rect);
    }
};

class DialogTest : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        probe::EnsureApplication();
        StartChartEditorUnits();
    }
    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(40, 40, 560, 420);
        chart = Create<TChart>(form.get());
        chart->SetParent(form.get());
        chart->SetAlign(alClient);
        chart->GetTitle()->GetText()->SetText(u"Архив прибора «КРОНТ»");
        for (int s = 0; s < 2; ++s) {
            auto* series = Create<TLineSeries>(form.get());
            series->SetParentChart(chart);
            for (int i = 0; i < 24; ++i) series->AddXY(i, 50 + 30 * std::sin(i / 3.0 + s));
        }
    }
    // The dialog as the screen shows it, editing the chart's objects, as a PNG.
    void SavePicture(TControl& Shown, const std::string& Name) {
        probe::WaitFor([&] { return probe::Shown(Shown); });
        probe::ProcessEvents();
        EXPECT_TRUE(KeepPicture(probe::Grab(Shown), Name)) << Name;
    }

    TestForm form;
    TChart* chart = nullptr;
};
