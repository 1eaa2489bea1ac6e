// The filter graph manager's intelligent connect (IGraphBuilder::Connect,
// Render) and the way to stop it (Abort, ShouldOperationContinue).
#include <vfwmsgs.h>

#include "media/filter_graph.h"
#include "media/graph_builder.h"
#include "media/graph_topology.h"

namespace platform::media {

HRESULT FilterGraph::Connect(IPin *ppinOut, IPin *ppinIn) {
  if (!ppinOut || !ppinIn) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (HRESULT hr = CheckFreeOutput(ppinOut); FAILED(hr)) return hr;
  if (!InGraph(ppinIn)) return VFW_E_NOT_IN_GRAPH;
  if (DirectionOf(ppinIn) != PINDIR_INPUT) return VFW_E_INVALID_DIRECTION;
  IPin *peer = nullptr;
  if (ppinIn->ConnectedTo(&peer) == S_OK) {
    peer->Release();
    return VFW_E_ALREADY_CONNECTED;
  }
  m_aborted = false;
  return GraphBuilder(this).Connect(ppinOut, ppinIn);
}

HRESULT FilterGraph::Render(IPin *ppinOut) {
  if (!ppinOut) return E_POINTER;
  std::lock_guard lock(m_controlLock);
  if (HRESULT hr = CheckFreeOutput(ppinOut); FAILED(hr)) return hr;
  m_aborted = false;
  return GraphBuilder(this).Render(ppinOut);
}

// Any thread, while a build runs on another.
HRESULT FilterGraph::Abort() {
  m_aborted = true;
  return S_OK;
}

HRESULT FilterGraph::ShouldOperationContinue() { return m_aborted ? S_FALSE : S_OK; }

// Intelligent connect starts from an output pin of the graph that is not
// connected yet, while the graph is stopped.
HRESULT FilterGraph::CheckFreeOutput(IPin *pin) {
  if (!InGraph(pin)) return VFW_E_NOT_IN_GRAPH;
  if (m_state != State_Stopped) return VFW_E_NOT_STOPPED;
  if (DirectionOf(pin) != PINDIR_OUTPUT) return VFW_E_INVALID_DIRECTION;
  IPin *peer = nullptr;
  if (pin->ConnectedTo(&peer) == S_OK) {
    peer->Release();
    return VFW_E_ALREADY_CONNECTED;
  }
  return S_OK;
}

}  // namespace platform::media
