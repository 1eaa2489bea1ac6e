// The persistent form of a filter graph, as the graph manager saves it
// through IPersistStream and as saved-graph (.grf) files hold it in their
// "ActiveMovieGraph" stream: UTF-16LE text with binary blocks in it.
//
//   0003\r\n
//   FILTERS\r\n
//   <id> "<name>" <class id> [SOURCE "<file>" ]<length> <data bytes>\r\n   per filter
//   CONNECTIONS\r\n
//   <id> "<pin>" <id> "<pin>" <major type> <subtype> <fixed> <temporal> <length> <format>\r\n
//                                                                    per connection
//   CLOCK <set> <clock id>\r\n
//   END
//
// where
//   <id>        a filter's number in the form, four hexadecimal digits
//               (0001, 0002, ...), numbered from 1 in the order written;
//               connections name the output filter and pin first
//   <class id>  a GUID in braces, upper case: {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
//   <length>    an unsigned decimal number: how many bytes follow its
//               single space (binary data, or text and binary data)
//   <data bytes> the filter's own persistent form (IPersistStream), empty
//               for a filter without one
//   <fixed>, <temporal>  bFixedSizeSamples and bTemporalCompression, 1 or 0
//   <format>    <sample size> <format type> <length> <format block bytes>,
//               where the media type's length counts the whole of it
//   <set>       1 when the graph has a reference clock, 0 when it has none
//               (yet)
//   <clock id>  the id of the filter that gives the clock, 0000 when no
//               filter of the graph gives it (the system clock), or a
//               clock's class id
// Between tokens there may be any run of spaces, tabs, CRs and LFs (at
// least one); before binary data exactly one space. Names cannot hold a
// double quote or a null character. The older version 0002 has no CLOCK line.
//
// Reading is strict: anything else, a length past the end of the data, a
// number that does not fit, two filters with one id, or a connection or
// clock naming an id that no filter has, makes the form invalid. Reading
// ends after END; what follows is not read.
#pragma once

#include <platform_filters/media_type.h>

#include <optional>
#include <span>
#include <string>
#include <vector>

namespace platform::media {

struct SavedFilter {
  DWORD id = 0;
  std::wstring name;
  CLSID classId{};
  std::optional<std::wstring> sourceFile;
  std::vector<BYTE> data;
};

struct SavedConnection {
  DWORD outputFilter = 0;
  std::wstring outputPin;
  DWORD inputFilter = 0;
  std::wstring inputPin;
  MediaType type;
};

// No filter id, in SavedClock::filter.
constexpr DWORD kNoFilter = 0;

struct SavedClock {
  bool set = false;
  DWORD filter = kNoFilter;
  // A clock named by its class rather than by a filter of the graph.
  std::optional<CLSID> classId;
};

struct SavedGraph {
  std::vector<SavedFilter> filters;
  std::vector<SavedConnection> connections;
  SavedClock clock;
};

// S_OK with the form; E_INVALIDARG when a name or file name holds a double
// quote or a null character, or an id is 0 or needs more than four digits,
// which the form cannot hold.
HRESULT WriteSavedGraph(const SavedGraph &graph, std::vector<BYTE> &form);

// S_OK with the graph and the number of bytes the form took, or
// VFW_E_INVALID_FILE_FORMAT.
HRESULT ReadSavedGraph(std::span<const BYTE> form, SavedGraph &graph, size_t &consumed);

}  // namespace platform::media
