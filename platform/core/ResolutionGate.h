#pragma once
#include "platform/core/Services.h"

namespace platform {

inline constexpr const char* kResolutionMessage =
    "Программа разработана для разрешения 1280*1024. Поменяйте разрешение экрана на 1280*1024. Для этого нажмите "
    "правую кнопку мыши на пустом месте рабочего стола. Далее: Свойства -> Параметры  ";

// Returns only once the screen is exactly 1280 x 1024; until then the message
// comes back after every OK.
void passResolutionGate(Services& services);

}  // namespace platform
