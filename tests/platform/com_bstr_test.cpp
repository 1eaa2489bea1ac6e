// BSTR layout and null handling.
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

uint32_t PrefixOf(BSTR bstr) {
  uint32_t prefix;
  memcpy(&prefix, reinterpret_cast<const char *>(bstr) - sizeof prefix, sizeof prefix);
  return prefix;
}

TEST(ComBstr, LengthPrefixHoldsByteCountBeforeFirstCharacter) {
  BSTR bstr = SysAllocString(L"Quorvel");
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(PrefixOf(bstr), 7 * sizeof(OLECHAR)) << "bytes, without the terminator";
  EXPECT_EQ(SysStringLen(bstr), 7u);
  EXPECT_EQ(SysStringByteLen(bstr), 7 * sizeof(OLECHAR));
  EXPECT_EQ(bstr[7], L'\0') << "the text is null-terminated";
  EXPECT_EQ(reinterpret_cast<uintptr_t>(bstr) % 8, 0u) << "the text is 8-byte aligned";
  SysFreeString(bstr);
}

TEST(ComBstr, LengthCountsEmbeddedNulls) {
  BSTR bstr = SysAllocStringLen(L"a\0b", 3);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 3u);
  EXPECT_EQ(wmemcmp(bstr, L"a\0b", 3), 0);
  EXPECT_EQ(bstr[3], L'\0');
  SysFreeString(bstr);
}

TEST(ComBstr, CopiesOnlyTheGivenCount) {
  BSTR bstr = SysAllocStringLen(L"decoder", 3);
  ASSERT_NE(bstr, nullptr);
  EXPECT_STREQ(bstr, L"dec");
  SysFreeString(bstr);
}

TEST(ComBstr, NullSourceOfGivenLengthIsZeroFilled) {
  BSTR bstr = SysAllocStringLen(nullptr, 4);
  ASSERT_NE(bstr, nullptr);
  EXPECT_EQ(SysStringLen(bstr), 4u);
  for (int i = 0; i <= 4; ++i) EXPECT_EQ(bstr[i], L'\0') << "character " << i;
  SysFreeString(bstr);
}

TEST(ComBstr, NullIsTheEmptyString) {
  EXPECT_EQ(SysAllocString(nullptr), nullptr);
  EXPECT_EQ(SysStringLen(nullptr), 0u);
  EXPECT_EQ(SysStringByteLen(nullptr), 0u);
  SysFreeString(nullptr);
}

TEST(ComBstr, EmptyTextIsAnAllocatedString) {
  BSTR bstr = SysAllocString(L"");
  ASSERT_NE(bstr, nullptr) << "unlike a null source, an empty text gives a BSTR";
  EXPECT_EQ(SysStringLen(bstr), 0u);
  SysFreeString(bstr);
}

TEST(ComBstr, LengthBeyondThePrefixFails) {
  EXPECT_EQ(SysAllocStringLen(nullptr, UINT32_MAX), nullptr);
}

}  // namespace
