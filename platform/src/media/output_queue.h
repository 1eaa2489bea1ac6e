// The output queue of a source pin: samples, ends of stream and segments
// put in by the producing thread and delivered downstream, in order, by a
// thread of the queue's own.
//
// The queue itself is not bounded: the pin's allocator bounds the samples
// in it. When a delivery fails, the stream is broken: the failure is
// reported to the graph (EC_ERRORABORT) once, unless it comes from a
// stopped filter downstream (IsStoppedDownstream), and the samples still
// queued or put in later are dropped (QueueSample then answers S_FALSE),
// while ends of stream and segments still go, so that the filters
// downstream can finish. S_FALSE from downstream (it is flushing) breaks
// nothing: what arrives during a flush is dropped there. Stop drops what
// is still queued and waits for the thread.
//
// Locks: the queue's lock guards the items and the flags; it is a leaf and
// is never held while delivering.
#pragma once

#include <platform_filters/input_pin.h>
#include <platform_filters/output_pin.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "com/com_object.h"

namespace platform::media {

// What streaming meets when a filter downstream has stopped: its input pin
// refuses samples (VFW_E_WRONG_STATE), and the allocator it gave is
// decommitted (VFW_E_NOT_COMMITTED). The graph stops renderers before
// sources, so this is no error of the stream.
bool IsStoppedDownstream(HRESULT hr);

class OutputQueue {
 public:
  explicit OutputQueue(OutputPin &pin);
  ~OutputQueue();
  OutputQueue(const OutputQueue &) = delete;
  OutputQueue &operator=(const OutputQueue &) = delete;

  void Start();
  void Stop();

  HRESULT QueueSample(IMediaSample *sample);
  HRESULT QueueEndOfStream();
  HRESULT QueueNewSegment(const Segment &segment);

 private:
  enum class Kind { Sample, EndOfStream, NewSegment };
  struct Item {
    Kind kind;
    com::ComPtr<IMediaSample> sample;
    Segment segment;
  };

  HRESULT Put(Item item);
  void Deliver();
  void AwaitItemBriefly() const;
  HRESULT DeliverItem(const Item &item);

  OutputPin &m_pin;
  std::mutex m_lock;
  std::condition_variable m_queued;
  std::deque<Item> m_items;        // guarded by m_lock
  std::atomic<size_t> m_itemCount{0};  // m_items.size(), also read without the lock
  bool m_stopping = false;         // guarded by m_lock
  HRESULT m_deliveryResult = S_OK;  // guarded by m_lock
  std::thread m_thread;
};

}  // namespace platform::media
