// Runs against the real SDL_mixer; SDL_AUDIODRIVER=dummy gives it a device that plays in real time.
#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "platform/MidiRendering.h"
#include "platform/SdlMultimedia.h"
#include "platform/fakes/Fakes.h"
#include "tests/support/AddressSpaceLimit.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

void putLE(std::string& out, unsigned value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putBE(std::string& out, unsigned value, int bytes) {
    for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

void putBytes(std::string& out, std::initializer_list<int> bytes) {
    for (int b : bytes) out.push_back(static_cast<char>(b));
}

// 16-bit mono PCM, a 440 Hz tone.
std::string wavFile(int ms) {
    const unsigned rate = 22050;
    const unsigned samples = rate * static_cast<unsigned>(ms) / 1000;
    std::string out = "RIFF";
    putLE(out, 36 + samples * 2, 4);
    out += "WAVEfmt ";
    putLE(out, 16, 4);
    putLE(out, 1, 2);  // PCM
    putLE(out, 1, 2);  // mono
    putLE(out, rate, 4);
    putLE(out, rate * 2, 4);
    putLE(out, 2, 2);
    putLE(out, 16, 2);
    out += "data";
    putLE(out, samples * 2, 4);
    for (unsigned i = 0; i < samples; ++i) {
        const double s = 8000.0 * std::sin(2.0 * 3.14159265 * 440.0 * i / rate);
        putLE(out, static_cast<unsigned>(static_cast<int>(s)) & 0xFFFF, 2);
    }
    return out;
}

void putDelta(std::string& out, unsigned ticks) {
    unsigned char buffer[4];
    int n = 0;
    buffer[n++] = ticks & 0x7F;
    while ((ticks >>= 7) != 0) buffer[n++] = static_cast<unsigned char>((ticks & 0x7F) | 0x80);
    while (n > 0) out.push_back(static_cast<char>(buffer[--n]));
}

// A format 0 Standard MIDI File of back-to-back notes; one tick is one millisecond.
std::string midiFile(int notes, int noteMs, int channel = 0) {
    std::string track;
    putDelta(track, 0);
    putBytes(track, {0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // 1,000,000 µs a quarter
    putDelta(track, 0);
    putBytes(track, {0xC0 | channel, 0x00});
    for (int i = 0; i < notes; ++i) {
        putDelta(track, 0);
        putBytes(track, {0x90 | channel, 60 + i % 12, 100});
        putDelta(track, static_cast<unsigned>(noteMs));
        putBytes(track, {0x80 | channel, 60 + i % 12, 0});
    }
    putDelta(track, 0);
    putBytes(track, {0xFF, 0x2F, 0x00});

    std::string out = "MThd";
    putBE(out, 6, 4);
    putBE(out, 0, 2);     // format 0
    putBE(out, 1, 2);     // one track
    putBE(out, 1000, 2);  // ticks a quarter
    out += "MTrk";
    putBE(out, static_cast<unsigned>(track.size()), 4);
    return out + track;
}

void writeFile(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// Milliseconds until the music stops by itself, or nothing when it still plays after limitMs.
std::optional<long long> msUntilMusicStops(const platform::SdlMultimedia& media, int limitMs) {
    const auto start = Clock::now();
    while (media.musicPlaying()) {
        if (msSince(start) > limitMs) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return msSince(start);
}

class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_) setenv(name_, old_->c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

class SdlMultimediaTest : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "dummy", 0);  // never the speakers, whoever runs the tests
        home_ = fs::current_path();
        folder_ = fs::temp_directory_path() /
                  ("pyatnushki-mm-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::current_path(folder_);
        writeFile("kn.wav", wavFile(50));
        writeFile("long.wav", wavFile(1000));
        writeFile("fon.mid", midiFile(8, 250));  // 2 s of notes
        writeFile("short.mid", midiFile(3, 100, 9));  // drums: they fade out quickly
    }
    void TearDown() override {
        media_.reset();
        fs::current_path(home_);
        fs::remove_all(folder_);
    }

    platform::SdlMultimedia& media() {
        if (!media_) media_ = std::make_unique<platform::SdlMultimedia>(messages_);
        return *media_;
    }
    const std::vector<std::string>& shown() const { return messages_.shown; }

    platform::fakes::FakeMessage messages_;
    std::unique_ptr<platform::SdlMultimedia> media_;
    fs::path home_;
    fs::path folder_;
};

TEST_F(SdlMultimediaTest, SoundEffectsStartAtOnceAndStayLoaded) {
    const auto start = Clock::now();
    media().execute("play long.wav");
    media().execute("  PLAY   long.wav ");
    EXPECT_LT(msSince(start), 500);
    EXPECT_EQ(Mix_Playing(-1), 2);  // the second overlaps the first
    media().execute("play kn.wav");
    EXPECT_TRUE(shown().empty());

    // Kept open: the file is no longer needed on disk.
    fs::remove("kn.wav");
    media().execute("play kn.wav");
    EXPECT_TRUE(shown().empty());

    // Closing stops it and frees it, so the next play looks for the file again.
    media().execute("close long.wav");
    media().execute("close kn.wav");
    EXPECT_EQ(Mix_Playing(-1), 0);
    media().execute("play kn.wav");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_NE(shown()[0].find("«kn.wav»"), std::string::npos);
}

TEST_F(SdlMultimediaTest, MusicPlaysOnceAndRepeatsOnlyAfterItsLastNote) {
    // Two seconds of piano notes; the synthesizer then lets them ring and
    // reverberate, so a run lasts longer than the notes: measure it.
    media().execute("play fon.mid");
    ASSERT_TRUE(shown().empty()) << shown()[0];
    const auto full = msUntilMusicStops(media(), 8000);
    ASSERT_TRUE(full.has_value());
    ASSERT_GE(*full, 2000);

    // Where the tune is, in sound played: a machine slow to serve the device
    // stretches the time a run takes, never the sound.
    const auto soundedFor = [&](double seconds) {
        while (media().musicPlaying() && media().musicSeconds() < seconds) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return media().musicPlaying();
    };

    // Halfway through the notes a repeat leaves it alone.
    media().execute("play fon.mid");
    ASSERT_TRUE(soundedFor(1.0));
    media().execute("play fon.mid");
    EXPECT_GE(media().musicSeconds(), 1.0) << "restarted instead of left alone";
    ASSERT_TRUE(msUntilMusicStops(media(), 8000).has_value());

    // After the last note a repeat starts it again at once, though it still rings.
    media().execute("play fon.mid");
    if (soundedFor(2.3)) {
        media().execute("play fon.mid");
        EXPECT_LT(media().musicSeconds(), 1.0) << "the ringing end was left to play out";
        ASSERT_TRUE(msUntilMusicStops(media(), 8000).has_value());
    }
    EXPECT_TRUE(shown().empty());
}

// A tune's length is read from its file: ticks by the tempo in force, up to
// the last note's end, whatever follows it.
TEST(MidiNotesSecondsTest, CountsToTheEndOfTheLastNote) {
    // A track: tempo at the start, then notes of noteMs each, then the end after `tail` ticks.
    const auto track = [](std::initializer_list<std::pair<unsigned, std::string>> events) {
        std::string body;
        for (const auto& [delta, bytes] : events) {
            putDelta(body, delta);
            body += bytes;
        }
        std::string out = "MTrk";
        putBE(out, static_cast<unsigned>(body.size()), 4);
        return out + body;
    };
    const auto file = [](int format, unsigned division, std::initializer_list<std::string> tracks) {
        std::string out = "MThd";
        putBE(out, 6, 4);
        putBE(out, static_cast<unsigned>(format), 2);
        putBE(out, static_cast<unsigned>(tracks.size()), 2);
        putBE(out, division, 2);
        for (const std::string& t : tracks) out += t;
        return out;
    };
    const std::string end = "\xFF\x2F\x00";
    const std::string tempoHalfSecond = std::string("\xFF\x51\x03\x07\xA1\x20", 6);  // 500,000 µs a quarter
    const std::string tempoOneSecond = std::string("\xFF\x51\x03\x0F\x42\x40", 6);   // 1,000,000 µs a quarter
    const std::string on = "\x90\x3C\x64", off = "\x80\x3C\x40";
    const std::string onZero = std::string("\x90\x3C\x00", 3);

    const struct {
        const char* what;
        std::string bytes;
        std::optional<double> seconds;
    } rows[] = {
        {"eight notes of 250 ms", midiFile(8, 250), 2.0},
        {"silence after the last note", file(0, 1000, {track({{0, tempoOneSecond}, {0, on}, {1500, off}, {9000, end}})}),
         1.5},
        {"no tempo: 120 beats a minute", file(0, 480, {track({{0, on}, {960, off}, {0, end}})}), 1.0},
        {"running status, note-on 0 as note-off",
         file(0, 1000, {track({{0, tempoOneSecond}, {0, on}, {500, std::string("\x3C\x00", 2)}, {0, end}})}), 0.5},
        {"note-on with velocity 0", file(0, 1000, {track({{0, tempoOneSecond}, {0, on}, {700, onZero}, {0, end}})}), 0.7},
        {"tempo change in another track",
         file(1, 1000,
              {track({{0, tempoOneSecond}, {1000, tempoHalfSecond}, {0, end}}),
               track({{0, on}, {2000, off}, {0, end}})}),
         1.0 + 0.5},
        {"SMPTE time, 25 frames of 40 ticks", file(0, 0xE728, {track({{0, on}, {2500, off}, {0, end}})}), 2.5},
        {"wrapped in RIFF RMID",
         [&] {
             const std::string smf = midiFile(4, 250);
             std::string out = "RIFF";
             putLE(out, static_cast<unsigned>(12 + smf.size()), 4);
             out += "RMIDdata";
             putLE(out, static_cast<unsigned>(smf.size()), 4);
             return out + smf;
         }(),
         1.0},
        {"no notes", file(0, 1000, {track({{0, tempoOneSecond}, {1000, end}})}), std::nullopt},
        {"not MIDI", "RIFF....WAVEfmt ", std::nullopt},
        {"header only", "MThd", std::nullopt},
    };
    for (const auto& row : rows) {
        const std::optional<double> seconds = platform::midiNotesSeconds(row.bytes);
        ASSERT_EQ(seconds.has_value(), row.seconds.has_value()) << row.what;
        if (seconds) {
            EXPECT_NEAR(*seconds, *row.seconds, 1e-9) << row.what;
        }
    }
    // A file cut short anywhere is read as far as it goes, never past its end.
    const std::string whole = midiFile(8, 250);
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        const auto seconds = platform::midiNotesSeconds(whole.substr(0, cut));
        if (seconds) {
            EXPECT_LE(*seconds, 2.0) << cut;
        }
    }
}

TEST_F(SdlMultimediaTest, CloseStopsMusicAndPlayReopensIt) {
    media().execute("close fon.mid");  // not open yet: nothing to do
    media().execute("play fon.mid");
    media().execute("close fon.mid");
    EXPECT_FALSE(media().musicPlaying());
    media().execute("play fon.mid");
    EXPECT_TRUE(media().musicPlaying());
    // Another piece takes over from the one playing.
    media().execute("play short.mid");
    EXPECT_TRUE(media().musicPlaying());
    media().execute("close fon.mid");
    EXPECT_TRUE(media().musicPlaying());
    media().execute("close short.mid");
    EXPECT_FALSE(media().musicPlaying());
    EXPECT_TRUE(shown().empty());

    // The device belongs to the object that opened it.
    media_.reset();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

// The music is resent every few seconds and every press clicks: a file that is
// missing or will not decode is told once, naming it and why, then left out.
TEST_F(SdlMultimediaTest, MissingAndBrokenFilesAreToldOncePerFile) {
    writeFile("bad.wav", "not a sound at all");
    writeFile("bad.mid", "MThd but nothing else");
    writeFile("cut.mid", midiFile(8, 250).substr(0, 40));
    writeFile("padded.mid", midiFile(1, 100) + std::string(3, '\0'));
    // Sparse: 6 GB that take no disk, but would take the memory of a reader that read them whole.
    for (const char* huge : {"huge.wav", "huge.mid"}) {
        writeFile(huge, "RIFF");
        ASSERT_EQ(::truncate(huge, off_t{6} << 30), 0);
    }
    for (const char* pipe : {"pipe.wav", "pipe.mid"}) ASSERT_EQ(::mkfifo(pipe, 0600), 0);  // opening it would wait
    const struct {
        const char* name;
        const char* cause;
    } rows[] = {
        {"nothere.wav", "файл не найден"},
        {"nothere.mid", "файл не найден"},
        {"bad.wav", "повреждён"},
        {"bad.mid", "повреждён"},
        {"cut.mid", "повреждён"},
        {"huge.wav", "повреждён: файл слишком велик"},
        {"huge.mid", "повреждён: файл слишком велик"},
        {"pipe.wav", "повреждён: это не обычный файл"},
        {"pipe.mid", "повреждён: это не обычный файл"},
    };
    for (const auto& row : rows) {
        messages_.shown.clear();
        const testing_support::AddressSpaceLimit capped(1L << 30);
        media().prepare(row.name);  // on a thread of its own: nothing may escape it
        // The music timer's resends over half a minute, and a few clicks besides.
        for (int play = 0; play < 12; ++play) media().execute(std::string("play ") + row.name);
        ASSERT_EQ(shown().size(), 1u) << row.name;
        EXPECT_NE(shown()[0].find(std::string("«") + row.name + "»"), std::string::npos) << shown()[0];
        EXPECT_NE(shown()[0].find(row.cause), std::string::npos) << shown()[0];
    }
    // Closing a file that never played is no fault either.
    messages_.shown.clear();
    media().execute("close nothere.mid");
    EXPECT_TRUE(shown().empty());

    // Stray bytes after the last track are common in real files and do no harm.
    media().execute("play padded.mid");
    EXPECT_TRUE(shown().empty()) << shown()[0];
    // A good sound still plays after the broken ones were left out.
    media().execute("play kn.wav");
    EXPECT_TRUE(shown().empty()) << shown()[0];
}

TEST_F(SdlMultimediaTest, MalformedCommandsAreReported) {
    for (const char* command : {"", "   ", "stop kn.wav", "playkn.wav", "play", "close  "}) {
        messages_.shown.clear();
        media().execute(command);
        EXPECT_EQ(shown().size(), 1u) << "«" << command << "»";
    }
    messages_.shown.clear();
    media().execute("stop kn.wav");
    ASSERT_EQ(shown().size(), 1u);
    EXPECT_NE(shown()[0].find("«stop kn.wav»"), std::string::npos) << shown()[0];
}

TEST_F(SdlMultimediaTest, WithoutDeviceOnlyTheFirstSoundComplains) {
    // No such driver at all, or a driver whose device will not open. SDL reads
    // these when the audio subsystem starts; every other test leaves it shut.
    const ScopedEnv unwritable("SDL_DISKAUDIOFILE", (folder_ / "no-such-folder" / "out.raw").c_str());
    for (const char* driver : {"no-such-driver", "disk"}) {
        SCOPED_TRACE(driver);
        ASSERT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
        const ScopedEnv noDevice("SDL_AUDIODRIVER", driver);
        messages_.shown.clear();
        media_ = std::make_unique<platform::SdlMultimedia>(messages_);

        media().execute("play kn.wav");
        ASSERT_EQ(shown().size(), 1u);
        EXPECT_NE(shown()[0].find("«kn.wav»"), std::string::npos) << shown()[0];
        EXPECT_NE(shown()[0].find("нет звукового устройства"), std::string::npos) << shown()[0];

        media().execute("play fon.mid");
        media().execute("play kn.wav");
        media().execute("close kn.wav");
        EXPECT_EQ(shown().size(), 1u);

        // Mistakes in the program's own data still show.
        media().execute("play nothere.wav");
        media().execute("jump");
        ASSERT_EQ(shown().size(), 3u);
        EXPECT_NE(shown()[1].find("файл не найден"), std::string::npos) << shown()[1];
        EXPECT_NE(shown()[2].find("«jump»"), std::string::npos) << shown()[2];

        media_.reset();
        EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    }
}

}  // namespace

TEST(SoundFontTest, TheSmallFontIsPreferredAndTheLargeOneTakesOverWhenAlone) {
    const fs::path folder = fs::temp_directory_path() / ("pyatnushki-fonts-" + std::to_string(getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder / "a-folder.sf2");
    const std::string small = (folder / "small.sf2").string(), large = (folder / "large.sf2").string();
    const std::string notAFile = (folder / "a-folder.sf2").string();
    const char* fonts[] = {small.c_str(), large.c_str()};

    EXPECT_EQ(platform::chooseSoundFont(fonts), small) << "neither installed: the failure names the preferred one";
    writeFile(large, "large");
    EXPECT_EQ(platform::chooseSoundFont(fonts), large);
    writeFile(small, "small");
    EXPECT_EQ(platform::chooseSoundFont(fonts), small);
    const char* folderFirst[] = {notAFile.c_str(), large.c_str()};
    EXPECT_EQ(platform::chooseSoundFont(folderFirst), large);
    EXPECT_EQ(platform::chooseSoundFont({}), "");
    fs::remove_all(folder);
}

// The tune is loaded ahead on a thread of its own; whatever comes first after
// it waits for it, and a failure is still told once, by the first "play".
TEST_F(SdlMultimediaTest, APreparedTunePlaysAtOnceAndAFailedOneIsToldWhenPlayed) {
    media().prepare("fon.mid");
    media().execute("play kn.wav");  // meanwhile: the device it opened is shared
    media().execute("play fon.mid");
    EXPECT_TRUE(media().musicPlaying());
    EXPECT_TRUE(shown().empty()) << shown()[0];
    media().prepare("fon.mid");  // prepared already: the playing tune is left alone
    media().execute("play fon.mid");
    EXPECT_TRUE(media().musicPlaying());

    writeFile("bad.mid", "MThd but nothing else");
    for (const char* name : {"bad.mid", "nothere.mid"}) {
        messages_.shown.clear();
        media().prepare(name);
        media().prepare(name);
        EXPECT_TRUE(shown().empty()) << name;
        media().execute(std::string("play ") + name);
        media().execute(std::string("play ") + name);
        ASSERT_EQ(shown().size(), 1u) << name;
        EXPECT_NE(shown()[0].find(std::string("«") + name + "»"), std::string::npos) << shown()[0];
    }
    // Destroyed while a preparation may still run.
    media().prepare("fon.mid");
    media_.reset();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}
