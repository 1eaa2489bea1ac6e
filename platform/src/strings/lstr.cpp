// The lstr wide-string routines.
//
// As on Windows, they accept null pointers: copies and concatenations return
// null, lstrlenW counts zero, comparisons sort null before any string.
// lstrcmpW and lstrcmpiW compare the way Windows sorts words rather than by
// code point: symbols and punctuation first, then digits, then letters with
// case ignored; lstrcmpW then breaks ties by case, lowercase first.
#include <windows.h>

#include <cwchar>
#include <locale>
#include <stdexcept>

namespace platform::strings {

namespace {

// Case mapping for all of Unicode, without touching the process's locale.
const std::ctype<wchar_t> &UnicodeCase() {
  static const std::locale locale = [] {
    try {
      return std::locale("C.UTF-8");
    } catch (const std::runtime_error &) {
      return std::locale::classic();
    }
  }();
  return std::use_facet<std::ctype<wchar_t>>(locale);
}

enum CharacterClass { kSymbol, kDigit, kLetter };

CharacterClass ClassOf(wchar_t c) {
  const auto &ctype = UnicodeCase();
  if (ctype.is(std::ctype_base::digit, c)) return kDigit;
  if (ctype.is(std::ctype_base::alpha, c)) return kLetter;
  return kSymbol;
}

int Sign(long long difference) { return (difference > 0) - (difference < 0); }

// Orders two characters with case ignored.
int ComparePrimary(wchar_t a, wchar_t b) {
  const auto &ctype = UnicodeCase();
  wchar_t foldedA = ctype.tolower(a), foldedB = ctype.tolower(b);
  if (foldedA == foldedB) return 0;
  if (ClassOf(foldedA) != ClassOf(foldedB)) return Sign(ClassOf(foldedA) - ClassOf(foldedB));
  return Sign(static_cast<long long>(foldedA) - foldedB);
}

int CompareIgnoringCase(const wchar_t *a, const wchar_t *b) {
  for (; *a && *b; ++a, ++b) {
    if (int order = ComparePrimary(*a, *b)) return order;
  }
  return Sign(static_cast<long long>(*a != 0) - (*b != 0));
}

// For strings equal but for case: the first difference decides, the
// lowercase letter first.
int CompareCase(const wchar_t *a, const wchar_t *b) {
  for (; *a; ++a, ++b) {
    if (*a != *b) return UnicodeCase().is(std::ctype_base::lower, *a) ? -1 : 1;
  }
  return 0;
}

// Null sorts before every string, the empty one included.
int CompareNulls(const wchar_t *a, const wchar_t *b) { return (a != nullptr) - (b != nullptr); }

}  // namespace

}  // namespace platform::strings

using platform::strings::CompareCase;
using platform::strings::CompareIgnoringCase;
using platform::strings::CompareNulls;

extern "C" int WINAPI lstrlenW(LPCWSTR lpString) { return lpString ? static_cast<int>(wcslen(lpString)) : 0; }

extern "C" LPWSTR WINAPI lstrcpyW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  return wcscpy(lpString1, lpString2);
}

// Copies at most iMaxLength - 1 characters and always terminates the copy;
// with iMaxLength 0 or less nothing is written.
extern "C" LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2) return nullptr;
  if (iMaxLength <= 0) return lpString1;
  int copied = 0;
  for (; copied < iMaxLength - 1 && lpString2[copied]; ++copied) lpString1[copied] = lpString2[copied];
  lpString1[copied] = L'\0';
  return lpString1;
}

extern "C" LPWSTR WINAPI lstrcatW(LPWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return nullptr;
  return wcscat(lpString1, lpString2);
}

extern "C" int WINAPI lstrcmpiW(LPCWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return CompareNulls(lpString1, lpString2);
  return CompareIgnoringCase(lpString1, lpString2);
}

extern "C" int WINAPI lstrcmpW(LPCWSTR lpString1, LPCWSTR lpString2) {
  if (!lpString1 || !lpString2) return CompareNulls(lpString1, lpString2);
  if (int order = CompareIgnoringCase(lpString1, lpString2)) return order;
  return CompareCase(lpString1, lpString2);
}
