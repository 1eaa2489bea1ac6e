// Writes the persistent form of a filter graph (see saved_graph.h).
#include <objbase.h>

#include <cstdio>
#include <cwchar>

#include "media/saved_graph.h"
#include "text/utf.h"

namespace platform::media {
namespace {

constexpr DWORD kLargestId = 0xFFFF;
constexpr int kGuidCharacters = 39;  // with the braces and the terminator

// Appends UTF-16LE text and binary blocks to the form.
class FormWriter {
 public:
  explicit FormWriter(std::vector<BYTE> &form) : m_form(form) {}

  void Text(std::wstring_view text) {
    for (char16_t unit : text::ToUtf16(text)) {
      m_form.push_back(static_cast<BYTE>(unit & 0xFF));
      m_form.push_back(static_cast<BYTE>(unit >> 8));
    }
  }
  // Each token is followed by a space, unless told otherwise.
  void Id(DWORD id, std::wstring_view after = L" ") { Number(L"%04X", id, after); }
  void Decimal(ULONG value) { Number(L"%u", value, L" "); }
  void Guid(const GUID &guid, std::wstring_view after = L" ") {
    wchar_t text[kGuidCharacters];
    StringFromGUID2(guid, text, kGuidCharacters);
    Text(text);
    Text(after);
  }
  void Quoted(const std::wstring &name) {
    Text(L"\"");
    Text(name);
    Text(L"\" ");
  }
  // <length> <bytes>
  void Block(std::span<const BYTE> bytes) {
    Decimal(static_cast<ULONG>(bytes.size()));
    m_form.insert(m_form.end(), bytes.begin(), bytes.end());
  }

 private:
  void Number(const wchar_t *format, DWORD value, std::wstring_view after) {
    wchar_t text[16];
    std::swprintf(text, 16, format, static_cast<unsigned>(value));
    Text(text);
    Text(after);
  }

  std::vector<BYTE> &m_form;
};

bool CanQuote(const std::wstring &name) { return name.find_first_of(std::wstring(L"\"\0", 2)) == std::wstring::npos; }
bool IsWritableId(DWORD id) { return id != kNoFilter && id <= kLargestId; }

bool IsWritable(const SavedGraph &graph) {
  for (const SavedFilter &filter : graph.filters) {
    if (!IsWritableId(filter.id) || !CanQuote(filter.name)) return false;
    if (filter.sourceFile && !CanQuote(*filter.sourceFile)) return false;
  }
  for (const SavedConnection &connection : graph.connections) {
    if (!IsWritableId(connection.outputFilter) || !IsWritableId(connection.inputFilter)) return false;
    if (!CanQuote(connection.outputPin) || !CanQuote(connection.inputPin)) return false;
  }
  return graph.clock.filter <= kLargestId;
}

void WriteFilter(FormWriter &out, const SavedFilter &filter) {
  out.Id(filter.id);
  out.Quoted(filter.name);
  out.Guid(filter.classId);
  if (filter.sourceFile) {
    out.Text(L"SOURCE ");
    out.Quoted(*filter.sourceFile);
  }
  out.Block(filter.data);
  out.Text(L"\r\n");
}

// <sample size> <format type> <length> <format block>, which the media
// type's own length counts.
std::vector<BYTE> FormatPart(const AM_MEDIA_TYPE &type) {
  std::vector<BYTE> part;
  FormWriter out(part);
  out.Decimal(type.lSampleSize);
  out.Guid(type.formattype);
  out.Block({type.pbFormat, type.pbFormat ? type.cbFormat : 0});
  return part;
}

void WriteConnection(FormWriter &out, const SavedConnection &connection) {
  const AM_MEDIA_TYPE &type = connection.type.Get();
  out.Id(connection.outputFilter);
  out.Quoted(connection.outputPin);
  out.Id(connection.inputFilter);
  out.Quoted(connection.inputPin);
  out.Guid(type.majortype);
  out.Guid(type.subtype);
  out.Decimal(type.bFixedSizeSamples ? 1 : 0);
  out.Decimal(type.bTemporalCompression ? 1 : 0);
  out.Block(FormatPart(type));
  out.Text(L"\r\n");
}

void WriteClock(FormWriter &out, const SavedClock &clock) {
  out.Text(L"CLOCK ");
  out.Decimal(clock.set ? 1 : 0);
  if (clock.classId) {
    out.Guid(*clock.classId, L"\r\n");
  } else {
    out.Id(clock.filter, L"\r\n");
  }
}

}  // namespace

HRESULT WriteSavedGraph(const SavedGraph &graph, std::vector<BYTE> &form) {
  form.clear();
  if (!IsWritable(graph)) return E_INVALIDARG;
  FormWriter out(form);
  out.Text(L"0003\r\nFILTERS\r\n");
  for (const SavedFilter &filter : graph.filters) WriteFilter(out, filter);
  out.Text(L"CONNECTIONS\r\n");
  for (const SavedConnection &connection : graph.connections) WriteConnection(out, connection);
  WriteClock(out, graph.clock);
  out.Text(L"END");
  return S_OK;
}

}  // namespace platform::media
