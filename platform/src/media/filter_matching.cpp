// Matching registered filters against a request.
#include "media/filter_matching.h"

#include <cguid.h>

#include <algorithm>

namespace platform::media {
namespace {

bool GuidFits(const GUID &registered, const GUID &requested, bool exact) {
  if (IsEqualGUID(requested, GUID_NULL)) return true;
  if (IsEqualGUID(registered, GUID_NULL)) return !exact;
  return IsEqualGUID(registered, requested);
}

bool TypesFit(const RegisteredPin &pin, const PinRequest &request, bool exact) {
  if (request.types.empty()) return true;
  return std::any_of(pin.types.begin(), pin.types.end(), [&](const RegisteredMediaType &registered) {
    return std::any_of(request.types.begin(), request.types.end(), [&](const RegisteredMediaType &requested) {
      return GuidFits(registered.major, requested.major, exact) &&
             GuidFits(registered.subtype, requested.subtype, exact);
    });
  });
}

bool MediumFits(const RegisteredPin &pin, const PinRequest &request, bool exact) {
  if (!request.medium) return true;
  if (pin.mediums.empty()) return !exact;
  return std::any_of(pin.mediums.begin(), pin.mediums.end(), [&](const REGPINMEDIUM &medium) {
    return IsEqualGUID(medium.clsMedium, request.medium->clsMedium) && medium.dw1 == request.medium->dw1 &&
           medium.dw2 == request.medium->dw2;
  });
}

bool PinFits(const RegisteredPin &pin, const PinRequest &request, bool exact) {
  return TypesFit(pin, request, exact) && MediumFits(pin, request, exact) &&
         (!request.category || GuidFits(pin.category, *request.category, exact)) && (!request.renders || pin.Renders());
}

bool DirectionFits(const FilterData &data, bool output, const PinRequest &request, bool exact) {
  const bool constrained =
      request.needed || !request.types.empty() || request.medium || request.category || request.renders;
  if (!constrained) return true;
  return std::any_of(data.pins.begin(), data.pins.end(), [&](const RegisteredPin &pin) {
    return pin.IsOutput() == output && PinFits(pin, request, exact);
  });
}

bool FilterFits(const FilterData &data, const FilterRequest &request) {
  return data.merit >= request.minimumMerit && DirectionFits(data, false, request.input, request.exact) &&
         DirectionFits(data, true, request.output, request.exact);
}

}  // namespace

std::vector<RegisteredFilter> MatchingFilters(const FilterRequest &request) {
  std::vector<RegisteredFilter> matching;
  for (const FilterCategory &category : FilterCategories()) {
    if (request.minimumMerit > MERIT_DO_NOT_USE && category.merit <= MERIT_DO_NOT_USE) continue;
    for (RegisteredFilter &filter : FiltersInCategory(category.clsid)) {
      const bool seen = std::any_of(matching.begin(), matching.end(), [&](const RegisteredFilter &other) {
        return IsEqualCLSID(other.clsid, filter.clsid);
      });
      if (!seen && FilterFits(filter.data, request)) matching.push_back(std::move(filter));
    }
  }
  std::stable_sort(matching.begin(), matching.end(),
                   [](const RegisteredFilter &a, const RegisteredFilter &b) { return a.data.merit > b.data.merit; });
  return matching;
}

}  // namespace platform::media
