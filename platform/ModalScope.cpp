#include "platform/ModalScope.h"

#include <vector>

namespace platform {

namespace {

// Everything runs on the user-interface thread, so plain statics do.
int depth = 0;
std::vector<std::function<void()>>& waiting() {
    static std::vector<std::function<void()>> work;
    return work;
}

}  // namespace

ModalScope::ModalScope() { ++depth; }

ModalScope::~ModalScope() {
    if (--depth > 0) return;
    auto work = std::move(waiting());
    waiting().clear();
    for (auto& w : work) w();
}

bool ModalScope::active() { return depth > 0; }

void ModalScope::afterModal(std::function<void()> work) {
    if (depth == 0) {
        work();
        return;
    }
    waiting().push_back(std::move(work));
}

}  // namespace platform
