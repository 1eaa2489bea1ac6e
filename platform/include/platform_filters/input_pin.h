// InputPin: a pin that receives samples through IMemInputPin. It accepts
// connections (ReceiveConnection), offers an allocator to the output pin
// that connects to it, and checks every call of the stream before the
// filter sees it.
//
// Contract. Samples, end of stream and segments come on the upstream pin's
// streaming thread, one at a time and in order; flushing may come from
// another thread. The pin answers, before calling a hook:
//   Receive       S_FALSE while flushing; VFW_E_WRONG_STATE while the filter
//                 is stopped; VFW_E_SAMPLE_REJECTED_EOS after end of stream;
//                 VFW_E_INVALIDMEDIATYPE when the sample carries a media type
//                 that CheckMediaType refuses. A type it accepts becomes the
//                 connection's type (SetMediaType is called) before OnReceive
//                 sees the sample: this is how a mid-stream format change
//                 arrives.
//   EndOfStream   S_FALSE while flushing, VFW_E_WRONG_STATE while stopped;
//                 otherwise the pin is at end of stream until the next flush
//                 or stop.
//   BeginFlush    the pin refuses samples until EndFlush; end of stream is
//                 cleared at EndFlush.
//   NewSegment    the segment is recorded, then OnNewSegment.
// Each answers the hook's result otherwise.
//
// What a subclass overrides: the media-type hooks of BasePin, OnReceive
// (required), and OnEndOfStream, OnBeginFlush, OnEndFlush, OnNewSegment
// (default S_OK). OnEndFlush runs before the pin takes samples again.
//
// States. Active() clears end of stream; Inactive() decommits the allocator
// the upstream pin uses, so that a thread waiting for one of its buffers
// returns at once.
//
// Locks. The flags (flushing, end of stream) are atomic; the segment and the
// allocator are guarded by the pin's stream lock, a leaf.
#pragma once

#include "base_pin.h"

namespace platform::media {

struct Segment {
  REFERENCE_TIME start = 0;
  REFERENCE_TIME stop = 0;
  double rate = 1.0;
};

class PLATFORM_FILTERS_API InputPin : public BasePin, public IMemInputPin {
 public:
  // IUnknown: IPin, IMemInputPin, then QueryPinInterface.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IPin: an input pin is connected to, it does not connect (E_UNEXPECTED).
  HRESULT STDMETHODCALLTYPE Connect(IPin *pReceivePin, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin *pConnector, const AM_MEDIA_TYPE *pmt) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) override;

  // IMemInputPin. GetAllocator offers the platform's memory allocator;
  // GetAllocatorRequirements has none (E_NOTIMPL); ReceiveCanBlock is S_OK.
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator **ppAllocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator *pAllocator, BOOL bReadOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES *pProps) override;
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample *pSample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample **pSamples, LONG nSamples, LONG *nSamplesProcessed) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override;

  HRESULT Active() override;
  void Inactive() override;

  bool IsFlushing() const;
  bool IsAtEndOfStream() const;
  Segment CurrentSegment() const;

 protected:
  InputPin(BaseFilter &filter, std::wstring name);
  ~InputPin() override;

  HRESULT QueryPinInterface(REFIID riid, void **ppv) override;

  virtual HRESULT OnReceive(IMediaSample *sample) = 0;
  virtual HRESULT OnEndOfStream();
  virtual HRESULT OnBeginFlush();
  virtual HRESULT OnEndFlush();
  virtual HRESULT OnNewSegment(const Segment &segment);

 private:
  HRESULT CheckStreaming() const;
  HRESULT AcceptSampleType(IMediaSample *sample);

  struct Impl;
  std::unique_ptr<Impl> m_impl;
};

}  // namespace platform::media
