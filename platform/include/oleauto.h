// OLE automation strings (BSTR).
//
// A BSTR is allocated with a 32-bit prefix just before its first character
// that holds its length in bytes, not counting the terminating null
// character, which always follows the text. A null BSTR counts as the empty
// string: SysStringLen(NULL) is 0, and SysFreeString(NULL) does nothing.
#pragma once

#include "combaseapi.h"
#include "oaidl.h"

#define WINOLEAUTAPI STDAPI
#define WINOLEAUTAPI_(type) STDAPI_(type)

// A copy of psz up to its terminator; NULL for a null psz.
WINOLEAUTAPI_(BSTR) SysAllocString(const OLECHAR *psz);
// ui characters: copied from strIn when it is not null, zero otherwise.
WINOLEAUTAPI_(BSTR) SysAllocStringLen(const OLECHAR *strIn, UINT ui);
WINOLEAUTAPI_(void) SysFreeString(BSTR bstrString);
// The length in characters, from the prefix (embedded nulls count).
WINOLEAUTAPI_(UINT) SysStringLen(BSTR pbstr);
// The length in bytes, from the prefix.
WINOLEAUTAPI_(UINT) SysStringByteLen(BSTR bstr);

// VARIANT: VariantInit makes it VT_EMPTY; VariantClear frees what it holds
// (a BSTR, a reference) and makes it VT_EMPTY.
WINOLEAUTAPI_(void) VariantInit(VARIANT *pvarg);
WINOLEAUTAPI VariantClear(VARIANT *pvarg);
