#pragma once
// The program: its units, the application object, the three long-lived forms
// and the message loop.

#include "platform/core/units.h"

#include <span>

// The program's own units after the platform core's, each after the units it
// uses; the program entry, the tests that run its forms and the benchmarks
// start them with InitUnits(ProgramUnits()).
std::span<const TUnitEntry> ProgramUnits();

// The start-up before the message loop: the application object, named after the program,
// with its main window on the task bar, and the three long-lived forms.
void CreateProgramForms();

// Runs the program once the units have started; the result is the process's.
int WinMain();
