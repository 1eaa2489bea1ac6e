// The text form of the registry: the registry editor's export format,
// "Windows Registry Editor Version 5.00", as the registry's own files use it
// and as .reg files are imported.
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_LOCAL_MACHINE\Software\Classes\CLSID\{...}]
//   @="Default value"
//   "Count"=dword:0000001f
//   "Data"=hex:01,02,03
//   "Path"=hex(2):25,00,53,00,00,00
//
// Strings in quotes escape \ and " with a backslash. A string value written
// in quotes is stored with its terminator; data that is not such a string
// (no terminator, an odd byte count, control characters) is written as
// hex(1):, hex(2): or hex(7):, so every value reads back byte for byte.
// Long hex data continues on the next line after ",\". "[-KEY]" deletes a
// key with its subkeys, "name"=- deletes a value (imports only).
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "registry/key_tree.h"

namespace platform::registry {

struct RegFileValue {
  Value value;
  bool remove = false;  // "name"=-
};

struct RegFileSection {
  std::wstring root;    // the root key's name as written, e.g. HKEY_LOCAL_MACHINE
  KeyPath path;         // below the root
  bool remove = false;  // [-KEY]
  std::vector<RegFileValue> values;
  int line = 0;  // of the key's name
};

struct RegFileError {
  int line = 0;
  std::string message;
};

struct RegFileContent {
  std::vector<RegFileSection> sections;
  std::optional<RegFileError> error;  // set when the text is not in the format
};

// The text of a file: UTF-16LE with its byte order mark (as the registry
// editor writes it) or UTF-8, with or without a byte order mark.
std::wstring DecodeRegFileBytes(std::string_view bytes);

RegFileContent ParseRegFile(std::wstring_view text);

// The whole tree below root, every key as a section, in UTF-8.
std::string FormatRegFile(std::wstring_view rootName, const Key &root);

}  // namespace platform::registry
