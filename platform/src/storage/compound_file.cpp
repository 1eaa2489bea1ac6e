#include "storage/compound_file.h"

#include <windows.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>
#include <vector>

#include "storage/compound_file_format.h"
#include "storage/share_modes.h"
#include "text/utf.h"

namespace platform::storage {
namespace {

constexpr DWORD kAccessBits = 0x3;
constexpr DWORD kShareBits = 0x70;

bool FolderExists(const std::string &path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return true;
  struct stat st {};
  return stat(slash == 0 ? "/" : path.substr(0, slash).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

HRESULT OpenError(int error, const std::string &path) {
  switch (error) {
    case ENOENT: return FolderExists(path) ? STG_E_FILENOTFOUND : STG_E_PATHNOTFOUND;
    case ENOTDIR: return STG_E_PATHNOTFOUND;
    case EEXIST: return STG_E_FILEALREADYEXISTS;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS: return STG_E_ACCESSDENIED;
    case ENAMETOOLONG: return STG_E_INVALIDNAME;
    default: return STG_E_READFAULT;
  }
}

// A descriptor that closes unless it is handed on.
class PendingDescriptor {
 public:
  explicit PendingDescriptor(int fd) : m_fd(fd) {}
  ~PendingDescriptor() {
    if (m_fd >= 0) close(m_fd);
  }
  int Get() const { return m_fd; }
  int Release() { return std::exchange(m_fd, -1); }

 private:
  int m_fd;
};

bool ReadAll(int fd, std::vector<uint8_t> &bytes) {
  char buffer[65536];
  for (off_t offset = 0;;) {
    const ssize_t n = pread(fd, buffer, sizeof buffer, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    bytes.insert(bytes.end(), buffer, buffer + n);
    offset += n;
  }
}

bool WriteAll(int fd, const std::vector<uint8_t> &bytes) {
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    done += static_cast<size_t>(n);
  }
  return ftruncate(fd, static_cast<off_t>(bytes.size())) == 0;
}

}  // namespace

bool IsValidStorageMode(DWORD grfMode) {
  const DWORD share = grfMode & kShareBits;
  return (grfMode & kAccessBits) != kAccessBits &&
         (share == 0 || share == STGM_SHARE_EXCLUSIVE || share == STGM_SHARE_DENY_WRITE ||
          share == STGM_SHARE_DENY_READ || share == STGM_SHARE_DENY_NONE);
}

CompoundFile::CompoundFile(int fd, std::wstring path, DWORD grfMode, std::shared_ptr<Element> root)
    : m_fd(fd), m_path(std::move(path)), m_mode(grfMode), m_root(std::move(root)) {}

// Direct mode keeps changes without a commit; transacted mode drops them.
CompoundFile::~CompoundFile() {
  if (m_changed && Writable() && !(m_mode & STGM_TRANSACTED) && FAILED(Save())) {
    OutputDebugStringW((L"storage: changes to " + m_path + L" could not be written\n").c_str());
  }
  close(m_fd);
}

HRESULT CompoundFile::Open(const WCHAR *path, DWORD grfMode, std::shared_ptr<CompoundFile> &file) {
  const std::string name = text::ToUtf8(path);
  const bool writable = (grfMode & kAccessBits) != STGM_READ;
  PendingDescriptor fd(open(name.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC));
  if (fd.Get() < 0) return OpenError(errno, name);
  struct stat st {};
  if (fstat(fd.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return STG_E_ACCESSDENIED;
  if (HRESULT hr = AcquireShareMode(fd.Get(), grfMode); FAILED(hr)) return hr;
  std::vector<uint8_t> bytes;
  if (!ReadAll(fd.Get(), bytes)) return OpenError(errno, name);
  std::shared_ptr<Element> root;
  if (HRESULT hr = ReadCompoundFile(bytes, root); FAILED(hr)) return hr;
  file.reset(new CompoundFile(fd.Release(), path, grfMode, std::move(root)));
  return S_OK;
}

HRESULT CompoundFile::Create(const WCHAR *path, DWORD grfMode, std::shared_ptr<CompoundFile> &file) {
  if ((grfMode & kAccessBits) == STGM_READ) return STG_E_INVALIDFLAG;
  const std::string name = text::ToUtf8(path);
  // An existing file is emptied only once this opener holds its sharing locks.
  const int flags = O_RDWR | O_CREAT | O_CLOEXEC | ((grfMode & STGM_CREATE) ? 0 : O_EXCL);
  PendingDescriptor fd(open(name.c_str(), flags, 0644));
  if (fd.Get() < 0) return OpenError(errno, name);
  if (HRESULT hr = AcquireShareMode(fd.Get(), grfMode); FAILED(hr)) return hr;
  auto root = std::make_shared<Element>();
  root->isStorage = true;
  std::shared_ptr<CompoundFile> created(new CompoundFile(fd.Release(), path, grfMode, std::move(root)));
  if (HRESULT hr = created->Save(); FAILED(hr)) return hr;
  file = std::move(created);
  return S_OK;
}

HRESULT CompoundFile::Save() {
  if (!Writable()) return STG_E_ACCESSDENIED;
  std::vector<uint8_t> bytes;
  if (HRESULT hr = WriteCompoundFile(*m_root, bytes); FAILED(hr)) return hr;
  if (!WriteAll(m_fd, bytes)) return STG_E_WRITEFAULT;
  m_changed = false;
  return S_OK;
}

}  // namespace platform::storage
