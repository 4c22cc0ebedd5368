#pragma once
#include <span>
#include <string_view>

namespace tales::core {

// One tale of the catalogue. Texts are UTF-8; every character of them has a
// Windows-1251 code, so a length in characters is a length in 1251 bytes.
struct Tale {
    std::string_view number;   // "1" … "5"
    std::string_view caption;  // the chooser button's caption
    std::string_view title;    // shown above the page in the tale window
    std::span<const std::string_view> pages;
};

// The five tales, in the chooser's order.
std::span<const Tale> allTales();

// The tale whose number is exactly this text; null for any other text.
const Tale* findTale(std::string_view number);

}  // namespace tales::core
