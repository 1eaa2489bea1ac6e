// Files the FFmpeg filters' tests make from the generated clips: cut short,
// damaged, or rewritten with the index first, as files reach a tester from
// broken downloads and disks.
#pragma once

#include <string>

namespace ffmpeg_testing {

// The first part of a file, a fraction of its bytes.
bool WriteCutCopy(const std::string &from, const std::string &to, double fraction);
// The file with the bytes between two fractions of it overwritten.
bool WriteDamagedCopy(const std::string &from, const std::string &to, double begin, double end);
// An MP4 file remuxed with its index (the moov box) before its data, so
// that a cut copy still opens.
bool WriteIndexFirstCopy(const std::string &from, const std::string &to);
// A subtitle file: a file FFmpeg opens that has neither audio nor video.
bool WriteSubtitleFile(const std::string &to);

}  // namespace ffmpeg_testing
