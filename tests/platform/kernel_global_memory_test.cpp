// Global memory: fixed and movable blocks, locks, reallocation and freeing.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(GlobalMemory, MovableBlocksCountLocksAndGrow) {
  HGLOBAL block = GlobalAlloc(GHND, 3);
  ASSERT_NE(block, nullptr);
  const auto *data = static_cast<const char *>(GlobalLock(block));
  EXPECT_NE(static_cast<const void *>(data), block) << "a movable handle is not the block's address";
  EXPECT_EQ(std::string(data, 3), std::string(3, '\0')) << "GMEM_ZEROINIT";
  GlobalLock(block);
  EXPECT_TRUE(GlobalUnlock(block)) << "still locked once";
  EXPECT_FALSE(GlobalUnlock(block));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(NO_ERROR));
  ASSERT_EQ(GlobalReAlloc(block, 10, GMEM_ZEROINIT), block) << "a movable block keeps its handle";
  EXPECT_EQ(GlobalSize(block), 10u);
  EXPECT_EQ(GlobalFree(block), nullptr);
  EXPECT_EQ(GlobalFree(block), block) << "freed already";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST(GlobalMemory, FixedBlocksAreTheirAddress) {
  HGLOBAL block = GlobalAlloc(GPTR, 8);
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(GlobalLock(block), static_cast<void *>(block));
  EXPECT_EQ(GlobalReAlloc(block, 4096, 0), nullptr) << "a fixed block grows only if it may move";
  HGLOBAL moved = GlobalReAlloc(block, 4096, GMEM_MOVEABLE);
  ASSERT_NE(moved, nullptr);
  EXPECT_EQ(GlobalSize(moved), 4096u);
  EXPECT_EQ(GlobalFree(moved), nullptr);
}

}  // namespace
