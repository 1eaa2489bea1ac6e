// The few graphics-device types and constants the window manager's users name.
#pragma once

#include "windef.h"

#define LF_FACESIZE 32
#define FW_NORMAL 400
#define FW_BOLD 700
#define DEFAULT_CHARSET 1
#define ANSI_CHARSET 0

// The header of a device-independent bitmap, as media types describe video
// frames with it.
typedef struct tagBITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
} BITMAPINFOHEADER, *LPBITMAPINFOHEADER, *PBITMAPINFOHEADER;

// biCompression of uncompressed frames; other formats put their FOURCC there.
#define BI_RGB 0L
#define BI_BITFIELDS 3L
