// IStorage over a storage element of an open compound file.
#pragma once

#include <memory>

#include "com/com_object.h"
#include "storage/compound_file.h"

namespace platform::storage {

class Storage final : public IStorage {
 public:
  // A new storage object with one reference; for the root, element is the
  // file's root. grfMode is the mode it was opened with.
  static IStorage *Create(std::shared_ptr<CompoundFile> file, std::shared_ptr<Element> element, DWORD grfMode);

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  HRESULT STDMETHODCALLTYPE CreateStream(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                         IStream **ppstm) override;
  HRESULT STDMETHODCALLTYPE OpenStream(const OLECHAR *pwcsName, void *reserved1, DWORD grfMode, DWORD reserved2,
                                       IStream **ppstm) override;
  HRESULT STDMETHODCALLTYPE CreateStorage(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                                          IStorage **ppstg) override;
  HRESULT STDMETHODCALLTYPE OpenStorage(const OLECHAR *pwcsName, IStorage *pstgPriority, DWORD grfMode, SNB snbExclude,
                                        DWORD reserved, IStorage **ppstg) override;
  HRESULT STDMETHODCALLTYPE CopyTo(DWORD ciidExclude, const IID *rgiidExclude, SNB snbExclude,
                                   IStorage *pstgDest) override;
  HRESULT STDMETHODCALLTYPE MoveElementTo(const OLECHAR *pwcsName, IStorage *pstgDest, const OLECHAR *pwcsNewName,
                                          DWORD grfFlags) override;
  HRESULT STDMETHODCALLTYPE Commit(DWORD grfCommitFlags) override;
  HRESULT STDMETHODCALLTYPE Revert() override;
  HRESULT STDMETHODCALLTYPE EnumElements(DWORD reserved1, void *reserved2, DWORD reserved3,
                                         IEnumSTATSTG **ppenum) override;
  HRESULT STDMETHODCALLTYPE DestroyElement(const OLECHAR *pwcsName) override;
  HRESULT STDMETHODCALLTYPE RenameElement(const OLECHAR *pwcsOldName, const OLECHAR *pwcsNewName) override;
  HRESULT STDMETHODCALLTYPE SetElementTimes(const OLECHAR *pwcsName, const FILETIME *pctime, const FILETIME *patime,
                                            const FILETIME *pmtime) override;
  HRESULT STDMETHODCALLTYPE SetClass(REFCLSID clsid) override;
  HRESULT STDMETHODCALLTYPE SetStateBits(DWORD grfStateBits, DWORD grfMask) override;
  HRESULT STDMETHODCALLTYPE Stat(STATSTG *pstatstg, DWORD grfStatFlag) override;

 private:
  Storage(std::shared_ptr<CompoundFile> file, std::shared_ptr<Element> element, DWORD grfMode);
  ~Storage();

  bool Writable() const { return (m_mode & 0x3) != STGM_READ; }
  // The checks every opening or creation of a child makes.
  HRESULT CheckChild(const OLECHAR *name, DWORD grfMode, bool creates) const;
  // A new or emptied child element for CreateStream and CreateStorage.
  HRESULT MakeChild(const OLECHAR *name, DWORD grfMode, bool isStorage, std::shared_ptr<Element> &child);
  // The child element to open for OpenStream and OpenStorage.
  HRESULT FindClosedChild(const OLECHAR *name, bool isStorage, std::shared_ptr<Element> &child) const;
  IStream *StreamOn(std::shared_ptr<Element> element, DWORD grfMode);

  com::ReferenceCount m_references;
  const std::shared_ptr<CompoundFile> m_file;
  const std::shared_ptr<Element> m_element;
  const DWORD m_mode;
};

}  // namespace platform::storage
