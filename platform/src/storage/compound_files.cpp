// Compound files by name: StgOpenStorage, StgCreateDocfile, StgIsStorageFile.
#include <objbase.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "storage/compound_file.h"
#include "storage/compound_file_format.h"
#include "storage/storage_object.h"
#include "text/utf.h"

using platform::storage::CompoundFile;

extern "C" HRESULT StgOpenStorage(const WCHAR *pwcsName, IStorage *pstgPriority, DWORD grfMode, SNB snbExclude,
                                  DWORD reserved, IStorage **ppstgOpen) {
  if (!ppstgOpen) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
  if (pstgPriority || snbExclude || reserved) return STG_E_INVALIDPARAMETER;
  if (!platform::storage::IsValidStorageMode(grfMode)) return STG_E_INVALIDFLAG;
  std::shared_ptr<CompoundFile> file;
  if (HRESULT hr = CompoundFile::Open(pwcsName, grfMode, file); FAILED(hr)) return hr;
  *ppstgOpen = platform::storage::Storage::Create(file, file->Root(), grfMode);
  return S_OK;
}

// A file without a name (a temporary compound file) is not supported.
extern "C" HRESULT StgCreateDocfile(const WCHAR *pwcsName, DWORD grfMode, DWORD reserved, IStorage **ppstgOpen) {
  if (!ppstgOpen) return STG_E_INVALIDPOINTER;
  *ppstgOpen = nullptr;
  if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
  if (reserved) return STG_E_INVALIDPARAMETER;
  if (!platform::storage::IsValidStorageMode(grfMode)) return STG_E_INVALIDFLAG;
  std::shared_ptr<CompoundFile> file;
  if (HRESULT hr = CompoundFile::Create(pwcsName, grfMode, file); FAILED(hr)) return hr;
  *ppstgOpen = platform::storage::Storage::Create(file, file->Root(), grfMode);
  return S_OK;
}

extern "C" HRESULT StgIsStorageFile(const WCHAR *pwcsName) {
  if (!pwcsName || !*pwcsName) return STG_E_INVALIDNAME;
  const int fd = open(platform::text::ToUtf8(pwcsName).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? STG_E_FILENOTFOUND : errno == ENOTDIR ? STG_E_PATHNOTFOUND : STG_E_ACCESSDENIED;
  uint8_t header[8];
  const ssize_t n = pread(fd, header, sizeof header, 0);
  close(fd);
  if (n < 0) return STG_E_ACCESSDENIED;
  return platform::storage::HasCompoundFileSignature({header, static_cast<size_t>(n)}) ? S_OK : S_FALSE;
}
