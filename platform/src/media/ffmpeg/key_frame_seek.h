// Where reading starts for a new position: the key frame of one stream at
// or before the position, so that every picture from the position on can be
// decoded. Demuxers with an index (MP4, MOV, Matroska) land there at once;
// others (MPEG-TS) land near the time asked for, on any packet. So the file
// is read on from where a seek lands to the stream's next key frame; when
// that one lies after the position, or none comes, the seek goes further
// back (1 s, then twice as far each time), to the file's start by time and
// then by bytes. From the file's start, its first key frame is taken even
// when it lies after the position (the earliest picture there is).
#pragma once

#include "media/ffmpeg/av_objects.h"
#include "media/ffmpeg/media_file.h"

namespace platform::media::ffmpeg {

// position: AV_TIME_BASE units from the file's start. 0 when the file is
// positioned: *keyFrame holds the key frame, and reading goes on after it;
// or, for a stream without any key frame, *keyFrame is blank (no data) and
// reading starts at the file's first packet. Another AVERROR when the file
// cannot be read.
int SeekToKeyFrame(MediaFile &file, int stream, int64_t position, AVPacket *keyFrame);

}  // namespace platform::media::ffmpeg
