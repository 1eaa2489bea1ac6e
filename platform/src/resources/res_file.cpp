#include "resources/res_file.h"

#include <algorithm>

#include "resources/byte_reader.h"

namespace platform::resources {

namespace {

constexpr DWORD kFixedHeaderSize = 8;  // DataSize and HeaderSize

// The fields of a RESOURCEHEADER after DataSize and HeaderSize.
bool ReadHeaderFields(std::span<const uint8_t> header, ResourceEntry &entry) {
  ByteReader reader(header);
  DWORD dataVersion = 0, version = 0, characteristics = 0;
  WORD memoryFlags = 0, language = 0;
  if (!reader.ReadNameOrOrdinal(entry.type) || !reader.ReadNameOrOrdinal(entry.name) || !reader.AlignTo(4) ||
      !reader.ReadDword(dataVersion) || !reader.ReadWord(memoryFlags) || !reader.ReadWord(language) ||
      !reader.ReadDword(version) || !reader.ReadDword(characteristics)) {
    return false;
  }
  entry.language = language;
  return true;
}

bool IsEmptyMarker(const ResourceEntry &entry) {
  return entry.data.empty() && !entry.type.IsOrdinal() && entry.type.text.empty();
}

bool ReadEntry(ByteReader &reader, ResourceEntry &entry) {
  DWORD dataSize = 0, headerSize = 0;
  std::span<const uint8_t> header;
  if (!reader.ReadDword(dataSize) || !reader.ReadDword(headerSize) || headerSize < kFixedHeaderSize ||
      !reader.ReadBytes(headerSize - kFixedHeaderSize, header) || !ReadHeaderFields(header, entry)) {
    return false;
  }
  return reader.ReadBytes(dataSize, entry.data);
}

}  // namespace

bool ParseResFile(std::span<const uint8_t> bytes, std::vector<ResourceEntry> &entries) {
  entries.clear();
  ByteReader reader(bytes);
  while (reader.Remaining() > 0) {
    ResourceEntry entry;
    if (!ReadEntry(reader, entry)) return false;
    if (!IsEmptyMarker(entry)) entries.push_back(std::move(entry));
    // The last entry may end without its padding.
    if (!reader.AlignTo(4)) break;
  }
  return true;
}

const ResourceEntry *FindResourceEntry(std::span<const ResourceEntry> entries, const NameOrOrdinal &type,
                                       const NameOrOrdinal &name, LANGID language, DWORD &error) {
  std::vector<const ResourceEntry *> candidates;
  bool typeFound = false;
  for (const ResourceEntry &entry : entries) {
    if (!SameName(entry.type, type)) continue;
    typeFound = true;
    if (SameName(entry.name, name)) candidates.push_back(&entry);
  }
  if (candidates.empty()) {
    error = typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND;
    return nullptr;
  }
  const LANGID preferences[] = {language, static_cast<LANGID>(MAKELANGID(PRIMARYLANGID(language), SUBLANG_NEUTRAL)),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)};
  for (LANGID wanted : preferences) {
    auto match = std::find_if(candidates.begin(), candidates.end(),
                              [wanted](const ResourceEntry *entry) { return entry->language == wanted; });
    if (match != candidates.end()) return *match;
  }
  return candidates.front();
}

}  // namespace platform::resources
