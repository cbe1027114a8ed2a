#pragma once

#include <cstdint>
#include <string>

#include "service/RowTable.h"

namespace talvane {

// The program's shared state. One instance lives as long as the window.
struct ModulePublic {
    std::u16string sysNumber;     // the client number, set once at start-up
    std::u16string EventPayload;  // raw event-list text
    std::int16_t ReminderTicks = 0;
    std::int16_t VisitTicks = 0;
    RowTable rows;
};

}  // namespace talvane
