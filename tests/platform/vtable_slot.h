// The vtable slot of a virtual method, read from its member-function pointer:
// the Itanium C++ ABI stores 1 + the byte offset of the method's slot. Tests
// compare it with the slot Windows documents for the method.
#pragma once

#include <cstddef>
#include <cstring>

template <typename Method>
size_t SlotOf(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(ptrdiff_t), "a pointer to a member function of a class");
  ptrdiff_t offsetPlusOne;
  std::memcpy(&offsetPlusOne, &method, sizeof offsetPlusOne);
  return static_cast<size_t>(offsetPlusOne - 1) / sizeof(void *);
}
