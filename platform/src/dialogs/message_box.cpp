// MessageBoxW: a modal dialog built by the platform, owned by the given
// window (disabled while the box is up), with the text, an icon for the
// icon bits, and the buttons of the type bits. It runs its own message loop,
// in which timers and posted messages keep flowing.
//
// Layout in dialog units of the 8-point dialog font: 7-unit margins, the
// icon 21 x 20 units at the left, text lines 8 units high with 4 units per
// character, buttons 50 x 14 units with 4 units between them, centred.
#include "dialogs/message_box.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "dialogs/dialog_creation.h"
#include "dialogs/modal_loop.h"

namespace platform::dialogs {

namespace {

constexpr short kMargin = 7;
constexpr short kIconSize = 21;
constexpr short kIconGap = 7;
constexpr short kCharWidth = 4;
constexpr short kLineHeight = 8;
constexpr short kButtonWidth = 50;
constexpr short kButtonHeight = 14;
constexpr short kButtonGap = 4;
constexpr short kMinTextWidth = 100;
constexpr DWORD kTextId = 0xFFFF;
constexpr DWORD kIconId = 0x14;

struct ButtonSpec {
  int id;
  const wchar_t *text;
};

std::vector<ButtonSpec> ButtonsFor(UINT type) {
  switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {{IDOK, L"OK"}, {IDCANCEL, L"Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, L"&Abort"}, {IDRETRY, L"&Retry"}, {IDIGNORE, L"&Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, L"&Yes"}, {IDNO, L"&No"}, {IDCANCEL, L"Cancel"}};
    case MB_YESNO: return {{IDYES, L"&Yes"}, {IDNO, L"&No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, L"&Retry"}, {IDCANCEL, L"Cancel"}};
    default: return {{IDOK, L"OK"}};
  }
}

// Esc and the close box answer Cancel when there is one, OK when OK is the
// only button, and nothing otherwise.
int CancelAnswer(UINT type) {
  for (const auto &b : ButtonsFor(type)) {
    if (b.id == IDCANCEL) return IDCANCEL;
  }
  return (type & MB_TYPEMASK) == MB_OK ? IDOK : 0;
}

struct TextExtent {
  short width;
  short height;
};

TextExtent MeasureText(const std::wstring &text) {
  size_t longest = 0, lines = 1, current = 0;
  for (wchar_t c : text) {
    if (c == L'\n') {
      ++lines;
      current = 0;
    } else if (c != L'\r') {
      longest = std::max(longest, ++current);
    }
  }
  const auto width = static_cast<short>(std::min<size_t>(longest * kCharWidth, 600));
  const auto height = static_cast<short>(std::min<size_t>(lines * kLineHeight, 400));
  return TextExtent{std::max(width, kMinTextWidth), height};
}

resources::DialogItemTemplate Item(DWORD id, WORD classOrdinal, const std::wstring &title, DWORD style, short x,
                                   short y, short cx, short cy) {
  resources::DialogItemTemplate item;
  item.id = id;
  item.windowClass.ordinal = classOrdinal;
  item.title.text = title;
  item.style = WS_CHILD | WS_VISIBLE | style;
  item.x = x;
  item.y = y;
  item.cx = cx;
  item.cy = cy;
  return item;
}

resources::DialogTemplate BuildTemplate(const MessageBoxInfo &info) {
  constexpr WORD kButtonClass = 0x0080, kStaticClass = 0x0082;
  const bool hasIcon = (info.type & MB_ICONMASK) != 0;
  const TextExtent text = MeasureText(info.text);
  const auto buttons = ButtonsFor(info.type);
  const short textLeft = hasIcon ? kMargin + kIconSize + kIconGap : kMargin;
  const short bodyHeight = std::max<short>(text.height, hasIcon ? kIconSize : 0);
  const auto buttonsWidth = static_cast<short>(buttons.size() * kButtonWidth + (buttons.size() - 1) * kButtonGap);
  const short width = std::max<short>(textLeft + text.width + kMargin, buttonsWidth + 2 * kMargin);
  const short buttonsTop = kMargin + bodyHeight + kMargin;

  resources::DialogTemplate t;
  t.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT;
  t.title = info.caption;
  t.hasFont = true;
  t.pointSize = 8;
  t.typeface = L"MS Shell Dlg";
  t.cx = width;
  t.cy = buttonsTop + kButtonHeight + kMargin;
  if (hasIcon) t.items.push_back(Item(kIconId, kStaticClass, L"", SS_ICON, kMargin, kMargin, kIconSize, kIconSize));
  t.items.push_back(Item(kTextId, kStaticClass, info.text, SS_LEFT | SS_NOPREFIX, textLeft, kMargin, text.width,
                         text.height));
  short x = static_cast<short>((width - buttonsWidth) / 2);
  for (size_t i = 0; i < buttons.size(); ++i) {
    const DWORD style = WS_TABSTOP | (i == 0 ? WS_GROUP | BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
    t.items.push_back(Item(buttons[i].id, kButtonClass, buttons[i].text, style, x, buttonsTop, kButtonWidth,
                           kButtonHeight));
    x = static_cast<short>(x + kButtonWidth + kButtonGap);
  }
  return t;
}

std::mutex g_boxesMutex;
std::map<HWND, MessageBoxInfo> g_boxes;
MessageBoxHook g_hook;

constexpr UINT kAnnounce = WM_APP + 0x3FF;

INT_PTR CALLBACK MessageBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      const auto &info = *reinterpret_cast<const MessageBoxInfo *>(lParam);
      {
        std::lock_guard lock(g_boxesMutex);
        g_boxes[box] = info;
      }
      // Tell the hook once the box's own loop runs.
      PostMessageW(box, kAnnounce, 0, 0);
      return TRUE;
    }
    case kAnnounce: {
      MessageBoxHook hook;
      MessageBoxInfo info;
      {
        std::lock_guard lock(g_boxesMutex);
        hook = g_hook;
        info = g_boxes[box];
      }
      if (hook) hook(box, info);
      return TRUE;
    }
    case WM_COMMAND: {
      MessageBoxInfo info;
      DescribeMessageBox(box, info);
      int answer = LOWORD(wParam);
      if (answer == IDCANCEL) answer = CancelAnswer(info.type);
      if (answer) EndDialog(box, answer);
      return TRUE;
    }
    case WM_DESTROY: {
      std::lock_guard lock(g_boxesMutex);
      g_boxes.erase(box);
      return FALSE;
    }
    default: return FALSE;
  }
}

}  // namespace

bool DescribeMessageBox(HWND hwnd, MessageBoxInfo &out) {
  std::lock_guard lock(g_boxesMutex);
  auto it = g_boxes.find(hwnd);
  if (it == g_boxes.end()) return false;
  out = it->second;
  return true;
}

void SetMessageBoxHook(MessageBoxHook hook) {
  std::lock_guard lock(g_boxesMutex);
  g_hook = std::move(hook);
}

}  // namespace platform::dialogs

using namespace platform::dialogs;

// A null text shows as empty, a null caption as "Error", as on Windows.
extern "C" int WINAPI MessageBoxW(HWND hWnd, LPCWSTR lpText, LPCWSTR lpCaption, UINT uType) {
  if (hWnd && !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  MessageBoxInfo info{lpText ? lpText : L"", lpCaption ? lpCaption : L"Error", uType};
  const auto boxTemplate = BuildTemplate(info);
  const INT_PTR result = RunModalDialog(hWnd, [&](HWND owner) {
    return CreateDialogFromParsed(nullptr, boxTemplate, owner, MessageBoxProc, reinterpret_cast<LPARAM>(&info));
  });
  return result < 0 ? 0 : static_cast<int>(result);
}
