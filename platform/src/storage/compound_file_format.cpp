#include "storage/compound_file_format.h"

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-memory.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-outfile.h>
#include <gsf/gsf-output-memory.h>
#include <gsf/gsf-utils.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "text/utf.h"

namespace platform::storage {
namespace {

constexpr uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
// Deeper nesting than any real file has is taken as damage (a directory
// whose entries lead back into themselves).
constexpr int kMaxDepth = 64;
constexpr size_t kReadChunk = 64 * 1024;

void IgnoreMessage(const gchar *, GLogLevelFlags, const gchar *, gpointer) {}

// libgsf explains on standard error what it finds wrong in a damaged file;
// the caller learns it from the result (STG_E_DOCFILECORRUPT) instead.
void InitializeGsf() {
  static std::once_flag once;
  std::call_once(once, [] {
    gsf_init();
    const auto levels = static_cast<GLogLevelFlags>(G_LOG_LEVEL_CRITICAL | G_LOG_LEVEL_WARNING | G_LOG_LEVEL_MESSAGE |
                                                    G_LOG_LEVEL_INFO);
    for (const char *domain : {"libgsf", "libgsf:msole"}) g_log_set_handler(domain, levels, IgnoreMessage, nullptr);
  });
}

// Drops one reference of a GObject when it goes out of scope.
template <typename T>
class GObjectRef {
 public:
  explicit GObjectRef(T *object) : m_object(object) {}
  ~GObjectRef() {
    if (m_object) g_object_unref(m_object);
  }
  GObjectRef(const GObjectRef &) = delete;
  GObjectRef &operator=(const GObjectRef &) = delete;
  T *Get() const { return m_object; }

 private:
  T *m_object;
};

// The GUID in its on-disk byte order (little-endian fields), and back.
void ClsidToBytes(const CLSID &clsid, guint8 bytes[16]) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<guint8>(clsid.Data1 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[4 + i] = static_cast<guint8>(clsid.Data2 >> (8 * i));
  for (int i = 0; i < 2; ++i) bytes[6 + i] = static_cast<guint8>(clsid.Data3 >> (8 * i));
  std::memcpy(bytes + 8, clsid.Data4, 8);
}

CLSID ClsidFromBytes(const guint8 bytes[16]) {
  CLSID clsid{};
  for (int i = 0; i < 4; ++i) clsid.Data1 |= static_cast<ULONG>(bytes[i]) << (8 * i);
  clsid.Data2 = static_cast<unsigned short>(bytes[4] | bytes[5] << 8);
  clsid.Data3 = static_cast<unsigned short>(bytes[6] | bytes[7] << 8);
  std::memcpy(clsid.Data4, bytes + 8, 8);
  return clsid;
}

bool ReadStreamData(GsfInput *input, uint64_t fileSize, std::vector<uint8_t> &data) {
  const gsf_off_t size = gsf_input_size(input);
  // A stream's bytes lie inside the file: a larger size is damage.
  if (size < 0 || static_cast<uint64_t>(size) > fileSize) return false;
  data.resize(static_cast<size_t>(size));
  for (size_t done = 0; done < data.size();) {
    const size_t chunk = std::min(kReadChunk, data.size() - done);
    if (!gsf_input_read(input, chunk, data.data() + done)) return false;
    done += chunk;
  }
  return true;
}

bool ReadStorage(GsfInfile *infile, uint64_t fileSize, int depth, Element &storage) {
  if (depth > kMaxDepth) return false;
  if (GSF_IS_INFILE_MSOLE(infile)) {
    guint8 clsid[16];
    if (gsf_infile_msole_get_class_id(GSF_INFILE_MSOLE(infile), clsid)) storage.clsid = ClsidFromBytes(clsid);
  }
  const int count = gsf_infile_num_children(infile);
  for (int i = 0; i < count; ++i) {
    GObjectRef<GsfInput> child(gsf_infile_child_by_index(infile, i));
    const char *name = gsf_infile_name_by_index(infile, i);
    if (!child.Get() || !name) return false;
    auto element = std::make_shared<Element>();
    element->name = text::FromUtf8(name);
    element->isStorage = GSF_IS_INFILE(child.Get()) && gsf_infile_num_children(GSF_INFILE(child.Get())) >= 0;
    const bool read = element->isStorage ? ReadStorage(GSF_INFILE(child.Get()), fileSize, depth + 1, *element)
                                         : ReadStreamData(child.Get(), fileSize, element->data);
    if (!read) return false;
    storage.children.push_back(std::move(element));
  }
  return true;
}

bool WriteElement(GsfOutfile *parent, const Element &element);

bool WriteChildren(GsfOutfile *outfile, const Element &storage) {
  return std::all_of(storage.children.begin(), storage.children.end(),
                     [&](const auto &child) { return WriteElement(outfile, *child); });
}

bool WriteClass(GsfOutfile *outfile, const Element &storage) {
  guint8 clsid[16];
  ClsidToBytes(storage.clsid, clsid);
  return gsf_outfile_msole_set_class_id(GSF_OUTFILE_MSOLE(outfile), clsid);
}

bool WriteElement(GsfOutfile *parent, const Element &element) {
  const std::string name = text::ToUtf8(element.name);
  GObjectRef<GsfOutput> output(gsf_outfile_new_child(parent, name.c_str(), element.isStorage));
  if (!output.Get()) return false;
  bool written =
      element.isStorage
          ? WriteClass(GSF_OUTFILE(output.Get()), element) && WriteChildren(GSF_OUTFILE(output.Get()), element)
          : element.data.empty() || gsf_output_write(output.Get(), element.data.size(), element.data.data());
  return gsf_output_close(output.Get()) && written;
}

}  // namespace

bool HasCompoundFileSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= sizeof kSignature && std::equal(std::begin(kSignature), std::end(kSignature), bytes.begin());
}

HRESULT ReadCompoundFile(std::span<const uint8_t> bytes, std::shared_ptr<Element> &root) {
  if (!HasCompoundFileSignature(bytes)) return STG_E_FILEALREADYEXISTS;
  InitializeGsf();
  GObjectRef<GsfInput> input(gsf_input_memory_new(bytes.data(), static_cast<gsf_off_t>(bytes.size()), FALSE));
  GError *error = nullptr;
  GObjectRef<GsfInfile> infile(input.Get() ? gsf_infile_msole_new(input.Get(), &error) : nullptr);
  if (error) g_error_free(error);
  if (!infile.Get()) return STG_E_DOCFILECORRUPT;
  auto tree = std::make_shared<Element>();
  tree->isStorage = true;
  if (!ReadStorage(infile.Get(), bytes.size(), 0, *tree)) return STG_E_DOCFILECORRUPT;
  root = std::move(tree);
  return S_OK;
}

HRESULT WriteCompoundFile(const Element &root, std::vector<uint8_t> &bytes) {
  InitializeGsf();
  GObjectRef<GsfOutput> sink(gsf_output_memory_new());
  bool written = false;
  {
    GObjectRef<GsfOutfile> outfile(gsf_outfile_msole_new(sink.Get()));
    written = outfile.Get() && WriteClass(outfile.Get(), root) && WriteChildren(outfile.Get(), root);
    if (outfile.Get()) written = gsf_output_close(GSF_OUTPUT(outfile.Get())) && written;
  }
  // Closing the compound file normally closes its sink as well.
  if (!gsf_output_is_closed(sink.Get())) written = gsf_output_close(sink.Get()) && written;
  if (!written) return STG_E_WRITEFAULT;
  const guint8 *data = gsf_output_memory_get_bytes(GSF_OUTPUT_MEMORY(sink.Get()));
  bytes.assign(data, data + gsf_output_size(sink.Get()));
  return S_OK;
}

}  // namespace platform::storage
