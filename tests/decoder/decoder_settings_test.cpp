// The decoder's contract as programs see it: the filter's identity and
// pins, both private interfaces called through their raw vtable slots, each
// setting's round trip and refusals, and the identity texts.
#include <oleauto.h>

#include <algorithm>
#include <climits>
#include <regex>
#include <thread>

#include "decoder_fixture.h"

namespace decoder_testing {
namespace {

class DecoderSettingsTest : public DecoderTest {};

// Calls slot n of an interface's vtable with one argument.
template <typename Argument>
HRESULT CallSlot(IUnknown *object, size_t slot, Argument argument) {
  using Method = HRESULT (*)(IUnknown *, Argument);
  void **vtable = *reinterpret_cast<void ***>(object);
  return reinterpret_cast<Method>(vtable[slot])(object, argument);
}

std::wstring TextOf(BSTR text) { return text ? std::wstring(text, SysStringLen(text)) : std::wstring(); }

TEST_F(DecoderSettingsTest, FilterGivesItsClassAndOneInputAndOneOutputPin) {
  CComPtr<IPersist> persist;
  ASSERT_HR(S_OK, decoder_.QueryInterface(&persist));
  CLSID clsid = GUID_NULL;
  EXPECT_HR(S_OK, persist->GetClassID(&clsid));
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_H264Decoder));
  CComPtr<IEnumPins> pins;
  ASSERT_HR(S_OK, decoder_->EnumPins(&pins));
  std::vector<PIN_DIRECTION> directions;
  IPin *pin = nullptr;
  while (pins->Next(1, &pin, nullptr) == S_OK) {
    PIN_DIRECTION direction = PINDIR_INPUT;
    pin->QueryDirection(&direction);
    directions.push_back(direction);
    pin->Release();
  }
  EXPECT_EQ(directions, (std::vector<PIN_DIRECTION>{PINDIR_INPUT, PINDIR_OUTPUT}));
}

TEST_F(DecoderSettingsTest, InterfacesShareTheFiltersIdentity) {
  CComPtr<IDecoderVersion> version;
  ASSERT_HR(S_OK, settings_.QueryInterface(&version));
  CComPtr<IBaseFilter> filter;
  ASSERT_HR(S_OK, version.QueryInterface(&filter));
  EXPECT_TRUE(filter == decoder_);
  CComPtr<IUnknown> fromSettings, fromFilter;
  settings_.QueryInterface(&fromSettings);
  decoder_.QueryInterface(&fromFilter);
  EXPECT_TRUE(fromSettings == fromFilter);
}

TEST_F(DecoderSettingsTest, DefaultsAreSquarePixelsPassedTimesAndOneThreadPerProcessor) {
  BOOL value = 2;
  EXPECT_HR(S_OK, settings_->GetMaintainAspectRatio(&value));
  EXPECT_EQ(value, FALSE);
  EXPECT_HR(S_OK, settings_->GetPassThroughTimeStamps(&value));
  EXPECT_EQ(value, TRUE);
  EXPECT_HR(S_OK, settings_->GetForceOriginalChromaFormat(&value));
  EXPECT_EQ(value, FALSE);
  EXPECT_HR(S_OK, settings_->GetDeblocking(&value));
  EXPECT_EQ(value, TRUE);
  int threads = 0;
  EXPECT_HR(S_OK, settings_->GetThreads(&threads));
  EXPECT_EQ(threads, std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, H264DECODER_MAX_THREADS));
}

// The settings interface's slots after IUnknown: 3/4 deblocking, 5/6 aspect
// ratio, 7/8 time stamps, 9/10 chroma format (set with a DWORD), 11/12
// threads. Each setter is called through its slot and read back through the
// getter's slot.
struct SwitchSlots {
  const char *name;
  size_t set, get;
};

TEST_F(DecoderSettingsTest, SwitchesRoundTripThroughTheirSlots) {
  const SwitchSlots switches[] = {
      {"deblocking", 3, 4}, {"aspect ratio", 5, 6}, {"time stamps", 7, 8}, {"chroma format", 9, 10}};
  for (const SwitchSlots &slots : switches) {
    for (DWORD value : {1u, 0u, 1u}) {
      EXPECT_HR(S_OK, CallSlot<DWORD>(settings_, slots.set, value)) << slots.name << " set to " << value;
      BOOL read = 7;
      EXPECT_HR(S_OK, CallSlot<BOOL *>(settings_, slots.get, &read)) << slots.name;
      EXPECT_EQ(read, static_cast<BOOL>(value)) << slots.name;
    }
  }
}

TEST_F(DecoderSettingsTest, SwitchesRefuseValuesOtherThanZeroAndOne) {
  const SwitchSlots switches[] = {
      {"deblocking", 3, 4}, {"aspect ratio", 5, 6}, {"time stamps", 7, 8}, {"chroma format", 9, 10}};
  for (const SwitchSlots &slots : switches) {
    BOOL before = 7, after = 7;
    CallSlot<BOOL *>(settings_, slots.get, &before);
    for (DWORD value : {2u, 0xFFFFFFFFu, 0x100u}) {
      EXPECT_HR(E_INVALIDARG, CallSlot<DWORD>(settings_, slots.set, value)) << slots.name << " set to " << value;
    }
    CallSlot<BOOL *>(settings_, slots.get, &after);
    EXPECT_EQ(after, before) << slots.name;
    EXPECT_HR(E_POINTER, CallSlot<BOOL *>(settings_, slots.get, nullptr)) << slots.name;
  }
}

struct ThreadCase {
  int set;
  HRESULT result;
  int readBack;  // -1: as before
};

TEST_F(DecoderSettingsTest, ThreadCountRoundTripsThroughSlots11And12) {
  const int automatic = std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, H264DECODER_MAX_THREADS);
  const ThreadCase cases[] = {
      {1, S_OK, 1},  {16, S_OK, 16},          {3, S_OK, 3},           {0, S_OK, automatic},
      {2, S_OK, 2},  {-1, E_INVALIDARG, -1},  {17, E_INVALIDARG, -1}, {INT_MIN, E_INVALIDARG, -1},
      {INT_MAX, E_INVALIDARG, -1},
  };
  int current = 0;
  CallSlot<int *>(settings_, 12, &current);
  for (const ThreadCase &known : cases) {
    EXPECT_HR(known.result, CallSlot<int>(settings_, 11, known.set)) << "set to " << known.set;
    int read = -5;
    EXPECT_HR(S_OK, CallSlot<int *>(settings_, 12, &read));
    EXPECT_EQ(read, known.readBack < 0 ? current : known.readBack) << "after setting " << known.set;
    current = read;
  }
  EXPECT_HR(E_POINTER, settings_->GetThreads(nullptr));
}

TEST_F(DecoderSettingsTest, VersionSlotsGiveTheDecodersIdentity) {
  CComPtr<IDecoderVersion> version;
  ASSERT_HR(S_OK, settings_.QueryInterface(&version));
  DWORD buildType = 7, platform = 7;
  EXPECT_HR(S_OK, CallSlot<DWORD *>(version, 3, &buildType));
  EXPECT_EQ(buildType, static_cast<DWORD>(DECODER_TEST_EXPECTED_BUILD_TYPE));
  EXPECT_HR(S_OK, CallSlot<DWORD *>(version, 4, &platform));
  EXPECT_NE(platform, 0u) << "a 64-bit decoder";
  BSTR name = nullptr, number = nullptr, built = nullptr;
  EXPECT_HR(S_OK, CallSlot<BSTR *>(version, 5, &name));
  EXPECT_HR(S_OK, CallSlot<BSTR *>(version, 6, &number));
  EXPECT_HR(S_OK, CallSlot<BSTR *>(version, 7, &built));
  EXPECT_EQ(TextOf(name), L"Pellonex H264 Decoder");
  EXPECT_EQ(TextOf(number), DECODER_TEST_EXPECTED_VERSION);
  EXPECT_TRUE(std::regex_match(TextOf(built), std::wregex(LR"(20\d\d-[01]\d-[0-3]\d [0-2]\d:[0-5]\d)")))
      << "build date and time";
  SysFreeString(name);
  SysFreeString(number);
  SysFreeString(built);
  EXPECT_HR(E_POINTER, version->GetProductName(nullptr));
  EXPECT_HR(E_POINTER, version->GetBuildType(nullptr));
}

}  // namespace
}  // namespace decoder_testing
