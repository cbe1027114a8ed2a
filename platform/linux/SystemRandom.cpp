#include "platform/linux/SystemRandom.h"

#include <unistd.h>

namespace talvane {

SystemRandom::SystemRandom() : ReseedingRandom(static_cast<std::uint32_t>(::getpid())) {}

}  // namespace talvane
