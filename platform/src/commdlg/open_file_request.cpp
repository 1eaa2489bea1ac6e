#include "commdlg/open_file_request.h"

#include <sys/stat.h>
#include <unistd.h>

#include <climits>

#include "text/utf.h"

namespace platform::commdlg {

namespace {

// Reads the null-terminated strings of a list that ends with an empty one.
std::vector<std::wstring> NullSeparatedList(LPCWSTR list) {
  std::vector<std::wstring> items;
  for (LPCWSTR p = list; p && *p; p += items.back().size() + 1) items.emplace_back(p);
  return items;
}

std::vector<std::wstring> SplitPatterns(const std::wstring &patterns) {
  std::vector<std::wstring> out;
  size_t start = 0;
  while (start <= patterns.size()) {
    const size_t end = std::min(patterns.find(L';', start), patterns.size());
    if (end > start) out.push_back(patterns.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::vector<FileFilter> ReadFilters(LPCWSTR filter) {
  const auto strings = NullSeparatedList(filter);
  std::vector<FileFilter> filters;
  for (size_t i = 0; i + 1 < strings.size(); i += 2) filters.push_back({strings[i], SplitPatterns(strings[i + 1])});
  return filters;
}

std::wstring CurrentDirectory() {
  char buffer[PATH_MAX];
  return getcwd(buffer, sizeof buffer) ? text::FromUtf8(buffer) : L"/";
}

enum class Kind { Missing, File, Folder };

Kind KindOf(const std::wstring &path) {
  struct stat st{};
  if (stat(text::ToUtf8(path).c_str(), &st) != 0) return Kind::Missing;
  return S_ISDIR(st.st_mode) ? Kind::Folder : Kind::File;
}

std::wstring FolderOf(const std::wstring &path) {
  const size_t slash = path.rfind(L'/');
  if (slash == std::wstring::npos) return L".";
  return slash == 0 ? L"/" : path.substr(0, slash);
}

std::wstring NameOf(const std::wstring &path) {
  const size_t slash = path.rfind(L'/');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

}  // namespace

OpenFileRequest ReadOpenFileRequest(const OPENFILENAMEW &ofn) {
  OpenFileRequest request;
  request.owner = ofn.hwndOwner;
  request.title = ofn.lpstrTitle ? ofn.lpstrTitle : L"Open";
  request.filters = ReadFilters(ofn.lpstrFilter);
  if (ofn.nFilterIndex >= 1 && ofn.nFilterIndex <= request.filters.size()) request.filterIndex = ofn.nFilterIndex - 1;
  const std::wstring initial = ofn.lpstrFile ? ofn.lpstrFile : L"";
  if (initial.find(L'/') != std::wstring::npos) {
    request.folder = FolderOf(initial);
    request.fileName = NameOf(initial);
  } else {
    request.folder = ofn.lpstrInitialDir && *ofn.lpstrInitialDir ? ofn.lpstrInitialDir : CurrentDirectory();
    request.fileName = initial;
  }
  request.fileMustExist = ofn.Flags & OFN_FILEMUSTEXIST;
  request.pathMustExist = ofn.Flags & (OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST);
  request.defaultExtension = ofn.lpstrDefExt ? ofn.lpstrDefExt : L"";
  return request;
}

std::wstring WithDefaultExtension(const std::wstring &path, const std::wstring &extension) {
  if (extension.empty() || NameOf(path).find(L'.') != std::wstring::npos) return path;
  return path + L"." + extension;
}

std::wstring RefusalOf(const std::wstring &path, const OpenFileRequest &request) {
  if (request.pathMustExist && KindOf(FolderOf(path)) != Kind::Folder) {
    return path + L"\nPath does not exist.\nCheck the path and try again.";
  }
  if (request.fileMustExist && KindOf(path) != Kind::File) {
    return path + L"\nFile not found.\nCheck the file name and try again.";
  }
  return L"";
}

}  // namespace platform::commdlg
