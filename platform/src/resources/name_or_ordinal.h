// Names of resources, resource types and window classes as Windows stores
// them: a 16-bit ordinal, or a string.
#pragma once

#include <windows.h>

#include <string>

namespace platform::resources {

// A resource or class name: an ordinal, or a string.
struct NameOrOrdinal {
  WORD ordinal = 0;          // nonzero when the name is an ordinal
  std::wstring text;         // the name when it is a string
  bool IsOrdinal() const { return ordinal != 0; }
};

// The name a caller passes to the resource functions: MAKEINTRESOURCE(id),
// "#id" (a decimal ordinal, as Windows reads it) or a string.
NameOrOrdinal NameFromResourceId(LPCWSTR id);

// Windows compares ordinals by value and strings without regard to case.
bool SameName(const NameOrOrdinal &a, const NameOrOrdinal &b);

}  // namespace platform::resources
