// The media graph's enumerators (IEnumFilters, IEnumPins, IEnumMediaTypes):
// one template over a snapshot of the items, taken when the enumerator is
// made and again at Reset.
//
// An enumerator whose source changes (a filter added to the graph) answers
// VFW_E_ENUM_OUT_OF_SYNC from Next, Skip and Clone until it is Reset, as
// Windows enumerators do. Next follows the COM rules: S_OK when all the
// items asked for were given, S_FALSE when fewer, E_POINTER for a null
// count with more than one item asked.
#pragma once

#include <objbase.h>
#include <vfwmsgs.h>

#include <functional>
#include <utility>
#include <vector>

#include "com/com_object.h"

namespace platform::media {

// Where an enumerator's items come from: the items, and a version that
// changes whenever they do (a constant for sources that never change).
template <typename Item>
struct EnumerationSource {
  std::function<std::vector<Item>()> items;
  std::function<ULONG()> version;
};

// HandOut(item) gives the caller's copy of an item (an added reference, a
// CoTaskMemAlloc media type), or null when out of memory.
template <typename Interface, typename Item, typename Out, Out (*HandOut)(const Item &)>
class SnapshotEnumerator final : public Interface {
 public:
  static Interface *Create(EnumerationSource<Item> source) {
    auto *enumerator = new SnapshotEnumerator(std::move(source));
    enumerator->Reset();
    return enumerator;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    return com::QueryInterfaceAmong<Interface>(this, riid, ppv);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG remaining = m_references.Decrement();
    if (remaining == 0) delete this;
    return remaining;
  }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Out *items, ULONG *fetched) override {
    if (!items || (!fetched && count != 1)) return E_POINTER;
    if (fetched) *fetched = 0;
    if (!InSync()) return VFW_E_ENUM_OUT_OF_SYNC;
    ULONG given = 0;
    while (given < count && m_position < m_items.size()) {
      Out copy = HandOut(m_items[m_position]);
      if (!copy) return E_OUTOFMEMORY;
      items[given++] = copy;
      ++m_position;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (!InSync()) return VFW_E_ENUM_OUT_OF_SYNC;
    const size_t left = m_items.size() - m_position;
    m_position += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE Reset() override {
    m_version = m_source.version();
    m_items = m_source.items();
    m_position = 0;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE Clone(Interface **clone) override {
    if (!clone) return E_POINTER;
    *clone = nullptr;
    if (!InSync()) return VFW_E_ENUM_OUT_OF_SYNC;
    *clone = new SnapshotEnumerator(*this);
    return S_OK;
  }

 private:
  explicit SnapshotEnumerator(EnumerationSource<Item> source) : m_source(std::move(source)) {}
  SnapshotEnumerator(const SnapshotEnumerator &other)
      : m_source(other.m_source), m_version(other.m_version), m_items(other.m_items), m_position(other.m_position) {}

  bool InSync() const { return m_source.version() == m_version; }

  com::ReferenceCount m_references;
  EnumerationSource<Item> m_source;
  ULONG m_version = 0;
  std::vector<Item> m_items;
  size_t m_position = 0;
};

template <typename T>
T *AddedReference(const com::ComPtr<T> &item) {
  item->AddRef();
  return item.Get();
}

}  // namespace platform::media
