#include "platform/MidiRendering.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

namespace platform {

namespace {

constexpr int kBlockFrames = 1024;
constexpr double kMostRingingSeconds = 3.0;
constexpr int kSilent = 33;  // -60 dBFS

struct DeleteSettings {
    void operator()(fluid_settings_t* s) const { delete_fluid_settings(s); }
};
struct DeleteSynth {
    void operator()(fluid_synth_t* s) const { delete_fluid_synth(s); }
};
struct DeletePlayer {
    void operator()(fluid_player_t* p) const { delete_fluid_player(p); }
};

// FluidSynth would otherwise write its warnings and errors to the terminal.
void quiet(int, const char*, void*) {}

}  // namespace

std::optional<std::vector<std::int16_t>> renderMidi(std::string_view midi, const std::string& soundFont, int rate,
                                                    std::string& error) {
    for (const int level : {FLUID_PANIC, FLUID_ERR, FLUID_WARN, FLUID_INFO, FLUID_DBG})
        fluid_set_log_function(level, quiet, nullptr);
    const std::unique_ptr<fluid_settings_t, DeleteSettings> settings(new_fluid_settings());
    if (!settings) return error = "синтезатор не запускается", std::nullopt;
    fluid_settings_setnum(settings.get(), "synth.sample-rate", rate);
    // The player follows the samples written, not the clock: the file is played
    // far faster than in real time.
    fluid_settings_setstr(settings.get(), "player.timing-source", "sample");
    fluid_settings_setint(settings.get(), "synth.lock-memory", 0);
    // Twice the synthesizer's own soft default: background music a child hears
    // under the clicks and cues, about 16 dB below full scale at its loudest.
    fluid_settings_setnum(settings.get(), "synth.gain", 0.4);
    const std::unique_ptr<fluid_synth_t, DeleteSynth> synth(new_fluid_synth(settings.get()));
    if (!synth) return error = "синтезатор не запускается", std::nullopt;
    if (soundFont.empty() || fluid_synth_sfload(synth.get(), soundFont.c_str(), 1) == FLUID_FAILED)
        return error = "не найден звуковой шрифт «" + soundFont + "»", std::nullopt;
    const std::unique_ptr<fluid_player_t, DeletePlayer> player(new_fluid_player(synth.get()));
    if (!player || fluid_player_add_mem(player.get(), midi.data(), midi.size()) != FLUID_OK ||
        fluid_player_play(player.get()) != FLUID_OK)
        return error = "файл не читается или повреждён", std::nullopt;

    std::vector<std::int16_t> samples;
    std::vector<std::int16_t> block(2 * kBlockFrames);
    // The two sides mixed into one: background music needs no stereo, and mono
    // takes half the memory.
    const auto write = [&] {
        fluid_synth_write_s16(synth.get(), kBlockFrames, block.data(), 0, 2, block.data(), 1, 2);
        for (std::size_t i = 0; i < block.size(); i += 2)
            samples.push_back(static_cast<std::int16_t>((block[i] + block[i + 1]) / 2));
    };
    // A tune longer than this is not background music for this program.
    const std::size_t longest = static_cast<std::size_t>(rate) * 600;
    while (fluid_player_get_status(player.get()) == FLUID_PLAYER_PLAYING && samples.size() < longest) write();
    const auto ringingBlocks = static_cast<int>(kMostRingingSeconds * rate / kBlockFrames);
    const auto quiet = [](std::int16_t s) { return std::abs(s) < kSilent; };
    for (int i = 0; i < ringingBlocks; ++i) {
        write();
        if (std::all_of(samples.end() - kBlockFrames, samples.end(), quiet)) break;
    }
    // A file the player could make nothing of leaves only silence.
    if (std::all_of(samples.begin(), samples.end(), quiet)) return error = "файл не читается или повреждён", std::nullopt;
    samples.shrink_to_fit();
    return samples;
}

}  // namespace platform
