#pragma once
// Shared set-up of the data grid and list box tests: the units the series stand on, a
// form with a chart, and series filled with values.

#include "chart/canvas/zuzconst.h"
#include "chart/canvas/zuzpanelprocs.h"
#include "chart/engine/chart.h"
#include "chart/engine/chartseries.h"
#include "chart/engine/seriestypes.h"
#include "chart/series/series.h"
#include "chart/series/series_bar.h"
#include "platform/gui/forms.h"
#include "tests/chart/editors/editorunits.h"
#include "tests/support/formtest.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class ChartFormTest : public FormTest {
protected:
    static void SetUpTestSuite() {
        FormTest::SetUpTestSuite();
        StartChartEditorUnits();
    }
    void SetUp() override {
        FormTest::SetUp();
        form->SetBounds(0, 0, 640, 420);
        chart = Create<TChart>(form.get());
        chart->SetParent(form.get());
        chart->SetBounds(320, 0, 320, 420);
        chart->SetView3D(false);
    }
    void TearDown() override {
        form.form.reset();
        FormTest::TearDown();
    }

    template <class S>
    S* AddSeries(std::initializer_list<double> Values, const String& Title = {}) {
        auto* s = Create<S>(form.get());
        chart->AddSeries(s);
        s->SetTitle(Title);
        for (double v : Values) s->Add(v);
        return s;
    }
    static bool Russian() {
        const char* locale = std::getenv("MOLTREN_TEST_LOCALE");
        return locale && std::string(locale).rfind("ru_RU", 0) == 0;
    }

    TestForm form;
    TChart* chart = nullptr;
};
