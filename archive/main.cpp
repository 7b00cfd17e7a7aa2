// Program entry: starts the units, runs the program, shuts the units down.
#include "archive/moltren.h"
#include "moltren_resources.h"
#include "platform/core/units.h"
#include "platform/gui/forms.h"
#include "serial/comportctrls.h"

int main() {
    InitUnits();
    InitFormsUnit();
    RegisterComPortClasses();
    RegisterMoltrenResources();
    const int result = WinMain();
    DoneFormsUnit();
    DoneUnits();
    return result;
}
