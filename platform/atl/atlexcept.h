// ATL's exception for failures that a function cannot report through its
// result: AtlThrow(hr) throws a CAtlException carrying the HRESULT.
#pragma once

#include <windows.h>

namespace ATL {

class CAtlException {
 public:
  explicit CAtlException(HRESULT hr) noexcept : m_hr(hr) {}
  operator HRESULT() const noexcept { return m_hr; }

  HRESULT m_hr;
};

[[noreturn]] inline void AtlThrow(HRESULT hr) { throw CAtlException(hr); }

}  // namespace ATL
