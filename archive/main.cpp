// Program entry.
#include "platform/core/units.h"

#include <cstdio>

int main() {
    InitUnits();
    std::puts("Moltren: the main window is not built yet; only the libraries and their tests exist.");
    DoneUnits();
    return 0;
}
