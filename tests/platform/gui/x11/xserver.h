#pragma once
// The platform's own tests on a real X server: the GUI tests' fixture with the
// X server helpers of every test.

#include "tests/platform/gui/guitest.h"
#include "tests/support/xserver.h"
