// The test console: the main dialog, its members and its message routing.
#pragma once

#include <windows.h>

#include <atlbase.h>
#include <atlwin.h>

#include "Graph.h"
#include "resource.h"

// The message box of the test bench: the text, the platform's description of
// hr and the code line "Error 0x<hr>"; with hr 0 the text alone. At most
// 1023 characters; uType 0 becomes MB_ICONERROR when there is a code.
int ShowMessage(HWND hWnd, LPCWSTR pszText, LPCWSTR pszCaption, HRESULT hr, UINT uType);

// Writes a media time as seconds with seven decimals ("1.5000000"); the
// extreme values as MINLONGLONG and MAXLONGLONG. Returns the characters
// written; at most 21 and the terminator.
int FormatReferenceTime(LPWSTR psz, REFERENCE_TIME t);

// The dialog's private message, posted by the filter graph manager when graph events are queued.
#define WM_GRAPHNOTIFY (WM_APP + 1)

class CMainDialog : public CDialogImpl<CMainDialog>
{
public:
    enum { IDD = IDD_MAIN_DIALOG };

    CMainDialog();

    BEGIN_MSG_MAP(CMainDialog)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_GRAPHNOTIFY, OnGraphNotify)
        MESSAGE_HANDLER(WM_TIMER, OnTimer)
        COMMAND_HANDLER(IDC_LOAD, BN_CLICKED, OnLoad)
        COMMAND_HANDLER(IDC_FILE, EN_CHANGE, OnFileChange)
        COMMAND_HANDLER(IDC_BUILD_GRAPH, BN_CLICKED, OnBuildGraph)
        COMMAND_HANDLER(IDC_SHOW_GRAPH, BN_CLICKED, OnShowGraph)
        COMMAND_HANDLER(IDC_THREADS, EN_CHANGE, OnThreadsChange)
        COMMAND_HANDLER(IDC_PASS_THROUGH, BN_CLICKED, OnPassThrough)
        COMMAND_HANDLER(IDC_MAINTAIN_ASPECT_RATIO, BN_CLICKED, OnMaintainAspectRatio)
        COMMAND_HANDLER(IDC_FORCE_CHROMA_FORMAT, BN_CLICKED, OnForceChromaFormat)
        MESSAGE_HANDLER(WM_HSCROLL, OnHScroll)
        COMMAND_HANDLER(IDC_PREV_FRAME, BN_CLICKED, OnPrevFrame)
        COMMAND_HANDLER(IDC_CURRENT_FRAME, BN_CLICKED, OnCurrentFrame)
        COMMAND_HANDLER(IDC_NEXT_FRAME, BN_CLICKED, OnNextFrame)
        COMMAND_HANDLER(IDC_PLAY, BN_CLICKED, OnPlay)
        COMMAND_HANDLER(IDC_PAUSE, BN_CLICKED, OnPause)
        COMMAND_HANDLER(IDC_STOP, BN_CLICKED, OnStop)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnClose)
        COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnClose)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnGraphNotify(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnTimer(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnLoad(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnFileChange(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnBuildGraph(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnShowGraph(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnThreadsChange(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnPassThrough(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnMaintainAspectRatio(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnForceChromaFormat(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnHScroll(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);
    LRESULT OnPrevFrame(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnCurrentFrame(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnNextFrame(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnPlay(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnPause(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnStop(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);
    LRESULT OnClose(WORD wNotifyCode, WORD wID, HWND hWndCtl, BOOL& bHandled);

    int ShowError(LPCWSTR pszText, HRESULT hr);
    void EnableControls(BOOL bEnable);
    bool ChooseFile(LPWSTR pszFile);
    void UpdatePosition();

private:
    void PlaceAtBottom();
    void ShowDecoderInTitle();
    void ShowDecoderSettings();
    LRESULT StepFrame(int nDirection);
    LONGLONG PreviousFrame(LONGLONG llPosition, LONGLONG llDuration) const;
    LONGLONG NextFrame(LONGLONG llPosition, LONGLONG llDuration) const;
    void StopAndRewind();
    bool ChangeSwitch(int nID, HRESULT (CGraph::*pfnSet)(bool), bool (CGraph::*pfnGet)(), LPCWSTR pszRefusal);

    WCHAR m_szFile[MAX_PATH];
    CGraph m_Graph;
    REFERENCE_TIME m_tAvgTimePerFrame;
    bool m_bThreadsChangeEnabled;
};
