#include "windowing/fonts.h"

#include <deque>
#include <mutex>

namespace platform::windowing {

namespace {

std::mutex g_fontsMutex;
// Handles are addresses of entries; a deque never moves its elements.
std::deque<FontDescription> g_fonts;

bool Same(const FontDescription &a, const FontDescription &b) {
  return a.face == b.face && a.pointSize == b.pointSize && a.weight == b.weight && a.italic == b.italic;
}

}  // namespace

HFONT FontFor(const FontDescription &description) {
  std::lock_guard lock(g_fontsMutex);
  for (auto &font : g_fonts) {
    if (Same(font, description)) return reinterpret_cast<HFONT>(&font);
  }
  g_fonts.push_back(description);
  return reinterpret_cast<HFONT>(&g_fonts.back());
}

bool DescribeFont(HFONT font, FontDescription &out) {
  std::lock_guard lock(g_fontsMutex);
  for (const auto &entry : g_fonts) {
    if (reinterpret_cast<HFONT>(const_cast<FontDescription *>(&entry)) == font) {
      out = entry;
      return true;
    }
  }
  return false;
}

}  // namespace platform::windowing
