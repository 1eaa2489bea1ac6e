// Value data between the caller's buffer and the stored form.
//
// String values (REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ) are stored as UTF-16
// and exchanged as WCHAR strings: each stored character is one WCHAR in the
// caller's buffer. A string stored with an odd byte count ends in half a
// character; in the caller's buffer that is half a WCHAR (its low half, the
// stored byte zero-extended), so the caller's size is odd in WCHAR terms
// exactly when the stored size is odd in UTF-16 terms. Other types are
// exchanged byte for byte.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "registry/key_tree.h"

namespace platform::registry {

bool IsStringType(DWORD type);

// Stored UTF-16LE bytes as 16-bit units (a last odd byte is left out), and back.
std::u16string StoredUnits(const std::vector<uint8_t> &data);
std::vector<uint8_t> StoredBytes(std::u16string_view units);

// What RegSetValueExW stores for cbData bytes of the caller's data.
std::vector<uint8_t> StoredData(DWORD type, const BYTE *data, DWORD cbData);

// What RegQueryValueExW hands back for a stored value.
std::vector<uint8_t> CallerData(const Value &value);

}  // namespace platform::registry
