// wsprintfW follows the window manager's rules, not the C library's: 32-bit
// integer arguments, wide %s, no floating point, 1024 characters at most.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

struct FormatCase {
  const char *name;
  const wchar_t *expected;
  int (*format)(LPWSTR buffer);
};

const FormatCase kFormatCases[] = {
    {"plain text", L"frame 7", [](LPWSTR b) { return wsprintfW(b, L"frame 7"); }},
    {"percent sign", L"100%", [](LPWSTR b) { return wsprintfW(b, L"100%%"); }},
    {"%d", L"42", [](LPWSTR b) { return wsprintfW(b, L"%d", 42); }},
    {"%d negative", L"-42", [](LPWSTR b) { return wsprintfW(b, L"%d", -42); }},
    {"%i", L"-7", [](LPWSTR b) { return wsprintfW(b, L"%i", -7); }},
    {"%u of -1", L"4294967295", [](LPWSTR b) { return wsprintfW(b, L"%u", -1); }},
    {"%ld stays 32-bit", L"-5", [](LPWSTR b) { return wsprintfW(b, L"%ld", -5); }},
    {"%lu of -1", L"4294967295", [](LPWSTR b) { return wsprintfW(b, L"%lu", -1); }},
    {"%hu truncates to 16 bits", L"65535", [](LPWSTR b) { return wsprintfW(b, L"%hu", -1); }},
    {"width", L"   42", [](LPWSTR b) { return wsprintfW(b, L"%5d", 42); }},
    {"width narrower than value", L"123456", [](LPWSTR b) { return wsprintfW(b, L"%3d", 123456); }},
    {"left align", L"42   |", [](LPWSTR b) { return wsprintfW(b, L"%-5d|", 42); }},
    {"zero padding", L"00042", [](LPWSTR b) { return wsprintfW(b, L"%05d", 42); }},
    {"zero padding after the sign", L"-0042", [](LPWSTR b) { return wsprintfW(b, L"%05d", -42); }},
    {"left align wins over zeros", L"42   |", [](LPWSTR b) { return wsprintfW(b, L"%-05d|", 42); }},
    {"precision gives minimum digits", L"007", [](LPWSTR b) { return wsprintfW(b, L"%.3d", 7); }},
    {"precision zero still prints 0", L"0", [](LPWSTR b) { return wsprintfW(b, L"%.0d", 0); }},
    {"%x", L"ff", [](LPWSTR b) { return wsprintfW(b, L"%x", 255); }},
    {"%X", L"FF", [](LPWSTR b) { return wsprintfW(b, L"%X", 255); }},
    {"%x of -1", L"ffffffff", [](LPWSTR b) { return wsprintfW(b, L"%x", -1); }},
    {"%08X", L"0000BEEF", [](LPWSTR b) { return wsprintfW(b, L"%08X", 0xBEEF); }},
    {"%#x", L"0x1f", [](LPWSTR b) { return wsprintfW(b, L"%#x", 0x1F); }},
    {"%#X", L"0X1F", [](LPWSTR b) { return wsprintfW(b, L"%#X", 0x1F); }},
    {"%#010x zeros after the prefix", L"0x0000001f", [](LPWSTR b) { return wsprintfW(b, L"%#010x", 0x1F); }},
    {"%#8x spaces before the prefix", L"    0x1f", [](LPWSTR b) { return wsprintfW(b, L"%#8x", 0x1F); }},
    {"%lx", L"deadbeef", [](LPWSTR b) { return wsprintfW(b, L"%lx", 0xDEADBEEFu); }},
    // Both 64-bit calling conventions give every variadic argument its own
    // 8-byte slot: %x reads the low half and the next field is unaffected.
    {"%x of a 64-bit value", L"9abcdef0 7", [](LPWSTR b) { return wsprintfW(b, L"%x %d", 0x123456789ABCDEF0ull, 7); }},
    {"%d of a 64-bit value", L"5", [](LPWSTR b) { return wsprintfW(b, L"%d", 0x100000005ll); }},
    {"%I64d", L"-9000000000", [](LPWSTR b) { return wsprintfW(b, L"%I64d", -9000000000ll); }},
    {"%I64d of the most negative value", L"-9223372036854775808",
     [](LPWSTR b) { return wsprintfW(b, L"%I64d", static_cast<long long>(0x8000000000000000ull)); }},
    {"%I64u", L"18446744073709551615", [](LPWSTR b) { return wsprintfW(b, L"%I64u", ~0ull); }},
    {"%I64x", L"123456789ab", [](LPWSTR b) { return wsprintfW(b, L"%I64x", 0x123456789ABull); }},
    {"%016I64X", L"00000123456789AB", [](LPWSTR b) { return wsprintfW(b, L"%016I64X", 0x123456789ABull); }},
    {"%p", L"00000000DEADBEEF",
     [](LPWSTR b) { return wsprintfW(b, L"%p", reinterpret_cast<void *>(uintptr_t{0xDEADBEEF})); }},
    {"%s is wide", L"clip.mp4", [](LPWSTR b) { return wsprintfW(b, L"%s", L"clip.mp4"); }},
    {"%s non-ASCII", L"caf\u00e9 \U0001F3AC", [](LPWSTR b) { return wsprintfW(b, L"%s", L"caf\u00e9 \U0001F3AC"); }},
    {"%s null", L"(null)", [](LPWSTR b) { return wsprintfW(b, L"%s", static_cast<LPCWSTR>(nullptr)); }},
    {"%s width", L"   abc", [](LPWSTR b) { return wsprintfW(b, L"%6s", L"abc"); }},
    {"%s left align", L"abc   |", [](LPWSTR b) { return wsprintfW(b, L"%-6s|", L"abc"); }},
    {"%s precision", L"ab", [](LPWSTR b) { return wsprintfW(b, L"%.2s", L"abc"); }},
    {"%s precision and width", L"   ab", [](LPWSTR b) { return wsprintfW(b, L"%5.2s", L"abc"); }},
    {"%S is narrow", L"caf\u00e9", [](LPWSTR b) { return wsprintfW(b, L"%S", "caf\xc3\xa9"); }},
    {"%hs is narrow", L"narrow", [](LPWSTR b) { return wsprintfW(b, L"%hs", "narrow"); }},
    {"%ls is wide", L"wide", [](LPWSTR b) { return wsprintfW(b, L"%ls", L"wide"); }},
    {"%S null", L"(null)", [](LPWSTR b) { return wsprintfW(b, L"%S", static_cast<const char *>(nullptr)); }},
    {"%c is wide", L"\u20ac", [](LPWSTR b) { return wsprintfW(b, L"%c", L'\u20ac'); }},
    {"%C is narrow", L"z", [](LPWSTR b) { return wsprintfW(b, L"%C", 'z'); }},
    {"%c width", L"  Z", [](LPWSTR b) { return wsprintfW(b, L"%3c", L'Z'); }},
    {"no floating point: %f is copied", L"f3", [](LPWSTR b) { return wsprintfW(b, L"%f%d", 3); }},
    {"unknown type is copied", L"y", [](LPWSTR b) { return wsprintfW(b, L"%y"); }},
    {"percent at the end", L"50", [](LPWSTR b) { return wsprintfW(b, L"50%"); }},
    {"several fields", L"1920x1080 @ 25 fps, clip.mp4",
     [](LPWSTR b) { return wsprintfW(b, L"%dx%d @ %u fps, %s", 1920, 1080, 25u, L"clip.mp4"); }},
};

TEST(Wsprintf, FormatsAsWindows) {
  for (const auto &c : kFormatCases) {
    wchar_t buffer[1024];
    int length = c.format(buffer);
    EXPECT_EQ(std::wstring(buffer), c.expected) << c.name;
    EXPECT_EQ(length, static_cast<int>(wcslen(c.expected))) << c.name << ": the length excludes the terminator";
  }
}

int FormatThroughVaList(LPWSTR buffer, LPCWSTR format, ...) {
  va_list args;
  va_start(args, format);
  int length = wvsprintfW(buffer, format, args);
  va_end(args);
  return length;
}

TEST(Wsprintf, WvsprintfTakesAVaList) {
  wchar_t buffer[64];
  EXPECT_EQ(FormatThroughVaList(buffer, L"%s=%04X", L"id", 0x2A), 7);
  EXPECT_STREQ(buffer, L"id=002A");
}

// wsprintf assumes a 1024-character buffer: it writes 1023 characters and the
// terminator, never more, whatever the arguments.
TEST(Wsprintf, NeverWritesMoreThan1024Characters) {
  constexpr wchar_t kCanary = L'#';
  std::wstring longText(2000, L'a');
  struct {
    const char *name;
    int (*format)(LPWSTR buffer, const std::wstring &text);
  } const cases[] = {
      {"long argument", [](LPWSTR b, const std::wstring &t) { return wsprintfW(b, L"%s", t.c_str()); }},
      {"long format", [](LPWSTR b, const std::wstring &t) { return wsprintfW(b, t.c_str()); }},
      {"wide field", [](LPWSTR b, const std::wstring &) { return wsprintfW(b, L"%999d%999d", 1, 2); }},
  };
  for (const auto &c : cases) {
    std::wstring buffer(1100, kCanary);
    EXPECT_EQ(c.format(buffer.data(), longText), 1023) << c.name;
    EXPECT_EQ(buffer[1023], L'\0') << c.name;
    EXPECT_EQ(buffer[1024], kCanary) << c.name << ": wrote past 1024 characters";
  }
}

}  // namespace
