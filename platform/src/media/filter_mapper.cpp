// The filter mapper: registration of filters and categories, and the search
// for registered filters.
#include "media/filter_mapper.h"

#include <uuids.h>

#include <memory>

#include "com/builtin_classes.h"
#include "com/moniker_enumerator.h"
#include "media/classes_snapshot.h"
#include "media/filter_matching.h"
#include "media/filter_moniker.h"
#include "media/filter_registry.h"

namespace platform::media {
namespace {

const CLSID &CategoryOrLegacy(const CLSID *category) { return category ? *category : CLSID_LegacyAmFilterCategory; }

std::wstring InstanceOrClass(LPCOLESTR instance, REFCLSID clsid) { return instance ? instance : GuidText(clsid); }

// count (major type, subtype) pairs, 2 * count GUIDs.
std::vector<RegisteredMediaType> TypePairs(DWORD count, const GUID *types) {
  std::vector<RegisteredMediaType> pairs;
  for (DWORD i = 0; types && i < count; ++i) pairs.push_back({types[2 * i], types[2 * i + 1]});
  return pairs;
}

}  // namespace

HRESULT FilterMapper::Create(IUnknown *outer, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  auto *mapper = new FilterMapper();
  const HRESULT hr = mapper->QueryInterface(riid, ppv);
  mapper->Release();
  return hr;
}

HRESULT FilterMapper::QueryInterface(REFIID riid, void **ppv) {
  return com::QueryInterfaceAmong<IFilterMapper2>(this, riid, ppv);
}

ULONG FilterMapper::AddRef() { return m_references.Increment(); }

ULONG FilterMapper::Release() {
  const ULONG count = m_references.Decrement();
  if (count == 0) delete this;
  return count;
}

HRESULT FilterMapper::CreateCategory(REFCLSID clsidCategory, DWORD dwCategoryMerit, LPCWSTR Description) {
  if (!Description) return E_POINTER;
  return WriteCategory(clsidCategory, dwCategoryMerit, Description);
}

HRESULT FilterMapper::UnregisterFilter(const CLSID *pclsidCategory, LPCOLESTR szInstance, REFCLSID Filter) {
  return DeleteFilter(CategoryOrLegacy(pclsidCategory), InstanceOrClass(szInstance, Filter));
}

HRESULT FilterMapper::RegisterFilter(REFCLSID clsidFilter, LPCWSTR Name, IMoniker **ppMoniker,
                                     const CLSID *pclsidCategory, LPCOLESTR szInstance, const REGFILTER2 *prf2) {
  if (ppMoniker) *ppMoniker = nullptr;
  if (!Name || !prf2) return E_POINTER;
  const std::optional<FilterData> data = FilterDataOf(*prf2);
  if (!data) return E_INVALIDARG;
  const CLSID &category = CategoryOrLegacy(pclsidCategory);
  const std::wstring instance = InstanceOrClass(szInstance, clsidFilter);
  const HRESULT hr = WriteFilter(category, instance, clsidFilter, Name, *data);
  if (SUCCEEDED(hr) && ppMoniker) *ppMoniker = CreateFilterMoniker(category, instance);
  return hr;
}

HRESULT FilterMapper::EnumMatchingFilters(IEnumMoniker **ppEnum, DWORD dwFlags, BOOL bExactMatch, DWORD dwMerit,
                                          BOOL bInputNeeded, DWORD cInputTypes, const GUID *pInputTypes,
                                          const REGPINMEDIUM *pMedIn, const CLSID *pPinCategoryIn, BOOL bRender,
                                          BOOL bOutputNeeded, DWORD cOutputTypes, const GUID *pOutputTypes,
                                          const REGPINMEDIUM *pMedOut, const CLSID *pPinCategoryOut) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = nullptr;
  if (dwFlags) return E_INVALIDARG;
  FilterRequest request;
  request.exact = bExactMatch != FALSE;
  request.minimumMerit = dwMerit;
  request.input = {bInputNeeded != FALSE, TypePairs(cInputTypes, pInputTypes), pMedIn, pPinCategoryIn,
                   bRender != FALSE};
  request.output = {bOutputNeeded != FALSE, TypePairs(cOutputTypes, pOutputTypes), pMedOut, pPinCategoryOut, false};
  auto monikers = std::make_shared<com::MonikerList>();
  for (const RegisteredFilter &filter : MatchingFilters(request)) {
    IMoniker *moniker = CreateFilterMoniker(filter.category, filter.instance);
    monikers->emplace_back(moniker);
    moniker->Release();
  }
  *ppEnum = com::MonikerEnumerator::Create(std::move(monikers));
  return S_OK;
}

namespace {

const bool kRegistered =
    com::AddBuiltinClass({&CLSID_FilterMapper2, L"Filter Mapper2", L"Both", &FilterMapper::Create});

}  // namespace
}  // namespace platform::media
