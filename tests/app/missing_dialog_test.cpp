// A program whose dialog cannot be created (here: no dialog template in the
// module): the modal run returns -1 and the process still ends with 0.
#include <windows.h>

#include <gtest/gtest.h>

#include "MainDialog.h"

namespace {

TEST(ProcessEntryWithoutDialog, TheModalRunGivesMinusOneAndTheExitCodeIsZero) {
  ASSERT_EQ(CoInitialize(nullptr), S_OK);
  {
    CMainDialog dlg;
    EXPECT_EQ(dlg.DoModal(NULL), -1);
  }
  CoUninitialize();
  wchar_t commandLine[] = L"";
  EXPECT_EQ(wWinMain(GetModuleHandleW(nullptr), nullptr, commandLine, SW_SHOW), 0);
}

}  // namespace
