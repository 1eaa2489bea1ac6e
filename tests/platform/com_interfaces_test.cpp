// Interface identifiers and vtable slots of the COM and media-graph headers,
// checked against the values Windows documents.
#include <dshow.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <iomanip>
#include <sstream>
#include <string>

#include "vtable_slot.h"

namespace {

std::string Text(REFGUID guid) {
  std::ostringstream text;
  text << std::hex << std::uppercase << std::setfill('0') << std::setw(8) << guid.Data1 << '-' << std::setw(4)
       << guid.Data2 << '-' << std::setw(4) << guid.Data3 << '-';
  for (int i = 0; i < 8; ++i) text << std::setw(2) << int{guid.Data4[i]} << (i == 1 ? "-" : "");
  return text.str();
}

struct KnownId {
  const char *name;
  const GUID &defined;  // the IID_/CLSID_ constant the platform library defines
  const GUID &uuidof;   // __uuidof of the interface (the constant again for classes)
  const char *documented;
};

TEST(ComInterfaces, IdentifiersHaveTheirDocumentedValues) {
  const KnownId ids[] = {
      {"IUnknown", IID_IUnknown, __uuidof(IUnknown), "00000000-0000-0000-C000-000000000046"},
      {"IClassFactory", IID_IClassFactory, __uuidof(IClassFactory), "00000001-0000-0000-C000-000000000046"},
      {"IDispatch", IID_IDispatch, __uuidof(IDispatch), "00020400-0000-0000-C000-000000000046"},
      {"IPersist", IID_IPersist, __uuidof(IPersist), "0000010C-0000-0000-C000-000000000046"},
      {"IPersistStream", IID_IPersistStream, __uuidof(IPersistStream), "00000109-0000-0000-C000-000000000046"},
      {"IMoniker", IID_IMoniker, __uuidof(IMoniker), "0000000F-0000-0000-C000-000000000046"},
      {"IEnumMoniker", IID_IEnumMoniker, __uuidof(IEnumMoniker), "00000102-0000-0000-C000-000000000046"},
      {"IRunningObjectTable", IID_IRunningObjectTable, __uuidof(IRunningObjectTable),
       "00000010-0000-0000-C000-000000000046"},
      {"IFilterGraph", IID_IFilterGraph, __uuidof(IFilterGraph), "56A8689F-0AD4-11CE-B03A-0020AF0BA770"},
      {"IGraphBuilder", IID_IGraphBuilder, __uuidof(IGraphBuilder), "56A868A9-0AD4-11CE-B03A-0020AF0BA770"},
      {"IBaseFilter", IID_IBaseFilter, __uuidof(IBaseFilter), "56A86895-0AD4-11CE-B03A-0020AF0BA770"},
      {"IPin", IID_IPin, __uuidof(IPin), "56A86891-0AD4-11CE-B03A-0020AF0BA770"},
      {"IEnumFilters", IID_IEnumFilters, __uuidof(IEnumFilters), "56A86893-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMediaEvent", IID_IMediaEvent, __uuidof(IMediaEvent), "56A868B6-0AD4-11CE-B03A-0020AF0BA770"},
      {"IMediaEventEx", IID_IMediaEventEx, __uuidof(IMediaEventEx), "56A868C0-0AD4-11CE-B03A-0020AF0BA770"},
      {"CLSID_FilterGraph", CLSID_FilterGraph, CLSID_FilterGraph, "E436EBB3-524F-11CE-9F53-0020AF0BA770"},
  };
  for (const KnownId &id : ids) {
    EXPECT_EQ(Text(id.defined), id.documented) << id.name;
    EXPECT_TRUE(IsEqualGUID(id.defined, id.uuidof)) << id.name << ": __uuidof gives " << Text(id.uuidof);
  }
}

TEST(ComInterfaces, UuidofNamesTheInterfaceOfPointersAndExpressions) {
  IGraphBuilder *pGraph = nullptr;
  const IMediaEventEx *pEvents = nullptr;
  EXPECT_EQ(&__uuidof(pGraph), &__uuidof(IGraphBuilder));
  EXPECT_EQ(&__uuidof(*pGraph), &__uuidof(IGraphBuilder));
  EXPECT_EQ(&__uuidof(pEvents), &__uuidof(IMediaEventEx));
  static_assert(__uuidof(IUnknown).Data4[7] == 0x46, "__uuidof is a constant expression");
}

TEST(ComInterfaces, GuidComparison) {
  GUID copy;
  memcpy(&copy, &IID_IGraphBuilder, sizeof copy);
  EXPECT_TRUE(IsEqualGUID(copy, IID_IGraphBuilder));
  EXPECT_TRUE(copy == IID_IGraphBuilder);
  copy.Data4[7] ^= 1;
  EXPECT_FALSE(IsEqualIID(copy, IID_IGraphBuilder));
  EXPECT_TRUE(copy != IID_IGraphBuilder);
  EXPECT_EQ(sizeof(GUID), 16u);
}

TEST(ComInterfaces, MethodsSitInTheirWindowsVtableSlots) {
  ExpectSlots({
      {"IUnknown::QueryInterface", SlotOf(static_cast<HRESULT (IUnknown::*)(REFIID, void **)>(&IUnknown::QueryInterface)), 0},
      {"IUnknown::Release", SlotOf(&IUnknown::Release), 2},
      {"IClassFactory::LockServer", SlotOf(&IClassFactory::LockServer), 4},
      {"IDispatch::Invoke", SlotOf(&IDispatch::Invoke), 6},
      {"IPersistStream::GetSizeMax", SlotOf(&IPersistStream::GetSizeMax), 7},
      {"IMoniker::BindToObject", SlotOf(&IMoniker::BindToObject), 8},
      {"IMoniker::IsEqual", SlotOf(&IMoniker::IsEqual), 13},
      {"IMoniker::IsSystemMoniker", SlotOf(&IMoniker::IsSystemMoniker), 22},
      {"IEnumMoniker::Clone", SlotOf(&IEnumMoniker::Clone), 6},
      {"IRunningObjectTable::Register", SlotOf(&IRunningObjectTable::Register), 3},
      {"IRunningObjectTable::Revoke", SlotOf(&IRunningObjectTable::Revoke), 4},
      {"IRunningObjectTable::EnumRunning", SlotOf(&IRunningObjectTable::EnumRunning), 9},
      {"IFilterGraph::EnumFilters", SlotOf(&IFilterGraph::EnumFilters), 5},
      {"IFilterGraph::SetDefaultSyncSource", SlotOf(&IFilterGraph::SetDefaultSyncSource), 10},
      {"IGraphBuilder::RenderFile", SlotOf(&IGraphBuilder::RenderFile), 13},
      {"IGraphBuilder::ShouldOperationContinue", SlotOf(&IGraphBuilder::ShouldOperationContinue), 17},
      {"IMediaEvent::GetEvent", SlotOf(&IMediaEvent::GetEvent), 8},
      {"IMediaEvent::FreeEventParams", SlotOf(&IMediaEvent::FreeEventParams), 12},
      {"IMediaEventEx::SetNotifyWindow", SlotOf(&IMediaEventEx::SetNotifyWindow), 13},
      {"IMediaEventEx::GetNotifyFlags", SlotOf(&IMediaEventEx::GetNotifyFlags), 15},
  });
}

}  // namespace

TEST(NullGuid, IsAllZerosAndEqualsAValueInitialisedGuid) {
  const GUID zero{};
  EXPECT_TRUE(IsEqualGUID(GUID_NULL, zero));
  EXPECT_FALSE(IsEqualGUID(GUID_NULL, IID_IUnknown));
}
