// Bind contexts: CreateBindCtx. A bind context holds the objects bound
// during a binding operation until they are released, its options, named
// object parameters, and gives the Running Object Table to monikers.
#include <objbase.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "com/com_object.h"

namespace platform::com {
namespace {

class BindContext final : public IBindCtx {
 public:
  BindContext() { m_options.grfMode = STGM_READWRITE; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return QueryInterfaceAmong<IBindCtx>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG count = m_references.Decrement();
    if (count == 0) delete this;
    return count;
  }

  HRESULT STDMETHODCALLTYPE RegisterObjectBound(IUnknown *punk) override {
    if (!punk) return E_INVALIDARG;
    m_bound.emplace_back(punk);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE RevokeObjectBound(IUnknown *punk) override {
    auto it = std::find_if(m_bound.begin(), m_bound.end(), [&](const auto &object) { return object.Get() == punk; });
    if (it == m_bound.end()) return MK_E_NOTBOUND;
    m_bound.erase(it);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ReleaseBoundObjects() override {
    std::vector<ComPtr<IUnknown>> released;
    released.swap(m_bound);
    return S_OK;
  }

  // Only the fields of BIND_OPTS are kept; larger structures' other fields are left alone.
  HRESULT STDMETHODCALLTYPE SetBindOptions(BIND_OPTS *pbindopts) override {
    if (!pbindopts || pbindopts->cbStruct < sizeof(BIND_OPTS)) return E_INVALIDARG;
    m_options = *pbindopts;
    m_options.cbStruct = sizeof(BIND_OPTS);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBindOptions(BIND_OPTS *pbindopts) override {
    if (!pbindopts || pbindopts->cbStruct < sizeof(BIND_OPTS)) return E_INVALIDARG;
    const DWORD size = pbindopts->cbStruct;
    *pbindopts = m_options;
    pbindopts->cbStruct = size;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE GetRunningObjectTable(IRunningObjectTable **pprot) override {
    return ::GetRunningObjectTable(0, pprot);
  }

  HRESULT STDMETHODCALLTYPE RegisterObjectParam(LPOLESTR pszKey, IUnknown *punk) override {
    if (!pszKey || !punk) return E_INVALIDARG;
    m_parameters[pszKey] = ComPtr<IUnknown>(punk);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetObjectParam(LPOLESTR pszKey, IUnknown **ppunk) override {
    if (!ppunk) return E_POINTER;
    *ppunk = nullptr;
    auto it = pszKey ? m_parameters.find(pszKey) : m_parameters.end();
    if (it == m_parameters.end()) return E_FAIL;
    *ppunk = ComPtr<IUnknown>(it->second).Detach();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE EnumObjectParam(IEnumString **ppenum) override {
    if (ppenum) *ppenum = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE RevokeObjectParam(LPOLESTR pszKey) override {
    return pszKey && m_parameters.erase(pszKey) ? S_OK : S_FALSE;
  }

 private:
  ReferenceCount m_references;
  std::vector<ComPtr<IUnknown>> m_bound;
  BIND_OPTS m_options{sizeof(BIND_OPTS), 0, 0, 0};
  std::map<std::wstring, ComPtr<IUnknown>> m_parameters;
};

}  // namespace
}  // namespace platform::com

extern "C" HRESULT CreateBindCtx(DWORD reserved, LPBC *ppbc) {
  if (!ppbc) return E_INVALIDARG;
  *ppbc = nullptr;
  if (reserved) return E_INVALIDARG;
  *ppbc = new platform::com::BindContext;
  return S_OK;
}
