#pragma once

#include "platform/common/ReseedingRandom.h"

namespace talvane {

// The shared generator, seeded with this process's id.
class SystemRandom : public ReseedingRandom {
  public:
    SystemRandom();
};

}  // namespace talvane
