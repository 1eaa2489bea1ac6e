// Conversions at the platform's boundaries: UTF-8 (Linux file names, terminals)
// and UTF-16 (resources, compound files, registry files) to and from the
// 32-bit WCHAR strings of the API.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform::text {

std::wstring FromUtf8(std::string_view utf8);
std::string ToUtf8(std::wstring_view wide);
std::wstring FromUtf16(const char16_t *units, size_t count);
std::u16string ToUtf16(std::wstring_view wide);

}  // namespace platform::text
