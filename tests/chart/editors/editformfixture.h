#pragma once
// The chart editor over a real chart with two titled series, its options kept in a registry of
// the test's own so no run sees another's stored place, size or tree mode.

#include "chart/canvas/zuzprocs.h"
#include "chart/editors/zuzeditcha.h"
#include "chart/engine/chartseries.h"
#include "platform/gui/buttons.h"
#include "platform/gui/stdctrls.h"
#include "platform/win32/registry.h"
#include "tests/chart/editors/dialogfixture.h"
#include "tests/support/tempdir.h"

#include <memory>
#include <string>

inline const String kEditorKey = u"SOFTWARE\\Dedara Software\\ZarEzodo Vez\\Editor";

// Which of the series list's buttons are on, as "1" or "0": Title, Clone, up, down.
inline std::string SeriesButtonsOn(const TChartEditForm& e) {
    std::string on;
    for (TControl* b :
         std::initializer_list<TControl*>{e.BRenameSeries, e.BCloneSeries, e.BMoveUP, e.BMoveDown})
        on += b->GetEnabled() ? "1" : "0";
    return on;
}

class EditFormTest : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        win32::SetRegistryDirectory(registry.path);
        chart->GetSeries(0)->SetTitle(u"Температура, °C");
        chart->GetSeries(1)->SetTitle(u"Давление, кПа");
    }
    void TearDown() override {
        editor.reset();
        // What the form holds (an editor panel among them) keeps its options as it goes.
        form.form.reset();
        win32::SetRegistryDirectory({});
        DialogTest::TearDown();
    }
    // The tabs, not the tree, which is the stored default.
    static void UseTabs() { ZuzSaveBoolOption(u"TreeMode", false); }
    // A new editor on the chart, not yet shown.
    TChartEditForm* Editor() {
        editor.reset(Create<TChartEditForm>(nullptr));
        editor->SetChart(chart);
        return editor.get();
    }
    // The editor's key, created when missing.
    static std::unique_ptr<TRegistry> Key() {
        auto reg = std::make_unique<TRegistry>();
        reg->SetRootKey(HKEY_CURRENT_USER);
        EXPECT_TRUE(reg->OpenKey(kEditorKey, true));
        return reg;
    }

    TempDir registry{"moltren-editor"};
    Owned<TChartEditForm> editor;
};
