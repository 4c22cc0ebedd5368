#pragma once
#include <string_view>

namespace platform {

// The blanks of the program's texts, of its files and of what a child types:
// spaces and tabs.
constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The text without the blanks before and after it.
constexpr std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
    return text;
}

}  // namespace platform
