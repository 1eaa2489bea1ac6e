#include "resources/byte_reader.h"

#include "text/utf.h"

namespace platform::resources {

namespace {

constexpr WORD kOrdinalMarker = 0xFFFF;

}  // namespace

bool ByteReader::ReadByte(BYTE &value) {
  if (Remaining() < 1) return false;
  value = m_bytes[m_offset++];
  return true;
}

bool ByteReader::ReadWord(WORD &value) {
  if (Remaining() < 2) return false;
  value = static_cast<WORD>(m_bytes[m_offset] | m_bytes[m_offset + 1] << 8);
  m_offset += 2;
  return true;
}

bool ByteReader::ReadShort(short &value) {
  WORD word = 0;
  if (!ReadWord(word)) return false;
  value = static_cast<short>(word);
  return true;
}

bool ByteReader::ReadDword(DWORD &value) {
  if (Remaining() < 4) return false;
  value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | m_bytes[m_offset + static_cast<size_t>(i)];
  m_offset += 4;
  return true;
}

bool ByteReader::ReadBytes(size_t count, std::span<const uint8_t> &bytes) {
  if (Remaining() < count) return false;
  bytes = m_bytes.subspan(m_offset, count);
  m_offset += count;
  return true;
}

bool ByteReader::Skip(size_t count) {
  if (Remaining() < count) return false;
  m_offset += count;
  return true;
}

bool ByteReader::AlignTo(size_t alignment) {
  return Skip((alignment - m_offset % alignment) % alignment);
}

bool ByteReader::ReadString(std::wstring &text) {
  const size_t start = m_offset;
  std::u16string units;
  for (WORD unit = 0;;) {
    if (!ReadWord(unit)) {
      m_offset = start;
      return false;
    }
    if (unit == 0) break;
    units.push_back(static_cast<char16_t>(unit));
  }
  text = text::FromUtf16(units.data(), units.size());
  return true;
}

bool ByteReader::ReadNameOrOrdinal(NameOrOrdinal &name) {
  const size_t start = m_offset;
  WORD first = 0;
  if (!ReadWord(first)) return false;
  if (first == kOrdinalMarker) {
    name.text.clear();
    if (ReadWord(name.ordinal)) return true;
    m_offset = start;
    return false;
  }
  m_offset = start;
  name.ordinal = 0;
  return ReadString(name.text);
}

}  // namespace platform::resources
