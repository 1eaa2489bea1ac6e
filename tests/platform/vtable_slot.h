// Vtable slots of virtual methods, compared with the slots a method is
// documented to have. The slot is read from the method's member-function
// pointer: the Itanium C++ ABI stores 1 + the byte offset of the slot.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <initializer_list>

template <typename Method>
size_t SlotOf(Method method) {
  static_assert(sizeof(Method) == 2 * sizeof(ptrdiff_t), "a pointer to a member function of a class");
  ptrdiff_t offsetPlusOne;
  std::memcpy(&offsetPlusOne, &method, sizeof offsetPlusOne);
  return static_cast<size_t>(offsetPlusOne - 1) / sizeof(void *);
}

struct KnownSlot {
  const char *method;
  size_t slot;      // SlotOf(&Interface::Method)
  size_t expected;  // the documented slot
};

inline void ExpectSlots(std::initializer_list<KnownSlot> slots) {
  for (const KnownSlot &known : slots) EXPECT_EQ(known.slot, known.expected) << known.method;
}
