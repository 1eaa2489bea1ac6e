// Handles: closing, waiting on unknown handles, and objects waited on through
// a file descriptor.
#include <windows.h>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <memory>

#include "kernel/waitable.h"

namespace {

const HANDLE kUnknownHandles[] = {nullptr, INVALID_HANDLE_VALUE, reinterpret_cast<HANDLE>(uintptr_t{0x7FFFFFF0})};

TEST(KernelHandles, CloseUnknownHandleFails) {
  for (HANDLE handle : kUnknownHandles) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(CloseHandle(handle)) << handle;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << handle;
  }
}

TEST(KernelHandles, WaitOnUnknownHandleFails) {
  for (HANDLE handle : kUnknownHandles) {
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED) << handle;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE)) << handle;
  }
}

TEST(KernelHandles, HandleIsClosedOnlyOnce) {
  HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  ASSERT_NE(event, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(event) % 4, 0u) << "kernel handles are multiples of four";
  EXPECT_TRUE(CloseHandle(event));
  EXPECT_FALSE(CloseHandle(event));
  EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
}

// An object that is signalled while a descriptor is readable, as a process
// handle will be: here the read end of a pipe.
TEST(KernelHandles, DescriptorObjectIsSignalledWhenReadable) {
  int pipeEnds[2];
  ASSERT_EQ(pipe(pipeEnds), 0);
  HANDLE handle = platform::kernel::InsertHandle(std::make_shared<platform::kernel::DescriptorObject>(pipeEnds[0]));
  EXPECT_EQ(WaitForSingleObject(handle, 0), static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(WaitForSingleObject(handle, 20), static_cast<DWORD>(WAIT_TIMEOUT));
  ASSERT_EQ(write(pipeEnds[1], "x", 1), 1);
  EXPECT_EQ(WaitForSingleObject(handle, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_OBJECT_0) << "readability is not consumed by a wait";
  close(pipeEnds[1]);
  EXPECT_TRUE(CloseHandle(handle));
  EXPECT_EQ(fcntl(pipeEnds[0], F_GETFD), -1) << "the last handle closed the descriptor";
}

}  // namespace
