#include <objbase.h>

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(ComTaskMemory, ZeroBytesGiveAValidBlock) {
  void *block = CoTaskMemAlloc(0);
  EXPECT_NE(block, nullptr);
  CoTaskMemFree(block);
}

TEST(ComTaskMemory, ReallocKeepsContentsAllocatesFromNullAndFreesAtZero) {
  auto *block = static_cast<char *>(CoTaskMemRealloc(nullptr, 4));
  ASSERT_NE(block, nullptr) << "a null block is allocated afresh";
  memcpy(block, "abc", 4);
  block = static_cast<char *>(CoTaskMemRealloc(block, 4096));
  ASSERT_NE(block, nullptr);
  EXPECT_STREQ(block, "abc");
  EXPECT_EQ(CoTaskMemRealloc(block, 0), nullptr) << "a size of zero frees the block";
}

TEST(ComTaskMemory, FreeingNullDoesNothing) { CoTaskMemFree(nullptr); }

}  // namespace
