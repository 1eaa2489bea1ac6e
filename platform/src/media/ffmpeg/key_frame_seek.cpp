// Seeking a media file to a key frame at or before a position.
#include "media/ffmpeg/key_frame_seek.h"

namespace platform::media::ffmpeg {
namespace {

constexpr int64_t kFirstStepBack = AV_TIME_BASE;

enum class Found { kAtOrBefore, kAfter, kNone };

// Reads on to the stream's next key frame, leaving it in *keyFrame.
int ReadToKeyFrame(MediaFile &file, int stream, AVPacket *keyFrame) {
  for (;;) {
    const int read = file.ReadPacket(keyFrame);
    if (read < 0) return read;
    if (keyFrame->stream_index == stream && (keyFrame->flags & AV_PKT_FLAG_KEY)) return 0;
  }
}

// A key frame without a time cannot be placed: it is taken as it comes.
int KeyFrameFromHere(MediaFile &file, int stream, int64_t position, AVPacket *keyFrame, Found *found) {
  const int read = ReadToKeyFrame(file, stream, keyFrame);
  *found = Found::kNone;
  if (read == AVERROR_EOF) return 0;
  if (read < 0) return read;
  const int64_t time = file.FileTimeOf(*keyFrame);
  *found = time == AV_NOPTS_VALUE || time <= position ? Found::kAtOrBefore : Found::kAfter;
  return 0;
}

// The last resort: the file's start by time, then by bytes (exact where
// the format allows it), taking its first key frame even when it lies after
// the position; a stream without key frames is read from the first packet.
int FromTheStart(MediaFile &file, int stream, int64_t position, AVPacket *keyFrame) {
  Found found = Found::kNone;
  for (const bool byBytes : {false, true}) {
    if ((byBytes ? file.SeekToFirstByte() : file.SeekNear(0)) < 0) continue;
    const int read = KeyFrameFromHere(file, stream, position, keyFrame, &found);
    if (read < 0 || found == Found::kAtOrBefore) return read;
  }
  if (found == Found::kAfter) return 0;
  av_packet_unref(keyFrame);
  return file.SeekToFirstByte() >= 0 ? 0 : file.SeekNear(0);
}

}  // namespace

int SeekToKeyFrame(MediaFile &file, int stream, int64_t position, AVPacket *keyFrame) {
  int64_t stepBack = kFirstStepBack;
  for (int64_t from = position; from > 0; from -= stepBack, stepBack *= 2) {
    if (file.SeekNear(from) < 0) continue;
    Found found = Found::kNone;
    const int read = KeyFrameFromHere(file, stream, position, keyFrame, &found);
    if (read < 0) return read;
    if (found == Found::kAtOrBefore) return 0;
  }
  return FromTheStart(file, stream, position, keyFrame);
}

}  // namespace platform::media::ffmpeg
