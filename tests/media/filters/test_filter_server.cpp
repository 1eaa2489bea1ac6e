// The test filter library as an in-process server: the class objects of its
// filters, each made in a default configuration, and their registration.
// Sources and the pass-through transform are registered as never to be
// used by intelligent connect; tests that want them used register them
// again with another merit.
#include <dshow.h>

#include "test_filters.h"

namespace test_filters {
namespace {

using platform::media::FilterClass;
using platform::media::FilterPin;
using platform::media::FilterRegistration;

// A clip of ten 8x8 frames.
constexpr DWORD kDefaultFrames = 10;

const REGPINTYPES kAnyVideo[] = {{&MEDIATYPE_Video, &GUID_NULL}};
const REGPINTYPES kRgb32Video[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_RGB32}};

const REGFILTERPINS2 kSourcePins[] = {FilterPin(REG_PINFLAG_B_OUTPUT, kRgb32Video)};
const REGFILTERPINS2 kPassThroughPins[] = {FilterPin(0, kAnyVideo), FilterPin(REG_PINFLAG_B_OUTPUT, kAnyVideo)};
const REGFILTERPINS2 kRendererPins[] = {FilterPin(REG_PINFLAG_B_RENDERER, kRgb32Video)};

const REGFILTER2 kSourceRegistration = FilterRegistration(MERIT_DO_NOT_USE, kSourcePins);
const REGFILTER2 kPassThroughRegistration = FilterRegistration(MERIT_DO_NOT_USE, kPassThroughPins);
const REGFILTER2 kRendererRegistration = FilterRegistration(MERIT_NORMAL, kRendererPins);

IBaseFilter *CreateNumberedSource() { return NumberedSource::Create({{VideoType(8, 8), kDefaultFrames}}); }
IBaseFilter *CreatePassThrough() { return PassThroughTransform::Create(); }
IBaseFilter *CreateVideoRenderer() { return RecordingRenderer::Create(MEDIATYPE_Video); }

const FilterClass kClasses[] = {
    {&kNumberedSourceClass, L"Numbered Source", L"Both", &CreateNumberedSource, &kSourceRegistration},
    {&kPassThroughClass, L"Pass-through Transform", L"Both", &CreatePassThrough, &kPassThroughRegistration},
    {&kRecordingRendererClass, L"Recording Renderer", L"Both", &CreateVideoRenderer, &kRendererRegistration},
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
