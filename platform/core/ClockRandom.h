#pragma once
#include <random>

#include "platform/core/Services.h"

namespace platform {

// Uniform fractions in [0, 1), seeded from the clock when a window asks.
class ClockRandom : public RandomService {
public:
    ClockRandom();
    void seedFromClock() override;
    double next() override;

private:
    std::mt19937_64 engine_;
};

}  // namespace platform
