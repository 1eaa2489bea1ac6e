// Registered filters and filter categories in the registry, laid out as on
// Windows:
//
//   HKEY_CLASSES_ROOT\CLSID\{category}\Instance\{instance}
//       FriendlyName  REG_SZ     the filter's name
//       CLSID         REG_SZ     the filter's class, "{...}"
//       FilterData    REG_BINARY merit and pins (filter_data.h)
//   HKEY_CLASSES_ROOT\CLSID\{CLSID_ActiveMovieCategories}\Instance\{category}
//       FriendlyName  REG_SZ     the category's description
//       CLSID         REG_SZ     the category, "{...}"
//       Merit         REG_DWORD  the category's merit
//
// The instance key of a filter is named after its class unless the
// registration names it otherwise. Filters are registered in
// CLSID_LegacyAmFilterCategory for intelligent connect to find them.
#pragma once

#include <strmif.h>

#include <string>
#include <vector>

#include "media/filter_data.h"

namespace platform::media {

struct RegisteredFilter {
  CLSID category;
  std::wstring instance;  // the name of its instance key
  CLSID clsid;
  std::wstring name;  // empty when it has no FriendlyName
  FilterData data;
};

struct FilterCategory {
  CLSID clsid;
  DWORD merit;
};

// "CLSID\{category}\Instance\{instance}", below HKEY_CLASSES_ROOT.
std::wstring FilterInstancePath(REFCLSID category, const std::wstring &instance);

// The filters of the category in the registry's order. A filter whose
// CLSID or FilterData cannot be read is left out.
std::vector<RegisteredFilter> FiltersInCategory(REFCLSID category);

// CLSID_LegacyAmFilterCategory first (with MERIT_NORMAL unless registered
// otherwise), then every category registered with CreateCategory.
std::vector<FilterCategory> FilterCategories();

HRESULT WriteFilter(REFCLSID category, const std::wstring &instance, REFCLSID clsid, const std::wstring &name,
                    const FilterData &data);
// HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there is no such filter.
HRESULT DeleteFilter(REFCLSID category, const std::wstring &instance);
HRESULT WriteCategory(REFCLSID category, DWORD merit, const std::wstring &description);

}  // namespace platform::media
