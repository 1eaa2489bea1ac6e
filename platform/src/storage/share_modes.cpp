#include "storage/share_modes.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <initializer_list>
#include <utility>

namespace platform::storage {
namespace {

// One byte per fact, well past any real compound file's end.
constexpr off_t kLockBase = 0x7FFFFF00;
constexpr off_t kReads = kLockBase + 0;
constexpr off_t kWrites = kLockBase + 1;
constexpr off_t kDeniesRead = kLockBase + 2;
constexpr off_t kDeniesWrite = kLockBase + 3;

// A shared lock, which a descriptor open for reading may take.
bool LockShared(int fd, off_t offset) {
  struct flock lock {};
  lock.l_type = F_RDLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = offset;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

// While an opener checks and takes its locks it holds the whole file's
// flock, so two openers never both pass the check. flock works on a
// descriptor open for reading only, where an exclusive fcntl lock does not.
bool EnterGate(int fd) {
  while (flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) return false;
  }
  return true;
}

// Whether another descriptor holds a lock on the byte.
bool HeldByOthers(int fd, off_t offset) {
  struct flock lock {};
  lock.l_type = F_WRLCK;
  lock.l_whence = SEEK_SET;
  lock.l_start = offset;
  lock.l_len = 1;
  return fcntl(fd, F_OFD_GETLK, &lock) == 0 && lock.l_type != F_UNLCK;
}

struct Mode {
  bool reads, writes, deniesRead, deniesWrite;
};

Mode ModeOf(DWORD grfMode) {
  const DWORD access = grfMode & 0x3;
  const DWORD share = grfMode & 0x70;
  return {access != STGM_WRITE, access != STGM_READ, share == STGM_SHARE_EXCLUSIVE || share == STGM_SHARE_DENY_READ,
          share == STGM_SHARE_EXCLUSIVE || share == STGM_SHARE_DENY_WRITE};
}

bool Conflicts(int fd, const Mode &mode) {
  return (mode.reads && HeldByOthers(fd, kDeniesRead)) || (mode.writes && HeldByOthers(fd, kDeniesWrite)) ||
         (mode.deniesRead && HeldByOthers(fd, kReads)) || (mode.deniesWrite && HeldByOthers(fd, kWrites));
}

}  // namespace

HRESULT AcquireShareMode(int fd, DWORD grfMode) {
  const Mode mode = ModeOf(grfMode);
  if (!EnterGate(fd)) return STG_E_LOCKVIOLATION;
  HRESULT hr = S_OK;
  if (Conflicts(fd, mode)) {
    hr = STG_E_SHAREVIOLATION;
  } else {
    const std::initializer_list<std::pair<bool, off_t>> facts = {
        {mode.reads, kReads}, {mode.writes, kWrites}, {mode.deniesRead, kDeniesRead}, {mode.deniesWrite, kDeniesWrite}};
    for (const auto &[holds, offset] : facts) {
      if (holds && !LockShared(fd, offset)) hr = STG_E_LOCKVIOLATION;
    }
  }
  flock(fd, LOCK_UN);
  return hr;
}

}  // namespace platform::storage
