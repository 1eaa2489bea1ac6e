// A digest of a picture's bytes (MD5, as lowercase hexadecimal), to compare
// the frames a renderer got with a straight decode's.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace ffmpeg_testing {

std::string DigestOf(const BYTE *data, size_t size);

}  // namespace ffmpeg_testing
