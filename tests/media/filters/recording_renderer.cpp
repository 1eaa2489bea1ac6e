// A renderer that records the frames it gets.
#include <dshow.h>

#include <cstring>

#include "test_filters.h"

namespace test_filters {
namespace {

// A frame's data is its number.
DWORD NumberOf(IMediaSample *sample) {
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  DWORD number = 0;
  std::memcpy(&number, data, sizeof number);
  return number;
}

}  // namespace

RecordingRenderer *RecordingRenderer::Create(const GUID &majorType, LONG refusedWidth) {
  return new RecordingRenderer(majorType, refusedWidth);
}

RecordingRenderer::RecordingRenderer(const GUID &majorType, LONG refusedWidth)
    : RendererFilter(kRecordingRendererClass), m_majorType(majorType), m_refusedWidth(refusedWidth) {}

IPin *RecordingRenderer::Input() const { return PinOf(const_cast<RecordingRenderer *>(this), L"In"); }

Recorded RecordingRenderer::Record() const {
  std::lock_guard lock(m_lock);
  return m_record;
}

bool RecordingRenderer::WaitForFrames(size_t count) const {
  std::unique_lock lock(m_lock);
  return m_rendered.wait_for(lock, std::chrono::seconds(10), [&] { return m_record.frames.size() >= count; });
}

HRESULT RecordingRenderer::CheckMediaType(const AM_MEDIA_TYPE &type) {
  if (!IsEqualGUID(type.majortype, m_majorType)) return VFW_E_TYPE_NOT_ACCEPTED;
  return WidthOf(type) == m_refusedWidth ? VFW_E_TYPE_NOT_ACCEPTED : S_OK;
}

void RecordingRenderer::ShowPausedSample(IMediaSample *sample) {
  const DWORD number = NumberOf(sample);
  std::lock_guard lock(m_lock);
  m_record.held.push_back(number);
  m_rendered.notify_all();
}

HRESULT RecordingRenderer::DoRenderSample(IMediaSample *sample) {
  const DWORD number = NumberOf(sample);
  const LONG width = WidthOf(CurrentMediaType().Get());
  const platform::media::Segment segment = CurrentSegment();
  REFERENCE_TIME start = 0, stop = 0;
  sample->GetTime(&start, &stop);
  REFERENCE_TIME now = 0;
  const bool clocked = StreamTime(&now) == S_OK;
  std::lock_guard lock(m_lock);
  m_record.frames.push_back(number);
  m_record.frameWidths.push_back(width);
  m_record.starts.push_back(start);
  m_record.discontinuities.push_back(sample->IsDiscontinuity() == S_OK);
  if (clocked) m_record.presentedAt.push_back(now);
  m_record.segment = segment;
  m_record.threads.push_back(std::this_thread::get_id());
  m_rendered.notify_all();
  return S_OK;
}

}  // namespace test_filters
