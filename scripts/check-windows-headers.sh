#!/usr/bin/env bash
# Compiles every application source (syntax only) with the MinGW-w64 cross
# compiler against the real Windows headers, adding only our ATL subset and
# the decoder's interface header. A source that builds on Linux but fails here
# means one of the platform's Windows-named headers is wrong. The ATL subset
# and the decoder's interface header are also compiled on their own, with
# the templates a program instantiates, so that they stay buildable on
# Windows before any application source uses them.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cxx=x86_64-w64-mingw32-g++
flags=(-std=c++20 -fsyntax-only -municode -DUNICODE -D_UNICODE -D_DEBUG -Wall)
# The build bakes the sample graph's path into the program.
app_flags=(-DQUORVEL_SAMPLE_GRAPH='L"C:\\Quorvel\\sample.grf"')
includes=(-I "$top/platform/atl")
[ -d "$top/decoder/include" ] && includes+=(-I "$top/decoder/include")

"$cxx" "${flags[@]}" "${includes[@]}" -x c++ - <<'PROBE'
#include <windows.h>
#include <atlbase.h>
#include <atlwin.h>
#include <dshow.h>
#include <H264DecoderApi.h>

class CProbeModule : public CAtlExeModuleT<CProbeModule> {};

class CProbeDialog : public CDialogImpl<CProbeDialog> {
 public:
  enum { IDD = 102 };
  BEGIN_MSG_MAP(CProbeDialog)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_HANDLER(IDOK, BN_CLICKED, OnClose)
  END_MSG_MAP()
  LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL &) { return 1; }
  LRESULT OnClose(WORD, WORD wID, HWND, BOOL &) {
    EndDialog(wID);
    return 0;
  }
};

INT_PTR RunDialog() {
  CProbeDialog dialog;
  return dialog.DoModal();
}

HRESULT Probe(IGraphBuilder *pGraph) {
  CComPtr<IGraphBuilder> spGraph(pGraph);
  CComQIPtr<IMediaEventEx, &IID_IMediaEventEx> spEvents(spGraph);
  CComQIPtr<IUnknown> spUnknown(spGraph);
  CComQIPtr<IDecoderSettings> spSettings(spUnknown);
  CComPtr<IDecoderVersion> spVersion;
  HRESULT hr = spSettings.QueryInterface(&spVersion);
  ATLASSERT(hr == S_OK);
  _ASSERT_EXPR(FALSE, L"Probe(): message");
  CComBSTR cbsName;
  hr = spVersion->GetProductName(&cbsName);
  ATLTRACE2(atlTraceGeneral, 2, L"###Err### Probe(): %s 0x%08x\n", cbsName.m_str, hr);
  ATLTRACE2(atlTraceWindowing, 0, "Invalid message map ID (%i)\n", 1);
  _AtlCreateWndData data;
  _AtlWinModule.AddCreateWndData(&data, pGraph);
  _AtlWinModule.ExtractCreateWndData();
  _AtlWinModule.Term();
  LoadIconW(_AtlBaseModule.GetResourceInstance(), MAKEINTRESOURCEW(201));
  return CProbeModule::InitializeCom();
}
PROBE

mapfile -t sources < <(cd "$top" && ls app/*.cpp console/*.cpp graph/*.cpp graphedit/*.cpp 2>/dev/null || true)
for src in "${sources[@]}"; do
  "$cxx" "${flags[@]}" "${app_flags[@]}" "${includes[@]}" -I "$top/$(dirname "$src")" -I "$top/graph" -I "$top/graphedit" -I "$top/console" \
    "$top/$src"
done
echo "windows headers check: the ATL subset, the decoder's interface header and ${#sources[@]} application sources compile against the real headers"
