// The Running Object Table of the process: registrations by moniker, their
// cookies and the references the table holds.
#include <objbase.h>

#include <gtest/gtest.h>

#include "com_test_objects.h"

#include <string>
#include <vector>

namespace {

using testing_support::CountedObject;
using testing_support::NamedMoniker;

class RunningObjectTableTest : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetRunningObjectTable(0, &rot), S_OK); }
  void TearDown() override {
    if (rot) rot->Release();
  }

  DWORD Register(IUnknown *object, IMoniker *moniker, HRESULT expected = S_OK) {
    DWORD cookie = 0;
    EXPECT_EQ(rot->Register(ROTFLAGS_REGISTRATIONKEEPSALIVE, object, moniker, &cookie), expected);
    return cookie;
  }

  IRunningObjectTable *rot = nullptr;
  CountedObject graph;
  NamedMoniker graphName{L"FilterGraph 00000001 pid 00000002"};
};

TEST_F(RunningObjectTableTest, RegisterGivesDistinctNonZeroCookiesRevokeTakesEachOnce) {
  NamedMoniker otherName(L"FilterGraph 00000003 pid 00000002");
  const DWORD first = Register(&graph, &graphName);
  const DWORD second = Register(&graph, &otherName);
  EXPECT_NE(first, 0u);
  EXPECT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(rot->Revoke(first), S_OK);
  EXPECT_EQ(rot->Revoke(first), E_INVALIDARG) << "a revoked cookie is unknown";
  EXPECT_EQ(rot->Revoke(second), S_OK);
}

TEST_F(RunningObjectTableTest, UnknownCookiesAreRefused) {
  EXPECT_EQ(rot->Revoke(0), E_INVALIDARG);
  EXPECT_EQ(rot->Revoke(0xDEADBEEF), E_INVALIDARG);
}

TEST_F(RunningObjectTableTest, HoldsObjectAndMonikerUntilRevoked) {
  const DWORD cookie = Register(&graph, &graphName);
  EXPECT_EQ(graph.references, 2u) << "the table holds the object";
  EXPECT_EQ(graphName.references, 2u) << "the table holds the moniker";
  ASSERT_EQ(rot->Revoke(cookie), S_OK);
  EXPECT_EQ(graph.references, 1u);
  EXPECT_EQ(graphName.references, 1u);
}

TEST_F(RunningObjectTableTest, FindsObjectByEqualMoniker) {
  const DWORD cookie = Register(&graph, &graphName);
  NamedMoniker sameName(graphName.name);
  NamedMoniker otherName(L"elsewhere");
  EXPECT_EQ(rot->IsRunning(&sameName), S_OK);
  EXPECT_EQ(rot->IsRunning(&otherName), S_FALSE);

  IUnknown *found = nullptr;
  ASSERT_EQ(rot->GetObject(&sameName, &found), S_OK);
  EXPECT_EQ(found, &graph);
  EXPECT_EQ(graph.references, 3u) << "GetObject hands out a reference of its own";
  found->Release();

  found = &graph;
  EXPECT_EQ(rot->GetObject(&otherName, &found), MK_E_UNAVAILABLE);
  EXPECT_EQ(found, nullptr) << "the out pointer is cleared on failure";
  rot->Revoke(cookie);
  EXPECT_EQ(rot->IsRunning(&sameName), S_FALSE);
}

TEST_F(RunningObjectTableTest, SecondRegistrationOfEqualMonikerIsMadeAndFlagged) {
  const DWORD first = Register(&graph, &graphName);
  NamedMoniker sameName(graphName.name);
  const DWORD second = Register(&graph, &sameName, MK_S_MONIKERALREADYREGISTERED);
  EXPECT_NE(second, 0u);
  EXPECT_EQ(rot->Revoke(second), S_OK);
  EXPECT_EQ(rot->Revoke(first), S_OK);
}

TEST_F(RunningObjectTableTest, RegisterRejectsMissingArgumentsAndUnknownFlags) {
  DWORD cookie = 7;
  EXPECT_EQ(rot->Register(0, nullptr, &graphName, &cookie), E_INVALIDARG);
  EXPECT_EQ(cookie, 0u) << "the cookie is cleared before the arguments are checked";
  EXPECT_EQ(rot->Register(0, &graph, nullptr, &cookie), E_INVALIDARG);
  EXPECT_EQ(rot->Register(0x100, &graph, &graphName, &cookie), E_INVALIDARG);
  EXPECT_EQ(rot->Register(0, &graph, &graphName, nullptr), E_INVALIDARG);
  EXPECT_EQ(graph.references, 1u) << "a refused registration holds nothing";
}

TEST_F(RunningObjectTableTest, EnumeratesRegisteredMonikers) {
  NamedMoniker otherName(L"other");
  const DWORD first = Register(&graph, &graphName);
  const DWORD second = Register(&graph, &otherName);

  IEnumMoniker *monikers = nullptr;
  ASSERT_EQ(rot->EnumRunning(&monikers), S_OK);
  IMoniker *fetched[3] = {};
  ULONG count = 0;
  EXPECT_EQ(monikers->Next(3, fetched, &count), S_FALSE) << "fewer than asked for";
  ASSERT_EQ(count, 2u);
  std::vector<std::wstring> names;
  for (ULONG i = 0; i < count; ++i) {
    names.push_back(static_cast<NamedMoniker *>(fetched[i])->name);
    fetched[i]->Release();
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{graphName.name, otherName.name}));

  EXPECT_EQ(monikers->Reset(), S_OK);
  EXPECT_EQ(monikers->Skip(1), S_OK);
  IEnumMoniker *clone = nullptr;
  ASSERT_EQ(monikers->Clone(&clone), S_OK);
  EXPECT_EQ(clone->Next(1, fetched, nullptr), S_OK) << "a clone continues where the original stood";
  EXPECT_EQ(static_cast<NamedMoniker *>(fetched[0])->name, otherName.name);
  fetched[0]->Release();
  EXPECT_EQ(clone->Skip(1), S_FALSE);
  EXPECT_EQ(monikers->Next(2, fetched, nullptr), E_INVALIDARG) << "more than one needs a count";
  clone->Release();
  monikers->Release();

  rot->Revoke(first);
  rot->Revoke(second);
  EXPECT_EQ(graphName.references, 1u) << "the enumerator released its monikers";
  EXPECT_EQ(otherName.references, 1u);
}

TEST_F(RunningObjectTableTest, ChangeTimeIsKeptPerRegistration) {
  const DWORD cookie = Register(&graph, &graphName);
  FILETIME noted = {0x12345678, 0x01D00000};
  EXPECT_EQ(rot->NoteChangeTime(cookie, &noted), S_OK);
  FILETIME read = {};
  ASSERT_EQ(rot->GetTimeOfLastChange(&graphName, &read), S_OK);
  EXPECT_EQ(read.dwLowDateTime, noted.dwLowDateTime);
  EXPECT_EQ(read.dwHighDateTime, noted.dwHighDateTime);
  EXPECT_EQ(rot->NoteChangeTime(cookie + 1000, &noted), E_INVALIDARG);
  rot->Revoke(cookie);
  EXPECT_EQ(rot->GetTimeOfLastChange(&graphName, &read), MK_E_UNAVAILABLE);
}

TEST_F(RunningObjectTableTest, RegistrationTimeIsNow) {
  const DWORD cookie = Register(&graph, &graphName);
  FILETIME registered = {};
  ASSERT_EQ(rot->GetTimeOfLastChange(&graphName, &registered), S_OK);
  // After 2020-01-01 (0x01D5C03669A98000 in 100-ns units since 1601).
  const uint64_t units = (uint64_t{registered.dwHighDateTime} << 32) | registered.dwLowDateTime;
  EXPECT_GT(units, 0x01D5C03669A98000ULL) << "got 0x" << std::hex << units;
  rot->Revoke(cookie);
}

TEST(RunningObjectTable, ReservedMustBeZero) {
  IRunningObjectTable *rot = reinterpret_cast<IRunningObjectTable *>(1);
  EXPECT_EQ(GetRunningObjectTable(1, &rot), E_INVALIDARG);
  EXPECT_EQ(rot, nullptr);
}

TEST(RunningObjectTable, IsOneTablePerProcess) {
  IRunningObjectTable *first = nullptr;
  IRunningObjectTable *second = nullptr;
  ASSERT_EQ(GetRunningObjectTable(0, &first), S_OK);
  ASSERT_EQ(GetRunningObjectTable(0, &second), S_OK);
  EXPECT_EQ(first, second);
  IUnknown *unknown = nullptr;
  ASSERT_EQ(first->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
  EXPECT_EQ(unknown, static_cast<IUnknown *>(first));
  unknown->Release();
  first->Release();
  second->Release();
}

}  // namespace
