// A media file opened with libavformat: its streams and its packets, in
// file order. Results are 0 or a negative AVERROR, as FFmpeg gives them.
#pragma once

#include <string>

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/stream_media_type.h"

namespace platform::media::ffmpeg {

class MediaFile {
 public:
  // Opens a file by its path (never as another of FFmpeg's protocols) and
  // probes its streams.
  int Open(const std::string &path);
  bool IsOpen() const { return m_context != nullptr; }

  int StreamCount() const;
  StreamDescription Describe(int stream) const;
  AVRational TimeBase(int stream) const;
  // The time that becomes 0 in a stream's sample times, in its time base.
  int64_t Origin(int stream) const;
  // The file's duration in AV_TIME_BASE units, AV_NOPTS_VALUE when not known.
  int64_t Duration() const;

  // A packet's time (its presentation time, else its decoding time) in
  // AV_TIME_BASE units from the file's start; AV_NOPTS_VALUE when it has none.
  int64_t FileTimeOf(const AVPacket &packet) const;

  // 0 with the next packet in *packet (unreferenced first), AVERROR_EOF at
  // the end of the file, another error for a file that cannot be read on.
  int ReadPacket(AVPacket *packet);
  // Reading goes on from a key frame near a time (AV_TIME_BASE units from
  // the file's start), at or before it where the demuxer's index says so;
  // formats without an index land somewhere near it (see key_frame_seek.h).
  int SeekNear(int64_t fileTime);
  // Reading goes on from the file's first byte; fails for formats that
  // seek by time only (MP4, MOV).
  int SeekToFirstByte();

 private:
  // The file's start time, 0 when not known.
  int64_t StartTime() const;

  FormatContextPtr m_context;
};

}  // namespace platform::media::ffmpeg
