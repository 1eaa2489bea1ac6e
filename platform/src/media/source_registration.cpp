// Writing and removing the registry entries that name a file's source.
#include "media/source_registration.h"

#include <objbase.h>
#include <uuids.h>

#include "media/classes_snapshot.h"

namespace platform::media {
namespace {

// Removes the key when its "Source Filter" still names the source.
HRESULT RemoveIfOwned(const std::wstring &path, REFCLSID source) {
  const KeySnapshot key = ReadClassesKey(path);
  const std::optional<std::wstring> owner = key ? StringValue(*key, L"Source Filter") : std::nullopt;
  CLSID clsid;
  if (!owner || FAILED(CLSIDFromString(owner->c_str(), &clsid)) || !IsEqualCLSID(clsid, source)) return S_OK;
  const HRESULT hr = DeleteClassesKey(path);
  return FAILED(hr) ? hr : S_OK;
}

}  // namespace

std::wstring ExtensionKeyPath(const std::wstring &extension) { return L"Media Type\\Extensions\\" + extension; }

std::wstring StreamSubtypesPath() { return L"Media Type\\" + GuidText(MEDIATYPE_Stream); }

std::wstring StreamSubtypeKeyPath(REFGUID subtype) { return StreamSubtypesPath() + L"\\" + GuidText(subtype); }

HRESULT RegisterSourceFileTypes(REFCLSID source, const SourceFileTypes &types) {
  const ValueToWrite sourceValue = StringToWrite(L"Source Filter", GuidText(source));
  for (const wchar_t *extension : types.extensions) {
    if (HRESULT hr = WriteClassesKey(ExtensionKeyPath(extension), {sourceValue}); FAILED(hr)) return hr;
  }
  if (!types.subtype) return S_OK;
  // Patterns of an earlier registration go first: there may have been more.
  if (HRESULT hr = DeleteClassesKey(StreamSubtypeKeyPath(*types.subtype)); FAILED(hr)) return hr;
  std::vector<ValueToWrite> values{sourceValue};
  for (size_t i = 0; i < types.patterns.size(); ++i)
    values.push_back(StringToWrite(std::to_wstring(i), types.patterns[i]));
  return WriteClassesKey(StreamSubtypeKeyPath(*types.subtype), values);
}

HRESULT UnregisterSourceFileTypes(REFCLSID source, const SourceFileTypes &types) {
  HRESULT result = S_OK;
  for (const wchar_t *extension : types.extensions) {
    if (HRESULT hr = RemoveIfOwned(ExtensionKeyPath(extension), source); FAILED(hr)) result = hr;
  }
  if (types.subtype) {
    if (HRESULT hr = RemoveIfOwned(StreamSubtypeKeyPath(*types.subtype), source); FAILED(hr)) result = hr;
  }
  return result;
}

}  // namespace platform::media
