#include "resources/name_or_ordinal.h"

#include <cwchar>
#include <cwctype>

namespace platform::resources {

namespace {

// "#123" names ordinal 123; anything else after '#' is an ordinary string.
bool ParseDecimalOrdinal(const wchar_t *digits, WORD &ordinal) {
  if (!*digits) return false;
  DWORD value = 0;
  for (const wchar_t *p = digits; *p; ++p) {
    if (!iswdigit(*p)) return false;
    value = value * 10 + static_cast<DWORD>(*p - L'0');
    if (value > 0xFFFF) return false;
  }
  ordinal = static_cast<WORD>(value);
  return true;
}

}  // namespace

NameOrOrdinal NameFromResourceId(LPCWSTR id) {
  NameOrOrdinal name;
  if (IS_INTRESOURCE(id)) {
    name.ordinal = static_cast<WORD>(reinterpret_cast<ULONG_PTR>(id));
  } else if (!(id[0] == L'#' && ParseDecimalOrdinal(id + 1, name.ordinal))) {
    name.text = id;
  }
  return name;
}

bool SameName(const NameOrOrdinal &a, const NameOrOrdinal &b) {
  if (a.IsOrdinal() || b.IsOrdinal()) return a.ordinal == b.ordinal;
  return a.text.size() == b.text.size() && wcsncasecmp(a.text.c_str(), b.text.c_str(), a.text.size()) == 0;
}

}  // namespace platform::resources
