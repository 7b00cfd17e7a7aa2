#pragma once
// The chart library's units below the editors, in the order they start: texts and drawing
// first, then the engine, the series types and the export formats' registry. The program
// lists them after the platform's units; the tests that need a whole chart start them here.

#include "platform/core/units.h"

#include <span>

std::span<const TUnitEntry> ZuzChartUnits();
