// The graph controller: building and checking the test graph, the video
// window, what reaches the renderer, the decoder's identity and settings,
// and seeking.
#include "Graph.h"

#include <math.h>

namespace
{

const WCHAR szDecoderName[] = L"Pellonex H264 Decoder";
const WCHAR szGraphStream[] = L"ActiveMovieGraph";
const DWORD grfReadExclusive = STGM_READ | STGM_SHARE_EXCLUSIVE;

// A name denotes a saved graph when it ends in ".grf", in any case. Names
// shorter than the extension are media files.
bool IsGRFName(LPCWSTR pszName)
{
    const int nExtension = 4;
    int nLength = lstrlenW(pszName);
    return nLength >= nExtension && lstrcmpiW(pszName + nLength - nExtension, L".grf") == 0;
}

// The releases that a media type received from a pin needs.
void FreeMediaType(AM_MEDIA_TYPE &mt)
{
    if (mt.pUnk)
    {
        mt.pUnk->Release();
        mt.pUnk = NULL;
    }
    CoTaskMemFree(mt.pbFormat);
    mt.pbFormat = NULL;
    mt.cbFormat = 0;
}

// The duration scaled by a fraction between 0 and 1, truncated toward zero.
// A NaN counts as 0, and the result stays between 0 and the duration even
// where the double product rounds past the 64-bit range.
LONGLONG ScaleDuration(LONGLONG llDuration, double dFraction)
{
    if (!(dFraction > 0.0))
        dFraction = 0.0;
    if (dFraction > 1.0)
        dFraction = 1.0;
    double dProduct = (double)llDuration * dFraction;
    const double dLimit = 9223372036854775808.0;  // 2 to the 63rd
    if (dProduct >= dLimit || dProduct < -dLimit)
        return llDuration;
    LONGLONG llPos = (LONGLONG)dProduct;
    LONGLONG llLow = llDuration < 0 ? llDuration : 0;
    LONGLONG llHigh = llDuration < 0 ? 0 : llDuration;
    return llPos < llLow ? llLow : llPos > llHigh ? llHigh : llPos;
}

// Appends as much of psz (null reads as empty) as fits into sz, which holds
// cch characters with its terminator.
void AppendText(WCHAR *sz, int cch, LPCWSTR psz)
{
    int nLength = lstrlenW(sz);
    if (psz && nLength < cch - 1)
        lstrcpynW(sz + nLength, psz, cch - nLength);
}

// Whether a 32-bit enumeration that the decoder filled is non-zero. A
// decoder may store any 32-bit value, also one beyond the enumerators, and
// only zero against non-zero matters: the stored value is compared as a
// LONG, never taken as an enumerator.
template <typename Enumeration>
bool IsNonZero(const Enumeration &eValue)
{
    static_assert(sizeof(Enumeration) == sizeof(LONG), "a 32-bit enumeration");
    LONG nValue = 0;
    CopyMemory(&nValue, &eValue, sizeof(nValue));
    return nValue != 0;
}

// The picture size of a video-info header: the target rectangle's right and
// bottom edges when both are set, else the bitmap's own size as stored.
template <typename Header>
SIZE PictureSize(const Header &header)
{
    SIZE s;
    if (header.rcTarget.right != 0 && header.rcTarget.bottom != 0)
    {
        s.cx = header.rcTarget.right;
        s.cy = header.rcTarget.bottom;
    }
    else
    {
        s.cx = header.bmiHeader.biWidth;
        s.cy = header.bmiHeader.biHeight;
    }
    return s;
}

// Reads frame duration and picture size from a renderer's connection type.
// A type that is not a long enough video-info block leaves both at 0.
void ReadVideoFormat(const AM_MEDIA_TYPE &mt, REFERENCE_TIME *ptAvg, SIZE *ps)
{
    ATLASSERT(mt.majortype == MEDIATYPE_Video);
    ATLASSERT(mt.pbFormat != 0);
    if (!mt.pbFormat)
        return;
    if (mt.formattype == FORMAT_VideoInfo)
    {
        ATLASSERT(mt.cbFormat >= sizeof(VIDEOINFOHEADER));
        if (mt.cbFormat < sizeof(VIDEOINFOHEADER))
            return;
        const VIDEOINFOHEADER *pvih = (const VIDEOINFOHEADER *)mt.pbFormat;
        *ps = PictureSize(*pvih);
        *ptAvg = pvih->AvgTimePerFrame;
        return;
    }
    ATLASSERT(mt.formattype == FORMAT_VideoInfo2);
    ATLASSERT(mt.cbFormat >= sizeof(VIDEOINFOHEADER2));
    if (mt.formattype != FORMAT_VideoInfo2 || mt.cbFormat < sizeof(VIDEOINFOHEADER2))
        return;
    const VIDEOINFOHEADER2 *pvih2 = (const VIDEOINFOHEADER2 *)mt.pbFormat;
    *ps = PictureSize(*pvih2);
    *ptAvg = pvih2->AvgTimePerFrame;
}

// Whether a connected pin carries video; frees the type it reads.
bool CarriesVideo(IPin *pPin)
{
    AM_MEDIA_TYPE mt;
    ZeroMemory(&mt, sizeof(mt));
    if (pPin->ConnectionMediaType(&mt) != S_OK)
        return false;
    bool bVideo = mt.majortype == MEDIATYPE_Video;
    FreeMediaType(mt);
    return bVideo;
}

// The first connected video input of a filter whose pins are all inputs;
// empty for any other filter.
CComPtr<IPin> RendererInputOf(IBaseFilter *pFilter)
{
    CComPtr<IEnumPins> spEnumPins;
    HRESULT hr = pFilter->EnumPins(&spEnumPins);
    ATLASSERT(hr == S_OK);
    CComPtr<IPin> spWantedPin;
    if (!spEnumPins)
        return spWantedPin;
    CComPtr<IPin> spPin;
    while (spEnumPins->Next(1, &spPin, NULL) == S_OK)
    {
        PIN_DIRECTION ePinDir = PINDIR_INPUT;
        hr = spPin->QueryDirection(&ePinDir);
        ATLASSERT(hr == S_OK);
        if (ePinDir != PINDIR_INPUT)
            return CComPtr<IPin>();
        if (CarriesVideo(spPin) && !spWantedPin)
            spWantedPin = spPin;
        spPin.Release();
    }
    return spWantedPin;
}

// Checks one pin of the wanted filter against the placement rules, in
// their order: third pin, direction, second pin of a direction, connection.
HRESULT CheckPin(IPin *pPin, bool &bInputSeen, bool &bOutputSeen)
{
    if (bInputSeen && bOutputSeen)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): number of pins > 2");
        return E_FAIL;
    }
    PIN_DIRECTION ePinDir = PINDIR_INPUT;
    HRESULT hr = pPin->QueryDirection(&ePinDir);
    if (hr != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): spPin->QueryDirection() FAILED");
        return hr;
    }
    if (ePinDir == PINDIR_INPUT)
    {
        if (bInputSeen)
        {
            _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): Second input pin found");
            return E_FAIL;
        }
        bInputSeen = true;
    }
    else
    {
        ATLASSERT((ePinDir == PINDIR_OUTPUT));
        if (bOutputSeen)
        {
            _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): Second output pin found");
            return E_FAIL;
        }
        bOutputSeen = true;
    }
    CComPtr<IPin> spConnectedPin;
    if (pPin->ConnectedTo(&spConnectedPin) != S_OK || !spConnectedPin)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): Pin of wanted filter not connected");
        return E_FAIL;
    }
    return S_OK;
}

// Checks that a filter has exactly one input and one output pin, both
// connected.
HRESULT CheckPins(IBaseFilter *pFilter)
{
    CComPtr<IEnumPins> spEnumPins;
    HRESULT hr = pFilter->EnumPins(&spEnumPins);
    ATLASSERT(hr == S_OK);
    if (!spEnumPins)
        return E_FAIL;
    bool bInputSeen = false;
    bool bOutputSeen = false;
    for (;;)
    {
        CComPtr<IPin> spPin;
        hr = spEnumPins->Next(1, &spPin, NULL);
        if (hr == S_FALSE)
            break;
        ATLASSERT(hr == S_OK);
        if (!spPin)
            return E_FAIL;
        hr = CheckPin(spPin, bInputSeen, bOutputSeen);
        if (hr != S_OK)
            return hr;
    }
    if (!bInputSeen || !bOutputSeen)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): number of pins < 2");
        return E_FAIL;
    }
    return S_OK;
}

}  // namespace

HRESULT CGraph::BuildGraph(LPCWSTR pszName, HWND hWnd, UINT uMsg)
{
    ATLASSERT(pszName != 0);
    if (!pszName)
        return E_INVALIDARG;
    ATLASSERT(::IsWindow(hWnd));
    if (!::IsWindow(hWnd))
        return E_INVALIDARG;

    ReleaseGraph();
    HRESULT hr = m_spGraph.CoCreateInstance(CLSID_FilterGraph, NULL, CLSCTX_INPROC_SERVER);
    if (hr != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::BuildGraph(): m_spGraph.CoCreateInstance() FAILED");
        return hr;
    }

    if (IsGRFName(pszName))
    {
        hr = BuildFromGRFFile(pszName);
        if (hr != S_OK)
            return hr;
    }
    else
    {
        CComPtr<IBaseFilter> spDecoder;
        hr = spDecoder.CoCreateInstance(CLSID_H264Decoder, NULL, CLSCTX_INPROC_SERVER);
        if (hr != S_OK)
        {
            _ASSERT_EXPR(FALSE, L"CGraph::BuildGraph(): Can't create Pellonex H264 Decoder");
            return hr;
        }
        hr = m_spGraph->AddFilter(spDecoder, szDecoderName);
        if (hr != S_OK)
        {
            _ASSERT_EXPR(FALSE, L"CGraph::BuildGraph(): Can't insert Pellonex H264 Decoder to graph");
            return hr;
        }
        hr = m_spGraph->RenderFile(pszName, NULL);
        if (hr != S_OK)
            return hr;
    }

    CComPtr<IBaseFilter> spFilter;
    hr = CheckFilter(CLSID_H264Decoder, &spFilter);
    if (hr != S_OK)
        return hr;

    spFilter.QueryInterface(&m_spH264Decoder);
    ATLASSERT(m_spH264Decoder != 0);

    hr = PlaceVideoWindow(hWnd);
    if (hr != S_OK)
        return hr;

    CComQIPtr<IMediaEventEx, &IID_IMediaEventEx> spMediaEventEx(m_spGraph);
    ATLASSERT(spMediaEventEx != 0);
    if (spMediaEventEx)
    {
        hr = spMediaEventEx->SetNotifyWindow((OAHWND)hWnd, uMsg, 0);
        ATLASSERT(hr == S_OK);
    }
    return S_OK;
}

HRESULT CGraph::BuildFromGRFFile(LPCWSTR pszFile)
{
    ATLASSERT(m_spGraph != 0);
    ATLASSERT(pszFile != 0);
    CComQIPtr<IPersistStream, &IID_IPersistStream> spPersistStream(m_spGraph);
    ATLASSERT(spPersistStream != 0);
    if (!pszFile)
        return E_POINTER;
    if (!spPersistStream)
        return E_NOINTERFACE;

    CComPtr<IStorage> spStorage;
    HRESULT hr = StgOpenStorage(pszFile, NULL, grfReadExclusive, NULL, 0, &spStorage);
    if (hr != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::BuildFromGRFFile(): Can't open .grf file");
        return hr;
    }
    CComPtr<IStream> spStream;
    hr = spStorage->OpenStream(szGraphStream, NULL, grfReadExclusive, 0, &spStream);
    if (hr != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::BuildFromGRFFile(): Invalid .grf file");
        return hr;
    }
    hr = spPersistStream->Load(spStream);
    if (FAILED(hr))
    {
        _ASSERT_EXPR(FALSE, L"CGraph::BuildFromGRFFile(): Can't load data from .grf file");
        return hr;
    }
    return S_OK;
}

HRESULT CGraph::CheckFilter(const CLSID &clsidWanted, IBaseFilter **ppFilter)
{
    ATLASSERT(m_spGraph != 0);
    if (!m_spGraph)
        return E_FAIL;
    if (ppFilter)
        *ppFilter = NULL;

    CComPtr<IEnumFilters> spEnumFilters;
    HRESULT hr = m_spGraph->EnumFilters(&spEnumFilters);
    ATLASSERT(hr == S_OK);
    if (!spEnumFilters)
        return E_FAIL;

    CComPtr<IBaseFilter> spFilter;
    for (;;)
    {
        hr = spEnumFilters->Next(1, &spFilter, NULL);
        if (hr == S_FALSE)
        {
            _ASSERT_EXPR(FALSE, L"CGraph::CheckFilter(): Wanted filter not found");
            return E_FAIL;
        }
        ATLASSERT(hr == S_OK);
        if (!spFilter)
            return E_FAIL;
        CLSID clsidFilter = GUID_NULL;
        hr = spFilter->GetClassID(&clsidFilter);
        ATLASSERT(hr == S_OK);
        if (InlineIsEqualGUID(clsidFilter, clsidWanted))
            break;
        spFilter.Release();
    }

    hr = CheckPins(spFilter);
    if (hr != S_OK)
        return hr;
    if (ppFilter)
        *ppFilter = spFilter.Detach();
    return S_OK;
}

HRESULT CGraph::PlaceVideoWindow(HWND hWnd)
{
    ATLASSERT(::IsWindow(hWnd));
    ATLASSERT(m_spGraph != 0);
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IVideoWindow, &IID_IVideoWindow> spVideoWindow(m_spGraph);
    ATLASSERT(spVideoWindow != 0);
    if (!spVideoWindow)
        return E_FAIL;

    RECT rcArea;
    ZeroMemory(&rcArea, sizeof(rcArea));
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &rcArea, 0);
    RECT rc;
    ZeroMemory(&rc, sizeof(rc));
    GetWindowRect(hWnd, &rc);

    LONG nHeight = 0;
    HRESULT hr = spVideoWindow->get_Height(&nHeight);
    ATLASSERT(hr == S_OK);
    LONG nTop = rc.top - nHeight;
    hr = spVideoWindow->put_Top(nTop < 0 ? 0 : nTop);
    ATLASSERT(hr == S_OK);

    LONG nWidth = 0;
    hr = spVideoWindow->get_Width(&nWidth);
    ATLASSERT(hr == S_OK);
    hr = spVideoWindow->put_Left((rcArea.right - rcArea.left - nWidth) / 2);
    ATLASSERT(hr == S_OK);

    hr = spVideoWindow->put_Visible(OATRUE);
    ATLASSERT(hr == S_OK);
    return S_OK;
}

HRESULT CGraph::GetProperties(REFERENCE_TIME *ptAvg, SIZE *ps)
{
    ATLASSERT(ptAvg != 0);
    if (!ptAvg)
        return E_POINTER;
    ATLASSERT(ps != 0);
    if (!ps)
        return E_POINTER;
    if (!m_spGraph)
        return E_FAIL;
    ps->cx = 0;
    ps->cy = 0;
    *ptAvg = 0;

    CComPtr<IPin> spPin;
    if (FindVideoRendererPin(&spPin) != S_OK)
    {
        _ASSERT_EXPR(FALSE, L"CGraph::GetProperties(): Video Renderer not found");
        return E_FAIL;
    }
    AM_MEDIA_TYPE mt;
    ZeroMemory(&mt, sizeof(mt));
    HRESULT hr = spPin->ConnectionMediaType(&mt);
    ATLASSERT(hr == S_OK);
    ReadVideoFormat(mt, ptAvg, ps);
    FreeMediaType(mt);
    return S_OK;
}

HRESULT CGraph::FindVideoRendererPin(IPin **ppPin)
{
    ATLASSERT(ppPin != 0);
    if (!ppPin)
        return E_POINTER;
    *ppPin = NULL;
    ATLASSERT(m_spGraph != 0);
    if (!m_spGraph)
        return E_FAIL;

    CComPtr<IEnumFilters> spEnumFilters;
    HRESULT hr = m_spGraph->EnumFilters(&spEnumFilters);
    ATLASSERT(hr == S_OK);
    if (!spEnumFilters)
        return E_FAIL;
    for (;;)
    {
        CComPtr<IBaseFilter> spFilter;
        ULONG cFetched = 0;
        hr = spEnumFilters->Next(1, &spFilter, &cFetched);
        if (hr != S_OK)
            return hr;
        ATLASSERT(cFetched == 1);
        if (!spFilter)
            continue;
        CComPtr<IPin> spWantedPin = RendererInputOf(spFilter);
        if (spWantedPin)
        {
            *ppPin = spWantedPin.Detach();
            return S_OK;
        }
    }
}

HRESULT CGraph::GetDecoderVersion(CComBSTR &cbsVersion)
{
    cbsVersion.Empty();
    if (!m_spH264Decoder)
        return S_FALSE;
    CComQIPtr<IDecoderVersion, &IID_IDecoderVersion> spVersion(m_spH264Decoder);
    ATLASSERT(spVersion != 0);
    if (!spVersion)
        return E_NOINTERFACE;

    DECODER_BUILD_TYPE eType = DECODER_BUILD_DEBUG;
    HRESULT hr = spVersion->GetBuildType(&eType);
    ATLASSERT(hr == S_OK);
    DECODER_PLATFORM eOS = DECODER_PLATFORM_32BIT;
    hr = spVersion->GetPlatform(&eOS);
    ATLASSERT(hr == S_OK);
    CComBSTR cbsName;
    hr = spVersion->GetProductName(&cbsName);
    ATLASSERT(hr == S_OK);
    CComBSTR cbsNumber;
    hr = spVersion->GetVersionNumber(&cbsNumber);
    ATLASSERT(hr == S_OK);
    CComBSTR cbsDateTime;
    hr = spVersion->GetBuildDateTime(&cbsDateTime);
    ATLASSERT(hr == S_OK);

    WCHAR sz[512] = L"";
    const int cch = sizeof(sz) / sizeof(sz[0]);
    AppendText(sz, cch, cbsName);
    AppendText(sz, cch, IsNonZero(eType) ? L" [R" : L" [D");
    AppendText(sz, cch, IsNonZero(eOS) ? L"64" : L"32");
    AppendText(sz, cch, L" v.");
    AppendText(sz, cch, cbsNumber);
    AppendText(sz, cch, L" ");
    AppendText(sz, cch, cbsDateTime);
    AppendText(sz, cch, L"]");

    cbsVersion.Attach(SysAllocString(sz));
    if (!cbsVersion)
        AtlThrow(E_OUTOFMEMORY);
    return S_OK;
}

HRESULT CGraph::GetAvailable(LONGLONG *pllEarliest, LONGLONG *pllLatest)
{
    ATLASSERT(pllEarliest != 0);
    if (!pllEarliest)
        return E_POINTER;
    ATLASSERT(pllLatest != 0);
    if (!pllLatest)
        return E_POINTER;
    *pllEarliest = 0;
    *pllLatest = 0;
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IMediaSeeking, &IID_IMediaSeeking> spMediaSeeking(m_spGraph);
    ATLASSERT(spMediaSeeking != 0);
    if (!spMediaSeeking)
        return E_NOINTERFACE;
    HRESULT hr = spMediaSeeking->GetAvailable(pllEarliest, pllLatest);
    ATLASSERT(hr == S_OK);
    return hr;
}

HRESULT CGraph::GetDuration(LONGLONG *pllDuration)
{
    ATLASSERT(pllDuration != 0);
    if (!pllDuration)
        return E_POINTER;
    *pllDuration = 0;
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IMediaSeeking, &IID_IMediaSeeking> spMediaSeeking(m_spGraph);
    ATLASSERT(spMediaSeeking != 0);
    if (!spMediaSeeking)
        return E_NOINTERFACE;
    return spMediaSeeking->GetDuration(pllDuration);
}

HRESULT CGraph::GetPosition(LONGLONG *pllPosition)
{
    ATLASSERT(pllPosition != 0);
    if (!pllPosition)
        return E_POINTER;
    *pllPosition = 0;
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IMediaSeeking, &IID_IMediaSeeking> spMediaSeeking(m_spGraph);
    ATLASSERT(spMediaSeeking != 0);
    if (!spMediaSeeking)
        return E_NOINTERFACE;
    HRESULT hr = spMediaSeeking->GetCurrentPosition(pllPosition);
    ATLASSERT(hr == S_OK);
    return hr;
}

HRESULT CGraph::SetPosition(LONGLONG llPosition)
{
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IMediaSeeking, &IID_IMediaSeeking> spMediaSeeking(m_spGraph);
    ATLASSERT(spMediaSeeking != 0);
    if (!spMediaSeeking)
        return E_NOINTERFACE;
    HRESULT hr = spMediaSeeking->SetPositions(&llPosition, AM_SEEKING_AbsolutePositioning, NULL,
                                              AM_SEEKING_NoPositioning);
    ATLASSERT(SUCCEEDED(hr));
    return hr;
}

HRESULT CGraph::SetPositionFraction(double dFraction)
{
    if (!m_spGraph)
        return E_FAIL;
    CComQIPtr<IMediaSeeking, &IID_IMediaSeeking> spMediaSeeking(m_spGraph);
    ATLASSERT(spMediaSeeking != 0);
    if (!spMediaSeeking)
        return E_NOINTERFACE;
    LONGLONG llPos = 0;
    HRESULT hr = spMediaSeeking->GetDuration(&llPos);
    ATLASSERT(hr == S_OK);
    llPos = ScaleDuration(llPos, dFraction);
    hr = spMediaSeeking->SetPositions(&llPos, AM_SEEKING_AbsolutePositioning, NULL, AM_SEEKING_NoPositioning);
    ATLASSERT(SUCCEEDED(hr));
    return hr;
}

HRESULT CGraph::SetPassThrough(bool b)
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return E_FAIL;
    return m_spH264Decoder->SetPassThroughTimeStamps(b ? TRUE : FALSE);
}

bool CGraph::GetPassThrough()
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return false;
    BOOL bPassThrough = 0;
    HRESULT hr = m_spH264Decoder->GetPassThroughTimeStamps(&bPassThrough);
    ATLASSERT(hr == S_OK);
    return bPassThrough != 0;
}

HRESULT CGraph::SetMaintainAspectRatio(bool b)
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return E_FAIL;
    return m_spH264Decoder->SetMaintainAspectRatio(b ? TRUE : FALSE);
}

bool CGraph::GetMaintainAspectRatio()
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return false;
    BOOL bMaintained = 0;
    HRESULT hr = m_spH264Decoder->GetMaintainAspectRatio(&bMaintained);
    ATLASSERT(hr == S_OK);
    return bMaintained != 0;
}

HRESULT CGraph::SetForceOriginalChroma(bool b)
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return E_FAIL;
    return m_spH264Decoder->SetForceOriginalChromaFormat((DWORD)b);
}

bool CGraph::GetForceOriginalChroma()
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return false;
    BOOL bForced = 0;
    HRESULT hr = m_spH264Decoder->GetForceOriginalChromaFormat(&bForced);
    ATLASSERT(hr == S_OK);
    return bForced != 0;
}

HRESULT CGraph::SetThreads(int nThreads)
{
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return E_FAIL;
    return m_spH264Decoder->SetThreads(nThreads);
}

HRESULT CGraph::GetThreads(int *pnThreads)
{
    ATLASSERT(pnThreads != 0);
    if (!pnThreads)
        return E_POINTER;
    ATLASSERT(m_spH264Decoder != 0);
    if (!m_spH264Decoder)
        return E_FAIL;
    HRESULT hr = m_spH264Decoder->GetThreads(pnThreads);
    ATLASSERT(hr == S_OK);
    return hr;
}
