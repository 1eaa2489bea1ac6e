// OutputPin: connecting, choosing the allocator, delivering downstream and
// changing the media type mid-stream.
#include <platform_filters/base_filter.h>
#include <platform_filters/output_pin.h>

#include <vfwmsgs.h>

#include <mutex>
#include <optional>
#include <vector>

#include "com/com_object.h"
#include "media/mem_allocator.h"

namespace platform::media {
namespace {

// The preferred types of a pin, in its order.
std::vector<MediaType> PreferredTypes(IPin *pin) {
  std::vector<MediaType> types;
  IEnumMediaTypes *enumerator = nullptr;
  if (FAILED(pin->EnumMediaTypes(&enumerator)) || !enumerator) return types;
  AM_MEDIA_TYPE *type = nullptr;
  while (enumerator->Next(1, &type, nullptr) == S_OK) {
    types.emplace_back(*type);
    DeleteMediaType(type);
  }
  enumerator->Release();
  return types;
}

// Sets the buffers on an allocator: VFW_E_SIZENOTSET when it gives fewer or
// smaller ones than asked.
HRESULT SetBuffers(IMemAllocator *allocator, ALLOCATOR_PROPERTIES request) {
  if (request.cbAlign == 0) request.cbAlign = 1;
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = allocator->SetProperties(&request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cBuffers < request.cBuffers || actual.cbBuffer < request.cbBuffer ? VFW_E_SIZENOTSET : S_OK;
}

// Calls the connected pin: VFW_E_NOT_CONNECTED without one.
template <typename Call>
HRESULT CallConnectedPin(BasePin &pin, Call call) {
  IPin *peer = nullptr;
  if (pin.ConnectedTo(&peer) != S_OK) return VFW_E_NOT_CONNECTED;
  const HRESULT hr = call(peer);
  peer->Release();
  return hr;
}

bool NeedsMore(const ALLOCATOR_PROPERTIES &request, const ALLOCATOR_PROPERTIES &current) {
  return request.cBuffers > current.cBuffers || request.cbBuffer > current.cbBuffer ||
         request.cbPrefix > current.cbPrefix || request.cbAlign > current.cbAlign;
}

}  // namespace

struct OutputPin::Impl {
  // Set at connection, while the filter is stopped; read while streaming.
  com::ComPtr<IMemAllocator> allocator;
  com::ComPtr<IMemInputPin> peerInput;
  std::mutex typeLock;                   // a leaf
  std::optional<MediaType> pendingType;  // guarded by typeLock
};

OutputPin::OutputPin(BaseFilter &filter, std::wstring name)
    : BasePin(filter, std::move(name), PINDIR_OUTPUT), m_impl(std::make_unique<Impl>()) {}

OutputPin::~OutputPin() = default;

HRESULT OutputPin::Connect(IPin *pReceivePin, const AM_MEDIA_TYPE *pmt) {
  HRESULT hr = CheckConnectable(pReceivePin);
  if (FAILED(hr)) return hr;
  hr = pmt && IsCompleteMediaType(*pmt) ? TryConnection(pReceivePin, *pmt) : TryCandidates(pReceivePin, pmt);
  if (FAILED(hr)) return hr;
  return FinishConnection(pReceivePin);
}

HRESULT OutputPin::TryConnection(IPin *receivePin, const AM_MEDIA_TYPE &type) {
  HRESULT hr = CheckMediaType(type);
  if (hr != S_OK) return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
  if (FAILED(hr = receivePin->ReceiveConnection(this, &type))) return hr;
  if (FAILED(hr = SetConnection(receivePin, type))) receivePin->Disconnect();
  return hr;
}

HRESULT OutputPin::TryCandidates(IPin *receivePin, const AM_MEDIA_TYPE *pattern) {
  std::vector<MediaType> candidates = PreferredTypes(receivePin);
  for (MediaType &own : PreferredTypes(this)) candidates.push_back(std::move(own));
  for (const MediaType &candidate : candidates) {
    if (pattern && !MatchesPattern(candidate.Get(), *pattern)) continue;
    if (SUCCEEDED(TryConnection(receivePin, candidate.Get()))) return S_OK;
  }
  return VFW_E_NO_ACCEPTABLE_TYPES;
}

// After the type is agreed: the allocator, then the hooks. Any failure
// breaks the connection on both sides.
HRESULT OutputPin::FinishConnection(IPin *receivePin) {
  HRESULT hr = DecideAllocator(receivePin);
  if (SUCCEEDED(hr)) hr = SetMediaType(CurrentMediaType().Get());
  if (SUCCEEDED(hr)) hr = CompleteConnect(receivePin);
  if (FAILED(hr)) {
    receivePin->Disconnect();
    ClearConnection();
    m_impl->allocator.Reset();
    m_impl->peerInput.Reset();
    BreakConnect();
  }
  return hr;
}

// The input pin's allocator when it gives one and takes our buffers,
// otherwise the platform's.
HRESULT OutputPin::DecideAllocator(IPin *receivePin) {
  IMemInputPin *input = nullptr;
  if (FAILED(receivePin->QueryInterface(IID_IMemInputPin, reinterpret_cast<void **>(&input)))) {
    return VFW_E_NO_TRANSPORT;
  }
  com::ComPtr<IMemInputPin> peerInput(input);
  input->Release();
  ALLOCATOR_PROPERTIES request{};
  if (FAILED(peerInput->GetAllocatorRequirements(&request))) request = ALLOCATOR_PROPERTIES{};
  HRESULT hr = DecideBufferSize(request);
  if (FAILED(hr)) return hr;
  IMemAllocator *allocator = nullptr;
  if (SUCCEEDED(peerInput->GetAllocator(&allocator)) && allocator) {
    com::ComPtr<IMemAllocator> offered(allocator);
    allocator->Release();
    if (SUCCEEDED(SetBuffers(offered.Get(), request)) && SUCCEEDED(peerInput->NotifyAllocator(offered.Get(), FALSE))) {
      m_impl->allocator = offered;
      m_impl->peerInput = peerInput;
      return S_OK;
    }
  }
  if (FAILED(hr = MemAllocator::Create(&allocator))) return hr;
  com::ComPtr<IMemAllocator> own(allocator);
  allocator->Release();
  if (FAILED(hr = SetBuffers(own.Get(), request))) return hr;
  if (FAILED(hr = peerInput->NotifyAllocator(own.Get(), FALSE))) return hr;
  m_impl->allocator = own;
  m_impl->peerInput = peerInput;
  return S_OK;
}

HRESULT OutputPin::ReceiveConnection(IPin *, const AM_MEDIA_TYPE *) { return E_UNEXPECTED; }

HRESULT OutputPin::Disconnect() {
  const HRESULT hr = BasePin::Disconnect();
  if (hr == S_OK) {
    m_impl->allocator.Reset();
    m_impl->peerInput.Reset();
    std::lock_guard lock(m_impl->typeLock);
    m_impl->pendingType.reset();
  }
  return hr;
}

HRESULT OutputPin::EndOfStream() { return E_UNEXPECTED; }
HRESULT OutputPin::BeginFlush() { return E_UNEXPECTED; }
HRESULT OutputPin::EndFlush() { return E_UNEXPECTED; }
HRESULT OutputPin::NewSegment(REFERENCE_TIME, REFERENCE_TIME, double) { return E_UNEXPECTED; }

HRESULT OutputPin::Active() { return m_impl->allocator ? m_impl->allocator->Commit() : S_OK; }

void OutputPin::Inactive() {
  if (m_impl->allocator) m_impl->allocator->Decommit();
}

HRESULT OutputPin::GetDeliveryBuffer(IMediaSample **sample, REFERENCE_TIME *start, REFERENCE_TIME *stop,
                                     DWORD flags) {
  if (!sample) return E_POINTER;
  *sample = nullptr;
  if (!m_impl->allocator) return VFW_E_NO_ALLOCATOR;
  const HRESULT hr = m_impl->allocator->GetBuffer(sample, start, stop, flags);
  if (FAILED(hr)) return hr;
  std::lock_guard lock(m_impl->typeLock);
  if (m_impl->pendingType) {
    (*sample)->SetMediaType(const_cast<AM_MEDIA_TYPE *>(&m_impl->pendingType->Get()));
    m_impl->pendingType.reset();
  }
  return S_OK;
}

HRESULT OutputPin::Deliver(IMediaSample *sample) {
  return m_impl->peerInput ? m_impl->peerInput->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT OutputPin::DeliverEndOfStream() {
  return CallConnectedPin(*this, [](IPin *peer) { return peer->EndOfStream(); });
}

HRESULT OutputPin::DeliverBeginFlush() {
  return CallConnectedPin(*this, [](IPin *peer) { return peer->BeginFlush(); });
}

HRESULT OutputPin::DeliverEndFlush() {
  return CallConnectedPin(*this, [](IPin *peer) { return peer->EndFlush(); });
}

HRESULT OutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  return CallConnectedPin(*this, [&](IPin *peer) { return peer->NewSegment(start, stop, rate); });
}

HRESULT OutputPin::ChangeMediaType(const AM_MEDIA_TYPE &type) {
  const HRESULT accepted = CallConnectedPin(*this, [&](IPin *peer) { return peer->QueryAccept(&type); });
  if (accepted == VFW_E_NOT_CONNECTED) return accepted;
  if (accepted != S_OK) return VFW_E_TYPE_NOT_ACCEPTED;
  const MediaType previous = CurrentMediaType();
  ReplaceMediaType(type);
  HRESULT hr = ResizeBuffers();
  if (SUCCEEDED(hr)) hr = SetMediaType(type);
  if (FAILED(hr)) {
    ReplaceMediaType(previous.Get());
    return hr;
  }
  std::lock_guard lock(m_impl->typeLock);
  m_impl->pendingType.emplace(type);
  return S_OK;
}

// Nothing changes when the current buffers are enough. Otherwise they are
// made again, which needs every one of them back; on failure the old ones
// stay in use. A stopped filter's allocator stays decommitted.
HRESULT OutputPin::ResizeBuffers() {
  IMemAllocator *allocator = m_impl->allocator.Get();
  ALLOCATOR_PROPERTIES current{};
  HRESULT hr = allocator->GetProperties(&current);
  if (FAILED(hr)) return hr;
  ALLOCATOR_PROPERTIES request = current;
  if (FAILED(hr = DecideBufferSize(request))) return hr;
  if (!NeedsMore(request, current)) return S_OK;
  allocator->Decommit();
  hr = SetBuffers(allocator, request);
  const HRESULT committed = Filter().State() == State_Stopped ? S_OK : allocator->Commit();
  return FAILED(hr) ? hr : committed;
}

}  // namespace platform::media
