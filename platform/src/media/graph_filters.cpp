// The filter graph manager's filters and connections (IFilterGraph,
// IGraphBuilder).
#include <vfwmsgs.h>

#include "media/enumerator.h"
#include "media/filter_graph.h"
#include "media/graph_topology.h"

namespace platform::media {

// The filter joins the graph under the name chosen for it, and gets the
// graph's clock.
HRESULT FilterGraph::AddFilter(IBaseFilter *pFilter, LPCWSTR pName) {
  if (!pFilter) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (m_filters.Contains(pFilter)) return VFW_E_DUPLICATE_NAME;
  std::wstring name;
  const HRESULT named = m_filters.ChooseName(pName, &name);
  if (FAILED(named)) return named;
  const HRESULT joined = pFilter->JoinFilterGraph(this, name.c_str());
  if (FAILED(joined)) return joined;
  pFilter->SetSyncSource(m_clock.Get());
  m_filters.Add(pFilter, std::move(name));
  return named;
}

// A filter that is not stopped is stopped first; its connections are
// broken on both sides.
HRESULT FilterGraph::RemoveFilter(IBaseFilter *pFilter) {
  if (!pFilter) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (!m_filters.Contains(pFilter)) return VFW_E_NOT_FOUND;
  pFilter->Stop();
  DisconnectAll(pFilter);
  ForgetClockOf(pFilter);
  pFilter->JoinFilterGraph(nullptr, nullptr);
  m_filters.Remove(pFilter);
  return S_OK;
}

HRESULT FilterGraph::EnumFilters(IEnumFilters **ppEnum) {
  if (!ppEnum) return E_POINTER;
  com::ComPtr<FilterGraph> self(this);
  EnumerationSource<com::ComPtr<IBaseFilter>> source{
      [self] {
        std::lock_guard lock(self->m_controlLock);
        return self->m_filters.Filters();
      },
      [self] { return self->m_filters.Version(); }};
  *ppEnum = SnapshotEnumerator<IEnumFilters, com::ComPtr<IBaseFilter>, IBaseFilter *,
                               &AddedReference<IBaseFilter>>::Create(std::move(source));
  return S_OK;
}

HRESULT FilterGraph::FindFilterByName(LPCWSTR pName, IBaseFilter **ppFilter) {
  if (!pName || !ppFilter) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  *ppFilter = com::ComPtr<IBaseFilter>(m_filters.Find(pName)).Detach();
  return *ppFilter ? S_OK : VFW_E_NOT_FOUND;
}

HRESULT FilterGraph::ConnectDirect(IPin *ppinOut, IPin *ppinIn, const AM_MEDIA_TYPE *pmt) {
  if (!ppinOut || !ppinIn) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (!InGraph(ppinOut) || !InGraph(ppinIn)) return VFW_E_NOT_IN_GRAPH;
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  if (DirectionOf(ppinOut) != PINDIR_OUTPUT || DirectionOf(ppinIn) != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
  return ppinOut->Connect(ppinIn, pmt);
}

// Breaks the connection and makes it again between the same two pins, the
// media type negotiated afresh. It is done before the call returns.
HRESULT FilterGraph::Reconnect(IPin *ppin) {
  if (!ppin) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (!InGraph(ppin)) return VFW_E_NOT_IN_GRAPH;
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  IPin *peer = nullptr;
  if (ppin->ConnectedTo(&peer) != S_OK) return VFW_E_NOT_CONNECTED;
  com::ComPtr<IPin> other(peer);
  peer->Release();
  com::ComPtr<IPin> self(ppin);
  const bool isOutput = DirectionOf(ppin) == PINDIR_OUTPUT;
  IPin *output = isOutput ? self.Get() : other.Get();
  IPin *input = isOutput ? other.Get() : self.Get();
  output->Disconnect();
  input->Disconnect();
  return output->Connect(input, nullptr);
}

// Only the given pin is disconnected: the caller disconnects the other.
HRESULT FilterGraph::Disconnect(IPin *ppin) {
  if (!ppin) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (!InGraph(ppin)) return VFW_E_NOT_IN_GRAPH;
  return ppin->Disconnect();
}

// Intelligent connect, rendering and file sources are not built yet.
HRESULT FilterGraph::Connect(IPin *, IPin *) { return E_NOTIMPL; }
HRESULT FilterGraph::Render(IPin *) { return E_NOTIMPL; }
HRESULT FilterGraph::RenderFile(LPCWSTR, LPCWSTR) { return E_NOTIMPL; }

HRESULT FilterGraph::AddSourceFilter(LPCWSTR, LPCWSTR, IBaseFilter **ppFilter) {
  if (!ppFilter) return E_POINTER;
  *ppFilter = nullptr;
  return E_NOTIMPL;
}

// The graph keeps no log.
HRESULT FilterGraph::SetLogFile(DWORD_PTR) { return S_OK; }

HRESULT FilterGraph::Abort() {
  m_aborted = true;
  return S_OK;
}

HRESULT FilterGraph::ShouldOperationContinue() { return m_aborted ? S_FALSE : S_OK; }

bool FilterGraph::InGraph(IPin *pin) {
  com::ComPtr<IBaseFilter> owner = OwnerOf(pin);
  return owner && m_filters.Contains(owner.Get());
}

void FilterGraph::DisconnectAll(IBaseFilter *filter) {
  for (const auto &pin : PinsOf(filter)) {
    IPin *peer = nullptr;
    if (pin->ConnectedTo(&peer) == S_OK) {
      peer->Disconnect();
      peer->Release();
    }
    pin->Disconnect();
  }
}

void FilterGraph::RemoveAllFilters() {
  for (const auto &filter : m_filters.Filters()) {
    DisconnectAll(filter.Get());
    filter->SetSyncSource(nullptr);
    filter->JoinFilterGraph(nullptr, nullptr);
    m_filters.Remove(filter.Get());
  }
}

}  // namespace platform::media
