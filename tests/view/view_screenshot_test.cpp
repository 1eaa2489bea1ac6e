// Screenshots of the dialog and of message boxes, taken with Qt's offscreen
// platform: the picture shows the frame, the caption and every control at
// its pixel rectangle.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <filesystem>

#include "dialogs/message_box.h"
#include "resource.h"
#include "view/screenshot.h"
#include "view_test_support.h"

using namespace view_testing;
using platform::view::Picture;

namespace {

// Dialog 102: 3-pixel frame, 23-pixel caption; template rectangles in
// dialog units become pixels with base units 6 x 13.
constexpr int kFrame = 3;
constexpr int kCaption = 23;
constexpr uint32_t kDialogColour = 0xFFF0F0F0;

int PixelsX(int units) { return (units * 6 + 2) / 4; }
int PixelsY(int units) { return (units * 13 + 4) / 8; }

// A point of the client area, in the picture.
uint32_t ClientPixel(const Picture &p, int x, int y) { return p.At(kFrame + x, kFrame + kCaption + y); }

std::string Hex(uint32_t v) {
  char text[16];
  snprintf(text, sizeof text, "0x%08x", v);
  return text;
}

class ViewScreenshot : public ::testing::Test {
 protected:
  void SetUp() override {
    dialog_ = ShowMainDialog();
    ASSERT_NE(dialog_, nullptr);
    ASSERT_TRUE(platform::view::TakeScreenshot(dialog_, picture_));
  }
  void TearDown() override { DestroyWindow(dialog_); }
  HWND dialog_ = nullptr;
  Picture picture_;
};

TEST_F(ViewScreenshot, HasTheWindowsSizeWithItsFrame) {
  EXPECT_EQ(picture_.width, 446);
  EXPECT_EQ(picture_.height, 274);
}

TEST_F(ViewScreenshot, IsNotBlank) {
  size_t differing = 0;
  for (uint32_t pixel : picture_.pixels) differing += pixel != kDialogColour;
  EXPECT_GT(differing, picture_.pixels.size() / 20) << "only " << differing << " pixels differ from the background";
}

// "Build graph" is at (150, 55) and 50 x 14 units: (225, 89) to (300, 112) in pixels.
TEST_F(ViewScreenshot, ShowsTheBuildGraphButtonAtItsRectangle) {
  const int left = PixelsX(150), top = PixelsY(55), right = left + PixelsX(50), bottom = top + PixelsY(14);
  const uint32_t face = ClientPixel(picture_, left + 4, top + 4);
  EXPECT_NE(face, kDialogColour) << "inside the button: " << Hex(face);
  EXPECT_EQ(ClientPixel(picture_, left - 3, top + 4), kDialogColour) << "just left of it";
  EXPECT_EQ(ClientPixel(picture_, right + 2, top + 4), kDialogColour) << "just right of it";
  EXPECT_NE(ClientPixel(picture_, left, (top + bottom) / 2), face) << "its border, on its left edge";
  size_t ink = 0;
  for (int y = top + 2; y < bottom - 2; ++y) {
    for (int x = left + 4; x < right - 4; ++x) ink += (ClientPixel(picture_, x, y) & 0xFF) < 0x80;
  }
  EXPECT_GT(ink, 20u) << "its caption's text";
}

TEST_F(ViewScreenshot, ShowsTheFileEditWhiteAndTheSeekBarsSelection) {
  const uint32_t edit = ClientPixel(picture_, PixelsX(65) + 100, PixelsY(19) + 5);
  EXPECT_EQ(edit, 0xFFFFFFFFu) << Hex(edit);
  HWND bar = GetDlgItem(dialog_, IDC_SEEK_BAR);
  SendMessageW(bar, TBM_SETRANGE, TRUE, MAKELONG(0, 100));
  SendMessageW(bar, TBM_SETSEL, TRUE, MAKELONG(50, 100));
  ASSERT_TRUE(platform::view::TakeScreenshot(dialog_, picture_));
  const int barLeft = PixelsX(7), middle = PixelsY(114) + PixelsY(13) / 2;
  const uint32_t inBand = ClientPixel(picture_, barLeft + 300, middle);
  const uint32_t beforeBand = ClientPixel(picture_, barLeft + 100, middle);
  EXPECT_NE(inBand, beforeBand) << "the selection band from 50 to 100: " << Hex(inBand) << " vs " << Hex(beforeBand);
  EXPECT_EQ(inBand & 0xFF, 0xD7u) << "drawn in the accent colour: " << Hex(inBand);
}

TEST_F(ViewScreenshot, ShowsTheProgramIconInTheCaption) {
  size_t coloured = 0;
  for (int y = kFrame + 4; y < kFrame + 20; ++y) {
    for (int x = kFrame + 5; x < kFrame + 21; ++x) coloured += picture_.At(x, y) != 0xFFFFFFFFu;
  }
  EXPECT_GT(coloured, 30u);
}

TEST_F(ViewScreenshot, SavesAPngThatReadsBackTheSame) {
  const auto path = std::filesystem::temp_directory_path() / ("quorvel-view-" + std::to_string(getpid()) + ".png");
  ASSERT_TRUE(platform::view::SaveScreenshot(dialog_, path.string()));
  QImage image(QString::fromStdString(path.string()));
  std::filesystem::remove(path);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), picture_.width);
  EXPECT_EQ(image.pixel(300, 150), picture_.At(300, 150));
}

TEST(ViewScreenshotFailures, AChildWindowOrANonWindowHasNone) {
  HWND dialog = ShowMainDialog();
  Picture picture;
  EXPECT_FALSE(platform::view::TakeScreenshot(GetDlgItem(dialog, IDC_LOAD), picture));
  EXPECT_FALSE(platform::view::TakeScreenshot(reinterpret_cast<HWND>(0x1234), picture));
  EXPECT_FALSE(platform::view::SaveScreenshot(dialog, "/nonexistent-folder/x.png"));
  DestroyWindow(dialog);
}

// The error icon is the red disc of the system's error icon.
TEST(ViewMessageBox, ShowsTheErrorIconAndItsTextLines) {
  Picture picture;
  platform::dialogs::SetMessageBoxHook([&](HWND box, const platform::dialogs::MessageBoxInfo &) {
    platform::view::TakeScreenshot(box, picture);
    EndDialog(box, IDOK);
  });
  MessageBoxW(nullptr, L"First line\nSecond line", L"Quorvel", MB_OK | MB_ICONERROR);
  platform::dialogs::SetMessageBoxHook({});
  ASSERT_GT(picture.width, 0);
  const int iconLeft = kFrame + PixelsX(7), iconTop = kFrame + kCaption + PixelsY(7);
  size_t red = 0;
  for (int y = iconTop; y < iconTop + 32; ++y) {
    for (int x = iconLeft; x < iconLeft + 32; ++x) {
      const uint32_t pixel = picture.At(x, y);
      red += ((pixel >> 16) & 0xFF) > 0xA0 && ((pixel >> 8) & 0xFF) < 0x80;
    }
  }
  EXPECT_GT(red, 200u) << "the error icon's red disc, 32 pixels wide, at the box's top left";
  auto inkInRows = [&](int fromY, int toY) {
    size_t ink = 0;
    for (int y = fromY; y < toY; ++y) {
      for (int x = iconLeft + 50; x < picture.width - 10; ++x) ink += (picture.At(x, y) & 0xFF) < 0x80;
    }
    return ink;
  };
  const int textTop = kFrame + kCaption + PixelsY(7);
  EXPECT_GT(inkInRows(textTop, textTop + 13), 10u) << "the first line";
  EXPECT_GT(inkInRows(textTop + 13, textTop + 26), 10u) << "the second line";
}

}  // namespace
