// A registry of the test's own in which the platform's classes and the test
// filter library are registered, each by its own DllRegisterServer, as the
// registration tool does; COM is initialised on the test's thread while it
// lives.
#pragma once

#include <objbase.h>

#include <gtest/gtest.h>

#include "media_test_support.h"
#include "private_registry.h"
#include "server_entry.h"

namespace media_testing {

using testing_support::CallServerEntry;

class RegisteredFilters {
 public:
  RegisteredFilters() {
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    EXPECT_HR(S_OK, CallServerEntry(QUORVEL_PLATFORM_LIBRARY, "DllRegisterServer"));
    EXPECT_HR(S_OK, CallServerEntry(QUORVEL_MEDIA_TEST_FILTERS, "DllRegisterServer"));
  }
  ~RegisteredFilters() { CoUninitialize(); }
  RegisteredFilters(const RegisteredFilters &) = delete;
  RegisteredFilters &operator=(const RegisteredFilters &) = delete;

  testing_support::PrivateRegistry registry;
};

}  // namespace media_testing
