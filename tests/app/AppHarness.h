#pragma once
// The whole window set on fake services, started as the program starts.
#include <algorithm>
#include <string>

#include "app/WindowSet.h"
#include "tests/support/Harness.h"

namespace testing_support {

struct AppHarness : Harness {
    app::WindowSet w{desktop};

    // Starts at the welcome window and enters the main window.
    void enterMainWindow() {
        w.form5.show();
        w.form5.Command1->click();
    }

    int count(const std::string& command) const {
        const auto& c = fakes.multimedia.commands;
        return static_cast<int>(std::count(c.begin(), c.end(), command));
    }

    // The fraction that makes the next draw of 1 to n give the number wanted.
    void nextDraw(int number, int of) { fakes.random.script.push_back((number - 0.5) / of); }
};

}  // namespace testing_support
