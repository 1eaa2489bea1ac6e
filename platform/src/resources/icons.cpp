// Icons: LoadIconW and DestroyIcon. LoadIconW gives shared icons, as Windows
// does: loading the same icon again gives the same handle, and destroying a
// shared icon leaves it valid for everyone else who loaded it.
#include "resources/icons.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>

#include "resources/icon_group.h"
#include "resources/module_resources.h"
#include "resources/system_icons.h"

namespace platform::resources {

namespace {

using Icon = std::vector<IconImage>;

// A shared icon is known by where it came from: its icon group's resource
// entry, or null and the id of a system icon.
using IconKey = std::pair<const void *, WORD>;

class IconStore {
 public:
  // The icon for the key, made the first time it is asked for. When making it
  // gives no image, nothing is kept and the result is null.
  HICON Shared(IconKey key, const std::function<Icon()> &make) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_byKey.find(key);
    if (found != m_byKey.end()) return found->second;
    auto icon = std::make_unique<const Icon>(make());
    if (icon->empty()) return nullptr;
    HICON handle = reinterpret_cast<HICON>(const_cast<Icon *>(icon.get()));
    m_byKey.emplace(key, handle);
    m_icons.emplace(handle, std::move(icon));
    return handle;
  }

  const Icon *Find(HICON handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto found = m_icons.find(handle);
    return found == m_icons.end() ? nullptr : found->second.get();
  }

 private:
  std::mutex m_mutex;
  std::map<IconKey, HICON> m_byKey;
  std::map<HICON, std::unique_ptr<const Icon>> m_icons;
};

IconStore &Store() {
  static IconStore store;
  return store;
}

bool IsPng(std::span<const uint8_t> bytes) {
  static constexpr uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return bytes.size() >= sizeof kSignature && std::memcmp(bytes.data(), kSignature, sizeof kSignature) == 0;
}

// Every image of an icon group, each from its RT_ICON resource in the
// group's language. Empty, with the last error set, when one is missing.
Icon ReadIconGroup(HMODULE module, const ResourceEntry &group) {
  std::vector<IconGroupEntry> entries;
  if (!ParseIconGroup(group.data, entries) || entries.empty()) {
    SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
    return {};
  }
  Icon icon;
  for (const IconGroupEntry &entry : entries) {
    const ResourceEntry *image = FindModuleResource(module, RT_ICON, MAKEINTRESOURCEW(entry.id), group.language);
    if (!image) return {};
    icon.push_back(IconImage{entry.width, entry.height, entry.bitCount, IsPng(image->data),
                             std::vector<uint8_t>(image->data.begin(), image->data.end())});
  }
  return icon;
}

HICON LoadModuleIcon(HMODULE module, LPCWSTR name) {
  const ResourceEntry *group =
      FindModuleResource(module, RT_GROUP_ICON, name, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  if (!group) return nullptr;
  return Store().Shared({group, 0}, [&] { return ReadIconGroup(module, *group); });
}

HICON LoadSystemIcon(LPCWSTR name) {
  const WORD id = NameFromResourceId(name).ordinal;
  HICON icon = id ? Store().Shared({nullptr, id}, [id] { return DrawSystemIcon(id); }) : nullptr;
  if (!icon) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
  return icon;
}

}  // namespace

const std::vector<IconImage> *IconImages(HICON icon) { return Store().Find(icon); }

const IconImage *BestIconImage(HICON icon, int pixels) {
  const Icon *images = IconImages(icon);
  if (!images) return nullptr;
  auto rank = [pixels](const IconImage &image) {
    const bool large = image.width >= pixels;
    return std::tuple(!large, large ? image.width : -image.width, -image.bitCount);
  };
  return &*std::min_element(images->begin(), images->end(),
                            [&](const IconImage &a, const IconImage &b) { return rank(a) < rank(b); });
}

}  // namespace platform::resources

// A null instance asks for one of the system icons (IDI_APPLICATION, ...).
extern "C" HICON WINAPI LoadIconW(HINSTANCE hInstance, LPCWSTR lpIconName) {
  return hInstance ? platform::resources::LoadModuleIcon(hInstance, lpIconName)
                   : platform::resources::LoadSystemIcon(lpIconName);
}

extern "C" BOOL WINAPI DestroyIcon(HICON hIcon) {
  if (platform::resources::IconImages(hIcon)) return TRUE;
  SetLastError(ERROR_INVALID_CURSOR_HANDLE);
  return FALSE;
}
