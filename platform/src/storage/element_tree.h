// The content of a compound file in memory: storages holding streams and
// storages. A compound file is read into this tree when it is opened and
// written from it when it is saved. Names are compared as Windows compares
// them, ignoring case.
#pragma once

#include <objbase.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform::storage {

struct Element {
  std::wstring name;
  bool isStorage = false;
  CLSID clsid{};                                   // storages
  std::vector<uint8_t> data;                       // streams
  std::vector<std::shared_ptr<Element>> children;  // storages
  bool open = false;                               // a stream or storage object is open on it: each opens once
};

// The child of that name, or null.
std::shared_ptr<Element> FindChild(const Element &storage, std::wstring_view name);
void RemoveChild(Element &storage, const Element &child);

// Names have 1 to 31 characters and none of \ / : !
bool IsValidElementName(const wchar_t *name);

}  // namespace platform::storage
