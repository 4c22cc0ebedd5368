#include "platform/core/Cp1251.h"

#include <cstddef>

namespace platform {

namespace {

// Code points of bytes 0x80..0xBF; 0xC0..0xFF are U+0410..U+044F in order.
constexpr char32_t kHighHalf[64] = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
};

constexpr char32_t kFirstLetter = 0x0410;  // А, byte 0xC0
constexpr char32_t kLastLetter = 0x044F;   // я, byte 0xFF

char32_t codePointOf(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return kFirstLetter + (b - 0xC0);
    return kHighHalf[b - 0x80];
}

char byteOf(char32_t cp) {
    if (cp < 0x80) return static_cast<char>(cp);
    if (cp >= kFirstLetter && cp <= kLastLetter) {
        return static_cast<char>(0xC0 + (cp - kFirstLetter));
    }
    if (cp != 0xFFFD) {
        for (int i = 0; i < 64; ++i) {
            if (kHighHalf[i] == cp) return static_cast<char>(0x80 + i);
        }
    }
    return '?';
}

void appendUtf8Char(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        // Every code point of the table is below U+10000.
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at s[i]; returns its length, or 0 when it is invalid
// (stray continuation byte, truncated, overlong, surrogate or beyond U+10FFFF).
std::size_t decodeUtf8(std::string_view s, std::size_t i, char32_t& cp) {
    const auto lead = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    char32_t min = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        len = 2;
        min = 0x80;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        len = 3;
        min = 0x800;
        cp = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        len = 4;
        min = 0x10000;
        cp = lead & 0x07;
    } else {
        return 0;
    }
    if (s.size() - i < len) return 0;
    for (std::size_t k = 1; k < len; ++k) {
        const auto c = static_cast<unsigned char>(s[i + k]);
        if ((c & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return len;
}

}  // namespace

void appendUtf8AsCp1251(std::string& out, std::string_view utf8) {
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Most text is ASCII: copy whole runs of it at once.
        std::size_t run = i;
        while (run < utf8.size() && static_cast<unsigned char>(utf8[run]) < 0x80) ++run;
        out.append(utf8.data() + i, run - i);
        i = run;
        if (i == utf8.size()) break;
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(utf8, i, cp);
        if (len == 0) {
            out += '?';
            ++i;
        } else {
            out += byteOf(cp);
            i += len;
        }
    }
}

void appendCp1251AsUtf8(std::string& out, std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::size_t run = i;
        while (run < bytes.size() && static_cast<unsigned char>(bytes[run]) < 0x80) ++run;
        out.append(bytes.data() + i, run - i);
        i = run;
        if (i == bytes.size()) break;
        appendUtf8Char(out, codePointOf(static_cast<unsigned char>(bytes[i])));
        ++i;
    }
}

std::string utf8ToCp1251(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    appendUtf8AsCp1251(out, utf8);
    return out;
}

std::string cp1251ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    appendCp1251AsUtf8(out, bytes);
    return out;
}

}  // namespace platform
