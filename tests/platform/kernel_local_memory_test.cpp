#include <windows.h>

#include <gtest/gtest.h>

namespace {

TEST(LocalMemory, ZeroInitialisedBlockAndFree) {
  auto block = static_cast<BYTE *>(LocalAlloc(LPTR, 64));
  ASSERT_NE(block, nullptr);
  for (int i = 0; i < 64; ++i) EXPECT_EQ(block[i], 0) << "byte " << i;
  EXPECT_EQ(LocalFree(block), nullptr) << "LocalFree returns null on success";
  EXPECT_EQ(LocalFree(nullptr), nullptr);
}

}  // namespace
