// IDecoderVersion: who this decoder is. The version number is the
// decoder's project version; the build date and time are the compiler's,
// written "YYYY-MM-DD hh:mm".
#include <oleauto.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "h264_decoder_filter.h"

namespace h264decoder {
namespace {

constexpr const wchar_t *kVersionNumber = DECODER_VERSION_TEXT;

// __DATE__ is "Mmm dd yyyy", __TIME__ "hh:mm:ss".
std::wstring BuildDateTime() {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  const char *date = __DATE__;
  const char *time = __TIME__;
  char month[4] = {date[0], date[1], date[2], 0};
  const char *found = std::strstr(kMonths, month);
  const int monthNumber = found ? static_cast<int>(found - kMonths) / 3 + 1 : 0;
  const int day = (date[4] == ' ' ? 0 : date[4] - '0') * 10 + (date[5] - '0');
  wchar_t text[32];
  std::swprintf(text, 32, L"%.4s-%02d-%02d %.5s", date + 7, monthNumber, day, time);
  return text;
}

HRESULT NewText(BSTR *out, const std::wstring &text) {
  if (!out) return E_POINTER;
  *out = SysAllocString(text.c_str());
  return *out ? S_OK : E_OUTOFMEMORY;
}

}  // namespace

HRESULT H264DecoderFilter::GetBuildType(DECODER_BUILD_TYPE *peBuildType) {
  if (!peBuildType) return E_POINTER;
  *peBuildType = DECODER_RELEASE_BUILD ? DECODER_BUILD_RELEASE : DECODER_BUILD_DEBUG;
  return S_OK;
}

HRESULT H264DecoderFilter::GetPlatform(DECODER_PLATFORM *pePlatform) {
  if (!pePlatform) return E_POINTER;
  *pePlatform = sizeof(void *) == 8 ? DECODER_PLATFORM_64BIT : DECODER_PLATFORM_32BIT;
  return S_OK;
}

HRESULT H264DecoderFilter::GetProductName(BSTR *pbstrName) { return NewText(pbstrName, kDecoderName); }

HRESULT H264DecoderFilter::GetVersionNumber(BSTR *pbstrVersion) { return NewText(pbstrVersion, kVersionNumber); }

HRESULT H264DecoderFilter::GetBuildDateTime(BSTR *pbstrDateTime) { return NewText(pbstrDateTime, BuildDateTime()); }

}  // namespace h264decoder
