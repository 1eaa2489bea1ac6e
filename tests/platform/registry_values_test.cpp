// Registry values: each type through the text file and back, the size and
// ERROR_MORE_DATA rules, and strings stored as they were set.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "private_registry.h"

namespace {

using testing_support::PrivateRegistry;

std::vector<BYTE> Bytes(const void *data, size_t size) {
  auto *p = static_cast<const BYTE *>(data);
  return std::vector<BYTE>(p, p + size);
}

std::vector<BYTE> WideBytes(std::wstring_view s, size_t characters) {
  return Bytes(s.data(), characters * sizeof(WCHAR));
}

class RegistryValueTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel Test", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
  }
  void TearDown() override { RegCloseKey(key); }

  void Set(const wchar_t *name, DWORD type, const std::vector<BYTE> &data) {
    ASSERT_EQ(RegSetValueExW(key, name, 0, type, data.data(), static_cast<DWORD>(data.size())), ERROR_SUCCESS);
  }

  // The data and type as RegQueryValueExW hands them back through a fresh handle.
  std::vector<BYTE> Query(const wchar_t *name, DWORD *type = nullptr) {
    HKEY reader = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Quorvel Test", 0, KEY_READ, &reader), ERROR_SUCCESS);
    std::vector<BYTE> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    EXPECT_EQ(RegQueryValueExW(reader, name, nullptr, type, data.data(), &size), ERROR_SUCCESS);
    RegCloseKey(reader);
    data.resize(size);
    return data;
  }

  PrivateRegistry registry;
  HKEY key = nullptr;
};

struct RoundTrip {
  const char *label;
  DWORD type;
  std::vector<BYTE> data;
  const char *line;  // as the hive file shows it
};

TEST_F(RegistryValueTest, EachTypeRoundTripsThroughTheTextFile) {
  const DWORD number = 0x1234abcd;
  const unsigned long long big = 0x0102030405060708ULL;
  const RoundTrip cases[] = {
      {"string", REG_SZ, WideBytes(L"C:\\Tools\\\"DS\"", 14), "\"sz\"=\"C:\\\\Tools\\\\\\\"DS\\\"\""},
      {"empty string", REG_SZ, WideBytes(L"", 1), "\"sz\"=\"\""},
      {"expandable", REG_EXPAND_SZ, WideBytes(L"%A%", 4), "\"sz\"=hex(2):25,00,41,00,25,00,00,00"},
      {"dword", REG_DWORD, Bytes(&number, 4), "\"sz\"=dword:1234abcd"},
      {"qword", REG_QWORD, Bytes(&big, 8), "\"sz\"=hex(b):08,07,06,05,04,03,02,01"},
      {"binary", REG_BINARY, {0x00, 0xff, 0x10}, "\"sz\"=hex:00,ff,10"},
      {"empty binary", REG_BINARY, {}, "\"sz\"=hex:"},
      {"multi string", REG_MULTI_SZ, WideBytes(std::wstring(L"a\0b\0\0", 5), 5),
       "\"sz\"=hex(7):61,00,00,00,62,00,00,00,00,00"},
      {"no terminator", REG_SZ, WideBytes(L"ab", 2), "\"sz\"=hex(1):61,00,62,00"},
      {"line break", REG_SZ, WideBytes(L"a\nb", 4), "\"sz\"=hex(1):61,00,0a,00,62,00,00,00"},
      {"non-ASCII", REG_SZ, WideBytes(L"\u00e9\U0001F600", 3), "\"sz\"=\"\xc3\xa9\xf0\x9f\x98\x80\""},
  };
  for (const RoundTrip &c : cases) {
    SCOPED_TRACE(c.label);
    Set(L"sz", c.type, c.data);
    EXPECT_NE(registry.HiveText("HKEY_LOCAL_MACHINE").find(std::string("\n") + c.line + "\n"), std::string::npos)
        << registry.HiveText("HKEY_LOCAL_MACHINE");
    DWORD type = 0;
    EXPECT_EQ(Query(L"sz", &type), c.data);
    EXPECT_EQ(type, c.type);
  }
}

TEST_F(RegistryValueTest, LongHexDataIsWrappedAndReadBack) {
  std::vector<BYTE> data(300);
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<BYTE>(i);
  Set(L"long", REG_BINARY, data);
  const std::string text = registry.HiveText("HKEY_LOCAL_MACHINE");
  EXPECT_NE(text.find(",\\\n  "), std::string::npos) << text;
  EXPECT_EQ(Query(L"long"), data);
}

TEST_F(RegistryValueTest, DefaultValueIsTheUnnamedOne) {
  Set(nullptr, REG_SZ, WideBytes(L"x", 2));
  EXPECT_NE(registry.HiveText("HKEY_LOCAL_MACHINE").find("\n@=\"x\"\n"), std::string::npos);
  EXPECT_EQ(Query(L""), WideBytes(L"x", 2));
}

TEST_F(RegistryValueTest, SizeRules) {
  Set(L"Path", REG_SZ, WideBytes(L"abc", 4));
  const DWORD needed = 4 * sizeof(WCHAR);

  DWORD size = 0;
  DWORD type = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, &type, nullptr, &size), ERROR_SUCCESS) << "size only";
  EXPECT_EQ(size, needed);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

  WCHAR buffer[8];
  wmemset(buffer, L'#', 8);
  size = needed - 1;
  EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, needed) << "the size needed is reported";

  size = needed;
  EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size), ERROR_SUCCESS);
  EXPECT_STREQ(buffer, L"abc");
  EXPECT_EQ(buffer[4], L'#') << "nothing written past the value";

  EXPECT_EQ(RegQueryValueExW(key, L"Path", nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), nullptr),
            ERROR_INVALID_PARAMETER);
  size = sizeof buffer;
  EXPECT_EQ(RegQueryValueExW(key, L"Missing", nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size),
            ERROR_FILE_NOT_FOUND);
}

// Strings come back exactly as stored: hand-edited hex(1): data without a
// terminator or with an odd byte count keeps its shape, so a reader's own
// checks (even size in WCHARs, last character zero) see what Windows would.
struct StoredString {
  const char *label;
  const char *hex;
  DWORD size;           // in bytes of the caller's WCHARs
  bool evenCharacters;  // size % sizeof(WCHAR) == 0
  bool terminated;      // last whole character is 0
};

TEST_F(RegistryValueTest, StringsStoredByHandComeBackAsStored) {
  const StoredString cases[] = {
      {"terminated", "41,00,00,00", 2 * sizeof(WCHAR), true, true},
      {"no terminator", "41,00,42,00", 2 * sizeof(WCHAR), true, false},
      {"odd byte count", "41,00,42", sizeof(WCHAR) + sizeof(WCHAR) / 2, false, false},
      {"empty", "", 0, true, false},
  };
  for (const StoredString &c : cases) {
    SCOPED_TRACE(c.label);
    registry.WriteHive("HKEY_LOCAL_MACHINE",
                       "Windows Registry Editor Version 5.00\n\n[HKEY_LOCAL_MACHINE\\Software\\Quorvel Test]\n"
                       "\"Path\"=hex(1):" +
                           std::string(c.hex) + "\n");
    WCHAR buffer[MAX_PATH];
    DWORD size = sizeof buffer;
    DWORD type = 0;
    ASSERT_EQ(RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, c.size);
    EXPECT_EQ(size % sizeof(WCHAR) == 0, c.evenCharacters);
    if (size >= sizeof(WCHAR)) {
      EXPECT_EQ(buffer[size / sizeof(WCHAR) - 1] == 0, c.terminated);
    }
  }
}

TEST_F(RegistryValueTest, OddSizedStringsRoundTrip) {
  std::vector<BYTE> data = WideBytes(L"AB", 2);
  data.resize(sizeof(WCHAR) + sizeof(WCHAR) / 2);  // 'A' and half of 'B'
  Set(L"odd", REG_SZ, data);
  EXPECT_NE(registry.HiveText("HKEY_LOCAL_MACHINE").find("\"odd\"=hex(1):41,00,42\n"), std::string::npos);
  EXPECT_EQ(Query(L"odd"), data);
}

TEST_F(RegistryValueTest, ExpandableStringsAreNotExpanded) {
  Set(L"Path", REG_EXPAND_SZ, WideBytes(L"%SystemRoot%\\x", 15));
  WCHAR buffer[MAX_PATH];
  DWORD size = sizeof buffer;
  DWORD type = 0;
  ASSERT_EQ(RegQueryValueExW(key, L"Path", nullptr, &type, reinterpret_cast<BYTE *>(buffer), &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_STREQ(buffer, L"%SystemRoot%\\x");
}

TEST_F(RegistryValueTest, DeleteValue) {
  Set(L"gone", REG_DWORD, {1, 0, 0, 0});
  EXPECT_EQ(RegDeleteValueW(key, L"GONE"), ERROR_SUCCESS) << "names ignore case";
  EXPECT_EQ(RegDeleteValueW(key, L"gone"), ERROR_FILE_NOT_FOUND);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"gone", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

}  // namespace
