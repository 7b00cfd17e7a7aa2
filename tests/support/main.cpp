// Test entry: starts the units as the program does, then runs the tests.
#include "platform/core/system.h"
#include "platform/core/units.h"

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The units take their format settings from the system locale: the tests
    // run in the "C" locale whatever the shell's, as they do under ctest,
    // unless a test run names the locale it checks the program under.
    const char* locale = std::getenv("MOLTREN_TEST_LOCALE");
    setenv("LC_ALL", locale && *locale ? locale : "C.UTF-8", 1);
    // A component made with a bare new never ran its AfterConstruction: the
    // test that freed it fails.
    SetUnconstructedHandler([](const TObject& Obj) {
        ADD_FAILURE() << Obj.ClassNameA() << " was made without Create: its AfterConstruction never ran";
    });
    InitUnits();
    const int result = RUN_ALL_TESTS();
    DoneUnits();
    return result;
}
