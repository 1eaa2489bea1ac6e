// OutputPin: a pin that connects to an input pin and delivers samples to
// it through the input pin's IMemInputPin.
//
// Connection (IPin::Connect). With a complete media type, only that type is
// tried. Otherwise the candidates are the input pin's preferred types, then
// this pin's own (GetMediaType), each fitting the partly given type if one
// was given; the first that this pin's CheckMediaType accepts and the input
// pin's ReceiveConnection takes is the connection's type. Then the allocator
// is chosen: the input pin's own if it gives one, else the platform's memory
// allocator; DecideBufferSize says what buffers are needed, and the input
// pin is told the choice (NotifyAllocator). SetMediaType and CompleteConnect
// follow; a failure anywhere after ReceiveConnection disconnects both pins.
// Results: VFW_E_NO_ACCEPTABLE_TYPES when no candidate was taken,
// VFW_E_TYPE_NOT_ACCEPTED or the input pin's error for a complete type,
// VFW_E_NO_TRANSPORT when the input pin has no IMemInputPin.
//
// Streaming, on the filter's streaming thread:
//   GetDeliveryBuffer   a sample from the allocator (it waits for a free
//                       buffer unless AM_GBF_NOWAIT; VFW_E_NOT_COMMITTED
//                       once the filter stops). A media type accepted by
//                       ChangeMediaType is attached to the next sample.
//   Deliver...          pass samples, end of stream, flushing and segments
//                       to the connected pin, and give its result back
//                       (VFW_E_NOT_CONNECTED without a connection).
//   ChangeMediaType     a mid-stream format change: S_OK when the connected
//                       pin accepts the type (QueryAccept); the connection
//                       then has it, and the next sample carries it. When
//                       the type needs larger buffers (DecideBufferSize asks
//                       for more), the allocator is resized, which needs all
//                       its buffers back: VFW_E_BUFFERS_OUTSTANDING if not.
//                       VFW_E_TYPE_NOT_ACCEPTED when refused; nothing
//                       changes then.
//
// What a subclass overrides: the media-type hooks of BasePin, and
// DecideBufferSize (required): it fills in the buffers it needs (cBuffers,
// cbBuffer, cbAlign, cbPrefix), starting from the input pin's requirements
// or zeros at connection, from the current buffers at a type change (the
// new type is then the connection's). The base sets them on the allocator
// and fails with VFW_E_SIZENOTSET if the allocator gives less.
//
// States. Active() commits the allocator, Inactive() decommits it.
//
// Locks. The transport (allocator and the input pin's IMemInputPin) changes
// only while the filter is stopped and is read without a lock while
// streaming. A pending media type is guarded by the pin's type lock, a leaf.
#pragma once

#include "base_pin.h"

namespace platform::media {

class PLATFORM_FILTERS_API OutputPin : public BasePin {
 public:
  // IPin: an output pin connects, it is not connected to (E_UNEXPECTED), and
  // it does not receive stream calls (E_UNEXPECTED).
  HRESULT STDMETHODCALLTYPE Connect(IPin *pReceivePin, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin *pConnector, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

  HRESULT Active() override;
  void Inactive() override;

  HRESULT GetDeliveryBuffer(IMediaSample **sample, REFERENCE_TIME *start, REFERENCE_TIME *stop, DWORD flags);
  HRESULT Deliver(IMediaSample *sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);
  HRESULT ChangeMediaType(const AM_MEDIA_TYPE &type);

 protected:
  OutputPin(BaseFilter &filter, std::wstring name);
  ~OutputPin() override;

  virtual HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) = 0;

 private:
  HRESULT TryConnection(IPin *receivePin, const AM_MEDIA_TYPE &type);
  HRESULT TryCandidates(IPin *receivePin, const AM_MEDIA_TYPE *pattern);
  HRESULT FinishConnection(IPin *receivePin);
  HRESULT DecideAllocator(IPin *receivePin);
  HRESULT ResizeBuffers();

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
