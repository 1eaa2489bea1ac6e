// Decoded audio frames (any sample format, planar or not, any channel
// layout and rate) turned into the interleaved samples of the decoder's
// output type, with libswresample; more than two channels are mixed down.
// The resampler is set up again whenever the frames' layout, format or rate
// changes. Results are FFmpeg's: 0 or a negative AVERROR.
#pragma once

extern "C" {
#include <libavutil/channel_layout.h>
#include <libavutil/frame.h>
#include <libswresample/swresample.h>
}

#include <memory>
#include <vector>

#include "media/ffmpeg/audio_decoder_types.h"

namespace platform::media::ffmpeg {

class SampleConverter {
 public:
  SampleConverter();
  ~SampleConverter();
  SampleConverter(const SampleConverter &) = delete;
  SampleConverter &operator=(const SampleConverter &) = delete;

  // The frame's samples in the output's form into *converted (its old
  // content replaced): whole samples of all channels, blockAlign bytes each.
  int Convert(const AVFrame &frame, const AudioDecoderOutput &output, std::vector<BYTE> *converted);
  // Drops what the resampler holds back (after a flush or a seek).
  void Reset();

 private:
  struct ResamplerFreer {
    void operator()(SwrContext *context) const { swr_free(&context); }
  };

  bool Fits(const AVFrame &frame, const AudioDecoderOutput &output) const;
  int Configure(const AVFrame &frame, const AudioDecoderOutput &output);

  std::unique_ptr<SwrContext, ResamplerFreer> m_resampler;
  AVChannelLayout m_inputLayout{};
  int m_inputFormat = AV_SAMPLE_FMT_NONE;
  int m_inputRate = 0;
  AudioDecoderOutput m_output;
};

}  // namespace platform::media::ffmpeg
