// The audio renderer's queue: order, pacing while it flows, and what a
// clear or a pause does to a waiting writer.
#include "media/audio/pcm_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <numeric>
#include <vector>

namespace {

using platform::media::audio::PcmQueue;
using namespace std::chrono_literals;

std::vector<BYTE> Bytes(size_t count, BYTE first = 0) {
  std::vector<BYTE> bytes(count);
  std::iota(bytes.begin(), bytes.end(), first);
  return bytes;
}

TEST(PcmQueueTest, ReadsWhatWasWrittenInOrder) {
  PcmQueue queue;
  queue.SetCapacity(64);
  queue.SetFlowing(true);
  ASSERT_TRUE(queue.Write(Bytes(10).data(), 10));
  ASSERT_TRUE(queue.Write(Bytes(10, 10).data(), 10));
  std::vector<BYTE> read(32, 0xEE);
  EXPECT_EQ(queue.Read(read.data(), 15), 15u);
  EXPECT_EQ(std::vector<BYTE>(read.begin(), read.begin() + 15), Bytes(15));
  EXPECT_EQ(queue.Read(read.data(), 32), 5u) << "only what is queued";
  EXPECT_EQ(queue.Queued(), 0u);
}

// A writer that fills the queue waits until the output reads.
TEST(PcmQueueTest, FlowingWriteWaitsForRoom) {
  PcmQueue queue;
  queue.SetCapacity(8);
  queue.SetFlowing(true);
  const std::vector<BYTE> data = Bytes(20);
  auto written = std::async(std::launch::async, [&] { return queue.Write(data.data(), data.size()); });
  EXPECT_EQ(written.wait_for(100ms), std::future_status::timeout) << "20 bytes do not fit in 8";
  std::vector<BYTE> read;
  BYTE part[4];
  while (read.size() < data.size()) {
    const size_t got = queue.Read(part, sizeof part);
    read.insert(read.end(), part, part + got);
    if (got == 0) std::this_thread::sleep_for(1ms);
  }
  EXPECT_TRUE(written.get());
  EXPECT_EQ(read, data);
}

TEST(PcmQueueTest, ClearDropsTheQueueAndTheRestOfAWaitingWrite) {
  PcmQueue queue;
  queue.SetCapacity(8);
  queue.SetFlowing(true);
  const std::vector<BYTE> data = Bytes(20);
  auto written = std::async(std::launch::async, [&] { return queue.Write(data.data(), data.size()); });
  EXPECT_EQ(written.wait_for(50ms), std::future_status::timeout);
  queue.Clear();
  ASSERT_EQ(written.wait_for(5s), std::future_status::ready);
  EXPECT_FALSE(written.get());
  EXPECT_EQ(queue.Queued(), 0u);
}

// A paused renderer never keeps a streaming thread: the sample goes in whole.
TEST(PcmQueueTest, WriteDoesNotWaitWhileNotFlowing) {
  PcmQueue queue;
  queue.SetCapacity(8);
  EXPECT_TRUE(queue.Write(Bytes(20).data(), 20));
  EXPECT_EQ(queue.Queued(), 20u);
  queue.SetFlowing(true);
  auto written = std::async(std::launch::async, [&] { return queue.Write(Bytes(4).data(), 4); });
  EXPECT_EQ(written.wait_for(50ms), std::future_status::timeout) << "the queue is over its capacity";
  queue.SetFlowing(false);
  ASSERT_EQ(written.wait_for(5s), std::future_status::ready);
  EXPECT_TRUE(written.get());
  EXPECT_EQ(queue.Queued(), 24u);
}

TEST(PcmQueueTest, WaitUntilEmptyEndsWhenPlayedOutClearedOrPaused) {
  PcmQueue queue;
  queue.SetCapacity(64);
  queue.SetFlowing(true);
  EXPECT_TRUE(queue.WaitUntilEmpty()) << "an empty queue has played out";

  queue.Write(Bytes(16).data(), 16);
  auto drained = std::async(std::launch::async, [&] { return queue.WaitUntilEmpty(); });
  EXPECT_EQ(drained.wait_for(50ms), std::future_status::timeout);
  BYTE sink[16];
  queue.Read(sink, sizeof sink);
  EXPECT_TRUE(drained.get());

  queue.Write(Bytes(16).data(), 16);
  auto cleared = std::async(std::launch::async, [&] { return queue.WaitUntilEmpty(); });
  EXPECT_EQ(cleared.wait_for(50ms), std::future_status::timeout);
  queue.Clear();
  EXPECT_FALSE(cleared.get());

  queue.Write(Bytes(16).data(), 16);
  auto paused = std::async(std::launch::async, [&] { return queue.WaitUntilEmpty(); });
  EXPECT_EQ(paused.wait_for(50ms), std::future_status::timeout);
  queue.SetFlowing(false);
  EXPECT_FALSE(paused.get());
}

}  // namespace
