#include "platform/fakes/Fakes.h"

namespace platform::fakes {

void FakeMessage::message(std::string_view text) {
    shown.emplace_back(text);
    if (onMessage) onMessage(shown.back());
}

std::optional<std::string> FakePrinter::printSheet(const QImage& image, const Sheet& sheet) {
    if (failWith) return failWith;
    sheets.push_back(image);
    about.push_back(sheet);
    return std::nullopt;
}

double FakeRandom::next() {
    if (!script.empty()) {
        const double value = script.front();
        script.pop_front();
        return value;
    }
    state_ = state_ * 1103515245u + 12345u;
    return static_cast<double>((state_ >> 8) & 0xFFFFFF) / 16777216.0;
}

}  // namespace platform::fakes
