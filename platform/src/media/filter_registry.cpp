// Registered filters and categories: read from snapshots of their keys,
// written one key at a time.
#include "media/filter_registry.h"

#include <objbase.h>
#include <uuids.h>

#include <cstring>

#include "media/classes_snapshot.h"

namespace platform::media {
namespace {

std::wstring InstancesPath(REFCLSID category) { return L"CLSID\\" + GuidText(category) + L"\\Instance"; }

bool ReadClsid(const registry::Key &key, CLSID &clsid) {
  const std::optional<std::wstring> text = StringValue(key, L"CLSID");
  return text && SUCCEEDED(CLSIDFromString(text->c_str(), &clsid));
}

bool ReadFilter(REFCLSID category, const registry::Key &key, RegisteredFilter &filter) {
  const std::optional<std::vector<uint8_t>> bytes = BinaryValue(key, L"FilterData");
  std::optional<FilterData> data = bytes ? DecodeFilterData(*bytes) : std::nullopt;
  if (!data || !ReadClsid(key, filter.clsid)) return false;
  filter.category = category;
  filter.instance = key.Name();
  filter.name = StringValue(key, L"FriendlyName").value_or(L"");
  filter.data = std::move(*data);
  return true;
}

DWORD MeritOf(const registry::Key &key) {
  const registry::Value *value = key.FindValue(L"Merit");
  DWORD merit = MERIT_NORMAL;
  if (value && value->type == REG_DWORD && value->data.size() == sizeof merit) {
    std::memcpy(&merit, value->data.data(), sizeof merit);
  }
  return merit;
}

}  // namespace

std::wstring FilterInstancePath(REFCLSID category, const std::wstring &instance) {
  return InstancesPath(category) + L"\\" + instance;
}

std::vector<RegisteredFilter> FiltersInCategory(REFCLSID category) {
  std::vector<RegisteredFilter> filters;
  const KeySnapshot instances = ReadClassesKey(InstancesPath(category));
  if (!instances) return filters;
  for (const auto &key : instances->Subkeys()) {
    RegisteredFilter filter;
    if (ReadFilter(category, *key, filter)) filters.push_back(std::move(filter));
  }
  return filters;
}

std::vector<FilterCategory> FilterCategories() {
  std::vector<FilterCategory> categories{{CLSID_LegacyAmFilterCategory, MERIT_NORMAL}};
  const KeySnapshot registered = ReadClassesKey(InstancesPath(CLSID_ActiveMovieCategories));
  if (!registered) return categories;
  for (const auto &key : registered->Subkeys()) {
    CLSID clsid;
    if (!ReadClsid(*key, clsid)) continue;
    if (IsEqualCLSID(clsid, CLSID_LegacyAmFilterCategory)) {
      categories.front().merit = MeritOf(*key);
    } else {
      categories.push_back({clsid, MeritOf(*key)});
    }
  }
  return categories;
}

HRESULT WriteFilter(REFCLSID category, const std::wstring &instance, REFCLSID clsid, const std::wstring &name,
                    const FilterData &data) {
  return WriteClassesKey(FilterInstancePath(category, instance),
                         {StringToWrite(L"FriendlyName", name), StringToWrite(L"CLSID", GuidText(clsid)),
                          BinaryToWrite(L"FilterData", EncodeFilterData(data))});
}

HRESULT DeleteFilter(REFCLSID category, const std::wstring &instance) {
  const HRESULT hr = DeleteClassesKey(FilterInstancePath(category, instance));
  return hr == S_FALSE ? HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) : hr;
}

HRESULT WriteCategory(REFCLSID category, DWORD merit, const std::wstring &description) {
  return WriteClassesKey(FilterInstancePath(CLSID_ActiveMovieCategories, GuidText(category)),
                         {StringToWrite(L"FriendlyName", description), StringToWrite(L"CLSID", GuidText(category)),
                          DwordToWrite(L"Merit", merit)});
}

}  // namespace platform::media
