// What the decoder knows about the pictures of a stream: their size, their
// chroma format, the shape of their pixels and how long each is shown.
#pragma once

#include <strmif.h>

namespace h264decoder {

// Chroma sampling of a picture. Monochrome streams count as 4:2:0: the codec
// gives them with neutral chroma planes.
enum class ChromaFormat { k420, k422, k444 };

struct PictureFormat {
  int width = 0;   // the visible picture, cropping applied
  int height = 0;
  ChromaFormat chroma = ChromaFormat::k420;
  // The sample (pixel) aspect ratio; 1:1 when the stream does not say.
  int sarWidth = 1;
  int sarHeight = 1;
  REFERENCE_TIME frameDuration = 0;  // 0 when unknown

  friend bool operator==(const PictureFormat &, const PictureFormat &) = default;
};

}  // namespace h264decoder
