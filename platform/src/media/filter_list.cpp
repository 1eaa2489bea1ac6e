// The filters of a graph and their names.
#include "media/filter_list.h"

#include <vfwmsgs.h>

#include <algorithm>
#include <cwchar>

namespace platform::media {
namespace {

constexpr int kLastNumber = 9999;
constexpr size_t kLongestName = MAX_FILTER_NAME - 1;

std::wstring Numbered(const std::wstring &base, int number) {
  wchar_t suffix[8];
  std::swprintf(suffix, 8, base.empty() ? L"%04d" : L" %04d", number);
  const size_t room = kLongestName - std::wcslen(suffix);
  return base.substr(0, room) + suffix;
}

}  // namespace

HRESULT FilterList::ChooseName(LPCWSTR requested, std::wstring *chosen) const {
  const std::wstring base = std::wstring(requested ? requested : L"").substr(0, kLongestName);
  if (!base.empty() && !IsTaken(base)) {
    *chosen = base;
    return S_OK;
  }
  for (int number = 1; number <= kLastNumber; ++number) {
    *chosen = Numbered(base, number);
    if (!IsTaken(*chosen)) return base.empty() ? S_OK : VFW_S_DUPLICATE_NAME;
  }
  chosen->clear();
  return VFW_E_DUPLICATE_NAME;
}

void FilterList::Add(IBaseFilter *filter, std::wstring name) {
  m_entries.insert(m_entries.begin(), Entry{com::ComPtr<IBaseFilter>(filter), std::move(name)});
  ++m_version;
}

bool FilterList::Remove(IBaseFilter *filter) {
  auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.filter.Get() == filter; });
  if (found == m_entries.end()) return false;
  m_entries.erase(found);
  ++m_version;
  return true;
}

bool FilterList::Contains(IBaseFilter *filter) const {
  return std::any_of(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.filter.Get() == filter; });
}

IBaseFilter *FilterList::Find(const std::wstring &name) const {
  auto found = std::find_if(m_entries.begin(), m_entries.end(), [&](const Entry &e) { return e.name == name; });
  return found == m_entries.end() ? nullptr : found->filter.Get();
}

std::vector<com::ComPtr<IBaseFilter>> FilterList::Filters() const {
  std::vector<com::ComPtr<IBaseFilter>> filters;
  for (const Entry &entry : m_entries) filters.push_back(entry.filter);
  return filters;
}

bool FilterList::IsTaken(const std::wstring &name) const { return Find(name) != nullptr; }

}  // namespace platform::media
