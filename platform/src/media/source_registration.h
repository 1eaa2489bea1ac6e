// The registry entries through which AddSourceFilter finds a file's source
// filter (source_lookup.h reads them), written for a source filter class:
//
//   HKEY_CLASSES_ROOT\Media Type\Extensions\.ext
//       "Source Filter" = "{clsid}"
//   HKEY_CLASSES_ROOT\Media Type\{MEDIATYPE_Stream}\{subtype}
//       "0", "1", ...   = the byte patterns, "offset,cb,mask,val[,...]"
//       "Source Filter" = "{clsid}"
#pragma once

#include <platform_filters/filter_server.h>

#include <string>

namespace platform::media {

std::wstring ExtensionKeyPath(const std::wstring &extension);
std::wstring StreamSubtypesPath();
std::wstring StreamSubtypeKeyPath(REFGUID subtype);

// SELFREG_E_CLASS when the registry cannot be written.
HRESULT RegisterSourceFileTypes(REFCLSID source, const SourceFileTypes &types);
// Removes the entries that still name this source; others are left alone.
HRESULT UnregisterSourceFileTypes(REFCLSID source, const SourceFileTypes &types);

}  // namespace platform::media
