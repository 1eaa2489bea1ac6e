// Registry keys: creating, opening, deleting, handles and their rights,
// HKEY_CLASSES_ROOT as a view of HKEY_LOCAL_MACHINE\Software\Classes.
#include <windows.h>

#include <gtest/gtest.h>

#include "private_registry.h"

namespace {

using testing_support::PrivateRegistry;

class RegistryKeyTest : public testing::Test {
 protected:
  HKEY Create(HKEY parent, const wchar_t *name, DWORD expectedDisposition = REG_CREATED_NEW_KEY) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyExW(parent, name, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, expectedDisposition);
    return key;
  }
  LONG Open(HKEY parent, const wchar_t *name, HKEY *key, REGSAM access = KEY_READ) {
    return RegOpenKeyExW(parent, name, 0, access, key);
  }

  PrivateRegistry registry;
};

TEST_F(RegistryKeyTest, CreateMakesEveryMissingKeyAndOpenFindsThemIgnoringCase) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Shared Tools\\Graphedit"));
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, L"software\\MICROSOFT", REG_OPENED_EXISTING_KEY));
  HKEY key = nullptr;
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, L"SOFTWARE\\microsoft\\shared tools\\GRAPHEDIT", &key), ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_NE(registry.HiveText("HKEY_LOCAL_MACHINE").find("[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools]"),
            std::string::npos)
      << "keys keep the case they were created with";
}

TEST_F(RegistryKeyTest, MissingKeysAreNotFound) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\Nothing", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, L"CLSID\\{29E07010-BD27-11CE-AB59-00AA00577DA1}", &key), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, ClassesRootIsTheMachinesSoftwareClasses) {
  RegCloseKey(Create(HKEY_CLASSES_ROOT, L"CLSID\\{00000000-0000-0000-0000-000000000001}"));
  HKEY key = nullptr;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\Classes\\CLSID\\{00000000-0000-0000-0000-000000000001}", &key),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(Open(HKEY_CLASSES_ROOT, nullptr, &key), ERROR_SUCCESS) << "the root opens itself";
  RegCloseKey(key);
}

TEST_F(RegistryKeyTest, ClassesRootExistsInAnEmptyRegistry) {
  HKEY key = nullptr;
  ASSERT_EQ(Open(HKEY_CLASSES_ROOT, L"", &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryKeyTest, DeleteKeyRefusesKeysWithSubkeysDeleteTreeTakesThem) {
  RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\A\\B"));
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\A"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\A\\B"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\A\\B"), ERROR_FILE_NOT_FOUND);

  RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\A\\C\\D"));
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\A"), ERROR_SUCCESS);
  HKEY key = nullptr;
  EXPECT_EQ(Open(HKEY_CURRENT_USER, L"Software\\A", &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\A"), ERROR_FILE_NOT_FOUND);
}

TEST_F(RegistryKeyTest, HandleOfADeletedKey) {
  HKEY key = Create(HKEY_CURRENT_USER, L"Software\\Gone");
  ASSERT_EQ(RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Gone"), ERROR_SUCCESS);
  const DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(key, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), 4), ERROR_KEY_DELETED);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  RegCloseKey(key);
}

TEST_F(RegistryKeyTest, HandlesHaveTheRightsTheyWereOpenedWith) {
  RegCloseKey(Create(HKEY_LOCAL_MACHINE, L"Software\\R"));
  HKEY key = nullptr;
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\R", &key, KEY_READ), ERROR_SUCCESS);
  const DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(key, L"v", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&one), 4), ERROR_ACCESS_DENIED);
  EXPECT_EQ(RegDeleteValueW(key, L"v"), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
  ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\R", &key, KEY_SET_VALUE), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, L"v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
  RegCloseKey(key);
}

TEST_F(RegistryKeyTest, ClosedAndUnknownHandlesAreInvalid) {
  HKEY key = Create(HKEY_LOCAL_MACHINE, L"Software\\H");
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  HKEY other = nullptr;
  EXPECT_EQ(Open(key, L"x", &other), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS) << "predefined keys stay open";
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\H", &other), ERROR_SUCCESS);
  RegCloseKey(other);
}

TEST_F(RegistryKeyTest, EachRootHasItsOwnFile) {
  RegCloseKey(Create(HKEY_CURRENT_USER, L"Software\\User Only"));
  EXPECT_NE(registry.HiveText("HKEY_CURRENT_USER").find("[HKEY_CURRENT_USER\\Software\\User Only]"), std::string::npos);
  HKEY key = nullptr;
  EXPECT_EQ(Open(HKEY_LOCAL_MACHINE, L"Software\\User Only", &key), ERROR_FILE_NOT_FOUND);
}

}  // namespace
