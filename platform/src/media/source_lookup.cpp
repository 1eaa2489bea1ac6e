// Finding a file's source filter by extension, then by byte patterns.
#include "media/source_lookup.h"

#include <cguid.h>
#include <uuids.h>
#include <vfwmsgs.h>

#include <sys/stat.h>

#include <cwchar>
#include <fstream>
#include <optional>
#include <vector>

#include "media/classes_snapshot.h"
#include "media/source_registration.h"
#include "text/utf.h"

namespace platform::media {
namespace {

std::optional<CLSID> SourceFilterOf(const registry::Key &key) {
  const std::optional<std::wstring> text = StringValue(key, L"Source Filter");
  CLSID clsid;
  if (!text || FAILED(CLSIDFromString(text->c_str(), &clsid))) return std::nullopt;
  return clsid;
}

std::wstring ExtensionOf(const std::wstring &path) {
  const size_t name = path.find_last_of(L"/\\");
  const size_t dot = path.rfind(L'.');
  if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name)) return L"";
  return path.substr(dot);
}

std::optional<CLSID> SourceByExtension(const std::wstring &path) {
  const std::wstring extension = ExtensionOf(path);
  if (extension.size() < 2) return std::nullopt;
  const KeySnapshot key = ReadClassesKey(ExtensionKeyPath(extension));
  return key ? SourceFilterOf(*key) : std::nullopt;
}

std::wstring Trimmed(const std::wstring &text) {
  const size_t first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

std::vector<std::wstring> Fields(const std::wstring &text) {
  std::vector<std::wstring> fields;
  size_t start = 0;
  for (size_t comma; (comma = text.find(L',', start)) != std::wstring::npos; start = comma + 1) {
    fields.push_back(Trimmed(text.substr(start, comma - start)));
  }
  fields.push_back(Trimmed(text.substr(start)));
  return fields;
}

std::optional<std::vector<uint8_t>> HexBytes(const std::wstring &digits) {
  if (digits.size() % 2 != 0) return std::nullopt;
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < digits.size(); i += 2) {
    const std::wstring pair = digits.substr(i, 2);
    wchar_t *end = nullptr;
    const unsigned long value = std::wcstoul(pair.c_str(), &end, 16);
    if (end != pair.c_str() + 2) return std::nullopt;
    bytes.push_back(static_cast<uint8_t>(value));
  }
  return bytes;
}

// The file's bytes, read as the patterns ask for them.
class FileBytes {
 public:
  explicit FileBytes(const std::string &path) : m_file(path, std::ios::binary) {
    m_file.seekg(0, std::ios::end);
    m_size = m_file ? static_cast<int64_t>(m_file.tellg()) : 0;
  }

  // Empty when the range is not wholly inside the file.
  std::optional<std::vector<uint8_t>> Read(int64_t offset, size_t count) {
    const int64_t start = offset < 0 ? m_size + offset : offset;
    if (start < 0 || start > m_size || static_cast<int64_t>(count) > m_size - start) return std::nullopt;
    std::vector<uint8_t> bytes(count);
    m_file.clear();
    m_file.seekg(start);
    m_file.read(reinterpret_cast<char *>(bytes.data()), static_cast<std::streamsize>(count));
    if (!m_file) return std::nullopt;
    return bytes;
  }

 private:
  std::ifstream m_file;
  int64_t m_size = 0;
};

// One "offset,cb,mask,val" group.
struct ByteGroup {
  int64_t offset;
  std::vector<uint8_t> mask;
  std::vector<uint8_t> value;
};

std::optional<ByteGroup> ParseGroup(const std::wstring &offsetText, const std::wstring &countText,
                                    const std::wstring &maskText, const std::wstring &valueText) {
  wchar_t *offsetEnd = nullptr;
  wchar_t *countEnd = nullptr;
  const long long offset = std::wcstoll(offsetText.c_str(), &offsetEnd, 10);
  const unsigned long count = std::wcstoul(countText.c_str(), &countEnd, 10);
  if (offsetText.empty() || *offsetEnd || countText.empty() || *countEnd) return std::nullopt;
  std::optional<std::vector<uint8_t>> value = HexBytes(valueText);
  if (!value || value->empty() || value->size() != count) return std::nullopt;
  std::optional<std::vector<uint8_t>> mask = maskText.empty() ? std::vector<uint8_t>(count, 0xFF) : HexBytes(maskText);
  if (!mask || mask->size() != count) return std::nullopt;
  return ByteGroup{offset, std::move(*mask), std::move(*value)};
}

bool GroupMatches(FileBytes &file, const ByteGroup &group) {
  const std::optional<std::vector<uint8_t>> bytes = file.Read(group.offset, group.value.size());
  if (!bytes) return false;
  for (size_t i = 0; i < group.value.size(); ++i) {
    if (((*bytes)[i] & group.mask[i]) != (group.value[i] & group.mask[i])) return false;
  }
  return true;
}

bool PatternMatches(FileBytes &file, const std::wstring &pattern) {
  const std::vector<std::wstring> fields = Fields(pattern);
  if (fields.size() % 4 != 0) return false;
  for (size_t i = 0; i < fields.size(); i += 4) {
    const std::optional<ByteGroup> group = ParseGroup(fields[i], fields[i + 1], fields[i + 2], fields[i + 3]);
    if (!group || !GroupMatches(file, *group)) return false;
  }
  return true;
}

bool SubtypeMatches(FileBytes &file, const registry::Key &subtype) {
  for (int index = 0;; ++index) {
    const std::optional<std::wstring> pattern = StringValue(subtype, std::to_wstring(index));
    if (!pattern) return false;
    if (PatternMatches(file, *pattern)) return true;
  }
}

std::optional<SourceChoice> SourceByPattern(const std::string &path) {
  const KeySnapshot stream = ReadClassesKey(StreamSubtypesPath());
  if (!stream) return std::nullopt;
  FileBytes file(path);
  for (const auto &subtypeKey : stream->Subkeys()) {
    GUID subtype;
    const std::optional<CLSID> source = SourceFilterOf(*subtypeKey);
    if (!source || FAILED(CLSIDFromString(subtypeKey->Name().c_str(), &subtype))) continue;
    if (SubtypeMatches(file, *subtypeKey)) return SourceChoice{*source, subtype};
  }
  return std::nullopt;
}

}  // namespace

HRESULT FindSourceFilter(const std::wstring &path, SourceChoice &choice) {
  const std::string localPath = text::ToUtf8(path);
  struct stat status {};
  if (stat(localPath.c_str(), &status) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  if (const std::optional<CLSID> source = SourceByExtension(path)) {
    choice = {*source, GUID_NULL};
    return S_OK;
  }
  if (const std::optional<SourceChoice> found = SourceByPattern(localPath)) {
    choice = *found;
    return S_OK;
  }
  return VFW_E_UNKNOWN_FILE_TYPE;
}

}  // namespace platform::media
