#include "resources/string_table.h"

#include "resources/byte_reader.h"
#include "text/utf.h"

namespace platform::resources {

bool ParseStringBlock(std::span<const uint8_t> bytes, StringBlock &block) {
  ByteReader reader(bytes);
  for (std::wstring &text : block) {
    WORD length = 0;
    if (!reader.ReadWord(length)) return false;
    std::u16string units(length, u'\0');
    for (char16_t &unit : units) {
      WORD value = 0;
      if (!reader.ReadWord(value)) return false;
      unit = static_cast<char16_t>(value);
    }
    text = text::FromUtf16(units.data(), units.size());
  }
  return true;
}

}  // namespace platform::resources
