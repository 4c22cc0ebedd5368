#pragma once
#include <optional>
#include <string_view>

namespace platform {

// A number a child typed into a text box.
struct TypedNumber {
    // The number as typed, to the nearest double; past the double range it is
    // an infinity of the right sign, never a wrapped or clipped value.
    double value = 0;
    // Rounded down to the whole number not above it, taken from the digits
    // themselves, so "6,99999999999999999999" is 6 and not 7.
    double wholeDown = 0;
};

// Reads a plain decimal number: blanks around it are allowed, then an optional
// sign, digits with at most one decimal separator ("," or "."), and digits on at
// least one side of it. Anything else, blanks alone and the empty text included,
// is not a number and gives nothing: it is never read as 0.
std::optional<TypedNumber> readNumber(std::string_view text);

}  // namespace platform
