// The ListBox class: a list of strings with one selected item.
//
// Items have a fixed height of 13 pixels (one line of the 8-point dialog
// font). A click selects the item under the mouse; with LBS_NOTIFY the
// parent hears LBN_SELCHANGE, and LBN_DBLCLK for a double click.
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <string>
#include <vector>

#include "controls/control_looks.h"
#include "controls/control_procs.h"
#include "controls/control_state.h"

namespace platform::controls {

namespace {

constexpr int kItemHeight = 13;

struct ListBoxState : windowing::ControlState {
  std::vector<std::wstring> items;
  int selected = LB_ERR;
  int top = 0;
};

template <typename Use>
LRESULT WithList(HWND hwnd, Use use) {
  return WithState<ListBoxState>(hwnd, LRESULT{LB_ERR},
                                 [&](ListBoxState &s, windowing::Window &w) { return use(s, w.style); });
}

// Changes the list's items or selection and has it drawn again.
template <typename Use>
LRESULT ChangeList(HWND hwnd, Use use) {
  const LRESULT result = WithList(hwnd, use);
  InvalidateRect(hwnd, nullptr, TRUE);
  return result;
}

bool ValidIndex(const ListBoxState &s, WPARAM index) { return index < s.items.size(); }

bool LessIgnoringCase(const std::wstring &a, const std::wstring &b) {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return std::towlower(x) < std::towlower(y); });
}

LRESULT Insert(HWND hwnd, WPARAM where, LPCWSTR text, bool sortedAdd) {
  std::wstring item = text ? text : L"";
  return ChangeList(hwnd, [&](ListBoxState &s, DWORD style) -> LRESULT {
    size_t index = where == static_cast<WPARAM>(-1) ? s.items.size() : where;
    if (sortedAdd && (style & LBS_SORT)) {
      index = std::upper_bound(s.items.begin(), s.items.end(), item, LessIgnoringCase) - s.items.begin();
    }
    if (index > s.items.size()) return LB_ERR;
    s.items.insert(s.items.begin() + static_cast<ptrdiff_t>(index), item);
    if (s.selected >= static_cast<int>(index)) ++s.selected;
    return static_cast<LRESULT>(index);
  });
}

LRESULT Delete(HWND hwnd, WPARAM index) {
  return ChangeList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
    if (!ValidIndex(s, index)) return LB_ERR;
    s.items.erase(s.items.begin() + static_cast<ptrdiff_t>(index));
    if (s.selected == static_cast<int>(index)) s.selected = LB_ERR;
    if (s.selected > static_cast<int>(index)) --s.selected;
    return static_cast<LRESULT>(s.items.size());
  });
}

LRESULT GetText(HWND hwnd, WPARAM index, LPWSTR buffer) {
  return WithList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
    if (!ValidIndex(s, index) || !buffer) return LB_ERR;
    const std::wstring &item = s.items[index];
    std::copy(item.begin(), item.end(), buffer);
    buffer[item.size()] = L'\0';
    return static_cast<LRESULT>(item.size());
  });
}

// LB_SETCURSEL with -1, or an index out of range, leaves nothing selected;
// only the out-of-range index is an error.
LRESULT SetCurrent(HWND hwnd, WPARAM index) {
  return ChangeList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
    if (!ValidIndex(s, index)) {
      s.selected = LB_ERR;
      return index == static_cast<WPARAM>(-1) ? 0 : LB_ERR;
    }
    s.selected = static_cast<int>(index);
    return s.selected;
  });
}

LRESULT Find(HWND hwnd, WPARAM after, LPCWSTR text, bool exact) {
  const std::wstring wanted = text ? text : L"";
  return WithList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
    const size_t n = s.items.size();
    const size_t start = after == static_cast<WPARAM>(-1) || after >= n ? 0 : after + 1;
    for (size_t k = 0; k < n; ++k) {
      const size_t i = (start + k) % n;
      const std::wstring candidate = exact ? s.items[i] : s.items[i].substr(0, wanted.size());
      if (!LessIgnoringCase(candidate, wanted) && !LessIgnoringCase(wanted, candidate)) return static_cast<LRESULT>(i);
    }
    return LB_ERR;
  });
}

void Notify(HWND hwnd, WORD code) {
  if (GetWindowLongW(hwnd, GWL_STYLE) & LBS_NOTIFY) NotifyParent(hwnd, code);
}

void SelectByUser(HWND hwnd, int index) {
  const LRESULT count = SendMessageW(hwnd, LB_GETCOUNT, 0, 0);
  if (index < 0 || index >= count) return;
  if (SendMessageW(hwnd, LB_GETCURSEL, 0, 0) == index) return;
  SetCurrent(hwnd, static_cast<WPARAM>(index));
  Notify(hwnd, LBN_SELCHANGE);
}

int ItemAt(HWND hwnd, LPARAM lParam) {
  const int top = static_cast<int>(WithList(hwnd, [](ListBoxState &s, DWORD) -> LRESULT { return s.top; }));
  return top + GET_Y_LPARAM(lParam) / kItemHeight;
}

LRESULT OnKeyDown(HWND hwnd, WPARAM vk) {
  const auto current = static_cast<int>(SendMessageW(hwnd, LB_GETCURSEL, 0, 0));
  const auto count = static_cast<int>(SendMessageW(hwnd, LB_GETCOUNT, 0, 0));
  switch (vk) {
    case VK_UP: SelectByUser(hwnd, current == LB_ERR ? 0 : std::max(current - 1, 0)); break;
    case VK_DOWN: SelectByUser(hwnd, current == LB_ERR ? 0 : std::min(current + 1, count - 1)); break;
    case VK_HOME: SelectByUser(hwnd, 0); break;
    case VK_END: SelectByUser(hwnd, count - 1); break;
    default: break;
  }
  return 0;
}

}  // namespace

ListBoxLook LookOfListBox(HWND hwnd) {
  ListBoxLook look;
  WithList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
    look = ListBoxLook{s.items, s.selected, s.top, kItemHeight};
    return 0;
  });
  return look;
}

LRESULT CALLBACK ListBoxProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case LB_ADDSTRING: return Insert(hwnd, static_cast<WPARAM>(-1), reinterpret_cast<LPCWSTR>(lParam), true);
    case LB_INSERTSTRING: return Insert(hwnd, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case LB_DELETESTRING: return Delete(hwnd, wParam);
    case LB_RESETCONTENT:
      ChangeList(hwnd, [](ListBoxState &s, DWORD) -> LRESULT {
        s = ListBoxState{};
        return 0;
      });
      return 0;
    case LB_GETCOUNT:
      return WithList(hwnd, [](ListBoxState &s, DWORD) { return static_cast<LRESULT>(s.items.size()); });
    case LB_GETTEXT: return GetText(hwnd, wParam, reinterpret_cast<LPWSTR>(lParam));
    case LB_GETTEXTLEN:
      return WithList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
        return ValidIndex(s, wParam) ? static_cast<LRESULT>(s.items[wParam].size()) : LB_ERR;
      });
    case LB_SETCURSEL: return SetCurrent(hwnd, wParam);
    case LB_GETCURSEL: return WithList(hwnd, [](ListBoxState &s, DWORD) -> LRESULT { return s.selected; });
    case LB_FINDSTRING: return Find(hwnd, wParam, reinterpret_cast<LPCWSTR>(lParam), false);
    case LB_FINDSTRINGEXACT: return Find(hwnd, wParam, reinterpret_cast<LPCWSTR>(lParam), true);
    case LB_GETITEMHEIGHT: return kItemHeight;
    case LB_GETTOPINDEX: return WithList(hwnd, [](ListBoxState &s, DWORD) -> LRESULT { return s.top; });
    case LB_SETTOPINDEX:
      return ChangeList(hwnd, [&](ListBoxState &s, DWORD) -> LRESULT {
        if (!ValidIndex(s, wParam)) return LB_ERR;
        s.top = static_cast<int>(wParam);
        return 0;
      });
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      SelectByUser(hwnd, ItemAt(hwnd, lParam));
      return 0;
    case WM_LBUTTONDBLCLK: Notify(hwnd, LBN_DBLCLK); return 0;
    case WM_KEYDOWN: return OnKeyDown(hwnd, wParam);
    case WM_SETFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, LBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      InvalidateRect(hwnd, nullptr, TRUE);
      Notify(hwnd, LBN_KILLFOCUS);
      return 0;
    default: return DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace platform::controls
