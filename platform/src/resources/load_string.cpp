// LoadStringW: strings of a module's string tables. Decoded blocks are kept
// for the life of the process, so the read-only pointer that a zero-sized
// buffer asks for stays valid, as a pointer into the module does on Windows.
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <map>
#include <memory>
#include <mutex>

#include "resources/module_resources.h"
#include "resources/string_table.h"

namespace {

using platform::resources::ResourceEntry;
using platform::resources::StringBlock;

// Decoded blocks by their resource entry; null for a block that did not parse.
const StringBlock *DecodedBlock(const ResourceEntry *entry) {
  static std::mutex mutex;
  static std::map<const ResourceEntry *, std::unique_ptr<const StringBlock>> blocks;
  std::lock_guard<std::mutex> lock(mutex);
  auto [slot, inserted] = blocks.try_emplace(entry);
  if (inserted) {
    auto block = std::make_unique<StringBlock>();
    if (platform::resources::ParseStringBlock(entry->data, *block)) slot->second = std::move(block);
  }
  return slot->second.get();
}

// The string with the given id, or null with the thread's last error set.
const std::wstring *FindString(HINSTANCE instance, UINT id) {
  const ResourceEntry *entry = platform::resources::FindModuleResource(
      instance, RT_STRING, MAKEINTRESOURCEW(platform::resources::StringBlockName(id)),
      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (!entry) return nullptr;
  const StringBlock *block = DecodedBlock(entry);
  if (!block) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return nullptr;
  }
  const std::wstring &text = (*block)[platform::resources::StringBlockIndex(id)];
  if (text.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return &text;
}

}  // namespace

// With cchBufferMax 0, lpBuffer receives a read-only pointer to the string
// (not guaranteed to be terminated on Windows) and the result is its length.
// Otherwise the string is copied, cut to cchBufferMax - 1 characters and
// terminated, and the result is the number of characters copied.
extern "C" int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const std::wstring *text = FindString(hInstance, uID);
  if (cchBufferMax == 0) {
    LPCWSTR readOnly = text ? text->c_str() : nullptr;
    std::memcpy(lpBuffer, &readOnly, sizeof readOnly);
    return text ? static_cast<int>(text->size()) : 0;
  }
  size_t copied = text ? std::min(text->size(), static_cast<size_t>(cchBufferMax - 1)) : 0;
  if (copied) wmemcpy(lpBuffer, text->c_str(), copied);
  lpBuffer[copied] = L'\0';
  return static_cast<int>(copied);
}
