#include "registry/hive_files.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <map>
#include <mutex>

#include "registry/reg_file.h"
#include "text/utf.h"

namespace platform::registry {
namespace {

constexpr const char *kMachineFolder = "/var/lib/quorvel/registry";

// A descriptor closed when it goes out of scope.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor() {
    if (m_fd >= 0) close(m_fd);
  }
  FileDescriptor(const FileDescriptor &) = delete;
  FileDescriptor &operator=(const FileDescriptor &) = delete;
  int Get() const { return m_fd; }

 private:
  int m_fd;
};

LONG ErrorFromErrno(int error, LONG otherwise) {
  return error == EACCES || error == EPERM || error == EROFS ? ERROR_ACCESS_DENIED : otherwise;
}

bool MakeFolders(const std::string &path) {
  for (size_t slash = path.find('/', 1);; slash = path.find('/', slash + 1)) {
    const std::string prefix = path.substr(0, slash);
    if (mkdir(prefix.c_str(), 0755) != 0 && errno != EEXIST) return false;
    if (slash == std::string::npos) return true;
  }
}

bool FolderWritable(const std::string &path) {
  return access(path.c_str(), W_OK | X_OK) == 0 || (errno == ENOENT && MakeFolders(path));
}

std::string UserFolder() {
  if (const char *data = std::getenv("XDG_DATA_HOME"); data && *data) return std::string(data) + "/quorvel/registry";
  const char *home = std::getenv("HOME");
  return std::string(home && *home ? home : "/tmp") + "/.local/share/quorvel/registry";
}

std::string HivePath(Hive hive) { return RegistryFolder() + "/" + text::ToUtf8(HiveRootName(hive)) + ".reg"; }

// 0 on success, else the errno of the failed read.
int ReadWholeFile(int fd, std::string &bytes) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return errno;
    if (n == 0) return 0;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

LONG ParseHive(Hive hive, const std::string &bytes, std::shared_ptr<const Key> &root) {
  auto tree = std::make_shared<Key>(HiveRootName(hive));
  RegFileContent content = ParseRegFile(DecodeRegFileBytes(bytes));
  if (content.error) {
    OutputDebugStringW((L"registry: " + text::FromUtf8(HivePath(hive)) + L" line " +
                        std::to_wstring(content.error->line) + L": " + text::FromUtf8(content.error->message) + L"\n")
                           .c_str());
    return ERROR_REGISTRY_CORRUPT;
  }
  for (const RegFileSection &section : content.sections) {
    if (!SameName(section.root, HiveRootName(hive)) || section.remove) return ERROR_REGISTRY_CORRUPT;
    Key *key = tree.get();
    for (const auto &name : section.path) key = &key->SubkeyCreated(name);
    for (const RegFileValue &entry : section.values) {
      if (entry.remove) return ERROR_REGISTRY_CORRUPT;
      key->SetValue(entry.value);
    }
  }
  root = std::move(tree);
  return ERROR_SUCCESS;
}

// The identity of a file's content as far as stat tells it.
struct FileStamp {
  dev_t device = 0;
  ino_t inode = 0;
  off_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileStamp &) const = default;
};

FileStamp StampOf(const struct stat &st) {
  return {st.st_dev, st.st_ino, st.st_size, int64_t{st.st_mtim.tv_sec} * 1000000000 + st.st_mtim.tv_nsec};
}

// Parsed hives by file path. An entry is kept only for a file that had not
// changed for a while when it was read: a file rewritten within the clock's
// granularity could otherwise carry the same stamp as the one cached.
class HiveCache {
 public:
  std::shared_ptr<const Key> Find(const std::string &path, const FileStamp &stamp) {
    std::lock_guard lock(m_mutex);
    auto it = m_entries.find(path);
    return it != m_entries.end() && it->second.stamp == stamp ? it->second.root : nullptr;
  }
  void Store(const std::string &path, const FileStamp &stamp, std::shared_ptr<const Key> root) {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    if (std::chrono::duration_cast<std::chrono::nanoseconds>(now).count() - stamp.modifiedNs < kSettledNs) return;
    std::lock_guard lock(m_mutex);
    m_entries[path] = {stamp, std::move(root)};
  }

 private:
  static constexpr int64_t kSettledNs = 2'000'000'000;
  struct Entry {
    FileStamp stamp;
    std::shared_ptr<const Key> root;
  };
  std::mutex m_mutex;
  std::map<std::string, Entry> m_entries;
};

HiveCache &TheCache() {
  static HiveCache *cache = new HiveCache;
  return *cache;
}

LONG ReadHiveFile(Hive hive, const std::string &path, std::shared_ptr<const Key> &root) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) {
    if (errno != ENOENT && errno != ENOTDIR) return ErrorFromErrno(errno, ERROR_CANTREAD);
    root = std::make_shared<Key>(HiveRootName(hive));
    return ERROR_SUCCESS;
  }
  if ((root = TheCache().Find(path, StampOf(st)))) return ERROR_SUCCESS;
  // The stamp is taken again from the descriptor that is read, so the cache
  // entry describes exactly the bytes parsed.
  FileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0 || fstat(fd.Get(), &st) != 0) return ErrorFromErrno(errno, ERROR_CANTREAD);
  std::string bytes;
  if (const int error = ReadWholeFile(fd.Get(), bytes)) return ErrorFromErrno(error, ERROR_CANTREAD);
  const LONG result = ParseHive(hive, bytes, root);
  if (result == ERROR_SUCCESS) TheCache().Store(path, StampOf(st), root);
  return result;
}

LONG WriteHiveFile(Hive hive, const std::string &path, const Key &root) {
  const std::string bytes = FormatRegFile(HiveRootName(hive), root);
  std::string temporary = path + ".XXXXXX";
  FileDescriptor fd(mkstemp(temporary.data()));
  if (fd.Get() < 0) return ErrorFromErrno(errno, ERROR_CANTWRITE);
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = write(fd.Get(), bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    written += static_cast<size_t>(n);
  }
  const bool complete = written == bytes.size() && fchmod(fd.Get(), 0644) == 0 && fdatasync(fd.Get()) == 0;
  if (!complete || rename(temporary.c_str(), path.c_str()) != 0) {
    unlink(temporary.c_str());
    return ERROR_CANTWRITE;
  }
  return ERROR_SUCCESS;
}

}  // namespace

const wchar_t *HiveRootName(Hive hive) {
  return hive == Hive::kLocalMachine ? L"HKEY_LOCAL_MACHINE" : L"HKEY_CURRENT_USER";
}

std::string RegistryFolder() {
  if (const char *folder = std::getenv("QUORVEL_REGISTRY"); folder && *folder) return folder;
  return FolderWritable(kMachineFolder) ? kMachineFolder : UserFolder();
}

LONG ReadHive(Hive hive, std::shared_ptr<const Key> &root) { return ReadHiveFile(hive, HivePath(hive), root); }

LONG ChangeHive(Hive hive, const std::function<LONG(Key &root)> &change) {
  const std::string folder = RegistryFolder();
  if (!MakeFolders(folder)) return ErrorFromErrno(errno, ERROR_CANTWRITE);
  // The lock is released when its descriptor is closed, on every return.
  FileDescriptor lock(open((folder + "/.lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644));
  if (lock.Get() < 0) return ErrorFromErrno(errno, ERROR_CANTWRITE);
  while (flock(lock.Get(), LOCK_EX) != 0) {
    if (errno != EINTR) return ERROR_CANTWRITE;
  }
  const std::string path = HivePath(hive);
  std::shared_ptr<const Key> current;
  LONG result = ReadHiveFile(hive, path, current);
  if (result != ERROR_SUCCESS) return result;
  std::unique_ptr<Key> changed = current->Clone();
  result = change(*changed);
  if (result == kNothingChanged) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  return WriteHiveFile(hive, path, *changed);
}

}  // namespace platform::registry
