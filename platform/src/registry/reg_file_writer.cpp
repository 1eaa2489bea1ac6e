// Writes keys in the registry editor's export format, in UTF-8.
#include <algorithm>
#include <cstdio>
#include <cwctype>

#include "registry/reg_file.h"
#include "registry/value_data.h"
#include "text/utf.h"

namespace platform::registry {
namespace {

constexpr size_t kLineWidth = 80;

std::string Quoted(std::wstring_view s) {
  std::string out = "\"";
  for (char c : text::ToUtf8(s)) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool IsSurrogate(char16_t unit) { return unit >= 0xD800 && unit < 0xE000; }

// Whether the data reads back exactly from "...": an even byte count, one
// terminator at the end, printable characters and no lone surrogate halves.
bool IsPlainString(const Value &value) {
  if (value.type != REG_SZ || value.data.size() < 2 || value.data.size() % 2 != 0) return false;
  std::u16string units = StoredUnits(value.data);
  if (units.back() != u'\0') return false;
  units.pop_back();
  for (size_t i = 0; i < units.size(); ++i) {
    if (units[i] < 0x20 || units[i] == 0x7F) return false;
    if (!IsSurrogate(units[i])) continue;
    const bool pair = units[i] < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000;
    if (!pair) return false;
    ++i;
  }
  return true;
}

std::string HexData(std::string prefix, const std::vector<uint8_t> &data, size_t column) {
  std::string out = std::move(prefix);
  column += out.size();
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    out += byte;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column + 3 >= kLineWidth - 1) {
      out += "\\\n  ";
      column = 2;
    }
  }
  return out;
}

std::string DataText(const Value &value, size_t column) {
  if (IsPlainString(value)) {
    std::u16string units = StoredUnits(value.data);
    return Quoted(text::FromUtf16(units.data(), units.size() - 1));
  }
  if (value.type == REG_DWORD && value.data.size() == 4) {
    char number[16];
    std::snprintf(number, sizeof number, "dword:%02x%02x%02x%02x", value.data[3], value.data[2], value.data[1],
                  value.data[0]);
    return number;
  }
  if (value.type == REG_BINARY) return HexData("hex:", value.data, column);
  char prefix[24];
  std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.type));
  return HexData(prefix, value.data, column);
}

std::string ValueLine(const Value &value) {
  std::string line = value.name.empty() ? "@=" : Quoted(value.name) + "=";
  return line + DataText(value, line.size()) + "\n";
}

// Subkeys in name order, ignoring case, so the file reads like an export.
std::vector<const Key *> SortedSubkeys(const Key &key) {
  std::vector<const Key *> sorted;
  for (const auto &subkey : key.Subkeys()) sorted.push_back(subkey.get());
  std::stable_sort(sorted.begin(), sorted.end(), [](const Key *a, const Key *b) {
    return std::lexicographical_compare(a->Name().begin(), a->Name().end(), b->Name().begin(), b->Name().end(),
                                        [](wchar_t x, wchar_t y) { return std::towupper(x) < std::towupper(y); });
  });
  return sorted;
}

void AppendKey(std::string &out, const std::string &path, const Key &key) {
  out += "[" + path + "]\n";
  for (const Value &value : key.Values()) out += ValueLine(value);
  out += "\n";
  for (const Key *subkey : SortedSubkeys(key)) AppendKey(out, path + "\\" + text::ToUtf8(subkey->Name()), *subkey);
}

}  // namespace

std::string FormatRegFile(std::wstring_view rootName, const Key &root) {
  std::string out = "Windows Registry Editor Version 5.00\n\n";
  AppendKey(out, text::ToUtf8(rootName), root);
  return out;
}

}  // namespace platform::registry
