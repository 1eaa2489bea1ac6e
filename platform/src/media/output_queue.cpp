// The output queue of a source pin.
#include "media/output_queue.h"

#include <platform_filters/base_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>

#include <utility>

namespace platform::media {

bool IsStoppedDownstream(HRESULT hr) { return hr == VFW_E_WRONG_STATE || hr == VFW_E_NOT_COMMITTED; }

OutputQueue::OutputQueue(OutputPin &pin) : m_pin(pin) {}

OutputQueue::~OutputQueue() { Stop(); }

void OutputQueue::Start() {
  Stop();
  std::lock_guard lock(m_lock);
  m_stopping = false;
  m_deliveryResult = S_OK;
  m_thread = std::thread([this] { Deliver(); });
}

// The dropped items are released after the lock: a sample going back may
// free its allocator.
void OutputQueue::Stop() {
  std::deque<Item> dropped;
  {
    std::lock_guard lock(m_lock);
    m_stopping = true;
    dropped.swap(m_items);
    m_itemCount = 0;
    m_queued.notify_one();
  }
  if (m_thread.joinable()) m_thread.join();
}

HRESULT OutputQueue::QueueSample(IMediaSample *sample) {
  return Put({Kind::Sample, com::ComPtr<IMediaSample>(sample), {}});
}

HRESULT OutputQueue::QueueEndOfStream() { return Put({Kind::EndOfStream, {}, {}}); }

HRESULT OutputQueue::QueueNewSegment(const Segment &segment) { return Put({Kind::NewSegment, {}, segment}); }

HRESULT OutputQueue::Put(Item item) {
  std::lock_guard lock(m_lock);
  if (m_stopping || (item.kind == Kind::Sample && FAILED(m_deliveryResult))) return S_FALSE;
  m_items.push_back(std::move(item));
  m_itemCount = m_items.size();
  m_queued.notify_one();
  return S_OK;
}

void OutputQueue::Deliver() {
  std::unique_lock lock(m_lock);
  for (;;) {
    if (m_items.empty() && !m_stopping) {
      lock.unlock();
      AwaitItemBriefly();
      lock.lock();
    }
    m_queued.wait(lock, [this] { return m_stopping || !m_items.empty(); });
    if (m_stopping) return;
    Item item = std::move(m_items.front());
    m_items.pop_front();
    m_itemCount = m_items.size();
    const bool broken = FAILED(m_deliveryResult);
    lock.unlock();
    const HRESULT hr = broken && item.kind == Kind::Sample ? S_OK : DeliverItem(item);
    item = Item{};
    if (FAILED(hr) && !broken && !IsStoppedDownstream(hr)) m_pin.Filter().NotifyEvent(EC_ERRORABORT, hr, 0);
    lock.lock();
    if (FAILED(hr) && !broken) m_deliveryResult = hr;
  }
}

// A producer that keeps up usually queues the next item within
// microseconds: looking for it a little while, giving the processor away
// between looks, spares the sleep and wake-up of a wait on every item.
void OutputQueue::AwaitItemBriefly() const {
  constexpr int kLooks = 64;
  for (int look = 0; look < kLooks && m_itemCount.load(std::memory_order_relaxed) == 0; ++look) {
    std::this_thread::yield();
  }
}

HRESULT OutputQueue::DeliverItem(const Item &item) {
  switch (item.kind) {
    case Kind::Sample:
      return m_pin.Deliver(item.sample.Get());
    case Kind::EndOfStream:
      return m_pin.DeliverEndOfStream();
    case Kind::NewSegment:
      return m_pin.DeliverNewSegment(item.segment.start, item.segment.stop, item.segment.rate);
  }
  return E_UNEXPECTED;
}

}  // namespace platform::media
