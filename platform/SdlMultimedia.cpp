#include "platform/SdlMultimedia.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <system_error>

namespace platform {

namespace {

// Enough for a burst of clicks over the music; when all are busy the oldest sound gives way.
constexpr int kMixChannels = 16;

std::string_view trimmed(std::string_view s) {
    constexpr std::string_view blanks = " \t\r\n";
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

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

bool fileExists(const std::string& name) {
    std::error_code error;
    return std::filesystem::is_regular_file(name, error);
}

// FluidSynth takes any bytes at load time and drops a broken file without a word
// once it is played, so the chunk structure is checked here to be able to say so.
bool looksLikeMidi(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
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

struct FreeChunk {
    void operator()(Mix_Chunk* chunk) const { Mix_FreeChunk(chunk); }
};
struct FreeMusic {
    void operator()(Mix_Music* music) const { Mix_FreeMusic(music); }
};

}  // namespace

struct SdlMultimedia::Impl {
    enum class Device { Untried, Open, Missing };

    Impl(MessageService& m, std::string font) : messages(m), soundFont(std::move(font)) {}

    MessageService& messages;
    std::string soundFont;
    Device device = Device::Untried;
    std::map<std::string, std::unique_ptr<Mix_Chunk, FreeChunk>> chunks;
    std::map<std::string, std::unique_ptr<Mix_Music, FreeMusic>> musics;
    std::string currentMusic;  // the music started last; empty when none

    void fail(const std::string& name, const std::string& cause) {
        messages.message("Не удалось воспроизвести звук «" + name + "»: " + cause + ".");
    }

    // The device is opened on first need and tried only once. Without one the
    // program stays silent: the user hears about it on the first sound only, not
    // on every click, and later sound commands are dropped without a word.
    bool ensureDevice(const std::string& name) {
        if (device != Device::Untried) return device == Device::Open;
        device = Device::Missing;
        // SDL would otherwise take over SIGINT and SIGTERM, and the program could
        // no longer be stopped from outside once a sound had played.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            fail(name, std::string("нет звукового устройства (") + SDL_GetError() + ")");
            return false;
        }
        // Without a MIDI decoder the effects still play; the music fails when it is loaded.
        Mix_Init(MIX_INIT_MID);
        // Before opening: that is when SDL_mixer picks its MIDI decoder, and FluidSynth
        // is only chosen if the sound font it is given then can be read.
        if (!soundFont.empty()) Mix_SetSoundFonts(soundFont.c_str());
        if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 1024) != 0) {
            const std::string error = Mix_GetError();
            Mix_Quit();
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
            fail(name, "нет звукового устройства (" + error + ")");
            return false;
        }
        Mix_AllocateChannels(kMixChannels);
        device = Device::Open;
        return true;
    }

    // Checks the file before the device so a wrong name is reported even on a silent machine.
    bool readyToLoad(const std::string& name) {
        if (!fileExists(name)) {
            fail(name, "файл не найден");
            return false;
        }
        return ensureDevice(name);
    }

    void playSound(const std::string& name) {
        auto it = chunks.find(name);
        if (it == chunks.end()) {
            if (!readyToLoad(name)) return;
            Mix_Chunk* chunk = Mix_LoadWAV(name.c_str());
            if (chunk == nullptr) {
                fail(name, std::string("файл не читается или повреждён (") + Mix_GetError() + ")");
                return;
            }
            it = chunks.emplace(name, chunk).first;
        }
        Mix_Chunk* chunk = it->second.get();
        if (Mix_PlayChannel(-1, chunk, 0) != -1) return;
        const int oldest = Mix_GroupOldest(-1);
        if (oldest < 0 || Mix_PlayChannel(oldest, chunk, 0) == -1) {
            fail(name, std::string("не удалось начать воспроизведение (") + Mix_GetError() + ")");
        }
    }

    // The music plays once; the caller repeats "play" to keep it going, and a
    // repeat that arrives while it still plays must not cut it short.
    void playMusic(const std::string& name) {
        auto it = musics.find(name);
        if (it == musics.end()) {
            if (!readyToLoad(name)) return;
            if (!looksLikeMidi(name)) {
                fail(name, "файл повреждён или не является MIDI-файлом");
                return;
            }
            Mix_Music* music = Mix_LoadMUS(name.c_str());
            if (music == nullptr) {
                const std::string cause = !soundFont.empty() && !fileExists(soundFont)
                                              ? "не найден звуковой шрифт «" + soundFont + "»"
                                              : "файл не читается или повреждён";
                fail(name, cause + " (" + Mix_GetError() + ")");
                return;
            }
            it = musics.emplace(name, music).first;
        } else if (currentMusic == name && Mix_PlayingMusic()) {
            return;
        }
        if (Mix_PlayMusic(it->second.get(), 0) != 0) {
            fail(name, std::string("не удалось начать воспроизведение (") + Mix_GetError() + ")");
            currentMusic.clear();
            return;
        }
        currentMusic = name;
    }

    void close(const std::string& name) {
        if (auto it = musics.find(name); it != musics.end()) {
            if (currentMusic == name) {
                Mix_HaltMusic();
                currentMusic.clear();
            }
            musics.erase(it);
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

SdlMultimedia::SdlMultimedia(MessageService& messages, std::string soundFont)
    : impl_(std::make_unique<Impl>(messages, std::move(soundFont))) {}

SdlMultimedia::~SdlMultimedia() {
    if (impl_->device != Impl::Device::Open) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    impl_->chunks.clear();
    impl_->musics.clear();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlMultimedia::execute(std::string_view command) {
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
    } else if (isMidi(name)) {
        impl_->playMusic(name);
    } else {
        impl_->playSound(name);
    }
}

}  // namespace platform
