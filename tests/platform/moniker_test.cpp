// Item monikers, bind contexts, and finding objects in the Running Object
// Table through them.
#include <objbase.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "com/running_object_table.h"
#include "com_test_objects.h"

namespace {

using testing_support::CountedObject;
using testing_support::NamedMoniker;

IMoniker *ItemMoniker(const wchar_t *delimiter, const wchar_t *item) {
  IMoniker *moniker = nullptr;
  EXPECT_EQ(CreateItemMoniker(delimiter, item, &moniker), S_OK);
  return moniker;
}

std::wstring DisplayName(IMoniker *moniker) {
  LPOLESTR name = nullptr;
  EXPECT_EQ(moniker->GetDisplayName(nullptr, nullptr, &name), S_OK);
  std::wstring text = name ? name : L"";
  CoTaskMemFree(name);
  return text;
}

struct DisplayCase {
  const wchar_t *delimiter;
  const wchar_t *item;
  const wchar_t *expected;
};

TEST(ItemMoniker, DisplayNameIsTheDelimiterThenTheItem) {
  const DisplayCase cases[] = {
      {L"!", L"FilterGraph 00000abc pid 00001234", L"!FilterGraph 00000abc pid 00001234"},
      {L"\\", L"item", L"\\item"},
      {L"", L"bare", L"bare"},
      {nullptr, L"bare", L"bare"},
  };
  for (const DisplayCase &c : cases) {
    IMoniker *moniker = ItemMoniker(c.delimiter, c.item);
    EXPECT_EQ(DisplayName(moniker), c.expected);
    DWORD system = 0;
    EXPECT_EQ(moniker->IsSystemMoniker(&system), S_OK);
    EXPECT_EQ(system, static_cast<DWORD>(MKSYS_ITEMMONIKER));
    EXPECT_EQ(moniker->Release(), 0u);
  }
  IMoniker *moniker = reinterpret_cast<IMoniker *>(1);
  EXPECT_EQ(CreateItemMoniker(L"!", nullptr, &moniker), E_INVALIDARG);
  EXPECT_EQ(moniker, nullptr);
}

TEST(ItemMoniker, EqualItemsIgnoringCaseHashEqually) {
  IMoniker *graph = ItemMoniker(L"!", L"FilterGraph 00000ABC pid 00001234");
  IMoniker *sameItem = ItemMoniker(L"!", L"filtergraph 00000abc PID 00001234");
  IMoniker *otherItem = ItemMoniker(L"!", L"FilterGraph 00000abd pid 00001234");
  NamedMoniker foreign(L"FilterGraph 00000ABC pid 00001234");
  EXPECT_EQ(graph->IsEqual(sameItem), S_OK);
  EXPECT_EQ(graph->IsEqual(otherItem), S_FALSE);
  EXPECT_EQ(graph->IsEqual(&foreign), S_FALSE) << "only item monikers equal item monikers";
  DWORD first = 0;
  DWORD second = 0;
  graph->Hash(&first);
  sameItem->Hash(&second);
  EXPECT_EQ(first, second);
  for (IMoniker *moniker : {graph, sameItem, otherItem}) moniker->Release();
}

class MonikerTableTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetRunningObjectTable(0, &rot), S_OK);
    ASSERT_EQ(CreateBindCtx(0, &context), S_OK);
  }
  void TearDown() override {
    EXPECT_EQ(context->Release(), 0u);
    rot->Release();
    name->Release();
    EXPECT_EQ(graph.references, 1u) << "every reference to the graph is back";
  }

  IRunningObjectTable *rot = nullptr;
  IBindCtx *context = nullptr;
  CountedObject graph;
  IMoniker *name = ItemMoniker(L"!", L"FilterGraph 00000abc pid 00001234");
};

TEST_F(MonikerTableTest, RegisteredObjectIsFoundUntilRevoked) {
  DWORD cookie = 0;
  ASSERT_EQ(rot->Register(0, &graph, name, &cookie), S_OK);
  EXPECT_NE(cookie, 0u);
  IMoniker *lookup = ItemMoniker(L"!", L"FilterGraph 00000abc pid 00001234");

  IUnknown *found = nullptr;
  ASSERT_EQ(rot->GetObject(lookup, &found), S_OK);
  EXPECT_EQ(found, &graph);
  found->Release();
  EXPECT_EQ(lookup->IsRunning(context, nullptr, nullptr), S_OK);
  ASSERT_EQ(lookup->BindToObject(context, nullptr, IID_IUnknown, reinterpret_cast<void **>(&found)), S_OK);
  EXPECT_EQ(found, &graph);
  found->Release();

  ASSERT_EQ(rot->Revoke(cookie), S_OK);
  found = &graph;
  EXPECT_EQ(rot->GetObject(lookup, &found), MK_E_UNAVAILABLE);
  EXPECT_EQ(found, nullptr);
  EXPECT_EQ(lookup->IsRunning(context, nullptr, nullptr), S_FALSE);
  EXPECT_EQ(lookup->BindToObject(context, nullptr, IID_IUnknown, reinterpret_cast<void **>(&found)), E_INVALIDARG);
  lookup->Release();
}

TEST_F(MonikerTableTest, EqualNameRegistersAgainWithItsOwnCookie) {
  DWORD first = 0;
  DWORD second = 0;
  IMoniker *sameName = ItemMoniker(L"!", L"FILTERGRAPH 00000ABC PID 00001234");
  ASSERT_EQ(rot->Register(0, &graph, name, &first), S_OK);
  EXPECT_EQ(rot->Register(0, &graph, sameName, &second), MK_S_MONIKERALREADYREGISTERED);
  EXPECT_NE(second, 0u);
  EXPECT_NE(second, first);

  IEnumMoniker *running = nullptr;
  ASSERT_EQ(rot->EnumRunning(&running), S_OK);
  std::multiset<std::wstring> names;
  IMoniker *moniker = nullptr;
  while (running->Next(1, &moniker, nullptr) == S_OK) {
    names.insert(DisplayName(moniker));
    moniker->Release();
  }
  running->Release();
  EXPECT_EQ(names.count(L"!FilterGraph 00000abc pid 00001234"), 1u);
  EXPECT_EQ(names.count(L"!FILTERGRAPH 00000ABC PID 00001234"), 1u);

  EXPECT_EQ(rot->Revoke(first), S_OK);
  EXPECT_EQ(rot->IsRunning(name), S_OK) << "the second registration remains";
  EXPECT_EQ(rot->Revoke(second), S_OK);
  EXPECT_EQ(rot->IsRunning(name), S_FALSE);
  sameName->Release();
}

TEST_F(MonikerTableTest, InstalledTableIsTheOneHandedOut) {
  CountedObject stand;
  struct : testing_support::Counted<IRunningObjectTable> {
    HRESULT STDMETHODCALLTYPE Register(DWORD, IUnknown *, IMoniker *, DWORD *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Revoke(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE IsRunning(IMoniker *) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetObject(IMoniker *, IUnknown **) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE NoteChangeTime(DWORD, FILETIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTimeOfLastChange(IMoniker *, FILETIME *) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumRunning(IEnumMoniker **) override { return E_NOTIMPL; }
  } desktopTable;
  platform::com::InstallRunningObjectTable(&desktopTable);
  IRunningObjectTable *handedOut = nullptr;
  ASSERT_EQ(GetRunningObjectTable(0, &handedOut), S_OK);
  EXPECT_EQ(handedOut, &desktopTable);
  EXPECT_EQ(name->IsRunning(context, nullptr, nullptr), S_OK) << "monikers ask the table handed out";
  handedOut->Release();
  platform::com::InstallRunningObjectTable(nullptr);
  EXPECT_EQ(desktopTable.references, 1u);
  ASSERT_EQ(GetRunningObjectTable(0, &handedOut), S_OK);
  EXPECT_EQ(handedOut, platform::com::ProcessRunningObjectTable());
  handedOut->Release();
}

TEST(BindContext, HoldsBoundObjectsAndParametersUntilReleased) {
  IBindCtx *context = nullptr;
  ASSERT_EQ(CreateBindCtx(0, &context), S_OK);
  CountedObject bound;
  CountedObject parameter;
  ASSERT_EQ(context->RegisterObjectBound(&bound), S_OK);
  EXPECT_EQ(bound.references, 2u);
  EXPECT_EQ(context->ReleaseBoundObjects(), S_OK);
  EXPECT_EQ(bound.references, 1u);
  EXPECT_EQ(context->RevokeObjectBound(&bound), MK_E_NOTBOUND);

  WCHAR key[] = L"Key";
  ASSERT_EQ(context->RegisterObjectParam(key, &parameter), S_OK);
  IUnknown *got = nullptr;
  ASSERT_EQ(context->GetObjectParam(key, &got), S_OK);
  EXPECT_EQ(got, &parameter);
  got->Release();
  EXPECT_EQ(context->RevokeObjectParam(key), S_OK);
  EXPECT_EQ(context->GetObjectParam(key, &got), E_FAIL);

  BIND_OPTS options{sizeof(BIND_OPTS), 0, 0, 0};
  ASSERT_EQ(context->GetBindOptions(&options), S_OK);
  EXPECT_EQ(options.grfMode, static_cast<DWORD>(STGM_READWRITE));
  options.dwTickCountDeadline = 500;
  ASSERT_EQ(context->SetBindOptions(&options), S_OK);
  BIND_OPTS read{sizeof(BIND_OPTS), 0, 0, 0};
  context->GetBindOptions(&read);
  EXPECT_EQ(read.dwTickCountDeadline, 500u);

  context->RegisterObjectBound(&bound);
  EXPECT_EQ(context->Release(), 0u);
  EXPECT_EQ(bound.references, 1u) << "released with the context";
  EXPECT_EQ(parameter.references, 1u);
}

}  // namespace
