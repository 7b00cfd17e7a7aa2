// Program entry: starts the units in order, runs the program, shuts the units
// down in reverse.
#include "archive/moltren.h"
#include "chart/canvas/zuzcanvas.h"
#include "chart/canvas/zuzconst.h"
#include "moltren_resources.h"
#include "platform/core/units.h"
#include "platform/gui/forms.h"
#include "serial/comportctrls.h"

namespace {

// The program's units after the platform core, each after the units it uses:
// the chart library's texts and drawing functions come up before any form is
// read, and the form resources and stream classes before WinMain creates forms.
const TUnitEntry kProgramUnits[] = {
    {"Forms", InitFormsUnit, DoneFormsUnit},
    {"ZuzConst", ZuzConstInitialization, ZuzConstFinalization},
    {"ZuzCanvas", ZuzCanvasInitialization, nullptr},
    {"ComPort", RegisterComPortClasses, nullptr},
    {"Resources", RegisterMoltrenResources, nullptr},
};

} // namespace

int main() {
    InitUnits(kProgramUnits);
    const int result = WinMain();
    DoneUnits();
    return result;
}
