// FilterData: what the registry keeps of a registered filter for
// intelligent connect, its merit and its pins with their media types. It is
// the REG_BINARY value FilterData of the filter's key,
// HKEY_CLASSES_ROOT\CLSID\{category}\Instance\{instance}.
//
// Layout (the platform's own). Numbers are little-endian; a GUID is its
// Data1 (4 bytes), Data2 (2), Data3 (2) and Data4 (8), 16 bytes.
//
//   DWORD version        2
//   DWORD merit          MERIT_*
//   DWORD pin count
//   then for each pin:
//     DWORD flags        REG_PINFLAG_B_ZERO, _RENDERER, _MANY, _OUTPUT
//     DWORD instances    how many instances of the pin the filter makes
//     DWORD type count
//     DWORD medium count
//     GUID  category     the pin's category, GUID_NULL for none
//     type count times:   GUID major type, GUID subtype (GUID_NULL: any)
//     medium count times: GUID medium, DWORD dw1, DWORD dw2
//
// Nothing follows the last pin. Data that does not follow this layout
// exactly (another version, counts beyond the data's end, bytes left over)
// cannot be read: the filter it belongs to is skipped, never trusted.
#pragma once

#include <cguid.h>
#include <strmif.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace platform::media {

struct RegisteredMediaType {
  GUID major;
  GUID subtype;
};

struct RegisteredPin {
  DWORD flags = 0;
  DWORD instances = 0;
  GUID category = GUID_NULL;
  std::vector<RegisteredMediaType> types;
  std::vector<REGPINMEDIUM> mediums;

  bool IsOutput() const { return (flags & REG_PINFLAG_B_OUTPUT) != 0; }
  bool Renders() const { return (flags & REG_PINFLAG_B_RENDERER) != 0; }
};

struct FilterData {
  DWORD merit = 0;
  std::vector<RegisteredPin> pins;
};

// What a registration given to IFilterMapper2::RegisterFilter describes,
// version 1 (REGFILTERPINS) or 2 (REGFILTERPINS2); empty for another version.
// A null major type or subtype becomes GUID_NULL.
std::optional<FilterData> FilterDataOf(const REGFILTER2 &registration);

std::vector<uint8_t> EncodeFilterData(const FilterData &data);
// Empty when the bytes do not follow the layout.
std::optional<FilterData> DecodeFilterData(std::span<const uint8_t> bytes);

}  // namespace platform::media
