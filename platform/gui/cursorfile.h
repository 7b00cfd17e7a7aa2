#pragma once
// Cursors read from cursor files: a .cur file's picture at the size nearest the system cursor
// size, with its hot spot, or an animated cursor (.ani) with its frames and the steps and rates
// it shows them at.

#include "platform/gui/forms.h"

// The cursor in the file, owned by the caller (or by the screen once put into its table, where
// an animated one runs on the application's clock); nullptr when the file cannot be read, is no
// cursor file, or is damaged.
HCURSOR LoadCursorFromFileW(const String& FileName);
