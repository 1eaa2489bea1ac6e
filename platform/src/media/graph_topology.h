// How the filters of a graph hang together, read through their pins: the
// order of state changes and which filters are renderers.
#pragma once

#include <strmif.h>

#include <vector>

#include "com/com_object.h"

namespace platform::media {

std::vector<com::ComPtr<IPin>> PinsOf(IBaseFilter *filter);
// PINDIR_INPUT when the pin does not say.
PIN_DIRECTION DirectionOf(IPin *pin);
// The filter a pin belongs to (null when the pin does not say).
com::ComPtr<IBaseFilter> OwnerOf(IPin *pin);
// The given filters ordered so that each comes before every filter upstream
// of it: renderers first, sources last. Filters that are not connected keep
// their order among the others.
std::vector<com::ComPtr<IBaseFilter>> DownstreamFirst(const std::vector<com::ComPtr<IBaseFilter>> &filters);
// A renderer ends a stream: a filter that says so through
// IAMFilterMiscFlags, or one with input pins and no output pin.
bool IsRenderer(IBaseFilter *filter);
// The renderers among the filters that have a connected input pin: the
// streams whose ends the graph waits for.
std::vector<IBaseFilter *> ConnectedRenderers(const std::vector<com::ComPtr<IBaseFilter>> &filters);

}  // namespace platform::media
