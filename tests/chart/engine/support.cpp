#include "chart/canvas/zuzconst.h"
#include "fakechart.h"
#include "platform/gui/forms.h"

void StartEngineUnits() {
    static bool started = false;
    if (started) return;
    started = true;
    InitFormsUnit();
    ZuzConstInitialization();
    ZuzEngineInitialization();
    RegisterClass(TFakeChart::StaticClass());
}
