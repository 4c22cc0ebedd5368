#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A Standard MIDI File played through FluidSynth into memory, ahead of time:
// playing it back then costs the mixer no more than a sound effect, where a
// synthesizer running beside the program would take its share of a core for
// as long as the music plays. The result is 16-bit mono samples at RATE,
// exactly as many as there are: the whole file, then what still rings after
// its end, until it falls silent or for at most a few seconds. Nothing when the
// sound font or the file cannot be loaded; ERROR then says which.
std::optional<std::vector<std::int16_t>> renderMidi(std::string_view midi, const std::string& soundFont, int rate,
                                                    std::string& error);

// Seconds from the start of a Standard MIDI File to the end of its last note,
// following its tempo changes; nothing when the file cannot be read or has no notes.
std::optional<double> midiNotesSeconds(std::string_view file);

}  // namespace platform
