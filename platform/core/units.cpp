#include "platform/core/units.h"

#include "platform/core/sysutils.h"
#include "platform/core/threads.h"

#include <cstddef>
#include <iterator>

namespace {

// The start-up order of the program's units. A unit that needs start-up or
// shut-down work adds its line here, after the units it uses.
const TUnitEntry kUnits[] = {
    {"SysUtils", InitSysUtilsUnit, nullptr},
    {"Classes", InitClassesUnit, DoneClassesUnit},
};

std::size_t gStarted = 0; // how many units (kUnits, then gProgram) have been initialised
std::span<const TUnitEntry> gProgram;

std::size_t UnitCount() {
    return std::size(kUnits) + gProgram.size();
}

const TUnitEntry& UnitAt(std::size_t i) {
    return i < std::size(kUnits) ? kUnits[i] : gProgram[i - std::size(kUnits)];
}

} // namespace

void InitUnits(std::span<const TUnitEntry> ProgramUnits) {
    if (gStarted == 0 || gProgram.empty()) gProgram = ProgramUnits;
    InitUnits();
}

void InitUnits() {
    while (gStarted < UnitCount()) {
        const TUnitEntry& unit = UnitAt(gStarted);
        try {
            if (unit.init) unit.init();
        } catch (...) {
            DoneUnits();
            throw;
        }
        ++gStarted;
    }
}

void DoneUnits() {
    while (gStarted > 0) {
        const TUnitEntry& unit = UnitAt(--gStarted);
        if (unit.done) unit.done();
    }
}

std::vector<std::string_view> StartedUnits() {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < gStarted; ++i) names.push_back(UnitAt(i).name);
    return names;
}
