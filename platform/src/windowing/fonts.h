// Fonts named by dialog templates. A font handle stands for a face, a size
// in points, a weight and a slant; the screen view picks a real font for
// it. The same description always gives the same handle.
#pragma once

#include <windows.h>

#include <string>

namespace platform::windowing {

struct FontDescription {
  std::wstring face;
  int pointSize = 0;
  int weight = FW_NORMAL;
  bool italic = false;
};

HFONT FontFor(const FontDescription &description);
// The description behind a handle; false when the handle is not a font.
bool DescribeFont(HFONT font, FontDescription &out);

}  // namespace platform::windowing
