#include "platform/SafeKeeping.h"

#include <system_error>

#include "platform/Desktop.h"
#include "platform/core/UserFolders.h"

namespace platform {

namespace {
constexpr int kKeepAfterMs = 1000;
}  // namespace

SafeKeeping::SafeKeeping(Desktop& desktop, std::string name, std::function<KeptDrawing()> snapshot)
    : desktop_(desktop), snapshot_(std::move(snapshot)) {
    if (const auto folder = userStateFolder()) file_ = *folder / name;
    timer_ = desktop.services().timers.create([this] { write(); });
    desktop_.addKeeping(*this);
}

SafeKeeping::~SafeKeeping() { desktop_.removeKeeping(*this); }

void SafeKeeping::changed() {
    if (due_ || !file_) return;
    due_ = true;
    timer_->set(kKeepAfterMs, true);
}

void SafeKeeping::write() {
    timer_->set(kKeepAfterMs, false);
    due_ = false;
    if (!keeper_) keeper_ = std::make_unique<DrawingKeeper>(*file_);
    keeper_->keep(snapshot_());
}

std::optional<KeptDrawing> SafeKeeping::kept() const {
    if (!file_) return std::nullopt;
    return readKept(*file_);
}

void SafeKeeping::forget() {
    timer_->set(kKeepAfterMs, false);
    due_ = false;
    if (!file_) return;
    if (keeper_) {
        keeper_->forget();
        return;
    }
    std::error_code ignored;  // nothing written in this run: only an earlier run's file to take away
    std::filesystem::remove(*file_, ignored);
}

void SafeKeeping::settle() {
    if (keeper_) keeper_->settle();
}

}  // namespace platform
