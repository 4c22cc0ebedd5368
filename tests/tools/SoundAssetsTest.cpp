// The committed sounds are read back the way a player would read them and
// held to what the program needs: quiet, short, pop-free cues and a tune
// that loops cleanly from the top.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "tools/Sounds.h"

namespace {

using sounds::Bytes;

Bytes readAsset(const std::string& name) {
    const std::string path = std::string(PYATNUSHKI_SOURCE_DIR) + "/assets/sounds/" + name;
    std::ifstream in(path, std::ios::binary);
    if (!in) ADD_FAILURE() << "cannot read " << path;
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

std::uint32_t le(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
    return v;
}

std::uint32_t be(const Bytes& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = 0; i < n; ++i) v = (v << 8) | b.at(at + static_cast<std::size_t>(i));
    return v;
}

std::string tag(const Bytes& b, std::size_t at) {
    return std::string(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at) + 4);
}

struct Wav {
    int format = 0, channels = 0, rate = 0, bits = 0;
    std::vector<int> samples;  // interleaved
};

// Walks the chunks rather than assuming the 44-byte layout.
Wav parseWav(const Bytes& b) {
    Wav wav;
    if (b.size() < 12) return wav;
    EXPECT_EQ(tag(b, 0), "RIFF");
    EXPECT_EQ(tag(b, 8), "WAVE");
    EXPECT_EQ(le(b, 4, 4) + 8, b.size()) << "RIFF size disagrees with the file";
    bool haveData = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = tag(b, at);
        const std::uint32_t size = le(b, at + 4, 4);
        const std::size_t body = at + 8;
        EXPECT_LE(body + size, b.size()) << id << " chunk runs past the end";
        if (id == "fmt ") {
            wav.format = static_cast<int>(le(b, body, 2));
            wav.channels = static_cast<int>(le(b, body + 2, 2));
            wav.rate = static_cast<int>(le(b, body + 4, 4));
            wav.bits = static_cast<int>(le(b, body + 14, 2));
        } else if (id == "data" && wav.bits == 16) {
            haveData = true;
            for (std::size_t i = 0; i + 1 < size; i += 2)
                wav.samples.push_back(static_cast<std::int16_t>(le(b, body + i, 2)));
        }
        at = body + size + (size & 1);
    }
    EXPECT_TRUE(haveData) << "no data chunk after a 16-bit fmt chunk";
    return wav;
}

TEST(SoundAssetsTest, CuesAreShortQuietPcmThatStartAndEndInSilence) {
    const struct {
        const char* name;
        double maxMs;
    } cues[] = {{"kn.wav", 80}, {"peep.wav", 250}, {"beep.wav", 250}};
    for (const auto& cue : cues) {
        SCOPED_TRACE(cue.name);
        const Wav wav = parseWav(readAsset(cue.name));
        EXPECT_EQ(wav.format, 1);
        EXPECT_EQ(wav.bits, 16);
        ASSERT_GE(wav.channels, 1);
        ASSERT_GT(wav.rate, 0);
        const std::size_t frames = wav.samples.size() / static_cast<std::size_t>(wav.channels);
        const double ms = 1000.0 * static_cast<double>(frames) / wav.rate;
        EXPECT_GT(ms, 20) << "too short to hear";
        EXPECT_LE(ms, cue.maxMs);

        int peak = 0;
        for (int s : wav.samples) peak = std::max(peak, std::abs(s));
        EXPECT_LE(peak, 16422) << "louder than -6 dBFS";
        EXPECT_GT(peak, 3000) << "too faint to hear";

        // A jump from or to silence clicks: the first and last samples stay within 1 % of full scale.
        ASSERT_GE(wav.samples.size(), 16u);
        for (std::size_t i = 0; i < 8; ++i) {
            EXPECT_LE(std::abs(wav.samples[i]), 328) << "sample " << i;
            EXPECT_LE(std::abs(wav.samples[wav.samples.size() - 1 - i]), 328) << "sample " << i << " from the end";
        }
    }
}

struct MidiEvent {
    long tick;
    int status;  // 0xFF for meta
    int data1;   // meta type for meta events
    int data2;
    Bytes meta;
};

struct Midi {
    int format = -1;
    int division = 0;
    std::vector<std::vector<MidiEvent>> tracks;
};

std::uint32_t varLen(const Bytes& b, std::size_t& at) {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const unsigned char c = b.at(at++);
        v = (v << 7) | (c & 0x7F);
        if (!(c & 0x80)) return v;
    }
    ADD_FAILURE() << "variable-length number longer than 4 bytes";
    return v;
}

// Reads every track to its end-of-track event; running status is honoured.
Midi parseMidi(const Bytes& b) {
    Midi midi;
    if (b.size() < 14 || tag(b, 0) != "MThd") {
        ADD_FAILURE() << "no MThd header";
        return midi;
    }
    const std::uint32_t headerSize = be(b, 4, 4);
    midi.format = static_cast<int>(be(b, 8, 2));
    const std::uint32_t trackCount = be(b, 10, 2);
    midi.division = static_cast<int>(be(b, 12, 2));
    std::size_t at = 8 + headerSize;
    for (std::uint32_t t = 0; t < trackCount; ++t) {
        if (at + 8 > b.size() || tag(b, at) != "MTrk") {
            ADD_FAILURE() << "track " << t << " missing";
            return midi;
        }
        const std::size_t end = at + 8 + be(b, at + 4, 4);
        at += 8;
        std::vector<MidiEvent>& events = midi.tracks.emplace_back();
        long tick = 0;
        int running = 0;
        bool ended = false;
        while (at < end && !ended) {
            tick += varLen(b, at);
            int status = b.at(at);
            if (status & 0x80)
                ++at;
            else if (running)
                status = running;
            else {
                ADD_FAILURE() << "data byte without a status at " << at;
                return midi;
            }
            MidiEvent e{tick, status, 0, 0, {}};
            if (status == 0xFF) {
                e.data1 = b.at(at++);
                const std::uint32_t length = varLen(b, at);
                e.meta.assign(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(at + length));
                at += length;
                ended = e.data1 == 0x2F;
            } else if (status == 0xF0 || status == 0xF7) {
                at += varLen(b, at);
            } else {
                running = status;
                e.data1 = b.at(at++);
                if ((status & 0xF0) != 0xC0 && (status & 0xF0) != 0xD0) e.data2 = b.at(at++);
            }
            events.push_back(e);
        }
        EXPECT_TRUE(ended) << "track " << t << " has no end-of-track event";
        EXPECT_EQ(at, end) << "track " << t << " has bytes after its end-of-track event";
        at = end;
    }
    return midi;
}

TEST(SoundAssetsTest, BackgroundTuneLoopsCleanly) {
    const Midi midi = parseMidi(readAsset("fon.mid"));
    ASSERT_TRUE(midi.format == 0 || midi.format == 1);
    ASSERT_FALSE(midi.tracks.empty());
    ASSERT_GT(midi.division, 0) << "ticks per quarter, not SMPTE time";

    // Tempo changes may sit in any track of a format-1 file.
    std::map<long, double> tempo{{0, 500000.0}};
    for (const auto& track : midi.tracks)
        for (const MidiEvent& e : track)
            if (e.status == 0xFF && e.data1 == 0x51 && e.meta.size() == 3) tempo[e.tick] = be(e.meta, 0, 3);
    auto seconds = [&](long tick) {
        double s = 0;
        for (auto it = tempo.begin(); it != tempo.end() && it->first < tick; ++it) {
            const auto next = std::next(it);
            const long until = (next == tempo.end() || next->first > tick) ? tick : next->first;
            s += static_cast<double>(until - it->first) * it->second / midi.division / 1e6;
        }
        return s;
    };

    long end = 0, lastRelease = 0;
    std::map<int, bool> programSet;  // channel -> program change at the very start
    std::map<int, long> silencedAt;  // channel -> tick of its last all-sound-off
    std::map<int, int> startVolume;  // channel -> volume set at tick 0, if any
    std::map<int, int> volumeChanges;
    std::map<int, long> sounding;  // channel * 128 + key -> how many are on
    bool tempoAtStart = false;
    int notes = 0;
    for (const auto& track : midi.tracks) {
        for (const MidiEvent& e : track) {
            end = std::max(end, e.tick);
            const int kind = e.status & 0xF0, channel = e.status & 0x0F;
            if (e.status == 0xFF && e.data1 == 0x51 && e.tick == 0) tempoAtStart = true;
            if (kind == 0xC0 && e.tick == 0) programSet[channel] = true;
            if (kind == 0xB0 && e.data1 == 120) silencedAt[channel] = e.tick;
            if (kind == 0xB0 && e.data1 == 7) {
                ++volumeChanges[channel];
                if (e.tick == 0) startVolume[channel] = e.data2;
            }
            if (kind == 0x90 && e.data2 > 0) {
                ++notes;
                EXPECT_TRUE(programSet[channel]) << "channel " << channel << " plays before its program is set";
                EXPECT_GE(e.data2, 40) << "at tick " << e.tick;
                EXPECT_LE(e.data2, 90) << "too loud for background, at tick " << e.tick;
                EXPECT_EQ(sounding[channel * 128 + e.data1]++, 0)
                    << "key " << e.data1 << " struck again while ringing, tick " << e.tick;
            } else if (kind == 0x80 || kind == 0x90) {
                EXPECT_EQ(sounding[channel * 128 + e.data1]--, 1) << "note-off without a note-on, tick " << e.tick;
                lastRelease = std::max(lastRelease, e.tick);
            }
        }
    }
    EXPECT_TRUE(tempoAtStart);
    EXPECT_GT(notes, 50);
    for (auto [note, count] : sounding) EXPECT_EQ(count, 0) << "key " << note % 128 << " left hanging";
    for (auto [channel, set] : programSet) {
        // FluidSynth reports the end only once every voice has died; an unsilenced harp rings for ten seconds more.
        EXPECT_EQ(silencedAt.contains(channel) ? silencedAt[channel] : -1, end) << "channel " << channel;
        // A fade at the end would carry over into the next run unless the volume is set again at the start.
        if (volumeChanges[channel] > 0) {
            EXPECT_GE(startVolume[channel], 64) << "channel " << channel;
        }
    }

    EXPECT_GE(seconds(end), 30.0);
    EXPECT_LE(seconds(end), 60.0);
    // A long silent tail would leave a gap each time the tune restarts.
    EXPECT_LE(seconds(end) - seconds(lastRelease), 0.5);
    // The music timer resends "play" every 3 s, the first time 3 to 3.6 s after
    // the tune starts, and the player restarts the tune once its last note has
    // ended: that end falls just before the earliest resend, never after it
    // (which would leave 3 s of silence), and so close to it that the latest
    // resend, 0.6 s on, still comes well within 0.7 s.
    const double beforeResend = 3.0 - std::fmod(seconds(lastRelease), 3.0);
    EXPECT_GE(beforeResend, 0.02) << seconds(lastRelease) << " s";
    EXPECT_LE(beforeResend, 0.1) << seconds(lastRelease) << " s";
}

TEST(SoundAssetsTest, CommittedFilesAreWhatTheToolMakes) {
    EXPECT_TRUE(readAsset("kn.wav") == sounds::clickWav()) << "run make_sounds assets/sounds";
    EXPECT_TRUE(readAsset("peep.wav") == sounds::peepWav()) << "run make_sounds assets/sounds";
    EXPECT_TRUE(readAsset("beep.wav") == sounds::beepWav()) << "run make_sounds assets/sounds";
    EXPECT_TRUE(readAsset("fon.mid") == sounds::backgroundMidi()) << "run make_sounds assets/sounds";
}

}  // namespace
