#pragma once
#include <string>
#include <string_view>

namespace platform {

// The picture and data files are in the Windows-1251 code page; program strings are UTF-8.

// Characters with no Windows-1251 code, and bytes that are not valid UTF-8, become '?'
// (one '?' per such character or stray byte).
std::string utf8ToCp1251(std::string_view utf8);

// Every byte maps. 0x98, the one byte Windows-1251 leaves undefined, becomes U+FFFD.
std::string cp1251ToUtf8(std::string_view bytes);

// The same conversions appending to a caller's string, so that a loop reading or
// writing many short pieces can reuse one buffer.
void appendUtf8AsCp1251(std::string& out, std::string_view utf8);
void appendCp1251AsUtf8(std::string& out, std::string_view bytes);

}  // namespace platform
