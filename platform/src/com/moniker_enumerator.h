// IEnumMoniker over a fixed list of monikers (a snapshot of the Running
// Object Table). Clones share the list and copy the position.
#pragma once

#include <memory>
#include <vector>

#include "com/com_object.h"

namespace platform::com {

using MonikerList = std::vector<ComPtr<IMoniker>>;

class MonikerEnumerator final : public IEnumMoniker {
 public:
  // A new enumerator with one reference, at the start of the list.
  static IEnumMoniker *Create(std::shared_ptr<const MonikerList> monikers, size_t position = 0);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker **rgelt, ULONG *pceltFetched) override;
  HRESULT STDMETHODCALLTYPE Skip(ULONG celt) override;
  HRESULT STDMETHODCALLTYPE Reset() override;
  HRESULT STDMETHODCALLTYPE Clone(IEnumMoniker **ppenum) override;

 private:
  MonikerEnumerator(std::shared_ptr<const MonikerList> monikers, size_t position);

  ReferenceCount m_references;
  const std::shared_ptr<const MonikerList> m_monikers;
  size_t m_position;
};

}  // namespace platform::com
