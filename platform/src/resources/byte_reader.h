// Bounds-checked reading of the little-endian structures that Windows
// resources are made of. Every read fails, leaving the position where it
// was, rather than go past the end.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "resources/name_or_ordinal.h"

namespace platform::resources {

class ByteReader {
 public:
  explicit ByteReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

  size_t Offset() const { return m_offset; }
  size_t Remaining() const { return m_bytes.size() - m_offset; }

  bool ReadByte(BYTE &value);
  bool ReadWord(WORD &value);
  bool ReadShort(short &value);
  bool ReadDword(DWORD &value);
  bool ReadBytes(size_t count, std::span<const uint8_t> &bytes);
  bool Skip(size_t count);
  // Skips the padding up to the next multiple of alignment, counted from the
  // first byte: resources and dialog items start on WORD or DWORD boundaries.
  bool AlignTo(size_t alignment);
  // A zero-terminated UTF-16 string.
  bool ReadString(std::wstring &text);
  // 0xFFFF followed by an ordinal, or a zero-terminated UTF-16 string.
  bool ReadNameOrOrdinal(NameOrOrdinal &name);

 private:
  std::span<const uint8_t> m_bytes;
  size_t m_offset = 0;
};

}  // namespace platform::resources
