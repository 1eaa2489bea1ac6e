// ATL basics: the debug assertion.
//
// In _DEBUG builds a failed ATLASSERT(expr) writes one line through
// OutputDebugStringW and execution goes on:
//
//   <source file name>(<line>) : Assertion failed: <expression>\n
//
// The source file name is the file's name without its folders (Graph.cpp).
// The expression is the text of expr after macro expansion, as the compiler
// sees it: ATLASSERT(hr == S_OK) reports "hr == ((HRESULT)0L)" and
// ATLASSERT(FALSE) reports "0". _ASSERT_EXPR(expr, L"message") reports the
// message in place of the expression. Without _DEBUG neither evaluates expr.
#pragma once

#include <windows.h>

#include <wchar.h>

#include <string>

#define _ATL_WIDE_(text) L##text
#define _ATL_WIDE(text) _ATL_WIDE_(text)

namespace ATL {

// The file name of a source path, without its folders.
inline const wchar_t *AtlSourceFileName(const wchar_t *pszPath) {
  const wchar_t *pszName = pszPath;
  for (const wchar_t *p = pszPath; *p; ++p) {
    if (*p == L'/' || *p == L'\\') pszName = p + 1;
  }
  return pszName;
}

// "<file>(<line>) : ", the start of assertion and trace lines.
inline std::wstring AtlSourcePrefix(const wchar_t *pszFile, int nLine) {
  wchar_t szLine[16];
  swprintf(szLine, sizeof(szLine) / sizeof(szLine[0]), L"(%d) : ", nLine);
  return std::wstring(AtlSourceFileName(pszFile)) + szLine;
}

inline void AtlReportAssertionFailure(const wchar_t *pszFile, int nLine, const wchar_t *pszText) {
  std::wstring line = AtlSourcePrefix(pszFile, nLine) + L"Assertion failed: " + pszText + L"\n";
  ::OutputDebugStringW(line.c_str());
}

}  // namespace ATL

#ifdef _DEBUG
#define _ATL_ASSERT_REPORT(expr, text) \
  ((expr) ? (void)0 : ::ATL::AtlReportAssertionFailure(_ATL_WIDE(__FILE__), __LINE__, text))
// A second expansion step, so that the reported text is expr with its macros expanded.
#define _ATL_ASSERT_EXPANDED(expr) _ATL_ASSERT_REPORT(expr, _ATL_WIDE(#expr))
#define ATLASSERT(expr) _ATL_ASSERT_EXPANDED(expr)
#ifndef _ASSERT_EXPR
#define _ASSERT_EXPR(expr, msg) _ATL_ASSERT_REPORT(expr, msg)
#endif
#else
#define ATLASSERT(expr) ((void)0)
#ifndef _ASSERT_EXPR
#define _ASSERT_EXPR(expr, msg) ((void)0)
#endif
#endif
