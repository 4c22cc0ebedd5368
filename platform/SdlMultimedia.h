#pragma once
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "platform/core/Services.h"

namespace platform {

// General MIDI sound fonts in order of preference: the small one loads in a blink
// and keeps the synthesizer's memory low; the large one where only it is installed.
inline constexpr const char* kSoundFonts[] = {"/usr/share/sounds/sf2/TimGM6mb.sf2",
                                              "/usr/share/sounds/sf2/FluidR3_GM.sf2"};

// The first of the fonts that is a file; the first one when none is, so that the
// failure to play a tune names the font that is missing.
std::string chooseSoundFont(std::span<const char* const> fonts = kSoundFonts);

// The multimedia commands over SDL2_mixer:
//   "play NAME"  - a .mid/.midi file plays as the background music, anything else
//                  as a sound effect on a free channel; both return at once.
//   "close NAME" - stops the file and frees it; closing what is not open does nothing.
// NAME is a bare file name looked up in the current directory. Opened files stay
// loaded until they are closed or this object is destroyed. A tune is played
// through FluidSynth into memory when it is loaded, and from there on in place
// of the mixer's own music, converted to the device's format as it plays, so no
// synthesizer runs while the program is idle.
// Failures are told to the user through the message service; execute() always returns.
//
// A tune counts as playing until its last note has ended, counted in the
// frames the device has taken since it started: the synthesizer goes on for
// seconds while the last notes die away, and a "play" in that time restarts it.
//
// SDL2_mixer and FluidSynth bring some fifty libraries with them, which took
// the program's start some 20 ms to load: they live in a module of their own,
// pyatnushki-sound.so, beside the binary (in the library folder once
// installed), loaded by the first command or prepare(). Without it every
// command is silent, and the first one tells why.
class SdlMultimedia : public MultimediaService {
public:
    explicit SdlMultimedia(MessageService& messages, std::string soundFont = chooseSoundFont());
    // Gives the desktop's mixer the program's icon, read by the sound server's
    // client library from the environment when the device opens. Changing the
    // environment is safe only while no other thread may read it: called first
    // thing, before the application object starts threads of its own.
    static void nameProgramForMixer();
    ~SdlMultimedia() override;
    SdlMultimedia(const SdlMultimedia&) = delete;
    SdlMultimedia& operator=(const SdlMultimedia&) = delete;

    void execute(std::string_view command) override;

    // Plays a sound effect as "play NAME" does, but says nothing when it cannot:
    // false when there is no device or the file is missing or broken. A missing
    // device is then still told by the next command that execute() sends.
    bool playQuietly(std::string_view name);

    // True while a tune sounds, its ringing end included.
    bool musicPlaying() const;
    // Seconds of the tune that have sounded since it last started; 0 when none
    // plays. Counted in sound, not in time, so a busy machine cannot skew it.
    double musicSeconds() const;

    // Opens the device and loads the tune NAME on a thread of its own, so that
    // its first "play" finds the synthesizer and its sound font ready without
    // the caller waiting. Commands sent meanwhile wait for it to finish. Nothing
    // is told from here: a tune that could not be loaded is loaded again, and
    // its failure told, by its first "play".
    void prepare(std::string_view name);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
