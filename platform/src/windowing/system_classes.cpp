#include "windowing/system_classes.h"

#include "controls/control_procs.h"
#include "windowing/window_manager.h"

namespace platform::windowing {

namespace {

struct SystemClass {
  const wchar_t *name;
  WNDPROC proc;
  UINT style;
  int wndExtra;
};

// The common controls are registered with the rest: on Windows the program's
// import of the common-controls library registers them at load time.
const SystemClass kSystemClasses[] = {
    {L"#32770", DefDlgProcW, CS_SAVEBITS | CS_DBLCLKS, DLGWINDOWEXTRA},
    {L"Button", controls::ButtonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, 0},
    {L"Edit", controls::EditProc, CS_DBLCLKS | CS_PARENTDC, 0},
    {L"Static", controls::StaticProc, CS_DBLCLKS | CS_PARENTDC, 0},
    {L"ListBox", controls::ListBoxProc, CS_DBLCLKS | CS_PARENTDC, 0},
    {L"msctls_trackbar32", controls::TrackbarProc, CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW, 0},
    {L"msctls_updown32", controls::UpDownProc, CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW, 0},
};

}  // namespace

void RegisterSystemClasses(WindowManager &manager) {
  for (const auto &entry : kSystemClasses) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = entry.style;
    wc.lpfnWndProc = entry.proc;
    wc.cbWndExtra = entry.wndExtra;
    wc.lpszClassName = entry.name;
    manager.RegisterClass(wc, true);
  }
}

}  // namespace platform::windowing
