// Dialog templates: the DLGTEMPLATE and DLGTEMPLATEEX layouts that resource
// compilers write for DIALOG and DIALOGEX, read into plain structures for the
// dialog manager.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "resources/name_or_ordinal.h"

namespace platform::resources {

struct DialogItemTemplate {
  DWORD helpId = 0, exStyle = 0, style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;
  NameOrOrdinal windowClass;  // 0x0080 Button, 0x0081 Edit, 0x0082 Static, 0x0083 ListBox,
                              // 0x0084 ScrollBar, 0x0085 ComboBox, or a class name
  NameOrOrdinal title;        // text, or an ordinal (a resource id for icons)
  std::vector<uint8_t> creationData;
};

struct DialogTemplate {
  bool extended = false;      // DLGTEMPLATEEX
  DWORD helpId = 0, exStyle = 0, style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu, windowClass;
  std::wstring title;
  bool hasFont = false;       // DS_SETFONT or DS_SHELLFONT
  WORD pointSize = 0, weight = 0;
  BYTE italic = 0, charset = 0;
  std::wstring typeface;
  std::vector<DialogItemTemplate> items;
};

// Parses a DLGTEMPLATE or DLGTEMPLATEEX (16-bit characters, WORD/DWORD alignment as Windows
// lays it out). Returns false when the bytes are malformed or truncated; never reads past the end.
bool ParseDialogTemplate(std::span<const uint8_t> bytes, DialogTemplate &out);

// The predefined class name of a class ordinal ("Button", "Edit", "Static", "ListBox",
// "ScrollBar", "ComboBox"), or empty.
std::wstring PredefinedClassName(WORD ordinal);

}  // namespace platform::resources
