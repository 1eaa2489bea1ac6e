// COM objects for tests: reference-counted stand-ins that never delete
// themselves, so counts can be checked after every reference is gone.
#pragma once

#include <objbase.h>

#include <string>

namespace testing_support {

// Gives IUnknown and Interface, counts its references and never deletes
// itself, so that counts can be checked after every reference is gone.
template <typename Interface>
class Counted : public Interface {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    *ppv = IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, __uuidof(Interface)) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }

  ULONG references = 1;
};

using CountedObject = Counted<IUnknown>;

// A moniker known by its name; monikers of equal names are equal. Only what
// the table uses is implemented.
class NamedMoniker : public Counted<IMoniker> {
 public:
  explicit NamedMoniker(std::wstring name) : name(std::move(name)) {}

  HRESULT STDMETHODCALLTYPE IsEqual(IMoniker *other) override {
    return static_cast<NamedMoniker *>(other)->name == name ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsDirty() override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Load(IStream *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Save(IStream *, BOOL) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *, IMoniker *, REFIID, void **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *, IMoniker *, REFIID, void **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Reduce(IBindCtx *, DWORD, IMoniker **, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker *, BOOL, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Enum(BOOL, IEnumMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Hash(DWORD *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx *, IMoniker *, IMoniker *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx *, IMoniker *, FILETIME *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Inverse(IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker *, IMoniker **) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx *, IMoniker *, LPOLESTR *) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *, IMoniker *, LPOLESTR, ULONG *, IMoniker **) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD *) override { return E_NOTIMPL; }

  std::wstring name;
};

}  // namespace testing_support
