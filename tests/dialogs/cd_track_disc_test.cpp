// The CD-track dialog with an audio CD in the drive: Test and Stop through
// the media notice, track numbers beyond the disc, Add after the last
// track, Close while a test plays. These need a "cdaudio" device: the test
// prefix's virtual drive, whose disc the variable WENDLE_VIRTUAL_CD names
// (one line per track, "audio <ms> [held]" or "data <ms>"). Without the device
// the tests are skipped.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <string>

#include "bench/test_env.h"
#include "bench/virtual_cd.h"
#include "playback/media_control.h"
#include "dialog_driver.h"
#include "dialogs/object_dialogs.h"
#include "resources/ids.h"
#include "settings/settings_record.h"
#include "playback/media_devices.h"
#include "support/support_library.h"

namespace dialogs_test {
namespace {

int OpenDeviceCount() {
  char answer[32] = "";
  if (mciSendStringA("sysinfo all quantity open", answer, sizeof answer, nullptr) != 0) return -1;
  return atoi(answer);
}

constexpr int kTracks = 12;
constexpr DWORD kShortTrackMs = 400;    // track 1: ends during a test
constexpr DWORD kLongTrackMs = 600000;  // the others: play until stopped

bool CdAudioOpens() {
  MCI_OPEN_PARMSA open = {};
  open.lpstrDeviceType = "cdaudio";
  if (mciSendCommandA(0, MCI_OPEN, MCI_OPEN_TYPE | MCI_WAIT, reinterpret_cast<DWORD_PTR>(&open)) != 0) return false;
  mciSendCommandA(open.wDeviceID, MCI_CLOSE, MCI_WAIT, 0);
  return true;
}

class CdDiscTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    std::string disc = "audio " + std::to_string(kShortTrackMs) + "\n";
    for (int track = 2; track <= kTracks; ++track) disc += "audio " + std::to_string(kLongTrackMs) + " held\n";
    std::string path = bench::TempPath("disc.txt");
    ASSERT_TRUE(bench::WriteFileBytes(path, disc));
    SetEnvironmentVariableA("WENDLE_VIRTUAL_CD", path.c_str());
    if (!CdAudioOpens()) GTEST_SKIP() << "no \"cdaudio\" device";
  }
  void TearDown() override {
    StopAllDevices();
    SetEnvironmentVariableA("WENDLE_VIRTUAL_CD", nullptr);
    DialogTest::TearDown();
  }
  static DialogParam AddMode() { return AddModeParam(IDK_CD_TRACK, InsertAppend); }
};

TEST_F(CdDiscTest, TestAndStopFollowTheMediaNotice) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_TRACK_NUMBER, "1");
    EXPECT_TRUE(dialog.Click(IDC_TEST));
    EXPECT_FALSE(dialog.Enabled(IDC_TEST));
    EXPECT_TRUE(dialog.Enabled(IDC_STOP));
    EXPECT_EQ(dialog.Focused(), IDC_STOP);
    // The short track ends: its notice brings Test back.
    EXPECT_TRUE(bench::PumpUntil([&] { return dialog.Enabled(IDC_TEST); }));
    EXPECT_FALSE(dialog.Enabled(IDC_STOP));

    dialog.Type(IDC_TRACK_NUMBER, "2");
    EXPECT_TRUE(dialog.Click(IDC_TEST));
    EXPECT_EQ(OpenDeviceCount(), 1);  // the long track plays on
    EXPECT_TRUE(dialog.Click(IDC_STOP));
    EXPECT_TRUE(bench::PumpUntil([&] { return dialog.Enabled(IDC_TEST); }));
    EXPECT_FALSE(dialog.Enabled(IDC_STOP));
    // Stop closed the tried track's device.
    EXPECT_TRUE(bench::PumpUntil([] { return OpenDeviceCount() == 0; }));
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(CdTrackDialog(host_.window(), host_.objects(), AddMode(), host_.Selected()), 0);
  EXPECT_EQ(modals.Failures(), 0);
  EXPECT_EQ(static_cast<int>(g_cdTrackCount.load()), kTracks);
}

TEST_F(CdDiscTest, TestTakesTheLowEightBitsButOkRefusesTheNumber) {
  bench::ModalScript modals;
  HWND cdDialog = nullptr;
  ActOnDialog(modals, [&](HWND window) {
    cdDialog = window;
    Dialog dialog(window);
    dialog.Type(IDC_TRACK_NUMBER, "257");
    bench::SinkWatch sink;
    EXPECT_TRUE(dialog.Click(IDC_TEST));  // plays track 1, the short one
    EXPECT_TRUE(bench::PumpUntil([&] { return dialog.Enabled(IDC_TEST); }));
    if (sink.Available()) {
      EXPECT_TRUE(sink.Holds(bench::VirtualCdTone(1)));
    }
    dialog.Click(IDC_OK);  // 257 is no track of a 12-track disc
    EXPECT_EQ(dialog.Focused(), IDC_TRACK_NUMBER);
    dialog.Click(IDCANCEL);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(CdTrackDialog(host_.window(), host_.objects(), AddMode(), host_.Selected()), 0);
  EXPECT_EQ(modals.Failures(), 0);
  ASSERT_EQ(modals.Records().size(), 2u);
  EXPECT_EQ(modals.Records()[1].text, bench::LanguageString(IDS_TRACK_OUT_OF_RANGE));
  EXPECT_EQ(modals.Records()[1].owner, cdDialog);
  EXPECT_EQ(host_.Count(), 0);
}

TEST_F(CdDiscTest, AddAfterTheLastTrackStartsAgainAtTheFirst) {
  bench::ModalScript modals;
  ActOnDialog(modals, [](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_TRACK_NUMBER, "12");
    dialog.Type(IDC_DESCRIPTION, "last");
    dialog.Type(IDC_REPEAT_COUNT, "2");
    dialog.Type(IDC_POST_DELAY, "8");
    dialog.Click(IDC_ADD);
    EXPECT_EQ(dialog.Text(IDC_TRACK_NUMBER), "1");
    EXPECT_EQ(dialog.Text(IDC_DESCRIPTION), "");
    EXPECT_EQ(dialog.Text(IDC_REPEAT_COUNT), "0");
    EXPECT_EQ(dialog.Text(IDC_POST_DELAY), "0");
    EXPECT_EQ(dialog.Focused(), IDC_TRACK_NUMBER);
    dialog.Click(IDC_OK);
  });
  modals.AnswerMessageBox(IDOK);
  EXPECT_EQ(CdTrackDialog(host_.window(), host_.objects(), AddMode(), host_.Selected()), 1);
  EXPECT_EQ(modals.Failures(), 0);
  ASSERT_EQ(host_.Count(), 2);
  ObjectValues last = ObjectValuesAt(0), first = ObjectValuesAt(1);
  EXPECT_EQ(last.flags, static_cast<uint32_t>(CdTrack));
  EXPECT_EQ(last.trackNumber, 12u);
  EXPECT_EQ(last.description, "last");
  EXPECT_EQ(last.repeatCount, 2u);
  EXPECT_EQ(last.postDelay, 8u);
  EXPECT_EQ(first.trackNumber, 1u);
  EXPECT_FALSE(first.hasDescription);
}

TEST_F(CdDiscTest, CloseLeavesATestTrackPlaying) {
  bench::ModalScript modals;
  ActOnDialog(modals, [&](HWND window) {
    Dialog dialog(window);
    dialog.Type(IDC_TRACK_NUMBER, "3");
    EXPECT_TRUE(dialog.Click(IDC_TEST));
    dialog.Click(IDCANCEL);
  });
  EXPECT_EQ(CdTrackDialog(host_.window(), host_.objects(), AddMode(), host_.Selected()), 0);
  Sleep(200);
  bench::PumpMessages();
  EXPECT_EQ(OpenDeviceCount(), 1);  // the long track plays on
}

}  // namespace
}  // namespace dialogs_test
