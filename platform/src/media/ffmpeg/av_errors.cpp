// FFmpeg's error codes as HRESULTs.
#include "media/ffmpeg/av_errors.h"

#include <vfwmsgs.h>

extern "C" {
#include <libavutil/error.h>
}

#include <cerrno>

namespace platform::media::ffmpeg {
namespace {

// Failures that mean the same whatever was being done.
bool SystemFailure(int error, HRESULT *result) {
  switch (error) {
    case AVERROR(ENOENT):
      *result = HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
      return true;
    case AVERROR(ENOTDIR):
      *result = HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
      return true;
    case AVERROR(EACCES):
    case AVERROR(EPERM):
      *result = E_ACCESSDENIED;
      return true;
    case AVERROR(ENOMEM):
      *result = E_OUTOFMEMORY;
      return true;
    default:
      return false;
  }
}

}  // namespace

HRESULT OpenFailureResult(int error) {
  HRESULT result = VFW_E_UNKNOWN_FILE_TYPE;
  SystemFailure(error, &result);
  return result;
}

HRESULT StreamFailureResult(int error) {
  HRESULT result = E_FAIL;
  if (SystemFailure(error, &result)) return result;
  return error == AVERROR_INVALIDDATA ? VFW_E_INVALID_FILE_FORMAT : E_FAIL;
}

}  // namespace platform::media::ffmpeg
