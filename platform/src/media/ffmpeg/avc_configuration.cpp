// The H.264 decoder configuration record and the AVC1 sequence header.
#include "media/ffmpeg/avc_configuration.h"

namespace platform::media::ffmpeg {
namespace {

constexpr BYTE kRecordVersion = 1;
constexpr BYTE kSequenceParameterSet = 7;
constexpr BYTE kPictureParameterSet = 8;
constexpr size_t kMaxSetsOfAKind = 31;  // the record's 5-bit count of sequence parameter sets

BYTE UnitType(const std::vector<BYTE> &unit) { return unit.empty() ? 0 : unit[0] & 0x1F; }

// Reads the record's bytes in order; every read fails once one has run past the end.
class RecordReader {
 public:
  RecordReader(const BYTE *data, size_t size) : m_data(data), m_size(size) {}

  bool AtEnd() const { return m_position >= m_size; }

  bool Byte(BYTE *value) {
    if (m_position + 1 > m_size) return false;
    *value = m_data[m_position++];
    return true;
  }

  // A unit after its 2-byte length, appended to out with that length.
  bool LengthPrefixedUnit(std::vector<BYTE> *out) {
    if (m_position + 2 > m_size) return false;
    const size_t length = (size_t{m_data[m_position]} << 8) | m_data[m_position + 1];
    if (m_position + 2 + length > m_size) return false;
    out->insert(out->end(), m_data + m_position, m_data + m_position + 2 + length);
    m_position += 2 + length;
    return true;
  }

 private:
  const BYTE *m_data;
  size_t m_size;
  size_t m_position = 0;
};

bool ReadUnits(RecordReader &reader, size_t count, std::vector<BYTE> *out) {
  for (size_t i = 0; i < count; ++i) {
    if (!reader.LengthPrefixedUnit(out)) return false;
  }
  return true;
}

// The units of a sequence header, without their lengths.
std::optional<std::vector<std::vector<BYTE>>> SplitUnits(const std::vector<BYTE> &header) {
  std::vector<std::vector<BYTE>> units;
  RecordReader reader(header.data(), header.size());
  while (!reader.AtEnd()) {
    std::vector<BYTE> unit;
    if (!reader.LengthPrefixedUnit(&unit)) return std::nullopt;
    units.emplace_back(unit.begin() + 2, unit.end());
  }
  return units;
}

void AppendUnit(const std::vector<BYTE> &unit, std::vector<BYTE> *record) {
  record->push_back(static_cast<BYTE>(unit.size() >> 8));
  record->push_back(static_cast<BYTE>(unit.size()));
  record->insert(record->end(), unit.begin(), unit.end());
}

bool ValidLengthSize(BYTE size) { return size == 1 || size == 2 || size == 4; }

}  // namespace

std::optional<AvcConfiguration> ParseAvcConfiguration(const BYTE *record, size_t size) {
  RecordReader reader(record, size);
  AvcConfiguration configuration;
  BYTE version = 0, lengthSize = 0, sequenceSets = 0, pictureSets = 0;
  if (!reader.Byte(&version) || version != kRecordVersion) return std::nullopt;
  if (!reader.Byte(&configuration.profile) || !reader.Byte(&configuration.compatibility) ||
      !reader.Byte(&configuration.level) || !reader.Byte(&lengthSize) || !reader.Byte(&sequenceSets)) {
    return std::nullopt;
  }
  configuration.nalLengthSize = static_cast<BYTE>((lengthSize & 0x03) + 1);
  if (!ValidLengthSize(configuration.nalLengthSize)) return std::nullopt;
  if (!ReadUnits(reader, sequenceSets & 0x1F, &configuration.sequenceHeader)) return std::nullopt;
  if (!reader.Byte(&pictureSets) || !ReadUnits(reader, pictureSets, &configuration.sequenceHeader)) {
    return std::nullopt;
  }
  return configuration;
}

std::optional<std::vector<BYTE>> BuildAvcConfiguration(const AvcConfiguration &configuration) {
  if (!ValidLengthSize(configuration.nalLengthSize)) return std::nullopt;
  const auto units = SplitUnits(configuration.sequenceHeader);
  if (!units) return std::nullopt;
  std::vector<const std::vector<BYTE> *> sequenceSets, pictureSets;
  for (const auto &unit : *units) {
    if (UnitType(unit) == kSequenceParameterSet && sequenceSets.size() < kMaxSetsOfAKind) sequenceSets.push_back(&unit);
    if (UnitType(unit) == kPictureParameterSet && pictureSets.size() < 255) pictureSets.push_back(&unit);
  }
  // A sequence parameter set begins with the profile, constraint flags and level.
  const std::vector<BYTE> *first =
      sequenceSets.empty() || sequenceSets.front()->size() < 4 ? nullptr : sequenceSets.front();
  std::vector<BYTE> record{kRecordVersion,
                           first ? (*first)[1] : configuration.profile,
                           first ? (*first)[2] : configuration.compatibility,
                           first ? (*first)[3] : configuration.level,
                           static_cast<BYTE>(0xFC | (configuration.nalLengthSize - 1)),
                           static_cast<BYTE>(0xE0 | sequenceSets.size())};
  for (const auto *unit : sequenceSets) AppendUnit(*unit, &record);
  record.push_back(static_cast<BYTE>(pictureSets.size()));
  for (const auto *unit : pictureSets) AppendUnit(*unit, &record);
  return record;
}

}  // namespace platform::media::ffmpeg
