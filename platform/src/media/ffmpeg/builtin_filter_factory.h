// The creation function of a built-in filter class (see
// com/builtin_classes.h): no aggregation, the interface asked for.
#pragma once

#include <objbase.h>

namespace platform::media::ffmpeg {

// newFilter makes the filter with one reference, which is given up here.
template <typename NewFilter>
HRESULT CreateBuiltinFilter(IUnknown *outer, REFIID riid, void **ppv, NewFilter newFilter) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto *filter = newFilter();
  const HRESULT hr = filter->QueryInterface(riid, ppv);
  filter->Release();
  return hr;
}

}  // namespace platform::media::ffmpeg
