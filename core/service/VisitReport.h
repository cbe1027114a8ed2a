#pragma once

#include <string_view>

#include "service/ServiceContext.h"

namespace talvane {

// Tells the service that this client is running. Every step's failure is
// ignored and the next step still runs; the response is decoded and
// dropped. Never throws, reports nothing.
void SendVisit(const ServiceContext& ctx, std::u16string_view sysNumber);

}  // namespace talvane
