// wsprintfW and wvsprintfW: the window manager's formatter, with its rules
// rather than the C library's.
//
// A field is %[-][#][0][width][.precision][size]type. %d, %i, %u, %x and %X
// take a 32-bit argument even with the l size (LONG is 32 bits on Windows);
// I64 makes them take 64 bits and h 16 bits. %s and %c are wide, %S and %C
// narrow (UTF-8 here); h and l force narrow and wide. %p prints a pointer in
// 16 uppercase hexadecimal digits. There is no floating point: an unknown
// type character, %% included, is copied as it is. The output never exceeds
// 1024 characters, the terminator included.
#include <windows.h>

#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/utf.h"

namespace platform::strings {

namespace {

constexpr size_t kMaxOutput = 1024;

enum class ArgumentSize { kDefault, kShort, kLong, kInt64 };

struct Field {
  bool leftAlign = false;
  bool hexPrefix = false;
  bool zeroPad = false;
  size_t width = 0;
  std::optional<size_t> precision;
  ArgumentSize size = ArgumentSize::kDefault;
  wchar_t type = L'\0';
};

// va_list is an array type on x86-64; inside a structure it can be passed by
// reference to the helpers that consume arguments.
struct Arguments {
  va_list list;
};

// Keeps what fits below the limit and drops the rest, as wsprintf does.
class Output {
 public:
  explicit Output(LPWSTR buffer) : buffer_(buffer) {}

  void Put(wchar_t c) {
    if (length_ < kMaxOutput - 1) buffer_[length_++] = c;
  }
  void Put(std::wstring_view text) {
    for (wchar_t c : text) Put(c);
  }
  void Repeat(wchar_t c, size_t count) {
    for (; count; --count) Put(c);
  }
  int Terminate() {
    buffer_[length_] = L'\0';
    return static_cast<int>(length_);
  }

 private:
  LPWSTR buffer_;
  size_t length_ = 0;
};

// Widths and precisions beyond the output limit change nothing, so they are
// capped there rather than allowed to overflow.
size_t ReadCount(const wchar_t *&p) {
  size_t count = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    count = count * 10 + static_cast<size_t>(*p - L'0');
    if (count > kMaxOutput) count = kMaxOutput;
  }
  return count;
}

void ReadFlags(const wchar_t *&p, Field &field) {
  for (;; ++p) {
    if (*p == L'-') {
      field.leftAlign = true;
    } else if (*p == L'#') {
      field.hexPrefix = true;
    } else if (*p == L'0') {
      field.zeroPad = true;
    } else {
      return;
    }
  }
}

void ReadSize(const wchar_t *&p, Field &field) {
  if (*p == L'l') {
    field.size = ArgumentSize::kLong;
    ++p;
  } else if (*p == L'h') {
    field.size = ArgumentSize::kShort;
    ++p;
  } else if (p[0] == L'I' && p[1] == L'6' && p[2] == L'4') {
    field.size = ArgumentSize::kInt64;
    p += 3;
  }
}

// Reads a field after its '%'; returns where the text after it starts.
const wchar_t *ParseField(const wchar_t *p, Field &field) {
  ReadFlags(p, field);
  field.width = ReadCount(p);
  if (*p == L'.') field.precision = ReadCount(++p);
  ReadSize(p, field);
  field.type = *p;
  return *p ? p + 1 : p;
}

void EmitPadded(Output &out, const Field &field, std::wstring_view prefix, std::wstring_view body) {
  size_t length = prefix.size() + body.size();
  size_t padding = field.width > length ? field.width - length : 0;
  if (field.leftAlign) {
    out.Put(prefix);
    out.Put(body);
    out.Repeat(L' ', padding);
  } else if (field.zeroPad) {
    out.Put(prefix);
    out.Repeat(L'0', padding);
    out.Put(body);
  } else {
    out.Repeat(L' ', padding);
    out.Put(prefix);
    out.Put(body);
  }
}

struct Integer {
  bool negative = false;
  uint64_t magnitude = 0;
};

Integer ReadInteger(const Field &field, Arguments &args, bool isSigned) {
  int64_t value = 0;
  if (field.size == ArgumentSize::kInt64) {
    long long raw = va_arg(args.list, long long);
    if (!isSigned) return {false, static_cast<uint64_t>(raw)};
    value = raw;
  } else {
    int raw = va_arg(args.list, int);
    if (field.size == ArgumentSize::kShort) raw = isSigned ? static_cast<short>(raw) : static_cast<unsigned short>(raw);
    if (!isSigned) return {false, static_cast<uint32_t>(raw)};
    value = raw;
  }
  if (value < 0) return {true, 0 - static_cast<uint64_t>(value)};
  return {false, static_cast<uint64_t>(value)};
}

// The digits of a value, zero-filled to at least minDigits.
std::wstring Digits(uint64_t value, unsigned base, bool uppercase, size_t minDigits) {
  const wchar_t *digitSet = uppercase ? L"0123456789ABCDEF" : L"0123456789abcdef";
  std::wstring digits;
  do {
    digits.insert(digits.begin(), digitSet[value % base]);
    value /= base;
  } while (value);
  if (digits.size() < minDigits) digits.insert(0, minDigits - digits.size(), L'0');
  return digits;
}

// A precision of zero, or none, means at least one digit.
size_t MinimumDigits(const Field &field) {
  size_t precision = field.precision.value_or(1);
  return precision ? precision : 1;
}

void EmitInteger(Output &out, const Field &field, Arguments &args) {
  bool isSigned = field.type == L'd' || field.type == L'i';
  bool hex = field.type == L'x' || field.type == L'X';
  Integer number = ReadInteger(field, args, isSigned);
  std::wstring digits = Digits(number.magnitude, hex ? 16 : 10, field.type == L'X', MinimumDigits(field));
  std::wstring_view prefix;
  if (number.negative) prefix = L"-";
  if (hex && field.hexPrefix) prefix = field.type == L'X' ? L"0X" : L"0x";
  EmitPadded(out, field, prefix, digits);
}

void EmitPointer(Output &out, const Field &field, Arguments &args) {
  auto address = reinterpret_cast<uintptr_t>(va_arg(args.list, void *));
  EmitPadded(out, field, {}, Digits(address, 16, true, sizeof(void *) * 2));
}

// %c and %s are wide unless h says narrow; %C and %S narrow unless l says wide.
bool IsWide(const Field &field) {
  bool lowercaseType = field.type == L'c' || field.type == L's';
  return lowercaseType ? field.size != ArgumentSize::kShort : field.size == ArgumentSize::kLong;
}

void EmitCharacter(Output &out, const Field &field, Arguments &args) {
  int value = va_arg(args.list, int);
  wchar_t c = IsWide(field) ? static_cast<wchar_t>(value) : static_cast<wchar_t>(static_cast<unsigned char>(value));
  EmitPadded(out, field, {}, std::wstring_view(&c, 1));
}

std::wstring ReadString(const Field &field, Arguments &args) {
  if (IsWide(field)) {
    const wchar_t *text = va_arg(args.list, const wchar_t *);
    return text ? text : L"(null)";
  }
  const char *text = va_arg(args.list, const char *);
  return text ? text::FromUtf8(text) : L"(null)";
}

void EmitString(Output &out, const Field &field, Arguments &args) {
  std::wstring text = ReadString(field, args);
  if (field.precision && *field.precision < text.size()) text.resize(*field.precision);
  EmitPadded(out, field, {}, text);
}

void EmitField(Output &out, const Field &field, Arguments &args) {
  switch (field.type) {
    case L'd':
    case L'i':
    case L'u':
    case L'x':
    case L'X':
      return EmitInteger(out, field, args);
    case L'p':
      return EmitPointer(out, field, args);
    case L'c':
    case L'C':
      return EmitCharacter(out, field, args);
    case L's':
    case L'S':
      return EmitString(out, field, args);
    default:
      return out.Put(field.type);
  }
}

int Format(LPWSTR buffer, LPCWSTR format, Arguments &args) {
  Output out(buffer);
  for (const wchar_t *p = format; *p;) {
    if (*p != L'%') {
      out.Put(*p++);
      continue;
    }
    Field field;
    p = ParseField(p + 1, field);
    if (field.type) EmitField(out, field, args);
  }
  return out.Terminate();
}

}  // namespace

}  // namespace platform::strings

extern "C" int WINAPI wvsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, va_list arglist) {
  if (!lpOut || !lpFmt) return 0;
  platform::strings::Arguments args;
  va_copy(args.list, arglist);
  int length = platform::strings::Format(lpOut, lpFmt, args);
  va_end(args.list);
  return length;
}

extern "C" int WINAPIV wsprintfW(LPWSTR lpOut, LPCWSTR lpFmt, ...) {
  if (!lpOut || !lpFmt) return 0;
  platform::strings::Arguments args;
  va_start(args.list, lpFmt);
  int length = platform::strings::Format(lpOut, lpFmt, args);
  va_end(args.list);
  return length;
}
