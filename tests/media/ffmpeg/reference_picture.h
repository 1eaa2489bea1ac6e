// A clip's pictures decoded straight with libavcodec, to compare the
// generic decoder's output with.
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace ffmpeg_testing {

struct ReferencePicture {
  int width = 0;
  int height = 0;
  std::vector<BYTE> y, u, v;  // 4:2:0 planes without padding
  std::vector<BYTE> bgra;     // the picture as 32-bit pixels, top line first
};

std::optional<ReferencePicture> FirstPicture(const std::string &path);
// The digest (media/frame_digest.h) of every picture of a 4:2:0 clip in
// presentation order, laid out as YV12: the Y plane, then V, then U.
std::vector<std::string> Yv12Digests(const std::string &path);

}  // namespace ffmpeg_testing
