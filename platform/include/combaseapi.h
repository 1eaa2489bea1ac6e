// The COM runtime: apartments, task memory, object creation, and the macros
// that declare and implement interface methods.
#pragma once

#include "unknwn.h"
#include "objidl.h"

#ifndef STDAPICALLTYPE
#define STDAPICALLTYPE
#endif
#define STDAPI EXTERN_C HRESULT STDAPICALLTYPE
#define STDAPI_(type) EXTERN_C type STDAPICALLTYPE
#define STDMETHODIMP HRESULT STDMETHODCALLTYPE
#define STDMETHODIMP_(type) type STDMETHODCALLTYPE
#define STDMETHOD(method) virtual HRESULT STDMETHODCALLTYPE method
#define STDMETHOD_(type, method) virtual type STDMETHODCALLTYPE method
#define PURE = 0
#define THIS_
#define THIS void
#define DECLARE_INTERFACE(iface) struct DECLSPEC_NOVTABLE iface
#define DECLARE_INTERFACE_(iface, baseiface) struct DECLSPEC_NOVTABLE iface : public baseiface

#define WINOLEAPI STDAPI
#define WINOLEAPI_(type) STDAPI_(type)

#define CLSCTX_INPROC (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER)
#define CLSCTX_ALL (CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)
#define CLSCTX_SERVER (CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER)

typedef enum tagCOINITBASE { COINITBASE_MULTITHREADED = 0x0 } COINITBASE;

// A thread enters COM with CoInitializeEx: S_OK the first time, S_FALSE
// when it already has COM in the same concurrency model, RPC_E_CHANGED_MODE
// in the other one. Each successful call is balanced by one CoUninitialize.
WINOLEAPI CoInitializeEx(LPVOID pvReserved, DWORD dwCoInit);
WINOLEAPI_(void) CoUninitialize(void);

WINOLEAPI_(LPVOID) CoTaskMemAlloc(SIZE_T cb);
WINOLEAPI_(LPVOID) CoTaskMemRealloc(LPVOID pv, SIZE_T cb);
WINOLEAPI_(void) CoTaskMemFree(LPVOID pv);

// Object creation through the registry: HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32
// names the server library, which is loaded and asked for the class object
// with its DllGetClassObject. REGDB_E_CLASSNOTREG for a class not
// registered (or not as an in-process server), HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)
// for a library that cannot be loaded, CO_E_ERRORINDLL for one without
// DllGetClassObject, CO_E_NOTINITIALIZED on a thread without COM; the
// server's own results are passed through.
WINOLEAPI CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, LPVOID pvReserved, REFIID riid, LPVOID *ppv);
WINOLEAPI CoCreateInstance(REFCLSID rclsid, LPUNKNOWN pUnkOuter, DWORD dwClsContext, REFIID riid, LPVOID *ppv);
// Unloads the server libraries whose DllCanUnloadNow gives S_OK. Libraries
// are also unloaded when the last thread of the process leaves COM.
WINOLEAPI_(void) CoFreeUnusedLibraries(void);

// "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}": 39 characters with the terminator.
WINOLEAPI_(int) StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax);
WINOLEAPI CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid);

// A stream over global memory: hGlobal (movable memory of GlobalAlloc) or,
// when it is null, a new block. The stream's size starts as the block's;
// the block grows with the stream and is freed with the stream's last
// reference when fDeleteOnRelease is set.
WINOLEAPI CreateStreamOnHGlobal(HGLOBAL hGlobal, BOOL fDeleteOnRelease, LPSTREAM *ppstm);
WINOLEAPI GetHGlobalFromStream(LPSTREAM pstm, HGLOBAL *phglobal);

// Exported by every in-process server library.
STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID *ppv);
STDAPI DllCanUnloadNow(void);
