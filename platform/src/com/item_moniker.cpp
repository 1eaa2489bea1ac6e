// Item monikers: CreateItemMoniker. An item moniker names an item by a
// delimiter and the item's name; its display name is the two together, and
// it equals another item moniker of the same item, ignoring case. On its
// own (no moniker to its left) it binds to what the Running Object Table
// holds under an equal moniker.
#include <objbase.h>

#include <cstring>
#include <cwctype>
#include <string>

#include "com/com_object.h"

namespace platform::com {
namespace {

// {00000304-0000-0000-C000-000000000046}
constexpr CLSID kItemMonikerClass = {0x00000304, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};

std::wstring UpperCase(const std::wstring &text) {
  std::wstring upper = text;
  for (wchar_t &c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return upper;
}

// The table that the bind context gives.
HRESULT TableOf(IBindCtx *pbc, ComPtr<IRunningObjectTable> &table) {
  if (!pbc) return E_INVALIDARG;
  IRunningObjectTable *rot = nullptr;
  const HRESULT hr = pbc->GetRunningObjectTable(&rot);
  table = ComPtr<IRunningObjectTable>(rot);
  if (rot) rot->Release();
  return hr;
}

class ItemMoniker final : public IMoniker {
 public:
  ItemMoniker(std::wstring delimiter, std::wstring item)
      : m_delimiter(std::move(delimiter)), m_item(std::move(item)), m_itemUpper(UpperCase(m_item)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return QueryInterfaceAmong<IMoniker, IPersistStream, IPersist>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override {
    if (!pClassID) return E_POINTER;
    *pClassID = kItemMonikerClass;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }

  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *pbc, IMoniker *pmkToLeft, REFIID riidResult,
                                         void **ppvResult) override {
    if (!ppvResult) return E_POINTER;
    *ppvResult = nullptr;
    if (pmkToLeft) return E_NOTIMPL;  // binding through an item container
    ComPtr<IRunningObjectTable> table;
    if (HRESULT hr = TableOf(pbc, table); FAILED(hr)) return hr;
    IUnknown *object = nullptr;
    if (FAILED(table->GetObject(this, &object))) return E_INVALIDARG;
    const HRESULT hr = object->QueryInterface(riidResult, ppvResult);
    object->Release();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE IsEqual(IMoniker *pmkOtherMoniker) override {
    if (!pmkOtherMoniker) return E_INVALIDARG;
    auto *other = dynamic_cast<ItemMoniker *>(pmkOtherMoniker);
    return other && other->m_itemUpper == m_itemUpper ? S_OK : S_FALSE;
  }

  // Equal monikers hash equally: the hash is of the item, ignoring case.
  HRESULT STDMETHODCALLTYPE Hash(DWORD *pdwHash) override {
    if (!pdwHash) return E_POINTER;
    DWORD hash = 2166136261u;
    for (wchar_t c : m_itemUpper) hash = (hash ^ static_cast<DWORD>(c)) * 16777619u;
    *pdwHash = hash;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx *pbc, IMoniker *pmkToLeft, IMoniker *pmkNewlyRunning) override {
    if (pmkNewlyRunning && IsEqual(pmkNewlyRunning) == S_OK) return S_OK;
    if (pmkToLeft) return E_NOTIMPL;
    ComPtr<IRunningObjectTable> table;
    if (HRESULT hr = TableOf(pbc, table); FAILED(hr)) return hr;
    return table->IsRunning(this);
  }

  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx *pbc, IMoniker *pmkToLeft, FILETIME *pFileTime) override {
    if (!pFileTime) return E_POINTER;
    if (pmkToLeft) return E_NOTIMPL;
    ComPtr<IRunningObjectTable> table;
    if (HRESULT hr = TableOf(pbc, table); FAILED(hr)) return hr;
    return table->GetTimeOfLastChange(this, pFileTime);
  }

  HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx *, IMoniker *, LPOLESTR *ppszDisplayName) override {
    if (!ppszDisplayName) return E_POINTER;
    const std::wstring name = m_delimiter + m_item;
    *ppszDisplayName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(WCHAR)));
    if (!*ppszDisplayName) return E_OUTOFMEMORY;
    std::memcpy(*ppszDisplayName, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
    return S_OK;
  }

  // An item moniker is not composite: there is nothing to enumerate.
  HRESULT STDMETHODCALLTYPE Enum(BOOL, IEnumMoniker **ppenumMoniker) override {
    if (!ppenumMoniker) return E_POINTER;
    *ppenumMoniker = nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD *pdwMksys) override {
    if (!pdwMksys) return E_POINTER;
    *pdwMksys = MKSYS_ITEMMONIKER;
    return S_OK;
  }

  // Persistence, composition and parsing are not used with item monikers here.
  HRESULT STDMETHODCALLTYPE Load(IStream *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(IStream *, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *, IMoniker *, REFIID, void **ppvObj) override {
    if (ppvObj) *ppvObj = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Reduce(IBindCtx *, DWORD, IMoniker **, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker *, BOOL, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Inverse(IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *, IMoniker *, LPOLESTR, ULONG *, IMoniker **) override {
    return E_NOTIMPL;
  }

 private:
  ReferenceCount m_references;
  const std::wstring m_delimiter;
  const std::wstring m_item;
  const std::wstring m_itemUpper;
};

}  // namespace
}  // namespace platform::com

// A null delimiter counts as none.
extern "C" HRESULT CreateItemMoniker(LPCOLESTR lpszDelim, LPCOLESTR lpszItem, LPMONIKER *ppmk) {
  if (!ppmk) return E_INVALIDARG;
  *ppmk = nullptr;
  if (!lpszItem) return E_INVALIDARG;
  *ppmk = new platform::com::ItemMoniker(lpszDelim ? lpszDelim : L"", lpszItem);
  return S_OK;
}
