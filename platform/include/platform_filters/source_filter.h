// SourceFilter: a filter with output pins only, whose data is made on a
// thread of its own (a file reader and splitter, a test pattern).
//
// What it handles: while the filter is not stopped, its producing thread
// calls ProduceNext again and again. The samples it makes go to the pins'
// output queues: each SourcePin delivers its queue downstream on a thread
// of its own, so one stream that waits downstream (a paused renderer
// holding a sample) does not hold up the others, nor the producer. How far
// the producer may run ahead is bounded by each pin's buffers. When
// ProduceNext says the data is over, every pin delivers end of stream after
// its last sample; when it fails, the graph is told (EC_ERRORABORT) and
// the pins end their streams the same way. A stream that downstream fails
// is broken alone: its pin reports the failure and drops the stream's
// samples from then on.
//
// States. Pause from Stopped starts the queues and then the producer; Stop
// ends the producer (a wait for a buffer ends as the allocators are
// decommitted), then the queues, dropping what they still hold. A source
// filter is stopped before its last reference goes, as the graph manager
// does with its filters: the producer calls the subclass.
//
// Seeking. A source that knows the length of its data (QueryDuration) is
// seekable: each output pin gives IMediaSeeking, in media time, and the
// filters downstream pass their seeking up to it. The filter keeps a start
// and a stop position (0 and the duration at first). Every time streaming
// starts, from Stopped or after a seek, the subclass is told where to start
// (SeekTo), each pin queues a segment NewSegment(start, stop, 1.0) before
// anything else, and the first sample each pin queues then is marked as a
// discontinuity. A seek while paused or running restarts streaming: the
// producer stops, BeginFlush goes downstream (what waits there is dropped),
// the queues drop what they hold, EndFlush follows, and streaming starts
// again from the new position. A seek while stopped only sets the start for
// the next pause. A new stop position alone changes no data already made.
// Samples carry stream times: their position minus the segment's start (a
// frame at the start position has time 0); a pin takes no sample that
// starts at or after the stop position, and ends its stream there. Several
// pins lead to one source: the first connected pin's SetPositions seeks,
// the others' change nothing (the graph manager asks every renderer).
//
// What a subclass overrides:
//   ProduceNext   make the next piece of data: take buffers from the pins
//                 (GetDeliveryBuffer), fill them and Queue them, or change
//                 a pin's type (ChangeMediaType) or start a segment
//                 (QueueNewSegment; seekable sources leave segments to the
//                 base). S_OK: call again; S_FALSE: the data is over; a
//                 failure: streaming stops with it. It runs on the
//                 producing thread only, and should return soon once its
//                 buffer requests fail (the filter is stopping or seeking).
//   QueryDuration the length of the data in media time: S_OK makes the
//                 source seekable; the default is E_NOTIMPL (not seekable).
//   SeekTo        called with the producer stopped, before streaming
//                 starts: the next ProduceNext makes the data from this
//                 position on (the sample that contains it first, or the
//                 data before it that it depends on, marked preroll). The
//                 default does nothing. A failure ends the streams (or
//                 fails the pause) and is the seek's result.
// Pins are added with AddOutputPin while the filter is stopped, usually in
// the constructor or when a file is loaded.
//
// Locks. The producer holds no lock of the filter while it runs; each
// queue's lock is a leaf. The seeking lock guards the positions and
// serialises seeks with starting and stopping; it comes after the state
// lock and is never held by the producer.
#pragma once

#include <vector>

#include "base_filter.h"
#include "input_pin.h"
#include "output_pin.h"

namespace platform::media {

class SourceFilter;
class SourceSeeking;

// An output pin that offers a fixed list of media types, asks for the
// buffers it was given (and at least the fixed sample size of its current
// type), and delivers through an output queue.
class PLATFORM_FILTERS_API SourcePin final : public OutputPin {
 public:
  ~SourcePin() override;

  // On the producing thread. S_OK when queued; S_FALSE when the stream
  // takes no more samples: the filter is stopping or seeking, the sample
  // starts at or after the stop position (the pin has ended its stream),
  // or downstream failed on an earlier one (the pin has reported it to the
  // graph as EC_ERRORABORT, and still delivers end of stream). The producer
  // then stops producing for this pin.
  HRESULT Queue(IMediaSample *sample);
  HRESULT QueueEndOfStream();
  HRESULT QueueNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override;
  HRESULT GetMediaType(ULONG position, MediaType *type) override;
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override;
  HRESULT QueryPinInterface(REFIID riid, void **ppv) override;

 private:
  friend class SourceFilter;
  SourcePin(SourceFilter &filter, std::wstring name, std::vector<MediaType> types,
            const ALLOCATOR_PROPERTIES &buffers);
  void StartQueue();
  void StopQueue();
  bool HasEnded() const;

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

class PLATFORM_FILTERS_API SourceFilter : public BaseFilter {
 protected:
  explicit SourceFilter(const CLSID &clsid);
  ~SourceFilter() override;

  // The pin belongs to the filter.
  SourcePin *AddOutputPin(std::wstring name, std::vector<MediaType> types, const ALLOCATOR_PROPERTIES &buffers);

  virtual HRESULT ProduceNext() = 0;
  virtual HRESULT QueryDuration(REFERENCE_TIME *duration);
  virtual HRESULT SeekTo(REFERENCE_TIME position);

 private:
  friend class SourcePin;
  friend class SourceSeeking;

  HRESULT OnPause(FILTER_STATE from) override;
  void OnStop() override;
  // For the pins and their seeking (source_seeking.h).
  HRESULT Positions(Segment *positions);
  HRESULT Reposition(const SourcePin &by, REFERENCE_TIME start, REFERENCE_TIME stop, bool moveStart);
  REFERENCE_TIME StreamEnd() const;

  HRESULT StartStreaming();
  void StopStreaming(bool flush);
  void Produce();
  void EndStreams();

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
