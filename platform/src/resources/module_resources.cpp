#include "resources/module_resources.h"

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "loader/modules.h"

namespace platform::resources {

namespace {

using ResourceTable = std::vector<ResourceEntry>;

// Parsed tables by the address of the module's .res image; null for an image
// that did not parse. Tables are never freed: resource handles point into them.
class ResourceTableCache {
 public:
  const ResourceTable *TableOf(std::span<const uint8_t> image) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto [slot, inserted] = m_tables.try_emplace(image.data());
    if (inserted) {
      auto table = std::make_unique<ResourceTable>();
      if (ParseResFile(image, *table)) slot->second = std::move(table);
    }
    return slot->second.get();
  }

 private:
  std::mutex m_mutex;
  std::map<const uint8_t *, std::unique_ptr<const ResourceTable>> m_tables;
};

ResourceTableCache &Cache() {
  static ResourceTableCache cache;
  return cache;
}

// The parsed resources of a module, or null when it has none that parse.
const ResourceTable *ModuleResourceTable(HMODULE module) {
  std::span<const uint8_t> image = loader::ModuleResources(module ? module : GetModuleHandleW(nullptr));
  return image.empty() ? nullptr : Cache().TableOf(image);
}

}  // namespace

const ResourceEntry *FindModuleResource(HMODULE module, LPCWSTR type, LPCWSTR name, LANGID language) {
  const ResourceTable *table = ModuleResourceTable(module);
  DWORD error = ERROR_RESOURCE_DATA_NOT_FOUND;
  const ResourceEntry *entry =
      table ? FindResourceEntry(*table, NameFromResourceId(type), NameFromResourceId(name), language, error)
            : nullptr;
  if (!entry) SetLastError(error);
  return entry;
}

}  // namespace platform::resources
