// The filter mapper: registration of filters and categories, and the search
// for registered filters.
#include "media/filter_mapper.h"

#include <uuids.h>

#include "com/builtin_classes.h"
#include "media/classes_snapshot.h"
#include "media/filter_registry.h"

namespace platform::media {
namespace {

const CLSID &CategoryOrLegacy(const CLSID *category) { return category ? *category : CLSID_LegacyAmFilterCategory; }

std::wstring InstanceOrClass(LPCOLESTR instance, REFCLSID clsid) { return instance ? instance : GuidText(clsid); }

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
  return WriteFilter(CategoryOrLegacy(pclsidCategory), InstanceOrClass(szInstance, clsidFilter), clsidFilter, Name,
                     *data);
}

HRESULT FilterMapper::EnumMatchingFilters(IEnumMoniker **ppEnum, DWORD, BOOL, DWORD, BOOL, DWORD, const GUID *,
                                          const REGPINMEDIUM *, const CLSID *, BOOL, BOOL, DWORD, const GUID *,
                                          const REGPINMEDIUM *, const CLSID *) {
  if (!ppEnum) return E_POINTER;
  *ppEnum = nullptr;
  return E_NOTIMPL;
}

namespace {

const bool kRegistered =
    com::AddBuiltinClass({&CLSID_FilterMapper2, L"Filter Mapper2", L"Both", &FilterMapper::Create});

}  // namespace
}  // namespace platform::media
