// Building blocks of the platform's COM objects: the reference count of a
// heap object, QueryInterface over the list of interfaces an object gives,
// and an owning interface reference for the platform's own use.
#pragma once

#include <objbase.h>

#include <atomic>
#include <utility>

namespace platform::com {

// Starts at 1: the reference of whoever creates the object.
class ReferenceCount {
 public:
  ULONG Increment() { return ++m_count; }
  ULONG Decrement() { return --m_count; }

 private:
  std::atomic<ULONG> m_count{1};
};

// QueryInterface of an object that gives the listed interfaces; the first
// one also answers for IUnknown. Base interfaces an object gives through a
// derived one (IPersist through IMoniker) are listed too.
template <typename First, typename... Others, typename Object>
HRESULT QueryInterfaceAmong(Object *object, REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  IUnknown *found = nullptr;
  auto match = [&](REFIID iid, IUnknown *itf) {
    if (IsEqualIID(riid, iid)) found = itf;
    return found != nullptr;
  };
  (void)(match(__uuidof(IUnknown), static_cast<First *>(object)) || match(__uuidof(First), static_cast<First *>(object)) ||
         (match(__uuidof(Others), static_cast<Others *>(object)) || ...));
  if (!found) return E_NOINTERFACE;
  found->AddRef();
  *ppv = found;
  return S_OK;
}

// Holds one reference to an interface and releases it when emptied,
// overwritten or destroyed.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes a reference of its own on p.
  explicit ComPtr(T *p) : m_p(p) {
    if (m_p) m_p->AddRef();
  }
  ComPtr(const ComPtr &other) : ComPtr(other.m_p) {}
  ComPtr(ComPtr &&other) noexcept : m_p(std::exchange(other.m_p, nullptr)) {}
  ComPtr &operator=(ComPtr other) noexcept {
    std::swap(m_p, other.m_p);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T *p = std::exchange(m_p, nullptr)) p->Release();
  }
  T *Get() const { return m_p; }
  T *operator->() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  // Hands the reference to an out argument.
  T *Detach() { return std::exchange(m_p, nullptr); }

 private:
  T *m_p = nullptr;
};

}  // namespace platform::com
