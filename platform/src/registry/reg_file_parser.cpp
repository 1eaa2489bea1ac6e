// Reads the registry editor's export format into sections of values.
#include <cstdint>
#include <cwctype>

#include "registry/reg_file.h"
#include "registry/value_data.h"
#include "text/utf.h"

namespace platform::registry {
namespace {

constexpr std::wstring_view kHeader = L"Windows Registry Editor Version 5.00";

class ParseFailure {
 public:
  explicit ParseFailure(std::string message) : message(std::move(message)) {}
  std::string message;
};

// Logical lines: physical lines joined where one ends with a backslash
// (hex data that goes on), each with the number of its first physical line.
struct LogicalLine {
  std::wstring text;
  int number;
};

std::wstring_view TrimmedRight(std::wstring_view s) {
  while (!s.empty() && std::iswspace(static_cast<wint_t>(s.back()))) s.remove_suffix(1);
  return s;
}

std::wstring_view TrimmedLeft(std::wstring_view s) {
  while (!s.empty() && std::iswspace(static_cast<wint_t>(s.front()))) s.remove_prefix(1);
  return s;
}

std::vector<LogicalLine> SplitLines(std::wstring_view text) {
  std::vector<LogicalLine> lines;
  bool continues = false;
  for (int number = 1; !text.empty(); ++number) {
    const size_t end = std::min(text.find(L'\n'), text.size());
    std::wstring_view line = TrimmedRight(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    if (continues) {
      line = TrimmedLeft(line);
    } else {
      lines.push_back({L"", number});
    }
    std::wstring &logical = lines.back().text;
    logical += line;
    // Only hex data goes on: a string may end with a backslash of its own.
    continues = !logical.empty() && logical.back() == L'\\' && logical.find(L"=hex") != std::wstring::npos;
    if (continues) logical.pop_back();
  }
  return lines;
}

int HexDigit(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

uint32_t ParseHexNumber(std::wstring_view digits, size_t maxDigits) {
  if (digits.empty() || digits.size() > maxDigits) throw ParseFailure("bad hexadecimal number");
  uint32_t number = 0;
  for (wchar_t c : digits) {
    const int digit = HexDigit(c);
    if (digit < 0) throw ParseFailure("bad hexadecimal number");
    number = number * 16 + static_cast<uint32_t>(digit);
  }
  return number;
}

// A quoted string at the start of s with \\ and \" escapes; s moves past it.
std::wstring TakeQuoted(std::wstring_view &s) {
  if (s.empty() || s.front() != L'"') throw ParseFailure("expected a quoted string");
  std::wstring out;
  size_t i = 1;
  for (; i < s.size() && s[i] != L'"'; ++i) {
    if (s[i] == L'\\' && i + 1 < s.size()) ++i;
    out += s[i];
  }
  if (i >= s.size()) throw ParseFailure("unterminated string");
  s.remove_prefix(i + 1);
  return out;
}

std::vector<uint8_t> ParseHexBytes(std::wstring_view list) {
  std::vector<uint8_t> bytes;
  list = TrimmedLeft(TrimmedRight(list));
  while (!list.empty()) {
    const size_t comma = std::min(list.find(L','), list.size());
    bytes.push_back(static_cast<uint8_t>(ParseHexNumber(TrimmedLeft(TrimmedRight(list.substr(0, comma))), 2)));
    list.remove_prefix(std::min(comma + 1, list.size()));
  }
  return bytes;
}

std::vector<uint8_t> StoredString(std::wstring_view s) {
  std::u16string units = text::ToUtf16(s);
  units.push_back(u'\0');
  return StoredBytes(units);
}

void ParseData(std::wstring_view data, RegFileValue &entry) {
  Value &value = entry.value;
  if (data == L"-") {
    entry.remove = true;
  } else if (!data.empty() && data.front() == L'"') {
    value.type = REG_SZ;
    value.data = StoredString(TakeQuoted(data));
    if (!TrimmedLeft(data).empty()) throw ParseFailure("text after the string");
  } else if (data.starts_with(L"dword:")) {
    const uint32_t number = ParseHexNumber(data.substr(6), 8);
    value.type = REG_DWORD;
    value.data = {static_cast<uint8_t>(number), static_cast<uint8_t>(number >> 8), static_cast<uint8_t>(number >> 16),
                  static_cast<uint8_t>(number >> 24)};
  } else if (data.starts_with(L"hex:")) {
    value.type = REG_BINARY;
    value.data = ParseHexBytes(data.substr(4));
  } else if (data.starts_with(L"hex(")) {
    const size_t close = data.find(L"):");
    if (close == std::wstring_view::npos) throw ParseFailure("bad hex(type): prefix");
    value.type = ParseHexNumber(data.substr(4, close - 4), 8);
    value.data = ParseHexBytes(data.substr(close + 2));
  } else {
    throw ParseFailure("unknown value data");
  }
}

RegFileValue ParseValueLine(std::wstring_view line) {
  RegFileValue entry;
  if (line.starts_with(L"@")) {
    line.remove_prefix(1);
  } else {
    entry.value.name = TakeQuoted(line);
  }
  line = TrimmedLeft(line);
  if (line.empty() || line.front() != L'=') throw ParseFailure("expected =");
  ParseData(TrimmedLeft(line.substr(1)), entry);
  return entry;
}

RegFileSection ParseSectionLine(std::wstring_view line) {
  if (line.back() != L']') throw ParseFailure("unterminated key name");
  line = line.substr(1, line.size() - 2);
  RegFileSection section;
  if (line.starts_with(L"-")) {
    section.remove = true;
    line.remove_prefix(1);
  }
  KeyPath path = SplitKeyPath(line);
  if (path.empty()) throw ParseFailure("empty key name");
  section.root = path.front();
  section.path.assign(path.begin() + 1, path.end());
  return section;
}

void ParseLine(std::wstring_view line, int number, std::vector<RegFileSection> &sections) {
  if (line.starts_with(L"[")) {
    sections.push_back(ParseSectionLine(line));
    sections.back().line = number;
  } else if (sections.empty()) {
    throw ParseFailure("value outside a key");
  } else if (sections.back().remove) {
    throw ParseFailure("value under a deleted key");
  } else {
    sections.back().values.push_back(ParseValueLine(line));
  }
}

}  // namespace

std::wstring DecodeRegFileBytes(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) {
    std::u16string units;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
      units.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
    }
    return text::FromUtf16(units.data(), units.size());
  }
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return text::FromUtf8(bytes);
}

RegFileContent ParseRegFile(std::wstring_view text) {
  RegFileContent content;
  std::vector<LogicalLine> lines = SplitLines(text);
  size_t first = 0;
  while (first < lines.size() && lines[first].text.empty()) ++first;
  if (first == lines.size() || lines[first].text != kHeader) {
    content.error = RegFileError{first < lines.size() ? lines[first].number : 1, "not a registry file (no header)"};
    return content;
  }
  for (size_t i = first + 1; i < lines.size(); ++i) {
    std::wstring_view line = TrimmedLeft(lines[i].text);
    if (line.empty() || line.front() == L';') continue;
    try {
      ParseLine(line, lines[i].number, content.sections);
    } catch (const ParseFailure &failure) {
      content.error = RegFileError{lines[i].number, failure.message};
      content.sections.clear();
      return content;
    }
  }
  return content;
}

}  // namespace platform::registry
