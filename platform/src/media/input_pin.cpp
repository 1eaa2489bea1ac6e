// InputPin: connections received, IMemInputPin, and the checks of the
// stream calls.
#include <platform_filters/base_filter.h>
#include <platform_filters/input_pin.h>

#include <vfwmsgs.h>

#include <atomic>
#include <mutex>

#include "com/com_object.h"
#include "media/mem_allocator.h"

namespace platform::media {

struct InputPin::Impl {
  std::atomic<bool> flushing{false};
  std::atomic<bool> endOfStream{false};
  mutable std::mutex streamLock;         // a leaf
  Segment segment;                       // guarded by streamLock
  com::ComPtr<IMemAllocator> allocator;  // guarded by streamLock
};

InputPin::InputPin(BaseFilter &filter, std::wstring name)
    : BasePin(filter, std::move(name), PINDIR_INPUT), m_impl(std::make_unique<Impl>()) {}

InputPin::~InputPin() = default;

HRESULT InputPin::QueryInterface(REFIID riid, void **ppv) { return BasePin::QueryInterface(riid, ppv); }
ULONG InputPin::AddRef() { return BasePin::AddRef(); }
ULONG InputPin::Release() { return BasePin::Release(); }

HRESULT InputPin::QueryPinInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IMemInputPin>(this, riid, ppv);
}

HRESULT InputPin::Connect(IPin *, const AM_MEDIA_TYPE *) { return E_UNEXPECTED; }

HRESULT InputPin::ReceiveConnection(IPin *pConnector, const AM_MEDIA_TYPE *pmt) {
  if (!pmt) return E_POINTER;
  HRESULT hr = CheckConnectable(pConnector);
  if (FAILED(hr)) return hr;
  hr = CheckMediaType(*pmt);
  if (hr != S_OK) return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
  if (FAILED(hr = SetConnection(pConnector, *pmt))) return hr;
  hr = SetMediaType(*pmt);
  if (SUCCEEDED(hr)) hr = CompleteConnect(pConnector);
  if (FAILED(hr)) {
    ClearConnection();
    BreakConnect();
  }
  return hr;
}

HRESULT InputPin::Disconnect() {
  const HRESULT hr = BasePin::Disconnect();
  if (hr == S_OK) {
    std::lock_guard lock(m_impl->streamLock);
    m_impl->allocator.Reset();
  }
  return hr;
}

HRESULT InputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  m_impl->endOfStream = true;
  return OnEndOfStream();
}

HRESULT InputPin::BeginFlush() {
  m_impl->flushing = true;
  return OnBeginFlush();
}

HRESULT InputPin::EndFlush() {
  const HRESULT hr = OnEndFlush();
  m_impl->endOfStream = false;
  m_impl->flushing = false;
  return hr;
}

HRESULT InputPin::NewSegment(REFERENCE_TIME tStart, REFERENCE_TIME tStop, double dRate) {
  const Segment segment{tStart, tStop, dRate};
  {
    std::lock_guard lock(m_impl->streamLock);
    m_impl->segment = segment;
  }
  return OnNewSegment(segment);
}

HRESULT InputPin::GetAllocator(IMemAllocator **ppAllocator) {
  if (!ppAllocator) return E_POINTER;
  *ppAllocator = nullptr;
  std::lock_guard lock(m_impl->streamLock);
  if (!m_impl->allocator) {
    IMemAllocator *created = nullptr;
    const HRESULT hr = MemAllocator::Create(&created);
    if (FAILED(hr)) return hr;
    m_impl->allocator = com::ComPtr<IMemAllocator>(created);
    created->Release();
  }
  *ppAllocator = com::ComPtr<IMemAllocator>(m_impl->allocator).Detach();
  return S_OK;
}

HRESULT InputPin::NotifyAllocator(IMemAllocator *pAllocator, BOOL) {
  if (!pAllocator) return E_POINTER;
  std::lock_guard lock(m_impl->streamLock);
  m_impl->allocator = com::ComPtr<IMemAllocator>(pAllocator);
  return S_OK;
}

HRESULT InputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES *) { return E_NOTIMPL; }

HRESULT InputPin::Receive(IMediaSample *pSample) {
  if (!pSample) return E_POINTER;
  HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr;
  if (m_impl->endOfStream) return VFW_E_SAMPLE_REJECTED_EOS;
  if (FAILED(hr = AcceptSampleType(pSample))) return hr;
  return OnReceive(pSample);
}

// Stops at the first sample not taken with S_OK.
HRESULT InputPin::ReceiveMultiple(IMediaSample **pSamples, LONG nSamples, LONG *nSamplesProcessed) {
  if (!pSamples || !nSamplesProcessed) return E_POINTER;
  *nSamplesProcessed = 0;
  HRESULT hr = S_OK;
  while (*nSamplesProcessed < nSamples && (hr = Receive(pSamples[*nSamplesProcessed])) == S_OK) ++*nSamplesProcessed;
  return hr;
}

HRESULT InputPin::ReceiveCanBlock() { return S_OK; }

HRESULT InputPin::Active() {
  m_impl->endOfStream = false;
  return S_OK;
}

void InputPin::Inactive() {
  m_impl->flushing = false;
  m_impl->endOfStream = false;
  std::lock_guard lock(m_impl->streamLock);
  if (m_impl->allocator) m_impl->allocator->Decommit();
}

bool InputPin::IsFlushing() const { return m_impl->flushing; }
bool InputPin::IsAtEndOfStream() const { return m_impl->endOfStream; }

Segment InputPin::CurrentSegment() const {
  std::lock_guard lock(m_impl->streamLock);
  return m_impl->segment;
}

HRESULT InputPin::OnEndOfStream() { return S_OK; }
HRESULT InputPin::OnBeginFlush() { return S_OK; }
HRESULT InputPin::OnEndFlush() { return S_OK; }
HRESULT InputPin::OnNewSegment(const Segment &) { return S_OK; }

HRESULT InputPin::CheckStreaming() const {
  if (m_impl->flushing) return S_FALSE;
  return Filter().State() == State_Stopped ? VFW_E_WRONG_STATE : S_OK;
}

// A sample that carries a media type changes the connection's type; if the
// filter cannot take it after all, the connection keeps its type.
HRESULT InputPin::AcceptSampleType(IMediaSample *sample) {
  AM_MEDIA_TYPE *type = nullptr;
  if (sample->GetMediaType(&type) != S_OK || !type) return S_OK;
  HRESULT hr = CheckMediaType(*type);
  if (hr == S_OK) {
    const MediaType previous = CurrentMediaType();
    ReplaceMediaType(*type);
    hr = SetMediaType(*type);
    if (hr != S_OK) ReplaceMediaType(previous.Get());
  }
  DeleteMediaType(type);
  return hr == S_OK ? S_OK : VFW_E_INVALIDMEDIATYPE;
}

}  // namespace platform::media
