// Audio format descriptions: WAVEFORMATEX, the format block of
// FORMAT_WaveFormatEx, and the format tags the media graph names.
#pragma once

#include "windef.h"

#define WAVE_FORMAT_PCM 0x0001
#define WAVE_FORMAT_IEEE_FLOAT 0x0003
#define WAVE_FORMAT_EXTENSIBLE 0xFFFE

#ifndef _WAVEFORMATEX_
#define _WAVEFORMATEX_
// Byte-packed as on Windows: 18 bytes, then cbSize bytes of extra format data.
#pragma pack(push, 1)
typedef struct tWAVEFORMATEX {
  WORD wFormatTag;
  WORD nChannels;
  DWORD nSamplesPerSec;
  DWORD nAvgBytesPerSec;
  WORD nBlockAlign;  // bytes of one sample of all channels
  WORD wBitsPerSample;
  WORD cbSize;
} WAVEFORMATEX, *PWAVEFORMATEX, *LPWAVEFORMATEX;
#pragma pack(pop)
typedef const WAVEFORMATEX *LPCWAVEFORMATEX;
#endif
