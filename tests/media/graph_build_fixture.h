// A graph manager whose intelligent connect finds the test filter library's
// filters registered (registered_filters.h), with helpers to change their
// registrations, read what the graph built, and write clip files.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "connect_filters.h"
#include "graph_test_fixture.h"
#include "registered_filters.h"

namespace media_testing {

inline std::wstring NameOf(IBaseFilter *filter) {
  FILTER_INFO info{};
  filter->QueryFilterInfo(&info);
  if (info.pGraph) info.pGraph->Release();
  return info.achName;
}

// The names of the graph's filters, sorted.
inline std::vector<std::wstring> FilterNames(IFilterGraph *graph) {
  std::vector<std::wstring> names;
  CComPtr<IEnumFilters> filters;
  graph->EnumFilters(&filters);
  for (CComPtr<IBaseFilter> filter; filters->Next(1, &filter, nullptr) == S_OK; filter.Release()) {
    names.push_back(NameOf(filter));
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The filters a stream goes through from an output pin, following the
// first connected output of each.
inline std::vector<std::wstring> Downstream(IPin *output) {
  std::vector<std::wstring> names;
  for (CComPtr<IPin> pin(output); pin;) {
    CComPtr<IPin> peer;
    if (pin->ConnectedTo(&peer) != S_OK) break;
    PIN_INFO info{};
    peer->QueryPinInfo(&info);
    CComPtr<IBaseFilter> filter;
    filter.Attach(info.pFilter);
    names.push_back(NameOf(filter));
    pin.Release();
    CComPtr<IEnumPins> pins;
    filter->EnumPins(&pins);
    for (CComPtr<IPin> candidate; !pin && pins->Next(1, &candidate, nullptr) == S_OK; candidate.Release()) {
      PIN_DIRECTION direction;
      CComPtr<IPin> connected;
      candidate->QueryDirection(&direction);
      if (direction == PINDIR_OUTPUT && candidate->ConnectedTo(&connected) == S_OK) pin = candidate;
    }
  }
  return names;
}

// A folder of the test's own for the clip files it writes.
class ClipFolder {
 public:
  ClipFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvel-clips-XXXXXX").string();
    m_folder = mkdtemp(pattern.data());
  }
  ~ClipFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
  }
  ClipFolder(const ClipFolder &) = delete;
  ClipFolder &operator=(const ClipFolder &) = delete;

  // Writes the file and gives its full path.
  std::wstring Write(const std::string &name, const std::string &content) const {
    const std::filesystem::path path = std::filesystem::path(m_folder) / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.wstring();
  }
  std::wstring PathOf(const std::string &name) const { return (std::filesystem::path(m_folder) / name).wstring(); }

 private:
  std::string m_folder;
};

class BuildTest : public GraphTest {
 protected:
  // The platform's audio renderer would take the test library's PCM audio
  // ahead of its recording renderer: these graphs end in the test filters.
  void SetUp() override {
    GraphTest::SetUp();
    Unregister(CLSID_DSoundRender);
  }

  // Sets the merit in the filter's FilterData, its second DWORD (see
  // media/filter_data.h).
  static void SetMerit(REFCLSID clsid, DWORD merit) {
    WCHAR category[40], filter[40];
    StringFromGUID2(CLSID_LegacyAmFilterCategory, category, 40);
    StringFromGUID2(clsid, filter, 40);
    const std::wstring path = std::wstring(L"CLSID\\") + category + L"\\Instance\\" + filter;
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | KEY_WRITE, &key), ERROR_SUCCESS);
    BYTE data[4096];
    DWORD size = sizeof data;
    ASSERT_EQ(RegQueryValueExW(key, L"FilterData", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    for (int i = 0; i < 4; ++i) data[4 + i] = static_cast<BYTE>(merit >> (8 * i));
    RegSetValueExW(key, L"FilterData", 0, REG_BINARY, data, size);
    RegCloseKey(key);
  }

  static void Unregister(REFCLSID clsid) {
    CComPtr<IFilterMapper2> mapper;
    ASSERT_HR(S_OK, CoCreateInstance(CLSID_FilterMapper2, nullptr, CLSCTX_INPROC_SERVER, IID_IFilterMapper2,
                                     reinterpret_cast<void **>(&mapper)));
    ASSERT_HR(S_OK, mapper->UnregisterFilter(nullptr, nullptr, clsid));
  }

  std::vector<std::wstring> FilterNames() { return media_testing::FilterNames(graph_); }

  RegisteredFilters registered_;
  ClipFolder clips_;
};

}  // namespace media_testing
