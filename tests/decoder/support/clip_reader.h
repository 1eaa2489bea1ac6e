// Reads the test clips with libavformat, the way a splitter would hand
// them to the decoder: the video stream's media type and its packets with
// their times in 100 ns units, counted from the stream's start.
//
//   MP4, M4V, MOV  MEDIASUBTYPE_AVC1 with an MPEG2VIDEOINFO: NAL length size
//                  in dwFlags, the parameter sets with 2-byte sizes in the
//                  sequence header
//   MPEG-TS        MEDIASUBTYPE_H264 with a VIDEOINFOHEADER: the parameter
//                  sets come in the stream
#pragma once

#include <platform_filters/media_type.h>

#include <cstdint>
#include <string>
#include <vector>

namespace decoder_testing {

using Bytes = std::vector<uint8_t>;

struct ClipPacket {
  Bytes data;
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  bool key = false;
};

struct Clip {
  platform::media::MediaType type;
  Bytes extradata;                // the container's, for a reference decode
  std::vector<Bytes> parameterSets;  // from the AVC configuration record
  std::vector<ClipPacket> packets;   // in decoding order
  int width = 0;
  int height = 0;
  int sarWidth = 0;  // 0:0 when the stream does not say
  int sarHeight = 0;
  REFERENCE_TIME frameDuration = 0;
};

// Fails the calling test (and returns an empty clip) when the file cannot be read.
Clip ReadClip(const std::string &path);

// A clip the build makes for the whole project, or one it makes for these tests.
std::string SamplePath(const char *name);
std::string TestClipPath(const char *name);

}  // namespace decoder_testing
