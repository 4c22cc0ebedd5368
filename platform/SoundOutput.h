#pragma once
#include <string_view>

#include "platform/core/Services.h"

namespace platform {

// What the program's sound module (SdlSound.cpp) offers; SdlMultimedia loads
// it and says what each command does.
class SoundOutput : public MultimediaService {
public:
    virtual bool playQuietly(std::string_view name) = 0;
    virtual bool musicPlaying() const = 0;
    virtual double musicSeconds() const = 0;
    virtual void prepare(std::string_view name) = 0;
};

}  // namespace platform

// The module's one entry point: a sound output that tells its failures through
// MESSAGES and plays tunes with the General MIDI font SOUNDFONT.
extern "C" platform::SoundOutput* pyatnushkiSoundOutput(platform::MessageService& messages, const char* soundFont);
