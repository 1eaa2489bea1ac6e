// Compiled against the platform's headers but not linked into a test: a
// dialog class with every CDialogImpl member a program uses, so that the
// dialog templates stay buildable until they run in the dialog manager's
// tests.
#include <atlbase.h>
#include <atlwin.h>

namespace {

class CProbeDialog : public CDialogImpl<CProbeDialog> {
 public:
  enum { IDD = 102 };

  BEGIN_MSG_MAP(CProbeDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDOK, 0, OnClose)
  END_MSG_MAP()

  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL &) { return 1; }
  LRESULT OnClose(WORD, WORD wID, HWND, BOOL &) {
    EndDialog(wID);
    return 0;
  }
};

}  // namespace

INT_PTR RunProbeDialogs() {
  CProbeDialog modeless;
  if (modeless.Create(NULL) != NULL) modeless.DestroyWindow();
  CProbeDialog modal;
  return modal.DoModal();
}
