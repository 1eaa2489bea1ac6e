// What a server library registers for each of its filter classes, the
// platform library's built-in filters included: the class key
// (com/class_registration.h), the filter in CLSID_LegacyAmFilterCategory
// through the platform's filter mapper (its name, merit and pins), and a
// source's file types (source_registration.h). Unregistering removes them.
#pragma once

#include <platform_filters/filter_server.h>

namespace platform::media {

struct FilterClassEntry {
  const CLSID *clsid;
  const wchar_t *name;
  const wchar_t *threadingModel;
  const REGFILTER2 *registration;    // null: not a filter for intelligent connect
  const SourceFileTypes *fileTypes;  // null: not a file source
};

// addressInServer: an address inside the server library (see
// com::RegisterServerClass). SELFREG_E_CLASS when the registry cannot be
// written, or the mapper's failure.
HRESULT RegisterFilterClass(const void *addressInServer, const FilterClassEntry &entry);
// S_OK also when the class was not registered.
HRESULT UnregisterFilterClass(const FilterClassEntry &entry);

}  // namespace platform::media
