// TransformFilter: a filter with one input pin and one output pin that
// turns the samples it receives into the samples it delivers (a decoder, a
// converter).
//
// What it handles: both pins and their connection rules (the output pin
// connects only once the input pin is, and offers the types GetOutputType
// gives for the input's type), the streaming thread's calls (samples, end
// of stream, flushing and segments, each passed downstream after the
// filter's hook), and the state changes: StartStreaming when the filter
// leaves Stopped, StopStreaming once no sample is inside the filter. A
// filter whose input is not connected delivers end of stream downstream
// when paused, so that the renderers after it can finish; samples that come
// while the output is not connected are dropped. The output pin gives
// IMediaSeeking, which passes every call upstream, to the output pin
// connected to the input (see renderer_filter.h): a seek reaches the
// source, and comes back down as a flush and a new segment.
//
// What a subclass overrides:
//   CheckInputType      S_OK for an input type it takes
//   CheckTransform      S_OK when it can turn this input type into this
//                       output type
//   GetOutputType       the output types it offers for the input's current
//                       type, position 0 first; VFW_S_NO_MORE_ITEMS past
//                       the last
//   DecideBufferSize    the output buffers it needs (see output_pin.h)
//   SetMediaType        a pin's type was agreed, at connection or when a
//                       sample brings a new input type; the filter may then
//                       change its output type with ChangeOutputType
//   Transform           one output sample from one input sample (S_OK
//                       delivers it, S_FALSE drops it), or, for filters that
//                       give zero or more samples for each input (decoders
//                       that hold frames back), Receive instead, which uses
//                       NewOutputSample and DeliverOutput itself
//   StartStreaming, StopStreaming, OnEndOfStream (deliver what is held back
//                       before end of stream goes downstream), OnFlush
//                       (forget what is held back)
//
// Results. A failure of the filter's own work is a streaming error: hand it
// to StreamingError, which reports EC_ERRORABORT to the graph once and
// makes the input refuse samples with it until the next stop or flush.
// Results of delivery (a renderer that is stopping, flushing) go back
// upstream as they are.
//
// Locks. The streaming lock is held during Receive, OnEndOfStream,
// OnFlush, NewSegment, StartStreaming and StopStreaming, and it is held
// while delivering downstream. Lock order: the filter's state lock, then the streaming lock,
// then the pins' own locks. Flushing starts without it (BeginFlush goes
// downstream at once, which frees a streaming thread blocked there), and
// ends with it.
#pragma once

#include "base_filter.h"
#include "input_pin.h"
#include "output_pin.h"

namespace platform::media {

class TransformInputPin;
class TransformOutputPin;

class PLATFORM_FILTERS_API TransformFilter : public BaseFilter {
 protected:
  TransformFilter(const CLSID &clsid, const wchar_t *inputName = L"In", const wchar_t *outputName = L"Out");
  ~TransformFilter() override;

  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE &input) = 0;
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE &input, const AM_MEDIA_TYPE &output) = 0;
  virtual HRESULT GetOutputType(ULONG position, MediaType *output) = 0;
  virtual HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) = 0;
  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE &type);
  virtual HRESULT Transform(IMediaSample *input, IMediaSample *output);
  virtual HRESULT Receive(IMediaSample *input);
  virtual HRESULT StartStreaming();
  virtual void StopStreaming();
  virtual HRESULT OnEndOfStream();
  virtual void OnFlush();

  // For the hooks.
  // A buffer of the output allocator with the input's times, media times,
  // sync point, preroll and discontinuity (none when input is null).
  HRESULT NewOutputSample(IMediaSample *input, IMediaSample **output);
  HRESULT DeliverOutput(IMediaSample *output);
  // A new output type mid-stream (see OutputPin::ChangeMediaType).
  HRESULT ChangeOutputType(const AM_MEDIA_TYPE &type);
  HRESULT StreamingError(HRESULT hr);
  MediaType InputType() const;
  MediaType OutputType() const;
  Segment InputSegment() const;

 private:
  friend class TransformInputPin;
  friend class TransformOutputPin;

  HRESULT OnPause(FILTER_STATE from) override;
  void OnStop() override;
  HRESULT ReceiveOnStream(IMediaSample *input);
  HRESULT EndOfStreamOnStream();
  HRESULT BeginFlushOnStream();
  HRESULT EndFlushOnStream();
  HRESULT NewSegmentOnStream(const Segment &segment);

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
