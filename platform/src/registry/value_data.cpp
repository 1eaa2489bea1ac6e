#include "registry/value_data.h"

#include <cstring>

#include "text/utf.h"

namespace platform::registry {
namespace {

constexpr size_t kHalfWchar = sizeof(WCHAR) / 2;

}  // namespace

bool IsStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::u16string StoredUnits(const std::vector<uint8_t> &data) {
  std::u16string units;
  for (size_t i = 0; i + 1 < data.size(); i += 2) units.push_back(static_cast<char16_t>(data[i] | data[i + 1] << 8));
  return units;
}

std::vector<uint8_t> StoredBytes(std::u16string_view units) {
  std::vector<uint8_t> bytes;
  for (char16_t unit : units) {
    bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
    bytes.push_back(static_cast<uint8_t>(unit >> 8));
  }
  return bytes;
}

std::vector<uint8_t> StoredData(DWORD type, const BYTE *data, DWORD cbData) {
  if (!IsStringType(type)) return std::vector<uint8_t>(data, data + cbData);
  const size_t count = cbData / sizeof(WCHAR);
  std::wstring wide(count, L'\0');
  if (count) std::memcpy(wide.data(), data, count * sizeof(WCHAR));
  std::vector<uint8_t> stored = StoredBytes(text::ToUtf16(wide));
  if (cbData % sizeof(WCHAR)) stored.push_back(data[count * sizeof(WCHAR)]);
  return stored;
}

std::vector<uint8_t> CallerData(const Value &value) {
  if (!IsStringType(value.type)) return value.data;
  const std::u16string units = StoredUnits(value.data);
  const std::wstring wide = text::FromUtf16(units.data(), units.size());
  std::vector<uint8_t> caller(wide.size() * sizeof(WCHAR));
  if (!wide.empty()) std::memcpy(caller.data(), wide.data(), caller.size());
  if (value.data.size() % 2) {
    caller.push_back(value.data.back());
    caller.resize(caller.size() + kHalfWchar - 1, 0);
  }
  return caller;
}

}  // namespace platform::registry
