// The module classes and the module state.
#include <atlbase.h>

#include <gtest/gtest.h>

#include <thread>

namespace {

class CTestModule : public CAtlExeModuleT<CTestModule> {};

TEST(AtlModule, ModuleObjectRegistersItselfAndCountsLocks) {
  ASSERT_EQ(_pAtlModule, nullptr);
  {
    CTestModule module;
    EXPECT_EQ(_pAtlModule, &module);
    EXPECT_EQ(module.Lock(), 1);
    EXPECT_EQ(module.Lock(), 2);
    EXPECT_EQ(module.Unlock(), 1);
    EXPECT_EQ(module.GetLockCount(), 1);
  }
  EXPECT_EQ(_pAtlModule, nullptr);
}

TEST(AtlModule, InitializeComIsCoInitialize) {
  std::thread([] {
    CTestModule module;
    EXPECT_EQ(module.InitializeCom(), S_OK);
    EXPECT_EQ(module.InitializeCom(), S_FALSE) << "the thread has COM already";
    module.UninitializeCom();
    module.UninitializeCom();
    EXPECT_EQ(CoInitialize(nullptr), S_OK) << "both were balanced";
    CoUninitialize();
  }).join();
}

TEST(AtlModule, ResourcesComeFromTheProgram) {
  EXPECT_EQ(_AtlBaseModule.GetModuleInstance(), GetModuleHandleW(nullptr));
  EXPECT_EQ(_AtlBaseModule.GetResourceInstance(), GetModuleHandleW(nullptr));
  HINSTANCE hOther = reinterpret_cast<HINSTANCE>(0x10000);
  HINSTANCE hBefore = _AtlBaseModule.SetResourceInstance(hOther);
  EXPECT_EQ(hBefore, GetModuleHandleW(nullptr));
  EXPECT_EQ(_AtlBaseModule.GetResourceInstance(), hOther);
  _AtlBaseModule.SetResourceInstance(hBefore);
}

class AtlWinModuleTest : public testing::Test {
 protected:
  CAtlWinModule winModule;
  int firstWindow = 0;
  int secondWindow = 0;
};

TEST_F(AtlWinModuleTest, CreationRecordsComeBackLatestFirstOnTheirThread) {
  _AtlCreateWndData first, second;
  winModule.AddCreateWndData(&first, &firstWindow);
  winModule.AddCreateWndData(&second, &secondWindow);
  EXPECT_EQ(first.m_dwThreadID, GetCurrentThreadId());
  EXPECT_EQ(winModule.ExtractCreateWndData(), &secondWindow);
  EXPECT_EQ(winModule.ExtractCreateWndData(), &firstWindow);
  EXPECT_EQ(winModule.ExtractCreateWndData(), nullptr);
}

TEST_F(AtlWinModuleTest, AThreadNeverTakesAnotherThreadsRecord) {
  _AtlCreateWndData mine, theirs;
  winModule.AddCreateWndData(&mine, &firstWindow);
  void *pTakenThere = &firstWindow;
  std::thread([&] {
    winModule.AddCreateWndData(&theirs, &secondWindow);
    pTakenThere = winModule.ExtractCreateWndData();
    EXPECT_EQ(winModule.ExtractCreateWndData(), nullptr) << "the other thread's record stays";
  }).join();
  EXPECT_EQ(pTakenThere, &secondWindow);
  EXPECT_EQ(winModule.ExtractCreateWndData(), &firstWindow);
}

TEST_F(AtlWinModuleTest, TermEndsTheSupportOnce) {
  EXPECT_NE(winModule.cbSize, 0u);
  winModule.Term();
  EXPECT_EQ(winModule.cbSize, 0u);
  winModule.Term();
}

TEST(AtlWinModule, ProgramStateIsReady) { EXPECT_NE(_AtlWinModule.cbSize, 0u); }

}  // namespace
