#include "storage_fuzz_target.h"

#include <vector>

#include "storage/compound_file_format.h"

namespace quorvel_fuzz {
namespace {

size_t CountElements(const platform::storage::Element &element) {
  size_t count = 1;
  for (const auto &child : element.children) count += CountElements(*child);
  return count;
}

}  // namespace

bool ReadCompoundFileInput(const uint8_t *data, size_t size) {
  std::shared_ptr<platform::storage::Element> root;
  if (FAILED(platform::storage::ReadCompoundFile({data, size}, root))) return true;
  std::vector<uint8_t> written;
  if (FAILED(platform::storage::WriteCompoundFile(*root, written))) return true;  // names the writer refuses
  std::shared_ptr<platform::storage::Element> reread;
  return SUCCEEDED(platform::storage::ReadCompoundFile(written, reread)) &&
         CountElements(*reread) == CountElements(*root);
}

}  // namespace quorvel_fuzz
