// The Running Object Table of this process: objects registered under a
// moniker, found again by an equal moniker (IMoniker::IsEqual).
// GetRunningObjectTable hands it out unless another table is installed
// (see running_object_table.h).
//
// The table holds a reference to each registered object and its moniker
// until the registration is revoked. Cookies are never 0 and are not reused
// while the process runs. Monikers are compared, and objects released,
// outside the table's lock, so that a moniker or object may call back into
// the table.
#include <objbase.h>

#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "com/com_object.h"
#include "com/running_object_table.h"
#include "com/moniker_enumerator.h"

namespace platform::com {
namespace {

constexpr DWORD kKnownRegistrationFlags = ROTFLAGS_REGISTRATIONKEEPSALIVE | ROTFLAGS_ALLOWANYCLIENT;

FILETIME CurrentFileTime() {
  // FILETIME counts 100-ns units from 1601-01-01; the system clock counts from 1970-01-01.
  constexpr uint64_t kUnitsFrom1601To1970 = 116444736000000000ULL;
  const auto since1970 = std::chrono::duration_cast<std::chrono::duration<int64_t, std::ratio<1, 10000000>>>(
      std::chrono::system_clock::now().time_since_epoch());
  const uint64_t units = kUnitsFrom1601To1970 + static_cast<uint64_t>(since1970.count());
  return {static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

struct Registration {
  ComPtr<IUnknown> object;
  ComPtr<IMoniker> moniker;
  FILETIME lastChange;
};

class RunningObjectTable final : public IRunningObjectTable {
 public:
  // One table per process. It is never destroyed: objects still registered
  // when the process ends are not called back while it shuts down.
  static RunningObjectTable &Instance() {
    static RunningObjectTable *const table = new RunningObjectTable;
    return *table;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppvObject) override {
    return QueryInterfaceAmong<IRunningObjectTable>(this, riid, ppvObject);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return m_references.Increment(); }
  ULONG STDMETHODCALLTYPE Release() override { return m_references.Decrement(); }

  HRESULT STDMETHODCALLTYPE Register(DWORD grfFlags, IUnknown *punkObject, IMoniker *pmkObjectName,
                                     DWORD *pdwRegister) override;
  HRESULT STDMETHODCALLTYPE Revoke(DWORD dwRegister) override;
  HRESULT STDMETHODCALLTYPE IsRunning(IMoniker *pmkObjectName) override;
  HRESULT STDMETHODCALLTYPE GetObject(IMoniker *pmkObjectName, IUnknown **ppunkObject) override;
  HRESULT STDMETHODCALLTYPE NoteChangeTime(DWORD dwRegister, FILETIME *pfiletime) override;
  HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IMoniker *pmkObjectName, FILETIME *pfiletime) override;
  HRESULT STDMETHODCALLTYPE EnumRunning(IEnumMoniker **ppenumMoniker) override;

 private:
  RunningObjectTable() = default;

  // The registration of a moniker equal to pmk, copied out of the table.
  std::optional<Registration> Find(IMoniker *pmk) const;
  std::map<DWORD, Registration> Snapshot() const;

  ReferenceCount m_references;
  mutable std::mutex m_lock;
  std::map<DWORD, Registration> m_registrations;  // guarded by m_lock
  DWORD m_lastCookie = 0;                         // guarded by m_lock
};

std::map<DWORD, Registration> RunningObjectTable::Snapshot() const {
  std::lock_guard lock(m_lock);
  return m_registrations;
}

std::optional<Registration> RunningObjectTable::Find(IMoniker *pmk) const {
  for (auto &[cookie, registration] : Snapshot()) {
    if (registration.moniker->IsEqual(pmk) == S_OK) return registration;
  }
  return std::nullopt;
}

// MK_S_MONIKERALREADYREGISTERED when an equal moniker is registered already;
// the new registration is made all the same.
HRESULT RunningObjectTable::Register(DWORD grfFlags, IUnknown *punkObject, IMoniker *pmkObjectName,
                                     DWORD *pdwRegister) {
  if (!pdwRegister) return E_INVALIDARG;
  *pdwRegister = 0;
  if (!punkObject || !pmkObjectName || (grfFlags & ~kKnownRegistrationFlags)) return E_INVALIDARG;
  const bool alreadyRegistered = Find(pmkObjectName).has_value();
  Registration registration{ComPtr<IUnknown>(punkObject), ComPtr<IMoniker>(pmkObjectName), CurrentFileTime()};
  std::lock_guard lock(m_lock);
  *pdwRegister = ++m_lastCookie;
  m_registrations.emplace(*pdwRegister, std::move(registration));
  return alreadyRegistered ? MK_S_MONIKERALREADYREGISTERED : S_OK;
}

HRESULT RunningObjectTable::Revoke(DWORD dwRegister) {
  std::map<DWORD, Registration>::node_type revoked;
  {
    std::lock_guard lock(m_lock);
    revoked = m_registrations.extract(dwRegister);
  }
  return revoked ? S_OK : E_INVALIDARG;
}

HRESULT RunningObjectTable::IsRunning(IMoniker *pmkObjectName) {
  if (!pmkObjectName) return E_INVALIDARG;
  return Find(pmkObjectName) ? S_OK : S_FALSE;
}

HRESULT RunningObjectTable::GetObject(IMoniker *pmkObjectName, IUnknown **ppunkObject) {
  if (!ppunkObject) return E_POINTER;
  *ppunkObject = nullptr;
  if (!pmkObjectName) return E_INVALIDARG;
  std::optional<Registration> found = Find(pmkObjectName);
  if (!found) return MK_E_UNAVAILABLE;
  *ppunkObject = found->object.Detach();
  return S_OK;
}

HRESULT RunningObjectTable::NoteChangeTime(DWORD dwRegister, FILETIME *pfiletime) {
  if (!pfiletime) return E_INVALIDARG;
  std::lock_guard lock(m_lock);
  auto it = m_registrations.find(dwRegister);
  if (it == m_registrations.end()) return E_INVALIDARG;
  it->second.lastChange = *pfiletime;
  return S_OK;
}

// The time of the registration, or the last one noted since.
HRESULT RunningObjectTable::GetTimeOfLastChange(IMoniker *pmkObjectName, FILETIME *pfiletime) {
  if (!pmkObjectName || !pfiletime) return E_INVALIDARG;
  std::optional<Registration> found = Find(pmkObjectName);
  if (!found) return MK_E_UNAVAILABLE;
  *pfiletime = found->lastChange;
  return S_OK;
}

HRESULT RunningObjectTable::EnumRunning(IEnumMoniker **ppenumMoniker) {
  if (!ppenumMoniker) return E_POINTER;
  auto monikers = std::make_shared<MonikerList>();
  for (auto &[cookie, registration] : Snapshot()) monikers->push_back(registration.moniker);
  *ppenumMoniker = MonikerEnumerator::Create(std::move(monikers));
  return *ppenumMoniker ? S_OK : E_OUTOFMEMORY;
}

}  // namespace
}  // namespace platform::com

namespace platform::com {
namespace {

struct InstalledTable {
  std::mutex mutex;
  ComPtr<IRunningObjectTable> table;  // empty: the process's own
};

InstalledTable &TheInstalledTable() {
  static InstalledTable *installed = new InstalledTable;
  return *installed;
}

}  // namespace

IRunningObjectTable *ProcessRunningObjectTable() { return &RunningObjectTable::Instance(); }

void InstallRunningObjectTable(IRunningObjectTable *table) {
  ComPtr<IRunningObjectTable> replaced(table);
  InstalledTable &installed = TheInstalledTable();
  std::lock_guard lock(installed.mutex);
  std::swap(installed.table, replaced);
}

}  // namespace platform::com

extern "C" HRESULT GetRunningObjectTable(DWORD reserved, LPRUNNINGOBJECTTABLE *pprot) {
  if (!pprot) return E_INVALIDARG;
  *pprot = nullptr;
  if (reserved != 0) return E_INVALIDARG;
  auto &installed = platform::com::TheInstalledTable();
  std::lock_guard lock(installed.mutex);
  IRunningObjectTable *table =
      installed.table ? installed.table.Get() : platform::com::ProcessRunningObjectTable();
  table->AddRef();
  *pprot = table;
  return S_OK;
}
