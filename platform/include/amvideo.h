// Video format blocks: VIDEOINFOHEADER, the format block of FORMAT_VideoInfo.
// VIDEOINFOHEADER2 and MPEG2VIDEOINFO are in dvdmedia.h. And IQualProp, the
// video renderer's figures of how well it keeps up.
#pragma once

#include "wingdi.h"
#include "strmif.h"

typedef struct tagVIDEOINFOHEADER {
  RECT rcSource;  // the part of the frame to show; empty for all of it
  RECT rcTarget;  // where it goes in the destination; empty for all of it
  DWORD dwBitRate;
  DWORD dwBitErrorRate;
  REFERENCE_TIME AvgTimePerFrame;
  BITMAPINFOHEADER bmiHeader;  // the frame's size and encoding
} VIDEOINFOHEADER;


struct IQualProp;
_DEFINE_INTERFACE_ID(IQualProp, 0x1BD0ECB0, 0xF8E2, 0x11CE, 0xAA, 0xC6, 0x00, 0x20, 0xAF, 0x0B, 0x99, 0xA3)

// Since the renderer last left the stopped state. Times are in milliseconds,
// the frame rate in hundredths of a frame per second; the sync offset is how
// long after its start time a picture was shown.
struct IQualProp : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE get_FramesDroppedInRenderer(int *pcFrames) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_FramesDrawn(int *pcFramesDrawn) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AvgFrameRate(int *piAvgFrameRate) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Jitter(int *iJitter) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_AvgSyncOffset(int *piAvg) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_DevSyncOffset(int *piDev) = 0;
};
