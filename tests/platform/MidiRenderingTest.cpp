// The music rendered ahead of time: it must sound like its file, start at once,
// end when the file does, and fail with a reason that names what is missing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "platform/MidiRendering.h"
#include "platform/SdlMultimedia.h"

namespace {

namespace fs = std::filesystem;
constexpr int kRate = 44100;
constexpr int kAudible = 328;  // -40 dBFS

std::string readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The loudest sample of each 10 ms of a rendering.
std::vector<int> peaksPer10Ms(const std::vector<std::int16_t>& samples) {
    std::vector<int> peaks;
    constexpr std::size_t kWindow = kRate / 100;
    for (std::size_t at = 0; at + kWindow <= samples.size(); at += kWindow) {
        int peak = 0;
        for (std::size_t i = at; i < at + kWindow; ++i) peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        peaks.push_back(peak);
    }
    return peaks;
}

}  // namespace

TEST(MidiRenderingTest, TheTuneSoundsFromItsFirstNoteToItsLastAndThenStops) {
    const std::string midi = readFile(fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "sounds" / "fon.mid");
    const std::optional<double> notes = platform::midiNotesSeconds(midi);
    ASSERT_TRUE(notes.has_value());
    std::string error;
    const auto samples = platform::renderMidi(midi, platform::chooseSoundFont(), kRate, error);
    ASSERT_TRUE(samples.has_value()) << error;

    const std::vector<int> peaks = peaksPer10Ms(*samples);
    const auto first = std::find_if(peaks.begin(), peaks.end(), [](int p) { return p >= kAudible; });
    ASSERT_NE(first, peaks.end()) << "nothing to hear";
    EXPECT_LE(first - peaks.begin(), 5) << "starts after " << (first - peaks.begin()) * 10 << " ms of silence";
    const auto last = std::find_if(peaks.rbegin(), peaks.rend(), [](int p) { return p >= kAudible; });
    const double heardUntil = static_cast<double>(peaks.rend() - last) / 100;
    EXPECT_GE(heardUntil, *notes) << "cut before its last note ends";
    EXPECT_LE(heardUntil, *notes + 1.0) << "rings on for long after its last note";
    EXPECT_LE(static_cast<double>(peaks.size()) / 100, *notes + 3.5) << "silence kept after the end";
}

TEST(MidiRenderingTest, AMissingSoundFontOrAnUnplayableFileIsRefusedWithItsReason) {
    const std::string midi = readFile(fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "sounds" / "fon.mid");
    std::string error;
    EXPECT_FALSE(platform::renderMidi(midi, "/no/such/font.sf2", kRate, error).has_value());
    EXPECT_NE(error.find("«/no/such/font.sf2»"), std::string::npos) << error;
    EXPECT_FALSE(platform::renderMidi(midi, "", kRate, error).has_value());
    EXPECT_NE(error.find("звуковой шрифт"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(platform::renderMidi("not a tune at all", platform::chooseSoundFont(), kRate, error).has_value());
    EXPECT_FALSE(error.empty());
}
