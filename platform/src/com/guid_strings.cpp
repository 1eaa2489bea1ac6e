// Class identifiers as text: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper
// case, as the registry's CLSID keys name them.
#include <objbase.h>

#include <cstdio>
#include <cwchar>

namespace {

constexpr int kGuidCharacters = 39;  // with braces and terminator

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// Reads digits hex digits from text at position; false at anything else.
bool ReadHex(LPCOLESTR text, size_t &position, int digits, unsigned long long &value) {
  value = 0;
  for (int i = 0; i < digits; ++i) {
    const int digit = HexValue(text[position]);
    if (digit < 0) return false;
    value = value * 16 + static_cast<unsigned>(digit);
    ++position;
  }
  return true;
}

bool Expect(LPCOLESTR text, size_t &position, wchar_t c) { return text[position++] == c; }

}  // namespace

// Returns the characters written with the terminator, or 0 when cchMax is too small.
extern "C" int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  if (!lpsz || cchMax < kGuidCharacters) return 0;
  swprintf(lpsz, kGuidCharacters, L"{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", rguid.Data1, rguid.Data2,
           rguid.Data3, rguid.Data4[0], rguid.Data4[1], rguid.Data4[2], rguid.Data4[3], rguid.Data4[4], rguid.Data4[5],
           rguid.Data4[6], rguid.Data4[7]);
  return kGuidCharacters;
}

// Only the braced form; program identifiers are not registered here.
extern "C" HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid) return E_INVALIDARG;
  *pclsid = GUID{};
  if (!lpsz || wcslen(lpsz) != kGuidCharacters - 1) return CO_E_CLASSSTRING;
  CLSID clsid{};
  size_t at = 0;
  unsigned long long part = 0;
  bool ok = Expect(lpsz, at, L'{') && ReadHex(lpsz, at, 8, part);
  clsid.Data1 = static_cast<ULONG>(part);
  ok = ok && Expect(lpsz, at, L'-') && ReadHex(lpsz, at, 4, part);
  clsid.Data2 = static_cast<unsigned short>(part);
  ok = ok && Expect(lpsz, at, L'-') && ReadHex(lpsz, at, 4, part);
  clsid.Data3 = static_cast<unsigned short>(part);
  ok = ok && Expect(lpsz, at, L'-');
  for (int i = 0; ok && i < 8; ++i) {
    if (i == 2) ok = Expect(lpsz, at, L'-');
    ok = ok && ReadHex(lpsz, at, 2, part);
    clsid.Data4[i] = static_cast<unsigned char>(part);
  }
  if (!ok || !Expect(lpsz, at, L'}')) return CO_E_CLASSSTRING;
  *pclsid = clsid;
  return S_OK;
}
