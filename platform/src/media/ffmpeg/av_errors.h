// The one place where FFmpeg's results become HRESULTs. The FFmpeg wrappers
// pass negative AVERROR codes up as they are; the filters convert them here,
// at their boundary.
#pragma once

#include <windows.h>

namespace platform::media::ffmpeg {

// Opening a file: a missing file is HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND),
// one that cannot be read E_ACCESSDENIED, anything the demuxers do not
// recognise VFW_E_UNKNOWN_FILE_TYPE.
HRESULT OpenFailureResult(int error);
// Reading or decoding a stream: damaged data is VFW_E_INVALID_FILE_FORMAT.
HRESULT StreamFailureResult(int error);

}  // namespace platform::media::ffmpeg
