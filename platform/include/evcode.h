// Event codes of the media graph's event queue (IMediaEvent::GetEvent) and
// of filters' reports (IMediaEventSink::Notify). Codes below EC_USER are the
// system's; a program's own codes start at EC_USER.
#pragma once

#define EC_SYSTEMBASE 0x00
#define EC_USER 0x8000

// (HRESULT, the renderer's IBaseFilter) from a renderer at the end of its
// stream; the graph manager queues one (HRESULT, 0) once every renderer of
// the running graph has reported it.
#define EC_COMPLETE 0x01
// (0, 0): the user ended playback, for example by closing the video window.
#define EC_USERABORT 0x02
// (HRESULT, 0): streaming stopped on an error.
#define EC_ERRORABORT 0x03
#define EC_TIME 0x04
#define EC_REPAINT 0x05
#define EC_STREAM_ERROR_STOPPED 0x06
#define EC_STREAM_ERROR_STILLPLAYING 0x07
#define EC_ERROR_STILLPLAYING 0x08
#define EC_PALETTE_CHANGED 0x09
// (the new width and height in one value, 0).
#define EC_VIDEO_SIZE_CHANGED 0x0A
#define EC_QUALITY_CHANGE 0x0B
#define EC_SHUTTING_DOWN 0x0C
#define EC_CLOCK_CHANGED 0x0D
// (HRESULT, 0): a pause of the graph has completed.
#define EC_PAUSED 0x0E
#define EC_OPENING_FILE 0x10
#define EC_BUFFERING_DATA 0x11
#define EC_FULLSCREEN_LOST 0x12
#define EC_ACTIVATE 0x13
#define EC_NEED_RESTART 0x14
#define EC_WINDOW_DESTROYED 0x15
#define EC_DISPLAY_CHANGED 0x16
#define EC_STARVATION 0x17
// (BSTR, BSTR): both strings are freed by IMediaEvent::FreeEventParams.
#define EC_OLE_EVENT 0x18
#define EC_NOTIFY_WINDOW 0x19
#define EC_STREAM_CONTROL_STOPPED 0x1A
#define EC_STREAM_CONTROL_STARTED 0x1B
#define EC_END_OF_SEGMENT 0x1C
#define EC_SEGMENT_STARTED 0x1D
#define EC_LENGTH_CHANGED 0x1E
#define EC_DEVICE_LOST 0x1F
#define EC_STEP_COMPLETE 0x24
// (BSTR, BSTR), freed as EC_OLE_EVENT's.
#define EC_STATUS 0x41
// (HRESULT, BSTR): EC_ERRORABORT with a description, freed as above.
#define EC_ERRORABORTEX 0x45
#define EC_GRAPH_CHANGED 0x50
#define EC_CLOCK_UNSET 0x51
