// Intelligent connect: chains of filters from an output pin to an input
// pin or to renderers.
#include "media/graph_builder.h"

#include <objbase.h>
#include <platform_filters/media_type.h>
#include <vfwmsgs.h>

#include <algorithm>

#include "media/filter_matching.h"
#include "media/graph_topology.h"

namespace platform::media {
namespace {

using FilterSet = std::vector<com::ComPtr<IBaseFilter>>;

com::ComPtr<IPin> PeerOf(IPin *pin) {
  IPin *peer = nullptr;
  com::ComPtr<IPin> held;
  if (pin->ConnectedTo(&peer) == S_OK) {
    held = com::ComPtr<IPin>(peer);
    peer->Release();
  }
  return held;
}

bool IsConnected(IPin *pin) { return static_cast<bool>(PeerOf(pin)); }

bool NameBeginsWithTilde(IPin *pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info))) return false;
  if (info.pFilter) info.pFilter->Release();
  return info.achName[0] == L'~';
}

bool Contains(const FilterSet &filters, IBaseFilter *filter) {
  return std::any_of(filters.begin(), filters.end(), [&](const auto &held) { return held.Get() == filter; });
}

// The filter and every filter whose stream reaches it (towards
// PINDIR_INPUT: upstream) or that its stream reaches (towards
// PINDIR_OUTPUT: downstream).
FilterSet ReachedFrom(IBaseFilter *start, PIN_DIRECTION towards) {
  FilterSet reached{com::ComPtr<IBaseFilter>(start)};
  for (size_t next = 0; next < reached.size(); ++next) {
    for (const auto &pin : PinsOf(reached[next].Get())) {
      const com::ComPtr<IPin> peer = DirectionOf(pin.Get()) == towards ? PeerOf(pin.Get()) : com::ComPtr<IPin>();
      const com::ComPtr<IBaseFilter> owner = peer ? OwnerOf(peer.Get()) : com::ComPtr<IBaseFilter>();
      if (owner && !Contains(reached, owner.Get())) reached.push_back(owner);
    }
  }
  return reached;
}

FilterSet FiltersOf(IFilterGraph *graph) {
  FilterSet filters;
  IEnumFilters *enumerator = nullptr;
  if (FAILED(graph->EnumFilters(&enumerator))) return filters;
  IBaseFilter *filter = nullptr;
  while (enumerator->Next(1, &filter, nullptr) == S_OK) {
    filters.emplace_back(filter);
    filter->Release();
  }
  enumerator->Release();
  return filters;
}

// The (major type, subtype) pairs the pin offers, each once.
std::vector<RegisteredMediaType> TypesOf(IPin *pin) {
  std::vector<RegisteredMediaType> types;
  IEnumMediaTypes *enumerator = nullptr;
  if (FAILED(pin->EnumMediaTypes(&enumerator))) return types;
  AM_MEDIA_TYPE *type = nullptr;
  while (enumerator->Next(1, &type, nullptr) == S_OK) {
    const bool known = std::any_of(types.begin(), types.end(), [&](const RegisteredMediaType &seen) {
      return IsEqualGUID(seen.major, type->majortype) && IsEqualGUID(seen.subtype, type->subtype);
    });
    if (!known) types.push_back({type->majortype, type->subtype});
    DeleteMediaType(type);
  }
  enumerator->Release();
  return types;
}

std::vector<com::ComPtr<IPin>> FreePins(IBaseFilter *filter, PIN_DIRECTION direction) {
  std::vector<com::ComPtr<IPin>> free;
  for (auto &pin : PinsOf(filter)) {
    if (DirectionOf(pin.Get()) == direction && !IsConnected(pin.Get())) free.push_back(std::move(pin));
  }
  return free;
}

bool Stops(HRESULT hr) { return SUCCEEDED(hr) || hr == E_ABORT; }

}  // namespace

com::ComPtr<IBaseFilter> CreateFilter(REFCLSID clsid) {
  IBaseFilter *created = nullptr;
  com::ComPtr<IBaseFilter> filter;
  if (SUCCEEDED(CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                 reinterpret_cast<void **>(&created)))) {
    filter = com::ComPtr<IBaseFilter>(created);
    created->Release();
  }
  return filter;
}

std::vector<com::ComPtr<IPin>> RenderableOutputs(IBaseFilter *filter) {
  std::vector<com::ComPtr<IPin>> outputs = FreePins(filter, PINDIR_OUTPUT);
  std::erase_if(outputs, [](const com::ComPtr<IPin> &pin) { return NameBeginsWithTilde(pin.Get()); });
  return outputs;
}

HRESULT GraphBuilder::Connect(IPin *output, IPin *input) {
  const HRESULT hr = BuildFrom(output, Goal{input}, 0);
  if (Aborted()) return E_ABORT;
  return SUCCEEDED(hr) ? S_OK : VFW_E_CANNOT_CONNECT;
}

HRESULT GraphBuilder::Render(IPin *output) {
  const HRESULT hr = BuildFrom(output, Goal{nullptr}, 0);
  if (Aborted()) return E_ABORT;
  return SUCCEEDED(hr) ? hr : VFW_E_CANNOT_RENDER;
}

HRESULT GraphBuilder::BuildFrom(IPin *output, const Goal &goal, int depth) {
  if (Aborted()) return E_ABORT;
  if (goal.target && SUCCEEDED(m_graph->ConnectDirect(output, goal.target, nullptr))) return S_OK;
  if (depth >= kMaxChainLength) return VFW_E_CANNOT_CONNECT;
  const HRESULT hr = TryFiltersInGraph(output, goal, depth);
  return Stops(hr) ? hr : TryRegisteredFilters(output, goal, depth);
}

// A filter upstream of the output, or downstream of the target, would
// close a loop.
HRESULT GraphBuilder::TryFiltersInGraph(IPin *output, const Goal &goal, int depth) {
  const com::ComPtr<IBaseFilter> owner = OwnerOf(output);
  if (!owner) return VFW_E_CANNOT_CONNECT;
  FilterSet excluded = ReachedFrom(owner.Get(), PINDIR_INPUT);
  if (goal.target) {
    const com::ComPtr<IBaseFilter> targetOwner = OwnerOf(goal.target);
    if (targetOwner) {
      for (auto &filter : ReachedFrom(targetOwner.Get(), PINDIR_OUTPUT)) excluded.push_back(std::move(filter));
    }
  }
  for (const auto &filter : FiltersOf(m_graph)) {
    if (Contains(excluded, filter.Get())) continue;
    const HRESULT hr = TryThrough(output, filter.Get(), goal, depth);
    if (Stops(hr)) return hr;
  }
  return VFW_E_CANNOT_CONNECT;
}

HRESULT GraphBuilder::TryRegisteredFilters(IPin *output, const Goal &goal, int depth) {
  FilterRequest request;
  request.minimumMerit = MERIT_DO_NOT_USE + 1;
  request.input.needed = true;
  request.input.types = TypesOf(output);
  request.output.needed = goal.target != nullptr;
  for (const RegisteredFilter &registered : MatchingFilters(request)) {
    if (Aborted()) return E_ABORT;
    const com::ComPtr<IBaseFilter> filter = CreateFilter(registered.clsid);
    const wchar_t *name = registered.name.empty() ? nullptr : registered.name.c_str();
    if (!filter || FAILED(m_graph->AddFilter(filter.Get(), name))) continue;
    const HRESULT hr = TryThrough(output, filter.Get(), goal, depth);
    if (SUCCEEDED(hr)) return hr;
    m_graph->RemoveFilter(filter.Get());
    if (hr == E_ABORT) return hr;
  }
  return VFW_E_CANNOT_CONNECT;
}

HRESULT GraphBuilder::TryThrough(IPin *output, IBaseFilter *filter, const Goal &goal, int depth) {
  for (const auto &input : FreePins(filter, PINDIR_INPUT)) {
    if (Aborted()) return E_ABORT;
    if (FAILED(m_graph->ConnectDirect(output, input.Get(), nullptr))) continue;
    const HRESULT hr = Complete(filter, goal, depth + 1);
    if (SUCCEEDED(hr)) return hr;
    Unlink(output, input.Get());
    if (hr == E_ABORT) return hr;
  }
  return VFW_E_CANNOT_CONNECT;
}

HRESULT GraphBuilder::Complete(IBaseFilter *filter, const Goal &goal, int depth) {
  if (!goal.target) return RenderOutputs(filter, depth);
  for (const auto &next : FreePins(filter, PINDIR_OUTPUT)) {
    const HRESULT hr = BuildFrom(next.Get(), goal, depth);
    if (Stops(hr)) return hr;
  }
  return VFW_E_CANNOT_CONNECT;
}

// An output that stops for an abort counts as not rendered: what the other
// outputs reached stays.
HRESULT GraphBuilder::RenderOutputs(IBaseFilter *filter, int depth) {
  const std::vector<com::ComPtr<IPin>> outputs = RenderableOutputs(filter);
  if (outputs.empty()) return S_OK;
  size_t rendered = 0;
  bool partly = false;
  for (const auto &output : outputs) {
    const HRESULT hr = BuildFrom(output.Get(), Goal{nullptr}, depth);
    if (SUCCEEDED(hr)) ++rendered;
    partly |= hr == VFW_S_PARTIAL_RENDER;
  }
  if (rendered == 0) return Aborted() ? E_ABORT : VFW_E_CANNOT_RENDER;
  return rendered == outputs.size() && !partly ? S_OK : VFW_S_PARTIAL_RENDER;
}

void GraphBuilder::Unlink(IPin *output, IPin *input) {
  m_graph->Disconnect(output);
  m_graph->Disconnect(input);
}

bool GraphBuilder::Aborted() { return m_graph->ShouldOperationContinue() != S_OK; }

}  // namespace platform::media
