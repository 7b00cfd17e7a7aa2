// Program entry: starts the units in order, runs the program, shuts the units
// down in reverse.
#include "archive/moltren.h"

int main() {
    InitUnits(ProgramUnits());
    const int result = WinMain();
    DoneUnits();
    return result;
}
