// What the program's sound output really plays, recorded by SDL's "disk" audio
// driver into a file of raw samples (16-bit stereo at 44.1 kHz, the format the
// sound layer opens): the background tune's restarts and the beep.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/MidiRendering.h"
#include "platform/QtServices.h"
#include "platform/SdlMultimedia.h"
#include "platform/fakes/Fakes.h"

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 44100;
constexpr int kChannels = 2;
constexpr int kSilent = 328;  // -40 dBFS

const fs::path kSounds = fs::path(PYATNUSHKI_SOURCE_DIR) / "assets" / "sounds";

class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A folder of its own as the current directory, holding copies of the program's sounds.
class SoundOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        home_ = fs::current_path();
        folder_ = fs::temp_directory_path() /
                  ("pyatnushki-output-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::current_path(folder_);
        for (const char* name : {"beep.wav", "fon.mid"}) fs::copy_file(kSounds / name, folder_ / name);
    }
    void TearDown() override {
        fs::current_path(home_);
        fs::remove_all(folder_);
    }

    fs::path recording() const { return folder_ / "output.raw"; }

    // Seconds of sound the driver has written so far.
    double recordedSeconds() const {
        std::error_code error;
        const auto bytes = fs::file_size(recording(), error);
        return error ? 0.0 : static_cast<double>(bytes) / (kRate * kChannels * 2);
    }

    // The loudest of each 10 ms of the recording, both channels.
    std::vector<int> peaksPer10Ms() const {
        std::ifstream in(recording(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        constexpr std::size_t kWindow = kRate / 100 * kChannels;
        std::vector<int> peaks;
        for (std::size_t sample = 0; (sample + kWindow) * 2 <= bytes.size(); sample += kWindow) {
            int peak = 0;
            for (std::size_t i = sample; i < sample + kWindow; ++i) {
                const auto low = static_cast<unsigned char>(bytes[2 * i]);
                const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
                peak = std::max(peak, std::abs(static_cast<int>(static_cast<std::int16_t>(low | high << 8))));
            }
            peaks.push_back(peak);
        }
        return peaks;
    }

    // The recording as one channel of samples, both channels summed.
    std::vector<double> samples() const {
        std::ifstream in(recording(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::vector<double> out(bytes.size() / 4);
        for (std::size_t i = 0; i < out.size(); ++i) {
            for (std::size_t c = 0; c < 2; ++c) {
                const auto low = static_cast<unsigned char>(bytes[4 * i + 2 * c]);
                const auto high = static_cast<unsigned char>(bytes[4 * i + 2 * c + 1]);
                out[i] += static_cast<std::int16_t>(low | high << 8);
            }
        }
        return out;
    }

    platform::fakes::FakeMessage messages_;
    fs::path home_, folder_;
};

// The power of each of the twelve pitch classes (C = 0) over octaves 4 to 6,
// by Goertzel's filter over frames of 8192 samples (a 5 Hz band, narrower than
// a semitone there).
std::array<double, 12> pitchClasses(const std::vector<double>& sound) {
    constexpr std::size_t kFrame = 8192;
    std::array<double, 12> power{};
    for (int key = 60; key < 96; ++key) {
        const double hz = 440.0 * std::pow(2.0, (key - 69) / 12.0);
        const double coefficient = 2 * std::cos(2 * std::numbers::pi * hz / kRate);
        for (std::size_t at = 0; at + kFrame <= sound.size(); at += kFrame) {
            double s1 = 0, s2 = 0;
            for (std::size_t i = at; i < at + kFrame; ++i) {
                const double s0 = sound[i] + coefficient * s1 - s2;
                s2 = s1;
                s1 = s0;
            }
            power[static_cast<std::size_t>(key % 12)] += s1 * s1 + s2 * s2 - coefficient * s1 * s2;
        }
    }
    return power;
}

// The music timer ticks every 600 ms and resends "play fon.mid" on every fifth
// tick, the first time on the sixth. A tune not yet ready holds up the main
// window's load, and a timer that fell behind goes on from when it is served
// again, so the first resend comes 3 to 3.6 s after the tune starts, then every
// 3 s: the test resends at the earliest and at the latest. The resends follow
// the recording's own clock: the disk driver writes faster or slower than real
// time, and a listener hears the recording's time.
TEST_F(SoundOutputTest, TheTuneStartsAgainWithinSevenTenthsOfASecondOfItsEnd) {
    const std::optional<double> tune = platform::midiNotesSeconds([] {
        std::ifstream in(kSounds / "fon.mid", std::ios::binary);
        return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }());
    ASSERT_TRUE(tune.has_value());

    for (const double firstResend : {3.0, 3.6}) {
    SCOPED_TRACE("the first resend after " + std::to_string(firstResend) + " s");
    fs::remove(recording());
    const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    const ScopedEnv file("SDL_DISKAUDIOFILE", recording().string());
    const ScopedEnv pace("SDL_DISKAUDIODELAY", "3");  // ms a buffer of 23 ms: several times real time
    double started = 0;
    {
        platform::SdlMultimedia media(messages_);
        media.execute("play fon.mid");
        started = recordedSeconds();
        ASSERT_TRUE(messages_.shown.empty()) << messages_.shown[0];
        // Through two ends of the tune and the restarts after them.
        const double until = started + 2 * *tune + 3.6 + 1.5;
        double nextResend = started + firstResend;
        while (recordedSeconds() < until) {
            if (recordedSeconds() >= nextResend) {
                media.execute("play fon.mid");
                nextResend += 3.0;
            }
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        }
        media.execute("close fon.mid");
    }
    EXPECT_TRUE(messages_.shown.empty());

    const std::vector<int> peaks = peaksPer10Ms();
    const auto loud = [&](std::size_t window) { return peaks[window] >= kSilent; };
    const auto first = static_cast<std::size_t>(std::find_if(peaks.begin(), peaks.end(),
                                                             [](int peak) { return peak >= kSilent; }) -
                                                peaks.begin());
    ASSERT_LT(first, peaks.size()) << "nothing was heard";
    EXPECT_NEAR(static_cast<double>(first) / 100, started, 0.2) << "the tune started late";

    // Every silence from the first sound on, in the order heard.
    std::vector<std::pair<double, double>> silences;  // where, how long (seconds)
    std::size_t run = 0;
    for (std::size_t w = first; w < peaks.size(); ++w) {
        if (!loud(w)) {
            ++run;
            continue;
        }
        if (run > 0) silences.emplace_back(static_cast<double>(w - run) / 100, static_cast<double>(run) / 100);
        run = 0;
    }
    std::printf("the tune started at %.2f s\n", started);
    for (const auto& [at, length] : silences) std::printf("silent for %.2f s from %.2f s\n", length, at);
    for (const auto& [at, length] : silences) {
        EXPECT_LE(length, 0.7) << "silent for " << length << " s from " << at << " s (the tune lasts " << *tune
                               << " s to its last note)";
    }
    // It did start again twice: there is sound after each end.
    const double secondEnd = started + 2 * *tune + 0.9;
    ASSERT_GT(peaks.size(), static_cast<std::size_t>(secondEnd * 100) + 50);
    for (const double after : {started + *tune + 1.5, secondEnd + 0.5}) {
        const auto from = static_cast<std::size_t>(after * 100);
        EXPECT_TRUE(std::any_of(peaks.begin() + static_cast<long>(from), peaks.begin() + static_cast<long>(from) + 50,
                                [](int peak) { return peak >= kSilent; }))
            << "no sound at " << after << " s";
    }
    }
}

TEST_F(SoundOutputTest, BothSoundFontsPlayTheTunesNotes) {
    std::vector<std::array<double, 12>> renderings;
    for (const char* font : platform::kSoundFonts) {
        SCOPED_TRACE(font);
        ASSERT_TRUE(fs::is_regular_file(font)) << "not installed (run scripts/setup.sh)";
        fs::remove(recording());
        {
            const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
            const ScopedEnv file("SDL_DISKAUDIOFILE", recording().string());
            const ScopedEnv pace("SDL_DISKAUDIODELAY", "6");
            platform::SdlMultimedia media(messages_, font);
            media.execute("play fon.mid");
            const double until = recordedSeconds() + 8;
            while (recordedSeconds() < until) std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        ASSERT_TRUE(messages_.shown.empty()) << messages_.shown[0];
        const auto power = pitchClasses(samples());
        double played = power[0];
        for (const int key : {2, 4, 5, 7, 9}) played = std::min(played, power[static_cast<std::size_t>(key)]);
        double between = 0;
        for (const int key : {1, 3, 6, 8, 10}) between = std::max(between, power[static_cast<std::size_t>(key)]);
        std::printf("%s: the tune's notes %.1f times the keys between\n", font, played / between);
        EXPECT_GT(played, 3 * between) << "the tune's notes do not stand out";
        renderings.push_back(power);
    }
    // The two renderings' pitch profiles in decibels, compared by their correlation.
    ASSERT_EQ(renderings.size(), 2u);
    const auto normalised = [](std::array<double, 12> p) {
        double mean = 0, norm = 0;
        for (double& v : p) v = 10 * std::log10(v + 1);
        for (double v : p) mean += v / 12;
        for (double& v : p) norm += (v - mean) * (v - mean);
        for (double& v : p) v = (v - mean) / std::sqrt(norm);
        return p;
    };
    const auto a = normalised(renderings[0]), b = normalised(renderings[1]);
    double correlation = 0;
    for (std::size_t i = 0; i < 12; ++i) correlation += a[i] * b[i];
    std::printf("the two fonts' pitch profiles correlate by %.2f\n", correlation);
    EXPECT_GT(correlation, 0.8);
}

TEST_F(SoundOutputTest, TheBeepPlaysThroughTheSoundOutput) {
    const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    const ScopedEnv file("SDL_DISKAUDIOFILE", recording().string());
    {
        platform::SdlMultimedia media(messages_);
        platform::QtBeep beep(media);
        beep.beep();
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
    }
    EXPECT_TRUE(messages_.shown.empty());

    const std::vector<int> peaks = peaksPer10Ms();
    const long heard = std::count_if(peaks.begin(), peaks.end(), [](int peak) { return peak >= kSilent; });
    const int loudest = peaks.empty() ? 0 : *std::max_element(peaks.begin(), peaks.end());
    // The 160 ms beep, as loud as its file: soft, but well above silence.
    EXPECT_GE(heard, 10) << "ms of sound: " << heard * 10;
    EXPECT_LE(heard, 25) << "ms of sound: " << heard * 10;
    EXPECT_GT(loudest, 3000);
    EXPECT_LT(loudest, 16422) << "louder than -6 dBFS";
}

// Without a device, or without its file, the beep is the desktop's bell and
// says nothing; a missing device is still told by the next sound command.
TEST_F(SoundOutputTest, WithoutDeviceOrFileTheBeepFallsBackToTheBellSilently) {
    {
        const ScopedEnv driver("SDL_AUDIODRIVER", "no-such-driver");
        platform::SdlMultimedia media(messages_);
        platform::QtBeep beep(media);
        beep.beep();
        beep.beep();
        EXPECT_TRUE(messages_.shown.empty());
        media.execute("play beep.wav");
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_NE(messages_.shown[0].find("нет звукового устройства"), std::string::npos) << messages_.shown[0];
    }
    messages_.shown.clear();
    {
        const ScopedEnv driver("SDL_AUDIODRIVER", "disk");
        const ScopedEnv file("SDL_DISKAUDIOFILE", recording().string());
        platform::SdlMultimedia media(messages_);
        platform::QtBeep beep(media, "nothere.wav");
        beep.beep();
        EXPECT_TRUE(messages_.shown.empty());
        media.execute("play nothere.wav");
        ASSERT_EQ(messages_.shown.size(), 1u);
        EXPECT_NE(messages_.shown[0].find("файл не найден"), std::string::npos) << messages_.shown[0];
    }
    // The desktop's bell alone, as before there was a sound output to use.
    platform::QtBeep bell;
    bell.beep();
}

}  // namespace
