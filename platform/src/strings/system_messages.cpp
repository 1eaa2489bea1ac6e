// The English system message texts, word for word as Windows has them.
#include "strings/system_messages.h"

#include <algorithm>
#include <iterator>

namespace platform::strings {

namespace {

struct SystemMessage {
  DWORD id;
  const wchar_t *text;
};

// Win32 error codes, then HRESULTs, each group in ascending order.
constexpr SystemMessage kSystemMessages[] = {
    {ERROR_SUCCESS, L"The operation completed successfully."},
    {ERROR_INVALID_FUNCTION, L"Incorrect function."},
    {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified."},
    {ERROR_PATH_NOT_FOUND, L"The system cannot find the path specified."},
    {ERROR_TOO_MANY_OPEN_FILES, L"The system cannot open the file."},
    {ERROR_ACCESS_DENIED, L"Access is denied."},
    {ERROR_INVALID_HANDLE, L"The handle is invalid."},
    {ERROR_NOT_ENOUGH_MEMORY, L"Not enough memory resources are available to process this command."},
    {ERROR_BAD_FORMAT, L"An attempt was made to load a program with an incorrect format."},
    {ERROR_INVALID_DATA, L"The data is invalid."},
    {ERROR_OUTOFMEMORY, L"Not enough memory resources are available to complete this operation."},
    {ERROR_INVALID_DRIVE, L"The system cannot find the drive specified."},
    {ERROR_NO_MORE_FILES, L"There are no more files."},
    {ERROR_WRITE_PROTECT, L"The media is write protected."},
    {ERROR_NOT_READY, L"The device is not ready."},
    {ERROR_SHARING_VIOLATION, L"The process cannot access the file because it is being used by another process."},
    {ERROR_LOCK_VIOLATION,
     L"The process cannot access the file because another process has locked a portion of the file."},
    {ERROR_HANDLE_EOF, L"Reached the end of the file."},
    {ERROR_NOT_SUPPORTED, L"The request is not supported."},
    {ERROR_FILE_EXISTS, L"The file exists."},
    {ERROR_INVALID_PARAMETER, L"The parameter is incorrect."},
    {ERROR_BROKEN_PIPE, L"The pipe has been ended."},
    {ERROR_DISK_FULL, L"There is not enough space on the disk."},
    {ERROR_CALL_NOT_IMPLEMENTED, L"This function is not supported on this system."},
    {ERROR_INSUFFICIENT_BUFFER, L"The data area passed to a system call is too small."},
    {ERROR_INVALID_NAME, L"The filename, directory name, or volume label syntax is incorrect."},
    {ERROR_MOD_NOT_FOUND, L"The specified module could not be found."},
    {ERROR_PROC_NOT_FOUND, L"The specified procedure could not be found."},
    {ERROR_DIR_NOT_EMPTY, L"The directory is not empty."},
    {ERROR_BUSY, L"The requested resource is in use."},
    {ERROR_ALREADY_EXISTS, L"Cannot create a file when that file already exists."},
    {ERROR_BAD_EXE_FORMAT, L"%1 is not a valid Win32 application."},
    {ERROR_ENVVAR_NOT_FOUND, L"The system could not find the environment option that was entered."},
    {ERROR_FILENAME_EXCED_RANGE, L"The filename or extension is too long."},
    {ERROR_MORE_DATA, L"More data is available."},
    {WAIT_TIMEOUT, L"The wait operation timed out."},
    {ERROR_NO_MORE_ITEMS, L"No more data is available."},
    {ERROR_MR_MID_NOT_FOUND,
     L"The system cannot find message text for message number 0x%1 in the message file for %2."},
    {ERROR_INVALID_ADDRESS, L"Attempt to access invalid address."},
    {ERROR_OPERATION_ABORTED,
     L"The I/O operation has been aborted because of either a thread exit or an application request."},
    {ERROR_NOACCESS, L"Invalid access to memory location."},
    {ERROR_INVALID_FLAGS, L"Invalid flags."},
    {ERROR_CANTOPEN, L"The configuration registry key could not be opened."},
    {ERROR_CANTREAD, L"The configuration registry key could not be read."},
    {ERROR_CANTWRITE, L"The configuration registry key could not be written."},
    {ERROR_REGISTRY_CORRUPT,
     L"The registry is corrupted. The structure of one of the files containing registry data is corrupted, or the "
     L"system's memory image of the file is corrupted, or the file could not be recovered because the alternate copy "
     L"or log was absent or corrupted."},
    {ERROR_KEY_DELETED, L"Illegal operation attempted on a registry key that has been marked for deletion."},
    {ERROR_SERVICE_NOT_ACTIVE, L"The service has not been started."},
    {ERROR_NO_UNICODE_TRANSLATION, L"No mapping for the Unicode character exists in the target multi-byte code page."},
    {ERROR_DLL_INIT_FAILED, L"A dynamic link library (DLL) initialization routine failed."},
    {ERROR_DLL_NOT_FOUND, L"One of the library files needed to run this application cannot be found."},
    {ERROR_INVALID_WINDOW_HANDLE, L"Invalid window handle."},
    {ERROR_INVALID_MENU_HANDLE, L"Invalid menu handle."},
    {ERROR_INVALID_CURSOR_HANDLE, L"Invalid cursor handle."},
    {ERROR_TLW_WITH_WSCHILD, L"Cannot create a top-level child window."},
    {ERROR_CANNOT_FIND_WND_CLASS, L"Cannot find window class."},
    {ERROR_WINDOW_OF_OTHER_THREAD, L"Invalid window; it belongs to other thread."},
    {ERROR_CLASS_ALREADY_EXISTS, L"Class already exists."},
    {ERROR_CLASS_DOES_NOT_EXIST, L"Class does not exist."},
    {ERROR_CLASS_HAS_WINDOWS, L"Class still has open windows."},
    {ERROR_INVALID_INDEX, L"Invalid index."},
    {ERROR_INVALID_THREAD_ID, L"Invalid thread identifier."},
    {ERROR_TIMEOUT, L"This operation returned because the timeout period expired."},
    {ERROR_RESOURCE_DATA_NOT_FOUND, L"The specified image file did not contain a resource section."},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, L"The specified resource type cannot be found in the image file."},
    {ERROR_RESOURCE_NAME_NOT_FOUND, L"The specified resource name cannot be found in the image file."},
    {ERROR_RESOURCE_LANG_NOT_FOUND, L"The specified resource language ID cannot be found in the image file."},
    {ERROR_NOT_ENOUGH_QUOTA, L"Not enough quota is available to process this command."},

    {static_cast<DWORD>(E_PENDING), L"The data necessary to complete this operation is not yet available."},
    {static_cast<DWORD>(E_NOTIMPL), L"Not implemented"},
    {static_cast<DWORD>(E_NOINTERFACE), L"No such interface supported"},
    {static_cast<DWORD>(E_POINTER), L"Invalid pointer"},
    {static_cast<DWORD>(E_ABORT), L"Operation aborted"},
    {static_cast<DWORD>(E_FAIL), L"Unspecified error"},
    {static_cast<DWORD>(E_UNEXPECTED), L"Catastrophic failure"},
    {static_cast<DWORD>(RPC_E_SERVERFAULT), L"The server threw an exception."},
    {static_cast<DWORD>(RPC_E_CHANGED_MODE), L"Cannot change thread mode after it is set."},
    {static_cast<DWORD>(RPC_E_DISCONNECTED), L"The object invoked has disconnected from its clients."},
    {static_cast<DWORD>(RPC_E_WRONG_THREAD),
     L"The application called an interface that was marshalled for a different thread."},
    {static_cast<DWORD>(DISP_E_MEMBERNOTFOUND), L"Member not found."},
    {static_cast<DWORD>(DISP_E_TYPEMISMATCH), L"Type mismatch."},
    {static_cast<DWORD>(STG_E_INVALIDFUNCTION), L"Unable to perform requested operation."},
    {static_cast<DWORD>(STG_E_FILENOTFOUND), L"%1 could not be found."},
    {static_cast<DWORD>(STG_E_PATHNOTFOUND), L"The path %1 could not be found."},
    {static_cast<DWORD>(STG_E_ACCESSDENIED), L"Access Denied."},
    {static_cast<DWORD>(STG_E_INVALIDHANDLE), L"Attempted an operation on an invalid object."},
    {static_cast<DWORD>(STG_E_INSUFFICIENTMEMORY), L"There is insufficient memory available to complete operation."},
    {static_cast<DWORD>(STG_E_INVALIDPOINTER), L"Invalid pointer error."},
    {static_cast<DWORD>(STG_E_READFAULT), L"A disk error occurred during a read operation."},
    {static_cast<DWORD>(STG_E_SHAREVIOLATION), L"A share violation has occurred."},
    {static_cast<DWORD>(STG_E_LOCKVIOLATION), L"A lock violation has occurred."},
    {static_cast<DWORD>(STG_E_FILEALREADYEXISTS), L"%1 already exists."},
    {static_cast<DWORD>(STG_E_INVALIDPARAMETER), L"Invalid parameter error."},
    {static_cast<DWORD>(STG_E_INVALIDHEADER), L"The file %1 is not a valid compound file."},
    {static_cast<DWORD>(STG_E_INVALIDNAME), L"The name %1 is not valid."},
    {static_cast<DWORD>(STG_E_UNKNOWN), L"An unexpected error occurred."},
    {static_cast<DWORD>(STG_E_INVALIDFLAG), L"Invalid flag error."},
    {static_cast<DWORD>(STG_E_OLDFORMAT),
     L"The compound file %1 was produced with an incompatible version of storage."},
    {static_cast<DWORD>(STG_E_OLDDLL), L"The compound file %1 was produced with a newer version of storage."},
    {static_cast<DWORD>(STG_E_NOTFILEBASEDSTORAGE), L"Illegal operation called on non-file based storage."},
    {static_cast<DWORD>(STG_E_DOCFILECORRUPT), L"The docfile has been corrupted."},
    {static_cast<DWORD>(CLASS_E_NOAGGREGATION), L"Class does not support aggregation (or class object is remote)"},
    {static_cast<DWORD>(CLASS_E_CLASSNOTAVAILABLE), L"ClassFactory cannot supply requested class"},
    {static_cast<DWORD>(REGDB_E_READREGDB), L"Could not read key from registry"},
    {static_cast<DWORD>(REGDB_E_KEYMISSING), L"Could not find the key in the registry"},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), L"Class not registered"},
    {static_cast<DWORD>(MK_E_UNAVAILABLE), L"Operation unavailable"},
    {static_cast<DWORD>(MK_E_SYNTAX), L"Invalid syntax"},
    {static_cast<DWORD>(CO_E_NOTINITIALIZED), L"CoInitialize has not been called."},
    {static_cast<DWORD>(CO_E_ALREADYINITIALIZED), L"CoInitialize has already been called."},
    {static_cast<DWORD>(CO_E_CLASSSTRING), L"Invalid class string"},
    {static_cast<DWORD>(CO_E_APPNOTFOUND), L"Application not found"},
    {static_cast<DWORD>(CO_E_DLLNOTFOUND), L"DLL for class not found"},
    {static_cast<DWORD>(CO_E_ERRORINDLL), L"Error in the DLL"},
};

bool IsWin32Hresult(DWORD id) { return (id & 0xFFFF0000) == 0x80070000; }

}  // namespace

const wchar_t *SystemMessageText(DWORD messageId) {
  DWORD id = IsWin32Hresult(messageId) ? HRESULT_CODE(messageId) : messageId;
  auto found = std::find_if(std::begin(kSystemMessages), std::end(kSystemMessages),
                            [id](const SystemMessage &message) { return message.id == id; });
  return found == std::end(kSystemMessages) ? nullptr : found->text;
}

}  // namespace platform::strings
