#pragma once
// The chart editor's units in the order they start: the picture formats' options, the
// dialogs, then the pages and the series-type editors, each after the units it opens. The
// program lists them after the chart library's units; the editors' tests start them here.
// A new editor unit adds its line to this one list.

#include "platform/core/units.h"

#include <span>

std::span<const TUnitEntry> ZuzEditorUnits();
