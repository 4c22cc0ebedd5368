#include "platform/fakes/ManualTimers.h"

#include <algorithm>

namespace platform::fakes {

namespace {

class ManualTimer : public TimerSource {
public:
    ManualTimer(std::shared_ptr<ManualTimers::Entry> entry, const long long& now) : entry_(std::move(entry)), now_(now) {}
    ~ManualTimer() override { entry_->alive = false; }
    void set(int intervalMs, bool enabled) override {
        entry_->interval = intervalMs;
        entry_->enabled = enabled && intervalMs > 0;
        entry_->due = now_ + intervalMs;
    }

private:
    std::shared_ptr<ManualTimers::Entry> entry_;
    const long long& now_;
};

}  // namespace

std::unique_ptr<TimerSource> ManualTimers::create(std::function<void()> tick) {
    auto entry = std::make_shared<Entry>();
    entry->tick = std::move(tick);
    entries_.push_back(entry);
    return std::make_unique<ManualTimer>(entry, now_);
}

int ManualTimers::liveTimers() const {
    return static_cast<int>(std::count_if(entries_.begin(), entries_.end(), [](const auto& e) { return e->alive; }));
}

void ManualTimers::advance(int ms) {
    const long long end = now_ + ms;
    for (;;) {
        std::erase_if(entries_, [](const auto& e) { return !e->alive; });
        std::shared_ptr<Entry> next;
        for (const auto& e : entries_) {
            if (e->alive && e->enabled && e->due <= end && (!next || e->due < next->due)) next = e;
        }
        if (!next) break;
        now_ = next->due;
        next->due += next->interval;
        // Keep the entry alive while its tick runs: the tick may unload its own window.
        auto tick = next->tick;
        tick();
    }
    now_ = end;
}

}  // namespace platform::fakes
