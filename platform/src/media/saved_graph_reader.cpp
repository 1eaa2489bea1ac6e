// Reads the persistent form of a filter graph (see saved_graph.h). Every
// read is checked against the end of the form; nothing is trusted.
#include <objbase.h>
#include <vfwmsgs.h>

#include <set>

#include "media/saved_graph.h"
#include "text/utf.h"

namespace platform::media {
namespace {

constexpr size_t kGuidUnits = 38;  // with the braces
constexpr size_t kIdDigits = 4;

int HexDigit(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  return -1;
}

bool IsBlank(char16_t unit) { return unit == u' ' || unit == u'\t' || unit == u'\r' || unit == u'\n'; }

// Tokens of UTF-16LE text and binary blocks, read from the front of a span.
// Each method consumes what it read only when it succeeds.
class FormReader {
 public:
  explicit FormReader(std::span<const BYTE> form) : m_form(form) {}

  size_t Position() const { return m_at; }
  bool AtEnd() const { return m_at == m_form.size(); }

  bool AtWord(std::u16string_view word) const {
    for (size_t i = 0; i < word.size(); ++i) {
      char16_t unit = 0;
      if (!Peek(i, unit) || unit != word[i]) return false;
    }
    return true;
  }
  bool Word(std::u16string_view word) { return AtWord(word) && Skip(word.size()); }

  // One or more spaces, tabs, CRs and LFs.
  bool Blanks() {
    size_t count = 0;
    char16_t unit = 0;
    while (Peek(count, unit) && IsBlank(unit)) ++count;
    return count > 0 && Skip(count);
  }
  bool Space() { return Word(u" "); }

  bool Id(DWORD &id) {
    DWORD value = 0;
    for (size_t i = 0; i < kIdDigits; ++i) {
      char16_t unit = 0;
      if (!Peek(i, unit) || HexDigit(unit) < 0) return false;
      value = value * 16 + static_cast<DWORD>(HexDigit(unit));
    }
    id = value;
    return Skip(kIdDigits);
  }

  // Decimal digits whose value fits 32 bits.
  bool Decimal(ULONG &value) {
    unsigned long long number = 0;
    size_t count = 0;
    char16_t unit = 0;
    while (Peek(count, unit) && unit >= u'0' && unit <= u'9') {
      number = number * 10 + (unit - u'0');
      if (number > 0xFFFFFFFFull) return false;
      ++count;
    }
    value = static_cast<ULONG>(number);
    return count > 0 && Skip(count);
  }

  bool Flag(BOOL &flag) {
    if (Word(u"1")) {
      flag = TRUE;
    } else if (Word(u"0")) {
      flag = FALSE;
    } else {
      return false;
    }
    return true;
  }

  bool Guid(GUID &guid) {
    std::wstring text;
    for (size_t i = 0; i < kGuidUnits; ++i) {
      char16_t unit = 0;
      if (!Peek(i, unit)) return false;
      text.push_back(static_cast<wchar_t>(unit));
    }
    return SUCCEEDED(CLSIDFromString(text.c_str(), &guid)) && Skip(kGuidUnits);
  }

  // "text": anything but a double quote or a null character.
  bool Quoted(std::wstring &text) {
    if (!AtWord(u"\"")) return false;
    std::u16string units;
    char16_t unit = 0;
    for (size_t i = 1; Peek(i, unit); ++i) {
      if (unit == u'"') {
        text = text::FromUtf16(units.data(), units.size());
        return Skip(i + 1);
      }
      if (unit == 0) return false;
      units.push_back(unit);
    }
    return false;
  }

  // <length> <bytes>
  bool Block(std::span<const BYTE> &bytes) {
    const size_t start = m_at;
    ULONG length = 0;
    if (Decimal(length) && Space() && length <= m_form.size() - m_at) {
      bytes = m_form.subspan(m_at, length);
      m_at += length;
      return true;
    }
    m_at = start;
    return false;
  }

 private:
  bool Peek(size_t unitsAhead, char16_t &unit) const {
    const size_t offset = m_at + unitsAhead * 2;
    if (offset >= m_form.size() || m_form.size() - offset < 2) return false;
    unit = static_cast<char16_t>(m_form[offset] | (m_form[offset + 1] << 8));
    return true;
  }
  bool Skip(size_t units) {
    m_at += units * 2;
    return true;
  }

  std::span<const BYTE> m_form;
  size_t m_at = 0;
};

bool ReadFilter(FormReader &in, SavedFilter &filter) {
  if (!in.Id(filter.id) || filter.id == kNoFilter || !in.Blanks() || !in.Quoted(filter.name) || !in.Blanks() ||
      !in.Guid(filter.classId) || !in.Blanks()) {
    return false;
  }
  if (in.Word(u"SOURCE")) {
    std::wstring file;
    if (!in.Blanks() || !in.Quoted(file) || !in.Blanks()) return false;
    filter.sourceFile = std::move(file);
  }
  std::span<const BYTE> data;
  if (!in.Block(data)) return false;
  filter.data.assign(data.begin(), data.end());
  return true;
}

// <sample size> <format type> <length> <format block>, filling the whole
// of the media type's block.
bool ReadFormat(std::span<const BYTE> part, AM_MEDIA_TYPE &type) {
  FormReader in(part);
  std::span<const BYTE> format;
  if (!in.Decimal(type.lSampleSize) || !in.Blanks() || !in.Guid(type.formattype) || !in.Blanks() ||
      !in.Block(format) || !in.AtEnd()) {
    return false;
  }
  type.cbFormat = static_cast<ULONG>(format.size());
  type.pbFormat = format.empty() ? nullptr : const_cast<BYTE *>(format.data());
  return true;
}

bool ReadConnection(FormReader &in, SavedConnection &connection) {
  AM_MEDIA_TYPE type{};
  std::span<const BYTE> part;
  if (!in.Id(connection.outputFilter) || !in.Blanks() || !in.Quoted(connection.outputPin) || !in.Blanks() ||
      !in.Id(connection.inputFilter) || !in.Blanks() || !in.Quoted(connection.inputPin) || !in.Blanks() ||
      !in.Guid(type.majortype) || !in.Blanks() || !in.Guid(type.subtype) || !in.Blanks() ||
      !in.Flag(type.bFixedSizeSamples) || !in.Blanks() || !in.Flag(type.bTemporalCompression) || !in.Blanks() ||
      !in.Block(part) || !ReadFormat(part, type)) {
    return false;
  }
  connection.type = MediaType(type);
  return true;
}

bool ReadClock(FormReader &in, SavedClock &clock) {
  BOOL set = FALSE;
  if (!in.Word(u"CLOCK") || !in.Blanks() || !in.Flag(set) || !in.Blanks()) return false;
  clock.set = set;
  GUID classId{};
  if (in.AtWord(u"{")) {
    if (!in.Guid(classId)) return false;
    clock.classId = classId;
    return true;
  }
  return in.Id(clock.filter);
}

bool ReadFilters(FormReader &in, std::vector<SavedFilter> &filters) {
  if (!in.Word(u"FILTERS") || !in.Blanks()) return false;
  while (!in.AtWord(u"CONNECTIONS")) {
    SavedFilter filter;
    if (!ReadFilter(in, filter) || !in.Blanks()) return false;
    filters.push_back(std::move(filter));
  }
  return in.Word(u"CONNECTIONS") && in.Blanks();
}

// The connections, up to the word that follows them.
bool ReadConnections(FormReader &in, std::u16string_view next, std::vector<SavedConnection> &connections) {
  while (!in.AtWord(next)) {
    SavedConnection connection;
    if (!ReadConnection(in, connection) || !in.Blanks()) return false;
    connections.push_back(std::move(connection));
  }
  return true;
}

// Every id is a filter's, and no two filters share one.
bool IdsAgree(const SavedGraph &graph) {
  std::set<DWORD> ids;
  for (const SavedFilter &filter : graph.filters) {
    if (!ids.insert(filter.id).second) return false;
  }
  for (const SavedConnection &connection : graph.connections) {
    if (!ids.count(connection.outputFilter) || !ids.count(connection.inputFilter)) return false;
  }
  return graph.clock.filter == kNoFilter || ids.count(graph.clock.filter);
}

bool ReadGraph(FormReader &in, SavedGraph &graph) {
  const bool withClock = in.Word(u"0003");
  if (!withClock && !in.Word(u"0002")) return false;
  if (!in.Blanks() || !ReadFilters(in, graph.filters)) return false;
  if (!ReadConnections(in, withClock ? u"CLOCK" : u"END", graph.connections)) return false;
  if (withClock && (!ReadClock(in, graph.clock) || !in.Blanks())) return false;
  return in.Word(u"END") && IdsAgree(graph);
}

}  // namespace

HRESULT ReadSavedGraph(std::span<const BYTE> form, SavedGraph &graph, size_t &consumed) {
  graph = SavedGraph();
  consumed = 0;
  FormReader in(form);
  if (!ReadGraph(in, graph)) {
    graph = SavedGraph();
    return VFW_E_INVALID_FILE_FORMAT;
  }
  consumed = in.Position();
  return S_OK;
}

}  // namespace platform::media
