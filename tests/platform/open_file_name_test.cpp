// GetOpenFileNameW as the program sees it, answered through the file-dialog
// hook as a tester would answer the dialog.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>

#include "commdlg/file_dialog.h"
#include "dialogs/message_box.h"
#include "text/utf.h"

using platform::commdlg::FileChoice;
using platform::commdlg::FileChoiceReply;
using platform::commdlg::OpenFileRequest;

namespace {

const wchar_t kFilter[] = L"Media files (*.mp4;*.mkv)\0*.mp4;*.mkv\0Filter graphs\0*.grf\0All files\0*.*\0";

class OpenFileName : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("quorvel-ofn-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "clip.mp4") << "x";
    char cwd[PATH_MAX];
    ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
    startDir_ = cwd;
    ofn_.lStructSize = sizeof ofn_;
    ofn_.lpstrFilter = kFilter;
    ofn_.nFilterIndex = 2;
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = MAX_PATH;
    ofn_.lpstrFileTitle = title_;
    ofn_.nMaxFileTitle = MAX_PATH;
    ofn_.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;
  }
  void TearDown() override {
    platform::commdlg::SetFileDialogHook({});
    platform::dialogs::SetMessageBoxHook({});
    std::filesystem::current_path(startDir_);
    std::filesystem::remove_all(folder_);
  }
  // Each answer in turn: a path (chosen with filter 0-based index 2) or empty for Cancel.
  void Answer(std::vector<std::wstring> answers) {
    answers_ = std::move(answers);
    platform::commdlg::SetFileDialogHook([this](const OpenFileRequest &request, FileChoiceReply reply) {
      const std::wstring answer = requests_.size() < answers_.size() ? answers_[requests_.size()] : L"";
      requests_.push_back(request);
      if (answer.empty()) {
        reply(std::nullopt);
      } else {
        reply(FileChoice{answer, 2});
      }
    });
  }
  std::wstring In(const char *name) const { return platform::text::FromUtf8((folder_ / name).string()); }

  std::filesystem::path folder_, startDir_;
  OPENFILENAMEW ofn_{};
  wchar_t file_[MAX_PATH] = L"";
  wchar_t title_[MAX_PATH] = L"";
  std::vector<std::wstring> answers_;
  std::vector<OpenFileRequest> requests_;
};

TEST_F(OpenFileName, TheDialogIsAskedWhatTheStructureSays) {
  const std::wstring initial = In("start.mp4");
  wcscpy(file_, initial.c_str());
  ofn_.lpstrTitle = L"Open a clip";
  ofn_.lpstrDefExt = L"mp4";
  Answer({});
  GetOpenFileNameW(&ofn_);
  ASSERT_EQ(requests_.size(), 1u);
  const OpenFileRequest &r = requests_[0];
  EXPECT_EQ(r.title, L"Open a clip");
  ASSERT_EQ(r.filters.size(), 3u);
  EXPECT_EQ(r.filters[0].description, L"Media files (*.mp4;*.mkv)");
  EXPECT_EQ(r.filters[0].patterns, (std::vector<std::wstring>{L"*.mp4", L"*.mkv"}));
  EXPECT_EQ(r.filters[2].patterns, (std::vector<std::wstring>{L"*.*"}));
  EXPECT_EQ(r.filterIndex, 1u) << "nFilterIndex counts from 1";
  EXPECT_EQ(r.folder, platform::text::FromUtf8(folder_.string())) << "the folder of lpstrFile";
  EXPECT_EQ(r.fileName, L"start.mp4");
  EXPECT_TRUE(r.fileMustExist);
  EXPECT_EQ(r.defaultExtension, L"mp4");
}

TEST_F(OpenFileName, DefaultsWhenTheStructureLeavesThingsOut) {
  ofn_.nFilterIndex = 0;
  ofn_.lpstrInitialDir = L"/tmp";
  ofn_.Flags = OFN_FILEMUSTEXIST;
  Answer({});
  GetOpenFileNameW(&ofn_);
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_EQ(requests_[0].title, L"Open");
  EXPECT_EQ(requests_[0].filterIndex, 0u);
  EXPECT_EQ(requests_[0].folder, L"/tmp") << "lpstrInitialDir when lpstrFile names no folder";
  EXPECT_TRUE(requests_[0].pathMustExist) << "OFN_FILEMUSTEXIST implies OFN_PATHMUSTEXIST";
}

TEST_F(OpenFileName, AChosenFileFillsTheStructureAndBecomesTheCurrentFolder) {
  const std::wstring chosen = In("clip.mp4");
  Answer({chosen});
  ASSERT_TRUE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_EQ(std::wstring(file_), chosen);
  EXPECT_EQ(ofn_.nFileOffset, chosen.size() - 8);
  EXPECT_EQ(ofn_.nFileExtension, chosen.size() - 3);
  EXPECT_STREQ(title_, L"clip.mp4");
  EXPECT_EQ(ofn_.nFilterIndex, 3u);
  EXPECT_EQ(std::filesystem::current_path(), folder_);
}

TEST_F(OpenFileName, NoChangeDirKeepsTheCurrentFolder) {
  ofn_.Flags |= OFN_NOCHANGEDIR;
  Answer({In("clip.mp4")});
  ASSERT_TRUE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(std::filesystem::current_path(), startDir_);
}

TEST_F(OpenFileName, CancelReturnsFalseAndLeavesTheBuffer) {
  wcscpy(file_, L"unchanged");
  ofn_.nFilterIndex = 2;
  Answer({});
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u) << "a cancel is no error";
  EXPECT_STREQ(file_, L"unchanged");
  EXPECT_EQ(ofn_.nFilterIndex, 2u);
}

TEST_F(OpenFileName, APathLongerThanTheBufferIsBufferTooSmall) {
  const std::wstring chosen = In("clip.mp4");
  ofn_.nMaxFile = static_cast<DWORD>(chosen.size());  // no room for the terminating null
  Answer({chosen});
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  EXPECT_EQ(static_cast<size_t>(file_[0]), chosen.size() + 1) << "the size needed, in characters";
}

TEST_F(OpenFileName, TheDefaultExtensionIsAddedToANameWithout) {
  ofn_.lpstrDefExt = L"mp4";
  Answer({In("clip")});
  ASSERT_TRUE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(std::wstring(file_), In("clip.mp4"));
  EXPECT_FALSE(ofn_.Flags & OFN_EXTENSIONDIFFERENT);
}

TEST_F(OpenFileName, AMissingFileIsRefusedWithAMessageAndAskedAgain) {
  std::wstring said;
  platform::dialogs::SetMessageBoxHook([&](HWND box, const platform::dialogs::MessageBoxInfo &info) {
    said = info.text;
    EndDialog(box, IDOK);
  });
  Answer({In("missing.mp4"), In("clip.mp4")});
  ASSERT_TRUE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(said, In("missing.mp4") + L"\nFile not found.\nCheck the file name and try again.");
  EXPECT_EQ(requests_.size(), 2u);
  EXPECT_EQ(std::wstring(file_), In("clip.mp4"));
}

TEST_F(OpenFileName, AMissingFolderIsRefusedWithPathMustExist) {
  std::wstring said;
  platform::dialogs::SetMessageBoxHook([&](HWND box, const platform::dialogs::MessageBoxInfo &info) {
    said = info.text;
    EndDialog(box, IDOK);
  });
  ofn_.Flags = OFN_PATHMUSTEXIST;
  Answer({In("nowhere/new.mp4"), In("new.mp4")});
  ASSERT_TRUE(GetOpenFileNameW(&ofn_)) << "a new file in an existing folder is taken";
  EXPECT_EQ(said, In("nowhere/new.mp4") + L"\nPath does not exist.\nCheck the path and try again.");
}

TEST_F(OpenFileName, BadStructuresAreRefused) {
  ofn_.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
  ofn_.lStructSize = sizeof ofn_;
  ofn_.lpstrFile = nullptr;
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_INITIALIZATION));
  EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400W, 136u) << "the Windows 2000 size: up to lpTemplateName";
  EXPECT_EQ(sizeof(OPENFILENAMEW), 152u);
}

// The dialog runs a message loop: the owner is disabled, and timers and
// posted messages keep flowing until the answer comes (here from a timer).
TEST_F(OpenFileName, TheOwnerIsDisabledAndTimersFlowWhileTheDialogIsUp) {
  HWND owner = CreateWindowExW(0, L"Static", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                               nullptr);
  static FileChoiceReply pending;
  static int ticks;
  static bool ownerDisabled;
  ticks = 0;
  platform::commdlg::SetFileDialogHook([](const OpenFileRequest &request, FileChoiceReply reply) {
    pending = std::move(reply);
    ownerDisabled = !IsWindowEnabled(request.owner);
    SetTimer(nullptr, 0, 5, [](HWND, UINT, UINT_PTR id, DWORD) {
      if (++ticks < 3) return;
      KillTimer(nullptr, id);
      std::exchange(pending, {})(std::nullopt);
    });
  });
  ofn_.hwndOwner = owner;
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(ticks, 3);
  EXPECT_TRUE(ownerDisabled);
  EXPECT_TRUE(IsWindowEnabled(owner));
  DestroyWindow(owner);
}

}  // namespace
