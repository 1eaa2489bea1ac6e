// Descriptions of the media graph's result codes.
#pragma once

#include "vfwmsgs.h"

// A buffer of this many characters holds any description.
#define MAX_ERROR_TEXT_LEN 160

// Writes the description of hr into szBuffer (at most dwMaxLength characters
// with the terminating null, cut short if the buffer is smaller) and returns
// the number of characters written without the null: 0 for a code it does
// not describe, a null buffer or a length of 0.
EXTERN_C DWORD WINAPI AMGetErrorTextW(HRESULT hr, LPWSTR szBuffer, DWORD dwMaxLength);
