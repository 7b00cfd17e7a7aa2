#include "platform/core/units.h"

#include "platform/core/threads.h"

#include <cstddef>
#include <iterator>

namespace {

struct UnitEntry {
    std::string_view name;
    void (*init)();
    void (*done)();
};

// The start-up order of the program's units. A unit that needs start-up or
// shut-down work adds its line here, after the units it uses.
const UnitEntry kUnits[] = {
    {"Classes", InitClassesUnit, DoneClassesUnit},
};

std::size_t gStarted = 0; // how many of kUnits have been initialised

} // namespace

void InitUnits() {
    while (gStarted < std::size(kUnits)) {
        const UnitEntry& unit = kUnits[gStarted];
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
        const UnitEntry& unit = kUnits[--gStarted];
        if (unit.done) unit.done();
    }
}

std::vector<std::string_view> StartedUnits() {
    std::vector<std::string_view> names;
    for (std::size_t i = 0; i < gStarted; ++i) names.push_back(kUnits[i].name);
    return names;
}
