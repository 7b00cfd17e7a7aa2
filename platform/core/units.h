#pragma once
// Unit start-up and shut-down: one explicit ordered table of the units'
// initialisation and finalisation (units.cpp), never static initialisers.
// The program entry and the test entry call InitUnits first and DoneUnits last.

#include <string_view>
#include <vector>

// Initialises every unit in table order. Idempotent. When a unit's start-up
// raises, the units already started are finalised (in reverse) and the error
// passes on.
void InitUnits();
// Finalises the started units in reverse order. Idempotent.
void DoneUnits();
// The names of the units started so far, in start-up order.
std::vector<std::string_view> StartedUnits();
