#pragma once
#include <functional>

namespace platform {

// Marks a nested event loop the program runs while a handler waits (a modal
// message). Whatever a waiting handler may still stand on must not be destroyed
// inside such a loop; work of that kind is put off until the last one has ended.
class ModalScope {
public:
    ModalScope();
    ~ModalScope();
    ModalScope(const ModalScope&) = delete;
    ModalScope& operator=(const ModalScope&) = delete;

    static bool active();
    // Runs the work when no nested loop is running any more: at once if none is.
    static void afterModal(std::function<void()> work);
};

}  // namespace platform
