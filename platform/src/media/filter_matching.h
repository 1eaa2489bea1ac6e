// Which registered filters fit a request: IFilterMapper2::EnumMatchingFilters'
// rules, also used by intelligent connect.
//
// A filter fits when its merit is at least the minimum, its category's merit
// is above MERIT_DO_NOT_USE (when the minimum is above it too), and its pins
// fit the input and output requests. A pin request fits when a pin of that
// direction matches all of: one of the media types (if any are asked for),
// the medium (if given), the pin category (if given) and, for inputs, the
// renderer flag (if asked for). In a request GUID_NULL means "any"; in the
// registration GUID_NULL (or no medium, or no category) matches anything
// unless an exact match is asked for.
#pragma once

#include <vector>

#include "media/filter_registry.h"

namespace platform::media {

struct PinRequest {
  bool needed = false;  // at least one pin of the direction
  std::vector<RegisteredMediaType> types;
  const REGPINMEDIUM *medium = nullptr;
  const CLSID *category = nullptr;
  bool renders = false;  // inputs only: the pin renders its stream
};

struct FilterRequest {
  bool exact = false;
  DWORD minimumMerit = 0;
  PinRequest input;
  PinRequest output;
};

// The filters that fit, from every category, best merit first (registry
// order among equals); a filter registered in several categories comes once.
std::vector<RegisteredFilter> MatchingFilters(const FilterRequest &request);

}  // namespace platform::media
