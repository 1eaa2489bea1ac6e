// The registry's files: hand-edited and imported text, damaged files, and
// several processes writing at once.
#include <windows.h>

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "private_registry.h"
#include "registry/reg_file_import.h"

namespace {

using platform::registry::ImportRegFile;
using platform::registry::RegFileError;
using testing_support::PrivateRegistry;

std::wstring QueryString(HKEY root, const wchar_t *path, const wchar_t *name, LONG expected = ERROR_SUCCESS) {
  HKEY key = nullptr;
  LONG result = RegOpenKeyExW(root, path, 0, KEY_READ, &key);
  WCHAR buffer[MAX_PATH] = {};
  DWORD size = sizeof buffer;
  if (result == ERROR_SUCCESS)
    result = RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
  RegCloseKey(key);
  EXPECT_EQ(result, expected);
  return buffer;
}

class RegistryFileTest : public testing::Test {
 protected:
  std::string WriteFile(const std::string &name, const std::string &bytes) {
    const std::string path = registry.folder + "/" + name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

  PrivateRegistry registry;
};

TEST_F(RegistryFileTest, HandEditedHiveIsRead) {
  registry.WriteHive("HKEY_LOCAL_MACHINE",
                     "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n\r\n"
                     "; a comment\r\n"
                     "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\Graphedit]\r\n"
                     "\"Path\"=\"C:\\\\Tools\\\\graphedt.exe\"\r\n"
                     "\"Data\"=hex:01,\\\r\n  02\r\n");
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools\\Graphedit", L"Path"),
            L"C:\\Tools\\graphedt.exe");
}

TEST_F(RegistryFileTest, DamagedHiveIsReportedNotGuessed) {
  const char *damaged[] = {
      "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software]\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"x\"=dword:123456789\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software]\n\"x\"=\"unterminated\n",
      "Windows Registry Editor Version 5.00\n\n\"x\"=\"outside a key\"\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n",
  };
  for (const char *text : damaged) {
    SCOPED_TRACE(text);
    registry.WriteHive("HKEY_LOCAL_MACHINE", text);
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software", 0, KEY_READ, &key), ERROR_REGISTRY_CORRUPT);
  }
}

TEST_F(RegistryFileTest, ImportMergesAndDeletesAsTheRegistryEditorDoes) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"Old\\Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const DWORD one = 1;
  RegSetValueExW(key, L"kept", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), 4);
  RegSetValueExW(key, L"dropped", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), 4);
  RegCloseKey(key);

  const std::string path = WriteFile("import.reg",
                                     "Windows Registry Editor Version 5.00\n\n"
                                     "[HKEY_CLASSES_ROOT\\Old\\Sub]\n\"dropped\"=-\n\"new\"=\"n\"\n\n"
                                     "[-HKEY_CLASSES_ROOT\\Old\\Gone]\n\n"
                                     "[HKEY_CURRENT_USER\\Software\\Quorvel]\n@=\"user\"\n");
  RegFileError error;
  ASSERT_EQ(ImportRegFile(path, error), ERROR_SUCCESS) << error.line << ": " << error.message;
  EXPECT_EQ(QueryString(HKEY_CLASSES_ROOT, L"Old\\Sub", L"new"), L"n");
  QueryString(HKEY_CLASSES_ROOT, L"Old\\Sub", L"dropped", ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(QueryString(HKEY_CURRENT_USER, L"Software\\Quorvel", nullptr), L"user");
}

TEST_F(RegistryFileTest, ImportReadsTheRegistryEditorsUtf16Files) {
  const std::wstring text =
      L"Windows Registry Editor Version "
      L"5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\W]\r\n\"Name\"=\"\u00e9t\u00e9\"\r\n";
  std::string bytes = "\xFF\xFE";
  for (wchar_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  RegFileError error;
  ASSERT_EQ(ImportRegFile(WriteFile("utf16.reg", bytes), error), ERROR_SUCCESS) << error.message;
  EXPECT_EQ(QueryString(HKEY_LOCAL_MACHINE, L"Software\\W", L"Name"), L"\u00e9t\u00e9");
}

TEST_F(RegistryFileTest, ImportRefusesWholeFilesWithErrors) {
  RegFileError error;
  const std::string path = WriteFile("bad.reg",
                                     "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Ok]\n\n"
                                     "[HKEY_USERS\\.DEFAULT]\n");
  EXPECT_EQ(ImportRegFile(path, error), ERROR_INVALID_DATA);
  EXPECT_EQ(error.line, 5);
  HKEY key = nullptr;
  EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Ok", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND)
      << "nothing of a refused file is imported";
  EXPECT_EQ(ImportRegFile(registry.folder + "/missing.reg", error), ERROR_FILE_NOT_FOUND);
}

// Writers in several processes each add their own values; none is lost,
// and a reader meanwhile always finds a complete file.
TEST_F(RegistryFileTest, ConcurrentWritersInSeveralProcessesLoseNothing) {
  constexpr int kProcesses = 4;
  constexpr int kValuesEach = 15;
  pid_t children[kProcesses];
  for (int p = 0; p < kProcesses; ++p) {
    children[p] = fork();
    ASSERT_GE(children[p], 0);
    if (children[p] == 0) {
      HKEY key = nullptr;
      if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Shared", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                          nullptr) != ERROR_SUCCESS) {
        _exit(1);
      }
      for (DWORD i = 0; i < kValuesEach; ++i) {
        const std::wstring name = L"p" + std::to_wstring(p) + L"v" + std::to_wstring(i);
        if (RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE *>(&i), 4) != ERROR_SUCCESS) {
          _exit(2);
        }
      }
      _exit(0);
    }
  }
  int finished = 0;
  while (finished < kProcesses) {
    HKEY key = nullptr;
    const LONG result = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Shared", 0, KEY_READ, &key);
    ASSERT_TRUE(result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND) << result;
    RegCloseKey(key);
    for (pid_t &child : children) {
      int status = 0;
      if (child == 0 || waitpid(child, &status, WNOHANG) != child) continue;
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed: " << status;
      child = 0;
      ++finished;
    }
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Shared", 0, KEY_READ, &key), ERROR_SUCCESS);
  for (int p = 0; p < kProcesses; ++p) {
    for (DWORD i = 0; i < kValuesEach; ++i) {
      const std::wstring name = L"p" + std::to_wstring(p) + L"v" + std::to_wstring(i);
      DWORD value = 0;
      DWORD size = sizeof value;
      EXPECT_EQ(RegQueryValueExW(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE *>(&value), &size),
                ERROR_SUCCESS)
          << "missing " << p << "/" << i;
      EXPECT_EQ(value, i);
    }
  }
  RegCloseKey(key);
}

}  // namespace
