// The test console: the main dialog's start-up, its handlers, the error box
// and the position read-out.
#include "MainDialog.h"

#include <commctrl.h>
#include <commdlg.h>

namespace
{

const UINT_PTR nRefreshTimer = 1;
const UINT nRefreshPeriod = 100;
const WCHAR szCaption[] = L"Quorvel";
const int nTrackbarMax = 1000;

// The trackbar's selection end for a position: the position in thousandths
// of the duration, halves going up. Positions outside 0 to the duration
// stay on the trackbar's range instead of overflowing the conversion.
WORD SelectionEnd(LONGLONG llPosition, LONGLONG llDuration)
{
    double dEnd = 1000.0 * (double)llPosition / (double)llDuration + 0.5;
    if (!(dEnd > 0.0))
        return 0;
    if (dEnd > nTrackbarMax)
        return nTrackbarMax;
    return (WORD)(int)dEnd;
}

} // namespace

int ShowMessage(HWND hWnd, LPCWSTR pszText, LPCWSTR pszCaption, HRESULT hr, UINT uType)
{
    const int cch = 1024;
    WCHAR str[cch];
    WCHAR msg[cch];
    ZeroMemory(str, sizeof(str));
    ZeroMemory(msg, sizeof(msg));
    int n = 0;
    if (pszText)
    {
        lstrcpynW(str, pszText, cch);
        n = lstrlenW(str);
    }
    if (hr != 0)
    {
        DWORD k = 0;
        if (HRESULT_FACILITY(hr) == FACILITY_ITF)
            k = AMGetErrorTextW(hr, msg, cch - 1);
        if (k == 0)
            k = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, NULL, hr,
                               MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), msg, cch - 1, NULL);
        if (k != 0)
        {
            if (n > 0 && n < cch - 1)
                str[n++] = L'\n';
            lstrcpynW(str + n, msg, cch - n);
            n = lstrlenW(str);
        }
        wsprintfW(msg, L"%sError 0x%X", n > 0 ? L"\n" : L"", hr);
        lstrcpynW(str + n, msg, cch - n);
        if (uType == 0)
            uType = MB_ICONERROR;
    }
    HWND hWndOwner = IsWindow(hWnd) ? hWnd : GetActiveWindow();
    return MessageBoxW(hWndOwner, str, pszCaption, uType);
}

int FormatReferenceTime(LPWSTR psz, REFERENCE_TIME t)
{
    if (!psz)
        return 0;
    if (t == MINLONGLONG)
        return wsprintfW(psz, L"MINLONGLONG");
    if (t == MAXLONGLONG)
        return wsprintfW(psz, L"MAXLONGLONG");
    const LONGLONG llUnitsPerSecond = 10000000;
    LONGLONG llSeconds = t / llUnitsPerSecond;
    LONGLONG llFraction = t % llUnitsPerSecond;
    if (t >= 0 && llSeconds <= MAXLONG)
        return wsprintfW(psz, L"%i.%07i", (int)llSeconds, (int)llFraction);
    // Negative values and those of more than 2^31 seconds: the sign, then
    // the magnitude's seconds in full.
    if (t < 0)
        return wsprintfW(psz, L"-%I64i.%07i", -llSeconds, (int)-llFraction);
    return wsprintfW(psz, L"%I64i.%07i", llSeconds, (int)llFraction);
}

CMainDialog::CMainDialog()
    : m_tAvgTimePerFrame(0)
    , m_bThreadsChangeEnabled(false)
{
    m_szFile[0] = L'\0';
}

int CMainDialog::ShowError(LPCWSTR pszText, HRESULT hr)
{
    return ShowMessage(m_hWnd, pszText, szCaption, hr, 0);
}

void CMainDialog::EnableControls(BOOL bEnable)
{
    for (int nID = IDC_THREADS; nID <= IDC_STOP; ++nID)
        ::EnableWindow(GetDlgItem(nID), bEnable);
}

LRESULT CMainDialog::OnInitDialog(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& /*bHandled*/)
{
    HICON hIcon = LoadIconW(_AtlBaseModule.GetModuleInstance(), MAKEINTRESOURCEW(IDI_QUORVEL));
    ::SetClassLongPtrW(m_hWnd, GCLP_HICON, (LONG_PTR)hIcon);
    m_bThreadsChangeEnabled = false;

    INITCOMMONCONTROLSEX icc = { sizeof(icc), ICC_BAR_CLASSES };
    BOOL bRet = InitCommonControlsEx(&icc);
    ATLASSERT(bRet);

    PlaceAtBottom();

    SendDlgItemMessage(IDC_SEEK_BAR, TBM_SETRANGE, FALSE, MAKELPARAM(0, nTrackbarMax));
    SendDlgItemMessage(IDC_SEEK_BAR, TBM_SETSEL, FALSE, 0);
    SetDlgItemText(IDC_POSITION, L"");
    SetDlgItemInt(IDC_THREADS, 1, TRUE);

    SYSTEM_INFO rgSysInfo;
    GetSystemInfo(&rgSysInfo);
    SendDlgItemMessage(IDC_THREADS_SPIN, UDM_SETRANGE, 0, (LPARAM)LOWORD(rgSysInfo.dwNumberOfProcessors));

    CheckDlgButton(IDC_PASS_THROUGH, BST_UNCHECKED);
    CheckDlgButton(IDC_MAINTAIN_ASPECT_RATIO, BST_UNCHECKED);
    CheckDlgButton(IDC_FORCE_CHROMA_FORMAT, BST_UNCHECKED);
    EnableControls(FALSE);

    lstrcpyW(m_szFile, QUORVEL_SAMPLE_GRAPH);
    SetDlgItemText(IDC_FILE, m_szFile);
    m_bThreadsChangeEnabled = true;
    return 1;
}

// Centres the dialog across the work area's width, counted from the
// screen's left edge, with its bottom on the work area's bottom.
void CMainDialog::PlaceAtBottom()
{
    RECT rc;
    GetWindowRect(&rc);
    RECT rcArea;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    int x = ((rcArea.right - rcArea.left) - (rc.right - rc.left)) / 2;
    int y = rcArea.bottom - (rc.bottom - rc.top);
    SetWindowPos(NULL, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMainDialog::OnLoad(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    WCHAR szFile[MAX_PATH];
    lstrcpyW(szFile, m_szFile);
    if (ChooseFile(szFile))
    {
        lstrcpyW(m_szFile, szFile);
        SetDlgItemText(IDC_FILE, m_szFile);
    }
    return 0;
}

bool CMainDialog::ChooseFile(LPWSTR pszFile)
{
    ATLASSERT(pszFile != 0);
    if (!pszFile)
        return false;
    OPENFILENAMEW rgOFN;
    ZeroMemory(&rgOFN, sizeof(rgOFN));
    rgOFN.lStructSize = sizeof(rgOFN);
    rgOFN.hwndOwner = m_hWnd;
    rgOFN.lpstrFilter = L"GRF files (.grf)\0*.grf\0"
                        L"H264 files (.mp4, .m4v, .mov)\0*.mp4;*.m4v;*.mov\0"
                        L"All files\0*.*\0";
    rgOFN.nFilterIndex = 0;
    rgOFN.lpstrFile = pszFile;
    rgOFN.nMaxFile = MAX_PATH;
    rgOFN.lpstrTitle = L"Select GRF file or m4v, mp4... file";
    rgOFN.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
    rgOFN.lpstrDefExt = L"grf";
    return GetOpenFileNameW(&rgOFN) == 1;
}

LRESULT CMainDialog::OnFileChange(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    GetDlgItemText(IDC_FILE, m_szFile, MAX_PATH);
    return 0;
}

LRESULT CMainDialog::OnBuildGraph(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    KillTimer(nRefreshTimer);
    if (m_szFile[0] == L'\0')
    {
        EnableControls(FALSE);
        ShowError(L"File not selected", E_INVALIDARG);
        return 0;
    }
    HRESULT hr = m_Graph.BuildGraph(m_szFile, m_hWnd, WM_GRAPHNOTIFY);
    if (hr != S_OK)
    {
        EnableControls(FALSE);
        ShowError(L"Can't build graph", hr);
        return 0;
    }
    SIZE s = { 0, 0 };
    hr = m_Graph.GetProperties(&m_tAvgTimePerFrame, &s);
    ATLASSERT(hr == S_OK);

    ShowDecoderInTitle();
    ShowDecoderSettings();
    EnableControls(TRUE);
    UpdatePosition();
    SetTimer(nRefreshTimer, nRefreshPeriod);
    BringWindowToTop();
    return 0;
}

// "Test for " and the decoder's identity, cut to the title buffer, or the
// plain name without a decoder identity.
void CMainDialog::ShowDecoderInTitle()
{
    CComBSTR cbsFilter;
    m_Graph.GetDecoderVersion(cbsFilter);
    if (!cbsFilter)
    {
        SetWindowText(szCaption);
        return;
    }
    WCHAR sz[512];
    ZeroMemory(sz, sizeof(sz));
    const WCHAR szPrefix[] = L"Test for ";
    lstrcpyW(sz, szPrefix);
    const int nPrefix = sizeof(szPrefix) / sizeof(szPrefix[0]) - 1;
    lstrcpynW(sz + nPrefix, cbsFilter, sizeof(sz) / sizeof(sz[0]) - nPrefix);
    SetWindowText(sz);
}

// The decoder's settings into their controls; the thread count's change
// notification sends it back to the decoder.
void CMainDialog::ShowDecoderSettings()
{
    int nThreads = 0;
    m_Graph.GetThreads(&nThreads);
    SetDlgItemInt(IDC_THREADS, nThreads, TRUE);
    CheckDlgButton(IDC_PASS_THROUGH, m_Graph.GetPassThrough() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_MAINTAIN_ASPECT_RATIO, m_Graph.GetMaintainAspectRatio() ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(IDC_FORCE_CHROMA_FORMAT, m_Graph.GetForceOriginalChroma() ? BST_CHECKED : BST_UNCHECKED);
}

LRESULT CMainDialog::OnShowGraph(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    return 0;
}

void CMainDialog::UpdatePosition()
{
    if (m_Graph.IsEmpty())
        return;
    LONGLONG llDuration = 0;
    HRESULT hr = m_Graph.GetDuration(&llDuration);
    if (hr != S_OK || llDuration <= 0)
    {
        SetDlgItemText(IDC_POSITION, L"");
        return;
    }
    LONGLONG llPosition = 0;
    if (m_Graph.GetPosition(&llPosition) != S_OK)
        return;
    SendDlgItemMessage(IDC_SEEK_BAR, TBM_SETSEL, TRUE, MAKELPARAM(0, SelectionEnd(llPosition, llDuration)));
    WCHAR sz[64];
    int n = FormatReferenceTime(sz, llPosition);
    lstrcpyW(sz + n, L" from ");
    FormatReferenceTime(sz + n + 6, llDuration);
    SetDlgItemText(IDC_POSITION, sz);
}

LRESULT CMainDialog::OnTimer(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& /*bHandled*/)
{
    if (m_Graph.IsEmpty())
    {
        KillTimer(nRefreshTimer);
        return 0;
    }
    UpdatePosition();
    return 0;
}

LRESULT CMainDialog::OnHScroll(UINT /*uMsg*/, WPARAM wParam, LPARAM lParam, BOOL& /*bHandled*/)
{
    if (m_Graph.IsEmpty())
        return 0;
    if ((HWND)lParam != GetDlgItem(IDC_SEEK_BAR))
        return 0;
    int nCode = LOWORD(wParam);
    UINT nPos = HIWORD(wParam);
    if (nCode != SB_THUMBTRACK && nCode != SB_THUMBPOSITION)
        nPos = (UINT)SendDlgItemMessage(IDC_SEEK_BAR, TBM_GETPOS, 0, 0);
    HRESULT hr = m_Graph.SetPositionFraction(nPos / 1000.0);
    ATLASSERT(SUCCEEDED(hr));
    UpdatePosition();
    return 0;
}

LRESULT CMainDialog::OnPrevFrame(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    return StepFrame(-1);
}

LRESULT CMainDialog::OnCurrentFrame(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    return StepFrame(0);
}

LRESULT CMainDialog::OnNextFrame(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    return StepFrame(1);
}

// Pauses the graph and seeks one frame back (nDirection -1), to where it is
// (0) or one frame on (1): back from the first frame goes to the last, on
// from past the end goes to the start.
LRESULT CMainDialog::StepFrame(int nDirection)
{
    if (m_Graph.IsEmpty())
    {
        ShowError(L"Graph not exist", E_FAIL);
        return 0;
    }
    HRESULT hr = m_Graph.Pause();
    ATLASSERT(SUCCEEDED(hr));
    LONGLONG llPosition = 0;
    hr = m_Graph.GetPosition(&llPosition);
    ATLASSERT(hr == S_OK);
    LONGLONG llTarget = llPosition;
    if (nDirection != 0)
    {
        LONGLONG llDuration = 0;
        hr = m_Graph.GetDuration(&llDuration);
        ATLASSERT(hr == S_OK);
        llTarget = nDirection < 0 ? PreviousFrame(llPosition, llDuration) : NextFrame(llPosition, llDuration);
    }
    hr = m_Graph.SetPosition(llTarget);
    ATLASSERT(hr == S_OK);
    UpdatePosition();
    return 0;
}

LONGLONG CMainDialog::PreviousFrame(LONGLONG llPosition, LONGLONG llDuration) const
{
    LONGLONG t = llPosition - m_tAvgTimePerFrame;
    if (t < -(m_tAvgTimePerFrame / 2))
        t = llDuration - m_tAvgTimePerFrame;
    return t < 0 ? 0 : t;
}

LONGLONG CMainDialog::NextFrame(LONGLONG llPosition, LONGLONG llDuration) const
{
    LONGLONG t = llPosition + m_tAvgTimePerFrame;
    return t > llDuration ? 0 : t;
}

LRESULT CMainDialog::OnPlay(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    if (m_Graph.IsEmpty())
    {
        ShowError(L"Graph not exist", E_FAIL);
        return 0;
    }
    HRESULT hr = m_Graph.Run();
    if (FAILED(hr))
        ShowError(L"Can't play file", hr);
    return 0;
}

LRESULT CMainDialog::OnPause(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    if (m_Graph.IsEmpty())
    {
        ShowError(L"Graph not exist", E_FAIL);
        return 0;
    }
    HRESULT hr = m_Graph.Pause();
    ATLASSERT(SUCCEEDED(hr));
    return 0;
}

LRESULT CMainDialog::OnStop(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    if (m_Graph.IsEmpty())
        return 0;
    StopAndRewind();
    UpdatePosition();
    return 0;
}

// Stops the graph and seeks it back to its start.
void CMainDialog::StopAndRewind()
{
    HRESULT hr = m_Graph.Stop();
    ATLASSERT(hr == S_OK);
    hr = m_Graph.SetPosition(0);
    ATLASSERT(hr == S_OK);
}

LRESULT CMainDialog::OnGraphNotify(UINT /*uMsg*/, WPARAM /*wParam*/, LPARAM /*lParam*/, BOOL& /*bHandled*/)
{
    for (LONG lEventCode = m_Graph.GetEvent(); lEventCode != 0; lEventCode = m_Graph.GetEvent())
    {
        if (lEventCode == EC_COMPLETE)
        {
            StopAndRewind();
            ShowError(L"The end", 0);
        }
        else
        {
            ATLTRACE2(atlTraceGeneral, 2, L"CMainDialog::OnGraphNotify(): event 0x%X\n", lEventCode);
        }
    }
    return 0;
}

LRESULT CMainDialog::OnThreadsChange(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    if (!m_bThreadsChangeEnabled)
        return 0;
    if (m_Graph.IsEmpty())
    {
        ShowError(L"Graph not exist", E_FAIL);
        return 0;
    }
    BOOL bTranslated = FALSE;
    int nThreads = (int)GetDlgItemInt(IDC_THREADS, &bTranslated, TRUE);
    if (!bTranslated)
    {
        ShowError(L"Invalid number", E_INVALIDARG);
        return 0;
    }
    HRESULT hr = m_Graph.SetThreads(nThreads);
    if (hr != S_OK)
        ShowError(L"Can't change number of threads", hr);
    hr = m_Graph.GetThreads(&nThreads);
    ATLASSERT(hr == S_OK);
    m_bThreadsChangeEnabled = false;
    SetDlgItemInt(IDC_THREADS, nThreads, TRUE);
    m_bThreadsChangeEnabled = true;
    return 0;
}

LRESULT CMainDialog::OnPassThrough(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    ChangeSwitch(IDC_PASS_THROUGH, &CGraph::SetPassThrough, &CGraph::GetPassThrough,
                 L"Can't change pass through mode");
    return 0;
}

LRESULT CMainDialog::OnMaintainAspectRatio(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    ChangeSwitch(IDC_MAINTAIN_ASPECT_RATIO, &CGraph::SetMaintainAspectRatio, &CGraph::GetMaintainAspectRatio,
                 L"Can't maintain aspect ratio");
    return 0;
}

LRESULT CMainDialog::OnForceChromaFormat(WORD /*wNotifyCode*/, WORD /*wID*/, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    if (ChangeSwitch(IDC_FORCE_CHROMA_FORMAT, &CGraph::SetForceOriginalChroma, &CGraph::GetForceOriginalChroma,
                     L"Can't force original chroma format"))
        BringWindowToTop();
    return 0;
}

// Sends a switch's new state to the decoder; on refusal the box is set back
// from the decoder before the refusal is reported. False without a graph.
bool CMainDialog::ChangeSwitch(int nID, HRESULT (CGraph::*pfnSet)(bool), bool (CGraph::*pfnGet)(),
                               LPCWSTR pszRefusal)
{
    if (m_Graph.IsEmpty())
    {
        ShowError(L"Graph not exist", E_FAIL);
        return false;
    }
    bool b = IsDlgButtonChecked(nID) == BST_CHECKED;
    HRESULT hr = (m_Graph.*pfnSet)(b);
    if (hr != S_OK)
    {
        CheckDlgButton(nID, (m_Graph.*pfnGet)() ? BST_CHECKED : BST_UNCHECKED);
        ShowError(pszRefusal, hr);
    }
    return true;
}

// The only way the dialog ends: Esc, the close box (IDCANCEL) or Enter (IDOK).
LRESULT CMainDialog::OnClose(WORD /*wNotifyCode*/, WORD wID, HWND /*hWndCtl*/, BOOL& /*bHandled*/)
{
    KillTimer(nRefreshTimer);
    m_Graph.ReleaseGraph();
    EndDialog(wID);
    return 0;
}
