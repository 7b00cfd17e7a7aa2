#pragma once
// The screen's fonts: the face names text can be drawn in.

class TStrings;

// Sorted: the installed font families and the other system's common names that map to one of
// them ("Arial" draws in its installed metric twin). Read once, on first use; the list lives
// until the program ends.
TStrings* ScreenFonts();
