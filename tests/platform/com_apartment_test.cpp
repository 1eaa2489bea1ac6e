// Entering and leaving COM per thread. Each case runs on a fresh thread, so
// that it starts without COM whatever ran before it.
#include <objbase.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

template <typename Body>
void OnFreshThread(Body body) {
  std::thread(body).join();
}

TEST(ComApartment, FirstInitializeIsOkLaterOnesAreFalseUntilBalanced) {
  OnFreshThread([] {
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "the thread already has COM";
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE) << "one CoUninitialize left one initialisation standing";
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "every initialisation was balanced: the thread left COM";
    CoUninitialize();
  });
}

TEST(ComApartment, OtherModelIsRefusedAndNotCounted) {
  OnFreshThread([] {
    ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), RPC_E_CHANGED_MODE);
    CoUninitialize();
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK)
        << "the refused call must not have been counted";
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED | COINIT_DISABLE_OLE1DDE), S_FALSE);
    CoUninitialize();
    CoUninitialize();
  });
}

TEST(ComApartment, ReservedArgumentMustBeNull) {
  OnFreshThread([] {
    int reserved = 0;
    EXPECT_EQ(CoInitialize(&reserved), E_INVALIDARG);
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "the refused call must not have entered COM";
    CoUninitialize();
  });
}

TEST(ComApartment, EachThreadEntersOnItsOwn) {
  OnFreshThread([] {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    OnFreshThread([] {
      EXPECT_EQ(CoInitialize(nullptr), S_OK) << "another thread's COM does not count for this one";
      CoUninitialize();
    });
    CoUninitialize();
  });
}

TEST(ComApartment, UninitializeWithoutComDoesNothing) {
  OnFreshThread([] {
    CoUninitialize();
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    CoUninitialize();
  });
}

}  // namespace
