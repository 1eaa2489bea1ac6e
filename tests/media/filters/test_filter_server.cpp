// The test filter library as an in-process server: the class objects of its
// filters, each made in a default configuration, and their registration.
// Renderers and decoders are registered for intelligent connect (the other
// video decoder with less merit than the first); sources, the pass-through
// transform, the tee and the aborting renderer as never to be used by it: tests
// that want them used change their merit. The stream list source is found
// by its extension and its signature; the file clip source is created by
// class only.
#include <dshow.h>

#include "connect_filters.h"
#include "file_clip_source.h"

namespace test_filters {
namespace {

using platform::media::FilterClass;
using platform::media::FilterPin;
using platform::media::FilterRegistration;

// A clip of ten 8x8 frames.
constexpr DWORD kDefaultFrames = 10;

const REGPINTYPES kAnyVideo[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const REGPINTYPES kRgb32Video[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};
const REGPINTYPES kPcmAudio[] = {{&MEDIATYPE_Audio, &MEDIASUBTYPE_PCM}};
const REGPINTYPES kTestVideo[] = {{&MEDIATYPE_Video, &kTestVideoSubtype}};
const REGPINTYPES kTestAudio[] = {{&MEDIATYPE_Audio, &kTestAudioSubtype}};
const REGPINTYPES kAnything[] = {{&GUID_NULL, &GUID_NULL}};

const REGFILTERPINS2 kSourcePins[] = {FilterPin(REG_PINFLAG_B_OUTPUT, kRgb32Video)};
const REGFILTERPINS2 kPassThroughPins[] = {FilterPin(0, kAnyVideo), FilterPin(REG_PINFLAG_B_OUTPUT, kAnyVideo)};
const REGFILTERPINS2 kVideoRendererPins[] = {FilterPin(REG_PINFLAG_B_RENDERER, kRgb32Video)};
const REGFILTERPINS2 kAudioRendererPins[] = {FilterPin(REG_PINFLAG_B_RENDERER, kPcmAudio)};
const REGFILTERPINS2 kVideoDecoderPins[] = {FilterPin(0, kTestVideo), FilterPin(REG_PINFLAG_B_OUTPUT, kRgb32Video)};
const REGFILTERPINS2 kAudioDecoderPins[] = {FilterPin(0, kTestAudio), FilterPin(REG_PINFLAG_B_OUTPUT, kPcmAudio)};
const REGFILTERPINS2 kStreamListPins[] = {FilterPin(REG_PINFLAG_B_OUTPUT, kAnything)};
const REGPINTYPES kText[] = {{&MEDIATYPE_Text, &MEDIASUBTYPE_None}};
const REGFILTERPINS2 kTeePins[] = {FilterPin(0, kRgb32Video), FilterPin(REG_PINFLAG_B_OUTPUT, kRgb32Video),
                                   FilterPin(REG_PINFLAG_B_OUTPUT, kText)};

const REGFILTER2 kSourceRegistration = FilterRegistration(MERIT_DO_NOT_USE, kSourcePins);
const REGFILTER2 kPassThroughRegistration = FilterRegistration(MERIT_DO_NOT_USE, kPassThroughPins);
// Above the platform's own video renderer, so that the graphs the tests
// build render decoded video into the recording renderer.
const REGFILTER2 kVideoRendererRegistration = FilterRegistration(MERIT_PREFERRED + 1, kVideoRendererPins);
const REGFILTER2 kAudioRendererRegistration = FilterRegistration(MERIT_NORMAL, kAudioRendererPins);
const REGFILTER2 kVideoDecoderRegistration = FilterRegistration(MERIT_NORMAL, kVideoDecoderPins);
const REGFILTER2 kOtherVideoDecoderRegistration = FilterRegistration(MERIT_UNLIKELY, kVideoDecoderPins);
const REGFILTER2 kAudioDecoderRegistration = FilterRegistration(MERIT_NORMAL, kAudioDecoderPins);
const REGFILTER2 kStreamListRegistration = FilterRegistration(MERIT_DO_NOT_USE, kStreamListPins);
const REGFILTER2 kAbortingRendererRegistration = FilterRegistration(MERIT_DO_NOT_USE, kVideoRendererPins);
const REGFILTER2 kTeeRegistration = FilterRegistration(MERIT_DO_NOT_USE, kTeePins);

const wchar_t *const kStreamListExtensions[] = {kStreamListExtension};
const wchar_t *const kStreamListPatterns[] = {kStreamListPattern};
const platform::media::SourceFileTypes kStreamListFiles = {kStreamListExtensions, &kStreamListSubtype,
                                                           kStreamListPatterns};

IBaseFilter *CreateNumberedSource() { return NumberedSource::Create({{VideoType(8, 8), kDefaultFrames}}); }
IBaseFilter *CreatePassThrough() { return PassThroughTransform::Create(); }
IBaseFilter *CreateVideoRenderer() { return RecordingRenderer::Create(MEDIATYPE_Video); }
IBaseFilter *CreateAudioRenderer() { return RecordingRenderer::Create(MEDIATYPE_Audio); }
IBaseFilter *CreateVideoDecoder() { return TypeConverter::Create(kTestVideoDecoderClass); }
IBaseFilter *CreateOtherVideoDecoder() { return TypeConverter::Create(kOtherVideoDecoderClass); }
IBaseFilter *CreateAudioDecoder() { return TypeConverter::Create(kTestAudioDecoderClass); }
IBaseFilter *CreateStreamListSource() { return StreamListSource::Create(); }
IBaseFilter *CreateAbortingRenderer() { return AbortingRenderer::Create(); }
IBaseFilter *CreateSplittingTee() { return SplittingTee::Create(); }
IBaseFilter *CreateFileClipSource() { return FileClipSource::Create(); }

const FilterClass kClasses[] = {
    {&kNumberedSourceClass, L"Numbered Source", L"Both", &CreateNumberedSource, &kSourceRegistration},
    {&kPassThroughClass, L"Pass-through Transform", L"Both", &CreatePassThrough, &kPassThroughRegistration},
    {&kRecordingRendererClass, L"Recording Renderer", L"Both", &CreateVideoRenderer, &kVideoRendererRegistration},
    {&kRecordingAudioRendererClass, L"Recording Audio Renderer", L"Both", &CreateAudioRenderer,
     &kAudioRendererRegistration},
    {&kTestVideoDecoderClass, L"Test Video Decoder", L"Both", &CreateVideoDecoder, &kVideoDecoderRegistration},
    {&kOtherVideoDecoderClass, L"Other Video Decoder", L"Both", &CreateOtherVideoDecoder,
     &kOtherVideoDecoderRegistration},
    {&kTestAudioDecoderClass, L"Test Audio Decoder", L"Both", &CreateAudioDecoder, &kAudioDecoderRegistration},
    {&kStreamListSourceClass, L"Stream List Source", L"Both", &CreateStreamListSource, &kStreamListRegistration,
     &kStreamListFiles},
    {&kAbortingRendererClass, L"Aborting Renderer", L"Both", &CreateAbortingRenderer, &kAbortingRendererRegistration},
    {&kSplittingTeeClass, L"Splitting Tee", L"Both", &CreateSplittingTee, &kTeeRegistration},
    {&kFileClipSourceClass, L"File Clip Source", L"Both", &CreateFileClipSource, nullptr},
};

}  // namespace

platform::media::FilterServer &Server() {
  static platform::media::FilterServer server(kClasses);
  return server;
}

}  // namespace test_filters

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv) {
  return test_filters::Server().GetClassObject(rclsid, riid, ppv);
}

STDAPI DllCanUnloadNow(void) { return test_filters::Server().CanUnloadNow(); }

// The class table's address names this library: DllRegisterServer's own may
// resolve to the platform's.
STDAPI DllRegisterServer(void) { return test_filters::Server().RegisterServer(&test_filters::kClasses); }

STDAPI DllUnregisterServer(void) { return test_filters::Server().UnregisterServer(); }
