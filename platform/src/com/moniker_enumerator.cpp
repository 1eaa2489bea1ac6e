#include "com/moniker_enumerator.h"

#include <algorithm>
#include <new>

namespace platform::com {

IEnumMoniker *MonikerEnumerator::Create(std::shared_ptr<const MonikerList> monikers, size_t position) {
  return new (std::nothrow) MonikerEnumerator(std::move(monikers), position);
}

MonikerEnumerator::MonikerEnumerator(std::shared_ptr<const MonikerList> monikers, size_t position)
    : m_monikers(std::move(monikers)), m_position(position) {}

HRESULT MonikerEnumerator::QueryInterface(REFIID riid, void **ppvObject) {
  return QueryInterfaceAmong<IEnumMoniker>(this, riid, ppvObject);
}

ULONG MonikerEnumerator::AddRef() { return m_references.Increment(); }

ULONG MonikerEnumerator::Release() {
  const ULONG remaining = m_references.Decrement();
  if (remaining == 0) delete this;
  return remaining;
}

// S_OK when celt monikers were handed out, S_FALSE when the list ended first.
// Asking for more than one needs pceltFetched, as COM enumerators require.
HRESULT MonikerEnumerator::Next(ULONG celt, IMoniker **rgelt, ULONG *pceltFetched) {
  if (pceltFetched) *pceltFetched = 0;
  if (!rgelt) return E_POINTER;
  if (celt > 1 && !pceltFetched) return E_INVALIDARG;
  ULONG fetched = 0;
  for (; fetched < celt && m_position < m_monikers->size(); ++fetched, ++m_position) {
    rgelt[fetched] = ComPtr<IMoniker>((*m_monikers)[m_position]).Detach();
  }
  if (pceltFetched) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT MonikerEnumerator::Skip(ULONG celt) {
  const size_t left = m_monikers->size() - m_position;
  m_position += std::min<size_t>(celt, left);
  return celt <= left ? S_OK : S_FALSE;
}

HRESULT MonikerEnumerator::Reset() {
  m_position = 0;
  return S_OK;
}

HRESULT MonikerEnumerator::Clone(IEnumMoniker **ppenum) {
  if (!ppenum) return E_POINTER;
  *ppenum = Create(m_monikers, m_position);
  return *ppenum ? S_OK : E_OUTOFMEMORY;
}

}  // namespace platform::com
