// The shape of a graph, read through the pins of its filters.
#include "media/graph_topology.h"

#include <algorithm>
#include <set>

namespace platform::media {
namespace {

// The filters that the filter's output pins are connected to.
std::vector<com::ComPtr<IBaseFilter>> DownstreamOf(IBaseFilter *filter) {
  std::vector<com::ComPtr<IBaseFilter>> downstream;
  for (const auto &pin : PinsOf(filter)) {
    IPin *peer = nullptr;
    if (DirectionOf(pin.Get()) != PINDIR_OUTPUT || pin->ConnectedTo(&peer) != S_OK) continue;
    com::ComPtr<IBaseFilter> owner = OwnerOf(peer);
    peer->Release();
    if (owner) downstream.push_back(owner);
  }
  return downstream;
}

class DownstreamOrder {
 public:
  explicit DownstreamOrder(const std::vector<com::ComPtr<IBaseFilter>> &filters) {
    for (const auto &filter : filters) m_inGraph.insert(filter.Get());
  }

  // Everything downstream of the filter goes before it.
  void Visit(const com::ComPtr<IBaseFilter> &filter) {
    if (!m_inGraph.count(filter.Get()) || !m_visited.insert(filter.Get()).second) return;
    for (const auto &next : DownstreamOf(filter.Get())) Visit(next);
    m_order.push_back(filter);
  }

  std::vector<com::ComPtr<IBaseFilter>> Order() { return std::move(m_order); }

 private:
  std::set<IBaseFilter *> m_inGraph;
  std::set<IBaseFilter *> m_visited;
  std::vector<com::ComPtr<IBaseFilter>> m_order;
};

}  // namespace

std::vector<com::ComPtr<IPin>> PinsOf(IBaseFilter *filter) {
  std::vector<com::ComPtr<IPin>> pins;
  IEnumPins *enumerator = nullptr;
  if (FAILED(filter->EnumPins(&enumerator)) || !enumerator) return pins;
  IPin *pin = nullptr;
  while (enumerator->Next(1, &pin, nullptr) == S_OK) {
    pins.emplace_back(pin);
    pin->Release();
  }
  enumerator->Release();
  return pins;
}

PIN_DIRECTION DirectionOf(IPin *pin) {
  PIN_DIRECTION direction = PINDIR_INPUT;
  pin->QueryDirection(&direction);
  return direction;
}

com::ComPtr<IBaseFilter> OwnerOf(IPin *pin) {
  PIN_INFO info{};
  if (FAILED(pin->QueryPinInfo(&info)) || !info.pFilter) return {};
  com::ComPtr<IBaseFilter> owner(info.pFilter);
  info.pFilter->Release();
  return owner;
}

std::vector<com::ComPtr<IBaseFilter>> DownstreamFirst(const std::vector<com::ComPtr<IBaseFilter>> &filters) {
  DownstreamOrder order(filters);
  for (const auto &filter : filters) order.Visit(filter);
  return order.Order();
}

bool IsRenderer(IBaseFilter *filter) {
  IAMFilterMiscFlags *flags = nullptr;
  if (SUCCEEDED(filter->QueryInterface(IID_IAMFilterMiscFlags, reinterpret_cast<void **>(&flags))) && flags) {
    const bool renderer = (flags->GetMiscFlags() & AM_FILTER_MISC_FLAGS_IS_RENDERER) != 0;
    flags->Release();
    if (renderer) return true;
  }
  const auto pins = PinsOf(filter);
  auto output = [](const com::ComPtr<IPin> &pin) { return DirectionOf(pin.Get()) == PINDIR_OUTPUT; };
  return !pins.empty() && std::none_of(pins.begin(), pins.end(), output);
}

std::vector<IBaseFilter *> ConnectedRenderers(const std::vector<com::ComPtr<IBaseFilter>> &filters) {
  std::vector<IBaseFilter *> renderers;
  for (const auto &filter : filters) {
    const auto pins = PinsOf(filter.Get());
    const bool fed = std::any_of(pins.begin(), pins.end(), [](const com::ComPtr<IPin> &pin) {
      IPin *peer = nullptr;
      if (DirectionOf(pin.Get()) != PINDIR_INPUT || pin->ConnectedTo(&peer) != S_OK) return false;
      peer->Release();
      return true;
    });
    if (fed && IsRenderer(filter.Get())) renderers.push_back(filter.Get());
  }
  return renderers;
}

}  // namespace platform::media
