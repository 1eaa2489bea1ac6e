// A filter library as an in-process server (platform_filters/filter_server.h),
// tried on the test filter library: what its DllRegisterServer writes, its
// filters made through CoCreateInstance in their default configuration,
// what keeps it loaded, and what DllUnregisterServer takes away.
#include <dshow.h>

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "registered_filters.h"
#include "test_filters.h"

namespace {

using media_testing::CallServerEntry;
using media_testing::CComPtr;

std::wstring KeyText(REFGUID guid) {
  WCHAR text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

// A value below HKEY_CLASSES_ROOT; the type is REG_NONE when it is missing.
struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  std::wstring Text() const { return std::wstring(reinterpret_cast<const WCHAR *>(data.data())); }
};

RegistryValue ReadValue(const std::wstring &path, const wchar_t *name) {
  RegistryValue value;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return value;
  DWORD size = 0;
  if (RegQueryValueExW(key, name, nullptr, &value.type, nullptr, &size) == ERROR_SUCCESS) {
    value.data.resize(size + sizeof(WCHAR));
    RegQueryValueExW(key, name, nullptr, &value.type, value.data.data(), &size);
  }
  RegCloseKey(key);
  return value;
}

std::wstring FilterKey(REFCLSID clsid) {
  return L"CLSID\\" + KeyText(CLSID_LegacyAmFilterCategory) + L"\\Instance\\" + KeyText(clsid);
}

std::wstring LibraryPath() {
  char *path = realpath(QUORVEL_MEDIA_TEST_FILTERS, nullptr);
  std::wstring wide(path, path + std::strlen(path));
  free(path);
  return wide;
}

struct ServedClass {
  const CLSID *clsid;
  const wchar_t *name;
  ULONG pins;  // in the default configuration
};

const ServedClass kServedClasses[] = {
    {&test_filters::kNumberedSourceClass, L"Numbered Source", 1},
    {&test_filters::kPassThroughClass, L"Pass-through Transform", 2},
    {&test_filters::kRecordingRendererClass, L"Recording Renderer", 1},
};

ULONG PinCount(IBaseFilter *filter) {
  CComPtr<IEnumPins> pins;
  filter->EnumPins(&pins);
  ULONG count = 0;
  for (CComPtr<IPin> pin; pins && pins->Next(1, &pin, nullptr) == S_OK; pin.Release()) ++count;
  return count;
}

class FilterServerTest : public ::testing::Test {
 protected:
  media_testing::RegisteredFilters registered_;
};

TEST_F(FilterServerTest, RegistersEachClassWithTheLibraryAndItsFilterData) {
  for (const auto &served : kServedClasses) {
    const std::wstring classKey = L"CLSID\\" + KeyText(*served.clsid);
    EXPECT_EQ(ReadValue(classKey, nullptr).Text(), served.name);
    EXPECT_EQ(ReadValue(classKey + L"\\InprocServer32", nullptr).Text(), LibraryPath());
    EXPECT_EQ(ReadValue(classKey + L"\\InprocServer32", L"ThreadingModel").Text(), L"Both");
    EXPECT_EQ(ReadValue(FilterKey(*served.clsid), L"FriendlyName").Text(), served.name);
    EXPECT_EQ(ReadValue(FilterKey(*served.clsid), L"CLSID").Text(), KeyText(*served.clsid));
    EXPECT_EQ(ReadValue(FilterKey(*served.clsid), L"FilterData").type, DWORD{REG_BINARY});
  }
}

TEST_F(FilterServerTest, CreatesEachFilterInItsDefaultConfiguration) {
  for (const auto &served : kServedClasses) {
    CComPtr<IBaseFilter> filter;
    ASSERT_HR(S_OK, CoCreateInstance(*served.clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter,
                                     reinterpret_cast<void **>(&filter)));
    CLSID clsid{};
    filter->GetClassID(&clsid);
    EXPECT_TRUE(IsEqualCLSID(clsid, *served.clsid)) << served.name;
    EXPECT_EQ(PinCount(filter), served.pins) << served.name;
  }
}

TEST_F(FilterServerTest, ClassObjectsRefuseOtherClassesAndAggregation) {
  platform::com::ServerLibrary library(QUORVEL_MEDIA_TEST_FILTERS);
  auto getClassObject = library.Export<HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, LPVOID *)>("DllGetClassObject");
  ASSERT_TRUE(getClassObject);
  CComPtr<IClassFactory> factory;
  EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE,
            getClassObject(CLSID_FilterGraph, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
  EXPECT_FALSE(factory);
  ASSERT_HR(S_OK,
            getClassObject(test_filters::kPassThroughClass, IID_IClassFactory, reinterpret_cast<void **>(&factory)));
  IUnknown *object = reinterpret_cast<IUnknown *>(1);
  IUnknown *outer = factory;
  EXPECT_HR(CLASS_E_NOAGGREGATION, factory->CreateInstance(outer, IID_IUnknown, reinterpret_cast<void **>(&object)));
  EXPECT_EQ(object, nullptr);
}

// DllCanUnloadNow, from the library itself.
HRESULT CanUnloadNow() {
  platform::com::ServerLibrary library(QUORVEL_MEDIA_TEST_FILTERS);
  auto entry = library.Export<HRESULT(STDAPICALLTYPE *)()>("DllCanUnloadNow");
  return entry ? entry() : E_UNEXPECTED;
}

TEST_F(FilterServerTest, StaysLoadedWhileAFilterAClassObjectOrALockLives) {
  EXPECT_HR(S_OK, CanUnloadNow());
  CComPtr<IClassFactory> factory;
  ASSERT_HR(S_OK, CoGetClassObject(test_filters::kRecordingRendererClass, CLSCTX_INPROC_SERVER, nullptr,
                                   IID_IClassFactory, reinterpret_cast<void **>(&factory)));
  EXPECT_HR(S_FALSE, CanUnloadNow());
  CComPtr<IBaseFilter> filter;
  ASSERT_HR(S_OK, factory->CreateInstance(nullptr, IID_IBaseFilter, reinterpret_cast<void **>(&filter)));
  factory->LockServer(TRUE);
  factory.Release();
  EXPECT_HR(S_FALSE, CanUnloadNow());
  filter.Release();
  EXPECT_HR(S_FALSE, CanUnloadNow()) << "the lock keeps it";
  CoGetClassObject(test_filters::kRecordingRendererClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                   reinterpret_cast<void **>(&factory));
  factory->LockServer(FALSE);
  factory.Release();
  EXPECT_HR(S_OK, CanUnloadNow());
  // Filters made directly count as the library's objects too.
  test_filters::RecordingRenderer *direct = test_filters::RecordingRenderer::Create(MEDIATYPE_Video);
  EXPECT_HR(S_FALSE, CanUnloadNow());
  direct->Release();
  EXPECT_HR(S_OK, CanUnloadNow());
}

TEST_F(FilterServerTest, UnregisteringRemovesTheClassesAndTheirFilters) {
  ASSERT_HR(S_OK, CallServerEntry(QUORVEL_MEDIA_TEST_FILTERS, "DllUnregisterServer"));
  for (const auto &served : kServedClasses) {
    EXPECT_EQ(ReadValue(L"CLSID\\" + KeyText(*served.clsid), nullptr).type, DWORD{REG_NONE}) << served.name;
    EXPECT_EQ(ReadValue(FilterKey(*served.clsid), L"CLSID").type, DWORD{REG_NONE}) << served.name;
  }
  CComPtr<IBaseFilter> filter;
  EXPECT_HR(REGDB_E_CLASSNOTREG, CoCreateInstance(test_filters::kPassThroughClass, nullptr, CLSCTX_INPROC_SERVER,
                                                  IID_IBaseFilter, reinterpret_cast<void **>(&filter)));
  EXPECT_HR(S_OK, CallServerEntry(QUORVEL_MEDIA_TEST_FILTERS, "DllUnregisterServer")) << "a second time";
}

}  // namespace
