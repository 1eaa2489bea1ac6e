// OLE automation strings. Each BSTR is one block: eight header bytes whose
// last four hold the length in bytes, the characters, and a null character.
// The header keeps the text 8-byte aligned, and the length sits just before
// the first character, as OLE lays it out.
#include <oleauto.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <cwchar>

namespace {

constexpr size_t kHeaderSize = 8;
using LengthPrefix = uint32_t;

unsigned char *BlockOf(BSTR bstr) { return reinterpret_cast<unsigned char *>(bstr) - kHeaderSize; }

// A BSTR of cch characters with its prefix and terminator set; null when
// the length cannot be stored in the prefix or memory runs out.
BSTR Allocate(UINT cch) {
  const size_t byteLength = size_t{cch} * sizeof(OLECHAR);
  if (byteLength > UINT32_MAX - sizeof(OLECHAR)) return nullptr;
  auto *block = static_cast<unsigned char *>(std::malloc(kHeaderSize + byteLength + sizeof(OLECHAR)));
  if (!block) return nullptr;
  const auto prefix = static_cast<LengthPrefix>(byteLength);
  std::memcpy(block + kHeaderSize - sizeof prefix, &prefix, sizeof prefix);
  BSTR text = reinterpret_cast<BSTR>(block + kHeaderSize);
  text[cch] = L'\0';
  return text;
}

}  // namespace

extern "C" BSTR SysAllocStringLen(const OLECHAR *strIn, UINT ui) {
  BSTR text = Allocate(ui);
  if (!text) return nullptr;
  if (strIn) {
    wmemcpy(text, strIn, ui);
  } else {
    wmemset(text, L'\0', ui);
  }
  return text;
}

extern "C" BSTR SysAllocString(const OLECHAR *psz) {
  if (!psz) return nullptr;
  return SysAllocStringLen(psz, static_cast<UINT>(wcslen(psz)));
}

extern "C" void SysFreeString(BSTR bstrString) {
  if (bstrString) std::free(BlockOf(bstrString));
}

extern "C" UINT SysStringByteLen(BSTR bstr) {
  if (!bstr) return 0;
  LengthPrefix prefix;
  std::memcpy(&prefix, reinterpret_cast<unsigned char *>(bstr) - sizeof prefix, sizeof prefix);
  return prefix;
}

extern "C" UINT SysStringLen(BSTR pbstr) { return SysStringByteLen(pbstr) / sizeof(OLECHAR); }
