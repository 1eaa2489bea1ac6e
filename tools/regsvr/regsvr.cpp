// quorvel-regsvr: the registration tool of the platform.
//
//   quorvel-regsvr [/s] LIBRARY          calls the library's DllRegisterServer
//   quorvel-regsvr [/s] /u LIBRARY       calls its DllUnregisterServer
//   quorvel-regsvr [/s] /import FILE.reg merges a .reg file into the registry
//
// Options may begin with '/' or '-'; any other argument is the file.
// /s leaves out the success message; failures are always reported on
// standard error. Exit codes: 0 done, 1 bad arguments, 2 COM could not be
// initialised, 3 the library or file could not be loaded, 4 the library
// has no such entry point, 5 the entry point or the import failed.
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "com/server_library.h"
#include "registry/reg_file_import.h"

namespace {

enum ExitCode { kDone = 0, kBadArguments = 1, kNoCom = 2, kCannotLoad = 3, kNoEntryPoint = 4, kFailed = 5 };

struct Arguments {
  bool silent = false;
  bool unregister = false;
  bool import = false;
  std::string target;
};

bool IsOption(const char *argument, const char *name) {
  return (argument[0] == '/' || argument[0] == '-') && strcasecmp(argument + 1, name) == 0;
}

bool Parse(int argc, char **argv, Arguments &arguments) {
  for (int i = 1; i < argc; ++i) {
    if (IsOption(argv[i], "s")) {
      arguments.silent = true;
    } else if (IsOption(argv[i], "u")) {
      arguments.unregister = true;
    } else if (IsOption(argv[i], "import")) {
      arguments.import = true;
    } else if (arguments.target.empty()) {
      // Anything else is the file: absolute paths begin with '/' too.
      arguments.target = argv[i];
    } else {
      return false;
    }
  }
  return !arguments.target.empty() && !(arguments.import && arguments.unregister);
}

int Import(const Arguments &arguments) {
  platform::registry::RegFileError error;
  const LONG result = platform::registry::ImportRegFile(arguments.target, error);
  if (result == ERROR_INVALID_DATA) {
    std::fprintf(stderr, "%s:%d: %s\n", arguments.target.c_str(), error.line, error.message.c_str());
    return kFailed;
  }
  if (result != ERROR_SUCCESS) {
    std::fprintf(stderr, "%s: cannot be imported (error %d)\n", arguments.target.c_str(), static_cast<int>(result));
    return result == ERROR_FILE_NOT_FOUND || result == ERROR_ACCESS_DENIED ? kCannotLoad : kFailed;
  }
  if (!arguments.silent) std::printf("%s: imported into the registry\n", arguments.target.c_str());
  return kDone;
}

int CallEntryPoint(const Arguments &arguments) {
  const char *entryPoint = arguments.unregister ? "DllUnregisterServer" : "DllRegisterServer";
  platform::com::ServerLibrary library(arguments.target);
  if (!library.IsLoaded()) {
    std::fprintf(stderr, "%s: cannot be loaded: %s\n", arguments.target.c_str(), library.LoadError().c_str());
    return kCannotLoad;
  }
  auto function = library.Export<HRESULT(STDAPICALLTYPE *)()>(entryPoint);
  if (!function) {
    std::fprintf(stderr, "%s: has no entry point %s\n", arguments.target.c_str(), entryPoint);
    return kNoEntryPoint;
  }
  const HRESULT hr = function();
  if (FAILED(hr)) {
    std::fprintf(stderr, "%s: %s failed: 0x%08x\n", arguments.target.c_str(), entryPoint, static_cast<unsigned>(hr));
    return kFailed;
  }
  if (!arguments.silent) std::printf("%s: %s succeeded\n", arguments.target.c_str(), entryPoint);
  return kDone;
}

}  // namespace

int main(int argc, char **argv) {
  Arguments arguments;
  if (!Parse(argc, argv, arguments)) {
    std::fprintf(stderr, "usage: quorvel-regsvr [/s] [/u] LIBRARY\n       quorvel-regsvr [/s] /import FILE.reg\n");
    return kBadArguments;
  }
  if (arguments.import) return Import(arguments);
  const HRESULT hr = CoInitialize(nullptr);
  if (FAILED(hr)) {
    std::fprintf(stderr, "CoInitialize failed: 0x%08x\n", static_cast<unsigned>(hr));
    return kNoCom;
  }
  const int code = CallEntryPoint(arguments);
  CoUninitialize();
  return code;
}
