// Object creation through the registry: a server library registered with
// the registration tool, created with CoCreateInstance, unloaded when
// unused, unregistered; and each way activation fails, with its code.
#include <objbase.h>
#include <windows.h>

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "com/builtin_classes.h"
#include "private_registry.h"
#include "test_server.h"

// The platform library's own registration entry points (olectl.h declares them on Windows).
STDAPI DllRegisterServer(void);
STDAPI DllUnregisterServer(void);

namespace {

using testing_support::PrivateRegistry;

// {6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0010}
constexpr CLSID CLSID_BuiltinForTest = {0x6a3f0c11, 0x52e4, 0x4b8d, {0x9c, 0x1b, 0x2f, 0x7e, 0x5d, 0x4a, 0x00, 0x10}};

// A class of the platform's built-in table, added by this test program.
HRESULT CreateBuiltinForTest(IUnknown *outer, REFIID riid, void **ppv) {
  static struct : IUnknown {
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
      *ppv = IsEqualIID(riid, IID_IUnknown) ? this : nullptr;
      return *ppv ? S_OK : E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
  } object;
  if (outer) return CLASS_E_NOAGGREGATION;
  return object.QueryInterface(riid, ppv);
}
const bool kBuiltinAdded =
    platform::com::AddBuiltinClass({&CLSID_BuiltinForTest, L"Quorvel Test Built-in", L"Both", &CreateBuiltinForTest});

// Runs the registration tool as its own process; returns its exit code.
int RunRegistrationTool(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), {QUORVEL_REGSVR, "/s"});
  std::vector<char *> argv;
  for (auto &argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const pid_t child = fork();
  if (child == 0) {
    execv(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::wstring ClassKey(REFCLSID clsid) {
  WCHAR text[40];
  StringFromGUID2(clsid, text, 40);
  return std::wstring(L"CLSID\\") + text;
}

std::wstring ReadString(const std::wstring &path, const wchar_t *name) {
  HKEY key = nullptr;
  WCHAR buffer[PATH_MAX] = {};
  DWORD size = sizeof buffer;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS) {
    RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE *>(buffer), &size);
    RegCloseKey(key);
  }
  return buffer;
}

void RegisterLibraryPath(REFCLSID clsid, const std::wstring &library) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (ClassKey(clsid) + L"\\InprocServer32").c_str(), 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(library.c_str()),
                 static_cast<DWORD>((library.size() + 1) * sizeof(WCHAR)));
  RegCloseKey(key);
}

std::wstring Wide(const std::string &s) { return std::wstring(s.begin(), s.end()); }

std::string FullPath(const char *path) {
  char *full = realpath(path, nullptr);
  std::string result = full ? full : "";
  free(full);
  return result;
}

bool IsLoaded(const char *library) {
  void *handle = dlopen(library, RTLD_NOW | RTLD_NOLOAD);
  if (handle) dlclose(handle);
  return handle != nullptr;
}

class ComActivationTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
  void TearDown() override { CoUninitialize(); }

  PrivateRegistry registry;
};

TEST_F(ComActivationTest, ServerRegisteredWithTheToolIsCreatedUntilUnregistered) {
  ASSERT_EQ(RunRegistrationTool({QUORVEL_TEST_SERVER}), 0);
  EXPECT_EQ(ReadString(ClassKey(CLSID_TestServerObject), nullptr), L"Quorvel Test Object");
  EXPECT_EQ(ReadString(ClassKey(CLSID_TestServerObject) + L"\\InprocServer32", nullptr),
            Wide(FullPath(QUORVEL_TEST_SERVER)));
  EXPECT_EQ(ReadString(ClassKey(CLSID_TestServerObject) + L"\\InprocServer32", L"ThreadingModel"), L"Both");

  IPersist *persist = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                             reinterpret_cast<void **>(&persist)),
            S_OK);
  CLSID clsid{};
  EXPECT_EQ(persist->GetClassID(&clsid), S_OK);
  EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_TestServerObject));
  EXPECT_EQ(persist->Release(), 0u);

  ASSERT_EQ(RunRegistrationTool({"/u", QUORVEL_TEST_SERVER}), 0);
  IUnknown *unknown = reinterpret_cast<IUnknown *>(1);
  EXPECT_EQ(CoCreateInstance(CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void **>(&unknown)),
            REGDB_E_CLASSNOTREG);
  EXPECT_EQ(unknown, nullptr);
}

struct ActivationFailure {
  const char *label;
  CLSID clsid;
  const char *library;  // registered as its server; null: nothing registered
  DWORD context;
  IID iid;
  HRESULT expected;
};

TEST_F(ComActivationTest, FailuresGiveWindowsResults) {
  ASSERT_EQ(RunRegistrationTool({QUORVEL_TEST_SERVER}), 0);
  const ActivationFailure cases[] = {
      {"not registered", CLSID_BuiltinForTest, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, REGDB_E_CLASSNOTREG},
      {"library missing", CLSID_TestServerUnknown, "/nonexistent/quorvel-server.so", CLSCTX_INPROC_SERVER, IID_IUnknown,
       HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND)},
      {"no DllGetClassObject", CLSID_TestServerUnknown, QUORVEL_TEST_NO_CLASS_OBJECT, CLSCTX_INPROC_SERVER,
       IID_IUnknown, CO_E_ERRORINDLL},
      {"class not in the library", CLSID_TestServerUnknown, QUORVEL_TEST_SERVER, CLSCTX_INPROC_SERVER, IID_IUnknown,
       CLASS_E_CLASSNOTAVAILABLE},
      {"factory refuses", CLSID_TestServerRefusing, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, kTestServerRefusal},
      {"interface not given", CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER, IID_IMoniker, E_NOINTERFACE},
      {"local server only", CLSID_TestServerObject, nullptr, CLSCTX_LOCAL_SERVER, IID_IUnknown, REGDB_E_CLASSNOTREG},
  };
  for (const ActivationFailure &c : cases) {
    SCOPED_TRACE(c.label);
    if (c.library) RegisterLibraryPath(c.clsid, Wide(c.library));
    void *object = reinterpret_cast<void *>(1);
    const HRESULT hr = CoCreateInstance(c.clsid, nullptr, c.context, c.iid, &object);
    EXPECT_EQ(hr, c.expected) << std::hex << "got 0x" << hr << ", expected 0x" << c.expected;
    EXPECT_EQ(object, nullptr);
  }
}

TEST_F(ComActivationTest, ThreadWithoutComIsRefused) {
  ASSERT_EQ(RunRegistrationTool({QUORVEL_TEST_SERVER}), 0);
  HRESULT hr = S_OK;
  std::thread([&] {
    IUnknown *unknown = nullptr;
    hr = CoCreateInstance(CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void **>(&unknown));
  }).join();
  EXPECT_EQ(hr, CO_E_NOTINITIALIZED);
}

TEST_F(ComActivationTest, UnusedLibrariesAreUnloadedOnRequest) {
  ASSERT_EQ(RunRegistrationTool({QUORVEL_TEST_SERVER}), 0);
  IUnknown *object = nullptr;
  ASSERT_EQ(CoCreateInstance(CLSID_TestServerObject, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void **>(&object)),
            S_OK);
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(QUORVEL_TEST_SERVER)) << "an object of the library is alive";
  object->Release();
  EXPECT_TRUE(IsLoaded(QUORVEL_TEST_SERVER)) << "libraries stay until they are freed";
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(QUORVEL_TEST_SERVER));
}

TEST_F(ComActivationTest, LibrariesAreUnloadedWhenTheLastApartmentEnds) {
  ASSERT_EQ(RunRegistrationTool({QUORVEL_TEST_SERVER}), 0);
  IClassFactory *factory = nullptr;
  ASSERT_EQ(CoGetClassObject(CLSID_TestServerObject, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                             reinterpret_cast<void **>(&factory)),
            S_OK);
  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  factory->Release();
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(QUORVEL_TEST_SERVER)) << "a locked server stays";
  CoUninitialize();
  EXPECT_FALSE(IsLoaded(QUORVEL_TEST_SERVER));
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
}

TEST_F(ComActivationTest, BuiltinClassesAreRegisteredAndCreatedLikeAnyOther) {
  ASSERT_TRUE(kBuiltinAdded);
  ASSERT_EQ(DllRegisterServer(), S_OK) << "the platform library's own registration";
  EXPECT_EQ(ReadString(ClassKey(CLSID_BuiltinForTest) + L"\\InprocServer32", nullptr),
            Wide(FullPath(QUORVEL_PLATFORM_LIBRARY)));
  IUnknown *object = nullptr;
  EXPECT_EQ(CoCreateInstance(CLSID_BuiltinForTest, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void **>(&object)),
            S_OK);
  EXPECT_EQ(CoCreateInstance(CLSID_BuiltinForTest, nullptr, CLSCTX_INPROC_SERVER, IID_IPersist,
                             reinterpret_cast<void **>(&object)),
            E_NOINTERFACE);
  ASSERT_EQ(DllUnregisterServer(), S_OK);
  EXPECT_EQ(CoCreateInstance(CLSID_BuiltinForTest, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown,
                             reinterpret_cast<void **>(&object)),
            REGDB_E_CLASSNOTREG);
}

TEST_F(ComActivationTest, ToolRegistersThePlatformLibrary) {
  EXPECT_EQ(RunRegistrationTool({QUORVEL_PLATFORM_LIBRARY}), 0);
  EXPECT_EQ(RunRegistrationTool({"/u", QUORVEL_PLATFORM_LIBRARY}), 0);
}

struct ToolFailure {
  const char *label;
  std::vector<std::string> arguments;
  int exitCode;
};

TEST_F(ComActivationTest, ToolReportsFailuresByExitCode) {
  const std::string badReg = registry.folder + "/bad.reg";
  std::ofstream(badReg) << "REGEDIT4\n";
  const ToolFailure cases[] = {
      {"no arguments", {}, 1},
      {"unknown option", {"/x", QUORVEL_TEST_SERVER}, 1},
      {"library missing", {"/nonexistent/quorvel-server.so"}, 3},
      {"no DllRegisterServer", {QUORVEL_TEST_NO_CLASS_OBJECT}, 4},
      {"import of a missing file", {"/import", registry.folder + "/missing.reg"}, 3},
      {"import of a damaged file", {"/import", badReg}, 5},
  };
  for (const ToolFailure &c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(RunRegistrationTool(c.arguments), c.exitCode);
  }
}

TEST_F(ComActivationTest, ToolImportsRegFiles) {
  const std::string file = registry.folder + "/proppage.reg";
  std::ofstream(file) << "Windows Registry Editor Version 5.00\n\n"
                         "[HKEY_CLASSES_ROOT\\CLSID\\{29E07010-BD27-11CE-AB59-00AA00577DA1}\\InprocServer32]\n"
                         "@=\"/opt/tools/proppage.dll\"\n";
  ASSERT_EQ(RunRegistrationTool({"/import", file}), 0);
  EXPECT_EQ(ReadString(L"CLSID\\{29E07010-BD27-11CE-AB59-00AA00577DA1}\\InprocServer32", nullptr),
            L"/opt/tools/proppage.dll");
}

struct GuidText {
  const wchar_t *text;
  HRESULT expected;
};

TEST(GuidStrings, ClassIdentifiersRoundTripThroughText) {
  WCHAR text[39];
  EXPECT_EQ(StringFromGUID2(CLSID_TestServerObject, text, 38), 0) << "too small";
  ASSERT_EQ(StringFromGUID2(CLSID_TestServerObject, text, 39), 39);
  EXPECT_STREQ(text, L"{6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0001}");
  const GuidText cases[] = {
      {L"{6a3f0c11-52e4-4b8d-9c1b-2f7e5d4a0001}", S_OK},
      {L"6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A0001", CO_E_CLASSSTRING},
      {L"{6A3F0C11-52E4-4B8D-9C1B-2F7E5D4A000G}", CO_E_CLASSSTRING},
      {L"{6A3F0C11-52E4-4B8D-9C1B2F7E5D4A00011}", CO_E_CLASSSTRING},
  };
  for (const GuidText &c : cases) {
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromString(c.text, &clsid), c.expected) << c.text;
    if (c.expected == S_OK) {
      EXPECT_TRUE(IsEqualCLSID(clsid, CLSID_TestServerObject));
    }
  }
}

}  // namespace
