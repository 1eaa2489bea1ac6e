// A property bag over a registry key's values.
#include "media/registry_property_bag.h"

#include <oleauto.h>

#include <cstring>

#include "com/com_object.h"
#include "media/classes_snapshot.h"

namespace platform::media {
namespace {

class RegistryPropertyBag final : public IPropertyBag {
 public:
  explicit RegistryPropertyBag(std::wstring keyPath) : m_keyPath(std::move(keyPath)) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return com::QueryInterfaceAmong<IPropertyBag>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE Read(LPCOLESTR pszPropName, VARIANT *pVar, IErrorLog *) override {
    if (!pszPropName || !pVar) return E_POINTER;
    const KeySnapshot key = ReadClassesKey(m_keyPath);
    const registry::Value *value = key ? key->FindValue(pszPropName) : nullptr;
    if (!value) return E_INVALIDARG;
    if (const std::optional<std::wstring> text = StringValue(*key, pszPropName)) return ReadText(*text, pVar);
    if (value->type == REG_DWORD && value->data.size() == sizeof(DWORD)) return ReadNumber(value->data, pVar);
    return E_NOTIMPL;
  }

  HRESULT STDMETHODCALLTYPE Write(LPCOLESTR pszPropName, VARIANT *pVar) override {
    if (!pszPropName || !pVar) return E_POINTER;
    switch (pVar->vt) {
      case VT_BSTR:
        return WriteClassesKey(m_keyPath, {StringToWrite(pszPropName, pVar->bstrVal ? pVar->bstrVal : L"")});
      case VT_I4:
        return WriteClassesKey(m_keyPath, {DwordToWrite(pszPropName, static_cast<DWORD>(pVar->lVal))});
      case VT_UI4:
        return WriteClassesKey(m_keyPath, {DwordToWrite(pszPropName, pVar->ulVal)});
      default:
        return E_NOTIMPL;
    }
  }

 private:
  static HRESULT ReadText(const std::wstring &text, VARIANT *pVar) {
    if (pVar->vt != VT_EMPTY && pVar->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
    BSTR copy = SysAllocString(text.c_str());
    if (!copy) return E_OUTOFMEMORY;
    pVar->vt = VT_BSTR;
    pVar->bstrVal = copy;
    return S_OK;
  }

  static HRESULT ReadNumber(const std::vector<uint8_t> &data, VARIANT *pVar) {
    if (pVar->vt != VT_EMPTY && pVar->vt != VT_I4) return DISP_E_TYPEMISMATCH;
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof number);
    pVar->vt = VT_I4;
    pVar->lVal = static_cast<LONG>(number);
    return S_OK;
  }

  com::ReferenceCount m_references;
  const std::wstring m_keyPath;
};

}  // namespace

IPropertyBag *CreateRegistryPropertyBag(std::wstring keyPath) { return new RegistryPropertyBag(std::move(keyPath)); }

}  // namespace platform::media
