// GetOpenFileNameW on the screen: Qt's own file dialog, set up from the
// program's OPENFILENAMEW, answered by a tester's choice.
#include <windows.h>

#include <commdlg.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <filesystem>
#include <fstream>
#include <functional>

#include "text/utf.h"
#include "view_test_support.h"

using namespace view_testing;

namespace {

// Calls `act` with the file dialog once it is up.
void WhenTheFileDialogIsUp(std::function<void(QFileDialog &)> act) {
  auto *poll = new QTimer;
  QObject::connect(poll, &QTimer::timeout, [poll, act] {
    for (QWidget *widget : QApplication::topLevelWidgets()) {
      auto *dialog = qobject_cast<QFileDialog *>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      poll->stop();
      poll->deleteLater();
      act(*dialog);
      return;
    }
  });
  poll->start(5);
}

class ViewFileDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() / ("quorvel-view-ofn-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder_);
    std::ofstream(folder_ / "clip.mp4") << "x";
    startDir_ = std::filesystem::current_path();
    dialog_ = ShowMainDialog();
    path_ = platform::text::FromUtf8((folder_ / "clip.mp4").string());
    wcscpy(file_, path_.c_str());
    ofn_.lStructSize = sizeof ofn_;
    ofn_.hwndOwner = dialog_;
    ofn_.lpstrFilter = L"Media files\0*.mp4;*.mkv\0All files\0*.*\0";
    ofn_.nFilterIndex = 2;
    ofn_.lpstrFile = file_;
    ofn_.nMaxFile = MAX_PATH;
    ofn_.lpstrTitle = L"Open a clip";
    ofn_.Flags = OFN_FILEMUSTEXIST;
  }
  void TearDown() override {
    DestroyWindow(dialog_);
    std::filesystem::current_path(startDir_);
    std::filesystem::remove_all(folder_);
  }
  std::filesystem::path folder_, startDir_;
  HWND dialog_ = nullptr;
  std::wstring path_;
  OPENFILENAMEW ofn_{};
  wchar_t file_[MAX_PATH] = L"";
};

TEST_F(ViewFileDialog, ShowsTheRequestAndReturnsTheChosenFile) {
  QString title, directory, selectedFilter;
  QStringList filters, selected;
  bool native = true, ownerEnabled = true;
  WhenTheFileDialogIsUp([&](QFileDialog &d) {
    title = d.windowTitle();
    directory = d.directory().absolutePath();
    filters = d.nameFilters();
    selectedFilter = d.selectedNameFilter();
    selected = d.selectedFiles();
    native = !d.testOption(QFileDialog::DontUseNativeDialog);
    ownerEnabled = IsWindowEnabled(dialog_);
    static_cast<QDialog &>(d).accept();  // as the Open button does
  });
  ASSERT_TRUE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(title, QStringLiteral("Open a clip"));
  EXPECT_EQ(directory.toStdString(), folder_.string());
  EXPECT_EQ(filters, (QStringList{QStringLiteral("Media files (*.mp4 *.mkv)"), QStringLiteral("All files (*.*)")}));
  EXPECT_EQ(selectedFilter, QStringLiteral("All files")) << "nFilterIndex 2, shown without its patterns";
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front().toStdString(), (folder_ / "clip.mp4").string()) << "the name lpstrFile gave";
  EXPECT_FALSE(native);
  EXPECT_FALSE(ownerEnabled) << "the owner is disabled while the dialog is up";
  EXPECT_TRUE(IsWindowEnabled(dialog_));
  EXPECT_EQ(std::wstring(file_), path_);
  EXPECT_EQ(ofn_.nFilterIndex, 2u);
  EXPECT_EQ(std::filesystem::current_path(), folder_);
}

TEST_F(ViewFileDialog, CancelLeavesTheBuffer) {
  wcscpy(file_, L"");
  WhenTheFileDialogIsUp([](QFileDialog &d) { d.reject(); });
  EXPECT_FALSE(GetOpenFileNameW(&ofn_));
  EXPECT_EQ(CommDlgExtendedError(), 0u);
  EXPECT_STREQ(file_, L"");
}

}  // namespace
