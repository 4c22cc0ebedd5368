#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "platform/core/Services.h"

namespace platform {

// The multimedia commands over SDL2_mixer:
//   "play NAME"  - a .mid/.midi file plays as the background music, anything else
//                  as a sound effect on a free channel; both return at once.
//   "close NAME" - stops the file and frees it; closing what is not open does nothing.
// NAME is a bare file name looked up in the current directory. Opened files stay
// loaded until they are closed or this object is destroyed.
// Failures are told to the user through the message service; execute() always returns.
class SdlMultimedia : public MultimediaService {
public:
    explicit SdlMultimedia(MessageService& messages, std::string soundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2");
    ~SdlMultimedia() override;
    SdlMultimedia(const SdlMultimedia&) = delete;
    SdlMultimedia& operator=(const SdlMultimedia&) = delete;

    void execute(std::string_view command) override;

private:
    struct Impl;  // keeps SDL's headers out of everyone else's
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
