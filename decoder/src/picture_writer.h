// Writes decoded pictures into output buffers in the decoder's layouts.
// Pictures whose samples are already 8-bit planes of the layout's chroma
// format are copied; others (more bits a sample, another chroma format, RGB
// streams) are converted with libswscale first.
#pragma once

#include <cstddef>
#include <cstdint>

#include "output_formats.h"

struct AVFrame;
struct SwsContext;

namespace h264decoder {

class PictureWriter {
 public:
  PictureWriter();
  ~PictureWriter();
  PictureWriter(const PictureWriter &) = delete;
  PictureWriter &operator=(const PictureWriter &) = delete;

  // False when the picture's size is not the output's, the buffer is too
  // small, or the picture cannot be converted.
  bool Write(const AVFrame &picture, const OutputPicture &output, uint8_t *buffer, size_t capacity);

 private:
  const AVFrame *PlanarPicture(const AVFrame &picture, ChromaFormat chroma);

  SwsContext *m_converter = nullptr;
  AVFrame *m_converted = nullptr;  // the last conversion's result
};

}  // namespace h264decoder
