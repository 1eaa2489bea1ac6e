// The lstr routines: Windows null handling, lstrcpynW's truncation, and the
// word-sort order of lstrcmpW and lstrcmpiW.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Lstr, LengthOfNullIsZero) {
  EXPECT_EQ(lstrlenW(nullptr), 0);
  EXPECT_EQ(lstrlenW(L""), 0);
  EXPECT_EQ(lstrlenW(L"H.264"), 5);
}

TEST(Lstr, CopyAndConcatenate) {
  wchar_t buffer[32] = L"stale";
  EXPECT_EQ(lstrcpyW(buffer, L"clip"), buffer);
  EXPECT_STREQ(buffer, L"clip");
  EXPECT_EQ(lstrcatW(buffer, L".mp4"), buffer);
  EXPECT_STREQ(buffer, L"clip.mp4");
}

TEST(Lstr, CopyAndConcatenateRejectNull) {
  wchar_t buffer[8] = L"keep";
  EXPECT_EQ(lstrcpyW(buffer, nullptr), nullptr);
  EXPECT_EQ(lstrcpyW(nullptr, L"x"), nullptr);
  EXPECT_EQ(lstrcatW(buffer, nullptr), nullptr);
  EXPECT_EQ(lstrcpynW(buffer, nullptr, 8), nullptr);
  EXPECT_STREQ(buffer, L"keep");
}

// lstrcpynW copies at most iMaxLength - 1 characters and always terminates.
TEST(Lstr, CopyNTruncatesAndTerminates) {
  struct {
    int maxLength;
    const wchar_t *expected;
  } const cases[] = {
      {1, L""}, {2, L"a"}, {4, L"abc"}, {7, L"abcdef"}, {8, L"abcdef"}, {100, L"abcdef"},
  };
  for (const auto &c : cases) {
    wchar_t buffer[16];
    wmemset(buffer, L'#', 16);
    EXPECT_EQ(lstrcpynW(buffer, L"abcdef", c.maxLength), buffer);
    EXPECT_STREQ(buffer, c.expected) << "iMaxLength " << c.maxLength;
    if (c.maxLength <= 7) {
      EXPECT_EQ(buffer[c.maxLength], L'#') << "wrote past iMaxLength " << c.maxLength;
    }
  }
}

TEST(Lstr, CopyNWithNoRoomWritesNothing) {
  wchar_t buffer[4] = L"abc";
  EXPECT_EQ(lstrcpynW(buffer, L"xyz", 0), buffer);
  EXPECT_STREQ(buffer, L"abc");
}

int Sign(int value) { return (value > 0) - (value < 0); }

struct CompareCase {
  const wchar_t *a;
  const wchar_t *b;
  int expected;  // sign of the result
};

std::wstring Describe(const wchar_t *s) { return s ? L"\"" + std::wstring(s) + L"\"" : L"null"; }

void ExpectOrder(int (*compare)(LPCWSTR, LPCWSTR), const char *name, const CompareCase &c) {
  EXPECT_EQ(Sign(compare(c.a, c.b)), c.expected)
      << name << "(" << testing::PrintToString(Describe(c.a)) << ", " << testing::PrintToString(Describe(c.b)) << ")";
  EXPECT_EQ(Sign(compare(c.b, c.a)), -c.expected) << name << " reversed";
}

const CompareCase kNullCases[] = {
    {nullptr, nullptr, 0},
    {nullptr, L"", -1},
    {nullptr, L"a", -1},
};

TEST(Lstr, NullSortsFirst) {
  for (const auto &c : kNullCases) {
    ExpectOrder(lstrcmpW, "lstrcmpW", c);
    ExpectOrder(lstrcmpiW, "lstrcmpiW", c);
  }
}

TEST(Lstr, CompareIgnoringCase) {
  const CompareCase cases[] = {
      {L"ABC", L"abc", 0},
      {L"clip.MP4", L"CLIP.mp4", 0},
      {L"a", L"B", -1},
      {L"Z", L"a", 1},
      {L"ab", L"abc", -1},
      {L"", L"a", -1},
      {L"\u00c9t\u00e9", L"\u00e9T\u00c9", 0},
  };
  for (const auto &c : cases) ExpectOrder(lstrcmpiW, "lstrcmpiW", c);
}

// lstrcmpW sorts words: letters alphabetically whatever their case, then
// lowercase before uppercase; symbols before digits before letters.
TEST(Lstr, CompareSortsLikeWords) {
  const CompareCase cases[] = {
      {L"abc", L"abc", 0}, {L"a", L"b", -1}, {L"a", L"B", -1}, {L"a", L"A", -1}, {L"ab", L"Aa", 1},
      {L"abc", L"ab", 1},  {L"_", L"1", -1}, {L"9", L"a", -1}, {L" ", L"0", -1},
  };
  for (const auto &c : cases) ExpectOrder(lstrcmpW, "lstrcmpW", c);
}

// Known gap: letters beyond ASCII sort by code point after the ASCII letters,
// where Windows sorts an accented letter with its base letter.
TEST(Lstr, DISABLED_AccentedLetterSortsWithItsBaseLetter) { ExpectOrder(lstrcmpW, "lstrcmpW", {L"\u00e9", L"f", -1}); }

}  // namespace
