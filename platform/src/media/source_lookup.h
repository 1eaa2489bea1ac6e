// Which source filter reads a file, looked up in the registry the way
// IGraphBuilder::AddSourceFilter does it:
//
//   1. The file name's extension:
//        HKEY_CLASSES_ROOT\Media Type\Extensions\.ext   "Source Filter" = "{clsid}"
//   2. Otherwise the file's first or last bytes, against the patterns of
//      every subtype of MEDIATYPE_Stream:
//        HKEY_CLASSES_ROOT\Media Type\{MEDIATYPE_Stream}\{subtype}
//            "0", "1", ...     = "offset,cb,mask,val[,offset,cb,mask,val...]"
//            "Source Filter"   = "{clsid}"
//      Each group compares cb bytes of the file at offset (counted from
//      the file's end when negative), under the mask, with val; the mask
//      and val are hexadecimal digits, two per byte, and an empty mask
//      keeps every bit. A value matches when all its groups match; the
//      subtype matches when any of its values does. Values that cannot be
//      read match nothing.
#pragma once

#include <strmif.h>

#include <string>

namespace platform::media {

struct SourceChoice {
  CLSID source;
  // MEDIATYPE_Stream with the subtype whose pattern matched; GUID_NULL
  // subtype when the extension chose the source.
  GUID subtype;
};

// S_OK with the choice; HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) when there
// is no such file, VFW_E_UNKNOWN_FILE_TYPE when no source is registered for it.
HRESULT FindSourceFilter(const std::wstring &path, SourceChoice &choice);

}  // namespace platform::media
