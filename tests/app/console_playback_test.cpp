// The test console driven as a tester drives it, on real graphs of the
// generated clips with the decoder under test registered: building and the
// title, the frame buttons and the read-out, the settings controls, and
// play, the end of the file and stop.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <regex>
#include <string>

#include "MainDialog.h"
#include "debug_assertions.h"
#include "dialog_driver.h"
#include "input/input.h"
#include "message_box_answerer.h"
#include "private_registry.h"
#include "resource.h"
#include "server_entry.h"
#include "view/screenshot.h"
#include "view/video_surface.h"

// The platform library's own registration of its built-in classes.
STDAPI DllRegisterServer(void);

using testing_support::CallServerEntry;
using testing_support::Hex;
using testing_support::MessageBoxAnswerer;
using testing_support::RunWithTester;
using testing_support::WaitFor;

namespace {

std::wstring Clip(const char *name) { return (std::filesystem::path(QUORVEL_SAMPLES_DIR) / name).wstring(); }

std::wstring TextOf(HWND window) {
  wchar_t text[512] = L"";
  GetWindowTextW(window, text, 512);
  return text;
}
std::wstring ReadOut(HWND dialog) { return TextOf(GetDlgItem(dialog, IDC_POSITION)); }
// The position the read-out shows, in seconds; -1 without one.
double Seconds(const std::wstring &readOut) { return readOut.empty() ? -1 : std::wcstod(readOut.c_str(), nullptr); }

void Press(HWND dialog, int id) { platform::input::Click(GetDlgItem(dialog, id)); }

// Names the file and presses "Build graph"; true once the graph's controls
// are on.
bool BuildFrom(HWND dialog, const std::wstring &file) {
  SetWindowTextW(GetDlgItem(dialog, IDC_FILE), file.c_str());
  Press(dialog, IDC_BUILD_GRAPH);
  return WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_PLAY)) != FALSE; });
}

class Console : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hex(CoInitialize(nullptr)), Hex(S_OK));
    ASSERT_EQ(Hex(DllRegisterServer()), Hex(S_OK)) << "the platform's classes";
    ASSERT_EQ(Hex(CallServerEntry(QUORVEL_DECODER_LIBRARY, "DllRegisterServer")), Hex(S_OK)) << "the decoder";
  }
  void TearDown() override { CoUninitialize(); }

  // Runs the dialog with the tester; the tester closes it.
  void Test(const std::function<void(HWND dialog)> &tester) {
    CMainDialog dlg;
    const auto run = RunWithTester([&] { return dlg.DoModal(NULL); },
                                   [&](HWND dialog) {
                                     tester(dialog);
                                     WaitFor([&] { return GetForegroundWindow() == dialog; });
                                     platform::input::PressKey(VK_ESCAPE);
                                   });
    EXPECT_TRUE(run.testerFinished);
  }
  std::vector<std::wstring> BoxTexts() const {
    std::vector<std::wstring> texts;
    for (const auto &box : answerer.Boxes()) texts.push_back(box.text);
    return texts;
  }

  testing_support::PrivateRegistry registry;
  MessageBoxAnswerer answerer;
};

TEST_F(Console, BuildingTitlesTheDialogWithTheDecoderAndShowsTheStart) {
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("clip-h264.m4v")));
    const std::wregex title(LR"(Test for Pellonex H264 Decoder \[[RD]64 v\.[0-9.]+ .+\])");
    EXPECT_TRUE(std::regex_match(TextOf(dialog), title)) << testing::PrintToString(TextOf(dialog));
    EXPECT_EQ(ReadOut(dialog), L"0.0000000 from 2.0000000");
    for (int id = IDC_THREADS; id <= IDC_STOP; ++id) EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, id))) << id;
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>());
}

TEST_F(Console, FrameButtonsStepOneFrameAndWrapAtTheEnds) {
  const struct {
    int button;
    const wchar_t *readOut;
  } steps[] = {
      {IDC_NEXT_FRAME, L"0.0400000 from 2.0000000"},
      {IDC_NEXT_FRAME, L"0.0800000 from 2.0000000"},
      {IDC_PREV_FRAME, L"0.0400000 from 2.0000000"},
      {IDC_CURRENT_FRAME, L"0.0400000 from 2.0000000"},
      {IDC_PREV_FRAME, L"0.0000000 from 2.0000000"},
      {IDC_PREV_FRAME, L"1.9600000 from 2.0000000"},  // from the first frame to the last
      {IDC_NEXT_FRAME, L"2.0000000 from 2.0000000"},  // landing exactly on the duration stays there
      {IDC_NEXT_FRAME, L"0.0000000 from 2.0000000"},  // past the duration: the start
  };
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("clip-h264.m4v")));
    for (const auto &step : steps) {
      Press(dialog, step.button);
      EXPECT_TRUE(WaitFor([&] { return ReadOut(dialog) == step.readOut; }))
          << "after button " << step.button << " expected " << testing::PrintToString(std::wstring(step.readOut))
          << ", read-out " << testing::PrintToString(ReadOut(dialog));
    }
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>());
}

// Builds in turn in one run: a build that fails, or renders only part of the
// file, reports its code, keeps the last title and turns the graph's
// controls off; the next good build replaces the graph.
TEST_F(Console, EachBuildReportsItsResultAndAFailedOneKeepsTheLastTitle) {
  const struct {
    const char *clip;
    const wchar_t *code;  // the box's code line; null: no box
  } builds[] = {
      {"clip-h264.m4v", nullptr},
      {"clip-h264-opus.mkv", L"Error 0x40258"},  // the sound is not rendered
      {"no-such-clip.mp4", L"Error 0x80070002"},
      {"clip-h264-annexb.ts", nullptr},
  };
  Test([&](HWND dialog) {
    std::wstring title;
    for (const auto &build : builds) {
      SCOPED_TRACE(build.clip);
      const size_t boxesBefore = answerer.Boxes().size();
      if (!build.code) {
        ASSERT_TRUE(BuildFrom(dialog, Clip(build.clip)));
        EXPECT_EQ(ReadOut(dialog).rfind(L"0.0000000 from ", 0), 0u) << testing::PrintToString(ReadOut(dialog));
        title = TextOf(dialog);
        continue;
      }
      SetWindowTextW(GetDlgItem(dialog, IDC_FILE), Clip(build.clip).c_str());
      Press(dialog, IDC_BUILD_GRAPH);
      ASSERT_TRUE(WaitFor([&] { return answerer.Boxes().size() == boxesBefore + 1; }));
      const std::wstring box = answerer.Boxes().back().text;
      EXPECT_EQ(box.rfind(L"Can't build graph", 0), 0u) << testing::PrintToString(box);
      EXPECT_NE(box.find(build.code), std::wstring::npos) << testing::PrintToString(box);
      EXPECT_EQ(TextOf(dialog), title);
      EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_PLAY)));
      WaitFor([&] { return GetForegroundWindow() == dialog; });
    }
  });
}

TEST_F(Console, TheSeekBarSeeksWhileRunningAndPlayingGoesOn) {
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("bench-h264-720p.mp4")));  // a minute long
    Press(dialog, IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return Seconds(ReadOut(dialog)) > 0; }));
    HWND bar = GetDlgItem(dialog, IDC_SEEK_BAR);
    RECT channel{};
    GetClientRect(bar, &channel);
    for (int page = 0; page < 3; ++page) {
      ASSERT_TRUE(platform::input::ClickAt(bar, {channel.right - 2, channel.bottom / 2}));  // a fifth on
    }
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(bar, TBM_GETPOS, 0, 0) == 600; }));
    EXPECT_TRUE(WaitFor([&] { return Seconds(ReadOut(dialog)) >= 36; })) << testing::PrintToString(ReadOut(dialog));
    EXPECT_TRUE(WaitFor([&] { return Seconds(ReadOut(dialog)) >= 36.5; })) << "still running";
    EXPECT_GE(SendMessageW(bar, TBM_GETSELEND, 0, 0), 600) << "the selection band follows";
    Press(dialog, IDC_STOP);
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>());
}

TEST_F(Console, PlayAndPauseWithoutAGraphSaySoAndStopSaysNothing) {
  Test([&](HWND dialog) {
    for (int id : {IDC_PLAY, IDC_PAUSE, IDC_STOP}) {
      SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
      WaitFor([&] { return GetForegroundWindow() == dialog; });
    }
  });
  ASSERT_EQ(BoxTexts().size(), 2u);
  for (const std::wstring &text : BoxTexts()) EXPECT_EQ(text.rfind(L"Graph not exist", 0), 0u) << testing::PrintToString(text);
}

TEST_F(Console, PlayToTheEndSaysSoOnceRewindsAndPlaysAgainFromTheStart) {
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("clip-h264.m4v")));
    Press(dialog, IDC_PREV_FRAME);  // the last frame
    ASSERT_TRUE(WaitFor([&] { return ReadOut(dialog) == L"1.9600000 from 2.0000000"; }));
    Press(dialog, IDC_PLAY);
    ASSERT_TRUE(WaitFor([&] { return !answerer.Boxes().empty(); }));
    EXPECT_TRUE(WaitFor([&] { return ReadOut(dialog) == L"0.0000000 from 2.0000000"; })) << "rewound";

    WaitFor([&] { return GetForegroundWindow() == dialog; });
    Press(dialog, IDC_PLAY);
    EXPECT_TRUE(WaitFor([&] { return ReadOut(dialog) != L"0.0000000 from 2.0000000"; })) << "plays again";
    Press(dialog, IDC_STOP);
    EXPECT_TRUE(WaitFor([&] { return ReadOut(dialog) == L"0.0000000 from 2.0000000"; })) << "stop rewinds";
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, IDC_SEEK_BAR), TBM_GETSELEND, 0, 0), 0);
  });
  ASSERT_EQ(answerer.Boxes().size(), 1u);
  EXPECT_EQ(answerer.Boxes()[0].text, L"The end");
}

TEST_F(Console, TypedThreadCountsReachTheDecoderAndComeBackAsTheDecoderHoldsThem) {
  const struct {
    const wchar_t *typed;
    const wchar_t *shown;
    const wchar_t *box;  // null: none
  } cases[] = {
      {L"007", L"7", nullptr},
      {L"3", L"3", nullptr},
      {L"", L"", L"Invalid number"},
      {L"99", L"3", L"Can't change number of threads"},
  };
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("clip-h264.m4v")));
    HWND threads = GetDlgItem(dialog, IDC_THREADS);
    for (const auto &c : cases) {
      SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
      const size_t boxesBefore = answerer.Boxes().size();
      SetWindowTextW(threads, c.typed);
      EXPECT_TRUE(WaitFor([&] { return TextOf(threads) == c.shown; })) << testing::PrintToString(TextOf(threads));
      const auto boxes = answerer.Boxes();
      ASSERT_EQ(boxes.size(), boxesBefore + (c.box ? 1 : 0));
      if (c.box) {
        EXPECT_EQ(boxes.back().text.rfind(c.box, 0), 0u) << testing::PrintToString(boxes.back().text);
      }
      WaitFor([&] { return GetForegroundWindow() == dialog; });
    }
  });
}

TEST_F(Console, SwitchesReachTheDecoder) {
  Test([&](HWND dialog) {
    ASSERT_TRUE(BuildFrom(dialog, Clip("clip-h264.m4v")));
    for (int id : {IDC_PASS_THROUGH, IDC_MAINTAIN_ASPECT_RATIO, IDC_FORCE_CHROMA_FORMAT}) {
      SCOPED_TRACE(id);
      const UINT before = IsDlgButtonChecked(dialog, id);
      Press(dialog, id);
      EXPECT_TRUE(WaitFor([&] { return IsDlgButtonChecked(dialog, id) != before; }));
      EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == dialog; })) << "the dialog stays in front";
    }
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>());
}

// The preset sample graph, played: the video window sits right above the
// dialog and shows pictures while the read-out moves. With
// QUORVEL_SCREEN_PICTURE set to a .png path, the part of the screen around
// both windows is saved there (the picture in docs/ is made so).
TEST_F(Console, ThePresetSampleGraphPlaysAboveTheDialog) {
  Test([&](HWND dialog) {
    Press(dialog, IDC_BUILD_GRAPH);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, IDC_PLAY)) != FALSE; }));
    HWND video = FindWindowW(L"VideoRendererWindow", nullptr);
    ASSERT_NE(video, nullptr);
    RECT videoRect{}, dialogRect{};
    GetWindowRect(video, &videoRect);
    GetWindowRect(dialog, &dialogRect);
    EXPECT_TRUE(IsWindowVisible(video));
    EXPECT_EQ(videoRect.bottom, dialogRect.top) << "the video window ends where the dialog begins";

    Press(dialog, IDC_PLAY);
    EXPECT_TRUE(WaitFor([&] { return ReadOut(dialog).rfind(L"1.", 0) == 0; })) << "a second played";
    SIZE frame{};
    EXPECT_TRUE(platform::view::VideoFrameSize(video, frame));
    EXPECT_EQ(frame.cx, 640);
    EXPECT_EQ(frame.cy, 360);
    if (const char *picture = getenv("QUORVEL_SCREEN_PICTURE")) {
      const LONG margin = 16;
      const RECT area{std::min(videoRect.left, dialogRect.left) - margin, videoRect.top - margin,
                      std::max(videoRect.right, dialogRect.right) + margin, dialogRect.bottom + margin};
      EXPECT_TRUE(platform::view::SaveScreenPicture(area, {video, dialog}, picture));
    }
    Press(dialog, IDC_STOP);
  });
  EXPECT_EQ(BoxTexts(), std::vector<std::wstring>());
}

}  // namespace
