// A renderer that logs the samples it gets.
#include "sample_log_renderer.h"

#include <dshow.h>

#include <chrono>

#include "media/frame_digest.h"

namespace ffmpeg_testing {
namespace {

// {3F1C6A52-8E0B-4D77-A1C4-59E2B7D06A11}
constexpr CLSID kSampleLogRendererClass = {
    0x3F1C6A52, 0x8E0B, 0x4D77, {0xA1, 0xC4, 0x59, 0xE2, 0xB7, 0xD0, 0x6A, 0x11}};

constexpr size_t kSamplesKept = 4;

}  // namespace

SampleLogRenderer *SampleLogRenderer::Create(const GUID &majorType, const GUID &subtype) {
  return new SampleLogRenderer(majorType, subtype);
}

SampleLogRenderer::SampleLogRenderer(const GUID &majorType, const GUID &subtype)
    : RendererFilter(kSampleLogRendererClass), m_majorType(majorType), m_subtype(subtype) {}

IPin *SampleLogRenderer::Input() {
  IPin *pin = nullptr;
  if (SUCCEEDED(FindPin(L"In", &pin))) pin->Release();  // the filter's reference keeps it
  return pin;
}

SampleLog SampleLogRenderer::Log() const {
  std::lock_guard lock(m_lock);
  return m_log;
}

HRESULT SampleLogRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, m_majorType)) return VFW_E_TYPE_NOT_ACCEPTED;
  const bool anySubtype = IsEqualGUID(m_subtype, GUID{});
  return anySubtype || IsEqualGUID(type.subtype, m_subtype) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT SampleLogRenderer::DoRenderSample(IMediaSample *sample) {
  const platform::media::MediaType type = CurrentMediaType();
  const platform::media::Segment segment = CurrentSegment();
  std::lock_guard lock(m_lock);
  m_log.samples.push_back(Logged(sample, m_log.samples.size() < kSamplesKept));
  m_log.type = type;
  m_log.segment = segment;
  return S_OK;
}

void SampleLogRenderer::ShowPausedSample(IMediaSample *sample) {
  LoggedSample logged = Logged(sample, false);
  const platform::media::Segment segment = CurrentSegment();
  std::lock_guard lock(m_lock);
  m_log.held.push_back(std::move(logged));
  m_log.segment = segment;
  m_heldChanged.notify_all();
}

bool SampleLogRenderer::WaitForHeld(size_t count) const {
  std::unique_lock lock(m_lock);
  return m_heldChanged.wait_for(lock, std::chrono::seconds(10), [&] { return m_log.held.size() >= count; });
}

LoggedSample SampleLogRenderer::Logged(IMediaSample *sample, bool keepData) const {
  LoggedSample logged;
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = sample->GetTime(&start, &stop);
  if (SUCCEEDED(timed)) logged.start = start;
  if (timed == S_OK) logged.stop = stop;
  logged.syncPoint = sample->IsSyncPoint() == S_OK;
  logged.discontinuity = sample->IsDiscontinuity() == S_OK;
  logged.preroll = sample->IsPreroll() == S_OK;
  logged.length = sample->GetActualDataLength();
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  logged.digest = platform::media::DigestOf(data, static_cast<size_t>(logged.length));
  if (keepData) logged.data.assign(data, data + logged.length);
  return logged;
}

}  // namespace ffmpeg_testing
