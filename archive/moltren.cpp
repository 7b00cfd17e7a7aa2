#include "archive/moltren.h"

#include "archive/about.h"
#include "archive/mainform.h"
#include "chart/editors/zuzeditorunits.h"
#include "chart/series/zuzchartunits.h"
#include "graphs/graphrecord.h"
#include "graphs/okcancl1.h"
#include "moltren_resources.h"
#include "platform/gui/forms.h"
#include "platform/gui/jpeg.h"
#include "serial/comportctrls.h"

#include <vector>

namespace {

// The platform's forms and pictures come up before the chart library, the chart library's
// texts and drawing functions before any form is read, and the form resources and stream
// classes before WinMain creates forms.
const TUnitEntry kPlatformUnits[] = {
    {"Forms", InitFormsUnit, DoneFormsUnit},
    {"Jpeg", JpegInitialization, nullptr},
};
const TUnitEntry kOwnUnits[] = {
    {"ComPort", RegisterComPortClasses, nullptr},
    {"Graphs", RegisterGraphClasses, nullptr},
    {"Resources", RegisterMoltrenResources, nullptr},
};

} // namespace

std::span<const TUnitEntry> ProgramUnits() {
    static const std::vector<TUnitEntry> units = [] {
        std::vector<TUnitEntry> all;
        for (std::span<const TUnitEntry> part : {std::span<const TUnitEntry>(kPlatformUnits), ZuzChartUnits(),
                                                 ZuzEditorUnits(), std::span<const TUnitEntry>(kOwnUnits)})
            all.insert(all.end(), part.begin(), part.end());
        return all;
    }();
    return units;
}

void CreateProgramForms() {
    Application->Initialize();
    // Message boxes carry the program's name, not the file's.
    Application->SetTitle(u"Moltren");
    Application->SetMainFormOnTaskBar(true);
    // The first form created is the main window.
    Application->CreateForm(MainForm);
    Application->CreateForm(AboutBox);
    Application->CreateForm(GraphSettings);
}

int WinMain() {
    try {
        CreateProgramForms();
        Application->Run();
    } catch (const Exception& e) {
        Application->ShowException(e);
    } catch (...) {
        // Anything else shows as an exception without a message.
        Application->ShowException(Exception());
    }
    return 0;
}
