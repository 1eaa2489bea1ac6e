// VARIANT lifetime: initialising and clearing what it holds.
#include <oleauto.h>

extern "C" void VariantInit(VARIANT *pvarg) {
  if (pvarg) pvarg->vt = VT_EMPTY;
}

// By-reference values belong to someone else: only the VARIANT is emptied.
extern "C" HRESULT VariantClear(VARIANT *pvarg) {
  if (!pvarg) return E_INVALIDARG;
  switch (pvarg->vt) {
    case VT_BSTR:
      SysFreeString(pvarg->bstrVal);
      break;
    case VT_UNKNOWN:
      if (pvarg->punkVal) pvarg->punkVal->Release();
      break;
    case VT_DISPATCH:
      if (pvarg->pdispVal) pvarg->pdispVal->Release();
      break;
    default:
      break;
  }
  pvarg->vt = VT_EMPTY;
  return S_OK;
}
