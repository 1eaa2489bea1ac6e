#include "storage/element_tree.h"

#include <algorithm>
#include <cwchar>
#include <cwctype>

namespace platform::storage {
namespace {

constexpr size_t kMaxNameLength = 31;

bool SameName(std::wstring_view a, std::wstring_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
           return std::towupper(static_cast<wint_t>(x)) == std::towupper(static_cast<wint_t>(y));
         });
}

}  // namespace

std::shared_ptr<Element> FindChild(const Element &storage, std::wstring_view name) {
  for (const auto &child : storage.children) {
    if (SameName(child->name, name)) return child;
  }
  return nullptr;
}

void RemoveChild(Element &storage, const Element &child) {
  std::erase_if(storage.children, [&](const auto &candidate) { return candidate.get() == &child; });
}

bool IsValidElementName(const wchar_t *name) {
  if (!name) return false;
  const size_t length = wcsnlen(name, kMaxNameLength + 1);
  return length > 0 && length <= kMaxNameLength && !wcspbrk(name, L"\\/:!");
}

}  // namespace platform::storage
