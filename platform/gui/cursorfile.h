#pragma once
// Cursors read from cursor files (.cur): the picture at the size nearest the system cursor
// size, with its hot spot. Animated cursors (.ani) are not read.

#include "platform/gui/forms.h"

// The cursor in the file, owned by the caller (or by the screen once put into its table);
// nullptr when the file cannot be read, is no static cursor, or is damaged.
HCURSOR LoadCursorFromFileW(const String& FileName);
// True when the file starts as an animated cursor does.
bool IsAnimatedCursorFile(const String& FileName);
