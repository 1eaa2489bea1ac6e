#include "text/utf.h"

#include <gtest/gtest.h>

namespace {

using platform::text::FromUtf16;
using platform::text::FromUtf8;
using platform::text::ToUtf16;
using platform::text::ToUtf8;

TEST(Utf, RoundTripsThroughUtf8AndUtf16) {
  const std::wstring samples[] = {L"", L"Quorvel", L"caf\u00e9 \u20ac", L"clip \U0001F3AC.mp4"};
  for (const auto &s : samples) {
    EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
    std::u16string u16 = ToUtf16(s);
    EXPECT_EQ(FromUtf16(u16.data(), u16.size()), s);
  }
  EXPECT_EQ(ToUtf16(L"\U0001F3AC").size(), 2u) << "a character beyond the BMP takes a surrogate pair";
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacter) {
  EXPECT_EQ(FromUtf8("a\xC3"), L"a\uFFFD");
  EXPECT_EQ(FromUtf8("\x80z"), L"\uFFFDz");
}

}  // namespace
