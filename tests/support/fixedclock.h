#pragma once
// The clock hook set to one moment while the object lives: tests that speak
// of "today" compare with a day of their own, not the machine's.

#include "platform/core/sysutils.h"

class FixedClock {
public:
    explicit FixedClock(TDateTime Now) {
        SetClock([Now] { return Now; });
    }
    ~FixedClock() { SetClock(nullptr); }
    FixedClock(const FixedClock&) = delete;
    FixedClock& operator=(const FixedClock&) = delete;
};
