// BasePin: the direction-independent part of IPin.
#include <platform_filters/base_filter.h>
#include <platform_filters/base_pin.h>

#include <objbase.h>
#include <vfwmsgs.h>
#include <winbase.h>

#include <cstring>
#include <mutex>
#include <vector>

#include "com/com_object.h"
#include "media/enumerator.h"

namespace platform::media {
namespace {

// More preferred types than any pin offers; it ends the enumeration of a
// pin that never says VFW_S_NO_MORE_ITEMS.
constexpr ULONG kMostPreferredTypes = 256;

AM_MEDIA_TYPE *HandOutMediaType(const MediaType &type) { return CreateMediaType(type.Get()); }

}  // namespace

struct BasePin::Impl {
  Impl(BaseFilter &filter, std::wstring name, PIN_DIRECTION direction)
      : filter(filter), name(std::move(name)), direction(direction) {}

  BaseFilter &filter;
  const std::wstring name;
  const PIN_DIRECTION direction;
  mutable std::mutex connectionLock;  // a leaf
  com::ComPtr<IPin> peer;             // guarded by connectionLock
  MediaType type;                     // guarded by connectionLock
};

BasePin::BasePin(BaseFilter &filter, std::wstring name, PIN_DIRECTION direction)
    : m_impl(std::make_unique<Impl>(filter, std::move(name), direction)) {}

BasePin::~BasePin() = default;

HRESULT BasePin::QueryInterface(REFIID riid, void **ppv) {
  const HRESULT hr = com::QueryInterfaceAmong<IPin>(this, riid, ppv);
  return hr == E_NOINTERFACE ? QueryPinInterface(riid, ppv) : hr;
}

ULONG BasePin::AddRef() { return m_impl->filter.AddRef(); }
ULONG BasePin::Release() { return m_impl->filter.Release(); }

HRESULT BasePin::Disconnect() {
  if (m_impl->filter.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (!IsConnected()) return S_FALSE;
  ClearConnection();
  BreakConnect();
  return S_OK;
}

HRESULT BasePin::ConnectedTo(IPin **pPin) {
  if (!pPin) return E_POINTER;
  std::lock_guard lock(m_impl->connectionLock);
  *pPin = com::ComPtr<IPin>(m_impl->peer).Detach();
  return *pPin ? S_OK : VFW_E_NOT_CONNECTED;
}

HRESULT BasePin::ConnectionMediaType(AM_MEDIA_TYPE *pmt) {
  if (!pmt) return E_POINTER;
  std::lock_guard lock(m_impl->connectionLock);
  if (!m_impl->peer) {
    *pmt = AM_MEDIA_TYPE{};
    return VFW_E_NOT_CONNECTED;
  }
  return m_impl->type.CopyTo(pmt);
}

HRESULT BasePin::QueryPinInfo(PIN_INFO *pInfo) {
  if (!pInfo) return E_POINTER;
  pInfo->pFilter = &m_impl->filter;
  pInfo->pFilter->AddRef();
  pInfo->dir = m_impl->direction;
  lstrcpynW(pInfo->achName, m_impl->name.c_str(), MAX_PIN_NAME);
  return S_OK;
}

HRESULT BasePin::QueryDirection(PIN_DIRECTION *pPinDir) {
  if (!pPinDir) return E_POINTER;
  *pPinDir = m_impl->direction;
  return S_OK;
}

HRESULT BasePin::QueryId(LPWSTR *Id) {
  if (!Id) return E_POINTER;
  const size_t bytes = (m_impl->name.size() + 1) * sizeof(WCHAR);
  *Id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (!*Id) return E_OUTOFMEMORY;
  std::memcpy(*Id, m_impl->name.c_str(), bytes);
  return S_OK;
}

HRESULT BasePin::QueryAccept(const AM_MEDIA_TYPE *pmt) {
  if (!pmt) return E_POINTER;
  return CheckMediaType(*pmt) == S_OK ? S_OK : S_FALSE;
}

// The preferred types as the pin gives them when the enumerator is made or
// reset.
HRESULT BasePin::EnumMediaTypes(IEnumMediaTypes **ppEnum) {
  if (!ppEnum) return E_POINTER;
  com::ComPtr<IPin> self(this);
  EnumerationSource<MediaType> source{[self, this] {
                                        std::vector<MediaType> types;
                                        MediaType type;
                                        for (ULONG i = 0; i < kMostPreferredTypes && GetMediaType(i, &type) == S_OK;
                                             ++i) {
                                          types.push_back(type);
                                        }
                                        return types;
                                      },
                                      [] { return ULONG{0}; }};
  *ppEnum =
      SnapshotEnumerator<IEnumMediaTypes, MediaType, AM_MEDIA_TYPE *, &HandOutMediaType>::Create(std::move(source));
  return S_OK;
}

HRESULT BasePin::QueryInternalConnections(IPin **, ULONG *) { return E_NOTIMPL; }

BaseFilter &BasePin::Filter() const { return m_impl->filter; }
const std::wstring &BasePin::Name() const { return m_impl->name; }
PIN_DIRECTION BasePin::Direction() const { return m_impl->direction; }

bool BasePin::IsConnected() const {
  std::lock_guard lock(m_impl->connectionLock);
  return static_cast<bool>(m_impl->peer);
}

MediaType BasePin::CurrentMediaType() const {
  std::lock_guard lock(m_impl->connectionLock);
  return m_impl->type;
}

HRESULT BasePin::Active() { return S_OK; }
void BasePin::Inactive() {}

HRESULT BasePin::GetMediaType(ULONG, MediaType *) { return VFW_S_NO_MORE_ITEMS; }
HRESULT BasePin::SetMediaType(const AM_MEDIA_TYPE &) { return S_OK; }
HRESULT BasePin::CompleteConnect(IPin *) { return S_OK; }
void BasePin::BreakConnect() {}
HRESULT BasePin::QueryPinInterface(REFIID, void **ppv) {
  *ppv = nullptr;
  return E_NOINTERFACE;
}

HRESULT BasePin::CheckConnectable(IPin *peer) {
  if (!peer) return E_POINTER;
  if (IsConnected()) return VFW_E_ALREADY_CONNECTED;
  if (m_impl->filter.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  PIN_DIRECTION peerDirection;
  const HRESULT hr = peer->QueryDirection(&peerDirection);
  if (FAILED(hr)) return hr;
  return peerDirection == m_impl->direction ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT BasePin::SetConnection(IPin *peer, const AM_MEDIA_TYPE &type) {
  std::lock_guard lock(m_impl->connectionLock);
  if (m_impl->peer) return VFW_E_ALREADY_CONNECTED;
  m_impl->peer = com::ComPtr<IPin>(peer);
  m_impl->type = MediaType(type);
  return S_OK;
}

// The connected pin is released after the lock, as it may be the last
// reference to its filter.
void BasePin::ClearConnection() {
  com::ComPtr<IPin> peer;
  {
    std::lock_guard lock(m_impl->connectionLock);
    peer = std::move(m_impl->peer);
    m_impl->type = MediaType();
  }
}

void BasePin::ReplaceMediaType(const AM_MEDIA_TYPE &type) {
  MediaType replacement(type);
  std::lock_guard lock(m_impl->connectionLock);
  m_impl->type = std::move(replacement);
}

}  // namespace platform::media
