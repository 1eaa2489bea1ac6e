// The filters of a graph, with their unique names, in enumeration order:
// the most recently added filter first.
//
// Names are compared exactly (case matters). A name already taken gets the
// first free number: "Name 0001", "Name 0002", ... up to 9999; a filter
// added without a name is named by the number alone ("0001"). Names are cut
// to fit MAX_FILTER_NAME with the terminating null, the number kept.
//
// Not locked: the graph manager guards it with its control lock, except
// the version, which changes with every addition and removal and which
// enumerators read from any thread.
#pragma once

#include <strmif.h>

#include <atomic>
#include <string>
#include <vector>

#include "com/com_object.h"

namespace platform::media {

class FilterList {
 public:
  // S_OK with the name asked for (or the first number, for no name),
  // VFW_S_DUPLICATE_NAME with a numbered one, VFW_E_DUPLICATE_NAME when
  // every number is taken.
  HRESULT ChooseName(LPCWSTR requested, std::wstring *chosen) const;
  void Add(IBaseFilter *filter, std::wstring name);
  bool Remove(IBaseFilter *filter);
  bool Contains(IBaseFilter *filter) const;
  // Null when no filter has the name.
  IBaseFilter *Find(const std::wstring &name) const;
  std::vector<com::ComPtr<IBaseFilter>> Filters() const;
  ULONG Version() const { return m_version; }

 private:
  struct Entry {
    com::ComPtr<IBaseFilter> filter;
    std::wstring name;
  };

  bool IsTaken(const std::wstring &name) const;

  std::vector<Entry> m_entries;  // the most recent first
  std::atomic<ULONG> m_version{0};
};

}  // namespace platform::media
