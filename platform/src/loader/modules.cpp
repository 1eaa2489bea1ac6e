#include "loader/modules.h"

#include <dlfcn.h>
#include <link.h>

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <string_view>

#include "text/utf.h"

namespace platform::loader {

namespace {

struct LoadedObject {
  uintptr_t base = 0;     // address of the first mapped byte (the ELF header)
  uintptr_t limit = 0;    // one past the last mapped byte
  std::string path;       // empty for the main program
  bool isMainProgram = false;
};

uintptr_t FirstLoadAddress(const dl_phdr_info *info) {
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    if (info->dlpi_phdr[i].p_type == PT_LOAD) return info->dlpi_addr + info->dlpi_phdr[i].p_vaddr;
  }
  return 0;
}

uintptr_t EndOfLoadedSegments(const dl_phdr_info *info) {
  uintptr_t end = 0;
  for (int i = 0; i < info->dlpi_phnum; ++i) {
    const auto &ph = info->dlpi_phdr[i];
    if (ph.p_type == PT_LOAD) end = std::max<uintptr_t>(end, info->dlpi_addr + ph.p_vaddr + ph.p_memsz);
  }
  return end;
}

// Calls visit(object) for each loaded ELF object, the main program first,
// until visit returns true. Returns whether one did.
template <typename Visit>
bool ForEachLoadedObject(Visit visit) {
  struct Context {
    Visit *visit;
    bool first = true;
    bool found = false;
  } context{&visit};
  dl_iterate_phdr(
      [](dl_phdr_info *info, size_t, void *data) -> int {
        auto *ctx = static_cast<Context *>(data);
        LoadedObject object{FirstLoadAddress(info), EndOfLoadedSegments(info),
                            info->dlpi_name ? info->dlpi_name : "", ctx->first};
        ctx->first = false;
        if (object.base == 0 || !(*ctx->visit)(object)) return 0;
        ctx->found = true;
        return 1;
      },
      &context);
  return context.found;
}

bool FindObject(HMODULE module, LoadedObject &found) {
  const auto base = reinterpret_cast<uintptr_t>(module);
  return ForEachLoadedObject([&](const LoadedObject &object) {
    if (object.base != base) return false;
    found = object;
    return true;
  });
}

std::string MainProgramPath() {
  char path[4096];
  ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

std::string_view BaseName(std::string_view path) {
  size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool SameModuleName(std::string_view path, const std::wstring &wanted) {
  std::wstring base = text::FromUtf8(BaseName(path));
  auto equal = [](const std::wstring &a, const std::wstring &b) {
    return a.size() == b.size() && wcsncasecmp(a.c_str(), b.c_str(), a.size()) == 0;
  };
  if (equal(base, wanted)) return true;
  size_t dot = base.rfind(L'.');
  return dot != std::wstring::npos && wanted.find(L'.') == std::wstring::npos && equal(base.substr(0, dot), wanted);
}

}  // namespace

HMODULE ModuleContaining(const void *address) {
  const auto where = reinterpret_cast<uintptr_t>(address);
  HMODULE module = nullptr;
  ForEachLoadedObject([&](const LoadedObject &object) {
    if (where < object.base || where >= object.limit) return false;
    module = reinterpret_cast<HMODULE>(object.base);
    return true;
  });
  return module;
}

std::string ModulePath(HMODULE module) {
  LoadedObject object;
  if (!FindObject(module, object)) return {};
  return object.isMainProgram ? MainProgramPath() : object.path;
}

std::span<const uint8_t> ModuleResources(HMODULE module) {
  LoadedObject object;
  if (!FindObject(module, object)) return {};
  void *handle = dlopen(object.isMainProgram ? nullptr : object.path.c_str(), RTLD_LAZY | RTLD_NOLOAD);
  if (!handle) return {};
  const void *bytes = dlsym(handle, "quorvel_module_resources");
  const void *size = dlsym(handle, "quorvel_module_resources_size");
  dlclose(handle);
  // dlsym also searches the object's dependencies: take only the object's own symbols.
  if (!bytes || !size || ModuleContaining(bytes) != module) return {};
  return {static_cast<const uint8_t *>(bytes), *static_cast<const uint32_t *>(size)};
}

}  // namespace platform::loader

namespace {

HMODULE FindModuleByName(const std::wstring &name) {
  HMODULE module = nullptr;
  platform::loader::ForEachLoadedObject([&](const platform::loader::LoadedObject &object) {
    std::string path = object.isMainProgram ? platform::loader::MainProgramPath() : object.path;
    if (!platform::loader::SameModuleName(path, name)) return false;
    module = reinterpret_cast<HMODULE>(object.base);
    return true;
  });
  return module;
}

}  // namespace

// GetModuleHandleW(nullptr) is the main program; a name matches a loaded
// object's file name, case-insensitively, with or without its extension.
extern "C" HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  HMODULE module = nullptr;
  if (!lpModuleName) {
    platform::loader::ForEachLoadedObject([&](const platform::loader::LoadedObject &object) {
      module = reinterpret_cast<HMODULE>(object.base);
      return true;
    });
  } else {
    module = FindModuleByName(lpModuleName);
  }
  if (!module) SetLastError(ERROR_MOD_NOT_FOUND);
  return module;
}

extern "C" DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  std::wstring path = platform::text::FromUtf8(
      platform::loader::ModulePath(hModule ? hModule : GetModuleHandleW(nullptr)));
  if (path.empty()) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  if (nSize == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  // As on Windows: a path that does not fit is cut to nSize - 1 characters,
  // terminated, and the result is nSize with ERROR_INSUFFICIENT_BUFFER.
  if (path.size() >= nSize) {
    wmemcpy(lpFilename, path.c_str(), nSize - 1);
    lpFilename[nSize - 1] = L'\0';
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return nSize;
  }
  wmemcpy(lpFilename, path.c_str(), path.size() + 1);
  return static_cast<DWORD>(path.size());
}
