// Streams over global memory: what the stream writes is in the block, the
// block's content is the stream's, and the block is freed or kept as asked.
#include <objbase.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

std::string BlockText(HGLOBAL block, size_t size) {
  const auto *data = static_cast<const char *>(GlobalLock(block));
  std::string text(data, size);
  GlobalUnlock(block);
  return text;
}

TEST(HGlobalStream, WritesLandInTheBlockThatGetHGlobalFromStreamGives) {
  IStream *stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, &stream), S_OK);
  ASSERT_EQ(stream->Write("persisted graph", 15, nullptr), S_OK);
  HGLOBAL block = nullptr;
  ASSERT_EQ(GetHGlobalFromStream(stream, &block), S_OK);
  ASSERT_GE(GlobalSize(block), 15u);
  EXPECT_EQ(BlockText(block, 15), "persisted graph");
  STATSTG stat{};
  ASSERT_EQ(stream->Stat(&stat, STATFLAG_DEFAULT), S_OK);
  EXPECT_EQ(stat.cbSize.QuadPart, 15u);
  EXPECT_EQ(stat.pwcsName, nullptr) << "a memory stream has no name";
  EXPECT_EQ(stream->Release(), 0u);
  EXPECT_EQ(GlobalSize(block), 0u) << "freed with the stream";
}

TEST(HGlobalStream, StartsWithTheBlocksContentAndKeepsItWhenAsked) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(block), "abcd", 4);
  GlobalUnlock(block);
  IStream *stream = nullptr;
  ASSERT_EQ(CreateStreamOnHGlobal(block, FALSE, &stream), S_OK);
  char buffer[8] = {};
  ULONG read = 0;
  ASSERT_EQ(stream->Read(buffer, sizeof buffer, &read), S_OK);
  EXPECT_EQ(std::string(buffer, read), "abcd");
  ASSERT_EQ(stream->Write("ef", 2, nullptr), S_OK);
  stream->Release();
  ASSERT_EQ(GlobalSize(block), 6u);
  EXPECT_EQ(BlockText(block, 6), "abcdef");
  EXPECT_EQ(GlobalFree(block), nullptr);
}

TEST(HGlobalStream, OtherStreamsHaveNoBlock) {
  HGLOBAL block = reinterpret_cast<HGLOBAL>(1);
  EXPECT_EQ(GetHGlobalFromStream(nullptr, &block), E_INVALIDARG);
  EXPECT_EQ(block, nullptr);
  EXPECT_EQ(CreateStreamOnHGlobal(nullptr, TRUE, nullptr), E_INVALIDARG);
}

}  // namespace
