#include "resources/dialog_template.h"

#include "resources/byte_reader.h"

namespace platform::resources {

namespace {

constexpr WORD kExtendedVersion = 1;
constexpr WORD kExtendedSignature = 0xFFFF;

bool IsExtended(std::span<const uint8_t> bytes) {
  ByteReader reader(bytes);
  WORD version = 0, signature = 0;
  return reader.ReadWord(version) && reader.ReadWord(signature) && signature == kExtendedSignature;
}

bool ReadPlace(ByteReader &reader, short &x, short &y, short &cx, short &cy) {
  return reader.ReadShort(x) && reader.ReadShort(y) && reader.ReadShort(cx) && reader.ReadShort(cy);
}

// DLGTEMPLATEEX: dlgVer, signature, helpID, exStyle, style, cDlgItems, x, y, cx, cy.
bool ReadExtendedHeader(ByteReader &reader, DialogTemplate &dialog, WORD &count) {
  WORD version = 0, signature = 0;
  return reader.ReadWord(version) && version == kExtendedVersion && reader.ReadWord(signature) &&
         reader.ReadDword(dialog.helpId) && reader.ReadDword(dialog.exStyle) && reader.ReadDword(dialog.style) &&
         reader.ReadWord(count) && ReadPlace(reader, dialog.x, dialog.y, dialog.cx, dialog.cy);
}

// DLGTEMPLATE: style, dwExtendedStyle, cdit, x, y, cx, cy.
bool ReadClassicHeader(ByteReader &reader, DialogTemplate &dialog, WORD &count) {
  return reader.ReadDword(dialog.style) && reader.ReadDword(dialog.exStyle) && reader.ReadWord(count) &&
         ReadPlace(reader, dialog.x, dialog.y, dialog.cx, dialog.cy);
}

// The font follows the title only when the style asks for one; a classic
// template gives the point size and the typeface alone.
bool ReadFont(ByteReader &reader, DialogTemplate &dialog) {
  dialog.hasFont = (dialog.style & DS_SETFONT) != 0;
  if (!dialog.hasFont) return true;
  if (!reader.ReadWord(dialog.pointSize)) return false;
  if (dialog.extended &&
      !(reader.ReadWord(dialog.weight) && reader.ReadByte(dialog.italic) && reader.ReadByte(dialog.charset))) {
    return false;
  }
  return reader.ReadString(dialog.typeface);
}

// DLGITEMTEMPLATEEX: helpID, exStyle, style, x, y, cx, cy, a DWORD id.
bool ReadExtendedItemHeader(ByteReader &reader, DialogItemTemplate &item) {
  return reader.ReadDword(item.helpId) && reader.ReadDword(item.exStyle) && reader.ReadDword(item.style) &&
         ReadPlace(reader, item.x, item.y, item.cx, item.cy) && reader.ReadDword(item.id);
}

// DLGITEMTEMPLATE: style, dwExtendedStyle, x, y, cx, cy, a WORD id.
bool ReadClassicItemHeader(ByteReader &reader, DialogItemTemplate &item) {
  WORD id = 0;
  if (!(reader.ReadDword(item.style) && reader.ReadDword(item.exStyle) &&
        ReadPlace(reader, item.x, item.y, item.cx, item.cy) && reader.ReadWord(id))) {
    return false;
  }
  item.id = id;
  return true;
}

// Each item starts on a DWORD boundary; after its class and title comes a
// WORD count of the creation data bytes that follow.
bool ReadItem(ByteReader &reader, bool extended, DialogItemTemplate &item) {
  WORD dataSize = 0;
  std::span<const uint8_t> data;
  if (!reader.AlignTo(4) ||
      !(extended ? ReadExtendedItemHeader(reader, item) : ReadClassicItemHeader(reader, item)) ||
      !reader.ReadNameOrOrdinal(item.windowClass) || !reader.ReadNameOrOrdinal(item.title) ||
      !reader.ReadWord(dataSize) || !reader.ReadBytes(dataSize, data)) {
    return false;
  }
  item.creationData.assign(data.begin(), data.end());
  return true;
}

}  // namespace

bool ParseDialogTemplate(std::span<const uint8_t> bytes, DialogTemplate &out) {
  DialogTemplate dialog;
  ByteReader reader(bytes);
  WORD count = 0;
  dialog.extended = IsExtended(bytes);
  if (!(dialog.extended ? ReadExtendedHeader(reader, dialog, count) : ReadClassicHeader(reader, dialog, count)) ||
      !reader.ReadNameOrOrdinal(dialog.menu) || !reader.ReadNameOrOrdinal(dialog.windowClass) ||
      !reader.ReadString(dialog.title) || !ReadFont(reader, dialog)) {
    return false;
  }
  for (WORD i = 0; i < count; ++i) {
    DialogItemTemplate item;
    if (!ReadItem(reader, dialog.extended, item)) return false;
    dialog.items.push_back(std::move(item));
  }
  out = std::move(dialog);
  return true;
}

std::wstring PredefinedClassName(WORD ordinal) {
  switch (ordinal) {
    case 0x0080: return L"Button";
    case 0x0081: return L"Edit";
    case 0x0082: return L"Static";
    case 0x0083: return L"ListBox";
    case 0x0084: return L"ScrollBar";
    case 0x0085: return L"ComboBox";
    default: return {};
  }
}

}  // namespace platform::resources
