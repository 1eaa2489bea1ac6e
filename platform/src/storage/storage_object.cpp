#include "storage/storage_object.h"

#include <algorithm>
#include <cstring>

#include "storage/byte_stream.h"

namespace platform::storage {
namespace {

constexpr DWORD kShareBits = 0x70;

// A stream's bytes in its element; the element counts as open while the
// stream object or one of its clones lives.
class ElementBytes final : public StreamBytes {
 public:
  ElementBytes(std::shared_ptr<CompoundFile> file, std::shared_ptr<Element> element)
      : m_file(std::move(file)), m_element(std::move(element)) {
    m_element->open = true;
  }
  ~ElementBytes() override { m_element->open = false; }

  uint64_t Size() const override { return m_element->data.size(); }

  size_t Read(uint64_t offset, void *buffer, size_t count) const override {
    const auto &data = m_element->data;
    if (offset >= data.size()) return 0;
    count = static_cast<size_t>(std::min<uint64_t>(count, data.size() - offset));
    std::memcpy(buffer, data.data() + offset, count);
    return count;
  }

  HRESULT Write(uint64_t offset, const void *buffer, size_t count) override {
    if (count == 0) return S_OK;
    auto &data = m_element->data;
    if (offset + count > data.size()) data.resize(static_cast<size_t>(offset + count));
    std::memcpy(data.data() + offset, buffer, count);
    m_file->NoteChange();
    return S_OK;
  }

  HRESULT Resize(uint64_t size) override {
    m_element->data.resize(static_cast<size_t>(size));
    m_file->NoteChange();
    return S_OK;
  }

  std::wstring Name() const override { return m_element->name; }

 private:
  const std::shared_ptr<CompoundFile> m_file;
  const std::shared_ptr<Element> m_element;
};

}  // namespace

IStorage *Storage::Create(std::shared_ptr<CompoundFile> file, std::shared_ptr<Element> element, DWORD grfMode) {
  return new Storage(std::move(file), std::move(element), grfMode);
}

Storage::Storage(std::shared_ptr<CompoundFile> file, std::shared_ptr<Element> element, DWORD grfMode)
    : m_file(std::move(file)), m_element(std::move(element)), m_mode(grfMode) {
  m_element->open = true;
}

Storage::~Storage() { m_element->open = false; }

HRESULT Storage::QueryInterface(REFIID riid, void **ppvObject) {
  return com::QueryInterfaceAmong<IStorage>(this, riid, ppvObject);
}

ULONG Storage::AddRef() { return m_references.Increment(); }

ULONG Storage::Release() {
  const ULONG count = m_references.Decrement();
  if (count == 0) delete this;
  return count;
}

// Children open in exclusive mode only, with no more access than their
// storage has.
HRESULT Storage::CheckChild(const OLECHAR *name, DWORD grfMode, bool creates) const {
  if (!IsValidElementName(name)) return STG_E_INVALIDNAME;
  if (!IsValidStorageMode(grfMode) || (grfMode & kShareBits) != STGM_SHARE_EXCLUSIVE) return STG_E_INVALIDFLAG;
  if ((creates || (grfMode & 0x3) != STGM_READ) && !Writable()) return STG_E_ACCESSDENIED;
  return S_OK;
}

HRESULT Storage::MakeChild(const OLECHAR *name, DWORD grfMode, bool isStorage, std::shared_ptr<Element> &child) {
  if (HRESULT hr = CheckChild(name, grfMode, true); FAILED(hr)) return hr;
  if (auto existing = FindChild(*m_element, name)) {
    if (!(grfMode & STGM_CREATE)) return STG_E_FILEALREADYEXISTS;
    if (existing->open) return STG_E_ACCESSDENIED;
    RemoveChild(*m_element, *existing);
  }
  child = std::make_shared<Element>();
  child->name = name;
  child->isStorage = isStorage;
  m_element->children.push_back(child);
  m_file->NoteChange();
  return S_OK;
}

HRESULT Storage::FindClosedChild(const OLECHAR *name, bool isStorage, std::shared_ptr<Element> &child) const {
  child = FindChild(*m_element, name);
  if (!child || child->isStorage != isStorage) return STG_E_FILENOTFOUND;
  return child->open ? STG_E_ACCESSDENIED : S_OK;
}

IStream *Storage::StreamOn(std::shared_ptr<Element> element, DWORD grfMode) {
  return ByteStream::Create(std::make_shared<ElementBytes>(m_file, std::move(element)), grfMode,
                            (grfMode & 0x3) != STGM_READ);
}

HRESULT Storage::CreateStream(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                              IStream **ppstm) {
  if (!ppstm) return STG_E_INVALIDPOINTER;
  *ppstm = nullptr;
  if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
  std::shared_ptr<Element> child;
  if (HRESULT hr = MakeChild(pwcsName, grfMode, false, child); FAILED(hr)) return hr;
  *ppstm = StreamOn(std::move(child), grfMode);
  return S_OK;
}

HRESULT Storage::OpenStream(const OLECHAR *pwcsName, void *reserved1, DWORD grfMode, DWORD reserved2, IStream **ppstm) {
  if (!ppstm) return STG_E_INVALIDPOINTER;
  *ppstm = nullptr;
  if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
  if (HRESULT hr = CheckChild(pwcsName, grfMode, false); FAILED(hr)) return hr;
  std::shared_ptr<Element> child;
  if (HRESULT hr = FindClosedChild(pwcsName, false, child); FAILED(hr)) return hr;
  *ppstm = StreamOn(std::move(child), grfMode);
  return S_OK;
}

HRESULT Storage::CreateStorage(const OLECHAR *pwcsName, DWORD grfMode, DWORD reserved1, DWORD reserved2,
                               IStorage **ppstg) {
  if (!ppstg) return STG_E_INVALIDPOINTER;
  *ppstg = nullptr;
  if (reserved1 || reserved2) return STG_E_INVALIDPARAMETER;
  std::shared_ptr<Element> child;
  if (HRESULT hr = MakeChild(pwcsName, grfMode, true, child); FAILED(hr)) return hr;
  *ppstg = Create(m_file, std::move(child), grfMode);
  return S_OK;
}

HRESULT Storage::OpenStorage(const OLECHAR *pwcsName, IStorage *pstgPriority, DWORD grfMode, SNB snbExclude,
                             DWORD reserved, IStorage **ppstg) {
  if (!ppstg) return STG_E_INVALIDPOINTER;
  *ppstg = nullptr;
  if (pstgPriority || snbExclude || reserved) return STG_E_INVALIDPARAMETER;
  if (HRESULT hr = CheckChild(pwcsName, grfMode, false); FAILED(hr)) return hr;
  std::shared_ptr<Element> child;
  if (HRESULT hr = FindClosedChild(pwcsName, true, child); FAILED(hr)) return hr;
  *ppstg = Create(m_file, std::move(child), grfMode);
  return S_OK;
}

// Saves the whole file, in direct and in transacted mode alike.
HRESULT Storage::Commit(DWORD) { return Writable() ? m_file->Save() : S_OK; }

HRESULT Storage::DestroyElement(const OLECHAR *pwcsName) {
  if (!pwcsName) return STG_E_INVALIDNAME;
  if (!Writable()) return STG_E_ACCESSDENIED;
  std::shared_ptr<Element> child = FindChild(*m_element, pwcsName);
  if (!child) return STG_E_FILENOTFOUND;
  if (child->open) return STG_E_ACCESSDENIED;
  RemoveChild(*m_element, *child);
  m_file->NoteChange();
  return S_OK;
}

HRESULT Storage::SetClass(REFCLSID clsid) {
  if (!Writable()) return STG_E_ACCESSDENIED;
  m_element->clsid = clsid;
  m_file->NoteChange();
  return S_OK;
}

// The root storage is named by its file's path, as on Windows.
HRESULT Storage::Stat(STATSTG *pstatstg, DWORD grfStatFlag) {
  if (!pstatstg) return STG_E_INVALIDPOINTER;
  *pstatstg = STATSTG{};
  pstatstg->type = STGTY_STORAGE;
  pstatstg->grfMode = m_mode;
  pstatstg->clsid = m_element->clsid;
  if (!(grfStatFlag & STATFLAG_NONAME)) {
    const std::wstring &name = m_element == m_file->Root() ? m_file->Path() : m_element->name;
    pstatstg->pwcsName = static_cast<LPOLESTR>(CoTaskMemAlloc((name.size() + 1) * sizeof(WCHAR)));
    if (!pstatstg->pwcsName) return STG_E_INSUFFICIENTMEMORY;
    std::memcpy(pstatstg->pwcsName, name.c_str(), (name.size() + 1) * sizeof(WCHAR));
  }
  return S_OK;
}

// Not needed by Quorvel's compound files: copying, moving, renaming,
// enumerating, reverting, element times and state bits.
HRESULT Storage::CopyTo(DWORD, const IID *, SNB, IStorage *) { return E_NOTIMPL; }
HRESULT Storage::MoveElementTo(const OLECHAR *, IStorage *, const OLECHAR *, DWORD) { return E_NOTIMPL; }
HRESULT Storage::Revert() { return E_NOTIMPL; }
HRESULT Storage::EnumElements(DWORD, void *, DWORD, IEnumSTATSTG **ppenum) {
  if (ppenum) *ppenum = nullptr;
  return E_NOTIMPL;
}
HRESULT Storage::RenameElement(const OLECHAR *, const OLECHAR *) { return E_NOTIMPL; }
HRESULT Storage::SetElementTimes(const OLECHAR *, const FILETIME *, const FILETIME *, const FILETIME *) {
  return E_NOTIMPL;
}
HRESULT Storage::SetStateBits(DWORD, DWORD) { return E_NOTIMPL; }

}  // namespace platform::storage
