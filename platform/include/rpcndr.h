// Interface declaration helpers of generated COM headers. MIDL_INTERFACE
// carries the interface's identifier for compilers that read it; with GCC an
// interface's identifier comes from __CRT_UUID_DECL instead (see guiddef.h).
#pragma once

#ifndef DECLSPEC_UUID
#define DECLSPEC_UUID(x)
#endif
#define MIDL_INTERFACE(x) struct DECLSPEC_UUID(x) DECLSPEC_NOVTABLE
