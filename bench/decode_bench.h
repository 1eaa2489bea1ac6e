// Decoding speed of a video decoder filter against the FFmpeg command-line
// tool: the benchmark's 720p H.264 clip through the media file source, the
// decoder on N threads and a renderer that only counts frames, in an
// unclocked graph; beside it `ffmpeg -threads N -i clip -an -f null -` on the
// same clip, measured in the same run. Both are timed from opening the file
// to the last frame; runs alternate between the two and the medians are
// compared. Prints, for 1 and 2 threads:
//   BENCH <name>-t<N> <fps> fps ratio=<ours/ffmpeg>
#pragma once

#include <strmif.h>

#include <functional>
#include <string>

#include "com/com_object.h"

namespace bench {

// Makes the decoder to measure, decoding on that many threads; null when it
// cannot be made.
using DecoderMaker = std::function<platform::com::ComPtr<IBaseFilter>(int threads)>;

struct DecodeBench {
  const char *name;           // e.g. "generic-decode-720p"
  GUID outputSubtype;         // what the decoder gives the frame counter
  DecoderMaker makeDecoder;
};

// Runs the benchmark from the command line `[clip] [runs]`; the process's
// exit code (0: every line printed).
int RunDecodeBench(const DecodeBench &bench, int argc, char **argv);

}  // namespace bench
