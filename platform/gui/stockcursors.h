#pragma once
// Pictures of the stock cursor shapes. Qt shows a stock shape on the screen but gives no image of
// it, so a cursor chooser would have nothing to show; the program draws each shape itself, as a
// black shape with a white outline on a clear ground, in the system cursor size.

#include "platform/gui/forms.h"

// A new picture of the stock cursor Shape with its hot spot, owned by the caller (or by the
// screen once in its table); crDefault is the arrow. nullptr for crNone and for a number that is
// no stock shape.
HCURSOR MakeStockCursor(TCursor Shape);
