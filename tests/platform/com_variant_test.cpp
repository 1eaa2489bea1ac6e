// VARIANT: its layout and what VariantInit and VariantClear do with what it holds.
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstddef>

#include "com_test_objects.h"

namespace {

TEST(ComVariant, LayoutIsThatOf64BitWindows) {
  EXPECT_EQ(sizeof(VARIANT), 24u);
  EXPECT_EQ(offsetof(VARIANT, vt), 0u);
  EXPECT_EQ(offsetof(VARIANT, lVal), 8u);
  EXPECT_EQ(offsetof(VARIANT, bstrVal), 8u);
}

TEST(ComVariant, InitEmpties) {
  VARIANT value;
  value.vt = VT_I4;
  VariantInit(&value);
  EXPECT_EQ(value.vt, VT_EMPTY);
}

// The sanitizer build reports a BSTR that is not freed.
TEST(ComVariant, ClearFreesAStringAndEmpties) {
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(L"Recording Renderer");
  EXPECT_EQ(VariantClear(&value), S_OK);
  EXPECT_EQ(value.vt, VT_EMPTY);
  EXPECT_EQ(VariantClear(nullptr), E_INVALIDARG);
}

TEST(ComVariant, ClearReleasesAnInterface) {
  testing_support::CountedObject object;
  VARIANT value;
  VariantInit(&value);
  value.vt = VT_UNKNOWN;
  value.punkVal = &object;
  object.AddRef();
  EXPECT_EQ(VariantClear(&value), S_OK);
  EXPECT_EQ(object.references, 1u);
}

}  // namespace
