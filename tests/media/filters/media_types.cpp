// The media types of the test filters, and their pins.
#include <dshow.h>
#include <mmreg.h>

#include "test_filters.h"

namespace test_filters {

MediaType VideoType(LONG width, LONG height) {
  VIDEOINFOHEADER format{};
  format.AvgTimePerFrame = kFrameDuration;
  format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = 32;
  format.bmiHeader.biCompression = BI_RGB;
  format.bmiHeader.biSizeImage = static_cast<DWORD>(width * height * 4);
  return MediaType(MEDIATYPE_Video, MEDIASUBTYPE_RGB32, FORMAT_VideoInfo, &format, sizeof format,
                   format.bmiHeader.biSizeImage);
}

MediaType AudioType() {
  const WAVEFORMATEX format{WAVE_FORMAT_PCM, 2, 48000, 48000 * 4, 4, 16, 0};
  return MediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx, &format, sizeof format, 4);
}

LONG WidthOf(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.formattype, FORMAT_VideoInfo) || type.cbFormat < sizeof(VIDEOINFOHEADER)) return 0;
  return reinterpret_cast<const VIDEOINFOHEADER *>(type.pbFormat)->bmiHeader.biWidth;
}

IPin *PinOf(IBaseFilter *filter, const wchar_t *name) {
  IPin *pin = nullptr;
  if (FAILED(filter->FindPin(name, &pin))) return nullptr;
  pin->Release();  // the filter's reference keeps it
  return pin;
}

}  // namespace test_filters
