#include "platform/core/ResolutionGate.h"

namespace platform {

void passResolutionGate(Services& services) {
    for (;;) {
        const ScreenSize size = services.screen.screenSize();
        if (size.width == 1280 && size.height == 1024) return;
        services.message.message(kResolutionMessage);
    }
}

}  // namespace platform
