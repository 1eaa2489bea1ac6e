// The library's exported entry points and the decoder's registration: the
// class key and, for intelligent connect, the filter with its merit and the
// media types of its pins.
#include "decoder_server.h"

#include <uuids.h>

#include "h264_decoder_filter.h"

#define DECODER_EXPORT __attribute__((visibility("default")))

namespace h264decoder {
namespace {

using platform::media::FilterClass;
using platform::media::FilterRegistration;

// Above MERIT_NORMAL, where the platform's own decoders stay: intelligent
// connect tries this decoder first for H.264.
constexpr DWORD kDecoderMerit = MERIT_PREFERRED;

const REGPINTYPES kInputTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_H264}, {&MEDIATYPE_Video, &MEDIASUBTYPE_AVC1}};
const REGPINTYPES kOutputTypes[] = {
    {&MEDIATYPE_Video, &MEDIASUBTYPE_NV12}, {&MEDIATYPE_Video, &MEDIASUBTYPE_YV12}, {&MEDIATYPE_Video, &MEDIASUBTYPE_I420}};
const REGFILTERPINS2 kPins[] = {
    {.dwFlags = 0, .cInstances = 1, .nMediaTypes = 2, .lpMediaType = kInputTypes, .nMediums = 0,
     .lpMedium = nullptr, .clsPinCategory = nullptr},
    {.dwFlags = REG_PINFLAG_B_OUTPUT, .cInstances = 1, .nMediaTypes = 3, .lpMediaType = kOutputTypes,
     .nMediums = 0, .lpMedium = nullptr, .clsPinCategory = nullptr},
};
const REGFILTER2 kRegistration = FilterRegistration(kDecoderMerit, kPins);

IBaseFilter *CreateDecoder() {
  void *filter = nullptr;
  return SUCCEEDED(H264DecoderFilter::Create(IID_IBaseFilter, &filter)) ? static_cast<IBaseFilter *>(filter) : nullptr;
}

const FilterClass kClasses[] = {{&CLSID_H264Decoder, kDecoderName, L"Both", &CreateDecoder, &kRegistration}};

}  // namespace

platform::media::FilterServer &DecoderServer() {
  static platform::media::FilterServer server(kClasses);
  return server;
}

}  // namespace h264decoder

using h264decoder::DecoderServer;

extern "C" DECODER_EXPORT HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
  return DecoderServer().GetClassObject(rclsid, riid, ppv);
}

extern "C" DECODER_EXPORT HRESULT DllCanUnloadNow(void) { return DecoderServer().CanUnloadNow(); }

extern "C" DECODER_EXPORT HRESULT DllRegisterServer(void) {
  return DecoderServer().RegisterServer(&h264decoder::kClasses);
}

extern "C" DECODER_EXPORT HRESULT DllUnregisterServer(void) { return DecoderServer().UnregisterServer(); }
