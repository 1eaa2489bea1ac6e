// A media file opened with libavformat.
#include "media/ffmpeg/media_file.h"

#include "media/ffmpeg/packet_timing.h"

namespace platform::media::ffmpeg {
namespace {

// The frame rate a stream states, its average one first.
AVRational FrameRateOf(const AVStream &stream) {
  if (stream.avg_frame_rate.num > 0 && stream.avg_frame_rate.den > 0) return stream.avg_frame_rate;
  return stream.r_frame_rate;
}

}  // namespace

int MediaFile::Open(const std::string &path) {
  AVFormatContext *opened = nullptr;
  int result = avformat_open_input(&opened, ("file:" + path).c_str(), nullptr, nullptr);
  if (result < 0) return result;  // opened has been freed
  FormatContextPtr context(opened);
  result = avformat_find_stream_info(context.get(), nullptr);
  if (result < 0) return result;
  m_context = std::move(context);
  return 0;
}

int MediaFile::StreamCount() const { return static_cast<int>(m_context->nb_streams); }

StreamDescription MediaFile::Describe(int stream) const {
  AVStream *described = m_context->streams[stream];
  return {described->codecpar, FrameRateOf(*described),
          av_guess_sample_aspect_ratio(m_context.get(), described, nullptr)};
}

AVRational MediaFile::TimeBase(int stream) const { return m_context->streams[stream]->time_base; }

int64_t MediaFile::Origin(int stream) const { return StreamOrigin(m_context->start_time, TimeBase(stream)); }

int64_t MediaFile::Duration() const { return m_context->duration; }

int64_t MediaFile::FileTimeOf(const AVPacket &packet) const {
  const int64_t time = packet.pts != AV_NOPTS_VALUE ? packet.pts : packet.dts;
  if (time == AV_NOPTS_VALUE) return AV_NOPTS_VALUE;
  int64_t fromStart = 0;
  const int64_t rescaled = av_rescale_q(time, TimeBase(packet.stream_index), AV_TIME_BASE_Q);
  if (rescaled == AV_NOPTS_VALUE || __builtin_sub_overflow(rescaled, StartTime(), &fromStart)) return AV_NOPTS_VALUE;
  return fromStart;
}

int MediaFile::ReadPacket(AVPacket *packet) {
  av_packet_unref(packet);
  return av_read_frame(m_context.get(), packet);
}

int64_t MediaFile::StartTime() const { return m_context->start_time == AV_NOPTS_VALUE ? 0 : m_context->start_time; }

int MediaFile::SeekNear(int64_t fileTime) {
  const int64_t target = StartTime() + fileTime;
  return avformat_seek_file(m_context.get(), -1, INT64_MIN, target, target, 0);
}

int MediaFile::SeekToFirstByte() { return av_seek_frame(m_context.get(), -1, 0, AVSEEK_FLAG_BYTE); }

}  // namespace platform::media::ffmpeg
