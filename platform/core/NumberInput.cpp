#include "platform/core/NumberInput.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "platform/core/Blanks.h"

namespace platform {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A string of plain digits (and at most one '.') as a double, whatever its length.
double toDouble(const std::string& digits) {
    if (digits.empty() || digits == ".") return 0;
    double value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (error == std::errc::result_out_of_range) {
        // Out of range is too large when a digit before the point is not 0, too small otherwise.
        const auto point = digits.find('.');
        const bool large = digits.find_first_not_of('0') < std::min(point, digits.size());
        return large ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

}  // namespace

std::optional<TypedNumber> readNumber(std::string_view text) {
    text = trimmed(text);

    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }

    std::string whole;
    std::string fraction;
    bool separator = false;
    for (const char c : text) {
        if (isDigit(c)) {
            (separator ? fraction : whole).push_back(c);
        } else if ((c == ',' || c == '.') && !separator) {
            separator = true;
        } else {
            return std::nullopt;
        }
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;

    const bool hasFraction = fraction.find_first_not_of('0') != std::string::npos;
    const double magnitude = toDouble(whole + "." + fraction);
    const double wholeMagnitude = toDouble(whole);
    TypedNumber number;
    number.value = negative ? -magnitude : magnitude;
    // Down means towards minus infinity: -2,5 becomes -3.
    number.wholeDown = negative ? -(wholeMagnitude + (hasFraction ? 1 : 0)) : wholeMagnitude;
    if (number.value == 0) number.value = 0;  // no negative zero for "-0"
    if (number.wholeDown == 0) number.wholeDown = 0;
    return number;
}

}  // namespace platform
