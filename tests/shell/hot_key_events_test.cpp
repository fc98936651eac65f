// What the main window does with the system-wide hot keys: the Favorite
// Selection's key (the keys that play the list are tested with the real
// program, under its modal windows).
#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include "bench/list_host.h"
#include "bench/modal_script.h"
#include "bench/sound_marks.h"
#include "bench/test_env.h"
#include "playback/media_control.h"
#include "resources/ids.h"
#include "shell/main_window.h"

namespace {

int OpenDeviceCount() {
  char open[16] = "";
  mciSendStringA("sysinfo all quantity open", open, sizeof open, nullptr);
  return atoi(open);
}

class HotKeyEvents : public testing::Test {
 protected:
  void SetUp() override {
    bench::ClearRegistry();
    // The tests count the process's open devices: a main window of an
    // earlier test closes its probe's device on a thread of its own, a few
    // tens of milliseconds after it is gone.
    ASSERT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }, 3000)) << "a device was left open";
  }
  void TearDown() override {
    StopAllDevices();
    bench::ClearRegistry();
    EXPECT_EQ(modals_.Failures(), 0);
  }
  bench::ListHost host_;
  bench::ModalScript modals_;
};

TEST_F(HotKeyEvents, TheFavoriteKeyAsksForAFavoriteOrPlaysOnlyWavAndMidi) {
  modals_.AnswerMessageBox(IDYES);  // none stored: choose one now?
  OnHotKey(host_.window(), IDH_FAVORITE);
  ASSERT_EQ(modals_.Records().size(), 1u);
  EXPECT_EQ(modals_.Records()[0].text, bench::LanguageString(IDS_ASK_SET_FAVORITE));
  EXPECT_EQ(modals_.Records()[0].style, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  auto posted = host_.TakePostedCommands();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].first, IDM_OPT_SET_FAVORITE);

  // A favorite that is a video (written by hand): nothing plays, and the
  // user is told which file could not be played.
  const std::string clip = bench::TempPath("clip.avi");
  bench::RegWriteString("Software\\Orvane Software\\Wendle\\Settings", "FavoriteSelection", clip);
  modals_.AnswerMessageBox(IDOK);
  OnHotKey(host_.window(), IDH_FAVORITE);
  ASSERT_EQ(modals_.Records().size(), 2u);
  EXPECT_EQ(modals_.Records()[1].text.rfind(clip + " could not be played: ", 0), 0u) << modals_.Records()[1].text;
  EXPECT_EQ(OpenDeviceCount(), 0);
  EXPECT_FALSE(OnHotKey(host_.window(), IDH_PAUSE + 1));  // not one of ours
}

// The favorite pressed again while it plays starts anew, and the first
// play's device is closed, not left open until the next stop of everything.
TEST_F(HotKeyEvents, TheFavoritePressedAgainWhileItPlaysEndsTheFirst) {
  if (bench::SoundSinkPath().empty()) GTEST_SKIP() << "no sound sink configured";
  std::string favorite = bench::WriteMarkedWave("long-favorite.wav", 44, 20000);
  bench::RegWriteString("Software\\Orvane Software\\Wendle\\Settings", "FavoriteSelection", favorite);
  size_t from = bench::SinkSize();
  OnHotKey(host_.window(), IDH_FAVORITE);
  ASSERT_EQ(OpenDeviceCount(), 1);
  ASSERT_EQ(bench::WaitForMarks(from, 1), std::vector<int>{44});
  OnHotKey(host_.window(), IDH_FAVORITE);
  EXPECT_EQ(OpenDeviceCount(), 1) << "the first favorite's device was left open";
  EXPECT_EQ(bench::WaitForMarks(from, 2), (std::vector<int>{44, 44}));
  // The first play's late notice does not end the second one.
  Sleep(200);
  bench::PumpMessages();
  EXPECT_EQ(OpenDeviceCount(), 1);
  StopAllDevices();
}

}  // namespace
