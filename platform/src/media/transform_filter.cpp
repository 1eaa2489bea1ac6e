// TransformFilter: its two pins, the streaming path and the state hooks.
#include <platform_filters/transform_filter.h>

#include <evcode.h>
#include <vfwmsgs.h>

#include <mutex>

#include "media/seeking_pass_through.h"

namespace platform::media {
namespace {

// A stream call that finds no connected output has nowhere to go.
HRESULT IgnoringNoOutput(HRESULT hr) { return hr == VFW_E_NOT_CONNECTED ? S_OK : hr; }

void CopyStreamProperties(IMediaSample *input, IMediaSample *output) {
  REFERENCE_TIME start = 0, stop = 0;
  const HRESULT timed = input->GetTime(&start, &stop);
  if (timed == S_OK) output->SetTime(&start, &stop);
  if (timed == VFW_S_NO_STOP_TIME) output->SetTime(&start, nullptr);
  LONGLONG mediaStart = 0, mediaStop = 0;
  if (input->GetMediaTime(&mediaStart, &mediaStop) == S_OK) output->SetMediaTime(&mediaStart, &mediaStop);
  output->SetSyncPoint(input->IsSyncPoint() == S_OK);
  output->SetPreroll(input->IsPreroll() == S_OK);
  output->SetDiscontinuity(input->IsDiscontinuity() == S_OK);
}

}  // namespace

class TransformInputPin final : public InputPin {
 public:
  TransformInputPin(TransformFilter &filter, const wchar_t *name) : InputPin(filter, name), m_filter(filter) {}

 protected:
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override { return m_filter.CheckInputType(type); }
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override { return m_filter.SetMediaType(PINDIR_INPUT, type); }
  HRESULT OnReceive(IMediaSample *sample) override { return m_filter.ReceiveOnStream(sample); }
  HRESULT OnEndOfStream() override { return m_filter.EndOfStreamOnStream(); }
  HRESULT OnBeginFlush() override { return m_filter.BeginFlushOnStream(); }
  HRESULT OnEndFlush() override { return m_filter.EndFlushOnStream(); }
  HRESULT OnNewSegment(const Segment &segment) override { return m_filter.NewSegmentOnStream(segment); }

 private:
  TransformFilter &m_filter;
};

// Connects only once the input is connected; passes seeking upstream.
class TransformOutputPin final : public OutputPin {
 public:
  TransformOutputPin(TransformFilter &filter, const wchar_t *name, BasePin &input)
      : OutputPin(filter, name), m_filter(filter), m_seeking(static_cast<IPin &>(*this), input) {}

 protected:
  HRESULT QueryPinInterface(REFIID riid, void **ppv) override {
    if (!IsEqualIID(riid, IID_IMediaSeeking)) return OutputPin::QueryPinInterface(riid, ppv);
    *ppv = static_cast<IMediaSeeking *>(&m_seeking);
    AddRef();
    return S_OK;
  }
  HRESULT CheckMediaType(const AM_MEDIA_TYPE &type) override {
    const MediaType input = m_filter.InputType();
    return input.IsEmpty() ? VFW_E_NOT_CONNECTED : m_filter.CheckTransform(input.Get(), type);
  }
  HRESULT GetMediaType(ULONG position, MediaType *type) override {
    return m_filter.InputType().IsEmpty() ? VFW_S_NO_MORE_ITEMS : m_filter.GetOutputType(position, type);
  }
  HRESULT SetMediaType(const AM_MEDIA_TYPE &type) override { return m_filter.SetMediaType(PINDIR_OUTPUT, type); }
  HRESULT DecideBufferSize(ALLOCATOR_PROPERTIES &request) override { return m_filter.DecideBufferSize(request); }

 private:
  TransformFilter &m_filter;
  SeekingPassThrough m_seeking;
};

struct TransformFilter::Impl {
  Impl(TransformFilter &filter, const wchar_t *inputName, const wchar_t *outputName)
      : input(filter, inputName), output(filter, outputName, input) {}

  TransformInputPin input;
  TransformOutputPin output;
  std::mutex streamLock;
  HRESULT streamError = S_OK;  // guarded by streamLock
};

TransformFilter::TransformFilter(const CLSID &clsid, const wchar_t *inputName, const wchar_t *outputName)
    : BaseFilter(clsid), m_impl(std::make_unique<Impl>(*this, inputName, outputName)) {
  AddPin(&m_impl->input);
  AddPin(&m_impl->output);
}

TransformFilter::~TransformFilter() = default;

HRESULT TransformFilter::SetMediaType(PIN_DIRECTION, const AM_MEDIA_TYPE &) { return S_OK; }

HRESULT TransformFilter::Transform(IMediaSample *, IMediaSample *) { return E_UNEXPECTED; }

HRESULT TransformFilter::Receive(IMediaSample *input) {
  IMediaSample *output = nullptr;
  HRESULT hr = NewOutputSample(input, &output);
  if (FAILED(hr)) return hr;
  hr = Transform(input, output);
  if (hr == S_OK) {
    hr = DeliverOutput(output);
  } else if (hr == S_FALSE) {
    hr = S_OK;
  } else {
    hr = StreamingError(hr);
  }
  output->Release();
  return hr;
}

HRESULT TransformFilter::StartStreaming() { return S_OK; }
void TransformFilter::StopStreaming() {}
HRESULT TransformFilter::OnEndOfStream() { return S_OK; }
void TransformFilter::OnFlush() {}

HRESULT TransformFilter::NewOutputSample(IMediaSample *input, IMediaSample **output) {
  const HRESULT hr = m_impl->output.GetDeliveryBuffer(output, nullptr, nullptr, 0);
  if (SUCCEEDED(hr) && input) CopyStreamProperties(input, *output);
  return hr;
}

HRESULT TransformFilter::DeliverOutput(IMediaSample *output) { return m_impl->output.Deliver(output); }

HRESULT TransformFilter::ChangeOutputType(const AM_MEDIA_TYPE &type) { return m_impl->output.ChangeMediaType(type); }

// Called from the streaming hooks, with the streaming lock held.
HRESULT TransformFilter::StreamingError(HRESULT hr) {
  if (SUCCEEDED(m_impl->streamError)) NotifyEvent(EC_ERRORABORT, hr, 0);
  m_impl->streamError = hr;
  return hr;
}

MediaType TransformFilter::InputType() const { return m_impl->input.CurrentMediaType(); }
MediaType TransformFilter::OutputType() const { return m_impl->output.CurrentMediaType(); }
Segment TransformFilter::InputSegment() const { return m_impl->input.CurrentSegment(); }

HRESULT TransformFilter::OnPause(FILTER_STATE from) {
  if (from != State_Stopped) return S_OK;
  {
    std::lock_guard lock(m_impl->streamLock);
    m_impl->streamError = S_OK;
    const HRESULT hr = StartStreaming();
    if (FAILED(hr)) return hr;
  }
  // Nothing will come in: the filters after this one may finish at once.
  if (!m_impl->input.IsConnected()) m_impl->output.DeliverEndOfStream();
  return S_OK;
}

void TransformFilter::OnStop() {
  std::lock_guard lock(m_impl->streamLock);
  StopStreaming();
}

// Samples that find no connected output are dropped.
HRESULT TransformFilter::ReceiveOnStream(IMediaSample *input) {
  std::lock_guard lock(m_impl->streamLock);
  if (FAILED(m_impl->streamError)) return m_impl->streamError;
  if (!m_impl->output.IsConnected()) return S_OK;
  return Receive(input);
}

HRESULT TransformFilter::EndOfStreamOnStream() {
  std::lock_guard lock(m_impl->streamLock);
  if (SUCCEEDED(m_impl->streamError) && m_impl->output.IsConnected()) OnEndOfStream();
  return IgnoringNoOutput(m_impl->output.DeliverEndOfStream());
}

HRESULT TransformFilter::BeginFlushOnStream() { return IgnoringNoOutput(m_impl->output.DeliverBeginFlush()); }

HRESULT TransformFilter::EndFlushOnStream() {
  std::lock_guard lock(m_impl->streamLock);
  OnFlush();
  m_impl->streamError = S_OK;
  return IgnoringNoOutput(m_impl->output.DeliverEndFlush());
}

HRESULT TransformFilter::NewSegmentOnStream(const Segment &segment) {
  std::lock_guard lock(m_impl->streamLock);
  return IgnoringNoOutput(m_impl->output.DeliverNewSegment(segment.start, segment.stop, segment.rate));
}

}  // namespace platform::media
