// ATL windowing: CWindow over a window handle, message maps, and modal and
// modeless dialogs (CDialogImpl).
//
// Message maps. A class derived from CMessageMap routes messages with
//
//   BEGIN_MSG_MAP(CMyDialog)
//     MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
//     COMMAND_HANDLER(IDC_LOAD, BN_CLICKED, OnLoad)
//   END_MSG_MAP()
//
// which defines ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult,
// dwMsgMapID). The entries are tried in order; a message entry matches on
// the message, a command entry on WM_COMMAND with both the control id (low
// word of wParam) and the notification code (high word). The first match
// gets bHandled = TRUE and the message; its result goes to lResult, and if
// the handler left bHandled TRUE the map returns TRUE; otherwise the
// following entries are tried. No match returns FALSE. A message-map id
// other than 0 writes the trace "Invalid message map ID (<id>)\n"
// (atlTraceWindowing, level 0), asserts FALSE and returns FALSE.
//
// Handlers: LRESULT OnMessage(UINT uMsg, WPARAM wParam, LPARAM lParam,
// BOOL &bHandled) and LRESULT OnCommand(WORD wNotifyCode, WORD wID,
// HWND hWndCtl, BOOL &bHandled).
//
// Dialogs. DoModal and Create record the object in _AtlWinModule and hand
// StartDialogProc to the dialog manager. Its first message ties the object
// to the window with a window property, makes DialogProc (GetDialogProc())
// the window's dialog procedure and passes the message on. DialogProc
// finds the object through the property and calls ProcessWindowMessage.
// A handled WM_INITDIALOG returns the handler's result as the procedure's
// value (as do the few other messages whose value Windows takes directly);
// any other handled message stores it in DWLP_MSGRESULT and returns TRUE.
// At WM_NCDESTROY the object lets go of the window and OnFinalMessage runs.
#pragma once

#include "atlbase.h"

namespace ATL {

class CWindow {
 public:
  CWindow(HWND hWnd = NULL) noexcept : m_hWnd(hWnd) {}
  CWindow &operator=(HWND hWnd) noexcept {
    m_hWnd = hWnd;
    return *this;
  }
  operator HWND() const noexcept { return m_hWnd; }

  void Attach(HWND hWndNew) noexcept {
    ATLASSERT(m_hWnd == NULL);
    m_hWnd = hWndNew;
  }
  HWND Detach() noexcept { return std::exchange(m_hWnd, nullptr); }

  BOOL IsWindow() const noexcept { return ::IsWindow(m_hWnd); }
  HWND GetDlgItem(int nID) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::GetDlgItem(m_hWnd, nID);
  }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL SetWindowText(LPCWSTR lpszString) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SetWindowTextW(m_hWnd, lpszString);
  }
  BOOL EnableWindow(BOOL bEnable = TRUE) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::EnableWindow(m_hWnd, bEnable);
  }
  BOOL ShowWindow(int nCmdShow) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::ShowWindow(m_hWnd, nCmdShow);
  }
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = NULL) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::KillTimer(m_hWnd, nIDEvent);
  }
  BOOL GetWindowRect(LPRECT lpRect) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::GetWindowRect(m_hWnd, lpRect);
  }
  BOOL GetClientRect(LPRECT lpRect) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::GetClientRect(m_hWnd, lpRect);
  }
  BOOL SetWindowPos(HWND hWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SetWindowPos(m_hWnd, hWndInsertAfter, x, y, cx, cy, nFlags);
  }
  BOOL SetDlgItemText(int nID, LPCWSTR lpszString) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SetDlgItemTextW(m_hWnd, nID, lpszString);
  }
  BOOL SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SetDlgItemInt(m_hWnd, nID, nValue, bSigned);
  }
  BOOL CheckDlgButton(int nIDButton, UINT nCheck) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::CheckDlgButton(m_hWnd, nIDButton, nCheck);
  }
  LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::SendDlgItemMessageW(m_hWnd, nID, message, wParam, lParam);
  }
  UINT GetDlgItemText(int nID, LPWSTR lpStr, int nMaxCount) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::GetDlgItemTextW(m_hWnd, nID, lpStr, nMaxCount);
  }
  UINT GetDlgItemInt(int nID, BOOL *lpTrans = NULL, BOOL bSigned = TRUE) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::GetDlgItemInt(m_hWnd, nID, lpTrans, bSigned);
  }
  UINT IsDlgButtonChecked(int nIDButton) const noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::IsDlgButtonChecked(m_hWnd, nIDButton);
  }
  BOOL BringWindowToTop() noexcept {
    ATLASSERT(::IsWindow(m_hWnd));
    return ::BringWindowToTop(m_hWnd);
  }

  HWND m_hWnd;
};

class CMessageMap {
 public:
  virtual BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT &lResult,
                                    DWORD dwMsgMapID) = 0;
};

// A window object: the window handle (TBase), the message map, and the
// message being handled.
template <class TBase = CWindow>
class CWindowImplRoot : public TBase, public CMessageMap {
 public:
  CWindowImplRoot() noexcept : m_pCurrentMsg(NULL) {}
  virtual ~CWindowImplRoot() { ATLASSERT(this->m_hWnd == NULL); }
  CWindowImplRoot(const CWindowImplRoot &) = delete;
  CWindowImplRoot &operator=(const CWindowImplRoot &) = delete;

  const MSG *m_pCurrentMsg;
};

// The window property that ties a dialog window to its object.
inline const wchar_t *const _AtlDialogObjectProperty = L"ATL.CDialogImplBase";

// Whether a dialog procedure returns a handled message's result as its own
// value instead of storing it in DWLP_MSGRESULT.
inline bool AtlDialogProcReturnsResult(UINT uMsg) noexcept {
  switch (uMsg) {
    case WM_INITDIALOG:
    case 0x002E:  // WM_VKEYTOITEM
    case 0x002F:  // WM_CHARTOITEM
    case 0x0037:  // WM_QUERYDRAGICON
    case 0x0039:  // WM_COMPAREITEM
      return true;
    default:
      return uMsg >= 0x0132 && uMsg <= 0x0138;  // WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC
  }
}

template <class TBase = CWindow>
class CDialogImplBaseT : public CWindowImplRoot<TBase> {
 public:
  virtual DLGPROC GetDialogProc() { return DialogProc; }

  static INT_PTR CALLBACK StartDialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto *pThis = static_cast<CDialogImplBaseT *>(_AtlWinModule.ExtractCreateWndData());
    ATLASSERT(pThis != NULL);
    if (pThis == NULL) return FALSE;
    pThis->m_createData.m_pThis = NULL;  // taken: the dialog manager called us
    pThis->m_hWnd = hWnd;
    ::SetPropW(hWnd, _AtlDialogObjectProperty, static_cast<HANDLE>(pThis));
    const DLGPROC pProc = pThis->GetDialogProc();
    ::SetWindowLongPtrW(hWnd, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(pProc));
    return pProc(hWnd, uMsg, wParam, lParam);
  }

  static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    auto *pThis = static_cast<CDialogImplBaseT *>(::GetPropW(hWnd, _AtlDialogObjectProperty));
    if (pThis == NULL) return FALSE;
    MSG msg = {hWnd, uMsg, wParam, lParam, 0, {0, 0}};
    const MSG *pOldMsg = std::exchange(pThis->m_pCurrentMsg, &msg);
    LRESULT lResult = 0;
    const BOOL bHandled = pThis->ProcessWindowMessage(hWnd, uMsg, wParam, lParam, lResult, 0);
    pThis->m_pCurrentMsg = pOldMsg;
    if (uMsg == WM_NCDESTROY) pThis->ReleaseWindow(hWnd);
    if (!bHandled) return FALSE;
    if (AtlDialogProcReturnsResult(uMsg)) return static_cast<INT_PTR>(lResult);
    if (uMsg != WM_NCDESTROY) ::SetWindowLongPtrW(hWnd, DWLP_MSGRESULT, lResult);
    return TRUE;
  }

  virtual void OnFinalMessage(HWND hWnd) {}

 protected:
  // Records the object as the calling thread's window being created, for
  // StartDialogProc; false when the window support is not available.
  bool PrepareCreation() noexcept {
    if (_AtlWinModule.cbSize == 0) return false;
    _AtlWinModule.AddCreateWndData(&m_createData, this);
    return true;
  }
  // After the dialog manager returned: takes the record back if no message
  // ever reached StartDialogProc (the dialog could not be created).
  void EndCreation() noexcept {
    if (m_createData.m_pThis != NULL) _AtlWinModule.ExtractCreateWndData();
    m_createData.m_pThis = NULL;
  }

 private:
  void ReleaseWindow(HWND hWnd) {
    ::RemovePropW(hWnd, _AtlDialogObjectProperty);
    this->m_hWnd = NULL;
    OnFinalMessage(hWnd);
  }

  _AtlCreateWndData m_createData = {};
};

// A dialog from template T::IDD of the module's resources.
template <class T, class TBase = CWindow>
class CDialogImpl : public CDialogImplBaseT<TBase> {
 public:
  // Runs the dialog modally; its result is the value given to EndDialog,
  // or -1 when the dialog could not be created (with ERROR_OUTOFMEMORY as
  // the last error when the window support is not available).
  INT_PTR DoModal(HWND hWndParent = ::GetActiveWindow(), LPARAM dwInitParam = 0) {
    ATLASSERT(this->m_hWnd == NULL);
    if (!this->PrepareCreation()) {
      ::SetLastError(ERROR_OUTOFMEMORY);
      return -1;
    }
    m_bModal = TRUE;
    const INT_PTR nResult = ::DialogBoxParamW(_AtlBaseModule.GetResourceInstance(),
                                              MAKEINTRESOURCEW(static_cast<T *>(this)->IDD), hWndParent,
                                              T::StartDialogProc, dwInitParam);
    this->EndCreation();
    return nResult;
  }
  BOOL EndDialog(int nRetCode) {
    ATLASSERT(::IsWindow(this->m_hWnd));
    ATLASSERT(m_bModal);
    return ::EndDialog(this->m_hWnd, nRetCode);
  }

  // Creates the dialog modeless; NULL on failure.
  HWND Create(HWND hWndParent, LPARAM dwInitParam = 0) {
    ATLASSERT(this->m_hWnd == NULL);
    if (!this->PrepareCreation()) {
      ::SetLastError(ERROR_OUTOFMEMORY);
      return NULL;
    }
    m_bModal = FALSE;
    const HWND hWnd = ::CreateDialogParamW(_AtlBaseModule.GetResourceInstance(),
                                           MAKEINTRESOURCEW(static_cast<T *>(this)->IDD), hWndParent,
                                           T::StartDialogProc, dwInitParam);
    this->EndCreation();
    return hWnd;
  }
  BOOL DestroyWindow() {
    ATLASSERT(::IsWindow(this->m_hWnd));
    ATLASSERT(!m_bModal);
    return ::DestroyWindow(this->m_hWnd);
  }

  BOOL m_bModal = FALSE;
};

}  // namespace ATL

#define BEGIN_MSG_MAP(theClass)                                                                           \
 public:                                                                                                  \
  BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT &lResult,         \
                            DWORD dwMsgMapID = 0) {                                                       \
    BOOL bHandled = TRUE;                                                                                 \
    (void)hWnd;                                                                                           \
    (void)uMsg;                                                                                           \
    (void)wParam;                                                                                         \
    (void)lParam;                                                                                         \
    (void)lResult;                                                                                        \
    (void)bHandled;                                                                                       \
    switch (dwMsgMapID) {                                                                                 \
      case 0:

#define MESSAGE_HANDLER(msg, func)                 \
  if (uMsg == (msg)) {                             \
    bHandled = TRUE;                               \
    lResult = func(uMsg, wParam, lParam, bHandled); \
    if (bHandled) return TRUE;                     \
  }

#define COMMAND_HANDLER(id, code, func)                                                          \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == (id) && HIWORD(wParam) == (code)) {                \
    bHandled = TRUE;                                                                             \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);    \
    if (bHandled) return TRUE;                                                                   \
  }

#define COMMAND_ID_HANDLER(id, func)                                                             \
  if (uMsg == WM_COMMAND && LOWORD(wParam) == (id)) {                                            \
    bHandled = TRUE;                                                                             \
    lResult = func(HIWORD(wParam), LOWORD(wParam), reinterpret_cast<HWND>(lParam), bHandled);    \
    if (bHandled) return TRUE;                                                                   \
  }

#define END_MSG_MAP()                                                                      \
  break;                                                                                   \
  default:                                                                                 \
    ATLTRACE2(ATL::atlTraceWindowing, 0, L"Invalid message map ID (%i)\n", dwMsgMapID);   \
    ATLASSERT(FALSE);                                                                      \
    break;                                                                                 \
    }                                                                                      \
    return FALSE;                                                                          \
    }
