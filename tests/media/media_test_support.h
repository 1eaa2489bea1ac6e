// Helpers of the media-graph tests: creating the graph manager the way the
// platform library's class factory does, reading reference counts, and
// comparing results in hexadecimal.
#pragma once

#include <atlbase.h>
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "com/builtin_classes.h"

namespace media_testing {

using ATL::CComPtr;
using ATL::CComQIPtr;

inline std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
  return text;
}

// The count after the caller's own reference: AddRef, then Release.
inline ULONG ReferencesOf(IUnknown *object) {
  object->AddRef();
  return object->Release();
}

inline CComPtr<IGraphBuilder> CreateGraph() {
  CComPtr<IGraphBuilder> graph;
  const auto graphClass = platform::com::FindBuiltinClass(CLSID_FilterGraph);
  if (graphClass) graphClass->create(nullptr, IID_IGraphBuilder, reinterpret_cast<void **>(&graph));
  return graph;
}

// Takes events until one with the code comes: false after 10 s.
inline bool WaitForEvent(IMediaEvent *events, LONG wanted) {
  LONG code = 0;
  LONG_PTR param1 = 0, param2 = 0;
  while (events->GetEvent(&code, &param1, &param2, 10000) == S_OK) {
    events->FreeEventParams(code, param1, param2);
    if (code == wanted) return true;
  }
  return false;
}

}  // namespace media_testing

#define EXPECT_HR(expected, actual) EXPECT_EQ(media_testing::Hex(expected), media_testing::Hex(actual))
#define ASSERT_HR(expected, actual) ASSERT_EQ(media_testing::Hex(expected), media_testing::Hex(actual))
