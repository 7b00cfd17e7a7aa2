#pragma once
// The main window with the graph settings dialog beside it, fed through the
// read road by the simulated device on the recording backend: what the graph
// windows' tests read, open and set.

#include "chart/engine/chart.h"
#include "chart/engine/chartaxis.h"
#include "chart/series/series.h"
#include "graphs/okcancl1.h"
#include "tests/archive/graphcheck.h"
#include "tests/archive/readroad_harness.h"

#include <memory>
#include <utility>

namespace graphtest {

using readroad::DeviceNumber;

inline devsim::Archive Day(int month, int day, std::initializer_list<const char*> records) {
    devsim::Archive a;
    for (const char* r : records) a.Add({month, day}, r);
    return a;
}

// An hour of readings, one a minute, on 5 October: value 1 is the minute, value 2 twice it.
inline devsim::Archive HourOfMinutes() {
    devsim::Archive a;
    for (int m = 0; m < 60; ++m) {
        char text[64];
        std::snprintf(text, sizeof text, "05 10 12 %02d %d %d", m, m + 1, 2 * (m + 1));
        a.Add({10, 5}, text);
    }
    std::string last = "05 10 13 00 61 122";
    a.Add({10, 5}, last);
    return a;
}

class GraphHarness : public readroad::LineHarness {
public:
    GraphHarness() : settings(std::make_unique<SettingsDialog>()) {}
    ~GraphHarness() override { settings.reset(); }

    void ReadDays(const devsim::Archive& archive, TDateTime first, int days = 1) {
        devsim::Device dev(archive, DeviceNumber(7));
        Interval(first, first + days - 1);
        Read();
        Serve(dev);
    }

    TMainForm& F() const { return *form; }
    GraphRecord& G(int i) const { return form->graphs[i]; }
    // Ctrl+G in the main window; the new window made the current one.
    GraphRecord& Open() {
        form->IsShortCut(ShortCut('G', {ssCtrl}));
        GraphRecord& g = G(form->graphCount);
        form->GraphWindowActivate(g.graphForm);
        return g;
    }
    // The dialog as "Настройки графика" shows it on window i, without its loop.
    TGraphSettings& Dialog(int i) {
        form->GraphWindowActivate(G(i).graphForm);
        GraphSettings->FormActivate(GraphSettings);
        return *GraphSettings;
    }
    // The operator ticks (or unticks) list item k.
    void Tick(int k, bool on = true) {
        GraphSettings->CheckListBoxValue->SetItemIndex(k);
        GraphSettings->CheckListBoxValue->SetChecked(k, on);
        GraphSettings->CheckListBoxValueClickCheck(GraphSettings->CheckListBoxValue);
    }
    void Apply() { GraphSettings->ApplayClick(GraphSettings->Applay); }
    std::unique_ptr<SettingsDialog> settings;
    // Messages shown, in order, since the last call.
    std::vector<std::string> Boxes() {
        std::vector<std::string> texts;
        for (const auto& d : dialogs) texts.push_back(StringToAnsi(d.Text));
        dialogs.clear();
        return texts;
    }
};

} // namespace graphtest
