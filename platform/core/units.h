#pragma once
// Unit start-up and shut-down: one explicit ordered table of the units'
// initialisation and finalisation (units.cpp), never static initialisers.
// The program entry and the test entry call InitUnits first and DoneUnits last.

#include <span>
#include <string_view>
#include <vector>

// One unit's start-up and shut-down; either may be empty.
struct TUnitEntry {
    std::string_view name;
    void (*init)();
    void (*done)();
};

// Initialises the platform core's units, then the program's own units in the
// order given (the program entry lists them after the units they use).
// Idempotent; a later call may not change the program's list.
void InitUnits(std::span<const TUnitEntry> ProgramUnits);
// Initialises every unit in table order. Idempotent. When a unit's start-up
// raises, the units already started are finalised (in reverse) and the error
// passes on.
void InitUnits();
// Finalises the started units in reverse order. Idempotent.
void DoneUnits();
// The names of the units started so far, in start-up order.
std::vector<std::string_view> StartedUnits();
