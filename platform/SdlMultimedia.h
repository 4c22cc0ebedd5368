#pragma once
#include <memory>
#include <optional>
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
//
// A tune counts as playing until its last note has ended, counted in the
// frames the device has taken since it started: the synthesizer goes on for
// seconds while the last notes die away, and a "play" in that time restarts it.
class SdlMultimedia : public MultimediaService {
public:
    explicit SdlMultimedia(MessageService& messages, std::string soundFont = "/usr/share/sounds/sf2/FluidR3_GM.sf2");
    ~SdlMultimedia() override;
    SdlMultimedia(const SdlMultimedia&) = delete;
    SdlMultimedia& operator=(const SdlMultimedia&) = delete;

    void execute(std::string_view command) override;

    // Plays a sound effect as "play NAME" does, but says nothing when it cannot:
    // false when there is no device or the file is missing or broken. A missing
    // device is then still told by the next command that execute() sends.
    bool playQuietly(std::string_view name);

private:
    struct Impl;  // keeps SDL's headers out of everyone else's
    std::unique_ptr<Impl> impl_;
};

// Seconds from the start of a Standard MIDI File to the end of its last note,
// following its tempo changes; nothing when the file cannot be read or has no notes.
std::optional<double> midiNotesSeconds(std::string_view file);

}  // namespace platform
