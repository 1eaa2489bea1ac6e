// The Edit class: single-line edit controls.
//
// The text lives in the window record (WM_GETTEXT and WM_SETTEXT work as for
// any window); the control keeps the selection, whose end is the caret.
// Every change of the text, a WM_SETTEXT included even when it leaves the
// text as it was, sends EN_UPDATE and then EN_CHANGE to the parent, synchronously.
// ES_NUMBER refuses characters other than digits, typed or pasted.
#include <algorithm>

#include "controls/control_looks.h"
#include "controls/control_procs.h"
#include "controls/control_state.h"
#include "windowing/clipboard.h"

namespace platform::controls {

namespace {

constexpr size_t kDefaultLimit = 0x7FFE;

struct EditState : windowing::ControlState {
  size_t selStart = 0;
  size_t selEnd = 0;  // the caret
  size_t limit = kDefaultLimit;
};

struct Snapshot {
  std::wstring text;
  size_t selStart;
  size_t selEnd;
  size_t limit;
  DWORD style;
};

Snapshot Read(HWND hwnd) {
  return WithState<EditState>(hwnd, Snapshot{}, [](EditState &s, windowing::Window &w) {
    return Snapshot{w.text, std::min(s.selStart, w.text.size()), std::min(s.selEnd, w.text.size()), s.limit,
                    w.style};
  });
}

void SetSelection(HWND hwnd, size_t start, size_t end) {
  WithState<EditState>(hwnd, 0, [&](EditState &s, windowing::Window &w) {
    s.selStart = std::min(start, w.text.size());
    s.selEnd = std::min(end, w.text.size());
    return 0;
  });
  InvalidateRect(hwnd, nullptr, TRUE);
}

void NotifyChange(HWND hwnd) {
  NotifyParent(hwnd, EN_UPDATE);
  NotifyParent(hwnd, EN_CHANGE);
}

bool AllDigits(const std::wstring &text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

// Replaces the selection with `insert`, leaving the caret after it.
// Returns false (and changes nothing) when the control refuses the text.
bool ReplaceSelection(HWND hwnd, const std::wstring &insert) {
  const Snapshot s = Read(hwnd);
  if ((s.style & ES_NUMBER) && !AllDigits(insert)) {
    MessageBeep(0);
    return false;
  }
  const size_t from = std::min(s.selStart, s.selEnd), to = std::max(s.selStart, s.selEnd);
  const size_t room = s.limit - std::min(s.limit, s.text.size() - (to - from));
  const std::wstring accepted = insert.substr(0, room);
  if (accepted.size() < insert.size()) NotifyParent(hwnd, EN_MAXTEXT);
  if (accepted.empty() && from == to) return false;
  WithState<EditState>(hwnd, 0, [&](EditState &state, windowing::Window &w) {
    w.text = s.text.substr(0, from) + accepted + s.text.substr(to);
    state.selStart = state.selEnd = from + accepted.size();
    return 0;
  });
  InvalidateRect(hwnd, nullptr, TRUE);
  NotifyChange(hwnd);
  return true;
}

std::wstring SelectedText(HWND hwnd) {
  const Snapshot s = Read(hwnd);
  const size_t from = std::min(s.selStart, s.selEnd), to = std::max(s.selStart, s.selEnd);
  return s.text.substr(from, to - from);
}

bool ReadOnly(HWND hwnd) { return GetWindowLongW(hwnd, GWL_STYLE) & ES_READONLY; }

// Backspace and Delete remove the selection, or one character before or after the caret.
void DeleteCharacter(HWND hwnd, bool before) {
  const Snapshot s = Read(hwnd);
  if (s.selStart == s.selEnd) {
    if (before ? s.selEnd == 0 : s.selEnd >= s.text.size()) return;
    SetSelection(hwnd, before ? s.selEnd - 1 : s.selEnd + 1, s.selEnd);
  }
  ReplaceSelection(hwnd, L"");
}

void MoveCaret(HWND hwnd, size_t caret, bool extend) {
  const Snapshot s = Read(hwnd);
  SetSelection(hwnd, extend ? s.selStart : caret, caret);
}

LRESULT OnKeyDown(HWND hwnd, WPARAM vk) {
  const Snapshot s = Read(hwnd);
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  switch (vk) {
    case VK_LEFT: MoveCaret(hwnd, s.selEnd > 0 ? s.selEnd - 1 : 0, shift); break;
    case VK_RIGHT: MoveCaret(hwnd, std::min(s.selEnd + 1, s.text.size()), shift); break;
    case VK_HOME: MoveCaret(hwnd, 0, shift); break;
    case VK_END: MoveCaret(hwnd, s.text.size(), shift); break;
    case VK_DELETE:
      if (!ReadOnly(hwnd)) DeleteCharacter(hwnd, false);
      break;
    default: break;
  }
  return 0;
}

constexpr wchar_t kCtrlA = 0x01, kCtrlC = 0x03, kCtrlV = 0x16, kCtrlX = 0x18;

LRESULT OnChar(HWND hwnd, wchar_t ch) {
  switch (ch) {
    case kCtrlA: SetSelection(hwnd, 0, Read(hwnd).text.size()); return 0;
    case kCtrlC: SendMessageW(hwnd, WM_COPY, 0, 0); return 0;
    case kCtrlV: SendMessageW(hwnd, WM_PASTE, 0, 0); return 0;
    case kCtrlX: SendMessageW(hwnd, WM_CUT, 0, 0); return 0;
    case L'\b':
      if (!ReadOnly(hwnd)) DeleteCharacter(hwnd, true);
      return 0;
    default: break;
  }
  if (ch < L' ' || ReadOnly(hwnd)) return 0;
  ReplaceSelection(hwnd, std::wstring(1, ch));
  return 0;
}

LRESULT OnGetSel(HWND hwnd, WPARAM wParam, LPARAM lParam) {
  const Snapshot s = Read(hwnd);
  const auto from = static_cast<DWORD>(std::min(s.selStart, s.selEnd));
  const auto to = static_cast<DWORD>(std::max(s.selStart, s.selEnd));
  if (wParam) *reinterpret_cast<DWORD *>(wParam) = from;
  if (lParam) *reinterpret_cast<DWORD *>(lParam) = to;
  return MAKELONG(std::min<DWORD>(from, 0xFFFF), std::min<DWORD>(to, 0xFFFF));
}

// EM_SETSEL: a start of -1 removes the selection; an end of -1 means the end of the text.
LRESULT OnSetSel(HWND hwnd, WPARAM start, LPARAM end) {
  const Snapshot s = Read(hwnd);
  const auto startIndex = static_cast<INT_PTR>(start);
  if (startIndex < 0) {
    SetSelection(hwnd, s.selEnd, s.selEnd);
    return 0;
  }
  const size_t to = end < 0 ? s.text.size() : static_cast<size_t>(end);
  SetSelection(hwnd, static_cast<size_t>(startIndex), to);
  return 0;
}

LRESULT OnSetText(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
  SetSelection(hwnd, 0, 0);
  NotifyChange(hwnd);
  return result;
}

LRESULT OnClipboard(HWND hwnd, UINT message) {
  if (message == WM_COPY || message == WM_CUT) {
    const std::wstring selected = SelectedText(hwnd);
    if (!selected.empty()) windowing::SetClipboardText(selected);
  }
  if (ReadOnly(hwnd)) return 0;
  if (message == WM_CUT || message == WM_CLEAR) ReplaceSelection(hwnd, L"");
  if (message == WM_PASTE) ReplaceSelection(hwnd, windowing::ClipboardText());
  return 0;
}

LRESULT OnLimitText(HWND hwnd, WPARAM limit) {
  WithState<EditState>(hwnd, 0, [&](EditState &s, windowing::Window &) {
    s.limit = limit ? static_cast<size_t>(limit) : kDefaultLimit;
    return 0;
  });
  return 0;
}

}  // namespace

EditLook LookOfEdit(HWND hwnd) {
  const Snapshot s = Read(hwnd);
  return EditLook{s.selStart, s.selEnd};
}

LRESULT CALLBACK EditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT: return OnSetText(hwnd, message, wParam, lParam);
    case WM_CHAR: return OnChar(hwnd, static_cast<wchar_t>(wParam));
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case EM_GETSEL: return OnGetSel(hwnd, wParam, lParam);
    case EM_SETSEL: return OnSetSel(hwnd, wParam, lParam);
    case EM_REPLACESEL: ReplaceSelection(hwnd, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L""); return 0;
    case EM_LIMITTEXT: return OnLimitText(hwnd, wParam);
    case EM_GETLIMITTEXT: return static_cast<LRESULT>(Read(hwnd).limit);
    case WM_CUT:
    case WM_COPY:
    case WM_PASTE:
    case WM_CLEAR: return OnClipboard(hwnd, message);
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
