// SourceFilter and SourcePin: the producing thread and the pins' output
// queues.
#include <platform_filters/source_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>

#include <algorithm>
#include <atomic>
#include <thread>

#include "media/output_queue.h"

namespace platform::media {

struct SourcePin::Impl {
  Impl(SourcePin &pin, std::vector<MediaType> types, const ALLOCATOR_PROPERTIES &buffers)
      : types(std::move(types)), buffers(buffers), queue(pin) {}

  const std::vector<MediaType> types;
  const ALLOCATOR_PROPERTIES buffers;
  OutputQueue queue;
};

SourcePin::SourcePin(SourceFilter &filter, std::wstring name, std::vector<MediaType> types,
                     const ALLOCATOR_PROPERTIES &buffers)
    : OutputPin(filter, std::move(name)), m_impl(std::make_unique<Impl>(*this, std::move(types), buffers)) {}

SourcePin::~SourcePin() = default;

HRESULT SourcePin::Queue(IMediaSample *sample) { return m_impl->queue.QueueSample(sample); }
HRESULT SourcePin::QueueEndOfStream() { return m_impl->queue.QueueEndOfStream(); }
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

void SourcePin::StartQueue() { m_impl->queue.Start(); }
void SourcePin::StopQueue() { m_impl->queue.Stop(); }

struct SourceFilter::Impl {
  std::vector<std::unique_ptr<SourcePin>> pins;  // added while stopped
  std::atomic<bool> stopping{false};
  std::thread producer;
};

SourceFilter::SourceFilter(const CLSID &clsid) : BaseFilter(clsid), m_impl(std::make_unique<Impl>()) {}

SourceFilter::~SourceFilter() = default;

SourcePin *SourceFilter::AddOutputPin(std::wstring name, std::vector<MediaType> types,
                                      const ALLOCATOR_PROPERTIES &buffers) {
  m_impl->pins.emplace_back(new SourcePin(*this, std::move(name), std::move(types), buffers));
  AddPin(m_impl->pins.back().get());
  return m_impl->pins.back().get();
}

HRESULT SourceFilter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  for (auto &pin : m_impl->pins) {
    if (pin->IsConnected()) pin->StartQueue();
  }
  m_impl->stopping = false;
  m_impl->producer = std::thread([this] { Produce(); });
  return S_OK;
}

void SourceFilter::OnStop() {
  m_impl->stopping = true;
  if (m_impl->producer.joinable()) m_impl->producer.join();
  for (auto &pin : m_impl->pins) pin->StopQueue();
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
  for (auto &pin : m_impl->pins) {
    if (pin->IsConnected()) pin->QueueEndOfStream();
  }
}

}  // namespace platform::media
