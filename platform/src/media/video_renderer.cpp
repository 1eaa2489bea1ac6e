// The built-in video renderer.
#include "media/video_renderer.h"

#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include "com/builtin_classes.h"
#include "media/ffmpeg/builtin_filter_factory.h"

namespace platform::media {
namespace {

const REGFILTERPINS2 kPins[] = {FilterPin(REG_PINFLAG_B_RENDERER, RendererPinTypes())};
const REGFILTER2 kRegistration = FilterRegistration(MERIT_PREFERRED, kPins);

const bool kRegistered =
    com::AddBuiltinClass({&CLSID_VideoRenderer, L"Video Renderer", L"Both", &VideoRenderer::Create, &kRegistration});

}  // namespace

HRESULT VideoRenderer::Create(IUnknown *outer, REFIID riid, void **ppv) {
  return ffmpeg::CreateBuiltinFilter(outer, riid, ppv, [] { return new VideoRenderer(); });
}

VideoRenderer::VideoRenderer()
    : RendererFilter(CLSID_VideoRenderer),
      m_window([this] { NotifyEvent(EC_USERABORT, 0, 0); }) {}

HWND VideoRenderer::Window() const { return m_window.Handle(); }

HRESULT VideoRenderer::QueryInterface(REFIID riid, void **ppv) {
  if (ppv && IsEqualIID(riid, IID_IVideoWindow)) {
    *ppv = static_cast<IVideoWindow *>(&m_control);
    AddRef();
    return S_OK;
  }
  return RendererFilter::QueryInterface(riid, ppv);
}

ULONG VideoRenderer::AddRef() { return RendererFilter::AddRef(); }
ULONG VideoRenderer::Release() { return RendererFilter::Release(); }

HRESULT VideoRenderer::Pause() {
  const FILTER_STATE before = State();
  const HRESULT hr = RendererFilter::Pause();
  AutoShowAfter(before, hr);
  return hr;
}

HRESULT VideoRenderer::Run(REFERENCE_TIME tStart) {
  const FILTER_STATE before = State();
  const HRESULT hr = RendererFilter::Run(tStart);
  AutoShowAfter(before, hr);
  return hr;
}

void VideoRenderer::AutoShowAfter(FILTER_STATE before, HRESULT result) {
  if (before == State_Stopped && SUCCEEDED(result) && IsInputConnected()) m_control.AutoShow();
}

HRESULT VideoRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  return DescribeRendererPicture(type) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT VideoRenderer::SetMediaType(const AM_MEDIA_TYPE &type) {
  const auto picture = DescribeRendererPicture(type);
  if (!picture) return VFW_E_TYPE_NOT_ACCEPTED;
  SIZE previous{};
  {
    std::lock_guard lock(m_pictureLock);
    if (m_picture) previous = m_picture->display;
    m_picture = picture;
  }
  if (previous.cx != picture->display.cx || previous.cy != picture->display.cy) SizeWindowTo(picture->display);
  return S_OK;
}

void VideoRenderer::SizeWindowTo(SIZE display) {
  const SIZE size = m_window.WindowSizeFor(display);
  SetWindowPos(m_window.Handle(), nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HRESULT VideoRenderer::DoRenderSample(IMediaSample *sample) {
  Present(sample);
  return S_OK;
}

void VideoRenderer::ShowPausedSample(IMediaSample *sample) { Present(sample); }

void VideoRenderer::Present(IMediaSample *sample) {
  std::optional<RendererPicture> picture;
  {
    std::lock_guard lock(m_pictureLock);
    picture = m_picture;
  }
  BYTE *data = nullptr;
  if (!picture || FAILED(sample->GetPointer(&data))) return;
  const LONG size = sample->GetSize();
  view::VideoFrame frame;
  if (m_converter.Convert(*picture, data, size > 0 ? static_cast<size_t>(size) : 0, frame)) m_window.Present(frame);
}

bool VideoRenderer::IsInputConnected() const { return !CurrentMediaType().IsEmpty(); }

FILTER_STATE VideoRenderer::FilterState() const { return State(); }

SIZE VideoRenderer::VideoSize() const {
  std::lock_guard lock(m_pictureLock);
  return m_picture ? m_picture->display : SIZE{};
}

}  // namespace platform::media
