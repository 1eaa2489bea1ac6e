// The filter mapper (CLSID_FilterMapper2): what RegisterFilter writes, which
// filters EnumMatchingFilters finds and in which order, the monikers it
// gives, categories, and registrations whose data cannot be read.
#include <dshow.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "media/filter_data.h"
#include "registered_filters.h"
#include "test_filters.h"

namespace {

using media_testing::CComPtr;

// A major type and subtypes of the tests' own, which no other filter takes.
constexpr GUID kMajorX = {0x7E0A1B2C, 0x3D4E, 0x4F50, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF8}};
constexpr GUID kSubtypeA = {0x7E0A1B2C, 0x3D4E, 0x4F50, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0x0A}};
constexpr GUID kSubtypeB = {0x7E0A1B2C, 0x3D4E, 0x4F50, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0x0B}};
constexpr GUID kSubtypeC = {0x7E0A1B2C, 0x3D4E, 0x4F50, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0x0C}};

CLSID TestClass(BYTE last) { return {0x7E0A1B2C, 0x3D4E, 0x4F50, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xF0, last}}; }

const REGPINTYPES kXA[] = {{&kMajorX, &kSubtypeA}};
const REGPINTYPES kXAny[] = {{&kMajorX, nullptr}};
const REGPINTYPES kXB[] = {{&kMajorX, &kSubtypeB}};

std::wstring KeyText(REFGUID guid) {
  WCHAR text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring InstanceKey(REFCLSID category, const std::wstring &instance) {
  return L"CLSID\\" + KeyText(category) + L"\\Instance\\" + instance;
}

std::vector<BYTE> ReadBinary(const std::wstring &path, const wchar_t *name) {
  std::vector<BYTE> data;
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

void WriteValue(const std::wstring &path, const wchar_t *name, DWORD type, const void *data, DWORD size) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, name, 0, type, static_cast<const BYTE *>(data), size);
  RegCloseKey(key);
}

void WriteString(const std::wstring &path, const wchar_t *name, const std::wstring &text) {
  WriteValue(path, name, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

std::wstring ReadProperty(IMoniker *moniker, const wchar_t *name) {
  CComPtr<IPropertyBag> bag;
  if (FAILED(moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void **>(&bag)))) return L"";
  VARIANT value;
  VariantInit(&value);
  std::wstring text;
  if (SUCCEEDED(bag->Read(name, &value, nullptr)) && value.vt == VT_BSTR) text = value.bstrVal;
  VariantClear(&value);
  return text;
}

struct Query {
  BOOL exact = FALSE;
  DWORD merit = 0;
  std::vector<GUID> inputTypes{};  // pairs
  BOOL render = FALSE;
  BOOL outputNeeded = FALSE;
  std::vector<GUID> outputTypes{};  // pairs
};

class FilterMapperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_HR(S_OK, CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                     reinterpret_cast<void **>(&mapper_)));
  }

  HRESULT Register(BYTE id, const wchar_t *name, DWORD merit, std::vector<REGFILTERPINS2> pins,
                   const CLSID *category = nullptr) {
    const REGFILTER2 registration = platform::media::FilterRegistration(merit, pins);
    return mapper_->RegisterFilter(TestClass(id), name, nullptr, category, nullptr, &registration);
  }

  // The names of the monikers found, in their order.
  std::vector<std::wstring> Find(const Query &query) {
    CComPtr<IEnumMoniker> found;
    const HRESULT hr = mapper_->EnumMatchingFilters(
        &found, 0, query.exact, query.merit, !query.inputTypes.empty(), static_cast<DWORD>(query.inputTypes.size() / 2),
        query.inputTypes.data(), nullptr, nullptr, query.render, query.outputNeeded,
        static_cast<DWORD>(query.outputTypes.size() / 2), query.outputTypes.data(), nullptr, nullptr);
    EXPECT_HR(S_OK, hr);
    std::vector<std::wstring> names;
    for (CComPtr<IMoniker> moniker; found && found->Next(1, &moniker, nullptr) == S_OK; moniker.Release()) {
      names.push_back(ReadProperty(moniker, L"FriendlyName"));
    }
    return names;
  }

  media_testing::RegisteredFilters registered_;
  CComPtr<IFilterMapper2> mapper_;
};

using Names = std::vector<std::wstring>;

TEST_F(FilterMapperTest, RegisterFilterWritesNameClassAndFilterData) {
  const REGFILTERPINS2 pins[] = {platform::media::FilterPin(0, kXA),
                                 platform::media::FilterPin(REG_PINFLAG_B_OUTPUT, kXB)};
  ASSERT_HR(S_OK, Register(1, L"Mapper Test", MERIT_UNLIKELY, {pins[0], pins[1]}));
  const std::wstring key = InstanceKey(CLSID_LegacyAmFilterCategory, KeyText(TestClass(1)));
  const std::vector<BYTE> bytes = ReadBinary(key, L"FilterData");
  const std::optional<platform::media::FilterData> data = platform::media::DecodeFilterData(bytes);
  ASSERT_TRUE(data) << "FilterData of " << bytes.size() << " bytes";
  EXPECT_EQ(data->merit, DWORD{MERIT_UNLIKELY});
  ASSERT_EQ(data->pins.size(), 2u);
  EXPECT_FALSE(data->pins[0].IsOutput());
  EXPECT_TRUE(data->pins[1].IsOutput());
  ASSERT_EQ(data->pins[1].types.size(), 1u);
  EXPECT_TRUE(IsEqualGUID(data->pins[1].types[0].subtype, kSubtypeB));
  EXPECT_EQ(ReadBinary(key, L"CLSID").size(), (KeyText(TestClass(1)).size() + 1) * sizeof(WCHAR));
}

TEST_F(FilterMapperTest, ACategoryAndAnInstanceNameMayBeGiven) {
  const CLSID category = TestClass(0xC0);
  const REGFILTER2 registration = platform::media::FilterRegistration(MERIT_NORMAL, {});
  CComPtr<IMoniker> moniker;
  ASSERT_HR(S_OK,
            mapper_->RegisterFilter(TestClass(2), L"Named Instance", &moniker, &category, L"Second", &registration));
  EXPECT_FALSE(ReadBinary(InstanceKey(category, L"Second"), L"FilterData").empty());
  ASSERT_TRUE(moniker);
  EXPECT_EQ(ReadProperty(moniker, L"FriendlyName"), L"Named Instance");
  EXPECT_HR(S_OK, mapper_->UnregisterFilter(&category, L"Second", TestClass(2)));
  EXPECT_TRUE(ReadBinary(InstanceKey(category, L"Second"), L"FilterData").empty());
}

TEST_F(FilterMapperTest, VersionOneRegistrationsKeepTheirPinFlags) {
  const REGFILTERPINS pins[] = {
      {nullptr, TRUE, FALSE, FALSE, TRUE, nullptr, nullptr, 1, kXA},
      {nullptr, FALSE, TRUE, TRUE, FALSE, nullptr, nullptr, 1, kXB},
  };
  REGFILTER2 registration{};
  registration.dwVersion = 1;
  registration.dwMerit = MERIT_NORMAL;
  registration.cPins = 2;
  registration.rgPins = pins;
  ASSERT_HR(S_OK, mapper_->RegisterFilter(TestClass(3), L"Version One", nullptr, nullptr, nullptr, &registration));
  const auto data = platform::media::DecodeFilterData(
      ReadBinary(InstanceKey(CLSID_LegacyAmFilterCategory, KeyText(TestClass(3))), L"FilterData"));
  ASSERT_TRUE(data);
  ASSERT_EQ(data->pins.size(), 2u);
  EXPECT_EQ(data->pins[0].flags, DWORD{REG_PINFLAG_B_RENDERER | REG_PINFLAG_B_MANY});
  EXPECT_EQ(data->pins[1].flags, DWORD{REG_PINFLAG_B_OUTPUT | REG_PINFLAG_B_ZERO});
  registration.dwVersion = 3;
  EXPECT_HR(E_INVALIDARG,
            mapper_->RegisterFilter(TestClass(4), L"Version Three", nullptr, nullptr, nullptr, &registration));
}

TEST_F(FilterMapperTest, FindsTheBestMeritFirstAndNoneBelowTheMinimum) {
  const REGFILTERPINS2 input = platform::media::FilterPin(0, kXA);
  ASSERT_HR(S_OK, Register(1, L"Unlikely", MERIT_UNLIKELY, {input}));
  ASSERT_HR(S_OK, Register(2, L"Preferred", MERIT_PREFERRED, {input}));
  ASSERT_HR(S_OK, Register(3, L"Normal", MERIT_NORMAL, {input}));
  ASSERT_HR(S_OK, Register(4, L"Do not use", MERIT_DO_NOT_USE, {input}));
  EXPECT_EQ(Find({.inputTypes = {kMajorX, kSubtypeA}}), (Names{L"Preferred", L"Normal", L"Unlikely", L"Do not use"}));
  EXPECT_EQ(Find({.merit = MERIT_NORMAL, .inputTypes = {kMajorX, kSubtypeA}}), (Names{L"Preferred", L"Normal"}));
  EXPECT_EQ(Find({.merit = MERIT_DO_NOT_USE + 1, .inputTypes = {kMajorX, kSubtypeA}}),
            (Names{L"Preferred", L"Normal", L"Unlikely"}));
}

struct MatchCase {
  const char *name;
  Query query;
  Names expected;
};

// Three filters: "Exact" takes X/A and gives X/B, "Wildcard" takes any X
// (registered with no subtype) and gives X/B, "Renderer" renders X/A.
TEST_F(FilterMapperTest, MatchesPinsByTypeWildcardRendererAndOutput) {
  using platform::media::FilterPin;
  ASSERT_HR(S_OK, Register(1, L"Exact", MERIT_PREFERRED, {FilterPin(0, kXA), FilterPin(REG_PINFLAG_B_OUTPUT, kXB)}));
  ASSERT_HR(S_OK, Register(2, L"Wildcard", MERIT_NORMAL, {FilterPin(0, kXAny), FilterPin(REG_PINFLAG_B_OUTPUT, kXB)}));
  ASSERT_HR(S_OK, Register(3, L"Renderer", MERIT_UNLIKELY, {FilterPin(REG_PINFLAG_B_RENDERER, kXA)}));
  // The library's filters that are never to be used take anything; they stay below kLowest.
  constexpr DWORD kLowest = MERIT_UNLIKELY;
  const MatchCase cases[] = {
      {"input X/A", {.merit = kLowest, .inputTypes = {kMajorX, kSubtypeA}}, {L"Exact", L"Wildcard", L"Renderer"}},
      {"input X/A, exact",
       {.exact = TRUE, .merit = kLowest, .inputTypes = {kMajorX, kSubtypeA}},
       {L"Exact", L"Renderer"}},
      {"input X/C", {.merit = kLowest, .inputTypes = {kMajorX, kSubtypeC}}, {L"Wildcard"}},
      {"input X/C, exact", {.exact = TRUE, .merit = kLowest, .inputTypes = {kMajorX, kSubtypeC}}, {}},
      {"input X/any", {.merit = kLowest, .inputTypes = {kMajorX, GUID_NULL}}, {L"Exact", L"Wildcard", L"Renderer"}},
      {"input X/C or X/A",
       {.merit = kLowest, .inputTypes = {kMajorX, kSubtypeC, kMajorX, kSubtypeA}},
       {L"Exact", L"Wildcard", L"Renderer"}},
      {"rendering X/A", {.merit = kLowest, .inputTypes = {kMajorX, kSubtypeA}, .render = TRUE}, {L"Renderer"}},
      {"X/A with an output",
       {.merit = kLowest, .inputTypes = {kMajorX, kSubtypeA}, .outputNeeded = TRUE},
       {L"Exact", L"Wildcard"}},
      {"giving X/B",
       {.merit = kLowest, .outputNeeded = TRUE, .outputTypes = {kMajorX, kSubtypeB}},
       {L"Exact", L"Wildcard"}},
      {"giving X/A", {.merit = kLowest, .outputNeeded = TRUE, .outputTypes = {kMajorX, kSubtypeA}}, {}},
  };
  for (const auto &match : cases) EXPECT_EQ(Find(match.query), match.expected) << match.name;
}

TEST_F(FilterMapperTest, MonikersBindToTheFilterAndReadItsKey) {
  const GUID rgb32[] = {MEDIATYPE_Video, MEDIASUBTYPE_RGB32};
  CComPtr<IEnumMoniker> found;
  ASSERT_HR(S_OK, mapper_->EnumMatchingFilters(&found, 0, TRUE, MERIT_PREFERRED + 1, TRUE, 1, rgb32, nullptr,
                                               nullptr, TRUE, FALSE, 0, nullptr, nullptr, nullptr));
  CComPtr<IMoniker> moniker;
  ASSERT_HR(S_OK, found->Next(1, &moniker, nullptr));
  EXPECT_EQ(ReadProperty(moniker, L"FriendlyName"), L"Recording Renderer");
  EXPECT_EQ(ReadProperty(moniker, L"CLSID"), KeyText(test_filters::kRecordingRendererClass));
  LPOLESTR displayName = nullptr;
  ASSERT_HR(S_OK, moniker->GetDisplayName(nullptr, nullptr, &displayName));
  EXPECT_EQ(std::wstring(displayName), L"@device:sw:" + KeyText(CLSID_LegacyAmFilterCategory) + L"\\" +
                                           KeyText(test_filters::kRecordingRendererClass));
  CoTaskMemFree(displayName);
  CComPtr<IBaseFilter> filter;
  ASSERT_HR(S_OK, moniker->BindToObject(nullptr, nullptr, IID_IBaseFilter, reinterpret_cast<void **>(&filter)));
  CLSID clsid{};
  filter->GetClassID(&clsid);
  EXPECT_TRUE(IsEqualCLSID(clsid, test_filters::kRecordingRendererClass));

  CComPtr<IPropertyBag> bag;
  ASSERT_HR(S_OK, moniker->BindToStorage(nullptr, nullptr, IID_IPropertyBag, reinterpret_cast<void **>(&bag)));
  VARIANT value;
  VariantInit(&value);
  EXPECT_HR(E_INVALIDARG, bag->Read(L"NoSuchProperty", &value, nullptr));
  value.vt = VT_I4;
  EXPECT_HR(DISP_E_TYPEMISMATCH, bag->Read(L"FriendlyName", &value, nullptr));
  moniker.Release();
  EXPECT_HR(S_FALSE, found->Next(1, &moniker, nullptr)) << "one renderer of RGB32 video is registered above the platform's";
}

TEST_F(FilterMapperTest, UnregisteringTwiceSaysTheFilterIsGone) {
  ASSERT_HR(S_OK, Register(1, L"Once", MERIT_NORMAL, {platform::media::FilterPin(0, kXA)}));
  EXPECT_HR(S_OK, mapper_->UnregisterFilter(nullptr, nullptr, TestClass(1)));
  EXPECT_EQ(Find({.inputTypes = {kMajorX, kSubtypeA}}), Names{});
  EXPECT_HR(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), mapper_->UnregisterFilter(nullptr, nullptr, TestClass(1)));
}

TEST_F(FilterMapperTest, CategoriesOfLowMeritAreLeftOutWhenTheMinimumIsAboveDoNotUse) {
  const CLSID hidden = TestClass(0xC1);
  const CLSID shown = TestClass(0xC2);
  ASSERT_HR(S_OK, mapper_->CreateCategory(hidden, MERIT_DO_NOT_USE, L"Hidden filters"));
  ASSERT_HR(S_OK, mapper_->CreateCategory(shown, MERIT_NORMAL, L"Shown filters"));
  const REGFILTERPINS2 input = platform::media::FilterPin(0, kXA);
  ASSERT_HR(S_OK, Register(1, L"In hidden", MERIT_PREFERRED, {input}, &hidden));
  ASSERT_HR(S_OK, Register(2, L"In shown", MERIT_NORMAL, {input}, &shown));
  EXPECT_EQ(Find({.merit = MERIT_DO_NOT_USE + 1, .inputTypes = {kMajorX, kSubtypeA}}), Names{L"In shown"});
  EXPECT_EQ(Find({.inputTypes = {kMajorX, kSubtypeA}}), (Names{L"In hidden", L"In shown"}));
}

struct CorruptCase {
  const char *name;
  std::vector<BYTE> data;
};

std::vector<BYTE> Bytes(std::initializer_list<DWORD> words) {
  std::vector<BYTE> bytes;
  for (DWORD word : words) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<BYTE>(word >> shift));
  }
  return bytes;
}

// A registration that cannot be read is passed over: the filters around it
// are still found, by the mapper and by intelligent connect.
TEST_F(FilterMapperTest, FiltersWhoseRegistrationCannotBeReadAreSkipped) {
  ASSERT_HR(S_OK, Register(1, L"Good", MERIT_NORMAL, {platform::media::FilterPin(0, kXA)}));
  const std::vector<BYTE> good =
      ReadBinary(InstanceKey(CLSID_LegacyAmFilterCategory, KeyText(TestClass(1))), L"FilterData");
  std::vector<BYTE> trailing = good;
  trailing.push_back(0);
  const std::vector<BYTE> truncated(good.begin(), good.end() - 1);
  const CorruptCase cases[] = {
      {"empty", {}},
      {"shorter than its header", {2, 0, 0}},
      {"another version", Bytes({1, MERIT_PREFERRED, 0})},
      {"more pins than bytes", Bytes({2, MERIT_PREFERRED, 0xFFFFFFFF})},
      {"more media types than bytes", Bytes({2, MERIT_PREFERRED, 1, 0, 1, 0x10000000, 0, 0, 0, 0, 0})},
      {"a byte missing", truncated},
      {"a byte left over", trailing},
  };
  const std::wstring corruptKey = InstanceKey(CLSID_LegacyAmFilterCategory, L"Corrupt");
  WriteString(corruptKey, L"FriendlyName", L"Corrupt");
  WriteString(corruptKey, L"CLSID", KeyText(TestClass(2)));
  for (const auto &corrupt : cases) {
    WriteValue(corruptKey, L"FilterData", REG_BINARY, corrupt.data.data(), static_cast<DWORD>(corrupt.data.size()));
    EXPECT_EQ(Find({.inputTypes = {kMajorX, kSubtypeA}}), Names{L"Good"}) << corrupt.name;
  }
  // Good data under a key whose class cannot be read.
  WriteValue(corruptKey, L"FilterData", REG_BINARY, good.data(), static_cast<DWORD>(good.size()));
  WriteString(corruptKey, L"CLSID", L"not a class");
  EXPECT_EQ(Find({.inputTypes = {kMajorX, kSubtypeA}}), Names{L"Good"}) << "no class";
  WriteString(corruptKey, L"CLSID", KeyText(TestClass(2)));
  Names repaired = Find({.inputTypes = {kMajorX, kSubtypeA}});
  std::sort(repaired.begin(), repaired.end());
  EXPECT_EQ(repaired, (Names{L"Corrupt", L"Good"})) << "repaired";
}

}  // namespace
