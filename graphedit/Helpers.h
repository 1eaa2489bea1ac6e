// The link to the graph viewer: the graph's registration in the Running
// Object Table and the viewer process the test bench started, and how that
// link is closed.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <atlbase.h>

// Withdraws the Running Object Table registration made under the cookie.
// A cookie of 0 means there is none; failures are ignored.
inline void RevokeFromRot(DWORD dwCookie)
{
    if (dwCookie == 0)
        return;

    CComPtr<IRunningObjectTable> spROT;
    if (GetRunningObjectTable(0, &spROT) == S_OK)
        spROT->Revoke(dwCookie);
}

class CGraphEdit
{
public:
    CGraphEdit()
        : m_dwCookie(0)
        , m_hWndMain(NULL)
        , m_hWndListBox(NULL)
    {
        ZeroMemory(&m_rgPI, sizeof(m_rgPI));
    }

    ~CGraphEdit()
    {
        Close();
    }

    // Ends whatever the link holds: the registration, the windows it found
    // and the viewer process. Safe to call any number of times.
    void Close()
    {
        RevokeFromRot(m_dwCookie);
        m_dwCookie = 0;
        m_hWndListBox = NULL;
        m_hWndMain = NULL;
        CloseProcess();
    }

    // Asks the viewer's primary thread to quit, gives it a second to end,
    // and lets go of the process whether it ended or not.
    void CloseProcess()
    {
        if (m_rgPI.hThread != NULL)
        {
            PostThreadMessageW(m_rgPI.dwThreadId, WM_QUIT, 0, 0);
            WaitForSingleObject(m_rgPI.hThread, 1000);
            CloseHandle(m_rgPI.hThread);
        }
        if (m_rgPI.hProcess != NULL)
            CloseHandle(m_rgPI.hProcess);
        ZeroMemory(&m_rgPI, sizeof(m_rgPI));
    }

    DWORD m_dwCookie;
    PROCESS_INFORMATION m_rgPI;
    HWND m_hWndMain;
    HWND m_hWndListBox;
};
