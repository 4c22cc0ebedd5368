// Writes the program's sounds: make_sounds <output-folder>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "tools/Sounds.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_sounds <output-folder>\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    const std::pair<const char*, sounds::Bytes> files[] = {
        {"kn.wav", sounds::clickWav()}, {"peep.wav", sounds::peepWav()},
        {"beep.wav", sounds::beepWav()},
        {"fon.mid", sounds::backgroundMidi()}};
    for (const auto& [name, bytes] : files) {
        std::ofstream out(folder / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) {
            std::fprintf(stderr, "make_sounds: cannot write %s\n", (folder / name).c_str());
            return 1;
        }
        std::printf("%s: %zu bytes\n", (folder / name).c_str(), bytes.size());
    }
    return 0;
}
