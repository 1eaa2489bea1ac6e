#include <windows.h>
#include <synchapi.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

class CriticalSectionTest : public testing::Test {
 protected:
  void SetUp() override { InitializeCriticalSection(&section); }
  void TearDown() override { DeleteCriticalSection(&section); }

  bool OtherThreadCanEnter() {
    BOOL entered = FALSE;
    std::thread([&] {
      entered = TryEnterCriticalSection(&section);
      if (entered) LeaveCriticalSection(&section);
    }).join();
    return entered;
  }

  CRITICAL_SECTION section;
};

TEST_F(CriticalSectionTest, OwnerMayEnterAgainAndLeavesAsOftenAsItEntered) {
  EnterCriticalSection(&section);
  EXPECT_TRUE(TryEnterCriticalSection(&section)) << "the owner enters again";
  LeaveCriticalSection(&section);
  EXPECT_FALSE(OtherThreadCanEnter()) << "still held once";
  LeaveCriticalSection(&section);
  EXPECT_TRUE(OtherThreadCanEnter());
}

TEST_F(CriticalSectionTest, KeepsThreadsOutOfEachOther) {
  constexpr int kIncrements = 20000;
  int counter = 0;
  auto add = [&] {
    for (int i = 0; i < kIncrements; ++i) {
      EnterCriticalSection(&section);
      ++counter;
      LeaveCriticalSection(&section);
    }
  };
  std::thread first(add), second(add);
  first.join();
  second.join();
  EXPECT_EQ(counter, 2 * kIncrements);
}

TEST(CriticalSection, SpinCountIsKept) {
  CRITICAL_SECTION section;
  ASSERT_TRUE(InitializeCriticalSectionAndSpinCount(&section, 4000));
  EXPECT_EQ(section.SpinCount, 4000u);
  DeleteCriticalSection(&section);
}

}  // namespace
