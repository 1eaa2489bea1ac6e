// FormatMessageW for system messages.
//
// Supported: FORMAT_MESSAGE_FROM_SYSTEM, with or without
// FORMAT_MESSAGE_ALLOCATE_BUFFER (the caller frees the text with LocalFree),
// in English or the neutral language. Messages are returned with the "\r\n"
// that ends every system message. A message with inserts (%1) needs
// FORMAT_MESSAGE_IGNORE_INSERTS, which returns it unexpanded: expanding
// inserts from arguments, messages from strings or modules, and line-width
// control are not supported.
#include <windows.h>

#include <algorithm>
#include <cwchar>
#include <string>

#include "strings/system_messages.h"

namespace platform::strings {

namespace {

bool IsEnglishOrNeutral(DWORD languageId) {
  WORD primary = PRIMARYLANGID(languageId);
  return primary == LANG_NEUTRAL || primary == LANG_ENGLISH;
}

bool HasInserts(const wchar_t *text) { return wcschr(text, L'%') != nullptr; }

// Fails with the given error: FormatMessageW returns 0.
DWORD Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

DWORD CopyToCallerBuffer(const std::wstring &message, LPWSTR buffer, DWORD size) {
  if (!buffer) return Fail(ERROR_INVALID_PARAMETER);
  if (message.size() + 1 > size) return Fail(ERROR_INSUFFICIENT_BUFFER);
  wmemcpy(buffer, message.c_str(), message.size() + 1);
  return static_cast<DWORD>(message.size());
}

// The block holds at least minimumSize characters, as the caller may ask.
DWORD CopyToLocalMemory(const std::wstring &message, LPWSTR *result, DWORD minimumSize) {
  size_t characters = std::max<size_t>(message.size() + 1, minimumSize);
  auto block = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, characters * sizeof(WCHAR)));
  if (!block) return Fail(ERROR_NOT_ENOUGH_MEMORY);
  wmemcpy(block, message.c_str(), message.size() + 1);
  *result = block;
  return static_cast<DWORD>(message.size());
}

}  // namespace

}  // namespace platform::strings

using platform::strings::Fail;

extern "C" DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                                       LPWSTR lpBuffer, DWORD nSize, va_list *Arguments) {
  bool allocate = dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER;
  auto allocated = reinterpret_cast<LPWSTR *>(lpBuffer);
  if (allocate) {
    if (!allocated) return Fail(ERROR_INVALID_PARAMETER);
    *allocated = nullptr;
  }
  if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)) return Fail(ERROR_INVALID_PARAMETER);
  if (!platform::strings::IsEnglishOrNeutral(dwLanguageId)) return Fail(ERROR_RESOURCE_LANG_NOT_FOUND);
  const wchar_t *text = platform::strings::SystemMessageText(dwMessageId);
  if (!text) return Fail(ERROR_MR_MID_NOT_FOUND);
  if (!(dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) && platform::strings::HasInserts(text)) {
    return Fail(ERROR_INVALID_PARAMETER);
  }
  std::wstring message = std::wstring(text) + L"\r\n";
  if (allocate) return platform::strings::CopyToLocalMemory(message, allocated, nSize);
  return platform::strings::CopyToCallerBuffer(message, lpBuffer, nSize);
}
