// The resource loader: the .res format, resource lookup with its language
// fallback and errors, and LoadStringW, pinned on the program's own compiled
// resources (embedded in this test program) and on hand-built images.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "../../console/resource.h"
#include "loader/modules.h"
#include "resources/res_file.h"
#include "resources/string_table.h"

namespace {

using platform::resources::FindResourceEntry;
using platform::resources::NameFromResourceId;
using platform::resources::NameOrOrdinal;
using platform::resources::ParseResFile;
using platform::resources::ResourceEntry;

constexpr LANGID kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::span<const uint8_t> ProgramResources() {
  return platform::loader::ModuleResources(GetModuleHandleW(nullptr));
}

// Writes .res entries: header fields little-endian, names as ordinals or
// UTF-16 strings, headers and data DWORD-aligned.
class ResWriter {
 public:
  ResWriter() { Entry(Ordinal(0), Ordinal(0), 0, {}); }  // the empty first entry

  static std::vector<uint8_t> Ordinal(WORD id) { return {0xFF, 0xFF, LOBYTE(id), HIBYTE(id)}; }
  static std::vector<uint8_t> Text(const std::u16string &text) {
    std::vector<uint8_t> bytes;
    for (char16_t c : text + u'\0') bytes.insert(bytes.end(), {LOBYTE(c), HIBYTE(c)});
    return bytes;
  }

  ResWriter &Entry(const std::vector<uint8_t> &type, const std::vector<uint8_t> &name, LANGID language,
                   const std::string &data) {
    std::vector<uint8_t> names = type;
    names.insert(names.end(), name.begin(), name.end());
    while (names.size() % 4) names.push_back(0);
    Dword(static_cast<DWORD>(data.size()));
    Dword(static_cast<DWORD>(8 + names.size() + 16));
    m_bytes.insert(m_bytes.end(), names.begin(), names.end());
    Dword(0);                                              // data version
    m_bytes.insert(m_bytes.end(), {0x30, 0x10, LOBYTE(language), HIBYTE(language)});  // flags, language
    Dword(0);                                              // version
    Dword(0);                                              // characteristics
    m_bytes.insert(m_bytes.end(), data.begin(), data.end());
    while (m_bytes.size() % 4) m_bytes.push_back(0);
    return *this;
  }

  std::vector<uint8_t> Bytes() const { return m_bytes; }

 private:
  void Dword(DWORD value) {
    for (int i = 0; i < 4; ++i) m_bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
  }
  std::vector<uint8_t> m_bytes;
};

// ---- The .res format ----

TEST(ResFile, ProgramTableListsEveryResourceOfTheScript) {
  struct Expected {
    WORD type, name;
  };
  const Expected expected[] = {{3, 1}, {3, 2}, {3, 3}, {3, 4}, {3, 5}, {3, 6}, {3, 7},
                               {5, IDD_MAIN_DIALOG}, {6, IDS_APP_NAME / 16 + 1}, {14, IDI_QUORVEL}, {24, 1}};
  std::vector<ResourceEntry> entries;
  ASSERT_TRUE(ParseResFile(ProgramResources(), entries));
  ASSERT_EQ(entries.size(), std::size(expected));
  for (size_t i = 0; i < entries.size(); ++i) {
    EXPECT_EQ(entries[i].type.ordinal, expected[i].type) << "entry " << i;
    EXPECT_EQ(entries[i].name.ordinal, expected[i].name) << "entry " << i;
    EXPECT_EQ(entries[i].language, kEnglishUs) << "entry " << i << ": got 0x" << std::hex << entries[i].language;
  }
}

TEST(ResFile, ReadsStringNamesAndUnpaddedData) {
  auto bytes = ResWriter()
                   .Entry(ResWriter::Text(u"QUORVELDATA"), ResWriter::Text(u"CLIP"), kEnglishUs, "abc")
                   .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(7), 0, "hello")
                   .Bytes();
  std::vector<ResourceEntry> entries;
  ASSERT_TRUE(ParseResFile(bytes, entries));
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].type.text, L"QUORVELDATA");
  EXPECT_EQ(entries[0].name.text, L"CLIP");
  EXPECT_EQ(std::string(entries[0].data.begin(), entries[0].data.end()), "abc");
  EXPECT_EQ(entries[1].type.ordinal, 10);
  EXPECT_EQ(std::string(entries[1].data.begin(), entries[1].data.end()), "hello");
  // The last entry's padding may be missing.
  bytes.resize(bytes.size() - 3);
  EXPECT_TRUE(ParseResFile(bytes, entries));
  EXPECT_EQ(entries.size(), 2u);
}

TEST(ResFile, RejectsMalformedHeaders) {
  const auto good = ResWriter().Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(1), 0, "data").Bytes();
  auto headerTooSmall = good;
  headerTooSmall[32 + 4] = 4;
  auto dataPastTheEnd = good;
  dataPastTheEnd[32] = 200;
  std::vector<ResourceEntry> entries;
  EXPECT_TRUE(ParseResFile(good, entries));
  EXPECT_FALSE(ParseResFile(headerTooSmall, entries));
  EXPECT_FALSE(ParseResFile(dataPastTheEnd, entries));
}

// Cut anywhere, the image either fails or gives the whole entries before the
// cut (a cut in the last padding loses nothing); it never reads past the end
// (the sanitizer build checks that).
TEST(ResFile, TruncatedImageNeverReadsPastTheEnd) {
  std::span<const uint8_t> image = ProgramResources();
  std::vector<ResourceEntry> whole;
  ASSERT_TRUE(ParseResFile(image, whole));
  for (size_t size = 0; size < image.size(); ++size) {
    std::vector<uint8_t> cut(image.begin(), image.begin() + static_cast<ptrdiff_t>(size));
    std::vector<ResourceEntry> entries;
    if (!ParseResFile(cut, entries)) continue;
    ASSERT_LE(entries.size(), whole.size()) << "cut at " << size;
    for (size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i].data.size(), whole[i].data.size()) << "cut at " << size << ", entry " << i;
    }
  }
}

// ---- Lookup ----

TEST(FindResourceEntry, FallsBackFromExactToNeutralToAnyLanguage) {
  const auto bytes = ResWriter()
                         .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(1), 0x0407, "de-DE")
                         .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(1), 0x0409, "en-US")
                         .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(1), 0x0009, "en")
                         .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(1), 0x0000, "neutral")
                         .Entry(ResWriter::Ordinal(10), ResWriter::Ordinal(2), 0x0407, "only de-DE")
                         .Bytes();
  std::vector<ResourceEntry> entries;
  ASSERT_TRUE(ParseResFile(bytes, entries));
  struct Case {
    WORD name;
    LANGID language;
    const char *expected;
  };
  const Case cases[] = {
      {1, 0x0409, "en-US"},   {1, 0x0407, "de-DE"}, {1, 0x0809, "en"},
      {1, 0x040C, "neutral"}, {1, 0x0000, "neutral"}, {2, 0x0409, "only de-DE"},
  };
  for (const Case &c : cases) {
    DWORD error = 0;
    const ResourceEntry *found = FindResourceEntry(entries, NameFromResourceId(MAKEINTRESOURCEW(10)),
                                                   NameFromResourceId(MAKEINTRESOURCEW(c.name)), c.language, error);
    ASSERT_NE(found, nullptr) << "name " << c.name << ", language 0x" << std::hex << c.language;
    EXPECT_EQ(std::string(found->data.begin(), found->data.end()), c.expected)
        << "name " << c.name << ", language 0x" << std::hex << c.language;
  }
}

TEST(FindResourceEntry, NamesIgnoreCaseAndHashDigitsNameAnOrdinal) {
  const auto bytes = ResWriter()
                         .Entry(ResWriter::Text(u"CLIPS"), ResWriter::Text(u"INTRO"), 0, "intro")
                         .Entry(ResWriter::Text(u"CLIPS"), ResWriter::Ordinal(42), 0, "forty-two")
                         .Entry(ResWriter::Text(u"CLIPS"), ResWriter::Text(u"#X"), 0, "hash text")
                         .Bytes();
  std::vector<ResourceEntry> entries;
  ASSERT_TRUE(ParseResFile(bytes, entries));
  struct Case {
    const wchar_t *type, *name;
    const char *expected;
  };
  const Case cases[] = {{L"clips", L"intro", "intro"}, {L"Clips", L"#42", "forty-two"}, {L"CLIPS", L"#x", "hash text"}};
  for (const Case &c : cases) {
    DWORD error = 0;
    const ResourceEntry *found =
        FindResourceEntry(entries, NameFromResourceId(c.type), NameFromResourceId(c.name), 0, error);
    ASSERT_NE(found, nullptr) << c.name;
    EXPECT_EQ(std::string(found->data.begin(), found->data.end()), c.expected);
  }
}

TEST(FindResourceW, FindsTheProgramsDialogInItsOwnModule) {
  HMODULE program = GetModuleHandleW(nullptr);
  HRSRC dialog = FindResourceW(program, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), RT_DIALOG);
  ASSERT_NE(dialog, nullptr) << "last error " << GetLastError();
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), RT_DIALOG), dialog);
  EXPECT_EQ(FindResourceW(program, L"#102", RT_DIALOG), dialog);
  EXPECT_EQ(FindResourceExW(program, RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), kEnglishUs), dialog);
  EXPECT_EQ(FindResourceExW(program, RT_DIALOG, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), 0x0407), dialog)
      << "German falls back to the only language there is";

  HGLOBAL loaded = LoadResource(program, dialog);
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(LockResource(loaded), loaded);
  EXPECT_EQ(platform::loader::ModuleContaining(loaded), program) << "resource data lies in the module's image";
  EXPECT_GT(SizeofResource(program, dialog), 0u);
}

TEST(FindResourceW, FailuresSetTheWindowsErrorCodes) {
  HMODULE program = GetModuleHandleW(nullptr);
  HMODULE platformLibrary = platform::loader::ModuleContaining(reinterpret_cast<const void *>(&FindResourceW));
  ASSERT_NE(platformLibrary, program);
  struct Case {
    const char *what;
    HMODULE module;
    LPCWSTR name, type;
    DWORD error;
  };
  const Case cases[] = {
      {"type not in the module", program, MAKEINTRESOURCEW(1), RT_BITMAP, ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"string type not in the module", program, MAKEINTRESOURCEW(1), L"CLIPS", ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"dialog id not in the module", program, MAKEINTRESOURCEW(999), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"dialog name not in the module", program, L"MAIN", RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"module without resources", platformLibrary, MAKEINTRESOURCEW(IDD_MAIN_DIALOG), RT_DIALOG,
       ERROR_RESOURCE_DATA_NOT_FOUND},
      {"handle of no module", reinterpret_cast<HMODULE>(0x10000), MAKEINTRESOURCEW(IDD_MAIN_DIALOG), RT_DIALOG,
       ERROR_RESOURCE_DATA_NOT_FOUND},
  };
  for (const Case &c : cases) {
    SetLastError(0);
    EXPECT_EQ(FindResourceW(c.module, c.name, c.type), nullptr) << c.what;
    EXPECT_EQ(GetLastError(), c.error) << c.what << ": got " << GetLastError() << ", expected " << c.error;
  }
}

TEST(FindResourceW, ManifestRunsAsInvokerWithoutCommonControlsDependency) {
  HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_MANIFEST);
  ASSERT_NE(resource, nullptr) << "last error " << GetLastError();
  const char *bytes = static_cast<const char *>(LockResource(LoadResource(nullptr, resource)));
  const std::string manifest(bytes, SizeofResource(nullptr, resource));
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos)
      << manifest;
  EXPECT_EQ(manifest.find("Common-Controls"), std::string::npos) << manifest;
}

// ---- Strings ----

TEST(LoadStringW, CopiesTheProgramName) {
  wchar_t buffer[64];
  EXPECT_EQ(LoadStringW(GetModuleHandleW(nullptr), IDS_APP_NAME, buffer, 64), 7);
  EXPECT_STREQ(buffer, L"Quorvel");
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, buffer, 64), 7) << "a null instance is the program";
}

TEST(LoadStringW, ZeroSizedBufferReceivesReadOnlyPointer) {
  LPCWSTR text = nullptr;
  EXPECT_EQ(LoadStringW(nullptr, IDS_APP_NAME, reinterpret_cast<LPWSTR>(&text), 0), 7);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(std::wstring(text, 7), L"Quorvel");
  LPCWSTR again = nullptr;
  LoadStringW(nullptr, IDS_APP_NAME, reinterpret_cast<LPWSTR>(&again), 0);
  EXPECT_EQ(again, text) << "the same resource text both times";
}

TEST(LoadStringW, CutsTheStringToFitTheBuffer) {
  struct Case {
    int size;
    const wchar_t *expected;
  };
  const Case cases[] = {{1, L""}, {2, L"Q"}, {4, L"Quo"}, {7, L"Quorve"}, {8, L"Quorvel"}};
  for (const Case &c : cases) {
    wchar_t buffer[16];
    wmemset(buffer, L'#', 16);
    const int copied = LoadStringW(nullptr, IDS_APP_NAME, buffer, c.size);
    EXPECT_EQ(copied, static_cast<int>(wcslen(c.expected))) << "buffer of " << c.size;
    EXPECT_STREQ(buffer, c.expected) << "buffer of " << c.size;
    EXPECT_EQ(buffer[c.size], L'#') << "nothing written past a buffer of " << c.size;
  }
}

TEST(LoadStringW, MissingStringGivesZeroAndAnEmptyBuffer) {
  for (UINT id : {IDS_APP_NAME + 1u, 5000u}) {
    wchar_t buffer[8] = L"stale";
    SetLastError(0);
    EXPECT_EQ(LoadStringW(nullptr, id, buffer, 8), 0) << "id " << id;
    EXPECT_STREQ(buffer, L"") << "id " << id;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND)) << "id " << id;
  }
}

TEST(StringBlock, DecodesSurrogatePairsAndRejectsTruncation) {
  // Entry 0 empty, entry 1 "a" + U+1F3AC as a surrogate pair, entries 2..15 empty.
  std::vector<uint8_t> block = {0, 0, 3, 0, 'a', 0, 0x3C, 0xD8, 0xAC, 0xDF};
  block.resize(block.size() + 14 * 2, 0);
  platform::resources::StringBlock strings;
  ASSERT_TRUE(platform::resources::ParseStringBlock(block, strings));
  EXPECT_EQ(strings[1], L"a\U0001F3AC");
  block.pop_back();
  EXPECT_FALSE(platform::resources::ParseStringBlock(block, strings));
}

}  // namespace
