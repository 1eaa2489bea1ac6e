// CreateDialogParamW, CreateDialogIndirectParamW and the creation steps the
// modal dialog functions share.
#include "dialogs/dialog_creation.h"

#include <algorithm>
#include <cstring>

#include "dialogs/dialog_units.h"
#include "resources/dialog_template.h"
#include "windowing/fonts.h"
#include "windowing/metrics.h"
#include "windowing/window_manager.h"

namespace platform::dialogs {

namespace {

using resources::DialogItemTemplate;
using resources::DialogTemplate;
using resources::NameOrOrdinal;

constexpr size_t kIndirectTemplateLimit = 0x10000;

std::wstring ClassNameOf(const NameOrOrdinal &cls) {
  return cls.IsOrdinal() ? resources::PredefinedClassName(cls.ordinal) : cls.text;
}

LPCWSTR ClassArgument(const NameOrOrdinal &cls, const std::wstring &name) {
  return cls.IsOrdinal() && name.empty() ? MAKEINTATOM(cls.ordinal) : name.c_str();
}

// The client area sits at the template's position, relative to the owner's
// client area (or the screen); the frame goes around it. A top-level dialog
// is then moved, as Windows does, so that it lies inside the work area.
RECT DialogWindowRect(const DialogTemplate &t, DWORD style, DWORD exStyle, BaseUnits base, HWND owner) {
  POINT origin{UnitsToPixelsX(t.x, base), UnitsToPixelsY(t.y, base)};
  if (owner && !(style & DS_ABSALIGN)) ClientToScreen(owner, &origin);
  RECT rect{origin.x, origin.y, origin.x + UnitsToPixelsX(t.cx, base), origin.y + UnitsToPixelsY(t.cy, base)};
  AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  const RECT area = windowing::WorkArea();
  const LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
  if (style & DS_CENTER) {
    rect.left = area.left + (area.right - area.left - width) / 2;
    rect.top = area.top + (area.bottom - area.top - height) / 2;
  }
  rect.left = std::max(area.left, std::min(rect.left, area.right - width));
  rect.top = std::max(area.top, std::min(rect.top, area.bottom - height));
  return RECT{rect.left, rect.top, rect.left + width, rect.top + height};
}

HFONT TemplateFont(const DialogTemplate &t) {
  if (!t.hasFont) return nullptr;
  return windowing::FontFor({t.typeface, t.pointSize, t.weight, t.italic != 0});
}

void AttachDialogState(HWND dialog, DLGPROC proc, BaseUnits base, UINT defaultId) {
  windowing::WithWindow(dialog, 0, [&](windowing::Window &w) {
    w.dialog = std::make_unique<windowing::DialogState>();
    w.dialog->baseUnitX = base.x;
    w.dialog->baseUnitY = base.y;
    w.dialog->defaultId = defaultId;
    return 0;
  });
  SetWindowLongPtrW(dialog, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(proc));
}

UINT FirstDefaultButtonId(const DialogTemplate &t) {
  for (const auto &item : t.items) {
    const bool isButton = ClassNameOf(item.windowClass) == L"Button" ||
                          (item.windowClass.IsOrdinal() && item.windowClass.ordinal == 0x0080);
    if (isButton && (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return item.id;
  }
  return 0;
}

bool CreateControl(HWND dialog, HINSTANCE instance, const DialogItemTemplate &item, BaseUnits base, HFONT font) {
  const std::wstring className = ClassNameOf(item.windowClass);
  std::vector<uint8_t> creationData;
  if (!item.creationData.empty()) {
    // Controls receive the creation data behind its size word, as on Windows.
    const auto size = static_cast<WORD>(item.creationData.size() + sizeof(WORD));
    creationData.resize(sizeof(WORD));
    std::memcpy(creationData.data(), &size, sizeof size);
    creationData.insert(creationData.end(), item.creationData.begin(), item.creationData.end());
  }
  HWND control = CreateWindowExW(
      item.exStyle | WS_EX_NOPARENTNOTIFY, ClassArgument(item.windowClass, className),
      item.title.IsOrdinal() ? L"" : item.title.text.c_str(), item.style | WS_CHILD, UnitsToPixelsX(item.x, base),
      UnitsToPixelsY(item.y, base), UnitsToPixelsX(item.cx, base), UnitsToPixelsY(item.cy, base), dialog,
      reinterpret_cast<HMENU>(static_cast<LONG_PTR>(static_cast<LONG>(item.id))), instance,
      creationData.empty() ? nullptr : creationData.data());
  if (!control) return false;
  if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return true;
}

bool CreateControls(HWND dialog, HINSTANCE instance, const DialogTemplate &t, BaseUnits base, HFONT font) {
  for (const auto &item : t.items) {
    if (!CreateControl(dialog, instance, item, base, font) && !(t.style & DS_NOFAILCREATE)) return false;
  }
  return true;
}

// WM_INITDIALOG names the first tab stop; a nonzero answer gives it the focus.
void InitializeDialog(HWND dialog, LPARAM initParam) {
  HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE);
  LRESULT setFocus = SendMessageW(dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam);
  if (!IsWindow(dialog) || !setFocus || !first) return;
  if (IsWindowVisible(dialog)) {
    SetFocus(first);
  } else {
    windowing::WithWindow(dialog, 0, [&](windowing::Window &w) {
      if (w.dialog) w.dialog->savedFocus = first;
      return 0;
    });
  }
}

}  // namespace

HWND CreateDialogFromTemplate(HINSTANCE instance, std::span<const uint8_t> templateBytes, HWND owner,
                              DLGPROC dialogProc, LPARAM initParam) {
  DialogTemplate t;
  if (!resources::ParseDialogTemplate(templateBytes, t)) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  return CreateDialogFromParsed(instance, t, owner, dialogProc, initParam);
}

HWND CreateDialogFromParsed(HINSTANCE instance, const DialogTemplate &t, HWND owner, DLGPROC dialogProc,
                            LPARAM initParam) {
  const BaseUnits base = BaseUnitsForFont(t.hasFont, t.pointSize);
  const DWORD style = t.style & ~WS_VISIBLE;
  const DWORD exStyle = t.exStyle | ((t.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
  const RECT rect = DialogWindowRect(t, style, exStyle, base, owner);
  const std::wstring className = t.windowClass.text;
  HWND dialog = CreateWindowExW(exStyle, t.windowClass.IsOrdinal() || className.empty() ? WC_DIALOG : className.c_str(),
                                t.title.c_str(), style, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, owner, nullptr, instance, nullptr);
  if (!dialog) return nullptr;
  AttachDialogState(dialog, dialogProc, base, FirstDefaultButtonId(t));
  HFONT font = TemplateFont(t);
  if (font) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (!CreateControls(dialog, instance, t, base, font)) {
    DestroyWindow(dialog);
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  InitializeDialog(dialog, initParam);
  if (IsWindow(dialog) && (t.style & WS_VISIBLE)) ShowWindow(dialog, SW_SHOWNORMAL);
  return IsWindow(dialog) ? dialog : nullptr;
}

std::span<const uint8_t> IndirectTemplate(LPCDLGTEMPLATEW dialogTemplate) {
  if (!dialogTemplate) return {};
  return {reinterpret_cast<const uint8_t *>(dialogTemplate), kIndirectTemplateLimit};
}

std::span<const uint8_t> FindDialogTemplate(HINSTANCE instance, LPCWSTR name) {
  HRSRC info = FindResourceW(instance, name, RT_DIALOG);
  if (!info) return {};
  HGLOBAL data = LoadResource(instance, info);
  const void *bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return {};
  return {static_cast<const uint8_t *>(bytes), SizeofResource(instance, info)};
}

}  // namespace platform::dialogs

using namespace platform::dialogs;

extern "C" HWND WINAPI CreateDialogIndirectParamW(HINSTANCE hInstance, LPCDLGTEMPLATEW lpTemplate, HWND hWndParent,
                                                  DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  if (!lpTemplate) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateDialogFromTemplate(hInstance, IndirectTemplate(lpTemplate), hWndParent, lpDialogFunc, dwInitParam);
}

extern "C" HWND WINAPI CreateDialogParamW(HINSTANCE hInstance, LPCWSTR lpTemplateName, HWND hWndParent,
                                          DLGPROC lpDialogFunc, LPARAM dwInitParam) {
  auto bytes = FindDialogTemplate(hInstance, lpTemplateName);
  if (bytes.empty()) return nullptr;
  return CreateDialogFromTemplate(hInstance, bytes, hWndParent, lpDialogFunc, dwInitParam);
}
