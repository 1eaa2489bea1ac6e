// Replays the saved-graph fuzzer's kept corpus: damaged and truncated
// graph forms are refused without a crash, and good ones round-trip.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "graph_fuzz_target.h"

namespace {

TEST(GraphFuzzCorpus, EveryKeptInputIsHandled) {
  size_t inputs = 0;
  for (const auto &entry : std::filesystem::directory_iterator(QUORVEL_GRAPH_CORPUS)) {
    std::ifstream file(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_TRUE(quorvel_fuzz::ReadSavedGraphInput(bytes.data(), bytes.size())) << entry.path();
    ++inputs;
  }
  EXPECT_GT(inputs, 0u) << "the corpus is empty";
}

}  // namespace
