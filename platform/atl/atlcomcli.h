// ATL COM client classes: owning interface references (CComPtr, and
// CComQIPtr, which queries for its interface when given another one) and
// the owning BSTR (CComBSTR).
//
// An owning reference holds one reference to its interface and releases it
// when it is emptied (Release), overwritten or destroyed. Taking its address
// (&sp) to receive an out argument expects it to be empty and asserts so.
#pragma once

#include <ole2.h>

#include <memory>
#include <type_traits>
#include <utility>

#include "atldef.h"

namespace ATL {

template <class T>
class CComPtrBase {
 protected:
  CComPtrBase() noexcept : p(NULL) {}
  explicit CComPtrBase(T *lp) noexcept : p(lp) {
    if (p != NULL) p->AddRef();
  }
  void Swap(CComPtrBase &other) noexcept { std::swap(p, other.p); }

 public:
  typedef T _PtrClass;

  ~CComPtrBase() {
    if (p != NULL) p->Release();
  }

  operator T *() const noexcept { return p; }
  T &operator*() const {
    ATLASSERT(p != NULL);
    return *p;
  }
  T **operator&() {
    ATLASSERT(p == NULL);
    return &p;
  }
  T *operator->() const {
    ATLASSERT(p != NULL);
    return p;
  }
  bool operator!() const noexcept { return p == NULL; }
  bool operator<(T *pT) const noexcept { return p < pT; }
  bool operator==(T *pT) const noexcept { return p == pT; }
  bool operator!=(T *pT) const noexcept { return p != pT; }

  // Empties the reference, releasing what it held.
  void Release() noexcept {
    if (T *pTemp = std::exchange(p, nullptr)) pTemp->Release();
  }
  // Whether pOther is the same COM object (compared through IUnknown).
  bool IsEqualObject(IUnknown *pOther) noexcept {
    if (p == NULL || pOther == NULL) return p == NULL && pOther == NULL;
    IUnknown *pUnk1 = NULL;
    IUnknown *pUnk2 = NULL;
    p->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void **>(&pUnk1));
    pOther->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void **>(&pUnk2));
    const bool bSame = pUnk1 != NULL && pUnk1 == pUnk2;
    if (pUnk1 != NULL) pUnk1->Release();
    if (pUnk2 != NULL) pUnk2->Release();
    return bSame;
  }
  // Takes over p2's reference without adding one.
  void Attach(T *p2) noexcept {
    if (p != NULL && p != p2) p->Release();
    p = p2;
  }
  // Gives up the reference without releasing it.
  T *Detach() noexcept { return std::exchange(p, nullptr); }
  HRESULT CopyTo(T **ppT) noexcept {
    ATLASSERT(ppT != NULL);
    if (ppT == NULL) return E_POINTER;
    *ppT = p;
    if (p != NULL) p->AddRef();
    return S_OK;
  }
  HRESULT CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter = NULL, DWORD dwClsContext = CLSCTX_ALL) noexcept {
    ATLASSERT(p == NULL);
    return ::CoCreateInstance(rclsid, pUnkOuter, dwClsContext, __uuidof(T), reinterpret_cast<void **>(&p));
  }
  template <class Q>
  HRESULT QueryInterface(Q **pp) const noexcept {
    ATLASSERT(pp != NULL);
    return p->QueryInterface(__uuidof(Q), reinterpret_cast<void **>(pp));
  }

  T *p;
};

template <class T>
class CComPtr : public CComPtrBase<T> {
 public:
  CComPtr() noexcept {}
  CComPtr(T *lp) noexcept : CComPtrBase<T>(lp) {}
  CComPtr(const CComPtr &lp) noexcept : CComPtrBase<T>(lp.p) {}
  CComPtr(CComPtr &&lp) noexcept { this->p = lp.Detach(); }

  T *operator=(T *lp) noexcept {
    if (this->p != lp) CComPtr(lp).Swap(*this);
    return *this;
  }
  T *operator=(const CComPtr &lp) noexcept { return *this = lp.p; }
  CComPtr &operator=(CComPtr &&lp) noexcept {
    if (this != std::addressof(lp)) CComPtr(std::move(lp)).Swap(*this);
    return *this;
  }
};

// Given any interface, queries it for T. CComQIPtr<IUnknown> takes
// IUnknown pointers as they are.
template <class T, const IID *piid = &__uuidof(T)>
class CComQIPtr : public CComPtr<T> {
 public:
  CComQIPtr() noexcept {}
  CComQIPtr(T *lp) noexcept : CComPtr<T>(lp) {}
  CComQIPtr(const CComQIPtr &lp) noexcept : CComPtr<T>(lp.p) {}
  CComQIPtr(IUnknown *lp) noexcept
    requires(!std::is_same_v<T, IUnknown>)
  {
    if (lp != NULL) lp->QueryInterface(*piid, reinterpret_cast<void **>(&this->p));
  }

  T *operator=(T *lp) noexcept { return CComPtr<T>::operator=(lp); }
  T *operator=(const CComQIPtr &lp) noexcept { return CComPtr<T>::operator=(lp.p); }
  T *operator=(IUnknown *lp) noexcept
    requires(!std::is_same_v<T, IUnknown>)
  {
    CComQIPtr(lp).Swap(*this);
    return *this;
  }
};

class CComBSTR {
 public:
  CComBSTR() noexcept : m_str(NULL) {}
  // A copy of pSrc; null when pSrc is null.
  CComBSTR(LPCOLESTR pSrc) : m_str(::SysAllocString(pSrc)) {}
  // nSize characters of sz (zeros when sz is null); null when nSize is not positive.
  CComBSTR(int nSize, LPCOLESTR sz) : m_str(nSize > 0 ? ::SysAllocStringLen(sz, static_cast<UINT>(nSize)) : NULL) {}
  CComBSTR(const CComBSTR &src) : m_str(src.Copy()) {}
  CComBSTR(CComBSTR &&src) noexcept : m_str(src.Detach()) {}
  ~CComBSTR() { ::SysFreeString(m_str); }

  CComBSTR &operator=(const CComBSTR &src) {
    if (m_str != src.m_str) Attach(src.Copy());
    return *this;
  }
  CComBSTR &operator=(CComBSTR &&src) noexcept {
    if (this != std::addressof(src)) Attach(src.Detach());
    return *this;
  }
  CComBSTR &operator=(LPCOLESTR pSrc) {
    if (m_str != pSrc) Attach(::SysAllocString(pSrc));
    return *this;
  }

  operator BSTR() const noexcept { return m_str; }
  // For an out argument; a BSTR it still holds would be lost, so empty it first.
  BSTR *operator&() noexcept { return &m_str; }
  bool operator!() const noexcept { return m_str == NULL; }

  unsigned int Length() const noexcept { return ::SysStringLen(m_str); }
  unsigned int ByteLength() const noexcept { return ::SysStringByteLen(m_str); }
  // A new BSTR with the same text (embedded nulls included); null for null.
  BSTR Copy() const { return m_str == NULL ? NULL : ::SysAllocStringLen(m_str, ::SysStringLen(m_str)); }
  HRESULT CopyTo(BSTR *pbstr) const {
    ATLASSERT(pbstr != NULL);
    if (pbstr == NULL) return E_POINTER;
    *pbstr = Copy();
    return (*pbstr == NULL && m_str != NULL) ? E_OUTOFMEMORY : S_OK;
  }
  // Takes src over, freeing the text held before.
  void Attach(BSTR src) noexcept {
    if (m_str != src) {
      ::SysFreeString(m_str);
      m_str = src;
    }
  }
  BSTR Detach() noexcept { return std::exchange(m_str, nullptr); }
  void Empty() noexcept { Attach(NULL); }

  HRESULT Append(LPCOLESTR lpsz, int nLen) {
    if (lpsz == NULL || nLen == 0) return (lpsz == NULL && nLen != 0) ? E_INVALIDARG : S_OK;
    if (nLen < 0) return E_INVALIDARG;
    const UINT nOld = Length();
    BSTR bstrNew = ::SysAllocStringLen(NULL, nOld + static_cast<UINT>(nLen));
    if (bstrNew == NULL) return E_OUTOFMEMORY;
    if (nOld != 0) wmemcpy(bstrNew, m_str, nOld);
    wmemcpy(bstrNew + nOld, lpsz, static_cast<size_t>(nLen));
    Attach(bstrNew);
    return S_OK;
  }
  HRESULT Append(LPCOLESTR lpsz) { return Append(lpsz, lpsz == NULL ? 0 : static_cast<int>(wcslen(lpsz))); }
  HRESULT Append(const CComBSTR &bstrSrc) { return Append(bstrSrc.m_str, static_cast<int>(bstrSrc.Length())); }
  CComBSTR &operator+=(LPCOLESTR pszSrc) {
    Append(pszSrc);
    return *this;
  }

  BSTR m_str;
};

}  // namespace ATL
