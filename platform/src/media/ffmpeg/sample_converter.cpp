// Converting decoded audio to the decoder's output form.
#include "media/ffmpeg/sample_converter.h"

extern "C" {
#include <libavutil/error.h>
}

namespace platform::media::ffmpeg {

SampleConverter::SampleConverter() = default;

SampleConverter::~SampleConverter() { av_channel_layout_uninit(&m_inputLayout); }

int SampleConverter::Convert(const AVFrame &frame, const AudioDecoderOutput &output, std::vector<BYTE> *converted) {
  converted->clear();
  if (!Fits(frame, output)) {
    if (const int configured = Configure(frame, output); configured < 0) return configured;
  }
  const int room = swr_get_out_samples(m_resampler.get(), frame.nb_samples);
  if (room < 0) return room;
  converted->resize(static_cast<size_t>(room) * output.blockAlign);
  uint8_t *planes[] = {converted->data()};
  const int made = swr_convert(m_resampler.get(), planes, room, const_cast<const uint8_t **>(frame.extended_data),
                               frame.nb_samples);
  if (made < 0) return made;
  converted->resize(static_cast<size_t>(made) * output.blockAlign);
  return 0;
}

void SampleConverter::Reset() { m_resampler.reset(); }

bool SampleConverter::Fits(const AVFrame &frame, const AudioDecoderOutput &output) const {
  return m_resampler && frame.format == m_inputFormat && frame.sample_rate == m_inputRate &&
         av_channel_layout_compare(&frame.ch_layout, &m_inputLayout) == 0 &&
         output.sampleFormat == m_output.sampleFormat && output.channels == m_output.channels &&
         output.samplesPerSec == m_output.samplesPerSec;
}

// swr_alloc_set_opts2 takes the layouts by non-const pointer: it is given our copies.
int SampleConverter::Configure(const AVFrame &frame, const AudioDecoderOutput &output) {
  m_resampler.reset();
  av_channel_layout_uninit(&m_inputLayout);
  int result = av_channel_layout_copy(&m_inputLayout, &frame.ch_layout);
  if (result < 0) return result;
  AVChannelLayout outputLayout{};
  av_channel_layout_default(&outputLayout, output.channels);
  SwrContext *created = nullptr;
  result = swr_alloc_set_opts2(&created, &outputLayout, output.sampleFormat, static_cast<int>(output.samplesPerSec),
                               &m_inputLayout, static_cast<AVSampleFormat>(frame.format), frame.sample_rate, 0,
                               nullptr);
  av_channel_layout_uninit(&outputLayout);
  std::unique_ptr<SwrContext, ResamplerFreer> resampler(created);
  if (result < 0) return result;
  if ((result = swr_init(resampler.get())) < 0) return result;
  m_inputFormat = frame.format;
  m_inputRate = frame.sample_rate;
  m_output = output;
  m_resampler = std::move(resampler);
  return 0;
}

}  // namespace platform::media::ffmpeg
