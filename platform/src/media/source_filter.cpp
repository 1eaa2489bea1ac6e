// SourceFilter and SourcePin: the producing thread, the pins' output
// queues, and restarting them where a seek asks.
#include <platform_filters/source_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <atomic>
#include <limits>
#include <mutex>
#include <thread>

#include "com/com_object.h"
#include "media/output_queue.h"
#include "media/source_seeking.h"

namespace platform::media {
namespace {

// The stop position until one is set: the end of the data.
constexpr REFERENCE_TIME kEndOfData = std::numeric_limits<REFERENCE_TIME>::max();

}  // namespace

struct SourcePin::Impl {
  Impl(SourceFilter &filter, SourcePin &pin, std::vector<MediaType> types, const ALLOCATOR_PROPERTIES &buffers)
      : filter(filter), types(std::move(types)), buffers(buffers), queue(pin), seeking(filter, pin) {}

  SourceFilter &filter;
  const std::vector<MediaType> types;
  const ALLOCATOR_PROPERTIES buffers;
  OutputQueue queue;
  SourceSeeking seeking;
  // Set as streaming starts, taken by the producer.
  std::atomic<bool> discontinuity{false};
  std::atomic<bool> ended{false};
};

SourcePin::SourcePin(SourceFilter &filter, std::wstring name, std::vector<MediaType> types,
                     const ALLOCATOR_PROPERTIES &buffers)
    : OutputPin(filter, std::move(name)),
      m_impl(std::make_unique<Impl>(filter, *this, std::move(types), buffers)) {}

SourcePin::~SourcePin() = default;

HRESULT SourcePin::Queue(IMediaSample *sample) {
  if (m_impl->ended) return S_FALSE;
  REFERENCE_TIME start = 0, stop = 0;
  if (SUCCEEDED(sample->GetTime(&start, &stop)) && start >= m_impl->filter.StreamEnd()) {
    QueueEndOfStream();
    return S_FALSE;
  }
  if (m_impl->discontinuity.exchange(false)) sample->SetDiscontinuity(TRUE);
  return m_impl->queue.QueueSample(sample);
}

HRESULT SourcePin::QueueEndOfStream() {
  m_impl->ended = true;
  return m_impl->queue.QueueEndOfStream();
}

HRESULT SourcePin::QueueNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return m_impl->queue.QueueNewSegment({start, stop, rate});
}

HRESULT SourcePin::CheckMediaType(const AM_MEDIA_TYPE &type) {
  const bool offered = std::any_of(m_impl->types.begin(), m_impl->types.end(),
                                   [&](const MediaType &own) { return IsSameMediaType(own.Get(), type); });
  return offered ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT SourcePin::GetMediaType(ULONG position, MediaType *type) {
  if (position >= m_impl->types.size()) return VFW_S_NO_MORE_ITEMS;
  *type = m_impl->types[position];
  return S_OK;
}

HRESULT SourcePin::DecideBufferSize(ALLOCATOR_PROPERTIES &request) {
  const ALLOCATOR_PROPERTIES &own = m_impl->buffers;
  request.cBuffers = std::max(request.cBuffers, own.cBuffers);
  request.cbBuffer = std::max({request.cbBuffer, own.cbBuffer, static_cast<LONG>(CurrentMediaType()->lSampleSize)});
  request.cbAlign = std::max({request.cbAlign, own.cbAlign, LONG{1}});
  request.cbPrefix = std::max(request.cbPrefix, own.cbPrefix);
  return S_OK;
}

HRESULT SourcePin::QueryPinInterface(REFIID riid, void **ppv) {
  if (!IsEqualIID(riid, IID_IMediaSeeking)) return OutputPin::QueryPinInterface(riid, ppv);
  *ppv = static_cast<IMediaSeeking *>(&m_impl->seeking);
  AddRef();
  return S_OK;
}

void SourcePin::StartQueue() {
  m_impl->discontinuity = true;
  m_impl->ended = false;
  m_impl->queue.Start();
}

void SourcePin::StopQueue() { m_impl->queue.Stop(); }

bool SourcePin::HasEnded() const { return m_impl->ended; }

struct SourceFilter::Impl {
  std::vector<SourcePin *> ConnectedPins() const {
    std::vector<SourcePin *> connected;
    for (const auto &pin : pins) {
      if (pin->IsConnected()) connected.push_back(pin.get());
    }
    return connected;
  }

  std::vector<std::unique_ptr<SourcePin>> pins;  // added while stopped
  std::atomic<bool> stopping{false};
  std::thread producer;
  std::mutex seekLock;
  // Changed under seekLock; the start only while the producer is stopped.
  std::atomic<REFERENCE_TIME> start{0};
  std::atomic<REFERENCE_TIME> stop{kEndOfData};
};

SourceFilter::SourceFilter(const CLSID &clsid) : BaseFilter(clsid), m_impl(std::make_unique<Impl>()) {}

SourceFilter::~SourceFilter() = default;

SourcePin *SourceFilter::AddOutputPin(std::wstring name, std::vector<MediaType> types,
                                      const ALLOCATOR_PROPERTIES &buffers) {
  m_impl->pins.emplace_back(new SourcePin(*this, std::move(name), std::move(types), buffers));
  AddPin(m_impl->pins.back().get());
  return m_impl->pins.back().get();
}

HRESULT SourceFilter::QueryDuration(REFERENCE_TIME *) { return E_NOTIMPL; }
HRESULT SourceFilter::SeekTo(REFERENCE_TIME) { return S_OK; }

HRESULT SourceFilter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  std::lock_guard lock(m_impl->seekLock);
  const HRESULT hr = StartStreaming();
  if (FAILED(hr)) StopStreaming(false);
  return hr;
}

void SourceFilter::OnStop() {
  std::lock_guard lock(m_impl->seekLock);
  StopStreaming(false);
}

// E_NOTIMPL when the source cannot seek.
HRESULT SourceFilter::Positions(Segment *positions) {
  REFERENCE_TIME duration = 0;
  const HRESULT hr = QueryDuration(&duration);
  if (FAILED(hr)) return hr;
  *positions = {m_impl->start, std::min<REFERENCE_TIME>(m_impl->stop, duration), 1.0};
  return S_OK;
}

// Positions are kept between 0 and the duration. Only the first connected
// pin's seek counts; a new start restarts streaming unless stopped.
HRESULT SourceFilter::Reposition(const SourcePin &by, REFERENCE_TIME start, REFERENCE_TIME stop, bool moveStart) {
  std::lock_guard lock(m_impl->seekLock);
  REFERENCE_TIME duration = 0;
  const HRESULT hr = QueryDuration(&duration);
  if (FAILED(hr)) return hr;
  const auto connected = m_impl->ConnectedPins();
  if (!connected.empty() && connected.front() != &by) return S_OK;
  m_impl->stop = std::clamp<REFERENCE_TIME>(stop, 0, duration);
  if (!moveStart) return S_OK;
  m_impl->start = std::clamp<REFERENCE_TIME>(start, 0, duration);
  if (State() == State_Stopped) return S_OK;
  StopStreaming(true);
  return StartStreaming();
}

// The stream time at which the data ends: the stop, from the start.
REFERENCE_TIME SourceFilter::StreamEnd() const { return m_impl->stop - m_impl->start; }

// With the seeking lock, the producer stopped: the queues start, each with
// its segment, then the producer.
HRESULT SourceFilter::StartStreaming() {
  const auto connected = m_impl->ConnectedPins();
  for (SourcePin *pin : connected) pin->StartQueue();
  Segment positions;
  if (SUCCEEDED(Positions(&positions))) {
    const HRESULT hr = SeekTo(positions.start);
    if (FAILED(hr)) {
      EndStreams();
      return hr;
    }
    for (SourcePin *pin : connected) pin->QueueNewSegment(positions.start, positions.stop, positions.rate);
  }
  m_impl->stopping = false;
  m_impl->producer = std::thread([this] { Produce(); });
  return S_OK;
}

// With the seeking lock. Decommitting the allocators ends a wait for a
// buffer; a flush also drops what waits downstream, and the allocators are
// committed again for the streaming that follows.
void SourceFilter::StopStreaming(bool flush) {
  m_impl->stopping = true;
  const auto connected = m_impl->ConnectedPins();
  if (flush) {
    for (SourcePin *pin : connected) pin->DeliverBeginFlush();
  }
  for (SourcePin *pin : connected) pin->Inactive();
  if (m_impl->producer.joinable()) m_impl->producer.join();
  for (SourcePin *pin : connected) pin->StopQueue();
  if (!flush) return;
  for (SourcePin *pin : connected) {
    pin->DeliverEndFlush();
    pin->Active();
  }
}

void SourceFilter::Produce() {
  HRESULT hr = S_OK;
  while (!m_impl->stopping && (hr = ProduceNext()) == S_OK) {
  }
  if (m_impl->stopping) return;
  // Buffer requests fail once the filter downstream has stopped, or this
  // one, before it tells the producer.
  if (FAILED(hr) && !IsStoppedDownstream(hr)) NotifyEvent(EC_ERRORABORT, hr, 0);
  EndStreams();
}

void SourceFilter::EndStreams() {
  for (SourcePin *pin : m_impl->ConnectedPins()) {
    if (!pin->HasEnded()) pin->QueueEndOfStream();
  }
}

}  // namespace platform::media
