#pragma once
// A call made once the event loop next turns: what the class library's forms did with a
// one-shot timer of 1 ms, so that a form's layout is finished before the call runs.

#include "platform/gui/controls.h"

#include <functional>

// Runs Proc after the events waiting now, unless Control has been freed by then. Any number
// may wait at once; each runs once.
void DeferCall(TControl* Control, std::function<void()> Proc);
