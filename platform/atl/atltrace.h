// ATL trace lines: ATLTRACE2(category, level, format, ...) and
// ATLTRACE(format, ...), the latter in atlTraceGeneral at level 0.
//
// In _DEBUG builds a trace whose level is at most its category's level is
// formatted and written as one line through OutputDebugStringW:
//
//   <source file name>(<line>) : <category name> level <level> - <text>
//
// The text is the format with its arguments; it ends with a newline only if
// the format does. Every category starts at ATL_TRACE_LEVEL, 10 unless the
// program defines it otherwise before including ATL: the program's levels 0
// (invalid states), 2 (errors and events) and 10 (progress) are all shown.
// A program may change a category's level while it runs (SetLevel).
//
// Formats follow the Windows rules of the wide printf family, whether the
// format is wide or narrow: in a wide format %s and %c take wide text and
// %S and %C narrow; in a narrow format it is the other way round; %hs and
// %ls name the width explicitly. The l size prefix of integers (%ld, %lx)
// means 32 bits, %I64d and %I64x 64 bits. Texts are formatted with the
// C library's vswprintf.
#pragma once

#include <stdarg.h>
#include <wchar.h>

#include <atomic>
#include <string>
#include <vector>

#include "atldef.h"

#ifndef ATL_TRACE_LEVEL
#define ATL_TRACE_LEVEL 10
#endif

namespace ATL {

class CTraceCategory {
 public:
  // constexpr: categories are ready before any static constructor traces.
  explicit constexpr CTraceCategory(LPCWSTR pszCategoryName, UINT nStartingLevel = ATL_TRACE_LEVEL) noexcept
      : m_pszName(pszCategoryName), m_nLevel(nStartingLevel) {}

  LPCWSTR GetCategoryName() const noexcept { return m_pszName; }
  UINT GetLevel() const noexcept { return m_nLevel; }
  // Traces in this category at levels above nLevel are left out from now on.
  void SetLevel(UINT nLevel) noexcept { m_nLevel = nLevel; }

 private:
  LPCWSTR m_pszName;
  std::atomic<UINT> m_nLevel;
};

inline CTraceCategory atlTraceGeneral(L"atlTraceGeneral");
inline CTraceCategory atlTraceCOM(L"atlTraceCOM");
inline CTraceCategory atlTraceWindowing(L"atlTraceWindowing");

// The format with the C library's meaning of each conversion, for a Windows
// format given to a wide (bWideFormat) or a narrow function.
inline std::wstring AtlTraceCrtFormat(const wchar_t *pszFormat, bool bWideFormat) {
  std::wstring crt;
  const wchar_t *p = pszFormat;
  while (*p) {
    crt += *p;
    if (*p++ != L'%') continue;
    while (*p && wcschr(L"-+ #0123456789.*", *p)) crt += *p++;
    std::wstring size;
    if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
      size = L"ll", p += 3;
    } else if (p[0] == L'I' && p[1] == L'3' && p[2] == L'2') {
      p += 3;
    } else if (*p == L'I') {
      size = L"z", ++p;
    } else if (*p == L'w') {
      size = L"l", ++p;
    } else {
      while (*p && wcschr(L"hlLzjt", *p)) size += *p++;
    }
    const wchar_t conversion = *p;
    if (!conversion) break;
    ++p;
    if (wcschr(L"diouxX", conversion)) {
      crt += (size == L"l" ? L"" : size) + conversion;
    } else if (wcschr(L"sScC", conversion)) {
      const bool bUpper = conversion == L'S' || conversion == L'C';
      const bool bWideText = size == L"h" ? false : size == L"l" ? true : bUpper != bWideFormat;
      crt += std::wstring(bWideText ? L"l" : L"") + static_cast<wchar_t>(bUpper ? conversion + (L'a' - L'A') : conversion);
    } else {
      crt += size + conversion;
    }
  }
  return crt;
}

// A narrow format as wide text, byte for byte (formats are plain ASCII).
inline std::wstring AtlTraceWidenFormat(const char *pszFormat) {
  std::wstring wide;
  for (const char *p = pszFormat; *p; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
  return wide;
}

inline std::wstring AtlTraceFormatV(const wchar_t *pszCrtFormat, va_list args) {
  constexpr size_t kLongestText = 65536;
  std::vector<wchar_t> text(256);
  for (;;) {
    va_list argsCopy;
    va_copy(argsCopy, args);
    const int nLength = vswprintf(text.data(), text.size(), pszCrtFormat, argsCopy);
    va_end(argsCopy);
    if (nLength >= 0) return std::wstring(text.data(), static_cast<size_t>(nLength));
    // vswprintf fails alike on a short buffer and on text it cannot convert.
    if (text.size() >= kLongestText) return pszCrtFormat;
    text.resize(text.size() * 2);
  }
}

// What ATLTRACE2 expands to: the source place, then a call with the
// category, the level, the format and its arguments.
class CTraceFileAndLineInfo {
 public:
  CTraceFileAndLineInfo(const wchar_t *pszFileName, int nLineNo) noexcept
      : m_pszFileName(pszFileName), m_nLineNo(nLineNo) {}

  void operator()(const CTraceCategory &category, UINT nLevel, const wchar_t *pszFormat, ...) const {
    va_list args;
    va_start(args, pszFormat);
    TraceV(category, nLevel, AtlTraceCrtFormat(pszFormat, true), args);
    va_end(args);
  }

  void operator()(const CTraceCategory &category, UINT nLevel, const char *pszFormat, ...) const {
    va_list args;
    va_start(args, pszFormat);
    TraceV(category, nLevel, AtlTraceCrtFormat(AtlTraceWidenFormat(pszFormat).c_str(), false), args);
    va_end(args);
  }

  void operator()(const wchar_t *pszFormat, ...) const {
    va_list args;
    va_start(args, pszFormat);
    TraceV(atlTraceGeneral, 0, AtlTraceCrtFormat(pszFormat, true), args);
    va_end(args);
  }

  void operator()(const char *pszFormat, ...) const {
    va_list args;
    va_start(args, pszFormat);
    TraceV(atlTraceGeneral, 0, AtlTraceCrtFormat(AtlTraceWidenFormat(pszFormat).c_str(), false), args);
    va_end(args);
  }

 private:
  void TraceV(const CTraceCategory &category, UINT nLevel, const std::wstring &crtFormat, va_list args) const {
    if (nLevel > category.GetLevel()) return;
    wchar_t szLevel[32];
    swprintf(szLevel, sizeof(szLevel) / sizeof(szLevel[0]), L" level %u - ", nLevel);
    const std::wstring line = AtlSourcePrefix(m_pszFileName, m_nLineNo) + category.GetCategoryName() + szLevel +
                              AtlTraceFormatV(crtFormat.c_str(), args);
    ::OutputDebugStringW(line.c_str());
  }

  const wchar_t *m_pszFileName;
  int m_nLineNo;
};

}  // namespace ATL

#ifdef _DEBUG
#define ATLTRACE2 ::ATL::CTraceFileAndLineInfo(_ATL_WIDE(__FILE__), __LINE__)
#define ATLTRACE ATLTRACE2
#else
#define ATLTRACE2(...) ((void)0)
#define ATLTRACE(...) ((void)0)
#endif
