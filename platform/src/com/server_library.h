// A shared library opened by path, and the functions it exports itself:
// unlike a plain dlsym, an export is looked for in the library alone, not
// in the libraries it depends on (each server depends on the platform
// library, which exports DllGetClassObject of its own).
#pragma once

#include <string>

namespace platform::com {

class ServerLibrary {
 public:
  // Closes the library when it is destroyed.
  explicit ServerLibrary(const std::string &path);
  ~ServerLibrary();
  ServerLibrary(const ServerLibrary &) = delete;
  ServerLibrary &operator=(const ServerLibrary &) = delete;

  bool IsLoaded() const { return m_handle != nullptr; }
  // Why the library could not be loaded.
  const std::string &LoadError() const { return m_error; }

  // The library's own export of that name, or null.
  template <typename Function>
  Function Export(const char *name) const {
    return reinterpret_cast<Function>(OwnSymbol(name));
  }

 private:
  void *OwnSymbol(const char *name) const;

  void *m_handle = nullptr;
  std::string m_error;
};

}  // namespace platform::com
