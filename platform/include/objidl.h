// COM object interfaces: persistence (IPersist, IPersistStream), monikers
// (IMoniker, IEnumMoniker) and the Running Object Table. IStream and
// IBindCtx are named here so that the methods that take them can be
// declared; their methods are declared with the storage and binding services.
#pragma once

#include "unknwn.h"

struct IStream;
_DEFINE_INTERFACE_ID(IStream, 0x0000000C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
typedef IStream *LPSTREAM;

struct IBindCtx;
_DEFINE_INTERFACE_ID(IBindCtx, 0x0000000E, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)
typedef IBindCtx *LPBC;
typedef IBindCtx *LPBINDCTX;

struct IPersist;
_DEFINE_INTERFACE_ID(IPersist, 0x0000010C, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IPersist : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetClassID(CLSID *pClassID) = 0;
};
typedef IPersist *LPPERSIST;

struct IPersistStream;
_DEFINE_INTERFACE_ID(IPersistStream, 0x00000109, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IPersistStream : public IPersist {
  virtual HRESULT STDMETHODCALLTYPE IsDirty(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Load(IStream *pStm) = 0;
  virtual HRESULT STDMETHODCALLTYPE Save(IStream *pStm, BOOL fClearDirty) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER *pcbSize) = 0;
};
typedef IPersistStream *LPPERSISTSTREAM;

struct IMoniker;
struct IEnumMoniker;
_DEFINE_INTERFACE_ID(IEnumMoniker, 0x00000102, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IEnumMoniker : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Next(ULONG celt, IMoniker **rgelt, ULONG *pceltFetched) = 0;
  virtual HRESULT STDMETHODCALLTYPE Skip(ULONG celt) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reset(void) = 0;
  virtual HRESULT STDMETHODCALLTYPE Clone(IEnumMoniker **ppenum) = 0;
};
typedef IEnumMoniker *LPENUMMONIKER;

_DEFINE_INTERFACE_ID(IMoniker, 0x0000000F, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

typedef enum tagMKSYS {
  MKSYS_NONE = 0,
  MKSYS_GENERICCOMPOSITE = 1,
  MKSYS_FILEMONIKER = 2,
  MKSYS_ANTIMONIKER = 3,
  MKSYS_ITEMMONIKER = 4,
  MKSYS_POINTERMONIKER = 5,
  MKSYS_CLASSMONIKER = 7,
  MKSYS_OBJREFMONIKER = 8,
  MKSYS_SESSIONMONIKER = 9,
  MKSYS_LUAMONIKER = 10
} MKSYS;

struct IMoniker : public IPersistStream {
  virtual HRESULT STDMETHODCALLTYPE BindToObject(IBindCtx *pbc, IMoniker *pmkToLeft, REFIID riidResult,
                                                 void **ppvResult) = 0;
  virtual HRESULT STDMETHODCALLTYPE BindToStorage(IBindCtx *pbc, IMoniker *pmkToLeft, REFIID riid, void **ppvObj) = 0;
  virtual HRESULT STDMETHODCALLTYPE Reduce(IBindCtx *pbc, DWORD dwReduceHowFar, IMoniker **ppmkToLeft,
                                           IMoniker **ppmkReduced) = 0;
  virtual HRESULT STDMETHODCALLTYPE ComposeWith(IMoniker *pmkRight, BOOL fOnlyIfNotGeneric,
                                                IMoniker **ppmkComposite) = 0;
  virtual HRESULT STDMETHODCALLTYPE Enum(BOOL fForward, IEnumMoniker **ppenumMoniker) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsEqual(IMoniker *pmkOtherMoniker) = 0;
  virtual HRESULT STDMETHODCALLTYPE Hash(DWORD *pdwHash) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsRunning(IBindCtx *pbc, IMoniker *pmkToLeft, IMoniker *pmkNewlyRunning) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IBindCtx *pbc, IMoniker *pmkToLeft, FILETIME *pFileTime) = 0;
  virtual HRESULT STDMETHODCALLTYPE Inverse(IMoniker **ppmk) = 0;
  virtual HRESULT STDMETHODCALLTYPE CommonPrefixWith(IMoniker *pmkOther, IMoniker **ppmkPrefix) = 0;
  virtual HRESULT STDMETHODCALLTYPE RelativePathTo(IMoniker *pmkOther, IMoniker **ppmkRelPath) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetDisplayName(IBindCtx *pbc, IMoniker *pmkToLeft,
                                                   LPOLESTR *ppszDisplayName) = 0;
  virtual HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx *pbc, IMoniker *pmkToLeft, LPOLESTR pszDisplayName,
                                                     ULONG *pchEaten, IMoniker **ppmkOut) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsSystemMoniker(DWORD *pdwMksys) = 0;
};
typedef IMoniker *LPMONIKER;

struct IRunningObjectTable;
_DEFINE_INTERFACE_ID(IRunningObjectTable, 0x00000010, 0x0000, 0x0000, 0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46)

struct IRunningObjectTable : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Register(DWORD grfFlags, IUnknown *punkObject, IMoniker *pmkObjectName,
                                             DWORD *pdwRegister) = 0;
  virtual HRESULT STDMETHODCALLTYPE Revoke(DWORD dwRegister) = 0;
  virtual HRESULT STDMETHODCALLTYPE IsRunning(IMoniker *pmkObjectName) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetObject(IMoniker *pmkObjectName, IUnknown **ppunkObject) = 0;
  virtual HRESULT STDMETHODCALLTYPE NoteChangeTime(DWORD dwRegister, FILETIME *pfiletime) = 0;
  virtual HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IMoniker *pmkObjectName, FILETIME *pfiletime) = 0;
  virtual HRESULT STDMETHODCALLTYPE EnumRunning(IEnumMoniker **ppenumMoniker) = 0;
};
typedef IRunningObjectTable *LPRUNNINGOBJECTTABLE;
