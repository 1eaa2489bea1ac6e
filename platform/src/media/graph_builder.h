// Intelligent connect: how the graph manager joins an output pin to an
// input pin through other filters (IGraphBuilder::Connect) and makes an
// output pin's stream end in renderers (Render, RenderFile).
//
// From an output pin it tries, in this order:
//   1. for Connect, the input pin itself (a direct connection);
//   2. filters already in the graph that have a free input pin, except the
//      pin's own filter and the filters upstream of it;
//   3. registered filters (filter_matching.h) whose inputs take one of the
//      pin's media types, best merit first, above MERIT_DO_NOT_USE only:
//      each is created, added to the graph under its registered name, and
//      removed again when the chain through it cannot be completed.
// A filter it has connected to completes the chain
//   - for Connect, when one of its free output pins connects on to the
//     input pin, the same way;
//   - for Render, when each of its free output pins whose name does not
//     begin with '~' renders, the same way. A filter with no such output
//     pin ends the stream: it is a renderer. When only some of its outputs
//     render, the chain is kept and the result is VFW_S_PARTIAL_RENDER.
// A chain adds at most kMaxChainLength filters after the pin it starts
// from (for Connect, between the two pins; for Render, the renderers
// included), which bounds the search when filters take what they give.
// Connections that lead nowhere are broken again, so a failed attempt
// leaves the graph as it found it.
//
// The builder works through the graph's own interface, under the graph's
// control lock (which its caller holds); between steps it asks
// ShouldOperationContinue, and gives E_ABORT once the build was aborted.
#pragma once

#include <strmif.h>

#include <vector>

#include "com/com_object.h"

namespace platform::media {

class GraphBuilder {
 public:
  static constexpr int kMaxChainLength = 5;

  explicit GraphBuilder(IGraphBuilder *graph) : m_graph(graph) {}

  // S_OK, E_ABORT, or VFW_E_CANNOT_CONNECT when no chain was found.
  HRESULT Connect(IPin *output, IPin *input);
  // S_OK, VFW_S_PARTIAL_RENDER, E_ABORT, or VFW_E_CANNOT_RENDER when the
  // stream could not be rendered at all.
  HRESULT Render(IPin *output);

 private:
  // What completes a chain once an output pin has been connected to a
  // filter's input: reaching the target input, or rendering.
  struct Goal {
    IPin *target;  // null when rendering
  };

  HRESULT BuildFrom(IPin *output, const Goal &goal, int depth);
  HRESULT TryFiltersInGraph(IPin *output, const Goal &goal, int depth);
  HRESULT TryRegisteredFilters(IPin *output, const Goal &goal, int depth);
  // Connects output to a free input of the filter and completes the chain
  // from there; the connection is broken again when that fails.
  HRESULT TryThrough(IPin *output, IBaseFilter *filter, const Goal &goal, int depth);
  HRESULT Complete(IBaseFilter *filter, const Goal &goal, int depth);
  HRESULT RenderOutputs(IBaseFilter *filter, int depth);
  void Unlink(IPin *output, IPin *input);
  bool Aborted();

  IGraphBuilder *const m_graph;
};

// A new instance of a registered class (CoCreateInstance), or null.
com::ComPtr<IBaseFilter> CreateFilter(REFCLSID clsid);

// The filter's unconnected output pins whose names do not begin with '~':
// the streams a render continues with.
std::vector<com::ComPtr<IPin>> RenderableOutputs(IBaseFilter *filter);

}  // namespace platform::media
