#include "com/inproc_servers.h"

#include <windows.h>

#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "com/server_library.h"
#include "text/utf.h"

namespace platform::com {
namespace {

using GetClassObjectFunction = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, LPVOID *);
using CanUnloadNowFunction = HRESULT(STDAPICALLTYPE *)();

struct LoadedServer {
  std::unique_ptr<ServerLibrary> library;
  GetClassObjectFunction getClassObject;
  CanUnloadNowFunction canUnloadNow;  // null: the library stays until the last apartment ends
};

// Servers by the path they were registered with. Libraries are closed
// outside the lock: closing runs the library's destructors, which may call
// back into COM.
class ServerTable {
 public:
  // Libraries are loaded outside the lock too: their static initializers may
  // create objects of other servers.
  HRESULT Find(const std::string &path, GetClassObjectFunction &getClassObject) {
    if (Loaded(path, getClassObject)) return S_OK;
    LoadedServer server = Load(path);
    if (!server.library->IsLoaded()) {
      OutputDebugStringW(
          (L"COM: cannot load " + text::FromUtf8(path) + L": " + text::FromUtf8(server.library->LoadError()) + L"\n")
              .c_str());
      return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    }
    if (!server.getClassObject) return CO_E_ERRORINDLL;
    std::lock_guard lock(m_mutex);
    // Another thread may have loaded it meanwhile: its entry is kept and this
    // load only drops its reference again.
    getClassObject = m_servers.try_emplace(path, std::move(server)).first->second.getClassObject;
    return S_OK;
  }

  std::vector<std::unique_ptr<ServerLibrary>> TakeUnused() {
    std::vector<std::pair<std::string, CanUnloadNowFunction>> candidates;
    {
      std::lock_guard lock(m_mutex);
      for (auto &[path, server] : m_servers) {
        if (server.canUnloadNow) candidates.emplace_back(path, server.canUnloadNow);
      }
    }
    std::vector<std::string> unused;
    for (auto &[path, canUnloadNow] : candidates) {
      if (canUnloadNow() == S_OK) unused.push_back(path);
    }
    std::vector<std::unique_ptr<ServerLibrary>> taken;
    std::lock_guard lock(m_mutex);
    for (const auto &path : unused) {
      auto node = m_servers.extract(path);
      if (node) taken.push_back(std::move(node.mapped().library));
    }
    return taken;
  }

  std::vector<std::unique_ptr<ServerLibrary>> TakeAll() {
    std::vector<std::unique_ptr<ServerLibrary>> taken;
    std::lock_guard lock(m_mutex);
    for (auto &[path, server] : m_servers) taken.push_back(std::move(server.library));
    m_servers.clear();
    return taken;
  }

 private:
  bool Loaded(const std::string &path, GetClassObjectFunction &getClassObject) {
    std::lock_guard lock(m_mutex);
    auto it = m_servers.find(path);
    if (it != m_servers.end()) getClassObject = it->second.getClassObject;
    return it != m_servers.end();
  }

  static LoadedServer Load(const std::string &path) {
    auto library = std::make_unique<ServerLibrary>(path);
    auto getClassObject = library->Export<GetClassObjectFunction>("DllGetClassObject");
    auto canUnloadNow = library->Export<CanUnloadNowFunction>("DllCanUnloadNow");
    return {std::move(library), getClassObject, canUnloadNow};
  }

  std::mutex m_mutex;
  std::map<std::string, LoadedServer> m_servers;
};

ServerTable &TheTable() {
  static ServerTable *table = new ServerTable;
  return *table;
}

}  // namespace

HRESULT GetClassObjectFromServer(const std::string &path, REFCLSID rclsid, REFIID riid, void **ppv) {
  GetClassObjectFunction getClassObject = nullptr;
  const HRESULT hr = TheTable().Find(path, getClassObject);
  return FAILED(hr) ? hr : getClassObject(rclsid, riid, ppv);
}

void UnloadUnusedServers() { TheTable().TakeUnused(); }

void UnloadAllServers() { TheTable().TakeAll(); }

}  // namespace platform::com
