// Picture digests with libavutil's MD5.
#include "media/frame_digest.h"

extern "C" {
#include <libavutil/md5.h>
}

#include <cstdio>

namespace platform::media {

std::string DigestOf(const BYTE *data, size_t size) {
  uint8_t sum[16];
  av_md5_sum(sum, data, size);
  std::string text;
  char digit[3];
  for (const uint8_t byte : sum) {
    std::snprintf(digit, sizeof digit, "%02x", byte);
    text += digit;
  }
  return text;
}

}  // namespace platform::media
