// InitCommonControlsEx: the common control classes are registered with the
// platform's other system classes when the first window manager call is
// made, so this only checks its argument, as Windows does.
#include <commctrl.h>

namespace {

constexpr DWORD kKnownClasses = ICC_WIN95_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_COOL_CLASSES |
                                ICC_INTERNET_CLASSES | ICC_PAGESCROLLER_CLASS | ICC_NATIVEFNTCTL_CLASS |
                                ICC_STANDARD_CLASSES | ICC_LINK_CLASS;

}  // namespace

extern "C" BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *picce) {
  if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX) || (picce->dwICC & ~kKnownClasses)) return FALSE;
  return TRUE;
}

extern "C" void WINAPI InitCommonControls(void) {}
