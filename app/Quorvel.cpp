// Quorvel: the process entry and the application module.
#include <windows.h>

#include <atlbase.h>

#include "MainDialog.h"

class CQuorvelModule : public CAtlExeModuleT<CQuorvelModule>
{
};

CQuorvelModule _AtlModule;

// The whole program is one modal run of the main dialog, on this thread, in
// a single-threaded apartment. The command line is not read.
extern "C" int WINAPI wWinMain(HINSTANCE /*hInstance*/, HINSTANCE /*hPrevInstance*/, LPWSTR /*lpCmdLine*/,
                               int /*nShowCmd*/)
{
    HRESULT hr = _AtlModule.InitializeCom();
    if (hr != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"_AtlModule.InitializeCom() FAILED");
        return hr;
    }

    HWND hWndParent = GetActiveWindow();
    {
        CMainDialog dlg;
        dlg.DoModal(hWndParent);
    }

    _AtlWinModule.Term();
    CoUninitialize();
    return 0;
}
