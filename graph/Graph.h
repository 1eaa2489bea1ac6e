// The graph controller: owns the filter graph, the decoder under test
// (through its settings interface) and the link to the graph viewer.
#pragma once

#include <windows.h>
// The program uses the classic string functions, which strsafe.h would retire.
#define NO_DSHOW_STRSAFE
#include <dshow.h>
#include <dvdmedia.h>

#include <atlbase.h>

#include "H264DecoderApi.h"
#include "Helpers.h"

class CGraph
{
public:
    CGraph()
    {
    }

    // Tears the graph down: graph events stop, the viewer link is closed,
    // the decoder and the graph are released. Harmless without a graph.
    void ReleaseGraph()
    {
        if (m_spGraph)
        {
            CComQIPtr<IMediaEventEx, &IID_IMediaEventEx> spMediaEventEx(m_spGraph);
            ATLASSERT(spMediaEventEx != 0);
            if (spMediaEventEx)
                spMediaEventEx->SetNotifyWindow((OAHWND)NULL, 0, 0);
        }
        m_GraphEdit.Close();
        m_spH264Decoder.Release();
        m_spGraph.Release();
    }

    // True when no graph exists.
    bool IsEmpty() const
    {
        return !m_spGraph;
    }

    // Builds the test graph from a media file or a saved graph (.grf) with
    // the decoder under test in its video path, places the video window
    // above hWnd and has graph events posted to hWnd as uMsg.
    HRESULT BuildGraph(LPCWSTR pszName, HWND hWnd, UINT uMsg);
    // Loads a saved graph's "ActiveMovieGraph" stream into m_spGraph.
    HRESULT BuildFromGRFFile(LPCWSTR pszFile);
    // Finds the first filter of the wanted class and checks that it has one
    // input and one output pin, both connected.
    HRESULT CheckFilter(const CLSID &clsidWanted, IBaseFilter **ppFilter);
    // Puts the video window above hWnd, centred across the work area.
    HRESULT PlaceVideoWindow(HWND hWnd);

    // The frame duration and picture size reaching the video renderer.
    HRESULT GetProperties(REFERENCE_TIME *ptAvg, SIZE *ps);
    // The first connected video input of a filter that has only inputs.
    HRESULT FindVideoRendererPin(IPin **ppPin);
    // "<name> [<D|R><32|64> v.<number> <date and time>]" of the decoder.
    HRESULT GetDecoderVersion(CComBSTR &cbsVersion);

    HRESULT Run()
    {
        ATLASSERT(m_spGraph != 0);
        if (!m_spGraph)
            return E_FAIL;
        CComQIPtr<IMediaControl, &IID_IMediaControl> spMediaControl(m_spGraph);
        ATLASSERT(spMediaControl != 0);
        if (!spMediaControl)
            return E_FAIL;
        return spMediaControl->Run();
    }

    HRESULT Pause()
    {
        ATLASSERT(m_spGraph != 0);
        if (!m_spGraph)
            return E_FAIL;
        CComQIPtr<IMediaControl, &IID_IMediaControl> spMediaControl(m_spGraph);
        ATLASSERT(spMediaControl != 0);
        if (!spMediaControl)
            return E_FAIL;
        return spMediaControl->Pause();
    }

    HRESULT Stop()
    {
        if (!m_spGraph)
            return E_FAIL;
        CComQIPtr<IMediaControl, &IID_IMediaControl> spMediaControl(m_spGraph);
        ATLASSERT(spMediaControl != 0);
        if (!spMediaControl)
            return E_FAIL;
        return spMediaControl->Stop();
    }

    // Takes the next queued graph event without waiting and frees its
    // parameters; 0 when none was queued.
    LONG GetEvent()
    {
        if (!m_spGraph)
            return 0;
        CComQIPtr<IMediaEvent, &IID_IMediaEvent> spMediaEvent(m_spGraph);
        ATLASSERT(spMediaEvent != 0);
        if (!spMediaEvent)
            return 0;
        LONG lEventCode = 0;
        LONG_PTR lParam1 = 0;
        LONG_PTR lParam2 = 0;
        if (spMediaEvent->GetEvent(&lEventCode, &lParam1, &lParam2, 0) != S_OK)
            return 0;
        spMediaEvent->FreeEventParams(lEventCode, lParam1, lParam2);
        return lEventCode;
    }

    HRESULT GetAvailable(LONGLONG *pllEarliest, LONGLONG *pllLatest);
    HRESULT GetDuration(LONGLONG *pllDuration);
    HRESULT GetPosition(LONGLONG *pllPosition);
    HRESULT SetPosition(LONGLONG llPosition);
    HRESULT SetPositionFraction(double dFraction);

    // The decoder's settings; without a decoder setters fail with E_FAIL
    // and getters give false.
    HRESULT SetPassThrough(bool b);
    bool GetPassThrough();
    HRESULT SetMaintainAspectRatio(bool b);
    bool GetMaintainAspectRatio();
    HRESULT SetForceOriginalChroma(bool b);
    bool GetForceOriginalChroma();
    HRESULT SetThreads(int nThreads);
    HRESULT GetThreads(int *pnThreads);

    CComPtr<IGraphBuilder> m_spGraph;
    CComPtr<IDecoderSettings> m_spH264Decoder;
    // Declared last, so it is destroyed first: the viewer closes before the graph goes.
    CGraphEdit m_GraphEdit;
};
