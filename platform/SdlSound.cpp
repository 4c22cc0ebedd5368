// The sound output over SDL2_mixer and FluidSynth, built as the module the
// program loads (SdlMultimedia.cpp) and linked into the tests.
#include "platform/SoundOutput.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <set>
#include <thread>
#include <vector>

#include "platform/MidiRendering.h"
#include "platform/core/Blanks.h"
#include "platform/core/Files.h"

namespace platform {

namespace {

// Enough for a burst of clicks over the music; when all are busy the oldest sound gives way.
constexpr int kMixChannels = 16;
// How the desktop's sound mixer names the program.
constexpr const char* kMixerName = "Пятнушки";
// The music is kept as rendered, in mono, and spread over the device's channels
// only as it plays: background music needs no stereo, and the program's 48 s
// tune takes 4 MB rather than 8.5 MB. It is rendered at the rate the device is
// opened with, since resampling it as it plays would cost the sound thread a
// third more.
constexpr int kMusicRate = 44100;
// Samples handed to the converter at a time.
constexpr int kFeedSamples = 1024;
// The allocator's own first bar for blocks it maps from the system one by one.
constexpr int kLargeBlock = 128 * 1024;

std::string lowerAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool isMidi(const std::string& name) {
    const std::string ext = lowerAscii(std::filesystem::path(name).extension().string());
    return ext == ".mid" || ext == ".midi";
}

// Sounds and tunes the size of the program's own, with ample room: a larger file
// is no sound for this program, and reading it could take all its memory.
constexpr std::uintmax_t kMaxSoundBytes = std::uintmax_t{8} << 20;
constexpr std::uintmax_t kMaxMusicBytes = std::uintmax_t{1} << 20;

// The file's bytes, when it is a regular file no larger than its kind can be;
// else nothing, with the reason for the user in WHY.
std::optional<std::string> readSoundFile(const std::string& name, std::uintmax_t maxBytes, std::string& why) {
    ReadRefusal refusal = ReadRefusal::none;
    std::optional<std::string> bytes = readFileBytes(name, maxBytes, &why, &refusal);
    if (!bytes && (refusal == ReadRefusal::tooLarge || refusal == ReadRefusal::notAFile)) why = "файл повреждён: " + why;
    return bytes;
}

// FluidSynth takes any bytes at load time and drops a broken file without a word
// once it is played, so the chunk structure is checked here to be able to say so.
bool looksLikeMidi(const std::string& data) {
    if (data.size() >= 12 && data.compare(0, 4, "RIFF") == 0 && data.compare(8, 4, "RMID") == 0) {
        return true;  // a wrapped file: the library unwraps it itself
    }
    const auto chunkLength = [&data](std::size_t at) {
        std::size_t length = 0;
        for (std::size_t i = at + 4; i < at + 8; ++i) length = length << 8 | static_cast<unsigned char>(data[i]);
        return length;
    };
    if (data.size() < 14 || data.compare(0, 4, "MThd") != 0 || chunkLength(0) < 6) return false;
    int tracks = 0;
    std::size_t at = 0;
    while (data.size() - at >= 8) {  // a few stray bytes at the end are common and harmless
        const std::size_t end = at + 8 + chunkLength(at);
        if (end > data.size()) return false;
        if (data.compare(at, 4, "MTrk") == 0) ++tracks;
        at = end;
    }
    return tracks > 0;
}

// A reader over the bytes of a MIDI file that fails softly: past the end it
// reads zeros and remembers that it ran out.
class MidiBytes {
public:
    MidiBytes(std::string_view data, std::size_t at, std::size_t end) : data_(data), at_(at), end_(end) {}
    bool more() const { return at_ < end_; }
    bool broken() const { return broken_; }
    std::uint32_t byte() {
        if (at_ >= end_) {
            broken_ = true;
            return 0;
        }
        return static_cast<unsigned char>(data_[at_++]);
    }
    std::uint32_t peek() const { return at_ < end_ ? static_cast<unsigned char>(data_[at_]) : 0; }
    std::uint32_t varLen() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            const std::uint32_t c = byte();
            value = value << 7 | (c & 0x7F);
            if (!(c & 0x80)) return value;
        }
        broken_ = true;
        return value;
    }
    void skip(std::uint32_t count) {
        if (count > end_ - at_) {
            broken_ = true;
            at_ = end_;
        } else {
            at_ += count;
        }
    }

private:
    std::string_view data_;
    std::size_t at_, end_;
    bool broken_ = false;
};

std::uint32_t bigEndian(std::string_view data, std::size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = 0; i < bytes; ++i) value = value << 8 | static_cast<unsigned char>(data[at + static_cast<std::size_t>(i)]);
    return value;
}

// A rendered tune and where its last note ends.
struct Tune {
    std::vector<std::int16_t> samples;  // mono, kMusicRate
    std::optional<double> notesSeconds;
};

// The tune the mixer plays in place of its own music, through a converter to the
// device's format. Set up while the mixer's music hook is off; from then on the
// audio thread alone touches it, until the hook is taken off again.
struct Playing {
    const Tune* tune = nullptr;
    std::size_t fed = 0;  // samples handed to the converter
    SDL_AudioStream* converter = nullptr;
    std::atomic<std::uint64_t> bytes{0};  // what the device has taken of the tune
    std::atomic<bool> ended{false};
};

// Runs on the audio thread, first thing for every buffer, which comes in silent.
void playTune(void* data, Uint8* buffer, int length) {
    auto& playing = *static_cast<Playing*>(data);
    const std::vector<std::int16_t>& samples = playing.tune->samples;
    while (SDL_AudioStreamAvailable(playing.converter) < length && playing.fed < samples.size()) {
        const std::size_t count = std::min<std::size_t>(kFeedSamples, samples.size() - playing.fed);
        SDL_AudioStreamPut(playing.converter, samples.data() + playing.fed, static_cast<int>(count * 2));
        playing.fed += count;
        if (playing.fed == samples.size()) SDL_AudioStreamFlush(playing.converter);
    }
    const int got = SDL_AudioStreamGet(playing.converter, buffer, length);
    if (got > 0) playing.bytes.fetch_add(static_cast<std::uint64_t>(got), std::memory_order_relaxed);
    if (got < length && playing.fed == samples.size()) playing.ended.store(true, std::memory_order_relaxed);
}

struct FreeChunk {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};

}  // namespace

std::optional<double> midiNotesSeconds(std::string_view data) {
    // A wrapped file (RIFF RMID) holds the plain one in its data chunk.
    if (data.size() >= 12 && data.substr(0, 4) == "RIFF" && data.substr(8, 4) == "RMID") {
        for (std::size_t at = 12; data.size() - at >= 8;) {
            std::uint32_t length = 0;
            for (int i = 3; i >= 0; --i) length = length << 8 | static_cast<unsigned char>(data[at + 4 + static_cast<std::size_t>(i)]);
            if (data.substr(at, 4) == "data") {
                data = data.substr(at + 8, std::min<std::size_t>(length, data.size() - at - 8));
                break;
            }
            if (length > data.size() - at - 8) return std::nullopt;
            at += 8 + length + (length & 1);
        }
    }
    if (data.size() < 14 || data.substr(0, 4) != "MThd") return std::nullopt;
    const std::size_t headerLength = bigEndian(data, 4, 4);
    if (headerLength < 6 || headerLength > data.size() - 8) return std::nullopt;
    const std::uint32_t division = bigEndian(data, 12, 2);

    std::vector<std::pair<std::uint64_t, std::uint32_t>> tempos;  // tick, microseconds a quarter
    std::uint64_t lastNoteEnd = 0;
    bool anyNote = false;
    for (std::size_t at = 8 + headerLength; data.size() - at >= 8;) {
        const std::size_t end = std::min<std::size_t>(data.size(), at + 8 + bigEndian(data, at + 4, 4));
        if (data.substr(at, 4) == "MTrk") {
            MidiBytes track(data, at + 8, end);
            std::uint64_t tick = 0;
            std::uint32_t running = 0;
            while (track.more() && !track.broken()) {
                tick += track.varLen();
                std::uint32_t status = track.peek();
                if (status & 0x80)
                    track.byte();
                else if (running != 0)
                    status = running;
                else
                    break;  // a data byte with no status to run on: the rest is unreadable
                if (status == 0xFF) {
                    running = 0;
                    const std::uint32_t type = track.byte();
                    const std::uint32_t length = track.varLen();
                    if (type == 0x51 && length == 3) {
                        const std::uint32_t tempo = track.byte() << 16 | track.byte() << 8 | track.byte();
                        if (tempo > 0) tempos.emplace_back(tick, tempo);
                    } else {
                        track.skip(length);
                    }
                    if (type == 0x2F) break;
                } else if (status == 0xF0 || status == 0xF7) {
                    running = 0;
                    track.skip(track.varLen());
                } else {
                    running = status;
                    const std::uint32_t kind = status & 0xF0;
                    track.byte();
                    const std::uint32_t velocity = kind == 0xC0 || kind == 0xD0 ? 0 : track.byte();
                    // A note-on with velocity 0 is a note-off; a note never released ends no earlier than it starts.
                    if (kind == 0x80 || kind == 0x90) {
                        if (!track.broken()) lastNoteEnd = std::max(lastNoteEnd, tick);
                        anyNote = anyNote || (kind == 0x90 && velocity > 0);
                    }
                }
            }
        }
        at = end;
    }
    if (!anyNote || division == 0) return std::nullopt;
    if (division & 0x8000) {  // SMPTE: frames a second (negative in the high byte) and ticks a frame
        const int fps = -static_cast<int>(static_cast<std::int8_t>(division >> 8));
        const double perSecond = (fps == 29 ? 29.97 : fps) * static_cast<double>(division & 0xFF);
        if (perSecond <= 0) return std::nullopt;
        return static_cast<double>(lastNoteEnd) / perSecond;
    }
    std::stable_sort(tempos.begin(), tempos.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    double seconds = 0;
    std::uint64_t from = 0;
    std::uint32_t tempo = 500000;  // 120 beats a minute until the file says otherwise
    for (const auto& [tick, next] : tempos) {
        if (tick >= lastNoteEnd) break;
        seconds += static_cast<double>(tick - from) * tempo / division / 1e6;
        from = tick;
        tempo = next;
    }
    return seconds + static_cast<double>(lastNoteEnd - from) * tempo / division / 1e6;
}

// The commands, the device and the tunes as SdlMultimedia describes them.
class SdlSound final : public SoundOutput {
public:
    SdlSound(MessageService& messages, std::string soundFont);
    ~SdlSound() override;
    void execute(std::string_view command) override;
    bool playQuietly(std::string_view name) override;
    bool musicPlaying() const override;
    double musicSeconds() const override;
    void prepare(std::string_view name) override;

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

struct SdlSound::Impl {
    enum class Device { Untried, Open, Missing };

    Impl(MessageService& m, std::string font) : messages(m), soundFont(std::move(font)) {}

    MessageService& messages;
    std::string soundFont;
    std::thread preparing;  // owns everything below until it is joined
    Device device = Device::Untried;
    std::map<std::string, std::unique_ptr<Mix_Chunk, FreeChunk>> chunks;
    std::map<std::string, Tune> tunes;
    std::string currentMusic;  // the music started last; empty when none
    Playing playing;
    int bytesPerSecond = 0;
    std::string deviceError;  // why the device would not open
    bool deviceTold = false;
    // Files found missing or undecodable: told once, then skipped without a word,
    // since the music is resent every few seconds and a click comes with every press.
    std::set<std::string> broken;

    void fail(const std::string& name, const std::string& cause) {
        messages.message("Не удалось воспроизвести звук «" + name + "»: " + cause + ".");
    }
    void failFile(const std::string& name, const std::string& cause) {
        broken.insert(name);
        fail(name, cause);
    }

    // The device is opened on first need and tried only once. Without one the
    // program stays silent: the user hears about it on the first sound only, not
    // on every click, and later sound commands are dropped without a word.
    bool ensureDevice(const std::string& name, bool tell = true) {
        if (device == Device::Untried) openDevice();
        if (device == Device::Open) return true;
        if (tell && !deviceTold) {
            deviceTold = true;
            fail(name, "нет звукового устройства (" + deviceError + ")");
        }
        return false;
    }

    void openDevice() {
        device = Device::Missing;
        // SDL would otherwise take over SIGINT and SIGTERM, and the program could
        // no longer be stopped from outside once a sound had played.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        // The desktop's sound mixer lists the program by its own name and icon,
        // so a parent can find it there to turn the music down.
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, kMixerName);
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_STREAM_NAME, "Музыка и звуки");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            deviceError = SDL_GetError();
            return;
        }
        if (Mix_OpenAudio(kMusicRate, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            deviceError = Mix_GetError();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return;
        }
        Mix_AllocateChannels(kMixChannels);
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        bytesPerSecond = rate * channels * static_cast<int>(SDL_AUDIO_BITSIZE(format) / 8);
        playing.converter = SDL_NewAudioStream(AUDIO_S16SYS, 1, kMusicRate, format, static_cast<Uint8>(channels), rate);
        if (playing.converter == nullptr) {
            deviceError = SDL_GetError();
            Mix_CloseAudio();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            return;
        }
        device = Device::Open;
    }

    // Seconds of sound the device has taken since the current music started.
    double musicSeconds() const {
        if (bytesPerSecond <= 0) return 0;
        return static_cast<double>(playing.bytes.load(std::memory_order_relaxed)) / bytesPerSecond;
    }

    bool musicSounds() const { return !currentMusic.empty() && !playing.ended.load(std::memory_order_relaxed); }

    bool musicStillPlaying(const std::string& name) const {
        if (currentMusic != name || !musicSounds()) return false;
        const std::optional<double>& notes = tunes.at(name).notesSeconds;
        return !notes || musicSeconds() < *notes;
    }

    void stopMusic() {
        Mix_HookMusic(nullptr, nullptr);  // returns once the audio thread has let go
        currentMusic.clear();
    }

    void startMusic(const std::string& name, const Tune& tune) {
        stopMusic();
        SDL_AudioStreamClear(playing.converter);
        playing.tune = &tune;
        playing.fed = 0;
        playing.bytes = 0;
        playing.ended = false;
        currentMusic = name;
        Mix_HookMusic(playTune, &playing);
    }

    bool playSound(const std::string& name, bool tell = true) {
        auto it = chunks.find(name);
        if (it == chunks.end()) {
            // The file is checked before the device, so a wrong name is reported even on a silent machine.
            std::string why;
            const std::optional<std::string> bytes = readSoundFile(name, kMaxSoundBytes, why);
            if (!bytes) {
                if (tell) failFile(name, why);
                return false;
            }
            if (!ensureDevice(name, tell)) return false;
            Mix_Chunk* chunk = Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes->data(), static_cast<int>(bytes->size())), 1);
            if (chunk == nullptr) {
                if (tell) failFile(name, std::string("файл не читается или повреждён (") + Mix_GetError() + ")");
                return false;
            }
            it = chunks.emplace(name, chunk).first;
        }
        Mix_Chunk* chunk = it->second.get();
        if (Mix_PlayChannel(-1, chunk, 0) != -1) return true;
        const int oldest = Mix_GroupOldest(-1);
        if (oldest < 0 || Mix_PlayChannel(oldest, chunk, 0) == -1) {
            if (tell) fail(name, std::string("не удалось начать воспроизведение (") + Mix_GetError() + ")");
            return false;
        }
        return true;
    }

    // Waits for the preparation, if one runs, so that only one thread touches the state.
    void settle() {
        if (preparing.joinable()) preparing.join();
    }

    // Renders a tune whose file has been read as DATA; null, with the reason in
    // ERROR, when the file is not a tune or the synthesizer cannot play it.
    const Tune* loadMusic(const std::string& name, const std::string& data, std::string& error) {
        if (!looksLikeMidi(data)) {
            error = "файл повреждён или не является MIDI-файлом";
            return nullptr;
        }
        // What the synthesizer takes (its sound font alone is 6 MB) goes back to
        // the system once it is done: large blocks as they are freed, since the
        // allocator would otherwise raise its bar for them to the largest block
        // freed so far and keep every one below it; the rest when trimmed.
        mallopt(M_MMAP_THRESHOLD, kLargeBlock);
        std::optional<std::vector<std::int16_t>> samples = renderMidi(data, soundFont, kMusicRate, error);
        malloc_trim(0);
        if (!samples) return nullptr;
        return &tunes.insert_or_assign(name, Tune{std::move(*samples), midiNotesSeconds(data)}).first->second;
    }

    void prepareMusic(const std::string& name) {
        if (device == Device::Untried) openDevice();
        if (device != Device::Open || tunes.count(name) != 0) return;
        std::string error;
        if (const std::optional<std::string> bytes = readSoundFile(name, kMaxMusicBytes, error)) loadMusic(name, *bytes, error);
    }

    // The music plays once; the caller repeats "play" to keep it going, and a
    // repeat that arrives while it still plays must not cut it short. Once its
    // last note has ended a repeat starts it again at once, even while the
    // synthesizer still lets the notes ring.
    void playMusic(const std::string& name) {
        const Tune* tune = nullptr;
        if (const auto it = tunes.find(name); it != tunes.end()) {
            if (musicStillPlaying(name)) return;
            tune = &it->second;
        } else {
            std::string error;
            const std::optional<std::string> bytes = readSoundFile(name, kMaxMusicBytes, error);
            if (!bytes) {
                failFile(name, error);
                return;
            }
            if (!ensureDevice(name)) return;
            try {
                tune = loadMusic(name, *bytes, error);
            } catch (const std::bad_alloc&) {
                error = "не хватает памяти, чтобы подготовить музыку";
            }
            if (tune == nullptr) {
                failFile(name, error);
                return;
            }
        }
        // Another tune, or this one still ringing after its last note, gives way.
        startMusic(name, *tune);
    }

    void close(const std::string& name) {
        if (auto it = tunes.find(name); it != tunes.end()) {
            if (currentMusic == name) stopMusic();
            tunes.erase(it);
            return;
        }
        if (auto it = chunks.find(name); it != chunks.end()) {
            const int channels = Mix_AllocateChannels(-1);
            for (int channel = 0; channel < channels; ++channel) {
                if (Mix_GetChunk(channel) == it->second.get()) Mix_HaltChannel(channel);
            }
            chunks.erase(it);
        }
    }
};

SdlSound::SdlSound(MessageService& messages, std::string soundFont)
    : impl_(std::make_unique<Impl>(messages, std::move(soundFont))) {}

SdlSound::~SdlSound() {
    impl_->settle();
    if (impl_->device != Impl::Device::Open) return;
    impl_->stopMusic();
    Mix_HaltChannel(-1);
    impl_->chunks.clear();
    impl_->tunes.clear();
    SDL_FreeAudioStream(impl_->playing.converter);
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlSound::musicPlaying() const {
    impl_->settle();
    return impl_->device == Impl::Device::Open && impl_->musicSounds();
}

double SdlSound::musicSeconds() const { return musicPlaying() ? impl_->musicSeconds() : 0; }

void SdlSound::prepare(std::string_view name) {
    impl_->settle();
    impl_->preparing = std::thread([impl = impl_.get(), file = std::string(name)] {
        // Nothing may escape the thread: a tune that could not be made ready now
        // is made ready, or its failure told, by its first "play".
        try {
            impl->prepareMusic(file);
        } catch (const std::exception&) {
        }
        SDL_TLSCleanup();  // SDL keeps an error buffer for every thread that calls it, freed only here
    });
}

bool SdlSound::playQuietly(std::string_view name) {
    impl_->settle();
    const std::string file(name);
    if (file.empty() || impl_->broken.count(file) != 0) return false;
    return impl_->playSound(file, false);
}

void SdlSound::execute(std::string_view command) {
    impl_->settle();
    const std::string_view text = trimmed(command);
    const auto gap = text.find_first_of(" \t");
    const std::string verb = lowerAscii(text.substr(0, gap));
    const std::string name(gap == std::string_view::npos ? std::string_view{} : trimmed(text.substr(gap)));

    if (verb != "play" && verb != "close") {
        impl_->messages.message("Неизвестная звуковая команда: «" + std::string(text) + "».");
        return;
    }
    if (name.empty()) {
        impl_->messages.message("В звуковой команде «" + std::string(text) + "» не указан файл.");
        return;
    }
    if (verb == "close") {
        impl_->close(name);
    } else if (impl_->broken.count(name) != 0) {
        return;
    } else if (isMidi(name)) {
        impl_->playMusic(name);
    } else {
        impl_->playSound(name);
    }
}

}  // namespace platform

extern "C" platform::SoundOutput* pyatnushkiSoundOutput(platform::MessageService& messages, const char* soundFont) {
    return new platform::SdlSound(messages, soundFont);
}
