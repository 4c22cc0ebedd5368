#include "platform/core/ClockRandom.h"

#include <chrono>

namespace platform {

ClockRandom::ClockRandom() { seedFromClock(); }

void ClockRandom::seedFromClock() {
    engine_.seed(static_cast<std::uint64_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count()));
}

// The top 53 bits as a fraction: exactly uniform and never 1.
double ClockRandom::next() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }

}  // namespace platform
