// Owning interface references and BSTRs: reference counts after each
// operation, checked on an object that counts its references.
#include <atlbase.h>

#include <gtest/gtest.h>

#include <utility>

#include "debug/debug_output.h"

struct ITestAlpha : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Alpha() = 0;
};
__CRT_UUID_DECL(ITestAlpha, 0x83BED3CE, 0xDC8B, 0x49E6, 0xAF, 0xF4, 0x9D, 0x53, 0xBC, 0xAD, 0xDC, 0x2F)

struct ITestBeta : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Beta() = 0;
};
__CRT_UUID_DECL(ITestBeta, 0x165B61F2, 0x05FD, 0x4327, 0xA1, 0x37, 0xFF, 0x0E, 0xF5, 0x93, 0xAD, 0x43)

// An interface the test object does not give.
struct ITestGamma : public IUnknown {};
__CRT_UUID_DECL(ITestGamma, 0xC6E2F117, 0x996D, 0x4450, 0x9B, 0xAE, 0x94, 0xA7, 0x5C, 0x62, 0x4E, 0x23)

namespace {

using platform::debug::DebugOutputCapture;

// Counts its references and never deletes itself; starts with the test's own.
class CountingObject : public ITestAlpha, public ITestBeta {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **ppv) override {
    if (IsEqualIID(riid, __uuidof(IUnknown)) || IsEqualIID(riid, __uuidof(ITestAlpha))) {
      *ppv = static_cast<ITestAlpha *>(this);
    } else if (IsEqualIID(riid, __uuidof(ITestBeta))) {
      *ppv = static_cast<ITestBeta *>(this);
    } else {
      *ppv = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
  ULONG STDMETHODCALLTYPE Release() override { return --references; }
  HRESULT STDMETHODCALLTYPE Alpha() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE Beta() override { return S_FALSE; }

  ULONG references = 1;
};

class CComPtrTest : public testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(object.references, 1u) << "every reference taken in the test was given back";
    EXPECT_EQ(other.references, 1u);
  }
  CountingObject object;
  CountingObject other;
};

TEST_F(CComPtrTest, HoldsOneReferenceForItsLifetime) {
  {
    CComPtr<ITestAlpha> sp(&object);
    EXPECT_EQ(object.references, 2u);
    CComPtr<ITestAlpha> spCopy(sp);
    EXPECT_EQ(object.references, 3u);
    CComPtr<ITestAlpha> spMoved(std::move(spCopy));
    EXPECT_EQ(object.references, 3u) << "a move hands the reference over";
    EXPECT_FALSE(spCopy);
  }
  EXPECT_EQ(object.references, 1u);
}

TEST_F(CComPtrTest, OverwritingReleasesTheOldAndTakesTheNew) {
  CComPtr<ITestAlpha> sp(&object);
  sp = &other;
  EXPECT_EQ(object.references, 1u);
  EXPECT_EQ(other.references, 2u);
  sp = sp;
  EXPECT_EQ(other.references, 2u) << "assigning to itself changes nothing";
  CComPtr<ITestAlpha> spSecond(&object);
  sp = std::move(spSecond);
  EXPECT_EQ(other.references, 1u);
  EXPECT_EQ(object.references, 2u);
  sp = nullptr;
  EXPECT_EQ(object.references, 1u);
}

TEST_F(CComPtrTest, ReleaseEmptiesAndDetachAttachMoveTheReference) {
  CComPtr<ITestAlpha> sp(&object);
  sp.Release();
  EXPECT_TRUE(!sp);
  EXPECT_EQ(object.references, 1u);
  sp.Release();

  sp = &object;
  ITestAlpha *pRaw = sp.Detach();
  EXPECT_EQ(pRaw, &object);
  EXPECT_EQ(object.references, 2u) << "Detach keeps the reference alive";
  sp.Attach(pRaw);
  EXPECT_EQ(object.references, 2u) << "Attach takes it over without adding one";
}

TEST_F(CComPtrTest, AddressOfReceivesAnOutReferenceAndAssertsEmptiness) {
  CComPtr<ITestAlpha> sp;
  ASSERT_EQ(object.QueryInterface(__uuidof(ITestAlpha), reinterpret_cast<void **>(&sp)), S_OK);
  EXPECT_EQ(object.references, 2u);
  DebugOutputCapture capture;
  (void)&sp;
  EXPECT_NE(capture.Text().find(L"Assertion failed: p == "), std::wstring::npos)
      << testing::PrintToString(capture.Text());
}

TEST_F(CComPtrTest, QueryInterfaceAndCopyToHandOutReferences) {
  CComPtr<ITestAlpha> sp(&object);
  CComPtr<ITestBeta> spBeta;
  EXPECT_EQ(sp.QueryInterface(&spBeta), S_OK);
  EXPECT_EQ(spBeta->Beta(), S_FALSE);
  ITestAlpha *pCopy = nullptr;
  EXPECT_EQ(sp.CopyTo(&pCopy), S_OK);
  EXPECT_EQ(object.references, 4u);
  pCopy->Release();
  EXPECT_TRUE(sp.IsEqualObject(spBeta));
  EXPECT_FALSE(sp.IsEqualObject(static_cast<ITestAlpha *>(&other)));
}

TEST_F(CComPtrTest, QIPtrQueriesWhenGivenAnotherInterface) {
  CComPtr<ITestAlpha> spAlpha(&object);
  {
    CComQIPtr<ITestBeta> spBeta(spAlpha);
    ASSERT_TRUE(spBeta);
    EXPECT_EQ(static_cast<ITestBeta *>(spBeta), static_cast<ITestBeta *>(&object));
    EXPECT_EQ(object.references, 3u);

    CComQIPtr<ITestGamma> spGamma(spAlpha);
    EXPECT_FALSE(spGamma) << "an interface the object does not give leaves it empty";

    CComQIPtr<IUnknown> spUnknown(spAlpha);
    EXPECT_EQ(object.references, 4u) << "IUnknown pointers are taken as they are";

    spBeta = static_cast<IUnknown *>(static_cast<ITestAlpha *>(&other));
    EXPECT_EQ(other.references, 2u) << "assigning another interface queries it";
    EXPECT_EQ(object.references, 3u);
  }
  EXPECT_EQ(object.references, 2u);
}

TEST(CComBSTR, CopiesTextAndFreesIt) {
  CComBSTR cbsName(L"H.264 decoder");
  EXPECT_EQ(cbsName.Length(), 13u);
  EXPECT_EQ(SysStringLen(cbsName), 13u) << "a real BSTR with its prefix";
  CComBSTR cbsCopy(cbsName);
  EXPECT_NE(cbsCopy.m_str, cbsName.m_str);
  EXPECT_STREQ(cbsCopy, L"H.264 decoder");
  cbsCopy = L"other";
  EXPECT_STREQ(cbsCopy, L"other");
  CComBSTR cbsMoved(std::move(cbsCopy));
  EXPECT_TRUE(!cbsCopy);
  EXPECT_STREQ(cbsMoved, L"other");
}

TEST(CComBSTR, NullAndCountedConstruction) {
  CComBSTR cbsNull(static_cast<LPCOLESTR>(nullptr));
  EXPECT_TRUE(!cbsNull);
  EXPECT_EQ(cbsNull.Length(), 0u);
  CComBSTR cbsPart(3, L"decoder");
  EXPECT_STREQ(cbsPart, L"dec");
  CComBSTR cbsEmpty(0, L"decoder");
  EXPECT_TRUE(!cbsEmpty);
}

TEST(CComBSTR, ReceivesAnOutStringAndHandsItOn) {
  CComBSTR cbsVersion;
  *&cbsVersion = SysAllocString(L"1.0.0");
  EXPECT_STREQ(cbsVersion, L"1.0.0");
  BSTR bstrCopy = nullptr;
  EXPECT_EQ(cbsVersion.CopyTo(&bstrCopy), S_OK);
  EXPECT_STREQ(bstrCopy, L"1.0.0");
  SysFreeString(bstrCopy);
  BSTR bstrDetached = cbsVersion.Detach();
  EXPECT_TRUE(!cbsVersion);
  cbsVersion.Attach(bstrDetached);
  cbsVersion.Empty();
  EXPECT_TRUE(!cbsVersion);
}

TEST(CComBSTR, AppendKeepsEmbeddedNulls) {
  CComBSTR cbs(L"Test for ");
  EXPECT_EQ(cbs.Append(L"decoder"), S_OK);
  EXPECT_EQ(cbs.Append(L"\0x", 2), S_OK);
  EXPECT_EQ(cbs.Length(), 18u);
  EXPECT_EQ(cbs.m_str[16], L'\0');
  EXPECT_EQ(cbs.m_str[17], L'x');
  EXPECT_STREQ(cbs, L"Test for decoder");
  EXPECT_EQ(cbs.Append(nullptr, 3), E_INVALIDARG);
  EXPECT_EQ(cbs.Append(nullptr), S_OK);
  CComBSTR cbsCopy(cbs);
  EXPECT_EQ(cbsCopy.Length(), 18u) << "a copy keeps the embedded null";
}

}  // namespace
