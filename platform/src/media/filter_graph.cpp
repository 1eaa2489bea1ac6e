// The filter graph manager: creation, its interfaces, and its teardown.
#include "media/filter_graph.h"

#include <uuids.h>

#include "com/builtin_classes.h"

namespace platform::media {

HRESULT FilterGraph::Create(IUnknown *outer, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto *graph = new FilterGraph();
  const HRESULT hr = graph->QueryInterface(riid, ppv);
  graph->Release();
  return hr;
}

// The worker goes first, so that nothing waits on filters any more; then
// the filters stop, and every streaming thread with them, before they go.
FilterGraph::~FilterGraph() {
  m_worker.Stop();
  std::lock_guard lock(m_controlLock);
  Stop();
  RemoveAllFilters();
}

HRESULT FilterGraph::QueryInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IGraphBuilder, IFilterGraph, IMediaControl, IMediaEventEx, IMediaEvent,
                                  IMediaFilter, IPersist, IMediaSeeking, IMediaEventSink>(this, riid, ppv);
}

ULONG FilterGraph::AddRef() { return m_references.Increment(); }

// Filters may call the graph while its destructor stops them: the count is
// held at one meanwhile, so that their AddRef and Release cannot end it twice.
ULONG FilterGraph::Release() {
  const ULONG remaining = m_references.Decrement();
  if (remaining == 0) {
    m_references.Increment();
    delete this;
  }
  return remaining;
}

HRESULT FilterGraph::GetTypeInfoCount(UINT *pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}

HRESULT FilterGraph::GetTypeInfo(UINT, LCID, ITypeInfo **ppTInfo) {
  if (!ppTInfo) return E_POINTER;
  *ppTInfo = nullptr;
  return E_NOTIMPL;
}

HRESULT FilterGraph::GetIDsOfNames(REFIID, LPOLESTR *, UINT, LCID, DISPID *) { return E_NOTIMPL; }

HRESULT FilterGraph::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS *, VARIANT *, EXCEPINFO *, UINT *) {
  return E_NOTIMPL;
}

HRESULT FilterGraph::GetClassID(CLSID *pClassID) {
  if (!pClassID) return E_POINTER;
  *pClassID = CLSID_FilterGraph;
  return S_OK;
}

namespace {

const bool kRegistered =
    com::AddBuiltinClass({&CLSID_FilterGraph, L"Filter Graph", L"Both", &FilterGraph::Create});

}  // namespace

}  // namespace platform::media
