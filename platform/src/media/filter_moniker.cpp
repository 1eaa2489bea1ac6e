// Monikers of registered filters.
#include "media/filter_moniker.h"

#include <objbase.h>

#include <cstring>
#include <cwctype>

#include "com/com_object.h"
#include "media/classes_snapshot.h"
#include "media/filter_registry.h"
#include "media/registry_property_bag.h"

namespace platform::media {
namespace {

// {4315D437-5B8C-11D0-BD3B-00A0C911CE86}, the class of device monikers.
constexpr CLSID kDeviceMonikerClass = {0x4315D437, 0x5B8C, 0x11D0, {0xBD, 0x3B, 0x00, 0xA0, 0xC9, 0x11, 0xCE, 0x86}};

std::wstring UpperCase(std::wstring text) {
  for (wchar_t &c : text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return text;
}

class FilterMoniker final : public IMoniker {
 public:
  FilterMoniker(REFCLSID category, std::wstring instance)
      : m_category(category), m_instance(std::move(instance)), m_keyPath(FilterInstancePath(category, m_instance)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return com::QueryInterfaceAmong<IMoniker, IPersistStream, IPersist>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) override {
    if (!pClassID) return E_POINTER;
    *pClassID = kDeviceMonikerClass;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return S_FALSE; }

  // The class is read when binding: the key may have changed since the
  // enumeration.
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *, IMoniker *pmkToLeft, REFIID riidResult,
                                         void **ppvResult) override {
    if (!ppvResult) return E_POINTER;
    *ppvResult = nullptr;
    if (pmkToLeft) return E_INVALIDARG;
    const KeySnapshot key = ReadClassesKey(m_keyPath);
    const std::optional<std::wstring> text = key ? StringValue(*key, L"CLSID") : std::nullopt;
    CLSID clsid;
    if (!text || FAILED(CLSIDFromString(text->c_str(), &clsid))) return MK_E_NOOBJECT;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, riidResult, ppvResult);
  }

  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *, IMoniker *pmkToLeft, REFIID riid, void **ppvObj) override {
    if (!ppvObj) return E_POINTER;
    *ppvObj = nullptr;
    if (pmkToLeft) return E_INVALIDARG;
    if (!ReadClassesKey(m_keyPath)) return MK_E_NOSTORAGE;
    IPropertyBag *bag = CreateRegistryPropertyBag(m_keyPath);
    const HRESULT hr = bag->QueryInterface(riid, ppvObj);
    bag->Release();
    return hr;
  }

  HRESULT STDMETHODCALLTYPE IsEqual(IMoniker *pmkOtherMoniker) override {
    if (!pmkOtherMoniker) return E_INVALIDARG;
    auto *other = dynamic_cast<FilterMoniker *>(pmkOtherMoniker);
    return other && UpperCase(other->m_keyPath) == UpperCase(m_keyPath) ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Hash(DWORD *pdwHash) override {
    if (!pdwHash) return E_POINTER;
    DWORD hash = 2166136261u;
    for (wchar_t c : UpperCase(m_keyPath)) hash = (hash ^ static_cast<DWORD>(c)) * 16777619u;
    *pdwHash = hash;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx *, IMoniker *, LPOLESTR *ppszDisplayName) override {
    if (!ppszDisplayName) return E_POINTER;
    const std::wstring name = L"@device:sw:" + GuidText(m_category) + L"\\" + m_instance;
    *ppszDisplayName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(WCHAR)));
    if (!*ppszDisplayName) return E_OUTOFMEMORY;
    std::memcpy(*ppszDisplayName, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Enum(BOOL, IEnumMoniker **ppenumMoniker) override {
    if (!ppenumMoniker) return E_POINTER;
    *ppenumMoniker = nullptr;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD *pdwMksys) override {
    if (!pdwMksys) return E_POINTER;
    *pdwMksys = MKSYS_NONE;
    return S_FALSE;
  }

  // Filter monikers are neither saved, composed, parsed nor registered as running.
  HRESULT STDMETHODCALLTYPE Load(IStream *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(IStream *, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reduce(IBindCtx *, DWORD, IMoniker **, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker *, BOOL, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx *, IMoniker *, IMoniker *) override { return S_FALSE; }
  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx *, IMoniker *, FILETIME *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Inverse(IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *, IMoniker *, LPOLESTR, ULONG *, IMoniker **) override {
    return E_NOTIMPL;
  }

 private:
  com::ReferenceCount m_references;
  const CLSID m_category;
  const std::wstring m_instance;
  const std::wstring m_keyPath;
};

}  // namespace

IMoniker *CreateFilterMoniker(REFCLSID category, std::wstring instance) {
  return new FilterMoniker(category, std::move(instance));
}

}  // namespace platform::media
