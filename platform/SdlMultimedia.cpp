#include "platform/SdlMultimedia.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <thread>

#include "platform/SoundOutput.h"

// Linked in, as in the tests, the sound output is made directly; the program
// itself loads it from its module.
extern "C" platform::SoundOutput* pyatnushkiSoundOutput(platform::MessageService& messages, const char* soundFont)
    __attribute__((weak));

namespace platform {

namespace {

constexpr const char* kModule = "pyatnushki-sound.so";

// The sound output, from the module beside the binary (the build tree) or in
// the installation's library folder; null, with the reason in WHY, without it.
SoundOutput* loadSoundOutput(MessageService& messages, const std::string& soundFont, std::string& why) {
    if (pyatnushkiSoundOutput) return pyatnushkiSoundOutput(messages, soundFont.c_str());
    std::error_code error;
    const std::filesystem::path binary = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
    for (const std::filesystem::path& folder : {binary, binary / PYATNUSHKI_INSTALLED_SOUND_FOLDER}) {
        // Never closed: SDL keeps threads and handlers of its own until the program ends.
        void* module = dlopen((folder / kModule).c_str(), RTLD_NOW | RTLD_LOCAL);
        const auto make = module ? reinterpret_cast<decltype(&pyatnushkiSoundOutput)>(dlsym(module, "pyatnushkiSoundOutput"))
                                 : nullptr;
        if (make) return make(messages, soundFont.c_str());
        if (const char* text = dlerror()) why = text;
    }
    return nullptr;
}

}  // namespace

std::string chooseSoundFont(std::span<const char* const> fonts) {
    for (const char* font : fonts) {
        std::error_code error;
        if (std::filesystem::is_regular_file(font, error)) return font;
    }
    return fonts.empty() ? std::string() : std::string(fonts.front());
}

struct SdlMultimedia::Impl {
    MessageService& messages;
    std::string soundFont;
    std::thread preparing;  // owns everything below until it is joined
    std::unique_ptr<SoundOutput> output;
    bool loaded = false;
    bool told = false;
    std::string why;

    SoundOutput* load() {
        if (!loaded) {
            loaded = true;
            output.reset(loadSoundOutput(messages, soundFont, why));
        }
        return output.get();
    }
    void settle() {
        if (preparing.joinable()) preparing.join();
    }
    // The module as the preparation left it, or loaded now.
    SoundOutput* sound() {
        settle();
        return load();
    }
};

SdlMultimedia::SdlMultimedia(MessageService& messages, std::string soundFont)
    : impl_(std::make_unique<Impl>(Impl{messages, std::move(soundFont)})) {}

void SdlMultimedia::nameProgramForMixer() { ::setenv("PULSE_PROP_application.icon_name", "pyatnushki", 0); }

SdlMultimedia::~SdlMultimedia() { impl_->settle(); }

void SdlMultimedia::execute(std::string_view command) {
    if (SoundOutput* sound = impl_->sound()) return sound->execute(command);
    if (impl_->told) return;
    impl_->told = true;
    impl_->messages.message("Звуки не воспроизводятся: не загружается модуль звука (" + impl_->why + ").");
}

bool SdlMultimedia::playQuietly(std::string_view name) {
    SoundOutput* sound = impl_->sound();
    return sound && sound->playQuietly(name);
}

bool SdlMultimedia::musicPlaying() const {
    const SoundOutput* sound = impl_->sound();
    return sound && sound->musicPlaying();
}

double SdlMultimedia::musicSeconds() const {
    const SoundOutput* sound = impl_->sound();
    return sound ? sound->musicSeconds() : 0;
}

void SdlMultimedia::prepare(std::string_view name) {
    impl_->settle();
    // The module loads on this thread too, the tune on one of the module's own.
    impl_->preparing = std::thread([impl = impl_.get(), file = std::string(name)] {
        // Nothing may escape the thread: without the module, the first command says so.
        try {
            if (SoundOutput* sound = impl->load()) sound->prepare(file);
        } catch (const std::exception&) {
        }
    });
}

}  // namespace platform
