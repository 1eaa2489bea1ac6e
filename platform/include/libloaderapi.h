// Modules and their resources: module handles, finding, loading and locking
// resources by type, name and language.
#pragma once

#include "winerror.h"

#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#ifdef UNICODE
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#endif

#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)
#define RT_VERSION MAKEINTRESOURCEW(16)
#define RT_MANIFEST MAKEINTRESOURCEW(24)

EXTERN_C HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName);
EXTERN_C DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize);
EXTERN_C HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType);
EXTERN_C HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage);
EXTERN_C HGLOBAL WINAPI LoadResource(HMODULE hModule, HRSRC hResInfo);
EXTERN_C LPVOID WINAPI LockResource(HGLOBAL hResData);
EXTERN_C DWORD WINAPI SizeofResource(HMODULE hModule, HRSRC hResInfo);

#ifdef UNICODE
#define GetModuleHandle GetModuleHandleW
#define GetModuleFileName GetModuleFileNameW
#define FindResource FindResourceW
#define FindResourceEx FindResourceExW
#endif
