// One compound file opened with StgOpenStorage or StgCreateDocfile: its
// descriptor (which holds the sharing locks), its content as a tree, and
// its saving. The storages and streams opened from it share it and keep it
// alive; when the last of them is released, a file changed in direct mode
// is saved and the descriptor closed, which ends its sharing locks.
//
// Storage and stream objects of one file are meant for one thread at a
// time, as the objects of a compound file opened in an apartment are.
#pragma once

#include <objbase.h>

#include <memory>
#include <string>

#include "storage/element_tree.h"

namespace platform::storage {

class CompoundFile {
 public:
  // Errors as StgOpenStorage gives them.
  static HRESULT Open(const WCHAR *path, DWORD grfMode, std::shared_ptr<CompoundFile> &file);
  // Errors as StgCreateDocfile gives them; the new file is saved at once.
  static HRESULT Create(const WCHAR *path, DWORD grfMode, std::shared_ptr<CompoundFile> &file);
  ~CompoundFile();
  CompoundFile(const CompoundFile &) = delete;
  CompoundFile &operator=(const CompoundFile &) = delete;

  const std::shared_ptr<Element> &Root() const { return m_root; }
  const std::wstring &Path() const { return m_path; }
  DWORD Mode() const { return m_mode; }
  bool Writable() const { return (m_mode & 0x3) != STGM_READ; }

  void NoteChange() { m_changed = true; }
  // Writes the tree to the file (STG_E_ACCESSDENIED for a file opened for reading).
  HRESULT Save();

 private:
  CompoundFile(int fd, std::wstring path, DWORD grfMode, std::shared_ptr<Element> root);

  const int m_fd;
  const std::wstring m_path;
  const DWORD m_mode;
  const std::shared_ptr<Element> m_root;
  bool m_changed = false;
};

// The STGM_ access and sharing bits are each one of their defined values.
bool IsValidStorageMode(DWORD grfMode);

}  // namespace platform::storage
