// A digest of a picture's bytes (MD5, as lowercase hexadecimal, as FFmpeg's
// framemd5 gives it), to compare the frames a renderer presented with a
// straight decode's.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace platform::media {

std::string DigestOf(const BYTE *data, size_t size);

}  // namespace platform::media
