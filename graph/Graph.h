// The graph controller: owns the filter graph, the decoder under test
// (through its settings interface) and the link to the graph viewer.
#pragma once

#include <windows.h>
#include <dshow.h>

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

    CComPtr<IGraphBuilder> m_spGraph;
    CComPtr<IDecoderSettings> m_spH264Decoder;
    // Declared last, so it is destroyed first: the viewer closes before the graph goes.
    CGraphEdit m_GraphEdit;
};
