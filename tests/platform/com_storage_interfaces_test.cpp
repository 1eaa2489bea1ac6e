// Identifiers, vtable slots and layouts of the storage, stream and binding
// interfaces, checked against the values Windows documents.
#include <objbase.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "vtable_slot.h"

namespace {

struct KnownIid {
  const char *name;
  const IID &defined;
  const IID &uuidof;
  IID documented;
};

TEST(ComStorageInterfaces, IdentifiersHaveTheirDocumentedValues) {
  const KnownIid ids[] = {
      {"ISequentialStream",
       IID_ISequentialStream,
       __uuidof(ISequentialStream),
       {0x0c733a30, 0x2a1c, 0x11ce, {0xad, 0xe5, 0x00, 0xaa, 0x00, 0x44, 0x77, 0x3d}}},
      {"IStream", IID_IStream, __uuidof(IStream), {0x0000000C, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}},
      {"IStorage", IID_IStorage, __uuidof(IStorage), {0x0000000B, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}},
      {"IEnumSTATSTG", IID_IEnumSTATSTG, __uuidof(IEnumSTATSTG), {0x0000000D, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}},
      {"IBindCtx", IID_IBindCtx, __uuidof(IBindCtx), {0x0000000E, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}},
      {"IEnumString", IID_IEnumString, __uuidof(IEnumString), {0x00000101, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}}},
  };
  for (const KnownIid &id : ids) {
    EXPECT_TRUE(IsEqualIID(id.defined, id.documented)) << id.name;
    EXPECT_TRUE(IsEqualIID(id.uuidof, id.documented)) << id.name;
  }
}

TEST(ComStorageInterfaces, MethodsSitInTheirWindowsVtableSlots) {
  ExpectSlots({
      {"ISequentialStream::Read", SlotOf(&ISequentialStream::Read), 3},
      {"ISequentialStream::Write", SlotOf(&ISequentialStream::Write), 4},
      {"IStream::Seek", SlotOf(&IStream::Seek), 5},
      {"IStream::SetSize", SlotOf(&IStream::SetSize), 6},
      {"IStream::Stat", SlotOf(&IStream::Stat), 12},
      {"IStream::Clone", SlotOf(&IStream::Clone), 13},
      {"IStorage::CreateStream", SlotOf(&IStorage::CreateStream), 3},
      {"IStorage::OpenStream", SlotOf(&IStorage::OpenStream), 4},
      {"IStorage::OpenStorage", SlotOf(&IStorage::OpenStorage), 6},
      {"IStorage::Commit", SlotOf(&IStorage::Commit), 9},
      {"IStorage::EnumElements", SlotOf(&IStorage::EnumElements), 11},
      {"IStorage::SetClass", SlotOf(&IStorage::SetClass), 15},
      {"IStorage::Stat", SlotOf(&IStorage::Stat), 17},
      {"IEnumSTATSTG::Clone", SlotOf(&IEnumSTATSTG::Clone), 6},
      {"IBindCtx::GetRunningObjectTable", SlotOf(&IBindCtx::GetRunningObjectTable), 8},
      {"IBindCtx::RevokeObjectParam", SlotOf(&IBindCtx::RevokeObjectParam), 12},
      {"IEnumString::Next", SlotOf(&IEnumString::Next), 3},
  });
}

TEST(ComStorageInterfaces, StatstgHasTheWindowsLayout) {
  EXPECT_EQ(offsetof(STATSTG, cbSize), 16u);
  EXPECT_EQ(offsetof(STATSTG, grfMode), 48u);
  EXPECT_EQ(offsetof(STATSTG, clsid), 56u);
  EXPECT_EQ(sizeof(STATSTG), 80u);
  EXPECT_EQ(sizeof(BIND_OPTS), 16u);
}

}  // namespace
