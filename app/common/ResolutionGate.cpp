#include "app/common/ResolutionGate.h"

namespace app {

void passResolutionGate(platform::Services& services) {
    for (;;) {
        const platform::ScreenSize size = services.screen.screenSize();
        if (size.width == 1280 && size.height == 1024) return;
        services.message.message(kResolutionMessage);
    }
}

}  // namespace app
