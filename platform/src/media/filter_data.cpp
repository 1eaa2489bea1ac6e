// The FilterData value: built from a registration, written and read in the
// layout of filter_data.h.
#include "media/filter_data.h"

namespace platform::media {
namespace {

constexpr DWORD kVersion = 2;
// The smallest a pin, a media type and a medium take in the data; counts
// are checked against them before anything is reserved.
constexpr size_t kPinBytes = 4 * 4 + 16;
constexpr size_t kTypeBytes = 2 * 16;
constexpr size_t kMediumBytes = 16 + 2 * 4;

GUID GuidOrNull(const GUID *guid) { return guid ? *guid : GUID_NULL; }

RegisteredPin PinOf(const REGFILTERPINS2 &pin) {
  RegisteredPin registered;
  registered.flags = pin.dwFlags;
  registered.instances = pin.cInstances;
  registered.category = GuidOrNull(pin.clsPinCategory);
  for (UINT i = 0; pin.lpMediaType && i < pin.nMediaTypes; ++i) {
    registered.types.push_back(
        {GuidOrNull(pin.lpMediaType[i].clsMajorType), GuidOrNull(pin.lpMediaType[i].clsMinorType)});
  }
  for (UINT i = 0; pin.lpMedium && i < pin.nMediums; ++i) registered.mediums.push_back(pin.lpMedium[i]);
  return registered;
}

RegisteredPin PinOf(const REGFILTERPINS &pin) {
  RegisteredPin registered;
  registered.flags = (pin.bZero ? REG_PINFLAG_B_ZERO : 0) | (pin.bRendered ? REG_PINFLAG_B_RENDERER : 0) |
                     (pin.bMany ? REG_PINFLAG_B_MANY : 0) | (pin.bOutput ? REG_PINFLAG_B_OUTPUT : 0);
  registered.instances = 1;
  for (UINT i = 0; pin.lpMediaType && i < pin.nMediaTypes; ++i) {
    registered.types.push_back(
        {GuidOrNull(pin.lpMediaType[i].clsMajorType), GuidOrNull(pin.lpMediaType[i].clsMinorType)});
  }
  return registered;
}

class Writer {
 public:
  void Dword(DWORD value) {
    for (int shift = 0; shift < 32; shift += 8) m_bytes.push_back(static_cast<uint8_t>(value >> shift));
  }
  void Guid(const GUID &guid) {
    Dword(guid.Data1);
    Word(guid.Data2);
    Word(guid.Data3);
    m_bytes.insert(m_bytes.end(), guid.Data4, guid.Data4 + 8);
  }
  std::vector<uint8_t> Take() { return std::move(m_bytes); }

 private:
  void Word(WORD value) {
    m_bytes.push_back(static_cast<uint8_t>(value));
    m_bytes.push_back(static_cast<uint8_t>(value >> 8));
  }

  std::vector<uint8_t> m_bytes;
};

// Reads forward; once a read runs past the end, every later read fails too.
class Reader {
 public:
  explicit Reader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  bool Dword(DWORD &value) {
    if (!Has(4)) return Fail();
    value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | m_bytes[m_position + i];
    m_position += 4;
    return true;
  }
  bool Guid(GUID &guid) {
    if (!Has(16)) return Fail();
    DWORD data1 = 0;
    Dword(data1);
    guid.Data1 = data1;
    guid.Data2 = Word();
    guid.Data3 = Word();
    for (auto &byte : guid.Data4) byte = m_bytes[m_position++];
    return true;
  }
  // Whether count items of itemBytes each can still follow.
  bool CanHold(DWORD count, size_t itemBytes) const {
    return !m_failed && count <= (m_bytes.size() - m_position) / itemBytes;
  }
  bool AtEnd() const { return !m_failed && m_position == m_bytes.size(); }

 private:
  bool Has(size_t count) const { return !m_failed && m_bytes.size() - m_position >= count; }
  bool Fail() {
    m_failed = true;
    return false;
  }
  WORD Word() {
    const WORD value = static_cast<WORD>(m_bytes[m_position] | (m_bytes[m_position + 1] << 8));
    m_position += 2;
    return value;
  }

  std::span<const uint8_t> m_bytes;
  size_t m_position = 0;
  bool m_failed = false;
};

bool ReadPin(Reader &reader, RegisteredPin &pin) {
  DWORD typeCount = 0;
  DWORD mediumCount = 0;
  if (!reader.Dword(pin.flags) || !reader.Dword(pin.instances) || !reader.Dword(typeCount) ||
      !reader.Dword(mediumCount) || !reader.Guid(pin.category) || !reader.CanHold(typeCount, kTypeBytes)) {
    return false;
  }
  pin.types.resize(typeCount);
  for (auto &type : pin.types) {
    if (!reader.Guid(type.major) || !reader.Guid(type.subtype)) return false;
  }
  if (!reader.CanHold(mediumCount, kMediumBytes)) return false;
  pin.mediums.resize(mediumCount);
  for (auto &medium : pin.mediums) {
    if (!reader.Guid(medium.clsMedium) || !reader.Dword(medium.dw1) || !reader.Dword(medium.dw2)) return false;
  }
  return true;
}

}  // namespace

std::optional<FilterData> FilterDataOf(const REGFILTER2 &registration) {
  FilterData data;
  data.merit = registration.dwMerit;
  if (registration.dwVersion == 1) {
    for (ULONG i = 0; registration.rgPins && i < registration.cPins; ++i) {
      data.pins.push_back(PinOf(registration.rgPins[i]));
    }
  } else if (registration.dwVersion == 2) {
    for (ULONG i = 0; registration.rgPins2 && i < registration.cPins2; ++i) {
      data.pins.push_back(PinOf(registration.rgPins2[i]));
    }
  } else {
    return std::nullopt;
  }
  return data;
}

std::vector<uint8_t> EncodeFilterData(const FilterData &data) {
  Writer writer;
  writer.Dword(kVersion);
  writer.Dword(data.merit);
  writer.Dword(static_cast<DWORD>(data.pins.size()));
  for (const auto &pin : data.pins) {
    writer.Dword(pin.flags);
    writer.Dword(pin.instances);
    writer.Dword(static_cast<DWORD>(pin.types.size()));
    writer.Dword(static_cast<DWORD>(pin.mediums.size()));
    writer.Guid(pin.category);
    for (const auto &type : pin.types) {
      writer.Guid(type.major);
      writer.Guid(type.subtype);
    }
    for (const auto &medium : pin.mediums) {
      writer.Guid(medium.clsMedium);
      writer.Dword(medium.dw1);
      writer.Dword(medium.dw2);
    }
  }
  return writer.Take();
}

std::optional<FilterData> DecodeFilterData(std::span<const uint8_t> bytes) {
  Reader reader(bytes);
  DWORD version = 0;
  DWORD pinCount = 0;
  FilterData data;
  if (!reader.Dword(version) || version != kVersion || !reader.Dword(data.merit) || !reader.Dword(pinCount) ||
      !reader.CanHold(pinCount, kPinBytes)) {
    return std::nullopt;
  }
  data.pins.resize(pinCount);
  for (auto &pin : data.pins) {
    if (!ReadPin(reader, pin)) return std::nullopt;
  }
  if (!reader.AtEnd()) return std::nullopt;
  return data;
}

}  // namespace platform::media
