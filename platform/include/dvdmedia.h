// Extended video format blocks: VIDEOINFOHEADER2 (FORMAT_VideoInfo2), with
// interlacing and the picture aspect ratio, and MPEG2VIDEOINFO
// (FORMAT_MPEG2Video), which adds a codec's sequence header; for H.264 that
// is the parameter sets.
#pragma once

#include "amvideo.h"

// VIDEOINFOHEADER2::dwInterlaceFlags.
#define AMINTERLACE_IsInterlaced 0x00000001
#define AMINTERLACE_1FieldPerSample 0x00000002
#define AMINTERLACE_Field1First 0x00000004
#define AMINTERLACE_FieldPatternMask 0x00000030
#define AMINTERLACE_DisplayModeMask 0x000000C0

// VIDEOINFOHEADER2::dwControlFlags.
#define AMCONTROL_USED 0x00000001
#define AMCONTROL_PAD_TO_4x3 0x00000002
#define AMCONTROL_PAD_TO_16x9 0x00000004
#define AMCONTROL_COLORINFO_PRESENT 0x00000080

typedef struct tagVIDEOINFOHEADER2 {
  RECT rcSource;
  RECT rcTarget;
  DWORD dwBitRate;
  DWORD dwBitErrorRate;
  REFERENCE_TIME AvgTimePerFrame;
  DWORD dwInterlaceFlags;
  DWORD dwCopyProtectFlags;
  DWORD dwPictAspectRatioX;
  DWORD dwPictAspectRatioY;
  union {
    DWORD dwControlFlags;
    DWORD dwReserved1;
  };
  DWORD dwReserved2;
  BITMAPINFOHEADER bmiHeader;
} VIDEOINFOHEADER2;

typedef struct tagMPEG2VIDEOINFO {
  VIDEOINFOHEADER2 hdr;
  DWORD dwStartTimeCode;
  DWORD cbSequenceHeader;  // bytes of dwSequenceHeader that follow
  DWORD dwProfile;
  DWORD dwLevel;
  DWORD dwFlags;  // for H.264 with length-prefixed units: the prefix's size, 1, 2 or 4
  DWORD dwSequenceHeader[1];
} MPEG2VIDEOINFO;

// The size of an MPEG2VIDEOINFO with its sequence header, and where that
// header's bytes start.
#define SIZE_MPEG2VIDEOINFO(pv) (offsetof(MPEG2VIDEOINFO, dwSequenceHeader) + (pv)->cbSequenceHeader)
#define MPEG2_SEQUENCE_INFO(pv) ((const BYTE *)(pv)->dwSequenceHeader)
