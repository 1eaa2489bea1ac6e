// FormatMessageW describes error codes and HRESULTs with the English texts of
// Windows, each ending in "\r\n", and fails as Windows does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr DWORD kSystemFlags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS;
constexpr WORD kLangGerman = 0x07;

std::wstring SystemMessage(DWORD id) {
  wchar_t buffer[512];
  DWORD length = FormatMessageW(kSystemFlags, nullptr, id, 0, buffer, 512, nullptr);
  return std::wstring(buffer, length);
}

struct MessageCase {
  DWORD id;
  const wchar_t *text;
};

const MessageCase kMessages[] = {
    {ERROR_INVALID_FUNCTION, L"Incorrect function.\r\n"},
    {ERROR_FILE_NOT_FOUND, L"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, L"The system cannot find the path specified.\r\n"},
    {ERROR_ACCESS_DENIED, L"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, L"The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, L"Not enough memory resources are available to process this command.\r\n"},
    {ERROR_OUTOFMEMORY, L"Not enough memory resources are available to complete this operation.\r\n"},
    {ERROR_SHARING_VIOLATION, L"The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_INVALID_PARAMETER, L"The parameter is incorrect.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, L"The data area passed to a system call is too small.\r\n"},
    {ERROR_INVALID_NAME, L"The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {ERROR_MOD_NOT_FOUND, L"The specified module could not be found.\r\n"},
    {ERROR_ALREADY_EXISTS, L"Cannot create a file when that file already exists.\r\n"},
    {ERROR_BAD_EXE_FORMAT, L"%1 is not a valid Win32 application.\r\n"},
    {WAIT_TIMEOUT, L"The wait operation timed out.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, L"Invalid window handle.\r\n"},
    {ERROR_TIMEOUT, L"This operation returned because the timeout period expired.\r\n"},
    // Win32 errors as HRESULTs.
    {0x80070002, L"The system cannot find the file specified.\r\n"},
    {0x800705B4, L"This operation returned because the timeout period expired.\r\n"},
    {static_cast<DWORD>(E_INVALIDARG), L"The parameter is incorrect.\r\n"},
    {static_cast<DWORD>(E_OUTOFMEMORY), L"Not enough memory resources are available to complete this operation.\r\n"},
    {static_cast<DWORD>(E_ACCESSDENIED), L"Access is denied.\r\n"},
    // COM's own codes.
    {static_cast<DWORD>(E_FAIL), L"Unspecified error\r\n"},
    {static_cast<DWORD>(E_POINTER), L"Invalid pointer\r\n"},
    {static_cast<DWORD>(E_NOINTERFACE), L"No such interface supported\r\n"},
    {static_cast<DWORD>(E_NOTIMPL), L"Not implemented\r\n"},
    {static_cast<DWORD>(E_UNEXPECTED), L"Catastrophic failure\r\n"},
    {static_cast<DWORD>(E_ABORT), L"Operation aborted\r\n"},
    {static_cast<DWORD>(REGDB_E_CLASSNOTREG), L"Class not registered\r\n"},
    {static_cast<DWORD>(CLASS_E_NOAGGREGATION), L"Class does not support aggregation (or class object is remote)\r\n"},
    {static_cast<DWORD>(CO_E_NOTINITIALIZED), L"CoInitialize has not been called.\r\n"},
    {static_cast<DWORD>(RPC_E_CHANGED_MODE), L"Cannot change thread mode after it is set.\r\n"},
    {static_cast<DWORD>(STG_E_FILENOTFOUND), L"%1 could not be found.\r\n"},
    {static_cast<DWORD>(STG_E_INVALIDHEADER), L"The file %1 is not a valid compound file.\r\n"},
};

TEST(FormatMessageW, DescribesSystemErrorsAndHresults) {
  for (const auto &c : kMessages) {
    EXPECT_EQ(SystemMessage(c.id), c.text) << "message 0x" << std::hex << c.id;
  }
}

TEST(FormatMessageW, ReturnsTheLengthWithoutTheTerminator) {
  wchar_t buffer[64];
  DWORD length = FormatMessageW(kSystemFlags, nullptr, ERROR_ACCESS_DENIED, 0, buffer, 64, nullptr);
  EXPECT_EQ(length, 19u);
  EXPECT_EQ(buffer[length], L'\0');
}

TEST(FormatMessageW, AllocatesTheBufferForTheCaller) {
  LPWSTR text = nullptr;
  DWORD length = FormatMessageW(kSystemFlags | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, static_cast<DWORD>(E_FAIL),
                                MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<LPWSTR>(&text), 0, nullptr);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(length, 19u);
  EXPECT_STREQ(text, L"Unspecified error\r\n");
  EXPECT_EQ(LocalFree(text), nullptr);
}

struct FailureCase {
  const char *name;
  DWORD flags;
  DWORD id;
  DWORD languageId;
  DWORD size;
  DWORD expectedError;
};

const FailureCase kFailures[] = {
    {"unknown error code", kSystemFlags, 0x0000BEEF, 0, 256, ERROR_MR_MID_NOT_FOUND},
    {"unknown Win32 HRESULT", kSystemFlags, 0x8007BEEF, 0, 256, ERROR_MR_MID_NOT_FOUND},
    {"unknown COM code", kSystemFlags, 0x8004BEEF, 0, 256, ERROR_MR_MID_NOT_FOUND},
    {"buffer one character short", kSystemFlags, ERROR_ACCESS_DENIED, 0, 19, ERROR_INSUFFICIENT_BUFFER},
    {"empty buffer", kSystemFlags, ERROR_ACCESS_DENIED, 0, 0, ERROR_INSUFFICIENT_BUFFER},
    {"language without texts", kSystemFlags, ERROR_ACCESS_DENIED, MAKELANGID(kLangGerman, SUBLANG_DEFAULT), 256,
     ERROR_RESOURCE_LANG_NOT_FOUND},
    {"inserts without arguments", FORMAT_MESSAGE_FROM_SYSTEM, static_cast<DWORD>(STG_E_FILENOTFOUND), 0, 256,
     ERROR_INVALID_PARAMETER},
};

TEST(FormatMessageW, FailsWithWindowsErrors) {
  for (const auto &c : kFailures) {
    wchar_t buffer[256] = L"untouched";
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(FormatMessageW(c.flags, nullptr, c.id, c.languageId, buffer, c.size, nullptr), 0u) << c.name;
    EXPECT_EQ(GetLastError(), c.expectedError) << c.name;
    EXPECT_STREQ(buffer, L"untouched") << c.name;
  }
}

TEST(FormatMessageW, MessageWithoutInsertsNeedsNoIgnoreFlag) {
  wchar_t buffer[64];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 64, nullptr);
  EXPECT_EQ(std::wstring(buffer, length), L"The system cannot find the file specified.\r\n");
}

TEST(FormatMessageW, FailedAllocationLeavesNullBuffer) {
  LPWSTR text = reinterpret_cast<LPWSTR>(&text);  // anything but null
  EXPECT_EQ(FormatMessageW(kSystemFlags | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, 0x0000BEEF, 0,
                           reinterpret_cast<LPWSTR>(&text), 0, nullptr),
            0u);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MR_MID_NOT_FOUND));
}

}  // namespace
