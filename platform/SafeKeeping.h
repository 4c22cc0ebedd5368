#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/core/KeptDrawing.h"
#include "platform/core/Services.h"

namespace platform {

class Desktop;

// Keeps a window's drawing safe as the child draws: a change is written within a
// second, at most once a second, off the interface thread (DrawingKeeper), into
// the user's state folder. The next start finds it there unless the program was
// left through its own exit buttons, which forget every kept drawing.
class SafeKeeping {
public:
    // name: the file in the state folder; snapshot: what to keep, taken when it is written.
    SafeKeeping(Desktop& desktop, std::string name, std::function<KeptDrawing()> snapshot);
    ~SafeKeeping();
    SafeKeeping(const SafeKeeping&) = delete;
    SafeKeeping& operator=(const SafeKeeping&) = delete;

    // Something that is kept has changed. Costs a flag while a write is due.
    void changed();
    // What an earlier run kept, if a whole drawing is there.
    std::optional<KeptDrawing> kept() const;
    // Nothing more to keep: what waits is dropped and the file removed.
    void forget();
    // Waits until what is due is on the disk.
    void settle();

private:
    void write();

    Desktop& desktop_;
    std::function<KeptDrawing()> snapshot_;
    std::optional<std::filesystem::path> file_;
    std::unique_ptr<TimerSource> timer_;
    std::unique_ptr<DrawingKeeper> keeper_;  // its thread starts with the first drawing kept
    bool due_ = false;
};

}  // namespace platform
