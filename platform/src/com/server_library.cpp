#include "com/server_library.h"

#include <dlfcn.h>
#include <link.h>

#include "loader/modules.h"

namespace platform::com {

ServerLibrary::ServerLibrary(const std::string &path) : m_handle(dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
  if (!m_handle) {
    const char *error = dlerror();
    m_error = error ? error : "cannot be loaded";
  }
}

ServerLibrary::~ServerLibrary() {
  if (m_handle) dlclose(m_handle);
}

void *ServerLibrary::OwnSymbol(const char *name) const {
  if (!m_handle) return nullptr;
  void *symbol = dlsym(m_handle, name);
  link_map *map = nullptr;
  if (!symbol || dlinfo(m_handle, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
  // The dynamic section lies inside the library's own mapping.
  return loader::ModuleContaining(symbol) == loader::ModuleContaining(map->l_ld) ? symbol : nullptr;
}

}  // namespace platform::com
