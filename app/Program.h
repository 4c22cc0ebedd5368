#pragma once

namespace app {

// Starts the program: the welcome window, then the event loop until the last
// window is unloaded. Returns the process's exit status.
int run(int argc, char** argv);

}  // namespace app
