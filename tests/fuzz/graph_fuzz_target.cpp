#include "graph_fuzz_target.h"

#include <vector>

#include "media/saved_graph.h"

namespace quorvel_fuzz {

bool ReadSavedGraphInput(const uint8_t *data, size_t size) {
  platform::media::SavedGraph graph;
  size_t consumed = 0;
  if (FAILED(platform::media::ReadSavedGraph({data, size}, graph, consumed))) return true;
  if (consumed > size) return false;
  std::vector<BYTE> written;
  if (FAILED(platform::media::WriteSavedGraph(graph, written))) return false;
  platform::media::SavedGraph reread;
  std::vector<BYTE> rewritten;
  return SUCCEEDED(platform::media::ReadSavedGraph(written, reread, consumed)) && consumed == written.size() &&
         SUCCEEDED(platform::media::WriteSavedGraph(reread, rewritten)) && rewritten == written;
}

}  // namespace quorvel_fuzz
