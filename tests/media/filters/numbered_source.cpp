// A source of numbered frames.
#include <dshow.h>

#include <algorithm>
#include <chrono>
#include <cstring>

#include "test_filters.h"

namespace test_filters {
namespace {

// Room for the largest test frame, so that a switch of type never needs
// new buffers while frames wait in the queue.
constexpr ALLOCATOR_PROPERTIES kBuffers = {8, 64 * 64 * 4, 1, 0};

}  // namespace

NumberedSource *NumberedSource::Create(std::vector<Stream> streams) { return new NumberedSource(std::move(streams)); }

NumberedSource::NumberedSource(std::vector<Stream> streams)
    : SourceFilter(kNumberedSourceClass),
      m_streams(std::move(streams)),
      m_next(m_streams.size(), 0),
      m_firstShown(m_streams.size(), 0) {
  for (size_t i = 0; i < m_streams.size(); ++i) {
    std::vector<MediaType> offered{m_streams[i].type};
    if (!m_streams[i].switchedType.IsEmpty()) offered.push_back(m_streams[i].switchedType);
    m_pins.push_back(AddOutputPin(L"Out" + std::to_wstring(i), offered, kBuffers));
  }
}

IPin *NumberedSource::Output(size_t stream) const { return m_pins[stream]; }

void NumberedSource::CloseGate() {
  std::lock_guard lock(m_gateLock);
  m_gateClosed = true;
}

void NumberedSource::OpenGate() {
  std::lock_guard lock(m_gateLock);
  m_gateClosed = false;
  m_gateOpened.notify_all();
}

// Until the gate opens or the filter stops; the stop is not announced, so
// it is looked for now and then.
void NumberedSource::WaitAtGate() {
  std::unique_lock lock(m_gateLock);
  while (m_gateClosed && State() != State_Stopped) m_gateOpened.wait_for(lock, std::chrono::milliseconds(5));
}

HRESULT NumberedSource::QueryDuration(REFERENCE_TIME *duration) {
  DWORD longest = 0;
  for (const Stream &stream : m_streams) longest = std::max(longest, stream.frames);
  *duration = longest * kFrameDuration;
  return S_OK;
}

// The frame that contains the position is the first shown; the frames from
// the sync point before it lead up to it.
HRESULT NumberedSource::SeekTo(REFERENCE_TIME position) {
  for (size_t i = 0; i < m_streams.size(); ++i) {
    const Stream &stream = m_streams[i];
    m_firstShown[i] = static_cast<DWORD>(std::min<REFERENCE_TIME>(position / kFrameDuration, stream.frames));
    m_next[i] = m_firstShown[i] - m_firstShown[i] % stream.keyInterval;
  }
  m_turn = 0;
  m_segmentStart = position;
  return S_OK;
}

// The connected streams take turns, a frame each.
HRESULT NumberedSource::ProduceNext() {
  WaitAtGate();
  for (size_t tried = 0; tried < m_streams.size(); ++tried) {
    const size_t stream = m_turn;
    m_turn = (m_turn + 1) % m_streams.size();
    if (m_next[stream] < m_streams[stream].frames && m_pins[stream]->IsConnected()) return PushFrame(stream);
  }
  return S_FALSE;
}

HRESULT NumberedSource::PushFrame(size_t index) {
  const Stream &stream = m_streams[index];
  platform::media::SourcePin *pin = m_pins[index];
  const DWORD number = m_next[index]++;
  if (number == stream.switchAt) m_switchResult = pin->ChangeMediaType(stream.switchedType.Get());
  IMediaSample *sample = nullptr;
  HRESULT hr = pin->GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
  if (FAILED(hr)) return hr;
  BYTE *data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(data, &number, sizeof number);
  sample->SetActualDataLength(sizeof number);
  REFERENCE_TIME start = number * kFrameDuration - m_segmentStart;
  REFERENCE_TIME stop = start + kFrameDuration;
  sample->SetTime(&start, &stop);
  sample->SetSyncPoint(number % stream.keyInterval == 0);
  sample->SetPreroll(number < m_firstShown[index]);
  hr = pin->Queue(sample);
  sample->Release();
  if (hr == S_FALSE) m_next[index] = stream.frames;  // the stream takes no more
  return SUCCEEDED(hr) ? S_OK : hr;
}

}  // namespace test_filters
