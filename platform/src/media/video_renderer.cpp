// The built-in video renderer.
#include "media/video_renderer.h"

#include <evcode.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include "com/builtin_classes.h"
#include "media/frame_digest.h"
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

PresentationRecordCopy VideoRenderer::Presented() const { return m_record.Read(); }

HRESULT VideoRenderer::QueryInterface(REFIID riid, void **ppv) {
  if (ppv && IsEqualIID(riid, IID_IVideoWindow)) {
    *ppv = static_cast<IVideoWindow *>(&m_control);
  } else if (ppv && IsEqualIID(riid, IID_IQualProp)) {
    *ppv = static_cast<IQualProp *>(this);
  } else {
    return RendererFilter::QueryInterface(riid, ppv);
  }
  AddRef();
  return S_OK;
}

ULONG VideoRenderer::AddRef() { return RendererFilter::AddRef(); }
ULONG VideoRenderer::Release() { return RendererFilter::Release(); }

HRESULT VideoRenderer::Pause() {
  const FILTER_STATE before = State();
  BeforeLeaving(before);
  const HRESULT hr = RendererFilter::Pause();
  AutoShowAfter(before, hr);
  return hr;
}

HRESULT VideoRenderer::Run(REFERENCE_TIME tStart) {
  const FILTER_STATE before = State();
  BeforeLeaving(before);
  const HRESULT hr = RendererFilter::Run(tStart);
  AutoShowAfter(before, hr);
  return hr;
}

// The quality figures and the presentation record count from leaving the
// stopped state.
void VideoRenderer::BeforeLeaving(FILTER_STATE state) {
  if (state != State_Stopped) return;
  m_quality.Reset();
  m_record.Reset();
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
  if (Present(sample, false)) m_quality.CountDrawn();
  return S_OK;
}

void VideoRenderer::ShowPausedSample(IMediaSample *sample) { Present(sample, true); }

bool VideoRenderer::TakeDueSample(IMediaSample *sample, REFERENCE_TIME lateness) {
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = sample->GetTime(&start, &stop);
  return m_quality.TakeDue(start, timed == S_OK ? std::optional(stop) : std::nullopt, lateness);
}

void VideoRenderer::OnBeginFlush() { m_quality.NewStream(); }

// False when the sample could not be shown (no type yet, or not a whole picture).
bool VideoRenderer::Present(IMediaSample *sample, bool whilePaused) {
  std::optional<RendererPicture> picture;
  {
    std::lock_guard lock(m_pictureLock);
    picture = m_picture;
  }
  BYTE *data = nullptr;
  if (!picture || FAILED(sample->GetPointer(&data))) return false;
  const LONG size = sample->GetSize();
  view::VideoFrame frame;
  if (!m_converter.Convert(*picture, data, size > 0 ? static_cast<size_t>(size) : 0, frame)) return false;
  m_window.Present(frame);
  Record(sample, data, picture->imageSize, whilePaused);
  return true;
}

void VideoRenderer::Record(IMediaSample *sample, const BYTE *picture, size_t size, bool whilePaused) {
  PresentedFrame frame;
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = sample->GetTime(&start, &stop);
  if (SUCCEEDED(timed)) frame.start = start;
  if (timed == S_OK) frame.stop = stop;
  frame.whilePaused = whilePaused;
  frame.digest = DigestOf(picture, size);
  m_record.Add(std::move(frame));
}

bool VideoRenderer::IsInputConnected() const { return !CurrentMediaType().IsEmpty(); }

FILTER_STATE VideoRenderer::FilterState() const { return State(); }

SIZE VideoRenderer::VideoSize() const {
  std::lock_guard lock(m_pictureLock);
  return m_picture ? m_picture->display : SIZE{};
}

HRESULT VideoRenderer::get_FramesDroppedInRenderer(int *pcFrames) {
  return ReadFigure(pcFrames, &RenderQuality::Figures::dropped);
}
HRESULT VideoRenderer::get_FramesDrawn(int *pcFramesDrawn) {
  return ReadFigure(pcFramesDrawn, &RenderQuality::Figures::drawn);
}
HRESULT VideoRenderer::get_AvgFrameRate(int *piAvgFrameRate) {
  return ReadFigure(piAvgFrameRate, &RenderQuality::Figures::frameRate);
}
HRESULT VideoRenderer::get_Jitter(int *iJitter) { return ReadFigure(iJitter, &RenderQuality::Figures::jitter); }
HRESULT VideoRenderer::get_AvgSyncOffset(int *piAvg) {
  return ReadFigure(piAvg, &RenderQuality::Figures::syncOffset);
}
HRESULT VideoRenderer::get_DevSyncOffset(int *piDev) {
  return ReadFigure(piDev, &RenderQuality::Figures::syncOffsetDeviation);
}

HRESULT VideoRenderer::ReadFigure(int *value, int RenderQuality::Figures::*figure) const {
  if (!value) return E_POINTER;
  *value = m_quality.Read().*figure;
  return S_OK;
}

}  // namespace platform::media
