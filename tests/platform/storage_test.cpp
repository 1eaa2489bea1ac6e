// Compound files: written with StgCreateDocfile and read back, the errors
// of StgOpenStorage and IStorage::OpenStream, sharing modes within and
// across processes, and reads that leave the file as it was.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "text/utf.h"

namespace {

constexpr DWORD kReadExclusive = STGM_READ | STGM_SHARE_EXCLUSIVE;  // 0x10, as the graph loader opens
constexpr DWORD kCreate = STGM_CREATE | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
// {6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0020}
constexpr CLSID kSavedClass = {0x6a3f0c11, 0x52e4, 0x4b8d, {0x9c, 0x1b, 0x2f, 0x7e, 0x5d, 0x4a, 0x00, 0x20}};

std::string ReadBytes(const std::string &path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

std::string Hex(HRESULT hr) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", static_cast<unsigned>(hr));
  return text;
}

class StorageTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-storage-XXXXXX").string();
    folder = mkdtemp(pattern.data());
    graphFile = folder + "/saved.grf";
  }
  void TearDown() override { std::filesystem::remove_all(folder); }

  std::wstring Wide(const std::string &path) const { return platform::text::FromUtf8(path); }

  // A compound file with the stream ActiveMovieGraph and a storage Filters
  // holding the stream Source.
  void WriteGraphFile(const std::string &content) {
    IStorage *root = nullptr;
    ASSERT_EQ(StgCreateDocfile(Wide(graphFile).c_str(), kCreate, 0, &root), S_OK);
    ASSERT_EQ(root->SetClass(kSavedClass), S_OK);
    IStream *stream = nullptr;
    ASSERT_EQ(root->CreateStream(L"ActiveMovieGraph", kCreate, 0, 0, &stream), S_OK);
    ULONG written = 0;
    ASSERT_EQ(stream->Write(content.data(), static_cast<ULONG>(content.size()), &written), S_OK);
    EXPECT_EQ(written, content.size());
    stream->Release();
    IStorage *filters = nullptr;
    ASSERT_EQ(root->CreateStorage(L"Filters", kCreate, 0, 0, &filters), S_OK);
    ASSERT_EQ(filters->CreateStream(L"Source", kCreate, 0, 0, &stream), S_OK);
    stream->Write("src", 3, nullptr);
    stream->Release();
    filters->Release();
    EXPECT_EQ(root->Release(), 0u);
  }

  std::string ReadStream(IStorage *storage, const wchar_t *name) {
    IStream *stream = nullptr;
    EXPECT_EQ(storage->OpenStream(name, nullptr, kReadExclusive, 0, &stream), S_OK);
    if (!stream) return {};
    std::string content;
    char buffer[1024];
    ULONG read = 0;
    do {
      EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
      content.append(buffer, read);
    } while (read > 0);
    stream->Release();
    return content;
  }

  std::string folder;
  std::string graphFile;
};

TEST_F(StorageTest, WrittenCompoundFileReadsBack) {
  const std::string graph(5000, 'g');  // larger than a small-block stream
  WriteGraphFile(graph);
  EXPECT_EQ(StgIsStorageFile(Wide(graphFile).c_str()), S_OK);

  IStorage *root = nullptr;
  ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
  EXPECT_TRUE(ReadStream(root, L"ActiveMovieGraph") == graph);
  IStorage *filters = nullptr;
  ASSERT_EQ(root->OpenStorage(L"Filters", nullptr, kReadExclusive, nullptr, 0, &filters), S_OK);
  EXPECT_EQ(ReadStream(filters, L"Source"), "src");
  filters->Release();

  STATSTG stat{};
  ASSERT_EQ(root->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STORAGE));
  EXPECT_TRUE(IsEqualCLSID(stat.clsid, kSavedClass));
  EXPECT_EQ(std::wstring(stat.pwcsName), Wide(graphFile));
  CoTaskMemFree(stat.pwcsName);
  EXPECT_EQ(root->Release(), 0u);
}

TEST_F(StorageTest, StreamNamesAreStoredAsUtf16AndFoundIgnoringCase) {
  WriteGraphFile("x");
  const std::string bytes = ReadBytes(graphFile);
  const std::u16string name = u"ActiveMovieGraph";
  EXPECT_NE(bytes.find(std::string(reinterpret_cast<const char *>(name.data()), name.size() * 2)), std::string::npos);

  IStorage *root = nullptr;
  ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
  EXPECT_EQ(ReadStream(root, L"activemoviegraph"), "x");
  root->Release();
}

struct OpenFailure {
  const char *label;
  std::string path;  // relative to the test folder; empty: a null name
  DWORD mode;
  HRESULT expected;
};

TEST_F(StorageTest, StgOpenStorageFailures) {
  WriteGraphFile("x");
  std::ofstream(folder + "/movie.grf") << "\x00\x00\x00\x18"
                                          "ftypmp42 not a compound file";
  std::ofstream(folder + "/empty.grf");
  const std::string whole = ReadBytes(graphFile);
  std::ofstream(folder + "/truncated.grf", std::ios::binary) << whole.substr(0, 700);
  std::filesystem::create_directory(folder + "/folder.grf");

  const OpenFailure cases[] = {
      {"missing file", "missing.grf", kReadExclusive, STG_E_FILENOTFOUND},
      {"missing folder", "nowhere/saved.grf", kReadExclusive, STG_E_PATHNOTFOUND},
      {"not a compound file", "movie.grf", kReadExclusive, STG_E_FILEALREADYEXISTS},
      {"empty file", "empty.grf", kReadExclusive, STG_E_FILEALREADYEXISTS},
      {"truncated compound file", "truncated.grf", kReadExclusive, STG_E_DOCFILECORRUPT},
      {"a folder", "folder.grf", kReadExclusive, STG_E_ACCESSDENIED},
      {"null name", "", kReadExclusive, STG_E_INVALIDNAME},
      {"bad access bits", "saved.grf", 0x3 | STGM_SHARE_EXCLUSIVE, STG_E_INVALIDFLAG},
  };
  for (const OpenFailure &c : cases) {
    SCOPED_TRACE(c.label);
    const std::wstring path = Wide(folder + "/" + c.path);
    IStorage *root = reinterpret_cast<IStorage *>(1);
    const HRESULT hr = StgOpenStorage(c.path.empty() ? nullptr : path.c_str(), nullptr, c.mode, nullptr, 0, &root);
    EXPECT_EQ(hr, c.expected) << "got " << Hex(hr) << ", expected " << Hex(c.expected);
    EXPECT_EQ(root, nullptr);
  }
  EXPECT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, nullptr),
            STG_E_INVALIDPOINTER);
  EXPECT_EQ(StgIsStorageFile(Wide(folder + "/movie.grf").c_str()), S_FALSE);
}

TEST_F(StorageTest, UnreadableFileIsAccessDenied) {
  if (geteuid() == 0) GTEST_SKIP() << "file permissions do not stop root";
  WriteGraphFile("x");
  chmod(graphFile.c_str(), 0);
  IStorage *root = nullptr;
  EXPECT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), STG_E_ACCESSDENIED);
}

struct StreamFailure {
  const char *label;
  const wchar_t *name;
  DWORD mode;
  HRESULT expected;
};

TEST_F(StorageTest, OpenStreamFailures) {
  WriteGraphFile("x");
  IStorage *root = nullptr;
  ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
  IStream *held = nullptr;
  ASSERT_EQ(root->OpenStream(L"ActiveMovieGraph", nullptr, kReadExclusive, 0, &held), S_OK);
  const StreamFailure cases[] = {
      {"missing stream", L"GraphData", kReadExclusive, STG_E_FILENOTFOUND},
      {"a storage, not a stream", L"Filters", kReadExclusive, STG_E_FILENOTFOUND},
      {"already open", L"activeMovieGraph", kReadExclusive, STG_E_ACCESSDENIED},
      {"null name", nullptr, kReadExclusive, STG_E_INVALIDNAME},
      {"name with a backslash", L"Active\\Graph", kReadExclusive, STG_E_INVALIDNAME},
      {"name of 32 characters", L"abcdefghijklmnopqrstuvwxyz012345", kReadExclusive, STG_E_INVALIDNAME},
      {"not exclusive", L"ActiveMovieGraph", STGM_READ | STGM_SHARE_DENY_WRITE, STG_E_INVALIDFLAG},
      {"write in a read-only file", L"ActiveMovieGraph", STGM_READWRITE | STGM_SHARE_EXCLUSIVE, STG_E_ACCESSDENIED},
  };
  for (const StreamFailure &c : cases) {
    SCOPED_TRACE(c.label);
    IStream *stream = reinterpret_cast<IStream *>(1);
    const HRESULT hr = root->OpenStream(c.name, nullptr, c.mode, 0, &stream);
    EXPECT_EQ(hr, c.expected) << "got " << Hex(hr) << ", expected " << Hex(c.expected);
    EXPECT_EQ(stream, nullptr);
  }
  EXPECT_EQ(root->OpenStream(L"ActiveMovieGraph", nullptr, kReadExclusive, 0, nullptr), STG_E_INVALIDPOINTER);
  EXPECT_EQ(held->Write("y", 1, nullptr), STG_E_ACCESSDENIED);
  IStream *created = nullptr;
  EXPECT_EQ(root->CreateStream(L"New", kCreate, 0, 0, &created), STG_E_ACCESSDENIED) << "read-only storage";
  held->Release();
  root->Release();
}

TEST_F(StorageTest, ReadingNeverChangesTheFile) {
  WriteGraphFile("graph");
  const std::string before = ReadBytes(graphFile);
  struct stat statBefore {};
  stat(graphFile.c_str(), &statBefore);
  IStorage *root = nullptr;
  ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
  ReadStream(root, L"ActiveMovieGraph");
  EXPECT_EQ(root->Commit(STGC_DEFAULT), S_OK);
  root->Release();
  struct stat statAfter {};
  stat(graphFile.c_str(), &statAfter);
  EXPECT_EQ(ReadBytes(graphFile), before);
  EXPECT_EQ(statAfter.st_mtim.tv_nsec, statBefore.st_mtim.tv_nsec);
  EXPECT_EQ(statAfter.st_mtim.tv_sec, statBefore.st_mtim.tv_sec);
}

TEST_F(StorageTest, ExistingFileIsKeptUnlessCreateIsAsked) {
  WriteGraphFile("x");
  IStorage *root = nullptr;
  EXPECT_EQ(StgCreateDocfile(Wide(graphFile).c_str(), STGM_READWRITE | STGM_SHARE_EXCLUSIVE, 0, &root),
            STG_E_FILEALREADYEXISTS);
  EXPECT_EQ(StgCreateDocfile(Wide(graphFile).c_str(), STGM_READ | STGM_SHARE_EXCLUSIVE | STGM_CREATE, 0, &root),
            STG_E_INVALIDFLAG)
      << "creation needs write access";
  ASSERT_EQ(StgCreateDocfile(Wide(graphFile).c_str(), kCreate, 0, &root), S_OK);
  IStream *stream = reinterpret_cast<IStream *>(1);
  EXPECT_EQ(root->OpenStream(L"ActiveMovieGraph", nullptr, kReadExclusive, 0, &stream), STG_E_FILENOTFOUND);
  root->Release();
}

TEST_F(StorageTest, TransactedChangesNeedACommit) {
  WriteGraphFile("first");
  const DWORD transacted = STGM_TRANSACTED | STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
  for (bool commit : {false, true}) {
    SCOPED_TRACE(commit ? "committed" : "not committed");
    IStorage *root = nullptr;
    ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, transacted, nullptr, 0, &root), S_OK);
    ASSERT_EQ(root->DestroyElement(L"Filters"), S_OK);
    if (commit) {
      EXPECT_EQ(root->Commit(STGC_DEFAULT), S_OK);
    }
    root->Release();
    ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
    IStorage *filters = nullptr;
    EXPECT_EQ(root->OpenStorage(L"Filters", nullptr, kReadExclusive, nullptr, 0, &filters),
              commit ? STG_E_FILENOTFOUND : S_OK);
    if (filters) filters->Release();
    root->Release();
  }
}

struct Sharing {
  const char *label;
  DWORD first;
  DWORD second;
  HRESULT expected;
};

TEST_F(StorageTest, SharingModesHoldWithinTheProcess) {
  WriteGraphFile("x");
  const DWORD readDenyWrite = STGM_READ | STGM_SHARE_DENY_WRITE;
  const DWORD readWriteExclusive = STGM_READWRITE | STGM_SHARE_EXCLUSIVE;
  const Sharing cases[] = {
      {"exclusive, then read", kReadExclusive, kReadExclusive, STG_E_SHAREVIOLATION},
      {"read, then exclusive", readDenyWrite, kReadExclusive, STG_E_SHAREVIOLATION},
      {"two readers denying writes", readDenyWrite, readDenyWrite, S_OK},
      {"reader denying writes, then a writer", readDenyWrite, readWriteExclusive, STG_E_SHAREVIOLATION},
      {"reader sharing all, then a reader", STGM_READ | STGM_SHARE_DENY_NONE, readDenyWrite, S_OK},
  };
  for (const Sharing &c : cases) {
    SCOPED_TRACE(c.label);
    IStorage *first = nullptr;
    ASSERT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, c.first, nullptr, 0, &first), S_OK);
    IStorage *second = nullptr;
    EXPECT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, c.second, nullptr, 0, &second), c.expected);
    if (second) second->Release();
    first->Release();
  }
}

// A compound file held open exclusively by another process cannot be
// opened here until that process lets it go.
TEST_F(StorageTest, ExclusiveOpenerInAnotherProcessBlocksThisOne) {
  WriteGraphFile("x");
  int opened[2];
  int release[2];
  ASSERT_EQ(pipe(opened), 0);
  ASSERT_EQ(pipe(release), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    IStorage *root = nullptr;
    const char result = StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root) == S_OK;
    (void)!write(opened[1], &result, 1);
    char done = 0;
    (void)!read(release[0], &done, 1);
    if (root) root->Release();
    _exit(0);
  }
  char childOpened = 0;
  ASSERT_EQ(read(opened[0], &childOpened, 1), 1);
  ASSERT_EQ(childOpened, 1);
  IStorage *root = nullptr;
  EXPECT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), STG_E_SHAREVIOLATION);
  ASSERT_EQ(write(release[1], "x", 1), 1);
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(StgOpenStorage(Wide(graphFile).c_str(), nullptr, kReadExclusive, nullptr, 0, &root), S_OK);
  if (root) root->Release();
  for (int fd : {opened[0], opened[1], release[0], release[1]}) close(fd);
}

class StorageStreamTest : public StorageTest {
 protected:
  void SetUp() override {
    StorageTest::SetUp();
    ASSERT_EQ(StgCreateDocfile(Wide(graphFile).c_str(), kCreate, 0, &root), S_OK);
    ASSERT_EQ(root->CreateStream(L"Data", kCreate, 0, 0, &stream), S_OK);
    ASSERT_EQ(stream->Write("0123456789", 10, nullptr), S_OK);
  }
  void TearDown() override {
    stream->Release();
    root->Release();
    StorageTest::TearDown();
  }

  IStorage *root = nullptr;
  IStream *stream = nullptr;
};

struct SeekCase {
  LONGLONG move;
  DWORD origin;
  HRESULT expected;
  ULONGLONG position;  // after a successful seek
};

TEST_F(StorageStreamTest, SeekFromEachOrigin) {
  const SeekCase cases[] = {
      {3, STREAM_SEEK_SET, S_OK, 3},
      {2, STREAM_SEEK_CUR, S_OK, 5},
      {-1, STREAM_SEEK_END, S_OK, 9},
      {5, STREAM_SEEK_END, S_OK, 15},
      {-20, STREAM_SEEK_CUR, STG_E_INVALIDFUNCTION, 15},
      {0, 7, STG_E_INVALIDFUNCTION, 15},
  };
  for (const SeekCase &c : cases) {
    LARGE_INTEGER move;
    move.QuadPart = c.move;
    ULARGE_INTEGER position{};
    EXPECT_EQ(stream->Seek(move, c.origin, &position), c.expected) << c.move << " from " << c.origin;
    LARGE_INTEGER none{};
    stream->Seek(none, STREAM_SEEK_CUR, &position);
    EXPECT_EQ(position.QuadPart, c.position) << c.move << " from " << c.origin;
  }
}

TEST_F(StorageStreamTest, ReadStopsAtTheEndSetSizeGrowsWithZeros) {
  LARGE_INTEGER at;
  at.QuadPart = 8;
  stream->Seek(at, STREAM_SEEK_SET, nullptr);
  char buffer[8] = {};
  ULONG read = 0;
  EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
  EXPECT_EQ(read, 2u);
  EXPECT_EQ(std::string(buffer, read), "89");

  ULARGE_INTEGER size;
  size.QuadPart = 12;
  ASSERT_EQ(stream->SetSize(size), S_OK);
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 12u);
  EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
  EXPECT_STREQ(stat.pwcsName, L"Data");
  CoTaskMemFree(stat.pwcsName);
  EXPECT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), std::string(2, '\0'));
}

TEST_F(StorageStreamTest, ClonesShareTheDataNotThePosition) {
  IStream *clone = nullptr;
  ASSERT_EQ(stream->Clone(&clone), S_OK);
  LARGE_INTEGER start{};
  clone->Seek(start, STREAM_SEEK_SET, nullptr);
  char buffer[4] = {};
  ULONG read = 0;
  clone->Read(buffer, 4, &read);
  EXPECT_EQ(std::string(buffer, read), "0123");
  stream->Write("ab", 2, nullptr);
  clone->Read(buffer, 4, &read);
  EXPECT_EQ(std::string(buffer, read), "4567");
  clone->Release();
  IStream *again = nullptr;
  EXPECT_EQ(root->OpenStream(L"Data", nullptr, kReadExclusive, 0, &again), STG_E_ACCESSDENIED)
      << "the stream stays open while one of its objects lives";
}

}  // namespace
