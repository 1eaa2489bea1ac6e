// Dialog items: GetDlgItem, SendDlgItemMessageW, Set/GetDlgItemTextW,
// Set/GetDlgItemInt, CheckDlgButton, IsDlgButtonChecked.
#include <windows.h>

#include <cwctype>
#include <optional>
#include <string>

#include "windowing/window_manager.h"

using namespace platform::windowing;

namespace {

std::wstring TextOf(HWND control) {
  const int length = GetWindowTextLengthW(control);
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(control, text.data(), length + 1)));
  return text;
}

// Reads a decimal number as Windows does: leading and trailing blanks
// allowed, a '-' only when signed, nothing else; out of range is no number.
std::optional<long long> ParseInteger(const std::wstring &text, bool isSigned) {
  size_t i = 0;
  while (i < text.size() && text[i] == L' ') ++i;
  bool negative = false;
  if (isSigned && i < text.size() && text[i] == L'-') {
    negative = true;
    ++i;
  }
  const size_t digitsStart = i;
  long long value = 0;
  for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
    value = value * 10 + (text[i] - L'0');
    if (value > 0xFFFFFFFFLL) return std::nullopt;
  }
  if (i == digitsStart) return std::nullopt;
  while (i < text.size() && text[i] == L' ') ++i;
  if (i != text.size()) return std::nullopt;
  if (negative) value = -value;
  if (isSigned && (value < INT32_MIN || value > INT32_MAX)) return std::nullopt;
  return value;
}

}  // namespace

extern "C" HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem) {
  if (!FindOrFail(hDlg)) return nullptr;
  for (HWND child = GetWindow(hDlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (GetDlgCtrlID(child) == nIDDlgItem) return child;
  }
  SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
  return nullptr;
}

extern "C" LRESULT WINAPI SendDlgItemMessageW(HWND hDlg, int nIDDlgItem, UINT Msg, WPARAM wParam, LPARAM lParam) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SendMessageW(control, Msg, wParam, lParam) : 0;
}

extern "C" BOOL WINAPI SetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPCWSTR lpString) {
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? SetWindowTextW(control, lpString) : FALSE;
}

extern "C" UINT WINAPI GetDlgItemTextW(HWND hDlg, int nIDDlgItem, LPWSTR lpString, int cchMax) {
  if (lpString && cchMax > 0) lpString[0] = L'\0';
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  return control ? static_cast<UINT>(GetWindowTextW(control, lpString, cchMax)) : 0;
}

extern "C" BOOL WINAPI SetDlgItemInt(HWND hDlg, int nIDDlgItem, UINT uValue, BOOL bSigned) {
  const std::wstring text =
      bSigned ? std::to_wstring(static_cast<INT32>(uValue)) : std::to_wstring(static_cast<UINT32>(uValue));
  return SetDlgItemTextW(hDlg, nIDDlgItem, text.c_str());
}

extern "C" UINT WINAPI GetDlgItemInt(HWND hDlg, int nIDDlgItem, BOOL *lpTranslated, BOOL bSigned) {
  if (lpTranslated) *lpTranslated = FALSE;
  HWND control = GetDlgItem(hDlg, nIDDlgItem);
  if (!control) return 0;
  auto value = ParseInteger(TextOf(control), bSigned != FALSE);
  if (!value) return 0;
  if (lpTranslated) *lpTranslated = TRUE;
  return static_cast<UINT>(*value);
}

extern "C" BOOL WINAPI CheckDlgButton(HWND hDlg, int nIDButton, UINT uCheck) {
  HWND button = GetDlgItem(hDlg, nIDButton);
  if (!button) return FALSE;
  SendMessageW(button, BM_SETCHECK, uCheck, 0);
  return TRUE;
}

extern "C" UINT WINAPI IsDlgButtonChecked(HWND hDlg, int nIDButton) {
  return static_cast<UINT>(SendDlgItemMessageW(hDlg, nIDButton, BM_GETCHECK, 0, 0));
}
