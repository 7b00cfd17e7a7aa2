#pragma once
// The program: the application object, the three long-lived forms and the
// message loop.

// Runs the program once the units have started; the result is the process's.
int WinMain();
