// Structured storage: compound files (OLE2 docfiles) opened and created by
// name, and the STGM_ access, sharing and creation modes.
#pragma once

#include "combaseapi.h"
#include "objidl.h"

#define STGM_DIRECT 0x00000000L
#define STGM_TRANSACTED 0x00010000L
#define STGM_SIMPLE 0x08000000L
#define STGM_READ 0x00000000L
#define STGM_WRITE 0x00000001L
#define STGM_READWRITE 0x00000002L
#define STGM_SHARE_DENY_NONE 0x00000040L
#define STGM_SHARE_DENY_READ 0x00000030L
#define STGM_SHARE_DENY_WRITE 0x00000020L
#define STGM_SHARE_EXCLUSIVE 0x00000010L
#define STGM_PRIORITY 0x00040000L
#define STGM_DELETEONRELEASE 0x04000000L
#define STGM_NOSCRATCH 0x00100000L
#define STGM_CREATE 0x00001000L
#define STGM_CONVERT 0x00020000L
#define STGM_FAILIFTHERE 0x00000000L
#define STGM_NOSNAPSHOT 0x00200000L
#define STGM_DIRECT_SWMR 0x00400000L

// Opens a compound file. Its sharing mode holds against every opener, in
// this process or another: a conflicting open gets STG_E_SHAREVIOLATION.
// STG_E_FILENOTFOUND for a missing file, STG_E_PATHNOTFOUND for a missing
// folder, STG_E_ACCESSDENIED for a file that cannot be read,
// STG_E_FILEALREADYEXISTS for a file that is not a compound file.
// Opening for reading never changes the file. A storage opened or created
// for writing in direct mode writes its file when it is committed or its
// last reference is released; in transacted mode only when committed.
WINOLEAPI StgOpenStorage(const WCHAR *pwcsName, IStorage *pstgPriority, DWORD grfMode, SNB snbExclude, DWORD reserved,
                         IStorage **ppstgOpen);
// Creates a compound file: STGM_CREATE replaces an existing file, without
// it an existing file gives STG_E_FILEALREADYEXISTS.
WINOLEAPI StgCreateDocfile(const WCHAR *pwcsName, DWORD grfMode, DWORD reserved, IStorage **ppstgOpen);
// S_OK for a compound file, S_FALSE for another file, STG_E_FILENOTFOUND.
WINOLEAPI StgIsStorageFile(const WCHAR *pwcsName);
