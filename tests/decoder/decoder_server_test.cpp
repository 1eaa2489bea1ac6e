// The decoder library as an in-process server: what the registration tool
// has it write (the class key with the library's own path, the filter for
// intelligent connect), what it takes away again, and its unloading once
// nothing of it is used.
#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <cstring>

#include "decoder_fixture.h"

namespace decoder_testing {
namespace {

std::wstring KeyText(REFGUID guid) {
  WCHAR text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring ClassKey() { return L"CLSID\\" + KeyText(CLSID_H264Decoder); }

std::wstring FilterKey() {
  return L"CLSID\\" + KeyText(CLSID_LegacyAmFilterCategory) + L"\\Instance\\" + KeyText(CLSID_H264Decoder);
}

// A value below HKEY_CLASSES_ROOT; empty when it is missing.
Bytes ReadValue(const std::wstring &path, const wchar_t *name) {
  Bytes data;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return data;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
    data.resize(size);
    RegQueryValueExW(key, name, nullptr, nullptr, data.data(), &size);
  }
  RegCloseKey(key);
  return data;
}

std::wstring ReadText(const std::wstring &path, const wchar_t *name) {
  const Bytes data = ReadValue(path, name);
  std::wstring text(data.size() / sizeof(WCHAR), L'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(WCHAR));
  return text.c_str();
}

bool KeyExists(const std::wstring &path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

std::wstring FullPath(const std::string &path) {
  char *full = realpath(path.c_str(), nullptr);
  std::wstring wide(full, full + std::strlen(full));
  free(full);
  return wide;
}

DWORD DwordAt(const Bytes &data, size_t offset) {
  DWORD value = 0;
  if (offset + sizeof value <= data.size()) std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

GUID GuidAt(const Bytes &data, size_t offset) {
  GUID value = GUID_NULL;
  if (offset + sizeof value <= data.size()) std::memcpy(&value, data.data() + offset, sizeof value);
  return value;
}

class DecoderServerTest : public DecoderTest {};

TEST_F(DecoderServerTest, RegistersItsClassWithItsOwnPath) {
  EXPECT_EQ(ReadText(ClassKey(), nullptr), L"Pellonex H264 Decoder");
  EXPECT_EQ(ReadText(ClassKey() + L"\\InprocServer32", nullptr), FullPath(DecoderLibrary()));
  EXPECT_EQ(ReadText(ClassKey() + L"\\InprocServer32", L"ThreadingModel"), L"Both");
}

// The filter data: version, merit and pin count, then per pin its flags,
// instances, media type and medium counts, category and media types.
TEST_F(DecoderServerTest, RegistersTheFilterAboveNormalMeritForH264) {
  EXPECT_EQ(ReadText(FilterKey(), L"FriendlyName"), L"Pellonex H264 Decoder");
  EXPECT_EQ(ReadText(FilterKey(), L"CLSID"), KeyText(CLSID_H264Decoder));
  const Bytes data = ReadValue(FilterKey(), L"FilterData");
  ASSERT_GE(data.size(), 12u + 32u + 64u);
  EXPECT_EQ(DwordAt(data, 0), 2u);
  EXPECT_GT(DwordAt(data, 4), static_cast<DWORD>(MERIT_NORMAL));
  EXPECT_EQ(DwordAt(data, 8), 2u) << "pins";
  EXPECT_EQ(DwordAt(data, 12), 0u) << "the first pin is an input";
  EXPECT_EQ(DwordAt(data, 20), 2u) << "media types of the input";
  const size_t types = 12 + 16 + 16;
  EXPECT_TRUE(IsEqualGUID(GuidAt(data, types), MEDIATYPE_Video));
  EXPECT_TRUE(IsEqualGUID(GuidAt(data, types + 16), MEDIASUBTYPE_H264));
  EXPECT_TRUE(IsEqualGUID(GuidAt(data, types + 32), MEDIATYPE_Video));
  EXPECT_TRUE(IsEqualGUID(GuidAt(data, types + 48), MEDIASUBTYPE_AVC1));
}

TEST_F(DecoderServerTest, UnregisteringRemovesClassAndFilter) {
  ASSERT_TRUE(KeyExists(ClassKey()));
  ASSERT_TRUE(KeyExists(FilterKey()));
  EXPECT_EQ(RunRegistrationTool({"/u", DecoderLibrary()}), 0);
  EXPECT_FALSE(KeyExists(ClassKey()));
  EXPECT_FALSE(KeyExists(FilterKey()));
}

bool IsLoaded(const std::string &library) {
  void *handle = dlopen(library.c_str(), RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

TEST_F(DecoderServerTest, LibraryIsUnloadedOnceNothingOfItIsUsed) {
  ASSERT_TRUE(IsLoaded(DecoderLibrary()));
  graph_->RemoveFilter(decoder_);
  settings_.Release();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(DecoderLibrary())) << "the filter still lives";
  decoder_.Release();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(DecoderLibrary()));
}

}  // namespace
}  // namespace decoder_testing
