#include "com/builtin_classes.h"

#include <mutex>

namespace platform::com {

namespace {

// Function-local, so static initializers of other files can add to it in any order.
struct Table {
  std::mutex mutex;
  std::vector<BuiltinClass> classes;
};

Table &TheTable() {
  static Table *table = new Table();
  return *table;
}

}  // namespace

bool AddBuiltinClass(const BuiltinClass &builtin) {
  Table &table = TheTable();
  std::lock_guard lock(table.mutex);
  table.classes.push_back(builtin);
  return true;
}

std::optional<BuiltinClass> FindBuiltinClass(REFCLSID clsid) {
  Table &table = TheTable();
  std::lock_guard lock(table.mutex);
  for (const auto &entry : table.classes) {
    if (IsEqualCLSID(*entry.clsid, clsid)) return entry;
  }
  return std::nullopt;
}

std::vector<BuiltinClass> BuiltinClasses() {
  Table &table = TheTable();
  std::lock_guard lock(table.mutex);
  return table.classes;
}

}  // namespace platform::com
