#pragma once
#include <functional>
#include <memory>
#include <vector>

#include "platform/core/Services.h"

namespace platform::fakes {

// A timer driver on a virtual clock: nothing ticks until the test advances it.
class ManualTimers : public TimerDriver {
public:
    std::unique_ptr<TimerSource> create(std::function<void()> tick) override;

    // Moves the clock forward by ms, firing every due tick in time order
    // (timers due at the same moment fire in the order they were created).
    void advance(int ms);
    long long now() const { return now_; }
    int liveTimers() const;

    struct Entry {
        std::function<void()> tick;
        int interval = 0;
        bool enabled = false;
        long long due = 0;
        bool alive = true;
    };

private:
    std::vector<std::shared_ptr<Entry>> entries_;
    long long now_ = 0;
};

}  // namespace platform::fakes
