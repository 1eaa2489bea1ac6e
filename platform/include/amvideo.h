// Video format blocks: VIDEOINFOHEADER, the format block of FORMAT_VideoInfo.
// VIDEOINFOHEADER2 and MPEG2VIDEOINFO are in dvdmedia.h.
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

