// Debug output: the text a program sends to an attached debugger.
#pragma once

#include "winnt.h"

EXTERN_C void WINAPI OutputDebugStringW(LPCWSTR lpOutputString);
