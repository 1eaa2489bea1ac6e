// The filter mapper (CLSID_FilterMapper2, IFilterMapper2): registers filters
// and filter categories in the registry (filter_registry.h) and finds the
// registered filters that fit a request (filter_matching.h), giving a
// moniker for each. It keeps no state of its own: every call reads or
// writes the registry, so mappers in any process agree.
#pragma once

#include <strmif.h>

#include "com/com_object.h"

namespace platform::media {

class FilterMapper final : public IFilterMapper2 {
 public:
  static HRESULT Create(IUnknown *outer, REFIID riid, void **ppv);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, LPCWSTR Description) override;
  HRESULT STDMETHODCALLTYPE UnregisterFilter(const CLSID *pclsidCategory, LPCOLESTR szInstance,
                                             REFCLSID Filter) override;
  HRESULT STDMETHODCALLTYPE RegisterFilter(REFCLSID clsidFilter, LPCWSTR Name, IMoniker **ppMoniker,
                                           const CLSID *pclsidCategory, LPCOLESTR szInstance,
                                           const REGFILTER2 *prf2) override;
  HRESULT STDMETHODCALLTYPE EnumMatchingFilters(IEnumMoniker **ppEnum, DWORD dwFlags, BOOL bExactMatch, DWORD dwMerit,
                                                BOOL bInputNeeded, DWORD cInputTypes, const GUID *pInputTypes,
                                                const REGPINMEDIUM *pMedIn, const CLSID *pPinCategoryIn, BOOL bRender,
                                                BOOL bOutputNeeded, DWORD cOutputTypes, const GUID *pOutputTypes,
                                                const REGPINMEDIUM *pMedOut, const CLSID *pPinCategoryOut) override;

 private:
  FilterMapper() = default;
  ~FilterMapper() = default;

  com::ReferenceCount m_references;
};

}  // namespace platform::media
